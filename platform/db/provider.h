// TDataSetProvider: hands a client dataset the field definitions and rows of
// a source dataset, and resolves the client's change log back through that
// dataset (locate by key, then edit, insert or delete and post), so the
// source's own writing (an SQLite table's statements) does the work.
#pragma once

#include <vector>

#include "db/dataset.h"

namespace brevant {

class TMemDataSet;

// One entry of a change log: the record's original key values (modify and
// delete), its values before the change (modify) and its new values, one
// per field definition (modify and insert).
struct TUpdateRecord {
  TUpdateKind kind = ukModify;
  Integer id = 0;                  // the client's record identity (its bookmark)
  std::vector<Variant> oldKey;     // the key the source knows the record by
  std::vector<Variant> values;     // the new values
  std::vector<Variant> oldValues;  // modify: the values the change started from
};

class TDataSetProvider : public TComponent {
  BV_CLASS(TDataSetProvider, TComponent)
 public:
  explicit TDataSetProvider(TComponent* owner = nullptr);
  ~TDataSetProvider() override;

  TDataSet* DataSet() const { return dataSet_; }
  void SetDataSet(TDataSet* value);
  // The key fields (semicolon list) updates locate records by. Empty: the
  // source's primary key when it is an SQLite table, else every field.
  String KeyFields() const { return keyFields_; }
  void SetKeyFields(const String& value) { keyFields_ = value; }
  // The key the provider uses now (resolved as described above).
  String ResolvedKeyFields();

  // Copies the source's field definitions (opening the source when closed).
  void GetFieldDefs(TFieldDefs* target);
  // Every record of the source in its order, one value per field
  // definition; blobs as their bytes. Leaves the source's cursor alone.
  void GetRows(std::vector<std::vector<Variant>>& rows);
  // The source as an in-memory store whose records a client may copy in
  // their record format instead of reading rows (null when the source is
  // another kind of dataset or lacks a data field for a definition).
  const TMemDataSet* SourceStore();
  // Re-reads the source (its Refresh) when it is open and browsing, so a
  // client's Refresh sees what other datasets wrote to the same store.
  void RefreshSource();
  // Resolves one change through the source; raises on failure with the
  // source unchanged (the pending edit is cancelled). names are the field
  // names of update.values. A modify writes only the fields whose new value
  // differs from the old one (all fields without old values), and raises a
  // conflict when the source's record holds, in such a field, neither the
  // old nor the new value (another writer changed it); an SQLite table
  // source makes that check against its file. Answers the record's
  // key values after posting (an inserted record's key may have been
  // assigned by the source).
  std::vector<Variant> ApplyUpdate(const TUpdateRecord& update, const std::vector<String>& names);

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TDataSet* Source();
  void LocateKey(const TUpdateRecord& update, const std::vector<String>& keys);

  TDataSet* dataSet_ = nullptr;
  String keyFields_;
};

}  // namespace brevant
