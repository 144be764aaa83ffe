// The memo and image visions and the picture reading they share with the
// picture vision.
#include "bv_std/blob_visions.h"

#include <functional>
#include <string_view>

#include "bv/field_list.h"
#include "bv/vision_painter.h"
#include "bv_rtm/draw_helpers.h"
#include "bv_std/blob_visions_graphic.h"
#include "bv_std/state_blob_strings.h"
#include "bv_std/state_visions_paint.h"
#include "classes/rtti_builder.h"
#include "controls/application.h"
#include "controls/menus.h"
#include "controls/wincore.h"
#include "db/dataset.h"
#include "db/field.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/pen_brush.h"
#include "rtl/format.h"
#include "rtl/scope.h"
#include "rtl/store_changed.h"
#include "rtl/streams.h"

namespace brevant {

BV_ENUM_INFO(TfvImgDisabledAction, vdaCut, vdaCopy, vdaPaste, vdaClear, vdaLoad, vdaSave,
             vdaPreview)
BV_SET_INFO(TfvImgDisabledActions, TfvImgDisabledAction)

namespace {

TBlobMenuQuery blobMenuQuery = nullptr;

// All bytes of stream from its start.
String StreamBytes(TStream& stream) {
  String bytes(static_cast<size_t>(stream.Size()), '\0');
  stream.SetPosition(0);
  if (!bytes.empty()) stream.ReadBuffer(bytes.data(), Int64(bytes.size()));
  return bytes;
}

String ValueBytes(const TznUniValue& value) {
  TStringStream stream;
  value.SaveToStream(stream);
  return stream.DataString();
}

// Restores the canvas's clipping on every exit.
class TClipSaver {
 public:
  explicit TClipSaver(TCanvas* canvas) : canvas_(canvas), saved_(canvas->SaveDC()) {}
  ~TClipSaver() { canvas_->RestoreDC(saved_); }
  TClipSaver(const TClipSaver&) = delete;
  TClipSaver& operator=(const TClipSaver&) = delete;

