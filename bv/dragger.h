// TtlDragger: the drag state of one grid, owned by it. It holds the flags
// of the drags that run (a column drag, a record drag that started here,
// an ordinary drag from elsewhere that is tracked), the record under the
// pointer while rows are tracked, the drop target of a column drag and the
// on-screen drop markers that show it.
//
// What the grid's mouse handlers call:
//   - sizing: SizingEdgeAt(x, y) on moves in mouse modes 0 and 1 (true:
//     mode 1), StartSizing(x) on a left press in mode 1 (mode 2),
//     TrackSizing(x) on moves and EndSizing(x) on the release in mode 2;
//   - a column drag: StartColumnDrag(column) when the pointer leaves the
//     pressed title's rectangle with a column that may be dragged. At run
//     time the platform's drag manager takes over; at design time
//     (DesignerDrag() is set) the handlers pass moves to DesignDragOver(x, y)
//     and the release to DesignDragDrop(x, y);
//   - a record drag: SetRecordDragArmed(true) on a left press on a cell with
//     DragMode dmAutomatic; leaving the press rectangle while RecordDragArmed
//     calls StartRecordDrag(); a release without a drag disarms it.
// The grid's DoStartDrag sets DragStarted (and DesignerDrag at design
// time); DoEndDrag clears every flag (ClearFlags).
//
// Also here: the process-wide distances the sizing and drop probes use,
// proportional to the screen height, and the layout probe that tells which
// column a client point falls on.
#pragma once

#include <memory>

#include "bv/bv_fwd.h"
#include "bv/drop_markers.h"
#include "controls/controls_fwd.h"
#include "rtl/types.h"

namespace brevant {

// ---- distances ----
// Computed once from the screen height H (at the grid unit's start, or on
// first use) and rounded to the nearest integer: H x 8 / 640 for sizing and
// for column drops, H x 4 / 640 for row drops.
struct TtlDragDistances {
  Integer Sizing = 0;      // half-width of a sizing edge
  Integer ColumnDrop = 0;  // horizontal probe distance of group drops
  Integer RowDrop = 0;     // vertical probe distance of line drops
};
// Recomputes the distances for a screen screenHeight pixels high.
void ComputeDragDistances(Integer screenHeight);
// The distances; computed from Screen()'s height on first use.
const TtlDragDistances& DragDistances();

// ---- layout probe ----
// Hit zones of a client point.
enum TtlHitZone : Byte { hzNone, hzTitle, hzCell, hzFooter };
// The zone of client point (x, y) of grid and the visible column there (nil
// when none); row is the window row of a cell, 0 for titles and footers.
// The group is the last group in view starting at or left of x; its first
// visible column whose outer title, cell or footer rectangle holds the
// point is the column.
TtlHitZone ProbeLayout(const TDBTabulon* grid, Integer x, Integer y, TtlColumn*& column,
                       Integer& row);
// The column of the title band at (x, y), nil when none.
TtlColumn* TitleColumnAt(const TDBTabulon* grid, Integer x, Integer y);

// ---- drop targets ----
enum TtlDropKind : Byte {
  dtkNone,      // no target
  dtkNewGroup,  // a new group before Group (-1: at the end)
  dtkNewLine,   // a new line of Group at Line
  dtkIntoLine   // into line Line of Group at position Pos
};

struct TtlDropTarget {
  TtlDropKind Kind = dtkNone;  // what kind of drop
  Integer Group = -1;          // index of the target group, -1 for the end
  Integer Line = 0;            // the layout level (dtkNewLine, dtkIntoLine)
  Integer Pos = 0;             // the layout index in the line (dtkIntoLine)
  bool operator==(const TtlDropTarget&) const = default;
};

class TtlDragger {
 public:
  explicit TtlDragger(TDBTabulon* grid);
  ~TtlDragger();
  TtlDragger(const TtlDragger&) = delete;
  TtlDragger& operator=(const TtlDragger&) = delete;

  TDBTabulon* Grid() const { return grid_; }

  // ---- flags ----
  // The column drag is driven by the grid's own mouse handlers (design time).
  bool DesignerDrag() const { return designerDrag_; }
  void SetDesignerDrag(bool value) { designerDrag_ = value; }
  // A left press on a cell with dmAutomatic may start a record drag.
  bool RecordDragArmed() const { return recordDragArmed_; }
  void SetRecordDragArmed(bool value) { recordDragArmed_ = value; }
  // A drag that began in this grid runs.
  bool DragStarted() const { return dragStarted_; }
  void SetDragStarted(bool value) { dragStarted_ = value; }
  // A column (title) drag runs.
  bool ColumnDrag() const { return columnDrag_; }
  void SetColumnDrag(bool value) { columnDrag_ = value; }
  // An ordinary drag over the grid (neither a column drag nor one from the
  // customizer) that may be tracked.
  bool ForeignDrag() const { return foreignDrag_; }
  void SetForeignDrag(bool value) { foreignDrag_ = value; }
  // The row under the pointer is highlighted as the drop target.
  bool TrackRows() const { return trackRows_; }
  void SetTrackRows(bool value) { trackRows_ = value; }
  // A record drag started here, a column drag or a tracked drag runs.
  bool AnyDrag() const { return dragStarted_ || columnDrag_ || trackRows_; }
  // Every flag cleared.
  void ClearFlags();

  // ---- the record under the pointer during a tracked drag ----
  TtlRecShot* HoverShot() const { return hoverShot_.get(); }
  // The window row of the hover shot, -1 when it is empty.
  Integer HoverRow() const { return hoverRow_; }
  // Takes the record in window row `row` (-1 empties the shot).
  void TakeHover(Integer row);

  // ---- the control whose drag entered the grid ----
  TObject* DragSource() const { return dragSource_; }
  void SetDragSource(TObject* value) { dragSource_ = value; }

  // ---- drop target ----
  const TtlDropTarget& Drop() const { return drop_; }
  TtlDropKind DropKind() const { return drop_.Kind; }
  // The target group (nil for the end, or without a target).
  TtlGroupInfo* DropGroup() const;
  Integer DropLine() const { return drop_.Line; }
  Integer DropPos() const { return drop_.Pos; }
  void SetDrop(const TtlDropTarget& target) { drop_ = target; }
  void ClearDrop() { drop_ = TtlDropTarget(); }

  // ---- markers ----
  TtlDropMarkers& Markers() { return markers_; }
  const TtlDropMarkers& Markers() const { return markers_; }
  // The marker device contexts for the grid's window.
  void AcquireMarkers();
  void ReleaseMarkers() { markers_.Release(); }
  // Shows the markers of target (hides them for dtkNone or without images).
  void ShowMarkers(const TtlDropTarget& target);
  void HideMarkers() { markers_.Hide(); }

 private:
  TDBTabulon* grid_;                       // the owning grid
  bool designerDrag_ = false;              // driven by the grid's mouse handlers
  bool recordDragArmed_ = false;           // a press may start a record drag
  bool dragStarted_ = false;               // a drag that began here runs
  bool columnDrag_ = false;                // a title is dragged
  bool foreignDrag_ = false;               // an ordinary drag is over the grid
  bool trackRows_ = false;                 // the row under the pointer is highlighted
  std::unique_ptr<TtlRecShot> hoverShot_;  // the record under the pointer
  Integer hoverRow_ = -1;                  // its window row, -1 when none
  TObject* dragSource_ = nullptr;          // the control whose drag entered
  TtlDropTarget drop_;                     // the column drop target
  TtlDropMarkers markers_;                 // the on-screen markers
};

}  // namespace brevant
