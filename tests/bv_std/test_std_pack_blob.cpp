// The default pack's blob picker opened from a data-aware edit on text and
// picture visions: editing and posting text, OK and Cancel by click and
// accelerator, the text editor's settings, the size it remembers, the
// picture's size, paste and clear by key and menu, the menu's items, and
// the image vision's default context menu.
#include <gtest/gtest.h>

#include "bv_db/univalue.h"
#include "bv_std/blob_visions.h"
#include "bv_std/blob_visions_dropdown.h"
#include "bv_std/blob_visions_graphic.h"
#include "bv_std/tool_form_vision.h"
#include "bv_vtf/tool_form_bg.h"
#include "controls/extctrls.h"
#include "controls/menus.h"
#include "controls/richedit.h"
#include "controls/stdctrls.h"
#include "controls/wincore.h"
#include "graphics/bitmap.h"
#include "graphics/picture.h"
#include "pack_test_util.h"
#include "std_vision_test_util.h"

namespace brevant::test {
namespace {

using stdtest::BmpBytes;
using stdtest::Solid;

class PackBlobTest : public PackTest {
 protected:
  void SetUp() override {
    PackTest::SetUp();
    tf = pack->vtfBlobPicker;
    ds = Create<TMemDataSet>(form);
    ds->FieldDefs()->Add("Notes", ftMemo);
    ds->FieldDefs()->Add("Pic", ftGraphic);
    ds->FieldDefs()->Add("Title", ftString, 8);
    ds->AppendRow({"first line", Null(), "abc"});
    ds->Open();
    src = Create<TDataSource>(form);
    src->SetDataSet(ds);
  }
  void SetPicture(const TBitmap& bitmap) {
    ds->Edit();
    ds->FieldByName("Pic")->SetAsString(BmpBytes(bitmap));
    ds->Post();
  }
  // The posted picture's size (0 x 0 for null).
  TSize Posted() {
    TBitmap b;
    TField* f = ds->FieldByName("Pic");
    if (!f->IsNull()) {
      TznUniValue v;
      v.SetAsString(f->AsString());
      LoadGraphic(v, b);
    }
    return TSize(b.Width(), b.Height());
  }
  static void ClickControl(TControl* c) { ClickOn(c, c->Width() / 2, c->Height() / 2); }
  // Blob visions open their picker by their button.
  void Run(std::function<void()> act) { RunFocusable(std::move(act), true); }

  TVisionToolForm* tf = nullptr;
  TMemDataSet* ds = nullptr;
  TDataSource* src = nullptr;
};

TEST_F(PackBlobTest, BlobVisionsOpenTheStockPicker) {
  auto* text = Create<TTextVision>(form);
  EXPECT_EQ(StockToolForm(stfBlobPicker), tf);
  EXPECT_EQ(text->GetDropDown(), tf);
  EXPECT_EQ(pack->btnBlobPickerOK->Caption(), "&OK");
  EXPECT_EQ(pack->btnBlobPickerCancel->Caption(), "&Cancel");
}

TEST_F(PackBlobTest, TypedTextIsPostedByOKAndOnlyThen) {
  Edit(src, "Notes", Create<TTextVision>(form));
  String shown;
  bool okBefore = true, okAfter = false;
  Run([&] {
    WhenIdle([&] {
      shown = pack->BlobText()->Text();
      okBefore = pack->btnBlobPickerOK->Enabled();
      Offscreen().PressKey(VK_END);
      Offscreen().TypeText("!");
      WhenIdle([&] {
        okAfter = pack->btnBlobPickerOK->Enabled();
        ClickControl(pack->btnBlobPickerOK);
      });
    });
  });
  EXPECT_EQ(shown, "first line");
  EXPECT_FALSE(okBefore);
  EXPECT_TRUE(okAfter);
  EXPECT_FALSE(tf->IsOpen());
  EXPECT_EQ(ds->FieldByName("Notes")->AsString(), "first line!");
}

TEST_F(PackBlobTest, CancelAndEscapeDiscardAndTheAcceleratorOfOKPosts) {
  struct TRow {
    const char* name;  // what the row checks
    std::function<void(TbvDefPack*)> close;
    const char* posted;  // the field afterwards
  };
  const TRow rows[] = {
      {"Cancel clicked", [](TbvDefPack* p) { ClickControl(p->btnBlobPickerCancel); }, "first line"},
      {"Escape", [](TbvDefPack*) { Offscreen().PressKey(VK_ESCAPE); }, "first line"},
      {"Alt+O", [](TbvDefPack*) { Offscreen().PressKey('O', bmAlt); }, "xfirst line"},
  };
  Edit(src, "Notes", Create<TTextVision>(form));
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.name);
    Run([&] {
      Offscreen().TypeText("x");
      WhenIdle([&] { row.close(pack); });
    });
    EXPECT_FALSE(tf->IsOpen());
    EXPECT_EQ(ds->FieldByName("Notes")->AsString(), row.posted);
  }
}

