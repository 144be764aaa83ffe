// The environment's life cycle and its footer menu: the form text's items,
// picking each aggregate through the scripted popup answer, the checks,
// the visibility and separator rules, the enabling rules per field kind
// and when the menu is not offered at all.
#include <gtest/gtest.h>

#include "bv/column.h"
#include "bv/columns.h"
#include "bv/env_hook.h"
#include "bv/tabulon.h"
#include "bv_env/env.h"
#include "bv_env/env_unit.h"
#include "controls/controls_test_util.h"
#include "controls/menus.h"
#include "controls/test_hooks.h"
#include "db/datasource.h"
#include "db/field.h"
#include "db/mem_dataset.h"
#include "graphics/imagelist.h"
#include "rtl/datetime.h"

namespace brevant::test {
namespace {

// Positions of the footer menu's items in the menu.
constexpr Integer kSeparator = 5, kNoneItem = 6;
Integer MenuIndexOf(TtlFooterState state) {
  return state == fsNone ? kNoneItem : static_cast<Integer>(state);
}

class EnvMenuTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    InitEnvironment();
    env = BvEnv();
    ds = Create<TMemDataSet>(nullptr);
    ds->FieldDefs()->Add("Int", ftInteger);
    ds->FieldDefs()->Add("Float", ftFloat);
    ds->FieldDefs()->Add("Money", ftCurrency);
    ds->FieldDefs()->Add("When", ftDateTime);
    ds->FieldDefs()->Add("Day", ftDate);
    ds->FieldDefs()->Add("Stamp", ftTimeStamp);
    ds->FieldDefs()->Add("Text", ftString, 20);
    ds->FieldDefs()->Add("Flag", ftBoolean);
    ds->AppendRow(
        {1, 1.5, 2, EncodeDate(2024, 5, 6), EncodeDate(2024, 5, 6), Variant(), "one", true});
    src = Create<TDataSource>(nullptr);
    src->SetDataSet(ds);
    grid = Create<TDBTabulon>(form);
    grid->SetName("Grid");
    grid->SetBounds(0, 0, 280, 160);
    grid->SetParent(form);
    for (const char* name : {"Int", "Float", "Money", "When", "Day", "Stamp", "Text", "Flag"})
      grid->Columns()->Add()->SetFieldName(name);
    grid->SetShowFooters(true);
    grid->SetDataSource(src);
    form->Show();
    ds->Open();
    Pump();
    grid->OnFooterStateChange = TtlColumnEvent::FromCallable(
        [this](TObject*, TtlColumn* column) { changes.push_back(column); });
    ModalLog().clear();
  }
  void TearDown() override {
    ClearScriptedAnswers();
    TObject::Free(grid);
    DoneEnvironment();
    ControlsTest::TearDown();
    TObject::Free(src);
    TObject::Free(ds);
  }
  TtlColumn* Column(const char* field) {
    for (Integer i = 0; i < grid->Columns()->Count(); ++i)
      if (grid->Columns()->Items(i)->FieldName() == field) return grid->Columns()->Items(i);
    return nullptr;
  }
  // Offers the column's footer menu; the scripted answer picks the item at
  // menu position `pick` (-1: nothing).
  bool Offer(TtlColumn* column, Integer pick) {
    ScriptAnswer("PopupMenu", pick);
    const bool shown = env->PopupFooterMenu(grid, column, 10, grid->ClientHeight() - 4);
    if (!shown) ClearScriptedAnswers();
    return shown;
  }
  // The visible items as "Average Count - None".
  String VisibleItems() {
    String s;
    for (Integer i = 0; i < env->pumFooterMenu->Items()->Count(); ++i) {
      TMenuItem* item = env->pumFooterMenu->Items()->Items(i);
      if (item->Visible()) s += (s.empty() ? "" : " ") + item->Caption();
    }
    return s;
  }
  String EnabledItems() {
    String s;
    for (Integer state = fsAverage; state <= fsNone; ++state)
      if (env->StateItem(state)->Enabled())
        s += (s.empty() ? "" : " ") + env->StateItem(state)->Caption();
    return s;
  }

  TbvEnv* env = nullptr;
  TMemDataSet* ds = nullptr;
  TDataSource* src = nullptr;
  TDBTabulon* grid = nullptr;
  std::vector<TtlColumn*> changes;
};

// ---- life cycle ----

TEST_F(EnvMenuTest, IsCreatedOnceInstalledAndRemovedAgain) {
  ASSERT_NE(nullptr, env);
  EXPECT_EQ(static_cast<IbvEnvironment*>(env), Environment());
  EXPECT_EQ(nullptr, env->Owner());
  EXPECT_FALSE(env->Visible());
  EXPECT_EQ(env->TitleStateImgs, TitleStateImages()) << "columns draw the sort markers";
  InitEnvironment();
  EXPECT_EQ(env, BvEnv()) << "a second start-up creates nothing";
  DoneEnvironment();
  EXPECT_EQ(nullptr, Environment());
  EXPECT_EQ(nullptr, BvEnv());
  EXPECT_EQ(nullptr, TitleStateImages());
  // Freed by anyone, it still leaves the hook.
  InitEnvironment();
  env = BvEnv();
  TObject::Free(env);
  EXPECT_EQ(nullptr, Environment());
  EXPECT_EQ(nullptr, TitleStateImages());
  InitEnvironment();
  env = BvEnv();
}

