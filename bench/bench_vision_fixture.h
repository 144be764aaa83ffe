// What the vision benchmarks share: a consumer that only holds its field
// list (bound to a data link of one screen, or unbound like an edit's), and
// a painter that walks a column's rows through the link and only counts the
// text and images it is asked to draw.
#pragma once

#include <cstddef>

#include "bv/field_list.h"
#include "bv/vision_painter.h"
#include "db/datasource.h"

namespace brevant::bench {

class TBenchConsumer : public IznFieldVisionConsumer {
 public:
  // kind fokColumn binds the list to link; fokEdit leaves it unbound.
  explicit TBenchConsumer(Byte kind = fokColumn)
      : fields(this, nullptr, kind, kind == fokEdit ? nullptr : &link) {}
  TComponent* GetComponent() override { return nullptr; }
  bool CanModify() override { return true; }
  bool CanStartEdit() override { return true; }
  void EditStarted() override {}
  void ValuePosted() override {}
  bool UpdateTitle() override { return false; }
  void UpdatePopupMenu() override {}
  void VisionChanged(TznFieldVision*) override {}
  void FieldsChanged() override {}
  void UpdateActive() override {}
  void Invalidate() override {}
  void LayoutChanged() override {}
  void ButtonChanged() override {}
  void EditStyleChanged() override {}
  TDataLink link;       // the window of one screen's rows
  TtlFieldList fields;  // the bound column
};

class TCountingPainter : public TtlPainter {
  BV_CLASS(TCountingPainter, TtlPainter)
 public:
  bool Prepare(TtlFieldList* fields) override;
  void DrawText(const String& text, TAlignment, TTextLayout) override { chars += text.size(); }
  void DrawImage(Integer index) override { images += index >= 0; }
  void BeginColumn(TtlColumn*, TCanvas* canvas, Integer, Integer, Integer first,
                   Integer last) override;
  bool NextRow() override;
  void Advance() override { ++row_; }
  void DrawOwnerCell() override {}
  size_t chars = 0;   // characters drawn
  size_t images = 0;  // images drawn

 private:
  Integer row_ = 0;    // the row drawn next
  Integer last_ = -1;  // the last row to draw
};

}  // namespace brevant::bench
