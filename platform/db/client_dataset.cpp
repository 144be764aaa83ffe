#include "db/client_dataset.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>

#include "classes/rtti_builder.h"
#include "db/dbconsts.h"
#include "db/field.h"
#include "db/field_defs.h"
#include "db/filter_expr.h"
#include "rtl/datetime.h"
#include "rtl/numconv.h"
#include "rtl/resstrings.h"
#include "rtl/scope.h"
#include "rtl/strutils.h"

namespace brevant {

BV_PUBLISH(TIndexDef, TCollectionItem) {
  p.Property("Name", &TIndexDef::Name, &TIndexDef::SetName);
  p.Property("Fields", &TIndexDef::Fields, &TIndexDef::SetFields);
  p.Property("DescFields", &TIndexDef::DescFields, &TIndexDef::SetDescFields);
  p.Property("CaseInsFields", &TIndexDef::CaseInsFields, &TIndexDef::SetCaseInsFields);
}

BV_PUBLISH(TIndexDefs, TOwnedCollection) {}

BV_PUBLISH(TClientDataSet, TMemDataSet) {
  p.Property("ProviderName", &TClientDataSet::ProviderName, &TClientDataSet::SetProviderName);
  p.Property("IndexDefs", &TClientDataSet::IndexDefs, &TClientDataSet::SetIndexDefs);
  p.Property("IndexName", &TClientDataSet::IndexName, &TClientDataSet::SetIndexName);
  p.Property("IndexFieldNames", &TClientDataSet::IndexFieldNames,
             &TClientDataSet::SetIndexFieldNames);
  p.Property("Filter", &TClientDataSet::Filter, &TClientDataSet::SetFilter);
  p.Property("Filtered", &TClientDataSet::Filtered, &TClientDataSet::SetFiltered).Default(false);
}

namespace {

constexpr const char* SMissingProvider = "Missing data provider for '%s'";
constexpr const char* SProviderNotFound = "Provider '%s' not found";
constexpr const char* SIndexNotFound = "Index '%s' not found";
constexpr const char* SPendingChanges =
    "Apply or cancel the pending changes of '%s' before refreshing";
constexpr const char* SFilterValue = "Filter value '%s' does not suit field '%s'";

std::vector<String> SplitNames(const String& list) {
  std::vector<String> names;
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find(';', start);
    if (end == String::npos) end = list.size();
    String n = Trim(list.substr(start, end - start));
    if (!n.empty()) names.push_back(n);
    start = end + 1;
  }
  return names;
}

bool InList(const std::vector<String>& list, const String& name) {
  for (const String& n : list)
    if (SameText(n, name)) return true;
  return false;
}

// How values of a field type compare.
enum TCmpClass : Byte { ccNumber, ccBoolean, ccDate, ccText };

TCmpClass ClassOf(TFieldType t) {
  switch (t) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftLargeint:
    case ftAutoInc:
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftFMTBcd:
      return ccNumber;
    case ftBoolean:
      return ccBoolean;
    case ftDate:
    case ftTime:
    case ftDateTime:
    case ftTimeStamp:
      return ccDate;
    default:
      return ccText;
  }
}

Integer Sign(double d) {
  return d < 0 ? -1 : d > 0 ? 1 : 0;
}

// A date-time as one number that grows with time also before 1899-12-30,
// where the day counts down but the time of day still counts up (-1.25 is
// 06:00 and -1.75 18:00 of the same day): the day plus the time of day.
double DateOrder(double d) {
  double day = std::trunc(d);
  return day + std::fabs(d - day);
}

// Text compared ignoring case: the platform's collation, whose case folding
// (Latin, Greek, Cyrillic and more) is the one Locate uses.
Integer CompareTextIgnoringCase(const String& a, const String& b) {
  return AnsiCompareText(a, b);
}

// Compares two non-null values by class.
Integer CompareValues(const Variant& a, const Variant& b, TCmpClass cls, bool caseIns) {
  switch (cls) {
    case ccNumber:
      return Sign(a.AsDouble() - b.AsDouble());
    case ccDate:
      return Sign(DateOrder(a.AsDouble()) - DateOrder(b.AsDouble()));
    case ccBoolean:
      return Integer(a.AsBoolean()) - Integer(b.AsBoolean());
    default: {
      String x = VarToStr(a), y = VarToStr(b);
      return Sign(caseIns ? CompareTextIgnoringCase(x, y) : CompareStr(x, y));
    }
  }
}

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

