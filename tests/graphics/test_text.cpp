#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "classes/typinfo.h"
#include "graphics/canvas.h"
#include "graphics/font.h"
#include "graphics/text_engine.h"
#include "graphics_test_util.h"
#include "rtl/streams.h"

using namespace brevant;
using brevant::test::TSurface;

namespace {

void UseFont(TCanvas* c, const char* name, Integer size, TFontStyles style = {}) {
  c->Font()->SetName(name);
  c->Font()->SetSize(size);
  c->Font()->SetStyle(style);
}

// The usual text set-up: Tahoma 8 drawn without a background.
void UseClearText(TCanvas* c) {
  UseFont(c, "Tahoma", 8);
  c->Brush()->SetStyle(bsClear);
}

}  // namespace

TEST(Font, SizeHeightDefaultsAndChangeNotification) {
  TObjectPtr<TFont> f = MakeObject<TFont>();
  EXPECT_EQ(f->Name(), "Tahoma");
  EXPECT_EQ(f->Size(), 8);
  EXPECT_EQ(f->Height(), -11);
  EXPECT_EQ(f->Color(), clWindowText);
  EXPECT_EQ(f->FamilyName(), "DejaVu Sans");
  int changes = 0;
  f->OnChange = TNotifyEvent::FromCallable([&](TObject* sender) {
    EXPECT_EQ(sender, f.get());
    ++changes;
  });
  f->SetSize(9);
  EXPECT_EQ(f->Height(), -12);
  f->SetHeight(-16);
  EXPECT_EQ(f->Size(), 12);
  f->SetHeight(-16);  // unchanged: no event
  f->SetName("");     // ignored
  EXPECT_EQ(f->Name(), "Tahoma");
  EXPECT_EQ(changes, 2);
  f->SetSize(0);
  EXPECT_EQ(f->Height(), 0);
  f->SetSize(INT32_MAX);  // saturates instead of overflowing
  EXPECT_EQ(f->Height(), -INT32_MAX);
  f->SetPixelsPerInch(0);
  EXPECT_EQ(f->PixelsPerInch(), 1);

  TObjectPtr<TFont> g = MakeObject<TFont>();
  g->SetName("Times New Roman");
  g->SetStyle({fsBold, fsItalic});
  g->SetColor(clRed);
  g->SetSize(11);
  changes = 0;
  f->SetPixelsPerInch(96);
  f->Assign(g.get());
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(f->Name(), "Times New Roman");
  EXPECT_EQ(f->Style(), (TFontStyles{fsBold, fsItalic}));
  EXPECT_EQ(f->Color(), clRed);
  EXPECT_EQ(f->Height(), -15);
  EXPECT_EQ(f->FamilyName(), "Liberation Serif");

  EXPECT_EQ(FontFamilyOf("Courier New"), "Liberation Mono");
  EXPECT_EQ(FontFamilyOf("arial"), "Liberation Sans");
  EXPECT_EQ(FontFamilyOf("MS Sans Serif"), "DejaVu Sans");
  EXPECT_EQ(FontFamilyOf("No Such Face"), "DejaVu Sans");
  auto names = GetFontNames();
  EXPECT_NE(std::find(names.begin(), names.end(), "Tahoma"), names.end());

  // Published: Size is not stored, Style is a TFontStyles set.
  EXPECT_FALSE(GetPropInfo(TFont::StaticClass(), "Size")->IsStored(f.get()));
  EXPECT_EQ(GetPropInfo(TFont::StaticClass(), "Style")->PropType->Name, "TFontStyles");
  EXPECT_EQ(GetPropInfo(TFont::StaticClass(), "Color")->PropType->Name, "TColor");
}

