// TDBTabulon: construction, published properties, layout, measuring,
// invalidation, the freeze bracket, column selection, the customizer entry
// points and the messages that are not about the record window.
#include "bv/tabulon.h"
#include "bv/tool_form_intf.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "bv/column_sizer.h"
#include "bv/columns.h"
#include "bv/datalink_ex.h"
#include "bv/designer.h"
#include "bv/dragger.h"
#include "bv/field_list.h"
#include "bv/field_mapper.h"
#include "bv/field_vision.h"
#include "bv/grid_messages.h"
#include "bv/grid_painter.h"
#include "bv/grid_params.h"
#include "bv/group_info.h"
#include "bv/inplace_edit.h"
#include "bv/paint_info.h"
#include "bv/selection.h"
#include "bv/vision_painter.h"
#include "bv_rtm/border_style.h"
#include "bv_rtm/bv_errors.h"
#include "bv_rtm/bv_strings.h"
#include "bv_rtm/child_font.h"
#include "bv_rtm/draw_helpers.h"
#include "bv_rtm/tokens.h"
#include "classes/rtti_builder.h"
#include "controls/wincore.h"
#include "db/dataset.h"
#include "db/datasource.h"
#include "db/field.h"
#include "graphics/canvas.h"
#include "graphics/imagelist.h"
#include "rtl/closing_guard.h"
#include "rtl/resstrings.h"
#include "rtl/strutils.h"

