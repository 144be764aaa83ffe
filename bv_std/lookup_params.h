// TVLookupParams: where a TVLookupVision looks its keys up (dataset, key,
// text, image and description fields) and the index that makes a lookup per
// cell cost a hash probe: built by one scan of the lookup dataset the first
// time a key is asked after a change, dropped whenever the dataset tells its
// link of a change. Lookups never move the dataset nor raise its events.
#pragma once

#include <memory>
#include <unordered_map>
#include <vector>

#include "rtl/persistent.h"
#include "rtl/variant.h"

namespace brevant {

class TDataLinkEx;
class TDataSet;
class TDataSource;
class TField;
class TVLookupVision;

class TVLookupParams : public TPersistent {
  BV_CLASS(TVLookupParams, TPersistent)
 public:
  explicit TVLookupParams(TVLookupVision* vision = nullptr);
  ~TVLookupParams() override;

  const String& KeyField() const { return keyField_; }
  void SetKeyField(const String& value);
  const String& LookupField() const { return lookupField_; }
  void SetLookupField(const String& value);
  // A numeric field: the image index into the vision's Images.
  const String& ImageField() const { return imageField_; }
  void SetImageField(const String& value);
  // A further field shown in the drop-down list.
  const String& DescriptionField() const { return descriptionField_; }
  void SetDescriptionField(const String& value) { descriptionField_ = value; }
  TDataSource* DataSource() const { return dataSource_; }
  void SetDataSource(TDataSource* value);
  // The source of the drop-down list and of picking; nil: DataSource.
  TDataSource* EditDataSource() const { return editDataSource_; }
  void SetEditDataSource(TDataSource* value);

  // ImageField;LookupField, as the lookup of both asks it.
  const String& CombinedFields() const { return combinedFields_; }
  // The lookup dataset is in browse state.
  bool Browsing() const { return browsing_; }
  // The image field exists and is numeric.
  bool NumericImage() const { return numericImage_; }
  // The dataset is active and the key and lookup fields exist and are no blobs.
  bool Valid() const;
  TDataSet* LookupDataSet() const;

  // The looked-up record of key (compared by text): its lookup field and
  // image field values; false when no record has the key.
  bool Find(const Variant& key, Variant& lookupValue, Variant& imageValue);
  // Forget the index (the next Find scans again).
  void Invalidate() { index_.reset(); }
  // Times the dataset was scanned to build the index (for tests).
  Integer ScanCount() const { return scanCount_; }

  void Assign(const TPersistent* source) override;
  // A freed source is cleared (the vision passes its notifications on).
  void SourceRemoved(TDataSource* source);

 private:
  // One record of the index.
  struct TEntry {
    Variant Lookup;  // the lookup field's value
    Variant Image;   // the image field's value (null without one)
  };
  void BuildIndex();
  void RebuildCombined();
  void UpdateStates();
  // The link's notifications: recompute the flags, drop the index, tell
  // the vision's consumers.
  void LinkChanged(TDataLinkEx* link);
  // A field of the current record changed: only the index goes.
  void RecordChanged(TDataLinkEx* link, TField* field);
  // The vision is being destroyed (or there is none): notifications stop.
  bool VisionGoing() const;

  TVLookupVision* vision_;                 // the owning vision (not owned)
  std::unique_ptr<TDataLinkEx> link_;      // the link on DataSource
  String keyField_;                        // key matched against the main field
  String lookupField_;                     // field whose text is shown
  String imageField_;                      // numeric image index field
  String descriptionField_;                // further list column
  TDataSource* dataSource_ = nullptr;      // the lookup dataset's source (not owned)
  TDataSource* editDataSource_ = nullptr;  // the drop-down's source (not owned)
  String combinedFields_;                  // ImageField;LookupField
  bool browsing_ = false;                  // lookup dataset browsing
  bool numericImage_ = false;              // image field exists and is numeric
  std::unique_ptr<std::unordered_map<String, TEntry>> index_;  // key text to record
  Integer scanCount_ = 0;                                      // index builds so far
};

}  // namespace brevant
