// The filter expression language of the client dataset: the tree a filter
// text parses into, and the parser. Binding names to columns and evaluating
// the tree are the dataset's business.
#pragma once

#include <memory>
#include <vector>

#include "db/client_dataset.h"

namespace brevant {

struct TClientDataSet::TFilterNode {
  enum TKind : Byte { nkOr, nkAnd, nkNot, nkCompare, nkIsNull, nkIsNotNull, nkField, nkConst };
  TKind kind = nkConst;
  Integer op = 0;       // nkCompare: 0 =, 1 <>, 2 <, 3 <=, 4 >, 5 >=
  String name;          // nkField
  Integer column = -1;  // nkField: the column, bound when the filter is applied
  Variant value;        // nkConst, converted to the compared field's type when resolved
  // Compiled when the filter is applied: for nkCompare how the operands
  // compare (number, Boolean, date or text) and whether they are read in
  // place; for nkConst the value in that form.
  Byte cls = 0;
  bool inPlace = false;
  double num = 0;                     // nkConst: the compared number
  String text;                        // nkConst: the compared text
  std::shared_ptr<TFilterNode> a, b;  // operands of nkNot, nkCompare and the null tests
  // The terms of nkOr and nkAnd: a chain of any length is one node, so
  // nothing recurses per term.
  std::vector<std::shared_ptr<TFilterNode>> terms;
};

// Parses a filter text into its tree; raises EDatabaseError naming the
// position of the first syntax error.
std::shared_ptr<TClientDataSet::TFilterNode> ParseFilter(const String& text);

}  // namespace brevant
