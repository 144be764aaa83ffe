// The environment's pictures: every image list has the size and the number
// of images its users index, every picture is drawn (some pixels opaque,
// some transparent, no two alike) and the directional pictures point the
// way their users expect.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "bv_env/env.h"
#include "bv_env/env_unit.h"
#include "controls/controls_test_util.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/colors.h"
#include "graphics/imagelist.h"
#include "graphics/pen_brush.h"

namespace brevant::test {
namespace {

// An image drawn on a fuchsia ground: fuchsia pixels are transparent.
class TPicture {
 public:
  TPicture(const TImageList* list, Integer index) {
    bitmap_.SetSize(list->Width(), list->Height());
    TCanvas* c = bitmap_.Canvas();
    c->Brush()->SetColor(clFuchsia);
    c->FillRect(TRect(0, 0, list->Width(), list->Height()));
    list->Draw(c, 0, 0, index);
  }
  bool Opaque(Integer x, Integer y) { return Color(x, y) != clFuchsia; }
  TColor Color(Integer x, Integer y) { return bitmap_.Canvas()->Pixels(x, y); }
  Integer OpaqueCount() {
    Integer n = 0;
    for (Integer y = 0; y < bitmap_.Height(); ++y)
      for (Integer x = 0; x < bitmap_.Width(); ++x) n += Opaque(x, y);
    return n;
  }
  Integer OpaqueInRow(Integer y) {
    Integer n = 0;
    for (Integer x = 0; x < bitmap_.Width(); ++x) n += Opaque(x, y);
    return n;
  }
  std::vector<TColor> Pixels() {
    std::vector<TColor> all;
    for (Integer y = 0; y < bitmap_.Height(); ++y)
      for (Integer x = 0; x < bitmap_.Width(); ++x) all.push_back(Color(x, y));
    return all;
  }

 private:
  TBitmap bitmap_;
};

class EnvImagesTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    InitEnvironment();
    env = BvEnv();
  }
  void TearDown() override {
    DoneEnvironment();
    ControlsTest::TearDown();
  }
  TbvEnv* env = nullptr;
};

TEST_F(EnvImagesTest, EveryListHasItsSizeAndCount) {
  struct Row {
    const char* name;
    TImageList* list;
    Integer width, height, count;
  };
  const Row rows[] = {
      {"ArrowsYwImgs", env->ArrowsYwImgs, 15, 15, 4},
      {"ArrowsGrImgs", env->ArrowsGrImgs, 15, 15, 4},
      {"TitleStateImgs", env->TitleStateImgs, 10, 9, 2},
      {"FooterStateImgs", env->FooterStateImgs, 16, 16, 5},
      {"DesigntimeImgs", env->DesigntimeImgs, 16, 16, 4},
      {"ToolbarImages", env->ToolbarImages, 16, 16, 7},
      {"BlobMarkers", env->BlobMarkers, 16, 16, 4},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ASSERT_NE(nullptr, row.list);
    EXPECT_EQ(row.name, row.list->Name());
    EXPECT_EQ(row.width, row.list->Width());
    EXPECT_EQ(row.height, row.list->Height());
    EXPECT_EQ(row.count, row.list->Count());
    std::set<std::vector<TColor>> distinct;
    for (Integer i = 0; i < row.list->Count(); ++i) {
      TPicture picture(row.list, i);
      const Integer opaque = picture.OpaqueCount();
      EXPECT_GT(opaque, 4) << "image " << i << " is drawn";
      EXPECT_LT(opaque, row.width * row.height) << "image " << i << " has a transparent ground";
      distinct.insert(picture.Pixels());
    }
    EXPECT_EQ(static_cast<size_t>(row.count), distinct.size()) << "no two images alike";
  }
}

TEST_F(EnvImagesTest, TheHookHandsOutTheLists) {
  EXPECT_EQ(env->ArrowsYwImgs, env->DragArrows(false));
  EXPECT_EQ(env->ArrowsGrImgs, env->DragArrows(true));
  EXPECT_EQ(env->TitleStateImgs, env->TitleStateImages());
  EXPECT_EQ(env->FooterStateImgs, env->FooterStateImages());
  EXPECT_EQ(env->BlobMarkers, env->BlobMarkerImages());
  EXPECT_EQ(env->ToolbarImages, env->ToolbarCommands());
}

TEST_F(EnvImagesTest, DragArrowsPointRightDownLeftAndUp) {
  struct Row {
    const char* name;
    TPoint tip, tail;  // a pixel near the point and one beside the tail
  };
  const Row rows[] = {{"right", {12, 7}, {1, 2}},
                      {"down", {7, 12}, {2, 1}},
                      {"left", {2, 7}, {13, 2}},
                      {"up", {7, 2}, {2, 13}}};
  for (TImageList* list : {env->ArrowsYwImgs, env->ArrowsGrImgs}) {
    for (Integer i = 0; i < 4; ++i) {
      SCOPED_TRACE(rows[i].name);
      TPicture arrow(list, i);
      EXPECT_TRUE(arrow.Opaque(rows[i].tip.X, rows[i].tip.Y));
      EXPECT_FALSE(arrow.Opaque(rows[i].tail.X, rows[i].tail.Y));
    }
  }
  EXPECT_EQ(clYellow, TPicture(env->ArrowsYwImgs, 0).Color(5, 7)) << "the first set is yellow";
  EXPECT_NE(clYellow, TPicture(env->ArrowsGrImgs, 0).Color(5, 7)) << "the second set is not";
}

TEST_F(EnvImagesTest, SortMarkersWidenTowardsTheirBase) {
  TPicture up(env->TitleStateImgs, 0), down(env->TitleStateImgs, 1);
  EXPECT_LT(up.OpaqueInRow(2), up.OpaqueInRow(6)) << "sorted up points up";
  EXPECT_GT(down.OpaqueInRow(2), down.OpaqueInRow(6)) << "sorted down points down";
}

}  // namespace
}  // namespace brevant::test
