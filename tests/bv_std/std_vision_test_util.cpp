#include "std_vision_test_util.h"

#include "bv/field_list.h"
#include "bv_rtm/draw_helpers.h"
#include "db/dataset.h"
#include "db/field.h"
#include "db/field_defs.h"
#include "db/field_types.h"
#include "graphics/canvas.h"
#include "graphics/pen_brush.h"
#include "rtl/streams.h"

namespace stdtest {

BV_IMPLEMENT_CLASS(TCellConsumer, TComponent)
BV_IMPLEMENT_ABSTRACT_CLASS(TBitmapPainter, TtlPainter)

TCellConsumer::TCellConsumer(TComponent* owner)
    : TComponent(owner), fields_(std::make_unique<TtlFieldList>(this, this, fokColumn, &link_)) {}

TCellConsumer::~TCellConsumer() {
  fields_.reset();
}

void TCellConsumer::Attach(TDataSource* source, const String& fieldNames) {
  link_.SetDataSource(source);
  link_.SetBufferCount(3);  // a window of three rows, as a small grid shows
  fields_->SetFieldNames(fieldNames);
  fields_->Bind(link_.DataSet());
  fields_->CheckActive();
}

TBitmapPainter::TBitmapPainter(Integer width, Integer rowHeight, Integer rows)
    : Width(width), RowHeight(rowHeight) {
  Bitmap.SetSize(width, rowHeight * rows);
  Clear();
}

void TBitmapPainter::Clear() {
  TCanvas* c = Bitmap.Canvas();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(clWhite);
  c->FillRect(TRect(0, 0, Bitmap.Width(), Bitmap.Height()));
  c->Font()->SetColor(clBlack);
}

TRect TBitmapPainter::CellRect(Integer row) const {
  return TRect(0, row * RowHeight, Width, (row + 1) * RowHeight);
}

TColor TBitmapPainter::At(Integer x, Integer y) const {
  const std::uint32_t px = Bitmap.ScanLine(y)[x];
  return static_cast<TColor>(((px & 0xFF) << 16) | (px & 0xFF00) | ((px >> 16) & 0xFF));
}

void TBitmapPainter::Paint(TznFieldVision* vision, TtlFieldList& fields, Integer first,
                           Integer last) {
  vision->DrawCells(this, &fields, Bitmap.Canvas(), 0, 0, first, last);
}

void TBitmapPainter::PaintEditor(TznFieldVision* vision, IznVisionEditor* editor) {
  ResetCell();
  Bitmap.Canvas()->SetBkColor(clWhite);
  Bitmap.Canvas()->SetTextColor(clBlack);
  vision->DrawEditor(this, editor, Bitmap.Canvas(), CellRect(0));
}

bool TBitmapPainter::Prepare(TtlFieldList* fields) {
  SetFieldList(fields);
  TDataLink* link = fields->DataLink();
  savedRecord_ = link && link->Active() ? link->ActiveRecord() : -1;
  return false;
}

void TBitmapPainter::DrawText(const String& text, TAlignment alignment, TTextLayout layout) {
  const Integer h = alignment == taRightJustify ? 1 : alignment == taCenter ? 2 : 0;
  const Integer v = layout == tlCenter ? 1 : layout == tlBottom ? 2 : 0;
  DrawTextAligned(Canvas(), ContentRect(), text, h, v, 0, 0, false, false, false);
}

void TBitmapPainter::DrawImage(Integer index) {
  TImageList* images = FieldList()->Vision()->Images();
  if (index < 0 || !images) return;
  images->Draw(Canvas(), ContentRect().Left, ContentRect().Top, index);
}

void TBitmapPainter::BeginColumn(TtlColumn*, TCanvas* canvas, Integer, Integer, Integer firstRow,
                                 Integer lastRow) {
  SetTarget(canvas, TRect{}, TRect{});
  row_ = firstRow;
  lastRow_ = lastRow;
}

bool TBitmapPainter::NextRow() {
  TDataLink* link = FieldList()->DataLink();
  const bool active = link && link->Active();
  if (row_ > lastRow_) {
    if (active && savedRecord_ >= 0) link->SetActiveRecord(savedRecord_);
    return false;
  }
  ResetCell();
  if (active) link->SetActiveRecord(row_);
  const TRect cell = CellRect(row_);
  SetTarget(Bitmap.Canvas(), cell, TRect(cell.Left + 2, cell.Top, cell.Right - 2, cell.Bottom));
  Canvas()->Font()->SetStyle(TFontStyles{});
  Canvas()->SetBkColor(clWhite);
  Canvas()->SetTextColor(clBlack);
  return true;
}

void TBitmapPainter::Advance() {
  ++row_;
}

TStdData::TStdData(Integer n)
    : ds(Create<TMemDataSet>(nullptr)), source(Create<TDataSource>(nullptr)) {
  ds->FieldDefs()->Add("ID", ftInteger);
  ds->FieldDefs()->Add("Flag", ftBoolean);
  ds->FieldDefs()->Add("Code", ftInteger);
  ds->FieldDefs()->Add("Word", ftString, 10);
  ds->FieldDefs()->Add("State", ftString, 10);
  ds->FieldDefs()->Add("Notes", ftMemo);
  ds->FieldDefs()->Add("Pic", ftGraphic);
  ds->FieldDefs()->Add("Text", ftBlob);
  for (Integer i = 1; i <= n; ++i)
    ds->AppendRow({i, Null(), Null(), Null(), Null(), Null(), Null(), Null()});
  ds->Open();
  source->SetDataSet(ds.get());
}

TField* TStdData::Field(const String& name) const {
  return ds->FieldByName(name);
}

void TStdData::Set(Integer record, const String& field, const Variant& value) {
  ds->SetRecNo(record);
  ds->Edit();
  Field(field)->SetAsVariant(value);
  ds->Post();
}

void TStdData::SetBytes(Integer record, const String& field, const String& bytes) {
  ds->SetRecNo(record);
  ds->Edit();
  TStringStream stream(bytes);
  static_cast<TBlobField*>(Field(field))->LoadFromStream(stream);
  ds->Post();
}

std::unique_ptr<TBitmap> Solid(Integer w, Integer h, TColor color) {
  auto b = std::make_unique<TBitmap>();
  b->SetSize(w, h);
  b->Canvas()->Brush()->SetColor(color);
  b->Canvas()->FillRect(TRect(0, 0, w, h));
  return b;
}

String BmpBytes(const TBitmap& bitmap) {
  TMemoryStream stream;
  bitmap.SaveToStream(stream);
  String bytes(size_t(stream.Size()), '\0');
  stream.SetPosition(0);
  stream.ReadBuffer(bytes.data(), stream.Size());
  return bytes;
}

TImageList* MakeImages(Integer size, std::initializer_list<TColor> colors, TComponent* owner) {
  auto* list = Create<TImageList>(owner);
  list->SetSize(size, size);
  for (TColor c : colors) {
    auto b = Solid(size, size, c);
    list->Add(b.get(), nullptr);
  }
  return list;
}

}  // namespace stdtest
