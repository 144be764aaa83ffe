// TDataSet: the cursor over a set of records that data sources and data
// links show and edit, and the record-buffer protocol its descendants
// implement. docs/datasets.md describes the record window, the
// notifications and the protocol in full.
//
// The record window. The dataset keeps BufferCount record buffers holding
// consecutive records (BufferCount is the largest buffer count of its links,
// at least 1); ActiveRecord is the current record's buffer. Every link has
// its own window inside these buffers (its FirstRecord and BufferCount).
// Moving inside the buffers changes ActiveRecord only; moving past an edge
// fetches records and shifts the buffers by the minimum. Each link's window
// follows the active record by the minimum too, and a scroll notification
// tells each link how far its own window moved (0 when the move stayed
// inside it). GotoBookmark, Locate and SetRecNo put the record in the middle
// of every window; First and Last put it on the first and last row; Refresh,
// Post, Cancel and Delete keep every window in place as far as the records
// allow.
#pragma once

#include <functional>
#include <initializer_list>
#include <memory>
#include <span>
#include <vector>

#include "classes/component.h"
#include "db/constraints.h"
#include "db/db_types.h"
#include "db/field.h"
#include "db/field_defs.h"

namespace brevant {

class TDataSource;
class TDataLink;
class TStream;

class TDataSet : public TComponent {
  BV_CLASS(TDataSet, TComponent)
 public:
  explicit TDataSet(TComponent* owner = nullptr);
  ~TDataSet() override;
  void BeforeDestruction() override;
  void Loaded() override;

  // ---- state ----------------------------------------------------------------
  bool Active() const { return state_ != dsInactive && state_ != dsOpening; }
  // While loading, remembers the value and opens in Loaded.
  void SetActive(bool value);
  void Open() { SetActive(true); }
  void Close() { SetActive(false); }
  TDataSetState State() const { return state_; }
  // True after First, after a backward move that hit the start, and on an
  // empty dataset.
  bool Bof() const { return bof_; }
  // True after Last, after a forward move that hit the end, and on an empty
  // dataset.
  bool Eof() const { return eof_; }
  // A field of the record being edited was set.
  bool Modified() const { return modified_; }
  bool CanModify() { return Active() && GetCanModify(); }
  bool IsEmpty() const { return recordCount_ == 0 && state_ != dsInsert; }
  // Whether RecNo and RecordCount are meaningful positions.
  virtual bool IsSequenced() { return false; }
  // The record number of the active buffer's record (1-based; -1 when the
  // dataset cannot tell). Follows a link's ActiveRecord.
  Integer RecNo();
  // Moves to record number value and centres the windows; numbers outside
  // 1..RecordCount are ignored.
  void SetRecNo(Integer value);
  Integer RecordCount();
  bool AutoCalcFields() const { return autoCalcFields_; }
  void SetAutoCalcFields(bool value) { autoCalcFields_ = value; }

  // ---- bookmarks --------------------------------------------------------------
  // The active record's bookmark; empty without one (no record, an inserted
  // record).
  TBookmark Bookmark();
  TBookmark GetBookmark() { return Bookmark(); }
  // GotoBookmark; an empty bookmark does nothing.
  void SetBookmark(const TBookmark& value) { GotoBookmark(value); }
  // Posts or cancels, moves to the bookmark's record and centres the
  // windows. A bookmark of a record that is gone raises EDatabaseError and
  // leaves the dataset where it was.
  void GotoBookmark(const TBookmark& bookmark);
  virtual bool BookmarkValid(const TBookmark& bookmark);
  // -1, 0, 1 as b1's record comes before, at or after b2's. An empty
  // bookmark counts as position 2147483647 when first and 0 when second;
  // two empty bookmarks are equal.
  virtual Integer CompareBookmarks(const TBookmark& b1, const TBookmark& b2);

  // ---- navigation ------------------------------------------------------------
  void First();
  void Last();
  void Next() { MoveBy(1); }
  void Prior() { MoveBy(-1); }
  // Posts a modified record or cancels an unmodified one (CheckBrowseMode),
  // then moves up to distance records and sends one scroll notification,
  // each link receiving the distance its window moved; returns after all
  // notifications ran, answering the records actually moved. MoveBy(0)
  // only does the browse-mode check and notifies nothing.
  Integer MoveBy(Integer distance);

