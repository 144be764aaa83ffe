// Helpers of the dataset tests: a data link that records what it hears and
// small in-memory datasets.
#pragma once

#include <algorithm>
#include <functional>
#include <vector>

#include "db/datasource.h"
#include "db/field_types.h"
#include "db/mem_dataset.h"
#include "rtl/numconv.h"
#include "rtl/strutils.h"

namespace dbtest {

using namespace brevant;

// Records every notification: "active", "changed", "scrolled N", "editing",
// "record <field or nil>", "layout", "update", "check", "focus <field>".
class TRecLink : public TDataLink {
 public:
  std::vector<String> log;
  // Runs inside DataSetChanged / DataSetScrolled (after logging).
  std::function<void()> onChanged;
  std::function<void(Integer)> onScrolled;
  Integer nesting = 0;
  Integer maxNesting = 0;

  // The log joined with ", ", then cleared.
  String Take();
  // The integer field's value on every row of the window (0 for null),
  // read by moving ActiveRecord and restoring it.
  std::vector<Integer> Rows(const String& field = "ID");
  // The record number (RecNo) of every row.
  std::vector<Integer> RecNos();
  using TDataLink::FetchNextRecord;
  using TDataLink::FetchPriorRecord;

 protected:
  void ActiveChanged() override { log.push_back("active"); }
  void DataSetChanged() override;
  void DataSetScrolled(Integer distance) override;
  void EditingChanged() override { log.push_back("editing"); }
  void LayoutChanged() override { log.push_back("layout"); }
  void RecordChanged(TField* field) override {
    log.push_back("record " + (field ? field->FieldName() : String("nil")));
  }
  void UpdateData() override { log.push_back("update"); }
  void FocusControl(TField*& field) override {
    log.push_back("focus " + (field ? field->FieldName() : String("nil")));
  }

 private:
  struct TNest {
    TRecLink* l;
    explicit TNest(TRecLink* link) : l(link) {
      l->maxNesting = std::max(l->maxNesting, ++l->nesting);
    }
    ~TNest() { --l->nesting; }
  };
};

// A closed in-memory dataset with ID (integer) and Name (string of 20)
// definitions and records ID = 1..n, Name = "R<i>".
TMemDataSet* MakeNumbers(Integer n, TComponent* owner = nullptr);

// "1 2 3" for a list of integers.
String Join(const std::vector<Integer>& v);
// n consecutive integers from first.
std::vector<Integer> Range(Integer first, Integer count);

// Goes to the record whose ID is id and posts value into field as text.
void EditAndPost(TDataSet* ds, Integer id, const String& field, const String& value);

}  // namespace dbtest