TEST_F(PackBlobTest, TheTextEditorFollowsTheVisionsOptions) {
  auto* v = Create<TTextVision>(form);
  Edit(src, "Title", v);
  struct TRow {
    const char* name;                // what the row checks
    TfvDropDownTextOptions options;  // DropDownOptionsEx
    bool returns, tabs, wrap;        // the editor's settings
    bool fixed;                      // the picker cannot be sized
  };
  const TRow rows[] = {
      {"defaults", {}, true, true, true, false},
      {"no returns, tabs, wrap",
       {dtoNoWantReturns, dtoNoWantTabs, dtoNoWordWrap},
       false,
       false,
       false,
       false},
      {"no sizing", {dtoNoSizing}, true, true, true, true},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.name);
    v->SetDropDownOptionsEx(row.options);
    bool returns = false, tabs = false, wrap = false, fixed = false;
    Integer limit = 0;
    Run([&] {
      WhenIdle([&] {
        TRichEdit* t = pack->BlobText();
        returns = t->WantReturns();
        tabs = t->WantTabs();
        wrap = t->WordWrap();
        limit = t->MaxLength();
        fixed = tf->Options().Contains(tfoFixedWidth) && tf->Options().Contains(tfoFixedHeight);
        Offscreen().PressKey(VK_ESCAPE);
      });
    });
    EXPECT_EQ(returns, row.returns);
    EXPECT_EQ(tabs, row.tabs);
    EXPECT_EQ(wrap, row.wrap);
    EXPECT_EQ(fixed, row.fixed);
    // A string field's size limits the text.
    EXPECT_EQ(limit, 8);
  }
}

TEST_F(PackBlobTest, ThePickerOpensInTheRememberedSizeAndRemembersItsSize) {
  auto* v = Create<TTextVision>(form);
  v->SetDropDownWidth(220);
  v->SetDropDownHeight(150);
  Edit(src, "Notes", v);
  TSize opened;
  Run([&] {
    WhenIdle([&] {
      opened = TSize(tf->Background()->ClientWidth(), tf->Background()->ClientHeight());
      tf->Background()->SetClientWidth(240);
      Offscreen().PressKey(VK_ESCAPE);
    });
  });
  EXPECT_EQ(opened.cx, 220);
  EXPECT_EQ(opened.cy, 150);
  EXPECT_EQ(v->DropDownWidth(), 240);
  EXPECT_EQ(v->DropDownHeight(), 150);
}

class PackPictureTest : public PackBlobTest {
 protected:
  void SetUp() override {
    PackBlobTest::SetUp();
    vision = Create<TPictureVision>(form);
  }
  TPictureVision* vision = nullptr;
};

TEST_F(PackPictureTest, ThePictureSizesThePickerAndCancelHasTheFocus) {
  SetPicture(*Solid(180, 60, clRed));
  Edit(src, "Pic", vision);
  TSize client;
  bool cancelFocused = false, okEnabled = true;
  TColor middle = clNone;
  Run([&] {
    WhenIdle([&] {
      client = TSize(tf->Background()->ClientWidth(), tf->Background()->ClientHeight());
      cancelFocused = pack->btnBlobPickerCancel->Focused();
      okEnabled = pack->btnBlobPickerOK->Enabled();
      middle = PixelOn(tf, pack->BlobImage(), 90, 30);
      Offscreen().PressKey(VK_ESCAPE);
    });
  });
  EXPECT_EQ(client.cx, 180);
  EXPECT_EQ(client.cy, 60 + 32);
  EXPECT_TRUE(cancelFocused);
  EXPECT_FALSE(okEnabled);
  EXPECT_EQ(middle, ColorToRGB(clRed));
}

TEST_F(PackPictureTest, ASmallPictureGetsAtLeastTheButtonStrip) {
  SetPicture(*Solid(10, 10, clBlue));
  Edit(src, "Pic", vision);
  TSize client;
  Run([&] {
    WhenIdle([&] {
      client = TSize(tf->Background()->ClientWidth(), tf->Background()->ClientHeight());
      Offscreen().PressKey(VK_ESCAPE);
    });
  });
  EXPECT_EQ(client.cx, 136);
  EXPECT_EQ(client.cy, 30 + 32);
}

TEST_F(PackPictureTest, CtrlVPastesTheClipboardsPictureAndOKPostsIt) {
  Edit(src, "Pic", vision);
  SetClipboardBitmap(*Solid(40, 20, clGreen));
  bool okFocused = false;
  Run([&] {
    Offscreen().PressKey('V', bmCtrl);
    WhenIdle([&] {
      okFocused = pack->btnBlobPickerOK->Focused();
      Offscreen().PressKey(VK_RETURN);
    });
  });
  EXPECT_TRUE(okFocused);
  const TSize posted = Posted();
  EXPECT_EQ(posted.cx, 40);
  EXPECT_EQ(posted.cy, 20);
}

