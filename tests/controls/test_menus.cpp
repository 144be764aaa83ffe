// Menus: items, pop-up tracking by keyboard and mouse, shortcuts, the menu
// bar, and actions linked to items.
#include <functional>

#include "controls/actions.h"
#include "controls/edits.h"
#include "controls/forms_test_util.h"
#include "controls/menus.h"
#include "controls/wincore.h"

namespace brevant::test {

class MenusTest : public FormsTest {
 protected:
  void SetUp() override {
    FormsTest::SetUp();
    menu = Create<TPopupMenu>(form);
    menu->SetName("pm");
    open = Add(menu->Items(), "&Open", "open");
    Add(menu->Items(), "-", "");
    sub = Add(menu->Items(), "&Sort", "");
    byName = Add(sub, "By &name", "name");
    byDate = Add(sub, "By &date", "date");
    disabled = Add(menu->Items(), "&Print", "print");
    disabled->SetEnabled(false);
    save = Add(menu->Items(), "Sa&ve", "save");
    save->SetShortCut(ShortCut('S', {ssCtrl}));
    probe = AddProbe(form, "P", Rect(10, 10, 110, 80));
    probe->SetPopupMenu(menu);
    form->Show();
    Pump();
  }
  TMenuItem* Add(TMenuItem* parent, const char* caption, const char* tag) {
    auto* i = Create<TMenuItem>(form);
    i->SetCaption(caption);
    String t = tag;
    if (!t.empty())
      i->OnClick = TNotifyEvent::FromCallable([this, t](TObject*) { clicks.push_back(t); });
    parent->Add(i);
    return i;
  }
  // The open menu levels' rows, for clicking.
  static TPoint RowCenter(Integer level, Integer visibleRow) {
    auto wins = OpenMenuWindows();
    TWinControl* w = wins.at(size_t(level));
    // Rows: 2 px border pad, 8 px separators, text rows otherwise.
    (void)visibleRow;
    return w->ClientToScreen({20, 0});
  }
  TPopupMenu* menu = nullptr;
  TMenuItem *open = nullptr, *sub = nullptr, *byName = nullptr, *byDate = nullptr,
            *disabled = nullptr, *save = nullptr;
  TProbe* probe = nullptr;
  std::vector<String> clicks;
};

TEST_F(MenusTest, ItemsShortCutsAndRadioGroups) {
  EXPECT_EQ(menu->Items()->Count(), 5);
  EXPECT_TRUE(menu->Items()->Items(1)->IsLine());
  EXPECT_EQ(sub->Count(), 2);
  EXPECT_EQ(byName->Parent(), sub);
  EXPECT_EQ(byName->GetParentMenu(), menu);
  EXPECT_EQ(menu->Items()->Find("Sort"), sub);
  EXPECT_THROW(sub->Add(byName), EMenuError);  // already placed
  EXPECT_THROW(sub->Insert(5, Create<TMenuItem>(form)), EMenuError);

  EXPECT_EQ(ShortCutToText(ShortCut('S', {ssCtrl})), "Ctrl+S");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_DELETE, {ssShift})), "Shift+Del");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_F2, {})), "F2");
  EXPECT_EQ(ShortCut(VK_DELETE, {ssCtrl}), 16430);  // streamed values
  EXPECT_EQ(TextToShortCut("ctrl+shift+f5"), ShortCut(VK_F5, {ssCtrl, ssShift}));
  EXPECT_EQ(TextToShortCut("Hyper+Q"), scNone);

  byName->SetRadioItem(true);
  byDate->SetRadioItem(true);
  byName->SetChecked(true);
  byDate->SetChecked(true);
  EXPECT_FALSE(byName->Checked());
  byName->SetGroupIndex(1);
  byName->SetChecked(true);
  EXPECT_TRUE(byDate->Checked());  // another group

  // Freeing a parent frees its sub-items and detaches it.
  sub->Free();
  EXPECT_EQ(menu->Items()->Count(), 4);
  EXPECT_EQ(form->FindComponent(""), nullptr);
}