  // ---- editing -------------------------------------------------------------
  void Insert();
  void Append();
  void Edit();
  void Post();
  void Cancel();
  void Delete();
  // Re-reads the records, keeping the current record and every window in
  // place as far as the records allow.
  void Refresh();
  // Insert or Append, set the data fields in Fields order (Unassigned skips
  // a field, Null clears it), then Post. On failure the new record is
  // cancelled and the error propagates.
  void InsertRecord(std::initializer_list<Variant> values);
  void AppendRecord(std::initializer_list<Variant> values);
  void InsertRecord(std::span<const Variant> values);
  void AppendRecord(std::span<const Variant> values);
  // Sets the data fields in Fields order (needs an edit state).
  void SetFields(std::span<const Variant> values);
  // Posts a modified record, cancels an unmodified one; raises on a closed
  // dataset.
  void CheckBrowseMode();
  // Asks the links to hand pending edits to the fields (SNotEditing outside
  // an edit state).
  void UpdateRecord();
  // Makes every field of the record being edited null.
  void ClearFields();

  // ---- controls -------------------------------------------------------------
  // Counted. While disabled, visual links (TDataLink::VisualControl) and the
  // data sources' events hear nothing but activation and requests for
  // pending data; the last EnableControls sends them one data-set-changed
  // notification (layout-changed if the layout changed), preceded by a state
  // notification when the state changed meanwhile.
  void DisableControls();
  void EnableControls();
  bool ControlsDisabled() const { return disableCount_ > 0; }

  // ---- searching -------------------------------------------------------------
  // Finds the first record whose key fields (semicolon list) match the key
  // values (a scalar for one field, a variant array for several), moves to
  // it with before/after-scroll events and centres the windows. Partial keys
  // compare text prefixes (an empty prefix matches nothing);
  // loCaseInsensitive ignores case. A key the field cannot hold raises the
  // conversion error.
  virtual bool Locate(const String& keyFields, const Variant& keyValues,
                      TLocateOptions options = {});
  // The result fields of the first record matching exactly, without moving:
  // a scalar for one field, a variant array for several, Null when none.
  virtual Variant Lookup(const String& keyFields, const Variant& keyValues,
                         const String& resultFields);
  // Visits every record in order with the fields reading that record, and
  // without moving the cursor or notifying anyone; stops when visit answers
  // true and returns that record's bookmark (empty when none stopped it).
  TBookmark ScanRecords(const std::function<bool()>& visit);

  // ---- fields ----------------------------------------------------------------
  TFields* Fields() const { return fields_.get(); }
  Integer FieldCount() const { return fields_->Count(); }
  TFieldDefs* FieldDefs() const { return fieldDefs_; }
  void SetFieldDefs(TFieldDefs* value);
  // Stored and streamed, not evaluated.
  TCheckConstraints* Constraints() const { return constraints_; }
  void SetConstraints(TCheckConstraints* value);
  TField* FindField(const String& name) const { return fields_->FindField(name); }
  TField* FieldByName(const String& name) const { return fields_->FieldByName(name); }
  // The fields of a semicolon list, in order (empty names skipped); an
  // unknown name raises SFieldNotFound.
  void GetFieldList(std::vector<TField*>& list, const String& names) const;
  // One name gives the field's value, several a variant array.
  Variant FieldValues(const String& names) const;
  void SetFieldValues(const String& names, const Variant& values);
  // Whether the fields were made from the definitions when opening (and go
  // again at closing).
  bool DefaultFields() const { return defaultFields_; }

  // ---- buffers ---------------------------------------------------------------
  // The record buffer fields read and write: the active record's buffer,
  // or the buffer being calculated or scanned; nullptr without a record.
  TRecordBuffer ActiveBuffer() const;
  Integer BufferCount() const { return bufferCount_; }
  // The active record's buffer index, and the number of buffers holding
  // records.
  Integer ActiveRecord() const { return activeRecord_; }
  Integer BufferedRecords() const { return recordCount_; }
  // A stream over a blob field of the active record (bmWrite and
  // bmReadWrite need an edit state and a writable field). The data goes
  // back into the record when the stream is destroyed.
  virtual std::unique_ptr<TStream> CreateBlobStream(TField* field, TBlobStreamMode mode);
  // The descendant's record formats (field.h): reads the field of
  // ActiveBuffer into buffer (nil: only tests); False for null.
  virtual bool GetFieldData(TField* field, void* buffer);
  // Writes the field of ActiveBuffer (nil: null) and raises the
  // field-change event. TField::SetData checks state and read-only first.
  virtual void SetFieldData(TField* field, const void* buffer);

