// Helpers of the column drag and sizing tests: a grid with a multi-line
// column layout on the off-screen backend, an environment whose drop
// arrows are plain coloured squares, real mouse drags through the
// platform's drag manager, and snapshots of the form's screen pixels.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "bv/dragger.h"
#include "graphics/imagelist.h"
#include "grid_test_util.h"
#include "null_environment.h"

namespace brevant::test {

// The colour of image `index` of the drop arrows (second set or not).
TColor ArrowColor(bool secondSet, Integer index);

// An environment with only drop arrows: four 15 x 15 squares per set.
class TArrowsEnvironment : public TNullEnvironment {
 public:
  TArrowsEnvironment();
  ~TArrowsEnvironment();
  TImageList* DragArrows(bool secondSet) override {
    return secondSet ? second_.get() : first_.get();
  }

 private:
  TObjectPtr<TImageList> first_;   // the yellow set
  TObjectPtr<TImageList> second_;  // the group set
};

// A column of a layout to build: caption, stored place, width, fixed.
struct DragColumn {
  const char* name;
  Integer level;
  Integer index;
  Integer width;
  bool fixed = false;
};

class DragGridTest : public GridTest {
 protected:
  void SetUp() override;
  void TearDown() override;

 public:
  // Replaces the grid's columns, in order.
  void Make(std::initializer_list<DragColumn> columns);
  // The standard layout "AB/C|D|EF": a group of two lines, a single
  // column and a group of one line with two columns.
  void MakeStandard();
  TtlColumn* Col(const char* name);
  // The layout as "AB/C|D|EF": groups split by '|', lines by '/'.
  String Shape();

  // Points of the grid's client area.
  TPoint TitleCentre(const char* name);
  TPoint ToScreen(TPoint client) const { return grid->ClientToScreen(client); }
  // A real mouse drag of a title: press on it, start the column drag as
  // the mouse handlers do, move through `via` to `to` and release there.
  void DragTitle(const char* name, TPoint to, Byte modifiers = 0);
  // The same without the release: the drag stays over `to`.
  void BeginTitleDrag(const char* name);
  void MoveTo(TPoint client, Byte modifiers = 0);
  void Release(TPoint client, Byte modifiers = 0);

  // The pixels of the form's surface, and one pixel at a screen point.
  std::vector<std::uint32_t> Snapshot() const;
  TColor ScreenPixel(TPoint screen) const;

  TtlColumns* cols = nullptr;
  std::unique_ptr<TArrowsEnvironment> env;
};

}  // namespace brevant::test
