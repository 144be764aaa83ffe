// The control classes: TControl (anything with bounds on a parent),
// TWinControl (a control with its own window), TCustomControl (a windowed
// control that paints on a Canvas) and TGraphicControl (a control without a
// window, painted and fed mouse input by its parent).
//
// Messages. Every control handles messages in WndProc, a switch that calls
// one virtual handler per message (WMPaint, WMSize, CMEnter ...). A handler
// that wants the framework's behaviour calls the inherited one; what no
// handler takes reaches DefaultHandler, which for a windowed control is the
// window manager's DefWindowProc. Perform sends a message straight to
// WndProc. Subclasses override handlers, or WndProc itself for private
// messages (WM_USER + n).
//
// Life cycle of a window. A windowed control creates its window when it is
// needed (HandleNeeded) or when it is placed on a parent that has one; a
// child's handle follows its parent's: created with it, destroyed with it,
// moved along when the control moves to another parent at run time.
// CreateParams describes the window, CreateWnd makes it. While a component
// is loading, setters only store values; Loaded builds what follows from
// them and, for a control whose parent has a window, creates its own.
//
// Keyboard. A key message taken from the queue goes through IsKeyMsg first
// (see the message loop below): the control receives the reflected CN_KEYDOWN
// (CN_CHAR ...), whose default handling gives the form its dialog keys (Tab,
// arrows, Return, Escape, accelerators) unless WM_GETDLGCODE keeps them; an
// answer of 1 consumes the key. Otherwise the key is translated (WM_CHAR is
// queued) and dispatched: WM_KEYDOWN -> KeyDown, WM_CHAR -> KeyPress,
// WM_KEYUP -> KeyUp; the form sees each first when KeyPreview is set, and a
// handler that sets the key to 0 consumes it.
//
// Mouse. Button messages raise MouseDown/MouseUp/MouseMove with the shift
// state (ssDouble for a double click); csCaptureMouse captures the mouse
// while the left button is down, csClickEvents raises Click on a release
// inside the control, a double click raises DblClick. A press on a control
// sends CM_CANCELMODE (LParam: the pressed control) to the focused control
// of the form when that is another control. Hover tracking sends
// CM_MOUSELEAVE to the control the pointer left and CM_MOUSEENTER to the one
// it entered. A windowed parent routes mouse messages that hit one of its
// graphic children (or go to the child holding the capture) to that child.
#pragma once

#include <memory>
#include <vector>

#include "classes/classes_fwd.h"
#include "classes/component.h"
#include "classes/shared_enums.h"
#include "controls/controls_fwd.h"
#include "graphics/graphics_fwd.h"
#include "rtl/method.h"
#include "rtl/sets.h"
#include "rtl/types.h"

