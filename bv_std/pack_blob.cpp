// The blob picker of the default pack: a text editor for text visions or a
// picture control for picture visions above an OK / Cancel strip, the
// picture picker's editing actions and context menu, and the context menu
// the image vision's editors offer by default.
#include <algorithm>

#include "bv/field_list.h"
#include "bv/field_vision.h"
#include "bv_std/blob_visions.h"
#include "bv_std/blob_visions_dropdown.h"
#include "bv_std/blob_visions_graphic.h"
#include "bv_std/pack.h"
#include "bv_vtf/tool_form.h"
#include "controls/edits.h"
#include "controls/extctrls.h"
#include "controls/menus.h"
#include "controls/richedit.h"
#include "controls/stdctrls.h"
#include "controls/wincore.h"
#include "db/field.h"
#include "graphics/bitmap.h"
#include "graphics/font.h"
#include "graphics/picture.h"
#include "rtl/strutils.h"

namespace brevant {

namespace {

// The size of the button strip under the picture, which the picture
// control is never smaller than.
constexpr Integer kStripWidth = 136, kStripHeight = 30;

// The menu item with tag in menu, nil when none.
TMenuItem* ItemOfTag(TPopupMenu* menu, Integer tag) {
  for (Integer i = 0; i < menu->Items()->Count(); ++i)
    if (menu->Items()->Items(i)->Tag() == tag) return menu->Items()->Items(i);
  return nullptr;
}

// The separators of a blob menu: the one before Load... and the one before
// Preview, in menu order.
std::pair<TMenuItem*, TMenuItem*> Separators(TPopupMenu* menu) {
  TMenuItem* first = nullptr;
  TMenuItem* second = nullptr;
  for (Integer i = 0; i < menu->Items()->Count(); ++i) {
    TMenuItem* item = menu->Items()->Items(i);
    if (item->Caption() != "-") continue;
    (first ? second : first) = item;
  }
  return {first, second};
}

// Enables and shows a blob menu's items. hasPicture: a picture is there;
// canEdit: the field list can be edited; pasteable: the clipboard holds a
// bitmap; disabled: the actions not shown.
void PrepareBlobMenu(TPopupMenu* menu, bool hasPicture, bool canEdit, bool pasteable,
                     TfvImgDisabledActions disabled, bool shown) {
  const bool enabled[7] = {hasPicture && canEdit,
                           hasPicture,
                           pasteable && canEdit,
                           hasPicture && canEdit,
                           canEdit,
                           hasPicture,
                           hasPicture};
  for (Integer tag = eaCut; tag <= eaPreview; ++tag) {
    TMenuItem* item = ItemOfTag(menu, tag);
    if (!item) continue;
    item->SetEnabled(enabled[tag - eaCut]);
    item->SetVisible(shown && !ImageActionDisabled(disabled, TznEditAction(tag)));
  }
  auto visible = [menu](Integer tag) {
    TMenuItem* item = ItemOfTag(menu, tag);
    return item && item->Visible();
  };
  auto [beforeLoad, beforePreview] = Separators(menu);
  if (beforeLoad) beforeLoad->SetVisible(visible(eaLoad) || visible(eaSave));
  if (beforePreview) beforePreview->SetVisible(visible(eaPreview));
}

// The editor a blob menu was opened for, nil when none.
IznVisionEditor* MenuEditor(TPopupMenu* menu) {
  return dynamic_cast<IznVisionEditor*>(menu->PopupComponent());
}

}  // namespace

// ---- the picker ----

void TbvDefPack::vtfBlobPickerShow(TObject*) {
  TVisionToolForm* tf = vtfBlobPicker;
  tf->SetOptions({tfoFocusable, tfoNoAutoPost, tfoAlwaysPostChanges});
  TznFieldVision* vision = tf->Vision();
  if (dynamic_cast<TTextVision*>(vision))
    ShowTextPicker(vision);
  else if (dynamic_cast<TPictureVision*>(vision))
    ShowPicturePicker(vision);
  btnBlobPickerOK->SetEnabled(false);
}

// The picker's options for a sizing flag and an auto-post flag.
static void SetPickerOptions(TVisionToolForm* tf, bool noSizing, bool noAutoPost) {
  TvtfOptions options = tf->Options();
  if (noSizing) options += TvtfOptions{tfoFixedWidth, tfoFixedHeight};
  if (noAutoPost) options.Exclude(tfoAlwaysPostChanges);
  tf->SetOptions(options);
}

// Sizes the picker's client to width x height (0 keeps the design size).
static void SizePicker(TVisionToolForm* tf, Integer width, Integer height) {
  if (width > 0) tf->SetUseWidth(width);
  if (height > 0) tf->SetHeight(height);
}

void TbvDefPack::ShowTextPicker(TznFieldVision* vision) {
  auto* text = static_cast<TTextVision*>(vision);
  TVisionToolForm* tf = vtfBlobPicker;
  if (blobImage_) TObject::Free(std::exchange(blobImage_, nullptr));
  if (!blobText_) {
    blobText_ = Create<TRichEdit>(pnBlobPickerBG);
    blobText_->SetPlainText(true);
    blobText_->SetBorderStyle(bsNone);
    blobText_->SetAlign(alClient);
    blobText_->SetParentFont(true);
    blobText_->SetParent(pnBlobPickerBG);
  }
  tf->SetActiveControl(blobText_);
  const TfvDropDownTextOptions ex = text->DropDownOptionsEx();
  blobText_->SetWantReturns(!ex.Contains(dtoNoWantReturns));
  blobText_->SetWantTabs(!ex.Contains(dtoNoWantTabs));
  blobText_->SetWordWrap(!ex.Contains(dtoNoWordWrap));
  blobText_->SetScrollBars(text->DropDownScrollBars());
  SetPickerOptions(tf, ex.Contains(dtoNoSizing), ex.Contains(dtoNoAutoPost));
  SizePicker(tf, text->DropDownWidth(), text->DropDownHeight());
  TtlFieldList* fields = tf->Edit()->EditorFieldList();
  TField* main = fields->MainField();
  Integer limit = text->MaxLength();
  if (limit == 0 && main && main->DataType() == ftString) limit = main->Size();
  blobText_->SetMaxLength(limit);
  blobText_->SetReadOnly(!vision->CanModify(fields));
  blobText_->OnChange = {};
  blobText_->Font()->Assign(tf->EditControl()->Font());
  TfvCurrentValue* value = tf->CurrentValue();
  blobText_->SetText(value && !value->IsNull() ? value->AsString() : String());
  blobText_->SetModified(false);
  blobText_->OnChange = TNotifyEvent::Of<&TbvDefPack::BlobTextChange>(this);
}

void TbvDefPack::ShowPicturePicker(TznFieldVision* vision) {
  auto* picture = static_cast<TPictureVision*>(vision);
  TVisionToolForm* tf = vtfBlobPicker;
  if (blobText_) TObject::Free(std::exchange(blobText_, nullptr));
  if (!blobImage_) {
    blobImage_ = Create<TImage>(pnBlobPickerBG);
    blobImage_->SetAlign(alClient);
    blobImage_->SetPopupMenu(PictureContextMenu);
    blobImage_->SetParent(pnBlobPickerBG);
  }
  tf->SetActiveControl(btnBlobPickerCancel);
  const TfvDropDownPictureOptions ex = picture->DropDownOptionsEx();
  TBitmap* bitmap = blobImage_->Picture()->Bitmap();
  TfvCurrentValue* value = tf->CurrentValue();
  if (value)
    LoadGraphic(*value, *bitmap);
  else
    bitmap->SetSize(0, 0);
  blobImage_->Invalidate();
  blobImage_->SetCenter(!ex.Contains(dpoNoCenterPicture));
  SetPickerOptions(tf, ex.Contains(dpoNoSizing), ex.Contains(dpoNoAutoPost));
  if (ex.Contains(dpoNoAutoSize)) {
    SizePicker(tf, picture->DropDownWidth(), picture->DropDownHeight());
    return;
  }
  // The picture decides: never smaller than the button strip.
  const Integer w = std::max(bitmap->Width(), kStripWidth);
  const Integer h = std::max(bitmap->Height(), kStripHeight);
  SizePicker(tf, w, h + pnBlobPickerCtrl->Height());
}

void TbvDefPack::BlobTextChange(TObject*) {
  vtfBlobPicker->SetChanged(true);
  btnBlobPickerOK->SetEnabled(true);
}

void TbvDefPack::MarkPickerChanged() {
  vtfBlobPicker->SetChanged(true);
  btnBlobPickerOK->SetEnabled(true);
  if (btnBlobPickerOK->CanFocus()) btnBlobPickerOK->SetFocus();
}

bool TbvDefPack::PickerCanEdit() const {
  IznVisionEditor* edit = vtfBlobPicker->Edit();
  TznFieldVision* vision = vtfBlobPicker->Vision();
  return edit && vision && vision->CanModify(edit->EditorFieldList());
}

void TbvDefPack::btnBlobPickerOKClick(TObject*) {
  vtfBlobPicker->Close(true, false);
}

void TbvDefPack::vtfBlobPickerShortCut(TObject*, Word& key) {
  const auto ch = char32_t(key);
  if (btnBlobPickerOK->Enabled() && IsAccel(ch, btnBlobPickerOK->Caption())) {
    key = 0;
    btnBlobPickerOK->Click();
  } else if (IsAccel(ch, btnBlobPickerCancel->Caption())) {
    key = 0;
    btnBlobPickerCancel->Click();
  }
}

void TbvDefPack::vtfBlobPickerEditAction(TObject*, TznEditAction action) {
  if (blobImage_ && PictureAction(action)) MarkPickerChanged();
}

bool TbvDefPack::PictureAction(TznEditAction action) {
  IznVisionEditor* edit = vtfBlobPicker->Edit();
  if (!blobImage_ || !edit) return false;
  TtlFieldList* fields = edit->EditorFieldList();
  TBitmap* bitmap = blobImage_->Picture()->Bitmap();
  switch (action) {
    case eaCut:
      if (bitmap->Empty() || !fields->Edit()) return false;
      SetClipboardBitmap(*bitmap);
      bitmap->SetSize(0, 0);
      break;
    case eaCopy:
      if (!bitmap->Empty()) SetClipboardBitmap(*bitmap);
      return false;
    case eaPaste: {
      // Without a bitmap on the clipboard the dataset is not put in edit.
      TBitmap pasted;
      if (!HasClipboardBitmap() || !GetClipboardBitmap(pasted) || !fields->Edit()) return false;
      bitmap->Assign(&pasted);
      break;
    }
    case eaClear:
      if (!fields->Edit()) return false;
      bitmap->SetSize(0, 0);
      break;
    default:
      return false;
  }
  blobImage_->Invalidate();
  return true;
}

void TbvDefPack::vtfBlobPickerPostChanges(TObject*) {
  IznVisionEditor* edit = vtfBlobPicker->Edit();
  TfvCurrentValue* value = vtfBlobPicker->CurrentValue();
  if (!edit || !value || !edit->EditorFieldList()->Edit()) return;
  if (blobText_) {
    value->SetAsString(blobText_->Text());
    value->SetModified(true);
  } else if (blobImage_) {
    StoreGraphic(*value, *blobImage_->Picture()->Bitmap());
    value->SetModified(true);
  }
}

void TbvDefPack::vtfBlobPickerClose(TObject*) {
  if (blobText_) blobText_->OnChange = {};
  auto* blob = dynamic_cast<TDropDownBlobVision*>(vtfBlobPicker->Vision());
  if (!blob) return;
  const auto* text = dynamic_cast<TTextVision*>(blob);
  const auto* picture = dynamic_cast<TPictureVision*>(blob);
  const bool noSizing = (text && text->DropDownOptionsEx().Contains(dtoNoSizing)) ||
                        (picture && picture->DropDownOptionsEx().Contains(dpoNoSizing));
  if (noSizing) return;
  blob->SetDropDownWidth(vtfBlobPicker->Width());
  blob->SetDropDownHeight(vtfBlobPicker->Height());
}

// ---- the picture picker's menu ----

void TbvDefPack::PictureContextMenuPopup(TObject*) {
  auto* picture = dynamic_cast<TPictureVision*>(vtfBlobPicker->Vision());
  const bool hasPicture = blobImage_ && !blobImage_->Picture()->Bitmap()->Empty();
  PrepareBlobMenu(PictureContextMenu, hasPicture, PickerCanEdit(), HasClipboardBitmap(),
                  picture ? picture->DisabledActions() : TfvImgDisabledActions{}, true);
}

void TbvDefPack::miPictureContextClick(TObject* sender) {
  if (!blobImage_) return;
  TBitmap* bitmap = blobImage_->Picture()->Bitmap();
  const Integer tag = As<TComponent>(sender)->Tag();
  switch (tag) {
    case eaLoad: {
      TBitmap loaded;
      if (!OpenPictureFile(loaded, this)) return;
      bitmap->Assign(&loaded);
      blobImage_->Invalidate();
      MarkPickerChanged();
      return;
    }
    case eaSave: {
      String fileName;
      if (!bitmap->Empty() && SavePictureFile(fileName)) bitmap->SaveToFile(fileName);
      return;
    }
    case eaPreview:
      if (!bitmap->Empty()) PreviewGraphic(*bitmap);
      return;
    default:
      if (PictureAction(TznEditAction(tag))) MarkPickerChanged();
      return;
  }
}

// ---- the image vision's default menu ----

void TbvDefPack::BlobContextMenuPopup(TObject*) {
  IznVisionEditor* editor = MenuEditor(BlobContextMenu);
  TtlFieldList* fields = editor ? editor->EditorFieldList() : nullptr;
  auto* image = fields ? dynamic_cast<TImageVision*>(fields->Vision()) : nullptr;
  const bool shown = fields && fields->MainField();
  bool hasPicture = false;
  if (shown) {
    TBitmap bitmap;
    LoadGraphic(*editor->CurrentValue(), bitmap);
    hasPicture = !bitmap.Empty();
  }
  const bool canEdit = fields && fields->Vision() && fields->Vision()->CanModify(fields);
  PrepareBlobMenu(BlobContextMenu, hasPicture, canEdit, HasClipboardBitmap(),
                  image ? image->DisabledActions() : TfvImgDisabledActions{}, shown);
}

void TbvDefPack::miBlobContextClick(TObject* sender) {
  IznVisionEditor* editor = MenuEditor(BlobContextMenu);
  auto* control = dynamic_cast<TWinControl*>(BlobContextMenu->PopupComponent());
  TtlFieldList* fields = editor ? editor->EditorFieldList() : nullptr;
  if (!fields || !fields->Vision() || !control) return;
  const Integer tag = As<TComponent>(sender)->Tag();
  constexpr Cardinal kMessages[] = {WM_CUT, WM_COPY, WM_PASTE, WM_CLEAR};
  if (tag >= eaCut && tag <= eaClear) {
    control->Perform(kMessages[tag - eaCut]);
    return;
  }
  // Loading, saving and previewing act on the focused edit's value.
  if (control->CanFocus()) control->SetFocus();
  fields->Vision()->EditAction(editor, TznEditAction(tag));
  control->Invalidate();
}

}  // namespace brevant
