// The grid's parameter objects: keyboard deletes with their confirmation,
// refused deletes, and the settings carried through Assign and streaming.
#include "bv/grid_params.h"
#include "bv/selection.h"
#include "controls/application.h"
#include "controls/test_hooks.h"
#include "db/dataset.h"
#include "grid_test_util.h"
#include "rtl/exceptions.h"

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

}  // namespace
}  // namespace brevant::test
