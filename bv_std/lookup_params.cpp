// TVLookupParams: validity, notifications and the key index.
#include "bv_std/lookup_params.h"

#include "bv/datalink_ex.h"
#include "bv_std/lookup_visions_v.h"
#include "classes/rtti_builder.h"
#include "db/dataset.h"
#include "db/datasource.h"
#include "db/field.h"
#include "db/field_types.h"

namespace brevant {

BV_PUBLISH(TVLookupParams, TPersistent) {
  using P = TVLookupParams;
  p.Property("KeyField", &P::KeyField, &P::SetKeyField);
  p.Property("LookupField", &P::LookupField, &P::SetLookupField);
  p.Property("ImageField", &P::ImageField, &P::SetImageField);
  p.Property("DescriptionField", &P::DescriptionField, &P::SetDescriptionField);
  p.Property("DataSource", &P::DataSource, &P::SetDataSource);
  p.Property("EditDataSource", &P::EditDataSource, &P::SetEditDataSource);
}

TVLookupParams::TVLookupParams(TVLookupVision* vision)
    : vision_(vision), link_(std::make_unique<TDataLinkEx>()) {
  link_->SetBufferCount(2);
  link_->OnActiveChanged = decltype(link_->OnActiveChanged)::Of<&TVLookupParams::LinkChanged>(this);
  link_->OnDataSetChanged =
      decltype(link_->OnDataSetChanged)::Of<&TVLookupParams::LinkChanged>(this);
  link_->OnLayoutChanged = decltype(link_->OnLayoutChanged)::Of<&TVLookupParams::LinkChanged>(this);
  link_->OnEditingChanged =
      decltype(link_->OnEditingChanged)::Of<&TVLookupParams::LinkChanged>(this);
  link_->OnRecordChanged =
      decltype(link_->OnRecordChanged)::Of<&TVLookupParams::RecordChanged>(this);
}

TVLookupParams::~TVLookupParams() {
  link_->OnActiveChanged = {};
  link_->OnDataSetChanged = {};
  link_->OnLayoutChanged = {};
  link_->OnEditingChanged = {};
  link_->OnRecordChanged = {};
}

TDataSet* TVLookupParams::LookupDataSet() const {
  return dataSource_ ? dataSource_->DataSet() : nullptr;
}

bool TVLookupParams::Valid() const {
  TDataSet* ds = LookupDataSet();
  if (!ds || !ds->Active()) return false;
  TField* lookup = ds->FindField(lookupField_);
  TField* key = ds->FindField(keyField_);
  return lookup && !lookup->IsBlob() && key && !key->IsBlob();
}

void TVLookupParams::RebuildCombined() {
  combinedFields_ = imageField_ + ";" + lookupField_;
  index_.reset();
}

void TVLookupParams::UpdateStates() {
  TDataSet* ds = LookupDataSet();
  browsing_ = ds && ds->State() == dsBrowse;
  TField* image = ds && ds->Active() ? ds->FindField(imageField_) : nullptr;
  numericImage_ = dynamic_cast<TNumericField*>(image) != nullptr;
}

void TVLookupParams::SetKeyField(const String& value) {
  if (keyField_ == value) return;
  keyField_ = value;
  RebuildCombined();
  if (vision_) vision_->ParamsFieldsChanged();
  if (vision_) vision_->ParamsRepaint();
}

void TVLookupParams::SetLookupField(const String& value) {
  if (lookupField_ == value) return;
  lookupField_ = value;
  RebuildCombined();
  if (vision_) vision_->ParamsFieldsChanged();
  if (vision_) vision_->ParamsRepaint();
}

void TVLookupParams::SetImageField(const String& value) {
  if (imageField_ == value) return;
  imageField_ = value;
  RebuildCombined();
  UpdateStates();
  if (vision_) vision_->ParamsRepaint();
}

void TVLookupParams::SetDataSource(TDataSource* value) {
  if (dataSource_ == value) return;
  if (dataSource_ && vision_) dataSource_->RemoveFreeNotification(vision_);
  dataSource_ = value;
  if (dataSource_ && vision_) dataSource_->FreeNotification(vision_);
  index_.reset();
  link_->SetDataSource(value);
  UpdateStates();
}

void TVLookupParams::SetEditDataSource(TDataSource* value) {
  if (editDataSource_ == value) return;
  if (editDataSource_ && vision_) editDataSource_->RemoveFreeNotification(vision_);
  editDataSource_ = value;
  if (editDataSource_ && vision_) editDataSource_->FreeNotification(vision_);
}

void TVLookupParams::SourceRemoved(TDataSource* source) {
  if (source == editDataSource_) editDataSource_ = nullptr;
  if (source != dataSource_) return;
  dataSource_ = nullptr;
  index_.reset();
  link_->SetDataSource(nullptr);
  UpdateStates();
}

bool TVLookupParams::VisionGoing() const {
  return !vision_ || vision_->ComponentState().Contains(csDestroying);
}

void TVLookupParams::LinkChanged(TDataLinkEx*) {
  index_.reset();
  if (VisionGoing()) return;
  UpdateStates();
  vision_->ParamsFieldsChanged();
  if (browsing_) vision_->ParamsRepaint();
}

void TVLookupParams::RecordChanged(TDataLinkEx*, TField*) {
  index_.reset();
}

void TVLookupParams::BuildIndex() {
  index_ = std::make_unique<std::unordered_map<String, TEntry>>();
  ++scanCount_;
  TDataSet* ds = LookupDataSet();
  TField* key = ds->FindField(keyField_);
  TField* lookup = ds->FindField(lookupField_);
  TField* image = ds->FindField(imageField_);
  if (!key || !lookup) return;
  ds->ScanRecords([&] {
    if (!key->IsNull())
      index_->try_emplace(key->AsString(),
                          TEntry{lookup->AsVariant(), image ? image->AsVariant() : Null()});
    return false;
  });
}

bool TVLookupParams::Find(const Variant& key, Variant& lookupValue, Variant& imageValue) {
  if (VarIsNull(key) || VarIsEmpty(key) || !Valid()) return false;
  if (!index_) BuildIndex();
  auto found = index_->find(VarToStr(key));
  if (found == index_->end()) return false;
  lookupValue = found->second.Lookup;
  imageValue = found->second.Image;
  return true;
}

void TVLookupParams::Assign(const TPersistent* source) {
  auto* other = dynamic_cast<const TVLookupParams*>(source);
  if (!other) {
    inherited::Assign(source);
    return;
  }
  SetDataSource(other->dataSource_);
  SetKeyField(other->keyField_);
  SetLookupField(other->lookupField_);
  SetImageField(other->imageField_);
  SetDescriptionField(other->descriptionField_);
}

}  // namespace brevant
