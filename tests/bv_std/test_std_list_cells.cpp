// List drop-downs opened from a grid cell's editor with real keys and
// clicks: where the list opens at the edges of the work area, each way of
// closing it and what reaches the field, the posting options of a focusable
// drop-down, and lookup, value-lookup and most-recently-used columns typed,
// picked and posted.
#include <gtest/gtest.h>

#include <functional>

#include "bv/column.h"
#include "bv/columns.h"
#include "bv/inplace_edit.h"
#include "bv/tabulon.h"
#include "bv_ctl/calendar.h"
#include "bv_std/datetime_visions.h"
#include "bv_std/list_visions_standard.h"
#include "bv_std/lookup_params.h"
#include "bv_std/lookup_visions.h"
#include "bv_std/lookup_visions_v.h"
#include "controls/edits.h"
#include "controls/wincore.h"
#include "list_test_util.h"
#include "pack_test_util.h"
#include "rtl/datetime.h"

namespace brevant::test {
namespace {

class ListCellsTest : public PackTest {
 protected:
  void SetUp() override {
    PackTest::SetUp();
    list = pack->vtfDataList;
    listGrid = pack->tlDataListList;
    form->SetClientWidth(520);
    form->SetClientHeight(260);
    outside = Create<TEdit>(form);
    outside->SetBounds(10, 220, 100, 21);
    outside->SetParent(form);
  }
  // A fresh focused grid over source with a column per field (the first
  // through vision, the others through the default vision), its editor
  // shown on the first record's first cell.
  void EditCell(TDataSource* source, std::initializer_list<const char*> fields,
                TznFieldVision* vision) {
    if (cells) TObject::Free(cells);
    cells = Create<TDBTabulon>(form);
    cells->SetBounds(10, 10, 480, 150);
    cells->SetParent(form);
    for (const char* field : fields) {
      TtlColumn* column = cells->Columns()->Add();
      column->SetFieldName(field);
      column->SetWidth(120);
      if (cells->Columns()->Count() == 1) column->SetVision(vision);
    }
    cells->SetDataSource(source);
    source->DataSet()->First();
    form->Show();
    Pump();
    cells->SetFocus();
    Key(VK_HOME);
    Key(VK_F2);
    ASSERT_TRUE(cells->EditorShown());
  }
  TtlInplaceEdit* Editor() const { return cells->InplaceEditor(); }
  String CellText() const { return Editor()->EditText(); }
  // The editor on the screen.
  TRect EditorRect() const {
    const TPoint p = Editor()->ClientToScreen({0, 0});
    return Bounds(p.X, p.Y, Editor()->Width(), Editor()->Height());
  }
  TRect ListRect() const { return list->Background()->BoundsRect(); }
  // The text field of the list's current record.
  String ListCurrent(const String& field) const {
    return listGrid->DataSet()->FieldByName(field)->AsString();
  }
  // Clicks the middle of the list's row (0 is the top one on screen).
  void ClickListRow(Integer row) {
    const TRect r = listGrid->Columns()->Items(0)->CellRect(row, false, false);
    ClickOn(listGrid, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    Pump();
  }
  void ClickEditorButton() {
    const TRect b = Editor()->EditButtonRect();
    ClickOn(Editor(), (b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2);
    Pump();
  }
  // Return closes the cell's editor, then posts the record.
  void PostCell() {
    Key(VK_RETURN);
    Key(VK_RETURN);
  }
  TStandardVision* Names(const String& commaText) {
    auto* v = Create<TStandardVision>(form);
    v->PickList()->SetCommaText(commaText);
    return v;
  }
  // A value lookup of the colours: names, and the notes when described.
  TVLookupVision* Colors(bool described) {
    auto* v = Create<TVLookupVision>(form);
    TVLookupParams* p = v->LookupParams();
    p->SetDataSource(data.colorSource.get());
    p->SetKeyField("ID");
    p->SetLookupField("Name");
    if (described) p->SetDescriptionField("Note");
    v->SetDropDownWidth("80;80");
    return v;
  }
  TField* People(const char* field) const { return data.people->FieldByName(field); }

  listtest::TListData data;
  TVisionToolForm* list = nullptr;  // the pack's list drop-down
  TDBTabulon* listGrid = nullptr;   // its grid
  TDBTabulon* cells = nullptr;      // the grid under test
  TEdit* outside = nullptr;         // another control of the form
};

// The list opens under the cell, one pixel wider on each side; at the
// bottom of the work area above it, at the right edge moved left, always
// inside the work area.
TEST_F(ListCellsTest, TheListOpensUnderTheCellOrWhereTheWorkAreaLeavesRoom) {
  EditCell(data.peopleSource.get(), {"Name"}, Names("Ann,Bob,Cid"));
  const TRect e = EditorRect();
  Key(VK_DOWN, bmAlt);
  ASSERT_TRUE(list->IsOpen());
  EXPECT_EQ(ListRect(), Bounds(e.Left - 1, e.Bottom, e.Width() + 2, ListRect().Height()));
  Key(VK_ESCAPE);

  EditCell(data.peopleSource.get(), {"ColorID"}, Colors(true));
  struct TRow {
    const char* name;  // what the row checks
    Integer cutRight;  // the work area ends this far right of the editor's left (0: no cut)
    Integer cutBelow;  // the work area ends this far below the editor (0: no cut)
    bool above;        // the list opens above the cell
  };
  const TRow rows[] = {
      {"room everywhere", 0, 0, false},
      {"bottom edge: above the cell", 0, 10, true},
      {"right edge: shifted left", 100, 0, false},
      {"bottom right corner", 100, 10, true},
  };
  const TRect screen = Offscreen().ScreenRect();
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.name);
    TRect wa = screen;
    if (row.cutRight) wa.Right = e.Left + row.cutRight;
    if (row.cutBelow) wa.Bottom = e.Bottom + row.cutBelow;
    Offscreen().SetWorkArea(wa);
    Key(VK_DOWN, bmAlt);
    ASSERT_TRUE(list->IsOpen());
    const TRect r = ListRect();
    EXPECT_EQ(list->Background()->Opposite(), row.above);
    EXPECT_EQ(row.above ? r.Bottom : r.Top, row.above ? e.Top : e.Bottom);
    EXPECT_EQ(r.Left, row.cutRight ? wa.Right - r.Width() : e.Left - 1);
    EXPECT_GE(r.Left, wa.Left);
    EXPECT_LE(r.Right, wa.Right);
    Key(VK_ESCAPE);
    EXPECT_FALSE(list->IsOpen());
  }
}

// The list moved one row down (to Bob), then closed each way: what the
// field holds afterwards and where the editor stands.
TEST_F(ListCellsTest, EachWayOfClosingPostsOrDiscardsTheListsPick) {
  struct TRow {
    const char* name;             // what the row checks
    std::function<void()> close;  // closes the open list
    const char* field;            // the field afterwards
    bool editorShown;             // the cell's editor is still shown
    Integer column;               // the grid's current column afterwards
  };
  const TRow rows[] = {
      {"Escape discards", [] { Key(VK_ESCAPE); }, "Ann", true, 0},
      {"Return posts", [] { Key(VK_RETURN); }, "Bob", true, 0},
      {"Alt+Down posts", [] { Key(VK_DOWN, bmAlt); }, "Bob", true, 0},
      {"the button discards", [this] { ClickEditorButton(); }, "Ann", true, 0},
      {"Tab posts and moves on", [] { Key(VK_TAB); }, "Bob", true, 1},
      {"a click on a row picks it", [this] { ClickListRow(2); }, "Cid", true, 0},
      {"a click on the next row beside the list discards and moves",
       [this] {
         // The next row's cell beside the list.
         const TRect r = cells->Columns()->Items(1)->CellRect(1, false, false);
         ClickOn(cells, r.Left + 5, (r.Top + r.Bottom) / 2);
         Pump();
       },
       "Bob", false, 1},
      {"a click outside the grid discards",
       [this] {
         ClickOn(outside, 5, 5);
         Pump();
       },
       "Ann", false, 0},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.name);
    EditCell(data.peopleSource.get(), {"Name", "ID"}, Names("Ann,Bob,Cid"));
    Key(VK_DOWN, bmAlt);
    ASSERT_TRUE(list->IsOpen());
    Key(VK_DOWN);
    ASSERT_EQ(ListCurrent("Value"), "Bob");
    row.close();
    EXPECT_FALSE(list->IsOpen());
    EXPECT_EQ(People("Name")->AsString(), row.field);
    EXPECT_EQ(cells->EditorShown(), row.editorShown);
    EXPECT_EQ(cells->CurrentColumn(), row.column);
    // The focus stays in the cell's editor (a click in the list too).
    if (row.editorShown) {
      EXPECT_TRUE(Editor()->Focused());
      EXPECT_EQ(CellText(), row.column == 0 ? row.field : "1");
    }
    data.people->Cancel();
  }
}

// The calendar (a focusable drop-down) opened from a date cell: a day to
// the right is chosen, then Return or Escape closes it under each option.
TEST_F(ListCellsTest, AFocusableDropDownPostsAndCancelsUnderItsOptions) {
  const TDateTime start = EncodeDate(2024, 3, 15);
  auto* ds = Create<TMemDataSet>(form);
  ds->FieldDefs()->Add("At", ftDateTime);
  ds->AppendRow({VarFromDateTime(start)});
  ds->Open();
  auto* src = Create<TDataSource>(form);
  src->SetDataSet(ds);
  TVisionToolForm* tf = pack->vtfCalendar;
  const TvtfOptions designed = tf->Options();
  struct TRow {
    const char* name;     // what the row checks
    TvtfOption option;    // added to the designed options
    Word first, second;   // keys after the day moved; second only when first left it open
    bool openAfterFirst;  // the first key left the calendar open
    TDateTime posted;     // the field after the cell is posted
  };
  const TRow rows[] = {
      {"Return posts", tfoFocusable, VK_RETURN, 0, false, start + 1},
      {"Escape discards", tfoFocusable, VK_ESCAPE, 0, false, start},
      {"always posting: Escape posts", tfoAlwaysPostChanges, VK_ESCAPE, 0, false, start + 1},
      {"no auto post: Return stays, Escape discards", tfoNoAutoPost, VK_RETURN, VK_ESCAPE, true,
       start},
      {"no auto cancel: Escape stays, Return posts", tfoNoAutoCancel, VK_ESCAPE, VK_RETURN, true,
       start + 1},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.name);
    TvtfOptions options = designed;
    options.Include(row.option);
    tf->SetOptions(options);
    EditCell(src, {"At"}, Create<TDateVision>(form));
    bool open = false, openAfterFirst = false;
    ScriptAction("VisionToolForm", [&](TObject*) {
      WhenIdle([&] {
        open = tf->IsOpen();
        Offscreen().PressKey(VK_RIGHT);
        Offscreen().PressKey(row.first);
        WhenIdle([&] {
          openAfterFirst = tf->IsOpen();
          if (openAfterFirst) Offscreen().PressKey(row.second ? row.second : Word(VK_ESCAPE));
        });
      });
    });
    Key(VK_DOWN, bmAlt);
    EXPECT_TRUE(open);
    EXPECT_EQ(openAfterFirst, row.openAfterFirst);
    EXPECT_FALSE(tf->IsOpen());
    ASSERT_TRUE(cells->EditorShown());
    PostCell();
    EXPECT_EQ(ds->State(), dsBrowse);
    EXPECT_EQ(ds->FieldByName("At")->AsDateTime(), row.posted);
    ds->Edit();
    ds->FieldByName("At")->SetAsDateTime(start);
    ds->Post();
  }
  tf->SetOptions(designed);
}

