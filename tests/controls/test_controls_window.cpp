// Windows of controls: handles and re-parenting, geometry and alignment,
// painting, loading, recreation and the published tables.
#include <algorithm>

#include "classes/typinfo.h"
#include "controls/actions.h"
#include "controls/controls_test_util.h"
#include "controls/wincore.h"

namespace brevant::test {

namespace {
bool HasProp(TClass c, const char* name) {
  auto list = GetPropList(c);
  return std::any_of(list.begin(), list.end(), [&](const TPropInfo* p) { return p->Name == name; });
}
}  // namespace

TEST_F(ControlsTest, HandlesFollowTheParentAndMoveWithReparenting) {
  TProbe* a = AddProbe(form, "A", Bounds(10, 10, 50, 40));
  EXPECT_FALSE(a->HandleAllocated());  // the form has no window yet
  // A child without a parent window cannot have one.
  auto* orphan = Create<TProbe>(form);
  EXPECT_THROW(orphan->HandleNeeded(), EInvalidOperation);

  a->HandleNeeded();  // creates the form's window first
  ASSERT_TRUE(form->HandleAllocated());
  ASSERT_TRUE(a->HandleAllocated());
  EXPECT_EQ(GetParent(a->WindowHandle()), form->WindowHandle());
  EXPECT_EQ(GetWindowProc(a->WindowHandle()), static_cast<IWindowProc*>(a));
  EXPECT_EQ(FindControl(a->WindowHandle()), a);

  // Placed on a parent that has a window: created at once, with its style.
  TProbe* p1 = AddProbe(form, "P1", Bounds(100, 0, 100, 100));
  TProbe* p2 = AddProbe(form, "P2", Bounds(200, 0, 100, 100));
  ASSERT_TRUE(p1->HandleAllocated());
  EXPECT_TRUE(GetWindowLong(p1->WindowHandle(), GWL_STYLE) & WS_TABSTOP);
  EXPECT_TRUE(GetClassStyle(p1->WindowHandle()) & CS_DBLCLKS);

  // Re-parenting at run time keeps the window and its position.
  HWND h = a->WindowHandle();
  a->SetParent(p1);
  EXPECT_EQ(a->WindowHandle(), h);
  EXPECT_EQ(GetParent(h), p1->WindowHandle());
  EXPECT_EQ(a->BoundsRect(), Bounds(10, 10, 50, 40));
  EXPECT_EQ(p1->ControlCount(), 1);
  EXPECT_EQ(form->ControlCount(), 2);  // P1, P2; the orphan has no parent
  a->SetParent(p2);
  EXPECT_EQ(GetParent(h), p2->WindowHandle());
  EXPECT_EQ(a->ClientOrigin(), Point(100 + 200 + 10, 100 + 0 + 10));

  // A parent cycle is refused.
  EXPECT_THROW(p2->SetParent(a), EInvalidOperation);
  EXPECT_THROW(p2->SetParent(p2), EInvalidOperation);

  // Without a parent the window goes; with one again it comes back.
  a->SetParent(nullptr);
  EXPECT_FALSE(a->HandleAllocated());
  EXPECT_FALSE(IsWindow(h));
  a->SetParent(form);
  EXPECT_TRUE(a->HandleAllocated());

  // Freeing a parent frees its children and their windows.
  HWND p2h = p2->WindowHandle();
  a->SetParent(p2);
  HWND ah = a->WindowHandle();
  p2->Free();
  EXPECT_FALSE(IsWindow(p2h));
  EXPECT_FALSE(IsWindow(ah));
  EXPECT_EQ(form->FindComponent("A"), nullptr);
  EXPECT_EQ(form->ControlCount(), 1);
}

TEST_F(ControlsTest, BoundsClientAreaAndScreenMapping) {
  form->HandleNeeded();
  TProbe* edge = Create<TProbe>(form);
  edge->SetName("Edge");
  edge->ClientEdge = true;
  edge->SetBounds(20, 30, 100, 50);
  edge->SetParent(form);
  ASSERT_TRUE(edge->HandleAllocated());
  // The client edge is known from the first message on.
  EXPECT_EQ(edge->ClientRect(), Rect(0, 0, 96, 46));
  EXPECT_EQ(edge->ClientWidth(), 96);
  edge->SetClientWidth(60);
  EXPECT_EQ(edge->Width(), 64);
  edge->SetClientHeight(10);
  EXPECT_EQ(edge->Height(), 14);
  EXPECT_EQ(edge->ClientToScreen({0, 0}), Point(100 + 20 + 2, 100 + 30 + 2));
  EXPECT_EQ(edge->ScreenToClient({122, 132}), Point(0, 0));

  // Negative sizes become empty; constraints limit sizes.
  edge->SetBounds(0, 0, -5, -5);
  EXPECT_EQ(edge->Width(), 0);
  edge->Constraints()->SetMaxWidth(80);
  edge->Constraints()->SetMinHeight(20);
  edge->SetBounds(0, 0, 200, 5);
  EXPECT_EQ(edge->BoundsRect(), Rect(0, 0, 80, 20));
  EXPECT_EQ(GetWindowRect(edge->WindowHandle()), Bounds(100, 100, 80, 20));

  // A graphic control maps through its parent.
  auto* shape = Create<TProbeShape>(form);
  shape->SetBounds(5, 6, 10, 10);
  shape->SetParent(edge);
  EXPECT_EQ(shape->ClientToScreen({1, 1}), Point(100 + 2 + 5 + 1, 100 + 2 + 6 + 1));
  EXPECT_EQ(shape->ClientRect(), Rect(0, 0, 10, 10));
}

TEST_F(ControlsTest, AlignmentAndAnchorsFollowTheParent) {
  form->HandleNeeded();
  ASSERT_EQ(form->ClientRect(), Rect(0, 0, 300, 200));
  TProbe* top = AddProbe(form, "Top", Bounds(0, 0, 10, 20));
  TProbe* bottom = AddProbe(form, "Bottom", Bounds(0, 0, 10, 30));
  TProbe* left = AddProbe(form, "Left", Bounds(0, 0, 40, 10));
  TProbe* client = AddProbe(form, "Client", Bounds(0, 0, 1, 1));
  TProbe* top2 = AddProbe(form, "Top2", Bounds(0, 50, 10, 15));
  TProbe* anchored = AddProbe(form, "Anchored", Bounds(250, 10, 40, 10));
  anchored->SetAnchors({akRight, akBottom});
  TProbe* stretched = AddProbe(form, "Stretched", Bounds(100, 100, 50, 50));
  stretched->SetAnchors({akLeft, akTop, akRight, akBottom});
  top->SetAlign(alTop);
  bottom->SetAlign(alBottom);
  left->SetAlign(alLeft);
  client->SetAlign(alClient);
  top2->SetAlign(alTop);  // below Top: it was lower

  EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 300, 20));
  EXPECT_EQ(top2->BoundsRect(), Rect(0, 20, 300, 35));
  EXPECT_EQ(bottom->BoundsRect(), Rect(0, 170, 300, 200));
  EXPECT_EQ(left->BoundsRect(), Rect(0, 35, 40, 170));
  EXPECT_EQ(client->BoundsRect(), Rect(40, 35, 300, 170));

  // Resizing the parent realigns and moves anchored controls.
  form->SetClientSize(350, 260);
  EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 350, 20));
  EXPECT_EQ(bottom->BoundsRect(), Rect(0, 230, 350, 260));
  EXPECT_EQ(client->BoundsRect(), Rect(40, 35, 350, 230));
  EXPECT_EQ(anchored->BoundsRect(), Bounds(300, 70, 40, 10));
  EXPECT_EQ(stretched->BoundsRect(), Bounds(100, 100, 100, 110));

  // A hidden aligned control gives its space back; a shown one takes it again.
  top->Hide();
  EXPECT_EQ(top2->BoundsRect(), Rect(0, 0, 350, 15));
  top->Show();
  EXPECT_EQ(top2->BoundsRect(), Rect(0, 20, 350, 35));
  // Changing the height of an aligned control pushes the others.
  top->SetHeight(40);
  EXPECT_EQ(top2->Top(), 40);
  EXPECT_EQ(client->Top(), 55);
  // Leaving the alignment keeps the last bounds.
  client->SetAlign(alNone);
  EXPECT_EQ(client->BoundsRect(), Rect(40, 55, 350, 230));

  // The user resizing the window realigns too.
  form->Show();
  Pump();
  TRect screen = form->BoundsRect();
  screen.Right += 50;
  Offscreen().UserSetBounds(Native(), screen);
  Pump();
  EXPECT_EQ(form->Width(), 400);
  EXPECT_EQ(top->Width(), 400);
  EXPECT_EQ(anchored->Left(), 350);
}

