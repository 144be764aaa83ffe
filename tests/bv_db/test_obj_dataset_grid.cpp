// A grid over the object dataset: its record window follows the wheel, the
// scroll bar and every edit, insert, delete and refresh of the live objects.
#include <gtest/gtest.h>

#include "../../demo/gallery.h"
#include "../../demo/property_panel.h"
#include "backend/codes.h"
#include "bv/grid_params.h"
#include "bv/grid_test_util.h"
#include "bv_db/obj_dataset.h"
#include "bv_db/quick_record_set.h"
#include "bv_rtm/border_style.h"
#include "controls/edits.h"
#include "controls/extctrls.h"
#include "controls/messages.h"
#include "controls/stdctrls.h"
#include "db/datasource.h"
#include "prop_samples.h"
#include "rtl/stringlist.h"

namespace brevant::test {
namespace {

class ObjGridTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    form->SetBounds(100, 100, 420, 400);
    designer = Create<TTestDesigner>(form, true);
  }
  void TearDown() override {
    FreeAndNil(grid);
    ControlsTest::TearDown();
    FreeAndNil(src);
    FreeAndNil(ds);
    items.reset();
  }
  // A collection of n items "I1".."In" in a grid of `rows` rows.
  void Build(Integer n, bool useEditBuffer = true, Integer rows = 10) {
    items.reset(Create<TSampleItems>());
    for (Integer i = 1; i <= n; ++i) items->Item(items->Add()->Index())->SetName("I" + IntToStr(i));
    BuildOver(items.get(), {"Title", "Weight"}, useEditBuffer, rows);
  }
  // A grid of `rows` rows with a column per field over the object source.
  void BuildOver(TPersistent* source, std::initializer_list<const char*> fields,
                 bool useEditBuffer = true, Integer rows = 10) {
    ds = Create<TObjDataSet>(nullptr);
    ds->SetUseEditBuffer(useEditBuffer);
    ds->SetObjectRef(source);
    src = Create<TDataSource>(nullptr);
    src->SetDataSet(ds);
    grid = Create<TPaintLogGrid>(form);
    grid->SetDesigner(designer);
    grid->SetBorderStyle(bsNoBorder);
    grid->SetScrollBars(ssBoth);
    grid->SetBounds(10, 10, 300, 200);
    grid->SetParent(form);
    for (const char* field : fields) grid->Columns()->Add()->SetFieldName(field);
    grid->SetDataSource(src);
    form->Show();
    ds->Open();
    grid->SetClientHeight(grid->TitleAreaHeight() + grid->FooterAreaHeight() +
                          rows * grid->RowHeight());
    Pump();
  }
  // The titles shown in the window rows, joined with ",".
  String Window() {
    String out;
    TDataLinkEx* link = grid->DataLink();
    const Integer saved = link->ActiveRecord();
    for (Integer row = 0; row < link->RecordCount(); ++row) {
      link->SetActiveRecord(row);
      out += (row ? "," : "") + ds->FieldByName("Title")->AsString();
    }
    link->SetActiveRecord(saved);
    return out;
  }
  String Current() { return ds->FieldByName("Title")->AsString(); }
  // Types text into the current cell and posts the cell and the record.
  static void TypeAndPost(const String& text) {
    Offscreen().TypeText(text);
    Pump();
    Offscreen().PressKey(VK_RETURN);
    Pump();
    Offscreen().PressKey(VK_RETURN);
    Pump();
  }
  void Wheel(Integer delta) {
    Offscreen().Wheel(grid->ClientToScreen({20, 40}), delta);
    Pump();
  }

  TObjectPtr<TSampleItems> items;
  TObjDataSet* ds = nullptr;
  TDataSource* src = nullptr;
  TPaintLogGrid* grid = nullptr;
  TTestDesigner* designer = nullptr;
};

TEST_F(ObjGridTest, WheelAndScrollBarMoveOverTheItems) {
  Build(40);
  EXPECT_EQ(grid->RowCount(), 10);
  EXPECT_EQ(Window(), "I1,I2,I3,I4,I5,I6,I7,I8,I9,I10");
  Wheel(-120);
  EXPECT_EQ(Current(), "I11");
  EXPECT_EQ(Window(), "I2,I3,I4,I5,I6,I7,I8,I9,I10,I11");
  Wheel(120);
  EXPECT_EQ(Current(), "I1");
  grid->Perform(WM_VSCROLL, SB_BOTTOM, 0);
  Pump();
  EXPECT_EQ(Current(), "I40");
  EXPECT_EQ(grid->CursorRow(), 9);
}