// A lookup field's column: the list shows the result field alone, typed
// letters complete in the list's letter case, a letter leading out of the
// list is refused, and the key of the pick is posted.
TEST_F(ListCellsTest, ALookupCellCompletesTypedTextAndPostsTheKey) {
  EditCell(data.peopleSource.get(), {"Color"}, Create<TLookupVision>(form));
  EXPECT_EQ(CellText(), "Green");
  Key(VK_DOWN, bmAlt);
  ASSERT_TRUE(list->IsOpen());
  ASSERT_EQ(listGrid->Columns()->Count(), 1);
  EXPECT_EQ(listGrid->Columns()->Items(0)->FieldName(), "Name");
  EXPECT_EQ(listGrid->UniqueFields(), "ID");
  EXPECT_EQ(ListCurrent("Name"), "Green");
  Key(VK_HOME);
  Key(VK_END, bmShift);
  Type("bl");  // the first letter replaces the selection, the second completes
  EXPECT_EQ(CellText(), "Blue");
  EXPECT_EQ(ListCurrent("Name"), "Blue");
  Type("x");  // "Bx" is in no list value
  EXPECT_EQ(CellText(), "Blue");
  Key(VK_RETURN);  // closes the list
  EXPECT_FALSE(list->IsOpen());
  PostCell();
  EXPECT_EQ(data.people->State(), dsBrowse);
  EXPECT_EQ(People("ColorID")->AsInteger(), 3);
  EXPECT_EQ(People("Color")->AsString(), "Blue");
}

