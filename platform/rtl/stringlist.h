// TStrings, the abstract list of strings (each with an associated untyped
// object pointer), and TStringList, the list that stores them.
//
// Indexes count from 0; a bad index raises EStringListError with the index.
// Objects are not owned: the list never frees them.
//
// Events pass the list itself as the Sender.
#pragma once

#include <exception>
#include <vector>

#include "rtl/closing_guard.h"
#include "rtl/method.h"
#include "rtl/persistent.h"
#include "rtl/types.h"

namespace brevant {

class TStream;

enum TDuplicates : Byte { dupIgnore, dupAccept, dupError };

class TStrings : public TPersistent {
  BV_CLASS(TStrings, TPersistent)
 public:
  TStrings() = default;
  ~TStrings() override = default;

  virtual Integer Count() const = 0;
  virtual String Strings(Integer index) const = 0;
  // The default deletes and re-inserts, keeping the object.
  virtual void SetStrings(Integer index, const String& s);
  // The defaults keep no objects: Objects answers nullptr, SetObjects does
  // nothing.
  virtual void* Objects(Integer index) const;
  virtual void SetObjects(Integer index, void* object);

  // Answer the index the string went to.
  virtual Integer Add(const String& s);
  virtual Integer AddObject(const String& s, void* object);
  virtual void Insert(Integer index, const String& s) = 0;
  virtual void InsertObject(Integer index, const String& s, void* object);
  virtual void Delete(Integer index) = 0;
  virtual void Clear() = 0;
  // The defaults work through Strings/Objects/Delete/InsertObject.
  virtual void Move(Integer curIndex, Integer newIndex);
  virtual void Exchange(Integer index1, Integer index2);
  // The first string equal by CompareStrings, or -1.
  virtual Integer IndexOf(const String& s) const;
  Integer IndexOfObject(void* object) const;

  // Replaces the content with a copy of the strings and objects of source.
  virtual void Assign(const TStrings& source);
  // Another string list is copied; other sources raise the assignment error.
  void Assign(const TPersistent* source) override;
  virtual void AddStrings(const TStrings& source);
  // Same count and byte-equal strings (objects are not compared).
  bool Equals(const TStrings& other) const;

  // A counted bracket around many changes; see TStringList for the events.
  void BeginUpdate();
  void EndUpdate();
  Integer UpdateCount() const { return updateCount_; }

  // Every line followed by CR LF.
  String Text() const;
  // Splits at CR LF, LF or CR; a final line break adds no empty line.
  void SetText(const String& text);

  // The strings joined by the delimiter; a string that is empty-and-alone or
  // contains blanks (bytes <= ' '), the delimiter or the quote character is
  // quoted (quotes doubled). Reading back: quoted items keep everything;
  // unless StrictDelimiter is set, unquoted blanks also separate items.
  String DelimitedText() const;
  void SetDelimitedText(const String& text);
  // The same with delimiter ',' and quote '"'.
  String CommaText() const;
  void SetCommaText(const String& text);
  char Delimiter() const { return delimiter_; }
  void SetDelimiter(char c) { delimiter_ = c; }
  char QuoteChar() const { return quoteChar_; }
  void SetQuoteChar(char c) { quoteChar_ = c; }
  bool StrictDelimiter() const { return strictDelimiter_; }
  void SetStrictDelimiter(bool v) { strictDelimiter_ = v; }

  // UTF-8, every line ended by CR LF, no byte order mark.
  virtual void SaveToStream(TStream& stream) const;
  // Reads from the stream's position to its end; skips a UTF-8 byte order
  // mark and accepts CR LF, LF and CR line ends.
  virtual void LoadFromStream(TStream& stream);
  // Raise EFCreateError / EFOpenError quoting the file name.
  void SaveToFile(const String& fileName) const;
  void LoadFromFile(const String& fileName);

 protected:
  // Called when the update count goes from 0 to 1 (true) and back (false).
  virtual void SetUpdateState(bool updating);
  // The comparison IndexOf uses: AnsiCompareText by default.
  virtual Integer CompareStrings(const String& a, const String& b) const;
  // The Sender passed to events.
  TObject* EventSender() const { return const_cast<TStrings*>(this); }
  [[noreturn]] static void Error(const char* message, Integer index);