TEST_F(EnvMenuTest, ReadsTheMenuFromItsFormText) {
  TPopupMenu* menu = env->pumFooterMenu;
  EXPECT_EQ(env->FooterMenu(), menu);
  EXPECT_EQ(paCenter, menu->Alignment());
  EXPECT_EQ(env->FooterStateImgs, menu->Images());
  struct Row {
    const char* name;
    const char* caption;
    Integer tag;
    Integer image;
  };
  const Row rows[] = {{"miAverage", "Average", 0, 0}, {"miCount", "Count", 1, 1},
                      {"miMax", "Maximum", 2, 2},     {"miMin", "Minimum", 3, 3},
                      {"miSum", "Sum", 4, 4},         {"miSep1", "-", 0, -1},
                      {"miNone", "None", 5, -1}};
  ASSERT_EQ(7, menu->Items()->Count());
  for (Integer i = 0; i < 7; ++i) {
    TMenuItem* item = menu->Items()->Items(i);
    SCOPED_TRACE(rows[i].name);
    EXPECT_EQ(rows[i].name, item->Name());
    EXPECT_EQ(rows[i].caption, item->Caption());
    EXPECT_EQ(rows[i].tag, item->Tag());
    EXPECT_EQ(rows[i].image, item->ImageIndex());
    EXPECT_EQ(i != kSeparator, item->RadioItem());
    EXPECT_EQ(i != kSeparator, static_cast<bool>(item->OnClick));
  }
  for (Integer state = fsAverage; state <= fsNone; ++state) {
    EXPECT_EQ(menu->Items()->Items(MenuIndexOf(static_cast<TtlFooterState>(state))),
              env->StateItem(state));
    EXPECT_EQ(env->StateItem(state), env->FooterStateItem(static_cast<TtlFooterState>(state)));
  }
  EXPECT_EQ(nullptr, env->StateItem(6));
  EXPECT_EQ(nullptr, env->StateItem(-1));
}

// ---- picking ----

TEST_F(EnvMenuTest, PicksEachAggregateThroughThePopup) {
  TtlColumn* column = Column("Float");
  for (TtlFooterState state : {fsAverage, fsCount, fsMax, fsMin, fsSum, fsNone, fsSum}) {
    SCOPED_TRACE(static_cast<int>(state));
    const TtlFooterState before = column->FooterState();
    changes.clear();
    ASSERT_TRUE(Offer(column, MenuIndexOf(state)));
    // A state picked again switches the footer off.
    const TtlFooterState expected = state == before ? fsNone : state;
    EXPECT_EQ(expected, column->FooterState());
    EXPECT_EQ(before == expected ? 0u : 1u, changes.size());
    if (!changes.empty()) {
      EXPECT_EQ(column, changes.front());
    }
    EXPECT_EQ(nullptr, env->FooterColumn()) << "open only while the menu is";
  }
}

TEST_F(EnvMenuTest, PickingTheShownStateAgainSwitchesTheFooterOff) {
  TtlColumn* column = Column("Int");
  column->SetFooterState(fsMax);
  ASSERT_TRUE(Offer(column, MenuIndexOf(fsMax)));
  EXPECT_EQ(fsNone, column->FooterState());
  EXPECT_EQ(1u, changes.size());
}

TEST_F(EnvMenuTest, ChecksTheColumnsStateAndOnlyIt) {
  TtlColumn* column = Column("Money");
  column->SetFooterState(fsMin);
  ASSERT_TRUE(Offer(column, -1));
  for (Integer state = fsAverage; state <= fsNone; ++state)
    EXPECT_EQ(state == fsMin, env->StateItem(state)->Checked()) << state;
  EXPECT_EQ(fsMin, column->FooterState()) << "nothing chosen, nothing changed";
  EXPECT_TRUE(changes.empty());
}

TEST_F(EnvMenuTest, ShowsTheColumnsStatesAndTheSeparatorWithNone) {
  struct Row {
    const char* name;
    TtlFooterStates states;
    const char* visible;
  };
  const Row rows[] = {
      {"all",
       {fsAverage, fsCount, fsMax, fsMin, fsSum, fsNone},
       "Average Count Maximum Minimum Sum - None"},
      {"count and none", {fsCount, fsNone}, "Count - None"},
      {"sum alone", {fsSum}, "Sum"},
      {"no none", {fsAverage, fsMax}, "Average Maximum"},
  };
  TtlColumn* column = Column("Int");
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    column->SetFooterStates(row.states);
    ASSERT_TRUE(Offer(column, -1));
    EXPECT_EQ(row.visible, VisibleItems());
  }
}

