// brevant-demo: the demonstration application's entry point. It starts the
// suite's units, then the data modules DM and DM2, the main form, DM3 and
// the About form, and shuts them down in reverse. In a real window it runs
// until the main form closes; without a display it renders every page of
// the main form off-screen into PNG files.
//
//   --offscreen         render off-screen even with a display
//   --png DIR           the folder of the page pictures (off-screen)
//   --gallery           also open the gallery of standard controls
//   --smoke             on-screen: open every page and the About box, then end
//   --measure-startup   print the time from process start to the first
//                       painted main form
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "backend/offscreen_backend.h"
#include "backend/sdl_backend.h"
#include "bv_ctl/calendar.h"
#include "bv_env/env_unit.h"
#include "bv_gcc/customizer_unit.h"
#include "bv_std/list_visions.h"
#include "bv_std/lite_designer.h"
#include "bv_std/pack.h"
#include "bv_std/standard_designer.h"
#include "controls/application.h"
#include "controls/edits.h"
#include "controls/extctrls.h"
#include "controls/forms.h"
#include "controls/menus.h"
#include "controls/os_services.h"
#include "controls/stdctrls.h"
#include "controls/test_hooks.h"
#include "controls/wincore.h"
#include "demo/mainform/main_form.h"
#include "demo/modules/demo_modules.h"
#include "edit_page.h"
#include "env_page.h"
#include "gallery.h"
#include "lookup_page.h"
#include "pack_page.h"
#include "property_panel.h"
#include "rtl/exceptions.h"

using namespace brevant;