// Clearing a lookup cell's text posts null when nullable; otherwise the
// key stays.
TEST_F(ListCellsTest, AClearedLookupCellIsNullOnlyWhenNullable) {
  for (bool nullable : {false, true}) {
    SCOPED_TRACE(nullable ? "nullable" : "not nullable");
    auto* v = Create<TLookupVision>(form);
    v->SetNullable(nullable);
    EditCell(data.peopleSource.get(), {"Color"}, v);
    Key(VK_DELETE);
    EXPECT_EQ(CellText(), "");
    PostCell();
    EXPECT_EQ(data.people->State(), dsBrowse);
    EXPECT_EQ(People("ColorID")->IsNull(), nullable);
    if (!nullable) {
      EXPECT_EQ(People("ColorID")->AsInteger(), 2);
    }
  }
}

// A value lookup's column: without a description the list has one column,
// with it two; a typed name and a clicked row post their keys.
TEST_F(ListCellsTest, AValueLookupCellListsPicksByClickAndCompletes) {
  for (bool described : {false, true}) {
    SCOPED_TRACE(described ? "described" : "names only");
    EditCell(data.peopleSource.get(), {"ColorID"}, Colors(described));
    EXPECT_EQ(CellText(), "Green");
    Key(VK_DOWN, bmAlt);
    ASSERT_TRUE(list->IsOpen());
    EXPECT_EQ(listGrid->Columns()->Count(), described ? 2 : 1);
    ClickListRow(2);
    EXPECT_FALSE(list->IsOpen());
    EXPECT_EQ(CellText(), "Blue");
    PostCell();
    EXPECT_EQ(People("ColorID")->AsInteger(), 3);
    data.people->Edit();
    People("ColorID")->SetAsInteger(2);
    data.people->Post();
  }
  Key(VK_F2);
  Type("rE");
  EXPECT_EQ(CellText(), "Red");
  PostCell();
  EXPECT_EQ(People("ColorID")->AsInteger(), 1);
}

