// The navigation bar's geometry and painting: headers stacked above and
// below the open group, the open group's items as icon boxes with captions,
// the hover and press feedback of each frame style and the scroll arrows.
#include <algorithm>

#include "controls/stdctrls.h"
#include "controls/wincore.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/draw_flags.h"
#include "graphics/font.h"
#include "graphics/imagelist.h"
#include "graphics/picture.h"
#include "navbar/nav_bar.h"

namespace brevant {

// ---- geometry ----------------------------------------------------------------------------------

Integer TCustomNavBar::TextHeightOf(TFont* font, const String& text) {
  TCanvas* c = buffer_->Canvas();
  c->Font()->Assign(font);
  return c->TextHeight(text);
}

TCustomNavBar::TLayout TCustomNavBar::Layout(Integer openGroup) {
  TLayout l;
  l.Client = ClientRect();
  l.Client = TRect(l.Client.Left + 1, l.Client.Top + 1, l.Client.Right - 1, l.Client.Bottom - 1);
  l.HeaderHeight = TextHeightOf(buttonFont_, "Wg") + 8;
  Integer below = 0;
  for (Integer i = openGroup + 1; i < GroupCount(); ++i)
    if (groups_[i]->Visible()) ++below;
  Integer top = l.Client.Top;
  Integer bottom = l.Client.Bottom - below * l.HeaderHeight;
  l.Area = TRect();
  for (Integer i = 0; i < GroupCount(); ++i) {
    TNavBarItems* g = groups_[i];
    if (!g->Visible()) {
      g->SetHeaderRect({-1, -1, -1, -1});
      continue;
    }
    Integer& y = i <= openGroup ? top : bottom;
    g->SetHeaderRect({l.Client.Left, y, l.Client.Right, y + l.HeaderHeight});
    y += l.HeaderHeight;
    if (i == openGroup)
      l.Area = TRect(l.Client.Left, top, l.Client.Right,
                     std::max<Integer>(top, l.Client.Bottom - below * l.HeaderHeight));
  }
  return l;
}

TRect TCustomNavBar::ItemArea() {
  return Layout(selectedButton_).Area;
}

TImageList* TCustomNavBar::GroupImages() {
  TImageList* list = images_;
  if (TNavBarItems* g = OpenGroup()) OnGetImages(this, g->Caption(), list);
  return list;
}

TSize TCustomNavBar::IconSize() {
  TImageList* list = GroupImages();
  return list ? TSize{list->Width(), list->Height()} : TSize{32, 32};
}

String TCustomNavBar::DrawnCaption(const TNavBarItem* item) const {
  String s = item->Caption();
  if (stripAccChar_) std::erase(s, '&');
  return s;
}

Integer TCustomNavBar::ItemHeight(const TNavBarItem* item, Integer areaWidth) {
  TSize icon = IconSize();
  Integer text = TextHeightOf(Font(), "Wg");
  if (wordWrap_) {
    TCanvas* c = buffer_->Canvas();
    TRect r(0, 0, std::max<Integer>(areaWidth - 4, 1), 0);
    c->DrawText(DrawnCaption(item), r, DT_CALCRECT | DT_WORDBREAK | DT_CENTER | DT_NOPREFIX);
    text = std::max<Integer>(r.Height(), text);
  }
  return icon.cy + 4 + text + spacing_;
}

TRect TCustomNavBar::ArrowRect(bool up) {
  // The arrows of the last paint; a bar not painted yet computes them now.
  if (buffer_->Width() != std::max<Integer>(Width(), 1) ||
      buffer_->Height() != std::max<Integer>(Height(), 1))
    RenderTo(buffer_->Canvas());
  return up ? upArrow_ : downArrow_;
}

// ---- painting ----------------------------------------------------------------------------------

namespace {

void RaisedFrame(TCanvas* c, TRect r) {
  Frame3D(c, r, cl3DLight, cl3DDkShadow, 1);
}

void SunkenFrame(TCanvas* c, TRect r) {
  Frame3D(c, r, cl3DDkShadow, cl3DLight, 1);
}

// The small black triangle of a scroll arrow, 6 pixels wide.
void ArrowGlyph(TCanvas* c, const TRect& r, bool up, bool pressed) {
  Integer cx = (r.Left + r.Right) / 2 + (pressed ? 1 : 0);
  Integer cy = (r.Top + r.Bottom) / 2 + (pressed ? 1 : 0);
  c->Pen()->SetColor(clBlack);
  c->Brush()->SetColor(clBlack);
  if (up)
    c->Polygon({TPoint{cx - 3, cy + 1}, TPoint{cx + 3, cy + 1}, TPoint{cx, cy - 2}});
  else
    c->Polygon({TPoint{cx - 3, cy - 1}, TPoint{cx + 3, cy - 1}, TPoint{cx, cy + 2}});
}

}  // namespace

// Paints the bar into a canvas of the control's size, recording the
// rectangles hit testing reads. A class of its own keeps each step small.
class TNavBarPainter {
 public:
  TNavBarPainter(TCustomNavBar& bar, TCanvas* c) : bar_(bar), c_(c) {}