namespace brevant {

// ---- enumerations and sets -----------------------------------------------------------
enum TAlign : Byte { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TAnchorKind : Byte { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;
enum TMouseButton : Byte { mbLeft, mbRight, mbMiddle };
enum TShiftStateEnum : Byte { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateEnum>;
enum TDragMode : Byte { dmManual, dmAutomatic };
enum TDragKind : Byte { dkDrag, dkDock };
enum TDragState : Byte { dsDragEnter, dsDragLeave, dsDragMove };

enum TControlStyleEnum : Byte {
  csAcceptsControls,
  csCaptureMouse,
  csDesignInteractive,
  csClickEvents,
  csFramed,
  csSetCaption,
  csOpaque,
  csDoubleClicks,
  csFixedWidth,
  csFixedHeight,
  csNoDesignVisible,
  csReplicatable,
  csNoStdEvents,
  csDisplayDragImage,
  csReflector,
  csActionClient,
  csMenuEvents
};
using TControlStyle = TSet<TControlStyleEnum>;

enum TControlStateEnum : Byte {
  csLButtonDown,
  csClicked,
  csPalette,
  csReadingState,
  csAlignmentNeeded,
  csFocusing,
  csCreating,
  csPaintCopy,
  csCustomPaint,
  csDestroyingHandle,
  csDocking
};
using TControlState = TSet<TControlStateEnum>;

// Reading order, alignment and scroll-bar side of a control's text:
// bdRightToLeft mirrors all three, bdRightToLeftNoAlign keeps the
// alignment, bdRightToLeftReadingOnly changes the reading order only.
enum TBiDiMode : Byte {
  bdLeftToRight,
  bdRightToLeft,
  bdRightToLeftNoAlign,
  bdRightToLeftReadingOnly
};

BV_DECLARE_ENUM_INFO(TBiDiMode)

// What the input method does while a windowed control has the focus:
// disabled, closed, opened, left as it is (imDontCare), or opened in one
// of its conversion modes.
enum TImeMode : Byte {
  imDisable,
  imClose,
  imOpen,
  imDontCare,
  imSAlpha,
  imAlpha,
  imHira,
  imSKata,
  imKata,
  imChinese,
  imSHanguel,
  imHanguel
};
BV_DECLARE_ENUM_INFO(TImeMode)
BV_DECLARE_ENUM_INFO(TAlign)
BV_DECLARE_ENUM_INFO(TAnchorKind)
BV_DECLARE_ENUM_INFO(TAnchors)
BV_DECLARE_ENUM_INFO(TMouseButton)
BV_DECLARE_ENUM_INFO(TShiftStateEnum)
BV_DECLARE_ENUM_INFO(TShiftState)
BV_DECLARE_ENUM_INFO(TDragMode)
BV_DECLARE_ENUM_INFO(TDragKind)
BV_DECLARE_ENUM_INFO(TDragState)

// TCursor (messages.h) is a SmallInt; published cursor properties use this
// integer type named "TCursor".
const TTypeInfo* TypeInfoTCursor();

// ---- events -----------------------------------------------------------------------------
using TKeyEvent = TEvent<void(TObject* Sender, Word& Key, TShiftState Shift)>;
using TKeyPressEvent = TEvent<void(TObject* Sender, char32_t& Key)>;
using TMouseEvent =
    TEvent<void(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y)>;
using TMouseMoveEvent = TEvent<void(TObject* Sender, TShiftState Shift, Integer X, Integer Y)>;
using TContextPopupEvent = TEvent<void(TObject* Sender, TPoint MousePos, bool& Handled)>;
using TDragOverEvent = TEvent<void(TObject* Sender, TObject* Source, Integer X, Integer Y,
                                   TDragState State, bool& Accept)>;
using TDragDropEvent = TEvent<void(TObject* Sender, TObject* Source, Integer X, Integer Y)>;
using TEndDragEvent = TEvent<void(TObject* Sender, TObject* Target, Integer X, Integer Y)>;
using TStartDragEvent = TEvent<void(TObject* Sender, TDragObject*& DragObject)>;
using TStartDockEvent = TEvent<void(TObject* Sender, TDragDockObject*& DragObject)>;

// ---- helpers ----------------------------------------------------------------------------
// The shift state of a key message: Shift and Ctrl from the key state, Alt
// from the context bit of the key data.
TShiftState KeyDataToShiftState(LPARAM keyData);
// The shift state of a mouse message's WParam (MK_ flags; Alt from the key state).
TShiftState KeysToShiftState(WPARAM keys);
// The control whose window is wnd, or nullptr.
TWinControl* FindControl(HWND wnd);
// The top-most parent of control when it is a form, else nullptr.
TCustomForm* GetParentForm(const TControl* control);

// ---- size constraints ----------------------------------------------------------------------
// Minimum and maximum width and height of a control; 0 means no limit.
class TSizeConstraints : public TPersistent {
  BV_CLASS(TSizeConstraints, TPersistent)
 public:
  TSizeConstraints() = default;
  void Assign(const TPersistent* source) override;

  Integer MaxHeight() const { return maxHeight_; }
  void SetMaxHeight(Integer value);
  Integer MaxWidth() const { return maxWidth_; }
  void SetMaxWidth(Integer value);
  Integer MinHeight() const { return minHeight_; }
  void SetMinHeight(Integer value);
  Integer MinWidth() const { return minWidth_; }
  void SetMinWidth(Integer value);