 private:
  String JoinDelimited(char delimiter, char quoteChar) const;
  void SplitDelimited(const String& text, char delimiter, char quoteChar, bool strict);

  Integer updateCount_ = 0;
  char delimiter_ = ',';
  char quoteChar_ = '"';
  bool strictDelimiter_ = false;
};

// Closes an update bracket on every path. If EndUpdate's change event
// throws while another exception is already unwinding, the event's
// exception is dropped (two cannot travel at once).
class TStringsUpdate {
 public:
  explicit TStringsUpdate(TStrings& strings)
      : strings_(strings), exceptions_(std::uncaught_exceptions()) {
    strings_.BeginUpdate();
  }
  TStringsUpdate(const TStringsUpdate&) = delete;
  TStringsUpdate& operator=(const TStringsUpdate&) = delete;
  ~TStringsUpdate() noexcept(false) {
    CloseBracket(LeavingByException(exceptions_), [this] { strings_.EndUpdate(); });
  }

 private:
  TStrings& strings_;
  int exceptions_;
};

class TStringList;
using TStringListSortCompare = Integer (*)(TStringList& list, Integer index1, Integer index2);

// Events: outside an update bracket every change fires OnChanging before and
// OnChange after. Inside a bracket OnChanging fires once before the first
// change and OnChange once when the outermost EndUpdate closes, only if
// something changed.
class TStringList : public TStrings {
  BV_CLASS(TStringList, TStrings)
 public:
  TStringList() = default;
  ~TStringList() override = default;

  Integer Count() const override { return static_cast<Integer>(items_.size()); }
  String Strings(Integer index) const override;
  // Raises EStringListError (SSortedListError) on a sorted list.
  void SetStrings(Integer index, const String& s) override;
  void* Objects(Integer index) const override;
  void SetObjects(Integer index, void* object) override;

  // On a sorted list, Add inserts at the sorted place (after equal strings)
  // and applies Duplicates (dupIgnore answers the index already there and
  // keeps its object).
  Integer Add(const String& s) override { return AddObject(s, nullptr); }
  Integer AddObject(const String& s, void* object) override;
  // Raise EStringListError (SSortedListError) on a sorted list.
  void Insert(Integer index, const String& s) override { InsertObject(index, s, nullptr); }
  void InsertObject(Integer index, const String& s, void* object) override;
  void Delete(Integer index) override;
  void Clear() override;
  // Raise EStringListError (SSortedListError) on a sorted list.
  void Move(Integer curIndex, Integer newIndex) override;
  void Exchange(Integer index1, Integer index2) override;
  Integer IndexOf(const String& s) const override;

  // On a sorted list: binary search; answers whether s is there and sets
  // index to the first equal string or to where s would be inserted. On an
  // unsorted list: linear search, index = the match or Count().
  bool Find(const String& s, Integer& index) const;
  // Stable sort by CompareStrings; does nothing on a sorted list.
  void Sort();
  // Stable sort by compare, which sees the list unchanged during the sort.
  // Does nothing on a sorted list.
  void CustomSort(TStringListSortCompare compare);

  bool Sorted() const { return sorted_; }
  // Turning it on sorts the list (duplicates already there stay).
  void SetSorted(bool v);
  // What Add does with a string already in a sorted list; unsorted lists
  // accept duplicates.
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates d) { duplicates_ = d; }
  // Compare with AnsiCompareStr instead of AnsiCompareText. Changing it
  // re-sorts a sorted list.
  bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool v);

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  void SetUpdateState(bool updating) override;
  Integer CompareStrings(const String& a, const String& b) const override;
  // Fire the events, honouring the update bracket.
  virtual void Changing();
  virtual void Changed();

 private:
  struct Item {
    String s;
    void* object = nullptr;
  };
  void CheckIndex(Integer index) const;
  void InsertItem(Integer index, const String& s, void* object);
  Integer SortedInsertIndex(const String& s) const;
  void SortItems();

  std::vector<Item> items_;
  TDuplicates duplicates_ = dupIgnore;
  bool sorted_ = false;
  bool caseSensitive_ = false;
  bool changingFired_ = false;  // OnChanging already sent in this bracket
  bool changedInUpdate_ = false;
};

}  // namespace brevant
