// The image vision's file and preview actions through scripted answers:
// loading a picture, refusing a file that is no picture, saving, and the
// preview window closed by Return or Escape.
#include <filesystem>
#include <fstream>

#include "backend/codes.h"
#include "blob_test_fixture.h"
#include "controls/dialogs.h"
#include "controls/edits.h"
#include "controls/forms.h"
#include "controls/os_services.h"

namespace stdtest {
namespace {

namespace fs = std::filesystem;
using brevant::test::Offscreen;

bool ModalLogHas(const String& part) {
  for (const String& line : ModalLog())
    if (line.find(part) != String::npos) return true;
  return false;
}

void TypeInto(TEdit* edit, const String& text) {
  edit->SetFocus();
  edit->SelectAll();
  Offscreen().TypeText(text);
  PumpMessages();
}

class BlobDialogTest : public BlobTest {
 protected:
  void SetUp() override {
    BlobTest::SetUp();
    dir = fs::temp_directory_path() / ("bv_std_blob_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    SetLastPictureFolder(dir.string());
    Solid(5, 4, clGreen)->SaveToFile((dir / "green.bmp").string());
    std::ofstream(dir / "fake.bmp") << "this is no picture";
  }
  void TearDown() override {
    BlobTest::TearDown();
    std::error_code ignored;
    fs::remove_all(dir, ignored);
    SetLastPictureFolder("");
  }
  // Answers the open picture dialog with name typed and Return.
  void AnswerOpen(const String& name) {
    ScriptAction("OpenPictureDialog", [name](TObject* subject) {
      TypeInto(static_cast<TFileDialogForm*>(subject)->FileNameEdit, name);
      Offscreen().PressKey(VK_RETURN);
    });
  }
  fs::path dir;
};

TEST_F(BlobDialogTest, LoadTakesThePictureAndRemembersTheFolder) {
  Bind();
  const String working = CurrentFolder();
  AnswerOpen("green.bmp");
  image->EditAction(&editor, eaLoad);
  EXPECT_TRUE(editor.CurrentValue()->Modified());
  EXPECT_EQ(data.ds->State(), dsEdit);
  EXPECT_TRUE(image->PostEdit(&editor, false));
  auto stored = FieldPicture();
  EXPECT_EQ(stored->Width(), 5);
  EXPECT_EQ(stored->Canvas()->Pixels(4, 3), clGreen);
  EXPECT_EQ(LastPictureFolder(), dir.string());
  EXPECT_EQ(CurrentFolder(), working);
}

TEST_F(BlobDialogTest, FileThatIsNoPictureIsRefusedWithAMessage) {
  data.SetBytes(1, "Pic", BmpBytes(*Solid(4, 3, clRed)));
  Bind();
  ScriptAnswer("MessageDlg", mrOk);
  ScriptAction("OpenPictureDialog", [](TObject* subject) {
    auto* form = static_cast<TFileDialogForm*>(subject);
    TypeInto(form->FileNameEdit, "fake.bmp");
    Offscreen().PressKey(VK_RETURN);  // refused: the dialog stays
    PumpMessages();
    EXPECT_TRUE(form->Visible());
    Offscreen().PressKey(VK_ESCAPE);
  });
  image->EditAction(&editor, eaLoad);
  EXPECT_TRUE(ModalLogHas("fake.bmp' is not a picture"));
  EXPECT_FALSE(editor.CurrentValue()->Modified());
  EXPECT_EQ(data.ds->State(), dsBrowse);
  EXPECT_EQ(PictureOf(*editor.CurrentValue())->Width(), 4);
}

TEST_F(BlobDialogTest, DisabledLoadShowsNoDialog) {
  Bind();
  image->SetDisabledActions({vdaLoad, vdaSave, vdaPreview});
  for (TznEditAction action : {eaLoad, eaSave, eaPreview}) image->EditAction(&editor, action);
  EXPECT_TRUE(ModalLog().empty());
}

TEST_F(BlobDialogTest, SaveWritesTheCurrentPicture) {
  data.SetBytes(1, "Pic", BmpBytes(*Solid(4, 3, clRed)));
  Bind();
  const String target = (dir / "saved").string();
  ScriptAction("SavePictureDialog", [target](TObject* subject) {
    TypeInto(static_cast<TFileDialogForm*>(subject)->FileNameEdit, target);
    Offscreen().PressKey(VK_RETURN);
  });
  image->EditAction(&editor, eaSave);
  ASSERT_TRUE(fs::exists(dir / "saved.bmp"));
  TBitmap saved;
  saved.LoadFromFile((dir / "saved.bmp").string());
  EXPECT_EQ(saved.Width(), 4);
  EXPECT_EQ(saved.Canvas()->Pixels(3, 2), clRed);
  EXPECT_EQ(data.ds->State(), dsBrowse);
}

TEST_F(BlobDialogTest, EmptyPictureIsNeitherSavedNorPreviewed) {
  Bind();
  image->EditAction(&editor, eaSave);
  image->EditAction(&editor, eaPreview);
  EXPECT_TRUE(ModalLog().empty());
}

TEST_F(BlobDialogTest, PreviewShowsThePictureAndClosesOnReturnOrEscape) {
  data.SetBytes(1, "Pic", BmpBytes(*Solid(30, 20, clBlue)));
  Bind();
  for (Word key : {Word(VK_RETURN), Word(VK_ESCAPE)}) {
    SCOPED_TRACE(key);
    String caption;
    TSize client{};
    TBorderIcons icons;
    ScriptAction("ShowModal", [&, key](TObject* subject) {
      auto* form = static_cast<TCustomForm*>(subject);
      caption = form->Caption();
      client = TSize{form->ClientWidth(), form->ClientHeight()};
      icons = form->BorderIcons();
      Offscreen().PressKey(key);
    });
    image->EditAction(&editor, eaPreview);
    EXPECT_EQ(caption, "Picture preview");
    EXPECT_EQ(client.cx, 32);
    EXPECT_EQ(client.cy, 22);
    EXPECT_EQ(icons, TBorderIcons{biSystemMenu});
  }
}

TEST_F(BlobDialogTest, PreviewOfAHugePictureFitsTheScreen) {
  data.SetBytes(1, "Pic", BmpBytes(*Solid(4000, 50, clBlue)));
  Bind();
  TSize client{};
  ScriptAction("ShowModal", [&](TObject* subject) {
    auto* form = static_cast<TCustomForm*>(subject);
    client = TSize{form->ClientWidth(), form->ClientHeight()};
    Offscreen().PressKey(VK_ESCAPE);
  });
  image->EditAction(&editor, eaPreview);
  EXPECT_GT(client.cx, 0);
  EXPECT_LE(client.cx, Screen()->WorkAreaWidth());
  EXPECT_LE(client.cy, Screen()->WorkAreaHeight());
}

TEST_F(BlobDialogTest, OnPreviewReplacesTheWindow) {
  data.SetBytes(1, "Pic", BmpBytes(*Solid(3, 3, clBlue)));
  Bind();
  struct TCount {
    void Preview(TObject*, TtlFieldList*) { ++calls; }
    int calls = 0;
  } count;
  image->OnPreview = TfvNotifyEvent::Of<&TCount::Preview>(&count);
  image->EditAction(&editor, eaPreview);
  EXPECT_EQ(count.calls, 1);
  EXPECT_TRUE(ModalLog().empty());
}

}  // namespace
}  // namespace stdtest