TEST_F(MenusTest, PopupIsTrackedWithTheKeyboard) {
  bool popped = false;
  menu->OnPopup = TNotifyEvent::FromCallable([&](TObject*) { popped = true; });
  // Down skips the separator, Right opens the sub-menu, Return chooses.
  ScriptAction("PopupMenu", [](TObject*) {
    ASSERT_EQ(OpenMenuWindows().size(), 1u);
    for (Word k : {VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN}) Offscreen().PressKey(k);
  });
  menu->Popup(300, 300);
  EXPECT_TRUE(popped);
  EXPECT_EQ(clicks, (std::vector<String>{"date"}));
  EXPECT_TRUE(OpenMenuWindows().empty());
  EXPECT_TRUE(form->Active());  // the menu never took the activation

  // Escape closes the sub-menu, then the menu: nothing chosen.
  ScriptAction("PopupMenu", [](TObject*) {
    for (Word k : {VK_DOWN, VK_DOWN, VK_RIGHT, VK_ESCAPE, VK_ESCAPE}) Offscreen().PressKey(k);
  });
  menu->Popup(300, 300);
  EXPECT_EQ(clicks.size(), 1u);
  // A disabled item is not chosen; an accelerator letter chooses.
  ScriptAction("PopupMenu", [](TObject*) {
    Offscreen().TypeText("p");
    Offscreen().TypeText("v");
  });
  menu->Popup(300, 300);
  EXPECT_EQ(clicks.back(), "save");
  // A value answer picks a top-level item by index.
  ScriptAnswer("PopupMenu", 0);
  menu->Popup(0, 0);
  EXPECT_EQ(clicks.back(), "open");
  EXPECT_THROW(menu->Popup(0, 0), EUnexpectedModal);
  EXPECT_TRUE(OpenMenuWindows().empty());
}

TEST_F(MenusTest, RightClickPopsUpAndTheMouseChooses) {
  // Each time the tracking loop has handled the input it got, the next step
  // of the user runs (the application's idle event).
  Integer step = 0;
  TColor selected = clNone, plain = clNone;
  TPoint topLeft;
  Application()->OnIdle = TIdleEvent::FromCallable([&](TObject*, bool&) {
    auto wins = OpenMenuWindows();
    if (wins.empty()) return;
    TWinControl* w = wins[0];
    auto rowY = [&](Integer row) {  // rows: Open, separator, Sort, Print, Save
      auto* mw = w;
      Integer rowH = (mw->ClientHeight() - 4 - 8) / 4;
      return 2 +
             (row < 2    ? row * rowH
              : row == 2 ? rowH + 8
                         : rowH + 8 + (row - 2) * rowH) +
             rowH / 2;
    };
    switch (step++) {
      case 0:
        topLeft = w->BoundsRect().TopLeft();
        Offscreen().MouseMove(w->ClientToScreen({20, rowY(0)}));
        break;
      case 1:
        selected = GetWindowPixel(w->WindowHandle(), 60, rowY(0));
        plain = GetWindowPixel(w->WindowHandle(), 60, rowY(3));
        Offscreen().MouseMove(w->ClientToScreen({20, rowY(2)}));  // opens Sort
        break;
      case 2:
        ASSERT_EQ(wins.size(), 2u);
        Offscreen().Click(wins[1]->ClientToScreen({20, 8}));  // By name
        break;
      default:
        Offscreen().Click({5, 5});
        break;
    }
  });
  // The user drives the menu: the scripted action only lets it run.
  ScriptAction("PopupMenu", [](TObject*) {});
  ScriptAction("PopupMenu", [](TObject*) {});
  ClickAt(probe->ClientToScreen({30, 30}));
  Offscreen().Click(probe->ClientToScreen({30, 30}), bbRight);
  Pump();
  EXPECT_EQ(menu->PopupComponent(), probe);
  EXPECT_EQ(topLeft, probe->ClientToScreen({30, 30}));
  EXPECT_EQ(selected, ColorToRGB(clHighlight));
  EXPECT_EQ(plain, ColorToRGB(clMenu));
  EXPECT_EQ(clicks, (std::vector<String>{"name"}));
  EXPECT_TRUE(OpenMenuWindows().empty());

  // A press outside closes the menu without choosing.
  step = 3;
  menu->Popup(400, 400);
  EXPECT_EQ(clicks.size(), 1u);
  EXPECT_TRUE(OpenMenuWindows().empty());
}

