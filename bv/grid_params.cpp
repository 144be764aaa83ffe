#include "bv/grid_params.h"

#include "bv/selection.h"
#include "bv/tabulon.h"
#include "bv_rtm/bv_strings.h"
#include "classes/rtti_builder.h"
#include "controls/application.h"
#include "db/dataset.h"
#include "rtl/format.h"

namespace brevant {

void TtlAutoSearchParams::Assign(const TPersistent* source) {
  if (auto* p = TryAs<TtlAutoSearchParams>(source)) {
    enabled_ = p->enabled_;
    return;
  }
  TPersistent::Assign(source);
}

void TtlDBParams::Assign(const TPersistent* source) {
  if (auto* p = TryAs<TtlDBParams>(source)) {
    enableRecNo_ = p->enableRecNo_;
    return;
  }
  TPersistent::Assign(source);
}

void TtlDeleteParams::Assign(const TPersistent* source) {
  if (auto* p = TryAs<TtlDeleteParams>(source)) {
    enabled_ = p->enabled_;
    shortCut_ = p->shortCut_;
    promptKind_ = p->promptKind_;
    promptMsg_ = p->promptMsg_;
    promptMsgMulti_ = p->promptMsgMulti_;
    return;
  }
  TPersistent::Assign(source);
}

bool TtlDeleteParams::NeedsPrompt(bool multiple) const {
  switch (promptKind_) {
    case dpkNever:
      return false;
    case dpkMultiRecord:
      return multiple;
    case dpkAlways:
      break;
  }
  return true;
}

String TtlDeleteParams::Question(Integer count, bool multiple) const {
  if (!multiple)
    return promptMsg_.empty() ? String(bvres::SDeleteRecordQuestion) : Format(promptMsg_, {});
  const String format =
      promptMsgMulti_.empty() ? String(bvres::SDeleteMultipleRecordsQuestion) : promptMsgMulti_;
  return Format(format, {count});
}

bool TtlDeleteParams::Confirmed(Integer count, bool multiple) const {
  if (!NeedsPrompt(multiple)) return true;
  TApplication* app = Application();
  return app->MessageBox(Question(count, multiple), app->Title(), MB_OKCANCEL | MB_ICONQUESTION) ==
         IDOK;
}

void TtlDeleteParams::DeleteCurrent() {
  grid_->DataSet()->Delete();
  grid_->CurrentRecShot()->CaptureCursor(true);
}

bool TtlDeleteParams::HandleDeleteKey(Word key, TShiftState shift) {
  TDataSet* dataSet = grid_ ? grid_->DataSet() : nullptr;
  if (!dataSet || !dataSet->CanModify()) return false;
  if (key != 0 && !(enabled_ && brevant::ShortCut(key, shift) == shortCut_)) return false;
  deleted_ = false;
  TtlSelection* selection = grid_->Selection();
  const Integer count = selection->Count();
  if (count == 0) return true;
  // With a selection the selected records are deleted, even a single one
  // that is not the current record; the current record alone otherwise.
  const bool throughSelection = !selection->IsEmpty();
  if (!throughSelection && grid_->ReadOnly()) return true;
  if (!Confirmed(count, count > 1)) return true;
  if (throughSelection)
    selection->DeleteSelected(true, true);
  else
    DeleteCurrent();
  deleted_ = true;
  if (grid_->AfterDelete) grid_->AfterDelete(grid_);
  return true;
}

BV_PUBLISH(TtlAutoSearchParams, TPersistent) {
  p.Property("Enabled", &TtlAutoSearchParams::Enabled, &TtlAutoSearchParams::SetEnabled).Default(0);
}

BV_PUBLISH(TtlDBParams, TPersistent) {
  p.Property("EnableRecNo", &TtlDBParams::EnableRecNo, &TtlDBParams::SetEnableRecNo).Default(1);
}

BV_ENUM_INFO(TtlDeletePromptKind, dpkAlways, dpkMultiRecord, dpkNever)

BV_PUBLISH(TtlDeleteParams, TPersistent) {
  p.Property("Enabled", &TtlDeleteParams::Enabled, &TtlDeleteParams::SetEnabled).Default(0);
  p.Property("ShortCut", &TtlDeleteParams::ShortCut, &TtlDeleteParams::SetShortCut)
      .Default(TtlDeleteParams::DefaultShortCut);
  p.Property("PromptKind", &TtlDeleteParams::PromptKind, &TtlDeleteParams::SetPromptKind)
      .Default(dpkAlways);
  p.Property("PromptMsg", &TtlDeleteParams::PromptMsg, &TtlDeleteParams::SetPromptMsg);
  p.Property("PromptMsgMulti", &TtlDeleteParams::PromptMsgMulti,
             &TtlDeleteParams::SetPromptMsgMulti);
}

}  // namespace brevant