  // Applies the limits to a proposed size.
  void Constrain(Integer& width, Integer& height) const;

  TNotifyEvent OnChange;

 private:
  void Changed() { OnChange(this); }
  Integer maxHeight_ = 0;
  Integer maxWidth_ = 0;
  Integer minHeight_ = 0;
  Integer minWidth_ = 0;
};

// ---- TControl ----------------------------------------------------------------------------------
class TControl : public TComponent {
  BV_CLASS(TControl, TComponent)
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;
  void AfterConstruction() override;
  void BeforeDestruction() override;
  void Loaded() override;

  // A token that expires when the control is freed (see TAliveGuard).
  std::weak_ptr<const void> LifeToken() const { return life_; }

  // ---- parent ----
  TWinControl* Parent() const { return parent_; }
  // Moves the control to another parent (nullptr: none). A windowed
  // control's window moves along. Raises EInvalidOperation when the new
  // parent is the control itself or one of its children.
  virtual void SetParent(TWinControl* value);
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* value) override;

  // ---- geometry (parent's client coordinates) ----
  Integer Left() const { return left_; }
  void SetLeft(Integer value) { SetBounds(value, top_, width_, height_); }
  Integer Top() const { return top_; }
  void SetTop(Integer value) { SetBounds(left_, value, width_, height_); }
  Integer Width() const { return width_; }
  void SetWidth(Integer value) { SetBounds(left_, top_, value, height_); }
  Integer Height() const { return height_; }
  void SetHeight(Integer value) { SetBounds(left_, top_, width_, value); }
  // Applies the constraints; negative sizes become 0.
  virtual void SetBounds(Integer left, Integer top, Integer width, Integer height);
  TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
  void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
  // The client area in client coordinates: (0, 0, Width, Height) for a
  // control without a window.
  virtual TRect GetClientRect() const;
  TRect ClientRect() const { return GetClientRect(); }
  Integer ClientWidth() const { return GetClientRect().Width(); }
  void SetClientWidth(Integer value);
  Integer ClientHeight() const { return GetClientRect().Height(); }
  void SetClientHeight(Integer value);
  void SetClientSize(Integer width, Integer height);
  // The client area's top-left corner in screen coordinates.
  virtual TPoint ClientOrigin() const;
  TPoint ClientToScreen(TPoint p) const;
  TPoint ScreenToClient(TPoint p) const;
  TAlign Align() const { return align_; }
  void SetAlign(TAlign value);
  TAnchors Anchors() const { return anchors_; }
  void SetAnchors(TAnchors value);
  TSizeConstraints* Constraints() const { return constraints_; }
  void SetConstraints(TSizeConstraints* value) { constraints_->Assign(value); }

