// brevant-demo: the demonstration application's entry point. Until the
// demonstration's own forms exist, it shows the grid on a generated dataset
// of 100,000 vendor-like records in a real window, or renders it off-screen
// into a PNG when there is no display. The scroll bar, the wheel and the
// arrow and page keys move through the records; the status line follows.
// The View menu opens the gallery of the platform's standard controls and
// dialogs (--gallery starts with it open).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>

#include "backend/offscreen_backend.h"
#include "backend/sdl_backend.h"
#include "bv/columns.h"
#include "bv/tabulon.h"
#include "bv_ctl/calendar.h"
#include "bv_env/env_unit.h"
#include "bv_gcc/customizer_unit.h"
#include "bv_std/list_visions.h"
#include "bv_std/lite_designer.h"
#include "bv_std/pack.h"
#include "bv_std/standard_designer.h"
#include "controls/application.h"
#include "controls/edits.h"
#include "controls/forms.h"
#include "controls/menus.h"
#include "controls/stdctrls.h"
#include "controls/test_hooks.h"
#include "controls/wincore.h"
#include "db/datasource.h"
#include "db/field.h"
#include "db/mem_dataset.h"
#include "demo/modules/demo_modules.h"
#include "edit_page.h"
#include "env_page.h"
#include "gallery.h"
#include "lookup_page.h"
#include "pack_page.h"
#include "graphics/canvas.h"
#include "property_panel.h"
#include "rtl/datetime.h"
#include "rtl/exceptions.h"
#include "rtl/format.h"

using namespace brevant;

namespace {

constexpr Integer kRecords = 100000;

// The gallery's page of the suite's own controls: the calendar.
void BuildSuitePage(TForm* gallery, TWinControl* page) {
  auto* calendar = Create<TQuentaCalendar>(gallery);
  calendar->SetName("Calendar1");
  calendar->SetLeft(12);
  calendar->SetTop(12);
  calendar->SetShowClearButton(true);
  calendar->SetParent(page);
}

class TStatusLine : public TGraphicControl {
 public:
  explicit TStatusLine(TComponent* owner) : TGraphicControl(owner) {}
  String Text;

 protected:
  void Paint() override {
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(r);
    r.Left += 8;
    c->Font()->SetColor(clWindowText);
    c->DrawText(Text, r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  }
};

// ID, Vendor, City, Amount, Since: deterministic values.
TMemDataSet* MakeVendors(TComponent* owner) {
  static const char* const kNames[] = {"Northwind",  "Bluewater", "Redstone", "Ironbark",
                                       "Silverleaf", "Goldcrest", "Oakridge", "Pinefield"};
  static const char* const kCities[] = {"Lisbon", "Oslo",  "Vienna", "Dublin", "Tallinn",
                                        "Porto",  "Ghent", "Turku",  "Bergen", "Graz"};
  auto* ds = Create<TMemDataSet>(owner);
  ds->FieldDefs()->Add("ID", ftInteger);
  ds->FieldDefs()->Add("Vendor", ftString, 40);
  ds->FieldDefs()->Add("City", ftString, 20);
  ds->FieldDefs()->Add("Amount", ftFloat);
  ds->FieldDefs()->Add("Since", ftDate);
  const TDateTime start = EncodeDate(2001, 1, 1);
  for (Integer i = 0; i < kRecords; ++i) {
    ds->AppendRow({i + 1, Format("%s Supply %d", {String(kNames[i % 8]), i / 8 + 1}),
                   String(kCities[(i * 7) % 10]), (i * 7919 % 1000000) / 100.0,
                   start + (i * 37) % 9000});
  }
  return ds;
}

class TGridDemoForm : public TForm {
 public:
  explicit TGridDemoForm(TComponent* owner) : TForm(owner) {}
  TDBTabulon* Grid = nullptr;
  TStatusLine* Status = nullptr;
  TMemDataSet* Vendors = nullptr;
  TDataSource* Source = nullptr;

