// The extended controls: panels, images, notebooks with named pages,
// splitters, scroll boxes and speed buttons.
//
// Panels draw an outer and an inner bevel (BevelWidth pixels each) with
// BorderWidth pixels of their colour between them; children align inside
// all of it. A notebook shows one page (a TPage child) at a time. A
// splitter resizes the control aligned to the same side right before it. A
// scroll box keeps its children's area reachable through scroll bars. Speed
// buttons are window-less buttons that can stay down in groups.
#pragma once

#include "classes/shared_enums.h"
#include "controls/controls.h"
#include "controls/forms.h"
#include "controls/press_tracker.h"

namespace brevant {

class TBitmap;
class TPicture;

// The panels' border style: bsNone or bsSingle (a sunken client edge).
using TBorderStyle = TFormBorderStyle;

// ---- TPanel ----------------------------------------------------------------------------------
enum TBevelCut : Byte { bvNone, bvLowered, bvRaised, bvSpace };
BV_DECLARE_ENUM_INFO(TBevelCut)

class TCustomPanel : public TCustomControl {
  BV_CLASS(TCustomPanel, TCustomControl)
 public:
  explicit TCustomPanel(TComponent* owner);

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut value);
  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut value);
  // At least 1.
  Integer BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(Integer value);
  // At least 0.
  Integer BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(Integer value);
  // bsNone or bsSingle; other values count as bsSingle.
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle value);
  // Paints the parent's colour as the background instead of Color, so the
  // panel blends into whatever it sits on.
  bool ParentBackground() const { return parentBackground_; }
  void SetParentBackground(bool value);
  // Where children align: inside the bevels and the border.
  TRect InnerRect() const;

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  void AlignControls(TControl* control, TRect& rect) override;
  void CMTextChanged(TMessage& message) override;
  void CMParentColorChanged(TMessage& message) override;

 private:
  Integer BorderSize() const;
  void Changed();

  TAlignment alignment_ = taCenter;
  TBevelCut bevelInner_ = bvNone;
  TBevelCut bevelOuter_ = bvRaised;
  Integer bevelWidth_ = 1;
  Integer borderWidth_ = 0;
  TBorderStyle borderStyle_ = bsNone;
  bool parentBackground_ = false;
};

class TPanel : public TCustomPanel {
  BV_CLASS(TPanel, TCustomPanel)
 public:
  using TCustomPanel::TCustomPanel;
};

// ---- TImage ----------------------------------------------------------------------------------
class TImage : public TGraphicControl {
  BV_CLASS(TImage, TGraphicControl)
 public:
  explicit TImage(TComponent* owner);
  ~TImage() override;
  void Loaded() override;

  TPicture* Picture() const { return picture_; }
  void SetPicture(TPicture* value);
  // Without Stretch: the picture centred instead of at the top left.
  bool Center() const { return center_; }
  void SetCenter(bool value);
  // Scaled to the whole control (Proportional keeps the aspect ratio).
  bool Stretch() const { return stretch_; }
  void SetStretch(bool value);
  // Keeps the aspect ratio; a picture larger than the control shrinks to fit
  // even without Stretch.
  bool Proportional() const { return proportional_; }
  void SetProportional(bool value);
  // Leaves out the picture's transparent colour (a bitmap's bottom-left
  // pixel unless set), so the parent shows through.
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  // The control takes the picture's size.
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  // Where the picture is drawn, in client coordinates.
  TRect DestRect() const;

 protected:
  void Paint() override;

 private:
  void PictureChanged(TObject* sender);

  TPicture* picture_ = nullptr;
  bool center_ = false;
  bool stretch_ = false;
  bool proportional_ = false;
  bool transparent_ = false;
  bool autoSize_ = false;
};

// ---- TNotebook -------------------------------------------------------------------------------
class TNotebook;

// A page of a notebook: a client-aligned container whose Caption is its
// name. Only the notebook's active page is visible.
class TPage : public TCustomControl {
  BV_CLASS(TPage, TCustomControl)
 public:
  explicit TPage(TComponent* owner);
  TNotebook* Notebook() const;
  // The position among the notebook's pages (-1 when not on a notebook).
  Integer PageIndex() const;
  // Joining or leaving a notebook adds or removes the page.
  void SetParent(TWinControl* value) override;

