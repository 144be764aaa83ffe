#include <gtest/gtest.h>

#include "bv_rtm/child_font.h"
#include "bv_rtm/zn_list.h"

using namespace brevant;

namespace {
struct TFontWatcher {
  int calls = 0;
  void Changed(TChildFont*) { ++calls; }
};
}  // namespace

TEST(ChildFont, ChangesCallBackOnlyOnDifferentValues) {
  TChildFont cf;
  TFontWatcher w;
  cf.OnChange = TChildFontChangeEvent::Of<&TFontWatcher::Changed>(&w);
  cf.SetName("");
  cf.SetColor(clNone);
  EXPECT_EQ(w.calls, 0);
  cf.SetName("Mono");
  cf.SetColor(clRed);
  cf.SetStyle(TFontStyles{fsBold});
  cf.SetStyle(TFontStyles{fsBold});
  EXPECT_EQ(w.calls, 3);
  TFont f;
  f.SetName("Sans");
  f.SetColor(clBlue);
  f.SetStyle(TFontStyles{fsItalic});
  cf.Assign(&f);
  EXPECT_EQ(w.calls, 4) << "Assign calls back once";
  EXPECT_EQ(cf.Name(), "Sans");
  EXPECT_EQ(cf.Color(), clBlue);
  TChildFont other;
  other.Assign(&cf);
  EXPECT_EQ(other.Style(), TFontStyles{fsItalic});
}

TEST(ChildFont, ApplyOverlaysOnlyWhatIsSet) {
  TFont f;
  f.SetName("Sans");
  f.SetColor(clGreen);
  f.SetStyle(TFontStyles{fsItalic});
  TChildFont none;
  none.ApplyTo(f);
  EXPECT_EQ(f.Name(), "Sans");
  EXPECT_EQ(f.Color(), clGreen);
  EXPECT_EQ(f.Style(), TFontStyles{fsItalic});
  TChildFont cf;
  cf.SetColor(clRed);
  cf.SetStyle(TFontStyles{fsBold});
  cf.ApplyTo(f);
  EXPECT_EQ(f.Name(), "Sans");
  EXPECT_EQ(f.Color(), clRed);
  EXPECT_EQ(f.Style(), (TFontStyles{fsBold, fsItalic})) << "an overlay never removes a style";
}

namespace {
class TCounted : public TObject {
 public:
  explicit TCounted(int& alive) : alive_(alive) { ++alive_; }
  ~TCounted() override { --alive_; }

 private:
  int& alive_;
};
}  // namespace

TEST(ZnList, FreesOwnedItemsOnDeleteClearAndFree) {
  int alive = 0;
  auto* list = Create<TznList>(true, true);
  for (int i = 0; i < 4; ++i) list->Add(Create<TCounted>(alive));
  EXPECT_EQ(alive, 4);
  list->Delete(1);
  EXPECT_EQ(alive, 3);
  EXPECT_EQ(list->Count(), 3);
  void* kept = list->Extract(list->Items(0));
  EXPECT_EQ(alive, 3) << "an extracted item is handed back, not freed";
  list->Clear();
  EXPECT_EQ(alive, 1);
  list->Add(Create<TCounted>(alive));
  list->Free();
  EXPECT_EQ(alive, 1);
  static_cast<TObject*>(kept)->Free();
  EXPECT_EQ(alive, 0);

  TObjectPtr<TznList> raw = MakeObject<TznList>();  // raw blocks; ASan sees leaks
  EXPECT_TRUE(raw->OwnsItems());
  EXPECT_FALSE(raw->ItemsAreObjects());
  raw->Add(std::malloc(16));
  raw->Add(std::malloc(8));
  raw->Delete(0);
  EXPECT_THROW(raw->Delete(5), EListError);

  TznList notOwning(false, true);
  TCounted stays(alive);
  notOwning.Add(&stays);
  notOwning.Clear();
  EXPECT_EQ(alive, 1);
}

TEST(ZnList, FreesOwnedItemsHoweverItEnds) {
  int alive = 0;
  {
    TznList onStack(true, true);
    onStack.Add(Create<TCounted>(alive));
    onStack.Add(Create<TCounted>(alive));
  }
  EXPECT_EQ(alive, 0) << "a list on the stack";
  {
    struct THolder {
      TznList items{true, true};
    } holder;
    holder.items.Add(Create<TCounted>(alive));
  }
  EXPECT_EQ(alive, 0) << "a list held as a member";
  auto* deleted = new TznList(true, true);
  deleted->Add(Create<TCounted>(alive));
  delete deleted;
  EXPECT_EQ(alive, 0) << "a list deleted without Free";
  {
    TznList notOwning(false, true);
    TCounted stays(alive);
    notOwning.Add(&stays);
  }
  EXPECT_EQ(alive, 0) << "items it does not own are left alone";
}
