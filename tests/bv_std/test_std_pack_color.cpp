// The default pack's colour picker in a data-aware edit over an integer
// field: colour names shown, typed names and numbers posted, the swatch
// drawn beside the name, the colour dialog on a double click, and an edit
// whose field does not resolve.
#include <gtest/gtest.h>

#include "bv_std/list_visions_standard.h"
#include "controls/dialogs.h"
#include "controls/wincore.h"
#include "graphics/colors.h"
#include "graphics/imagelist.h"
#include "pack_test_util.h"

namespace brevant::test {
namespace {

class PackColorTest : public PackTest {
 protected:
  void SetUp() override {
    PackTest::SetUp();
    ds = Create<TMemDataSet>(form);
    ds->FieldDefs()->Add("Tint", ftInteger);
    ds->AppendRow({Integer(clRed)});
    ds->Open();
    src = Create<TDataSource>(form);
    src->SetDataSet(ds);
  }
  Integer Tint() const { return ds->FieldByName("Tint")->AsInteger(); }
  // The colour of the edit's pixel at client point (x, y).
  TColor EditPixel(Integer x, Integer y) const {
    const TNativeWindow w = GetNativeWindow(form->WindowHandle());
    const TPoint origin = form->ClientToScreen({0, 0});
    const TPoint s = edit->ClientToScreen({x, y});
    return Offscreen().Pixel(w, s.X - origin.X, s.Y - origin.Y);
  }
  TMemDataSet* ds = nullptr;
  TDataSource* src = nullptr;
};

TEST_F(PackColorTest, TheStockVisionListsEveryColourName) {
  TStandardVision* picker = pack->ColorPicker;
  EXPECT_GE(picker->PickList()->IndexOf("clRed"), 0);
  EXPECT_GE(picker->PickList()->IndexOf("clBtnFace"), 0);
  EXPECT_EQ(picker->Images(), pack->NullImageList);
  EXPECT_EQ(pack->NullImageList->Count(), 0);
  EXPECT_TRUE(picker->SkipCharValidation());
  EXPECT_EQ(picker->Alignment(), talLeftJustify);
}

TEST_F(PackColorTest, TheFieldShowsAsItsColourName) {
  Edit(src, "Tint", pack->ColorPicker);
  EXPECT_EQ(edit->EditText(), "clRed");
}

TEST_F(PackColorTest, TypedNamesAndNumbersPostAsColours) {
  struct TRow {
    const char* name;   // what the row checks
    const char* typed;  // typed over the whole text, then Return
    Integer posted;     // the field afterwards
  };
  const TRow rows[] = {
      {"blank is no colour", "", Integer(clNone)},
      {"a name", "clBlue", Integer(clBlue)},
      {"a number", "255", 255},
      {"a system colour", "clWindow", Integer(clWindow)},
  };
  Edit(src, "Tint", pack->ColorPicker);
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.name);
    edit->SelectAll();
    Key(VK_DELETE);
    Type(row.typed);
    Key(VK_RETURN);
    if (edit->DroppedDown()) Key(VK_RETURN);
    EXPECT_EQ(Tint(), row.posted);
  }
}

TEST_F(PackColorTest, ASwatchOfTheColourIsDrawnBesideTheName) {
  Edit(src, "Tint", pack->ColorPicker);
  other->SetFocus();  // the face without a caret or selection
  Pump();
  form->Repaint();
  Pump();
  // The swatch fills the image place (16 x 16 at the content's left) less
  // one pixel, outlined in black.
  bool red = false, black = false;
  for (Integer x = 0; x < 24; ++x)
    for (Integer y = 0; y < edit->Height(); ++y) {
      const TColor c = EditPixel(x, y);
      red = red || c == ColorToRGB(clRed);
      black = black || c == ColorToRGB(clBlack);
    }
  EXPECT_TRUE(red);
  EXPECT_TRUE(black);
  // Past the image place no swatch colour is drawn.
  EXPECT_NE(EditPixel(edit->Width() - 20, edit->Height() / 2), ColorToRGB(clRed));
}

TEST_F(PackColorTest, ADoubleClickPicksFromTheColourDialog) {
  Edit(src, "Tint", pack->ColorPicker);
  TColor offered = clNone;
  ScriptAction("ColorDialog", [&](TObject* subject) {
    auto* dialog = static_cast<TColorDialogForm*>(subject);
    offered = dialog->CurrentColor();
    dialog->SetCurrentColor(clGreen);
    dialog->SetModalResult(mrOk);
  });
  Offscreen().DoubleClick(edit->ClientToScreen({30, 5}));
  Pump();
  EXPECT_EQ(offered, clRed);
  EXPECT_EQ(Tint(), Integer(clGreen));
}

TEST_F(PackColorTest, ACancelledDialogLeavesTheColour) {
  Edit(src, "Tint", pack->ColorPicker);
  ScriptAnswer("ColorDialog", mrCancel);
  Offscreen().DoubleClick(edit->ClientToScreen({30, 5}));
  Pump();
  EXPECT_EQ(Tint(), Integer(clRed));
}

// A column name that resolves to no field leaves the handlers without a
// main field: they show nothing and post nothing.
TEST_F(PackColorTest, WithoutAFieldNothingIsShownOrPosted) {
  Edit(src, "NoSuchField", pack->ColorPicker);
  EXPECT_EQ(edit->EditText(), "");
  Type("clBlue");
  Key(VK_RETURN);
  Offscreen().DoubleClick(edit->ClientToScreen({30, 5}));
  Pump();
  EXPECT_EQ(Tint(), Integer(clRed));
  EXPECT_TRUE(ModalLog().empty());
}

}  // namespace
}  // namespace brevant::test