TEST_F(MenusTest, ShortCutsRouteThroughPopupMenusAndTheMainMenu) {
  probe->SetFocus();
  Offscreen().PressKey('S', bmCtrl);
  Pump();
  EXPECT_EQ(clicks, (std::vector<String>{"save"}));
  // The key was consumed: the control never saw it.
  for (const auto& l : Log()) EXPECT_NE(l, "P KeyDown 83");

  auto* mm = Create<TMainMenu>(form);
  auto* file = Add(mm->Items(), "&File", "");
  auto* exit = Add(file, "E&xit", "exit");
  exit->SetShortCut(ShortCut('X', {ssAlt}));
  Add(mm->Items(), "&Help", "");
  Integer clientBefore = form->ClientHeight();
  form->SetMenu(mm);
  Pump();
  EXPECT_EQ(form->ClientHeight(), clientBefore - kMenuBarHeight);
  // The bar is painted above the client area.
  TPoint barPt = {form->ClientOrigin().X + 5, form->ClientOrigin().Y - 5};
  EXPECT_EQ(Offscreen().Pixel(Native(), barPt.X - 100, barPt.Y - 100), ColorToRGB(clMenuBar));
  Offscreen().PressKey('X', bmAlt);
  Pump();
  EXPECT_EQ(clicks.back(), "exit");
  // Alt+F opens File from the keyboard; Return chooses its first item.
  ScriptAction("PopupMenu", [](TObject*) {});
  ClearScriptedAnswers();
  Offscreen().PressKey('F', bmAlt);
  Offscreen().PressKey(VK_RETURN);
  Pump();
  EXPECT_EQ(clicks.back(), "exit");
  EXPECT_EQ(clicks.size(), 3u);
  // A click on the bar opens the menu; a click on a row chooses.
  Offscreen().Click(barPt);
  Offscreen().Click({barPt.X, barPt.Y + 5 + 2 + 10});
  Pump();
  EXPECT_EQ(clicks.size(), 4u);
  form->SetMenu(nullptr);
  Pump();
  EXPECT_EQ(form->ClientHeight(), clientBefore);
}

TEST_F(MenusTest, ActionsFollowTheLinkedPropertyRule) {
  auto* action = Create<TAction>(form);
  action->SetCaption("Refresh");
  Integer runs = 0;
  action->OnExecute = TNotifyEvent::FromCallable([&](TObject*) { ++runs; });
  auto* a = Create<TMenuItem>(form);
  auto* b = Create<TMenuItem>(form);
  a->SetAction(action);
  b->SetAction(action);
  EXPECT_EQ(a->Caption(), "Refresh");
  b->SetCaption("Reload");  // changed by hand: no longer follows
  action->SetCaption("Refresh all");
  EXPECT_EQ(a->Caption(), "Refresh all");
  EXPECT_EQ(b->Caption(), "Reload");
  action->SetEnabled(false);
  EXPECT_FALSE(a->Enabled());
  a->Click();  // disabled: nothing
  action->SetEnabled(true);
  a->Click();
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(action->ClientCount(), 2);
  action->Free();
  EXPECT_EQ(a->Action(), nullptr);
  a->Click();
  EXPECT_EQ(runs, 1);
}

// A form with a menu bar: File and Edit drop down, Help runs at once.
class MenuBarTest : public MenusTest {
 protected:
  void SetUp() override {
    MenusTest::SetUp();
    bar = Create<TMainMenu>(form);
    file = Add(bar->Items(), "&File", "");
    Add(file, "&Open", "file open");
    edit = Add(bar->Items(), "&Edit", "");
    Add(edit, "&Copy", "copy");
    help = Add(bar->Items(), "&Help", "help");
    form->SetMenu(bar);
    Pump();
  }
  void TearDown() override {
    Application()->OnIdle = nullptr;
    MenusTest::TearDown();
  }
  // A bar item's rectangle in the form's window coordinates.
  TRect BarRect(TMenuItem* item) const {
    TRect bar = form->MenuBarRect();
    for (const auto& bi : MenuBarLayout(form->Menu(), form->Canvas()))
      if (bi.Item == item) {
        TRect r = bi.Rect;
        OffsetRect(r, bar.Left, bar.Top);
        return r;
      }
    return TRect();
  }
  TPoint BarPoint(TMenuItem* item) const {
    TRect r = BarRect(item);
    return {form->Left() + (r.Left + r.Right) / 2, form->Top() + (r.Top + r.Bottom) / 2};
  }
  // The pixels of a bar item in a colour.
  Integer BarPixels(TMenuItem* item, TColor color) const {
    TRect r = BarRect(item);
    Integer n = 0;
    for (Integer y = r.Top; y < r.Bottom; ++y)
      for (Integer x = r.Left; x < r.Right; ++x)
        if (Offscreen().Pixel(Native(), x, y) == ColorToRGB(color)) ++n;
    return n;
  }
  // Runs the steps one per idle turn of the menu loop (then Escape).
  void OnIdleSteps(std::vector<std::function<void()>> steps) {
    idleSteps = std::move(steps);
    step = 0;
    Application()->OnIdle = TIdleEvent::FromCallable([this](TObject*, bool&) {
      if (step < idleSteps.size()) {
        idleSteps[step++]();
        return;
      }
      ++leftoverIdles;  // the menu was still open after the last step
      Offscreen().PressKey(VK_ESCAPE);
    });
  }
  TMainMenu* bar = nullptr;
  TMenuItem *file = nullptr, *edit = nullptr, *help = nullptr;
  std::vector<std::function<void()>> idleSteps;
  size_t step = 0;
  Integer leftoverIdles = 0;
};

