#include <gtest/gtest.h>

#include <cstring>

#include "classes/component.h"
#include "classes/formstream.h"
#include "classes/rtti_builder.h"
#include "graphics/bitmap.h"
#include "graphics_test_util.h"
#include "rtl/streams.h"

using namespace brevant;
using brevant::test::FillPattern;
using brevant::test::TSurface;

namespace {

std::vector<std::uint32_t> PixelsOf(const TBitmap* b) {
  std::vector<std::uint32_t> v;
  for (Integer y = 0; y < b->Height(); ++y)
    for (Integer x = 0; x < b->Width(); ++x) v.push_back(b->ScanLine(y)[x] & 0xFFFFFF);
  return v;
}

String Bytes(TMemoryStream& ms) {
  return String(static_cast<const char*>(ms.Memory()), size_t(ms.Size()));
}

void Put16(String& s, size_t at, Cardinal v) {
  s[at] = char(v & 0xFF);
  s[at + 1] = char((v >> 8) & 0xFF);
}
void Put32(String& s, size_t at, Cardinal v) {
  for (int i = 0; i < 4; ++i) s[at + i] = char((v >> (8 * i)) & 0xFF);
}

// A BMP file image with a 40-byte header, the palette and the data given.
String MakeBmp(Integer width, Integer height, Cardinal bpp, Cardinal compression,
               const std::vector<Cardinal>& palette, const String& data) {
  String s(54, '\0');
  s[0] = 'B';
  s[1] = 'M';
  Cardinal off = 54 + Cardinal(palette.size()) * 4;
  Put32(s, 2, off + Cardinal(data.size()));
  Put32(s, 10, off);
  Put32(s, 14, 40);
  Put32(s, 18, Cardinal(width));
  Put32(s, 22, Cardinal(height));
  Put16(s, 26, 1);
  Put16(s, 28, bpp);
  Put32(s, 30, compression);
  Put32(s, 34, Cardinal(data.size()));
  Put32(s, 46, Cardinal(palette.size()));
  for (Cardinal c : palette) {
    String e(4, '\0');
    Put32(e, 0, c);  // B, G, R, 0 from 0x00RRGGBB
    s += e;
  }
  return s + data;
}

// Loads bytes into the bitmap (through a memory stream).
void Load(TBitmap* b, const String& bytes) {
  TStringStream ss(bytes);
  b->LoadFromStream(ss);
}

TColor At(const TBitmap* b, Integer x, Integer y) {
  std::uint32_t p = b->ScanLine(y)[x];
  return RGB(Byte(p >> 16), Byte(p >> 8), Byte(p));
}

}  // namespace

TEST(Bitmap, SizeKeepsPixelsAndChecksLimits) {
  TObjectPtr<TBitmap> b = MakeObject<TBitmap>();
  EXPECT_TRUE(b->Empty());
  EXPECT_FALSE(b->Canvas()->HasSurface());
  b->SetSize(4, 3);
  EXPECT_FALSE(b->Empty());
  EXPECT_EQ(At(b.get(), 3, 2), clWhite);  // new area is white
  b->Canvas()->SetPixels(1, 1, clRed);
  b->SetSize(6, 5);
  EXPECT_EQ(b->Canvas()->Pixels(1, 1), clRed);  // kept, and the canvas follows the pixels
  EXPECT_EQ(At(b.get(), 5, 4), clWhite);
  b->Canvas()->SetPixels(5, 4, clBlue);
  EXPECT_EQ(At(b.get(), 5, 4), clBlue);
  b->SetWidth(-3);
  EXPECT_TRUE(b->Empty());
  EXPECT_THROW(b->SetSize(100000, 10), EInvalidGraphicOperation);
  EXPECT_THROW(b->SetSize(30000, 30000), EInvalidGraphicOperation);
  EXPECT_TRUE(b->Empty());
  EXPECT_THROW(b->ScanLine(0), EInvalidGraphicOperation);
  int changes = 0;
  b->SetSize(2, 2);
  b->OnChange = TNotifyEvent::FromCallable([&](TObject*) { ++changes; });
  b->Canvas()->FillRect(Rect(0, 0, 1, 1));
  EXPECT_EQ(changes, 1);
}