TEST_F(ObjGridTest, WindowFollowsEditsInsertsDeletesAndRefresh) {
  for (bool useEditBuffer : {true, false}) {
    SCOPED_TRACE(useEditBuffer ? "with edit buffer" : "without edit buffer");
    Build(30, useEditBuffer);
    ds->MoveBy(4);
    Pump();
    ds->Edit();
    ds->FieldByName("Title")->SetAsString("five");
    ds->Post();
    Pump();
    EXPECT_EQ(items->Item(4)->Name(), "five");
    EXPECT_EQ(Window(), "I1,I2,I3,I4,five,I6,I7,I8,I9,I10");

    ds->Insert();
    ds->FieldByName("Title")->SetAsString("new");
    ds->Post();
    Pump();
    EXPECT_EQ(items->Item(4)->Name(), "new");
    EXPECT_EQ(Window(), "I1,I2,I3,I4,new,five,I6,I7,I8,I9");
    EXPECT_EQ(grid->CursorRow(), grid->ActiveRow());

    ds->Insert();
    ds->Cancel();
    Pump();
    EXPECT_EQ(items->Count(), 31);
    EXPECT_EQ(Current(), "new");

    ds->Delete();
    Pump();
    EXPECT_EQ(items->Count(), 30);
    EXPECT_EQ(Current(), "five");
    EXPECT_EQ(Window(), "I1,I2,I3,I4,five,I6,I7,I8,I9,I10");

    items->Item(1)->SetName("outside");
    ds->Refresh();
    Pump();
    EXPECT_EQ(Window(), "I1,outside,I3,I4,five,I6,I7,I8,I9,I10")
        << "changes made to the objects show after a refresh";

    ds->Last();
    ds->Append();
    ds->Post();
    Pump();
    EXPECT_EQ(items->Count(), 31);
    EXPECT_EQ(grid->CursorRow(), 9);
    TearDown();
    SetUp();
  }
}

// Keys typed into the grid's cells change the live objects: a title typed
// and posted with Return, a weight entered and posted by moving down, and
// Escape giving up a change before it reaches the object.
TEST_F(ObjGridTest, CellsTypedInTheGridEditTheObjects) {
  for (bool useEditBuffer : {true, false}) {
    SCOPED_TRACE(useEditBuffer ? "with edit buffer" : "without edit buffer");
    Build(3, useEditBuffer);
    grid->SetFocus();
    Offscreen().PressKey(VK_HOME);
    Pump();
    ASSERT_EQ(grid->CurrentColumn(), 0);
    Offscreen().TypeText("Zed");
    Pump();
    ASSERT_TRUE(grid->EditorShown());
    Offscreen().PressKey(VK_RETURN);  // posts the cell
    Pump();
    Offscreen().PressKey(VK_RETURN);  // posts the record
    Pump();
    EXPECT_EQ(items->Item(0)->Name(), "Zed");

    Offscreen().PressKey(VK_RIGHT);
    Offscreen().TypeText("42");
    Pump();
    Offscreen().PressKey(VK_DOWN);  // posts and moves to the second item
    Pump();
    EXPECT_EQ(items->Item(0)->Weight(), 42);
    EXPECT_EQ(Current(), "I2");

    Offscreen().PressKey(VK_LEFT);
    Offscreen().TypeText("gone");
    Pump();
    Offscreen().PressKey(VK_ESCAPE);  // closes the editor
    Offscreen().PressKey(VK_ESCAPE);  // cancels the record
    Pump();
    EXPECT_EQ(items->Item(1)->Name(), "I2");
    EXPECT_EQ(Window(), "Zed,I2,I3");
    FreeAndNil(grid);
    FreeAndNil(src);
    FreeAndNil(ds);
  }
}

