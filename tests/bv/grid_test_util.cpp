#include "grid_test_util.h"

#include <algorithm>

#include "bv_rtm/border_style.h"
#include "classes/rtti_builder.h"
#include "controls/wincore.h"
#include "db/field.h"
#include "graphics/canvas.h"

namespace brevant::test {

BV_IMPLEMENT_CLASS_EX(TPaintLogGrid, TDBTabulon, nullptr, nullptr)
BV_IMPLEMENT_CLASS(TTestDesigner, TtlBaseDesigner)
BV_IMPLEMENT_CLASS(TUnsequencedDataSet, TMemDataSet)

void TPaintLogGrid::Paint() {
  Clips.push_back(Canvas()->ClipRect());
  TDBTabulon::Paint();
}

std::vector<Integer> TPaintLogGrid::TakePaintedRows() {
  std::vector<Integer> rows;
  for (const TRect& clip : Clips) {
    for (Integer row = 0; row < RowCount(); ++row) {
      TRect r = RowRect(row);
      if (r.Top < clip.Bottom && clip.Top < r.Bottom &&
          std::find(rows.begin(), rows.end(), row) == rows.end())
        rows.push_back(row);
    }
  }
  Clips.clear();
  return rows;
}

void GridTest::SetUp() {
  ControlsTest::SetUp();
  form->SetBounds(100, 100, 420, 400);
  designer = Create<TTestDesigner>(form, true);
}

void GridTest::TearDown() {
  TObject::Free(grid);
  grid = nullptr;
  ControlsTest::TearDown();
  TObject::Free(src);
  TObject::Free(ds);
  ds = nullptr;
  src = nullptr;
}

void GridTest::Build(Integer n, Integer rows, TMemDataSet* dataSet) {
  TObject::Free(grid);
  TObject::Free(src);
  TObject::Free(ds);
  ds = dataSet ? dataSet : dbtest::MakeNumbers(n);
  if (dataSet) {
    ds->FieldDefs()->Add("ID", ftInteger);
    ds->FieldDefs()->Add("Name", ftString, 20);
    for (Integer i = 1; i <= n; ++i) ds->AppendRow({i, "R" + IntToStr(i)});
  }
  src = Create<TDataSource>(nullptr);
  src->SetDataSet(ds);
  grid = Create<TPaintLogGrid>(form);
  grid->SetName("Grid");
  grid->SetDesigner(designer);
  grid->SetBorderStyle(bsNoBorder);
  grid->SetScrollBars(ssBoth);
  grid->SetBounds(10, 10, 300, 200);
  grid->SetParent(form);
  grid->Columns()->Add()->SetFieldName("ID");
  grid->Columns()->Add()->SetFieldName("Name");
  grid->SetDataSource(src);
  form->Show();
  ds->Open();
  FitRows(rows);
  Pump();
  grid->Clips.clear();
}

void GridTest::FitRows(Integer rows) {
  grid->SetClientHeight(grid->TitleAreaHeight() + grid->FooterAreaHeight() +
                        rows * grid->RowHeight());
  Pump();
}

Integer GridTest::CurrentID() {
  return ds->FieldByName("ID")->AsInteger();
}

std::vector<Integer> GridTest::WindowIDs() {
  std::vector<Integer> ids;
  TDataLinkEx* link = grid->DataLink();
  const Integer saved = link->ActiveRecord();
  for (Integer row = 0; row < link->RecordCount(); ++row) {
    link->SetActiveRecord(row);
    ids.push_back(ds->FieldByName("ID")->AsInteger());
  }
  link->SetActiveRecord(saved);
  return ids;
}

void GridTest::VScroll(Integer code, Integer pos) {
  grid->Perform(WM_VSCROLL, static_cast<WPARAM>(code) | (static_cast<WPARAM>(pos) << 16), 0);
  Pump();
}

TColor GridTest::PixelAt(Integer x, Integer y) {
  TPoint p = form->ScreenToClient(grid->ClientToScreen({x, y}));
  return Offscreen().Pixel(Native(), p.X, p.Y);
}

}  // namespace brevant::test
