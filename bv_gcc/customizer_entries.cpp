#include "bv_gcc/customizer_entries.h"

#include <algorithm>

#include "bv/column.h"
#include "bv/columns.h"
#include "bv/tabulon.h"
#include "bv_rtm/tokens.h"
#include "db/dataset.h"
#include "db/field.h"
#include "rtl/stringlist.h"
#include "rtl/strutils.h"

namespace brevant {

std::vector<String> SplitList(const String& text) {
  std::vector<String> list;
  if (text.empty()) return list;
  for (Integer i = 0, n = TokenCount(text, ';'); i < n; ++i) list.push_back(GetToken(text, i, ';'));
  return list;
}

static String JoinRun(const std::vector<String>& tokens, size_t from, size_t count) {
  String text = tokens[from];
  for (size_t i = from + 1; i < from + count; ++i) text += ";" + tokens[i];
  return text;
}

static bool ListHas(const std::vector<String>& list, const String& name) {
  return std::any_of(list.begin(), list.end(), [&](const String& s) { return SameText(s, name); });
}

// The number of tokens from `from` that form one field name: the longest
// run naming one of the grid's columns, else one.
static size_t NameTokens(TDBTabulon* grid, const std::vector<String>& tokens, size_t from) {
  if (!grid) return 1;
  for (size_t count = tokens.size() - from; count > 1; --count) {
    const String name = JoinRun(tokens, from, count);
    if (TtlColumn* column = grid->Columns()->FindByFieldName(name);
        column && SameText(column->FieldName(), name))
      return count;
  }
  return 1;
}

Integer TbvCustomizerEntries::CaptionTokens(TDBTabulon* grid, const std::vector<String>& tokens,
                                            size_t from, const String& name) const {
  if (!grid) return 1;
  std::vector<String> expected;
  if (TtlColumn* column = grid->Columns()->FindByFieldName(name)) {
    const String& caption = column->EffectiveCaption();
    expected.push_back(caption.empty() ? name : caption);
  }
  if (TDataSet* dataSet = grid->DataSet())
    if (TField* field = dataSet->FindField(name)) expected.push_back(field->DisplayName());
  for (const String& caption : expected) {
    const size_t count = static_cast<size_t>(TokenCount(caption, ';'));
    if (count > 1 && from + count <= tokens.size() && JoinRun(tokens, from, count) == caption)
      return static_cast<Integer>(count);
  }
  return 1;
}

void TbvCustomizerEntries::Assign(TDBTabulon* grid, const String& names, const String& captions,
                                  const String& shown) {
  const std::vector<String> nameTokens = SplitList(names);
  const std::vector<String> captionTokens = SplitList(captions);
  names_.clear();
  captions_.clear();
  size_t c = 0;
  for (size_t n = 0; n < nameTokens.size();) {
    const size_t nameCount = NameTokens(grid, nameTokens, n);
    const String name = JoinRun(nameTokens, n, nameCount);
    n += nameCount;
    String caption = name;
    if (c < captionTokens.size()) {
      const size_t captionCount = CaptionTokens(grid, captionTokens, c, name);
      caption = JoinRun(captionTokens, c, captionCount);
      c += captionCount;
    }
    // The pair goes or stays as one, so the lists keep their pairing.
    if (name.empty() || ListHas(names_, name)) continue;
    names_.push_back(name);
    captions_.push_back(caption);
  }
  shown_ = SplitList(shown);
  entryNames_.clear();
}

bool TbvCustomizerEntries::HasName(const String& name) const {
  return ListHas(names_, name);
}

bool TbvCustomizerEntries::IsShown(const String& name) const {
  const std::vector<String> parts = SplitList(name);
  return !parts.empty() && std::all_of(parts.begin(), parts.end(),
                                       [&](const String& p) { return ListHas(shown_, p); });
}

void TbvCustomizerEntries::AddShown(const String& name) {
  for (const String& part : SplitList(name))
    if (!ListHas(shown_, part)) shown_.push_back(part);
}

void TbvCustomizerEntries::RemoveShown(const String& name) {
  for (const String& part : SplitList(name))
    std::erase_if(shown_, [&](const String& s) { return SameText(s, part); });
}

void TbvCustomizerEntries::Rebuild(TStrings& entries) {
  TStringsUpdate update(entries);
  entries.Clear();
  entryNames_.clear();
  for (size_t i = 0; i < names_.size(); ++i) {
    if (IsShown(names_[i])) continue;
    entries.Add(captions_[i]);
    entryNames_.push_back(names_[i]);
  }
}

String TbvCustomizerEntries::EntryName(Integer index) const {
  if (index < 0 || index >= static_cast<Integer>(entryNames_.size())) return String();
  return entryNames_[static_cast<size_t>(index)];
}

}  // namespace brevant