TEST(Bitmap, BmpRoundTripsKeepEveryPixel) {
  for (TPixelFormat format : {pf24bit, pf32bit}) {
    for (Integer width : {1, 3, 5, 8, 13}) {
      TObjectPtr<TBitmap> b = MakeObject<TBitmap>();
      b->SetSize(width, 7);
      b->SetPixelFormat(format);
      FillPattern(b.get(), Cardinal(width));
      TMemoryStream ms;
      b->SaveToStream(ms);
      const Byte* bytes = static_cast<const Byte*>(ms.Memory());
      EXPECT_EQ(bytes[28], format == pf32bit ? 32 : 24);
      Int64 rowBytes = format == pf32bit ? width * 4 : (width * 3 + 3) / 4 * 4;
      EXPECT_EQ(ms.Size(), 54 + rowBytes * 7);
      TObjectPtr<TBitmap> c = MakeObject<TBitmap>();
      ms.SetPosition(0);
      c->LoadFromStream(ms);
      EXPECT_EQ(ms.Position(), ms.Size());
      EXPECT_EQ(c->Width(), width);
      EXPECT_EQ(c->PixelFormat(), format);
      EXPECT_EQ(PixelsOf(c.get()), PixelsOf(b.get()));
    }
  }
  // An empty bitmap round-trips as empty.
  TObjectPtr<TBitmap> e = MakeObject<TBitmap>();
  TMemoryStream ms;
  e->SaveToStream(ms);
  ms.SetPosition(0);
  TObjectPtr<TBitmap> f = MakeObject<TBitmap>();
  f->SetSize(3, 3);
  f->LoadFromStream(ms);
  EXPECT_TRUE(f->Empty());
}

TEST(Bitmap, ReadsPaletteBitfieldTopDownAndRunLengthImages) {
  TObjectPtr<TBitmap> b = MakeObject<TBitmap>();
  // 1 bit, 3x2: rows bottom first, each padded to 4 bytes.
  Load(b.get(), MakeBmp(3, 2, 1, 0, {0x000000, 0xFF0000},
                        String("\xA0\0\0\0\x40\0\0\0", 8)));  // bottom 101, top 010
  EXPECT_EQ(b->PixelFormat(), pf1bit);
  EXPECT_EQ(At(b.get(), 0, 1), RGB(0xFF, 0, 0));
  EXPECT_EQ(At(b.get(), 1, 1), clBlack);
  EXPECT_EQ(At(b.get(), 1, 0), RGB(0xFF, 0, 0));
  // 4 bit with an index beyond the palette: black.
  Load(b.get(), MakeBmp(2, 1, 4, 0, {0x00FF00, 0x0000FF}, String("\x1F\0\0\0", 4)));
  EXPECT_EQ(At(b.get(), 0, 0), RGB(0, 0, 0xFF));
  EXPECT_EQ(At(b.get(), 1, 0), clBlack);
  // 8 bit, top-down (negative height).
  Load(b.get(), MakeBmp(2, -2, 8, 0, {0x112233, 0x445566}, String("\0\1\0\0\1\0\0\0", 8)));
  EXPECT_EQ(At(b.get(), 1, 0), 0x665544);
  EXPECT_EQ(At(b.get(), 0, 1), 0x665544);
  // 16 bit 5-6-5 bit fields (masks after the 40-byte header).
  String masks(12, '\0');
  Put32(masks, 0, 0xF800);
  Put32(masks, 4, 0x07E0);
  Put32(masks, 8, 0x001F);
  String bmp565 = MakeBmp(1, 1, 16, 3, {}, masks + String("\x1F\xF8\0\0", 4));
  Put32(bmp565, 10, 54 + 12);
  Load(b.get(), bmp565);
  EXPECT_EQ(At(b.get(), 0, 0), RGB(0xFF, 0, 0xFF));
  EXPECT_EQ(b->PixelFormat(), pf16bit);
  // RLE8: runs of three and two, end of line, a run of one, end of bitmap.
  Load(b.get(), MakeBmp(5, 2, 8, 1, {0xFFFFFF, 0xFF0000, 0x00FF00},
                        String("\x03\x01\x02\x02\x00\x00\x01\x02\x00\x01", 10)));
  EXPECT_EQ(At(b.get(), 0, 1), RGB(0xFF, 0, 0));
  EXPECT_EQ(At(b.get(), 2, 1), RGB(0xFF, 0, 0));
  EXPECT_EQ(At(b.get(), 3, 1), RGB(0, 0xFF, 0));
  EXPECT_EQ(At(b.get(), 0, 0), RGB(0, 0xFF, 0));
  EXPECT_EQ(At(b.get(), 1, 0), clWhite);  // not written: colour 0
  // An absolute run of three indexes, padded to an even length.
  Load(b.get(), MakeBmp(4, 1, 8, 1, {0xFFFFFF, 0xFF0000, 0x00FF00},
                        String("\x00\x03\x01\x02\x01\x00\x00\x01", 8)));
  EXPECT_EQ(At(b.get(), 1, 0), RGB(0, 0xFF, 0));
  EXPECT_EQ(At(b.get(), 2, 0), RGB(0xFF, 0, 0));
  EXPECT_EQ(At(b.get(), 3, 0), clWhite);
  // RLE4: a run alternating two indexes.
  Load(b.get(), MakeBmp(4, 1, 4, 2, {0xFFFFFF, 0xFF0000, 0x00FF00}, String("\x04\x12\x00\x01", 4)));
  EXPECT_EQ(At(b.get(), 0, 0), RGB(0xFF, 0, 0));
  EXPECT_EQ(At(b.get(), 1, 0), RGB(0, 0xFF, 0));
  EXPECT_EQ(At(b.get(), 2, 0), RGB(0xFF, 0, 0));
}

