// TClientDataSet: records in memory fed by a dataset provider, with a change
// log, indexes and a filter.
//
// Opening fetches the provider's field definitions and rows (the provider is
// ProviderName, a component of the same owner, or SetProvider). Edits,
// inserts and deletes change only the memory and go into the change log;
// ApplyUpdates resolves the log through the provider. Refresh fetches again
// and keeps the cursor on the same record (by key) when it still exists.
//
// The view: the records of the store that pass the filter, in the order of
// the active index (IndexName, or IndexFieldNames; neither: the provider's
// order). Bookmarks are the store's stable record identities, so switching
// the index keeps them valid. A record that stops passing the filter after
// Post leaves the view and its bookmark becomes invalid; the others stay.
//
// Filter expressions: field names (plain, or in brackets: [E-mail]),
// literals (numbers, 'quoted strings' with '' for a quote, true/false, and
// dates as 'YYYY-MM-DD[ HH:MM[:SS]]' strings compared with date fields),
// =, <>, <, <=, >, >=, and, or, not, parentheses, "is null", "is not null".
// Comparisons involving a null value are unknown (three-valued logic), and
// a record passes only when the whole expression is true: "X = 1" and
// "X <> 1" both reject a record whose X is null. Strings compare by bytes
// (case-sensitive) unless FilterCaseInsensitive is set; then, like
// case-insensitive index fields, in the platform's collation ignoring case
// (AnsiCompareText, the folding Locate uses: Latin, Greek, Cyrillic and
// more). Date-times compare by day, then time of day (also before
// 1899-12-30). Chains of "and"/"or" may be of any length; nesting
// (parentheses, "not") deeper than 200 raises the filter syntax error.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "classes/collection.h"
#include "db/mem_dataset.h"
#include "db/provider.h"

namespace brevant {

class TIndexDef : public TCollectionItem {
  BV_CLASS(TIndexDef, TCollectionItem)
 public:
  using TCollectionItem::TCollectionItem;
  String Name() const { return name_; }
  void SetName(const String& value);
  // Semicolon lists: the sort fields, those of them sorted descending, and
  // those compared ignoring case.
  String Fields() const { return fields_; }
  void SetFields(const String& value);
  String DescFields() const { return descFields_; }
  void SetDescFields(const String& value);
  String CaseInsFields() const { return caseInsFields_; }
  void SetCaseInsFields(const String& value);
  String DisplayName() const override { return name_; }

 private:
  String name_, fields_, descFields_, caseInsFields_;
};

class TIndexDefs : public TOwnedCollection {
  BV_CLASS(TIndexDefs, TOwnedCollection)
 public:
  explicit TIndexDefs(TPersistent* owner = nullptr);
  TIndexDef* Items(Integer index) const;
  TIndexDef* AddIndexDef() { return static_cast<TIndexDef*>(TCollection::Add()); }
  TIndexDef* Add(const String& name, const String& fields, const String& descFields = "",
                 const String& caseInsFields = "");
  // nullptr when absent (names compare ignoring case).
  TIndexDef* Find(const String& name) const;

 protected:
  void Update(TCollectionItem* item) override;
};

class TClientDataSet : public TMemDataSet {
  BV_CLASS(TClientDataSet, TMemDataSet)
 public:
  explicit TClientDataSet(TComponent* owner = nullptr);
  ~TClientDataSet() override;

  // ---- the provider ----------------------------------------------------------------
  String ProviderName() const { return providerName_; }
  void SetProviderName(const String& value);
  TDataSetProvider* Provider() const { return provider_; }
  void SetProvider(TDataSetProvider* value);

  // ---- the change log ---------------------------------------------------------------
  // Entries not yet applied.
  Integer ChangeCount() const { return static_cast<Integer>(log_.size()); }
  const std::vector<TUpdateRecord>& ChangeLog() const { return log_; }
  // Resolves the log in order through the provider; applied entries leave
  // the log, failed ones stay. Stops once more than maxErrors failed (-1:
  // no limit). Answers the number of failures; ApplyError holds the last
  // message (empty after an apply without failures). A modify writes only
  // the fields the client changed; where another writer changed one of
  // them meanwhile, that record fails with a conflict. Keys the source
  // assigned are stored into the records internally (no events, ReadOnly
  // does not apply).
  Integer ApplyUpdates(Integer maxErrors);
  String ApplyError() const { return applyError_; }
  // Forgets the log without applying (the memory keeps the changes).
  void MergeChangeLog() { log_.clear(); }
  // Cancels a pending edit, drops the changes and fetches the provider's
  // rows again (when that fails, the changes stay and it raises).
  void CancelUpdates();

  // ---- indexes ----------------------------------------------------------------------
  TIndexDefs* IndexDefs() const { return indexDefs_; }
  void SetIndexDefs(TIndexDefs* value);
  String IndexName() const { return indexName_; }
  // Selects an index definition; unknown names raise. Clears IndexFieldNames.
  void SetIndexName(const String& value);
  String IndexFieldNames() const { return indexFieldNames_; }
  // Sorts by the fields of the list (ascending, case-sensitive); unknown
  // fields raise SFieldNotFound. Clears IndexName.
  void SetIndexFieldNames(const String& value);