  void Run() {
    TCustomNavBar::TLayout l = bar_.Layout(bar_.selectedButton_);
    TRect all(0, 0, bar_.Width(), bar_.Height());
    c_->Brush()->SetColor(bar_.Color());
    c_->FillRect(all);
    Frame3D(c_, all, clBtnShadow, clBtnHighlight, 1);
    bar_.upArrow_ = bar_.downArrow_ = TRect();
    for (Integer i = 0; i < bar_.GroupCount(); ++i)
      if (bar_.groups_[i]->Visible()) Header(i);
    ClearItemRects();
    if (TNavBarItems* g = bar_.OpenGroup(); g && g->Visible()) Items(g, l.Area);
  }

 private:
  void Header(Integer index) {
    TNavBarItems* g = bar_.groups_[index];
    TRect r = g->HeaderRect();
    c_->Brush()->SetColor(bar_.buttonColor_);
    c_->FillRect(r);
    TRect frame = r;
    bool pressed = bar_.pressed_ == TNavBarPart{npHeader, index};
    if (pressed) {
      c_->Brush()->SetColor(clBtnShadow);
      c_->FrameRect(frame);
    } else {
      Frame3D(c_, frame, clBtnHighlight, clBtnShadow, 1);
    }
    c_->Font()->Assign(bar_.buttonFont_);
    c_->Brush()->SetStyle(bsClear);
    TRect text = r;
    if (pressed) text = TRect(r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1);
    c_->DrawText(g->Caption(), text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    c_->Brush()->SetStyle(bsSolid);
  }

  void ClearItemRects() {
    for (TNavBarItems* g : bar_.groups_)
      for (Integer i = 0; i < g->Count(); ++i) g->Items(i)->SetPaintRects({}, {});
  }

  void Background(const TRect& area) {
    TGraphic* pic = bar_.background_->Graphic();
    c_->Brush()->SetColor(bar_.Color());
    c_->FillRect(area);
    if (!pic || pic->Empty()) return;
    c_->IntersectClipRect(area);
    for (Integer y = area.Top; y < area.Bottom; y += pic->Height())
      for (Integer x = area.Left; x < area.Right; x += pic->Width()) c_->Draw(x, y, pic);
    c_->ResetClip();
  }

  void Items(TNavBarItems* g, const TRect& area) {
    if (area.Height() <= 0) return;
    Background(area);
    images_ = bar_.GroupImages();
    icon_ = bar_.IconSize();
    Integer y = area.Top + bar_.topSpacing_;
    Integer shown = 0;
    c_->IntersectClipRect(area);
    for (Integer i = bar_.firstItem_; i < g->Count(); ++i) {
      TNavBarItem* item = g->Items(i);
      if (!item->Visible()) continue;
      Integer h = bar_.ItemHeight(item, area.Width());
      // The first shown item always shows, so a short bar keeps its selection in view.
      if (shown > 0 && y + h >= area.Bottom) {
        bar_.downArrow_ = Arrow(area, false);
        break;
      }
      Item(i, item, area, y, h);
      ++shown;
      y += h;
    }
    bar_.capacity_ = std::max<Integer>(shown, g->Count() > 0 ? 1 : 0);
    if (bar_.firstItem_ > 0) bar_.upArrow_ = Arrow(area, true);
    c_->ResetClip();
  }

  bool RowStyle() const {
    return bar_.frameStyle_ == fsRowRaised || bar_.frameStyle_ == fsRowLowered ||
           bar_.frameStyle_ == fsRowButton;
  }

  void Item(Integer index, TNavBarItem* item, const TRect& area, Integer y, Integer h) {
    TRect box(area.Left + (area.Width() - icon_.cx) / 2 - 4, y, 0, y + icon_.cy + 8);
    box.Right = box.Left + icon_.cx + 8;
    if (RowStyle()) {
      box.Left = 1;
      box.Right = area.Right;
      if (!bar_.allowEditing_) box.Bottom = y + h;
    }
    TRect caption(area.Left + 2, y + icon_.cy + 8, area.Right - 2, y + h - bar_.spacing_ + 4);
    item->SetPaintRects(box, caption);
    c_->Font()->Assign(bar_.Font());
    Feedback(index, box);
    bool selected = index == bar_.selectedItem_ || bar_.pressed_ == TNavBarPart{npIconBox, index};
    if (selected) {
      if (bar_.frameStyle_ == fsSingle || bar_.frameStyle_ == fsButton ||
          bar_.frameStyle_ == fsRowButton)
        SunkenButtonFrame(box);
      c_->Font()->Assign(bar_.selectedFont_);
    }
    Integer iconLeft = area.Left + (area.Width() - icon_.cx) / 2;
    if (images_ && item->ImageIndex() >= 0 && item->ImageIndex() < images_->Count())
      images_->Draw(c_, iconLeft, box.Top + 4, item->ImageIndex(), item->Enabled());
    if (!item->Enabled()) c_->Font()->SetColor(clGrayText);
    c_->Brush()->SetStyle(bsClear);
    Cardinal flags = DT_CENTER | (bar_.stripAccChar_ ? DT_NOPREFIX : 0) |
                     (bar_.wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE | DT_END_ELLIPSIS);
    TRect text = caption;
    c_->DrawText(bar_.DrawnCaption(item), text, flags);
    c_->Brush()->SetStyle(bsSolid);
  }

  // The hover and press look of one icon box, by frame style.
  void Feedback(Integer index, const TRect& box) {
    const TNavBarPart& pressed = bar_.pressed_;
    bool iconPressed = pressed == TNavBarPart{npIconBox, index};
    bool hovered = bar_.hover_ == TNavBarPart{npIconBox, index};
    bool otherPressed =
        pressed.Kind == npHeader || pressed.Kind == npArrow || pressed.Kind == npCaptionBox;
    bool selected = index == bar_.selectedItem_;
    if (iconPressed) {
      Highlight(box);
      if (!selected) FrameUnlessSelected(box);
      return;
    }
    if (!hovered || (pressed.Kind != npNothing && !otherPressed)) return;
    bool idle = pressed.Kind == npNothing;
    switch (bar_.frameStyle_) {
      case fsRaised:
      case fsRowRaised:
        if (idle) RaisedFrame(c_, box), Highlight(box);
        break;
      case fsButton:
      case fsRowButton:
        if (!idle) break;
        if (!selected) RaisedFrame(c_, box);
        Highlight(box);
        break;
      case fsLowered:
      case fsRowLowered:
        Highlight(box);
        SunkenFrame(c_, box);
        break;
      case fsSingle:
        Highlight(box);
        if (!selected) FrameUnlessSelected(box);
        break;
      case fsNone:
        break;
    }
  }

  void Highlight(const TRect& box) {
    if (bar_.itemHighlightColor_ != clNone) {
      c_->Brush()->SetColor(bar_.itemHighlightColor_);
      c_->FillRect(TRect(box.Left + 1, box.Top + 1, box.Right - 1, box.Bottom - 1));
    }
    c_->Font()->Assign(bar_.itemHighlightFont_);
  }

  void SunkenButtonFrame(TRect box) { Frame3D(c_, box, clBtnShadow, clBtnHighlight, 1); }

  void FrameUnlessSelected(const TRect& box) {
    c_->Brush()->SetColor(bar_.frameColor_);
    c_->FrameRect(box);
  }

  TRect Arrow(const TRect& area, bool up) {
    bool pressed = bar_.pressed_ == TNavBarPart{npArrow, up ? 1 : 0};
    TRect r;
    if (bar_.scrollBtnStyle_ == sbButton) {
      Integer s = GetSystemMetrics(SM_CXVSCROLL);
      Integer top = up ? area.Top + 4 : area.Bottom - 4 - s;
      r = TRect(area.Right - 4 - s, top, area.Right - 4, top + s);
      c_->Brush()->SetColor(clBtnFace);
      c_->FillRect(r);
      TRect f = r;
      Frame3D(c_, f, pressed ? clBlack : clWhite, pressed ? clWhite : clBlack, 1);
    } else {
      r = up ? TRect(area.Left, area.Top, area.Right, area.Top + 11)
             : TRect(area.Left, area.Bottom - 11, area.Right, area.Bottom);
      c_->Brush()->SetColor(clBtnFace);
      c_->FillRect(r);
      TRect f = r;
      Frame3D(c_, f, pressed ? clBtnShadow : clBtnHighlight, pressed ? clBtnHighlight : clBtnShadow,
              1);
    }
    ArrowGlyph(c_, r, up, pressed);
    return r;
  }

  TCustomNavBar& bar_;
  TCanvas* c_;
  TImageList* images_ = nullptr;  // icons of the open group
  TSize icon_{32, 32};            // their size
};

void TCustomNavBar::RenderTo(TCanvas* canvas) {
  if (canvas == buffer_->Canvas())
    buffer_->SetSize(std::max<Integer>(Width(), 1), std::max<Integer>(Height(), 1));
  TNavBarPainter(*this, canvas).Run();
}

void TCustomNavBar::Paint() {
  RenderTo(buffer_->Canvas());
  TCanvas* src = buffer_->Canvas();
  if (slideTarget_ >= 0) {
    // The band slides: the old content leaves, the new comes in behind it.
    TRect band = slideRect_;
    Integer d = std::min<Integer>(slideOffset_, band.Height());
    src = slideOld_->Canvas();
    TCanvas* dst = buffer_->Canvas();
    dst->CopyRect(TRect(0, 0, Width(), Height()), src, TRect(0, 0, Width(), Height()));
    Integer h = band.Height();
    if (slideDown_) {
      dst->CopyRect({band.Left, band.Top, band.Right, band.Bottom - d}, src,
                    {band.Left, band.Top + d, band.Right, band.Bottom});
      dst->CopyRect({band.Left, band.Bottom - d, band.Right, band.Bottom}, slideNew_->Canvas(),
                    {band.Left, band.Top, band.Right, band.Top + d});
    } else {
      dst->CopyRect({band.Left, band.Top + d, band.Right, band.Bottom}, src,
                    {band.Left, band.Top, band.Right, band.Top + h - d});
      dst->CopyRect({band.Left, band.Top, band.Right, band.Top + d}, slideNew_->Canvas(),
                    {band.Left, band.Bottom - d, band.Right, band.Bottom});
    }
    src = dst;
  }
  Canvas()->CopyRect(ClientRect(), src, ClientRect());
}

}  // namespace brevant
