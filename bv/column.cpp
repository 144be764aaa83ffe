#include "bv/column.h"

#include <algorithm>
#include <cassert>

#include "bv/columns.h"
#include "bv/datalink_ex.h"
#include "bv/field_list.h"
#include "bv/field_mapper.h"
#include "bv/field_vision.h"
#include "bv/group_info.h"
#include "bv/tabulon.h"
#include "bv_rtm/child_font.h"
#include "classes/component.h"
#include "classes/filer.h"
#include "classes/reader.h"
#include "classes/rtti_builder.h"
#include "classes/writer.h"
#include "controls/menus.h"
#include "graphics/bitmap.h"
#include "rtl/scope.h"

namespace brevant {

BV_ENUM_INFO(TtlColumnOptionVisual, cvoForeColorFill, cvoNoCaption, cvoNoFooterMarker, cvoWordWrap,
             cvoOwnerDraw)
BV_SET_INFO(TtlColumnOptionsVisual, TtlColumnOptionVisual)
BV_ENUM_INFO(TtlColumnOptionBehavior, cboNoTitleStates, cboNoFooterStates, cboFixedWidth,
             cboStandalone, cboNoDragging, cboNoCustomizing, cboNoSelecting)
BV_SET_INFO(TtlColumnOptionsBehavior, TtlColumnOptionBehavior)
BV_ENUM_INFO(TtlColumnOptionMapping, cioImportCaption, cioImportDomain)
BV_SET_INFO(TtlColumnOptionsMapping, TtlColumnOptionMapping)
BV_ENUM_INFO(TtlColumnFixed, cfNone, cfLeft)
BV_ENUM_INFO(TtlTitleState, tsSortedNone, tsSortedUp, tsSortedDown)
BV_ENUM_INFO(TtlFooterState, fsAverage, fsCount, fsMax, fsMin, fsSum, fsNone)
BV_SET_INFO(TtlFooterStates, TtlFooterState)

String FooterStateMarker(TtlFooterState state) {
  static const char* const markers[] = {"AVG", "", "MAX", "MIN", "SUM", ""};
  return markers[std::min<size_t>(state, fsNone)];
}

String FooterStateCaption(TtlFooterState state) {
  static const char* const captions[] = {"Average", "Count", "Maximum", "Minimum", "Sum", "None"};
  return captions[std::min<size_t>(state, fsNone)];
}

static TImageList* titleStateImages = nullptr;
TImageList* TitleStateImages() {
  return titleStateImages;
}
void SetTitleStateImages(TImageList* images) {
  titleStateImages = images;
}

// ---- TtlFooterAttrs ----

BV_IMPLEMENT_CLASS(TtlFooterAttrs, TPersistent)

void TtlFooterAttrs::Changed() {
  if (column_) column_->InvalidateColumn();
}

void TtlFooterAttrs::Reset() {
  backColor_ = fontColor_ = clNone;
  fontStyle_ = {};
  fontName_.clear();
  Changed();
}

void TtlFooterAttrs::Assign(const TPersistent* source) {
  if (auto* a = TryAs<TtlFooterAttrs>(source)) {
    backColor_ = a->backColor_;
    fontColor_ = a->fontColor_;
    fontStyle_ = a->fontStyle_;
    fontName_ = a->fontName_;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

// ---- TtlColumn: life ----

TtlColumn::TtlColumn(TCollection* collection)
    : TCollectionItem(collection),
      footerAttrs_(std::make_unique<TtlFooterAttrs>(this)),
      fieldList_(std::make_unique<TtlFieldList>(this, this, fokColumn, nullptr)),
      lowLevel_(std::make_unique<TtlColumnLowLevelInfo>()) {}

TtlColumn::~TtlColumn() = default;

void TtlColumn::SetCollection(TCollection* collection) {
  // The group belongs to the layout of the collection being left.
  groupInfo_ = nullptr;
  TCollectionItem::SetCollection(collection);
  // The column joins its collection after construction: the field list
  // follows the grid's link and Attrs from then on.
  TDBTabulon* grid = Grid();
  fieldList_->SetDataLink(grid ? grid->DataLink() : nullptr);
  fieldList_->SetAttrs(grid ? grid->Attrs() : String());
}

TtlColumns* TtlColumn::Columns() const {
  return TryAs<TtlColumns>(Collection());
}

TDBTabulon* TtlColumn::Grid() const {
  TtlColumns* columns = Columns();
  return columns ? columns->Grid() : nullptr;
}

bool TtlColumn::GridLoading() const {
  TDBTabulon* grid = Grid();
  return grid && grid->ComponentState().Contains(csLoading);
}

TDBTabulon* TtlColumn::ReportGrid() const {
  if (assigning_ || GridLoading()) return nullptr;
  return Grid();
}

TznFieldVision* TtlColumn::EffectiveVision() const {
  return fieldList_->Vision();
}

const String& TtlColumn::EffectiveCaption() const {
  return fieldList_->Caption();
}

String TtlColumn::DisplayName() const {
  if (!caption_.empty()) return caption_;
  if (!fieldName_.empty()) return fieldName_;
  return TCollectionItem::DisplayName();
}

void TtlColumn::ComponentFreed(TComponent* component) {
  if (component && component == popupMenu_) popupMenu_ = nullptr;
}

// ---- reports ----

void TtlColumn::InvalidateColumn() {
  if (TDBTabulon* grid = ReportGrid()) grid->InvalidateColumnCells(this);
}

void TtlColumn::TitleChanged() {
  if (TDBTabulon* grid = ReportGrid()) grid->InvalidateTitle(this);
}

void TtlColumn::ColumnLayoutChanged() {
  TDBTabulon* grid = ReportGrid();
  if (!grid) return;
  if (grid->MeasureLines())
    grid->Relayout(rlScrollWindow | rlInvalidate);
  else
    grid->InvalidateColumnCells(this);
}

void TtlColumn::ReportToCollection() {
  if (!assigning_) Changed(false);
}

// ---- binding ----

void TtlColumn::BindField() {
  TDBTabulon* grid = Grid();
  fieldList_->SetFieldNames(fieldName_);
  fieldList_->Bind(grid ? grid->DataSet() : nullptr);
  field_ = fieldList_->MainField();
  UpdateActive();
  UpdateDisplayAttrs();
  InvalidateColumn();
}

void TtlColumn::UpdateActive() {
  TDBTabulon* grid = Grid();
  bool active = grid && grid->DataLink() && grid->DataLink()->Active();
  if (active) EffectiveVision()->CheckFields(fieldList_.get(), active);
  fieldList_->SetActive(active);
}

static TAlignment MapAlignment(TznDefAlignment value) {
  switch (value) {
    case talRightJustify:
      return taRightJustify;
    case talCenter:
      return taCenter;
    default:
      return taLeftJustify;
  }
}

static TTextLayout MapLayout(TznDefLayout value) {
  switch (value) {
    case tlaTop:
      return tlTop;
    case tlaBottom:
      return tlBottom;
    default:
      return tlCenter;
  }
}

bool TtlColumn::UpdateDisplayAttrs() {
  TtlFieldList* list = fieldList_.get();
  TznFieldVision* vision = EffectiveVision();
  String caption = caption_;
  if (caption.empty() && vision) vision->GetCaption(list, caption);

  TAlignment alignment = taLeftJustify;
  TznDefAlignment own =
      vision && vision->Alignment() != talDefault ? vision->Alignment() : alignment_;
  if (own != talDefault)
    alignment = MapAlignment(own);
  else if (vision)
    alignment = vision->GetAlignment(list);

  TTextLayout layout = tlCenter;
  TznDefLayout proposed = vision ? vision->GetLayout(list) : tlaDefault;
  TDBTabulon* grid = Grid();
  if (vertAlignment_ != tlaDefault)
    layout = MapLayout(vertAlignment_);
  else if (proposed != tlaDefault || !grid)
    layout = MapLayout(proposed);
  else
    layout = grid->VertAlignment();

  const bool changed =
      caption != list->Caption() || alignment != list->Alignment() || layout != list->Layout();
  list->SetCaption(caption);
  list->SetAlignment(alignment);
  list->SetLayout(layout);
  return changed;
}

// ---- IznFieldVisionConsumer ----

TComponent* TtlColumn::GetComponent() {
  return Grid();
}

bool TtlColumn::CanModify() {
  TDBTabulon* grid = Grid();
  return !readOnly_ && !(grid && grid->ReadOnly());
}

bool TtlColumn::CanStartEdit() {
  if (!EffectiveVision()->AllowEdit(fieldList_.get())) return false;
  bool doEdit = true;
  TDBTabulon* grid = Grid();
  if (grid && grid->BeforeFieldEdit) grid->BeforeFieldEdit(grid, this, doEdit);
  return doEdit;
}

void TtlColumn::ValuePosted() {
  TDBTabulon* grid = Grid();
  TtlFieldEditAction action = feaNone;
  if (grid && grid->AfterFieldPost) grid->AfterFieldPost(grid, this, fpcNone, action);
}

void TtlColumn::VisionChanged(TznFieldVision* vision) {
  vision_ = vision;
  if (!mapping_ && HasMapper()) optionsMapping_.Exclude(cioImportDomain);
  BindField();
  ColumnLayoutChanged();
}

// ---- properties ----

void TtlColumn::SetFieldName(const String& value) {
  if (fieldName_ == value) return;
  fieldName_ = value;
  fieldList_->SetFieldNames(value);
  if (!GridLoading()) {
    BindField();
    ApplyMapping();
  }
}

void TtlColumn::SetVision(TznFieldVision* value) {
  if (vision_ == value) return;
  // The list reports a change of the vision in use through VisionChanged;
  // assigning the vision already in use (the default one) changes only
  // what is assigned.
  fieldList_->SetVision(value);
  vision_ = value;
  // A vision set by hand overrides the imported one.
  if (!mapping_ && HasMapper()) optionsMapping_.Exclude(cioImportDomain);
}

void TtlColumn::ApplyMapping() {
  TDBTabulon* grid = Grid();
  if (!grid || GridLoading() || !grid->Mapper() || fieldName_.empty() || optionsMapping_.Empty())
    return;
  TTemporaryChange mapping(mapping_, true);
  const TznMappingEntry* entry = grid->Mapper()->EntryForFields(fieldList_.get());
  if (optionsMapping_.Contains(cioImportDomain)) SetVision(entry ? entry->Vision : nullptr);
  if (optionsMapping_.Contains(cioImportCaption)) SetCaption(entry ? entry->Caption : String());
}

void TtlColumn::SetOptionsVisual(TtlColumnOptionsVisual value) {
  if (optionsVisual_ == value) return;
  const TtlColumnOptionsVisual changed =
      TtlColumnOptionsVisual::FromBits(optionsVisual_.Bits() ^ value.Bits());
  optionsVisual_ = value;
  InvalidateColumn();
  // The caption and the footer marker are shown by the title and footer.
  if (changed.Contains(cvoNoCaption)) TitleChanged();
  if (changed.Contains(cvoNoFooterMarker))
    if (TDBTabulon* grid = ReportGrid()) grid->InvalidateFooters();
}

void TtlColumn::SetOptionsBehavior(TtlColumnOptionsBehavior value) {
  if (optionsBehavior_ == value) return;
  const TtlColumnOptionsBehavior changed =
      TtlColumnOptionsBehavior::FromBits(optionsBehavior_.Bits() ^ value.Bits());
  optionsBehavior_ = value;
  TDBTabulon* grid = Grid();
  if (!grid || GridLoading()) return;
  TtlColumns* columns = Columns();
  // A column that may no longer share its group stands alone before it (a
  // hidden one only changes its group's summaries: it is not shown).
  if (changed.Contains(cboFixedWidth) || changed.Contains(cboStandalone)) {
    columns->RefreshGroupFlags(groupInfo_);
    if (visible_ && groupInfo_) columns->DetachColumn(this, groupInfo_);
  }
  if (changed.Contains(cboNoSelecting)) {
    columns->RebuildSelectable();
    if (grid->CurrentColumnObject() == this && !IsSelectable())
      grid->SelectColumn(columns->NearestSelectable());
  }
}

void TtlColumn::SetOptionsMapping(TtlColumnOptionsMapping value) {
  if (optionsMapping_ == value) return;
  optionsMapping_ = value;
  ApplyMapping();
}

void TtlColumn::SetFixed(TtlColumnFixed value) {
  if (fixed_ == value) return;
  fixed_ = value;
  if (Columns() && !GridLoading()) Columns()->ApplyFixedColumns();
}

const String& TtlColumn::DisplayFormat() const {
  return fieldList_->DisplayFormat();
}

void TtlColumn::SetDisplayFormat(const String& value) {
  if (fieldList_->DisplayFormat() == value) return;
  fieldList_->SetDisplayFormat(value);
  InvalidateColumn();
}

const String& TtlColumn::EditFormat() const {
  return fieldList_->EditFormat();
}

void TtlColumn::SetEditFormat(const String& value) {
  fieldList_->SetEditFormat(value);
}

void TtlColumn::SetCaption(const String& value) {
  if (caption_ == value) return;
  caption_ = value;
  // A typed caption overrides the imported one.
  if (!mapping_ && HasMapper()) optionsMapping_.Exclude(cioImportCaption);
  UpdateDisplayAttrs();
  TitleChanged();
}

void TtlColumn::SetCaptionAlignment(TznDefAlignment value) {
  if (captionAlignment_ == value) return;
  captionAlignment_ = value;
  TitleChanged();
}

TBitmap* TtlColumn::TitleGlyph() {
  if (!titleGlyph_) {
    titleGlyph_ = std::make_unique<TBitmap>();
    titleGlyph_->SetTransparent(true);
  }
  return titleGlyph_.get();
}

void TtlColumn::SetTitleGlyph(TBitmap* value) {
  if (value) {
    TitleGlyph()->Assign(value);
    titleGlyph_->SetTransparent(true);
  } else {
    titleGlyph_.reset();
  }
  titleImageIndex_ = -1;
  ColumnLayoutChanged();
}

void TtlColumn::SetTitleImageIndex(Integer value) {
  if (titleImageIndex_ == value) return;
  titleImageIndex_ = value;
  titleGlyph_.reset();
  ColumnLayoutChanged();
}

void TtlColumn::StoreSortOrder(Integer value) {
  sortOrder_ = value;
  // The grid's counter never falls behind an order in use, so a later sort
  // always gets a higher order than every stored one.
  if (TDBTabulon* grid = Grid(); grid && value > grid->SortCounter()) grid->SetSortCounter(value);
}

void TtlColumn::SetTitleState(TtlTitleState value) {
  if (titleState_ == value) return;
  const TtlTitleState old = titleState_;
  titleState_ = value;
  if (value == tsSortedNone) {
    sortOrder_ = -1;
  } else if (old == tsSortedNone) {
    if (TDBTabulon* grid = Grid()) {
      grid->SetSortCounter(grid->SortCounter() + 1);
      sortOrder_ = grid->SortCounter();
    }
  }
  TitleChanged();
}

void TtlColumn::SetFooterText(const String& value) {
  if (footerText_ == value) return;
  footerText_ = value;
  InvalidateColumn();
}

void TtlColumn::SetFooterTextAlignment(TznDefAlignment value) {
  if (footerTextAlignment_ == value) return;
  footerTextAlignment_ = value;
  InvalidateColumn();
}

void TtlColumn::SetFooterState(TtlFooterState value) {
  if (footerState_ == value) return;
  footerState_ = value;
  // A stored FooterText is read before FooterState: loading keeps it.
  if (!GridLoading()) footerText_.clear();
  InvalidateColumn();
}

bool TtlColumn::InLiveLayout() const {
  TtlColumns* columns = Columns();
  return columns && !GridLoading() && columns->UpdateCount() == 0;
}

void TtlColumn::SetWidth(Integer value) {
  value = std::max(value, 2);
  if (width_ == value) return;
  if (!visible_ || !InLiveLayout()) {
    width_ = value;
    return;
  }
  if (groupInfo_)
    ResizeInLayout(value);
  else
    width_ = value;
  ReportToCollection();
}

void TtlColumn::ResizeInLayout(Integer value) {
  TtlColumns* columns = Columns();
  TtlGroupInfo* group = groupInfo_;
  // The column's own width may change even with cboFixedWidth: the option
  // is dropped meanwhile and the group's summary follows it both ways.
  TScopeGuard refresh([columns, group] { columns->RefreshGroupFlags(group); });
  TtlColumnOptionsBehavior unfixed = optionsBehavior_;
  unfixed.Exclude(cboFixedWidth);
  TTemporaryChange<TtlColumnOptionsBehavior> drop(optionsBehavior_, unfixed);
  columns->RefreshGroupFlags(group);
  if (posInLine_ == 0 && lowLevel_->IsLastInLine)
    columns->ResizeGroup(group, value, 0);  // alone in its line: the whole group
  else
    columns->ResizeLine(group, line_, 0, true, value, this);
}

void TtlColumn::SetLayoutLevel(Integer value) {
  if (layoutLevel_ == value) return;
  if (!Grid() || GridLoading() || !groupInfo_) {
    layoutLevel_ = value;
    if (Grid() && !GridLoading()) ReportToCollection();
    return;
  }
  Columns()->MoveColumn(this, groupInfo_, value, layoutIndex_);
}

void TtlColumn::SetLayoutIndex(Integer value) {
  if (layoutIndex_ == value) return;
  if (!Grid() || GridLoading() || !groupInfo_) {
    layoutIndex_ = value;
    if (Grid() && !GridLoading()) ReportToCollection();
    return;
  }
  Columns()->MoveColumn(this, groupInfo_, layoutLevel_, value);
}

void TtlColumn::SetColor(TColor value) {
  if (color_ == value) return;
  color_ = value;
  InvalidateColumn();
}

void TtlColumn::SetAlignment(TznDefAlignment value) {
  if (alignment_ == value) return;
  alignment_ = value;
  UpdateDisplayAttrs();
  InvalidateColumn();
}

void TtlColumn::SetVertAlignment(TznDefLayout value) {
  if (vertAlignment_ == value) return;
  vertAlignment_ = value;
  UpdateDisplayAttrs();
  InvalidateColumn();
}

TChildFont* TtlColumn::Font() {
  if (!font_) {
    font_ = std::make_unique<TChildFont>();
    font_->OnChange =
        TChildFontChangeEvent::FromCallable([this](TChildFont* f) { FontChanged(f); });
  }
  return font_.get();
}

void TtlColumn::FontChanged(TChildFont*) {
  ColumnLayoutChanged();
}

void TtlColumn::SetFont(TChildFont* value) {
  if (value) {
    if (value != font_.get()) Font()->Assign(value);
    return;
  }
  if (!font_) return;
  font_.reset();
  ColumnLayoutChanged();
}

void TtlColumn::SetPopupMenu(TPopupMenu* value) {
  if (popupMenu_ == value) return;
  popupMenu_ = value;
  // The grid hears of the menu's end and clears the reference.
  if (TDBTabulon* grid = Grid(); grid && value) value->FreeNotification(grid);
}

void TtlColumn::SetVisible(bool value) {
  if (visible_ == value) return;
  if (!InLiveLayout()) {
    visible_ = value;
    return;
  }
  if (groupInfo_)
    ShowInLayout(value);
  else
    visible_ = value;
  ReportToCollection();
  // A group that turns fixed by showing a column (its first column, or the
  // column after a hidden fixed first one) joins the fixed groups.
  TtlColumns* columns = Columns();
  if (columns->LayoutReason() == lrNone && columns->FixedBehindScrollable())
    columns->ApplyFixedColumns();
}

void TtlColumn::ShowInLayout(bool value) {
  TtlColumns* columns = Columns();
  TtlGroupInfo* group = groupInfo_;
  if (!value) {
    const bool alone = posInLine_ == 0 && lowLevel_->IsLastInLine;
    visible_ = false;
    // The rest of the line takes the width; a line of its own just goes.
    if (!alone) columns->ResizeLine(group, line_, width_, false, 0, nullptr);
    return;
  }
  // The line the column joins makes room for it.
  for (Integer j = group->FirstColumn; j <= group->LastColumn && j < columns->Count(); ++j) {
    const TtlColumn* c = columns->Items(j);
    if (c == this || !c->visible_ || c->layoutLevel_ != layoutLevel_) continue;
    columns->ResizeLine(group, c->line_, -width_, false, 0, nullptr);
    break;
  }
  visible_ = true;
}

void TtlColumn::SetIndex(Integer index) {
  TtlColumns* columns = Columns();
  if (!columns || columns->LayoutReason() != lrNone) {
    TCollectionItem::SetIndex(index);
    return;
  }
  columns->MoveGroupToIndex(this, index);
}

void TtlColumn::BeforeDestruction() {
  TtlColumns* columns = Columns();
  TDBTabulon* grid = Grid();
  const bool regroup = columns && columns->UpdateCount() == 0 &&
                       !(grid && grid->ComponentState().Contains(csDestroying));
  if (regroup) {
    // Its former group is renumbered, so the columns left behind keep
    // their group and a first column that starts it.
    TCollectionUpdate update(columns);
    if (!visible_) {
      visible_ = true;
      columns->RelayoutNow();
      if (grid) grid->MeasureLines();
    }
    Integer first = 0, last = 0;
    columns->GroupRange(columns->IndexOfColumn(this), first, last);
    columns->DetachBefore(this, columns->Items(first));
  }
  TCollectionItem::BeforeDestruction();
}

void TtlColumn::SetLineHeights(Integer title, Integer cell, Integer footer) {
  titleLineHeight_ = title;
  cellLineHeight_ = cell;
  footerLineHeight_ = footer;
}

// ---- stored conditions ----

bool TtlColumn::HasMapper() const {
  TDBTabulon* grid = Grid();
  return grid && grid->Mapper();
}
// Imported values come from the mapper again when the form is read.
bool TtlColumn::IsVisionStored() const {
  return vision_ != nullptr && !(optionsMapping_.Contains(cioImportDomain) && HasMapper());
}
bool TtlColumn::IsCaptionStored() const {
  return !caption_.empty() && !(optionsMapping_.Contains(cioImportCaption) && HasMapper());
}
bool TtlColumn::IsTitleGlyphStored() const {
  return titleGlyph_ && !titleGlyph_->Empty();
}

// ---- operations ----

bool TtlColumn::IsSelectable() const {
  return visible_ && !optionsBehavior_.Contains(cboNoSelecting);
}

void TtlColumn::ChangeTitleState(TtlTitleState state, bool exclusive, bool notify) {
  if (state == titleState_) return;
  TDBTabulon* grid = Grid();
  if (exclusive && Columns()) {
    for (Integer i = 0; i < Columns()->Count(); ++i)
      Columns()->Items(i)->SetTitleState(tsSortedNone);
  }
  SetTitleState(state);
  if (notify && grid && grid->OnTitleStateChange) grid->OnTitleStateChange(grid, this);
}

void TtlColumn::ChangeFooterState(TtlFooterState state) {
  if (state == footerState_) return;
  {
    TTemporaryChange assigning(assigning_, true);
    SetFooterState(state);
  }
  // The handler may free the column: only a living one is repainted.
  const std::weak_ptr<const bool> alive = alive_;
  TScopeGuard repaint([this, alive] {
    if (!alive.expired()) InvalidateColumn();
  });
  if (TDBTabulon* grid = Grid(); grid && grid->OnFooterStateChange)
    grid->OnFooterStateChange(grid, this);
}

// ---- copies ----

void TtlColumn::FinishCopy() {
  BindField();
  ApplyMapping();
  Changed(false);
}

void TtlColumn::CopyGeometry(const TtlColumn* source) {
  width_ = source->width_;
  layoutLevel_ = source->layoutLevel_;
  layoutIndex_ = source->layoutIndex_;
  line_ = source->line_;
  posInLine_ = source->posInLine_;
}

void TtlColumn::CopyStates(const TtlColumn* source) {
  titleState_ = source->titleState_;
  StoreSortOrder(source->sortOrder_);
  footerState_ = source->footerState_;
}

void TtlColumn::CopyVisual(const TtlColumn* source) {
  optionsVisual_ = source->optionsVisual_;
  color_ = source->color_;
  alignment_ = source->alignment_;
  SetFont(source->font_.get());
}

void TtlColumn::Assign(const TPersistent* source) {
  auto* c = TryAs<TtlColumn>(source);
  if (!c) {
    TCollectionItem::Assign(source);
    return;
  }
  if (c == this) return;
  // The copy always ends re-bound and reported, also when a step fails.
  TScopeGuard finish([this] { FinishCopy(); });
  TTemporaryChange assigning(assigning_, true);
  CopyGeometry(c);
  visible_ = c->visible_;
  caption_ = c->caption_;
  SetTitleGlyph(c->IsTitleGlyphStored() ? c->titleGlyph_.get() : nullptr);
  captionAlignment_ = c->captionAlignment_;
  titleImageIndex_ = c->titleImageIndex_;
  CopyStates(c);
  footerText_ = c->footerText_;
  footerTextAlignment_ = c->footerTextAlignment_;
  footerStates_ = c->footerStates_;
  CopyVisual(c);
  SetPopupMenu(c->popupMenu_);
  readOnly_ = c->readOnly_;
  SetVision(c->vision_);
  SetFieldName(c->fieldName_);
  optionsBehavior_ = c->optionsBehavior_;
  optionsMapping_ = c->optionsMapping_;
  tag_ = c->tag_;
}

void TtlColumn::CopyFrom(const TtlColumn* source, Cardinal mask) {
  if (mask == 0) {
    Assign(source);
    return;
  }
  if (!source || source == this) return;
  TScopeGuard finish([this] { FinishCopy(); });
  TTemporaryChange assigning(assigning_, true);
  if (mask & cmkGeometry) CopyGeometry(source);
  if (mask & cmkVisible) visible_ = source->visible_;
  if (mask & cmkStates) CopyStates(source);
  if (mask & cmkVisual) CopyVisual(source);
  if (mask & cmkFieldName) SetFieldName(source->fieldName_);
  if (mask & cmkVision) SetVision(source->vision_);
  if (mask & cmkBehavior) optionsBehavior_ = source->optionsBehavior_;
}

// ---- streaming ----

void TtlColumn::DefineProperties(TFiler* filer) {
  TCollectionItem::DefineProperties(filer);
  filer->DefineProperty(
      "SortOrder", [this](TReader& r) { StoreSortOrder(r.ReadInteger()); },
      [this](TWriter& w) { w.WriteInteger(sortOrder_); }, sortOrder_ != -1);
}

BV_PUBLISH(TtlColumn, TCollectionItem) {
  p.Property("FieldName", &TtlColumn::FieldName, &TtlColumn::SetFieldName);
  p.Property("Vision", &TtlColumn::Vision, &TtlColumn::SetVision)
      .Stored(&TtlColumn::IsVisionStored);
  p.Property("OptionsVisual", &TtlColumn::OptionsVisual, &TtlColumn::SetOptionsVisual)
      .Default(TtlColumnOptionsVisual{});
  p.Property("OptionsBehavior", &TtlColumn::OptionsBehavior, &TtlColumn::SetOptionsBehavior)
      .Default(TtlColumnOptionsBehavior{});
  p.Property("OptionsMapping", &TtlColumn::OptionsMapping, &TtlColumn::SetOptionsMapping)
      .Default(TtlColumnOptionsMapping{cioImportCaption, cioImportDomain});
  p.Property("Fixed", &TtlColumn::Fixed, &TtlColumn::SetFixed).Default(cfNone);
  p.Property("DisplayFormat", &TtlColumn::DisplayFormat, &TtlColumn::SetDisplayFormat);
  p.Property("EditFormat", &TtlColumn::EditFormat, &TtlColumn::SetEditFormat);
  p.Property("Caption", &TtlColumn::Caption, &TtlColumn::SetCaption)
      .Stored(&TtlColumn::IsCaptionStored);
  p.Property("CaptionAlignment", &TtlColumn::CaptionAlignment, &TtlColumn::SetCaptionAlignment)
      .Default(talDefault);
  p.Property("TitleGlyph", &TtlColumn::TitleGlyph, &TtlColumn::SetTitleGlyph)
      .Stored(&TtlColumn::IsTitleGlyphStored);
  p.Property("TitleImageIndex", &TtlColumn::TitleImageIndex, &TtlColumn::SetTitleImageIndex)
      .Default(-1);
  p.Property("TitleState", &TtlColumn::TitleState, &TtlColumn::SetTitleState).Default(tsSortedNone);
  p.Property("FooterText", &TtlColumn::FooterText, &TtlColumn::SetFooterText);
  p.Property("FooterTextAlignment", &TtlColumn::FooterTextAlignment,
             &TtlColumn::SetFooterTextAlignment)
      .Default(talDefault);
  p.Property("FooterState", &TtlColumn::FooterState, &TtlColumn::SetFooterState).Default(fsNone);
  p.Property("FooterStates", &TtlColumn::FooterStates, &TtlColumn::SetFooterStates)
      .Default(TtlFooterStates{fsAverage, fsCount, fsMax, fsMin, fsSum, fsNone});
  p.Property("Tag", &TtlColumn::Tag, &TtlColumn::SetTag).Default(0);
  p.Property("Width", &TtlColumn::Width, &TtlColumn::SetWidth).Default(45);
  p.Property("LayoutLevel", &TtlColumn::LayoutLevel, &TtlColumn::SetLayoutLevel).Default(0);
  p.Property("LayoutIndex", &TtlColumn::LayoutIndex, &TtlColumn::SetLayoutIndex).Default(0);
  p.Property("ReadOnly", &TtlColumn::ReadOnly, &TtlColumn::SetReadOnly).Default(0);
  p.Property("Color", &TtlColumn::Color, &TtlColumn::SetColor)
      .Type(TypeInfoTColor())
      .Default(clNone);
  p.Property("Alignment", &TtlColumn::Alignment, &TtlColumn::SetAlignment).Default(talDefault);
  p.Property("VertAlignment", &TtlColumn::VertAlignment, &TtlColumn::SetVertAlignment)
      .Default(tlaDefault);
  p.Property("Font", &TtlColumn::Font, &TtlColumn::SetFont).Stored(&TtlColumn::IsFontStored);
  p.Property("PopupMenu", &TtlColumn::PopupMenu, &TtlColumn::SetPopupMenu);
  p.Property("Visible", &TtlColumn::Visible, &TtlColumn::SetVisible).Default(1);
}

}  // namespace brevant
