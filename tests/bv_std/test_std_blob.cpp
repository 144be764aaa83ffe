// Blob visions without pixels: memo text across lines, the image vision's
// clipboard actions on the off-screen clipboard, refused actions, text
// where a picture is expected, blobs that are no picture, and the current
// values of the drop-down text and picture visions.
#include "blob_test_fixture.h"
#include "bv_rtm/bv_errors.h"
#include "bv_std/blob_visions_dropdown.h"
#include "controls/menus.h"
#include "rtl/streams.h"

namespace stdtest {
namespace {

String Bytes(const TznUniValue& value) {
  TMemoryStream s;
  value.SaveToStream(s);
  String bytes(size_t(s.Size()), '\0');
  s.SetPosition(0);
  if (!bytes.empty()) s.ReadBuffer(bytes.data(), s.Size());
  return bytes;
}

// ---- memo ----

TEST_F(BlobTest, MemoEditsAndShowsTextAcrossLines) {
  TObjectPtr<TMemoVision> memo(Create<TMemoVision>(nullptr));
  EXPECT_TRUE(memo->MultiLine());
  EXPECT_TRUE(memo->WantReturns());
  EXPECT_TRUE(memo->WantTabs());
  EXPECT_TRUE(memo->EditWordWrap());
  EXPECT_EQ(memo->EditScrollBars(), ssVertical);
  EXPECT_EQ(memo->GetLayout(&consumer->Fields()), tlaTop);
  consumer->Fields().SetVision(memo.get());
  data.Set(1, "Notes", "first line\r\nsecond line");
  Bind("Notes");
  EXPECT_EQ(memo->GetFieldText(&consumer->Fields(), true), "first line\r\nsecond line");
  EXPECT_EQ(editor.CurrentValue()->AsString(), "first line\r\nsecond line");
  ASSERT_TRUE(consumer->Fields().StartEdit(true));  // typing starts the edit
  editor.Type("one\r\ntwo\tcolumn\r\nthree");
  EXPECT_TRUE(memo->PostEdit(&editor, false));
  EXPECT_EQ(data.Field("Notes")->AsString(), "one\r\ntwo\tcolumn\r\nthree");
}

TEST_F(BlobTest, MemoWithoutFieldAsksOnGetValue) {
  TObjectPtr<TMemoVision> memo(Create<TMemoVision>(nullptr));
  struct TSupply {
    void Get(TObject*, TtlFieldList*, String& value, bool&) { value = "a\r\nb"; }
  } supply;
  memo->OnGetValue = TfvGetStrValueEvent::Of<&TSupply::Get>(&supply);
  consumer->Fields().SetVision(memo.get());
  consumer->Attach(data.source.get(), "Missing");
  EXPECT_TRUE(consumer->Fields().Active());  // names given
  EXPECT_EQ(memo->GetFieldText(&consumer->Fields(), true), "a\r\nb");
}

// ---- clipboard actions ----

TEST_F(BlobTest, CopyPutsThePictureOnTheClipboardWithoutEditing) {
  data.SetBytes(1, "Pic", BmpBytes(*Solid(4, 3, clRed)));
  Bind();
  image->EditAction(&editor, eaCopy);
  TBitmap clip;
  ASSERT_TRUE(GetClipboardBitmap(clip));
  EXPECT_EQ(clip.Width(), 4);
  EXPECT_EQ(clip.Canvas()->Pixels(1, 1), clRed);
  EXPECT_EQ(data.ds->State(), dsBrowse);
  EXPECT_NE(editor.Take().find("repaint"), String::npos);
}

TEST_F(BlobTest, CutMovesThePictureToTheClipboardAndClearsTheValue) {
  data.SetBytes(1, "Pic", BmpBytes(*Solid(4, 3, clRed)));
  Bind();
  image->EditAction(&editor, eaCut);
  EXPECT_TRUE(HasClipboardBitmap());
  EXPECT_TRUE(editor.CurrentValue()->IsNull());
  EXPECT_EQ(data.ds->State(), dsEdit);
  EXPECT_TRUE(image->PostEdit(&editor, false));
  EXPECT_TRUE(data.Field("Pic")->IsNull());
}

TEST_F(BlobTest, PasteTakesTheClipboardsPicture) {
  Bind();
  SetClipboardBitmap(*Solid(5, 2, clBlue));
  image->EditAction(&editor, eaPaste);
  EXPECT_TRUE(editor.CurrentValue()->Modified());
  EXPECT_TRUE(image->PostEdit(&editor, false));
  auto stored = FieldPicture();
  EXPECT_EQ(stored->Width(), 5);
  EXPECT_EQ(stored->Canvas()->Pixels(4, 1), clBlue);
}

TEST_F(BlobTest, ClearEmptiesThePicture) {
  data.SetBytes(1, "Pic", BmpBytes(*Solid(4, 3, clRed)));
  Bind();
  image->EditAction(&editor, eaClear);
  EXPECT_TRUE(image->PostEdit(&editor, false));
  EXPECT_TRUE(data.Field("Pic")->IsNull());
}

TEST_F(BlobTest, DisabledActionsDoNothing) {
  data.SetBytes(1, "Pic", BmpBytes(*Solid(4, 3, clRed)));
  Bind();
  SetClipboardBitmap(*Solid(5, 2, clBlue));
  image->SetDisabledActions({vdaPaste, vdaCut, vdaClear});
  for (TznEditAction action : {eaPaste, eaCut, eaClear}) image->EditAction(&editor, action);
  EXPECT_FALSE(editor.CurrentValue()->Modified());
  EXPECT_EQ(PictureOf(*editor.CurrentValue())->Width(), 4);
  EXPECT_EQ(data.ds->State(), dsBrowse);
  EXPECT_EQ(editor.Take(), "");
}

TEST_F(BlobTest, EachActionHasItsDisabledMember) {
  const struct {
    TznEditAction action;
    TfvImgDisabledAction member;
  } rows[] = {{eaCut, vdaCut},   {eaCopy, vdaCopy}, {eaPaste, vdaPaste},    {eaClear, vdaClear},
              {eaLoad, vdaLoad}, {eaSave, vdaSave}, {eaPreview, vdaPreview}};
  for (const auto& row : rows) {
    SCOPED_TRACE(int(row.action));
    EXPECT_TRUE(ImageActionDisabled(TfvImgDisabledActions{row.member}, row.action));
    TfvImgDisabledActions others =
        TfvImgDisabledActions{vdaCut, vdaCopy, vdaPaste, vdaClear, vdaLoad, vdaSave, vdaPreview};
    others.Exclude(row.member);
    EXPECT_FALSE(ImageActionDisabled(others, row.action));
  }
}

TEST_F(BlobTest, EmptyPictureIsNeitherCutNorCopied) {
  Bind();
  SetClipboardText("keep");
  image->EditAction(&editor, eaCut);
  image->EditAction(&editor, eaCopy);
  EXPECT_TRUE(HasClipboardText());
  EXPECT_FALSE(HasClipboardBitmap());
  EXPECT_EQ(data.ds->State(), dsBrowse);
  EXPECT_FALSE(editor.CurrentValue()->Modified());
}

TEST_F(BlobTest, PastingTextLeavesValueAndDataSetAlone) {
  data.SetBytes(1, "Pic", BmpBytes(*Solid(4, 3, clRed)));
  Bind();
  SetClipboardText("not a picture");
  image->EditAction(&editor, eaPaste);
  EXPECT_EQ(data.ds->State(), dsBrowse);
  EXPECT_FALSE(editor.CurrentValue()->Modified());
  EXPECT_EQ(PictureOf(*editor.CurrentValue())->Width(), 4);
  EXPECT_FALSE(image->PostEdit(&editor, false));
}

TEST_F(BlobTest, ReadOnlyRefusesEditingActions) {
  data.SetBytes(1, "Pic", BmpBytes(*Solid(4, 3, clRed)));
  Bind();
  image->SetReadOnly(true);
  SetClipboardBitmap(*Solid(5, 2, clBlue));
  image->EditAction(&editor, eaPaste);
  image->EditAction(&editor, eaClear);
  EXPECT_FALSE(editor.CurrentValue()->Modified());
  EXPECT_EQ(data.ds->State(), dsBrowse);
}

// ---- blobs that are no picture ----

TEST_F(BlobTest, NonPictureBlobKeepsItsBytesAndIsReportedOnce) {
  data.SetBytes(1, "Pic", "plain text, no picture");
  Bind();
  EXPECT_EQ(Bytes(*editor.CurrentValue()), "plain text, no picture");
  editor.Load();
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_NE(problems[0].find("\"Pic\" does not hold a picture"), String::npos);
  image->EditAction(&editor, eaCopy);  // nothing to copy, nothing new to report
  EXPECT_EQ(problems.size(), 1u);
  EXPECT_FALSE(HasClipboardBitmap());
}

TEST_F(BlobTest, TruncatedBitmapIsRefusedWithoutCrash) {
  String bytes = BmpBytes(*Solid(40, 30, clRed));
  bytes.resize(bytes.size() / 2);
  data.SetBytes(1, "Pic", bytes);
  Bind();
  EXPECT_EQ(problems.size(), 1u);
  EXPECT_EQ(Bytes(*editor.CurrentValue()), bytes);
  TObjectPtr<TPictureVision> picture(Create<TPictureVision>(nullptr));
  consumer->Fields().SetVision(picture.get());
  editor.Load();  // another vision reports for itself
  EXPECT_EQ(problems.size(), 2u);
  EXPECT_EQ(picture->ReportedPictureProblems(), 1);
}

// ---- drop-down blob visions ----

TEST_F(BlobTest, TextVisionCurrentValueIsTheWholeText) {
  TObjectPtr<TTextVision> text(Create<TTextVision>(nullptr));
  consumer->Fields().SetVision(text.get());
  data.SetBytes(1, "Text", "line 1\r\nline 2");
  Bind("Text");
  EXPECT_EQ(editor.CurrentValue()->DataType(), ftString);
  EXPECT_EQ(editor.CurrentValue()->AsString(), "line 1\r\nline 2");
  data.Set(1, "Code", 42);
  Bind("Code");
  EXPECT_EQ(editor.CurrentValue()->AsString(), "42");
}

TEST_F(BlobTest, PictureVisionCurrentValueIsABitmapStream) {
  TObjectPtr<TPictureVision> picture(Create<TPictureVision>(nullptr));
  consumer->Fields().SetVision(picture.get());
  data.SetBytes(1, "Pic", BmpBytes(*Solid(3, 3, clLime)));
  Bind();
  EXPECT_EQ(editor.CurrentValue()->DataType(), ftBlob);
  EXPECT_EQ(PictureOf(*editor.CurrentValue())->Canvas()->Pixels(1, 1), clLime);
  EXPECT_FALSE(editor.CurrentValue()->Modified());
}

TEST_F(BlobTest, DefaultsOfTheBlobVisions) {
  TObjectPtr<TTextVision> text(Create<TTextVision>(nullptr));
  EXPECT_EQ(text->DisplayAs(), tbmIcon);
  EXPECT_EQ(text->DropDownScrollBars(), ssBoth);
  EXPECT_TRUE(text->ComboBoxStyle());
  EXPECT_TRUE(text->EnableButton());
  EXPECT_EQ(text->SurfaceKind(), vskCustom);
  EXPECT_FALSE(text->WantArrows());
  EXPECT_THROW(text->SetDropDownWidth(-1), EBVError);
  EXPECT_TRUE(image->Center());
  EXPECT_FALSE(image->Stretch());
  EXPECT_EQ(image->GetLayout(&consumer->Fields()), tlaCenter);
  Bind("Code");
  EXPECT_FALSE(consumer->Fields().Active());  // not a blob
  Bind("Pic");
  EXPECT_TRUE(consumer->Fields().Active());
}

TEST_F(BlobTest, ImageMenuFallsBackOnTheDefaultBlobMenu) {
  static TPopupMenu* packMenu = nullptr;
  TObjectPtr<TPopupMenu> pack(Create<TPopupMenu>(nullptr));
  packMenu = pack.get();
  SetDefaultBlobMenuQuery([] { return packMenu; });
  EXPECT_EQ(image->GetPopupMenu(), pack.get());
  auto* own = Create<TPopupMenu>(nullptr);
  image->SetPopupMenu(own);
  EXPECT_EQ(image->GetPopupMenu(), own);
  TObject::Free(own);
  EXPECT_EQ(image->PopupMenu(), nullptr);
  SetDefaultBlobMenuQuery(nullptr);
  EXPECT_EQ(image->GetPopupMenu(), nullptr);
}

}  // namespace
}  // namespace stdtest
