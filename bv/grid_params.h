// The grid's parameter objects: incremental search, what record shots
// remember, and deletion. Each is owned by its grid and assigned through
// the grid's property setter; the behaviour that goes with them plugs in
// with searching and deleting.
#pragma once

#include "bv/bv_fwd.h"
#include "controls/menus.h"
#include "rtl/persistent.h"

namespace brevant {

class TtlAutoSearchParams : public TPersistent {
  BV_CLASS(TtlAutoSearchParams, TPersistent)
 public:
  TtlAutoSearchParams() = default;
  explicit TtlAutoSearchParams(TDBTabulon* grid) : grid_(grid) {}
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value) { enabled_ = value; }
  void Assign(const TPersistent* source) override;
  TDBTabulon* Grid() const { return grid_; }

 private:
  TDBTabulon* grid_ = nullptr;
  bool enabled_ = false;
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