  // Raises unless field can be written now: SDataSetClosed, SNotEditing,
  // SFieldReadOnly, or SEditBufferMoved when the active record is not the
  // one being edited. Blob streams opened for writing check with it.
  void CheckFieldWrite(TField* field);
  // A field's presentation changed: links hear a layout change (layout) or
  // a data-set change, when the dataset is open.
  void FieldLayoutChanged(bool layout);

  // ---- events -------------------------------------------------------------------
  TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
  TDataSetNotifyEvent BeforeInsert, AfterInsert, BeforeEdit, AfterEdit;
  TDataSetNotifyEvent BeforePost, AfterPost, BeforeCancel, AfterCancel;
  TDataSetNotifyEvent BeforeDelete, AfterDelete, BeforeScroll, AfterScroll;
  TDataSetNotifyEvent BeforeRefresh, AfterRefresh;
  TDataSetNotifyEvent OnNewRecord, OnCalcFields;
  TDataSetErrorEvent OnPostError, OnEditError, OnDeleteError;

#if BV_DATASET_CHECKS
  // Raises std::logic_error naming the first broken rule of the buffer ring
  // and the links' windows (the rules at the top of this header and in
  // docs/datasets.md). Built in checking builds only; tests call it after
  // every step.
  void CheckBufferInvariants() const;
#else
  void CheckBufferInvariants() const {}
#endif

 protected:
  // ---- the descendant protocol ------------------------------------------------
  // One record buffer; freed with FreeRecordBuffer.
  virtual TRecordBuffer AllocRecordBuffer() = 0;
  virtual void FreeRecordBuffer(TRecordBuffer& buffer) = 0;
  // Fetches the record after (gmNext), before (gmPrior) or at (gmCurrent)
  // the cursor into buffer, moving the cursor there, and sets the buffer's
  // bookmark flag to bfCurrent. Answers grBOF/grEOF at the ends and grError
  // for a gmCurrent without a current record, raising EDatabaseError instead
  // when doCheck is set. The framework then runs the calculated-field step
  // on the buffer; descendants do not.
  virtual TGetResult GetRecord(TRecordBuffer buffer, TGetMode mode, bool doCheck) = 0;
  virtual Integer GetRecordSize() {
    return 0;
  }
  // Opens the cursor before the first record: builds the field definitions
  // (InternalInitFieldDefs), creates the fields when DefaultFields, binds
  // them (BindFields(true)) and sets BookmarkSize.
  virtual void InternalOpen() = 0;
  // Releases the cursor; the framework then unbinds the fields and frees
  // default fields.
  virtual void InternalClose() = 0;
  virtual bool IsCursorOpen() const = 0;
  virtual void InternalInitFieldDefs() {}
  // Cursor before the first / after the last record.
  virtual void InternalFirst() = 0;
  virtual void InternalLast() = 0;
  // Empties a buffer for a new record.
  virtual void InternalInitRecord(TRecordBuffer buffer) = 0;
  virtual void InternalInsert() {}
  virtual void InternalEdit() {}
  virtual void InternalCancel() {}
  // Writes ActiveBuffer: a new record in insert state (before the cursor's
  // record, or at the end for a buffer flagged bfEOF), the cursor's record
  // in edit state. Leaves the cursor on the written record. Must either
  // write completely or raise with nothing changed.
  virtual void InternalPost() = 0;
  // Adds buffer as a new record (at the end with append), as Post would;
  // AppendRecord and InsertRecord use it.
  virtual void InternalAddRecord(TRecordBuffer buffer, bool append) = 0;
  // Removes the cursor's record; the cursor stays on the record that
  // follows (or after the last).
  virtual void InternalDelete() = 0;
  virtual void InternalRefresh() {}
  // Puts the cursor on the buffer's record (bookmark data of an inserted
  // buffer: the record it was inserted before).
  virtual void InternalSetToRecord(TRecordBuffer buffer) = 0;
  // Puts the cursor on the bookmark's record (BookmarkSize bytes); raises
  // EDatabaseError with the cursor unchanged when the record is gone.
  virtual void InternalGotoBookmark(const void* bookmark) = 0;
  virtual void GetBookmarkData(TRecordBuffer buffer, void* data) = 0;
  virtual void SetBookmarkData(TRecordBuffer buffer, const void* data) = 0;
  virtual TBookmarkFlag GetBookmarkFlag(TRecordBuffer buffer) = 0;
  virtual void SetBookmarkFlag(TRecordBuffer buffer, TBookmarkFlag value) = 0;
  virtual bool GetCanModify() {
    return true;
  }
  virtual Integer GetRecordCount() {
    return -1;
  }
  // The active buffer's record number (1-based), -1 when unknown.
  virtual Integer GetRecNo() {
    return -1;
  }
  // Puts the cursor on record number value (1..RecordCount); false when the
  // dataset cannot, and SetRecNo then moves by the difference instead.
  virtual bool InternalSetRecNo(Integer value) {
    (void)value;
    return false;
  }
  // Hands an exception to the application's handler.
  virtual void InternalHandleException(const Exception& e);
  virtual void DataEvent(TDataEvent event, intptr_t info);
  void Notification(TComponent* component, TOperation operation) override;
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;