  // ---- state ----
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool value);
  TFont* Font() const { return font_; }
  void SetFont(TFont* value);
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool value);
  const String& Text() const { return text_; }
  void SetText(const String& value);
  const String& Caption() const { return text_; }
  void SetCaption(const String& value) { SetText(value); }
  const String& Hint() const { return hint_; }
  void SetHint(const String& value) { hint_ = value; }
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool value);
  bool ParentShowHint() const { return parentShowHint_; }
  void SetParentShowHint(bool value);
  TBiDiMode BiDiMode() const { return biDiMode_; }
  // Also stops following the parent's mode (ParentBiDiMode False).
  void SetBiDiMode(TBiDiMode value);
  // Takes the parent's BiDiMode now and whenever it changes.
  bool ParentBiDiMode() const { return parentBiDiMode_; }
  void SetParentBiDiMode(bool value);
  // Text aligned from the right (left and right alignments swap).
  bool UseRightToLeftAlignment() const { return biDiMode_ == bdRightToLeft; }
  // Text read from right to left.
  bool UseRightToLeftReading() const { return biDiMode_ != bdLeftToRight; }
  // The vertical scroll bar stands at the left edge.
  bool UseRightToLeftScrollBar() const {
    return biDiMode_ == bdRightToLeft || biDiMode_ == bdRightToLeftNoAlign;
  }
  // An alignment as shown under the BiDiMode (left and right swapped when
  // the alignment is mirrored).
  TAlignment BiDiAlignment(TAlignment alignment) const;
  // The pop-up menu; a TComponent until menus exist. Cleared when it is freed.
  TComponent* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TComponent* value);
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor value);
  TDragMode DragMode() const { return dragMode_; }
  void SetDragMode(TDragMode value) { dragMode_ = value; }
  TDragKind DragKind() const { return dragKind_; }
  void SetDragKind(TDragKind value) { dragKind_ = value; }
  TCursor DragCursor() const { return dragCursor_; }
  void SetDragCursor(TCursor value) { dragCursor_ = value; }
  TControlStyle ControlStyle() const { return controlStyle_; }
  void SetControlStyle(TControlStyle value) { controlStyle_ = value; }
  TControlState ControlState() const { return controlState_; }
  void SetControlState(TControlState value) { controlState_ = value; }
  // Visible here and on every parent up to a top-level window that is shown.
  virtual bool Showing() const;
  // Whether the mouse is captured for this control.
  bool MouseCapture() const;
  void SetMouseCapture(bool value);

  // ---- painting ----
  virtual void Invalidate();
  virtual void Update();
  void Repaint();
  void Refresh() { Repaint(); }
  void BringToFront();
  void SendToBack();

  // ---- messages ----
  LRESULT Perform(Cardinal msg, WPARAM wParam = 0, LPARAM lParam = 0);
  // Sorts out mouse state, then calls Dispatch.
  virtual void WndProc(TMessage& message);
  // The per-message switch: calls the handler of the message, or
  // DefaultHandler. Subclasses extend it for their own messages.
  virtual void Dispatch(TMessage& message);
  // What no handler took. Nothing for a control without a window.
  virtual void DefaultHandler(TMessage& message);

  // ---- published events ----
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  TContextPopupEvent OnContextPopup;
  TNotifyEvent OnResize;
  TStartDragEvent OnStartDrag;
  TDragOverEvent OnDragOver;
  TDragDropEvent OnDragDrop;
  TEndDragEvent OnEndDrag;
  TStartDockEvent OnStartDock;
  TEndDragEvent OnEndDock;

  // Stored conditions of the published properties that follow the parent.
  bool IsColorStored() const { return !parentColor_; }
  bool IsFontStored() const { return !parentFont_; }
  bool IsShowHintStored() const { return !parentShowHint_; }
  bool IsBiDiModeStored() const { return !parentBiDiMode_; }

  // Asks the parent to realign its children (after a change of Align,
  // size or visibility of an aligned control).
  void RequestAlign();

  // ---- drag and drop (see dragdrop.h) ----
  // Starts a drag of this control now, or once the pointer moved threshold
  // pixels (-1: the system's drag distance).
  void BeginDrag(bool immediate, Integer threshold = -1);
  // Ends this control's drag: dropped where the pointer is, or cancelled.
  void EndDrag(bool drop);
  // Whether this control's drag runs.
  bool Dragging() const;
  // The images shown while this control is dragged (nullptr: none).
  virtual TDragImageList* GetDragImages() { return nullptr; }
  // The drag manager's calls of the protected handlers.
  void StartDragBy(TDragObject*& dragObject) { DoStartDrag(dragObject); }
  void DragCanceledBy() { DragCanceled(); }
  void EndDragBy(TObject* target, Integer x, Integer y) { DoEndDrag(target, x, y); }

 protected:
  void Notification(TComponent* component, TOperation operation) override;

  // ---- virtual input handlers ----
  virtual void Click();
  virtual void DblClick();
  virtual void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y);
  virtual void MouseMove(TShiftState shift, Integer x, Integer y);
  virtual void DoContextPopup(TPoint mousePos, bool& handled);
  virtual void Resize();
  // Drag and dock are declared for the subclasses; the drag manager comes
  // with the full forms layer.
  virtual void DragOver(TObject* source, Integer x, Integer y, TDragState state, bool& accept);
  virtual void DragDrop(TObject* source, Integer x, Integer y);
  virtual void DoStartDrag(TDragObject*& dragObject);
  virtual void DoEndDrag(TObject* target, Integer x, Integer y);
  virtual void DragCanceled() {}

  // ---- per-message handlers (WndProc calls these) ----
  virtual void WMPaint(TMessage& message);
  virtual void WMMouseMove(TMessage& message);
  virtual void WMLButtonDown(TMessage& message);
  virtual void WMLButtonDblClk(TMessage& message);
  virtual void WMLButtonUp(TMessage& message);
  virtual void WMRButtonDown(TMessage& message);
  virtual void WMRButtonDblClk(TMessage& message);
  virtual void WMRButtonUp(TMessage& message);
  virtual void WMMButtonDown(TMessage& message);
  virtual void WMMButtonDblClk(TMessage& message);
  virtual void WMMButtonUp(TMessage& message);
  virtual void WMContextMenu(TMessage& message);
  virtual void WMCancelMode(TMessage& message);
  virtual void CMEnabledChanged(TMessage& message);
  virtual void CMVisibleChanged(TMessage& message);
  virtual void CMColorChanged(TMessage& message);
  virtual void CMParentColorChanged(TMessage& message);
  virtual void CMFontChanged(TMessage& message);
  virtual void CMParentFontChanged(TMessage& message);
  virtual void CMTextChanged(TMessage& message);
  virtual void CMShowHintChanged(TMessage& message);
  virtual void CMParentShowHintChanged(TMessage& message);
  virtual void CMBiDiModeChanged(TMessage& message);
  virtual void CMParentBiDiModeChanged(TMessage& message);
  virtual void CMCursorChanged(TMessage& message);
  virtual void CMMouseEnter(TMessage& message);
  virtual void CMMouseLeave(TMessage& message);
  virtual void CMCancelMode(TMessage& message);
  virtual void CMHitTest(TMessage& message);
  // CM_DRAG (dragdrop.h): DragOver for enter, move and leave (the answer is
  // Accept), DragDrop for a drop; dmFindTarget answers the control.
  virtual void CMDrag(TMessage& message);

  // Called by the font's OnChange.
  void FontChanged(TObject* sender);
  // Sends CM_CANCELMODE to the focused control of the form, unless that is sender.
  void SendCancelMode(TControl* sender);
  // Invalidates this control's area on the parent (graphic controls).
  void InvalidateControl(bool isVisible, bool isOpaque);
  // Sizes after the constraints.
  virtual void ConstrainSize(Integer& width, Integer& height);
  // Where the control sits now; Parent's realign uses it.
  virtual void BoundsChanged() {}

  TWinControl* parent_ = nullptr;
  Integer left_ = 0;
  Integer top_ = 0;
  Integer width_ = 0;
  Integer height_ = 0;
  String text_;
  TColor color_;  // clWindow at first (set by the constructor)
  TControlStyle controlStyle_;
  TControlState controlState_;

 private:
  friend class TWinControl;
  friend class TCustomForm;
  void DoMouseDown(TMessage& message, TMouseButton button, TShiftState shift);
  void DoMouseUp(TMessage& message, TMouseButton button);
  void ConstraintsChanged(TObject* sender);

  TAlign align_ = alNone;
  TAnchors anchors_{akLeft, akTop};
  TSizeConstraints* constraints_ = nullptr;
  bool visible_ = true;
  bool enabled_ = true;
  bool parentColor_ = false;
  TFont* font_ = nullptr;
  bool parentFont_ = true;
  bool adoptingParentFont_ = false;
  String hint_;
  bool showHint_ = false;
  bool parentShowHint_ = true;
  TBiDiMode biDiMode_ = bdLeftToRight;  // reading order, alignment, scroll-bar side
  bool parentBiDiMode_ = true;          // follows the parent's BiDiMode
  TComponent* popupMenu_ = nullptr;
  TCursor cursor_;  // crDefault at first (set by the constructor)
  TDragMode dragMode_ = dmManual;
  TDragKind dragKind_ = dkDrag;
  TCursor dragCursor_;  // crDrag at first (set by the constructor)
  std::shared_ptr<const int> life_ = std::make_shared<const int>(0);  // dies with the control
};