TEST(Bitmap, CorruptTruncatedAndHugeBmpAreRefusedAndLeaveTheBitmap) {
  TObjectPtr<TBitmap> b = MakeObject<TBitmap>();
  b->SetSize(3, 2);
  FillPattern(b.get());
  auto before = PixelsOf(b.get());
  TMemoryStream ms;
  b->SaveToStream(ms);
  String good = Bytes(ms);
  std::vector<String> bad = {
      "",
      "BM",
      good.substr(0, 30),               // header cut
      good.substr(0, good.size() - 1),  // pixel data cut
      "XX" + good.substr(2),            // no signature
  };
  auto patched = [&](size_t at, Cardinal v, bool wide = true) {
    String s = good;
    if (wide)
      Put32(s, at, v);
    else
      Put16(s, at, v);
    return s;
  };
  bad.push_back(patched(18, 100000));       // width beyond the limit
  bad.push_back(patched(22, 0x80000000u));  // height INT_MIN
  bad.push_back(patched(18, 0xFFFFFFFFu));  // negative width
  bad.push_back(patched(18, 20000));        // 20000 x 20000: too many pixels
  bad.push_back(patched(22, 20000));
  bad.push_back(patched(26, 2, false));  // two planes
  bad.push_back(patched(28, 7, false));  // 7 bits per pixel
  bad.push_back(patched(30, 4));         // JPEG compression
  bad.push_back(patched(14, 41));        // unknown header size
  bad.push_back(patched(10, 5000));      // data offset past the end
  bad.push_back(patched(10, 20));        // data offset inside the header
  bad.push_back(MakeBmp(2, 2, 8, 0, std::vector<Cardinal>(300, 0), String(8, '\0')));  // palette
  bad.push_back(MakeBmp(4, 1, 8, 1, {0, 0}, String("\x02\x01\x00", 3)));               // RLE cut
  bad.push_back(MakeBmp(4, 1, 8, 1, {0, 0}, String("\x00\x05\x01", 3)));  // absolute run cut
  bad.push_back(MakeBmp(4, -1, 8, 1, {0, 0}, String("\x00\x01", 2)));     // RLE top-down
  for (size_t i = 0; i < bad.size(); ++i) {
    EXPECT_THROW(Load(b.get(), bad[i]), EInvalidGraphic) << "case " << i;
    EXPECT_EQ(b->Width(), 3);
    EXPECT_EQ(PixelsOf(b.get()), before) << "case " << i;
  }
  // The huge case carries a tiny stream: it must be refused, not allocated.
  try {
    Load(b.get(), patched(18, 100000));
  } catch (const EInvalidGraphic& e) {
    EXPECT_NE(e.Message().find("too large"), String::npos) << e.Message();
  }
}