  // ---- helpers for descendants ----------------------------------------------------
  Integer BookmarkSize() const {
    return bookmarkSize_;
  }
  void SetBookmarkSize(Integer value) {
    bookmarkSize_ = value;
  }
  // Fields from the definitions (skipping ftUnknown), owned by the dataset.
  void CreateFields();
  // Binds data fields to their definitions by name (type and size must
  // match) and lays out the calculated fields; false unbinds.
  void BindFields(bool binding);
  void DestroyFields();
  // The calculated-field step of GetRecord. The framework runs it itself
  // after every successful fetch into one of its buffers, so this does
  // nothing; it stays for descendants written to call it.
  void GetCalcFields(TRecordBuffer buffer) {
    (void)buffer;
  }
  // Raise SDataSetOpen / SDataSetClosed.
  void CheckInactive() const;
  void CheckActive() const;
  void CheckCanModify();
  // The cursor may no longer be on the record of any buffer.
  void CursorPosChanged() {
    currentRecord_ = -1;
    ++cursorEpoch_;
  }
  // Puts the cursor on the active buffer's record.
  void UpdateCursorPos();
  // Re-reads the buffers around the cursor's record: rmExact raises when
  // the record is gone; rmCenter centres it (else it keeps its buffer row).
  void Resync(TResyncMode mode);
  void DoBeforeScroll() {
    BeforeScroll(this);
  }
  void DoAfterScroll() {
    AfterScroll(this);
  }
  // The record buffers in window order: 0 .. BufferCount-1 (BufferCount is
  // the spare buffer of the next fetch).
  TRecordBuffer Buffers(Integer index) const;
  // The state for the duration of an internal operation, without
  // notification.
  TDataSetState SetTempState(TDataSetState value);
  void RestoreState(TDataSetState value) {
    state_ = value;
  }

  // The fetch of the record after the last buffered one and of the record
  // before the first. When the buffers are full they shift by one and
  // ActiveRecord keeps its index; a fetch just undoing the other shift
  // reuses the buffer it shifted out (so an edited record is never lost).
  // No notifications. Data links reach them through TDataLink.
  bool GetNextRecord();
  bool GetPriorRecord();
  Integer GetNextRecords();
  Integer GetPriorRecords();

 private:
  friend class TField;
  friend class TDataSource;
  friend class TDataLink;
  friend class TDisableControls;

  // The framework's side of one record buffer.
  struct TBufferSlot {
    TRecordBuffer data = nullptr;
    std::vector<Byte> calc;         // calculated fields: [null flag][DataSize bytes] each
    std::vector<Variant> calcVars;  // calculated fields of type ftVariant
  };
  enum TSpare : Byte { spNone, spBefore, spAfter };

