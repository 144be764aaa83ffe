#include "bv/grid_params.h"

#include "bv/column.h"
#include "bv/field_vision.h"
#include "bv/hints.h"
#include "bv/selection.h"
#include "bv/tabulon.h"
#include "bv_db/quick_record_set.h"
#include "bv_rtm/bv_strings.h"
#include "bv_rtm/tokens.h"
#include "classes/rtti_builder.h"
#include "controls/application.h"
#include "db/dataset.h"
#include "rtl/closing_guard.h"
#include "rtl/format.h"
#include "rtl/strutils.h"

namespace brevant {

void TtlAutoSearchParams::Assign(const TPersistent* source) {
  if (auto* p = TryAs<TtlAutoSearchParams>(source)) {
    enabled_ = p->enabled_;
    searchableFields_ = p->searchableFields_;
    shortCut_ = p->shortCut_;
    shortCutFindNext_ = p->shortCutFindNext_;
    shortCutFindPrevious_ = p->shortCutFindPrevious_;
    searchFromBegin_ = p->searchFromBegin_;
    cycleSearch_ = p->cycleSearch_;
    wndColor_ = p->wndColor_;
    wndTextColor_ = p->wndTextColor_;
    prompt_ = p->prompt_;
    enablePrompt_ = p->enablePrompt_;
    return;
  }
  TPersistent::Assign(source);
}

bool TtlAutoSearchParams::HandleShortCut(Word key, TShiftState shift) {
  const TShortCut shortCut = brevant::ShortCut(key, shift);
  if (searching_) {
    const bool next = shortCutFindNext_ != 0 && shortCut == shortCutFindNext_;
    const bool previous = shortCutFindPrevious_ != 0 && shortCut == shortCutFindPrevious_;
    if (!next && !previous) return false;
    Search(searchText_, next, cycleSearch_, true, false);
    return true;
  }
  return enabled_ && shortCut_ != 0 && shortCut == shortCut_ && Start(0);
}

bool TtlAutoSearchParams::ColumnSearchable() const {
  TtlColumn* column = grid_ ? grid_->CurrentColumnObject() : nullptr;
  if (!column || column->FieldName().empty()) return false;
  // Token lists of the suite compare ignoring case.
  return searchableFields_.empty() || ContainsToken(searchableFields_, column->FieldName(), ';');
}

bool TtlAutoSearchParams::Start(char32_t ch) {
  if (searching_ || !ColumnSearchable()) return false;
  promptWindow_ = Create<THintWindowEx>(grid_);
  promptWindow_->SetColor(wndColor_);
  promptWindow_->Font()->Assign(grid_->Font());
  if (wndTextColor_ != clNone) promptWindow_->Font()->SetColor(wndTextColor_);
  searching_ = true;
  HandleChar(ch);
  return true;
}

void TtlAutoSearchParams::Stop() {
  if (!searching_) return;
  FreeAndNil(promptWindow_);
  searchText_.clear();
  searching_ = false;
}

void TtlAutoSearchParams::HandleChar(char32_t ch) {
  if ((ch >= 1 && ch <= 7) || (ch >= 9 && ch <= 31)) return;
  if (!searching_) {
    Start(ch);
    return;
  }
  String candidate = searchText_;
  if (ch == 8 && !candidate.empty())
    candidate.resize(Utf8Offset(candidate, Utf8Length(candidate) - 1));
  if (ch >= 32) Utf8Append(candidate, ch);
  // An unchanged text (backspace on nothing) runs no search and moves nothing.
  if (ch != 0 && candidate == searchText_) return;
  if (ch != 0 && !Search(candidate, true, false, false, searchFromBegin_)) return;
  searchText_ = candidate;
  if (enablePrompt_) ShowPrompt();
}

void TtlAutoSearchParams::ShowPrompt() {
  const String text =
      prompt_.empty() ? String(bvres::SSearchPrompt) + searchText_ : Format(prompt_, {searchText_});
  const TRect size = promptWindow_->CalcHintRect(grid_->Width(), text, grid_);
  const TPoint origin =
      grid_->Parent()
          ? grid_->Parent()->ClientToScreen(TPoint{grid_->Left(), grid_->Top() + grid_->Height()})
          : TPoint{grid_->Left(), grid_->Top() + grid_->Height()};
  const TRect rect{origin.X, origin.Y, origin.X + size.Width(), origin.Y + size.Height()};
  promptWindow_->ActivateHintData(rect, text, grid_);
  promptWindow_->Update();
}

String TtlAutoSearchParams::RecordText() const {
  TtlColumn* column = grid_->CurrentColumnObject();
  String text = AnsiLowerCase(column->EffectiveVision()->GetFieldText(column->FieldList(), true));
  static const String nbsp = "\xC2\xA0";
  for (std::size_t at = text.find(nbsp); at != String::npos; at = text.find(nbsp, at + 1))
    text.replace(at, nbsp.size(), " ");
  return text;
}

bool TtlAutoSearchParams::Pass(const String& text, bool forward, bool skipFirst) {
  TDataSet* dataSet = grid_->DataSet();
  // Moves one record; False when the move hit the end of the direction.
  auto step = [&] {
    if (forward) {
      dataSet->Next();
      return !dataSet->Eof();
    }
    dataSet->Prior();
    return !dataSet->Bof();
  };
  if (dataSet->IsEmpty()) return false;
  if (skipFirst && !step()) return false;
  for (;;) {
    if (RecordText().starts_with(text)) return true;
    if (!step()) return false;
  }
}

bool TtlAutoSearchParams::Search(const String& text, bool forward, bool cycle, bool skipCurrent,
                                 bool fromBegin) {
  TDataSet* dataSet = grid_ ? grid_->DataSet() : nullptr;
  if (!searching_ || !dataSet || !dataSet->Active() || !grid_->CurrentColumnObject()) return false;
  // An empty text is found where the cursor stands, before any move.
  if (text.empty()) return true;
  const String lowered = AnsiLowerCase(text);
  bool found = false;
  {
    TDisableControls controls(dataSet);
    TznCurrRecInfo saved;
    SaveCurrentRecord(dataSet, saved);
    TClosingGuard restore([&] {
      if (!found) RestoreCurrentRecord(dataSet, saved);
    });
    if (fromBegin) dataSet->First();
    found = Pass(lowered, forward, skipCurrent);
    // The second pass examines its starting record before moving.
    if (!found && cycle && (!forward || !fromBegin)) {
      if (forward)
        dataSet->First();
      else
        dataSet->Last();
      found = Pass(lowered, forward, false);
    }
  }
  if (found && grid_->CursorType() != gctSensitive) grid_->CurrentRecShot()->CaptureCursor(true);
  return found;
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
  using P = TtlAutoSearchParams;
  p.Property("Enabled", &P::Enabled, &P::SetEnabled).Default(0);
  p.Property("SearchableFields", &P::SearchableFields, &P::SetSearchableFields);
  p.Property("ShortCut", &P::ShortCut, &P::SetShortCut).Default(0);
  p.Property("ShortCutFindNext", &P::ShortCutFindNext, &P::SetShortCutFindNext).Default(0);
  p.Property("ShortCutFindPrevious", &P::ShortCutFindPrevious, &P::SetShortCutFindPrevious)
      .Default(0);
  p.Property("SearchFromBegin", &P::SearchFromBegin, &P::SetSearchFromBegin).Default(1);
  p.Property("CycleSearch", &P::CycleSearch, &P::SetCycleSearch).Default(0);
  p.Property("WndColor", &P::WndColor, &P::SetWndColor).Type(TypeInfoTColor()).Default(clInfoBk);
  p.Property("WndTextColor", &P::WndTextColor, &P::SetWndTextColor)
      .Type(TypeInfoTColor())
      .Default(clInfoText);
  p.Property("Prompt", &P::Prompt, &P::SetPrompt);
  p.Property("EnablePrompt", &P::EnablePrompt, &P::SetEnablePrompt).Default(1);
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
