// The standard dialogs answered through their scripted hooks with real
// input, on a temporary folder tree; and the control gallery.
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "../../demo/gallery.h"
#include "controls/comctrls.h"
#include "controls/dialogs.h"
#include "controls/edits.h"
#include "controls/extctrls.h"
#include "controls/forms_test_util.h"
#include "controls/os_services.h"
#include "controls/stdctrls.h"
#include "controls/stdctrls_test_util.h"
#include "controls/wincore.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/pen_brush.h"
#include "graphics/picture.h"
#include "rtl/stringlist.h"

namespace brevant::test {

namespace fs = std::filesystem;

namespace {

TPoint CenterOf(const TControl* c) {
  return c->ClientToScreen({c->Width() / 2, c->Height() / 2});
}

bool ModalLogHas(const String& part) {
  return std::any_of(ModalLog().begin(), ModalLog().end(),
                     [&](const String& s) { return s.find(part) != String::npos; });
}

// Selects all of an edit (as a user's Ctrl+A would) and types over it.
void TypeInto(TEdit* edit, const String& text) {
  edit->SetFocus();
  edit->SelectAll();
  Offscreen().TypeText(text);
  PumpMessages();
}

void WriteBitmap(const fs::path& path, Integer w, Integer h, TColor color, bool png = false) {
  TBitmap bmp;
  bmp.SetSize(w, h);
  bmp.Canvas()->Brush()->SetColor(color);
  bmp.Canvas()->FillRect(Rect(0, 0, w, h));
  if (png)
    bmp.SaveToPngFile(path.string());
  else
    bmp.SaveToFile(path.string());
}

void WriteText(const fs::path& path, const char* text) {
  std::ofstream(path) << text;
}

std::vector<String> Listing(const fs::path& dir) {
  std::vector<String> names;
  for (const auto& e : fs::recursive_directory_iterator(dir))
    names.push_back(e.path().string() + ":" +
                    (e.is_regular_file() ? std::to_string(e.file_size()) : "dir"));
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

class DialogsTest : public FormsTest {
 protected:
  void SetUp() override {
    FormsTest::SetUp();
    savedCwd_ = CurrentFolder();
    root_ = fs::temp_directory_path() / ("bv_dialogs_" + std::to_string(getpid()));
    fs::remove_all(root_);
    fs::create_directories(root_ / "sub");
    fs::create_directories(root_ / ".hidden");
    WriteBitmap(root_ / "a.bmp", 8, 6, clRed);
    WriteBitmap(root_ / "b.png", 5, 5, clBlue, true);
    WriteText(root_ / "notes.txt", "plain text");
    WriteText(root_ / "fake.bmp", "this is not a bitmap");
    WriteBitmap(root_ / "sub" / "c.bmp", 4, 4, clLime);
    TOpenDialog::SetLastFolder(String());
  }
  void TearDown() override {
    SetCurrentFolder(savedCwd_);
    fs::remove_all(root_);
    FormsTest::TearDown();
  }
  String Root() const { return root_.string(); }
  String savedCwd_;
  fs::path root_;
};

TEST_F(DialogsTest, MessageDlgAnswersByButtonsKeysAndHook) {
  // A value answer ends the dialog without showing it; the log names it.
  ScriptAnswer("MessageDlg", mrNo);
  EXPECT_EQ(MessageDlg("Save changes?", mtConfirmation, mbYesNoCancel), mrNo);
  EXPECT_EQ(ModalLog().back(), "MessageDlg: Confirm: Save changes?");

  // Buttons follow the set's order; Return answers the first, the error icon is red.
  std::vector<String> captions;
  TColor icon = clNone;
  ScriptAction("MessageDlg", [&](TObject* subject) {
    auto* f = As<TMessageDialogForm>(subject);
    for (TButton* b : f->Buttons) captions.push_back(b->Caption());
    Pump();
    icon = GetWindowPixel(f->WindowHandle(), 28, 18);
    Offscreen().PressKey(VK_RETURN);
  });
  EXPECT_EQ(MessageDlg("Disk full", mtError, {mbAbort, mbRetry, mbIgnore}), mrAbort);
  EXPECT_EQ(captions, (std::vector<String>{"&Abort", "&Retry", "&Ignore"}));
  EXPECT_EQ(icon, Rgb(clRed));

  // Escape answers Cancel, else No, else OK; a click answers its button.
  ScriptAction("MessageDlg", [](TObject*) { Offscreen().PressKey(VK_ESCAPE); });
  EXPECT_EQ(MessageDlg("Go on?", mtWarning, mbYesNoCancel), mrCancel);
  ScriptAction("MessageDlg", [](TObject*) { Offscreen().PressKey(VK_ESCAPE); });
  EXPECT_EQ(MessageDlg("Go on?", mtWarning, mbYesNo), mrNo);
  ScriptAction("MessageDlg", [](TObject*) { Offscreen().PressKey(VK_ESCAPE); });
  EXPECT_EQ(MessageDlg("Done", mtInformation, {}), mrOk);  // no buttons: OK alone
  ScriptAction("MessageDlg", [](TObject* subject) {
    Offscreen().Click(CenterOf(As<TMessageDialogForm>(subject)->Button(mbNoToAll)));
  });
  EXPECT_EQ(MessageDlg("Replace?", mtConfirmation, {mbYes, mbNo, mbYesToAll, mbNoToAll}),
            mrNoToAll);
  ScriptAction("MessageDlg", [](TObject*) { Offscreen().TypeText("n"); });
  EXPECT_EQ(MessageDlg("Replace?", mtConfirmation, mbYesNo), mrNo);
  ScriptAction("MessageDlg",
               [](TObject*) { Offscreen().RequestClose(Offscreen().Windows().back()); });
  EXPECT_EQ(MessageDlg("Replace?", mtConfirmation, mbYesNo), mrNo);

  // Help is disabled without a handler; with one it calls it and stays open.
  bool helpEnabled = true;
  ScriptAction("MessageDlg", [&](TObject* subject) {
    helpEnabled = As<TMessageDialogForm>(subject)->Button(mbHelp)->Enabled();
    Offscreen().PressKey(VK_ESCAPE);
  });
  EXPECT_EQ(MessageDlg("Help?", mtInformation, {mbOK, mbHelp}, 42), mrOk);
  EXPECT_FALSE(helpEnabled);
  Integer helpAsked = 0;
  SetDialogHelpHandler([&](Integer ctx) { helpAsked = ctx; });
  ScriptAction("MessageDlg", [](TObject* subject) {
    Offscreen().Click(CenterOf(As<TMessageDialogForm>(subject)->Button(mbHelp)));
    Offscreen().PressKey(VK_ESCAPE);
  });
  EXPECT_EQ(MessageDlg("Help?", mtInformation, {mbOK, mbHelp}, 42), mrOk);
  EXPECT_EQ(helpAsked, 42);
  SetDialogHelpHandler(nullptr);

  // ShowMessage is a MessageDlg under the application's title; unanswered it fails loudly.
  Application()->SetTitle("Gallery");
  ScriptAnswer("MessageDlg", mrOk);
  ShowMessage("Hello");
  EXPECT_EQ(ModalLog().back(), "MessageDlg: Gallery: Hello");
  EXPECT_THROW(ShowMessage("Nobody answers"), EUnexpectedModal);
}

TEST_F(DialogsTest, InputQueryRoundTripsTheValue) {
  String value = "old";
  String shownText;
  ScriptAction("InputQuery", [&](TObject* subject) {
    auto* f = As<TInputQueryForm>(subject);
    shownText = f->Edit->Text();
    EXPECT_EQ(f->Caption(), "Title");
    EXPECT_EQ(f->Prompt->Caption(), "Name:");
    EXPECT_TRUE(f->Edit->Focused());
    Offscreen().TypeText("Ada Lovelace");  // replaces the selected text
    Offscreen().PressKey(VK_RETURN);
  });
  EXPECT_TRUE(InputQuery("Title", "Name:", value));
  EXPECT_EQ(shownText, "old");
  EXPECT_EQ(value, "Ada Lovelace");

  // Escape, the Cancel button and the close box leave the value alone.
  ScriptAction("InputQuery", [](TObject*) {
    Offscreen().TypeText("changed");
    Offscreen().PressKey(VK_ESCAPE);
  });
  EXPECT_FALSE(InputQuery("Title", "Name:", value));
  ScriptAction("InputQuery", [](TObject* subject) {
    Offscreen().TypeText("changed");
    Offscreen().Click(CenterOf(As<TInputQueryForm>(subject)->CancelButton));
  });
  EXPECT_FALSE(InputQuery("Title", "Name:", value));
  ScriptAction("InputQuery",
               [](TObject*) { Offscreen().RequestClose(Offscreen().Windows().back()); });
  EXPECT_FALSE(InputQuery("Title", "Name:", value));
  EXPECT_EQ(value, "Ada Lovelace");

  // Value answers; InputBox gives the default back when cancelled.
  ScriptAnswer("InputQuery", mrOk);
  EXPECT_TRUE(InputQuery("T", "P", value));
  EXPECT_EQ(value, "Ada Lovelace");
  ScriptAnswer("InputQuery", mrCancel);
  EXPECT_EQ(InputBox("T", "P", "default"), "default");
  ScriptAction("InputQuery", [](TObject* subject) {
    Offscreen().Click(CenterOf(As<TInputQueryForm>(subject)->OkButton));
  });
  EXPECT_EQ(InputBox("T", "P", "kept"), "kept");
  EXPECT_EQ(ModalLog().back(), "InputQuery: T: P");
}

TEST_F(DialogsTest, ColorDialogPicksByKeyboardAndChecksValues) {
  auto* dlg = Create<TColorDialog>(form);
  dlg->SetColor(clRed);  // basic cell 8
  Integer selectedAtStart = -1;
  TColor cellPixel = clNone, samplePixel = clNone;
  ScriptAction("ColorDialog", [&](TObject* subject) {
    auto* f = As<TColorDialogForm>(subject);
    Pump();
    selectedAtStart = f->Palette->Selected();
    const TRect cell = f->Palette->CellRect(8);
    cellPixel = GetWindowPixel(f->Palette->Handle(), (cell.Left + cell.Right) / 2,
                               (cell.Top + cell.Bottom) / 2);
    EXPECT_TRUE(f->Palette->Focused());
    Offscreen().PressKey(VK_RIGHT);  // cell 9
    Offscreen().PressKey(VK_DOWN);   // cell 17
    Pump();
    samplePixel = GetWindowPixel(f->Sample->Handle(), 30, 30);
    EXPECT_EQ(f->RedEdit->Text(), "255");
    EXPECT_EQ(f->GreenEdit->Text(), "128");
    EXPECT_EQ(f->BlueEdit->Text(), "64");
    Offscreen().PressKey(VK_RETURN);
  });
  EXPECT_TRUE(dlg->Execute());
  EXPECT_EQ(selectedAtStart, 8);
  EXPECT_EQ(cellPixel, Rgb(clRed));
  EXPECT_EQ(samplePixel, RGB(255, 128, 64));
  EXPECT_EQ(dlg->Color(), RGB(255, 128, 64));

  // Escape cancels and keeps the colour.
  ScriptAction("ColorDialog", [](TObject*) {
    Offscreen().PressKey(VK_LEFT);
    Offscreen().PressKey(VK_ESCAPE);
  });
  EXPECT_FALSE(dlg->Execute());
  EXPECT_EQ(dlg->Color(), RGB(255, 128, 64));

  // Values typed in the edits, added to the custom colours, kept after OK.
  dlg->CustomColors()->SetText("ColorB=00FF00\nbogus\nColorZ=123456");
  ScriptAction("ColorDialog", [](TObject* subject) {
    auto* f = As<TColorDialogForm>(subject);
    EXPECT_EQ(f->Palette->CellColor(TColorPalette::kBasicCount + 1), RGB(0, 255, 0));
    TypeInto(f->RedEdit, "1");
    TypeInto(f->GreenEdit, "2");
    TypeInto(f->BlueEdit, "3");
    Offscreen().Click(CenterOf(f->AddCustomButton));
    Pump();
    EXPECT_EQ(f->Palette->Selected(), TColorPalette::kBasicCount);
    Offscreen().Click(CenterOf(f->OkButton));
  });
  EXPECT_TRUE(dlg->Execute());
  EXPECT_EQ(dlg->Color(), RGB(1, 2, 3));
  ASSERT_EQ(dlg->CustomColors()->Count(), 16);
  EXPECT_EQ(dlg->CustomColors()->Strings(0), "ColorA=030201");
  EXPECT_EQ(dlg->CustomColors()->Strings(1), "ColorB=00FF00");

  // A value out of range is reported and the dialog stays open.
  ScriptAnswer("MessageDlg", mrOk);
  ScriptAction("ColorDialog", [](TObject* subject) {
    auto* f = As<TColorDialogForm>(subject);
    TypeInto(f->GreenEdit, "300");
    Offscreen().PressKey(VK_RETURN);
    Offscreen().PressKey(VK_ESCAPE);
  });
  EXPECT_FALSE(dlg->Execute());
  EXPECT_TRUE(ModalLogHas("'300' is not a colour value"));
  EXPECT_EQ(dlg->Color(), RGB(1, 2, 3));

  // Double click on a cell accepts it; a value answer keeps Color.
  ScriptAction("ColorDialog", [](TObject* subject) {
    auto* f = As<TColorDialogForm>(subject);
    Offscreen().DoubleClick(f->Palette->CellScreenPoint(TColorPalette::kBasicCount - 1));
  });
  EXPECT_TRUE(dlg->Execute());
  EXPECT_EQ(dlg->Color(), clWhite);
  ScriptAnswer("ColorDialog", mrOk);
  dlg->SetColor(clBtnFace);
  EXPECT_TRUE(dlg->Execute());
  EXPECT_EQ(dlg->Color(), clBtnFace);
}

TEST_F(DialogsTest, OpenDialogNavigatesFoldersWithFilters) {
  auto* dlg = Create<TOpenDialog>(form);
  dlg->SetFilter("Bitmaps (*.bmp)|*.bmp|PNG images (*.png)|*.png|All files (*.*)|*.*");
  dlg->SetInitialDir(Root());
  dlg->SetOptions({ofFileMustExist, ofHideReadOnly});
  ScriptAction("OpenDialog", [&](TObject* subject) {
    auto* f = As<TFileDialogForm>(subject);
    Pump();
    EXPECT_EQ(f->Caption(), "Open");
    EXPECT_EQ(f->Folder(), Root());
    EXPECT_EQ(f->FolderList->Items(), (std::vector<String>{"..", "sub"}));  // no hidden ones
    EXPECT_EQ(f->FileList->Items(), (std::vector<String>{"a.bmp", "fake.bmp"}));
    EXPECT_FALSE(f->ReadOnlyCheck->Visible());
    // Another filter by a click; the list follows.
    ClickAt(f->FilterList->ItemScreenPoint(2));
    Pump();
    EXPECT_EQ(f->FileList->Items(),
              (std::vector<String>{"a.bmp", "b.png", "fake.bmp", "notes.txt"}));
    // A typed mask filters too.
    TypeInto(f->FileNameEdit, "*.png");
    Offscreen().PressKey(VK_RETURN);
    Pump();
    EXPECT_EQ(f->FileList->Items(), (std::vector<String>{"b.png"}));
    // Double click opens a folder; Return in the folder list opens the selected one.
    Offscreen().DoubleClick(f->FolderList->ItemScreenPoint(1));
    Pump();
    EXPECT_EQ(f->Folder(), (root_ / "sub").string());
    EXPECT_EQ(f->FolderList->Items(), (std::vector<String>{".."}));
    f->FolderList->SetFocus();
    Offscreen().PressKey(VK_DOWN);
    Offscreen().PressKey(VK_RETURN);
    Pump();
    EXPECT_EQ(f->Folder(), Root());
    // A typed folder name opens it; a file picked from the list is chosen.
    TypeInto(f->FileNameEdit, "sub");
    Offscreen().PressKey(VK_RETURN);
    Pump();
    EXPECT_EQ(f->Folder(), (root_ / "sub").string());
    EXPECT_EQ(f->FileNameEdit->Text(), "");
    ClickAt(f->FilterList->ItemScreenPoint(0));
    ClickAt(f->FileList->ItemScreenPoint(0));
    Pump();
    EXPECT_EQ(f->FileNameEdit->Text(), "c.bmp");
    Offscreen().PressKey(VK_RETURN);
  });
  EXPECT_TRUE(dlg->Execute());
  EXPECT_EQ(dlg->FileName(), (root_ / "sub" / "c.bmp").string());
  EXPECT_EQ(dlg->FilterIndex(), 1);
  EXPECT_EQ(dlg->Files()->Count(), 1);
  EXPECT_EQ(TOpenDialog::LastFolder(), (root_ / "sub").string());
  EXPECT_EQ(CurrentFolder(), (root_ / "sub").string() + "/");  // no ofNoChangeDir

  // The next run starts in the last file's folder; bad input stays in the dialog.
  SetCurrentFolder(savedCwd_);
  dlg->SetOptions({ofFileMustExist, ofHideReadOnly, ofNoChangeDir});
  String startFolder;
  ScriptAnswer("MessageDlg", mrOk);
  ScriptAnswer("MessageDlg", mrOk);
  ScriptAction("OpenDialog", [&](TObject* subject) {
    auto* f = As<TFileDialogForm>(subject);
    startFolder = f->Folder();
    EXPECT_EQ(f->FileNameEdit->Text(), "c.bmp");
    TypeInto(f->FileNameEdit, "../nowhere/x.bmp");
    Offscreen().PressKey(VK_RETURN);
    Pump();
    EXPECT_TRUE(f->Visible());
    TypeInto(f->FileNameEdit, "missing.bmp");
    Offscreen().PressKey(VK_RETURN);
    Pump();
    EXPECT_TRUE(f->Visible());
    Offscreen().PressKey(VK_ESCAPE);
  });
  EXPECT_FALSE(dlg->Execute());
  EXPECT_EQ(startFolder, (root_ / "sub").string());
  EXPECT_TRUE(ModalLogHas("The folder '" + (root_ / "nowhere").string() + "' does not exist"));
  EXPECT_TRUE(
      ModalLogHas("The file '" + (root_ / "sub" / "missing.bmp").string() + "' does not exist"));
  EXPECT_EQ(dlg->FileName(), (root_ / "sub" / "c.bmp").string());
  EXPECT_EQ(CurrentFolder(), savedCwd_);

  // A value answer accepts the name as it is; masks match ignoring case.
  ScriptAnswer("OpenDialog", mrOk);
  EXPECT_TRUE(dlg->Execute());
  EXPECT_TRUE(MatchesMask("Photo.BMP", "*.bmp"));
  EXPECT_TRUE(MatchesMask("README", "*.*"));
  EXPECT_TRUE(MatchesMask("a1.txt", "a?.t*"));
  EXPECT_FALSE(MatchesMask("a.bmpx", "*.bmp"));
}

TEST_F(DialogsTest, OpenPictureDialogPreviewsAndRejectsNonPictures) {
  const auto before = Listing(root_);
  auto* dlg = Create<TOpenPictureDialog>(form);
  dlg->SetInitialDir(Root());
  dlg->SetOptions({ofHideReadOnly, ofPathMustExist, ofFileMustExist});
  dlg->SetFilterIndex(9);  // out of range: the first filter
  String fakeLabel, goodLabel;
  TColor previewPixel = clNone;
  ScriptAnswer("MessageDlg", mrOk);
  ScriptAction("OpenPictureDialog", [&](TObject* subject) {
    auto* f = As<TFileDialogForm>(subject);
    Pump();
    EXPECT_EQ(f->FileList->Items(), (std::vector<String>{"a.bmp", "b.png", "fake.bmp"}));
    ClickAt(f->FileList->ItemScreenPoint(2));
    Pump();
    fakeLabel = f->PreviewLabel->Caption();
    Offscreen().PressKey(VK_RETURN);  // refused: not a picture
    Pump();
    EXPECT_TRUE(f->Visible());
    ClickAt(f->FileList->ItemScreenPoint(0));
    Pump();
    goodLabel = f->PreviewLabel->Caption();
    const TRect r = f->Preview->DestRect();
    previewPixel = Px(f->Preview, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    Offscreen().DoubleClick(f->FileList->ItemScreenPoint(0));
  });
  EXPECT_TRUE(dlg->Execute());
  EXPECT_EQ(fakeLabel, "(not a picture)");
  EXPECT_EQ(goodLabel, "8 x 6");
  EXPECT_EQ(previewPixel, Rgb(clRed));
  EXPECT_TRUE(ModalLogHas("fake.bmp' is not a picture"));
  EXPECT_EQ(dlg->FileName(), (root_ / "a.bmp").string());
  EXPECT_EQ(Listing(root_), before);  // nothing written or removed
}

TEST_F(DialogsTest, SaveDialogAsksBeforeOverwritingAndWritesNothing) {
  const auto before = Listing(root_);
  auto* dlg = Create<TSavePictureDialog>(form);
  dlg->SetInitialDir(Root());
  dlg->SetDefaultExt("bmp");
  dlg->SetOptions({ofOverwritePrompt, ofHideReadOnly, ofPathMustExist, ofNoChangeDir});
  ScriptAnswer("MessageDlg", mrNo);   // keep a.bmp: the dialog stays
  ScriptAnswer("MessageDlg", mrYes);  // replace it
  ScriptAction("SavePictureDialog", [](TObject* subject) {
    auto* f = As<TFileDialogForm>(subject);
    EXPECT_EQ(f->Caption(), "Save As");
    TypeInto(f->FileNameEdit, "a");
    Offscreen().PressKey(VK_RETURN);
    Pump();
    EXPECT_TRUE(f->Visible());
    Offscreen().PressKey(VK_RETURN);
  });
  EXPECT_TRUE(dlg->Execute());
  EXPECT_EQ(dlg->FileName(), (root_ / "a.bmp").string());
  EXPECT_TRUE(
      ModalLogHas("MessageDlg: Warning: '" + (root_ / "a.bmp").string() + "' already exists."));
  EXPECT_EQ(ScriptedAnswerCount(), 0);

  // A new name needs no question; the dialog creates nothing.
  ModalLog().clear();
  ScriptAction("SavePictureDialog", [](TObject* subject) {
    TypeInto(As<TFileDialogForm>(subject)->FileNameEdit, "new");
    Offscreen().PressKey(VK_RETURN);
  });
  EXPECT_TRUE(dlg->Execute());
  EXPECT_EQ(dlg->FileName(), (root_ / "new.bmp").string());
  EXPECT_FALSE(ModalLogHas("already exists"));
  EXPECT_EQ(Listing(root_), before);

  // Cancel keeps the name; the plain save dialog has its own kind.
  ScriptAction("SavePictureDialog", [](TObject*) { Offscreen().PressKey(VK_ESCAPE); });
  EXPECT_FALSE(dlg->Execute());
  EXPECT_EQ(dlg->FileName(), (root_ / "new.bmp").string());
  auto* plain = Create<TSaveDialog>(form);
  ScriptAnswer("SaveDialog", mrCancel);
  EXPECT_FALSE(plain->Execute());
}

TEST_F(DialogsTest, DialogListBoxMovesByKeysLettersAndWheel) {
  form->Show();
  auto* list = Create<TDialogListBox>(form);
  list->SetBounds(10, 10, 120, 4 + 3 * 16);  // three rows
  list->SetParent(form);
  std::vector<String> items;
  for (const char* s : {"apple", "Banana", "berry", "cherry", "date", "elder", "fig"})
    items.push_back(s);
  list->SetItems(items);
  Integer changes = 0;
  list->OnChange = TNotifyEvent::FromCallable([&](TObject*) { ++changes; });
  list->SetFocus();
  Pump();
  EXPECT_EQ(list->ItemIndex(), -1);
  Offscreen().PressKey(VK_DOWN);  // from none: the first
  Pump();
  EXPECT_EQ(list->ItemIndex(), 0);
  Offscreen().PressKey(VK_END);
  Pump();
  EXPECT_EQ(list->ItemIndex(), 6);
  EXPECT_EQ(list->TopIndex(), 4);  // scrolled so the last row shows
  EXPECT_TRUE(IsRectEmpty(list->ItemRect(0)));
  Offscreen().PressKey(VK_PRIOR);
  Pump();
  EXPECT_EQ(list->ItemIndex(), 4);
  Offscreen().TypeText("b");  // letters ignore case and wrap around
  Pump();
  EXPECT_EQ(list->SelectedText(), "Banana");
  Offscreen().TypeText("b");
  Pump();
  EXPECT_EQ(list->SelectedText(), "berry");
  Offscreen().TypeText("z");  // no match: stays
  Pump();
  EXPECT_EQ(list->SelectedText(), "berry");
  EXPECT_EQ(changes, 5);
  // The wheel scrolls without selecting; a click selects the row under it.
  Offscreen().Wheel(CenterOf(list), -WHEEL_DELTA);  // already at the end
  Pump();
  EXPECT_EQ(list->TopIndex(), 4);
  Offscreen().Wheel(CenterOf(list), WHEEL_DELTA);  // three rows up
  Pump();
  EXPECT_EQ(list->TopIndex(), 1);
  EXPECT_EQ(list->SelectedText(), "berry");
  ClickAt(list->ClientToScreen({10, 40}));  // the third visible row
  Pump();
  EXPECT_EQ(list->SelectedText(), "cherry");
  // The selected row is drawn in the highlight colour.
  const TRect r = list->ItemRect(3);
  EXPECT_TRUE(AnyPixel(list, Rect(r.Left + 60, r.Top + 2, r.Right - 2, r.Bottom - 2), clHighlight));
}

TEST_F(DialogsTest, FilterStringsParseIntoPairs) {
  auto* dlg = Create<TOpenDialog>(form);
  dlg->SetFilter("Text (*.txt)|*.txt; *.log |Dangling");
  auto items = dlg->FilterItems();
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].Description, "Text (*.txt)");
  EXPECT_EQ(items[0].Masks, (std::vector<String>{"*.txt", "*.log"}));
  dlg->SetFilter("Empty||");  // no masks at all: every file
  items = dlg->FilterItems();
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].Masks, (std::vector<String>{"*"}));
  auto* pictures = Create<TOpenPictureDialog>(form);
  EXPECT_EQ(pictures->FilterItems().size(), 3u);
  EXPECT_EQ(pictures->FilterItems()[0].Masks, (std::vector<String>{"*.bmp", "*.png"}));
}