namespace brevant {

BV_ENUM_INFO(TtlCursorType, gctSensitive, gctInsensitiveBmrk, gctInsensitiveID)
BV_ENUM_INFO(TtlOptionVisual, gvoNoEndEllipsis)
BV_SET_INFO(TtlOptionsVisual, TtlOptionVisual)
BV_ENUM_INFO(TtlOptionBehavior, gboNoColumnSizing, gboNoGroupSizing, gboFullHeightSizing,
             gboSmartSizing, gboNoColumnMoving, gboNoColumnGrouping, gboNoTitleStates,
             gboNoMultiTitleStates, gboNoFooterStates, gboNoIncomingDragTrack, gboNoInsideDragTrack)
BV_SET_INFO(TtlOptionsBehavior, TtlOptionBehavior)
BV_ENUM_INFO(TtlOptionEdit, geoNoInserts, geoNoAppends, geoNoQuickEditByTabKey,
             geoNoQuickEditByClick, geoNoEditActionOnExit, geoCancelFieldOnExit,
             geoCancelRecordOnExit, geoAlwaysShowEditor)
BV_SET_INFO(TtlOptionsEdit, TtlOptionEdit)
BV_ENUM_INFO(TtlOptionPickup, gpoReturnKey, gpoDblClick, gpoClick, gpoMouseTrack, gpoCaptureRecord)
BV_SET_INFO(TtlOptionsPickup, TtlOptionPickup)
BV_ENUM_INFO(TtlFieldEditAction, feaPost, feaClose, feaLeft, feaRight, feaUp, feaDown, feaPrior,
             feaNext, feaNone)
BV_ENUM_INFO(TtlFieldPostCode, fpcNone, fpcReturn, fpcArrow, fpcTab, fpcKeyAction)

TtlCustomizerHook CustomizerHook;

// The elements of a semicolon list; none for an empty text.
static std::vector<String> Tokens(const String& text) {
  std::vector<String> list;
  if (text.empty()) return list;
  for (Integer i = 0, n = TokenCount(text, ';'); i < n; ++i) list.push_back(GetToken(text, i, ';'));
  return list;
}

std::vector<HWND>& CustomizerWindows() {
  static std::vector<HWND> windows;
  return windows;
}

TGridFreeze::TGridFreeze(TDBTabulon* grid, bool refresh)
    : grid_(grid), refresh_(refresh), exceptions_(std::uncaught_exceptions()) {
  grid_->FreezeGrid();
}

TGridFreeze::~TGridFreeze() noexcept(false) {
  // When the bracketed work failed the bracket still ends (and refreshes),
  // but the first failure is the one that propagates.
  CloseBracket(LeavingByException(exceptions_), [this] { grid_->UnfreezeGrid(refresh_); });
}

// ---- construction ----

TDBTabulon::TDBTabulon(TComponent* owner)
    : TCustomControl(owner), borderStyle_(bs3D), scrollBars_(ssBoth), vertAlignment_(tlCenter) {
  SetDragMode(dmManual);
  imageLink_ = Create<TChangeLink>();
  imageLink_->OnChange = TNotifyEvent::FromCallable([this](TObject* s) { ImagesChanged(s); });

  dataLink_ = new TDataLinkEx();
  dataLink_->OnActiveChanged = TDataLinkExEvent::Of<&TDBTabulon::LinkActiveChanged>(this);
  dataLink_->OnDataSetChanged = TDataLinkExEvent::Of<&TDBTabulon::LinkDataChanged>(this);
  dataLink_->OnDataSetScrolled = TDataLinkExScrolledEvent::Of<&TDBTabulon::LinkScrolled>(this);
  dataLink_->OnRecordChanged = TDataLinkExFieldEvent::Of<&TDBTabulon::LinkRecordChanged>(this);
  dataLink_->OnLayoutChanged = TDataLinkExEvent::Of<&TDBTabulon::LinkLayoutChanged>(this);
  dataLink_->OnUpdateData = TDataLinkExEvent::Of<&TDBTabulon::LinkUpdateData>(this);
  dataLink_->OnFocusControl = TDataLinkExFocusEvent::Of<&TDBTabulon::LinkFocusControl>(this);
  dataLink_->SetVisualControl(true);

  paramsAutoSearch_ = Create<TtlAutoSearchParams>(this);
  paramsDB_ = Create<TtlDBParams>(this);
  paramsDelete_ = Create<TtlDeleteParams>(this);
  columns_ = Create<TtlColumns>(this);
  selection_ = std::make_unique<TtlSelection>(this);
  currentRecShot_ = selection_->CurrentRecShot();
  effectiveDesigner_ = DefaultDesigner();
  effectiveDesigner_->RegisterGrid(this);
  paintInfo_ = std::make_unique<TtlPaintInfo>(this);
  painter_ = Create<TtlGridPainter>(this);
  dragger_ = std::make_unique<TtlDragger>(this);

  SetShowHint(true);
  SetParentColor(false);
  SetColor(clWindow);
  SetTabStop(true);
  SetControlStyle(TControlStyle{csCaptureMouse, csOpaque, csDoubleClicks, csDisplayDragImage});
  SetBounds(Left(), Top(), 340, 240);
}

TDBTabulon::~TDBTabulon() {
  TObject::Free(painter_);
  TObject::Free(imageLink_);
  TObject::Free(paramsAutoSearch_);
  TObject::Free(paramsDB_);
  TObject::Free(paramsDelete_);
  TObject::Free(columns_);
  dragger_.reset();
  selection_.reset();
  delete dataLink_;
}

void TDBTabulon::BeforeDestruction() {
  destroying_ = true;
  // A running search's prompt window goes while the grid is whole.
  paramsAutoSearch_->Stop();
  // The effective designer keeps a list of its grids; the process-wide
  // default has no free notification to hear of this grid going, so the
  // grid leaves the list itself.
  if (effectiveDesigner_) effectiveDesigner_->UnregisterGrid(this);
  effectiveDesigner_ = nullptr;
  // The mapper keeps its consumers; this one goes.
  if (mapper_) mapper_->UnregisterConsumer(this);
  mapper_ = nullptr;
  // Stop hearing the dataset before anything the handlers use goes.
  dataLink_->OnActiveChanged = {};
  dataLink_->OnDataSetChanged = {};
  dataLink_->OnDataSetScrolled = {};
  dataLink_->OnRecordChanged = {};
  dataLink_->OnLayoutChanged = {};
  dataLink_->OnUpdateData = {};
  dataLink_->OnFocusControl = {};
  if (titleImages_) titleImages_->UnRegisterChanges(imageLink_);
  // An attached customizer window outlives the grid; it leaves the list.
  if (customizerWnd_) std::erase(CustomizerWindows(), customizerWnd_);
  // Markers go back to the screen and a sizing line stops while the
  // window is still there.
  dragger_->ReleaseMarkers();
  if (ColumnSizer()->Grid() == this) ColumnSizer()->Cancel();
  ColumnSizer()->Forget(this);
  TCustomControl::BeforeDestruction();
}

void TDBTabulon::Loaded() {
  TCustomControl::Loaded();
  if (Parent()) HandleNeeded();
  // Loaded columns keep their orders; the counter continues after them.
  sortCounter_ = columns_->MaxSortOrder();
  BindColumns();
  UpdateVertScrollBar(true);
  LayoutGrid();
  ApplyMappings();
  // A layout read from text may hold fixed columns among scrollable ones:
  // they join the fixed groups at the left.
  for (Integer i = 0; i < columns_->Count(); ++i)
    if (columns_->Items(i)->Fixed() == cfLeft) {
      columns_->ApplyFixedColumns();
      break;
    }
}

TRect TDBTabulon::GetClientRect() const {
  if (!HandleAllocated()) return TRect(0, 0, Width(), Height());
  return TCustomControl::GetClientRect();
}

void TDBTabulon::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation != opRemove) return;
  EditorRemoving(component);
  if (dataLink_ && component == dataLink_->DataSource()) {
    SetDataSource(nullptr);
  } else if (component && component == designer_) {
    DesignerDestroying(designer_);
  } else if (component && component == mapper_) {
    SetMapper(nullptr);
  } else if (component == titleImages_) {
    SetTitleImages(nullptr);
  } else if (columns_) {
    columns_->ComponentFreed(component);
  }
}

void TDBTabulon::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.Style |= WS_TABSTOP;
  if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) params.Style |= WS_VSCROLL;
  if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) params.Style |= WS_HSCROLL;
  params.ClassStyle = CS_DBLCLKS;
  if (borderStyle_ == bs3D) {
    params.Style &= ~WS_BORDER;
    params.ExStyle |= WS_EX_CLIENTEDGE;
  }
}

void TDBTabulon::CreateWnd() {
  TCustomControl::CreateWnd();
  columns_->SetClientWidth(ClientWidth());
  LayoutGrid();
}

// ---- properties ----

void TDBTabulon::SetBorderStyle(TznBorderStyle value) {
  if (borderStyle_ == value) return;
  borderStyle_ = value;
  if (HandleAllocated()) RecreateWnd();
}

void TDBTabulon::SetScrollBars(TScrollStyle value) {
  if (scrollBars_ == value) return;
  scrollBars_ = value;
  if (HandleAllocated()) RecreateWnd();
  UpdateVertScrollBar(true);
  UpdateHorzScrollBar(true);
}

void TDBTabulon::SetTitleImages(TImageList* value) {
  if (titleImages_ == value) return;
  if (titleImages_) titleImages_->UnRegisterChanges(imageLink_);
  titleImages_ = value;
  if (titleImages_) {
    titleImages_->RegisterChanges(imageLink_);
    titleImages_->FreeNotification(this);
  }
  ImagesChanged(nullptr);
}