bool TryParseIsoDate(const String& text, TDateTime& value) {
  // YYYY-MM-DD[( |T)HH:MM[:SS]]
  String s = Trim(text);
  auto num = [&](std::size_t at, std::size_t n, Integer& v) {
    if (at + n > s.size()) return false;
    v = 0;
    for (std::size_t i = at; i < at + n; ++i) {
      if (s[i] < '0' || s[i] > '9') return false;
      v = v * 10 + (s[i] - '0');
    }
    return true;
  };
  Integer y, m, d, hh = 0, mm = 0, ss = 0;
  if (!num(0, 4, y) || s.size() < 10 || s[4] != '-' || !num(5, 2, m) || s[7] != '-' ||
      !num(8, 2, d))
    return false;
  std::size_t i = 10;
  if (i < s.size()) {
    if ((s[i] != ' ' && s[i] != 'T') || !num(i + 1, 2, hh) || i + 3 >= s.size() ||
        s[i + 3] != ':' || !num(i + 4, 2, mm))
      return false;
    i += 6;
    if (i < s.size()) {
      if (s[i] != ':' || !num(i + 1, 2, ss)) return false;
      i += 3;
    }
    if (i != s.size()) return false;
  }
  TDateTime date, time;
  if (!TryEncodeDate(Word(y), Word(m), Word(d), date) ||
      !TryEncodeTime(Word(hh), Word(mm), Word(ss), 0, time))
    return false;
  value = date < 0 ? date - time : date + time;
  return true;
}

}  // namespace

// ==== index definitions ================================================================

void TIndexDef::SetName(const String& value) {
  name_ = value;
  Changed(false);
}
void TIndexDef::SetFields(const String& value) {
  fields_ = value;
  Changed(false);
}
void TIndexDef::SetDescFields(const String& value) {
  descFields_ = value;
  Changed(false);
}
void TIndexDef::SetCaseInsFields(const String& value) {
  caseInsFields_ = value;
  Changed(false);
}

TIndexDefs::TIndexDefs(TPersistent* owner) : TOwnedCollection(owner, TIndexDef::StaticClass()) {}

TIndexDef* TIndexDefs::Items(Integer index) const {
  return static_cast<TIndexDef*>(TCollection::Items(index));
}

TIndexDef* TIndexDefs::Add(const String& name, const String& fields, const String& descFields,
                           const String& caseInsFields) {
  TIndexDef* d = AddIndexDef();
  d->SetName(name);
  d->SetFields(fields);
  d->SetDescFields(descFields);
  d->SetCaseInsFields(caseInsFields);
  return d;
}

TIndexDef* TIndexDefs::Find(const String& name) const {
  for (Integer i = 0; i < Count(); ++i)
    if (SameText(Items(i)->Name(), name)) return Items(i);
  return nullptr;
}

void TIndexDefs::Update(TCollectionItem* item) {
  TOwnedCollection::Update(item);
  // The active index may have changed: the dataset sorts again.
  // A deleted active index leaves the provider's order.
  if (auto* ds = dynamic_cast<TClientDataSet*>(GetOwner())) {
    if (ds->IndexName().empty() || UpdateCount() > 0) return;
    ds->SetIndexName(Find(ds->IndexName()) ? ds->IndexName() : String());
  }
}

namespace {

enum TTruth : Byte { tvFalse, tvTrue, tvUnknown };

}  // namespace

// ==== the client dataset ===================================================================

TClientDataSet::TClientDataSet(TComponent* owner)
    : TMemDataSet(owner), indexDefs_(new TIndexDefs(this)) {}

TClientDataSet::~TClientDataSet() {
  Close();
  delete indexDefs_;
}

void TClientDataSet::SetProviderName(const String& value) {
  CheckInactive();
  providerName_ = value;
}