  // ---- the filter -------------------------------------------------------------------
  String Filter() const { return filter_; }
  // A syntax error raises EDatabaseError showing the position.
  void SetFilter(const String& value);
  bool Filtered() const { return filtered_; }
  void SetFiltered(bool value);
  bool FilterCaseInsensitive() const { return filterCaseIns_; }
  void SetFilterCaseInsensitive(bool value);

  bool BookmarkValid(const TBookmark& bookmark) override;
  Integer CompareBookmarks(const TBookmark& b1, const TBookmark& b2) override;

  struct TFilterNode;
  // A value read in place from the store, as the filter and the index
  // compare it: a number (also dates and Booleans) or text.
  struct TScalar {
    double num = 0;         // numbers, Booleans (0/1), dates (see DateOrder)
    std::string_view text;  // text, in the store or in own
    String own;             // text converted from another form
  };
  bool ScansStoreOrder() const override { return false; }

 protected:
  TGetResult GetRecord(TRecordBuffer buffer, TGetMode mode, bool doCheck) override;
  void InternalOpen() override;
  void InternalClose() override;
  void InternalFirst() override { viewPos_ = -1; }
  void InternalLast() override { viewPos_ = static_cast<Integer>(view_.size()); }
  void InternalPost() override;
  void InternalAddRecord(TRecordBuffer buffer, bool append) override;
  void InternalDelete() override;
  void InternalRefresh() override;
  void InternalSetToRecord(TRecordBuffer buffer) override;
  void InternalGotoBookmark(const void* bookmark) override;
  Integer GetRecordCount() override { return static_cast<Integer>(view_.size()); }
  Integer GetRecNo() override;
  bool InternalSetRecNo(Integer value) override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  struct TSortKey {
    Integer column;  // the compared column
    bool desc;       // descending
    bool caseIns;    // text compared ignoring case
  };

  TDataSetProvider* ResolveProvider();
  void Fetch(bool withDefs);
  void LoadIds();
  void InsertPath(bool append);
  void ResolveFilter();
  void BuildView();
  void SortView();
  void RebuildPositions();
  void CompileFilter();
  bool Passes(Integer id) const;
  Byte Evaluate(const TFilterNode* n, Integer row) const;
  Byte EvaluateCompare(const TFilterNode* n, Integer row) const;
  void ReadScalar(Integer row, Integer column, Byte cls, TScalar& out) const;
  Integer CompareStoredKey(Integer rowA, Integer rowB, const TSortKey& k, Byte cls) const;
  Integer CompareStoredRows(Integer rowA, Integer rowB) const;
  // The 64-bit words of encoded keys a record carries while sorting.
  static constexpr std::size_t kSortWords = 4;
  bool Less(Integer a, Integer b) const;
  std::vector<Variant> StoredRow(Integer id) const;
  std::vector<Variant> StoredKey(Integer id) const;
  Integer CompareRows(const std::vector<Variant>& x, const std::vector<Variant>& y) const;
  Integer ViewPosOf(Integer id) const;
  void PlaceInView(Integer id, Integer hint);
  void ReadEditValues(std::vector<Variant>& values);
  void ResortIfOpen();
  bool StoreKey(Integer id, const std::vector<Variant>& key);
  void ReplaceView();
  std::vector<TSortKey> ParseSortKeys(const String& fields, const String& desc,
                                      const String& caseIns) const;
  Integer ColumnOf(const String& name) const;
  std::vector<Variant> KeyOf(const std::vector<Variant>& values) const;
  void LogChange(TUpdateKind kind, Integer id, const std::vector<Variant>& oldValues,
                 const std::vector<Variant>& newValues);

  String providerName_;
  TDataSetProvider* provider_ = nullptr;
  TIndexDefs* indexDefs_;
  String indexName_, indexFieldNames_;
  String filter_;
  std::shared_ptr<TFilterNode> filterTree_;
  bool filtered_ = false;
  bool filterCaseIns_ = false;
  String applyError_;

  std::vector<String> names_;        // field definition names, in order
  std::vector<TFieldType> types_;    // and their types
  std::vector<Integer> keyColumns_;  // the provider's key, as columns
  std::vector<TSortKey> sortKeys_;   // the active index
  std::vector<Byte> sortClasses_;    // how each sort key's column compares
  std::vector<Integer> storeOrder_;  // identities in fetch/insert order
  std::vector<Integer> view_;        // identities in view order
  // The view position of every physical row of the store (-1: not in view).
  std::vector<Integer> viewPosOfRow_;
  bool positionsValid_ = false;
  // The last sort: its keys and the identities in store order sorted by
  // them, reused while no record changes (sorting is stable, so an index on
  // the same fields gives the same order).
  std::vector<TSortKey> sortedKeys_;
  std::vector<Integer> sortedIds_;
  UInt64 sortedVersion_ = 0;
  UInt64 dataVersion_ = 1;  // counts writes to the records
  Integer viewPos_ = -1;
  std::vector<TUpdateRecord> log_;
};

}  // namespace brevant
