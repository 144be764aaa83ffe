// TDataSource relays a dataset's notifications to its data links; a
// TDataLink is a control's connection to the records: its own window of
// record buffers and the overridable notifications.
#pragma once

#include <vector>

#include "classes/component.h"
#include "db/db_types.h"

namespace brevant {

class TDataLink;

class TDataSource : public TComponent {
  BV_CLASS(TDataSource, TComponent)
 public:
  explicit TDataSource(TComponent* owner = nullptr);
  void BeforeDestruction() override;

  TDataSet* DataSet() const { return dataSet_; }
  // Links the source to a dataset (asking for its free notification); the
  // links turn active or inactive accordingly. Moving from one dataset to
  // another tells every link that was active: ActiveChanged once, active
  // on the new dataset or not.
  void SetDataSet(TDataSet* value);
  // The dataset's state (dsInactive without an enabled source or dataset).
  TDataSetState State() const;
  // Whether links may put the dataset into edit state (TDataLink::Edit).
  bool AutoEdit() const { return autoEdit_; }
  void SetAutoEdit(bool value) { autoEdit_ = value; }
  // A disabled source makes its links inactive.
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  // Puts the dataset into edit state when AutoEdit allows it and it is
  // browsing.
  void Edit();
  // Whether the source is linked, through datasets' master links, to
  // dataSet. (The platform has no master links: true for its own dataset.)
  bool IsLinkedTo(TDataSet* dataSet) const { return dataSet && dataSet == dataSet_; }

  Integer LinkCount() const;
  // Fires when the state changes.
  TNotifyEvent OnStateChange;
  // Fires for field, record, data-set and scroll changes; Field is the
  // changed field or nullptr.
  TDataChangeEvent OnDataChange;
  // Fires when the dataset asks for pending edits.
  TNotifyEvent OnUpdateData;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TDataSet;
  friend class TDataLink;
  void AddLink(TDataLink* link);
  void RemoveLink(TDataLink* link);
  // Brings the links' active and editing flags and the sources' states up
  // to date, then notifies (ActiveChanged, EditingChanged, OnStateChange).
  // Visual links keep their editing flag while silenced; visualOnly limits
  // the update to visual links (the end of DisableControls).
  static void UpdateStates(const std::vector<TDataSource*>& sources, bool silenceVisual,
                           bool visualOnly);
  // Whether link still belongs to this source (handlers may detach links).
  bool HasLink(const TDataLink* link) const;
  // Marks the active links inactive without notifying (their window
  // restarts); answers them.
  std::vector<TDataLink*> DetachActiveLinks();

  TDataSet* dataSet_ = nullptr;
  bool autoEdit_ = true;
  bool enabled_ = true;
  TDataSetState lastState_ = dsInactive;
  std::vector<TDataLink*> links_;
};

// A plain object (not a component): the control that owns it frees it.
class TDataLink {
 public:
  TDataLink();
  TDataLink(const TDataLink&) = delete;
  TDataLink& operator=(const TDataLink&) = delete;
  // Leaves the data source.
  virtual ~TDataLink();

  TDataSource* DataSource() const { return dataSource_; }
  void SetDataSource(TDataSource* value);
  // A fixed data source cannot be changed (SDataSourceFixed).
  bool DataSourceFixed() const { return dataSourceFixed_; }
  void SetDataSourceFixed(bool value) { dataSourceFixed_ = value; }
  TDataSet* DataSet() const;
  // The source is enabled and its dataset open.
  bool Active() const { return active_; }
  // Active, the dataset in an edit state, and the link not read-only.
  bool Editing() const;
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  // Rows of the window (at least 1). Changing it refills the dataset's
  // buffers without notifying this link; other links whose rows changed
  // hear one DataSetChanged (none while a resize is already running).
  Integer BufferCount() const { return bufferCount_; }
  void SetBufferCount(Integer value);
  // The active record's row in this window. Setting it (0..RecordCount-1)
  // makes the fields read that row, without moving the cursor or notifying;
  // callers restore it.
  Integer ActiveRecord() const;
  void SetActiveRecord(Integer value);
  // Rows of the window that hold records.
  Integer RecordCount() const;
  // The window's first row as an index into the dataset's buffers.
  Integer FirstRecord() const { return firstRecord_; }
  // Visual links are silenced by DisableControls.
  bool VisualControl() const { return visualControl_; }
  void SetVisualControl(bool value) { visualControl_ = value; }
  // Puts the dataset into edit state when the link is not read-only and the
  // source's AutoEdit allows it; answers Editing.
  bool Edit();
  // Asks this link for its pending edits (UpdateData, without hearing the
  // field changes it causes).
  void UpdateRecord();

 protected:
  virtual void ActiveChanged() {}
  // The base calls RecordChanged(nullptr).
  virtual void DataSetChanged() { RecordChanged(nullptr); }
  // Distance: how far this link's window moved, in records (0 when only
  // the active row changed).
  virtual void DataSetScrolled(Integer distance) { (void)distance; }
  virtual void EditingChanged() {}
  // The control showing field may take the focus and clear field.
  virtual void FocusControl(TField*& field) { (void)field; }
  // The base calls DataSetChanged.
  virtual void LayoutChanged() { DataSetChanged(); }
  virtual void RecordChanged(TField* field) { (void)field; }
  virtual void UpdateData() {}
  virtual void CheckBrowseMode() {}

  // The dataset's fetches of the record after its last buffer and before
  // its first (see TDataSet::GetNextRecord); nothing is notified.
  bool FetchNextRecord();
  bool FetchPriorRecord();

 private:
  friend class TDataSource;
  friend class TDataSet;
  void UpdateEditing();
  // Keeps the window inside the dataset's buffers and around its active
  // record, moving it by the minimum.
  void ClampWindow();
  // Applies the dataset's notification to the window; answers how far the
  // window moved (records).
  Integer UpdateWindow(TDataEvent event, intptr_t info);
  void Notify(TDataEvent event, intptr_t info, Integer distance);

  TDataSource* dataSource_ = nullptr;
  Integer bufferCount_ = 1;
  Integer firstRecord_ = 0;
  bool active_ = false;
  bool editing_ = false;
  bool readOnly_ = false;
  bool updating_ = false;
  bool visualControl_ = false;
  bool dataSourceFixed_ = false;
};

}  // namespace brevant
