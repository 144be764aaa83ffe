// The grid's parameter objects: incremental search, what record shots
// remember, and deletion. Each is owned by its grid and assigned through
// the grid's property setter; the behaviour that goes with them plugs in
// with searching and deleting.
#pragma once

#include "bv/bv_fwd.h"
#include "controls/controls.h"
#include "controls/menus.h"
#include "graphics/colors.h"
#include "rtl/persistent.h"

namespace brevant {

class THintWindowEx;

// Incremental search in the grid's current column: the settings, the
// search text typed so far, its prompt window and the record walk.
class TtlAutoSearchParams : public TPersistent {
  BV_CLASS(TtlAutoSearchParams, TPersistent)
 public:
  TtlAutoSearchParams() = default;
  explicit TtlAutoSearchParams(TDBTabulon* grid) : grid_(grid) {}
  void Assign(const TPersistent* source) override;
  TDBTabulon* Grid() const { return grid_; }

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value) { enabled_ = value; }
  const String& SearchableFields() const { return searchableFields_; }
  void SetSearchableFields(const String& value) { searchableFields_ = value; }
  TShortCut ShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut value) { shortCut_ = value; }
  TShortCut ShortCutFindNext() const { return shortCutFindNext_; }
  void SetShortCutFindNext(TShortCut value) { shortCutFindNext_ = value; }
  TShortCut ShortCutFindPrevious() const { return shortCutFindPrevious_; }
  void SetShortCutFindPrevious(TShortCut value) { shortCutFindPrevious_ = value; }
  bool SearchFromBegin() const { return searchFromBegin_; }
  void SetSearchFromBegin(bool value) { searchFromBegin_ = value; }
  bool CycleSearch() const { return cycleSearch_; }
  void SetCycleSearch(bool value) { cycleSearch_ = value; }
  TColor WndColor() const { return wndColor_; }
  void SetWndColor(TColor value) { wndColor_ = value; }
  TColor WndTextColor() const { return wndTextColor_; }
  void SetWndTextColor(TColor value) { wndTextColor_ = value; }
  const String& Prompt() const { return prompt_; }
  void SetPrompt(const String& value) { prompt_ = value; }
  bool EnablePrompt() const { return enablePrompt_; }
  void SetEnablePrompt(bool value) { enablePrompt_ = value; }

  bool Searching() const { return searching_; }
  const String& SearchText() const { return searchText_; }
  // The prompt window while searching, else null.
  THintWindowEx* PromptWindow() const { return promptWindow_; }

  // Find next / previous while searching, Start while not; True when the
  // key was taken.
  bool HandleShortCut(Word key, TShiftState shift);
  // Starts a search in the current column and handles ch (0: none);
  // False when a search runs already or the column may not be searched.
  bool Start(char32_t ch);
  // Extends (or with backspace shortens) the search text and searches.
  void HandleChar(char32_t ch);
  void Stop();
  // Moves to the first record from where the current column's display text
  // starts with text, ignoring case; answers whether one was found. A miss
  // leaves the dataset where it was.
  bool Search(const String& text, bool forward, bool cycle, bool skipCurrent, bool fromBegin);

 private:
  bool ColumnSearchable() const;
  // The current column's display text of the current record, normalised.
  String RecordText() const;
  // One pass from the current record in the direction; a pass ends as soon
  // as a move hits the end.
  bool Pass(const String& text, bool forward, bool skipFirst);
  void ShowPrompt();

  TDBTabulon* grid_ = nullptr;             // the grid that owns these settings
  bool enabled_ = false;                   // incremental search is available
  String searchableFields_;                // fields whose columns may be searched; empty: all
  TShortCut shortCut_ = 0;                 // starts a search; 0: any printable key
  TShortCut shortCutFindNext_ = 0;         // next match while searching
  TShortCut shortCutFindPrevious_ = 0;     // previous match while searching
  bool searchFromBegin_ = true;            // typing searches from the first record
  bool cycleSearch_ = false;               // find next/previous wrap around
  TColor wndColor_ = clInfoBk;             // prompt window colour
  TColor wndTextColor_ = clInfoText;       // prompt text colour; clNone: grid font's
  String prompt_;                          // prompt format with one %s
  bool enablePrompt_ = true;               // show the prompt window
  bool searching_ = false;                 // a search runs
  String searchText_;                      // the text found so far
  THintWindowEx* promptWindow_ = nullptr;  // owned by the grid while searching
};

class TtlDBParams : public TPersistent {
  BV_CLASS(TtlDBParams, TPersistent)
 public:
  TtlDBParams() = default;
  explicit TtlDBParams(TDBTabulon* grid) : grid_(grid) {}
  bool EnableRecNo() const { return enableRecNo_; }
  void SetEnableRecNo(bool value) { enableRecNo_ = value; }
  void Assign(const TPersistent* source) override;
  TDBTabulon* Grid() const { return grid_; }

 private:
  TDBTabulon* grid_ = nullptr;
  bool enableRecNo_ = true;
};

// When a keyboard delete asks for confirmation.
enum TtlDeletePromptKind : Byte { dpkAlways, dpkMultiRecord, dpkNever };
BV_DECLARE_ENUM_INFO(TtlDeletePromptKind)

// Deleting the current record or the selection by keyboard, with an
// optional confirmation in a message box.
class TtlDeleteParams : public TPersistent {
  BV_CLASS(TtlDeleteParams, TPersistent)
 public:
  static constexpr TShortCut DefaultShortCut = scCtrl | 46;  // Ctrl+Del

  TtlDeleteParams() = default;
  explicit TtlDeleteParams(TDBTabulon* grid) : grid_(grid) {}
  void Assign(const TPersistent* source) override;
  TDBTabulon* Grid() const { return grid_; }

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value) { enabled_ = value; }
  TShortCut ShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut value) { shortCut_ = value; }
  TtlDeletePromptKind PromptKind() const { return promptKind_; }
  void SetPromptKind(TtlDeletePromptKind value) { promptKind_ = value; }
  const String& PromptMsg() const { return promptMsg_; }
  void SetPromptMsg(const String& value) { promptMsg_ = value; }
  const String& PromptMsgMulti() const { return promptMsgMulti_; }
  void SetPromptMsgMulti(const String& value) { promptMsgMulti_ = value; }
  // True after the last request deleted something.
  bool Deleted() const { return deleted_; }

  // Deletes the current record or the selection when key and shift make the
  // shortcut (or key is 0, a program's request) and the dataset can be
  // modified; answers whether the request applied. A refused delete
  // propagates the dataset's exception and keeps the selection.
  bool HandleDeleteKey(Word key, TShiftState shift);

 private:
  // Whether the confirmation is needed for a request of `count` records.
  bool NeedsPrompt(bool multiple) const;
  String Question(Integer count, bool multiple) const;
  bool Confirmed(Integer count, bool multiple) const;
  void DeleteCurrent();

  TDBTabulon* grid_ = nullptr;                  // the grid that owns these settings
  bool enabled_ = false;                        // the shortcut is active
  TShortCut shortCut_ = DefaultShortCut;        // the key that deletes
  TtlDeletePromptKind promptKind_ = dpkAlways;  // when to ask
  String promptMsg_;                            // question for one record
  String promptMsgMulti_;                       // question for several, one %d
  bool deleted_ = false;                        // the last request deleted
};

}  // namespace brevant
