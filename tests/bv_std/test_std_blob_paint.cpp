// Pixels of the blob visions: pictures centred, placed, stretched and
// cropped in cells, the marked cell of a blob that is no picture, editors
// drawing their current picture (in place and standalone), a very large
// picture scaled without a second full-size allocation, and the markers of
// the drop-down text and picture visions.
#include <atomic>
#include <cstdlib>
#include <new>
#include "../bv/null_environment.h"

#include "blob_test_fixture.h"
#include "bv/column.h"
#include "bv_std/blob_visions_dropdown.h"
#include "db/field_defs.h"
#include "db/field_types.h"
#include "graphics/canvas.h"
#include "graphics/pen_brush.h"
#include "rtl/streams.h"

namespace {

// Allocations of at least g_bigSize bytes made while g_counting is on.
std::atomic<bool> g_counting{false};
std::size_t g_bigSize = 0;
std::atomic<int> g_bigAllocations{0};

}  // namespace

// The replacement pairs malloc with free throughout; the compiler's
// mismatch check sees only half of that once it inlines.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
  if (g_counting && size >= g_bigSize) ++g_bigAllocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
  return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  if (g_counting && size >= g_bigSize) ++g_bigAllocations;
  return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
  return operator new(size, tag);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
  std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
  std::free(p);
}

namespace stdtest {
namespace {

constexpr Integer kWidth = 60, kRow = 20;

class BlobPaintTest : public BlobTest {
 protected:
  void SetUp() override {
    BlobTest::SetUp();
    cell->Fields().SetVision(image.get());
    cell->Attach(data.source.get(), "Pic");
  }
  void SetPicture(const TBitmap& bitmap, Integer record = 1) {
    data.SetBytes(record, "Pic", BmpBytes(bitmap));
  }
  void PaintCells(Integer last = 0) { painter.Paint(image.get(), cell->Fields(), 0, last); }
  // Every pixel of rect has color.
  bool All(const TRect& rect, TColor color) const {
    for (Integer y = rect.Top; y < rect.Bottom; ++y)
      for (Integer x = rect.Left; x < rect.Right; ++x)
        if (painter.At(x, y) != color) return false;
    return true;
  }