// A font keeps its resolved face across colour changes and copies of the
// same shape (painting sets colours per cell), and follows style and
// height changes.
TEST(Font, ResolvedFaceFollowsTheShapeOnly) {
  TFont font;
  const detail::TTextFont* face = &font.TextFont();
  font.SetColor(clRed);
  EXPECT_EQ(&font.TextFont(), face);
  TFont same;
  same.SetColor(clBlue);
  font.Assign(&same);
  EXPECT_EQ(font.Color(), clBlue);
  EXPECT_EQ(&font.TextFont(), face);
  same.SetStyle(TFontStyles{fsBold});
  font.Assign(&same);
  EXPECT_NE(&font.TextFont(), face);
  EXPECT_NE(font.TextFont().Desc, nullptr);
  font.SetHeight(-20);
  EXPECT_EQ(font.TextFont().PixelSize, 20);
}

TEST(Text, MetricsAreThoseOfThePrivateConfiguration) {
  TObjectPtr<TCanvas> c = MakeObject<TCanvas>();
  const String fox = "The quick brown fox jumps over the lazy dog";
  UseFont(c.get(), "DejaVu Sans", 9);
  EXPECT_EQ(c->TextExtent(fox), TSize(272, 15));
  UseFont(c.get(), "Tahoma", 9);  // the default UI face is DejaVu Sans
  EXPECT_EQ(c->TextExtent(fox), TSize(272, 15));
  Integer plain = c->TextWidth("Wg"), plainHeight = c->TextHeight("Wg");
  UseFont(c.get(), "Tahoma", 9, {fsBold, fsUnderline});
  EXPECT_GE(c->TextWidth("Wg"), plain);         // bold may widen
  EXPECT_EQ(c->TextHeight("Wg"), plainHeight);  // underline never changes the height
  UseFont(c.get(), "Tahoma", 8);
  EXPECT_EQ(c->TextHeight("Wg"), 14);
  EXPECT_EQ(c->TextWidth(""), 0);
  EXPECT_EQ(c->TextHeight(""), 14);
  // A positive height is the cell height.
  c->Font()->SetHeight(14);
  EXPECT_EQ(c->TextHeight("Wg"), 14);
}

TEST(Text, BadFontsAndBadTextDrawNothingWrong) {
  TSurface s(100, 40);
  TCanvas* c = s.Canvas();
  c->Font()->SetHeight(0);  // the default height
  EXPECT_EQ(c->TextHeight("Wg"), 14);
  c->Font()->SetSize(100000);  // rendered at a bounded size
  EXPECT_LE(c->TextHeight("Wg"), 1300);
  c->TextOut(0, 0, "W");
  c->Font()->SetHeight(INT32_MIN);
  c->TextOut(0, 0, "W");
  UseFont(c, "Tahoma", 8);
  EXPECT_EQ(c->TextWidth("ab\xFF\xFE"
                         "cd"),
            c->TextWidth("ab\xEF\xBF\xBD\xEF\xBF\xBD"
                         "cd"));
  EXPECT_EQ(c->TextWidth("ab\xE2\x82"), c->TextWidth("ab\xEF\xBF\xBD\xEF\xBF\xBD"));
  EXPECT_EQ(c->TextWidth(String("ab\0cd", 5)), c->TextWidth("ab"));
  TRect r = Rect(0, 0, 100, 40);
  c->DrawText("\xC0\x80\xED\xA0\x80&", r, DT_WORDBREAK | DT_END_ELLIPSIS | DT_EDITCONTROL);
  // Empty and inverted rectangles draw nothing but still measure.
  TSurface t(60, 30);
  TRect empty = Rect(10, 10, 10, 20), inverted = Rect(40, 20, 20, 10);
  EXPECT_EQ(t.Canvas()->DrawText("Hello", empty, DT_SINGLELINE), 14);
  EXPECT_EQ(t.Canvas()->DrawText("Hello world", inverted, DT_WORDBREAK | DT_END_ELLIPSIS), 14);
  t.Canvas()->TextRect(Rect(50, 5, 40, 25), 40, 5, "Hello");
  EXPECT_EQ(t.CountNot(Rect(0, 0, 60, 30), clWhite), 0);
}