// ---- enabling by field kind ----

TEST_F(EnvMenuTest, EnablesTheAggregatesThatSuitTheFieldKind) {
  struct Row {
    const char* field;
    const char* enabled;
  };
  const Row rows[] = {
      {"Int", "Average Count Maximum Minimum Sum None"},
      {"Float", "Average Count Maximum Minimum Sum None"},
      {"Money", "Average Count Maximum Minimum Sum None"},
      {"When", "Average Count Maximum Minimum None"},
      {"Day", "Average Count Maximum Minimum None"},
      {"Stamp", "Average Count Maximum Minimum None"},
      {"Text", "Count None"},
      {"Flag", "Count None"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.field);
    env->PrepareFooterMenu(ds->FieldByName(row.field));
    EXPECT_EQ(row.enabled, EnabledItems());
  }
  env->PrepareFooterMenu(nullptr);
  EXPECT_EQ("Count None", EnabledItems()) << "no field";
}

TEST_F(EnvMenuTest, TheGridsHandlerPreparesTheItemsAndADisabledOneIsNotPicked) {
  grid->OnFooterMenuPopup =
      TtlFooterMenuPopupEvent::FromCallable([this](TObject*, Integer, Integer, bool&) {
        env->PrepareFooterMenu(env->FooterColumn()->Field());
      });
  TtlColumn* text = Column("Text");
  ASSERT_TRUE(Offer(text, MenuIndexOf(fsSum)));
  EXPECT_EQ(fsNone, text->FooterState()) << "Sum is disabled for a string";
  ASSERT_TRUE(Offer(text, MenuIndexOf(fsCount)));
  EXPECT_EQ(fsCount, text->FooterState());
  TtlColumn* when = Column("When");
  ASSERT_TRUE(Offer(when, MenuIndexOf(fsSum)));
  EXPECT_EQ(fsNone, when->FooterState());
  ASSERT_TRUE(Offer(when, MenuIndexOf(fsAverage)));
  EXPECT_EQ(fsAverage, when->FooterState());
  // The next column starts with every item enabled again.
  grid->OnFooterMenuPopup = {};
  ASSERT_TRUE(Offer(Column("Flag"), MenuIndexOf(fsSum)));
  EXPECT_EQ(fsSum, Column("Flag")->FooterState());
}

// ---- when the menu is not offered ----

TEST_F(EnvMenuTest, IsNotOfferedWhenTheGridOrColumnSaysNo) {
  TtlColumn* column = Column("Int");
  grid->SetOptionsBehavior({gboNoFooterStates});
  EXPECT_FALSE(Offer(column, MenuIndexOf(fsSum)));
  grid->SetOptionsBehavior({});
  column->SetOptionsBehavior({cboNoFooterStates});
  EXPECT_FALSE(Offer(column, MenuIndexOf(fsSum)));
  column->SetOptionsBehavior({});
  column->SetFooterStates({});
  EXPECT_FALSE(Offer(column, MenuIndexOf(fsSum)));
  column->SetFooterStates({fsNone});
  EXPECT_FALSE(Offer(column, MenuIndexOf(fsSum)));
  column->SetFooterStates({fsSum, fsNone});
  grid->OnFooterMenuPopup = TtlFooterMenuPopupEvent::FromCallable(
      [](TObject*, Integer, Integer, bool& doPopup) { doPopup = false; });
  EXPECT_FALSE(Offer(column, MenuIndexOf(fsSum)));
  EXPECT_TRUE(ModalLog().empty()) << "the menu never showed";
  EXPECT_EQ(fsNone, column->FooterState());
  EXPECT_FALSE(env->PopupFooterMenu(grid, nullptr, 0, 0));
  EXPECT_FALSE(env->PopupFooterMenu(nullptr, column, 0, 0));
}

TEST_F(EnvMenuTest, AClickOutsideAnOpenMenuChangesNothing) {
  TtlColumn* column = Column("Int");
  env->miSum->Click();
  EXPECT_EQ(fsNone, column->FooterState());
  // A column of another grid is not this grid's open column.
  auto* other = Create<TDBTabulon>(form);
  other->SetParent(form);
  other->Columns()->Add()->SetFieldName("Int");
  EXPECT_FALSE(env->PopupFooterMenu(grid, other->Columns()->Items(0), 0, 0));
  TObject::Free(other);
}

TEST_F(EnvMenuTest, AColumnFreedWhileTheMenuIsOpenIsLeftAlone) {
  TtlColumn* column = Column("Int");
  grid->OnFooterMenuPopup = TtlFooterMenuPopupEvent::FromCallable(
      [&](TObject*, Integer, Integer, bool&) { TObject::Free(column); });
  EXPECT_TRUE(Offer(column, MenuIndexOf(fsSum)));
  EXPECT_TRUE(changes.empty());
  EXPECT_EQ(nullptr, Column("Int"));
  EXPECT_EQ(nullptr, env->FooterColumn());
}

}  // namespace
}  // namespace brevant::test