TEST_F(PackPictureTest, PastingTextLeavesTheDatasetAlone) {
  SetPicture(*Solid(40, 20, clGreen));
  Edit(src, "Pic", vision);
  SetClipboardText("no picture");
  TDataSetState state = dsInactive;
  bool okEnabled = true;
  Run([&] {
    Offscreen().PressKey('V', bmCtrl);
    WhenIdle([&] {
      state = ds->State();
      okEnabled = pack->btnBlobPickerOK->Enabled();
      Offscreen().PressKey(VK_ESCAPE);
    });
  });
  EXPECT_EQ(state, dsBrowse);
  EXPECT_FALSE(okEnabled);
  EXPECT_EQ(Posted().cx, 40);
}

TEST_F(PackPictureTest, TheMenusItemsFollowThePictureTheClipboardAndDisabledActions) {
  auto item = [this](Integer tag) -> TMenuItem* {
    TMenu* menu = pack->PictureContextMenu;
    for (Integer i = 0; i < menu->Items()->Count(); ++i)
      if (menu->Items()->Items(i)->Tag() == tag) return menu->Items()->Items(i);
    return nullptr;
  };
  auto separator = [this](Integer n) {
    TMenu* menu = pack->PictureContextMenu;
    for (Integer i = 0; i < menu->Items()->Count(); ++i)
      if (menu->Items()->Items(i)->Caption() == "-" && n-- == 0) return menu->Items()->Items(i);
    return static_cast<TMenuItem*>(nullptr);
  };
  SetPicture(*Solid(40, 20, clGreen));
  vision->SetDisabledActions({vdaLoad, vdaSave});
  SetClipboardText("text");
  Edit(src, "Pic", vision);
  std::vector<bool> visible, enabled;
  bool sep1 = true, sep2 = false;
  Run([&] {
    WhenIdle([&] {
      pack->PictureContextMenu->OnPopup(pack->PictureContextMenu);
      for (Integer tag = 1; tag <= 7; ++tag) {
        visible.push_back(item(tag)->Visible());
        enabled.push_back(item(tag)->Enabled());
      }
      sep1 = separator(0)->Visible();
      sep2 = separator(1)->Visible();
      Offscreen().PressKey(VK_ESCAPE);
    });
  });
  EXPECT_EQ(visible, (std::vector<bool>{true, true, true, true, false, false, true}));
  // Paste needs a bitmap on the clipboard.
  EXPECT_EQ(enabled, (std::vector<bool>{true, true, false, true, true, true, true}));
  EXPECT_FALSE(sep1);
  EXPECT_TRUE(sep2);
}

TEST_F(PackPictureTest, ClearFromThePictureMenuPostsNull) {
  SetPicture(*Solid(40, 20, clGreen));
  Edit(src, "Pic", vision);
  ScriptAnswer("PopupMenu", 3);  // Clear
  Run([&] {
    WhenIdle([&] {
      const TPoint p = pack->BlobImage()->ClientToScreen({5, 5});
      static_cast<TPopupMenu*>(pack->BlobImage()->PopupMenu())->Popup(p.X, p.Y);
      WhenIdle([&] { Offscreen().PressKey(VK_RETURN); });
    });
  });
  EXPECT_FALSE(tf->IsOpen());
  EXPECT_TRUE(ds->FieldByName("Pic")->IsNull());
}

class PackImageMenuTest : public PackBlobTest {};

TEST_F(PackImageMenuTest, ImageEditorsOfferTheBlobMenuAndItsClearEmptiesTheValue) {
  SetPicture(*Solid(12, 12, clGreen));
  auto* image = Create<TImageVision>(form);
  image->SetDisabledActions({vdaPreview});
  Edit(src, "Pic", image);
  ASSERT_EQ(image->GetPopupMenu(), pack->BlobContextMenu);
  TPopupMenu* menu = pack->BlobContextMenu;
  menu->SetPopupComponent(edit);
  menu->OnPopup(menu);
  TMenuItem* preview = nullptr;
  TMenuItem* clear = nullptr;
  for (Integer i = 0; i < menu->Items()->Count(); ++i) {
    TMenuItem* it = menu->Items()->Items(i);
    if (it->Tag() == eaPreview) preview = it;
    if (it->Tag() == eaClear) clear = it;
  }
  ASSERT_TRUE(preview && clear);
  EXPECT_FALSE(preview->Visible());
  EXPECT_TRUE(clear->Visible());
  EXPECT_TRUE(clear->Enabled());
  clear->Click();
  EXPECT_TRUE(edit->CurrentValue()->IsNull());
  ClickControl(other);  // leaving the edit posts
  Pump();
  EXPECT_TRUE(ds->FieldByName("Pic")->IsNull());
}

}  // namespace
}  // namespace brevant::test
