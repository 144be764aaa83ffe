#include "bv/field_list.h"

#include <cassert>

#include "bv/columns.h"
#include "bv/edit_list_data.h"
#include "bv/field_vision.h"
#include "bv_rtm/tokens.h"
#include "db/dataset.h"
#include "db/datasource.h"
#include "rtl/scope.h"
#include "rtl/stringlist.h"
#include "rtl/strutils.h"

namespace brevant {

BV_IMPLEMENT_CLASS(TtlFieldValue, TznUniValue)
BV_IMPLEMENT_CLASS(TfvCurrentValue, TtlFieldValue)

TtlFieldList::TtlFieldList(IznFieldVisionConsumer* consumer, TObject* owner, Byte kind,
                           TDataLink* link)
    : consumer_(consumer), owner_(owner), ownerKind_(kind), dataLink_(link) {
  assert(consumer_ && "every field list reports to the consumer that owns it");
  column_ = dynamic_cast<TtlColumn*>(owner);
  TakeVision(DefaultVision());
}

TtlFieldList::~TtlFieldList() {
  FreeEditListData();
  if (vision_) vision_->UnregisterFieldList(this);
}

TznEditListData& TtlFieldList::EditListData() {
  if (!editListData_) editListData_ = std::make_unique<TznEditListData>();
  return *editListData_;
}

TObjDataSet* TtlFieldList::EditObjDataSet() {
  return EditListData().DataSet();
}

TDataSource* TtlFieldList::EditDataSource() {
  return EditListData().DataSource();
}

void TtlFieldList::FreeEditListData() {
  editListData_.reset();
}

void TtlFieldList::TakeVision(TznFieldVision* vision) {
  vision_ = vision;
  if (!vision_) return;  // the process is ending
  vision_->RegisterFieldList(this);
  if (TComponent* component = consumer_->GetComponent()) vision_->FreeNotification(component);
}

void TtlFieldList::SetVision(TznFieldVision* vision) {
  TznFieldVision* effective = vision ? vision : DefaultVision();
  visionAssigned_ = vision != nullptr;
  if (effective == vision_) return;
  if (vision_) vision_->UnregisterFieldList(this);
  TakeVision(effective);
  consumer_->VisionChanged(vision);
}

void TtlFieldList::VisionGone(TznFieldVision* vision) {
  vision->UnregisterFieldList(this);
  if (vision_ != vision) return;
  vision_ = nullptr;
  SetVision(nullptr);
}

void TtlFieldList::Bind(TDataSet* dataSet) {
  dataSet_ = dataSet;
  const String related = vision_ ? vision_->RelatedFields() : String();
  const String names = related.empty() ? fieldNames_ : fieldNames_ + ";" + related;
  const bool open = dataSet && dataSet->Active();
  fields_.clear();
  TStringList parts;
  SplitTokens(names, ';', parts);
  for (Integer i = 0; i < parts.Count(); ++i) {
    TField* found = nullptr;
    if (open) {
      TStringList alternatives;
      SplitTokens(parts.Strings(i), ',', alternatives);
      for (Integer a = 0; a < alternatives.Count() && !found; ++a)
        found = dataSet->FindField(Trim(alternatives.Strings(a)));
    }
    fields_.push_back(found);
  }
  assert(!fields_.empty() && "a split always yields at least one part");
}

TField* TtlFieldList::Fields(Integer index) const {
  if (index < 0 || index >= FieldCount()) return nullptr;
  return fields_[static_cast<size_t>(index)];
}

bool TtlFieldList::CheckActive() {
  bool active = false;
  vision_->CheckFields(this, active);
  active_ = active;
  return active_;
}

bool TtlFieldList::CanEdit() {
  return vision_->CanModify(this) && consumer_->CanModify();
}

bool TtlFieldList::StartEdit(bool keepEditing) {
  // A nested start (from a handler of this one) starts nothing more.
  if (starting_) return editing_;
  // The consumer's handlers may free the list: restore only a living one.
  const std::weak_ptr<const bool> alive = alive_;
  TScopeGuard restore([this, alive] {
    if (!alive.expired()) starting_ = false;
  });
  starting_ = true;
  if (editing_) return true;
  if (!CanEdit() || !active_) return false;
  if (!consumer_->CanStartEdit() || alive.expired()) return false;
  if (!vision_->WritesWithoutEdit() && !(dataLink_ && dataLink_->Edit())) return false;
  if (alive.expired()) return false;
  consumer_->EditStarted();
  if (alive.expired()) return false;
  if (keepEditing) editing_ = true;
  return true;
}

void TtlFieldList::EndUpdate(bool posted) {
  assert(updateCount_ > 0 && "every EndUpdate closes a BeginUpdate");
  if (--updateCount_ == 0 && posted) consumer_->ValuePosted();
}

}  // namespace brevant