TEST(Text, DrawnTextStaysInsideItsMeasuredBox) {
  TSurface s(300, 60);
  TCanvas* c = s.Canvas();
  UseClearText(c);
  const String text = "Hello gray fox";
  TSize ext = c->TextExtent(text);
  c->TextOut(10, 20, text);
  TRect ink = s.InkBounds(clWhite);
  EXPECT_GE(ink.Left, 10);
  EXPECT_GE(ink.Top, 20);
  EXPECT_LE(ink.Right, 10 + ext.cx);
  EXPECT_LE(ink.Bottom, 20 + ext.cy);
  EXPECT_EQ(c->PenPos(), Point(10 + ext.cx, 20));
  // Opaque: the whole cell takes the background colour.
  TSurface o(300, 60);
  UseFont(o.Canvas(), "Tahoma", 8);
  o.Canvas()->Brush()->SetColor(clYellow);
  o.Canvas()->TextOut(10, 20, text);
  EXPECT_EQ(o.At(10, 20), clYellow);
  EXPECT_EQ(o.At(10 + ext.cx - 1, 20 + ext.cy - 1), clYellow);
  EXPECT_EQ(o.At(10 + ext.cx, 20), clWhite);
  // TextRect fills and clips to its rectangle.
  TSurface r(300, 60);
  UseFont(r.Canvas(), "Tahoma", 8);
  r.Canvas()->Brush()->SetColor(clAqua);
  r.Canvas()->TextRect(Rect(5, 5, 40, 15), 0, 0, text);
  EXPECT_EQ(r.InkBounds(clWhite), Rect(5, 5, 40, 15));
}

