// TfvPainter: cell layout for a field list (grid and editors' modes), text,
// image and focus-frame drawing; the process-wide editors' painter.
#include "bv/vision_painter.h"

#include "bv/cell_attrs.h"
#include "bv/column.h"
#include "bv/designer.h"
#include "bv/field_list.h"
#include "bv/field_vision.h"
#include "bv/tabulon.h"
#include "bv_rtm/child_font.h"
#include "bv_rtm/draw_helpers.h"
#include "graphics/canvas.h"
#include "graphics/font.h"
#include "graphics/imagelist.h"

namespace brevant {

BV_IMPLEMENT_ABSTRACT_CLASS(TfvPainter, TObject)
BV_IMPLEMENT_ABSTRACT_CLASS(TtlPainter, TfvPainter)
TfvPainter::TfvPainter(bool gridMode) : font_(std::make_unique<TFont>()), gridMode_(gridMode) {}

TfvPainter::~TfvPainter() = default;

void TfvPainter::OffsetRects(Integer dy) {
  for (TRect* r : {&outerRect_, &contentRect_, &imageRect_, &textRect_}) {
    r->Top += dy;
    r->Bottom += dy;
  }
}

// ---- preparation ----

bool TfvPainter::Prepare(TtlFieldList* fields) {
  fieldList_ = fields;
  TznFieldVision* vision = fields->Vision();
  images_ = vision ? vision->Images() : nullptr;
  textRect_ = imageRect_ = contentRect_;
  LayoutImage(fields);
  if (gridMode_)
    PrepareForGrid(fields);
  else if (IznVisionEditor* editor = fields->Editor())
    PrepareForEditor(fields, editor);
  if (vision && vision->MultiLine()) wordWrap_ = true;
  return wordWrap_;
}

void TfvPainter::LayoutImage(TtlFieldList* fields) {
  TznFieldVision* vision = fields->Vision();
  if (!vision || vision->ImageWidth() == 0) return;
  const Integer w = vision->ImageWidth();
  const Integer h = vision->ImageHeight();
  const TRect& c = contentRect_;
  if (fields->Layout() == tlCenter)
    imageRect_.Top = c.Top + (c.Height() - h) / 2;
  else if (fields->Layout() == tlBottom)
    imageRect_.Top = c.Bottom - h;
  imageRect_.Bottom = imageRect_.Top + h;
  if (!vision->DrawText()) {
    imageRect_.Left = c.Left + (c.Width() - w) / 2;
    imageRect_.Right = imageRect_.Left + w;
  } else if (vision->AlignImage() == aiRight) {
    imageRect_.Left = c.Right - w;
    textRect_.Right = imageRect_.Left - 2;
  } else {
    imageRect_.Right = c.Left + w;
    textRect_.Left = imageRect_.Right + 2;
  }
}

void TfvPainter::PrepareForGrid(TtlFieldList* fields) {
  TtlColumn* column = fields->Column();
  TDBTabulon* grid = column ? column->Grid() : nullptr;
  if (grid) font_->Assign(grid->Font());
  if (TtlDesigner* designer = grid ? grid->EffectiveDesigner() : nullptr)
    if (const TChildFont* cellFont = designer->CellFontIfAny()) cellFont->ApplyTo(*font_);
  if (column && column->FontIfAny()) column->FontIfAny()->ApplyTo(*font_);
  endEllipsis_ = !(grid && grid->OptionsVisual().Contains(gvoNoEndEllipsis));
  wordWrap_ = column && column->OptionsVisual().Contains(cvoWordWrap);
  noFocusFrame_ = false;
  editFrame_ = false;
}

void TfvPainter::PrepareForEditor(TtlFieldList*, IznVisionEditor* editor) {
  const TfvEditorFace face = editor->EditorFace();
  if (face.Font) font_->Assign(face.Font);
  TtlCellAttrs* attrs = EditorsCellAttrs();
  attrs->Reset();
  attrs->Color = face.Color;
  attrs->Focused = face.Focused && !editor->DroppedDown();
  attrs->Switched = face.Switched;
  cellAttrs_ = attrs;
  if (!face.Enabled) font_->SetColor(clGrayText);
  if (canvas_) canvas_->Font()->Assign(font_.get());
  ResetCell();
  endEllipsis_ = false;
  wordWrap_ = face.WordWrap;
  editFrame_ = face.HasFrame;
  if (!editor->InGrid()) {
    textRect_.Top += 1;
    if (face.HasFrame) {
      textRect_.Left += 1;
      textRect_.Right -= 1;
    }
  }
}

bool TtlPainter::Prepare(TtlFieldList* fields) {
  const bool wrap = TfvPainter::Prepare(fields);
  column_ = fields->Column();
  return wrap;
}

// ---- drawing ----

void TfvPainter::DrawText(const String& text, TAlignment alignment, TTextLayout layout) {
  if (!canvas_) return;
  DrawTextAligned(canvas_, textRect_, text, static_cast<Integer>(alignment),
                  static_cast<Integer>(layout), 0, 0, wordWrap_, endEllipsis_, editFrame_);
}

void TfvPainter::DrawText(const String& text, TAlignment alignment) {
  DrawText(text, alignment, fieldList_ ? fieldList_->Layout() : tlTop);
}

void TfvPainter::DrawImage(Integer index) {
  DrawImage(index, nullptr);
}

void TfvPainter::DrawImage(Integer index, TImageList* images) {
  if (index == -1 || !canvas_) return;
  if (!images) images = images_;
  if (images) images->Draw(canvas_, imageRect_.Left, imageRect_.Top, index);
}

void TfvPainter::DrawFocusFrame(const TRect& rect) {
  if (!noFocusFrame_ && canvas_) DrawFocusRectBW(canvas_, rect);
}

// ---- the editors' painter ----

namespace {

// Made on first use; freed at exit.
struct TEditorsPaint {
  TObjectPtr<TfvPainter> Painter{Create<TfvPainter>(false)};
  TObjectPtr<TtlCellAttrs> Attrs{Create<TtlCellAttrs>()};
};

TEditorsPaint& EditorsPaint() {
  static TEditorsPaint paint;
  return paint;
}

}  // namespace

TfvPainter* EditorsPainter() {
  return EditorsPaint().Painter.get();
}

TtlCellAttrs* EditorsCellAttrs() {
  return EditorsPaint().Attrs.get();
}

}  // namespace brevant
