// TbvCustomizerEntries: what a column customizer offers. It keeps the
// field names it may offer paired with their captions, the names not to
// offer now (those with a visible column), and the entries shown: the
// captions and names of the pairs not shown, in order.
//
// The lists arrive as semicolon lists. A name may itself hold several
// fields ("A;B", a column over two fields) and a caption may hold a
// semicolon, so splitting the two lists token by token can pair a name
// with the wrong caption. The pairs are therefore split together, asking
// the grid which runs of tokens form one column's field name or one
// caption; a pair is skipped only when its name is empty or already
// present, in both lists at once.
#pragma once

#include <vector>

#include "bv/bv_fwd.h"
#include "rtl/types.h"

namespace brevant {

class TStrings;

class TbvCustomizerEntries {
 public:
  // Splits names and captions into pairs for grid (which may be nil: then
  // every token is one name and one caption) and takes shown.
  void Assign(TDBTabulon* grid, const String& names, const String& captions, const String& shown);

  // The paired lists, in the order received.
  const std::vector<String>& Names() const { return names_; }
  const std::vector<String>& Captions() const { return captions_; }
  // The field names not offered now (multi-field names as their parts).
  const std::vector<String>& Shown() const { return shown_; }

  // Whether name is among the offered names (ignoring case).
  bool HasName(const String& name) const;
  // Whether every field of name is in Shown.
  bool IsShown(const String& name) const;
  // Adds / removes every field of name to / from Shown.
  void AddShown(const String& name);
  void RemoveShown(const String& name);

  // Rebuilds the shown entries: every pair whose name is not shown, its
  // caption into entries and its name into EntryNames.
  void Rebuild(TStrings& entries);
  const std::vector<String>& EntryNames() const { return entryNames_; }
  // The name of entry index (0-based); empty outside the entries.
  String EntryName(Integer index) const;

 private:
  // The number of tokens from `from` that form one caption for name.
  Integer CaptionTokens(TDBTabulon* grid, const std::vector<String>& tokens, size_t from,
                        const String& name) const;

  std::vector<String> names_;       // the names it may offer
  std::vector<String> captions_;    // their captions, parallel to names_
  std::vector<String> shown_;       // field names with a visible column
  std::vector<String> entryNames_;  // the names of the shown entries
};

// The tokens of a semicolon list; none for an empty text.
std::vector<String> SplitList(const String& text);

}  // namespace brevant