void TClientDataSet::SetProvider(TDataSetProvider* value) {
  if (value == provider_) return;
  if (provider_) RemoveFreeNotification(provider_);
  provider_ = value;
  if (provider_) provider_->FreeNotification(this);
}

void TClientDataSet::Notification(TComponent* component, TOperation operation) {
  TMemDataSet::Notification(component, operation);
  if (operation == opRemove && component == provider_) provider_ = nullptr;
}

TDataSetProvider* TClientDataSet::ResolveProvider() {
  if (provider_) return provider_;
  if (providerName_.empty()) return nullptr;
  TComponent* c = Owner() ? Owner()->FindComponent(providerName_) : nullptr;
  auto* p = dynamic_cast<TDataSetProvider*>(c);
  if (!p) DatabaseErrorFmt(SProviderNotFound, {providerName_});
  return p;
}

void TClientDataSet::SetIndexDefs(TIndexDefs* value) {
  indexDefs_->Assign(value);
}

Integer TClientDataSet::ColumnOf(const String& name) const {
  for (std::size_t i = 0; i < names_.size(); ++i)
    if (SameText(names_[i], name)) return static_cast<Integer>(i);
  DatabaseErrorFmt(res::SFieldNotFound, {name});
}

std::vector<TClientDataSet::TSortKey> TClientDataSet::ParseSortKeys(const String& fields,
                                                                    const String& desc,
                                                                    const String& caseIns) const {
  std::vector<String> d = SplitNames(desc), ci = SplitNames(caseIns);
  std::vector<TSortKey> keys;
  for (const String& f : SplitNames(fields))
    keys.push_back({ColumnOf(f), InList(d, f), InList(ci, f)});
  return keys;
}

void TClientDataSet::SetIndexName(const String& value) {
  if (!value.empty() && !indexDefs_->Find(value)) DatabaseErrorFmt(SIndexNotFound, {value});
  String oldName = indexName_, oldFields = indexFieldNames_;
  TScopeGuard undo([&] {
    indexName_ = oldName;
    indexFieldNames_ = oldFields;
  });
  indexName_ = value;
  if (!value.empty()) indexFieldNames_.clear();
  ResortIfOpen();
  undo.Dismiss();
}

void TClientDataSet::SetIndexFieldNames(const String& value) {
  String oldName = indexName_, oldFields = indexFieldNames_;
  TScopeGuard undo([&] {
    indexName_ = oldName;
    indexFieldNames_ = oldFields;
  });
  indexFieldNames_ = value;
  if (!value.empty()) indexName_.clear();
  ResortIfOpen();
  undo.Dismiss();
}

void TClientDataSet::SetFilter(const String& value) {
  std::shared_ptr<TFilterNode> tree;
  if (!Trim(value).empty()) tree = ParseFilter(value);
  String old = filter_;
  auto oldTree = filterTree_;
  TScopeGuard undo([&] {
    filter_ = old;
    filterTree_ = oldTree;
  });
  filter_ = value;
  filterTree_ = tree;
  if (filtered_) ResortIfOpen();
  undo.Dismiss();
}

void TClientDataSet::SetFiltered(bool value) {
  if (value == filtered_) return;
  TScopeGuard undo([&] { filtered_ = !value; });
  filtered_ = value;
  ResortIfOpen();
  undo.Dismiss();
}

void TClientDataSet::SetFilterCaseInsensitive(bool value) {
  if (value == filterCaseIns_) return;
  filterCaseIns_ = value;
  if (filtered_) ResortIfOpen();
}

