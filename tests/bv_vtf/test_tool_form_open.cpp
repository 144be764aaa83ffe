// Opening and closing a non-focusable drop-down from the edit: lifting the
// panel into its background window and back, sizes, placement at screen
// edges, fonts, the failure path of OnShow, references that must lie on
// the tool form, and the frame's pixels.
#include "tool_form_test_util.h"

#include "bv_rtm/bv_errors.h"
#include "controls/wincore.h"
#include "graphics/font.h"

namespace brevant::test {

namespace {

// The edit at (20, 20) 120 x 21 on a form whose client area starts at (100, 100).
const TRect kEditOnScreen(120, 120, 240, 141);

}  // namespace

TEST_F(ToolFormTest, OpensUnderTheEditAndPutsThePanelBack) {
  LogEvents();
  Key(VK_DOWN, bmAlt);
  ASSERT_TRUE(tf->IsOpen());
  EXPECT_EQ(Log(), (std::vector<std::string>{"edit key 40", "edit open on", "vision SetToolForm on",
                                             "tf show", "tf activate"}));
  TznToolFormBG* bg = tf->Background();
  EXPECT_EQ(tf->Parent(), bg);
  EXPECT_EQ(tf->BoundsRect(), Rect(0, 0, 150, 100));
  // A sizable frame is two pixels on each side around the designed size.
  EXPECT_EQ(BgRect(), Bounds(kEditOnScreen.Left, kEditOnScreen.Bottom, 154, 104));
  EXPECT_EQ(edit->OpenToolForm(), tf);
  // A non-focusable drop-down leaves focus and activation with the edit's form.
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(GetActiveWindow(), form->WindowHandle());

  ClearLog();
  Key(VK_ESCAPE);
  EXPECT_EQ(Log(), (std::vector<std::string>{"edit key 27", "tf close", "vision SetToolForm nil",
                                             "edit open nil"}));
  EXPECT_FALSE(tf->IsOpen());
  EXPECT_FALSE(tf->Visible());
  EXPECT_EQ(tf->Parent(), pack);
  EXPECT_EQ(tf->BoundsRect(), Bounds(5, 6, 150, 100));
  EXPECT_EQ(tf->Background(), nullptr);
  EXPECT_EQ(edit->OpenToolForm(), nullptr);
  // The background form freed itself.
  Pump();
  EXPECT_EQ(tf->ComponentCount(), 0);
}

TEST_F(ToolFormTest, OpensOnlyOnceAtATime) {
  LogEvents();
  Open();
  TznToolFormBG* bg = tf->Background();
  ClearLog();
  tf->Show(vision, edit);
  EXPECT_EQ(tf->Background(), bg);
  EXPECT_TRUE(Log().empty());
  EXPECT_EQ(tf->ComponentCount(), 1);
}

TEST_F(ToolFormTest, ZeroWidthTakesTheEditWidth) {
  struct TRow {
    const char* name;  // what the row checks
    bool inGrid;       // the edit plays the in-place editor
    TRect expect;      // the background window on the screen
  };
  const TRow rows[] = {
      {"standalone edit", false, Bounds(120, 141, 120, 104)},
      {"in-place editor: two pixels wider, one to the left", true, Bounds(119, 141, 122, 104)},
  };
  tf->SetWidth(0);
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.name);
    edit->inGrid = row.inGrid;
    Open();
    ASSERT_TRUE(tf->IsOpen());
    EXPECT_EQ(BgRect(), row.expect);
    Key(VK_ESCAPE);
    EXPECT_EQ(tf->Width(), 0);
  }
}

TEST_F(ToolFormTest, PlacementAtTheScreenEdges) {
  struct TRow {
    const char* name;         // what the row checks
    TvtfPlacement placement;  // the designed placement
    TRect workArea;           // the screen's work area
    TRect expect;             // the background window on the screen
    bool opposite;            // moved to the other side of the edit
  };
  const TRow rows[] = {
      {"room below", tfpDefault, Rect(0, 0, 1280, 1024), Bounds(120, 141, 154, 104), false},
      {"bottom edge: above the edit", tfpBottomLeft, Rect(0, 0, 1280, 200),
       Bounds(120, 16, 154, 104), true},
      {"bottom right aligned", tfpBottomRight, Rect(0, 0, 1280, 1024), Bounds(86, 141, 154, 104),
       false},
      {"right centre", tfpRightCenter, Rect(0, 0, 1280, 1024), Bounds(240, 78, 154, 104), false},
      {"right edge: left of the edit", tfpRightCenter, Rect(0, 0, 300, 1024),
       Bounds(-34, 78, 154, 104), true},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.name);
    Offscreen().SetWorkArea(row.workArea);
    tf->SetPlacement(row.placement);
    Open();
    ASSERT_TRUE(tf->IsOpen());
    EXPECT_EQ(BgRect(), row.expect);
    EXPECT_EQ(tf->Background()->Opposite(), row.opposite);
    Key(VK_ESCAPE);
  }
}

