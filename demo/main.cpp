// brevant-demo: the demonstration application's entry point. The grid and
// its forms are not built yet; until they are, this program shows the most
// complete part so far: a form of custom controls on the platform's window
// manager — a scrolling list of values formatted by the runtime layer, with
// keyboard, mouse, wheel and scroll-bar handling — in a real window, or
// rendered off-screen into a PNG when there is no display.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "backend/offscreen_backend.h"
#include "backend/sdl_backend.h"
#include "controls/controls.h"
#include "controls/forms.h"
#include "controls/wincore.h"
#include "graphics/canvas.h"
#include "rtl/datetime.h"
#include "rtl/exceptions.h"
#include "rtl/format.h"
#include "rtl/numconv.h"

using namespace brevant;

namespace {

constexpr Integer kRowHeight = 20;

// A list of text rows that scrolls by whole rows: the vertical scroll bar,
// the wheel and the arrow keys move it, moving painted pixels and repainting
// only the rows that came into view; a click or the keys select a row.
class TValueList : public TCustomControl {
 public:
  explicit TValueList(TComponent* owner) : TCustomControl(owner) {
    SetTabStop(true);
    SetColor(clWindow);
  }

  std::vector<String> Rows;
  TNotifyEvent OnSelect;
  Integer Selected() const { return selected_; }

 protected:
  void CreateParams(TCreateParams& params) override {
    TCustomControl::CreateParams(params);
    params.Style |= WS_VSCROLL;
    params.ExStyle |= WS_EX_CLIENTEDGE;
  }

  void CreateWnd() override {
    TCustomControl::CreateWnd();
    UpdateScrollBar();
  }