TEST_F(ControlsTest, CustomAndGraphicControlsPaintTheirPixels) {
  TProbe* a = AddProbe(form, "A", Bounds(10, 20, 40, 30));
  auto* shape = Create<TProbeShape>(form);
  shape->SetBounds(100, 20, 20, 10);
  shape->SetParent(form);
  form->SetColor(clYellow);
  form->Show();
  Pump();
  TNativeWindow nw = Native();
  ASSERT_NE(nw, 0);
  auto& b = Offscreen();
  EXPECT_EQ(b.Pixel(nw, 10, 20), clRed);
  EXPECT_EQ(b.Pixel(nw, 49, 49), clRed);
  EXPECT_EQ(b.Pixel(nw, 10 + 2, 20 + 2), clBlue);
  EXPECT_EQ(b.Pixel(nw, 10 + 6, 20 + 6), clRed);
  EXPECT_EQ(b.Pixel(nw, 50, 20), clYellow);  // the form's brush
  EXPECT_EQ(b.Pixel(nw, 100, 20), clLime);   // painted by the form for the shape
  EXPECT_EQ(b.Pixel(nw, 119, 29), clLime);
  EXPECT_EQ(b.Pixel(nw, 120, 29), clYellow);  // clipped to the shape

  // Invalidation is lazy; Update paints at once.
  Integer paints = a->Paints;
  a->FillColor = clGreen;
  a->Invalidate();
  EXPECT_EQ(b.Pixel(nw, 10, 20), clRed);
  a->Update();
  EXPECT_EQ(a->Paints, paints + 1);
  EXPECT_EQ(b.Pixel(nw, 10, 20), clGreen);
  shape->FillColor = clNavy;
  shape->Repaint();
  EXPECT_EQ(b.Pixel(nw, 100, 20), clNavy);
  // Outside painting, the canvas measures but has no surface.
  EXPECT_FALSE(a->Canvas()->HasSurface());
  EXPECT_GT(a->Canvas()->TextHeight("Wg"), 0);
}

