// Columns: what each setter asks of the grid, defaults and stored
// properties in form text, copies, the sort counter, binding through the
// field list, and the footer and title texts.
#include "bv/column.h"
#include "bv/field_list.h"
#include "bv/field_vision.h"
#include "bv_rtm/child_font.h"
#include "classes/formstream.h"
#include "controls/menus.h"
#include "db/field.h"
#include "graphics/bitmap.h"
#include "grid_test_util.h"
#include "rtl/streams.h"

namespace brevant::test {
namespace {

// What a change asked of the grid, judged by what it repainted.
enum class Effect { None, Title, Column, Grid };

const char* Name(Effect e) {
  static const char* const names[] = {"none", "title", "column", "grid"};
  return names[static_cast<int>(e)];
}

class ColumnTest : public GridTest {
 protected:
  void SetUp() override {
    GridTest::SetUp();
    Build(20, 5);
    column = grid->Columns()->Items(1);
  }
  Effect Observe() {
    Pump();
    if (grid->Clips.empty()) return Effect::None;
    TRect all = grid->Clips.front();
    for (const TRect& r : grid->Clips) UnionRect(all, all, r);
    grid->Clips.clear();
    if (all == grid->ClientRect()) return Effect::Grid;
    const TtlGroupInfo* g = column->GroupInfo();
    const Integer left = grid->Columns()->GroupScreenLeft(g->Index);
    EXPECT_EQ(all.Left, left);
    EXPECT_EQ(all.Right, left + g->Width);
    return all.Bottom <= grid->TitleAreaHeight() ? Effect::Title : Effect::Column;
  }
  TtlColumn* column = nullptr;
};

// A vision and a menu that outlive the grids of the setter table.
TznFieldVision* TestVision() {
  static TznFieldVision* vision = Create<TznFieldVision>(nullptr);
  return vision;
}
TPopupMenu* TestMenu() {
  static TPopupMenu* menu = Create<TPopupMenu>(nullptr);
  return menu;
}

struct SetterCase {
  const char* name;                     // the property
  std::function<void(TtlColumn*)> set;  // a change of it
  Effect effect;                        // what the grid did
};

TEST_F(ColumnTest, EachSetterAsksTheGridForTheNarrowestUpdate) {
  const SetterCase cases[] = {
      {"SameWidth", [](TtlColumn* c) { c->SetWidth(c->Width()); }, Effect::None},
      {"FieldName", [](TtlColumn* c) { c->SetFieldName("ID"); }, Effect::Column},
      {"Vision", [](TtlColumn* c) { c->SetVision(TestVision()); }, Effect::Column},
      {"PopupMenu", [](TtlColumn* c) { c->SetPopupMenu(TestMenu()); }, Effect::None},
      {"TitleGlyph",
       [](TtlColumn* c) {
         TBitmap glyph;
         glyph.SetSize(2, 2);
         c->SetTitleGlyph(&glyph);
       },
       Effect::Column},
      {"FixedWidth", [](TtlColumn* c) { c->SetOptionsBehavior({cboFixedWidth}); }, Effect::Grid},
      {"Standalone", [](TtlColumn* c) { c->SetOptionsBehavior({cboStandalone}); }, Effect::Grid},
      {"OptionsVisual", [](TtlColumn* c) { c->SetOptionsVisual({cvoWordWrap}); }, Effect::Column},
      {"DisplayFormat", [](TtlColumn* c) { c->SetDisplayFormat("0.00"); }, Effect::Column},
      {"EditFormat", [](TtlColumn* c) { c->SetEditFormat("!"); }, Effect::None},
      {"Caption", [](TtlColumn* c) { c->SetCaption("Vendor"); }, Effect::Title},
      {"CaptionAlignment", [](TtlColumn* c) { c->SetCaptionAlignment(talCenter); }, Effect::Title},
      {"TitleState", [](TtlColumn* c) { c->SetTitleState(tsSortedUp); }, Effect::Title},
      {"TitleImageIndex", [](TtlColumn* c) { c->SetTitleImageIndex(3); }, Effect::Column},
      {"FooterText", [](TtlColumn* c) { c->SetFooterText("12"); }, Effect::Column},
      {"FooterTextAlignment", [](TtlColumn* c) { c->SetFooterTextAlignment(talCenter); },
       Effect::Column},
      {"FooterState", [](TtlColumn* c) { c->SetFooterState(fsSum); }, Effect::Column},
      {"FooterStates", [](TtlColumn* c) { c->SetFooterStates({fsSum}); }, Effect::None},
      {"FooterAttrs", [](TtlColumn* c) { c->FooterAttrs()->SetBackColor(clRed); }, Effect::Column},
      {"Tag", [](TtlColumn* c) { c->SetTag(7); }, Effect::None},
      {"ReadOnly", [](TtlColumn* c) { c->SetReadOnly(true); }, Effect::None},
      {"Color", [](TtlColumn* c) { c->SetColor(clYellow); }, Effect::Column},
      {"Alignment", [](TtlColumn* c) { c->SetAlignment(talRightJustify); }, Effect::Column},
      {"VertAlignment", [](TtlColumn* c) { c->SetVertAlignment(tlaBottom); }, Effect::Column},
      {"Font", [](TtlColumn* c) { c->Font()->SetColor(clRed); }, Effect::Column},
      {"NoDragging", [](TtlColumn* c) { c->SetOptionsBehavior({cboNoDragging}); }, Effect::None},
      // A column that is not current shows no change of selectability.
      {"NoSelecting", [](TtlColumn* c) { c->SetOptionsBehavior({cboNoSelecting}); }, Effect::None},
      {"OptionsMapping", [](TtlColumn* c) { c->SetOptionsMapping({}); }, Effect::None},
      {"Width", [](TtlColumn* c) { c->SetWidth(80); }, Effect::Grid},
      {"Fixed", [](TtlColumn* c) { c->SetFixed(cfLeft); }, Effect::Grid},
      // A column alone in its group has no other place in it.
      {"LayoutIndex", [](TtlColumn* c) { c->SetLayoutIndex(1); }, Effect::None},
      {"LayoutLevel", [](TtlColumn* c) { c->SetLayoutLevel(1); }, Effect::None},
      {"Visible", [](TtlColumn* c) { c->SetVisible(false); }, Effect::Grid},
  };
  for (const SetterCase& c : cases) {
    SCOPED_TRACE(c.name);
    Build(20, 5);
    column = grid->Columns()->Items(1);
    c.set(column);
    EXPECT_STREQ(Name(Observe()), Name(c.effect));
  }
}

TEST_F(ColumnTest, DefaultsAndValueRules) {
  TtlColumn* c = grid->Columns()->Add();
  EXPECT_EQ(c->Width(), 45);
  EXPECT_EQ(c->TitleImageIndex(), -1);
  EXPECT_EQ(c->SortOrder(), -1);
  EXPECT_EQ(c->Color(), clNone);
  EXPECT_EQ(c->FooterState(), fsNone);
  EXPECT_EQ(c->FooterStates(), (TtlFooterStates{fsAverage, fsCount, fsMax, fsMin, fsSum, fsNone}));
  EXPECT_EQ(c->OptionsMapping(), (TtlColumnOptionsMapping{cioImportCaption, cioImportDomain}));
  EXPECT_EQ(c->FooterAttrs()->BackColor(), clNone);
  EXPECT_EQ(c->FontIfAny(), nullptr);
  EXPECT_EQ(c->EffectiveVision(), DefaultVision());
  EXPECT_EQ(c->FieldList()->Column(), c);

  // Widths below 2 become 2.
  for (Integer w : {0, 1, -5}) {
    c->SetWidth(w);
    EXPECT_EQ(c->Width(), 2) << w;
  }
  // A hidden column's width is only stored; showing it lays it out.
  column->SetVisible(false);
  Pump();
  grid->Clips.clear();
  column->SetWidth(90);
  EXPECT_STREQ(Name(Observe()), "none");
  column->SetVisible(true);
  Pump();
  EXPECT_EQ(column->GroupInfo()->Width, 90);

  // Setting the footer state clears the text the application computed.
  c->SetFooterText("12");
  c->SetFooterState(fsMax);
  EXPECT_EQ(c->FooterText(), "");
  // Glyph and image index: the last one set wins.
  c->SetTitleImageIndex(3);
  TBitmap glyph;
  glyph.SetSize(4, 4);
  c->SetTitleGlyph(&glyph);
  EXPECT_EQ(c->TitleImageIndex(), -1);
  EXPECT_TRUE(c->IsTitleGlyphStored());
  c->SetTitleImageIndex(2);
  EXPECT_FALSE(c->IsTitleGlyphStored());
  // The title height makes room for a picture.
  const Integer text = c->CalcTitleHeight(1, 4);
  EXPECT_GT(text, 4);
  TBitmap tall;
  tall.SetSize(4, text + 10);
  c->SetTitleGlyph(&tall);
  EXPECT_EQ(c->CalcTitleHeight(1, 4), text + 12);
  EXPECT_EQ(c->CalcTitleHeight(3, 4), std::max(text + 12, 4 + 3 * (text - 4)));
  c->SetTitleGlyph(nullptr);
  EXPECT_EQ(c->CalcTitleHeight(1, 4), text);
  // A column that may not be selected is never current.
  EXPECT_TRUE(c->IsSelectable());
  c->SetOptionsBehavior({cboNoSelecting});
  EXPECT_FALSE(c->IsSelectable());
  grid->SelectColumn(1);
  column->SetOptionsBehavior({cboNoSelecting});
  EXPECT_EQ(grid->CurrentColumn(), 0);
}

TEST_F(ColumnTest, BindsThroughItsFieldList) {
  EXPECT_EQ(column->Field(), ds->FieldByName("Name"));
  EXPECT_EQ(column->FieldList()->MainField(), column->Field());
  EXPECT_TRUE(column->FieldList()->Active());
  EXPECT_EQ(column->FieldList()->DataLink(), grid->DataLink());
  EXPECT_EQ(column->EffectiveCaption(), "Name");
  column->SetCaption("Vendor");
  EXPECT_EQ(column->EffectiveCaption(), "Vendor");
  column->SetAlignment(talRightJustify);
  EXPECT_EQ(column->FieldList()->Alignment(), taRightJustify);
  column->SetVertAlignment(tlaBottom);
  EXPECT_EQ(column->FieldList()->Layout(), tlBottom);
  // The grid's Attrs reach the field lists, now and for columns to come.
  grid->SetAttrs("key=1");
  EXPECT_EQ(column->FieldList()->Attrs(), "key=1");
  EXPECT_EQ(grid->Columns()->Add()->FieldList()->Attrs(), "key=1");
  column->SetFieldName("Nope");
  EXPECT_EQ(column->Field(), nullptr);
  EXPECT_FALSE(column->FieldList()->Active());
  column->SetFieldName("ID");
  EXPECT_TRUE(column->FieldList()->Active());
  ds->Close();  // the link goes inactive
  EXPECT_FALSE(column->FieldList()->Active());
  EXPECT_EQ(column->Field(), nullptr);

  // A vision freed while a column uses it leaves the column on the default.
  auto* vision = Create<TznFieldVision>(form);
  column->SetVision(vision);
  EXPECT_EQ(column->EffectiveVision(), vision);
  TObject::Free(vision);
  EXPECT_EQ(column->Vision(), nullptr);
  EXPECT_EQ(column->EffectiveVision(), DefaultVision());
  // So is a freed popup menu.
  auto* menu = Create<TPopupMenu>(form);
  column->SetPopupMenu(menu);
  TObject::Free(menu);
  EXPECT_EQ(column->PopupMenu(), nullptr);
}

TEST_F(ColumnTest, TheVisionAndTheGridDecideOnEditing) {
  struct {
    const char* name;
    bool visionAllows, gridAllows;
    bool result;
    Integer gridAsked;
  } const rows[] = {
      {"Both", true, true, true, 1},
      {"GridRefuses", true, false, false, 1},
      {"VisionRefuses", false, true, false, 0},
  };
  auto* vision = Create<TznFieldVision>(form);
  column->SetVision(vision);
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    Integer asked = 0;
    vision->BeforeEdit = TfvBeforeEditEvent::FromCallable(
        [&](TObject*, TtlFieldList*, bool& doEdit) { doEdit = r.visionAllows; });
    grid->BeforeFieldEdit =
        TtlBeforeFieldEditEvent::FromCallable([&](TObject*, TtlColumn* c, bool& doEdit) {
          EXPECT_EQ(c, column);
          EXPECT_TRUE(doEdit);
          ++asked;
          doEdit = r.gridAllows;
        });
    EXPECT_EQ(column->CanStartEdit(), r.result);
    EXPECT_EQ(asked, r.gridAsked);
  }
  // Read-only on either side stops modifying.
  EXPECT_TRUE(column->CanModify());
  grid->SetReadOnly(true);
  EXPECT_FALSE(column->CanModify());
  grid->SetReadOnly(false);
  column->SetReadOnly(true);
  EXPECT_FALSE(column->CanModify());
  // A post reports to the grid with no post code and no action.
  Integer posted = 0;
  grid->AfterFieldPost = TtlAfterFieldPostEvent::FromCallable(
      [&](TObject*, TtlColumn* c, TtlFieldPostCode code, TtlFieldEditAction& action) {
        EXPECT_EQ(c, column);
        EXPECT_EQ(code, fpcNone);
        EXPECT_EQ(action, feaNone);
        ++posted;
      });
  column->ValuePosted();
  EXPECT_EQ(posted, 1);
  column->SetVision(nullptr);
  TObject::Free(vision);
}

TEST_F(ColumnTest, SortOrdersFollowTheGridsCounter) {
  TtlColumn* first = grid->Columns()->Items(0);
  first->SetTitleState(tsSortedUp);
  column->SetTitleState(tsSortedDown);
  EXPECT_LT(first->SortOrder(), column->SortOrder());
  column->SetTitleState(tsSortedUp);  // between sorted states: kept
  EXPECT_EQ(column->SortOrder(), first->SortOrder() + 1);
  first->SetTitleState(tsSortedNone);
  EXPECT_EQ(first->SortOrder(), -1);

  // Exclusive user changes clear the others and notify.
  Integer notified = 0;
  grid->OnTitleStateChange = TtlColumnEvent::FromCallable([&](TObject*, TtlColumn* c) {
    EXPECT_EQ(c, first);
    ++notified;
  });
  first->ChangeTitleState(tsSortedUp, true, true);
  EXPECT_EQ(column->TitleState(), tsSortedNone);
  EXPECT_EQ(notified, 1);
  first->ChangeTitleState(tsSortedUp, true, true);  // unchanged: nothing
  EXPECT_EQ(notified, 1);
}

TEST_F(ColumnTest, CopiedSortOrdersRaiseTheCounter) {
  // A column copied in (Assign, CopyFrom with the states bit) with an order
  // above the counter: a later sort still gets a higher order than every
  // order in use.
  TStringStream text(
      "object T: TDBTabulon\n  Columns = <\n    item\n      FieldName = 'ID'\n"
      "      TitleState = tsSortedUp\n      SortOrder = 8\n    end>\nend\n");
  TObjectPtr<TDBTabulon> loaded(Create<TDBTabulon>(nullptr));
  ReadComponent(text, loaded.get());
  for (Cardinal mask : {0u, cmkStates}) {
    SCOPED_TRACE(mask);
    Build(20, 5);
    grid->Columns()->Items(1)->SetTitleState(tsSortedUp);
    EXPECT_EQ(grid->Columns()->Items(1)->SortOrder(), 0);
    TtlColumn* target = grid->Columns()->Items(0);
    target->CopyFrom(loaded->Columns()->Items(0), mask);
    EXPECT_EQ(target->SortOrder(), 8);
    EXPECT_EQ(grid->SortCounter(), 8);
    grid->Columns()->Items(1)->SetTitleState(tsSortedNone);
    grid->Columns()->Items(1)->SetTitleState(tsSortedUp);
    EXPECT_EQ(grid->Columns()->Items(1)->SortOrder(), 9);
  }
}

TEST_F(ColumnTest, LoadedOrdersAreNotReusedBySortsAfterLoading) {
  TStringStream text(
      "object T: TDBTabulon\n  Columns = <\n"
      "    item\n      FieldName = 'ID'\n      TitleState = tsSortedUp\n      SortOrder = 8\n"
      "    end\n"
      "    item\n      FieldName = 'Name'\n      TitleState = tsSortedDown\n"
      "      SortOrder = 7\n      Visible = False\n    end\n"
      "    item\n      FieldName = 'Name'\n    end>\nend\n");
  TObjectPtr<TDBTabulon> loaded(Create<TDBTabulon>(nullptr));
  ReadComponent(text, loaded.get());
  EXPECT_EQ(loaded->Columns()->Items(0)->SortOrder(), 8);
  EXPECT_EQ(loaded->Columns()->Items(1)->SortOrder(), 7);
  EXPECT_EQ(loaded->SortCounter(), 8);
  TtlColumn* third = loaded->Columns()->Items(2);
  third->SetTitleState(tsSortedUp);
  EXPECT_EQ(third->SortOrder(), 9);
}

// The Columns part of a grid's form text.
String ColumnsText(TDBTabulon* grid) {
  TStringStream out("");
  WriteComponentText(out, grid);
  const String all = out.DataString();
  const size_t from = all.find("  Columns = <");
  const size_t to = all.find(">\r\n", from);
  return from == String::npos ? String() : all.substr(from, to + 3 - from);
}

TEST_F(ColumnTest, OnlyStoredPropertiesAreWrittenAndReadBack) {
  TtlColumn* plain = grid->Columns()->Items(0);
  (void)plain->Font();  // read, so it exists
  plain->Font()->SetColor(clRed);
  column->SetCaption("Händler");
  column->SetWidth(80);
  column->SetTitleState(tsSortedDown);
  column->SetFooterState(fsSum);
  column->SetFooterText("12");
  column->SetOptionsVisual({cvoNoCaption, cvoOwnerDraw});
  column->SetColor(clYellow);
  column->SetTitleImageIndex(2);
  column->SetOptionsMapping({cioImportDomain});
  column->SetVisible(false);
  TBitmap glyph;
  glyph.SetSize(3, 2);
  glyph.Canvas()->Brush()->SetColor(clRed);
  glyph.Canvas()->FillRect(TRect(0, 0, 3, 2));
  grid->Columns()->Items(0)->SetTitleGlyph(&glyph);
  // Colours are written as numbers and text as UTF-8; lines end in CR LF.
  const String expected =
      "  Columns = <\r\n"
      "    item\r\n"
      "      FieldName = 'ID'\r\n"
      "      TitleGlyph.Data = {\r\n"
      "        424D4E0000000000000036000000280000000300000002000000010018000000\r\n"
      "        000018000000C40E0000C40E000000000000000000000000FF0000FF0000FF00\r\n"
      "        00000000FF0000FF0000FF000000}\r\n"
      "      Font.Color = 255\r\n"
      "    end\r\n"
      "    item\r\n"
      "      FieldName = 'Name'\r\n"
      "      OptionsVisual = [cvoNoCaption, cvoOwnerDraw]\r\n"
      "      OptionsMapping = [cioImportDomain]\r\n"
      "      Caption = 'Händler'\r\n"
      "      TitleImageIndex = 2\r\n"
      "      TitleState = tsSortedDown\r\n"
      "      FooterText = '12'\r\n"
      "      FooterState = fsSum\r\n"
      "      Width = 80\r\n"
      "      Color = 65535\r\n"
      "      Visible = False\r\n"
      "      SortOrder = 0\r\n"
      "    end>\r\n";
  EXPECT_EQ(ColumnsText(grid), expected);

  TStringStream in("");
  WriteComponentText(in, grid);
  in.SetPosition(0);
  TObjectPtr<TDBTabulon> copy(Create<TDBTabulon>(nullptr));
  ReadComponent(in, copy.get());
  ASSERT_EQ(copy->Columns()->Count(), 2);
  EXPECT_EQ(ColumnsText(copy.get()), expected);
  TBitmap* glyphBack = copy->Columns()->Items(0)->TitleGlyphIfAny();
  ASSERT_NE(glyphBack, nullptr);
  EXPECT_EQ(glyphBack->Width(), 3);
  EXPECT_EQ(glyphBack->ScanLine(1)[2] & 0xFFFFFF, 0xFF0000u);
  TtlColumn* back = copy->Columns()->Items(1);
  EXPECT_EQ(back->Caption(), "Händler");
  EXPECT_EQ(back->SortOrder(), 0);
  EXPECT_EQ(back->FooterText(), "12");
  EXPECT_FALSE(back->Visible());
}

struct CopyCase {
  const char* name;                              // which group
  Cardinal mask;                                 // CopyFrom's mask
  std::function<bool(const TtlColumn*)> copied;  // the group arrived
};

TEST_F(ColumnTest, CopyFromCopiesTheGroupsOfItsMask) {
  const CopyCase cases[] = {
      {"Geometry", cmkGeometry,
       [](const TtlColumn* c) { return c->Width() == 99 && c->LayoutLevel() == 1; }},
      {"Visible", cmkVisible, [](const TtlColumn* c) { return !c->Visible(); }},
      {"States", cmkStates,
       [](const TtlColumn* c) {
         return c->TitleState() == tsSortedUp && c->FooterState() == fsMin;
       }},
      {"Visual", cmkVisual,
       [](const TtlColumn* c) {
         return c->Color() == clAqua && c->Alignment() == talCenter &&
                c->OptionsVisual() == TtlColumnOptionsVisual{cvoWordWrap} && c->FontIfAny() &&
                c->FontIfAny()->Color() == clGreen;
       }},
      {"FieldName", cmkFieldName, [](const TtlColumn* c) { return c->FieldName() == "ID"; }},
      {"Vision", cmkVision, [](const TtlColumn* c) { return c->Vision() != nullptr; }},
      {"Behavior", cmkBehavior,
       [](const TtlColumn* c) {
         return c->OptionsBehavior() == TtlColumnOptionsBehavior{cboNoDragging};
       }},
  };
  auto* vision = Create<TznFieldVision>(form);
  TtlColumns loose(nullptr);
  TtlColumn* source = loose.Add();
  source->SetWidth(99);
  source->SetLayoutLevel(1);
  source->SetVisible(false);
  source->SetTitleState(tsSortedUp);
  source->SetFooterState(fsMin);
  source->SetColor(clAqua);
  source->SetAlignment(talCenter);
  source->SetOptionsVisual({cvoWordWrap});
  source->Font()->SetColor(clGreen);
  source->SetFieldName("ID");
  source->SetVision(vision);
  source->SetOptionsBehavior({cboNoDragging});
  source->SetCaption("Not copied by masks");
  for (const CopyCase& c : cases) {
    SCOPED_TRACE(c.name);
    Build(20, 5);
    TtlColumn* target = grid->Columns()->Items(1);
    target->CopyFrom(source, c.mask);
    for (const CopyCase& other : cases) EXPECT_EQ(other.copied(target), &other == &c) << other.name;
    EXPECT_EQ(target->Caption(), "");
  }
  // Mask 0 is a whole Assign, which leaves formats, Fixed and VertAlignment.
  Build(20, 5);
  source->SetDisplayFormat("0.0");
  source->SetEditFormat("0");
  source->SetFixed(cfLeft);
  source->SetVertAlignment(tlaTop);
  TtlColumn* target = grid->Columns()->Items(1);
  target->CopyFrom(source, 0);
  EXPECT_EQ(target->Caption(), "Not copied by masks");
  EXPECT_EQ(target->Vision(), vision);
  EXPECT_EQ(target->DisplayFormat(), "");
  EXPECT_EQ(target->EditFormat(), "");
  EXPECT_EQ(target->Fixed(), cfNone);
  EXPECT_EQ(target->VertAlignment(), tlaDefault);
  EXPECT_EQ(target->Field(), ds->FieldByName("ID"));  // bound again
  TObject::Free(vision);
  EXPECT_EQ(source->Vision(), nullptr);
}

TEST_F(ColumnTest, FooterStatesAndTheirMarkers) {
  struct {
    const char* name;
    TtlFooterState state;
    bool noMarker;
    const char* text;
  } const rows[] = {
      {"Count", fsCount, false, "12"},         {"Sum", fsSum, false, "SUM=12"},
      {"SumWithoutMarker", fsSum, true, "12"}, {"Average", fsAverage, false, "AVG=12"},
      {"None", fsNone, false, "12"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    column->SetFooterState(r.state);
    column->SetFooterText("12");
    column->SetOptionsVisual(r.noMarker ? TtlColumnOptionsVisual{cvoNoFooterMarker}
                                        : TtlColumnOptionsVisual{});
    EXPECT_EQ(column->FooterDisplayText(), r.text);
  }
  EXPECT_EQ(FooterStateCaption(fsSum), "Sum");
  EXPECT_EQ(FooterStateCaption(fsNone), "None");

  // The footer menu's change: reported once, and repainted.
  Integer reported = 0;
  grid->OnFooterStateChange =
      TtlColumnEvent::FromCallable([&](TObject*, TtlColumn*) { ++reported; });
  column->ChangeFooterState(fsMax);
  column->ChangeFooterState(fsMax);
  EXPECT_EQ(reported, 1);
  EXPECT_EQ(column->FooterState(), fsMax);

  // A handler that frees the column: nothing touches it afterwards.
  grid->OnFooterStateChange =
      TtlColumnEvent::FromCallable([&](TObject*, TtlColumn* c) { TObject::Free(c); });
  column->ChangeFooterState(fsMin);
  EXPECT_EQ(grid->Columns()->Count(), 1);
  Pump();
}

// The left-most and right-most columns of ink (non-white pixels) in r of
// bitmap; {-1, -1} when there is none.
std::pair<Integer, Integer> InkSpan(TBitmap& bitmap, const TRect& r) {
  std::pair<Integer, Integer> span{-1, -1};
  for (Integer y = r.Top; y < r.Bottom; ++y) {
    const std::uint32_t* row = bitmap.ScanLine(y);
    for (Integer x = r.Left; x < r.Right; ++x) {
      if ((row[x] & 0xFFFFFF) == 0xFFFFFF) continue;
      if (span.first < 0 || x < span.first) span.first = x;
      span.second = std::max(span.second, x);
    }
  }
  return span;
}

TEST_F(ColumnTest, TitlesAndFootersDrawAlignedAndTellWhenClipped) {
  grid->SetShowFooters(true);
  FitRows(5);
  column->SetWidth(120);
  Pump();
  TBitmap bitmap;
  bitmap.SetSize(grid->ClientWidth(), grid->ClientHeight());
  auto clear = [&] {
    bitmap.Canvas()->Brush()->SetStyle(bsSolid);
    bitmap.Canvas()->Brush()->SetColor(clWhite);
    bitmap.Canvas()->FillRect(TRect(0, 0, bitmap.Width(), bitmap.Height()));
  };
  const TRect footer = column->FooterRect(true, false);
  ASSERT_FALSE(IsRectEmpty(footer));
  const Integer middle = (footer.Left + footer.Right) / 2;

  // No state and no text: nothing at all.
  clear();
  bool clipped = true;
  column->DrawFooter(bitmap.Canvas(), 0, &clipped);
  EXPECT_FALSE(clipped);
  EXPECT_EQ(InkSpan(bitmap, footer).first, -1);

  struct {
    const char* name;
    TznDefAlignment alignment;
    bool leftHalf, rightHalf;  // where ink is expected
  } const rows[] = {
      {"Default", talDefault, false, true},
      {"Right", talRightJustify, false, true},
      {"Left", talLeftJustify, true, false},
      {"Centre", talCenter, true, true},
  };
  column->SetFooterText("12");
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    column->SetFooterTextAlignment(r.alignment);
    clear();
    column->DrawFooter(bitmap.Canvas(), 0, &clipped);
    EXPECT_FALSE(clipped);
    const auto span = InkSpan(bitmap, footer);
    ASSERT_GE(span.first, 0);
    EXPECT_EQ(span.first < middle, r.leftHalf);
    EXPECT_EQ(span.second >= middle, r.rightHalf);
  }
  // The footer attributes' colour reaches the text.
  column->FooterAttrs()->SetFontColor(clRed);
  clear();
  column->DrawFooter(bitmap.Canvas(), 0, &clipped);
  bool red = false;
  for (Integer y = footer.Top; y < footer.Bottom; ++y)
    for (Integer x = footer.Left; x < footer.Right; ++x)
      if ((bitmap.ScanLine(y)[x] & 0xFFFFFF) == 0xFF0000) red = true;
  EXPECT_TRUE(red);
  column->FooterAttrs()->Reset();
  EXPECT_EQ(column->FooterAttrs()->FontColor(), clNone);

  // Shifted by (dx, dy): drawn that much to the left and up.
  clear();
  column->SetFooterTextAlignment(talLeftJustify);
  column->DrawFooter(bitmap.Canvas(), 0, &clipped);
  const Integer at = InkSpan(bitmap, footer).first;
  clear();
  column->DrawFooter(bitmap.Canvas(), 10, &clipped, 0);
  EXPECT_EQ(InkSpan(bitmap, TRect(0, footer.Top, footer.Right, footer.Bottom)).first, at - 10);

  // Titles: a caption that does not fit its width is clipped; hidden with
  // cvoNoCaption, yet still measured.
  const TRect title = column->TitleRect(false);
  column->SetCaption("Vendor");
  clear();
  column->DrawTitle(bitmap.Canvas(), 0, &clipped);
  EXPECT_FALSE(clipped);
  EXPECT_GE(InkSpan(bitmap, title).first, 0);
  column->SetCaption("The vendor's full registered name");
  column->DrawTitle(bitmap.Canvas(), 0, &clipped);
  EXPECT_TRUE(clipped);
  column->SetOptionsVisual({cvoNoCaption});
  clear();
  column->DrawTitle(bitmap.Canvas(), 0, &clipped);
  EXPECT_TRUE(clipped);
  EXPECT_EQ(InkSpan(bitmap, title).first, -1);

  // A hidden column draws nothing and is never clipped.
  column->SetVisible(false);
  column->DrawTitle(bitmap.Canvas(), 0, &clipped);
  EXPECT_FALSE(clipped);
  EXPECT_TRUE(IsRectEmpty(column->TitleRect(true)));
}

}  // namespace
}  // namespace brevant::test