void TDBTabulon::ImagesChanged(TObject*) {
  if (Loading()) return;
  if (MeasureLines())
    InvalidateGrid();
  else
    InvalidateTitles();
}

TDataSource* TDBTabulon::DataSource() const {
  return dataLink_->DataSource();
}

void TDBTabulon::SetDataSource(TDataSource* value) {
  if (value == dataLink_->DataSource()) return;
  dataLink_->SetDataSource(value);
  dataSet_ = dataLink_->DataSet();
  if (value) value->FreeNotification(this);
}

void TDBTabulon::SetParamsAutoSearch(TtlAutoSearchParams* value) {
  paramsAutoSearch_->Assign(value);
}
void TDBTabulon::SetParamsDB(TtlDBParams* value) {
  paramsDB_->Assign(value);
}
void TDBTabulon::SetParamsDelete(TtlDeleteParams* value) {
  paramsDelete_->Assign(value);
}

void TDBTabulon::SetAttrs(const String& value) {
  attrs_ = value;
  columns_->PropagateAttrs();
  if (!Loading()) ApplyMappings();
}

void TDBTabulon::SetAutoColumnFit(bool value) {
  if (autoColumnFit_ == value) return;
  autoColumnFit_ = value;
  columns_->SetAutoColumnFit(value);
  Relayout(rlAutoFit | rlScrollWindow | rlInvalidate);
}

void TDBTabulon::SetLines(Integer& field, Integer value) {
  CheckPositive(value);
  if (field == value) return;
  field = value;
  Relayout(rlMeasure | rlInvalidate);
}

void TDBTabulon::SetTitleLines(Integer value) {
  SetLines(titleLines_, value);
}
void TDBTabulon::SetRowLines(Integer value) {
  SetLines(rowLines_, value);
}
void TDBTabulon::SetFootLines(Integer value) {
  SetLines(footLines_, value);
}

void TDBTabulon::SetUniqueFields(const String& value) {
  if (uniqueFields_ == value) return;
  uniqueFields_ = value;
  // The current record is taken again with its new key values.
  currentRecShot_->CaptureCursor(false);
}

void TDBTabulon::SetBookmarkFields(const String& value) {
  // The record number is always part of a shot; it is not a field.
  String stored;
  for (const String& name : Tokens(value)) {
    if (SameText(name, "$RECNO$")) continue;
    if (!stored.empty()) stored += ';';
    stored += name;
  }
  bookmarkFields_ = stored;
}

void TDBTabulon::SetShowFlag(bool& field, bool value) {
  if (field == value) return;
  field = value;
  Relayout(rlRowWindow | rlInvalidate);
}

void TDBTabulon::SetShowTitles(bool value) {
  SetShowFlag(showTitles_, value);
}
void TDBTabulon::SetShowFooters(bool value) {
  SetShowFlag(showFooters_, value);
}
void TDBTabulon::SetShowEmptyRow(bool value) {
  SetShowFlag(showEmptyRow_, value);
}

void TDBTabulon::SetHideSelection(bool value) {
  if (hideSelection_ == value) return;
  hideSelection_ = value;
  InvalidateRows();
}

void TDBTabulon::SetVertAlignment(TTextLayout value) {
  if (vertAlignment_ == value) return;
  vertAlignment_ = value;
  // Columns without a layout of their own take the grid's: recompute it.
  for (Integer i = 0; i < columns_->Count(); ++i) columns_->Items(i)->UpdateDisplayAttrs();
  InvalidateRows();
}

void TDBTabulon::SetOptionsVisual(TtlOptionsVisual value) {
  if (optionsVisual_ == value) return;
  optionsVisual_ = value;
  InvalidateGrid();
}

void TDBTabulon::SetStripStep(Integer value) {
  if (stripStep_ == value || (value != -1 && value <= 1)) return;
  stripStep_ = value;
  InvalidateRows();
}

void TDBTabulon::SetCursorType(TtlCursorType value) {
  if (cursorType_ == value) return;
  cursorType_ = value;
  if (value == gctSensitive) {
    currentRecShot_->CaptureCursor(true);
    UpdateCursorRow(0);
  } else {
    currentRecShot_->Release(false);
  }
  InvalidateRows();
}

void TDBTabulon::SetDesigner(TtlDesigner* value) {
  if (designer_ == value) return;
  if (effectiveDesigner_) effectiveDesigner_->UnregisterGrid(this);
  designer_ = value;
  if (value) {
    effectiveDesigner_ = value;
    value->FreeNotification(this);
  } else {
    effectiveDesigner_ = DefaultDesigner();
  }
  effectiveDesigner_->RegisterGrid(this);
  LayoutGrid();
}

void TDBTabulon::DesignerDestroying(TtlDesigner* designer) {
  if (!designer || (designer != designer_ && designer != effectiveDesigner_)) return;
  const bool own = designer == designer_;
  if (own) designer_ = nullptr;
  if (designer == effectiveDesigner_) effectiveDesigner_ = nullptr;
  // A grid that is going itself, or that lost the process-wide default,
  // takes no other designer.
  if (!own || destroying_ || IsDestroying()) return;
  effectiveDesigner_ = DefaultDesigner();
  effectiveDesigner_->RegisterGrid(this);
  LayoutGrid();
}

