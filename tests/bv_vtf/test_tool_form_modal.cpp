// A focusable drop-down: its modal loop, keys handed back to the edit,
// editing shortcuts, clicks on the edit and its button, the background
// form's modal result, Alt+F4, and a loop that fails.
#include <algorithm>

#include "controls/test_hooks.h"
#include "controls/wincore.h"
#include "tool_form_test_util.h"

namespace brevant::test {

namespace {

bool Logged(const std::string& what) {
  return std::find(Log().begin(), Log().end(), what) != Log().end();
}

}  // namespace

class FocusableToolFormTest : public ToolFormTest {
 protected:
  void SetUp() override {
    ToolFormTest::SetUp();
    tf->SetOptions({tfoFocusable});
    tf->SetActiveControl(inner);
    LogEvents();
  }
  // Opens the drop-down; inside its loop, act runs first, then the input it
  // made is handled. Open returns once the drop-down has closed.
  void OpenWith(std::function<void()> act) {
    ScriptAction("VisionToolForm", [act](TObject*) { act(); });
    Open();
  }
};

TEST_F(FocusableToolFormTest, TakesTheFocusAndGivesItBack) {
  bool innerFocused = false, bgActive = false, editCaption = false;
  OpenWith([&] {
    innerFocused = inner->Focused();
    bgActive = GetActiveWindow() == tf->Background()->WindowHandle();
    editCaption = tf->EditForm() == form;
    Offscreen().PressKey(VK_ESCAPE);
  });
  EXPECT_TRUE(innerFocused);
  EXPECT_TRUE(bgActive);
  EXPECT_TRUE(editCaption);
  EXPECT_FALSE(tf->IsOpen());
  EXPECT_EQ(tf->Parent(), pack);
  // Escape went to the edit, which closed the drop-down discarding.
  EXPECT_TRUE(Logged("edit key 27"));
  EXPECT_FALSE(Logged("tf post changes"));
  EXPECT_EQ(GetActiveWindow(), form->WindowHandle());
  Pump();
  EXPECT_EQ(tf->ComponentCount(), 0);
}

TEST_F(FocusableToolFormTest, KeysInTheDropDown) {
  struct TRow {
    const char* name;     // what the row checks
    Word key;             // the key pressed in the drop-down
    Byte modifiers;       // bmAlt ...
    TvtfOptions options;  // besides tfoFocusable
    const char* handed;   // what the edit received ("" for nothing)
    bool posted;          // OnPostChanges ran
  };
  const TRow rows[] = {
      {"Return accepts through the edit", VK_RETURN, 0, {}, "edit key 13", true},
      {"Escape discards through the edit", VK_ESCAPE, 0, {}, "edit key 27", false},
      {"Alt+Down accepts through the edit", VK_DOWN, bmAlt, {}, "edit key 40", true},
      {"Return stays with NoAutoPost", VK_RETURN, 0, {tfoNoAutoPost}, "", false},
      {"Escape stays with NoAutoCancel", VK_ESCAPE, 0, {tfoNoAutoCancel}, "", false},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.name);
    TvtfOptions options = row.options;
    options.Include(tfoFocusable);
    tf->SetOptions(options);
    std::vector<Word> seen;
    tf->OnKeyDown =
        TKeyEvent::FromCallable([&](TObject*, Word& key, TShiftState) { seen.push_back(key); });
    bool openAfterKey = false;
    Application()->OnIdle = TIdleEvent::FromCallable([&](TObject*, bool& done) {
      done = true;
      // Once the key was handled: note whether it closed, then end the loop.
      openAfterKey = tf->IsOpen();
      if (tf->IsOpen()) tf->Background()->SetModalResult(mrCancel);
    });
    OpenWith([&] {
      tf->SetChanged(true);
      Offscreen().PressKey(row.key, row.modifiers);
    });
    Application()->OnIdle = TIdleEvent();
    EXPECT_FALSE(tf->IsOpen());
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), row.key);  // OnKeyDown saw it first
    EXPECT_EQ(openAfterKey, std::string(row.handed).empty());
    if (*row.handed) {
      EXPECT_TRUE(Logged(row.handed));
    } else {
      EXPECT_FALSE(Logged("edit key 13") || Logged("edit key 27"));
    }
    EXPECT_EQ(Logged("tf post changes"), row.posted);
    ClearLog();
    edit->SetFocus();
    Pump();
  }
}