// What a control sets for the length of a call is back after a handler fails.
TEST_F(ControlsTest, StateIsRestoredWhenAHandlerFails) {
  // Painting: the form's own canvas again after a failing OnPaint.
  TCanvas* own = form->Canvas();
  form->OnPaint = TNotifyEvent::FromCallable([](TObject*) { throw EConvertError("no paint"); });
  form->Show();
  Pump();
  EXPECT_EQ(HandledMessage(), "no paint");
  EXPECT_EQ(form->Canvas(), own);
  form->OnPaint = nullptr;

  // Alignment: a failing resize of an aligned child leaves alignment working.
  TProbe* client = AddProbe(form, "Client", Bounds(0, 0, 10, 10));
  client->SetAlign(alClient);
  client->OnResize = TNotifyEvent::FromCallable([](TObject*) { throw EConvertError("no size"); });
  EXPECT_THROW(form->SetClientWidth(250), EConvertError);
  client->OnResize = nullptr;
  form->SetClientWidth(240);
  EXPECT_EQ(client->BoundsRect(), Rect(0, 0, 240, form->ClientHeight()));

  // Actions: a failing execution forgets the component it ran for.
  auto* action = Create<TAction>(form);
  action->OnExecute = TNotifyEvent::FromCallable([](TObject*) { throw EConvertError("no run"); });
  TObjectPtr<TActionLink> link(Create<TActionLink>(form));
  link->SetAction(action);
  EXPECT_THROW(link->Execute(client), EConvertError);
  EXPECT_EQ(action->ActionComponent(), nullptr);
}

