// Drag and drop between controls: accept, reject, cancel, automatic mode.
#include <algorithm>

#include "backend/codes.h"
#include "controls/dragdrop.h"
#include "controls/forms_test_util.h"
#include "controls/menus.h"
#include "controls/stdctrls.h"
#include "controls/wincore.h"

namespace brevant::test {

class DragTest : public FormsTest {
 protected:
  void SetUp() override {
    FormsTest::SetUp();
    source = AddProbe(form, "Src", Rect(10, 10, 90, 60));
    target = AddProbe(form, "Dst", Rect(150, 10, 250, 90));
    target->OnDragOver = TDragOverEvent::FromCallable(
        [this](TObject*, TObject* src, Integer x, Integer, TDragState state, bool& accept) {
          events.push_back(std::string(state == dsDragEnter   ? "enter"
                                       : state == dsDragLeave ? "leave"
                                                              : "move") +
                           (src == source ? " src" : " ?"));
          accept = acceptDrops && x < 80;
        });
    target->OnDragDrop =
        TDragDropEvent::FromCallable([this](TObject*, TObject*, Integer x, Integer y) {
          events.push_back("drop " + std::to_string(x) + "," + std::to_string(y));
        });
    source->OnEndDrag = TEndDragEvent::FromCallable([this](TObject*, TObject* t, Integer, Integer) {
      events.push_back(std::string("end ") + (t ? As<TComponent>(t)->Name() : "nil"));
    });
    form->Show();
    Pump();
    Application();
  }
  void MoveTo(TControl* c, Integer x, Integer y) {
    Offscreen().MouseMove(c->ClientToScreen({x, y}));
    Pump();
  }
  TProbe* source = nullptr;
  TProbe* target = nullptr;
  bool acceptDrops = true;
  std::vector<std::string> events;
};

TEST_F(DragTest, DragBetweenControlsWithAcceptAndReject) {
  MoveTo(source, 10, 10);
  Offscreen().MouseDown(source->ClientToScreen({10, 10}));
  Pump();
  source->BeginDrag(true);
  EXPECT_TRUE(source->Dragging());
  EXPECT_TRUE(Dragging());
  MoveTo(target, 90, 10);  // over the target, refused
  EXPECT_EQ(Offscreen().CursorShape(), crNoDrop);
  MoveTo(target, 20, 30);  // accepted
  EXPECT_EQ(Offscreen().CursorShape(), crDrag);
  EXPECT_EQ(DragObject()->DragTarget(), target);
  EXPECT_EQ(DragObject()->DragTargetPos(), TPoint(20, 30));
  Offscreen().MouseUp(target->ClientToScreen({20, 30}));
  Pump();
  EXPECT_EQ(events, (std::vector<std::string>{"enter src", "move src", "move src", "move src",
                                              "drop 20,30", "end Dst"}));
  EXPECT_FALSE(Dragging());
  EXPECT_EQ(GetCapture(), 0);

  // Dropped where the target refuses: it hears leave, the source ends with nil.
  events.clear();
  source->BeginDrag(true);
  MoveTo(target, 90, 10);
  Offscreen().MouseUp(target->ClientToScreen({90, 10}));
  Pump();
  EXPECT_EQ(events.back(), "end nil");
  EXPECT_EQ(events[events.size() - 2], "leave src");
  // Over empty form space nothing accepts.
  MoveTo(form, 120, 150);
  events.clear();
  source->BeginDrag(true);
  MoveTo(form, 120, 150);
  EXPECT_EQ(Offscreen().CursorShape(), crNoDrop);
  Offscreen().MouseUp(form->ClientToScreen({120, 150}));
  Pump();
  EXPECT_EQ(events, (std::vector<std::string>{"end nil"}));
}

TEST_F(DragTest, EscapeAndRightClickCancelAutomaticModeWaitsForThreshold) {
  source->BeginDrag(true);
  MoveTo(target, 20, 20);
  Offscreen().PressKey(VK_ESCAPE);
  Pump();
  EXPECT_FALSE(Dragging());
  EXPECT_EQ(events.back(), "end nil");
  EXPECT_EQ(events[events.size() - 2], "leave src");
  for (const auto& l : Log()) EXPECT_NE(l, "Dst KeyDown 27");  // the key went to the drag

  events.clear();
  source->BeginDrag(true);
  MoveTo(target, 20, 20);
  Offscreen().Click(target->ClientToScreen({20, 20}), bbRight);
  Pump();
  EXPECT_FALSE(Dragging());
  EXPECT_EQ(events.back(), "end nil");

  // dmAutomatic: a press arms the drag; a small move is not yet a drag, a
  // release before the threshold is a click.
  source->SetDragMode(dmAutomatic);
  ClearLog();
  events.clear();
  MoveTo(source, 10, 10);
  Offscreen().MouseDown(source->ClientToScreen({10, 10}));
  Pump();
  MoveTo(source, 12, 11);
  EXPECT_FALSE(Dragging());
  Offscreen().MouseUp(source->ClientToScreen({12, 11}));
  Pump();
  EXPECT_FALSE(Dragging());
  EXPECT_NE(std::find(Log().begin(), Log().end(), "Src Click"), Log().end());
  Offscreen().Advance(1000);  // not a double click
  Offscreen().MouseDown(source->ClientToScreen({10, 10}));
  Pump();
  MoveTo(source, 30, 10);
  EXPECT_TRUE(Dragging());
  MoveTo(target, 10, 10);
  Offscreen().MouseUp(target->ClientToScreen({10, 10}));
  Pump();
  EXPECT_EQ(events.back(), "end Dst");
}

TEST_F(DragTest, ARightClickThatCancelsADragOnlyCancels) {
  auto* menu = Create<TPopupMenu>(form);
  menu->SetName("TargetMenu");
  auto* item = Create<TMenuItem>(form);
  item->SetCaption("Item");
  menu->Items()->Add(item);
  target->SetPopupMenu(menu);
  source->BeginDrag(true);
  MoveTo(target, 20, 20);
  Offscreen().Click(target->ClientToScreen({20, 20}), bbRight);
  EXPECT_NO_THROW(Pump());
  EXPECT_FALSE(Dragging());
  EXPECT_EQ(events.back(), "end nil");
  EXPECT_TRUE(ModalLog().empty()) << "no pop-up menu";
  // The next right click is an ordinary one.
  ScriptAnswer("PopupMenu", -1);
  Offscreen().Click(target->ClientToScreen({20, 20}), bbRight);
  Pump();
  EXPECT_EQ(ModalLog(), (std::vector<String>{"PopupMenu: TargetMenu"}));
}

TEST_F(DragTest, AButtonThatStartsADragShowsUpAgainAfterTheDrop) {
  auto* button = Create<TButton>(form);
  button->SetBounds(10, 100, 75, 25);
  button->SetParent(form);
  button->SetDragMode(dmAutomatic);
  Integer clicks = 0;
  button->OnClick = TNotifyEvent::FromCallable([&](TObject*) { ++clicks; });
  Pump();
  MoveTo(button, 10, 10);
  Offscreen().MouseDown(button->ClientToScreen({10, 10}));
  Pump();
  EXPECT_TRUE(button->Pressed());
  MoveTo(button, 40, 10);
  EXPECT_TRUE(Dragging());
  MoveTo(target, 10, 10);
  Offscreen().MouseUp(target->ClientToScreen({10, 10}));
  Pump();
  EXPECT_FALSE(Dragging());
  EXPECT_FALSE(button->Pressed());
  EXPECT_EQ(clicks, 0);
  // Moving over it again shows no press; a click clicks once.
  MoveTo(button, 20, 10);
  EXPECT_FALSE(button->Pressed());
  Offscreen().Advance(1000);
  Offscreen().Click(button->ClientToScreen({20, 10}));
  Pump();
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(button->Pressed());
}

namespace {
class TImageSource : public TProbe {
 public:
  using TProbe::TProbe;
  TDragImageList* Images = nullptr;
  TDragImageList* GetDragImages() override { return Images; }
};
}  // namespace

TEST_F(DragTest, DragImagesFollowThePointer) {
  auto* src = Create<TImageSource>(form);
  src->SetName("Img");
  src->SetBounds(10, 100, 60, 40);
  src->SetParent(form);
  src->SetControlStyle(src->ControlStyle() + csDisplayDragImage);
  auto* images = Create<TDragImageList>(form);
  images->SetWidth(16);
  images->SetHeight(16);
  src->Images = images;
  images->SetDragImage(0, 8, 8);
  src->BeginDrag(true);
  ASSERT_NE(images->DragImageWindow(), nullptr);
  MoveTo(target, 20, 20);
  TPoint at = target->ClientToScreen({20, 20});
  EXPECT_EQ(images->DragImageWindow()->BoundsRect().TopLeft(), TPoint(at.X - 8, at.Y - 8));
  // The image does not hide the target from the drag.
  EXPECT_EQ(DragObject()->DragTarget(), target);
  Offscreen().MouseUp(at);
  Pump();
  EXPECT_EQ(images->DragImageWindow(), nullptr);
}

}  // namespace brevant::test