void TDBTabulon::UseDefaultDesigner() {
  if (designer_ || destroying_ || IsDestroying()) return;
  TtlDesigner* next = DefaultDesigner();
  if (!next || next == effectiveDesigner_) return;
  if (effectiveDesigner_) effectiveDesigner_->UnregisterGrid(this);
  effectiveDesigner_ = next;
  next->RegisterGrid(this);
  LayoutGrid();
}

void TDBTabulon::AdoptPainter(TtlPainter* painter) {
  if (painter == painter_) return;
  TObject::Free(painter_);
  painter_ = painter;
  InvalidateRows();
}

void TDBTabulon::SetPressedTitle(TtlColumn* column) {
  if (column == pressedTitle_) return;
  if (pressedTitle_) InvalidateTitle(pressedTitle_);
  pressedTitle_ = column;
  if (column) InvalidateTitle(column);
}

void TDBTabulon::ColumnRemoving(TtlColumn* column) {
  if (column == currentColumnObj_) {
    currentColumnObj_ = nullptr;
    currentColumn_ = -1;
  }
  if (column == hitColumnObj_) {
    hitColumnObj_ = nullptr;
    hitZone_ = 0;
    hitColumn_ = hitRow_ = -1;
  }
  if (column == customizerColumn_) customizerColumn_ = nullptr;
  if (column == pressedTitle_) pressedTitle_ = nullptr;
  EditedColumnRemoving(column);
  if (column == draggedColumn_) draggedColumn_ = nullptr;
  ColumnSizer()->Forget(column);
}

void TDBTabulon::SetColumns(TtlColumns* value) {
  columns_->Assign(value);
}

void TDBTabulon::SetMapper(TznCustomFieldMapper* value) {
  if (mapper_ == value) return;
  if (mapper_) mapper_->UnregisterConsumer(this);
  mapper_ = value;
  if (value) {
    value->RegisterConsumer(this);
    value->FreeNotification(this);
  }
  if (!Loading()) ApplyMappings();
}

void TDBTabulon::ApplyMappings() {
  for (Integer i = 0; i < columns_->Count(); ++i) columns_->Items(i)->ApplyMapping();
}

// ---- freeze, relayout, measuring ----

void TDBTabulon::FreezeGrid() {
  ++freezeCount_;
  paintingEnabled_ = false;
}

void TDBTabulon::UnfreezeGrid(bool refresh) {
  if (freezeCount_ == 0) throw EDBTabulon(bvres::SMethodCancelled, {String("UnfreezeGrid")});
  if (--freezeCount_ > 0) return;
  paintingEnabled_ = true;
  if (refresh) {
    UpdateVertScrollBar(true);
    UpdateHorzScrollBar(true);
    InvalidateGrid();
  }
}

void TDBTabulon::Relayout(Integer flags) {
  if (Loading()) return;
  if (flags & rlMeasure) MeasureLines();
  if (flags & rlRowWindow) UpdateRowWindow();
  if (flags & rlAutoFit) columns_->AutoFit();
  if (flags & rlScrollWindow) {
    columns_->ComputeGroupWidths();
    columns_->ComputeScrollWindow(false, true);
  }
  if (flags & rlInvalidate) InvalidateGrid();
  SyncEditor();
}

void TDBTabulon::LayoutGrid() {
  if (Loading() || columns_->Assigning() || destroying_) return;
  hitZone_ = 0;
  columns_->RebuildLayout();
  columns_->ComputeGroupWidths();
  columns_->RebuildSelectable();
  // The current column is kept by identity; when it is gone or cannot be
  // current any more the first selectable column takes its place.
  Integer index = -1;
  for (Integer i = 0; i < columns_->Count(); ++i)
    if (columns_->Items(i) == currentColumnObj_) index = i;
  if (index < 0 || !currentColumnObj_->IsSelectable()) index = columns_->FirstSelectable();
  currentColumn_ = index;
  currentColumnObj_ = index >= 0 ? columns_->Items(index) : nullptr;
  columns_->AutoFit();
  MeasureLines();
  InvalidateGrid();
  SyncEditor();
}

Integer TDBTabulon::TextHeightOf(const TChildFont* overlay) {
  if (!HandleAllocated()) return 13;
  TCanvas* canvas = Canvas();
  canvas->Font()->Assign(Font());
  if (overlay) overlay->ApplyTo(*canvas->Font());
  TFontStyles style = canvas->Font()->Style();
  style.Include(fsBold);
  style.Include(fsUnderline);
  canvas->Font()->SetStyle(style);
  return canvas->TextHeight("Wg");
}