// Binds the filter's field names to columns and converts the literals
// compared with fields to the fields' types.
void TClientDataSet::ResolveFilter() {
  if (!filterTree_ || !filtered_) return;
  std::function<void(TFilterNode*)> bind = [&](TFilterNode* n) {
    if (!n) return;
    if (n->kind == TFilterNode::nkField) n->column = ColumnOf(n->name);
    bind(n->a.get());
    bind(n->b.get());
    for (const auto& t : n->terms) bind(t.get());
    if (n->kind != TFilterNode::nkCompare) return;
    TFilterNode* field = n->a->kind == TFilterNode::nkField   ? n->a.get()
                         : n->b->kind == TFilterNode::nkField ? n->b.get()
                                                              : nullptr;
    TFilterNode* lit = n->a->kind == TFilterNode::nkConst   ? n->a.get()
                       : n->b->kind == TFilterNode::nkConst ? n->b.get()
                                                            : nullptr;
    if (!field || !lit || VarIsNull(lit->value)) return;
    TFieldType t = types_[static_cast<std::size_t>(field->column)];
    Variant& v = lit->value;
    try {
      switch (ClassOf(t)) {
        case ccNumber:
          if (VarIsStr(v)) {
            double d;
            String s = Trim(VarToStr(v));
            auto r = std::from_chars(s.data(), s.data() + s.size(), d);
            if (s.empty() || r.ec != std::errc() || r.ptr != s.data() + s.size()) throw 0;
            v = Variant(d);
          } else if (v.VarType() == varBoolean) {
            throw 0;
          }
          break;
        case ccBoolean:
          v = Variant(v.AsBoolean());
          break;
        case ccDate:
          if (VarIsStr(v)) {
            TDateTime dt;
            if (!TryParseIsoDate(VarToStr(v), dt)) throw 0;
            v = Variant(static_cast<double>(dt));
          }
          break;
        case ccText:
          v = Variant(VarToStr(v));
          break;
      }
    } catch (...) {
      // Any failure to convert the literal, whatever raised it, becomes the
      // one message naming the literal and the field.
      DatabaseErrorFmt(SFilterValue, {VarToStr(v), field->name});
    }
  };
  bind(filterTree_.get());
}

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

void TClientDataSet::ResortIfOpen() {
  if (!Active()) return;
  CheckBrowseMode();
  Integer current = -1;
  if (ActiveBuffer() && GetRecNo() > 0) GetBookmarkData(ActiveBuffer(), &current);
  std::vector<Integer> oldView = view_;
  std::vector<TSortKey> oldKeys = sortKeys_;
  TScopeGuard undo([&] {
    view_ = std::move(oldView);
    sortKeys_ = std::move(oldKeys);
    positionsValid_ = false;
  });
  BuildView();
  undo.Dismiss();
  Integer pos = current >= 0 ? ViewPosOf(current) : -1;
  viewPos_ = pos >= 0 ? pos : 0;
  CursorPosChanged();
  Resync({});
}

// ---- fetching ----------------------------------------------------------------------------

// Reads the provider's rows into the store: a store of the same columns is
// copied in its record format; any other source goes through one row of
// variants at a time.
void TClientDataSet::Fetch(bool withDefs) {
  TDataSetProvider* p = ResolveProvider();
  if (withDefs) p->GetFieldDefs(FieldDefs());
  ++dataVersion_;
  if (const TMemDataSet* store = p->SourceStore(); store && CopyStoreFrom(*store)) return;
  std::vector<std::vector<Variant>> rows;
  p->GetRows(rows);
  ReplaceRows(rows);
}

void TClientDataSet::LoadIds() {
  names_.clear();
  types_.clear();
  for (Integer i = 0; i < FieldDefs()->Count(); ++i) {
    names_.push_back(FieldDefs()->Items(i)->Name());
    types_.push_back(FieldDefs()->Items(i)->DataType());
  }
  keyColumns_.clear();
  if (TDataSetProvider* p = ResolveProvider())
    for (const String& k : SplitNames(p->ResolvedKeyFields())) keyColumns_.push_back(ColumnOf(k));
  storeOrder_.clear();
  storeOrder_.reserve(static_cast<std::size_t>(StoredRecordCount()));
  for (Integer pos = 0; pos < StoredRecordCount(); ++pos) storeOrder_.push_back(StoredIdAt(pos));
  ++dataVersion_;
}

void TClientDataSet::InternalOpen() {
  if (ResolveProvider()) {
    Fetch(true);
  } else if (StoredRecordCount() > 0) {
    DatabaseErrorFmt(SMissingProvider, {Name()});
  }
  log_.clear();
  TMemDataSet::InternalOpen();
  LoadIds();
  BuildView();
  viewPos_ = -1;
}