  void Build() {
    SetCaption("Brevant grid");
    SetBounds(120, 80, 720, 520);
    Vendors = MakeVendors(this);
    Source = Create<TDataSource>(this);
    Source->SetDataSet(Vendors);
    Status = Create<TStatusLine>(this);
    Status->SetParent(this);
    Status->SetHeight(24);
    Status->SetAlign(alBottom);
    Grid = Create<TDBTabulon>(this);
    Grid->SetParent(this);
    Grid->SetAlign(alClient);
    Grid->Columns()->AddFields(Vendors);
    Grid->Columns()->Items(0)->SetWidth(70);
    Grid->Columns()->Items(1)->SetWidth(190);
    Grid->Columns()->Items(2)->SetWidth(110);
    Grid->Columns()->Items(3)->SetWidth(110);
    Grid->Columns()->Items(4)->SetWidth(110);
    Grid->SetDataSource(Source);
    Source->OnDataChange = TDataChangeEvent::FromCallable([this](TObject*, TField*) { Show(); });
    Grid->OnKeyDown = TKeyEvent::FromCallable([this](TObject*, Word& key, TShiftState) {
      // Keyboard navigation of the grid itself comes with its editing
      // workflow; until then the form moves the records.
      switch (key) {
        case VK_DOWN:
          Vendors->Next();
          break;
        case VK_UP:
          Vendors->Prior();
          break;
        case VK_NEXT:
          Vendors->MoveBy(Grid->RowCount());
          break;
        case VK_PRIOR:
          Vendors->MoveBy(-Grid->RowCount());
          break;
        case VK_HOME:
          Vendors->First();
          break;
        case VK_END:
          Vendors->Last();
          break;
        default:
          return;
      }
      key = 0;
    });
    Vendors->Open();
    BuildMenu();
    Show();
  }

  TMenuItem* AddItem(TMenuItem* parent, const char* caption, std::function<void()> action) {
    auto* item = Create<TMenuItem>(this);
    item->SetCaption(caption);
    if (action) item->OnClick = TNotifyEvent::FromCallable([action](TObject*) { action(); });
    parent->Add(item);
    return item;
  }

  void BuildMenu() {
    auto* menu = Create<TMainMenu>(this);
    TMenuItem* file = AddItem(menu->Items(), "&File", nullptr);
    AddItem(file, "E&xit", [this] { Close(); });
    TMenuItem* view = AddItem(menu->Items(), "&View", nullptr);
    AddItem(view, "Control &gallery...", [this] { OpenGallery(); });
    TMenuItem* help = AddItem(menu->Items(), "&Help", nullptr);
    AboutItem = AddItem(help, "&About...", [] {
      Application()->MessageBox(
          "Brevant: data-aware components for desktop database applications.\n"
          "The grid shows 100,000 generated records.",
          "About Brevant", MB_OK | MB_ICONINFORMATION);
    });
    SetMenu(menu);
  }

  void OpenGallery() {
    if (!Gallery) Gallery = CreateGalleryForm(this);
    Gallery->Show();
  }
  TForm* Gallery = nullptr;
  TMenuItem* AboutItem = nullptr;

