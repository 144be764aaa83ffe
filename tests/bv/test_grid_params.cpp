// The grid's parameter objects: keyboard deletes with their confirmation,
// refused deletes, and the settings carried through Assign and streaming.
#include <sqlite3.h>

#include <cstdio>

#include "bv/grid_params.h"
#include "bv/hints.h"
#include "bv/selection.h"
#include "classes/formstream.h"
#include "controls/application.h"
#include "controls/test_hooks.h"
#include "db/dataset.h"
#include "db/sqlite_table.h"
#include "grid_test_util.h"
#include "rtl/exceptions.h"
#include "rtl/streams.h"

namespace brevant::test {
namespace {

class DeleteParamsTest : public GridTest {
 protected:
  void Build(Integer n) {
    GridTest::Build(n, 10);
    del = grid->ParamsDelete();
    del->SetEnabled(true);
    afterDeletes = 0;
    grid->AfterDelete = TNotifyEvent::FromCallable([this](TObject*) { ++afterDeletes; });
    ModalLog().clear();
  }
  void GoTo(Integer id) {
    ASSERT_TRUE(ds->Locate("ID", id));
    Pump();
  }
  void Select(std::initializer_list<Integer> ids) {
    for (Integer id : ids) {
      GoTo(id);
      grid->Selection()->SelectCurrent(true, true);
    }
  }
  std::vector<Integer> AllIDs() {
    std::vector<Integer> ids;
    (void)ds->ScanRecords([&] {
      ids.push_back(CurrentID());
      return false;
    });
    return ids;
  }
  bool CtrlDel() { return del->HandleDeleteKey(VK_DELETE, TShiftState{ssCtrl}); }