void TClientDataSet::InternalClose() {
  TMemDataSet::InternalClose();
  view_.clear();
  viewPosOfRow_.clear();
  sortedIds_.clear();
  sortedKeys_.clear();
  positionsValid_ = false;
  viewPos_ = -1;
}

void TClientDataSet::InternalRefresh() {
  if (!log_.empty()) DatabaseErrorFmt(SPendingChanges, {Name()});
  if (!ResolveProvider()) return;
  std::vector<Variant> key;
  Integer oldPos = viewPos_;
  if (ActiveBuffer() && GetRecNo() > 0 && !keyColumns_.empty()) {
    Integer id;
    GetBookmarkData(ActiveBuffer(), &id);
    key = StoredKey(id);
  }
  ResolveProvider()->RefreshSource();
  Fetch(false);
  LoadIds();
  BuildView();
  Integer pos = -1;
  if (!key.empty())
    for (std::size_t i = 0; i < view_.size() && pos < 0; ++i)
      if (StoredKey(view_[i]) == key) pos = static_cast<Integer>(i);
  if (pos < 0) pos = std::clamp(oldPos, 0, std::max(0, static_cast<Integer>(view_.size()) - 1));
  viewPos_ = pos;
}

// ---- cursor --------------------------------------------------------------------------------

TGetResult TClientDataSet::GetRecord(TRecordBuffer buffer, TGetMode mode, bool doCheck) {
  Integer n = static_cast<Integer>(view_.size());
  switch (mode) {
    case gmNext:
      if (viewPos_ >= n - 1) {
        viewPos_ = n;
        return grEOF;
      }
      ++viewPos_;
      break;
    case gmPrior:
      if (viewPos_ <= 0) {
        viewPos_ = -1;
        return grBOF;
      }
      --viewPos_;
      break;
    case gmCurrent:
      if (viewPos_ < 0 || viewPos_ >= n) {
        if (doCheck && n > 0) DatabaseErrorFmt(res::SInternalError, {res::SNoCurrentRecord});
        return grError;
      }
      break;
  }
  Integer id = view_[static_cast<std::size_t>(viewPos_)];
  TMemDataSet::InternalGotoBookmark(&id);
  return TMemDataSet::GetRecord(buffer, gmCurrent, doCheck);
}

void TClientDataSet::InternalSetToRecord(TRecordBuffer buffer) {
  Integer id;
  GetBookmarkData(buffer, &id);
  Integer pos = ViewPosOf(id);
  if (pos < 0) DatabaseError(res::SRecordNotFound);
  viewPos_ = pos;
}

void TClientDataSet::InternalGotoBookmark(const void* bookmark) {
  Integer id;
  std::memcpy(&id, bookmark, 4);
  Integer pos = ViewPosOf(id);
  if (pos < 0) DatabaseError(res::SRecordNotFound);
  viewPos_ = pos;
}

Integer TClientDataSet::GetRecNo() {
  TRecordBuffer buf = ActiveBuffer();
  if (!buf) return 0;
  if (GetBookmarkFlag(buf) != bfCurrent) return -1;
  Integer id;
  GetBookmarkData(buf, &id);
  Integer pos = ViewPosOf(id);
  return pos < 0 ? -1 : pos + 1;
}

bool TClientDataSet::InternalSetRecNo(Integer value) {
  if (value < 1 || value > static_cast<Integer>(view_.size())) return false;
  viewPos_ = value - 1;
  return true;
}

bool TClientDataSet::BookmarkValid(const TBookmark& bookmark) {
  if (bookmark.size() != 4 || !Active()) return false;
  Integer id;
  std::memcpy(&id, bookmark.data(), 4);
  return ViewPosOf(id) >= 0;
}

Integer TClientDataSet::CompareBookmarks(const TBookmark& b1, const TBookmark& b2) {
  auto position = [this](const TBookmark& b, Int64 empty) -> Int64 {
    if (b.empty()) return empty;
    if (b.size() != 4) return -1;
    Integer id;
    std::memcpy(&id, b.data(), 4);
    return ViewPosOf(id);
  };
  if (b1.empty() && b2.empty()) return 0;
  // Positions are compared, not subtracted: only the sign is answered.
  const Int64 p1 = position(b1, 2147483647), p2 = position(b2, 0);
  return p1 < p2 ? -1 : p1 > p2 ? 1 : 0;
}

