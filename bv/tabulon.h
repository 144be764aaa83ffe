// TDBTabulon: the data-aware grid. It shows the records of a dataset in rows
// and its fields in columns, reads the records only through its data link
// (whose buffer window it sizes to the rows that fit) and never keeps
// record data of its own.
//
// The record window: RowCount rows of the link's window are shown under the
// title band; ActiveRow is the link's active record as last synchronised;
// CursorRow is the row that shows the grid's current record (-1 when that
// record is outside the window, which only an insensitive cursor allows).
// Every change of size, heights, titles/footers, dataset activity, layout or
// data recomputes the window (UpdateRowWindow); every scroll runs the
// link's scrolled handler. One-row scrolls move the window contents and
// repaint only the rows that came into view, so the cost of scrolling
// follows the rows on screen, never the records in the dataset.
// RowWindowFault checks these rules in code (asserted after every
// recomputation in debug builds).
//
// Freeze bracket: FreezeGrid/UnfreezeGrid pair up (use TGridFreeze); while
// frozen nothing paints or invalidates, and the final unfreeze with refresh
// rewrites both scroll bars and repaints the whole grid.
//
// The grid forgets what goes away around it: its designer (which tells its
// grids as it goes, whoever frees it), a column leaving the collection (the
// current, hit and customizer columns) and the dataset behind its source.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "bv/bv_fwd.h"
#include "bv/grid_types.h"
#include "classes/classes_fwd.h"
#include "controls/controls.h"
#include "controls/controls_fwd.h"
#include "graphics/graphics_fwd.h"
#include "rtl/types.h"

namespace brevant {

// Named here rather than through db/db_fwd.h and bv_rtm's headers, which
// would only add to what every includer of the grid reads.
class TDataSet;
class TDataSource;
class TField;
class TChildFont;
class TznCustomFieldMapper;
// The border kinds of bv_rtm/border_style.h.
enum TznBorderStyle : Byte;

// The previous mouse hit (zone, column, row).
struct TtlOverPrevPos {
  Integer Zone = 0;
  Integer Column = -1;
  Integer Row = -1;
};

// What a drop-down tool form hosting a grid asks of it.
class IznToolFormClient {
 public:
  virtual void AttachToolForm(TObject* toolForm) = 0;
  virtual void SyncToValue() = 0;
  virtual void PickValue() = 0;

 protected:
  ~IznToolFormClient() = default;
};

class TDBTabulon : public TCustomControl, public IznToolFormClient {
  BV_CLASS(TDBTabulon, TCustomControl)
 public:
  explicit TDBTabulon(TComponent* owner);
  ~TDBTabulon() override;
  void BeforeDestruction() override;
  void Loaded() override;
  TRect GetClientRect() const override;