  void Paint() override {
    TCanvas* c = Canvas();
    TRect clip = c->ClipRect();
    Integer first = Max(0, clip.Top / kRowHeight);
    Integer last =
        Min<Integer>(static_cast<Integer>(Rows.size()) - top_, clip.Bottom / kRowHeight + 1);
    for (Integer i = first; i <= last; ++i) {
      TRect r(0, i * kRowHeight, ClientWidth(), (i + 1) * kRowHeight);
      Integer row = top_ + i;
      bool sel = row == selected_;
      c->Brush()->SetColor(sel ? clHighlight : (row % 2 ? TColor(0xF7F3EF) : clWindow));
      c->FillRect(r);
      if (row < static_cast<Integer>(Rows.size())) {
        c->Font()->SetColor(sel ? clHighlightText : clWindowText);
        TRect tr = r;
        tr.Left += 6;
        c->DrawText(Rows[static_cast<std::size_t>(row)], tr,
                    DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
      }
    }
  }

  void WMVScroll(TMessage& m) override {
    switch (LoWord(m.WParam)) {
      case SB_LINEUP:
        ScrollTo(top_ - 1);
        break;
      case SB_LINEDOWN:
        ScrollTo(top_ + 1);
        break;
      case SB_PAGEUP:
        ScrollTo(top_ - VisibleRows());
        break;
      case SB_PAGEDOWN:
        ScrollTo(top_ + VisibleRows());
        break;
      case SB_THUMBTRACK:
      case SB_THUMBPOSITION: {
        TScrollInfo si;
        si.Mask = SIF_TRACKPOS;
        GetScrollInfo(Handle(), SB_VERT, si);
        ScrollTo(si.TrackPos);
        break;
      }
      case SB_TOP:
        ScrollTo(0);
        break;
      case SB_BOTTOM:
        ScrollTo(MaxTop());
        break;
      default:
        break;
    }
  }

  void WMMouseWheel(TMessage& m) override {
    ScrollTo(top_ - static_cast<SmallInt>(HiWord(m.WParam)) / WHEEL_DELTA * 3);
  }

  void WMSize(TMessage& m) override {
    TCustomControl::WMSize(m);
    UpdateScrollBar();
  }

  void WMGetDlgCode(TMessage& m) override { m.Result = DLGC_WANTARROWS; }

  void KeyDown(Word& key, TShiftState shift) override {
    switch (key) {
      case VK_UP:
        Select(selected_ - 1);
        break;
      case VK_DOWN:
        Select(selected_ + 1);
        break;
      case VK_PRIOR:
        Select(selected_ - VisibleRows());
        break;
      case VK_NEXT:
        Select(selected_ + VisibleRows());
        break;
      case VK_HOME:
        Select(0);
        break;
      case VK_END:
        Select(static_cast<Integer>(Rows.size()) - 1);
        break;
      default:
        TCustomControl::KeyDown(key, shift);
        return;
    }
    key = 0;
  }

  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override {
    if (CanFocus()) SetFocus();
    if (button == mbLeft) Select(top_ + y / kRowHeight);
    TCustomControl::MouseDown(button, shift, x, y);
  }

 private:
  Integer VisibleRows() const { return Max(1, ClientHeight() / kRowHeight); }
  Integer MaxTop() const { return Max(0, static_cast<Integer>(Rows.size()) - VisibleRows()); }

  void UpdateScrollBar() {
    if (!HandleAllocated()) return;
    TScrollInfo si;
    si.Mask = SIF_ALL;
    si.Min = 0;
    si.Max = static_cast<Integer>(Rows.size()) - 1;
    si.Page = static_cast<Cardinal>(VisibleRows());
    si.Pos = top_;
    SetScrollInfo(Handle(), SB_VERT, si, true);
  }

  // Moves by whole rows: the painted rows move, the uncovered ones repaint.
  void ScrollTo(Integer top) {
    top = Max(0, Min(top, MaxTop()));
    if (top == top_) return;
    Integer dy = (top_ - top) * kRowHeight;
    top_ = top;
    if (HandleAllocated()) {
      ScrollWindowEx(Handle(), 0, dy, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
      SetScrollPos(Handle(), SB_VERT, top_, true);
    }
  }

  void Select(Integer row) {
    row = Max(0, Min(row, static_cast<Integer>(Rows.size()) - 1));
    if (row == selected_) return;
    InvalidateRow(selected_);
    selected_ = row;
    InvalidateRow(selected_);
    if (selected_ < top_) ScrollTo(selected_);
    if (selected_ >= top_ + VisibleRows()) ScrollTo(selected_ - VisibleRows() + 1);
    OnSelect(this);
  }

  void InvalidateRow(Integer row) {
    if (!HandleAllocated() || row < top_) return;
    TRect r(0, (row - top_) * kRowHeight, ClientWidth(), (row - top_ + 1) * kRowHeight);
    InvalidateRect(Handle(), &r, false);
  }

  Integer top_ = 0;
  Integer selected_ = -1;
};

// A status line painted by a graphic control.
class TStatusLine : public TGraphicControl {
 public:
  explicit TStatusLine(TComponent* owner) : TGraphicControl(owner) {}
  String Text;

 protected:
  void Paint() override {
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(r);
    r.Left += 8;
    c->Font()->SetColor(clWindowText);
    c->DrawText(Text, r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  }
};

std::vector<String> SampleRows() {
  std::vector<String> rows;
  TDateTime day = EncodeDate(2026, 12, 9);
  for (Integer i = 0; i < 200; ++i) {
    TDateTime when = IncMonth(day, i) + EncodeTime((i * 7) % 24, (i * 13) % 60, 0, 0);
    Extended amount = (i * 7919 % 100000) / 100.0L - 250;
    rows.push_back(Format("%3d   %s   %s   %s", {i + 1, FormatDateTime("yyyy-mm-dd hh:nn", when),
                                                 FormatFloat("#,##0.00;(#,##0.00)", amount),
                                                 FormatDateTime("dddd", when)}));
  }
  return rows;
}

// The sample form: the list fills it above a status line.
class TSamplerForm : public TForm {
 public:
  explicit TSamplerForm(TComponent* owner) : TForm(owner) {}
  TValueList* List = nullptr;
  TStatusLine* Status = nullptr;

  void Build() {
    SetCaption("Brevant control sampler");
    SetBounds(120, 80, 640, 480);
    Status = Create<TStatusLine>(this);
    Status->SetParent(this);
    Status->SetHeight(24);
    Status->SetAlign(alBottom);
    Status->Text = "Arrow keys, wheel, clicks and the scroll bar move through the values";
    List = Create<TValueList>(this);
    List->Rows = SampleRows();
    List->SetParent(this);
    List->SetAlign(alClient);
    List->OnSelect = TNotifyEvent::FromCallable([this](TObject*) {
      Status->Text = Format("Row %d of %d selected",
                            {List->Selected() + 1, static_cast<Integer>(List->Rows.size())});
      Status->Invalidate();
    });
  }
};

int RunOffscreen(const char* pngPath) {
  auto* backend = new TOffscreenBackend();
  SetBackend(std::unique_ptr<TBackend>(backend));
  TObjectPtr<TSamplerForm> form(Create<TSamplerForm>(nullptr));
  form->Build();
  form->Show();
  ProcessPendingMessages();
  // Drive it as a user would: select a row, scroll down with the wheel.
  TPoint listOrigin = form->List->ClientToScreen(Point(40, 3 * kRowHeight + 5));
  backend->Click(listOrigin);
  backend->Wheel(listOrigin, -WHEEL_DELTA);
  ProcessPendingMessages();
  backend->SavePng(GetNativeWindow(form->Handle()), pngPath);
  std::printf("No display: rendered the control sampler off-screen into %s\n", pngPath);
  return 0;
}

// smoke: show the form, let it paint, then close it (end-to-end checks).
int RunOnScreen(bool smoke) {
  SetBackend(TSdlBackend::Open());
  TObjectPtr<TSamplerForm> form(Create<TSamplerForm>(nullptr));
  form->Build();
  form->OnClose = TCloseEvent::FromCallable([](TObject*, TCloseAction&) { PostQuitMessage(0); });
  form->Show();
  form->List->SetFocus();
  if (smoke) {
    ProcessPendingMessages();
    UpdateWindow(form->Handle());
    TRect r;
    bool pending = GetUpdateRect(form->List->Handle(), r, false);
    std::printf("On-screen smoke run: %s\n", pending ? "paint still pending" : "painted");
    return pending ? 1 : 0;
  }
  TMsg msg;
  while (GetMessage(msg)) {
    if (IsKeyMsg(msg)) continue;
    TranslateMessage(msg);
    DispatchMessage(msg);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::printf(
      "Brevant demonstration: the grid and its forms are not built yet.\n"
      "Showing the most complete part so far, a form of custom controls.\n");
  RegisterControlClasses();
  bool offscreen = !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY");
  bool smoke = false;
  const char* png = "brevant-sampler.png";
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--offscreen") == 0) offscreen = true;
    if (std::strcmp(argv[i], "--smoke") == 0) smoke = true;
    if (std::strcmp(argv[i], "--png") == 0 && i + 1 < argc) png = argv[++i];
  }
  try {
    return offscreen ? RunOffscreen(png) : RunOnScreen(smoke);
  } catch (const Exception& e) {
    std::fprintf(stderr, "%s: %s\n", e.ClassName(), e.Message().c_str());
    return 1;
  }
}