// Which frame edges the user may drag: never the one facing the edit, and
// not those a fixed size forbids.
TEST_F(ToolFormTest, SizingEdgesFollowThePlacementAndOptions) {
  struct TRow {
    const char* name;                                        // what the row checks
    TvtfPlacement placement;                                 // the designed placement
    TRect workArea;                                          // the screen's work area
    TvtfOptions options;                                     // the designed options
    Integer top, bottom, left, right, topLeft, bottomRight;  // hit codes
  };
  const TRect all(0, 0, 1280, 1024);
  const TRow rows[] = {
      {"below: top edge is client",
       tfpBottomLeft,
       all,
       {},
       HTCLIENT,
       HTBOTTOM,
       HTLEFT,
       HTRIGHT,
       HTLEFT,
       HTBOTTOMRIGHT},
      {"above: bottom edge is client",
       tfpBottomLeft,
       Rect(0, 0, 1280, 200),
       {},
       HTTOP,
       HTCLIENT,
       HTLEFT,
       HTRIGHT,
       HTTOPLEFT,
       HTRIGHT},
      {"right of it: left edge is client",
       tfpRightCenter,
       all,
       {},
       HTTOP,
       HTBOTTOM,
       HTCLIENT,
       HTRIGHT,
       HTTOP,
       HTBOTTOMRIGHT},
      {"left of it: right edge is client",
       tfpRightCenter,
       Rect(0, 0, 300, 1024),
       {},
       HTTOP,
       HTBOTTOM,
       HTLEFT,
       HTCLIENT,
       HTTOPLEFT,
       HTBOTTOM},
      {"fixed height",
       tfpBottomLeft,
       all,
       {tfoFixedHeight},
       HTCLIENT,
       HTCLIENT,
       HTLEFT,
       HTRIGHT,
       HTLEFT,
       HTRIGHT},
      {"fixed width",
       tfpBottomLeft,
       all,
       {tfoFixedWidth},
       HTCLIENT,
       HTBOTTOM,
       HTCLIENT,
       HTCLIENT,
       HTCLIENT,
       HTBOTTOM},
      {"fixed size: a plain border",
       tfpBottomLeft,
       all,
       {tfoFixedWidth, tfoFixedHeight},
       HTBORDER,
       HTBORDER,
       HTBORDER,
       HTBORDER,
       HTBORDER,
       HTBORDER},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.name);
    Offscreen().SetWorkArea(row.workArea);
    tf->SetPlacement(row.placement);
    tf->SetOptions(row.options);
    Open();
    ASSERT_TRUE(tf->IsOpen());
    TznToolFormBG* bg = tf->Background();
    const TRect r = BgRect();
    const Integer mx = (r.Left + r.Right) / 2, my = (r.Top + r.Bottom) / 2;
    EXPECT_EQ(bg->SizingHitTest({mx, r.Top}), row.top);
    EXPECT_EQ(bg->SizingHitTest({mx, r.Bottom - 1}), row.bottom);
    EXPECT_EQ(bg->SizingHitTest({r.Left, my}), row.left);
    EXPECT_EQ(bg->SizingHitTest({r.Right - 1, my}), row.right);
    EXPECT_EQ(bg->SizingHitTest({r.Left, r.Top}), row.topLeft);
    EXPECT_EQ(bg->SizingHitTest({r.Right - 1, r.Bottom - 1}), row.bottomRight);
    EXPECT_EQ(bg->SizingHitTest({mx, my}), HTCLIENT);
    Key(VK_ESCAPE);
  }
}