namespace {

// The database the modules open, under the working folder.
constexpr const char* kDatabase = "Data/data.db";

// Milliseconds since the kernel started this process (its start time in
// /proc/self/stat against the boot-time clock); -1 when unknown.
double MillisecondsSinceProcessStart() {
  std::ifstream stat("/proc/self/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  const size_t paren = text.rfind(')');
  if (paren == std::string::npos) return -1;
  std::istringstream fields(text.substr(paren + 2));
  std::string field;
  // Field 22 (starttime); the text after ")" starts at field 3.
  for (int i = 3; i <= 22 && fields >> field; ++i) {
  }
  const double ticks = std::strtod(field.c_str(), nullptr);
  timespec now{};
  clock_gettime(CLOCK_BOOTTIME, &now);
  const double started = ticks * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
  return now.tv_sec * 1000.0 + now.tv_nsec / 1e6 - started;
}

// Whether the database can be read and is one; otherwise the reason.
bool CheckDatabase(std::string& reason) {
  std::ifstream file(kDatabase, std::ios::binary);
  if (!file) {
    reason = std::strerror(errno);
    return false;
  }
  char header[16] = {};
  file.read(header, sizeof header);
  if (!file || std::memcmp(header, "SQLite format 3", 16) != 0) {
    reason = "not a database file";
    return false;
  }
  return true;
}

// The gallery's page of the suite's own controls: the calendar.
void BuildSuitePage(TForm* gallery, TWinControl* page) {
  auto* calendar = Create<TQuentaCalendar>(gallery);
  calendar->SetName("Calendar1");
  calendar->SetLeft(12);
  calendar->SetTop(12);
  calendar->SetShowClearButton(true);
  calendar->SetParent(page);
}

// The modules and the main form in start-up order; members go in reverse:
// the About form and DM3, then the main form, then DM2 and DM.
class TDemoApplication {
 public:
  TDemoApplication() : form_(CreateMainForm(nullptr)) {}
  TMainForm* Form() const { return form_.get(); }

 private:
  struct TDataModules {
    TDataModules() {
      RegisterMainFormClasses();
      CreateDataModules();
    }
    ~TDataModules() { FreeDemoModules(); }
  };
  struct TLateModules {
    TLateModules() { CreateLateModules(); }
    ~TLateModules() { FreeLateModules(); }
  };
  TDataModules data_;
  TObjectPtr<TMainForm> form_;
  TLateModules late_;
};

// One picture per notebook page: the navigation group and item that show
// it, and the file name.
struct TPageShot {
  Integer Button;    // navigation group
  Integer Item;      // item in the group
  const char* File;  // picture name
};
constexpr TPageShot kPages[] = {{0, 0, "1-overview.png"},          {0, 1, "2-lite-designer.png"},
                                {0, 2, "3-standard-designer.png"}, {0, 3, "4-drag-and-drop.png"},
                                {0, 4, "5-auto-search.png"},       {1, 0, "6-field-visions.png"},
                                {2, 0, "7-dropdown-forms.png"},    {2, 1, "8-object-dataset.png"}};

// Shows the main form and waits for its first paint; with measure prints
// the time since the process started (and the processor time it used: on
// a loaded machine the two differ).
void ShowAndPaint(TMainForm* form, bool measure) {
  form->Show();
  PumpMessages();
  UpdateWindow(form->Handle());
  if (!measure) return;
  timespec cpu{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
  std::printf(
      "Start-up: %.0f ms from process start to the first painted main form (%.0f ms of "
      "processor time)\n",
      MillisecondsSinceProcessStart(), cpu.tv_sec * 1e3 + cpu.tv_nsec / 1e6);
}

int RunOffscreen(const std::string& folder, bool gallery, bool measure) {
  auto* backend = new TOffscreenBackend();
  SetBackend(std::unique_ptr<TBackend>(backend));
  backend->SetScreenRect(TRect(0, 0, 1024, 720));
  TDemoApplication app;
  TMainForm* form = app.Form();
  ShowAndPaint(form, measure);
  if (measure && folder.empty()) return 0;
  const std::string dir = folder.empty() ? "brevant-pages" : folder;
  std::filesystem::create_directories(dir);
  for (const TPageShot& page : kPages) {
    form->SelectNavigationItem(page.Button, page.Item);
    PumpMessages();
    UpdateWindow(form->Handle());
    backend->SavePng(GetNativeWindow(form->Handle()), dir + "/" + page.File);
  }
  if (gallery) {
    TForm* shown = CreateGalleryForm(form);
    shown->Show();
    PumpMessages();
    backend->SavePng(GetNativeWindow(shown->Handle()), dir + "/gallery.png");
  }
  std::printf("No display: rendered the main form's %zu pages off-screen into %s/\n",
              std::size(kPages), dir.c_str());
  return 0;
}

// smoke: open every page and the About box, then end (end-to-end checks).
int RunOnScreen(bool smoke, bool gallery, bool measure) {
  SetBackend(TSdlBackend::Open());
  TDemoApplication app;
  TMainForm* form = app.Form();
  form->OnClose = TCloseEvent::FromCallable([](TObject*, TCloseAction&) { PostQuitMessage(0); });
  ShowAndPaint(form, measure);
  if (gallery) CreateGalleryForm(form)->Show();
  if (smoke) {
    int pending = 0;
    for (const TPageShot& page : kPages) {
      form->SelectNavigationItem(page.Button, page.Item);
      PumpMessages();
      UpdateWindow(form->Handle());
      TRect r;
      if (GetUpdateRect(form->Notebook->Handle(), r, false)) ++pending;
    }
    // A modal box in a real window: the About item opens it; the scripted
    // action answers it once it is shown.
    bool answered = false;
    ScriptAction("ShowModal", [&answered](TObject* box) {
      answered = box != nullptr;
      static_cast<TCustomForm*>(box)->SetModalResult(mrOk);
    });
    form->miAbout->Click();
    std::printf("On-screen smoke run: %zu pages, %d paint(s) pending, about box %s\n",
                std::size(kPages), pending, answered ? "shown" : "not shown");
    return pending || !answered ? 1 : 0;
  }
  TMsg msg;
  while (GetMessage(msg)) DispatchControlMessage(msg);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  bool offscreen = !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY");
  bool smoke = false, gallery = false, measure = false;
  std::string png;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--offscreen") == 0) offscreen = true;
    if (std::strcmp(argv[i], "--smoke") == 0) smoke = true;
    if (std::strcmp(argv[i], "--gallery") == 0) gallery = true;
    if (std::strcmp(argv[i], "--measure-startup") == 0) measure = true;
    if (std::strcmp(argv[i], "--png") == 0 && i + 1 < argc) png = argv[++i];
  }
  std::string reason;
  if (!CheckDatabase(reason)) {
    std::fprintf(stderr, "Cannot open the demonstration database %s%s: %s\n",
                 CurrentFolder().c_str(), kDatabase, reason.c_str());
    return 1;
  }
  Application()->SetTitle("Brevant demo application");
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
  try {
    return offscreen ? RunOffscreen(png, gallery, measure) : RunOnScreen(smoke, gallery, measure);
  } catch (const Exception& e) {
    std::fprintf(stderr, "%s: %s\n", e.ClassName(), e.Message().c_str());
    return 1;
  }
}