bool TDBTabulon::MeasureLines() {
  if (columns_->Assigning() || Loading() || !effectiveDesigner_) return false;
  TtlDesigner* d = effectiveDesigner_;
  const Integer titleText = TextHeightOf(d->TitleFontIfAny());
  const Integer cellText = TextHeightOf(d->CellFontIfAny());
  const Integer footText = TextHeightOf(d->FooterFontIfAny());
  const Integer fh =
      footText * footLines_ + d->FooterMargins()->TopMargin() + d->FooterMargins()->BottomMargin();
  const Integer tg =
      titleText * titleLines_ + d->TitleMargins()->TopMargin() + d->TitleMargins()->BottomMargin();
  const Integer cg =
      cellText * rowLines_ + d->CellMargins()->TopMargin() + d->CellMargins()->BottomMargin();
  // A group of L lines stacks L lines and L - 1 separating pixels.
  Integer title = 1, rows = 1, footer = 1;
  for (Integer g = 0; g < columns_->GroupCount(); ++g) {
    const Integer lines = columns_->Groups(g)->LineCount;
    title = std::max(title, tg * lines + lines - 1);
    rows = std::max(rows, cg * lines + lines - 1);
    footer = std::max(footer, fh * lines + lines - 1);
  }
  const Integer titleLines = d->InnerTitleLineWidth() + d->OuterTitleLineWidth();
  const Integer footerLines = d->InnerFooterLineWidth() + d->OuterFooterLineWidth();
  const Integer newTitle = title + titleLines;
  const Integer newRow = rows + d->RowLineWidth();
  const Integer newFooter = footer + footerLines;
  const bool changed =
      newTitle != titleHeight_ || newRow != rowHeight_ || newFooter != footerHeight_;
  titleHeight_ = newTitle;
  rowHeight_ = newRow;
  footerHeight_ = newFooter;
  // Each group divides the bands equally among its lines.
  for (Integer g = 0; g < columns_->GroupCount(); ++g) {
    const TtlGroupInfo* group = columns_->Groups(g);
    const Integer lines = group->LineCount;
    const Integer t = (titleHeight_ - lines - titleLines + 1) / lines;
    const Integer c = (rowHeight_ - lines - d->RowLineWidth() + 1) / lines;
    const Integer f = (footerHeight_ - lines - footerLines + 1) / lines;
    for (Integer i = group->FirstColumn; i <= group->LastColumn; ++i)
      columns_->Items(i)->SetLineHeights(t, c, f);
  }
  if (changed) UpdateRowWindow();
  return changed;
}

// ---- invalidation ----

bool TDBTabulon::CanInvalidate() const {
  return paintingEnabled_ && HandleAllocated() && columns_->HasGroups();
}

void TDBTabulon::InvalidateClientRect(const TRect& rect) {
  InvalidateRect(WindowHandle(), &rect, false);
}

void TDBTabulon::InvalidateGrid() {
  if (!CanInvalidate()) return;
  TRect r = ClientRect();
  InvalidateClientRect(r);
}

void TDBTabulon::InvalidateTitles() {
  if (!CanInvalidate() || TitleAreaHeight() <= 0) return;
  InvalidateClientRect(TRect(0, 0, ClientWidth(), TitleAreaHeight()));
}

TRect TDBTabulon::GroupRect(const TtlGroupInfo& group) const {
  return TRect(group.ScreenLeft, 0, group.ScreenLeft + group.TotalWidth, ClientHeight());
}

void TDBTabulon::InvalidateTitle(TtlColumn* column) {
  if (!CanInvalidate() || TitleAreaHeight() <= 0 || !columns_->IsInView(column)) return;
  TRect r = GroupRect(*column->GroupInfo());
  r.Bottom = TitleAreaHeight();
  InvalidateClientRect(r);
}

void TDBTabulon::InvalidateRows() {
  if (!CanInvalidate()) return;
  InvalidateClientRect(
      TRect(0, TitleAreaHeight(), ClientWidth(), ClientHeight() - FooterAreaHeight()));
}

TRect TDBTabulon::RowRect(Integer row) const {
  Integer top = TitleAreaHeight() + row * rowHeight_;
  return TRect(0, top, ClientWidth(), top + rowHeight_);
}

void TDBTabulon::InvalidateRow(Integer row) {
  if (!CanInvalidate() || row < 0) return;
  InvalidateClientRect(RowRect(row));
}

void TDBTabulon::InvalidateColumnCells(TtlColumn* column) {
  if (!CanInvalidate() || !columns_->IsInView(column)) return;
  InvalidateClientRect(GroupRect(*column->GroupInfo()));
}

void TDBTabulon::InvalidateCell(TtlColumn* column, Integer row) {
  if (!CanInvalidate() || !columns_->IsInView(column) || row < 0) return;
  TRect r = GroupRect(*column->GroupInfo());
  TRect rr = RowRect(row);
  r.Top = rr.Top;
  r.Bottom = rr.Bottom;
  InvalidateClientRect(r);
}

void TDBTabulon::InvalidateFooters() {
  if (!CanInvalidate() || FooterAreaHeight() <= 0) return;
  Integer top = dataAreaBottom_ + emptyAreaHeight_;
  InvalidateClientRect(TRect(0, top, ClientWidth(), top + FooterAreaHeight()));
}

// ---- columns, selection, customizer ----

void TDBTabulon::SelectColumn(Integer index) {
  if (index == currentColumn_) return;
  if (index == -1) {
    Integer left = currentColumn_;
    TtlColumn* leftObj = currentColumnObj_;
    if (OnColExiting) OnColExiting(this, left);
    currentColumn_ = -1;
    currentColumnObj_ = nullptr;
    if (leftObj) InvalidateColumnCells(leftObj);
    if (left != -1 && OnColExit) OnColExit(this, left);
    if (OnColEnter) OnColEnter(this, -1);
    return;
  }
  if (index < 0 || index >= columns_->Count())
    throw EBVError(bvres::SIndexOutOfRange, {index, columns_->Count()});
  TtlColumn* column = columns_->Items(index);
  if (!column->IsSelectable()) throw EDBTabulon(bvres::SUnableToSelectColumn, {index});
  // Made current without moving the record; GotoCell raises the column
  // events and scrolls the column into view.
  GotoCell(0, 0, index);
}

void TDBTabulon::SelectionChanged(bool currentChanged, bool selectionChanged) {
  if (currentChanged) currentRecShot_->SetChanged(true);
  if (selectionChanged) selection_->SetChanged(true);
  if (navigating_) {
    // A user's move in a drop-down's list changes the drop-down's value.
    if (auto* host = dynamic_cast<IznToolFormHost*>(toolForm_)) host->SetChanged(true);
    changedWhileNavigating_ = true;
    return;
  }
  currentRecShot_->SetChanged(false);
  selection_->SetChanged(false);
  if (OnSelectionChange) OnSelectionChange(this);
}