TEST_F(ControlsTest, ColorsAndFontsFollowTheParentUntilSet) {
  TProbe* panel = AddProbe(form, "Panel", Bounds(0, 0, 100, 100));
  TProbe* child = AddProbe(panel, "Child", Bounds(0, 0, 10, 10));
  child->SetParentColor(true);
  panel->SetColor(clAqua);
  EXPECT_EQ(child->Color(), clAqua);
  EXPECT_TRUE(child->ParentColor());
  EXPECT_EQ(panel->Brush()->Color(), clAqua);
  child->SetColor(clRed);
  EXPECT_FALSE(child->ParentColor());
  panel->SetColor(clBlue);
  EXPECT_EQ(child->Color(), clRed);

  EXPECT_TRUE(child->ParentFont());
  panel->Font()->SetSize(14);
  EXPECT_EQ(child->Font()->Size(), 14);
  EXPECT_TRUE(child->ParentFont());
  EXPECT_FALSE(panel->ParentFont());
  child->Font()->SetStyle({fsBold});
  EXPECT_FALSE(child->ParentFont());
  panel->Font()->SetSize(20);
  EXPECT_EQ(child->Font()->Size(), 14);
  child->SetParentFont(true);
  EXPECT_EQ(child->Font()->Size(), 20);

  // A moved control takes its new parent's font.
  form->Font()->SetName("Courier New");
  child->SetParent(form);
  EXPECT_EQ(child->Font()->Name(), "Courier New");

  panel->SetShowHint(true);
  TProbe* hinted = AddProbe(panel, "Hinted", Bounds(0, 0, 5, 5));
  EXPECT_TRUE(hinted->ShowHint());
  EXPECT_TRUE(hinted->ParentShowHint());
}

TEST_F(ControlsTest, RecreateWndKeepsBoundsTextVisibilityAndFocus) {
  TProbe* a = AddProbe(form, "A", Bounds(10, 10, 50, 40));
  TProbe* b = AddProbe(form, "B", Bounds(70, 10, 50, 40));
  TProbe* inner = AddProbe(a, "Inner", Bounds(1, 2, 3, 4));
  form->Show();
  Pump();
  b->SetFocus();
  a->SetText("hello");
  HWND old = a->WindowHandle();
  HWND oldInner = inner->WindowHandle();
  b->SetVisible(false);
  b->SetVisible(true);
  a->SetFocus();
  ClearLog();
  a->RecreateWnd();
  EXPECT_NE(a->WindowHandle(), old);
  EXPECT_FALSE(IsWindow(old));
  EXPECT_FALSE(IsWindow(oldInner));
  EXPECT_TRUE(inner->HandleAllocated());
  EXPECT_EQ(GetParent(inner->WindowHandle()), a->WindowHandle());
  EXPECT_EQ(GetWindowText(a->WindowHandle()), "hello");
  EXPECT_EQ(a->BoundsRect(), Bounds(10, 10, 50, 40));
  EXPECT_TRUE(IsWindowVisible(a->WindowHandle()));
  EXPECT_TRUE(a->Focused());
  EXPECT_EQ(form->ActiveControl(), a);
  // The focus came back without leaving the control as far as the form knows.
  EXPECT_EQ(std::count(Log().begin(), Log().end(), "A Exit"), 0);

  // A form's border change recreates the top-level window.
  HWND formOld = form->WindowHandle();
  form->SetBorderStyle(bsDialog);
  EXPECT_NE(form->WindowHandle(), formOld);
  EXPECT_TRUE(IsWindowVisible(form->WindowHandle()));
  EXPECT_EQ(GetParent(a->WindowHandle()), form->WindowHandle());
}

TEST_F(ControlsTest, LoadingStoresValuesAndLoadedCreatesTheHandle) {
  form->HandleNeeded();
  TProbe* a = nullptr;
  TProbe* b = nullptr;
  {
    TLoadingBracket bracket(form);
    a = Create<TProbe>(form);
    a->SetName("A");
    b = Create<TProbe>(form);
    b->SetName("B");
    EXPECT_TRUE(a->IsLoading());
    a->SetParent(form);
    b->SetParent(form);
    a->SetBounds(1, 2, 30, 40);
    a->SetAlign(alTop);
    a->SetTabOrder(1);
    b->SetTabOrder(0);
    EXPECT_FALSE(a->HandleAllocated());  // nothing built while loading
    EXPECT_EQ(a->BoundsRect(), Bounds(1, 2, 30, 40));
    bracket.Finish();
  }
  EXPECT_TRUE(a->HandleAllocated());
  EXPECT_TRUE(b->HandleAllocated());
  EXPECT_EQ(a->BoundsRect(), Rect(0, 0, 300, 40));  // aligned after loading
  EXPECT_EQ(a->TabOrder(), 1);
  EXPECT_EQ(b->TabOrder(), 0);
}