  void Show() {
    if (!Status) return;
    Status->Text = Format("Record %d of %d: %s", {Vendors->RecNo(), Vendors->RecordCount(),
                                                  Vendors->FieldByName("Vendor")->AsString()});
    Status->Invalidate();
  }
  using TForm::Show;
};

int RunOffscreen(const char* pngPath, bool gallery) {
  auto* backend = new TOffscreenBackend();
  SetBackend(std::unique_ptr<TBackend>(backend));
  TObjectPtr<TGridDemoForm> form(Create<TGridDemoForm>(nullptr));
  form->Build();
  form->TForm::Show();
  PumpMessages();
  // Drive it as a user would: a wheel turn, then a few rows down.
  TPoint inside = form->Grid->ClientToScreen(Point(60, 60));
  backend->Wheel(inside, -WHEEL_DELTA);
  PumpMessages();
  form->Grid->SetFocus();
  for (int i = 0; i < 3; ++i) backend->PressKey(VK_DOWN);
  PumpMessages();
  const bool moved = form->Vendors->RecNo() == form->Grid->RowCount() + 4;
  TForm* shown = form.get();
  if (gallery) {
    form->OpenGallery();
    PumpMessages();
    shown = form->Gallery;
  }
  backend->SavePng(GetNativeWindow(shown->Handle()), pngPath);
  std::printf("No display: rendered the %s off-screen into %s (record %d)\n",
              gallery ? "control gallery" : "grid", pngPath, form->Vendors->RecNo());
  return moved ? 0 : 1;
}

// smoke: show the form, let it paint, then close it (end-to-end checks).
int RunOnScreen(bool smoke, bool gallery) {
  SetBackend(TSdlBackend::Open());
  TObjectPtr<TGridDemoForm> form(Create<TGridDemoForm>(nullptr));
  form->Build();
  form->OnClose = TCloseEvent::FromCallable([](TObject*, TCloseAction&) { PostQuitMessage(0); });
  form->TForm::Show();
  form->Grid->SetFocus();
  if (gallery) form->OpenGallery();
  if (smoke) {
    PumpMessages();
    UpdateWindow(form->Handle());
    TRect r;
    bool pending = GetUpdateRect(form->Grid->Handle(), r, false);
    // A modal box in a real window: the About item opens it; the scripted
    // action answers it once it is shown.
    bool answered = false;
    ScriptAction("MessageBox", [&answered](TObject* box) {
      answered = box != nullptr;
      static_cast<TCustomForm*>(box)->SetModalResult(mrOk);
    });
    form->AboutItem->Click();
    std::printf("On-screen smoke run: %s, about box %s\n",
                pending ? "paint still pending" : "painted", answered ? "shown" : "not shown");
    return pending || !answered ? 1 : 0;
  }
  TMsg msg;
  while (GetMessage(msg)) DispatchControlMessage(msg);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::printf("Brevant demonstration: the grid on %d generated records.\n", kRecords);
  RegisterStdControlClasses();
  RegisterEditClasses();
  RegisterCalendarClasses();
  // The shared environment exists before any grid and goes after the last.
  TEnvironmentUnit environment;
  TCustomizerUnit customizer;
  StartListVisionsUnit();
  StartStandardDesignerUnit();
  RegisterLiteDesignerClasses();
  // The default pack's tool forms serve the stock visions' drop-downs.
  TDefPackUnit defaultPack;
  AddGalleryPage("Suite", BuildSuitePage);
  AddGalleryPage("Properties", BuildPropertyPage);
  AddGalleryPage("DataEdits", BuildEditPage);
  AddGalleryPage("Environment", BuildEnvironmentPage);
  AddGalleryPage("DefaultPack", BuildPackPage);
  AddGalleryPage("Lookups", BuildLookupPage);
  bool offscreen = !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY");
  bool smoke = false, gallery = false;
  const char* png = "brevant-grid.png";
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--offscreen") == 0) offscreen = true;
    if (std::strcmp(argv[i], "--smoke") == 0) smoke = true;
    if (std::strcmp(argv[i], "--gallery") == 0) gallery = true;
    if (std::strcmp(argv[i], "--png") == 0 && i + 1 < argc) png = argv[++i];
  }
  try {
    // The data modules, the rich-text drop-down and the About form, read
    // from their form texts; the database is Data/data.db under the
    // working folder.
    TDemoModulesUnit modules;
    return offscreen ? RunOffscreen(png, gallery) : RunOnScreen(smoke, gallery);
  } catch (const Exception& e) {
    std::fprintf(stderr, "%s: %s\n", e.ClassName(), e.Message().c_str());
    return 1;
  }
}
