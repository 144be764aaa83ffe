#include "db/db_test_util.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace dbtest {

String TRecLink::Take() {
  String s;
  for (const String& e : log) s += (s.empty() ? "" : ", ") + e;
  log.clear();
  return s;
}

void TRecLink::DataSetChanged() {
  TNest n(this);
  log.push_back("changed");
  if (onChanged) onChanged();
}

void TRecLink::DataSetScrolled(Integer distance) {
  TNest n(this);
  log.push_back("scrolled " + IntToStr(distance));
  if (onScrolled) onScrolled(distance);
}

std::vector<Integer> TRecLink::Rows(const String& field) {
  std::vector<Integer> rows;
  Integer saved = ActiveRecord();
  for (Integer r = 0; r < RecordCount(); ++r) {
    SetActiveRecord(r);
    rows.push_back(DataSet()->FieldByName(field)->AsInteger());
  }
  SetActiveRecord(saved);
  return rows;
}

std::vector<Integer> TRecLink::RecNos() {
  std::vector<Integer> rows;
  Integer saved = ActiveRecord();
  for (Integer r = 0; r < RecordCount(); ++r) {
    SetActiveRecord(r);
    rows.push_back(DataSet()->RecNo());
  }
  SetActiveRecord(saved);
  return rows;
}

TMemDataSet* MakeNumbers(Integer n, TComponent* owner) {
  auto* ds = Create<TMemDataSet>(owner);
  ds->FieldDefs()->Add("ID", ftInteger);
  ds->FieldDefs()->Add("Name", ftString, 20);
  for (Integer i = 1; i <= n; ++i) ds->AppendRow({i, "R" + IntToStr(i)});
  return ds;
}

String Join(const std::vector<Integer>& v) {
  String s;
  for (Integer i : v) s += (s.empty() ? "" : " ") + IntToStr(i);
  return s;
}

std::vector<Integer> Range(Integer first, Integer count) {
  std::vector<Integer> v;
  for (Integer i = 0; i < count; ++i) v.push_back(first + i);
  return v;
}

void EditAndPost(TDataSet* ds, Integer id, const String& field, const String& value) {
  ASSERT_TRUE(ds->Locate("ID", id, {})) << "no record " << id;
  ds->Edit();
  ds->FieldByName(field)->SetAsString(value);
  ds->Post();
}

}  // namespace dbtest