 protected:
  void Paint() override;
};

class TNotebook : public TCustomControl {
  BV_CLASS(TNotebook, TCustomControl)
 public:
  explicit TNotebook(TComponent* owner);
  void BeforeDestruction() override;
  void Loaded() override;

  Integer PageCount() const { return static_cast<Integer>(pages_.size()); }
  // Raises EListError outside 0 .. PageCount-1.
  TPage* Pages(Integer index) const;
  // The index of the page with the name (ignoring case), or -1.
  Integer IndexOfPage(const String& name) const;
  // A new page named caption at the end (owned by the notebook).
  TPage* AddPage(const String& caption);

  // The visible page's index; -1 without pages. Raises EListError for an
  // index outside the pages (checked after loading).
  Integer PageIndex() const { return pageIndex_; }
  void SetPageIndex(Integer value);
  // The visible page's name; setting an unknown name raises EListError.
  String ActivePage() const;
  void SetActivePage(const String& value);

  TNotifyEvent OnPageChanged;

  void InsertPage(TPage* page);
  void RemovePage(TPage* page);

 protected:
  void Paint() override;

 private:
  void ShowPage(Integer index);

  std::vector<TPage*> pages_;
  Integer pageIndex_ = -1;
  Integer loadedPageIndex_ = -1;
};

// ---- TSplitter -------------------------------------------------------------------------------
enum TResizeStyle : Byte { rsNone, rsLine, rsUpdate, rsPattern };
BV_DECLARE_ENUM_INFO(TResizeStyle)
using TCanResizeEvent = TEvent<void(TObject* Sender, Integer& NewSize, bool& Accept)>;

class TSplitter : public TGraphicControl {
  BV_CLASS(TSplitter, TGraphicControl)
 public:
  explicit TSplitter(TComponent* owner);

  // The smallest size of the resized control and of the space left beside
  // it (at least 1).
  Integer MinSize() const { return minSize_; }
  void SetMinSize(Integer value) { minSize_ = value < 1 ? 1 : value; }
  // rsUpdate resizes while dragging; rsLine and rsPattern show an inverted
  // line and resize on release; rsNone resizes on release only.
  TResizeStyle ResizeStyle() const { return resizeStyle_; }
  void SetResizeStyle(TResizeStyle value) { resizeStyle_ = value; }
  bool Beveled() const { return beveled_; }
  void SetBeveled(bool value);
  // The control the splitter resizes now (nullptr: none beside it).
  TControl* ResizeControl() const;

  // Asked with the proposed size; may change it or refuse.
  TCanResizeEvent OnCanResize;
  // After a drag resized the control.
  TNotifyEvent OnMoved;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseMove(TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;

 private:
  bool Horizontal() const;  // resizes widths (left or right aligned)
  Integer ClampSize(Integer size) const;
  void ApplySize(Integer size);
  void ToggleLine();
  TRect LineRect() const;

  Integer minSize_ = 30;
  TResizeStyle resizeStyle_ = rsPattern;
  bool beveled_ = false;
  // Drag state.
  TControl* control_ = nullptr;
  TPoint downPos_;  // parent client coordinates
  Integer oldSize_ = 0;
  Integer maxSize_ = 0;
  Integer newSize_ = 0;
  bool lineVisible_ = false;
  Integer linePos_ = 0;
};

// ---- TScrollBox ------------------------------------------------------------------------------
// Children that are not aligned scroll with the bars; arrows, Page Up/Down
// and Home/End scroll when the box has the focus, the wheel scrolls it
// anywhere over it, and a child that receives the focus is scrolled into view.
class TScrollBox : public TCustomControl {
  BV_CLASS(TScrollBox, TCustomControl)
 public:
  explicit TScrollBox(TComponent* owner);

  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle value);
  // Pixels per arrow click or arrow key (at least 1).
  Integer Increment() const { return increment_; }
  void SetIncrement(Integer value) { increment_ = value < 1 ? 1 : value; }
  // The scrolled distance (0 at the top left).
  Integer HorzPosition() const { return pos_.X; }
  Integer VertPosition() const { return pos_.Y; }
  void SetHorzPosition(Integer value) { ScrollTo(value, pos_.Y); }
  void SetVertPosition(Integer value) { ScrollTo(pos_.X, value); }
  // The area the children need, in unscrolled client coordinates.
  TSize ContentSize() const;
  // Scrolls to a position, clamped to the content.
  void ScrollTo(Integer x, Integer y);
  // Scrolls so the control (a descendant) is fully visible where possible.
  void ScrollInView(TControl* control);
  // Recomputes the scroll ranges after children moved or changed size.
  void UpdateScrollBars();

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Paint() override;
  void AlignControls(TControl* control, TRect& rect) override;
  void KeyDown(Word& key, TShiftState shift) override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void WMGetDlgCode(TMessage& message) override;
  void WMHScroll(TMessage& message) override;
  void WMVScroll(TMessage& message) override;
  void WMMouseWheel(TMessage& message) override;
  void CMFocusChanged(TMessage& message) override;

