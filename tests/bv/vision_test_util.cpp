#include "vision_test_util.h"

#include "classes/rtti_builder.h"
#include "db/dataset.h"
#include "db/field.h"
#include "db/field_defs.h"
#include "rtl/numconv.h"

namespace visiontest {

namespace {

String JoinLog(std::vector<String>& log) {
  String s;
  for (const String& e : log) s += (s.empty() ? "" : ", ") + e;
  log.clear();
  return s;
}

}  // namespace

BV_IMPLEMENT_CLASS(TStubConsumer, TComponent)
BV_IMPLEMENT_CLASS(TStubPainter, TtlPainter)

TStubConsumer::TStubConsumer(TComponent* owner)
    : TComponent(owner), fields_(std::make_unique<TtlFieldList>(this, this, fokEdit, &link_)) {}

TStubConsumer::~TStubConsumer() {
  fields_.reset();
}

void TStubConsumer::Attach(TDataSource* source, const String& fieldNames) {
  link_.SetDataSource(source);
  fields_->SetFieldNames(fieldNames);
  Rebind();
}

void TStubConsumer::Rebind() {
  fields_->Bind(link_.DataSet());
  fields_->CheckActive();
}

String TStubConsumer::Take() {
  return JoinLog(log);
}

bool TStubConsumer::CanStartEdit() {
  return fields_->Vision()->AllowEdit(fields_.get());
}

void TStubConsumer::ValuePosted() {
  log.push_back("posted");
  if (onPosted) onPosted();
}

bool TStubConsumer::UpdateTitle() {
  log.push_back("title");
  return titleChanges;
}

void TStubConsumer::VisionChanged(TznFieldVision* vision) {
  log.push_back("vision " + (vision ? vision->Name() : String("nil")));
}

void TStubConsumer::LayoutChanged() {
  log.push_back("layout");
  if (onLayout) onLayout();
}

void TStubConsumer::FieldsChanged() {
  log.push_back("fields");
  Rebind();
}

void TStubConsumer::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && fields_ && !ignoreVisionFree && component == fields_->Vision())
    fields_->SetVision(nullptr);
}

void TStubEditor::Type(const String& typed) {
  const String previous = text;
  text = typed;
  current_.TextChanged(previous);
}

String TStubEditor::Take() {
  return JoinLog(log);
}

void TStubEditor::OpenDropDown() {
  log.push_back("open");
  droppedDown = true;
}

void TStubEditor::CloseDropDown(bool accept) {
  log.push_back(accept ? "close accept" : "close discard");
  droppedDown = false;
}

bool TStubEditor::PostThroughGrid(bool) {
  log.push_back("grid post");
  return true;
}

TRect TStubEditor::FaceContentRect(const TRect& rect) {
  return TRect{rect.Left + 1, rect.Top, rect.Right - 1, rect.Bottom - 1};
}

String TStubPainter::Take() {
  return JoinLog(log);
}

bool TStubPainter::Prepare(TtlFieldList* fields) {
  SetFieldList(fields);
  TDataLink* link = fields->DataLink();
  savedRecord_ = link && link->Active() ? link->ActiveRecord() : -1;
  log.push_back("prepare");
  return false;
}

void TStubPainter::DrawText(const String& text, TAlignment alignment, TTextLayout layout) {
  static const char* const kAlign[] = {"L", "R", "C"};
  static const char* const kLayout[] = {"T", "M", "B"};
  log.push_back(String("text ") + kAlign[alignment] + kLayout[layout] + " " + text);
}

void TStubPainter::DrawImage(Integer index) {
  if (index >= 0) log.push_back("image " + IntToStr(index));
}

void TStubPainter::BeginColumn(TtlColumn*, TCanvas* canvas, Integer, Integer, Integer firstRow,
                               Integer lastRow) {
  SetTarget(canvas, TRect{}, TRect{});
  row_ = firstRow;
  lastRow_ = lastRow;
}

bool TStubPainter::NextRow() {
  TDataLink* link = FieldList()->DataLink();
  const bool active = link && link->Active();
  if (row_ > lastRow_) {
    if (active && savedRecord_ >= 0) link->SetActiveRecord(savedRecord_);
    return false;
  }
  ResetCell();
  if (active) link->SetActiveRecord(row_);
  log.push_back("row " + IntToStr(row_));
  return true;
}

void TStubPainter::Advance() {
  ++row_;
}

void TStubPainter::DrawOwnerCell() {
  if (onOwnerDraw) onOwnerDraw(*this);
}

TMemDataSet* MakeAccounts(Integer n, TComponent* owner) {
  auto* ds = Create<TMemDataSet>(owner);
  ds->FieldDefs()->Add("ID", ftInteger);
  ds->FieldDefs()->Add("Name", ftString, 10);
  ds->FieldDefs()->Add("Amount", ftFloat);
  ds->FieldDefs()->Add("Debit", ftCurrency);
  ds->FieldDefs()->Add("Credit", ftFloat);
  for (Integer i = 1; i <= n; ++i) ds->AppendRow({i, "R" + IntToStr(i), i * 1.5, i, 0.0});
  return ds;
}

TAccounts::TAccounts(Integer n)
    : ds(MakeAccounts(n, nullptr)), source(Create<TDataSource>(nullptr)) {
  ds->Open();
  source->SetDataSet(ds.get());
}

TField* TAccounts::Field(const String& name) const {
  return ds->FieldByName(name);
}

}  // namespace visiontest