void TDBTabulon::SetPendingSelection(Cardinal actions) {
  actions &= ~gsaMovement;
  if (!multiSelect_) actions = 0;
  if (selection_->IsEmpty()) actions &= ~gsaClear;
  pendingSelection_ = actions;
}

void TDBTabulon::BeginNavigation() {
  navigating_ = true;
  changedWhileNavigating_ = false;
}

void TDBTabulon::EndNavigation(bool notify) {
  const bool changed = changedWhileNavigating_;
  navigating_ = false;
  changedWhileNavigating_ = false;
  pendingSelection_ = 0;
  pendingColumn_ = -1;
  if (changed && notify) SelectionChanged(false, false);
}

TGridNavigation::TGridNavigation(TDBTabulon* grid)
    : grid_(grid), exceptions_(std::uncaught_exceptions()) {
  grid_->BeginNavigation();
}

TGridNavigation::~TGridNavigation() noexcept(false) {
  if (std::uncaught_exceptions() == exceptions_) {
    grid_->EndNavigation(true);
    return;
  }
  grid_->EndNavigation(false);
}

static bool ListHas(const std::vector<String>& list, const String& name) {
  return std::any_of(list.begin(), list.end(), [&](const String& s) { return SameText(s, name); });
}

static void AddUnique(std::vector<String>& list, const String& name) {
  if (!ListHas(list, name)) list.push_back(name);
}

static String JoinList(const std::vector<String>& list) {
  String text;
  for (const String& s : list) {
    if (!text.empty()) text += ';';
    text += s;
  }
  return text;
}

void TDBTabulon::ShowCustomizer(bool showHidden, const String& exclude, const String& fieldNames) {
  if (!dataSet_) return;
  if (dataSet_->State() == dsEdit || dataSet_->State() == dsInsert) dataSet_->Post();
  const std::vector<String> excluded = Tokens(exclude);
  std::vector<String> names, captions, shown;
  if (showHidden) {
    for (Integer i = 0; i < columns_->Count(); ++i) {
      TtlColumn* column = columns_->Items(i);
      if (ListHas(excluded, column->FieldName()) || ListHas(names, column->FieldName())) continue;
      names.push_back(column->FieldName());
      String caption = column->EffectiveCaption();
      captions.push_back(caption.empty() ? column->FieldName() : caption);
      if (column->Visible()) AddUnique(shown, column->FieldName());
    }
  } else {
    std::vector<String> all;
    if (fieldNames.empty()) {
      for (Integer i = 0; i < dataSet_->Fields()->Count(); ++i)
        all.push_back(dataSet_->Fields()->Fields(i)->FieldName());
    } else {
      all = Tokens(fieldNames);
    }
    for (const String& name : all) {
      if (ListHas(excluded, name) || ListHas(names, name)) continue;
      names.push_back(name);
      TField* field = dataSet_->FindField(name);
      captions.push_back(field ? field->DisplayName() : name);
    }
    shown = Tokens(columns_->VisibleFieldNames());
  }
  if (CustomizerHook)
    CustomizerHook(this, JoinList(names), JoinList(captions), JoinList(shown), showHidden);
}

// ---- messages ----

void TDBTabulon::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case WM_TL_APPLYMAPPING:
      ApplyMappings();
      return;
    case WM_TL_CUSTOMIZER:
      WMCustomizer(message);
      return;
    case CM_HINTSHOW:
      CMHintShow(message);
      return;
    case CM_HINTSHOWPAUSE:
      CMHintShowPause(message);
      return;
    case CM_DESIGNHITTEST:
      CMDesignHitTest(message);
      return;
    default:
      TCustomControl::Dispatch(message);
  }
}

void TDBTabulon::WMCustomizer(TMessage& message) {
  TtlCustomizerAction action = static_cast<TtlCustomizerAction>(message.WParam & 0xFF);
  if (action == gcaAttach) {
    // The customizer hands over itself; its window joins the list.
    customizer_ = reinterpret_cast<TWinControl*>(message.LParam);
    customizerWnd_ = customizer_ ? customizer_->Handle() : 0;
    customizerAttached_ = customizerWnd_ != 0;
    if (customizerWnd_ && std::find(CustomizerWindows().begin(), CustomizerWindows().end(),
                                    customizerWnd_) == CustomizerWindows().end())
      CustomizerWindows().push_back(customizerWnd_);
  } else if (action == gcaDetach) {
    std::erase(CustomizerWindows(), customizerWnd_);
    customizer_ = nullptr;
    customizerWnd_ = 0;
    customizerAttached_ = false;
  }
  // The customizer may free the column it is handed (a column dragged out
  // in field-chooser mode); the event then gets nil.
  customizerColumn_ = nullptr;
  if (action == 2 || action == 4 || action == 5 || action == 6)
    customizerColumn_ = reinterpret_cast<TtlColumn*>(message.LParam);
  if (customizerWnd_)
    message.Result = SendMessage(customizerWnd_, message.Msg, message.WParam, message.LParam);
  TtlColumn* column = std::exchange(customizerColumn_, nullptr);
  if (OnCustomizerAction) OnCustomizerAction(this, action, column);
}

void TDBTabulon::WMEraseBkgnd(TMessage& message) {
  message.Result = 1;
}