 private:
  void Scroll(Integer bar, Integer code, Integer trackPos);

  TBorderStyle borderStyle_ = bsSingle;
  Integer increment_ = 8;
  TPoint pos_;
  bool updating_ = false;
};

// ---- TSpeedButton ----------------------------------------------------------------------------
enum TButtonLayout : Byte { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TButtonState : Byte { bsUp, bsDisabled, bsDown, bsExclusive };
BV_DECLARE_ENUM_INFO(TButtonLayout)
BV_DECLARE_ENUM_INFO(TButtonState)
using TNumGlyphs = Integer;

class TSpeedButton : public TGraphicControl {
  BV_CLASS(TSpeedButton, TGraphicControl)
 public:
  explicit TSpeedButton(TComponent* owner);
  ~TSpeedButton() override;

  // Buttons of one parent with the same non-zero GroupIndex are exclusive:
  // one down makes the others up.
  Integer GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(Integer value);
  // Whether the down button of a group comes up when clicked (shared by
  // the whole group).
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool value);
  // Only buttons with a GroupIndex stay down; a down button of a group
  // without AllowAllUp stays down until another comes down.
  bool Down() const { return down_; }
  void SetDown(bool value);
  // No edge until the pointer is over the button.
  bool Flat() const { return flat_; }
  void SetFlat(bool value);
  // A flat button paints no background of its own.
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  // The images side by side: up, disabled, pressed, down (NumGlyphs of
  // them, 1 to 4); the bottom-left pixel's colour is transparent. A
  // missing disabled image is made from the up image, embossed.
  TBitmap* Glyph() const { return glyph_; }
  void SetGlyph(TBitmap* value);
  TNumGlyphs NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(TNumGlyphs value);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout value);
  // Pixels from the edge to the glyph (-1: glyph and text centred).
  Integer Margin() const { return margin_; }
  void SetMargin(Integer value);
  // Pixels between glyph and text (-1: spread evenly).
  Integer Spacing() const { return spacing_; }
  void SetSpacing(Integer value);
  // The look now: up, disabled, pressed (bsDown) or staying down (bsExclusive).
  TButtonState State() const;
  // Whether the pointer is over the button.
  bool MouseInControl() const { return mouseInControl_; }

  // Fires OnClick.
  void Click() override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseMove(TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void CMMouseEnter(TMessage& message) override;
  void CMMouseLeave(TMessage& message) override;
  void CMEnabledChanged(TMessage& message) override;

 private:
  void GlyphChanged(TObject* sender);
  void UpdateExclusive();
  void DrawGlyph(TCanvas* canvas, Integer x, Integer y, TButtonState state);

  TBitmap* glyph_ = nullptr;
  Integer groupIndex_ = 0;
  bool allowAllUp_ = false;
  bool down_ = false;
  bool flat_ = false;
  bool transparent_ = true;
  TNumGlyphs numGlyphs_ = 1;
  TButtonLayout layout_ = blGlyphLeft;
  Integer margin_ = -1;
  Integer spacing_ = 4;
  TPressTracker press_;
  bool mouseInControl_ = false;
};

// Lays out a glyph and a caption in a button's client rectangle: the
// glyph's top-left corner and the caption's rectangle.
void CalcButtonLayout(TCanvas* canvas, const TRect& client, TPoint offset, const String& caption,
                      TSize glyphSize, TButtonLayout layout, Integer margin, Integer spacing,
                      TPoint& glyphPos, TRect& textBounds);

}  // namespace brevant
