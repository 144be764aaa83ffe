#include "nav_test_util.h"

#include <algorithm>

#include "bv/selection.h"
#include "db/dataset.h"

namespace brevant::test {

void NavTest::Open(Integer n, Integer rows) {
  Build(n, rows);
  grid->SetFocus();
  Pump();
}

void NavTest::Key(Word vk, Byte modifiers) {
  Offscreen().PressKey(vk, modifiers);
  Pump();
}

TPoint NavTest::CellPoint(Integer column, Integer row) {
  const TRect r = grid->Columns()->Items(column)->CellRect(row, false, false);
  return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
}

TPoint NavTest::TitlePoint(Integer column) {
  const TRect r = grid->Columns()->Items(column)->TitleRect(false);
  return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
}

TPoint NavTest::FooterPoint(Integer column) {
  const TRect r = grid->Columns()->Items(column)->FooterRect(true, false);
  return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
}

void NavTest::ClickAt(TPoint p, TBackendButton button, Byte modifiers) {
  // Far enough from the click before that the two make no double click.
  Offscreen().Advance(1000);
  Offscreen().Click(At(grid, p.X, p.Y), button, modifiers);
  Pump();
}

void NavTest::ClickCell(Integer column, Integer row, Byte modifiers) {
  ClickAt(CellPoint(column, row), bbLeft, modifiers);
}

std::vector<Integer> NavTest::SelectedIDs() {
  std::vector<Integer> ids;
  TtlSelection* selection = grid->Selection();
  const TBookmark saved = ds->Bookmark();
  for (Integer i = 0; i < selection->SelectedCount(); ++i) {
    ds->SetBookmark(selection->Item(i)->Bookmark());
    ids.push_back(CurrentID());
  }
  ds->SetBookmark(saved);
  std::sort(ids.begin(), ids.end());
  return ids;
}

void NavTest::LogEvents() {
  auto add = [this](std::string what) { events.push_back(std::move(what)); };
  grid->OnColExiting = TtlColEvent::FromCallable(
      [add](TObject*, Integer col) { add("ColExiting " + std::to_string(col)); });
  grid->OnColEnter = TtlColEvent::FromCallable(
      [add](TObject*, Integer col) { add("ColEnter " + std::to_string(col)); });
  grid->OnSelectionChange = TNotifyEvent::FromCallable([add](TObject*) { add("SelectionChange"); });
  grid->BeforeInsert =
      TtlBeforeInsertEvent::FromCallable([add](TObject*, bool&) { add("BeforeInsert"); });
  grid->AfterInsert = TNotifyEvent::FromCallable([add](TObject*) { add("AfterInsert"); });
  grid->OnPickup = TNotifyEvent::FromCallable([add](TObject*) { add("Pickup"); });
  grid->OnDblClick = TNotifyEvent::FromCallable([add](TObject*) { add("DblClick"); });
}

}  // namespace brevant::test