  TtlDeleteParams* del = nullptr;
  Integer afterDeletes = 0;
};

TEST_F(DeleteParamsTest, SingleRecordIsDeletedOnlyWhenConfirmed) {
  struct Row {
    const char* name;
    Integer answer;
    bool deleted;
  };
  for (const Row& row : {Row{"ok", IDOK, true}, Row{"cancel", IDCANCEL, false}}) {
    SCOPED_TRACE(row.name);
    Build(5);
    GoTo(3);
    ScriptAnswer("MessageBox", row.answer);
    EXPECT_TRUE(CtrlDel());
    EXPECT_EQ(del->Deleted(), row.deleted);
    EXPECT_EQ(afterDeletes, row.deleted ? 1 : 0);
    ASSERT_EQ(ModalLog().size(), 1u);
    EXPECT_EQ(ModalLog()[0],
              "MessageBox: " + Application()->Title() + ": Delete record. Are you sure?");
    EXPECT_EQ(AllIDs(), row.deleted ? std::vector<Integer>({1, 2, 4, 5})
                                    : std::vector<Integer>({1, 2, 3, 4, 5}));
    TearDown();
    SetUp();
  }
}

TEST_F(DeleteParamsTest, SeveralSelectedRecordsAskWithTheirNumber) {
  Build(6);
  Select({2, 4, 5});
  ScriptAnswer("MessageBox", IDOK);
  EXPECT_TRUE(CtrlDel());
  ASSERT_EQ(ModalLog().size(), 1u);
  EXPECT_NE(ModalLog()[0].find("Delete 3 records. Are you sure?"), String::npos);
  EXPECT_EQ(AllIDs(), std::vector<Integer>({1, 3, 6}));
  EXPECT_TRUE(grid->Selection()->IsEmpty());
  EXPECT_TRUE(del->Deleted());
}

TEST_F(DeleteParamsTest, PromptKindAndCustomTexts) {
  struct Row {
    const char* name;
    TtlDeletePromptKind kind;
    bool multiple;
    const char* question;  // empty: no box
  };
  const Row rows[] = {
      {"never, single", dpkNever, false, ""},
      {"never, multiple", dpkNever, true, ""},
      {"multi, single", dpkMultiRecord, false, ""},
      {"multi, multiple", dpkMultiRecord, true, "Drop 2?"},
      {"always, single", dpkAlways, false, "Drop it?"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Build(4);
    del->SetPromptKind(row.kind);
    del->SetPromptMsg("Drop it?");
    del->SetPromptMsgMulti("Drop %d?");
    if (row.multiple) Select({1, 2});
    GoTo(3);
    if (*row.question) ScriptAnswer("MessageBox", IDOK);
    EXPECT_TRUE(CtrlDel());
    if (*row.question) {
      ASSERT_EQ(ModalLog().size(), 1u);
      EXPECT_NE(ModalLog()[0].find(row.question), String::npos);
    } else {
      EXPECT_TRUE(ModalLog().empty());
    }
    EXPECT_EQ(AllIDs(),
              row.multiple ? std::vector<Integer>({3, 4}) : std::vector<Integer>({1, 2, 4}));
    TearDown();
    SetUp();
  }
}

TEST_F(DeleteParamsTest, ShortCutAppliesOnlyWhenEnabledAndMatching) {
  Build(3);
  del->SetPromptKind(dpkNever);
  GoTo(1);
  EXPECT_FALSE(del->HandleDeleteKey(VK_DELETE, TShiftState{}));
  EXPECT_FALSE(del->HandleDeleteKey(VK_DELETE, TShiftState{ssShift}));
  del->SetEnabled(false);
  EXPECT_FALSE(CtrlDel());
  EXPECT_EQ(AllIDs(), std::vector<Integer>({1, 2, 3}));
  // A program's request (key 0) applies without the shortcut.
  EXPECT_TRUE(del->HandleDeleteKey(0, TShiftState{}));
  EXPECT_EQ(AllIDs(), std::vector<Integer>({2, 3}));
}

TEST_F(DeleteParamsTest, OneSelectedRecordThatIsNotCurrentIsTheOneDeleted) {
  Build(5);
  del->SetPromptKind(dpkNever);
  Select({2, 4});
  GoTo(2);
  grid->Selection()->SelectCurrent(false, true);  // the cursor stays on 2
  ASSERT_EQ(grid->Selection()->Count(), 1);
  EXPECT_TRUE(CtrlDel());
  EXPECT_EQ(AllIDs(), std::vector<Integer>({1, 2, 3, 5}));
  EXPECT_TRUE(grid->Selection()->IsEmpty());
}

TEST_F(DeleteParamsTest, ReadOnlyGridKeepsTheCurrentRecord) {
  Build(4);
  del->SetPromptKind(dpkNever);
  grid->SetReadOnly(true);
  GoTo(2);
  EXPECT_TRUE(CtrlDel());
  EXPECT_FALSE(del->Deleted());
  EXPECT_EQ(AllIDs(), std::vector<Integer>({1, 2, 3, 4}));
}

TEST_F(DeleteParamsTest, ReadOnlyDataSetRefusesAndKeepsEverything) {
  Build(4);
  del->SetPromptKind(dpkNever);
  Select({1, 3});
  ds->SetReadOnly(true);
  EXPECT_FALSE(CtrlDel());
  EXPECT_EQ(AllIDs(), std::vector<Integer>({1, 2, 3, 4}));
  EXPECT_EQ(grid->Selection()->SelectedCount(), 2);
}

TEST_F(DeleteParamsTest, DataSetErrorKeepsRecordsAndSelection) {
  Build(4);
  del->SetPromptKind(dpkNever);
  Select({1, 3});
  ds->BeforeDelete =
      TDataSetNotifyEvent::FromCallable([](TDataSet*) { throw Exception("disk full"); });
  EXPECT_THROW(CtrlDel(), Exception);
  EXPECT_FALSE(del->Deleted());
  EXPECT_EQ(afterDeletes, 0);
  EXPECT_EQ(AllIDs(), std::vector<Integer>({1, 2, 3, 4}));
  EXPECT_EQ(grid->Selection()->SelectedCount(), 2);
  // The selection still deletes once the dataset accepts.
  ds->BeforeDelete = {};
  EXPECT_TRUE(CtrlDel());
  EXPECT_EQ(AllIDs(), std::vector<Integer>({2, 4}));
}

// A delete the database refuses (a trigger aborts it): the error travels to
// the caller, and records and selection stay.
TEST_F(DeleteParamsTest, DatabaseErrorIsShownAndKeepsEverything) {
  Build(0);
  const String file = testing::TempDir() + "grid_delete_refused.db";
  std::remove(file.c_str());
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
  const char* schema =
      "CREATE TABLE T(ID INTEGER PRIMARY KEY, Name VARCHAR(20));"
      "INSERT INTO T VALUES (1,'a'),(2,'b'),(3,'c');"
      "CREATE TRIGGER Locked BEFORE DELETE ON T BEGIN SELECT RAISE(ABORT, 'rows are locked'); END;";
  ASSERT_EQ(sqlite3_exec(db, schema, nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
  TObjectPtr<TSqliteTable> table(Create<TSqliteTable>(nullptr));
  table->SetDatabaseName(file);
  table->SetTableName("T");
  src->SetDataSet(table.get());
  table->Open();
  Pump();
  del->SetPromptKind(dpkNever);
  for (Integer id : {1, 3}) {
    ASSERT_TRUE(table->Locate("ID", id));
    Pump();
    grid->Selection()->SelectCurrent(true, true);
  }
  try {
    del->HandleDeleteKey(0, TShiftState{});
    ADD_FAILURE() << "the refused delete reported success";
  } catch (const EDatabaseError& e) {
    EXPECT_NE(e.Message().find("rows are locked"), String::npos) << e.Message();
  }
  EXPECT_EQ(table->RecordCount(), 3);
  EXPECT_EQ(grid->Selection()->SelectedCount(), 2);
  EXPECT_FALSE(del->Deleted());
  src->SetDataSet(nullptr);
  table.reset();
  std::remove(file.c_str());
}

// Pressed through the grid, a refused delete reaches the exception handler
// that shows errors; records and selection stay.
TEST_F(DeleteParamsTest, RefusedDeleteByKeyReachesTheErrorHandler) {
  Build(4);
  del->SetPromptKind(dpkNever);
  Select({1, 3});
  ds->BeforeDelete =
      TDataSetNotifyEvent::FromCallable([](TDataSet*) { throw Exception("disk full"); });
  grid->SetFocus();
  Pump();
  Offscreen().PressKey(VK_DELETE, bmCtrl);
  Pump();
  EXPECT_EQ(HandledMessage(), "disk full");
  EXPECT_EQ(AllIDs(), std::vector<Integer>({1, 2, 3, 4}));
  EXPECT_EQ(grid->Selection()->SelectedCount(), 2);
}

TEST(GridParamsStreaming, AssignCopiesEverySetting) {
  TtlDeleteParams a, b;
  a.SetEnabled(true);
  a.SetShortCut(scCtrl | 'D');
  a.SetPromptKind(dpkMultiRecord);
  a.SetPromptMsg("one?");
  a.SetPromptMsgMulti("%d?");
  b.Assign(&a);
  EXPECT_TRUE(b.Enabled());
  EXPECT_EQ(b.ShortCut(), scCtrl | 'D');
  EXPECT_EQ(b.PromptKind(), dpkMultiRecord);
  EXPECT_EQ(b.PromptMsg(), "one?");
  EXPECT_EQ(b.PromptMsgMulti(), "%d?");
}

// Names: 1 Apple, 2 banana, 3 Berry, 4 cherry, 5 "blue sky" (with a
// non-breaking space), 6 Apricot, 7 Émile; the Name column is current.
class AutoSearchTest : public GridTest {
 protected:
  void SetUp() override {
    GridTest::SetUp();
    Build(0);
    const char* names[] = {"Apple",           "banana",  "Berry",       "cherry",
                           "blue\xC2\xA0sky", "Apricot", "\xC3\x89mile"};
    Integer id = 0;
    for (const char* name : names) ds->AppendRecord({++id, String(name)});
    grid->SelectColumn(1);
    search = grid->ParamsAutoSearch();
    search->SetEnabled(true);
    GoTo(1);
  }
  void GoTo(Integer id) {
    ASSERT_TRUE(ds->Locate("ID", id));
    Pump();
  }
  void Type(const char* text) {
    for (const char* c = text; *c; ++c) search->HandleChar(static_cast<unsigned char>(*c));
  }

  TtlAutoSearchParams* search = nullptr;
};

TEST_F(AutoSearchTest, TypingSearchesFromTheFirstRecordIgnoringCase) {
  GoTo(4);
  Type("b");
  EXPECT_TRUE(search->Searching());
  EXPECT_EQ(CurrentID(), 2);
  Type("e");
  EXPECT_EQ(CurrentID(), 3);
  EXPECT_EQ(search->SearchText(), "be");
  // A character that matches nothing is dropped; position and prompt stay.
  Type("x");
  EXPECT_EQ(CurrentID(), 3);
  EXPECT_EQ(search->SearchText(), "be");
  ASSERT_NE(search->PromptWindow(), nullptr);
  EXPECT_EQ(search->PromptWindow()->Caption(), "Search: be");
  search->HandleChar(8);
  EXPECT_EQ(search->SearchText(), "b");
  search->Stop();
  EXPECT_FALSE(search->Searching());
  EXPECT_EQ(search->PromptWindow(), nullptr);
}

TEST_F(AutoSearchTest, NonAsciiAndNonBreakingSpaceMatch) {
  search->HandleChar(U'\u00E9');  // é finds Émile
  EXPECT_EQ(CurrentID(), 7);
  search->Stop();
  Type("blue s");
  EXPECT_EQ(CurrentID(), 5);
}

TEST_F(AutoSearchTest, BackspaceOnAnEmptyTextMovesNothing) {
  GoTo(4);
  ASSERT_TRUE(search->Start(0));
  search->HandleChar(8);
  EXPECT_EQ(CurrentID(), 4);
  EXPECT_EQ(search->SearchText(), "");
}

TEST_F(AutoSearchTest, TypingFromTheCurrentRecord) {
  search->SetSearchFromBegin(false);
  GoTo(3);
  Type("a");
  EXPECT_EQ(CurrentID(), 6);
}

TEST_F(AutoSearchTest, FindNextAndPrevious) {
  struct Row {
    const char* name;
    const char* text;
    Integer from;
    bool forward;
    bool cycle;
    Integer expected;  // 0: not found, the position stays
  };
  const Row rows[] = {
      {"next", "b", 3, true, false, 5},
      {"next past the last match", "b", 5, true, false, 0},
      {"next cycles to the first match", "b", 5, true, true, 2},
      {"next cycles from the last record to the first", "a", 7, true, true, 1},
      {"previous", "b", 3, false, false, 2},
      {"previous past the first match", "b", 2, false, false, 0},
      {"previous cycles to the last match", "b", 2, false, true, 5},
      {"previous cycles from the first record to the last", "\xC3\xA9", 1, false, true, 7},
      {"the only match is the current one", "c", 4, true, true, 4},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    GoTo(row.from);
    ASSERT_TRUE(search->Start(0));
    EXPECT_EQ(search->Search(row.text, row.forward, row.cycle, true, false), row.expected != 0);
    EXPECT_EQ(CurrentID(), row.expected ? row.expected : row.from);
    search->Stop();
  }
}

TEST_F(AutoSearchTest, ShortCutsStartAndFindNext) {
  search->SetShortCut(scCtrl | 'F');
  search->SetShortCutFindNext(VK_F3);
  search->SetShortCutFindPrevious(TShortCut(scShift | Word(VK_F3)));
  search->SetCycleSearch(true);
  EXPECT_FALSE(search->HandleShortCut(VK_F3, TShiftState{}));  // not searching yet
  EXPECT_TRUE(search->HandleShortCut('F', TShiftState{ssCtrl}));
  EXPECT_TRUE(search->Searching());
  Type("b");
  EXPECT_EQ(CurrentID(), 2);
  const Integer expected[] = {3, 5, 2};
  for (Integer id : expected) {
    EXPECT_TRUE(search->HandleShortCut(VK_F3, TShiftState{}));
    EXPECT_EQ(CurrentID(), id);
  }
  EXPECT_TRUE(search->HandleShortCut(VK_F3, TShiftState{ssShift}));
  EXPECT_EQ(CurrentID(), 5);
}

TEST_F(AutoSearchTest, SearchableFieldsIgnoreCase) {
  struct Row {
    const char* name;
    const char* fields;
    Integer column;
    bool starts;
  };
  const Row rows[] = {
      {"empty: every column", "", 1, true},
      {"listed", "ID;Name", 1, true},
      {"listed in another case", "name", 1, true},
      {"not listed", "ID", 1, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    search->SetSearchableFields(row.fields);
    grid->SelectColumn(row.column);
    EXPECT_EQ(search->Start(0), row.starts);
    search->Stop();
  }
}

TEST_F(AutoSearchTest, PromptTextAndPosition) {
  search->SetPrompt("Find [%s]");
  Type("ch");
  THintWindowEx* prompt = search->PromptWindow();
  ASSERT_NE(prompt, nullptr);
  EXPECT_EQ(prompt->Caption(), "Find [ch]");
  EXPECT_EQ(prompt->Color(), clInfoBk);
  const TPoint corner = form->ClientToScreen(TPoint{grid->Left(), grid->Top() + grid->Height()});
  EXPECT_EQ(prompt->BoundsRect().Left, corner.X);
  EXPECT_EQ(prompt->BoundsRect().Top, corner.Y);
  EXPECT_LE(prompt->BoundsRect().Width(), grid->Width() + 10);
  search->Stop();
  search->SetEnablePrompt(false);
  Type("a");
  EXPECT_TRUE(search->Searching());
  EXPECT_FALSE(search->PromptWindow()->IsHintShown());
}

TEST_F(AutoSearchTest, KeyboardAndMouseDriveTheSearch) {
  GoTo(4);
  grid->SetFocus();
  Pump();
  Offscreen().TypeText("Be");
  Pump();
  EXPECT_TRUE(search->Searching());
  EXPECT_EQ(search->SearchText(), "Be");
  EXPECT_EQ(CurrentID(), 3);
  // The dataset's data change after each step does not end the search.
  Offscreen().TypeText("\b");
  Pump();
  EXPECT_EQ(search->SearchText(), "B");
  EXPECT_EQ(CurrentID(), 2);
  Offscreen().PressKey(VK_ESCAPE);
  Pump();
  EXPECT_FALSE(search->Searching());
  Offscreen().TypeText("c");
  Pump();
  EXPECT_EQ(CurrentID(), 4);
  Offscreen().Click(At(grid, 5, grid->Height() - 5));
  Pump();
  EXPECT_FALSE(search->Searching());
  EXPECT_EQ(search->PromptWindow(), nullptr);
}

TEST_F(AutoSearchTest, OnlyKeysThatTypeStartASearch) {
  grid->SetFocus();
  Pump();
  // F2 starts no search: it opens the editor instead.
  const struct {
    const char* name;
    Word key;
    bool starts;
    bool edits;
  } rows[] = {
      {"Down", VK_DOWN, false, false},    {"Delete", VK_DELETE, false, false},
      {"F2", VK_F1 + 1, false, true},     {"LeftShift", VK_LSHIFT, false, false},
      {"Windows", VK_LWIN, false, false}, {"Letter", 'B', true, false},
      {"Digit", '7', true, false},        {"Numpad", VK_NUMPAD0 + 3, true, false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    Offscreen().PressKey(r.key);
    Pump();
    EXPECT_EQ(search->Searching(), r.starts);
    EXPECT_EQ(grid->EditorShown(), r.edits);
    search->Stop();
    grid->CloseEditor(feaClose, false);
    Pump();
  }
}

TEST_F(AutoSearchTest, CtrlDelDeletesThroughTheGrid) {
  grid->ParamsDelete()->SetEnabled(true);
  grid->ParamsDelete()->SetPromptKind(dpkNever);
  GoTo(2);
  grid->SetFocus();
  Pump();
  Offscreen().PressKey(VK_DELETE, bmCtrl);
  Pump();
  EXPECT_EQ(ds->RecordCount(), 6);
  EXPECT_TRUE(grid->ParamsDelete()->Deleted());
}

TEST_F(AutoSearchTest, VisitedRecordsAreNotPainted) {
  Build(300);
  search = grid->ParamsAutoSearch();  // the new grid's
  grid->SelectColumn(1);
  grid->SetFocus();
  Pump();
  grid->Clips.clear();
  ASSERT_TRUE(search->Start(0));
  search->SetEnablePrompt(false);
  // "R299" is found after visiting 298 records.
  EXPECT_TRUE(search->Search("r299", true, false, false, true));
  Pump();
  EXPECT_EQ(CurrentID(), 299);
  EXPECT_LE(grid->Clips.size(), 2u);
}

TEST(GridParamsStreaming, AutoSearchAssignCopiesEverySetting) {
  TtlAutoSearchParams a, b;
  a.SetEnabled(true);
  a.SetSearchableFields("Name");
  a.SetShortCut(1);
  a.SetShortCutFindNext(2);
  a.SetShortCutFindPrevious(3);
  a.SetSearchFromBegin(false);
  a.SetCycleSearch(true);
  a.SetWndColor(clRed);
  a.SetWndTextColor(clNone);
  a.SetPrompt("%s?");
  a.SetEnablePrompt(false);
  b.Assign(&a);
  EXPECT_TRUE(b.Enabled());
  EXPECT_EQ(b.SearchableFields(), "Name");
  EXPECT_EQ(b.ShortCut(), 1);
  EXPECT_EQ(b.ShortCutFindNext(), 2);
  EXPECT_EQ(b.ShortCutFindPrevious(), 3);
  EXPECT_FALSE(b.SearchFromBegin());
  EXPECT_TRUE(b.CycleSearch());
  EXPECT_EQ(b.WndColor(), clRed);
  EXPECT_EQ(b.WndTextColor(), clNone);
  EXPECT_EQ(b.Prompt(), "%s?");
  EXPECT_FALSE(b.EnablePrompt());
}

TEST(GridParamsStreaming, GridWritesAndReadsOnlyChangedSettings) {
  RegisterControlClasses();  // colours are written and read by name
  TObjectPtr<TDBTabulon> grid(Create<TDBTabulon>(nullptr));
  grid->SetName("G");
  grid->ParamsAutoSearch()->SetEnabled(true);
  grid->ParamsAutoSearch()->SetSearchableFields("Name;City");
  grid->ParamsAutoSearch()->SetCycleSearch(true);
  grid->ParamsAutoSearch()->SetWndTextColor(clWhite);
  grid->ParamsDB()->SetEnableRecNo(false);
  grid->ParamsDelete()->SetPromptKind(dpkNever);
  grid->ParamsDelete()->SetPromptMsg("Gone?");
  TStringStream out("");
  WriteComponentText(out, grid.get());
  const String text = out.DataString();
  for (const char* line :
       {"ParamsAutoSearch.Enabled = True", "ParamsAutoSearch.SearchableFields = 'Name;City'",
        "ParamsAutoSearch.CycleSearch = True", "ParamsAutoSearch.WndTextColor = clWhite",
        "ParamsDB.EnableRecNo = False", "ParamsDelete.PromptKind = dpkNever",
        "ParamsDelete.PromptMsg = 'Gone?'"})
    EXPECT_NE(text.find(line), String::npos) << line << "\n" << text;
  // Defaults stay out of the text.
  for (const char* name :
       {"ShortCut", "WndColor", "SearchFromBegin", "EnablePrompt", "ParamsDelete.Enabled"})
    EXPECT_EQ(text.find(name), String::npos) << name;
  TStringStream in(text);
  TObjectPtr<TDBTabulon> loaded(Create<TDBTabulon>(nullptr));
  ReadComponent(in, loaded.get());
  EXPECT_TRUE(loaded->ParamsAutoSearch()->Enabled());
  EXPECT_EQ(loaded->ParamsAutoSearch()->SearchableFields(), "Name;City");
  EXPECT_TRUE(loaded->ParamsAutoSearch()->CycleSearch());
  EXPECT_EQ(loaded->ParamsAutoSearch()->WndTextColor(), clWhite);
  EXPECT_FALSE(loaded->ParamsDB()->EnableRecNo());
  EXPECT_EQ(loaded->ParamsDelete()->PromptKind(), dpkNever);
  EXPECT_EQ(loaded->ParamsDelete()->PromptMsg(), "Gone?");
  EXPECT_EQ(loaded->ParamsDelete()->ShortCut(), TtlDeleteParams::DefaultShortCut);
}

}  // namespace
}  // namespace brevant::test