TEST_F(ToolFormTest, DraggingAnEdgeAsksOnSizing) {
  std::vector<TznSizingInfo> asked;
  tf->OnSizing = TvtfSizingEvent::FromCallable([&](TObject*, TznSizingInfo& info) {
    asked.push_back(info);
    if (info.Width > 170) info.Width = 170;  // the handler caps the width
  });
  Open();
  const TRect r = BgRect();
  const TPoint corner(r.Right - 1, r.Bottom - 1);
  Offscreen().MouseMove(corner);
  Offscreen().MouseDown(corner);
  Offscreen().MouseMove({corner.X + 30, corner.Y + 20});
  Offscreen().MouseUp({corner.X + 30, corner.Y + 20});
  Pump();
  ASSERT_FALSE(asked.empty());
  EXPECT_EQ(asked.back().Width, 184);
  EXPECT_EQ(asked.back().Height, 124);
  EXPECT_EQ(BgRect(), Bounds(r.Left, r.Top, 170, 124));
  EXPECT_FALSE(tf->Background()->Sizing());
  // The left edge moves the left side.
  asked.clear();
  const TPoint left(r.Left, r.Top + 50);
  Offscreen().MouseMove(left);
  Offscreen().MouseDown(left);
  Offscreen().MouseMove({left.X + 10, left.Y});
  Offscreen().MouseUp({left.X + 10, left.Y});
  Pump();
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(BgRect(), Rect(r.Left + 10, r.Top, r.Left + 170, r.Top + 124));
  // The edge facing the edit does not move.
  const TRect before = BgRect();
  const TPoint top(r.Left + 60, r.Top);
  Offscreen().MouseMove(top);
  Offscreen().MouseDown(top);
  Offscreen().MouseMove({top.X, top.Y + 30});
  Offscreen().MouseUp({top.X, top.Y + 30});
  Pump();
  EXPECT_EQ(BgRect(), before);
  EXPECT_EQ(asked.size(), 1u);
}

TEST_F(ToolFormTest, FontsFollowTheEditWhileOpenAndComeBack) {
  edit->Font()->SetSize(14);
  edit->Font()->SetStyle(TFontStyles{fsBold});
  const Integer designSize = tf->Font()->Size();
  Open();
  ASSERT_TRUE(tf->IsOpen());
  EXPECT_EQ(tf->Font()->Size(), 14);
  EXPECT_EQ(tf->Font()->Style(), TFontStyles{});
  Key(VK_ESCAPE);
  EXPECT_EQ(tf->Font()->Size(), designSize);
  EXPECT_TRUE(tf->ParentFont());

  // A tool form with its own font keeps it.
  tf->Font()->SetSize(20);
  EXPECT_FALSE(tf->ParentFont());
  Open();
  EXPECT_EQ(tf->Font()->Size(), 20);
  EXPECT_EQ(tf->Background()->Font()->Size(), 20);
  Key(VK_ESCAPE);
  EXPECT_EQ(tf->Font()->Size(), 20);
  EXPECT_FALSE(tf->ParentFont());
}

// A failing OnShow leaves nothing behind: the panel is back in its parent
// with its bounds and font, the background form is gone, and the next
// opening returns the panel to the right parent.
TEST_F(ToolFormTest, FailingOnShowRestoresEverything) {
  tf->OnShow = TNotifyEvent::FromCallable([](TObject*) { throw EBVError("no content"); });
  edit->Font()->SetSize(14);
  const Integer designSize = tf->Font()->Size();
  EXPECT_THROW(tf->Show(vision, edit), EBVError);
  EXPECT_EQ(Log(), (std::vector<std::string>{"edit open on", "vision SetToolForm on",
                                             "vision SetToolForm nil", "edit open nil"}));
  EXPECT_EQ(tf->Parent(), pack);
  EXPECT_EQ(tf->BoundsRect(), Bounds(5, 6, 150, 100));
  EXPECT_EQ(tf->Font()->Size(), designSize);
  EXPECT_TRUE(tf->ParentFont());
  EXPECT_FALSE(tf->Visible());
  EXPECT_EQ(tf->Background(), nullptr);
  EXPECT_EQ(tf->ComponentCount(), 0);
  EXPECT_EQ(edit->OpenToolForm(), nullptr);

  tf->OnShow = TNotifyEvent();
  Open();
  ASSERT_TRUE(tf->IsOpen());
  Key(VK_ESCAPE);
  EXPECT_EQ(tf->Parent(), pack);
}

