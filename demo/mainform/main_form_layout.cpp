// The overview's layout file: the columns' geometry, visibility, title and
// footer states and field names written as text into Saves/layout.txt
// beside the executable, and read back into the columns of the same names.
#include <filesystem>
#include <system_error>

#include "bv/columns.h"
#include "bv/tabulon.h"
#include "bv_rtm/object_text.h"
#include "controls/application.h"
#include "controls/comctrls.h"
#include "controls/os_services.h"
#include "demo/mainform/main_form.h"
#include "rtl/exceptions.h"
#include "rtl/format.h"
#include "rtl/stringlist.h"

namespace brevant {

namespace {

// What a layout keeps of each column: geometry, visibility, title and
// footer states, field name (TtlColumn::CopyFrom's mask bits).
constexpr Cardinal kLayoutMask = 39;

// The folder the layout goes to ("": the executable's).
String& LayoutFolder() {
  static String folder;
  return folder;
}

}  // namespace

void TMainForm::SetLayoutFolder(const String& folder) {
  LayoutFolder() = folder;
}

String TMainForm::LayoutFileName() const {
  String folder = LayoutFolder().empty() ? ExeFolder() : LayoutFolder();
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder + "Saves/layout.txt";
}

void TMainForm::tbLayoutClick(TObject* sender) {
  const Integer tag = static_cast<TToolButton*>(sender)->Tag();
  if (tag == 1) SaveLayout();
  if (tag == 2) LoadLayout();
}

void TMainForm::SaveLayout() {
  const String fileName = LayoutFileName();
  {
    TObjectPtr<TtlColumns> columns(new TtlColumns(nullptr));
    TObjectPtr<TStringList> lines(MakeObject<TStringList>());
    columns->CopyColumns(tlOverview->Columns(), true, kLayoutMask);
    lines->SetText(ObjectToStr(columns.get(), "", true));
    // The folder is made when missing; a failure shows as the file error.
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(fileName).parent_path(), ignored);
    lines->SaveToFile(fileName);
  }
  const String text = Format(
      "Using Brevant \"ObjectToStr\" function you can save columns (or any object) as string to "
      "any storage - external file, BLOB data field, registry key and so on. \r\n"
      "Layout has been saved to %s. Would you like to open it ?",
      {fileName});
  if (Application()->MessageBox(text, "Question", MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  // The editor is the desktop's handler of the file, started without a
  // shell; a failure is reported, never raised.
  try {
    ShellOpen(fileName);
  } catch (const Exception& e) {
    Report(e.Message());
  }
}

void TMainForm::LoadLayout() {
  TObjectPtr<TtlColumns> columns(new TtlColumns(nullptr));
  TObjectPtr<TStringList> lines(MakeObject<TStringList>());
  lines->LoadFromFile(LayoutFileName());
  // Read completely before anything changes: a malformed text leaves the
  // overview as it was.
  StrToObject(columns.get(), lines->Text(), true);
  tlOverview->Columns()->CopyColumns(columns.get(), false, kLayoutMask);
  Report("Layout loaded from " + LayoutFileName());
}

}  // namespace brevant
