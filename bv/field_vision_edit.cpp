// The editing and drawing side of TznFieldVision: the editor operations,
// posting, button actions, switches, and painting of grid cells and edit
// control faces through the painter.
#include <cassert>

#include "bv/field_list.h"
#include "bv/field_vision.h"
#include "bv/vision_painter.h"
#include "bv_rtm/bv_errors.h"
#include "bv_rtm/bv_strings.h"
#include "db/dataset.h"
#include "db/datasource.h"
#include "db/field.h"
#include "graphics/canvas.h"
#include "graphics/pen_brush.h"
#include "rtl/scope.h"
#include "rtl/strutils.h"

namespace brevant {

namespace {

TtlFieldList* ListOf(IznVisionEditor* editor) {
  TtlFieldList* fields = editor->EditorFieldList();
  assert(fields && "an edit control always owns its field list");
  return fields;
}

// Every character of text replaced by mask.
String MaskedText(const String& text, char32_t mask) {
  String result;
  for (Integer i = Utf8Length(text); i > 0; --i) Utf8Append(result, mask);
  return result;
}

}  // namespace

// ---- drawing operations ----

void TznFieldVision::PrepareDraw(TtlFieldList* fields, TfvPainter* painter) {
  painter->SetText(GetFieldText(fields, true));
}

void TznFieldVision::DrawCell(TtlFieldList* fields, TfvPainter* painter) {
  DrawContent(fields, painter);
}

void TznFieldVision::DrawContent(TtlFieldList*, TfvPainter*) {}
void TznFieldVision::DrawInactive(TtlFieldList*, TfvPainter*) {}

void TznFieldVision::DrawDefault(TtlFieldList* fields, TfvPainter* painter) {
  if (imageWidth_ != 0) {
    painter->DrawImage(painter->ImageIndex());
    painter->DrawImage(painter->ImageIndex2());
  }
  if (drawText_) painter->DrawText(painter->Text(), fields->Alignment(), fields->Layout());
}

void TznFieldVision::DrawCells(TtlPainter* painter, TtlFieldList* fields, TCanvas* canvas,
                               Integer dx, Integer dy, Integer firstRow, Integer lastRow) {
  if (!fields->Active()) return;
  canvas->Brush()->SetStyle(bsClear);
  painter->BeginColumn(fields->Column(), canvas, dx, dy, firstRow, lastRow);
  painter->Prepare(fields);
  while (painter->NextRow()) {
    PrepareDraw(fields, painter);
    if (painter->DefaultDraw()) painter->DrawOwnerCell();
    if (painter->DefaultDraw() && OnDraw) OnDraw(this, fields, painter);
    if (painter->DefaultDraw()) DrawCell(fields, painter);
    if (painter->DefaultDraw()) DrawDefault(fields, painter);
    painter->Advance();
  }
}

void TznFieldVision::DrawEditor(TfvPainter* painter, IznVisionEditor* editor, TCanvas* canvas,
                                const TRect& rect) {
  TtlFieldList* fields = ListOf(editor);
  canvas->Brush()->SetStyle(bsClear);
  painter->SetTarget(canvas, rect, editor->FaceContentRect(rect));
  painter->Prepare(fields);
  if (!fields->Active()) {
    DrawInactive(fields, painter);
    return;
  }
  PrepareDraw(fields, painter);
  if (editor->EditCharCase() == ecUpperCase) painter->SetText(AnsiUpperCase(painter->Text()));
  if (editor->EditCharCase() == ecLowerCase) painter->SetText(AnsiLowerCase(painter->Text()));
  if (char32_t mask = editor->EditPasswordChar())
    painter->SetText(MaskedText(painter->Text(), mask));
  if (OnGetEditFont) OnGetEditFont(this, fields, canvas->Font());
  editor->DrawFace(painter);
  if (painter->DefaultDraw() && OnDrawEdit) OnDrawEdit(this, fields, painter);
  if (painter->DefaultDraw()) DrawContent(fields, painter);
  if (painter->DefaultDraw()) DrawDefault(fields, painter);
}

// ---- editor operations ----

void TznFieldVision::PostValue(TtlFieldList* fields, const TznUniValue& value) {
  if (TField* f = fields->MainField()) value.AssignTo(f);
}

void TznFieldVision::ReadEditValue(IznVisionEditor* editor, TznUniValue& value, bool&) {
  value.SetAsString(editor->EditorText());
}

void TznFieldVision::InitEdit(IznVisionEditor* editor) {
  if (OnInitEdit) OnInitEdit(this, ListOf(editor));
}

void TznFieldVision::AfterInitEdit(IznVisionEditor*) {}

void TznFieldVision::LoadCurrentValue(IznVisionEditor* editor) {
  TfvCurrentValue* value = editor->CurrentValue();
  value->Clear();
  value->SetDataType(ftString);
  value->SetAsString(GetFieldText(ListOf(editor), false));
  value->SetModified(false);
  value->SetTextModified(false);
}

// The base has nothing to switch: a switch through it is not a post.
void TznFieldVision::SwitchByKey(IznVisionEditor*, bool& posted) {
  posted = false;
}
void TznFieldVision::SwitchByMouse(IznVisionEditor*, bool& posted) {
  posted = false;
}

void TznFieldVision::CanSwitchByKey(IznVisionEditor*, Word, bool&, TShiftState) {}
void TznFieldVision::CanSwitchAt(IznVisionEditor*, Integer, Integer, bool&, TShiftState) {}

void TznFieldVision::ButtonClick(IznVisionEditor* editor) {
  if (OnButtonClick) OnButtonClick(this, ListOf(editor));
}

void TznFieldVision::DblClick(IznVisionEditor* editor) {
  if (OnDblClick) OnDblClick(this, ListOf(editor));
}

bool TznFieldVision::AutoComplete(IznVisionEditor*, String&, Integer&, Integer&, const String&) {
  return true;
}

void TznFieldVision::KeyDown(IznVisionEditor*, Word&, TShiftState) {}
void TznFieldVision::KeyPress(IznVisionEditor*, char32_t&) {}
void TznFieldVision::EditAction(IznVisionEditor*, TznEditAction) {}
void TznFieldVision::ShowDropDown(IznVisionEditor*, TVisionToolForm*) {}

TDataSource* TznFieldVision::EditDataSource(IznVisionEditor* editor) {
  return ListOf(editor)->EditDataSource();
}

TObjDataSet* TznFieldVision::EditObjDataSet(IznVisionEditor* editor) {
  return ListOf(editor)->EditObjDataSet();
}

// ---- button actions ----

void TznFieldVision::ButtonAction(IznVisionEditor* editor, Integer kind) {
  TTemporaryChange<Integer> dispatching(buttonKind_, kind);
  if (buttonStyle_ == pbsDropDown && enableDropDown_) buttonKind_ = bkDropDown;
  const std::weak_ptr<const bool> alive = ListOf(editor)->LifeToken();
  ButtonClick(editor);
  if (buttonKind_ != bkDropDown || alive.expired()) return;
  if (editor->DroppedDown())
    editor->CloseDropDown(kind == bkKeyboard);
  else
    editor->OpenDropDown();
}

// ---- posting ----

void TznFieldVision::PrepareWrite(TtlFieldList* fields) {
  TField* main = fields->MainField();
  TDataSet* ds = main ? main->DataSet() : fields->DataSet();
  // A refused Edit leaves the dataset browsing: the write then raises the
  // dataset's own error, which reaches the caller.
  if (ds && ds->State() == dsBrowse && fields->DataLink()) fields->DataLink()->Edit();
}

bool TznFieldVision::WriteEditValue(IznVisionEditor* editor, TtlFieldList* fields, bool& result) {
  const std::weak_ptr<const bool> alive = fields->LifeToken();
  TfvCurrentValue* current = editor->CurrentValue();
  TtlFieldValue value(false, false);
  value.SetDataType(current->DataType());
  bool skip = false;
  if (surfaceKind_ == vskCustom || current->Modified())
    value.Assign(current);
  else if (current->TextModified())
    ReadEditValue(editor, value, skip);
  else
    skip = true;
  if (skip) {
    result = false;
    return false;
  }
  bool handled = false;
  if (BeforePost) BeforePost(this, fields, &value, handled);
  if (alive.expired()) {
    result = false;  // the handler freed the editor: nothing is written for it
    return false;
  }
  if (!handled) {
    PrepareWrite(fields);
    PostValue(fields, value);
  }
  if (AfterPost) AfterPost(this, fields);
  if (!alive.expired()) fields->SetEditing(false);
  return true;
}

bool TznFieldVision::PostEdit(IznVisionEditor* editor, bool selectAll) {
  TtlFieldList* fields = ListOf(editor);
  // Handlers may free the editor (and with it the list): see LifeToken.
  const std::weak_ptr<const bool> alive = fields->LifeToken();
  TFieldListUpdate update(*fields);
  auto selectText = [&] {
    if (selectAll && !alive.expired()) editor->SelectAllText();
  };
  TScopeGuard select(selectText);  // also when the post fails
  editor->DiscardPendingKeys();
  editor->ReleaseSwitches();
  if (editor->DroppedDown()) editor->CloseDropDown(false);
  if (surfaceKind_ == vskEdit && fields->Editing() && editor->HasEditMask() &&
      !editor->EditTextValid())
    throw EBVError(bvres::SInvalidInputText);
  bool result =
      fields->Editing() || (editor->CurrentValue()->Modified() && fields->StartEdit(true));
  if (alive.expired()) return false;
  const bool posted = result && WriteEditValue(editor, fields, result);
  if (alive.expired()) return result;
  select.Dismiss();
  selectText();
  update.Finish(posted);
  return result;
}

bool TznFieldVision::PostOrMove(IznVisionEditor* editor, bool selectAll) {
  if (editor->InGrid()) return editor->PostThroughGrid(selectAll);
  return PostEdit(editor, selectAll);
}

// ---- switches ----

bool TznFieldVision::CanStartSwitch(IznVisionEditor* editor) {
  TtlFieldList* fields = ListOf(editor);
  if (!fields->Active() || !enableSwitches_ || !fields->CanEdit()) return false;
  if (!optionsSwitch_.Contains(vsoNeedEditing)) return true;
  return fields->DataLink() && fields->DataLink()->Editing();
}

bool TznFieldVision::PerformSwitch(IznVisionEditor* editor, bool byKey) {
  TtlFieldList* fields = ListOf(editor);
  const std::weak_ptr<const bool> alive = fields->LifeToken();
  if (!fields->StartEdit(false) || alive.expired()) return false;
  TFieldListUpdate update(*fields);
  bool posted = true;
  if (byKey)
    SwitchByKey(editor, posted);
  else
    SwitchByMouse(editor, posted);
  if (alive.expired()) return posted;
  editor->RepaintEditor();
  update.Finish(posted);
  return posted;
}

}  // namespace brevant
