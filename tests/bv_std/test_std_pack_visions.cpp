// The default pack's stock visions as read from its form text (class and
// the settings that differ from the class defaults, descriptions), the
// raised title surface and the imaged-text drawing handlers.
#include <gtest/gtest.h>

#include "bv/tabulon.h"
#include "bv_ctl/calendar.h"
#include "bv_std/blob_visions.h"
#include "bv_std/datetime_visions.h"
#include "bv_std/list_visions_standard.h"
#include "bv_std/lite_designer.h"
#include "bv_std/numeric_vision.h"
#include "bv_std/state_visions.h"
#include "bv_vtf/tool_form.h"
#include "controls/menus.h"
#include "controls/stdctrls.h"
#include "graphics/colors.h"
#include "graphics/imagelist.h"
#include "pack_test_util.h"
#include "std_vision_test_util.h"

namespace brevant::test {
namespace {

using stdtest::TBitmapPainter;
using stdtest::TCellConsumer;
using stdtest::TStdData;

class PackVisionsTest : public PackTest {
 protected:
  template <class T>
  T* Stock(const String& name) {
    auto* c = dynamic_cast<T*>(pack->FindComponent(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
  }
};

TEST_F(PackVisionsTest, StockVisionsCarryTheirSettings) {
  struct TRow {
    const char* name;                     // the component
    std::function<bool(TbvDefPack*)> ok;  // its settings hold
  };
  auto date = [](TbvDefPack* p, const char* n) {
    return dynamic_cast<TDateVision*>(p->FindComponent(n));
  };
  auto time = [](TbvDefPack* p, const char* n) {
    return dynamic_cast<TTimeVision*>(p->FindComponent(n));
  };
  auto num = [](TbvDefPack* p, const char* n) {
    return dynamic_cast<TNumericVision*>(p->FindComponent(n));
  };
  auto box = [](TbvDefPack* p, const char* n) {
    return dynamic_cast<TCheckBoxVision*>(p->FindComponent(n));
  };
  const TRow rows[] = {
      {"TitleSurface",
       [](TbvDefPack* p) {
         auto* v = dynamic_cast<TStandardVision*>(p->FindComponent("TitleSurface"));
         return v && v->ReadOnly() && bool(v->OnDraw) &&
                v->Description() == "Determines 3D style of the cell.";
       }},
      {"Calendar",
       [&](TbvDefPack* p) {
         auto* v = date(p, "Calendar");
         return v && v->Buttons() == TznCalendarButtons{clbToday, clbClear} &&
                v->Description() == "Calendar control with buttons.";
       }},
      {"CalendarSimple",
       [&](TbvDefPack* p) {
         auto* v = date(p, "CalendarSimple");
         return v && v->Buttons().Empty() &&
                v->Description() == "Calendar control without buttons.";
       }},
      {"Date",
       [&](TbvDefPack* p) {
         auto* v = date(p, "Date");
         return v && !v->EnableButton() && v->Description() == "Displays and edits data as date.";
       }},
      {"Time",
       [&](TbvDefPack* p) {
         auto* v = time(p, "Time");
         return v && !v->EnableButton() && v->EditFormatKind() == tefDefault;
       }},
      {"TimeShort",
       [&](TbvDefPack* p) {
         auto* v = time(p, "TimeShort");
         return v && v->DisplayFormatKind() == dfkShort;
       }},
      {"CheckBoxBool",
       [&](TbvDefPack* p) {
         auto* v = box(p, "CheckBoxBool");
         return v && v->ValueChecked().empty() &&
                v->Description() == "Switch control for logical fields.";
       }},
      {"CheckBoxInt",
       [&](TbvDefPack* p) {
         auto* v = box(p, "CheckBoxInt");
         return v && v->ValueChecked() == "1" && v->ValueUnChecked() == "0" &&
                v->Description() == "Switch control for integer fields. 0 - off, 1 - on.";
       }},
      {"Numeric",
       [&](TbvDefPack* p) {
         auto* v = num(p, "Numeric");
         return v && v->DropDownKind() == ndkCustom &&
                v->Description() == "Dsiplays and edits data as number.";
       }},
      {"NumericDef",
       [&](TbvDefPack* p) {
         auto* v = num(p, "NumericDef");
         return v && v->DisplayFormat() == "0.00" && v->DropDownKind() == ndkCustom;
       }},
      {"NumericDefSep",
       [&](TbvDefPack* p) {
         auto* v = num(p, "NumericDefSep");
         return v && v->DisplayFormat() == "0.00," && v->DropDownKind() == ndkCustom;
       }},
      {"NumericSpin",
       [&](TbvDefPack* p) {
         auto* v = num(p, "NumericSpin");
         return v && v->ButtonStyle() == pbsSpin && v->EnableButton() &&
                v->DropDownKind() == ndkCustom;
       }},
      {"Calculator",
       [&](TbvDefPack* p) {
         auto* v = num(p, "Calculator");
         return v && v->ButtonStyle() == pbsDropDown && v->DropDownKind() == ndkCalculator;
       }},
      {"Memo",
       [](TbvDefPack* p) {
         auto* v = dynamic_cast<TMemoVision*>(p->FindComponent("Memo"));
         return v && !v->EditWordWrap() && v->EditScrollBars() == ssNone;
       }},
      {"Image", [](TbvDefPack* p) { return p->FindComponent("Image") != nullptr; }},
      {"ColorPicker",
       [](TbvDefPack* p) {
         TStandardVision* v = p->ColorPicker;
         return v->Alignment() == talLeftJustify && v->Images() == p->NullImageList &&
                p->NullImageList->Count() == 0 && v->SkipCharValidation() && bool(v->OnGetText) &&
                bool(v->OnDraw) && bool(v->BeforePost) && bool(v->OnDrawEdit) &&
                bool(v->OnDblClick) && v->PickList()->IndexOf("clRed") >= 0;
       }},
      {"visImagedText",
       [](TbvDefPack* p) {
         return p->visImagedText->Tag() == -1 && bool(p->visImagedText->OnDraw);
       }},
      {"dsgDataList",
       [](TbvDefPack* p) {
         TLiteDesigner* d = p->dsgDataList;
         return d->FocusRectKind() == frcNone && d->VertLines() == clSilver &&
                d->CellMargins()->TopMargin() == 1 && d->CellMargins()->BottomMargin() == 1 &&
                !d->SelectedCellFill() && d->SelectedRowFill() && d->HorizLines() == clNone &&
                !d->ShowLastLine();
       }},
      {"tlDataListList",
       [](TbvDefPack* p) {
         TDBTabulon* g = p->tlDataListList;
         return g->AutoColumnFit() && g->UniqueFields() == "_Key" && g->Align() == alClient &&
                g->OptionsVisual() == TtlOptionsVisual{gvoNoEndEllipsis} &&
                g->OptionsBehavior() == TtlOptionsBehavior{gboSmartSizing} && !g->ShowTitles() &&
                g->ReadOnly() && g->CursorType() == gctInsensitiveID &&
                g->OptionsPickup() ==
                    TtlOptionsPickup{gpoReturnKey, gpoClick, gpoMouseTrack, gpoCaptureRecord} &&
                !g->HideSelection();
       }},
      {"vtfDataList",
       [](TbvDefPack* p) {
         return p->vtfDataList->Tag() == 2 && p->vtfDataList->DataGrid() == p->tlDataListList;
       }},
      {"vtfCalendar",
       [](TbvDefPack* p) {
         return p->vtfCalendar->ActiveControl() == p->calCalendar &&
                p->vtfCalendar->Options() ==
                    TvtfOptions{tfoFocusable, tfoFixedWidth, tfoFixedHeight} &&
                !p->calCalendar->ShowTodayButton() && p->calCalendar->BorderStyle() == bsNoBorder;
       }},
      {"vtfBlobPicker",
       [](TbvDefPack* p) {
         return p->vtfBlobPicker->Options() == TvtfOptions{tfoFocusable, tfoNoAutoPost} &&
                p->btnBlobPickerOK->Caption() == "&OK" && p->btnBlobPickerOK->Default() &&
                p->btnBlobPickerCancel->Caption() == "&Cancel" &&
                p->btnBlobPickerCancel->Cancel() &&
                p->btnBlobPickerCancel->ModalResult() == mrCancel;
       }},
      {"vtfCalculator",
       [](TbvDefPack* p) {
         return p->vtfCalculator->Options() ==
                    TvtfOptions{tfoFocusable, tfoFixedWidth, tfoFixedHeight} &&
                p->vtfCalculator->Width() == 204 && p->vtfCalculator->Height() == 144 &&
                p->sbCalcIs->Caption() == "=" && p->sbCalcSign->Tag() == 10 &&
                p->sbCalcDecSep->Tag() == 11;
       }},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_TRUE(row.ok(pack));
  }
  for (const char* name : {"DsgnViewSimple", "DsgnList", "DsgnListActive", "DsgnListNormal",
                           "DsgnListFlat", "DsgnListClassic"})
    Stock<TLiteDesigner>(name);
}

TEST_F(PackVisionsTest, BlobMenusCarryTheirCaptionsAndTheEnvironmentsImages) {
  for (TPopupMenu* menu : {pack->BlobContextMenu, pack->PictureContextMenu}) {
    std::vector<String> captions;
    for (Integer i = 0; i < menu->Items()->Count(); ++i)
      captions.push_back(menu->Items()->Items(i)->Caption());
    EXPECT_EQ(captions, (std::vector<String>{"Cut", "Copy", "Paste", "Clear", "-", "Load...",
                                             "Save to...", "-", "Preview"}));
  }
}

class PackDrawTest : public PackVisionsTest {
 protected:
  void SetUp() override {
    PackVisionsTest::SetUp();
    data.Set(1, "Code", 2);
    data.Set(2, "Code", 0);
    consumer = Create<TCellConsumer>(nullptr);
  }
  void TearDown() override {
    TObject::Free(consumer);
    PackVisionsTest::TearDown();
  }
  TStdData data{3};
  TCellConsumer* consumer = nullptr;
};

TEST_F(PackDrawTest, TheTitleSurfaceIsARaisedEdgeAroundTheText) {
  consumer->Attach(data.source.get(), "Word");
  consumer->Fields().SetVision(Stock<TStandardVision>("TitleSurface"));
  TBitmapPainter painter(60, 18, 3);
  painter.Paint(consumer->Fields().Vision(), consumer->Fields(), 0, 2);
  const TRect cell = painter.CellRect(1);
  EXPECT_EQ(painter.At(cell.Left, cell.Top + 5), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(painter.At(cell.Left + 5, cell.Top), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(painter.At(cell.Right - 1, cell.Top + 5), ColorToRGB(clBtnShadow));
  EXPECT_EQ(painter.At(cell.Left + 5, cell.Bottom - 1), ColorToRGB(clBtnShadow));
}

TEST_F(PackDrawTest, ImagedTextTakesItsImageFromTheSecondField) {
  struct TRow {
    const char* name;    // what the row checks
    const char* fields;  // the field list's names
    bool stateLabel;     // visStateLabelDraw instead of visImagedTextDraw
    Integer image;       // ImageIndex after the handler
  };
  const TRow rows[] = {
      {"second field's value", "ID;Code", false, 2},
      {"one field leaves the image", "ID", false, 7},
      {"state label with a second field", "ID;Code", true, 2},
      {"state label without one draws none", "ID", true, -1},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.name);
    consumer->Attach(data.source.get(), row.fields);
    TBitmapPainter painter(60, 18, 3);
    painter.SetImageIndex(7);
    data.ds->First();
    if (row.stateLabel)
      pack->visStateLabelDraw(nullptr, &consumer->Fields(), &painter);
    else
      pack->visImagedTextDraw(nullptr, &consumer->Fields(), &painter);
    EXPECT_EQ(painter.ImageIndex(), row.image);
  }
}

}  // namespace
}  // namespace brevant::test