TEST_F(ControlsTest, PublishedTablesListTheControlProperties) {
  for (const char* name :
       {"Left",        "Top",         "Width",          "Height",      "Align",       "Anchors",
        "Color",       "Font",        "ParentColor",    "ParentFont",  "Visible",     "Enabled",
        "Hint",        "ShowHint",    "ParentShowHint", "Cursor",      "Constraints", "PopupMenu",
        "DragMode",    "DragKind",    "DragCursor",     "OnClick",     "OnDblClick",  "OnMouseDown",
        "OnMouseMove", "OnMouseUp",   "OnContextPopup", "OnStartDrag", "OnDragOver",  "OnDragDrop",
        "OnEndDrag",   "OnStartDock", "OnEndDock"})
    EXPECT_TRUE(HasProp(TControl::StaticClass(), name)) << name;
  for (const char* name :
       {"TabStop", "TabOrder", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp"}) {
    EXPECT_TRUE(HasProp(TCustomControl::StaticClass(), name)) << name;
    EXPECT_FALSE(HasProp(TControl::StaticClass(), name)) << name;
  }
  for (const char* name : {"Caption", "BorderStyle", "KeyPreview", "ActiveControl", "OnClose"})
    EXPECT_TRUE(HasProp(TForm::StaticClass(), name)) << name;

  const TPropInfo* align = GetPropInfo(TControl::StaticClass(), "Align");
  ASSERT_NE(align, nullptr);
  EXPECT_EQ(align->PropType->Name, "TAlign");
  EXPECT_EQ(align->PropType->EnumNames.at(5), "alClient");
  EXPECT_EQ(GetPropInfo(TControl::StaticClass(), "Cursor")->PropType->Name, "TCursor");
  EXPECT_EQ(GetPropInfo(TControl::StaticClass(), "Anchors")->PropType->Kind, tkSet);

  // Stored conditions follow the parent flags; values read back.
  TProbe* a = AddProbe(form, "A", Bounds(0, 0, 5, 5));
  const TPropInfo* color = GetPropInfo(a, "Color");
  a->SetParentColor(true);
  EXPECT_FALSE(color->IsStored(a));
  a->SetColor(clRed);
  EXPECT_TRUE(color->IsStored(a));
  EXPECT_EQ(color->GetOrd(a), clRed);
  GetPropInfo(a, "Anchors")->SetOrd(a, TAnchors{akRight}.Bits());
  EXPECT_EQ(a->Anchors(), TAnchors{akRight});

  RegisterControlClasses();
  EXPECT_EQ(GetClass("TForm"), TForm::StaticClass());
  EXPECT_EQ(GetClass("TCustomControl"), TCustomControl::StaticClass());
}

TEST_F(ControlsTest, FormShowHideAndClose) {
  bool shown = false;
  form->OnShow = TNotifyEvent::FromCallable([&](TObject*) { shown = true; });
  form->Show();
  EXPECT_TRUE(shown);
  EXPECT_TRUE(IsWindowVisible(form->WindowHandle()));
  EXPECT_TRUE(Offscreen().IsShown(Native()));
  EXPECT_TRUE(form->Active());

  // OnCloseQuery can refuse; OnClose picks what happens.
  bool allow = false;
  form->OnCloseQuery =
      TCloseQueryEvent::FromCallable([&](TObject*, bool& canClose) { canClose = allow; });
  form->Close();
  EXPECT_TRUE(form->Visible());
  allow = true;
  form->Close();  // caHide
  EXPECT_FALSE(form->Visible());
  EXPECT_FALSE(IsWindowVisible(form->WindowHandle()));
  form->Show();
  form->OnClose = TCloseEvent::FromCallable([](TObject*, TCloseAction& a) { a = caNone; });
  form->Close();
  EXPECT_TRUE(form->Visible());

  // The user closing the window frees a caFree form once its messages ran.
  struct TWatch : TComponent {
    using TComponent::TComponent;
    bool gone = false;
    void Notification(TComponent* c, TOperation op) override {
      TComponent::Notification(c, op);
      if (op == opRemove && c != this) gone = true;
    }
  };
  auto* watch = Create<TWatch>(nullptr);
  watch->FreeNotification(form);
  form->OnClose = TCloseEvent::FromCallable([](TObject*, TCloseAction& a) { a = caFree; });
  HWND h = form->WindowHandle();
  Offscreen().RequestClose(Native());
  Pump();
  EXPECT_TRUE(watch->gone);
  EXPECT_FALSE(IsWindow(h));
  form = nullptr;
  watch->Free();
}

}  // namespace brevant::test
