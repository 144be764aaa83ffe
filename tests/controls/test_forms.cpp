// Forms: modal showing and its answers, message boxes, closing, position and
// styles, the application's loop and exception handling.
#include <algorithm>

#include "classes/rtti_builder.h"
#include "controls/forms_test_util.h"
#include "controls/message_box.h"
#include "controls/os_services.h"
#include "controls/wincore.h"
#include "graphics/canvas.h"

namespace brevant::test {

namespace {
TPoint CenterOf(const TControl* c) {
  return c->ClientToScreen({c->Width() / 2, c->Height() / 2});
}
}  // namespace

TEST_F(FormsTest, ShowModalRunsUntilModalResultAndAnswersIt) {
  auto* dlg = Create<TForm>(nullptr);
  TObjectPtr<TForm> keep(dlg);
  dlg->SetCaption("Dialog");
  dlg->SetBounds(200, 200, 200, 120);
  auto* ok = Create<TProbe>(dlg);
  ok->SetName("Ok");
  ok->SetBounds(10, 10, 60, 24);
  ok->SetParent(dlg);
  ok->OnClick = TNotifyEvent::FromCallable([dlg](TObject*) { dlg->SetModalResult(mrOk); });
  form->Show();
  Pump();
  bool shownWhileModal = false, formDisabled = false;
  ScriptAction("ShowModal", [&](TObject* subject) {
    EXPECT_EQ(subject, dlg);
    shownWhileModal = dlg->Visible() && dlg->Active();
    formDisabled = !IsWindowEnabled(form->WindowHandle());
    Offscreen().Click(CenterOf(ok));  // a real click on the control
  });
  EXPECT_EQ(dlg->ShowModal(), mrOk);
  EXPECT_TRUE(shownWhileModal);
  EXPECT_TRUE(formDisabled);
  EXPECT_FALSE(dlg->Visible());
  EXPECT_TRUE(IsWindowEnabled(form->WindowHandle()));
  EXPECT_TRUE(form->Active());  // activation returns to the form behind

  // Close inside the loop answers mrCancel; a value answer ends it at once.
  ScriptAction("ShowModal", [dlg](TObject*) { dlg->Close(); });
  EXPECT_EQ(dlg->ShowModal(), mrCancel);
  ScriptAnswer("ShowModal", mrRetry);
  EXPECT_EQ(dlg->ShowModal(), mrRetry);

  // OnCloseQuery refusing keeps the loop running; with no input left the
  // loop fails loudly instead of hanging, and the form is cleaned up.
  dlg->OnCloseQuery =
      TCloseQueryEvent::FromCallable([](TObject*, bool& canClose) { canClose = false; });
  ScriptAnswer("ShowModal", mrOk);
  EXPECT_THROW(dlg->ShowModal(), EUnexpectedModal);
  EXPECT_FALSE(dlg->Visible());
  EXPECT_TRUE(IsWindowEnabled(form->WindowHandle()));
  dlg->OnCloseQuery = nullptr;

  // No scripted answer at all: an unexpected modal.
  EXPECT_THROW(dlg->ShowModal(), EUnexpectedModal);
  dlg->Show();
  EXPECT_THROW(dlg->ShowModal(), EInvalidOperation);  // already visible
}

TEST_F(FormsTest, MessageBoxIsAModalFormAnsweredByKeysAndClicks) {
  form->Show();
  Pump();
  // The default button answers Return; MB_DEFBUTTON2 makes it the second.
  std::vector<String> captions;
  TColor iconPixel = clNone;
  ScriptAction("MessageBox", [&](TObject* subject) {
    auto* box = As<TCustomForm>(subject);
    for (Integer i = 0; i < box->ComponentCount(); ++i)
      captions.push_back(As<TControl>(box->Components(i))->Caption());
    Pump();
    iconPixel = GetWindowPixel(box->WindowHandle(), 16, 28);  // beside the glyph
    Offscreen().PressKey(VK_RETURN);
  });
  EXPECT_EQ(Application()->MessageBox("Save changes?", "Editor",
                                      MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2),
            IDNO);
  EXPECT_EQ(captions, (std::vector<String>{"&Yes", "&No", "Cancel"}));
  EXPECT_EQ(iconPixel, clNavy);
  ASSERT_FALSE(ModalLog().empty());
  EXPECT_EQ(ModalLog().back(), "MessageBox: Editor: Save changes?");

  // A click on a button, an accelerator letter, Escape without a Cancel button.
  ScriptAction("MessageBox", [](TObject* subject) {
    auto* cancel = As<TControl>(As<TCustomForm>(subject)->FindComponent("Button2"));
    Offscreen().Click(CenterOf(cancel));
  });
  EXPECT_EQ(Application()->MessageBox("Go on?", "", MB_OKCANCEL), IDCANCEL);
  ScriptAction("MessageBox", [](TObject*) { Offscreen().TypeText("y"); });
  EXPECT_EQ(Application()->MessageBox("Sure?", "", MB_YESNO), IDYES);
  ScriptAction("MessageBox", [](TObject*) { Offscreen().PressKey(VK_ESCAPE); });
  EXPECT_EQ(Application()->MessageBox("Sure?", "", MB_YESNO), IDNO);
  ScriptAction("MessageBox", [](TObject* subject) {
    Offscreen().RequestClose(Offscreen().Windows().back());
    (void)subject;
  });
  EXPECT_EQ(Application()->MessageBox("Sure?", "", MB_YESNO), IDNO);
  ScriptAnswer("MessageBox", IDYES);
  EXPECT_EQ(ShowMessageBox("Plain", "T", MB_YESNO), IDYES);
  EXPECT_TRUE(form->Active());
}

TEST_F(FormsTest, HandleExceptionShowsTheMessageAndEAbortStaysSilent) {
  Application();  // installs the application's exception handler
  form->Show();
  Pump();
  auto* p = AddProbe(form, "P", Rect(10, 10, 60, 40));
  p->OnClick = TNotifyEvent::FromCallable([](TObject*) { throw EConvertError("Bad value"); });
  ScriptAnswer("MessageBox", IDOK);
  Offscreen().Click(CenterOf(p));
  Pump();
  ASSERT_EQ(ModalLog().size(), 1u);
  EXPECT_EQ(ModalLog()[0], "MessageBox: " + Application()->Title() + ": Bad value.");
  EXPECT_EQ(ScriptedAnswerCount(), 0);

  p->OnClick = TNotifyEvent::FromCallable([](TObject*) { Abort(); });
  Offscreen().Click(CenterOf(p));
  Pump();
  EXPECT_EQ(ModalLog().size(), 1u);

  // OnException takes over from the box.
  String seen;
  Application()->OnException =
      TExceptionEvent::FromCallable([&](TObject*, const Exception& e) { seen = e.Message(); });
  HandleException(nullptr, Exception("boom"));
  EXPECT_EQ(seen, "boom");
}

TEST_F(FormsTest, CloseHidesFreesOrKeepsTheFormAndEndsTheApplication) {
  auto* f = Create<TForm>(nullptr);
  bool destroyed = false;
  f->OnDestroy = TNotifyEvent::FromCallable([&](TObject*) { destroyed = true; });
  f->Show();
  Pump();
  TCloseAction next = caNone;
  f->OnClose = TCloseEvent::FromCallable([&](TObject*, TCloseAction& a) { a = next; });
  f->Close();
  EXPECT_TRUE(f->Visible());
  next = caHide;
  f->Close();
  EXPECT_FALSE(f->Visible());
  next = caFree;
  f->Show();
  f->Close();
  EXPECT_FALSE(destroyed);  // freed once the queued messages ran
  Pump();
  EXPECT_TRUE(destroyed);

  // The main form closing ends Run.
  TForm* mainForm = nullptr;
  Application()->CreateForm(mainForm);
  EXPECT_EQ(Application()->MainForm(), mainForm);
  TForm* second = nullptr;
  Application()->CreateForm(second);
  EXPECT_EQ(Application()->MainForm(), mainForm);
  Integer idles = 0;
  Application()->OnIdle = TIdleEvent::FromCallable([&](TObject*, bool&) {
    if (++idles == 1) mainForm->Close();
  });
  Application()->Run();
  EXPECT_TRUE(Application()->Terminated());
  EXPECT_FALSE(mainForm->Visible());
}

TEST_F(FormsTest, TheUserCannotCloseTheDisabledOwnerOfAModalDialog) {
  // The dialog belongs to the main form, which frees itself on close: closing
  // it under the dialog would free the dialog inside its own loop.
  form->OnClose = TCloseEvent::FromCallable([](TObject*, TCloseAction& a) { a = caFree; });
  auto* dlg = Create<TForm>(form);
  dlg->SetBounds(200, 200, 200, 120);
  form->Show();
  Pump();
  const TNativeWindow mainNative = Native();
  Integer closes = 0;
  form->OnCloseQuery = TCloseQueryEvent::FromCallable([&](TObject*, bool&) { ++closes; });
  ScriptAction("ShowModal", [&](TObject*) {
    Offscreen().RequestClose(mainNative);
    Pump();
    EXPECT_EQ(closes, 0) << "the disabled owner ignores the close box";
    dlg->SetModalResult(mrOk);
  });
  EXPECT_EQ(dlg->ShowModal(), mrOk);
  EXPECT_TRUE(form->Visible());
  // Enabled again, it closes (and frees itself) as before.
  Offscreen().RequestClose(mainNative);
  Pump();
  EXPECT_EQ(closes, 1);
  EXPECT_FALSE(Offscreen().IsNativeWindow(mainNative));
  form = nullptr;
}

TEST_F(FormsTest, AnAutoScrollingFormsThumbDragsBeyond65535Pixels) {
  form->SetAutoScroll(true);
  TProbe* far = AddProbe(form, "Far", Rect(10, 100000, 60, 100020));
  form->Show();
  Pump();
  HWND h = form->WindowHandle();
  TRect bar = GetScrollBarRect(h, SB_VERT);
  ASSERT_FALSE(IsRectEmpty(bar));
  const TPoint origin = GetWindowRect(h).TopLeft();
  const Integer x = origin.X + (bar.Left + bar.Right) / 2;
  Offscreen().MouseMove({x, origin.Y + bar.Top + 17 + 3});
  Offscreen().MouseDown({x, origin.Y + bar.Top + 17 + 3});
  Pump();
  Offscreen().MouseMove({x, origin.Y + bar.Bottom - 17 - 1});
  Pump();
  Offscreen().MouseUp({x, origin.Y + bar.Bottom - 17 - 1});
  Pump();
  EXPECT_GT(GetScrollPos(h, SB_VERT), 65535);
  EXPECT_GE(far->Top(), 0) << "the far control is scrolled into the client area";
  EXPECT_LT(far->Top(), form->ClientHeight());
}

TEST_F(FormsTest, PositionStylesAndOnPaint) {
  Screen()->SetWidth(1000);
  Screen()->SetHeight(800);
  auto* f = TCustomForm::CreateNew<TForm>(nullptr);
  TObjectPtr<TForm> keep(f);
  f->SetBounds(0, 0, 200, 100);
  f->SetPosition(poScreenCenter);
  f->SetFormStyle(fsStayOnTop);
  f->SetBorderIcons({biSystemMenu});
  f->OnPaint = TNotifyEvent::FromCallable([f](TObject*) {
    f->Canvas()->Brush()->SetColor(clPurple);
    f->Canvas()->FillRect(Rect(0, 0, 10, 10));
  });
  f->Show();
  Pump();
  EXPECT_EQ(f->Left(), 400);
  EXPECT_EQ(f->Top(), 350);
  EXPECT_NE(GetWindowLong(f->WindowHandle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0u);
  EXPECT_EQ(GetWindowLong(f->WindowHandle(), GWL_STYLE) & WS_MAXIMIZEBOX, 0u);
  EXPECT_EQ(GetWindowPixel(f->WindowHandle(), 5, 5), clPurple);
  EXPECT_EQ(GetWindowPixel(f->WindowHandle(), 15, 15), ColorToRGB(clBtnFace));
  // A normal form shown later stays below the stay-on-top one.
  form->Show();
  Pump();
  EXPECT_EQ(Offscreen().WindowAt({450, 380}), GetNativeWindow(f->WindowHandle()));

  f->Hide();
  f->SetWindowState(wsMaximized);
  f->Show();
  Pump();
  EXPECT_EQ(f->BoundsRect(), Offscreen().WorkArea());
  EXPECT_EQ(Screen()->ActiveForm(), f);
  EXPECT_GE(Screen()->IndexOfForm(f), 0);
}

TEST_F(FormsTest, NoActivateFormKeepsTheActiveFormWhenClicked) {
  form->Show();
  Pump();
  auto* palette = TCustomForm::CreateNew<TForm>(nullptr);
  TObjectPtr<TForm> keep(palette);
  palette->SetNoActivate(true);
  palette->SetBorderStyle(bsToolWindow);
  palette->SetBounds(600, 100, 100, 100);
  auto* p = Create<TProbe>(palette);
  p->SetName("Tool");
  p->SetBounds(0, 0, 100, 100);
  p->SetParent(palette);
  palette->Show();
  Pump();
  EXPECT_TRUE(form->Active());
  Offscreen().Click({650, 150});
  Pump();
  EXPECT_TRUE(form->Active());
  // The click itself still arrived.
  EXPECT_NE(std::find(Log().begin(), Log().end(), "Tool Click"), Log().end());
}

}  // namespace brevant::test

namespace brevant::test {

TEST(OsServices, RequestsAreRecordedOrStartedWithoutAShell) {
  SetRecordOsRequests(true);
  RecordedOsRequests().clear();
  ShellOpen("mailto:info@example.com?subject=request");
  EXPECT_EQ(StartProgram("editor", {"/tmp/layout file.txt"}), 0);
  EXPECT_EQ(RecordedOsRequests(),
            (std::vector<String>{"open mailto:info@example.com?subject=request",
                                 "start editor /tmp/layout file.txt"}));
  SetRecordOsRequests(false);
  // A real start: an argument with shell syntax stays one harmless argument.
  EXPECT_GT(StartProgram("true", {"; rm -rf /tmp/x"}), 0);
  EXPECT_THROW(StartProgram("/nonexistent/program"), EOSError);
  EXPECT_EQ(ExtractFileNameWithoutExt("/opt/app/demo.bin"), "demo");
  EXPECT_EQ(ExeFolder().back(), '/');
  EXPECT_EQ(ExtractFileNameWithoutExt(ExeFileName()), "test_controls_forms");
}

}  // namespace brevant::test