// ---- editing -----------------------------------------------------------------------------

// The record's values as its data fields show them; columns without a data
// field keep the value they have in values.
void TClientDataSet::ReadEditValues(std::vector<Variant>& values) {
  values.resize(names_.size(), Variant::Null());
  for (std::size_t i = 0; i < names_.size(); ++i) {
    TField* f = FindField(names_[i]);
    if (!f || f->FieldKind() != fkData) continue;
    values[i] = f->IsNull() ? Variant::Null() : f->IsBlob() ? Variant(f->AsString()) : f->Value();
  }
}

std::vector<Variant> TClientDataSet::KeyOf(const std::vector<Variant>& values) const {
  std::vector<Variant> key;
  for (Integer k : keyColumns_) key.push_back(values[static_cast<std::size_t>(k)]);
  return key;
}

void TClientDataSet::LogChange(TUpdateKind kind, Integer id, const std::vector<Variant>& oldValues,
                               const std::vector<Variant>& newValues) {
  auto it =
      std::find_if(log_.begin(), log_.end(), [id](const TUpdateRecord& u) { return u.id == id; });
  switch (kind) {
    case ukInsert:
      log_.push_back({ukInsert, id, {}, newValues, {}});
      break;
    case ukModify:
      if (it == log_.end() && oldValues == newValues) break;  // nothing changed
      if (it == log_.end())
        log_.push_back({ukModify, id, KeyOf(oldValues), newValues, oldValues});
      else if (it->kind == ukModify && it->oldValues == newValues)
        log_.erase(it);  // changed back
      else
        it->values = newValues;
      break;
    case ukDelete:
      if (it != log_.end() && it->kind == ukInsert) {
        log_.erase(it);
      } else if (it != log_.end()) {
        it->kind = ukDelete;
        it->values.clear();
      } else {
        log_.push_back({ukDelete, id, KeyOf(oldValues), {}, {}});
      }
      break;
  }
}

// Places a record that was written into the view: at its sorted place, at
// hint without an index, or nowhere when the filter rejects it (the cursor
// then rests on the record that followed).
void TClientDataSet::PlaceInView(Integer id, Integer hint) {
  positionsValid_ = false;
  Integer n = static_cast<Integer>(view_.size());
  hint = std::clamp(hint, 0, n);
  if (!Passes(id)) {
    viewPos_ = hint;
    return;
  }
  Integer pos = hint;
  if (!sortKeys_.empty())
    pos =
        static_cast<Integer>(std::upper_bound(view_.begin(), view_.end(), id,
                                              [this](Integer a, Integer b) { return Less(a, b); }) -
                             view_.begin());
  view_.insert(view_.begin() + pos, id);
  viewPos_ = pos;
}

void TClientDataSet::InsertPath(bool append) {
  TRecordBuffer buf = ActiveBuffer();
  Integer n = static_cast<Integer>(view_.size());
  bool atEnd = append || GetBookmarkFlag(buf) == bfEOF || viewPos_ < 0 || viewPos_ >= n;
  Integer hint = atEnd ? n : viewPos_;
  Integer beforeId = atEnd ? -1 : view_[static_cast<std::size_t>(viewPos_)];
  TMemDataSet::InternalLast();
  TMemDataSet::InternalAddRecord(buf, true);
  // Read once the store has filled in what it assigns (auto-increments).
  std::vector<Variant> values;
  ReadEditValues(values);
  Integer id;
  GetBookmarkData(buf, &id);
  auto at = beforeId < 0 ? storeOrder_.end()
                         : std::find(storeOrder_.begin(), storeOrder_.end(), beforeId);
  storeOrder_.insert(at, id);
  ++dataVersion_;
  PlaceInView(id, hint);
  LogChange(ukInsert, id, {}, values);
}

