#include "demo/mainform/main_form.h"

#include "bv/columns.h"
#include "bv/db_edit.h"
#include "bv/tabulon.h"
#include "bv_db/obj_dataset.h"
#include "bv_rtm/draw_helpers.h"
#include "bv_rtm/picture_kit.h"
#include "bv_std/list_visions_standard.h"
#include "bv_std/lite_designer.h"
#include "bv_std/standard_designer.h"
#include "classes/rtti_builder.h"
#include "controls/application.h"
#include "controls/comctrls.h"
#include "controls/extctrls.h"
#include "controls/form_resources.h"
#include "controls/menus.h"
#include "controls/stdctrls.h"
#include "controls/wincore.h"
#include "db/datasource.h"
#include "demo/mainform/main_panels.h"
#include "demo/modules/about_form.h"
#include "demo/modules/demo_modules.h"
#include "demo/modules/dm.h"
#include "demo/modules/dm2.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/imagelist.h"
#include "graphics/pen_brush.h"

namespace brevant {

// The generated registration of the main form's text.
void RegisterMainFormText();
// The navigation bar's classes (main_form_nav.cpp).
void RegisterMainFormNavClasses();

const char* const TMainForm::kPageTitles[7] = {
    " DBTabulon overview", " Lite designer",  " Standard designer", " Drag && Drop and MultiSelect",
    " Auto search",        " DropDown forms", " Object DataSet"};

const char* const TMainForm::kVisionTitles[15] = {
    " FieldVision by default",  " LiteVision overview",      " StandardVision overview",
    " DateVision overview",     " TimeVision overview",      " NumericVision overview",
    " VLookupVision overview",  " LookupVision overview",    " XStateVision overview",
    " CheckBoxVision overview", " OwnerDrawVision overview", " MemoVision overview",
    " TextVision overview",     " ImageVision overview",     " PictureVision overview"};

BV_PUBLISH(TMainForm, TForm) {
  using T = TMainForm;
  p.Method<TNotifyEvent, &T::FormShow>("FormShow");
  p.Method<TNotifyEvent, &T::NavBarChange>("NavBarChange");
  p.Method<TEvent<void(TObject*, const String&, TImageList*&)>, &T::NavBarGetImages>(
      "NavBarGetImages");
  p.Method<TNotifyEvent, &T::tbClick>("tbClick");
  p.Method<TNotifyEvent, &T::tbDesignerClick>("tbDesignerClick");
  p.Method<TNotifyEvent, &T::tbCustomizeClick>("tbCustomizeClick");
  p.Method<TNotifyEvent, &T::tbLayoutClick>("tbLayoutClick");
  p.Method<TtlGetRowAttrsEvent, &T::tlOverviewGetRowAttrs>("tlOverviewGetRowAttrs");
  p.Method<TtlFooterMenuPopupEvent, &T::tlOverviewFooterMenuPopup>("tlOverviewFooterMenuPopup");
  p.Method<TtlColumnEvent, &T::tlOverviewFooterStateChange>("tlOverviewFooterStateChange");
  p.Method<TtlColumnEvent, &T::tlGridTitleStateChange>("tlGridTitleStateChange");
  p.Method<TDragOverEvent, &T::tlPrefferedDragOver>("tlPrefferedDragOver");
  p.Method<TDragDropEvent, &T::tlPrefferedDragDrop>("tlPrefferedDragDrop");
  p.Method<TNotifyEvent, &T::btnDefaultsClick>("btnDefaultsClick");
  p.Method<TNotifyEvent, &T::btnDefaults2Click>("btnDefaults2Click");
  p.Method<TtlColEvent, &T::tlFieldVisionsColEnter>("tlFieldVisionsColEnter");
  p.Method<TNotifyEvent, &T::Button1Click>("Button1Click");
  p.Method<TNotifyEvent, &T::miAboutClick>("miAboutClick");
  p.Method<TNotifyEvent, &T::miExitClick>("miExitClick");
}

namespace {

// The toolbar's eight glyphs (16 x 16), in ImageIndex order: titles,
// footers, auto width, standard designer, lite designer, customize, save,
// load.
void DrawToolBarGlyphs(TImageList* list) {
  list->SetSize(16, 16);
  for (Integer i = 0; i < 8; ++i) {
    TObjectPtr<TBitmap> b(MakeObject<TBitmap>());
    b->SetSize(16, 16);
    TCanvas* c = b->Canvas();
    c->Brush()->SetColor(clFuchsia);
    c->FillRect(TRect(0, 0, 16, 16));
    UsePenAndFill(c, clNavy, clWhite);
    switch (i) {
      case 0:  // a table with a filled title row
      case 1:  // ... with a filled footer row
        c->Rectangle(TRect(1, 2, 15, 14));
        c->Brush()->SetColor(clSilver);
        c->FillRect(i == 0 ? TRect(2, 3, 14, 6) : TRect(2, 10, 14, 13));
        break;
      case 2:  // arrows to both sides
        c->Polygon({{1, 8}, {5, 4}, {5, 12}});
        c->Polygon({{15, 8}, {11, 4}, {11, 12}});
        DrawLine(c, 5, 8, 11, 8);
        break;
      case 3:  // a raised cell
      case 4:  // a flat cell
        UsePenAndFill(c, i == 3 ? clGray : clSilver, clBtnFace);
        c->Rectangle(TRect(2, 3, 14, 13));
        if (i == 3) {
          c->Pen()->SetColor(clWhite);
          DrawLine(c, 3, 4, 13, 4);
          DrawLine(c, 3, 4, 3, 12);
        }
        break;
      case 5:  // a column list
        c->Rectangle(TRect(3, 1, 13, 15));
        for (Integer y = 4; y < 14; y += 3) DrawLine(c, 5, y, 11, y);
        break;
      case 6:  // a disk
      case 7:  // an open folder
        UsePenAndFill(c, clBlack, i == 6 ? clBlue : clYellow);
        c->Rectangle(TRect(2, 3, 14, 14));
        if (i == 6) {
          c->Brush()->SetColor(clWhite);
          c->FillRect(TRect(5, 4, 11, 8));
        }
        break;
    }
    list->AddMasked(b.get(), clFuchsia);
  }
}

}  // namespace

void TMainForm::Loaded() {
  TForm::Loaded();
  BindComponent(this, "StatusBar", StatusBar);
  BindComponent(this, "pnCaption", pnCaption);
  BindComponent(this, "lbCaption", lbCaption);
  BindComponent(this, "Notebook", Notebook);
  BindComponent(this, "OverviewToolBar", OverviewToolBar);
  BindComponent(this, "tbShowTitle", tbShowTitle);
  BindComponent(this, "tbShowFooter", tbShowFooter);
  BindComponent(this, "tbAutoWidth", tbAutoWidth);
  BindComponent(this, "tbStandardDesigner", tbStandardDesigner);
  BindComponent(this, "tbLiteDesigner", tbLiteDesigner);
  BindComponent(this, "tbCustomize", tbCustomize);
  BindComponent(this, "tbSaveLayout", tbSaveLayout);
  BindComponent(this, "tbLoadLayout", tbLoadLayout);
  BindComponent(this, "tlOverview", tlOverview);
  BindComponent(this, "pnLiteDesignerProps", pnLiteDesignerProps);
  BindComponent(this, "btnDefaults", btnDefaults);
  BindComponent(this, "tlLiteDesignerDemo", tlLiteDesignerDemo);
  BindComponent(this, "pnStdDesignerProps", pnStdDesignerProps);
  BindComponent(this, "btnDefaults2", btnDefaults2);
  BindComponent(this, "tlStdDesignerDemo", tlStdDesignerDemo);
  BindComponent(this, "tlNonPreffered", tlNonPreffered);
  BindComponent(this, "tlPreffered", tlPreffered);
  BindComponent(this, "pnAutoSearchProps", pnAutoSearchProps);
  BindComponent(this, "tlAutoSearch", tlAutoSearch);
  BindComponent(this, "NotebookVisions", NotebookVisions);
  BindComponent(this, "NotebookGrids", NotebookGrids);
  BindComponent(this, "tlFieldVisions", tlFieldVisions);
  BindComponent(this, "tlFieldVisions2", tlFieldVisions2);
  BindComponent(this, "edFlags", edFlags);
  BindComponent(this, "tlDropDown", tlDropDown);
  BindComponent(this, "Button1", Button1);
  BindComponent(this, "MainMenu", MainMenu);
  BindComponent(this, "miExit", miExit);
  BindComponent(this, "miAbout", miAbout);
  BindComponent(this, "imgToolBar", imgToolBar);
  BindComponent(this, "datAutoSearch", datAutoSearch);
  BindComponent(this, "dsAutoSearch", dsAutoSearch);
  BindComponent(this, "dsgnStates", dsgnStates);
  BindComponent(this, "StandardVision1", StandardVision1);
  BindNavBar();
  DrawToolBarGlyphs(imgToolBar);
}

void TMainForm::FormShow(TObject*) {
  TtlColumns* columns = tlOverview->Columns();
  for (Integer i = 0; i < columns->FooterColumnCount(); ++i)
    tlOverviewFooterStateChange(tlOverview, columns->FooterColumn(i));
}

void TMainForm::tbClick(TObject* sender) {
  auto* button = static_cast<TToolButton*>(sender);
  switch (button->Tag()) {
    case 1:
      tlOverview->SetShowTitles(button->Down());
      break;
    case 2:
      tlOverview->SetShowFooters(button->Down());
      break;
    case 3:
      tlOverview->SetAutoColumnFit(button->Down());
      break;
  }
}

void TMainForm::tbDesignerClick(TObject* sender) {
  const Integer tag = static_cast<TToolButton*>(sender)->Tag();
  if (tag == 1) tlOverview->SetDesigner(DM()->dsgnMain);
  if (tag == 2) tlOverview->SetDesigner(DM()->dsgnMainLite);
}

void TMainForm::tbCustomizeClick(TObject*) {
  tlOverview->ShowCustomizer(true, "", "");
}

void TMainForm::btnDefaultsClick(TObject*) {
  TObjectPtr<TLiteDesigner> fresh(Create<TLiteDesigner>(nullptr));
  DM2()->dsgnLite->Assign(fresh.get());
  DM2()->datLiteDsgn->Refresh();
}

void TMainForm::btnDefaults2Click(TObject*) {
  TObjectPtr<TStandardDesigner> fresh(Create<TStandardDesigner>(nullptr));
  DM2()->dsgnStd->Assign(fresh.get());
  DM2()->datStdDsgn->Refresh();
}

void TMainForm::Button1Click(TObject*) {
  // The "Standalone editor" group box of the vision page on show.
  if (NotebookVisions->PageIndex() < 0) return;
  TPage* page = NotebookVisions->Pages(NotebookVisions->PageIndex());
  for (Integer i = 0; i < page->ControlCount(); ++i) {
    auto* box = dynamic_cast<TGroupBox*>(page->Controls(i));
    if (!box || box->Caption() != "Standalone editor") continue;
    TObjectPtr<TBitmap> shot(ControlScreenshot(box));
    if (shot) SetClipboardBitmap(*shot);
    return;
  }
}

void TMainForm::miAboutClick(TObject*) {
  AboutForm()->ShowModal();
}

void TMainForm::miExitClick(TObject*) {
  Close();
}

void TMainForm::Report(const String& text) {
  StatusBar->SetSimpleText(text);
}

void RegisterMainFormClasses() {
  [[maybe_unused]] static const bool registered = [] {
    RegisterDemoModuleClasses();
    RegisterMainFormNavClasses();
    RegisterGridClasses();
    RegisterClass(TMainForm::StaticClass());
    RegisterMainFormText();
    return true;
  }();
}

TMainForm* CreateMainForm(TComponent* owner) {
  RegisterMainFormClasses();
  auto* form = Create<TMainForm>(owner);
  BuildMainFormPanels(form);
  return form;
}

}  // namespace brevant