// Insert adds an object before the current one, Ctrl+Delete removes the
// current one; a single object, lines of a string list and rows of a quick
// record set are typed over the same way.
TEST_F(ObjGridTest, KeysInsertDeleteAndEditObjectsLinesAndRows) {
  Build(2);
  grid->ParamsDelete()->SetEnabled(true);
  grid->ParamsDelete()->SetPromptKind(dpkNever);
  grid->SetFocus();
  Offscreen().PressKey(VK_HOME);
  Offscreen().PressKey(VK_INSERT);
  Pump();
  EXPECT_EQ(ds->State(), dsInsert);
  TypeAndPost("new");
  EXPECT_EQ(ds->State(), dsBrowse);
  ASSERT_EQ(items->Count(), 3);
  EXPECT_EQ(items->Item(0)->Name(), "new");
  Offscreen().PressKey(VK_DOWN);
  Offscreen().PressKey(VK_DELETE, bmCtrl);
  Pump();
  ASSERT_EQ(items->Count(), 2);
  EXPECT_EQ(items->Item(1)->Name(), "I2");
  FreeAndNil(grid);
  FreeAndNil(src);
  FreeAndNil(ds);

  TObjectPtr<TStringList> lines(MakeObject<TStringList>());
  lines->Add("one");
  lines->Add("two");
  BuildOver(lines.get(), {"value"});
  grid->SetFocus();
  Offscreen().PressKey(VK_HOME);
  Offscreen().PressKey(VK_DOWN);
  TypeAndPost("zwei");
  EXPECT_EQ(lines->Strings(1), "zwei");
  FreeAndNil(grid);
  FreeAndNil(src);
  FreeAndNil(ds);

  TObjectPtr<TPropSample> sample(Create<TPropSample>(nullptr));
  BuildOver(sample.get(), {"Caption"});
  grid->SetFocus();
  Offscreen().PressKey(VK_HOME);
  TypeAndPost("Grüße");
  EXPECT_EQ(sample->Caption(), "Grüße");
  FreeAndNil(grid);
  FreeAndNil(src);
  FreeAndNil(ds);

  TObjectPtr<TznQuickRecordSet> rows(Create<TznQuickRecordSet>());
  rows->Fields()->AddField("Name", ftString, 20);
  rows->ValueAt("Name", rows->Append())->SetAsString("ann");
  BuildOver(rows.get(), {"Name"});
  grid->SetFocus();
  Offscreen().PressKey(VK_HOME);
  TypeAndPost("bo");
  EXPECT_EQ(rows->ValueAt("Name", 0)->AsString(), "bo");
}

TEST_F(ControlsTest, GalleryPropertyPanelEditsAControlLive) {
  AddGalleryPage("Properties", BuildPropertyPage);
  TForm* gallery = CreateGalleryForm(form);
  gallery->Show();
  Pump();
  auto* ds = As<TObjDataSet>(gallery->FindComponent("PropertyDataSet"));
  auto* grid = As<TDBTabulon>(gallery->FindComponent("PropertyGrid"));
  auto* button = As<TButton>(gallery->FindComponent("Button1"));
  auto* notebook = As<TNotebook>(gallery->FindComponent("Notebook"));
  As<TSpeedButton>(gallery->FindComponent("PageProperties"))->Click();
  Pump();
  EXPECT_EQ(notebook->PageIndex(), notebook->PageCount() - 1);
  EXPECT_TRUE(grid->Showing());
  EXPECT_EQ(grid->RowCount(), 1) << "one object, one record";
  EXPECT_EQ(ds->FieldByName("Caption")->AsString(), button->Caption());

  ds->Edit();
  ds->FieldByName("Caption")->SetAsString("Renamed");
  ds->FieldByName("Width")->SetAsInteger(120);
  ds->Post();
  EXPECT_EQ(button->Caption(), "Renamed");
  EXPECT_EQ(button->Width(), 120);

  // Real keys in the caption editor post through the dataset.
  auto* edit = As<TEdit>(gallery->FindComponent("CaptionEdit"));
  edit->SetFocus();
  edit->SelectAll();
  Offscreen().TypeText("Live ü");
  Offscreen().PressKey(VK_RETURN);
  Pump();
  EXPECT_EQ(button->Caption(), "Live ü");
  EXPECT_EQ(ds->FieldByName("Caption")->AsString(), "Live ü");
  EXPECT_EQ(ds->State(), dsBrowse);
  edit->SelectAll();
  Offscreen().TypeText("zzz");
  Offscreen().PressKey(VK_ESCAPE);
  Pump();
  EXPECT_EQ(edit->Text(), "Live ü") << "Escape shows the stored value again";
  EXPECT_EQ(button->Caption(), "Live ü");

  button->SetLeft(33);
  ds->Refresh();
  EXPECT_EQ(ds->FieldByName("Left")->AsInteger(), 33);

  button->Free();
  EXPECT_FALSE(ds->Active()) << "the panel lets go of a control that is freed";
  Pump();
}

}  // namespace
}  // namespace brevant::test