void TClientDataSet::InternalPost() {
  if (State() == dsInsert) {
    InsertPath(false);
    return;
  }
  TRecordBuffer buf = ActiveBuffer();
  Integer id;
  GetBookmarkData(buf, &id);
  std::vector<Variant> old = StoredRow(id);
  std::vector<Variant> values = old;
  ReadEditValues(values);
  Integer pos = ViewPosOf(id);
  TMemDataSet::InternalGotoBookmark(&id);
  TMemDataSet::InternalPost();
  ++dataVersion_;
  // A record whose index values did not change keeps its place among equal keys.
  if (pos >= 0 && CompareRows(old, values) == 0 && Passes(id)) {
    viewPos_ = pos;
  } else {
    if (pos >= 0) view_.erase(view_.begin() + pos);
    PlaceInView(id, pos >= 0 ? pos : viewPos_);
  }
  LogChange(ukModify, id, old, values);
}

void TClientDataSet::InternalAddRecord(TRecordBuffer buffer, bool append) {
  (void)buffer;  // the active buffer
  InsertPath(append);
}

void TClientDataSet::InternalDelete() {
  Integer n = static_cast<Integer>(view_.size());
  if (viewPos_ < 0 || viewPos_ >= n) DatabaseError(res::SRecordNotFound);
  Integer id = view_[static_cast<std::size_t>(viewPos_)];
  std::vector<Variant> old = StoredRow(id);
  TMemDataSet::InternalGotoBookmark(&id);
  TMemDataSet::InternalDelete();
  ++dataVersion_;
  view_.erase(view_.begin() + viewPos_);
  positionsValid_ = false;
  storeOrder_.erase(std::find(storeOrder_.begin(), storeOrder_.end(), id));
  LogChange(ukDelete, id, old, {});
}

// ---- resolving ------------------------------------------------------------------------------

Integer TClientDataSet::ApplyUpdates(Integer maxErrors) {
  CheckActive();
  CheckBrowseMode();
  TDataSetProvider* p = ResolveProvider();
  if (!p) DatabaseErrorFmt(SMissingProvider, {Name()});
  applyError_.clear();
  Integer errors = 0;
  std::size_t i = 0;
  bool rekeyed = false;
  while (i < log_.size()) {
    try {
      std::vector<Variant> key = p->ApplyUpdate(log_[i], names_);
      // Later changes of the record locate it by the key the source holds;
      // the entry leaves the log only once the record has that key.
      rekeyed = StoreKey(log_[i].id, key) || rekeyed;
      log_.erase(log_.begin() + static_cast<std::ptrdiff_t>(i));
    } catch (const Exception& e) {
      applyError_ = e.Message();
      ++errors;
      ++i;
      if (maxErrors >= 0 && errors > maxErrors) break;
    }
  }
  if (rekeyed) ReplaceView();
  return errors;
}

// Writes the key the source holds into a record (the key an insert was
// assigned): straight into the values and the store, without fields,
// events or the change log. Answers whether the key changed.
bool TClientDataSet::StoreKey(Integer id, const std::vector<Variant>& key) {
  if (RowOfId(id) < 0 || key.size() != keyColumns_.size() || StoredKey(id) == key) return false;
  for (std::size_t k = 0; k < key.size(); ++k) StoreFieldValue(id, keyColumns_[k], key[k]);
  ++dataVersion_;
  return true;
}

// Rebuilds the view after values changed behind the fields' back, keeping
// the cursor on its record when it is still in the view.
void TClientDataSet::ReplaceView() {
  Integer current = -1;
  if (ActiveBuffer() && GetRecNo() > 0) GetBookmarkData(ActiveBuffer(), &current);
  BuildView();
  Integer pos = current >= 0 ? ViewPosOf(current) : -1;
  viewPos_ = pos >= 0 ? pos : std::clamp(viewPos_, 0, static_cast<Integer>(view_.size()));
  Resync({});
}

void TClientDataSet::CancelUpdates() {
  if (!Active()) {
    log_.clear();
    return;
  }
  Cancel();
  // The log waits aside until the provider's rows are back.
  std::vector<TUpdateRecord> pending;
  pending.swap(log_);
  TScopeGuard restore([&] {
    if (!pending.empty()) log_.swap(pending);
  });
  Refresh();
  pending.clear();
}

}  // namespace brevant
