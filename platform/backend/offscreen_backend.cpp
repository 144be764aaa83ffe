#include "backend/offscreen_backend.h"

#include <algorithm>
#include <cstring>

#include "backend/codes.h"
#include "graphics/canvas.h"
#include "rtl/strutils.h"

namespace brevant {

namespace {

constexpr std::uint32_t kBlankPixel = 0x00FFFFFF;

bool IsShiftKey(Word vk) {
  return vk == VK_SHIFT || vk == VK_LSHIFT || vk == VK_RSHIFT;
}
bool IsCtrlKey(Word vk) {
  return vk == VK_CONTROL || vk == VK_LCONTROL || vk == VK_RCONTROL;
}
bool IsAltKey(Word vk) {
  return vk == VK_MENU || vk == VK_LMENU || vk == VK_RMENU;
}

// The text a key types on a US layout, or 0.
char32_t KeyText(Word vk, bool shift) {
  if (vk >= 'A' && vk <= 'Z') return shift ? vk : vk - 'A' + 'a';
  if (vk >= '0' && vk <= '9') {
    static const char kShifted[] = ")!@#$%^&*(";
    return shift ? static_cast<char32_t>(kShifted[vk - '0']) : vk;
  }
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return U'0' + (vk - VK_NUMPAD0);
  switch (vk) {
    case VK_SPACE:
      return U' ';
    case VK_MULTIPLY:
      return U'*';
    case VK_ADD:
      return U'+';
    case VK_SUBTRACT:
      return U'-';
    case VK_DECIMAL:
      return U'.';
    case VK_DIVIDE:
      return U'/';
    default:
      return 0;
  }
}

}  // namespace

TOffscreenBackend::TOffscreenBackend() = default;
TOffscreenBackend::~TOffscreenBackend() = default;

TOffscreenBackend::TWindow* TOffscreenBackend::Find(TNativeWindow w) {
  auto it = windows_.find(w);
  return it == windows_.end() ? nullptr : &it->second;
}

const TOffscreenBackend::TWindow* TOffscreenBackend::Find(TNativeWindow w) const {
  auto it = windows_.find(w);
  return it == windows_.end() ? nullptr : &it->second;
}

void TOffscreenBackend::Resize(TWindow& win, Integer width, Integer height) {
  width = std::max<Integer>(width, 0);
  height = std::max<Integer>(height, 0);
  if (width == win.Width && height == win.Height) return;
  std::vector<std::uint32_t> pixels(size_t(width) * size_t(height), kBlankPixel);
  Integer cw = std::min(width, win.Width), ch = std::min(height, win.Height);
  for (Integer y = 0; y < ch; ++y)
    std::memcpy(pixels.data() + size_t(y) * size_t(width),
                win.Pixels.data() + size_t(y) * size_t(win.Width), size_t(cw) * 4);
  win.Pixels = std::move(pixels);
  win.Width = width;
  win.Height = height;
}

TNativeWindow TOffscreenBackend::CreateNativeWindow(const TNativeWindowParams& params) {
  TNativeWindow id = nextWindow_++;
  TWindow& win = windows_[id];
  win.Params = params;
  Resize(win, params.Bounds.Width(), params.Bounds.Height());
  return id;
}

void TOffscreenBackend::DestroyNativeWindow(TNativeWindow w) {
  windows_.erase(w);
  if (focused_ == w) focused_ = 0;
}

void TOffscreenBackend::ShowNativeWindow(TNativeWindow w, bool show, bool activate) {
  TWindow* win = Find(w);
  if (!win) return;
  win->Shown = show;
  if (show) {
    win->Raised = ++raiseCounter_;
    if (activate) focused_ = w;
  } else if (focused_ == w) {
    focused_ = 0;
  }
}

void TOffscreenBackend::SetNativeBounds(TNativeWindow w, const TRect& screenRect) {
  TWindow* win = Find(w);
  if (!win) return;
  win->Params.Bounds = screenRect;
  Resize(*win, screenRect.Width(), screenRect.Height());
}

void TOffscreenBackend::SetNativeCaption(TNativeWindow w, const String& caption) {
  if (TWindow* win = Find(w)) win->Params.Caption = caption;
}

void TOffscreenBackend::FocusNativeWindow(TNativeWindow w) {
  if (Find(w)) focused_ = w;
}

TSurface TOffscreenBackend::Surface(TNativeWindow w) {
  TWindow* win = Find(w);
  if (!win || win->Pixels.empty()) return {};
  return {win->Pixels.data(), win->Width, win->Height, win->Width * 4};
}

void TOffscreenBackend::Present(TNativeWindow w, const TRect& dirty) {
  if (TWindow* win = Find(w)) {
    ++win->Presents;
    win->LastPresent = dirty;
  }
}

bool TOffscreenBackend::PollEvent(TBackendEvent& e) {
  if (events_.empty()) return false;
  e = std::move(events_.front());
  events_.pop_front();
  return true;
}

void TOffscreenBackend::SetCursorPos(const TPoint& screenPos) {
  MouseMove(screenPos);
}

void TOffscreenBackend::SetScreenRect(const TRect& r) {
  screen_ = r;
  workArea_ = r;
}

Byte TOffscreenBackend::HeldModifiers() const {
  return Byte((shiftHeld_ ? bmShift : 0) | (ctrlHeld_ ? bmCtrl : 0) | (altHeld_ ? bmAlt : 0));
}

void TOffscreenBackend::Push(TBackendEvent e) {
  events_.push_back(std::move(e));
}

TNativeWindow TOffscreenBackend::WindowAt(TPoint p) const {
  TNativeWindow best = 0;
  const TWindow* bestWin = nullptr;
  for (const auto& [id, win] : windows_) {
    if (!win.Shown || !PtInRect(win.Params.Bounds, p)) continue;
    if (!bestWin || win.Params.TopMost > bestWin->Params.TopMost ||
        (win.Params.TopMost == bestWin->Params.TopMost && win.Raised > bestWin->Raised)) {
      best = id;
      bestWin = &win;
    }
  }
  return best;
}

void TOffscreenBackend::PushMouse(TBackendEventKind kind, TPoint pos, TBackendButton button,
                                  Byte modifiers, Integer wheel) {
  cursor_ = pos;
  TBackendEvent e;
  e.Kind = kind;
  e.ScreenPos = pos;
  e.Window = WindowAt(pos);
  e.Button = button;
  e.WheelDelta = wheel;
  e.Modifiers = Byte(modifiers | HeldModifiers());
  e.Time = tick_;
  events_.push_back(std::move(e));
}

void TOffscreenBackend::MouseMove(TPoint p, Byte modifiers) {
  PushMouse(bekMouseMove, p, bbLeft, modifiers);
}

void TOffscreenBackend::MouseDown(TPoint p, TBackendButton b, Byte modifiers) {
  PushMouse(bekMouseDown, p, b, modifiers);
}

void TOffscreenBackend::MouseUp(TPoint p, TBackendButton b, Byte modifiers) {
  PushMouse(bekMouseUp, p, b, modifiers);
}

void TOffscreenBackend::Click(TPoint p, TBackendButton b, Byte modifiers) {
  MouseDown(p, b, modifiers);
  MouseUp(p, b, modifiers);
}

void TOffscreenBackend::DoubleClick(TPoint p, TBackendButton b, Byte modifiers) {
  Click(p, b, modifiers);
  Click(p, b, modifiers);
}

void TOffscreenBackend::Wheel(TPoint p, Integer delta, Byte modifiers) {
  PushMouse(bekWheel, p, bbLeft, modifiers, delta);
}

void TOffscreenBackend::TrackModifierKey(Word vk, bool down) {
  if (IsShiftKey(vk)) shiftHeld_ = down;
  if (IsCtrlKey(vk)) ctrlHeld_ = down;
  if (IsAltKey(vk)) altHeld_ = down;
}

void TOffscreenBackend::PushKey(TBackendEventKind kind, Word vk, Byte modifiers, bool repeat) {
  TBackendEvent e;
  e.Kind = kind;
  e.Window = focused_;
  e.ScreenPos = cursor_;
  e.Key = vk;
  e.Repeat = repeat;
  e.Modifiers = Byte(modifiers | HeldModifiers());
  e.Time = tick_;
  events_.push_back(std::move(e));
}

void TOffscreenBackend::PushText(const String& text) {
  TBackendEvent e;
  e.Kind = bekText;
  e.Window = focused_;
  e.ScreenPos = cursor_;
  e.Text = text;
  e.Modifiers = HeldModifiers();
  e.Time = tick_;
  events_.push_back(std::move(e));
}

void TOffscreenBackend::KeyDown(Word vk, Byte modifiers, bool repeat) {
  TrackModifierKey(vk, true);
  PushKey(bekKeyDown, vk, modifiers, repeat);
}

void TOffscreenBackend::KeyUp(Word vk, Byte modifiers) {
  TrackModifierKey(vk, false);
  PushKey(bekKeyUp, vk, modifiers, false);
}

void TOffscreenBackend::PressKey(Word vk, Byte modifiers) {
  KeyDown(vk, modifiers);
  Byte mods = Byte(modifiers | HeldModifiers());
  if (!(mods & (bmCtrl | bmAlt))) {
    if (char32_t ch = KeyText(vk, (mods & bmShift) != 0)) {
      String s;
      Utf8Append(s, ch);
      PushText(s);
    }
  }
  KeyUp(vk, modifiers);
}

void TOffscreenBackend::TextInput(const String& utf8) {
  size_t i = 0;
  while (i < utf8.size()) {
    String s;
    Utf8Append(s, Utf8Next(utf8, i));
    PushText(s);
  }
}

void TOffscreenBackend::TypeText(const String& utf8) {
  size_t i = 0;
  while (i < utf8.size()) {
    char32_t ch = Utf8Next(utf8, i);
    if (ch == U'\n' || ch == U'\r') {
      PressKey(VK_RETURN);
      continue;
    }
    if (ch == U'\t') {
      PressKey(VK_TAB);
      continue;
    }
    if (ch == U'\b') {
      PressKey(VK_BACK);
      continue;
    }
    Word vk = 0;
    Byte mods = 0;
    if (ch >= U'a' && ch <= U'z') {
      vk = Word(ch - U'a' + 'A');
    } else if (ch >= U'A' && ch <= U'Z') {
      vk = Word(ch);
      mods = bmShift;
    } else if (ch >= U'0' && ch <= U'9') {
      vk = Word(ch);
    } else if (ch == U' ') {
      vk = VK_SPACE;
    }
    String s;
    Utf8Append(s, ch);
    if (vk) PushKey(bekKeyDown, vk, mods, false);
    PushText(s);
    if (vk) PushKey(bekKeyUp, vk, mods, false);
  }
}

void TOffscreenBackend::RequestClose(TNativeWindow w) {
  TBackendEvent e;
  e.Kind = bekClose;
  e.Window = w;
  e.Time = tick_;
  events_.push_back(std::move(e));
}

void TOffscreenBackend::UserSetBounds(TNativeWindow w, const TRect& r) {
  TWindow* win = Find(w);
  if (!win) return;
  bool sized = r.Width() != win->Params.Bounds.Width() || r.Height() != win->Params.Bounds.Height();
  SetNativeBounds(w, r);
  TBackendEvent e;
  e.Kind = sized ? bekResized : bekMoved;
  e.Window = w;
  e.Bounds = r;
  e.Time = tick_;
  events_.push_back(std::move(e));
}

void TOffscreenBackend::PointerLeft() {
  TBackendEvent e;
  e.Kind = bekMouseLeft;
  e.Time = tick_;
  events_.push_back(std::move(e));
}

void TOffscreenBackend::PostQuit() {
  TBackendEvent e;
  e.Kind = bekQuit;
  e.Time = tick_;
  events_.push_back(std::move(e));
}

TColor TOffscreenBackend::Pixel(TNativeWindow w, Integer x, Integer y) const {
  const TWindow* win = Find(w);
  if (!win || x < 0 || y < 0 || x >= win->Width || y >= win->Height) return -1;
  std::uint32_t p = win->Pixels[size_t(y) * size_t(win->Width) + size_t(x)];
  return RGB(Byte(p >> 16), Byte(p >> 8), Byte(p));
}

void TOffscreenBackend::SavePng(TNativeWindow w, const String& path) {
  TWindow* win = Find(w);
  TObjectPtr<TCanvas> canvas = MakeObject<TCanvas>();
  if (win && !win->Pixels.empty())
    canvas->SetSurface(win->Pixels.data(), win->Width, win->Height, win->Width * 4);
  SaveCanvasToPng(*canvas, path);
}

std::vector<TNativeWindow> TOffscreenBackend::Windows() const {
  std::vector<TNativeWindow> r;
  for (const auto& kv : windows_) r.push_back(kv.first);
  return r;
}

bool TOffscreenBackend::IsShown(TNativeWindow w) const {
  const TWindow* win = Find(w);
  return win && win->Shown;
}

TRect TOffscreenBackend::NativeBounds(TNativeWindow w) const {
  const TWindow* win = Find(w);
  return win ? win->Params.Bounds : TRect();
}

TNativeWindowParams TOffscreenBackend::Params(TNativeWindow w) const {
  const TWindow* win = Find(w);
  return win ? win->Params : TNativeWindowParams();
}

String TOffscreenBackend::Caption(TNativeWindow w) const {
  const TWindow* win = Find(w);
  return win ? win->Params.Caption : String();
}

Integer TOffscreenBackend::PresentCount(TNativeWindow w) const {
  const TWindow* win = Find(w);
  return win ? win->Presents : 0;
}

TRect TOffscreenBackend::LastPresented(TNativeWindow w) const {
  const TWindow* win = Find(w);
  return win ? win->LastPresent : TRect();
}

}  // namespace brevant
