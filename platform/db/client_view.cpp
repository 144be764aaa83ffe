// The client dataset's view over its store: binding and evaluating the
// filter, sorting by the active index with encoded keys, and the positions
// of records in the view. Values are read in place, without variants.
#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <type_traits>

#include "db/client_dataset.h"
#include "db/client_values.h"
#include "db/filter_expr.h"
#include "rtl/datetime.h"
#include "rtl/strutils.h"

namespace brevant {

using namespace client_values;

namespace {

enum TTruth : Byte { tvFalse, tvTrue, tvUnknown };

// Compares two values read in place by class.
Integer CompareScalars(const TClientDataSet::TScalar& a, const TClientDataSet::TScalar& b,
                       TCmpClass cls, bool caseIns) {
  if (cls != ccText) return a.num < b.num ? -1 : a.num > b.num ? 1 : 0;
  if (caseIns) return AnsiCompareText(a.text.data(), a.text.size(), b.text.data(), b.text.size());
  Integer c = a.text.compare(b.text);
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

// How far an encoded sort key decides: exactly, only when the codes differ
// (longer texts), or not at all (texts the encoding cannot order).
enum TKeyFit : Byte { kcExact, kcPrefix, kcUnordered };

// A sort key encoded into 64 bits that compare, unsigned, like the values;
// 0 is null.
struct TKeyCode {
  UInt64 bits;  // the code
  Byte fit;     // a TKeyFit
};

TKeyCode EncodeNumber(double v) {
  if (v == 0) v = 0;  // -0 and 0 are equal
  UInt64 bits;
  std::memcpy(&bits, &v, sizeof bits);
  bits = bits >> 63 ? ~bits : bits | (UInt64(1) << 63);
  return {bits == 0 ? 1 : bits, kcExact};
}

// The order of the ASCII characters under case-insensitive comparison
// (AnsiCompareText), 1 upwards; letters differing only in case share a rank.
const std::array<Byte, 128>& AsciiTextRanks() {
  static const std::array<Byte, 128> ranks = [] {
    std::array<Byte, 128> r{};
    std::vector<int> chars;
    for (int c = 1; c < 128; ++c) chars.push_back(c);
    auto cmp = [](int a, int b) { return AnsiCompareText(String(1, char(a)), String(1, char(b))); };
    std::stable_sort(chars.begin(), chars.end(), [&](int a, int b) { return cmp(a, b) < 0; });
    Byte rank = 0;
    for (std::size_t i = 0; i < chars.size(); ++i) {
      if (i == 0 || cmp(chars[i - 1], chars[i]) != 0) ++rank;
      r[static_cast<std::size_t>(chars[i])] = rank;
    }
    return r;
  }();
  return ranks;
}

// Text: a marker byte (so the empty text is not null) and the 7 characters
// (one word) or 15 (two words, the second in low) after `skip`, a prefix
// every text of the column shares, as bytes or, ignoring case, as ASCII
// ranks. A NUL byte or (ignoring case) a non-ASCII character among them
// leaves the text to the full comparison.
TKeyCode EncodeText(std::string_view text, std::size_t skip, bool caseIns, std::size_t words,
                    UInt64& low) {
  const std::size_t kChars = words * 8 - 1;
  text.remove_prefix(std::min(skip, text.size()));
  UInt64 bits[2] = {1, 0};
  Byte fit = text.size() > kChars ? kcPrefix : kcExact;
  const auto& ranks = AsciiTextRanks();
  for (std::size_t i = 0; i < kChars; ++i) {
    Byte b = 0;
    if (i < text.size()) {
      auto c = static_cast<unsigned char>(text[i]);
      if (c == 0 || (caseIns && c >= 0x80)) {
        low = 0;
        return {1, kcUnordered};
      }
      b = caseIns ? ranks[c] : c;
    }
    UInt64& word = bits[(i + 1) / 8];
    word = word << 8 | b;
  }
  // A non-ASCII character right after the prefix may weigh nothing, so a
  // shorter text is not known to sort first.
  if (caseIns && text.size() > kChars && static_cast<unsigned char>(text[kChars]) >= 0x80)
    fit = kcUnordered;
  low = bits[1];
  return {bits[0], fit};
}

// The length of the prefix all texts share, compared as the sort compares
// them (ignoring case: equal ASCII ranks); `texts` answers false after the
// last one.
template <class Next>
std::size_t CommonPrefix(Next next, bool caseIns, std::size_t& longest) {
  const auto& ranks = AsciiTextRanks();
  std::string_view first, t;
  bool any = false;
  std::size_t common = 0;
  longest = 0;
  while (next(t)) {
    longest = std::max(longest, t.size());
    if (!any) {
      first = t;
      common = t.size();
      any = true;
    }
    std::size_t i = 0;
    for (; i < common && i < t.size(); ++i) {
      auto a = static_cast<unsigned char>(first[i]), b = static_cast<unsigned char>(t[i]);
      if (caseIns ? (a >= 0x80 || b >= 0x80 || ranks[a] != ranks[b]) : a != b) break;
    }
    common = i;
  }
  return common;
}

}  // namespace

// Compiles the resolved filter: each comparison learns how its operands
// compare and whether both can be read in place (a field compared in its
// own class, or a constant converted to that class once).
void TClientDataSet::CompileFilter() {
  if (!filterTree_ || !filtered_) return;
  std::function<void(TFilterNode*)> compile = [&](TFilterNode* n) {
    if (!n) return;
    compile(n->a.get());
    compile(n->b.get());
    for (const auto& t : n->terms) compile(t.get());
    if (n->kind != TFilterNode::nkCompare) return;
    TFilterNode* a = n->a.get();
    TFilterNode* b = n->b.get();
    if (a->kind != TFilterNode::nkField && a->kind != TFilterNode::nkConst) return;
    const TFilterNode* f = a->kind == TFilterNode::nkField   ? a
                           : b->kind == TFilterNode::nkField ? b
                                                             : nullptr;
    if (!f) return;  // two constants: compared as variants
    TCmpClass cls = ClassOf(types_[static_cast<std::size_t>(f->column)]);
    n->cls = cls;
    n->inPlace = true;
    for (TFilterNode* o : {a, b}) {
      if (o->kind == TFilterNode::nkField) continue;
      if (o->kind != TFilterNode::nkConst) {
        n->inPlace = false;
        continue;
      }
      if (VarIsNull(o->value) || VarIsEmpty(o->value)) continue;
      switch (cls) {
        case ccNumber:
          o->num = o->value.AsDouble();
          break;
        case ccDate:
          o->num = DateOrder(o->value.AsDouble());
          break;
        case ccBoolean:
          o->num = o->value.AsBoolean() ? 1 : 0;
          break;
        default:
          o->text = VarToStr(o->value);
      }
    }
  };
  compile(filterTree_.get());
}

bool TClientDataSet::Passes(Integer id) const {
  if (!filtered_ || !filterTree_) return true;
  return Evaluate(filterTree_.get(), RowOfId(id)) == tvTrue;
}

// Reads a column of a row in the form its class compares, in place when the
// column is of that class (no variant); nulls are the caller's business.
void TClientDataSet::ReadScalar(Integer row, Integer column, Byte cls, TScalar& out) const {
  TFieldType type = types_[static_cast<std::size_t>(column)];
  if (cls == ClassOf(type)) {
    const Byte* p = nullptr;
    auto load = [&p](auto v) {
      std::memcpy(&v, p, sizeof(v));
      return v;
    };
    switch (type) {
      case ftSmallint:
        p = StoredFixed(row, column);
        out.num = load(SmallInt());
        return;
      case ftWord:
      case ftBoolean:
        p = StoredFixed(row, column);
        out.num = type == ftBoolean ? (load(Word()) != 0 ? 1 : 0) : load(Word());
        return;
      case ftInteger:
      case ftAutoInc:
        p = StoredFixed(row, column);
        out.num = load(Integer());
        return;
      case ftLargeint:
        p = StoredFixed(row, column);
        out.num = static_cast<double>(load(Int64()));
        return;
      case ftFloat:
      case ftCurrency:
        p = StoredFixed(row, column);
        out.num = load(double());
        return;
      case ftDate: {
        p = StoredFixed(row, column);
        TTimeStamp ts;
        ts.Date = load(Integer());
        ts.Time = 0;
        out.num = DateOrder(TimeStampToDateTime(ts));
        return;
      }
      case ftTime:
        p = StoredFixed(row, column);
        out.num = static_cast<double>(load(Integer())) / MSecsPerDay;
        return;
      case ftDateTime:
        p = StoredFixed(row, column);
        out.num = DateOrder(TimeStampToDateTime(MSecsToTimeStamp(load(double()))));
        return;
      case ftString:
      case ftFixedChar:
      case ftGuid:
      case ftMemo:
      case ftFmtMemo:
        out.text = StoredText(row, column);
        return;
      default:
        break;
    }
  }
  // Other forms (BCD, time stamps, wide text, bytes, variants, or a field
  // compared in another field's class) go through the variant once.
  Variant v = StoredValue(row, column);
  switch (cls) {
    case ccNumber:
      out.num = v.AsDouble();
      break;
    case ccDate:
      out.num = DateOrder(v.AsDouble());
      break;
    case ccBoolean:
      out.num = v.AsBoolean() ? 1 : 0;
      break;
    default:
      out.own = VarToStr(v);
      out.text = out.own;
  }
}

Byte TClientDataSet::Evaluate(const TFilterNode* n, Integer row) const {
  switch (n->kind) {
    case TFilterNode::nkOr:
    case TFilterNode::nkAnd: {
      // Or: true once a term is; and: false once a term is; else unknown
      // when a term was.
      TTruth decisive = n->kind == TFilterNode::nkOr ? tvTrue : tvFalse;
      TTruth result = n->kind == TFilterNode::nkOr ? tvFalse : tvTrue;
      for (const auto& t : n->terms) {
        Byte v = Evaluate(t.get(), row);
        if (v == decisive) return decisive;
        if (v == tvUnknown) result = tvUnknown;
      }
      return result;
    }
    case TFilterNode::nkNot: {
      Byte a = Evaluate(n->a.get(), row);
      return a == tvUnknown ? tvUnknown : a == tvTrue ? tvFalse : tvTrue;
    }
    case TFilterNode::nkIsNull:
    case TFilterNode::nkIsNotNull: {
      const TFilterNode* o = n->a.get();
      bool isNull = o->kind == TFilterNode::nkField ? StoredIsNull(row, o->column)
                                                    : VarIsNull(o->value) || VarIsEmpty(o->value);
      return isNull == (n->kind == TFilterNode::nkIsNull) ? tvTrue : tvFalse;
    }
    case TFilterNode::nkCompare:
      return EvaluateCompare(n, row);
    case TFilterNode::nkField: {
      // A bare Boolean field.
      if (StoredIsNull(row, n->column)) return tvUnknown;
      TScalar s;
      ReadScalar(row, n->column, ccBoolean, s);
      return s.num != 0 ? tvTrue : tvFalse;
    }
    default:
      if (VarIsNull(n->value) || VarIsEmpty(n->value)) return tvUnknown;
      return n->value.AsBoolean() ? tvTrue : tvFalse;
  }
}

Byte TClientDataSet::EvaluateCompare(const TFilterNode* n, Integer row) const {
  const TFilterNode* a = n->a.get();
  const TFilterNode* b = n->b.get();
  if (a->kind != TFilterNode::nkField && a->kind != TFilterNode::nkConst) return tvFalse;
  Integer c;
  if (n->inPlace) {
    auto isNull = [&](const TFilterNode* o) {
      return o->kind == TFilterNode::nkField ? StoredIsNull(row, o->column)
                                             : VarIsNull(o->value) || VarIsEmpty(o->value);
    };
    if (isNull(a) || isNull(b)) return tvUnknown;
    TScalar x, y;
    auto read = [&](const TFilterNode* o, TScalar& s) {
      if (o->kind == TFilterNode::nkField) {
        ReadScalar(row, o->column, n->cls, s);
      } else {
        s.num = o->num;
        s.text = o->text;
      }
    };
    read(a, x);
    read(b, y);
    c = CompareScalars(x, y, static_cast<TCmpClass>(n->cls), filterCaseIns_);
  } else {
    // Two constants, or an operand that is neither field nor constant.
    auto operand = [&](const TFilterNode* o) {
      return o->kind == TFilterNode::nkField ? StoredValue(row, o->column) : o->value;
    };
    Variant x = operand(a), y = operand(b);
    if (VarIsNull(x) || VarIsEmpty(x) || VarIsNull(y) || VarIsEmpty(y)) return tvUnknown;
    TCmpClass cls = VarIsNumeric(x) && VarIsNumeric(y) ? ccNumber : ccText;
    c = CompareValues(x, y, cls, filterCaseIns_);
  }
  bool r = false;
  switch (n->op) {
    case 0:
      r = c == 0;
      break;
    case 1:
      r = c != 0;
      break;
    case 2:
      r = c < 0;
      break;
    case 3:
      r = c <= 0;
      break;
    case 4:
      r = c > 0;
      break;
    default:
      r = c >= 0;
      break;
  }
  return r ? tvTrue : tvFalse;
}

// Compares one key of two stored rows, ascending with nulls first, reading
// the values in place: <0, 0 or >0.
Integer TClientDataSet::CompareStoredKey(Integer rowA, Integer rowB, const TSortKey& k,
                                         Byte cls) const {
  bool xn = StoredIsNull(rowA, k.column), yn = StoredIsNull(rowB, k.column);
  if (xn || yn) return Integer(yn) - Integer(xn);
  TScalar x, y;
  ReadScalar(rowA, k.column, cls, x);
  ReadScalar(rowB, k.column, cls, y);
  return CompareScalars(x, y, static_cast<TCmpClass>(cls), k.caseIns);
}

// Compares two stored rows by the active index (descending fields
// reversed): <0, 0 or >0.
Integer TClientDataSet::CompareStoredRows(Integer rowA, Integer rowB) const {
  for (std::size_t j = 0; j < sortKeys_.size(); ++j) {
    const TSortKey& k = sortKeys_[j];
    if (Integer c = CompareStoredKey(rowA, rowB, k, sortClasses_[j])) return k.desc ? -c : c;
  }
  return 0;
}

bool TClientDataSet::Less(Integer a, Integer b) const {
  return CompareStoredRows(RowOfId(a), RowOfId(b)) < 0;
}

// Compares two records' values by the active index (descending fields
// reversed): <0, 0 or >0.
Integer TClientDataSet::CompareRows(const std::vector<Variant>& x,
                                    const std::vector<Variant>& y) const {
  for (const TSortKey& k : sortKeys_) {
    const Variant& u = x[static_cast<std::size_t>(k.column)];
    const Variant& v = y[static_cast<std::size_t>(k.column)];
    bool un = VarIsNull(u) || VarIsEmpty(u), vn = VarIsNull(v) || VarIsEmpty(v);
    Integer c;
    if (un || vn)
      c = Integer(vn) - Integer(un);  // nulls first
    else
      c = CompareValues(u, v, ClassOf(types_[static_cast<std::size_t>(k.column)]), k.caseIns);
    if (c != 0) return k.desc ? -c : c;
  }
  return 0;
}

// A stored record's key values (the provider's key columns).
std::vector<Variant> TClientDataSet::StoredKey(Integer id) const {
  Integer row = RowOfId(id);
  std::vector<Variant> key;
  key.reserve(keyColumns_.size());
  for (Integer k : keyColumns_) key.push_back(row < 0 ? Variant::Null() : StoredValue(row, k));
  return key;
}

// A stored record's values as variants, one per column.
std::vector<Variant> TClientDataSet::StoredRow(Integer id) const {
  Integer row = RowOfId(id);
  std::vector<Variant> values(names_.size(), Variant::Null());
  if (row < 0) return values;
  for (std::size_t i = 0; i < names_.size(); ++i)
    values[i] = StoredValue(row, static_cast<Integer>(i));
  return values;
}

void TClientDataSet::BuildView() {
  if (!indexName_.empty()) {
    TIndexDef* d = indexDefs_->Find(indexName_);
    if (!d) DatabaseErrorFmt(SIndexNotFound, {indexName_});
    sortKeys_ = ParseSortKeys(d->Fields(), d->DescFields(), d->CaseInsFields());
  } else {
    sortKeys_ = ParseSortKeys(indexFieldNames_, "", "");
  }
  sortClasses_.clear();
  for (const TSortKey& key : sortKeys_)
    sortClasses_.push_back(ClassOf(types_[static_cast<std::size_t>(key.column)]));
  ResolveFilter();
  CompileFilter();
  // Records the store no longer holds (emptied behind the view's back) drop out.
  auto gone = [this](Integer id) { return RowOfId(id) < 0; };
  if (std::any_of(storeOrder_.begin(), storeOrder_.end(), gone)) {
    storeOrder_.erase(std::remove_if(storeOrder_.begin(), storeOrder_.end(), gone),
                      storeOrder_.end());
    ++dataVersion_;
  }
  if (!sortKeys_.empty()) SortView();
  const std::vector<Integer>& order = sortKeys_.empty() ? storeOrder_ : sortedIds_;
  view_.clear();
  view_.reserve(order.size());
  for (Integer id : order)
    if (Passes(id)) view_.push_back(id);
  positionsValid_ = false;
}

// Sorts the records in store order by the active index into sortedIds_
// (the filter is applied afterwards). Each record's first keys are encoded
// once into numbers that compare like the values (descending keys
// inverted, nulls first), so most comparisons never leave the sorted array;
// ties of texts longer than the encoding compare the stored values in place.
// The order is kept for the next index with the same keys while no record
// changed.
void TClientDataSet::SortView() {
  auto sameKeys = [&] {
    if (sortedKeys_.size() != sortKeys_.size() || sortedVersion_ != dataVersion_) return false;
    for (std::size_t j = 0; j < sortKeys_.size(); ++j)
      if (sortedKeys_[j].column != sortKeys_[j].column ||
          sortedKeys_[j].desc != sortKeys_[j].desc ||
          sortedKeys_[j].caseIns != sortKeys_[j].caseIns)
        return false;
    return true;
  };
  if (sameKeys() && sortedIds_.size() == storeOrder_.size()) return;
  sortedVersion_ = 0;  // invalid until the sort completes
  std::size_t n = storeOrder_.size();
  // Which keys are encoded, where their words start and (texts) the prefix
  // every value shares, which the encoding skips; a text takes two words
  // only when some value is longer than one word holds.
  std::vector<std::size_t> first, skip, width;
  std::size_t words = 0;
  for (std::size_t j = 0; j < sortKeys_.size(); ++j) {
    bool text = sortClasses_[j] == ccText;
    std::size_t common = 0, longest = 0;
    if (text) {
      std::size_t i = 0;
      TScalar v;
      const TSortKey& k = sortKeys_[j];
      bool converted = false;
      common = CommonPrefix(
          [&](std::string_view& t) {
            while (i < n && !converted) {
              Integer row = RowOfId(storeOrder_[i++]);
              if (StoredIsNull(row, k.column)) continue;
              v.own.clear();
              ReadScalar(row, k.column, ccText, v);
              converted = !v.own.empty();
              t = v.text;
              return !converted;
            }
            return false;
          },
          k.caseIns, longest);
      // Converted texts live only while read: no prefix is skipped for them.
      if (converted) common = 0, longest = SIZE_MAX;
    }
    std::size_t need = !text ? 1 : longest - std::min(common, longest) <= 7 ? 1 : 2;
    if (words + need > kSortWords) break;
    first.push_back(words);
    width.push_back(need);
    skip.push_back(common);
    words += need;
  }
  std::size_t encoded = first.size();
  // Per key, the fit bits of the keys before it.
  std::vector<Byte> earlier(encoded), keyOfWord(words);
  for (std::size_t j = 0; j < encoded; ++j) {
    earlier[j] = static_cast<Byte>((1u << (2 * j)) - 1);
    for (std::size_t w = 0; w < width[j]; ++w) keyOfWord[first[j] + w] = static_cast<Byte>(j);
  }
  std::vector<Integer> ids(n);
  auto sortWith = [&](auto wordCount) {
    constexpr std::size_t N = decltype(wordCount)::value;
    struct TEntry {
      UInt64 key[N];  // encoded keys, descending ones inverted
      Integer row;    // the physical row
      Byte fit;       // per encoded key two bits: how far its code decides (a TKeyFit)
    };
    std::vector<TEntry> entries(n);
    TScalar value;
    for (std::size_t i = 0; i < n; ++i) {
      TEntry& e = entries[i];
      std::fill(std::begin(e.key), std::end(e.key), UInt64(0));
      e.fit = 0;
      e.row = RowOfId(storeOrder_[i]);
      for (std::size_t j = 0; j < encoded; ++j) {
        const TSortKey& k = sortKeys_[j];
        TCmpClass cls = static_cast<TCmpClass>(sortClasses_[j]);
        TKeyCode code{0, kcExact};
        UInt64 low = 0;
        if (!StoredIsNull(e.row, k.column)) {
          value.own.clear();
          ReadScalar(e.row, k.column, cls, value);
          code = cls == ccText ? EncodeText(value.text, skip[j], k.caseIns, width[j], low)
                               : EncodeNumber(value.num);
        }
        e.key[first[j]] = k.desc ? ~code.bits : code.bits;
        if (width[j] == 2) e.key[first[j] + 1] = k.desc ? ~low : low;
        e.fit |= static_cast<Byte>(code.fit << (2 * j));
      }
    }
    // Key by key, the codes where they decide, else the stored values.
    auto slow = [&](const TEntry& a, const TEntry& b) {
      for (std::size_t j = 0; j < sortKeys_.size(); ++j) {
        if (j < encoded) {
          std::size_t w = first[j], end = first[j] + width[j];
          while (w + 1 < end && a.key[w] == b.key[w]) ++w;
          Byte fits = static_cast<Byte>(((a.fit | b.fit) >> (2 * j)) & 3);
          if (a.key[w] != b.key[w]) {
            if (!(fits & kcUnordered)) return a.key[w] < b.key[w];
          } else if (fits == kcExact) {
            continue;
          }
        }
        const TSortKey& k = sortKeys_[j];
        Integer c = CompareStoredKey(a.row, b.row, k, static_cast<TCmpClass>(sortClasses_[j]));
        if (c != 0) return k.desc ? c > 0 : c < 0;
      }
      return false;
    };
    bool allEncoded = encoded == sortKeys_.size();
    std::stable_sort(entries.begin(), entries.end(), [&](const TEntry& a, const TEntry& b) {
      // The first differing word decides when every key before its key
      // compared exactly and its key's codes order the values.
      Byte fits = a.fit | b.fit;
      for (std::size_t w = 0; w < N; ++w) {
        if (a.key[w] == b.key[w]) continue;
        std::size_t j = keyOfWord[w];
        if ((fits & earlier[j]) == 0 && !((fits >> (2 * j)) & kcUnordered))
          return a.key[w] < b.key[w];
        return slow(a, b);
      }
      return fits == 0 && allEncoded ? false : slow(a, b);
    });
    for (std::size_t i = 0; i < n; ++i) ids[i] = IdOfRow(entries[i].row);
  };
  switch (words) {
    case 0:
    case 1:
      sortWith(std::integral_constant<std::size_t, 1>());
      break;
    case 2:
      sortWith(std::integral_constant<std::size_t, 2>());
      break;
    case 3:
      sortWith(std::integral_constant<std::size_t, 3>());
      break;
    default:
      sortWith(std::integral_constant<std::size_t, 4>());
  }
  sortedIds_ = std::move(ids);
  sortedKeys_ = sortKeys_;
  sortedVersion_ = dataVersion_;
}

void TClientDataSet::RebuildPositions() {
  viewPosOfRow_.assign(static_cast<std::size_t>(PhysicalRowCount()), -1);
  for (std::size_t i = 0; i < view_.size(); ++i) {
    Integer row = RowOfId(view_[i]);
    if (row >= 0) viewPosOfRow_[static_cast<std::size_t>(row)] = static_cast<Integer>(i);
  }
  positionsValid_ = true;
}

Integer TClientDataSet::ViewPosOf(Integer id) const {
  if (!positionsValid_) const_cast<TClientDataSet*>(this)->RebuildPositions();
  Integer row = RowOfId(id);
  if (row < 0 || static_cast<std::size_t>(row) >= viewPosOfRow_.size()) return -1;
  return viewPosOfRow_[static_cast<std::size_t>(row)];
}

}  // namespace brevant