TEST_F(DialogsTest, GalleryShowsTheControlsAndOpensDialogs) {
  TForm* gallery = CreateGalleryForm(form);
  gallery->Show();
  Pump();
  auto find = [&](const char* name) { return As<TControl>(gallery->FindComponent(name)); };
  auto* notebook = As<TNotebook>(find("Notebook"));
  auto* status = As<TStatusBar>(find("StatusBar"));
  EXPECT_EQ(notebook->PageIndex(), 0);
  EXPECT_TRUE(find("Button1")->Showing());
  EXPECT_TRUE(AnyDark(status, status->ClientRect()));            // its text
  EXPECT_TRUE(AnyDark(find("CheckBox1"), Rect(0, 0, 17, 17)));   // the check mark
  EXPECT_TRUE(AnyDark(find("GroupBox1"), Rect(0, 0, 100, 16)));  // the caption

  // The page buttons switch the notebook's pages.
  ClickAt(CenterOf(find("PageEdits")));
  Pump();
  EXPECT_EQ(notebook->PageIndex(), 1);
  EXPECT_TRUE(find("MaskEdit1")->Showing());
  EXPECT_FALSE(find("Button1")->Showing());
  ClickAt(CenterOf(find("PageContainers")));
  Pump();
  auto* image = As<TImage>(find("Image1"));
  const TRect r = image->DestRect();
  EXPECT_EQ(Px(image, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2), Rgb(clYellow));

  // The dialog buttons open their dialogs.
  ScriptAction("InputQuery", [](TObject*) {
    Offscreen().TypeText("Ada");
    Offscreen().PressKey(VK_RETURN);
  });
  ClickAt(CenterOf(find("InputButton")));
  Pump();
  EXPECT_EQ(status->SimpleText(), "Hello, Ada");
  ScriptAnswer("MessageDlg", mrNo);
  ClickAt(CenterOf(find("MessageButton")));
  Pump();
  EXPECT_EQ(status->SimpleText(), "Answered No");
  EXPECT_EQ(ScriptedAnswerCount(), 0);
}

TEST_F(DialogsTest, GalleryTakesPagesAddedByTheProgram) {
  // A program linking further layers adds its own page and page button.
  AddGalleryPage("Extra", [](TForm* gallery, TWinControl* page) {
    auto* panel = Create<TPanel>(gallery);
    panel->SetName("ExtraPanel");
    panel->SetBounds(10, 10, 50, 30);
    panel->SetParent(page);
  });
  TForm* gallery = CreateGalleryForm(form);
  gallery->Show();
  Pump();
  auto find = [&](const char* name) { return As<TControl>(gallery->FindComponent(name)); };
  ASSERT_NE(gallery->FindComponent("PageExtra"), nullptr);
  EXPECT_FALSE(find("ExtraPanel")->Showing());
  ClickAt(CenterOf(find("PageExtra")));
  Pump();
  EXPECT_EQ(As<TNotebook>(find("Notebook"))->PageIndex(), 3);
  EXPECT_TRUE(find("ExtraPanel")->Showing());
  EXPECT_LT(find("PageExtra")->BoundsRect().Bottom, find("MessageButton")->Top())
      << "the dialog buttons move down to make room for the added page's button";
}

}  // namespace brevant::test
