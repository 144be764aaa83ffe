// Forms and data modules read from form files compiled into the binary:
// children, menus, references to another module, handlers bound by name.
#include "classes/rtti_builder.h"
#include "controls/datamodule.h"
#include "controls/dialogs.h"
#include "controls/extctrls.h"
#include "controls/form_resources.h"
#include "controls/forms_test_util.h"
#include "controls/menus.h"
#include "controls/stdctrls.h"

namespace brevant {

std::vector<std::string> g_formEvents;

class TVendorGrid : public test::TProbe {
  BV_CLASS(TVendorGrid, test::TProbe)
 public:
  using test::TProbe::TProbe;
};
BV_IMPLEMENT_CLASS(TVendorGrid, test::TProbe)

class TTestVendorModule : public TDataModule {
  BV_CLASS(TTestVendorModule, TDataModule)
 public:
  using TDataModule::TDataModule;
  void ModuleCreate(TObject*) {
    g_formEvents.push_back("module created, menu " +
                           std::to_string(FindComponent("pmVendors") != nullptr));
  }
};

class TTestMainForm : public TForm {
  BV_CLASS(TTestMainForm, TForm)
 public:
  using TForm::TForm;
  void FormCreate(TObject*) {
    auto* grid = As<TControl>(FindComponent("Grid"));
    g_formEvents.push_back("form created, grid menu " +
                           (grid->PopupMenu() ? grid->PopupMenu()->Name() : String("none")));
  }
  void ExitClick(TObject*) { Close(); }
  void GridClick(TObject*) { g_formEvents.push_back("grid clicked"); }
};

BV_PUBLISH(TTestVendorModule, TDataModule) {
  p.Method<TNotifyEvent, &TTestVendorModule::ModuleCreate>("ModuleCreate");
}
BV_PUBLISH(TTestMainForm, TForm) {
  p.Method<TNotifyEvent, &TTestMainForm::FormCreate>("FormCreate");
  p.Method<TNotifyEvent, &TTestMainForm::ExitClick>("ExitClick");
  p.Method<TNotifyEvent, &TTestMainForm::GridClick>("GridClick");
}

namespace test {

TEST_F(FormsTest, FormsAndModulesAreBuiltFromTheirFormFiles) {
  RegisterControlClasses();
  RegisterClasses({TVendorGrid::StaticClass()});
  g_formEvents.clear();
  ASSERT_NE(FindFormResource("TTestMainForm"), nullptr);

  // The form refers to the module's menu; the module comes first here, as
  // a program creates its modules in order.
  TTestVendorModule* dm = nullptr;
  Application()->CreateForm(dm);
  TTestMainForm* mainForm = nullptr;
  Application()->CreateForm(mainForm);
  EXPECT_EQ(Application()->MainForm(), mainForm);  // modules are not main forms
  EXPECT_EQ(dm->Name(), "VendorDM");
  EXPECT_EQ(mainForm->Name(), "MainForm");
  EXPECT_EQ(g_formEvents, (std::vector<std::string>{"module created, menu 1",
                                                    "form created, grid menu pmVendors"}));
  auto* grid = As<TVendorGrid>(mainForm->FindComponent("Grid"));
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(grid->Parent(), mainForm);
  EXPECT_EQ(grid->BoundsRect(), Rect(8, 8, 108, 58));
  ASSERT_NE(mainForm->Menu(), nullptr);
  TMenuItem* file = mainForm->Menu()->Items()->Find("File");
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(file->Count(), 1);
  EXPECT_EQ(file->Items(0)->ShortCut(), ShortCut('X', {ssAlt}));

  // The menu bar takes the top of the window: the client area shrinks.
  mainForm->Show();
  Pump();
  EXPECT_EQ(mainForm->ClientHeight(), 200 - kMenuBarHeight);
  EXPECT_EQ(grid->ClientToScreen({0, 0}).Y, 80 + kMenuBarHeight + 8);

  // Handlers bound by name run: a click on the grid, Alt+X closes the form.
  Offscreen().Click(grid->ClientToScreen({5, 5}));
  Pump();
  EXPECT_EQ(g_formEvents.back(), "grid clicked");
  grid->SetFocus();
  Offscreen().PressKey('X', bmAlt);
  Pump();
  EXPECT_FALSE(mainForm->Visible());
  EXPECT_TRUE(Application()->Terminated());

  // A second instance gets a unique name; freeing the module clears the
  // cross-module reference.
  TTestMainForm* second = nullptr;
  Application()->CreateForm(second);
  EXPECT_EQ(second->Name(), "MainForm_1");
  dm->Free();
  EXPECT_EQ(grid->PopupMenu(), nullptr);

  // CreateNew reads nothing.
  auto* bare = TCustomForm::CreateNew<TTestMainForm>(nullptr);
  EXPECT_EQ(bare->ComponentCount(), 0);
  bare->Free();

  // A broken form file raises a read error and leaves nothing behind.
  RegisterFormResource("TTestVendorModule",
                       "object VendorDM: TTestVendorModule\r\n  Bogus = 1\r\nend\r\n");
  TTestVendorModule* broken = nullptr;
  EXPECT_THROW(Application()->CreateForm(broken), EReadError);
  EXPECT_EQ(broken, nullptr);
  UnregisterFormResource("TTestVendorModule");
}

TEST_F(FormsTest, DialogLayoutsAreReadFromTheirFormTexts) {
  RegisterDialogForms();
  for (const char* cls : {"TColorDialogForm", "TFileDialogForm", "TPictureDialogForm"})
    EXPECT_NE(FindFormResource(cls), nullptr) << cls;

  // The picture dialogs' form inherits the file dialog's text and adds the
  // preview; the plain one has none.
  TObjectPtr<TFileDialogForm> plain(Create<TFileDialogForm>(nullptr));
  EXPECT_EQ(plain->ClientWidth(), 520);
  EXPECT_EQ(plain->Preview, nullptr);
  EXPECT_EQ(plain->FolderLabel->Width(), 496);
  TObjectPtr<TPictureDialogForm> picture(Create<TPictureDialogForm>(nullptr));
  EXPECT_EQ(picture->ClientWidth(), 680);
  EXPECT_EQ(picture->FolderLabel->Width(), 656);
  ASSERT_NE(picture->Preview, nullptr);
  EXPECT_EQ(picture->Preview->Parent()->Name(), "PreviewFrame");
  EXPECT_EQ(picture->CancelButton->Caption(), "Cancel");

  // A form text without a component the form needs is refused by name.
  const String saved = *FindFormResource("TColorDialogForm");
  RegisterFormResource("TColorDialogForm", "object ColorDialog: TColorDialogForm\r\nend\r\n");
  try {
    TObjectPtr<TColorDialogForm> broken(Create<TColorDialogForm>(nullptr));
    ADD_FAILURE() << "a colour dialog form without its palette was created";
  } catch (const Exception& e) {
    EXPECT_NE(e.Message().find("no component named Palette"), String::npos) << e.Message();
  }
  RegisterFormResource("TColorDialogForm", saved);
}

// Colour identifiers read back as the colours they name, also clNone and
// system colours; an unknown identifier is refused.
TEST_F(FormsTest, ColourIdentifiersReadAsTheirColours) {
  RegisterControlClasses();
  RegisterStdControlClasses();
  TObjectPtr<TPanel> panel(Create<TPanel>(nullptr));
  ReadFormResource(panel.get(), "object P: TPanel\r\n  Color = clNone\r\nend\r\n");
  EXPECT_EQ(panel->Color(), clNone);
  TObjectPtr<TPanel> other(Create<TPanel>(nullptr));
  ReadFormResource(other.get(), "object Q: TPanel\r\n  Color = clBtnShadow\r\nend\r\n");
  EXPECT_EQ(other->Color(), clBtnShadow);
  TObjectPtr<TPanel> bad(Create<TPanel>(nullptr));
  EXPECT_THROW(ReadFormResource(bad.get(), "object R: TPanel\r\n  Color = clNoSuch\r\nend\r\n"),
               Exception);
}

}  // namespace test
}  // namespace brevant