TEST(Text, CalcRectAndDrawingAgree) {
  TSurface s(200, 200);
  TCanvas* c = s.Canvas();
  UseClearText(c);
  const String text = "The quick brown fox jumps over the lazy dog again and again";
  TRect calc = Rect(10, 10, 110, 10);
  Integer h = c->DrawText(text, calc, DT_CALCRECT | DT_WORDBREAK);
  EXPECT_EQ(h, calc.Height());
  EXPECT_EQ(h % 14, 0);
  EXPECT_GE(h, 4 * 14);
  EXPECT_LE(calc.Right, 110);
  // Drawing into the measured box draws every line, no ellipsis: the same
  // pixels as drawing into a box with room to spare.
  TRect box = calc;
  c->DrawText(text, box, DT_WORDBREAK | DT_EDITCONTROL | DT_END_ELLIPSIS);
  auto inCalc = s.Snapshot();
  TSurface t(200, 200);
  UseClearText(t.Canvas());
  TRect big = Rect(10, 10, 110, 190);
  t.Canvas()->DrawText(text, big, DT_WORDBREAK);
  EXPECT_EQ(t.Snapshot(), inCalc);
  // Single line: the measured width is the text width.
  TRect one = Rect(0, 0, 5, 0);
  EXPECT_EQ(c->DrawText("&File", one, DT_CALCRECT | DT_SINGLELINE), 14);
  EXPECT_EQ(one.Width(), c->TextWidth("File"));
  TRect raw = Rect(0, 0, 5, 0);
  c->DrawText("&File", raw, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  EXPECT_EQ(raw.Width(), c->TextWidth("&File"));
  TRect amp = Rect(0, 0, 5, 0);
  c->DrawText("a&&b&", amp, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(amp.Width(), c->TextWidth("a&b"));
  // A word wider than the rectangle widens the measurement ("clipped"),
  // unless edit-control breaking splits it.
  TRect narrow = Rect(0, 0, 30, 0);
  c->DrawText("Incomprehensibilities", narrow, DT_CALCRECT | DT_WORDBREAK);
  EXPECT_GT(narrow.Width(), 30);
  TRect split = Rect(0, 0, 30, 0);
  c->DrawText("Incomprehensibilities", split, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL);
  EXPECT_LE(split.Width(), 30);
  EXPECT_GT(split.Height(), 14);
}

TEST(Text, EllipsisAppearsExactlyWhenTheTextDoesNotFit) {
  const String text = "Bartholomew Castellanos";
  auto draw = [&](Integer width, Cardinal flags) {
    TSurface s(200, 20);
    UseClearText(s.Canvas());
    TRect r = Rect(0, 0, width, 20);
    s.Canvas()->DrawText(text, r, flags);
    return s.Snapshot();
  };
  TObjectPtr<TCanvas> m = MakeObject<TCanvas>();
  UseFont(m.get(), "Tahoma", 8);
  Integer w = m->TextWidth(text);
  Cardinal flags = DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX;
  EXPECT_EQ(draw(w, flags), draw(200, DT_SINGLELINE | DT_NOPREFIX));
  auto cut = draw(w - 1, flags);
  EXPECT_NE(cut, draw(w, flags));
  // Nothing of the cut text lies at or beyond the rectangle's right edge.
  TSurface s(200, 20);
  UseClearText(s.Canvas());
  TRect r = Rect(0, 0, 60, 20);
  s.Canvas()->DrawText(text, r, flags | DT_NOCLIP);
  EXPECT_LE(s.InkBounds(clWhite).Right, 60);
  EXPECT_GT(s.InkBounds(clWhite).Right, 40);
}

TEST(Text, WordBreakDropsPartialLinesAndEllipsizesTheLastOne) {
  const String text = "one two three four five six seven eight nine ten eleven twelve";
  auto draw = [&](Cardinal flags, Integer height) {
    auto s = std::make_unique<TSurface>(120, 100);
    UseClearText(s->Canvas());
    TRect r = Rect(0, 0, 70, height);
    s->Canvas()->DrawText(text, r, flags);
    return s;
  };
  // 35 pixels hold two lines of 14 and half of a third.
  auto edit = draw(DT_WORDBREAK | DT_EDITCONTROL, 35);
  EXPECT_LE(edit->InkBounds(clWhite).Bottom, 28);
  auto plain = draw(DT_WORDBREAK, 35);
  EXPECT_GT(plain->InkBounds(clWhite).Bottom, 28);  // the third line shows, clipped
  EXPECT_LE(plain->InkBounds(clWhite).Bottom, 35);
  auto ellipsis = draw(DT_WORDBREAK | DT_EDITCONTROL | DT_END_ELLIPSIS, 35);
  EXPECT_LE(ellipsis->InkBounds(clWhite).Bottom, 28);
  EXPECT_NE(ellipsis->Snapshot(), edit->Snapshot());  // the second line differs: "…"
  auto ellipsisNoEdit = draw(DT_WORDBREAK | DT_END_ELLIPSIS, 35);
  EXPECT_EQ(ellipsisNoEdit->Snapshot(), ellipsis->Snapshot());
  // The first line is the same in all of them.
  auto full = draw(DT_WORDBREAK, 100);
  for (Integer y = 0; y < 14; ++y)
    for (Integer x = 0; x < 120; ++x) ASSERT_EQ(ellipsis->At(x, y), full->At(x, y));
  // The measurement says the text is taller than the rectangle: clipped.
  TObjectPtr<TCanvas> m = MakeObject<TCanvas>();
  UseFont(m.get(), "Tahoma", 8);
  TRect calc = Rect(0, 0, 70, 35);
  EXPECT_GT(m->DrawText(text, calc, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_END_ELLIPSIS),
            35);
}

TEST(Text, AlignmentAndPrefixUnderline) {
  auto inkOf = [](const String& text, Cardinal flags) {
    TSurface s(200, 40);
    UseClearText(s.Canvas());
    TRect r = Rect(10, 5, 190, 35);
    s.Canvas()->DrawText(text, r, flags);
    return s.InkBounds(clWhite);
  };
  TRect left = inkOf("Wide", DT_SINGLELINE);
  TRect right = inkOf("Wide", DT_SINGLELINE | DT_RIGHT);
  TRect centre = inkOf("Wide", DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  TRect bottom = inkOf("Wide", DT_SINGLELINE | DT_BOTTOM);
  EXPECT_LE(right.Right, 190);
  EXPECT_GT(right.Right, 185);
  EXPECT_LE(std::abs((right.Left - left.Left) - 2 * (centre.Left - left.Left)), 1);
  EXPECT_EQ(centre.Top - left.Top, (30 - 14) / 2);
  EXPECT_EQ(bottom.Top - left.Top, 30 - 14);
  // "&F" underlines the F: the prefixed text has ink below the plain text's.
  TRect plain = inkOf("File", DT_SINGLELINE);
  TRect prefixed = inkOf("&File", DT_SINGLELINE);
  TRect hidden = inkOf("&File", DT_SINGLELINE | DT_HIDEPREFIX);
  EXPECT_GT(prefixed.Bottom, plain.Bottom);
  EXPECT_EQ(hidden, plain);
  EXPECT_GT(inkOf("&File", DT_SINGLELINE | DT_NOPREFIX).Right, plain.Right);
}

TEST(Text, LayoutCacheStaysBounded) {
  TObjectPtr<TCanvas> c = MakeObject<TCanvas>();
  for (int i = 0; i < 5000; ++i) c->TextWidth("cell " + std::to_string(i));
  EXPECT_LE(detail::CachedLayoutCount(), 4096u);
  EXPECT_EQ(c->TextWidth("cell 1"), c->TextWidth("cell 2"));
}

namespace {

// The text sample behind the golden image: faces, styles, prefixes,
// ellipsis and wrapping, on a light background.
void DrawSample(TCanvas* c) {
  c->Brush()->SetColor(clBtnFace);
  c->FillRect(Rect(0, 0, 360, 200));
  c->Brush()->SetStyle(bsClear);
  UseFont(c, "Tahoma", 8);
  c->TextOut(4, 4, "Tahoma 8: The quick brown fox jumps over the lazy dog");
  UseFont(c, "Times New Roman", 11, {fsItalic});
  c->TextOut(4, 22, "Times New Roman italic 11");
  UseFont(c, "Courier New", 10, {fsBold});
  c->TextOut(4, 44, "Courier New bold 10");
  UseFont(c, "Arial", 9, {fsUnderline, fsStrikeOut});
  c->Font()->SetColor(clNavy);
  c->TextOut(4, 64, "Arial underline strike");
  UseFont(c, "MS Sans Serif", 8);
  c->Font()->SetColor(clWindowText);
  TRect r = Rect(4, 86, 120, 116);
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(clWindow);
  c->FillRect(r);
  c->DrawText("Word-wrapped text with an end ellipsis on the last visible line", r,
              DT_WORDBREAK | DT_EDITCONTROL | DT_END_ELLIPSIS);
  TRect p = Rect(130, 86, 350, 104);
  c->Brush()->SetColor(clInfoBk);
  c->DrawText("&File && E&xit", p, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  TRect e = Rect(130, 110, 200, 128);
  c->DrawText("Castellanos von Testhausen", e, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  UseFont(c, "Tahoma", 9, {fsBold});
  c->Font()->SetColor(clHighlightText);
  c->Brush()->SetColor(clHighlight);
  c->TextOut(4, 124, "Selected cell 12,345.67");
  UseFont(c, "Tahoma", 8);
  c->Font()->SetColor(clGrayText);
  c->Brush()->SetStyle(bsClear);
  c->TextOut(4, 146, "Unicode: Grüße, naïve café, 1 € ≈ ¥");
  TRect w = Rect(200, 130, 356, 196);
  c->Font()->SetColor(clWindowText);
  c->DrawText("Right aligned\nsecond line\r\nthird", w, DT_RIGHT | DT_NOPREFIX);
}

std::vector<std::uint32_t> PixelsOf(TBitmap* b) {
  std::vector<std::uint32_t> v;
  for (Integer y = 0; y < b->Height(); ++y)
    for (Integer x = 0; x < b->Width(); ++x) v.push_back(b->ScanLine(y)[x] & 0xFFFFFF);
  return v;
}

}  // namespace

TEST(Text, GoldenSampleIsPixelExact) {
  TSurface a(360, 200), b(360, 200);
  DrawSample(a.Canvas());
  DrawSample(b.Canvas());
  ASSERT_EQ(a.Snapshot(), b.Snapshot());  // deterministic within a run
  const String golden = String(BV_GRAPHICS_GOLDEN_DIR) + "/text_sample.png";
  if (std::getenv("BV_UPDATE_GOLDEN")) a.Bitmap()->SaveToPngFile(golden);
  TObjectPtr<TBitmap> expected = MakeObject<TBitmap>();
  ASSERT_NO_THROW(expected->LoadFromFile(golden))
      << "missing " << golden << " (BV_UPDATE_GOLDEN=1 writes it)";
  ASSERT_EQ(expected->Width(), 360);
  ASSERT_EQ(expected->Height(), 200);
  EXPECT_TRUE(PixelsOf(expected.get()) == a.Snapshot())
      << "the text sample differs from " << golden;
}

// Text painted again through the kept ink of its lines (a canvas clipped by
// one rectangle) leaves exactly the pixels of the full renderer (used under
// a clip of several rectangles), over a background of many colours and in
// every colour, cut by the drawing rectangle or not.
TEST(Text, KeptInkPaintsTheRenderersPixels) {
  struct TInkRow {
    const char* name;   // what the row covers
    const char* text;   // drawn text (UTF-8)
    const char* font;   // font name
    Integer size;       // points
    TFontStyles style;  // font style
    TColor color;       // text colour
    TRect rect;         // the drawing rectangle
    Cardinal format;    // DrawText flags
  };
  const Cardinal line = DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER;
  const TInkRow rows[] = {
      {"plain cell",
       "Hieronymus Ivanovska von",
       "DejaVu Sans",
       9,
       {},
       clBlack,
       Rect(4, 4, 300, 24),
       line},
      {"kerned pairs", "AVATAR Tw.Yo LT WAVE", "Tahoma", 14, {}, clNavy, Rect(2, 2, 300, 40), line},
      {"right aligned",
       "1,234,567.89",
       "DejaVu Sans",
       9,
       {},
       clMaroon,
       Rect(4, 4, 200, 24),
       line | DT_RIGHT},
      {"italic overlaps",
       "ffi fj Wolf//",
       "Times New Roman",
       16,
       {fsItalic},
       clGreen,
       Rect(3, 3, 300, 40),
       line},
      {"bold", "Constance Dubrovnik", "Arial", 10, {fsBold}, clPurple, Rect(5, 5, 300, 30), line},
      {"accents and marks",
       "\xC3\xA9t\xC3\xA9 e\xCC\x81\xCC\x81 \xC3\x85ngstr\xC3\xB6m",
       "DejaVu Sans",
       11,
       {},
       clTeal,
       Rect(4, 4, 300, 30),
       line},
      {"cut with an ellipsis",
       "Bartholomew Castellanos von Testhausen",
       "DejaVu Sans",
       9,
       {},
       clBlack,
       Rect(4, 4, 120, 24),
       line | DT_END_ELLIPSIS},
      {"cut by the rectangle",
       "Guinevere Hallstrom",
       "DejaVu Sans",
       12,
       {},
       clRed,
       Rect(7, 9, 61, 19),
       DT_NOPREFIX},
      {"wrapped lines",
       "open closed EUR USD Oslo Lima high low",
       "DejaVu Sans",
       9,
       {},
       clBlue,
       Rect(4, 4, 90, 60),
       DT_WORDBREAK | DT_NOPREFIX},
      {"white on colours",
       "n/a ok A-12 B-7",
       "DejaVu Sans",
       9,
       {},
       clWhite,
       Rect(4, 4, 200, 24),
       line},
  };
  for (const TInkRow& row : rows) {
    auto draw = [&](bool oneRectangle) {
      TSurface s(320, 64);
      test::FillPattern(s.Bitmap());
      TCanvas* c = s.Canvas();
      UseFont(c, row.font, row.size, row.style);
      c->Font()->SetColor(row.color);
      c->Brush()->SetStyle(bsClear);
      TRegion clip(Rect(0, 0, 320, 64));
      if (!oneRectangle) clip.Subtract(Rect(0, 0, 1, 1));
      c->SelectClipRegion(clip);
      TRect r = row.rect;
      c->DrawText(row.text, r, row.format);
      return s.Snapshot();
    };
    const auto renderer = draw(false);
    EXPECT_EQ(draw(true), renderer) << row.name;
    EXPECT_EQ(draw(true), renderer) << row.name << ", painted again";
  }
}