  TBufferSlot& Slot(Integer index);
  const TBufferSlot& Slot(Integer index) const;
  void MoveBuffer(Integer curIndex, Integer newIndex);
  void ClearBuffers();
  void ActivateBuffers();
  void SetCurrentRecord(Integer index);
  bool FetchPrior(bool adjustLinks);
  void AllocSlot(TBufferSlot& slot);
  void FreeSlot(TBufferSlot& slot);
  void SetBufferCount(Integer value, TDataLink* resizing);
  void UpdateBufferCount(TDataLink* resizing);
  Integer ShrinkStart(Integer value, TDataLink* resizing) const;
  void AdjustLinkFirst(Integer delta);
  void CalculateSlot(TBufferSlot& slot);
  void ClearCalcArea(TBufferSlot& slot);
  const TBufferSlot* FieldSlot() const;
  bool GetCalcFieldData(const TField* field, void* buffer) const;
  void SetCalcFieldData(TField* field, const void* buffer);
  void SetState(TDataSetState value);
  void OpenCursor();
  void CloseCursor();
  void BeginInsertAppend();
  void EndInsertAppend();
  void InitRecord(Integer index);
  void FreeFieldBuffers();
  void CheckRequiredFields();
  void CheckEditBuffer() const;
  void CheckOperation(const std::function<void()>& operation, const TDataSetErrorEvent& onError);
  void AddRecord(std::span<const Variant> values, bool append);
  // Data sources and the dispatch of notifications.
  void AddDataSource(TDataSource* source);
  void RemoveDataSource(TDataSource* source);
  enum TDispatchScope : Byte { dsAllLinks, dsVisualOnly };
  void NotifySources(TDataEvent event, intptr_t info, TDispatchScope scope);
  // One notification in flight: the links to tell and how far each window
  // moved, and the sources. Kept per nesting depth so dispatching allocates
  // nothing once warm.
  struct TDelivery {
    TDataSource* source;
    TDataLink* link;
    Integer distance;
  };
  struct TDispatch {
    std::vector<TDelivery> deliveries;
    std::vector<TDataSource*> sources;
  };
  void ForEachLink(const std::function<void(TDataLink*)>& f) const;
  TBufferSlot& AcquireScratch();
  void ReleaseScratch();
  bool BookmarkAvailable();

  TDataSetState state_ = dsInactive;
  bool bof_ = true;
  bool eof_ = true;
  bool modified_ = false;
  bool autoCalcFields_ = true;
  bool defaultFields_ = false;
  bool streamedActive_ = false;
  bool resizing_ = false;
  Integer disableCount_ = 0;
  bool disabledLayoutChanged_ = false;

  std::unique_ptr<TFields> fields_;
  TFieldDefs* fieldDefs_ = nullptr;
  TCheckConstraints* constraints_ = nullptr;
  Integer bookmarkSize_ = 0;
  // Calculated-field area layout.
  Integer calcAreaSize_ = 0;
  Integer calcVarCount_ = 0;
  bool hasCalcFields_ = false;

  // The window: a ring of bufferCount_ + 1 slots starting at head_.
  std::vector<TBufferSlot> slots_;
  Integer head_ = 0;
  Integer bufferCount_ = 0;
  Integer recordCount_ = 0;
  Integer activeRecord_ = 0;
  Integer currentRecord_ = -1;
  UInt64 cursorEpoch_ = 0;
  TSpare spare_ = spNone;
  // The buffer being edited (edit and insert states).
  TRecordBuffer editBuffer_ = nullptr;
  // Slot fields read instead of the active one (calculation, scans).
  const TBufferSlot* fieldSlot_ = nullptr;
  std::vector<std::unique_ptr<TBufferSlot>> scratch_;
  Integer scanDepth_ = 0;

  std::vector<TDataSource*> dataSources_;
  Integer dispatchDepth_ = 0;
  std::vector<std::unique_ptr<TDispatch>> dispatchPool_;
};

// Disables a dataset's controls for a scope.
class TDisableControls {
 public:
  explicit TDisableControls(TDataSet* dataSet) : dataSet_(dataSet) {
    if (dataSet_) dataSet_->DisableControls();
  }
  ~TDisableControls() {
    if (dataSet_) dataSet_->EnableControls();
  }
  TDisableControls(const TDisableControls&) = delete;
  TDisableControls& operator=(const TDisableControls&) = delete;

 private:
  TDataSet* dataSet_;
};

}  // namespace brevant