TEST(Bitmap, PngRoundTripAndBadPng) {
  TObjectPtr<TBitmap> b = MakeObject<TBitmap>();
  b->SetSize(9, 5);
  FillPattern(b.get(), 99);
  TMemoryStream ms;
  b->SaveToPngStream(ms);
  String png = Bytes(ms);
  EXPECT_EQ(png.substr(1, 3), "PNG");
  TObjectPtr<TBitmap> c = MakeObject<TBitmap>();
  ms.SetPosition(0);
  c->LoadFromStream(ms);  // recognised by its signature
  EXPECT_EQ(ms.Position(), ms.Size());
  EXPECT_EQ(PixelsOf(c.get()), PixelsOf(b.get()));
  TObjectPtr<TPngImage> p = MakeObject<TPngImage>();
  p->Assign(b.get());
  TMemoryStream pms;
  p->SaveToStream(pms);
  EXPECT_EQ(Bytes(pms), png);

  auto before = PixelsOf(c.get());
  String corrupt = png;
  corrupt[png.size() / 2] ^= 0x55;  // inside the image data: the checksum fails
  String huge = png;
  huge[16] = 0x00;
  huge[17] = 0x01;  // width 65536 + ...
  String zero = png;
  std::memset(&zero[16], 0, 4);
  for (const String& bad : {png.substr(0, png.size() - 10), png.substr(0, 20), corrupt, huge, zero,
                            String("\x89PNG\r\n\x1A\n", 8)}) {
    TStringStream ss(bad);
    EXPECT_THROW(c->LoadFromPngStream(ss), EInvalidGraphic);
    EXPECT_EQ(PixelsOf(c.get()), before);
  }
  TObjectPtr<TBitmap> empty = MakeObject<TBitmap>();
  TMemoryStream out;
  EXPECT_THROW(empty->SaveToPngStream(out), EInvalidGraphicOperation);
}

TEST(Bitmap, TransparentDrawLeavesTheKeyColourOut) {
  TObjectPtr<TBitmap> glyph = MakeObject<TBitmap>();
  glyph->SetSize(4, 4);
  glyph->Canvas()->Brush()->SetColor(clFuchsia);
  glyph->Canvas()->FillRect(Rect(0, 0, 4, 4));
  glyph->Canvas()->SetPixels(1, 1, clBlack);
  EXPECT_EQ(glyph->TransparentColor(), clFuchsia);  // the bottom-left pixel
  glyph->SetTransparent(true);
  TSurface s(10, 10, clWhite);
  s.Canvas()->Draw(2, 2, glyph.get());
  EXPECT_EQ(s.At(3, 3), clBlack);
  EXPECT_EQ(s.CountNot(Rect(0, 0, 10, 10), clWhite), 1);
  s.Canvas()->StretchDraw(Rect(0, 0, 8, 8), glyph.get());
  EXPECT_EQ(s.CountNot(Rect(0, 0, 10, 10), clWhite), 4);  // 2x2 black
  glyph->SetTransparentColor(clBlack);
  EXPECT_EQ(glyph->TransparentMode(), tmFixed);
  s.Canvas()->Draw(0, 0, glyph.get());
  EXPECT_EQ(s.At(0, 0), clFuchsia);
  EXPECT_EQ(s.At(1, 1), clWhite);  // the black key pixel is left out
  glyph->SetTransparentColor(clDefault);
  EXPECT_EQ(glyph->TransparentMode(), tmAuto);
  glyph->SetTransparent(false);
  s.Canvas()->Draw(5, 5, glyph.get());
  EXPECT_EQ(s.At(5, 5), clFuchsia);
  // Drawing a bitmap on its own canvas reads a copy of the source.
  glyph->Canvas()->Draw(1, 0, glyph.get());
  EXPECT_EQ(At(glyph.get(), 2, 1), clBlack);
  EXPECT_EQ(At(glyph.get(), 1, 1), clFuchsia);
}

