// Picture blobs: value and bitmap conversions, the preview window and the
// picture dialogs.
#include "bv_std/blob_visions_graphic.h"

#include <algorithm>

#include "bv_db/univalue.h"
#include "bv_std/state_blob_strings.h"
#include "controls/application.h"
#include "controls/dialogs.h"
#include "controls/extctrls.h"
#include "controls/forms.h"
#include "controls/os_services.h"
#include "controls/stdctrls.h"
#include "graphics/bitmap.h"
#include "graphics/picture.h"
#include "rtl/scope.h"
#include "rtl/streams.h"

namespace brevant {

namespace {

const char* const kBitmapFilter = "Bitmaps (*.bmp)|*.bmp";
const char* const kBitmapExt = "bmp";

String& LastFolder() {
  static String folder;
  return folder;
}

// The folder part of a path ("" for a bare name).
String FolderOf(const String& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == String::npos ? String() : path.substr(0, slash);
}

// The preview's client size: the picture plus the panel's frame, scaled
// down (keeping the aspect ratio) when it would not fit the work area.
TSize PreviewClientSize(const TBitmap& bitmap, bool& scaled) {
  const Integer maxWidth = std::max(Screen()->WorkAreaWidth() - 16, 64);
  const Integer maxHeight = std::max(Screen()->WorkAreaHeight() - 48, 64);
  Int64 width = bitmap.Width() + 2;
  Int64 height = bitmap.Height() + 2;
  scaled = width > maxWidth || height > maxHeight;
  if (scaled) {
    const double factor =
        std::min(double(maxWidth) / double(width), double(maxHeight) / double(height));
    width = std::max<Int64>(Int64(double(width) * factor), 3);
    height = std::max<Int64>(Int64(double(height) * factor), 3);
  }
  return TSize{Integer(width), Integer(height)};
}

}  // namespace

void LoadGraphic(const TznUniValue& value, TBitmap& bitmap) {
  if (value.IsNull()) {
    bitmap.SetSize(0, 0);
    return;
  }
  TMemoryStream stream;
  value.SaveToStream(stream);
  stream.SetPosition(0);
  bitmap.LoadFromStream(stream);
}

void StoreGraphic(TznUniValue& value, const TBitmap& bitmap) {
  if (bitmap.Empty()) {
    value.Clear();
    return;
  }
  if (!IsBlobDataType(value.DataType())) {
    value.Clear();
    value.SetDataType(ftBlob);
  }
  TMemoryStream stream;
  bitmap.SaveToStream(stream);
  stream.SetPosition(0);
  value.LoadFromStream(stream);
}

void PreviewGraphic(const TBitmap& bitmap) {
  TObjectPtr<TForm> form(TCustomForm::CreateNew<TForm>(nullptr));
  form->SetCaption(bvres::SPicturePreview);
  form->SetBorderIcons(TBorderIcons{biSystemMenu});
  form->SetPosition(poScreenCenter);
  form->SetAutoScroll(false);
  bool scaled = false;
  const TSize size = PreviewClientSize(bitmap, scaled);
  form->SetClientWidth(size.cx);
  form->SetClientHeight(size.cy);
  auto* panel = Create<TPanel>(form.get());
  panel->SetParent(form.get());
  panel->SetBevelOuter(bvLowered);
  panel->SetColor(clWhite);
  panel->SetAlign(alClient);
  auto* image = Create<TImage>(form.get());
  image->SetParent(panel);
  image->SetAlign(alClient);
  image->SetCenter(true);
  image->SetStretch(scaled);
  image->SetProportional(scaled);
  image->Picture()->Assign(&bitmap);
  // Return and Escape reach only a button that can take the focus: it
  // stands outside the client area instead of being hidden.
  auto* close = Create<TButton>(form.get());
  close->SetParent(form.get());
  close->SetBounds(-100, -100, 20, 20);
  close->SetDefault(true);
  close->SetCancel(true);
  close->SetModalResult(mrOk);
  form->SetActiveControl(close);
  form->ShowModal();
}

bool OpenPictureFile(TBitmap& bitmap, TComponent* owner) {
  TObjectPtr<TOpenPictureDialog> dialog(Create<TOpenPictureDialog>(owner));
  dialog->SetFilter(kBitmapFilter);
  dialog->SetDefaultExt(kBitmapExt);
  dialog->SetOptions(
      TOpenOptions{ofHideReadOnly, ofPathMustExist, ofFileMustExist, ofEnableSizing});
  dialog->SetInitialDir(LastFolder());
  const String working = CurrentFolder();
  TScopeGuard restore([&] { SetCurrentFolder(working); });
  if (!dialog->Execute()) return false;
  const String fileName = dialog->FileName();
  LastFolder() = FolderOf(fileName);
  bitmap.LoadFromFile(fileName);
  return true;
}

bool SavePictureFile(String& fileName) {
  TObjectPtr<TSavePictureDialog> dialog(Create<TSavePictureDialog>(nullptr));
  dialog->SetFilter(kBitmapFilter);
  dialog->SetDefaultExt(kBitmapExt);
  dialog->SetOptions(
      TOpenOptions{ofOverwritePrompt, ofHideReadOnly, ofPathMustExist, ofEnableSizing});
  dialog->SetFileName(fileName);
  if (!dialog->Execute()) return false;
  fileName = dialog->FileName();
  return true;
}

String LastPictureFolder() {
  return LastFolder();
}

void SetLastPictureFolder(const String& folder) {
  LastFolder() = folder;
}

}  // namespace brevant
