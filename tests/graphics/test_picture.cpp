#include <gtest/gtest.h>

#include "graphics/picture.h"
#include "graphics_test_util.h"
#include "rtl/streams.h"

using namespace brevant;
using brevant::test::FillPattern;

namespace {

String TempFile(const char* name) {
  return ::testing::TempDir() + "/" + name;
}

void WriteFile(const String& name, const String& bytes) {
  TFileStream f(name, fmCreate);
  f.WriteBuffer(bytes.data(), Int64(bytes.size()));
}

String ReadFile(const String& name) {
  TFileStream f(name, fmOpenRead);
  String s(size_t(f.Size()), '\0');
  f.ReadBuffer(s.data(), f.Size());
  return s;
}

// A one-image icon file: 16 x 16, 4 bytes of (unparsed) image data.
String IconBytes() {
  String s("\0\0\1\0\1\0", 6);
  String entry(16, '\0');
  entry[0] = 16;
  entry[1] = 16;
  entry[8] = 4;    // size
  entry[12] = 22;  // offset
  return s + entry + "DATA";
}

}  // namespace

TEST(Picture, LoadChoosesTheGraphicByContentThenExtension) {
  TObjectPtr<TBitmap> b = MakeObject<TBitmap>();
  b->SetSize(6, 4);
  FillPattern(b.get());
  b->SaveToFile(TempFile("bv_pic.bmp"));
  b->SaveToPngFile(TempFile("bv_pic.png"));
  b->SaveToFile(TempFile("bv_pic_bmp_named.png"));  // BMP content, PNG name
  WriteFile(TempFile("bv_pic.ico"), IconBytes());

  TObjectPtr<TPicture> p = MakeObject<TPicture>();
  int changes = 0;
  p->OnChange = TNotifyEvent::FromCallable([&](TObject*) { ++changes; });
  p->LoadFromFile(TempFile("bv_pic.bmp"));
  EXPECT_TRUE(Is<TBitmap>(p->Graphic()));
  EXPECT_FALSE(Is<TPngImage>(p->Graphic()));
  EXPECT_EQ(p->Width(), 6);
  EXPECT_EQ(p->Height(), 4);
  EXPECT_EQ(changes, 1);
  p->LoadFromFile(TempFile("bv_pic.png"));
  EXPECT_TRUE(Is<TPngImage>(p->Graphic()));
  p->LoadFromFile(TempFile("bv_pic_bmp_named.png"));
  EXPECT_FALSE(Is<TPngImage>(p->Graphic()));
  p->LoadFromFile(TempFile("bv_pic.ico"));
  ASSERT_TRUE(Is<TIcon>(p->Graphic()));
  EXPECT_EQ(p->Width(), 16);

  // Unknown or broken content leaves the picture as it was.
  TGraphic* before = p->Graphic();
  WriteFile(TempFile("bv_pic.txt"), "hello");
  try {
    p->LoadFromFile(TempFile("bv_pic.txt"));
    ADD_FAILURE();
  } catch (const EInvalidGraphic& e) {
    EXPECT_NE(e.Message().find("bv_pic.txt"), String::npos);
  }
  WriteFile(TempFile("bv_pic_bad.bmp"), "BM\1\2");
  EXPECT_THROW(p->LoadFromFile(TempFile("bv_pic_bad.bmp")), EInvalidGraphic);
  WriteFile(TempFile("bv_pic_bad.png"), "not a png at all");
  EXPECT_THROW(p->LoadFromFile(TempFile("bv_pic_bad.png")), EInvalidGraphic);
  EXPECT_EQ(p->Graphic(), before);
  EXPECT_EQ(p->Width(), 16);
}

TEST(Picture, SaveAssignAndBitmapAccess) {
  TObjectPtr<TPicture> p = MakeObject<TPicture>();
  EXPECT_EQ(p->Graphic(), nullptr);
  EXPECT_EQ(p->Width(), 0);
  p->SaveToFile(TempFile("bv_pic_none.bmp"));  // nothing to write
  TBitmap* bmp = p->Bitmap();
  bmp->SetSize(3, 3);
  FillPattern(bmp);
  int changes = 0;
  p->OnChange = TNotifyEvent::FromCallable([&](TObject*) { ++changes; });
  bmp->Canvas()->SetPixels(0, 0, clRed);
  EXPECT_EQ(changes, 1);  // the graphic's changes reach the picture
  p->SaveToFile(TempFile("bv_pic_out.png"));
  EXPECT_EQ(ReadFile(TempFile("bv_pic_out.png")).substr(1, 3), "PNG");
  p->SaveToFile(TempFile("bv_pic_out.bmp"));
  EXPECT_EQ(ReadFile(TempFile("bv_pic_out.bmp")).substr(0, 2), "BM");

  TObjectPtr<TPicture> q = MakeObject<TPicture>();
  q->Assign(p.get());
  ASSERT_NE(q->Graphic(), p->Graphic());  // a copy
  EXPECT_EQ(q->Bitmap()->ScanLine(2)[1], bmp->ScanLine(2)[1]);
  q->Assign(bmp);  // from a graphic
  EXPECT_EQ(q->Width(), 3);
  q->Assign(nullptr);
  EXPECT_EQ(q->Graphic(), nullptr);
  // An icon is replaced when a bitmap is asked for.
  TStringStream icon(IconBytes());
  q->LoadFromStream(icon);
  EXPECT_TRUE(Is<TIcon>(q->Graphic()));
  EXPECT_TRUE(q->Bitmap()->Empty());
  TStringStream junk("junk");
  EXPECT_THROW(q->LoadFromStream(junk), EInvalidGraphic);
}

TEST(Icon, StubLoadsSavesAndRefusesBadData) {
  TObjectPtr<TIcon> icon = MakeObject<TIcon>();
  EXPECT_TRUE(icon->Empty());
  TStringStream in(IconBytes());
  icon->LoadFromStream(in);
  EXPECT_EQ(icon->Width(), 16);
  EXPECT_EQ(icon->Height(), 16);
  TStringStream out;
  icon->SaveToStream(out);
  EXPECT_EQ(out.DataString(), IconBytes());
  String cut = IconBytes().substr(0, 24);
  String badOffset = IconBytes();
  badOffset[18] = 3;  // the image offset, inside the directory
  for (const String& bad : {String(), cut, badOffset, String("\0\0\2\0\1\0", 6)}) {
    TStringStream s(bad);
    EXPECT_THROW(icon->LoadFromStream(s), EInvalidGraphic);
    EXPECT_EQ(icon->Width(), 16);
  }
  TObjectPtr<TIcon> copy = MakeObject<TIcon>();
  copy->Assign(icon.get());
  EXPECT_EQ(copy->Height(), 16);
  TObjectPtr<TCanvas> c = MakeObject<TCanvas>();
  c->Draw(0, 0, icon.get());  // draws nothing, harmlessly
}