void TDBTabulon::WMNCCalcSize(TMessage& message) {
  TCustomControl::WMNCCalcSize(message);
  if (borderStyle_ > bs3D) {
    auto* rect = reinterpret_cast<TRect*>(message.LParam);
    if (rect) BorderCalcSize(borderStyle_, *rect);
  }
}

void TDBTabulon::WMNCPaint(TMessage& message) {
  TCustomControl::WMNCPaint(message);
  if (borderStyle_ > bs3D) BorderPaint(borderStyle_, this, false);
}

// Focus-dependent looks (focus frames, the hidden selection) are on the
// cursor row, which an insensitive cursor keeps apart from the active row.
void TDBTabulon::WMSetFocus(TMessage& message) {
  TCustomControl::WMSetFocus(message);
  InvalidateRow(cursorRow_);
  // While the editor is open the keys are its: the focus passes on.
  if (editorShown_ && !closingEditor_ && !initingEditor_ && inplaceEdit_ &&
      inplaceEdit_->CanFocus())
    inplaceEdit_->SetFocus();
}

void TDBTabulon::WMKillFocus(TMessage& message) {
  paramsAutoSearch_->Stop();
  TCustomControl::WMKillFocus(message);
  InvalidateRow(cursorRow_);
}

void TDBTabulon::WMCancelMode(TMessage& message) {
  paramsAutoSearch_->Stop();
  StopAutoScroll();
  TCustomControl::WMCancelMode(message);
}

void TDBTabulon::CMCancelMode(TMessage& message) {
  paramsAutoSearch_->Stop();
  StopAutoScroll();
  TCustomControl::CMCancelMode(message);
}

void TDBTabulon::WMGetDlgCode(TMessage& message) {
  LRESULT code = DLGC_WANTARROWS;
  if (wantTabs_ && !rowSelect_) code |= DLGC_WANTTAB;
  if (!readOnly_ || paramsAutoSearch_->Enabled() || wantReturns_) code |= DLGC_WANTCHARS;
  message.Result = code;
}

void TDBTabulon::CMWantSpecialKey(TMessage& message) {
  TCustomControl::CMWantSpecialKey(message);
  const bool editing = dataLink_->Active() && dataLink_->Editing();
  if ((message.WParam == VK_ESCAPE && editing) ||
      (message.WParam == VK_RETURN && (wantReturns_ || editing)))
    message.Result = 1;
}

void TDBTabulon::CMFontChanged(TMessage& message) {
  TCustomControl::CMFontChanged(message);
  if (Loading()) return;
  MeasureLines();
  InvalidateGrid();
}

void TDBTabulon::CMMouseEnter(TMessage& message) {
  TCustomControl::CMMouseEnter(message);
  if (OnMouseEnter) OnMouseEnter(this);
}

void TDBTabulon::CMMouseLeave(TMessage& message) {
  TCustomControl::CMMouseLeave(message);
  hitZone_ = 0;
  hitColumn_ = hitRow_ = -1;
  hitColumnObj_ = nullptr;
  // A record held with the mouse is let go when the pointer leaves.
  if (autoScroll_ && optionsPickup_.Contains(gpoCaptureRecord)) currentRecShot_->Release(true);
  if (OnMouseLeave) OnMouseLeave(this);
}

// ---- published interface ----