// Whether a control, and the form it was on, survived a call out to code
// that may free them (an event handler): taken before the call, asked after.
class TAliveGuard {
 public:
  explicit TAliveGuard(const TControl* control);
  bool Alive() const { return !control_.expired() && !form_.expired(); }

 private:
  std::weak_ptr<const void> control_;  // the control's life token
  std::weak_ptr<const void> form_;     // the token of its form (its top-most parent)
};

// ---- TWinControl
// ----------------------------------------------------------------------------------
class TWinControl : public TControl, public IWindowProc {
  BV_CLASS(TWinControl, TControl)
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;
  void BeforeDestruction() override;
  void Loaded() override;

  // ---- window ----
  // The window handle, created on first use (raises EInvalidOperation for
  // a child control without a parent window).
  HWND Handle();
  HWND WindowHandle() const { return handle_; }
  bool HandleAllocated() const { return handle_ != 0; }
  void HandleNeeded();
  // Destroys and creates the window again, keeping bounds, visibility,
  // text and focus.
  void RecreateWnd();
  TBrush* Brush() const { return brush_; }

  // ---- children ----
  Integer ControlCount() const { return static_cast<Integer>(controls_.size()); }
  TControl* Controls(Integer index) const;
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  bool ContainsControl(const TControl* control) const;
  // The visible (and enabled, unless allowDisabled) child without a window
  // under pos (client coordinates), top-most first; allWindows includes
  // windowed children.
  TControl* ControlAtPos(TPoint pos, bool allowDisabled, bool allWindows = false) const;
  // Sends a message to every child.
  void Broadcast(TMessage& message);
  // Sends a message to every child (NotifyControls: CM_PARENTxxxCHANGED).
  void NotifyControls(Cardinal msg, WPARAM wParam = 0, LPARAM lParam = 0);
  // Aligns the children now.
  void Realign();
  void DisableAlign() { ++alignDisabled_; }
  void EnableAlign();
  // Moves the children that are not aligned by dx, dy (scrolled contents),
  // with alignment held off meanwhile.
  void ScrollChildren(Integer dx, Integer dy);

