// The open and save dialogs: folders and files of the real file system,
// filters by mask, validation of the typed name and the picture preview.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "classes/rtti_builder.h"
#include "controls/dialogs.h"
#include "controls/edits.h"
#include "controls/extctrls.h"
#include "controls/form_resources.h"
#include "controls/os_services.h"
#include "controls/stdctrls.h"
#include "graphics/picture.h"
#include "rtl/format.h"
#include "rtl/resstrings.h"
#include "rtl/stringlist.h"
#include "rtl/strutils.h"

namespace brevant {

namespace fs = std::filesystem;

BV_ENUM_INFO(TOpenOption, ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp,
             ofNoValidate, ofAllowMultiSelect, ofExtensionDifferent, ofPathMustExist,
             ofFileMustExist, ofCreatePrompt, ofShareAware, ofNoReadOnlyReturn, ofNoTestFileCreate,
             ofNoNetworkButton, ofNoLongNames, ofOldStyleDialog, ofNoDereferenceLinks,
             ofEnableIncludeNotify, ofEnableSizing)
BV_SET_INFO(TOpenOptions, TOpenOption)
BV_PUBLISH(TFileDialogForm, TForm) {
  p.Method<TNotifyEvent, &TFileDialogForm::FolderOpen>("FolderOpen");
  p.Method<TNotifyEvent, &TFileDialogForm::FileChange>("FileChange");
  p.Method<TNotifyEvent, &TFileDialogForm::FileDblClick>("FileDblClick");
  p.Method<TNotifyEvent, &TFileDialogForm::OkClick>("OkClick");
}
BV_PUBLISH(TPictureDialogForm, TFileDialogForm) {}
BV_PUBLISH(TOpenDialog, TCommonDialog) {
  p.Property("DefaultExt", &TOpenDialog::DefaultExt, &TOpenDialog::SetDefaultExt);
  p.Property("FileName", &TOpenDialog::FileName, &TOpenDialog::SetFileName);
  p.Property("Filter", &TOpenDialog::Filter, &TOpenDialog::SetFilter);
  p.Property("FilterIndex", &TOpenDialog::FilterIndex, &TOpenDialog::SetFilterIndex).Default(1);
  p.Property("InitialDir", &TOpenDialog::InitialDir, &TOpenDialog::SetInitialDir);
  p.Property("Options", &TOpenDialog::Options, &TOpenDialog::SetOptions)
      .Default(TOpenOptions{ofHideReadOnly, ofEnableSizing});
}
BV_PUBLISH(TSaveDialog, TOpenDialog) {}
BV_PUBLISH(TOpenPictureDialog, TOpenDialog) {}
BV_PUBLISH(TSavePictureDialog, TSaveDialog) {}

namespace {

String& LastFolderRef() {
  static String folder;
  return folder;
}

bool IsFolder(const String& path) {
  std::error_code ec;
  return !path.empty() && fs::is_directory(fs::path(path), ec);
}

// An absolute, normalised path without a trailing separator (except the root).
String Normalize(const fs::path& p) {
  std::error_code ec;
  fs::path abs = p.is_absolute() ? p : fs::absolute(p, ec);
  String s = abs.lexically_normal().string();
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  return s;
}

bool HasWildcard(const String& s) {
  return s.find_first_of("*?") != String::npos;
}

// Case-insensitive glob over bytes (ASCII letters folded).
bool Glob(const char* n, const char* m) {
  const char* star = nullptr;
  const char* resume = nullptr;
  while (*n) {
    if (*m == '*') {
      star = m++;
      resume = n;
    } else if (*m == '?' || std::tolower(static_cast<unsigned char>(*m)) ==
                                std::tolower(static_cast<unsigned char>(*n))) {
      ++m, ++n;
    } else if (star) {
      m = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (*m == '*') ++m;
  return *m == 0;
}

std::vector<String> SplitMasks(const String& text) {
  std::vector<String> masks;
  for (const String& part : SplitString(text, ';')) {
    const String m = Trim(part);
    if (!m.empty()) masks.push_back(m);
  }
  return masks;
}

}  // namespace

bool MatchesMask(const String& name, const String& mask) {
  if (mask == "*.*" || mask == "*") return true;
  return Glob(name.c_str(), mask.c_str());
}

String GraphicFilter() {
  return res::SPictureFilter;
}

// ---- TFileDialogForm ------------------------------------------------------------------------

void TFileDialogForm::Loaded() {
  TForm::Loaded();
  BindComponent(this, "FolderLabel", FolderLabel);
  BindComponent(this, "FolderList", FolderList);
  BindComponent(this, "FileList", FileList);
  BindComponent(this, "FileNameEdit", FileNameEdit);
  BindComponent(this, "FilterList", FilterList);
  BindComponent(this, "ReadOnlyCheck", ReadOnlyCheck);
  BindComponent(this, "OKButton", OkButton);
  BindComponent(this, "CancelButton", CancelButton);
  CancelButton->SetCaption(res::SMsgDlgCancel);  // shared by every dialog
  // Only the picture dialogs' form text has a preview.
  Preview = TryAs<TImage>(FindComponent("Preview"));
  PreviewLabel = TryAs<TLabel>(FindComponent("PreviewLabel"));
}

bool TFileDialogForm::ChangeFolder(const String& folder) {
  const String target = Normalize(fs::path(folder));
  if (!IsFolder(target)) {
    MessageDlg(Format(res::SFileDlgNoFolder, {folder}), mtError, {mbOK});
    return false;
  }
  std::error_code ec;
  fs::directory_iterator probe(fs::path(target), ec);
  if (ec) {
    MessageDlg(Format(res::SFileDlgCannotRead, {target, String(ec.message())}), mtError, {mbOK});
    return false;
  }
  folder_ = target;
  Refresh();
  return true;
}

// Lists the folder: sub-folders and the files matching the masks, sorted,
// hidden (dot) entries left out. Entries that vanish meanwhile are skipped.
void TFileDialogForm::Refresh() {
  std::vector<String> folders, files;
  std::error_code ec;
  for (fs::directory_iterator it(fs::path(folder_), ec), end; !ec && it != end; it.increment(ec)) {
    const String name = it->path().filename().string();
    if (name.empty() || name[0] == '.') continue;
    std::error_code kindEc;
    if (it->is_directory(kindEc)) {
      folders.push_back(name);
    } else if (!kindEc) {
      for (const String& m : masks_)
        if (MatchesMask(name, m)) {
          files.push_back(name);
          break;
        }
    }
  }
  auto byName = [](const String& a, const String& b) { return AnsiCompareText(a, b) < 0; };
  std::sort(folders.begin(), folders.end(), byName);
  std::sort(files.begin(), files.end(), byName);
  if (fs::path(folder_).has_relative_path()) folders.insert(folders.begin(), "..");
  FolderLabel->SetCaption(folder_);
  FolderList->SetItems(std::move(folders));
  FileList->SetItems(std::move(files));
  UpdatePreview(String());
}

void TFileDialogForm::FolderOpen(TObject*) {
  const String name = FolderList->SelectedText();
  if (name.empty()) return;
  const fs::path target =
      name == ".." ? fs::path(folder_).parent_path() : fs::path(folder_) / fs::path(name);
  ChangeFolder(target.string());
}

void TFileDialogForm::FileChange(TObject*) {
  const String name = FileList->SelectedText();
  if (name.empty()) return;
  FileNameEdit->SetText(name);
  UpdatePreview((fs::path(folder_) / fs::path(name)).string());
}

void TFileDialogForm::FileDblClick(TObject*) {
  if (FileList->ItemIndex() >= 0) OkClick(this);
}

// OK checks the name first: navigation and refusals keep the dialog open.
void TFileDialogForm::OkClick(TObject*) {
  result_.clear();
  if (Accept()) SetModalResult(mrOk);
}

void TFileDialogForm::FilterChange(TObject*) {
  const auto items = dialog_->FilterItems();
  const Integer i = FilterList->ItemIndex();
  if (i < 0 || i >= static_cast<Integer>(items.size())) return;
  masks_ = items[static_cast<size_t>(i)].Masks;
  if (!folder_.empty()) Refresh();
}

void TFileDialogForm::UpdatePreview(const String& path) {
  if (!Preview) return;
  if (path.empty()) {
    Preview->Picture()->Assign(nullptr);
    PreviewLabel->SetCaption(String());
    return;
  }
  // A file the picture loader refuses shows no preview, only a note: browsing goes on.
  try {
    Preview->Picture()->LoadFromFile(path);
    PreviewLabel->SetCaption(
        Format("%d x %d", {Preview->Picture()->Width(), Preview->Picture()->Height()}));
  } catch (const Exception&) {
    Preview->Picture()->Assign(nullptr);
    PreviewLabel->SetCaption("(not a picture)");
  }
}

bool TFileDialogForm::CloseQuery() {
  if (ModalResult() == mrOk && result_.empty() && !Accept()) return false;
  return TForm::CloseQuery();
}

// Interprets the typed name: masks filter the list, a folder opens, a file
// is checked against the options. Answers true with result_ set.
bool TFileDialogForm::Accept() {
  String text = Trim(FileNameEdit->Text());
  if (text.empty()) {
    if (FileList->ItemIndex() < 0) return false;
    text = FileList->SelectedText();
  }
  if (HasWildcard(text)) {
    masks_ = SplitMasks(text);
    Refresh();
    FileNameEdit->SelectAll();
    return false;
  }
  fs::path path(text);
  if (!path.is_absolute()) path = fs::path(folder_) / path;
  String full = Normalize(path);
  if (IsFolder(full)) {
    ChangeFolder(full);
    FileNameEdit->SetText(String());
    return false;
  }
  const String parent = Normalize(fs::path(full).parent_path());
  if (!IsFolder(parent)) {
    MessageDlg(Format(res::SFileDlgNoFolder, {parent}), mtError, {mbOK});
    FileNameEdit->SelectAll();
    return false;
  }
  String ext = dialog_->DefaultExt();
  while (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
  if (!ext.empty() && !fs::path(full).has_extension()) full += "." + ext;
  std::error_code ec;
  const bool exists = fs::exists(fs::path(full), ec);
  if (exists && IsFolder(full)) {
    MessageDlg(Format(res::SFileDlgIsFolder, {full}), mtError, {mbOK});
    return false;
  }
  const TOpenOptions options = dialog_->Options();
  if (!dialog_->IsSave()) {
    if (!exists && options.Contains(ofFileMustExist)) {
      MessageDlg(Format(res::SFileDlgNotFound, {full}), mtError, {mbOK});
      FileNameEdit->SelectAll();
      return false;
    }
    if (exists && dialog_->IsPicture()) {
      try {
        TPicture probe;
        probe.LoadFromFile(full);
      } catch (const Exception& e) {
        MessageDlg(Format(res::SFileDlgNotPicture, {full, e.Message()}), mtError, {mbOK});
        FileNameEdit->SelectAll();
        return false;
      }
    }
  } else if (exists && options.Contains(ofOverwritePrompt)) {
    if (MessageDlg(Format(res::SFileDlgOverwrite, {full}), mtWarning, mbYesNo) != mrYes)
      return false;
  }
  result_ = full;
  return true;
}

// ---- TOpenDialog ----------------------------------------------------------------------------

TOpenDialog::TOpenDialog(TComponent* owner) : TCommonDialog(owner) {
  files_ = new TStringList();
}

TOpenDialog::~TOpenDialog() {
  TObject::Free(files_);
}

String TOpenDialog::DefaultTitle() const {
  return res::SOpenDlgTitle;
}

String TSaveDialog::DefaultTitle() const {
  return res::SSaveDlgTitle;
}

TOpenPictureDialog::TOpenPictureDialog(TComponent* owner) : TOpenDialog(owner) {
  SetFilter(GraphicFilter());
}

TSavePictureDialog::TSavePictureDialog(TComponent* owner) : TSaveDialog(owner) {
  SetFilter(GraphicFilter());
}

String TOpenDialog::LastFolder() {
  return LastFolderRef();
}

void TOpenDialog::SetLastFolder(const String& folder) {
  LastFolderRef() = folder;
}

std::vector<TOpenDialog::TFilterItem> TOpenDialog::FilterItems() const {
  std::vector<TFilterItem> items;
  const std::vector<String> parts = SplitString(filter_, '|');
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    std::vector<String> masks = SplitMasks(parts[i + 1]);
    if (masks.empty()) continue;
    items.push_back({Trim(parts[i]), std::move(masks)});
  }
  if (items.empty()) items.push_back({"All files", {"*"}});
  return items;
}

// FileName's folder, InitialDir, the last accepted folder, the working folder.
String TOpenDialog::StartFolder() const {
  if (!fileName_.empty()) {
    const String dir = fs::path(fileName_).parent_path().string();
    if (IsFolder(dir)) return Normalize(fs::path(dir));
  }
  if (IsFolder(initialDir_)) return Normalize(fs::path(initialDir_));
  if (IsFolder(LastFolder())) return LastFolder();
  return Normalize(fs::path(CurrentFolder()));
}

bool TOpenDialog::Execute() {
  RegisterDialogForms();
  TFileDialogForm* form =
      IsPicture() ? Create<TPictureDialogForm>(nullptr) : Create<TFileDialogForm>(nullptr);
  TObjectPtr<TFileDialogForm> keep(form);
  form->dialog_ = this;
  form->SetCaption(Title().empty() ? DefaultTitle() : Title());
  form->OkButton->SetCaption(IsSave() ? "&Save" : "&Open");
  form->ReadOnlyCheck->SetVisible(!IsSave() && !options_.Contains(ofHideReadOnly));
  form->ReadOnlyCheck->SetChecked(options_.Contains(ofReadOnly));

  // Filters, then the start folder and the proposed name.
  const auto filters = FilterItems();
  std::vector<String> descriptions;
  for (const auto& f : filters) descriptions.push_back(f.Description);
  form->FilterList->SetItems(std::move(descriptions));
  const Integer count = static_cast<Integer>(filters.size());
  const Integer index = filterIndex_ >= 1 && filterIndex_ <= count ? filterIndex_ - 1 : 0;
  form->masks_ = filters[static_cast<size_t>(index)].Masks;
  form->FilterList->SetItemIndex(index);
  // Hooked only now: choosing the first filter must not list a folder yet.
  form->FilterList->OnChange = TNotifyEvent::Of<&TFileDialogForm::FilterChange>(form);
  form->folder_ = StartFolder();
  form->Refresh();
  form->FileNameEdit->SetText(fs::path(fileName_).filename().string());
  form->FileNameEdit->SelectAll();
  form->SetActiveControl(form->FileNameEdit);

  if (RunForm(form, Kind()) != mrOk) return false;
  if (!form->HandleAllocated()) return true;  // a value answer keeps FileName
  fileName_ = form->result_;
  files_->Clear();
  files_->Add(fileName_);
  filterIndex_ = std::max<Integer>(form->FilterList->ItemIndex(), 0) + 1;
  if (form->ReadOnlyCheck->Checked())
    options_ += ofReadOnly;
  else
    options_ -= ofReadOnly;
  const String folder = Normalize(fs::path(fileName_).parent_path());
  SetLastFolder(folder);
  if (!options_.Contains(ofNoChangeDir)) SetCurrentFolder(folder);
  return true;
}

}  // namespace brevant
