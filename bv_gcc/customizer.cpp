#include "bv_gcc/customizer.h"

#include <algorithm>

#include "bv/base_designer.h"
#include "bv/column.h"
#include "bv/columns.h"
#include "bv/grid_messages.h"
#include "bv/tabulon.h"
#include "bv_db/obj_dataset.h"
#include "bv_gcc/customizer_drag.h"
#include "bv_gcc/customizer_strings.h"
#include "bv_gcc/customizer_unit.h"
#include "classes/collection.h"
#include "classes/rtti_builder.h"
#include "controls/extctrls.h"
#include "controls/form_resources.h"
#include "controls/stdctrls.h"
#include "controls/wincore.h"
#include "db/datasource.h"
#include "rtl/scope.h"
#include "rtl/stringlist.h"

namespace brevant {

BV_PUBLISH(TbvTabulonCustomizer, TForm) {
  using C = TbvTabulonCustomizer;
  p.Method<TNotifyEvent, &C::FormShow>("FormShow");
  p.Method<TCloseEvent, &C::FormClose>("FormClose");
  p.Method<TNotifyEvent, &C::btnCloseClick>("btnCloseClick");
  p.Method<TDragOverEvent, &C::tlListDragOver>("tlListDragOver");
  p.Method<TDragDropEvent, &C::tlListDragDrop>("tlListDragDrop");
}

// The generated registration of the customizer's form text.
void RegisterCustomizerFormText();

void RegisterCustomizerClasses() {
  [[maybe_unused]] static const bool registered = [] {
    RegisterStdControlClasses();
    RegisterGridClasses();
    RegisterClasses({TObjDataSet::StaticClass(), TDataSource::StaticClass(),
                     TtlBaseDesigner::StaticClass(), TbvTabulonCustomizer::StaticClass()});
    RegisterCustomizerFormText();
    return true;
  }();
}

TbvTabulonCustomizer::TbvTabulonCustomizer(TComponent* owner)
    : TForm(owner), entries_(std::make_unique<TStringList>()) {}

TbvTabulonCustomizer::~TbvTabulonCustomizer() = default;

void TbvTabulonCustomizer::Loaded() {
  TForm::Loaded();
  BindComponent(this, "tlList", tlList);
  BindComponent(this, "datFields", datFields);
  BindComponent(this, "dsFields", dsFields);
  BindComponent(this, "ldDesigner", ldDesigner);
  BindComponent(this, "pnBottom", pnBottom);
  BindComponent(this, "btnClose", btnClose);
}

void TbvTabulonCustomizer::BeforeDestruction() {
  // Freed without closing (the application ends): the grid still hears
  // that its customizer goes.
  Detach();
  ForgetCustomizer(this);
  // The dataset must not read the entries while both go.
  if (datFields) datFields->Close();
  TForm::BeforeDestruction();
}

void TbvTabulonCustomizer::Setup(TDBTabulon* grid, const String& names, const String& captions,
                                 const String& shown, bool showHidden) {
  grid_ = grid;
  showHidden_ = showHidden;
  lists_.Assign(grid, names, captions, shown);
}

String TbvTabulonCustomizer::SelectedName() const {
  if (!datFields || !datFields->Active() || datFields->IsEmpty()) return String();
  return lists_.EntryName(datFields->RecNo() - 1);
}

Integer TbvTabulonCustomizer::FitHeight(Integer requested) const {
  const Integer rowHeight = tlList->RowHeight();
  if (rowHeight <= 0) return requested;
  const Integer overhead = Height() - ClientHeight() + tlList->Height() - tlList->ClientHeight();
  const Integer rows = std::max<Integer>(2, (requested - overhead) / rowHeight);
  return overhead + rows * rowHeight;
}

// ---- opening and closing ----

void TbvTabulonCustomizer::FormShow(TObject*) {
  SetCaption(bvres::SCustomizerCaption);
  btnClose->SetCaption(bvres::SCustomizerClose);
  datFields->SetObjectRef(entries_.get());
  lists_.Rebuild(*entries_);
  datFields->Open();
  if (grid_) {
    SendToGrid(gcaAttach, this);
    attached_ = true;
    grid_->FreeNotification(this);
  }
  const TRect remembered = CustomizerBounds();
  {
    TTemporaryChange fitting(snapping_, true);
    SetBounds(remembered.Left + 8, remembered.Top + 8, remembered.Width(), remembered.Height());
    SetBounds(Left(), Top(), Width(), FitHeight(remembered.Height()));
  }
  fitBounds_ = BoundsRect();
}

void TbvTabulonCustomizer::FormClose(TObject*, TCloseAction& action) {
  Detach();
  action = caFree;
  if (replaced_) return;
  ForgetCustomizer(this);
  CustomizerBounds() = BoundsRect();
}

void TbvTabulonCustomizer::btnCloseClick(TObject*) {
  Close();
}

void TbvTabulonCustomizer::Detach() {
  if (HandleAllocated()) std::erase(CustomizerWindows(), Handle());
  TDBTabulon* grid = std::exchange(grid_, nullptr);
  if (!grid) return;
  grid->RemoveFreeNotification(this);
  if (std::exchange(attached_, false))
    SendMessage(grid->Handle(), WM_TL_CUSTOMIZER, gcaDetach, reinterpret_cast<LPARAM>(this));
}

void TbvTabulonCustomizer::Notification(TComponent* component, TOperation operation) {
  TForm::Notification(component, operation);
  if (operation != opRemove || !component || component != grid_) return;
  // The grid is half destroyed: it is dropped first, so closing sends it
  // nothing.
  grid_ = nullptr;
  attached_ = false;
  Close();
}

// ---- sizing: whole rows only ----

void TbvTabulonCustomizer::WMSize(TMessage& message) {
  TForm::WMSize(message);
  if (snapping_ || !HandleAllocated() || !Visible() || !tlList) return;
  const TRect now = BoundsRect();
  const Integer height = FitHeight(now.Height());
  if (height != now.Height()) {
    // The edge the user dragged moves; the other one stays.
    const bool topDragged = now.Top != fitBounds_.Top && now.Bottom == fitBounds_.Bottom;
    TRect fitted = now;
    if (topDragged)
      fitted.Top = now.Bottom - height;
    else
      fitted.Bottom = now.Top + height;
    TTemporaryChange fitting(snapping_, true);
    SetBoundsRect(fitted);
  }
  fitBounds_ = BoundsRect();
}

void TbvTabulonCustomizer::WMMove(TMessage& message) {
  TForm::WMMove(message);
  // A plain move (no size change) becomes the reference of the next resize.
  if (!snapping_ && Height() == fitBounds_.Height()) fitBounds_ = BoundsRect();
}

// ---- dragging onto the list ----

void TbvTabulonCustomizer::tlListDragOver(TObject*, TObject* source, Integer, Integer, TDragState,
                                          bool& accept) {
  accept = false;
  if (!grid_ || source != grid_) return;
  const TtlColumnDragInfo drag = ColumnDragOf(grid_);
  accept = drag.Column && lists_.HasName(drag.Column->FieldName()) &&
           !drag.Column->OptionsBehavior().Contains(cboNoCustomizing);
}

void TbvTabulonCustomizer::tlListDragDrop(TObject*, TObject* source, Integer, Integer) {
  if (!grid_ || source != grid_) return;
  const TtlColumnDragInfo drag = ColumnDragOf(grid_);
  if (!drag.Column) return;
  SendToGrid(showHidden_ ? gcaHideDragged : gcaDeleteDragged, drag.Column);
}

// ---- the protocol ----

LRESULT TbvTabulonCustomizer::SendToGrid(TtlCustomizerAction action, TObject* object) {
  if (!grid_) return 0;
  return SendMessage(grid_->Handle(), WM_TL_CUSTOMIZER, action, reinterpret_cast<LPARAM>(object));
}

void TbvTabulonCustomizer::Dispatch(TMessage& message) {
  if (message.Msg == WM_TL_CUSTOMIZER)
    WMCustomizer(message);
  else
    TForm::Dispatch(message);
}

// A column handed over by the grid, when it is one of the grid's or the
// temporary column of a drop; nil otherwise.
static TtlColumn* ColumnOf(const TMessage& message) {
  return reinterpret_cast<TtlColumn*>(message.LParam);
}

void TbvTabulonCustomizer::WMCustomizer(TMessage& message) {
  switch (static_cast<TtlCustomizerAction>(message.WParam & 0xFF)) {
    case gcaFillFieldName:
      FillFieldName(ColumnOf(message));
      break;
    case gcaColumnCreated:
    case gcaColumnShown:
      ExcludeColumn(ColumnOf(message));
      break;
    case gcaDeleteDragged:
    case gcaHideDragged:
      DropDraggedColumn(ColumnOf(message));
      break;
    case gcaDragQuery:
      message.Result = DraggedEntryColumn();
      break;
    case gcaDropped:
      PerformDrop();
      break;
    default:
      break;
  }
}

void TbvTabulonCustomizer::FillFieldName(TtlColumn* column) {
  if (column) column->SetFieldName(SelectedName());
}

void TbvTabulonCustomizer::ExcludeColumn(TtlColumn* column) {
  if (!column) return;
  lists_.AddShown(column->FieldName());
  RefreshEntries();
}

void TbvTabulonCustomizer::DropDraggedColumn(TtlColumn* column) {
  // Only a column the grid still holds is touched.
  if (!grid_ || !column || grid_->Columns()->IndexOfColumn(column) < 0) return;
  lists_.RemoveShown(column->FieldName());
  if (showHidden_)
    column->SetVisible(false);
  else
    TObject::Free(column);
  RefreshEntries();
}

LRESULT TbvTabulonCustomizer::DraggedEntryColumn() const {
  const String name = SelectedName();
  if (!grid_ || name.empty()) return 0;
  return reinterpret_cast<LRESULT>(grid_->Columns()->FindByFieldName(name));
}

void TbvTabulonCustomizer::PerformDrop() {
  if (!grid_ || SelectedName().empty()) return;
  if (showHidden_)
    ShowEntryColumn();
  else
    CreateEntryColumn();
}

// The group a drop target names; nil for the end or no group.
static TtlGroupInfo* TargetGroup(TtlColumns* columns, const TtlColumnDragInfo& drop) {
  if (drop.DropGroup < 0 || drop.DropGroup >= columns->GroupCount()) return nullptr;
  return columns->Groups(drop.DropGroup);
}

// The place in the line a drop target names (-1: a new line).
static Integer TargetIndex(const TtlColumnDragInfo& drop) {
  return drop.DropKind == dkNewLine ? -1 : drop.DropPosition;
}

void TbvTabulonCustomizer::ShowEntryColumn() {
  TtlColumns* columns = grid_->Columns();
  TtlColumn* column = columns->FindByFieldName(SelectedName());
  if (!column) return;
  const TtlColumnDragInfo drop = ColumnDragOf(grid_);
  {
    TCollectionUpdate update(columns);
    column->SetVisible(true);
    TtlGroupInfo* target = TargetGroup(columns, drop);
    if (drop.DropKind == dkNewGroup)
      columns->DetachColumn(column, target);
    else if ((drop.DropKind == dkNewLine || drop.DropKind == dkIntoLine) && target)
      columns->MoveColumn(column, target, drop.DropLine, TargetIndex(drop));
  }
  SendToGrid(gcaColumnShown, column);
}

void TbvTabulonCustomizer::CreateEntryColumn() {
  TtlColumns* columns = grid_->Columns();
  TObjectPtr<TtlColumn> temporary = MakeObject<TtlColumn>(nullptr);
  SendToGrid(gcaFillFieldName, temporary.get());
  if (temporary->FieldName().empty()) return;
  const TtlColumnDragInfo drop = ColumnDragOf(grid_);
  TtlGroupInfo* target = TargetGroup(columns, drop);
  TtlColumn* column = nullptr;
  if (drop.DropKind == dkNone || (!target && drop.DropKind != dkNewGroup))
    column = columns->AddColumn(nullptr, -1, 0, temporary.get());
  else if (drop.DropKind == dkNewGroup)
    column = columns->AddColumn(target, -1, 0, temporary.get());
  else
    column = columns->AddColumn(target, drop.DropLine, TargetIndex(drop), temporary.get());
  SendToGrid(gcaColumnCreated, column);
}

void TbvTabulonCustomizer::RefreshEntries() {
  lists_.Rebuild(*entries_);
  if (datFields && datFields->Active()) datFields->Refresh();
}

}  // namespace brevant