TEST_F(FocusableToolFormTest, EditingShortcutsAndCharacters) {
  std::vector<TznEditAction> actions;
  std::u32string chars;
  tf->OnEditAction = TvtfEditActionEvent::FromCallable(
      [&](TObject*, TznEditAction action) { actions.push_back(action); });
  tf->OnKeyPress = TKeyPressEvent::FromCallable([&](TObject*, char32_t& key) {
    if (key >= U' ') chars += key;  // the shortcuts' control characters aside
  });
  OpenWith([&] {
    Offscreen().PressKey('X', bmCtrl);
    Offscreen().PressKey(VK_DELETE, bmShift);
    Offscreen().PressKey('C', bmCtrl);
    Offscreen().PressKey(VK_INSERT, bmCtrl);
    Offscreen().PressKey('V', bmCtrl);
    Offscreen().PressKey(VK_INSERT, bmShift);
    Offscreen().TypeText("ok");
    Offscreen().PressKey(VK_ESCAPE);
  });
  EXPECT_EQ(actions, (std::vector<TznEditAction>{eaCut, eaCut, eaCopy, eaCopy, eaPaste, eaPaste}));
  EXPECT_EQ(chars, U"ok");
}

TEST_F(FocusableToolFormTest, TheModalResultDecidesPosting) {
  struct TRow {
    const char* name;     // what the row checks
    TModalResult result;  // the background form's modal result
    bool changed;         // the content changed the value
    bool posted;          // OnPostChanges ran
  };
  const TRow rows[] = {
      {"OK posts even unchanged", mrOk, false, true},
      {"Cancel never posts", mrCancel, true, false},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.name);
    tf->SetOptions({tfoFocusable, tfoAlwaysPostChanges});
    OpenWith([&] {
      tf->SetChanged(row.changed);
      tf->Background()->SetModalResult(row.result);
    });
    EXPECT_FALSE(tf->IsOpen());
    EXPECT_EQ(tf->CloseResult(), row.result);
    EXPECT_EQ(Logged("tf post changes"), row.posted);
    ClearLog();
  }
}

TEST_F(FocusableToolFormTest, ClickOnTheEditsButtonOnlyCloses) {
  OpenWith([&] {
    const TPoint button = edit->ClientToScreen({edit->ClientWidth() - 5, 5});
    Offscreen().MouseMove(button);
    Offscreen().Click(button);
  });
  EXPECT_FALSE(tf->IsOpen());
  EXPECT_FALSE(Logged("edit button"));
  EXPECT_FALSE(Logged("tf post changes"));
  Pump();
  // The drop-down did not open again.
  EXPECT_FALSE(tf->IsOpen());
  EXPECT_TRUE(edit->Focused());
}

TEST_F(FocusableToolFormTest, ClickOnTheEditsText) {
  struct TRow {
    const char* name;   // what the row checks
    bool opensOnEnter;  // the vision drops down when the edit is entered
    bool reaches;       // the press reaches the edit
  };
  const TRow rows[] = {
      {"a plain edit gets the press", false, true},
      {"an edit that opens on entering does not", true, false},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.name);
    vision->dropReasons = row.opensOnEnter ? std::set<Integer>{0} : std::set<Integer>{};
    OpenWith([&] {
      const TPoint text = edit->ClientToScreen({5, 5});
      Offscreen().MouseMove(text);
      Offscreen().Click(text);
    });
    Pump();
    EXPECT_FALSE(tf->IsOpen());
    EXPECT_EQ(Logged("edit press"), row.reaches);
    ClearLog();
  }
}

TEST_F(FocusableToolFormTest, AClickOnAnotherControlOfTheFormCloses) {
  OpenWith([&] {
    const TPoint p = At(other, 5, 5);
    Offscreen().MouseMove(p);
    Offscreen().Click(p);
  });
  EXPECT_FALSE(tf->IsOpen());
  EXPECT_FALSE(Logged("tf post changes"));
  Pump();
  EXPECT_TRUE(other->Focused());
}

TEST_F(FocusableToolFormTest, AltF4ClosesTheEditsForm) {
  OpenWith([&] { Offscreen().PressKey(VK_F4, bmAlt); });
  EXPECT_FALSE(tf->IsOpen());
  EXPECT_FALSE(form->Visible());
  EXPECT_EQ(tf->Parent(), pack);
}

// A loop that fails (here: nobody ever answers it) closes the drop-down
// before the failure reaches the caller.
TEST_F(FocusableToolFormTest, AFailingLoopStillCloses) {
  EXPECT_THROW(Open(), EUnexpectedModal);
  EXPECT_FALSE(tf->IsOpen());
  EXPECT_EQ(tf->Parent(), pack);
  EXPECT_EQ(edit->OpenToolForm(), nullptr);
  EXPECT_EQ(vision->open, nullptr);
  Pump();
  EXPECT_EQ(tf->ComponentCount(), 0);
}

}  // namespace brevant::test