TEST(Bitmap, AssignFilesAndNil) {
  TObjectPtr<TBitmap> a = MakeObject<TBitmap>();
  a->SetSize(5, 4);
  FillPattern(a.get(), 3);
  a->SetTransparent(true);
  a->SetTransparentColor(clRed);
  TObjectPtr<TBitmap> b = MakeObject<TBitmap>();
  b->Assign(a.get());
  EXPECT_EQ(PixelsOf(b.get()), PixelsOf(a.get()));
  EXPECT_TRUE(b->Transparent());
  EXPECT_EQ(b->TransparentColor(), clRed);
  b->Canvas()->SetPixels(0, 0, clLime);  // a copy, not shared
  EXPECT_NE(At(a.get(), 0, 0), clLime);
  b->Assign(nullptr);
  EXPECT_TRUE(b->Empty());

  String dir = ::testing::TempDir();
  a->SaveToFile(dir + "/bv_gfx_a.bmp");
  TObjectPtr<TBitmap> c = MakeObject<TBitmap>();
  c->LoadFromFile(dir + "/bv_gfx_a.bmp");
  EXPECT_EQ(PixelsOf(c.get()), PixelsOf(a.get()));
  a->SaveToPngFile(dir + "/bv_gfx_a.png");
  c->LoadFromFile(dir + "/bv_gfx_a.png");
  EXPECT_EQ(PixelsOf(c.get()), PixelsOf(a.get()));
  EXPECT_THROW(c->LoadFromFile(dir + "/bv_gfx_missing.bmp"), EFOpenError);
  EXPECT_EQ(PixelsOf(c.get()), PixelsOf(a.get()));
  SaveCanvasToPng(*a->Canvas(), dir + "/bv_gfx_canvas.png");
  c->LoadFromFile(dir + "/bv_gfx_canvas.png");
  EXPECT_EQ(PixelsOf(c.get()), PixelsOf(a.get()));
}

namespace {
// A component publishing a bitmap, as glyph properties do.
class TGlyphHolder : public brevant::TComponent {
  BV_CLASS(TGlyphHolder, brevant::TComponent)
 public:
  using TComponent::TComponent;
  brevant::TBitmap* Glyph() const { return glyph_.get(); }
  void SetGlyph(brevant::TBitmap* value) { glyph_->Assign(value); }

 private:
  brevant::TObjectPtr<brevant::TBitmap> glyph_{brevant::Create<brevant::TBitmap>()};
};
}  // namespace

BV_PUBLISH(TGlyphHolder, brevant::TComponent) {
  p.Property("Glyph", &TGlyphHolder::Glyph, &TGlyphHolder::SetGlyph);
}

TEST(BitmapStreaming, AGlyphPropertyRoundTripsThroughTheTextForm) {
  using namespace brevant;
  TObjectPtr<TGlyphHolder> a(Create<TGlyphHolder>(nullptr));
  a->SetName("Holder");
  a->Glyph()->SetSize(3, 2);
  a->Glyph()->Canvas()->SetPixels(0, 0, clRed);
  a->Glyph()->Canvas()->SetPixels(2, 1, clBlue);
  TStringStream text;
  WriteComponentText(text, a.get());
  EXPECT_NE(text.DataString().find("Glyph.Data = {"), String::npos) << text.DataString();
  TObjectPtr<TGlyphHolder> b(Create<TGlyphHolder>(nullptr));
  text.SetPosition(0);
  ReadComponent(text, b.get());
  ASSERT_EQ(b->Glyph()->Width(), 3);
  ASSERT_EQ(b->Glyph()->Height(), 2);
  EXPECT_EQ(b->Glyph()->Canvas()->Pixels(0, 0), clRed);
  EXPECT_EQ(b->Glyph()->Canvas()->Pixels(2, 1), clBlue);
  // An empty glyph writes nothing.
  TObjectPtr<TGlyphHolder> empty(Create<TGlyphHolder>(nullptr));
  TStringStream none;
  WriteComponentText(none, empty.get());
  EXPECT_EQ(none.DataString().find("Glyph.Data"), String::npos);
}