TEST_F(MenuBarTest, MenuTextsStayOnTheirOwnBackground) {
  // The bar: the captions after the open item have no highlight box.
  Integer editHighlight = -1, helpHighlight = -1, fileHighlight = -1;
  OnIdleSteps({[&] {
    fileHighlight = BarPixels(file, clHighlight);
    editHighlight = BarPixels(edit, clHighlight);
    helpHighlight = BarPixels(help, clHighlight);
    Offscreen().PressKey(VK_ESCAPE);
  }});
  Offscreen().Click(BarPoint(file));
  Pump();
  EXPECT_GT(fileHighlight, 0) << "the open item is highlighted";
  EXPECT_EQ(editHighlight, 0);
  EXPECT_EQ(helpHighlight, 0);

  // A pop-up menu: the rows after a checked row have no box behind their
  // text (the check mark's colour).
  open->SetChecked(true);
  Integer plain = 0, all = 0;
  ScriptAction("PopupMenu", [&](TObject*) {
    TWinControl* w = OpenMenuWindows().at(0);
    const Integer rowH = (w->ClientHeight() - 4 - 8) / 4;  // Open, line, Sort, Print, Save
    const Integer saveMid = 2 + rowH + 8 + 2 * rowH + rowH / 2;
    for (Integer y = saveMid - 3; y <= saveMid + 3; ++y)
      for (Integer x = 27; x < 45; ++x, ++all)
        if (GetWindowPixel(w->WindowHandle(), x, y) == ColorToRGB(clMenu)) ++plain;
    Offscreen().PressKey(VK_ESCAPE);
  });
  menu->Popup(300, 300);
  EXPECT_GT(plain * 2, all) << "the text of Save lies on the menu's colour";
}

TEST_F(MenuBarTest, AnItemWithoutSubItemsOnTheBarClicksAndEndsTheLoop) {
  // Clicked on the bar.
  Offscreen().Click(BarPoint(help));
  EXPECT_NO_THROW(Pump());
  EXPECT_EQ(clicks, (std::vector<String>{"help"}));
  // By its accelerator.
  Offscreen().PressKey('H', bmAlt);
  EXPECT_NO_THROW(Pump());
  EXPECT_EQ(clicks.size(), 2u);
  // Reached from another bar menu by the pointer, then clicked.
  OnIdleSteps({[&] { Offscreen().MouseMove(BarPoint(help)); },
               [&] {
                 EXPECT_EQ(form->MenuBarHot(), help);
                 EXPECT_TRUE(OpenMenuWindows().empty());
                 Offscreen().Click(BarPoint(help));
               }});
  Offscreen().Click(BarPoint(file));
  EXPECT_NO_THROW(Pump());
  EXPECT_EQ(clicks.size(), 3u);
  EXPECT_EQ(form->MenuBarHot(), nullptr);
}

