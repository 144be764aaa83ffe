// TDBTabulon: hints for clipped titles and footers. The hovered column
// draws its title or footer onto a one-pixel bitmap with the routine that
// paints it, so a hint shows exactly when the painted text is clipped.
#include <memory>

#include "bv/columns.h"
#include "bv/dragger.h"
#include "bv/hints.h"
#include "bv/tabulon.h"
#include "controls/application.h"
#include "controls/messages.h"
#include "graphics/bitmap.h"

namespace brevant {

namespace {

constexpr Integer kHintHideTimeout = 20000;  // ms a hint stays up
constexpr Integer kHintShortPause = 500;     // ms when moving from a shown hint
constexpr Integer kHintCursorHalf = 4;       // the hint goes once the mouse moves this far

}  // namespace

// The column whose title (or footer, with footer) contains pos.
static TtlColumn* ColumnAt(TtlColumns* columns, TPoint pos, bool footer) {
  for (Integer i = 0; i < columns->Count(); ++i) {
    TtlColumn* column = columns->Items(i);
    const TRect r = footer ? column->FooterRect(true, true) : column->TitleRect(true);
    if (PtInRect(r, pos)) return column;
  }
  return nullptr;
}

// The whole text of a clipped title or footer at pos; empty when the text
// there fits or pos is on neither.
static String ClippedTextAt(TDBTabulon* grid, TPoint pos) {
  const bool title = grid->TitleAreaHeight() > 0 && pos.Y < grid->TitleAreaHeight();
  const bool footer =
      grid->FooterAreaHeight() > 0 && pos.Y >= grid->DataAreaBottom() + grid->EmptyAreaHeight();
  if (!title && !footer) return String();
  TtlColumn* column = ColumnAt(grid->Columns(), pos, footer);
  if (!column) return String();
  auto canvasOwner = std::make_unique<TBitmap>();
  canvasOwner->SetSize(1, 1);
  TCanvas* canvas = canvasOwner->Canvas();
  bool clipped = false;
  if (title) {
    column->DrawTitle(canvas, 0, &clipped, 0);
    return clipped ? column->EffectiveCaption() : String();
  }
  column->DrawFooter(canvas, 0, &clipped, 0);
  if (!clipped) return String();
  if (column->FooterState() == fsNone) return column->FooterText();
  return FooterStateCaption(column->FooterState()) + " = " + column->FooterText();
}

void TDBTabulon::CMHintShow(TMessage& message) {
  message.Result = 0;
  auto* info = reinterpret_cast<THintInfo*>(message.LParam);
  if (!info) return;
  info->HintWindowClass = THintWindowEx::StaticClass();
  info->HintData = this;
  info->ReshowTimeout = 0;
  info->HideTimeout = kHintHideTimeout;
  const String clipped = ClippedTextAt(this, info->CursorPos);
  if (!clipped.empty()) info->HintStr = clipped;
  if (mouseMode_ != 0 || Dragging() || dragger_->AnyDrag()) info->HintStr.clear();
  if (info->HintStr.empty()) return;
  const TPoint p = info->CursorPos;
  info->CursorRect = TRect(p.X - kHintCursorHalf, p.Y - kHintCursorHalf, p.X + kHintCursorHalf,
                           p.Y + kHintCursorHalf);
}

void TDBTabulon::CMHintShowPause(TMessage& message) {
  // Only the pause after a shown hint is the grid's; the first one is the
  // application's.
  if (message.WParam != 0 && message.LParam)
    *reinterpret_cast<Integer*>(message.LParam) = kHintShortPause;
  message.Result = 0;
}

}  // namespace brevant
