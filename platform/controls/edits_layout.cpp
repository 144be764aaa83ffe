// The edit control's line layout: breaking the text into screen lines,
// positions and characters, scrolling, and painting the lines.
#include "controls/edits.h"

#include <algorithm>

#include "backend/backend.h"
#include "controls/edits_internal.h"
#include "graphics/canvas.h"
#include "graphics/font.h"
#include "graphics/pen_brush.h"
#include "rtl/resstrings.h"
#include "rtl/scope.h"
#include "rtl/strutils.h"

namespace brevant {

using namespace edit_detail;

// ---- layout ---------------------------------------------------------------------------------

void TCustomEdit::InvalidateLayout() {
  layoutValid_ = false;
}

void TCustomEdit::InvalidateText() {
  if (handle_) InvalidateRect(handle_, nullptr, false);
}

TRect TCustomEdit::TextRect() const {
  if (fmtRectSet_) return fmtRect_;
  TRect r = GetClientRect();
  r.Left += leftMargin_;
  r.Right -= rightMargin_;
  if (r.Right < r.Left) r.Right = r.Left;
  return r;
}

String TCustomEdit::DisplayText(Integer from, Integer to) const {
  if (passwordChar_) {
    String one;
    Utf8Append(one, passwordChar_);
    String r;
    for (Integer i = from; i < to; ++i) r += one;
    return r;
  }
  return ToUtf8(buf_, static_cast<size_t>(from), static_cast<size_t>(to), false);
}

Integer TCustomEdit::RangeWidth(Integer from, Integer to) {
  if (to <= from) return 0;
  return measure_->TextWidth(DisplayText(from, to));
}

Integer TCustomEdit::LineHeightOf(Integer, Integer) {
  return measure_->TextHeight("Wg");
}

void TCustomEdit::DrawLine(TCanvas* canvas, const TVisLine& line, Integer x, Integer y,
                           TColor color) {
  if (line.End <= line.Start) return;
  canvas->SetFont(Font());
  if (color != clNone) canvas->Font()->SetColor(color);
  canvas->SetBkMode(TRANSPARENT);
  canvas->TextOut(x, y, DisplayText(line.Start, line.End));
}

void TCustomEdit::EnsureLayout() {
  if (!layoutValid_) BuildLayout();
}

void TCustomEdit::BuildLayout() {
  fmtRect_ = TextRect();
  lines_.clear();
  Integer width = fmtRect_.Width();
  bool wrap = multiLine_ && !autoHScroll_ && width > 0;
  Integer n = TextLength();
  auto push = [this](Integer s, Integer e) {
    TVisLine l;
    l.Start = s;
    l.End = e;
    lines_.push_back(std::move(l));
  };
  Integer ps = 0;
  while (true) {
    Integer pe = ps;
    if (multiLine_)
      while (pe < n && buf_[static_cast<size_t>(pe)] != U'\n') ++pe;
    else
      pe = n;
    if (!wrap || pe == ps || RangeWidth(ps, pe) <= width) {
      push(ps, pe);
    } else {
      Integer pos = ps;
      while (pos < pe) {
        if (RangeWidth(pos, pe) <= width) {
          push(pos, pe);
          break;
        }
        Integer lo = pos + 1, hi = pe;
        while (lo < hi) {
          Integer mid = (lo + hi + 1) / 2;
          if (RangeWidth(pos, mid) <= width)
            lo = mid;
          else
            hi = mid - 1;
        }
        Integer brk = lo;
        if (brk < pe && !IsBlank(buf_[static_cast<size_t>(brk)])) {
          Integer k = brk;
          while (k > pos && !IsBlank(buf_[static_cast<size_t>(k - 1)])) --k;
          if (k > pos) brk = k;
        }
        while (brk < pe && IsBlank(buf_[static_cast<size_t>(brk)])) ++brk;
        push(pos, brk);
        pos = brk;
      }
    }
    if (pe >= n) break;
    ps = pe + 1;
  }
  Integer top = 0;
  for (TVisLine& l : lines_) {
    l.Top = top;
    l.Height = LineHeightOf(l.Start, l.End);
    top += l.Height;
  }
  layoutWidth_ = width;
  layoutValid_ = true;
  topLine_ = std::clamp<Integer>(topLine_, 0, static_cast<Integer>(lines_.size()) - 1);
}

const std::vector<Integer>& TCustomEdit::LineXs(Integer line) {
  EnsureLayout();
  const TVisLine& l = lines_[static_cast<size_t>(line)];
  if (l.Xs.empty()) {
    l.Xs.reserve(static_cast<size_t>(l.End - l.Start + 1));
    for (Integer k = l.Start; k <= l.End; ++k) l.Xs.push_back(RangeWidth(l.Start, k));
  }
  return l.Xs;
}

Integer TCustomEdit::LineWidth(Integer line) {
  return LineXs(line).back();
}

Integer TCustomEdit::LineOffsetX(Integer line) {
  // Right-to-left alignment mirrors the window's alignment.
  const TAlignment alignment = BiDiAlignment(alignment_);
  if (alignment == taLeftJustify) return 0;
  Integer free = fmtRect_.Width() - LineWidth(line) - 1;
  if (free <= 0) return 0;
  return alignment == taRightJustify ? free : free / 2;
}

Integer TCustomEdit::VisibleHeight() {
  EnsureLayout();
  return std::max<Integer>(fmtRect_.Height(), lines_[0].Height);
}

Integer TCustomEdit::LineCount() {
  EnsureLayout();
  return static_cast<Integer>(lines_.size());
}

Integer TCustomEdit::LineFromChar(Integer pos) {
  EnsureLayout();
  pos = std::clamp<Integer>(pos, 0, TextLength());
  auto it = std::upper_bound(lines_.begin(), lines_.end(), pos,
                             [](Integer p, const TVisLine& l) { return p < l.Start; });
  return std::max<Integer>(0, static_cast<Integer>(it - lines_.begin()) - 1);
}

Integer TCustomEdit::LineIndex(Integer line) {
  EnsureLayout();
  if (line < 0) line = LineFromChar(caret_);
  if (line >= static_cast<Integer>(lines_.size())) return -1;
  return lines_[static_cast<size_t>(line)].Start;
}

TPoint TCustomEdit::PosFromChar(Integer pos) {
  EnsureLayout();
  pos = std::clamp<Integer>(pos, 0, TextLength());
  Integer line = LineFromChar(pos);
  const TVisLine& l = lines_[static_cast<size_t>(line)];
  Integer x = fmtRect_.Left + LineOffsetX(line) - scrollX_ +
              LineXs(line)[static_cast<size_t>(std::min(pos, l.End) - l.Start)];
  Integer y = fmtRect_.Top + l.Top - lines_[static_cast<size_t>(topLine_)].Top;
  return {x, y};
}

Integer TCustomEdit::CharFromPos(TPoint p) {
  EnsureLayout();
  Integer y = p.Y - fmtRect_.Top + lines_[static_cast<size_t>(topLine_)].Top;
  Integer line = 0;
  if (y >= 0) {
    auto it = std::upper_bound(lines_.begin(), lines_.end(), y,
                               [](Integer v, const TVisLine& l) { return v < l.Top; });
    line = std::max<Integer>(0, static_cast<Integer>(it - lines_.begin()) - 1);
  } else {
    line = std::max<Integer>(0, topLine_ - 1);  // above: the line before the first visible
  }
  const TVisLine& l = lines_[static_cast<size_t>(line)];
  const std::vector<Integer>& xs = LineXs(line);
  Integer x = p.X - fmtRect_.Left - LineOffsetX(line) + scrollX_;
  size_t best = 0;
  for (size_t k = 1; k < xs.size(); ++k)
    if (std::abs(xs[k] - x) < std::abs(xs[best] - x)) best = k;
  Integer pos = l.Start + static_cast<Integer>(best);
  // A wrapped line's end belongs to the next line; stay on this one.
  if (pos == l.End && static_cast<size_t>(line) + 1 < lines_.size() &&
      lines_[static_cast<size_t>(line) + 1].Start == pos && pos > l.Start)
    --pos;
  return pos;
}

TRect TCustomEdit::CaretRect() {
  TPoint p = PosFromChar(caret_);
  Integer h = lines_[static_cast<size_t>(LineFromChar(caret_))].Height;
  Integer x = std::clamp<Integer>(p.X, fmtRect_.Left, std::max(fmtRect_.Left, fmtRect_.Right - 1));
  return {x, p.Y, x + 1, p.Y + h};
}

void TCustomEdit::ClampScroll() {
  EnsureLayout();
  Integer count = static_cast<Integer>(lines_.size());
  topLine_ = std::clamp<Integer>(topLine_, 0, count - 1);
  if (multiLine_) {
    // Do not leave empty space below the last line when the text fits.
    Integer total = lines_.back().Top + lines_.back().Height;
    while (topLine_ > 0 && total - lines_[static_cast<size_t>(topLine_ - 1)].Top <= VisibleHeight())
      --topLine_;
  }
  if (autoHScroll_) {
    Integer widest = 0;
    if (multiLine_) {
      for (Integer i = 0; i < count; ++i) widest = std::max(widest, LineWidth(i));
    } else {
      widest = LineWidth(0);
    }
    scrollX_ =
        std::clamp<Integer>(scrollX_, 0, std::max<Integer>(0, widest + 1 - fmtRect_.Width()));
  } else {
    scrollX_ = 0;
  }
}

void TCustomEdit::ScrollCaret() {
  EnsureLayout();
  Integer line = LineFromChar(caret_);
  const TVisLine& l = lines_[static_cast<size_t>(line)];
  if (line < topLine_) topLine_ = line;
  Integer visible = VisibleHeight();
  while (topLine_ < line && l.Top + l.Height - lines_[static_cast<size_t>(topLine_)].Top > visible)
    ++topLine_;
  if (autoHScroll_) {
    Integer width = fmtRect_.Width();
    Integer cx = LineOffsetX(line) + LineXs(line)[static_cast<size_t>(caret_ - l.Start)];
    if (cx < scrollX_)
      scrollX_ = std::max<Integer>(0, cx - width / 3);
    else if (cx > scrollX_ + width - 1)
      scrollX_ = cx - width + 1 + width / 3;
  }
  ClampScroll();
  // Keep the caret itself in view after clamping.
  if (autoHScroll_) {
    Integer cx = LineOffsetX(line) + LineXs(line)[static_cast<size_t>(caret_ - l.Start)];
    if (cx > scrollX_ + fmtRect_.Width() - 1) scrollX_ = cx - fmtRect_.Width() + 1;
  }
  UpdateScrollBars();
  InvalidateText();
}

void TCustomEdit::UpdateScrollBars() {
  if (!handle_ || updatingBars_) return;
  Cardinal style = GetWindowLong(handle_, GWL_STYLE);
  if (!(style & (WS_VSCROLL | WS_HSCROLL))) return;
  TTemporaryChange updating(updatingBars_, true);
  // A bar that appears narrows the client area and invalidates the layout.
  for (int pass = 0; pass < 2; ++pass) {
    EnsureLayout();
    if (style & WS_VSCROLL) SetVerticalBar();
    if (style & WS_HSCROLL) SetHorizontalBar();
    if (layoutValid_) break;  // the client size did not change
    ClampScroll();
  }
}

void TCustomEdit::SetVerticalBar() {
  TScrollInfo si;
  si.Mask = SIF_ALL;
  si.Min = 0;
  si.Max = lines_.back().Top + lines_.back().Height - 1;
  si.Page = static_cast<Cardinal>(std::max<Integer>(0, fmtRect_.Height()));
  si.Pos = lines_[static_cast<size_t>(topLine_)].Top;
  SetScrollInfo(handle_, SB_VERT, si, true);
}

void TCustomEdit::SetHorizontalBar() {
  Integer widest = 0;
  for (Integer i = 0; i < static_cast<Integer>(lines_.size()); ++i)
    widest = std::max(widest, LineWidth(i));
  TScrollInfo si;
  si.Mask = SIF_ALL;
  si.Min = 0;
  si.Max = widest;
  si.Page = static_cast<Cardinal>(std::max<Integer>(0, fmtRect_.Width()));
  si.Pos = scrollX_;
  SetScrollInfo(handle_, SB_HORZ, si, true);
}

void TCustomEdit::ScrollLines(Integer lines) {
  EnsureLayout();
  topLine_ += lines;
  ClampScroll();
  UpdateScrollBars();
  InvalidateText();
}

void TCustomEdit::ScrollMessage(TMessage& m, bool vertical) {
  EnsureLayout();
  Word code = LoWord(m.WParam);
  if (vertical) {
    Integer page = std::max<Integer>(1, VisibleHeight() / std::max<Integer>(1, lines_[0].Height));
    switch (code) {
      case SB_LINEUP:
        ScrollLines(-1);
        break;
      case SB_LINEDOWN:
        ScrollLines(1);
        break;
      case SB_PAGEUP:
        ScrollLines(-page);
        break;
      case SB_PAGEDOWN:
        ScrollLines(page);
        break;
      case SB_TOP:
        ScrollLines(-topLine_);
        break;
      case SB_BOTTOM:
        ScrollLines(static_cast<Integer>(lines_.size()));
        break;
      case SB_THUMBTRACK:
      case SB_THUMBPOSITION: {
        Integer y = ScrollThumbPos(handle_, SB_VERT, m.WParam);
        auto it = std::upper_bound(lines_.begin(), lines_.end(), y,
                                   [](Integer v, const TVisLine& l) { return v < l.Top; });
        topLine_ = std::max<Integer>(0, static_cast<Integer>(it - lines_.begin()) - 1);
        ScrollLines(0);
        break;
      }
      default:
        break;
    }
  } else {
    Integer step = std::max<Integer>(1, measure_->TextWidth("x"));
    switch (code) {
      case SB_LINELEFT:
        scrollX_ -= step;
        break;
      case SB_LINERIGHT:
        scrollX_ += step;
        break;
      case SB_PAGELEFT:
        scrollX_ -= fmtRect_.Width();
        break;
      case SB_PAGERIGHT:
        scrollX_ += fmtRect_.Width();
        break;
      case SB_LEFT:
        scrollX_ = 0;
        break;
      case SB_RIGHT:
        scrollX_ = 1 << 20;
        break;
      case SB_THUMBTRACK:
      case SB_THUMBPOSITION:
        scrollX_ = ScrollThumbPos(handle_, SB_HORZ, m.WParam);
        break;
      default:
        break;
    }
    ScrollLines(0);
  }
  m.Result = 0;
}

void TCustomEdit::MoveVertical(Integer delta, bool extend) {
  EnsureLayout();
  Integer line = LineFromChar(caret_);
  const TVisLine& cur = lines_[static_cast<size_t>(line)];
  Integer x = desiredX_ >= 0
                  ? desiredX_
                  : LineOffsetX(line) + LineXs(line)[static_cast<size_t>(caret_ - cur.Start)];
  Integer target = std::clamp<Integer>(line + delta, 0, static_cast<Integer>(lines_.size()) - 1);
  Integer pos;
  if (target == line) {
    pos = delta < 0 ? 0 : TextLength();
    if (lines_.size() > 1 || !multiLine_) pos = delta < 0 ? cur.Start : cur.End;
  } else {
    const TVisLine& l = lines_[static_cast<size_t>(target)];
    const std::vector<Integer>& xs = LineXs(target);
    Integer rel = x - LineOffsetX(target);
    size_t best = 0;
    for (size_t k = 1; k < xs.size(); ++k)
      if (std::abs(xs[k] - rel) < std::abs(xs[best] - rel)) best = k;
    pos = l.Start + static_cast<Integer>(best);
    if (pos == l.End && static_cast<size_t>(target) + 1 < lines_.size() &&
        lines_[static_cast<size_t>(target) + 1].Start == pos && pos > l.Start)
      --pos;
  }
  SetSelection(extend ? anchor_ : pos, pos);
  desiredX_ = x;
  ScrollCaret();
  ResetCaretBlink();
}

void TCustomEdit::ResetCaretBlink() {
  if (!focused_) return;
  caretOn_ = true;
  if (handle_) SetTimer(handle_, kCaretTimer, kCaretBlinkTime);
}

// ---- painting -------------------------------------------------------------------------------

void TCustomEdit::PaintWindow(TCanvas* canvas) {
  EnsureLayout();
  if (layoutWidth_ != TextRect().Width()) BuildLayout();
  TRect client = GetClientRect();
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(Color());
  canvas->FillRect(client);
  Integer saved = canvas->SaveDC();
  canvas->IntersectClipRect(fmtRect_);
  bool enabled = Enabled();
  Integer selFrom = SelStart(), selTo = SelStart() + SelLength();
  bool showSel = enabled && selTo > selFrom && (focused_ || !hideSelection_);
  Integer origin = fmtRect_.Top - lines_[static_cast<size_t>(topLine_)].Top;
  for (Integer i = topLine_; i < static_cast<Integer>(lines_.size()); ++i) {
    const TVisLine& l = lines_[static_cast<size_t>(i)];
    Integer y = origin + l.Top;
    if (y >= fmtRect_.Bottom) break;
    Integer x = fmtRect_.Left + LineOffsetX(i) - scrollX_;
    DrawLine(canvas, l, x, y, enabled ? clNone : clGrayText);
    if (!showSel || selTo < l.Start || selFrom > l.End) continue;
    const std::vector<Integer>& xs = LineXs(i);
    Integer s = std::max(selFrom, l.Start), e = std::min(selTo, l.End);
    Integer x1 = x + xs[static_cast<size_t>(s - l.Start)];
    Integer x2 = x + xs[static_cast<size_t>(e - l.Start)];
    // A selected line break shows as a little space after the line.
    if (multiLine_ && selTo > l.End && l.End < TextLength() &&
        buf_[static_cast<size_t>(l.End)] == U'\n')
      x2 += 4;
    if (x2 <= x1) continue;
    TRect r(x1, y, x2, y + l.Height);
    canvas->Brush()->SetColor(clHighlight);
    canvas->FillRect(r);
    Integer inner = canvas->SaveDC();
    canvas->IntersectClipRect(r);
    DrawLine(canvas, l, x, y, clHighlightText);
    canvas->RestoreDC(inner);
  }
  if (CaretShowing()) {
    canvas->Brush()->SetColor(enabled ? Font()->Color() : clGrayText);
    canvas->FillRect(CaretRect());
  }
  canvas->RestoreDC(saved);
}

}  // namespace brevant
