// The converter behind ObjectTextToBinary: parses the text form of one
// object (see form_text.h for its rules) and writes the binary form through
// a writer (private to the classes layer).
#pragma once

#include <vector>

#include "classes/filer.h"
#include "rtl/types.h"

namespace brevant {

class TWriter;

namespace detail {

class TTextToBinary {
 public:
  TTextToBinary(const String& text, TWriter& writer) : s_(text), w_(writer) {}

  // Converts the object the text holds; blanks may follow it, nothing else.
  // Raises EParserError with the line number for malformed text.
  void Convert();

 private:
  // A place in the text to come back to after looking ahead.
  struct TMark {
    std::size_t pos;  // byte position in the text
    Integer line;     // its line, from 1
  };
  // One piece of a string literal: a quoted run or a #code.
  struct TPiece {
    String run;           // the run's bytes (quotes undoubled)
    UInt64 code = 0;      // the character code of a #code piece
    bool isCode = false;  // whether this piece is a #code
  };

  // ---- errors
  [[noreturn]] void Error(const String& msg) const;
  [[noreturn]] void Expected(const char* what) const;
  // Reports the number starting at start, up to the end of the word.
  [[noreturn]] void BadNumber(std::size_t start) const;

  // ---- scanning
  bool AtEnd() const { return p_ >= s_.size(); }
  char Peek() const { return AtEnd() ? '\0' : s_[p_]; }
  TMark Mark() const { return {p_, line_}; }
  void Rewind(TMark mark);
  void SkipBlanks();
  // Takes c after blanks; without it, leaves the position where it was.
  bool AcceptAfterBlanks(char c);
  void Expect(char c);
  void Enter();
  void Leave() { --depth_; }
  String ReadName();
  String ReadDottedName();
  Int64 ReadIndex();
  bool AtPropertyStart();
  // Inside an object or item: whether a property comes next; raises for the
  // end of the text and for anything that is not an identifier.
  bool PropertyAhead();

  // ---- structure
  void Object();
  TFilerFlags ObjectKeyword();
  void ObjectBody();
  void Property();
  void Value(bool inList = false);
  void IdentValue(bool inList);
  void SetValue();
  void ListValue();
  void BinaryValue();
  void CollectionValue();
  void CollectionItem();

  // ---- strings
  void StringValue();
  TPiece QuotedRun();
  TPiece CharCode();
  bool LiteralGoesOn();
  void WriteLiteral(const std::vector<TPiece>& pieces, bool wide);

  // ---- numbers
  void Number();
  void NonFiniteNumber(std::size_t start, bool neg);
  void HexNumber(std::size_t start, bool neg);
  void DecimalNumber(std::size_t start);
  std::size_t Digits();
  void SingleNumber(const String& text, std::size_t start);
  void DateNumber(const String& text, std::size_t start);
  void CurrencyNumber(const String& text, std::size_t start);
  void FloatNumber(const String& text, std::size_t start);
  // Parses the whole text as T, or reports the number at start.
  template <class T>
  T Parse(const String& text, std::size_t start) const;

  const String& s_;    // the text parsed
  TWriter& w_;         // receives the binary form
  std::size_t p_ = 0;  // byte position in the text
  Integer line_ = 1;   // line of p_, from 1
  Integer depth_ = 0;  // objects, lists and collections open around p_
};

}  // namespace detail
}  // namespace brevant