  // ---- published properties ----
  TznBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TznBorderStyle value);
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle value);
  TImageList* TitleImages() const { return titleImages_; }
  void SetTitleImages(TImageList* value);
  TDataSource* DataSource() const;
  void SetDataSource(TDataSource* value);
  TtlAutoSearchParams* ParamsAutoSearch() const { return paramsAutoSearch_; }
  void SetParamsAutoSearch(TtlAutoSearchParams* value);
  TtlDBParams* ParamsDB() const { return paramsDB_; }
  void SetParamsDB(TtlDBParams* value);
  TtlDeleteParams* ParamsDelete() const { return paramsDelete_; }
  void SetParamsDelete(TtlDeleteParams* value);
  bool AutoColumnFit() const { return autoColumnFit_; }
  void SetAutoColumnFit(bool value);
  // Lines per title, row and footer: positive (EBVError otherwise).
  Integer TitleLines() const { return titleLines_; }
  void SetTitleLines(Integer value);
  Integer RowLines() const { return rowLines_; }
  void SetRowLines(Integer value);
  Integer FootLines() const { return footLines_; }
  void SetFootLines(Integer value);
  const String& UniqueFields() const { return uniqueFields_; }
  void SetUniqueFields(const String& value);
  // Stored without the element "$RECNO$".
  const String& BookmarkFields() const { return bookmarkFields_; }
  void SetBookmarkFields(const String& value);
  bool ShowTitles() const { return showTitles_; }
  void SetShowTitles(bool value);
  bool ShowFooters() const { return showFooters_; }
  void SetShowFooters(bool value);
  bool ShowEmptyRow() const { return showEmptyRow_; }
  void SetShowEmptyRow(bool value);
  bool RowSelect() const { return rowSelect_; }
  void SetRowSelect(bool value) { rowSelect_ = value; }
  bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool value) { multiSelect_ = value; }
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool value);
  TTextLayout VertAlignment() const { return vertAlignment_; }
  void SetVertAlignment(TTextLayout value);
  TtlOptionsVisual OptionsVisual() const { return optionsVisual_; }
  void SetOptionsVisual(TtlOptionsVisual value);
  TtlOptionsBehavior OptionsBehavior() const { return optionsBehavior_; }
  void SetOptionsBehavior(TtlOptionsBehavior value) { optionsBehavior_ = value; }
  TtlOptionsEdit OptionsEdit() const { return optionsEdit_; }
  void SetOptionsEdit(TtlOptionsEdit value) { optionsEdit_ = value; }
  TtlOptionsPickup OptionsPickup() const { return optionsPickup_; }
  void SetOptionsPickup(TtlOptionsPickup value) { optionsPickup_ = value; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value) { readOnly_ = value; }
  bool WantTabs() const { return wantTabs_; }
  void SetWantTabs(bool value) { wantTabs_ = value; }
  bool WantReturns() const { return wantReturns_; }
  void SetWantReturns(bool value) { wantReturns_ = value; }
  // -1 or above 1; other values are ignored.
  Integer StripStep() const { return stripStep_; }
  void SetStripStep(Integer value);
  TtlCursorType CursorType() const { return cursorType_; }
  void SetCursorType(TtlCursorType value);
  TtlDesigner* Designer() const { return designer_; }
  void SetDesigner(TtlDesigner* value);
  // Designer, or the process-wide default designer.
  TtlDesigner* EffectiveDesigner() const { return effectiveDesigner_; }
  const String& Attrs() const { return attrs_; }
  // Handed on to every column's field list.
  void SetAttrs(const String& value);
  TtlColumns* Columns() const { return columns_; }
  void SetColumns(TtlColumns* value);
  // The grid registers with it; every column applies its mapping.
  TznCustomFieldMapper* Mapper() const { return mapper_; }
  void SetMapper(TznCustomFieldMapper* value);
  // Every column imports from the mapper again (also on WM_TL_APPLYMAPPING).
  void ApplyMappings();

  // ---- measured and derived state ----
  Integer TitleHeight() const { return titleHeight_; }
  Integer RowHeight() const { return rowHeight_; }
  Integer FooterHeight() const { return footerHeight_; }
  Integer TitleAreaHeight() const { return showTitles_ ? titleHeight_ : 0; }
  Integer FooterAreaHeight() const { return showFooters_ ? footerHeight_ : 0; }
  Integer FitRowCount() const { return fitRowCount_; }
  Integer RowCount() const { return rowCount_; }
  bool ShowsRows() const { return showsRows_; }
  bool MoreRecords() const { return moreRecords_; }
  Integer DataAreaBottom() const { return dataAreaBottom_; }
  Integer EmptyAreaHeight() const { return emptyAreaHeight_; }
  Integer ActiveRow() const { return activeRow_; }
  Integer CursorRow() const { return cursorRow_; }
  Integer CurrentColumn() const { return currentColumn_; }
  TtlColumn* CurrentColumnObject() const { return currentColumnObj_; }
  bool PaintingEnabled() const { return paintingEnabled_; }
  Integer FreezeCount() const { return freezeCount_; }
  bool Navigating() const { return navigating_; }
  // The last SortOrder handed out; never below an order a column holds.
  Integer SortCounter() const { return sortCounter_; }
  void SetSortCounter(Integer value) { sortCounter_ = value; }
  // 0 none, 1 over a sizing edge, 2 sizing, 3 title pressed.
  Integer MouseMode() const { return mouseMode_; }
  void SetMouseMode(Integer value) { mouseMode_ = value; }

  TDataLinkEx* DataLink() const { return dataLink_; }
  TDataSet* DataSet() const { return dataSet_; }
  TtlSelection* Selection() const { return selection_.get(); }
  TtlCurrentRecShot* CurrentRecShot() const { return currentRecShot_; }
  TtlPaintInfo* PaintInfo() const { return paintInfo_.get(); }
  // The painter the columns' visions draw cells through (nil until one is
  // adopted: nothing draws cell contents then). The grid owns it.
  TtlPainter* Painter() const { return painter_; }
  void AdoptPainter(TtlPainter* painter);
  // The column whose title is held pressed by the mouse, nil for none.
  TtlColumn* PressedTitle() const { return pressedTitle_; }
  void SetPressedTitle(TtlColumn* column);
  const TtlOverPrevPos& OverPrevPos() const { return overPrevPos_; }

  // ---- layout and repaint ----
  void FreezeGrid();
  void UnfreezeGrid(bool refresh);
  void Relayout(Integer flags);
  void LayoutGrid();
  // Answers whether one of the three heights changed.
  bool MeasureLines();
  void UpdateRowWindow();
  // The rules of the row window written above: empty when they hold,
  // otherwise the broken ones with the window's figures.
  String RowWindowFault() const;
  // Raises EInvalidOperation naming the broken rules (see RowWindowFault).
  void CheckRowWindowInvariants() const;
  void UpdateCursorRow(Integer distance);
  void UpdateVertScrollBar(bool force);
  void UpdateHorzScrollBar(bool force);
  void ScrollRows(Integer distance, Integer oldActive);
  void RefreshData();
  void InvalidateGrid();
  void InvalidateTitles();
  void InvalidateTitle(TtlColumn* column);
  void InvalidateRows();
  void InvalidateRow(Integer row);
  void InvalidateColumnCells(TtlColumn* column);
  void InvalidateCell(TtlColumn* column, Integer row);
  void InvalidateFooters();
  // -1 leaves all columns; otherwise the column must exist and be
  // selectable.
  void SelectColumn(Integer index);
  // Opens the column customizer through CustomizerHook.
  void ShowCustomizer(bool showHidden, const String& exclude, const String& fieldNames);
  // The customizer attached by protocol code 0, nil when none.
  TWinControl* Customizer() const { return customizer_; }
  // Told by the columns: column is leaving them (freed or extracted).
  void ColumnRemoving(TtlColumn* column);
  // Told by a designer this grid is registered with: it is being freed.
  void DesignerDestroying(TtlDesigner* designer);
  // Without a designer of its own, moves to the process-wide default
  // (after another one was registered) and lays out again.
  void UseDefaultDesigner();
  // Resets and fills the row and cell attributes of window rows first..last
  // for a paint (only with an active dataset); OnGetRowAttrs runs per row.
  void PrepareRows(Integer first, Integer last);

  // Notes a change of the current record and/or of the selection and
  // raises OnSelectionChange: at once, or once at the end of the grid's
  // navigation step when it runs inside one.
  void SelectionChanged(bool currentChanged, bool selectionChanged);
  // The navigation step bracket (use TGridNavigation): while it is open the
  // current record follows the dataset's cursor with every cursor type and
  // selection changes are reported once when it closes.
  void BeginNavigation();
  // notify: raise the change noted during the step (not after a failure).
  void EndNavigation(bool notify);
  // The selection actions the scrolled handler applies for the running
  // navigation step (gsa* bits without the movement bits). Without
  // MultiSelect every action is dropped; clearing is dropped while nothing
  // is selected explicitly.
  Cardinal PendingSelection() const { return pendingSelection_; }
  void SetPendingSelection(Cardinal actions);
  // Whether the scrolled handler runs (it repaints what the scroll moved).
  bool InScrollHandler() const { return inScrollHandler_; }

  // ---- navigation (tabulon_nav.cpp, tabulon_mouse.cpp) ----
  // The zone under client point (x, y): 0 none, 1 title, 2 data cell,
  // 3 footer; row and column are the window row and column index hit.
  Integer HitTest(Integer x, Integer y, Integer& row, Integer& column) const;
  // The navigation primitive: gsa* flags, a record distance counted from
  // the cursor row, and the column to make current.
  void GotoCell(Cardinal flags, Integer distance, Integer column);
  // Turns a direction (feaLeft .. feaNext) into a GotoCell; extend widens
  // the selection as Shift does.
  void StepCell(TtlFieldEditAction direction, bool extend);
  // With an insensitive cursor, brings the dataset back to the grid's
  // current record; answers whether it was in the window.
  bool SyncCursor(bool force);
  // Inserts (or appends) a record when the options and BeforeInsert allow.
  bool InsertRecord(bool append);
  // kind 0 Return key, 1 double click, 2 click.
  bool Pickup(Integer kind, bool withRecord);
  void ShowColumnMenu(TtlColumn* column, Integer x, Integer y);
  void ShowFooterMenu(TtlColumn* column, Integer x, Integer y);
  bool TitleStatesAllowed(bool multi, const TtlColumn* column) const;
  bool ColumnDragAllowed(const TtlColumn* column) const;

  // ---- in-place editing (tabulon_editor.cpp) ----
  // Created on first use; nil before.
  TtlInplaceEdit* InplaceEditor() const { return inplaceEdit_; }
  bool EditorShown() const { return editorShown_; }
  // The column the open editor edits, nil when none.
  TtlColumn* EditedColumn() const { return editedColumn_; }
  // geoAlwaysShowEditor with a sensitive cursor and rows shown.
  bool AlwaysEditing() const;
  bool OpenEditor(TtlColumn* column);
  void CloseEditor(TtlFieldEditAction action, bool keep);
  // The open editor follows the current cell (nothing without one).
  void SyncEditor();
  void PostRecord();
  void CancelRecord();
  // Starts editing column while the link edits, unless option forbids it.
  bool QuickEdit(TtlColumn* column, TtlOptionEdit option);
  // Paints the cells of firstColumn..lastColumn in rows firstRow..lastRow
  // (parts: pp* bits) into canvas, whose origin becomes the first cell's
  // top-left corner, width x height pixels of it (tabulon_cellpaint.cpp).
  void PaintCellArea(TCanvas* canvas, Cardinal parts, TtlColumn* firstColumn, TtlColumn* lastColumn,
                     Integer firstRow, Integer lastRow, Integer width, Integer height);
  // The cell whose switch the editor holds pressed (nil and -1: none);
  // painted with its cell attributes' Switched.
  void SetSwitchedCell(TtlColumn* column, Integer row);
  TtlColumn* SwitchedColumn() const { return switchedColumn_; }
  Integer SwitchedRow() const { return switchedRow_; }

  // ---- column sizing and dragging (tabulon_drag.cpp) ----
  bool SizingEdgeAt(Integer x, Integer y);
  void StartSizing(Integer x);
  void TrackSizing(Integer x);
  void EndSizing(Integer x);
  // The row rectangle of window row `row` across the client width.
  TRect RowRect(Integer row) const;
  // The group rectangle spanning the client height.
  TRect GroupRect(const TtlGroupInfo& group) const;

  // ---- tool form client ----
  void AttachToolForm(TObject* toolForm) override { toolForm_ = toolForm; }
  void SyncToValue() override;
  void PickValue() override;
  TObject* ToolForm() const { return toolForm_; }

  // For the current record shot: sets CursorRow without a repaint.
  void SetCursorRowDirect(Integer row) { cursorRow_ = row; }

  // ---- published events ----
  TtlActionEvent OnAction;
  TtlColEvent OnColEnter;
  TtlColEvent OnColExit;
  TtlColEvent OnColExiting;
  TNotifyEvent OnSelectionChange;
  TtlColMovedEvent OnColMoved;
  TtlClickEvent OnGridClick;  // published as OnClick
  TNotifyEvent OnPickup;
  TNotifyEvent OnInitEdit;
  TtlDrawCellEvent OnDrawCell;
  TtlGetRowAttrsEvent OnGetRowAttrs;
  TtlCustomizerActionEvent OnCustomizerAction;
  TtlBeforeInsertEvent BeforeInsert;
  TNotifyEvent AfterInsert;
  TNotifyEvent AfterDelete;
  TtlBeforeFieldEditEvent BeforeFieldEdit;
  TtlEditKeyPressEvent OnEditKeyPress;
  TtlAfterFieldPostEvent AfterFieldPost;
  TtlColumnEvent OnTitleStateChange;
  TtlColumnEvent OnFooterStateChange;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TtlFooterMenuPopupEvent OnFooterMenuPopup;

  void Dispatch(TMessage& message) override;

 protected:
  void Notification(TComponent* component, TOperation operation) override;
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Paint() override;
  // The key map (navigation, Return, Escape, Insert, the menu key), then
  // the delete parameters, switches and F2; an unused printable key starts
  // a search, a used one ends it.
  void KeyDown(Word& key, TShiftState shift) override;
  void KeyPress(char32_t& key) override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseMove(TShiftState shift, Integer x, Integer y) override;

  void WMTimer(TMessage& message) override;
  void WMSize(TMessage& message) override;
  void WMVScroll(TMessage& message) override;
  void WMHScroll(TMessage& message) override;
  void WMMouseWheel(TMessage& message) override;
  void WMEraseBkgnd(TMessage& message) override;
  void WMNCCalcSize(TMessage& message) override;
  void WMNCPaint(TMessage& message) override;
  void WMSetFocus(TMessage& message) override;
  void WMKillFocus(TMessage& message) override;
  void WMCancelMode(TMessage& message) override;
  void WMGetDlgCode(TMessage& message) override;
  void CMWantSpecialKey(TMessage& message) override;
  void CMFontChanged(TMessage& message) override;
  void CMMouseEnter(TMessage& message) override;
  void CMMouseLeave(TMessage& message) override;
  void CMCancelMode(TMessage& message) override;

 private:
  // Hints for clipped titles and footers; the pause when moving between
  // hints.
  void CMHintShow(TMessage& message);
  void CMHintShowPause(TMessage& message);
  // Whether an unused key down starts an incremental search.
  bool StartsSearch(Word key, TShiftState shift) const;
  // Link handlers.
  void LinkActiveChanged(TDataLinkEx* sender);
  void LinkDataChanged(TDataLinkEx* sender);
  void LinkScrolled(TDataLinkEx* sender, Integer distance);
  void LinkRecordChanged(TDataLinkEx* sender, TField* field);
  void LinkLayoutChanged(TDataLinkEx* sender);
  void LinkUpdateData(TDataLinkEx* sender);
  void LinkFocusControl(TDataLinkEx* sender, TField*& field);
  void ImagesChanged(TObject* sender);
  // The customizer protocol message (WM_TL_CUSTOMIZER).
  void WMCustomizer(TMessage& message);

  bool Loading() const { return ComponentState().Contains(csLoading); }
  bool CanInvalidate() const;
  void InvalidateClientRect(const TRect& rect);
  void SetLines(Integer& field, Integer value);
  void SetShowFlag(bool& field, bool value);
  void ScrollToRecNo(Integer target);
  void BindColumns();
  Integer TextHeightOf(const TChildFont* overlay);
  // Narrows the paint to the groups, rows and bands the clip touches.
  void NarrowPaint(TtlPaintInfo& info, TRect& clip) const;
  // Frees the kept off-screen bitmap with the window.
  void DestroyWnd() override;
  // The selected-row look on a row's attributes.
  void ApplySelectedRowLook(TtlRowAttrs* attrs) const;
  void PrepareCurrentRow(TtlRowAttrs* attrs);
  // Debug builds: asserts the row window's rules after a recomputation.
  void DebugCheckRowWindow() const;
  void SetScrollBar(Integer bar, Integer min, Integer max, Integer page, Integer pos, bool redraw);
  // The pending actions on the record in window row `row` (left) and on
  // the current record (reached); then the range from anchor.
  void ApplyLeavingActions(Cardinal actions, Integer row);
  void ApplyArrivingActions(Cardinal actions, const String& anchor);

  TDataLinkEx* dataLink_ = nullptr;
  TDataSet* dataSet_ = nullptr;
  std::unique_ptr<TtlPaintInfo> paintInfo_;
  TChangeLink* imageLink_ = nullptr;
  TtlAutoSearchParams* paramsAutoSearch_ = nullptr;
  TtlDBParams* paramsDB_ = nullptr;
  TtlDeleteParams* paramsDelete_ = nullptr;
  TtlColumns* columns_ = nullptr;
  std::unique_ptr<TtlSelection> selection_;
  TtlCurrentRecShot* currentRecShot_ = nullptr;
  TtlOverPrevPos overPrevPos_;
  TtlDesigner* designer_ = nullptr;
  TznCustomFieldMapper* mapper_ = nullptr;
  TtlDesigner* effectiveDesigner_ = nullptr;
  TImageList* titleImages_ = nullptr;
  TObject* toolForm_ = nullptr;
  TtlPainter* painter_ = nullptr;      // owned
  TtlColumn* pressedTitle_ = nullptr;  // the title held pressed

  TznBorderStyle borderStyle_;  // bs3D at first (set by the constructor)
  TScrollStyle scrollBars_;     // ssBoth at first (set by the constructor)
  bool autoColumnFit_ = false;
  Integer titleLines_ = 1, rowLines_ = 1, footLines_ = 1;
  String uniqueFields_, bookmarkFields_, attrs_;
  bool showTitles_ = true, showFooters_ = false, showEmptyRow_ = true;
  bool rowSelect_ = false, multiSelect_ = false, hideSelection_ = true;
  TTextLayout vertAlignment_;  // tlCenter at first (set by the constructor)
  TtlOptionsVisual optionsVisual_;
  TtlOptionsBehavior optionsBehavior_;
  TtlOptionsEdit optionsEdit_;
  TtlOptionsPickup optionsPickup_{gpoReturnKey, gpoDblClick};
  bool readOnly_ = false, wantTabs_ = true, wantReturns_ = true;
  Integer stripStep_ = -1;
  TtlCursorType cursorType_ = gctSensitive;

  Integer titleHeight_ = 10, rowHeight_ = 10, footerHeight_ = 10;
  Integer fitRowCount_ = 1, rowCount_ = 1;
  bool showsRows_ = false, moreRecords_ = false;
  Integer dataAreaBottom_ = 0, emptyAreaHeight_ = 0;
  Integer activeRow_ = 0, cursorRow_ = -1;
  Integer currentColumn_ = -1;
  TtlColumn* currentColumnObj_ = nullptr;
  Integer hitZone_ = 0, hitColumn_ = -1, hitRow_ = -1;
  TtlColumn* hitColumnObj_ = nullptr;
  Integer pendingColumn_ = -1;
  Cardinal pendingSelection_ = 0;
  bool navigating_ = false, gridPosting_ = false;
  bool inScrollHandler_ = false;         // the scrolled handler runs
  bool changedWhileNavigating_ = false;  // a change waits for the step's end
  Integer freezeCount_ = 0;
  bool paintingEnabled_ = true;
  // The attached customizer (the object code 0 hands over) and its window.
  TWinControl* customizer_ = nullptr;
  HWND customizerWnd_ = 0;
  bool customizerAttached_ = false;
  // The column handed to the customizer while it handles an action; nil
  // once the column is gone.
  TtlColumn* customizerColumn_ = nullptr;
  Integer sortCounter_ = -1;
  Integer mouseMode_ = 0;
  bool destroying_ = false;

  // Navigation and mouse state (tabulon_nav.cpp, tabulon_keys.cpp,
  // tabulon_mouse.cpp).
  TRect dragStartRect_{};              // leaving it with a button held drags
  bool clickHandled_ = false;          // the press's OnClick set Handled
  bool editOnRelease_ = false;         // the editor opens at the release
  bool pickedWithRecord_ = false;      // the last pickup held a record
  bool autoScroll_ = false;            // timer 1 scrolls while a record is held
  Integer autoScrollTicks_ = 0;        // ticks since auto-scroll started
  TDragMode gridDragMode_ = dmManual;  // the published DragMode (arms record drags)
  bool recordDragArmed_ = false;       // leaving dragStartRect_ starts a record drag
  bool deferredClear_ = false;         // the press's selection clear waits for the release

 public:
  // The grid keeps DragMode itself: dmAutomatic arms record drags on a
  // left press, while the control's own drag mode stays manual.
  TDragMode DragMode() const { return gridDragMode_; }
  void SetDragMode(TDragMode value) { gridDragMode_ = value; }
  // Whether the grid itself pulls records while the button is held.
  bool AutoScrolling() const { return autoScroll_; }

 protected:
  // The key reflected before KeyDown: the column's and the grid's popup
  // menu shortcuts, then the incremental search's shortcuts.
  void CNKeyDown(TMessage& message) override;
  // The grid pops its menus up itself (ShowColumnMenu); the control's own
  // context menu handling stays out.
  void WMContextMenu(TMessage& message) override;
  // Double clicks reach OnDblClick through Pickup.
  void DblClick() override {}

 private:
  // Navigation helpers (tabulon_nav.cpp).
  bool DataActive() const;
  void SetCurrentColumnIndex(Integer index);
  void MoveForGoto(Cardinal flags, Integer distance);
  void RepaintColumnChange(TtlColumn* oldColumn, bool toggled);
  // The column beside the current one in its line across groups (dx -1
  // or 1), -1 when none.
  Integer SideColumn(Integer dx) const;
  // The last (fromEnd) or first selectable column on line `line` of the
  // current column's group, -1 when none.
  Integer LineColumn(Integer line, bool fromEnd) const;
  Integer LastSelectable() const;
  // The selection bits of an up/down move by distance (Shift rule).
  Cardinal ShiftBits(Integer distance, bool extend);
  bool StepVertical(bool down, Integer& target, Integer& distance);
  bool StepAround(bool next, Integer& target, Integer& distance);
  // Key map (tabulon_keys.cpp).
  bool HandleMappedKey(Word key, TShiftState shift);
  bool HandleUnmappedKey(Word key, TShiftState shift);
  void PageKey(Cardinal flags, Integer distance, TShiftState shift);
  void SelectColumnKey(Integer index);
  // Mouse (tabulon_mouse.cpp).
  void TrackMouse(Integer x, Integer y);
  void PressTitle();
  void PressCell(TMouseButton button, TShiftState shift);
  void PressEdit(TMouseButton button, TShiftState shift, Integer x, Integer y, bool hadFocus,
                 bool moved, bool multi);
  void ReleaseClick(TMouseButton button, TShiftState shift, Integer x, Integer y);
  void CompleteTitleClick(TShiftState shift, Integer x, Integer y);
  void TrackRecord();
  bool RowSelected(Integer row) const;
  void StartAutoScroll();
  void StopAutoScroll();
  void AutoScrollTick();

  // In-place editing state (tabulon_editor.cpp).
  TtlInplaceEdit* inplaceEdit_ = nullptr;  // owned as a child component
  TtlColumn* editedColumn_ = nullptr;      // the column the editor edits
  bool editorShown_ = false;
  bool closingEditor_ = false;           // the editor is being hidden
  bool hadFocus_ = false;                // the grid held the focus (CM_ENTER/EXIT)
  bool initingEditor_ = false;           // OpenEditor sets the editor up
  Cardinal editorOpens_ = 0;             // times OpenEditor opened it
  TtlColumn* switchedColumn_ = nullptr;  // the cell whose switch is held pressed
  Integer switchedRow_ = -1;             // its window row

  // In-place editing (tabulon_editor.cpp).
  void CMEnter(TMessage& message) override;
  void CMExit(TMessage& message) override;
  // Hides the editor, giving the focus back to the grid when the editor
  // held it, and forgets the column.
  void HideEditor();
  // Posts the editor's value for action inside the field list's update
  // bracket (AfterFieldPost fires once), hides it unless keep, then steps
  // to a direction the handler left; a failed post selects the text, and
  // a step that fails leaves the editor open on its cell.
  void PostEditor(TtlFieldEditAction action, bool keep);
  // The focus leaves: the edit options decide what is posted or cancelled.
  void FinishEditsOnExit();
  // The data link's update request: the open editor posts and stays.
  void PostEditorForUpdate();
  // A column leaving the collection takes the editor off it.
  void EditedColumnRemoving(TtlColumn* column);
  // The editor itself going (the grid's teardown) is forgotten.
  void EditorRemoving(TComponent* component);

  // ---- column dragging and sizing (tabulon_drag.cpp) ----
 public:
  // The drag state (flags, hover record, drop target, markers).
  TtlDragger* Dragger() const { return dragger_.get(); }
  // The column a column drag moves: the pressed title's, or the grid
  // column the customizer's dragged entry stands for; nil when none.
  TtlColumn* DraggedColumn() const { return draggedColumn_; }
  // For the mouse handlers: starts dragging column (at design time the
  // grid drives the drag itself), or a record drag from the armed press.
  void StartColumnDrag(TtlColumn* column);
  void StartRecordDrag();
  // A design-time column drag: a mouse move over the grid, the release.
  void DesignDragOver(Integer x, Integer y);
  void DesignDragDrop(Integer x, Integer y);
  // Computes the drop kind and target under (x, y) of the title band and
  // shows the markers (hides them without a target).
  void TrackDrop(Integer x, Integer y);
  // Moves column to the dragger's drop target through the collection.
  void ApplyDrop(TtlColumn* column);
  // Rows dragged over the grid are tracked: the hot row paints as the drop
  // target and the current row loses its own look meanwhile.
  bool DragTracking() const;
  // The grid shows no drag images.
  TDragImageList* GetDragImages() override { return nullptr; }

 protected:
  void DoStartDrag(TDragObject*& dragObject) override;
  void DragOver(TObject* source, Integer x, Integer y, TDragState state, bool& accept) override;
  void DragDrop(TObject* source, Integer x, Integer y) override;
  void DoEndDrag(TObject* target, Integer x, Integer y) override;
  // Hides the markers and ends row tracking when a drag from elsewhere is
  // dropped here or cancelled (the source's DoEndDrag is not this grid's).
  void CMDrag(TMessage& message) override;
  // The horizontal split cursor in mouse modes 1 and 2.
  void WMSetCursor(TMessage& message) override;

 private:
  // The design-time mouse (LParam: the client point): over titles, sizing
  // edges, during a design drag and in every mouse mode but 0 the grid
  // takes it (Result 1).
  void CMDesignHitTest(TMessage& message);
  // Whether source runs a drag out of the attached customizer window.
  bool IsCustomizerDrag(TObject* source) const;
  // Whether a drag from source may have its rows tracked.
  bool IsTrackableSource(TObject* source) const;
  // The drop target under (x, y), before the restrictions on the column.
  TtlDropTarget FindDropTarget(Integer x, Integer y) const;
  // Whether the dragged column may drop at target (run-time restrictions,
  // fixed columns stay with fixed columns).
  bool DropAllowed(const TtlDropTarget& target) const;
  // The row repaints of an ordinary drag's tracking.
  void RepaintTrackedRows(TDragState state, Integer previousRow);
  // Ends the markers and the row tracking of a drag over this grid.
  void EndDragOver();
  // Ends the state of a drag that began here (flags, markers, hover; the
  // pressed title and dragged column of a column drag); answers whether it
  // was a column drag.
  bool ResetOwnDrag();
  bool Designing() const;

  std::unique_ptr<TtlDragger> dragger_;  // owned drag state
  TtlColumn* draggedColumn_ = nullptr;   // the column a column drag moves
};