  // ---- input method ----
  TImeMode ImeMode() const { return imeMode_; }
  // Told to the backend at once when the control has the focus.
  void SetImeMode(TImeMode value);
  // The input method asked for (empty: the user's own).
  const String& ImeName() const { return imeName_; }
  void SetImeName(const String& value);
  // Where the composition window stands (client coordinates).
  TPoint ImeCompositionPos() const { return imePos_; }
  void SetImeCompositionPos(TPoint value);

  // ---- focus ----
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool value);
  // The position among the parent's windowed children in tab order; -1
  // without a parent. Values are clamped to the list.
  Integer TabOrder() const;
  void SetTabOrder(Integer value);
  virtual bool CanFocus() const;
  bool Focused() const;
  // Raises EInvalidOperation when the control cannot take the focus.
  virtual void SetFocus();
  // The windowed children in tab order, depth first.
  void GetTabOrderList(std::vector<TWinControl*>& list) const;
  TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                               bool checkParent) const;
  void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);
  void SelectFirst();

  // A child window leaving its parent for none is destroyed.
  void SetParent(TWinControl* value) override;
  // Streaming: the children owned by root, in z-order.
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  bool Showing() const override;
  TRect GetClientRect() const override;
  TPoint ClientOrigin() const override;
  void SetBounds(Integer left, Integer top, Integer width, Integer height) override;
  void Invalidate() override;
  void Update() override;
  // Paints the window's children without windows on canvas (the parent's
  // paint canvas, client coordinates).
  void PaintControls(TCanvas* canvas, const TRect& paintRect);

  // The window manager's entry (IWindowProc) and the control's dispatch.
  void WndProc(TMessage& message) override;
  void Dispatch(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;

  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;
  TKeyEvent OnKeyUp;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

 protected:
  // ---- window life cycle ----
  virtual void CreateParams(TCreateParams& params);
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& params);
  virtual void CreateHandle();
  virtual void DestroyWnd();
  virtual void DestroyWindowHandle();
  void DestroyHandle();
  // Children made their windows; the control can size itself on them.
  virtual void AlignControls(TControl* control, TRect& rect);
  // Reads the bounds back from the window.
  void UpdateBounds();

  // ---- painting ----
  // Paints the window's own content on the paint canvas.
  virtual void PaintWindow(TCanvas* canvas);
  void PaintHandler(TMessage& message);

  // ---- keyboard ----
  virtual void KeyDown(Word& key, TShiftState shift);
  virtual void KeyUp(Word& key, TShiftState shift);
  virtual void KeyPress(char32_t& key);
  virtual void DoEnter();
  virtual void DoExit();
  // Each answers true when the key was consumed (the form's preview or a
  // handler that set the key to 0).
  bool DoKeyDown(TMessage& message);
  bool DoKeyUp(TMessage& message);
  bool DoKey(TMessage& message, bool down);
  bool DoKeyPress(TMessage& message);

  // ---- per-message handlers ----
  void WMPaint(TMessage& message) override;
  virtual void WMEraseBkgnd(TMessage& message);
  virtual void WMSize(TMessage& message);
  virtual void WMMove(TMessage& message);
  virtual void WMWindowPosChanged(TMessage& message);
  virtual void WMSetFocus(TMessage& message);
  virtual void WMKillFocus(TMessage& message);
  virtual void WMKeyDown(TMessage& message);
  virtual void WMKeyUp(TMessage& message);
  virtual void WMChar(TMessage& message);
  virtual void WMSysKeyDown(TMessage& message);
  virtual void WMSysKeyUp(TMessage& message);
  virtual void WMSysChar(TMessage& message);
  virtual void WMGetDlgCode(TMessage& message);
  virtual void WMTimer(TMessage& message);
  virtual void WMVScroll(TMessage& message);
  virtual void WMHScroll(TMessage& message);
  // The default passes the wheel on to the parent; a control that handles
  // the wheel consumes it: it does not call the default.
  virtual void WMMouseWheel(TMessage& message);
  virtual void WMSetCursor(TMessage& message);
  virtual void WMNCHitTest(TMessage& message);
  virtual void WMNCCalcSize(TMessage& message);
  virtual void WMNCPaint(TMessage& message);
  virtual void WMDestroy(TMessage& message);
  virtual void WMNCDestroy(TMessage& message);
  virtual void CNKeyDown(TMessage& message);
  virtual void CNKeyUp(TMessage& message);
  virtual void CNChar(TMessage& message);
  virtual void CNSysKeyDown(TMessage& message);
  virtual void CNSysChar(TMessage& message);
  virtual void CMEnter(TMessage& message);
  virtual void CMExit(TMessage& message);
  virtual void CMDialogKey(TMessage& message);
  virtual void CMDialogChar(TMessage& message);
  virtual void CMWantSpecialKey(TMessage& message);
  virtual void CMChildKey(TMessage& message);
  virtual void CMFocusChanged(TMessage& message);
  void CMEnabledChanged(TMessage& message) override;
  void CMVisibleChanged(TMessage& message) override;
  void CMColorChanged(TMessage& message) override;
  void CMFontChanged(TMessage& message) override;
  void CMTextChanged(TMessage& message) override;
  void CMShowHintChanged(TMessage& message) override;
  void CMCursorChanged(TMessage& message) override;
  // Children that follow the parent take the new mode; the window's style
  // bits change and its frame is computed again.
  void CMBiDiModeChanged(TMessage& message) override;
  // Hands the input-method hints to the backend (the control has the focus).
  void UpdateImeHints();
  // dmFindTarget answers the child without a window under the point.
  void CMDrag(TMessage& message) override;

  // Moves the focus away from this control (and its children) before it
  // goes away or can no longer take it.
  void RemoveFocus(bool removing);

  // The window proc answers Result; messages a handler changed carry their
  // new parameters (the key of WM_KEYDOWN ...).
  HWND handle_ = 0;

 private:
  friend class TControl;
  friend class TCustomForm;
  bool IsControlMouseMsg(TMessage& message);
  bool TakeFormFocus();
  bool TrackMouseMove(TMessage& message);
  void MouseLeftWindow();
  HWND FindCreatingHandle() const;
  void UpdateMouseControl(TPoint screenPos);
  void ApplyAnchors(Integer dw, Integer dh);
  void DoAlign(TAlign align, TControl* control, TRect& rect);

  TBrush* brush_ = nullptr;
  std::vector<TControl*> controls_;    // every child, in z-order bottom first
  std::vector<TWinControl*> tabList_;  // windowed children, in tab order
  bool tabStop_ = false;
  Integer loadedTabOrder_ = -1;  // stored while loading
  Integer alignDisabled_ = 0;
  Integer aligning_ = 0;
  bool alignSizeKnown_ = false;
  TSize alignSize_;  // the client size at the last alignment (anchors)
  bool settingBounds_ = false;
  TImeMode imeMode_ = imDontCare;  // the input method's mode while focused
  String imeName_;                 // the input method asked for
  TPoint imePos_;                  // composition window, client coordinates
};

