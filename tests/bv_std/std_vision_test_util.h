// Helpers of the state and blob vision tests: an editor stand-in that also
// answers the paint-state queries, a grid-cell consumer, a painter that
// draws cells onto a bitmap, a dataset with the kinds of fields these
// visions serve, and small picture helpers.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "bv/vision_painter.h"
#include "bv/vision_test_util.h"
#include "bv_std/state_visions_paint.h"
#include "graphics/bitmap.h"
#include "graphics/imagelist.h"

namespace stdtest {

using namespace brevant;
using visiontest::TStubConsumer;
using visiontest::TStubEditor;

// An edit control stand-in whose edit state and surface press the test sets.
class TPaintEditor : public TStubEditor, public IznEditorPaintState {
 public:
  using TStubEditor::TStubEditor;
  bool InEditState() override { return inEditState; }
  bool SurfacePressed() override { return surfacePressed; }
  bool inEditState = false;     // focused and in edit state
  bool surfacePressed = false;  // mouse press on the surface under way
};

// A grid column's side of a field list (kind fokColumn) over a window of
// three rows, with a log of "invalidate" and "posted".
class TCellConsumer : public TComponent, public IznFieldVisionConsumer {
  BV_CLASS(TCellConsumer, TComponent)
 public:
  explicit TCellConsumer(TComponent* owner = nullptr);
  ~TCellConsumer() override;
  TtlFieldList& Fields() { return *fields_; }
  void Attach(TDataSource* source, const String& fieldNames);
  std::vector<String> log;

  TComponent* GetComponent() override { return this; }
  bool CanModify() override { return true; }
  bool CanStartEdit() override { return true; }
  void EditStarted() override {}
  void ValuePosted() override { log.push_back("posted"); }
  bool UpdateTitle() override { return false; }
  void UpdatePopupMenu() override {}
  void VisionChanged(TznFieldVision*) override {}
  void FieldsChanged() override {}
  void UpdateActive() override {}
  void Invalidate() override { log.push_back("invalidate"); }
  void LayoutChanged() override {}
  void ButtonChanged() override {}
  void EditStyleChanged() override {}

 private:
  TDataLink link_;
  std::unique_ptr<TtlFieldList> fields_;
};

// Draws a column's cells (rows of RowHeight x Width, one under the other)
// or an editor's face onto Bitmap; content is the cell less two pixels left
// and right. Images come from the vision's image list; text in black.
class TBitmapPainter : public TtlPainter, public IfvPressedCellState {
  BV_CLASS(TBitmapPainter, TtlPainter)
 public:
  TBitmapPainter(Integer width, Integer rowHeight, Integer rows);
  TBitmap Bitmap;
  Integer Width, RowHeight;
  Integer PressedRow = -1;  // the grid's pressed cell, -1 none

  // Paints rows first..last of fields' column.
  void Paint(TznFieldVision* vision, TtlFieldList& fields, Integer first, Integer last);
  // Paints editor's face into row 0's rectangle.
  void PaintEditor(TznFieldVision* vision, IznVisionEditor* editor);
  // The colour at (x, y) of the bitmap.
  TColor At(Integer x, Integer y) const;
  TRect CellRect(Integer row) const;

  bool Prepare(TtlFieldList* fields) override;
  void DrawText(const String& text, TAlignment alignment, TTextLayout layout) override;
  void DrawImage(Integer index) override;
  void BeginColumn(TtlColumn* column, TCanvas* canvas, Integer dx, Integer dy, Integer firstRow,
                   Integer lastRow) override;
  bool NextRow() override;
  void Advance() override;
  void DrawOwnerCell() override {}
  bool CellPressed() override { return row_ == PressedRow; }

 private:
  void Clear();
  Integer row_ = 0;
  Integer lastRow_ = -1;
  Integer savedRecord_ = -1;
};

// A dataset with ID (integer), Flag (Boolean), Code (integer), Word
// (string 10), State (string 10), Notes (memo), Pic (graphic), Text (blob)
// and n empty records (ID = 1..n, the rest null).
struct TStdData {
  explicit TStdData(Integer n = 3);
  TField* Field(const String& name) const;
  // Writes value into field of record (1-based) and posts.
  void Set(Integer record, const String& field, const Variant& value);
  // Writes raw bytes into a blob field of record and posts.
  void SetBytes(Integer record, const String& field, const String& bytes);
  TObjectPtr<TMemDataSet> ds;
  TObjectPtr<TDataSource> source;
};

// A w x h bitmap filled with color.
std::unique_ptr<TBitmap> Solid(Integer w, Integer h, TColor color);
// Bitmap's BMP bytes.
String BmpBytes(const TBitmap& bitmap);
// An image list of size x size images filled with the colours.
TImageList* MakeImages(Integer size, std::initializer_list<TColor> colors, TComponent* owner);

}  // namespace stdtest