// Closes a FreezeGrid bracket on every path, refreshing (when asked) on
// failure too; a failure of the unfreeze itself then gives way to the first.
class TGridFreeze {
 public:
  TGridFreeze(TDBTabulon* grid, bool refresh);
  TGridFreeze(const TGridFreeze&) = delete;
  TGridFreeze& operator=(const TGridFreeze&) = delete;
  ~TGridFreeze() noexcept(false);

 private:
  TDBTabulon* grid_;  // the frozen grid
  bool refresh_;      // whether the final unfreeze refreshes
  int exceptions_;    // exceptions in flight when the bracket opened
};

// Closes a navigation step on every path; the deferred selection change
// is raised only when the step succeeded.
class TGridNavigation {
 public:
  explicit TGridNavigation(TDBTabulon* grid);
  TGridNavigation(const TGridNavigation&) = delete;
  TGridNavigation& operator=(const TGridNavigation&) = delete;
  ~TGridNavigation() noexcept(false);

 private:
  TDBTabulon* grid_;  // the grid whose step this is
  int exceptions_;    // exceptions in flight when the step opened
};

// Opens the column customizer for a grid (set by the customizer at
// start-up): grid, field names, captions, shown field names, show-hidden.
using TtlCustomizerHook =
    std::function<void(TDBTabulon* grid, const String& names, const String& captions,
                       const String& shown, bool showHidden)>;
extern TtlCustomizerHook CustomizerHook;
// The customizer windows attached to grids (used when judging drags).
std::vector<HWND>& CustomizerWindows();

}  // namespace brevant

namespace brevant {

// Registers the grid's classes for form streams.
void RegisterGridClasses();

}  // namespace brevant
