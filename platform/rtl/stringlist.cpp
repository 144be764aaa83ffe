#include "rtl/stringlist.h"

#include <algorithm>
#include <numeric>

#include "rtl/exceptions.h"
#include "rtl/lists.h"
#include "rtl/resstrings.h"
#include "rtl/streams.h"
#include "rtl/strutils.h"

namespace brevant {

// ---- TStrings -------------------------------------------------------------

void TStrings::Error(const char* message, Integer index) {
  throw EStringListError(message, {index});
}

void TStrings::SetStrings(Integer index, const String& s) {
  TStringsUpdate update(*this);
  void* object = Objects(index);
  Delete(index);
  InsertObject(index, s, object);
}

void* TStrings::Objects(Integer) const {
  return nullptr;
}

void TStrings::SetObjects(Integer, void*) {}

Integer TStrings::Add(const String& s) {
  const Integer index = Count();
  Insert(index, s);
  return index;
}

Integer TStrings::AddObject(const String& s, void* object) {
  const Integer index = Add(s);
  SetObjects(index, object);
  return index;
}

void TStrings::InsertObject(Integer index, const String& s, void* object) {
  Insert(index, s);
  SetObjects(index, object);
}

void TStrings::Move(Integer curIndex, Integer newIndex) {
  if (curIndex == newIndex) return;
  TStringsUpdate update(*this);
  const String s = Strings(curIndex);
  void* object = Objects(curIndex);
  Delete(curIndex);
  InsertObject(newIndex, s, object);
}

void TStrings::Exchange(Integer index1, Integer index2) {
  TStringsUpdate update(*this);
  const String s1 = Strings(index1);
  void* o1 = Objects(index1);
  SetStrings(index1, Strings(index2));
  SetObjects(index1, Objects(index2));
  SetStrings(index2, s1);
  SetObjects(index2, o1);
}

Integer TStrings::IndexOf(const String& s) const {
  const Integer n = Count();
  for (Integer i = 0; i < n; ++i) {
    if (CompareStrings(Strings(i), s) == 0) return i;
  }
  return -1;
}

Integer TStrings::IndexOfObject(void* object) const {
  const Integer n = Count();
  for (Integer i = 0; i < n; ++i) {
    if (Objects(i) == object) return i;
  }
  return -1;
}

BV_IMPLEMENT_ABSTRACT_CLASS(TStrings, TPersistent)
BV_IMPLEMENT_CLASS(TStringList, TStrings)

void TStrings::Assign(const TPersistent* source) {
  if (auto* strings = dynamic_cast<const TStrings*>(source)) {
    Assign(*strings);
    return;
  }
  TPersistent::Assign(source);
}

void TStrings::Assign(const TStrings& source) {
  if (&source == this) return;
  TStringsUpdate update(*this);
  Clear();
  AddStrings(source);
}

void TStrings::AddStrings(const TStrings& source) {
  TStringsUpdate update(*this);
  // Adding a list to itself must see only the strings it started with.
  const Integer n = source.Count();
  for (Integer i = 0; i < n; ++i) AddObject(source.Strings(i), source.Objects(i));
}

bool TStrings::Equals(const TStrings& other) const {
  const Integer n = Count();
  if (n != other.Count()) return false;
  for (Integer i = 0; i < n; ++i) {
    if (Strings(i) != other.Strings(i)) return false;
  }
  return true;
}

void TStrings::BeginUpdate() {
  if (updateCount_++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
  if (updateCount_ == 0) return;
  if (--updateCount_ == 0) SetUpdateState(false);
}

void TStrings::SetUpdateState(bool) {}

Integer TStrings::CompareStrings(const String& a, const String& b) const {
  return AnsiCompareText(a, b);
}

String TStrings::Text() const {
  const Integer n = Count();
  String r;
  for (Integer i = 0; i < n; ++i) {
    r += Strings(i);
    r += "\r\n";
  }
  return r;
}

void TStrings::SetText(const String& text) {
  TStringsUpdate update(*this);
  Clear();
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n) {
    const std::size_t begin = i;
    while (i < n && text[i] != '\r' && text[i] != '\n') ++i;
    Add(text.substr(begin, i - begin));
    if (i < n) i += (text[i] == '\r' && i + 1 < n && text[i + 1] == '\n') ? 2 : 1;
  }
}

namespace {

inline bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

// Reads a quoted item starting at the quote at text[i]; doubled quotes stand
// for one. Leaves i after the closing quote (or at the end when unclosed).
String ExtractQuoted(const String& text, std::size_t& i, char quote) {
  String r;
  ++i;
  while (i < text.size()) {
    if (text[i] == quote) {
      if (i + 1 < text.size() && text[i + 1] == quote) {
        r.push_back(quote);
        i += 2;
        continue;
      }
      ++i;
      break;
    }
    r.push_back(text[i++]);
  }
  return r;
}

}  // namespace

String TStrings::DelimitedText() const {
  return JoinDelimited(delimiter_, quoteChar_);
}

void TStrings::SetDelimitedText(const String& text) {
  SplitDelimited(text, delimiter_, quoteChar_, strictDelimiter_);
}

String TStrings::CommaText() const {
  return JoinDelimited(',', '"');
}

void TStrings::SetCommaText(const String& text) {
  SplitDelimited(text, ',', '"', false);
}

String TStrings::JoinDelimited(char delimiter, char quoteChar) const {
  const Integer n = Count();
  // One empty string must not read back as an empty list.
  if (n == 1 && Strings(0).empty()) return String(2, quoteChar);
  String r;
  for (Integer i = 0; i < n; ++i) {
    if (i > 0) r.push_back(delimiter);
    const String s = Strings(i);
    const bool quote = std::any_of(
        s.begin(), s.end(), [=](char c) { return IsBlank(c) || c == quoteChar || c == delimiter; });
    r += quote ? AnsiQuotedStr(s, quoteChar) : s;
  }
  return r;
}

void TStrings::SplitDelimited(const String& text, char delimiter, char quoteChar, bool strict) {
  TStringsUpdate update(*this);
  Clear();
  const std::size_t n = text.size();
  std::size_t i = 0;
  if (strict) {
    // Only the delimiter separates; blanks belong to the items.
    if (n == 0) return;
    for (;;) {
      String item;
      if (text[i] == quoteChar) {
        item = ExtractQuoted(text, i, quoteChar);
        while (i < n && text[i] != delimiter) item.push_back(text[i++]);
      } else {
        const std::size_t begin = i;
        while (i < n && text[i] != delimiter) ++i;
        item = text.substr(begin, i - begin);
      }
      Add(item);
      if (i >= n) return;
      ++i;  // the delimiter
      if (i == n) {
        Add(String());  // a trailing delimiter ends with an empty item
        return;
      }
    }
  }
  while (i < n && IsBlank(text[i])) ++i;
  while (i < n) {
    if (text[i] == quoteChar) {
      Add(ExtractQuoted(text, i, quoteChar));
    } else {
      const std::size_t begin = i;
      while (i < n && !IsBlank(text[i]) && text[i] != delimiter) ++i;
      Add(text.substr(begin, i - begin));
    }
    while (i < n && IsBlank(text[i])) ++i;
    if (i < n && text[i] == delimiter) {
      ++i;
      if (i == n) {
        Add(String());
        return;
      }
      while (i < n && IsBlank(text[i])) ++i;
    }
  }
}

void TStrings::SaveToStream(TStream& stream) const {
  const String text = Text();
  stream.WriteBuffer(text.data(), static_cast<Int64>(text.size()));
}

void TStrings::LoadFromStream(TStream& stream) {
  String data;
  char buf[64 * 1024];
  for (;;) {
    const Int64 n = stream.Read(buf, sizeof buf);
    if (n <= 0) break;
    data.append(buf, static_cast<std::size_t>(std::min<Int64>(n, sizeof buf)));
  }
  if (data.compare(0, 3, "\xEF\xBB\xBF") == 0) data.erase(0, 3);
  SetText(data);
}

void TStrings::SaveToFile(const String& fileName) const {
  TFileStream file(fileName, fmCreate);
  SaveToStream(file);
}

void TStrings::LoadFromFile(const String& fileName) {
  TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(file);
}

// ---- TStringList ----------------------------------------------------------

void TStringList::CheckIndex(Integer index) const {
  if (index < 0 || index >= Count()) Error(res::SListIndexError, index);
}

String TStringList::Strings(Integer index) const {
  CheckIndex(index);
  return items_[static_cast<std::size_t>(index)].s;
}

void TStringList::SetStrings(Integer index, const String& s) {
  if (sorted_) throw EStringListError(res::SSortedListError);
  CheckIndex(index);
  Changing();
  items_[static_cast<std::size_t>(index)].s = s;
  Changed();
}

void* TStringList::Objects(Integer index) const {
  CheckIndex(index);
  return items_[static_cast<std::size_t>(index)].object;
}

void TStringList::SetObjects(Integer index, void* object) {
  CheckIndex(index);
  Changing();
  items_[static_cast<std::size_t>(index)].object = object;
  Changed();
}

Integer TStringList::AddObject(const String& s, void* object) {
  Integer index = Count();
  if (sorted_) {
    Integer found = 0;
    if (Find(s, found)) {
      switch (duplicates_) {
        case dupIgnore:
          return found;
        case dupError:
          throw EStringListError(res::SDuplicateString);
        case dupAccept:
          break;
      }
    }
    index = SortedInsertIndex(s);
  }
  InsertItem(index, s, object);
  return index;
}

void TStringList::InsertObject(Integer index, const String& s, void* object) {
  if (sorted_) throw EStringListError(res::SSortedListError);
  if (index < 0 || index > Count()) Error(res::SListIndexError, index);
  InsertItem(index, s, object);
}

void TStringList::InsertItem(Integer index, const String& s, void* object) {
  if (Count() == INT32_MAX) Error(res::SListCountError, Count());
  Changing();
  items_.insert(items_.begin() + index, Item{s, object});
  Changed();
}

void TStringList::Delete(Integer index) {
  CheckIndex(index);
  Changing();
  items_.erase(items_.begin() + index);
  Changed();
}

void TStringList::Clear() {
  if (items_.empty()) return;
  Changing();
  std::vector<Item>().swap(items_);
  Changed();
}

void TStringList::Move(Integer curIndex, Integer newIndex) {
  if (sorted_) throw EStringListError(res::SSortedListError);
  CheckIndex(curIndex);
  CheckIndex(newIndex);
  if (curIndex == newIndex) return;
  Changing();
  const auto b = items_.begin();
  if (curIndex < newIndex)
    std::rotate(b + curIndex, b + curIndex + 1, b + newIndex + 1);
  else
    std::rotate(b + newIndex, b + curIndex, b + curIndex + 1);
  Changed();
}

void TStringList::Exchange(Integer index1, Integer index2) {
  if (sorted_) throw EStringListError(res::SSortedListError);
  CheckIndex(index1);
  CheckIndex(index2);
  if (index1 == index2) return;
  Changing();
  std::swap(items_[static_cast<std::size_t>(index1)], items_[static_cast<std::size_t>(index2)]);
  Changed();
}

Integer TStringList::IndexOf(const String& s) const {
  Integer index = 0;
  if (sorted_) return Find(s, index) ? index : -1;
  return TStrings::IndexOf(s);
}

bool TStringList::Find(const String& s, Integer& index) const {
  if (!sorted_) {
    index = TStrings::IndexOf(s);
    if (index >= 0) return true;
    index = Count();
    return false;
  }
  std::size_t lo = 0, hi = items_.size();
  while (lo < hi) {
    const std::size_t mid = lo + (hi - lo) / 2;
    if (CompareStrings(items_[mid].s, s) < 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  index = static_cast<Integer>(lo);
  return lo < items_.size() && CompareStrings(items_[lo].s, s) == 0;
}

Integer TStringList::SortedInsertIndex(const String& s) const {
  std::size_t lo = 0, hi = items_.size();
  while (lo < hi) {
    const std::size_t mid = lo + (hi - lo) / 2;
    if (CompareStrings(items_[mid].s, s) <= 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  return static_cast<Integer>(lo);
}

void TStringList::SortItems() {
  std::vector<Integer> order(items_.size());
  std::iota(order.begin(), order.end(), 0);
  MergeSortStable(order, [this](Integer a, Integer b) {
    return CompareStrings(items_[static_cast<std::size_t>(a)].s,
                          items_[static_cast<std::size_t>(b)].s);
  });
  std::vector<Item> sorted;
  sorted.reserve(items_.size());
  for (Integer i : order) sorted.push_back(std::move(items_[static_cast<std::size_t>(i)]));
  items_.swap(sorted);
}

void TStringList::Sort() {
  if (sorted_ || items_.size() < 2) return;
  Changing();
  SortItems();
  Changed();
}

void TStringList::CustomSort(TStringListSortCompare compare) {
  if (sorted_ || !compare || items_.size() < 2) return;
  Changing();
  // The compare function reads the list by index, so the list stays as it
  // is while the order is worked out; then the order is applied at once.
  std::vector<Integer> order(items_.size());
  std::iota(order.begin(), order.end(), 0);
  MergeSortStable(order, [this, compare](Integer a, Integer b) { return compare(*this, a, b); });
  // A compare function that added or deleted strings leaves no valid order.
  if (order.size() == items_.size()) {
    std::vector<Item> sorted;
    sorted.reserve(items_.size());
    for (Integer i : order) sorted.push_back(std::move(items_[static_cast<std::size_t>(i)]));
    items_.swap(sorted);
  }
  Changed();
}

void TStringList::SetSorted(bool v) {
  if (v == sorted_) return;
  if (v) Sort();
  sorted_ = v;
}

void TStringList::SetCaseSensitive(bool v) {
  if (v == caseSensitive_) return;
  caseSensitive_ = v;
  if (sorted_ && items_.size() > 1) {
    Changing();
    SortItems();
    Changed();
  }
}

Integer TStringList::CompareStrings(const String& a, const String& b) const {
  return caseSensitive_ ? AnsiCompareStr(a, b) : AnsiCompareText(a, b);
}

void TStringList::SetUpdateState(bool updating) {
  if (updating) {
    changingFired_ = false;
    changedInUpdate_ = false;
    return;
  }
  const bool changed = changedInUpdate_;
  changingFired_ = false;
  changedInUpdate_ = false;
  if (changed) OnChange(EventSender());
}

void TStringList::Changing() {
  if (UpdateCount() > 0) {
    if (changingFired_) return;
    changingFired_ = true;
  }
  OnChanging(EventSender());
}

void TStringList::Changed() {
  if (UpdateCount() > 0) {
    changedInUpdate_ = true;
    return;
  }
  OnChange(EventSender());
}

}  // namespace brevant
