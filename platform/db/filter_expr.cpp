// The filter expression parser: recursive descent over the filter text,
// building the tree declared in filter_expr.h.
#include "db/filter_expr.h"

#include <charconv>
#include <cstring>

#include "db/dbconsts.h"
#include "rtl/strutils.h"

namespace brevant {

namespace {

// Nesting (parentheses and "not") a filter may have; chains of "and" and
// "or" do not nest.
constexpr Integer kMaxFilterDepth = 200;
constexpr const char* SFilterSyntax = "Filter syntax error at position %d: %s";

using TNode = TClientDataSet::TFilterNode;
using TNodePtr = std::shared_ptr<TNode>;

class TFilterParser {
 public:
  explicit TFilterParser(const String& text) : s_(text) {}

  TNodePtr Parse() {
    Skip();
    TNodePtr n = Or();
    Skip();
    if (pos_ < s_.size()) Fail("unexpected text");
    return n;
  }

 private:
  [[noreturn]] void Fail(const char* what) {
    DatabaseErrorFmt(SFilterSyntax, {static_cast<Integer>(pos_ + 1), String(what)});
  }
  void Skip() {
    while (pos_ < s_.size() &&
           (s_[pos_] == ' ' || s_[pos_] == '\t' || s_[pos_] == '\r' || s_[pos_] == '\n'))
      ++pos_;
  }
  static bool IsIdentStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
  }
  static bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9'); }
  // Matches a keyword (case-insensitive, whole word) and consumes it.
  bool Keyword(const char* kw) {
    Skip();
    std::size_t n = std::strlen(kw);
    if (pos_ + n > s_.size() || !SameText(s_.substr(pos_, n), kw)) return false;
    if (pos_ + n < s_.size() && IsIdentChar(s_[pos_ + n])) return false;
    pos_ += n;
    return true;
  }
  TNodePtr Make(TNode::TKind kind, TNodePtr a = nullptr, TNodePtr b = nullptr) {
    auto n = std::make_shared<TNode>();
    n->kind = kind;
    n->a = std::move(a);
    n->b = std::move(b);
    return n;
  }
  TNodePtr Or() {
    TNodePtr l = And();
    if (!Keyword("or")) return l;
    TNodePtr n = Make(TNode::nkOr);
    n->terms.push_back(std::move(l));
    do n->terms.push_back(And());
    while (Keyword("or"));
    return n;
  }
  TNodePtr And() {
    TNodePtr l = Unary();
    if (!Keyword("and")) return l;
    TNodePtr n = Make(TNode::nkAnd);
    n->terms.push_back(std::move(l));
    do n->terms.push_back(Unary());
    while (Keyword("and"));
    return n;
  }
  TNodePtr Unary() {
    if (++depth_ > kMaxFilterDepth) Fail("expression nested too deeply");
    TNodePtr r = Keyword("not") ? Make(TNode::nkNot, Unary()) : Comparison();
    --depth_;
    return r;
  }
  TNodePtr Comparison() {
    Skip();
    if (pos_ < s_.size() && s_[pos_] == '(') {
      ++pos_;
      TNodePtr n = Or();
      Skip();
      if (pos_ >= s_.size() || s_[pos_] != ')') Fail("')' expected");
      ++pos_;
      return n;
    }
    TNodePtr l = Operand();
    if (Keyword("is")) {
      bool negate = Keyword("not");
      if (!Keyword("null")) Fail("'null' expected");
      return Make(negate ? TNode::nkIsNotNull : TNode::nkIsNull, l);
    }
    Skip();
    static const char* ops[] = {"<>", "<=", ">=", "=", "<", ">"};
    static const Integer codes[] = {1, 3, 5, 0, 2, 4};
    for (int i = 0; i < 6; ++i) {
      std::size_t n = std::strlen(ops[i]);
      if (s_.compare(pos_, n, ops[i]) == 0) {
        pos_ += n;
        TNodePtr c = Make(TNode::nkCompare, l, Operand());
        c->op = codes[i];
        return c;
      }
    }
    // A bare boolean operand.
    if (l->kind == TNode::nkField || l->value.VarType() == varBoolean) return l;
    Fail("comparison expected");
  }
  TNodePtr Operand() {
    Skip();
    if (pos_ >= s_.size()) Fail("operand expected");
    char c = s_[pos_];
    auto node = std::make_shared<TNode>();
    if (c == '\'') {
      String text;
      ++pos_;
      for (;;) {
        if (pos_ >= s_.size()) Fail("unterminated string");
        if (s_[pos_] == '\'') {
          if (pos_ + 1 < s_.size() && s_[pos_ + 1] == '\'') {
            text += '\'';
            pos_ += 2;
            continue;
          }
          ++pos_;
          break;
        }
        text += s_[pos_++];
      }
      node->value = Variant(text);
      return node;
    }
    if ((c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.') {
      std::size_t start = pos_;
      ++pos_;
      while (pos_ < s_.size() && ((s_[pos_] >= '0' && s_[pos_] <= '9') || s_[pos_] == '.' ||
                                  s_[pos_] == 'e' || s_[pos_] == 'E' ||
                                  ((s_[pos_] == '-' || s_[pos_] == '+') &&
                                   (s_[pos_ - 1] == 'e' || s_[pos_ - 1] == 'E'))))
        ++pos_;
      const char* b = s_.data() + start + (c == '+' ? 1 : 0);
      double d = 0;
      auto r = std::from_chars(b, s_.data() + pos_, d);
      if (r.ec != std::errc() || r.ptr != s_.data() + pos_) {
        pos_ = start;
        Fail("invalid number");
      }
      node->value = Variant(d);
      return node;
    }
    if (c == '[') {
      std::size_t end = s_.find(']', pos_);
      if (end == String::npos) Fail("']' expected");
      node->kind = TNode::nkField;
      node->name = s_.substr(pos_ + 1, end - pos_ - 1);
      pos_ = end + 1;
      return node;
    }
    if (IsIdentStart(c)) {
      std::size_t start = pos_;
      while (pos_ < s_.size() && IsIdentChar(s_[pos_])) ++pos_;
      String word = s_.substr(start, pos_ - start);
      if (SameText(word, "true") || SameText(word, "false")) {
        node->value = Variant(SameText(word, "true"));
        return node;
      }
      if (SameText(word, "null")) {
        node->value = Variant::Null();
        return node;
      }
      node->kind = TNode::nkField;
      node->name = word;
      return node;
    }
    Fail("operand expected");
  }

  const String& s_;
  std::size_t pos_ = 0;
  Integer depth_ = 0;
};

}  // namespace

std::shared_ptr<TClientDataSet::TFilterNode> ParseFilter(const String& text) {
  return TFilterParser(text).Parse();
}

}  // namespace brevant