TEST_F(ToolFormTest, FailingAttachmentRestoresToo) {
  vision->failSetToolForm = true;
  EXPECT_THROW(tf->Show(vision, edit), EBVError);
  EXPECT_EQ(tf->Parent(), pack);
  EXPECT_EQ(tf->ComponentCount(), 0);
  EXPECT_EQ(edit->OpenToolForm(), nullptr);
  EXPECT_EQ(vision->open, nullptr);
}

TEST_F(ToolFormTest, ReferencesMustLieOnTheToolForm) {
  try {
    tf->SetActiveControl(other);
    FAIL() << "accepted a control outside";
  } catch (const EBVError& e) {
    EXPECT_EQ(e.Message(), "'Other' must be placed on 'ToolForm'");
  }
  EXPECT_EQ(tf->ActiveControl(), nullptr);
  tf->SetActiveControl(inner);
  EXPECT_EQ(tf->ActiveControl(), inner);
  inner->Free();
  EXPECT_EQ(tf->ActiveControl(), nullptr);
}

TEST_F(ToolFormTest, FreeingTheEditClosesTheDropDown) {
  LogEvents();
  Open();
  ClearLog();
  edit->Free();
  edit = nullptr;
  EXPECT_FALSE(tf->IsOpen());
  EXPECT_EQ(tf->Parent(), pack);
  EXPECT_EQ(Log(),
            (std::vector<std::string>{"tf close", "vision SetToolForm nil", "edit open nil"}));
  Pump();
  EXPECT_EQ(tf->ComponentCount(), 0);
}

TEST_F(ToolFormTest, FreeingAnOpenToolFormLeavesNoDanglingParts) {
  Open();
  ASSERT_TRUE(tf->IsOpen());
  tf->Free();
  tf = nullptr;
  EXPECT_EQ(edit->OpenToolForm(), nullptr);
  EXPECT_EQ(vision->open, nullptr);
  Pump();
  EXPECT_EQ(pack->ControlCount(), 0);
}

TEST_F(ToolFormTest, FramePixels) {
  Open();
  ASSERT_TRUE(tf->IsOpen());
  Pump();
  const TNativeWindow w = GetNativeWindow(tf->Background()->WindowHandle());
  const TColor frame = Offscreen().Pixel(w, 0, 0);
  EXPECT_EQ(frame, Offscreen().Pixel(w, 153, 103));
  EXPECT_EQ(frame, TColor(0x646464));
  EXPECT_EQ(Offscreen().Pixel(w, 1, 1), TColor(0xFFFFFF));  // the sizing frame, form colour
  EXPECT_EQ(Offscreen().Pixel(w, 2 + 18, 2 + 18), clRed);   // the probe on the tool form
}

}  // namespace brevant::test

namespace brevant::test {

// The design parent freed while the drop-down is open: closing must not put
// the panel back into a freed parent.
TEST_F(ToolFormTest, ADesignParentFreedWhileOpenIsNotReturnedTo) {
  Open();
  ASSERT_TRUE(tf->IsOpen());
  pack->Free();
  pack = nullptr;
  Key(VK_ESCAPE);
  EXPECT_FALSE(tf->IsOpen());
  EXPECT_EQ(tf->Parent(), nullptr);
  EXPECT_EQ(tf->BoundsRect(), Bounds(5, 6, 150, 100));
}

}  // namespace brevant::test

namespace brevant::test {

// The tool form's constraints hold for the background window; dragging the
// left edge past the minimum leaves the right side where it was.
TEST_F(ToolFormTest, SizingKeepsTheConstraintsOnTheDraggedSide) {
  tf->Constraints()->SetMinWidth(140);
  Open();
  const TRect r = BgRect();
  const TPoint left(r.Left, r.Top + 50);
  Offscreen().MouseMove(left);
  Offscreen().MouseDown(left);
  Offscreen().MouseMove({left.X + 40, left.Y});
  Offscreen().MouseUp({left.X + 40, left.Y});
  Pump();
  EXPECT_EQ(BgRect(), Rect(r.Right - 140, r.Top, r.Right, r.Bottom));
}

}  // namespace brevant::test