// A most-recently-used pick list fed from a cell: a new value goes to the
// front, a typed existing value moves there without a second entry, and a
// cleared text adds no empty entry.
TEST_F(ListCellsTest, AnMRUCellKeepsOneEntryPerValue) {
  TStandardVision* v = Names("Ann,Bob,Cid");
  v->SetPickListType(pltMRU);
  EditCell(data.peopleSource.get(), {"Name"}, v);
  struct TRow {
    const char* name;   // what the row checks
    const char* typed;  // replaces the cell's text ("": cleared)
    const char* field;  // the field afterwards ("": null)
    const char* list;   // the pick list afterwards
  };
  const TRow rows[] = {
      {"a new value goes first", "Dan", "Dan", "Dan,Ann,Bob,Cid"},
      {"a typed value moves first", "bob", "Bob", "Bob,Dan,Ann,Cid"},
      {"a cleared text is no entry", "", "", "Bob,Dan,Ann,Cid"},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.name);
    if (!cells->EditorShown()) Key(VK_F2);
    if (*row.typed)
      Type(row.typed);
    else
      Key(VK_DELETE);
    PostCell();
    EXPECT_EQ(data.people->State(), dsBrowse);
    EXPECT_EQ(People("Name")->AsString(), row.field);
    EXPECT_EQ(People("Name")->IsNull(), !*row.field);
    EXPECT_EQ(v->PickList()->CommaText(), row.list);
  }
}

}  // namespace
}  // namespace brevant::test