BV_PUBLISH(TDBTabulon, TCustomControl) {
  p.Property("TabStop", &TDBTabulon::TabStop, &TDBTabulon::SetTabStop).Default(1);
  p.Property("Color", &TDBTabulon::Color, &TDBTabulon::SetColor)
      .Type(TypeInfoTColor())
      .Stored(&TDBTabulon::IsColorStored)
      .Default(clWindow);
  p.Property("ShowHint", &TDBTabulon::ShowHint, &TDBTabulon::SetShowHint)
      .Stored(&TDBTabulon::IsShowHintStored)
      .Default(1);
  p.Property("BorderStyle", &TDBTabulon::BorderStyle, &TDBTabulon::SetBorderStyle).Default(bs3D);
  p.Property("ScrollBars", &TDBTabulon::ScrollBars, &TDBTabulon::SetScrollBars).Default(ssBoth);
  p.Property("TitleImages", &TDBTabulon::TitleImages, &TDBTabulon::SetTitleImages);
  p.Property("DataSource", &TDBTabulon::DataSource, &TDBTabulon::SetDataSource);
  p.Property("ParamsAutoSearch", &TDBTabulon::ParamsAutoSearch, &TDBTabulon::SetParamsAutoSearch);
  p.Property("ParamsDB", &TDBTabulon::ParamsDB, &TDBTabulon::SetParamsDB);
  p.Property("ParamsDelete", &TDBTabulon::ParamsDelete, &TDBTabulon::SetParamsDelete);
  p.Property("AutoColumnFit", &TDBTabulon::AutoColumnFit, &TDBTabulon::SetAutoColumnFit).Default(0);
  p.Property("TitleLines", &TDBTabulon::TitleLines, &TDBTabulon::SetTitleLines).Default(1);
  p.Property("RowLines", &TDBTabulon::RowLines, &TDBTabulon::SetRowLines).Default(1);
  p.Property("FootLines", &TDBTabulon::FootLines, &TDBTabulon::SetFootLines).Default(1);
  p.Property("UniqueFields", &TDBTabulon::UniqueFields, &TDBTabulon::SetUniqueFields);
  p.Property("BookmarkFields", &TDBTabulon::BookmarkFields, &TDBTabulon::SetBookmarkFields);
  p.Property("ShowTitles", &TDBTabulon::ShowTitles, &TDBTabulon::SetShowTitles).Default(1);
  p.Property("ShowFooters", &TDBTabulon::ShowFooters, &TDBTabulon::SetShowFooters).Default(0);
  p.Property("ShowEmptyRow", &TDBTabulon::ShowEmptyRow, &TDBTabulon::SetShowEmptyRow).Default(1);
  p.Property("RowSelect", &TDBTabulon::RowSelect, &TDBTabulon::SetRowSelect).Default(0);
  p.Property("MultiSelect", &TDBTabulon::MultiSelect, &TDBTabulon::SetMultiSelect).Default(0);
  p.Property("HideSelection", &TDBTabulon::HideSelection, &TDBTabulon::SetHideSelection).Default(1);
  p.Property("VertAlignment", &TDBTabulon::VertAlignment, &TDBTabulon::SetVertAlignment)
      .Default(tlCenter);
  p.Property("OptionsVisual", &TDBTabulon::OptionsVisual, &TDBTabulon::SetOptionsVisual)
      .Default(TtlOptionsVisual{});
  p.Property("OptionsBehavior", &TDBTabulon::OptionsBehavior, &TDBTabulon::SetOptionsBehavior)
      .Default(TtlOptionsBehavior{});
  p.Property("OptionsEdit", &TDBTabulon::OptionsEdit, &TDBTabulon::SetOptionsEdit)
      .Default(TtlOptionsEdit{});
  p.Property("OptionsPickup", &TDBTabulon::OptionsPickup, &TDBTabulon::SetOptionsPickup)
      .Default(TtlOptionsPickup{gpoReturnKey, gpoDblClick});
  p.Property("ReadOnly", &TDBTabulon::ReadOnly, &TDBTabulon::SetReadOnly).Default(0);
  p.Property("WantTabs", &TDBTabulon::WantTabs, &TDBTabulon::SetWantTabs).Default(1);
  p.Property("WantReturns", &TDBTabulon::WantReturns, &TDBTabulon::SetWantReturns).Default(1);
  p.Property("StripStep", &TDBTabulon::StripStep, &TDBTabulon::SetStripStep).Default(-1);
  p.Property("CursorType", &TDBTabulon::CursorType, &TDBTabulon::SetCursorType)
      .Default(gctSensitive);
  p.Property("Designer", &TDBTabulon::Designer, &TDBTabulon::SetDesigner);
  p.Property("Attrs", &TDBTabulon::Attrs, &TDBTabulon::SetAttrs);
  p.Property("Columns", &TDBTabulon::Columns, &TDBTabulon::SetColumns);
  p.Property("Mapper", &TDBTabulon::Mapper, &TDBTabulon::SetMapper);
  p.Property("DragMode", &TDBTabulon::DragMode, &TDBTabulon::SetDragMode).Default(dmManual);
  p.Event("OnAction", &TDBTabulon::OnAction, "TtlActionEvent");
  p.Event("OnColEnter", &TDBTabulon::OnColEnter, "TtlColEvent");
  p.Event("OnColExit", &TDBTabulon::OnColExit, "TtlColEvent");
  p.Event("OnColExiting", &TDBTabulon::OnColExiting, "TtlColEvent");
  p.Event("OnSelectionChange", &TDBTabulon::OnSelectionChange, "TNotifyEvent");
  p.Event("OnColMoved", &TDBTabulon::OnColMoved, "TtlColMovedEvent");
  p.Event("OnClick", &TDBTabulon::OnGridClick, "TtlClickEvent");
  p.Event("OnPickup", &TDBTabulon::OnPickup, "TNotifyEvent");
  p.Event("OnInitEdit", &TDBTabulon::OnInitEdit, "TNotifyEvent");
  p.Event("OnDrawCell", &TDBTabulon::OnDrawCell, "TtlDrawCellEvent");
  p.Event("OnGetRowAttrs", &TDBTabulon::OnGetRowAttrs, "TtlGetRowAttrsEvent");
  p.Event("OnCustomizerAction", &TDBTabulon::OnCustomizerAction, "TtlCustomizerActionEvent");
  p.Event("BeforeInsert", &TDBTabulon::BeforeInsert, "TtlBeforeInsertEvent");
  p.Event("AfterInsert", &TDBTabulon::AfterInsert, "TNotifyEvent");
  p.Event("AfterDelete", &TDBTabulon::AfterDelete, "TNotifyEvent");
  p.Event("BeforeFieldEdit", &TDBTabulon::BeforeFieldEdit, "TtlBeforeFieldEditEvent");
  p.Event("OnEditKeyPress", &TDBTabulon::OnEditKeyPress, "TtlEditKeyPressEvent");
  p.Event("AfterFieldPost", &TDBTabulon::AfterFieldPost, "TtlAfterFieldPostEvent");
  p.Event("OnTitleStateChange", &TDBTabulon::OnTitleStateChange, "TtlColumnEvent");
  p.Event("OnFooterStateChange", &TDBTabulon::OnFooterStateChange, "TtlColumnEvent");
  p.Event("OnMouseEnter", &TDBTabulon::OnMouseEnter, "TNotifyEvent");
  p.Event("OnMouseLeave", &TDBTabulon::OnMouseLeave, "TNotifyEvent");
  p.Event("OnFooterMenuPopup", &TDBTabulon::OnFooterMenuPopup, "TtlFooterMenuPopupEvent");
}

}  // namespace brevant

namespace brevant {

void RegisterGridClasses() {
  RegisterClasses({TDBTabulon::StaticClass(), TtlDesigner::StaticClass()});
  RegisterFieldVisionClasses();
}

}  // namespace brevant