// ---- TCustomControl
// ----------------------------------------------------------------------------------- A windowed
// control that paints itself on Canvas in Paint.
class TCustomControl : public TWinControl {
  BV_CLASS(TCustomControl, TWinControl)
 public:
  explicit TCustomControl(TComponent* owner);
  ~TCustomControl() override;
  // During painting the paint canvas (clipped to the update area, origin at
  // the client area); otherwise a canvas without surface that measures text.
  // Font, brush and pen set on it carry over to every paint.
  TCanvas* Canvas() const;

 protected:
  virtual void Paint();
  void PaintWindow(TCanvas* canvas) override;

 private:
  TCanvas* canvas_ = nullptr;
  TCanvas* paintCanvas_ = nullptr;
};

// ---- TGraphicControl
// ---------------------------------------------------------------------------------- A control
// without a window: its parent paints it (WM_PAINT with the paint canvas in WParam, clipped to the
// control, origin at its top-left) and routes mouse messages to it.
class TGraphicControl : public TControl {
  BV_CLASS(TGraphicControl, TControl)
 public:
  explicit TGraphicControl(TComponent* owner);
  ~TGraphicControl() override;
  TCanvas* Canvas() const;

 protected:
  virtual void Paint();
  void WMPaint(TMessage& message) override;

 private:
  TCanvas* canvas_ = nullptr;
  TCanvas* paintCanvas_ = nullptr;
};

// ---- the message loop step
// ------------------------------------------------------------------------ What the application's
// message loop does with each message it takes: key messages are offered to their control first as
// CN_ messages (IsKeyMsg answers true when the control consumed one); the rest is translated and
// dispatched. Until the application object exists, tests and simple
// programs pump with these.
bool IsKeyMsg(TMsg& msg);
// The application's look at the message (hints, drags, menus), then IsKeyMsg.
bool PreprocessControlMessage(TMsg& msg);
// IsKeyMsg, then TranslateMessage and DispatchMessage; exceptions go to HandleException.
void DispatchControlMessage(TMsg& msg);
// Processes every pending message (input, posted messages, paints) through
// DispatchControlMessage; answers false when WM_QUIT was taken.
bool PumpMessages();

// The control holding the mouse capture (a graphic control holds it through
// its parent's window), or nullptr.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* control);
// The control the pointer is over, as hover tracking last saw it.
TControl* MouseControl();

// Registers the control classes for streaming.
void RegisterControlClasses();

}  // namespace brevant