  TObjectPtr<TCellConsumer> cell{Create<TCellConsumer>(nullptr)};
  TBitmapPainter painter{kWidth, kRow, 3};
  // A grid cell's picture rectangle: the cell deflated by one pixel.
  const TRect inner{1, 1, kWidth - 1, kRow - 1};
};

TEST_F(BlobPaintTest, SmallPictureIsCentredOrPlacedTopLeft) {
  SetPicture(*Solid(10, 6, clRed));
  PaintCells();
  EXPECT_TRUE(All(TRect(25, 7, 35, 13), clRed));
  EXPECT_EQ(painter.At(24, 7), clWhite);
  EXPECT_EQ(painter.At(35, 12), clWhite);
  image->SetCenter(false);
  painter.Bitmap.Canvas()->FillRect(TRect(0, 0, kWidth, kRow));
  PaintCells();
  EXPECT_TRUE(All(TRect(1, 1, 11, 7), clRed));
  EXPECT_EQ(painter.At(0, 0), clWhite);
  EXPECT_EQ(painter.At(11, 1), clWhite);
}

TEST_F(BlobPaintTest, StretchFillsTheDeflatedCell) {
  SetPicture(*Solid(3, 2, clBlue));
  image->SetStretch(true);
  PaintCells();
  EXPECT_TRUE(All(inner, clBlue));
  EXPECT_EQ(painter.At(0, 0), clWhite);
  EXPECT_EQ(painter.At(kWidth - 1, kRow - 1), clWhite);
}

TEST_F(BlobPaintTest, LargeCentredPictureShowsItsMiddle) {
  // 100 x 40 in a 58 x 18 rectangle: offsets -21 and -11 crop both sides
  // alike, so exactly the picture's (21, 11)-(79, 29) part shows.
  auto picture = Solid(100, 40, clGreen);
  picture->Canvas()->Brush()->SetColor(clRed);
  picture->Canvas()->FillRect(TRect(21, 11, 79, 29));
  SetPicture(*picture);
  PaintCells(1);  // record 2 (no picture) below stays empty
  EXPECT_TRUE(All(inner, clRed));
  EXPECT_EQ(painter.At(0, 5), clWhite);
  EXPECT_TRUE(All(TRect(0, kRow, kWidth, 2 * kRow), clWhite));
}

TEST_F(BlobPaintTest, NonPictureDrawsMarkedCellAndIsReportedOnce) {
  data.SetBytes(1, "Pic", "GIF89a, but not really");
  String truncated = BmpBytes(*Solid(30, 30, clRed));
  truncated.resize(truncated.size() - 100);
  data.SetBytes(2, "Pic", truncated);
  PaintCells(2);
  PaintCells(2);
  EXPECT_EQ(problems.size(), 2u);  // two contents, each reported once
  EXPECT_EQ(image->ReportedPictureProblems(), 2);
  for (Integer row : {0, 1}) {
    SCOPED_TRACE(row);
    EXPECT_EQ(painter.At(1, row * kRow + 1), clRed);
    EXPECT_EQ(painter.At(kWidth - 2, row * kRow + 1), clRed);
    EXPECT_EQ(painter.At(kWidth / 2, row * kRow + 1), clWhite);
  }
  EXPECT_TRUE(All(TRect(0, 2 * kRow, kWidth, 3 * kRow), clWhite));  // null: empty
}

// A dataset whose blob streams can be refused.
class TNoBlobStreams : public TMemDataSet {
 public:
  using TMemDataSet::TMemDataSet;
  std::unique_ptr<TStream> CreateBlobStream(TField* field, TBlobStreamMode mode) override {
    if (refuse) return TDataSet::CreateBlobStream(field, mode);
    return TMemDataSet::CreateBlobStream(field, mode);
  }
  bool refuse = false;
};

TEST_F(BlobPaintTest, UnreadableBlobIsMarkedNotThrown) {
  TObjectPtr<TNoBlobStreams> ds(Create<TNoBlobStreams>(nullptr));
  ds->FieldDefs()->Add("Pic", ftGraphic);
  ds->AppendRow({Null()});
  ds->Open();
  ds->Edit();
  TStringStream bytes(BmpBytes(*Solid(4, 4, clBlue)));
  static_cast<TBlobField*>(ds->FieldByName("Pic"))->LoadFromStream(bytes);
  ds->Post();
  ds->refuse = true;
  TObjectPtr<TDataSource> source(Create<TDataSource>(nullptr));
  source->SetDataSet(ds.get());
  cell->Attach(source.get(), "Pic");
  EXPECT_NO_THROW(PaintCells());
  EXPECT_NO_THROW(PaintCells());
  EXPECT_EQ(problems.size(), 1u);
  EXPECT_EQ(painter.At(1, 1), clRed);
}

// An editor in edit state draws its current picture, not the field's: a
// pasted picture shows at once, in place and standalone.
TEST_F(BlobPaintTest, EditorInEditStateDrawsItsCurrentPicture) {
  TObjectPtr<TtlColumn> column(Create<TtlColumn>(nullptr));
  SetPicture(*Solid(3, 3, clRed));
  image->SetStretch(true);
  Bind();
  SetClipboardBitmap(*Solid(3, 3, clBlue));
  image->EditAction(&editor, eaPaste);
  struct Row {
    const char* name;
    TtlColumn* column;
    bool inEditState;
    TRect rect;
    TColor color;
  };
  const Row rows[] = {
      {"in place, editing", column.get(), true, inner, clBlue},
      {"in place, not editing", column.get(), false, inner, clRed},
      {"standalone, editing", nullptr, true, TRect(2, 2, kWidth - 2, kRow - 2), clBlue},
      {"standalone, not editing", nullptr, false, TRect(0, 0, kWidth, kRow), clRed},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    consumer->Fields().SetColumn(row.column);
    editor.inEditState = row.inEditState;
    painter.PaintEditor(image.get(), &editor);
    EXPECT_TRUE(All(row.rect, row.color));
  }
  // The focused standalone editor frames the picture in the face colour.
  consumer->Fields().SetColumn(nullptr);
  editor.inEditState = true;
  painter.PaintEditor(image.get(), &editor);
  EXPECT_EQ(painter.At(0, 0), ColorToRGB(clBtnFace));
}

// The decoded picture is the only allocation of its size: scaling for the
// cell reads it in place.
TEST_F(BlobPaintTest, VeryLargePictureIsScaledWithOneFullSizeAllocation) {
  constexpr Integer w = 2400, h = 1600;
  auto picture = Solid(w, h, clNavy);
  picture->Canvas()->Brush()->SetColor(clYellow);
  picture->Canvas()->FillRect(TRect(w / 2, 0, w, h));
  SetPicture(*picture);
  picture.reset();
  image->SetStretch(true);
  g_bigSize = std::size_t(w) * std::size_t(h) * 4;
  g_bigAllocations = 0;
  g_counting = true;
  PaintCells();
  g_counting = false;
  EXPECT_EQ(g_bigAllocations, 1);
  EXPECT_TRUE(All(TRect(1, 1, 29, kRow - 1), clNavy));
  EXPECT_TRUE(All(TRect(31, 1, kWidth - 1, kRow - 1), clYellow));
}

// ---- markers ----

TImageList* g_markers = nullptr;

class MarkerTest : public BlobPaintTest {
 protected:
  void SetUp() override {
    BlobPaintTest::SetUp();
    markers.reset(MakeImages(16, {clRed, clLime, clBlue, clYellow}, nullptr));
    g_markers = markers.get();
    SetBlobMarkersQuery([] { return g_markers; });
  }
  void TearDown() override {
    SetBlobMarkersQuery(nullptr);
    g_markers = nullptr;
    BlobPaintTest::TearDown();
  }
  // Paints rows 0 (record 1) and 1 (record 2) of field through vision and
  // answers the centre colours.
  std::pair<TColor, TColor> Centres(TznFieldVision* vision, const String& field) {
    cell->Fields().SetVision(vision);
    cell->Attach(data.source.get(), field);
    painter.Paint(vision, cell->Fields(), 0, 1);
    return {painter.At(kWidth / 2, kRow / 2), painter.At(kWidth / 2, kRow + kRow / 2)};
  }
  TObjectPtr<TImageList> markers;
};

TEST_F(MarkerTest, TextAndPictureMarkersFollowNull) {
  data.SetBytes(1, "Text", "some text");
  SetPicture(*Solid(2, 2, clBlack));
  TObjectPtr<TTextVision> text(Create<TTextVision>(nullptr));
  TObjectPtr<TPictureVision> picture(Create<TPictureVision>(nullptr));
  EXPECT_EQ(Centres(text.get(), "Text"), std::make_pair(clRed, clLime));
  EXPECT_EQ(Centres(picture.get(), "Pic"), std::make_pair(clBlue, clYellow));
  // 16 x 16, centred: (22, 2) to (38, 18).
  EXPECT_EQ(painter.At(22, 2), clBlue);
  EXPECT_EQ(painter.At(21, 2), clWhite);
  EXPECT_EQ(painter.At(37, 17), clBlue);
  EXPECT_EQ(painter.At(38, 17), clWhite);
}

TEST_F(MarkerTest, TextVisionWritesTheTextWhenAsked) {
  data.SetBytes(1, "Text", "WWWW");
  TObjectPtr<TTextVision> text(Create<TTextVision>(nullptr));
  text->SetDisplayAs(tbmText);
  Centres(text.get(), "Text");
  Integer ink = 0, nullInk = 0;
  for (Integer y = 0; y < kRow; ++y)
    for (Integer x = 0; x < kWidth; ++x) {
      ink += painter.At(x, y) != clWhite;
      nullInk += painter.At(x, y + kRow) != clWhite;
    }
  EXPECT_GT(ink, 10);
  EXPECT_EQ(nullInk, 0);
  EXPECT_NE(painter.At(kWidth / 2, kRow / 2), clRed);  // no marker
}

// An environment that answers only its blob markers.
class TMarkersEnvironment : public test::TNullEnvironment {
 public:
  explicit TMarkersEnvironment(TImageList* markers) : markers_(markers) {}
  TImageList* BlobMarkerImages() override { return markers_; }

 private:
  TImageList* markers_;
};

TEST_F(MarkerTest, TheInstalledEnvironmentGivesTheMarkersWithoutAQuery) {
  SetBlobMarkersQuery(nullptr);
  TMarkersEnvironment env(markers.get());
  SetEnvironment(&env);
  data.SetBytes(1, "Text", "some text");
  TObjectPtr<TTextVision> text(Create<TTextVision>(nullptr));
  auto centres = Centres(text.get(), "Text");
  SetEnvironment(nullptr);
  EXPECT_EQ(centres, std::make_pair(clRed, clLime));
}

TEST_F(MarkerTest, NoMarkersWithoutTheEnvironment) {
  SetBlobMarkersQuery(nullptr);
  TObjectPtr<TPictureVision> picture(Create<TPictureVision>(nullptr));
  EXPECT_EQ(Centres(picture.get(), "Pic"), std::make_pair(clWhite, clWhite));
}

}  // namespace
}  // namespace stdtest