 private:
  TCanvas* canvas_;  // the clipped canvas
  Integer saved_;    // its saved state
};

}  // namespace

void SetDefaultBlobMenuQuery(TBlobMenuQuery query) {
  blobMenuQuery = query;
}

TPopupMenu* DefaultBlobMenu() {
  return blobMenuQuery ? blobMenuQuery() : nullptr;
}

bool ImageActionDisabled(TfvImgDisabledActions disabled, TznEditAction action) {
  if (action < eaCut || action > eaPreview) return false;
  return disabled.Contains(static_cast<TfvImgDisabledAction>(action - eaCut));
}

// ---- TMemoVision ----

BV_PUBLISH(TMemoVision, TznFieldVision) {
  p.Property("Alignment", &TMemoVision::Alignment, &TMemoVision::SetAlignment).Default(talDefault);
  p.Property("MaxLength", &TMemoVision::MaxLength, &TMemoVision::SetMaxLength).Default(0);
  p.Property("EditWordWrap", &TMemoVision::EditWordWrap, &TMemoVision::SetEditWordWrap).Default(1);
  p.Property("EditScrollBars", &TMemoVision::EditScrollBars, &TMemoVision::SetEditScrollBars)
      .Default(ssVertical);
  p.Property("EditReadOnly", &TMemoVision::EditReadOnly, &TMemoVision::SetEditReadOnly).Default(0);
  p.Property("WantReturns", &TMemoVision::WantReturns, &TMemoVision::SetWantReturns).Default(1);
  p.Property("WantTabs", &TMemoVision::WantTabs, &TMemoVision::SetWantTabs).Default(1);
  p.Event("OnGetValue", &TMemoVision::OnGetValue, "TfvGetStrValueEvent");
}

TMemoVision::TMemoVision(TComponent* owner) : TznFieldVision(owner) {
  SetMultiLine(true);
  SetWantReturns(true);
  SetWantTabs(true);
  SetEnableButton(false);
  SetEditWordWrap(true);
  SetEditScrollBars(ssVertical);
}

void TMemoVision::GetText(TtlFieldList* fields, bool, String& text) {
  if (TField* f = fields->MainField()) {
    text = f->AsString();
    return;
  }
  text.clear();
  bool isNull = false;
  if (OnGetValue) OnGetValue(this, fields, text, isNull);
  if (isNull) text.clear();
}

void TMemoVision::CheckFields(TtlFieldList* fields, bool& active) {
  active = !fields->FieldNames().empty() || fields->MainField();
}

TznDefLayout TMemoVision::GetLayout(TtlFieldList*) {
  return tlaTop;
}

// ---- picture reading ----

bool TznPictureReader::ReadValue(TComponent* sender, const String& name, const TznUniValue& value,
                                 TBitmap& bitmap) {
  try {
    LoadGraphic(value, bitmap);
    return true;
  } catch (const Exception& e) {
    // Content that is no picture (or a cut-off one) shows as a marked cell.
    bitmap.SetSize(0, 0);
    Report(sender, name, e.Message(), std::hash<String>{}(ValueBytes(value)));
    return false;
  }
}

bool TznPictureReader::Read(TComponent* sender, TtlFieldList* fields, TBitmap& bitmap) {
  TField* field = fields->MainField();
  const String name = field ? field->FieldName() : String();
  if (EditorInEditState(fields))
    return ReadValue(sender, name, *fields->Editor()->CurrentValue(), bitmap);
  bitmap.SetSize(0, 0);
  if (!field || field->IsNull()) return true;
  // Decoded straight from the dataset's blob stream: the bytes are copied
  // once, the pixels allocated once.
  std::unique_ptr<TStream> stream;
  try {
    stream = field->DataSet()->CreateBlobStream(field, bmRead);
    bitmap.LoadFromStream(*stream);
    return true;
  } catch (const Exception& e) {
    bitmap.SetSize(0, 0);
    Report(sender, name, e.Message(), stream ? std::hash<String>{}(StreamBytes(*stream)) : 0);
    return false;
  }
}

void TznPictureReader::Report(TComponent* sender, const String& name, const String& why,
                              std::size_t key) {
  if (!seen_.insert(key).second) return;
  ++reported_;
  Application()->HandleException(sender, EInvalidGraphic(Format(bvres::SNotAPicture, {name, why})));
}

void LoadPictureValue(TznPictureReader& reader, TComponent* sender, IznVisionEditor* editor) {
  TtlFieldList* fields = editor->EditorFieldList();
  TfvCurrentValue* value = editor->CurrentValue();
  value->Clear();
  value->SetDataType(ftBlob);
  if (TField* field = fields->MainField(); field && !field->IsNull()) {
    TznUniValue raw(false, false);
    raw.SetDataType(ftBlob);
    raw.Assign(field);
    TBitmap bitmap;
    if (reader.ReadValue(sender, field->FieldName(), raw, bitmap))
      StoreGraphic(*value, bitmap);
    else
      value->Assign(&raw);
  }
  value->SetModified(false);
  value->SetTextModified(false);
}

void DrawBadPictureMark(TCanvas* canvas, const TRect& rect) {
  if (rect.Width() <= 0 || rect.Height() <= 0) return;
  TPen* pen = canvas->Pen();
  const TColor color = pen->Color();
  TScopeGuard restore([&] { pen->SetColor(color); });
  pen->SetColor(clRed);
  canvas->MoveTo(rect.Left, rect.Top);
  canvas->LineTo(rect.Right, rect.Bottom);
  canvas->MoveTo(rect.Right - 1, rect.Top);
  canvas->LineTo(rect.Left - 1, rect.Bottom);
}

// ---- TImageVision ----

BV_PUBLISH(TImageVision, TznFieldVision) {
  p.Property("Stretch", &TImageVision::Stretch, &TImageVision::SetStretch).Default(0);
  p.Property("Center", &TImageVision::Center, &TImageVision::SetCenter).Default(1);
  p.Property("QuickDraw", &TImageVision::QuickDraw, &TImageVision::SetQuickDraw).Default(1);
  p.Property("PopupMenu", &TImageVision::PopupMenu, &TImageVision::SetPopupMenu);
  p.Property("DisabledActions", &TImageVision::DisabledActions, &TImageVision::SetDisabledActions)
      .Default(TfvImgDisabledActions{});
  p.Event("OnPreview", &TImageVision::OnPreview, "TfvNotifyEvent");
}

TImageVision::TImageVision(TComponent* owner) : TznFieldVision(owner) {
  SetSurfaceKind(vskCustom);
}

TImageVision::~TImageVision() {
  if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
}

void TImageVision::GetText(TtlFieldList*, bool, String& text) {
  text.clear();
}

void TImageVision::CheckFields(TtlFieldList* fields, bool& active) {
  TField* main = fields->MainField();
  active = main && main->IsBlob();
}

void TImageVision::DrawContent(TtlFieldList* fields, TfvPainter* painter) {
  painter->SetDefaultDraw(false);
  TCanvas* canvas = painter->Canvas();
  TRect rect = painter->OuterRect();
  const bool standalone = IsStandaloneEditor(fields);
  if (!standalone) InflateRect(rect, -1, -1);
  TBitmap bitmap;
  if (!reader_.Read(this, fields, bitmap)) {
    DrawBadPictureMark(canvas, rect);
  } else if (stretch_) {
    canvas->StretchDraw(rect, &bitmap);
  } else if (!bitmap.Empty()) {
    TClipSaver clip(canvas);
    canvas->IntersectClipRect(rect);
    Integer x = rect.Left, y = rect.Top;
    if (center_) {
      x += (rect.Width() - bitmap.Width()) / 2;
      y += (rect.Height() - bitmap.Height()) / 2;
    }
    canvas->Draw(x, y, &bitmap);
  }
  if (!standalone || !IsFocusedStandalone(fields)) return;
  TBrush* brush = canvas->Brush();
  const TColor color = brush->Color();
  const TBrushStyle style = brush->Style();
  TScopeGuard restore([&] {
    brush->SetColor(color);
    brush->SetStyle(style);
  });
  brush->SetStyle(bsSolid);
  brush->SetColor(clBtnFace);
  canvas->FrameRect(rect);
  DrawFocusRectBW(canvas, rect);
}

void TImageVision::LoadCurrentValue(IznVisionEditor* editor) {
  LoadPictureValue(reader_, this, editor);
}

void TImageVision::EditAction(IznVisionEditor* editor, TznEditAction action) {
  if (ImageActionDisabled(disabledActions_, action)) return;
  TBitmap bitmap;
  TtlFieldList* fields = editor->EditorFieldList();
  const String name = fields->MainField() ? fields->MainField()->FieldName() : String();
  reader_.ReadValue(this, name, *editor->CurrentValue(), bitmap);
  const std::weak_ptr<const bool> alive = fields->LifeToken();
  RunAction(editor, action, bitmap);
  if (!alive.expired()) editor->RepaintEditor();
}

void TImageVision::RunAction(IznVisionEditor* editor, TznEditAction action, TBitmap& bitmap) {
  switch (action) {
    case eaCut:
      CutPicture(editor, bitmap);
      break;
    case eaCopy:
      CopyPicture(bitmap);
      break;
    case eaPaste:
      PastePicture(editor);
      break;
    case eaClear:
      ClearPicture(editor);
      break;
    case eaLoad:
      LoadPicture(editor);
      break;
    case eaSave:
      SavePicture(bitmap);
      break;
    case eaPreview:
      PreviewPicture(editor, bitmap);
      break;
    default:
      break;
  }
}

void TImageVision::CutPicture(IznVisionEditor* editor, TBitmap& bitmap) {
  if (bitmap.Empty() || !editor->EditorFieldList()->Edit()) return;
  SetClipboardBitmap(bitmap);
  editor->CurrentValue()->Clear();
}

void TImageVision::CopyPicture(TBitmap& bitmap) {
  if (!bitmap.Empty()) SetClipboardBitmap(bitmap);
}

void TImageVision::PastePicture(IznVisionEditor* editor) {
  // Text or nothing on the clipboard: the dataset is not even put in edit.
  if (!HasClipboardBitmap()) return;
  TBitmap pasted;
  if (!GetClipboardBitmap(pasted) || !editor->EditorFieldList()->Edit()) return;
  StoreGraphic(*editor->CurrentValue(), pasted);
}

void TImageVision::ClearPicture(IznVisionEditor* editor) {
  if (editor->EditorFieldList()->Edit()) editor->CurrentValue()->Clear();
}

void TImageVision::LoadPicture(IznVisionEditor* editor) {
  TBitmap loaded;
  if (!OpenPictureFile(loaded, this) || !editor->EditorFieldList()->Edit()) return;
  StoreGraphic(*editor->CurrentValue(), loaded);
}

void TImageVision::SavePicture(TBitmap& bitmap) {
  String fileName;
  if (!bitmap.Empty() && SavePictureFile(fileName)) bitmap.SaveToFile(fileName);
}

void TImageVision::PreviewPicture(IznVisionEditor* editor, TBitmap& bitmap) {
  if (OnPreview)
    OnPreview(this, editor->EditorFieldList());
  else if (!bitmap.Empty())
    PreviewGraphic(bitmap);
}

TznDefLayout TImageVision::GetLayout(TtlFieldList*) {
  return tlaCenter;
}

bool TImageVision::WantArrows() {
  return false;
}

TPopupMenu* TImageVision::GetPopupMenu() {
  return popupMenu_ ? popupMenu_ : DefaultBlobMenu();
}

void TImageVision::SetStretch(bool value) {
  if (StoreChanged(stretch_, value)) NotifyRepaint();
}

void TImageVision::SetCenter(bool value) {
  if (StoreChanged(center_, value)) NotifyRepaint();
}

void TImageVision::SetQuickDraw(bool value) {
  if (StoreChanged(quickDraw_, value)) NotifyRepaint();
}

void TImageVision::SetPopupMenu(TPopupMenu* value) {
  if (popupMenu_ == value) return;
  if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
  popupMenu_ = value;
  if (popupMenu_) popupMenu_->FreeNotification(this);
  NotifyPopupMenu();
}

void TImageVision::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == opRemove && component == popupMenu_) SetPopupMenu(nullptr);
}

}  // namespace brevant