TEST_F(MenuBarTest, APressOutsideClosesTheMenuAfterSwitchingBarMenus) {
  // By the keyboard.
  OnIdleSteps({[&] { Offscreen().PressKey(VK_RIGHT); },
               [&] {
                 EXPECT_EQ(form->MenuBarHot(), edit);
                 Offscreen().Click({5, 5});
               }});
  Offscreen().Click(BarPoint(file));
  EXPECT_NO_THROW(Pump());
  EXPECT_EQ(step, 2u);
  EXPECT_EQ(leftoverIdles, 0) << "the press closed the menu";
  EXPECT_TRUE(OpenMenuWindows().empty());
  // By the pointer.
  OnIdleSteps({[&] { Offscreen().MouseMove(BarPoint(edit)); },
               [&] {
                 EXPECT_EQ(OpenMenuWindows().size(), 1u);
                 Offscreen().Click({5, 5});
               }});
  Offscreen().Click(BarPoint(file));
  EXPECT_NO_THROW(Pump());
  EXPECT_EQ(step, 2u);
  EXPECT_EQ(leftoverIdles, 0);
  EXPECT_TRUE(OpenMenuWindows().empty());
  EXPECT_TRUE(clicks.empty());
}

TEST_F(MenuBarTest, F10AndAltAloneActivateTheMenuBar) {
  probe->SetFocus();
  // F10: the first item is selected without opening; arrows move, Return
  // opens and chooses.
  OnIdleSteps({[&] {
                 EXPECT_EQ(form->MenuBarHot(), file);
                 EXPECT_TRUE(OpenMenuWindows().empty());
                 Offscreen().PressKey(VK_RIGHT);
               },
               [&] {
                 EXPECT_EQ(form->MenuBarHot(), edit);
                 EXPECT_TRUE(OpenMenuWindows().empty());
                 Offscreen().PressKey(VK_RETURN);
               },
               [&] {
                 EXPECT_EQ(OpenMenuWindows().size(), 1u);
                 Offscreen().PressKey(VK_RETURN);
               }});
  Offscreen().PressKey(VK_F10);
  EXPECT_NO_THROW(Pump());
  EXPECT_EQ(clicks, (std::vector<String>{"copy"}));
  EXPECT_EQ(form->MenuBarHot(), nullptr);

  // Alt pressed and released alone; pressed again it leaves the bar, and its
  // release does not activate it again.
  OnIdleSteps({[&] {
    EXPECT_EQ(form->MenuBarHot(), file);
    Offscreen().KeyDown(VK_MENU);
    Offscreen().KeyUp(VK_MENU);
  }});
  Offscreen().KeyDown(VK_MENU);
  Offscreen().KeyUp(VK_MENU);
  EXPECT_NO_THROW(Pump());
  EXPECT_EQ(step, 1u);
  EXPECT_EQ(form->MenuBarHot(), nullptr);
  // A letter pressed with Alt is no menu activation of its own.
  OnIdleSteps({});
  Offscreen().KeyDown(VK_MENU);
  Offscreen().PressKey('Q', bmAlt);
  Offscreen().KeyUp(VK_MENU);
  EXPECT_NO_THROW(Pump());
  EXPECT_EQ(step, 0u);
  EXPECT_EQ(clicks.size(), 1u);
}

TEST_F(MenusTest, TheContextMenuKeyAndShiftF10OpenTheFocusedControlsMenu) {
  probe->SetFocus();
  Pump();
  TPoint at{-1, -1};
  auto where = [&](TObject*) {
    at = OpenMenuWindows().at(0)->BoundsRect().TopLeft();
    Offscreen().PressKey(VK_ESCAPE);
  };
  ScriptAction("PopupMenu", where);
  Offscreen().PressKey(VK_APPS);
  Pump();
  EXPECT_EQ(at, probe->ClientToScreen({0, 0})) << "at the control's corner";
  at = {-1, -1};
  ScriptAction("PopupMenu", where);
  Offscreen().PressKey(VK_F10, bmShift);
  Pump();
  EXPECT_EQ(at, probe->ClientToScreen({0, 0}));
  EXPECT_TRUE(clicks.empty());
  // An edit's menu opens at its caret.
  auto* e = Create<TEdit>(form);
  e->SetBounds(10, 100, 150, 21);
  e->SetParent(form);
  e->SetPopupMenu(menu);
  e->SetText("some text");
  e->SetFocus();
  e->SetSelStart(4);
  Pump();
  at = {-1, -1};
  ScriptAction("PopupMenu", where);
  Offscreen().PressKey(VK_APPS);
  Pump();
  EXPECT_GT(at.X, e->ClientToScreen({10, 0}).X);
  EXPECT_GT(at.Y, e->ClientToScreen({0, 0}).Y);
  EXPECT_LE(at.Y, e->ClientToScreen({0, e->ClientHeight()}).Y);
}

}  // namespace brevant::test
