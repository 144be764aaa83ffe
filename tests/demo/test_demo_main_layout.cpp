// The overview's layout file through the toolbar: save (CR LF text, the
// question, the editor launched through the recorded shell action), load
// back into the columns of the same names, and the bad files and folders.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "bv/column.h"
#include "bv/columns.h"
#include "bv/tabulon.h"
#include "controls/application.h"
#include "controls/comctrls.h"
#include "controls/os_services.h"
#include "controls/test_hooks.h"
#include "demo/main_form_test_util.h"
#include "demo/modules/demo_modules.h"

namespace brevant::test {
namespace {

class MainLayoutTest : public MainFormTest {
 protected:
  TtlColumn* Col(const char* field) { return main->tlOverview->Columns()->FindByFieldName(field); }
  String Path() const { return main->LayoutFileName(); }
  std::string FileText() const {
    std::ifstream in(Path(), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  void WriteFile(const std::string& text) {
    std::filesystem::create_directories(Folder() + "/Saves");
    std::ofstream(Path(), std::ios::binary) << text;
  }
  // The overview's columns as "field:width:visible" ...
  String Shape() {
    String s;
    TtlColumns* columns = main->tlOverview->Columns();
    for (Integer i = 0; i < columns->Count(); ++i) {
      TtlColumn* c = columns->Items(i);
      s += c->FieldName() + ":" + std::to_string(c->Width()) + (c->Visible() ? "+ " : "- ");
    }
    return s;
  }
};

TEST_F(MainLayoutTest, SavedLayoutLoadsBackIntoTheSameColumns) {
  EXPECT_EQ(Path(), Folder() + "/Saves/layout.txt");
  Col("State")->SetWidth(77);
  Col("Phone")->SetVisible(false);
  const String saved = Shape();
  ScriptAnswer("MessageBox", IDYES);
  ClickControl(main->tbSaveLayout);
  ASSERT_TRUE(std::filesystem::exists(Path()));
  const std::string text = FileText();
  EXPECT_NE(text.find("FieldName = 'State'\r\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("\n\n"), std::string::npos);
  ASSERT_EQ(ModalLog().size(), 1u);
  EXPECT_NE(ModalLog()[0].find("Question"), String::npos);
  EXPECT_NE(ModalLog()[0].find("Would you like to open it ?"), String::npos);
  ASSERT_EQ(RecordedOsRequests().size(), 1u);
  EXPECT_EQ(RecordedOsRequests()[0], "open " + Path());

  Col("State")->SetWidth(120);
  Col("Phone")->SetVisible(true);
  ClickControl(main->tbLoadLayout);
  EXPECT_EQ(Shape(), saved);
}

TEST_F(MainLayoutTest, NoAnswerOpensNothing) {
  ScriptAnswer("MessageBox", IDNO);
  ClickControl(main->tbSaveLayout);
  EXPECT_TRUE(RecordedOsRequests().empty());
}

TEST_F(MainLayoutTest, UnknownFieldsInALayoutAreIgnored) {
  ScriptAnswer("MessageBox", IDNO);
  ClickControl(main->tbSaveLayout);
  std::string text = FileText();
  const size_t at = text.find("'State'");
  ASSERT_NE(at, std::string::npos);
  text.replace(at, 7, "'Nowhere'");
  WriteFile(text);
  Col("State")->SetWidth(99);
  const String before = Shape();
  ClickControl(main->tbLoadLayout);
  EXPECT_EQ(Shape(), before);
  EXPECT_EQ(main->tlOverview->Columns()->FindByFieldName("Nowhere"), nullptr);
}

struct BadLayout {
  const char* name;   // the case
  const char* text;   // the file
  const char* error;  // part of the message shown
};

const BadLayout kBadLayouts[] = {
    {"Malformed",
     "object UniDataStorage: TUniDataStorage\r\n  Data = <\r\n    item\r\n      Width = \r\n",
     "line"},
    {"OtherClass",
     "object Panel1: TPanel\r\n  object Button1: TButton\r\n    Caption = 'x'\r\n  end\r\nend\r\n",
     ""},
    {"UnknownProperty",
     "object UniDataStorage: TUniDataStorage\r\n  Data = <\r\n    item\r\n      Colour = 5\r\n"
     "    end>\r\nend\r\n",
     "Colour"},
};

TEST_F(MainLayoutTest, BadLayoutsLeaveTheOverviewUnchangedAndShowTheError) {
  for (const BadLayout& bad : kBadLayouts) {
    SCOPED_TRACE(bad.name);
    WriteFile(bad.text);
    const String before = Shape();
    const Integer count = main->tlOverview->Columns()->Count();
    HandledMessage().clear();
    ClickControl(main->tbLoadLayout);
    EXPECT_EQ(Shape(), before);
    EXPECT_EQ(main->tlOverview->Columns()->Count(), count);
    EXPECT_FALSE(HandledMessage().empty());
    EXPECT_NE(HandledMessage().find(bad.error), std::string::npos) << HandledMessage();
  }
}

TEST_F(MainLayoutTest, MissingFilesAndUnwritableFoldersShowTheFileError) {
  HandledMessage().clear();
  ClickControl(main->tbLoadLayout);
  EXPECT_NE(HandledMessage().find("layout.txt"), std::string::npos) << HandledMessage();
  // A file where the folder should be: nothing can be created there.
  std::ofstream(Folder() + "/Saves") << "in the way";
  HandledMessage().clear();
  ClickControl(main->tbSaveLayout);
  EXPECT_NE(HandledMessage().find("layout.txt"), std::string::npos) << HandledMessage();
  EXPECT_TRUE(ModalLog().empty());
}

TEST_F(MainLayoutTest, AFailedShellActionShowsInTheStatusBar) {
  SetRecordOsRequests(false);
  const auto path = std::getenv("PATH") ? std::string(std::getenv("PATH")) : std::string();
  setenv("PATH", "/nonexistent", 1);
  ScriptAnswer("MessageBox", IDYES);
  ClickControl(main->tbSaveLayout);
  setenv("PATH", path.c_str(), 1);
  SetRecordOsRequests(true);
  EXPECT_FALSE(main->StatusBar->SimpleText().empty());
}

}  // namespace
}  // namespace brevant::test
