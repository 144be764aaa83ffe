// The control gallery form (see gallery.h).
#include "gallery.h"

#include <functional>
#include <vector>

#include "controls/comctrls.h"
#include "controls/dialogs.h"
#include "controls/edits.h"
#include "controls/extctrls.h"
#include "controls/forms.h"
#include "controls/maskedit.h"
#include "controls/richedit.h"
#include "controls/stdctrls.h"
#include "graphics/canvas.h"
#include "graphics/pen_brush.h"
#include "graphics/picture.h"
#include "rtl/format.h"
#include "rtl/numconv.h"
#include "rtl/stringlist.h"

namespace brevant {

namespace {

template <class T>
T* Add(TComponent* owner, TWinControl* parent, const char* name, TRect bounds) {
  auto* c = Create<T>(owner);
  c->SetName(name);
  c->SetBoundsRect(bounds);
  c->SetParent(parent);
  return c;
}

template <class F>
TNotifyEvent Handler(F f) {
  return TNotifyEvent::FromCallable([f](TObject*) { f(); });
}

// A small picture for the image control: a colour ramp with a frame.
void PaintSamplePicture(TPicture* picture) {
  TBitmap bmp;
  bmp.SetSize(96, 64);
  TCanvas* c = bmp.Canvas();
  for (Integer x = 0; x < 96; ++x) {
    c->Pen()->SetColor(RGB(static_cast<Byte>(x * 255 / 95), 96, static_cast<Byte>(255 - x * 2)));
    c->MoveTo(x, 0);
    c->LineTo(x, 64);
  }
  c->Brush()->SetColor(clYellow);
  c->Pen()->SetColor(clBlack);
  c->Ellipse(30, 14, 66, 50);
  picture->SetBitmap(&bmp);
}

void BuildStandardPage(TForm* form, TPage* page) {
  auto* label = Add<TLabel>(form, page, "Label1", Bounds(12, 12, 200, 16));
  label->SetCaption("Labels, buttons and check boxes");
  auto* ok = Add<TButton>(form, page, "Button1", Bounds(12, 40, 90, 25));
  ok->SetCaption("&Button");
  auto* off = Add<TButton>(form, page, "Button2", Bounds(110, 40, 90, 25));
  off->SetCaption("Disabled");
  off->SetEnabled(false);
  auto* check = Add<TCheckBox>(form, page, "CheckBox1", Bounds(12, 76, 140, 17));
  check->SetCaption("&Check box");
  check->SetChecked(true);
  auto* grayed = Add<TCheckBox>(form, page, "CheckBox2", Bounds(160, 76, 140, 17));
  grayed->SetCaption("Allow grayed");
  grayed->SetAllowGrayed(true);
  grayed->SetState(cbGrayed);
  auto* group = Add<TGroupBox>(form, page, "GroupBox1", Bounds(12, 104, 200, 80));
  group->SetCaption("&Group box");
  Add<TCheckBox>(form, group, "GroupCheck1", Bounds(12, 22, 150, 17))->SetCaption("First option");
  Add<TCheckBox>(form, group, "GroupCheck2", Bounds(12, 46, 150, 17))->SetCaption("Second option");
  auto* bevel = Add<TBevel>(form, page, "Bevel1", Bounds(12, 196, 380, 4));
  bevel->SetShape(bsTopLine);
  for (Integer i = 0; i < 3; ++i) {
    auto* sb = Add<TSpeedButton>(form, page, ("SpeedButton" + std::to_string(i + 1)).c_str(),
                                 Bounds(230 + i * 48, 110, 44, 24));
    sb->SetCaption(i == 0 ? "Left" : i == 1 ? "Mid" : "Right");
    sb->SetGroupIndex(2);
    sb->SetFlat(i == 2);
    if (i == 0) sb->SetDown(true);
  }
}

void BuildEditsPage(TForm* form, TPage* page) {
  Add<TLabel>(form, page, "EditLabel", Bounds(12, 14, 80, 16))->SetCaption("Edit:");
  Add<TEdit>(form, page, "Edit1", Bounds(100, 10, 200, 21))->SetText("Plain edit");
  Add<TLabel>(form, page, "MaskLabel", Bounds(12, 42, 80, 16))->SetCaption("Mask edit:");
  Add<TMaskEdit>(form, page, "MaskEdit1", Bounds(100, 38, 120, 21))
      ->SetEditMask("000-000-0000;1;_");
  auto* memo = Add<TMemo>(form, page, "Memo1", Bounds(12, 68, 190, 110));
  memo->Lines()->SetText("A memo\nwith several\nlines of text");
  auto* rich = Add<TRichEdit>(form, page, "RichEdit1", Bounds(210, 68, 190, 110));
  rich->SetText("Rich edit text");
}

void BuildContainersPage(TForm* form, TPage* page, TImage*& image) {
  auto* box = Add<TScrollBox>(form, page, "ScrollBox1", Bounds(12, 12, 200, 160));
  for (Integer i = 0; i < 12; ++i)
    Add<TLabel>(form, box, ("ScrollLabel" + std::to_string(i + 1)).c_str(),
                Bounds(8, 8 + i * 24, 150, 16))
        ->SetCaption(Format("Scrolled line %d", {i + 1}));
  auto* panel = Add<TPanel>(form, page, "Panel1", Bounds(224, 12, 176, 160));
  panel->SetBevelInner(bvLowered);
  panel->SetBorderWidth(2);
  panel->SetCaption("");
  image = Add<TImage>(form, panel, "Image1", Bounds(0, 0, 10, 10));
  image->SetAlign(alClient);
  image->SetCenter(true);
  image->SetProportional(true);
  PaintSamplePicture(image->Picture());
}

}  // namespace

// Pages added by the program, in order.
std::vector<std::pair<const char*, TGalleryPageBuilder>>& ExtraPages() {
  static std::vector<std::pair<const char*, TGalleryPageBuilder>> pages;
  return pages;
}

void AddGalleryPage(const char* name, TGalleryPageBuilder build) {
  ExtraPages().push_back({name, build});
}

TForm* CreateGalleryForm(TComponent* owner) {
  auto* form = TCustomForm::CreateNew<TForm>(owner);
  TObjectPtr<TForm> guard(owner ? nullptr : form);
  form->SetName("Gallery");
  form->SetCaption("Brevant control gallery");
  form->SetBounds(80, 60, 640, 440);

  auto* toolbar = Add<TToolBar>(form, form, "ToolBar1", Bounds(0, 0, 640, 26));
  toolbar->SetAlign(alTop);
  toolbar->SetShowCaptions(true);
  toolbar->SetFlat(true);
  const char* tools[] = {"Bold", "Italic", "Underline"};
  for (Integer i = 0; i < 3; ++i) {
    auto* tb = Add<TToolButton>(form, toolbar, ("ToolButton" + std::to_string(i + 1)).c_str(),
                                Bounds(i * 60, 0, 23, 22));
    tb->SetCaption(tools[i]);
    tb->SetStyle(tbsCheck);
  }

  auto* status = Add<TStatusBar>(form, form, "StatusBar", Bounds(0, 400, 640, 20));
  status->SetAlign(alBottom);
  status->SetSimplePanel(true);
  status->SetSimpleText("Ready");

  auto* side = Add<TPanel>(form, form, "SidePanel", Bounds(0, 26, 150, 360));
  side->SetAlign(alLeft);
  side->SetCaption("");
  auto* splitter = Add<TSplitter>(form, form, "Splitter1", Bounds(150, 26, 4, 360));
  splitter->SetAlign(alLeft);

  auto* notebook = Add<TNotebook>(form, form, "Notebook", Bounds(154, 26, 480, 360));
  notebook->SetAlign(alClient);
  TImage* image = nullptr;
  BuildStandardPage(form, notebook->AddPage("Standard"));
  BuildEditsPage(form, notebook->AddPage("Edits"));
  BuildContainersPage(form, notebook->AddPage("Containers"), image);
  std::vector<const char*> pages = {"Standard", "Edits", "Containers"};
  for (const auto& [name, build] : ExtraPages()) {
    build(form, notebook->AddPage(name));
    pages.push_back(name);
  }
  notebook->SetPageIndex(0);

  // Page switches: exclusive speed buttons.
  for (Integer i = 0; i < Integer(pages.size()); ++i) {
    auto* sb = Add<TSpeedButton>(form, side, (String("Page") + pages[i]).c_str(),
                                 Bounds(8, 8 + i * 28, 134, 24));
    sb->SetCaption(pages[i]);
    sb->SetGroupIndex(1);
    sb->SetDown(i == 0);
    sb->OnClick = Handler([notebook, i] { notebook->SetPageIndex(i); });
  }

  auto* colorDialog = Create<TColorDialog>(form);
  colorDialog->SetName("ColorDialog1");
  auto* openDialog = Create<TOpenPictureDialog>(form);
  openDialog->SetName("OpenPictureDialog1");
  openDialog->SetOptions({ofHideReadOnly, ofPathMustExist, ofFileMustExist, ofEnableSizing});
  auto* saveDialog = Create<TSavePictureDialog>(form);
  saveDialog->SetName("SavePictureDialog1");
  saveDialog->SetDefaultExt("bmp");
  saveDialog->SetOptions({ofOverwritePrompt, ofHideReadOnly, ofPathMustExist, ofEnableSizing});

  struct TDialogButton {
    const char* Name;
    const char* Caption;
    std::function<void()> Action;
  };
  const TDialogButton buttons[] = {
      {"MessageButton", "&Message...",
       [status] {
         const Integer r = MessageDlg("Do you like the gallery?", mtConfirmation, mbYesNoCancel);
         status->SetSimpleText(r == mrYes  ? "Answered Yes"
                               : r == mrNo ? "Answered No"
                                           : "Cancelled");
       }},
      {"InputButton", "&Input...",
       [status] {
         String name = "World";
         if (InputQuery("Gallery", "Your name:", name)) status->SetSimpleText("Hello, " + name);
       }},
      {"ColorButton", "&Colour...",
       [status, side, colorDialog] {
         colorDialog->SetColor(side->Color());
         if (!colorDialog->Execute()) return;
         side->SetColor(colorDialog->Color());
         status->SetSimpleText("Colour " + IntToHex(ColorToRGB(colorDialog->Color()), 6));
       }},
      {"OpenPictureButton", "&Open picture...",
       [status, image, openDialog] {
         if (!openDialog->Execute()) return;
         image->Picture()->LoadFromFile(openDialog->FileName());
         status->SetSimpleText("Opened " + openDialog->FileName());
       }},
      {"SavePictureButton", "&Save picture...",
       [status, image, saveDialog] {
         if (!saveDialog->Execute()) return;
         image->Picture()->SaveToFile(saveDialog->FileName());
         status->SetSimpleText("Saved " + saveDialog->FileName());
       }},
  };
  // The dialog buttons stand below the page buttons, however many pages the program added.
  Integer top = 24 + Integer(pages.size()) * 28;
  for (const auto& b : buttons) {
    auto* button = Add<TButton>(form, side, b.Name, Bounds(8, top, 134, 25));
    button->SetCaption(b.Caption);
    button->OnClick = Handler(b.Action);
    top += 32;
  }
  guard.release();
  return form;
}

}  // namespace brevant
