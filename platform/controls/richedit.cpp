// TRichEdit: per-character formats over the memo's editing.
#include "controls/richedit.h"

#include <algorithm>

#include "classes/rtti_builder.h"
#include "graphics/canvas.h"
#include "graphics/font.h"
#include "rtl/streams.h"
#include "rtl/stringlist.h"

namespace brevant {

// ---- TTextAttributes -------------------------------------------------------------------------

TCharFormat TTextAttributes::Get() const {
  if (!owner_) return {};
  return type_ == atDefaultText ? owner_->DefaultFormat() : owner_->SelectedFormat();
}

void TTextAttributes::Set(const TCharFormat& value) {
  if (!owner_) return;
  if (type_ == atDefaultText)
    owner_->SetDefaultFormat(value);
  else
    owner_->SetSelectedFormat(value);
}

void TTextAttributes::SetName(const String& value) {
  TCharFormat f = Get();
  f.Name = value;
  Set(f);
}

void TTextAttributes::SetSize(Integer value) {
  TCharFormat f = Get();
  f.Size = std::max<Integer>(1, value);
  Set(f);
}

void TTextAttributes::SetStyle(TFontStyles value) {
  TCharFormat f = Get();
  f.Style = value;
  Set(f);
}

void TTextAttributes::SetColor(TColor value) {
  TCharFormat f = Get();
  f.Color = value;
  Set(f);
}

void TTextAttributes::Assign(const TPersistent* source) {
  if (auto* font = dynamic_cast<const TFont*>(source)) {
    Set({font->Name(), font->Size(), font->Style(), font->Color()});
    return;
  }
  if (auto* attrs = dynamic_cast<const TTextAttributes*>(source)) {
    Set(attrs->Get());
    return;
  }
  TPersistent::Assign(source);
}

// ---- TRichEdit ---------------------------------------------------------------------------------

TRichEdit::TRichEdit(TComponent* owner) : TCustomMemo(owner) {
  formats_.push_back({Font()->Name(), Font()->Size(), Font()->Style(), Font()->Color()});
  trackAttrs_ = true;
  defAttributes_ = Create<TTextAttributes>(this, atDefaultText);
  selAttributes_ = Create<TTextAttributes>(this, atSelected);
}

TRichEdit::~TRichEdit() {
  TObject::Free(defAttributes_);
  TObject::Free(selAttributes_);
}

void TRichEdit::SetPlainText(bool value) {
  if (value == plainText_) return;
  plainText_ = value;
  trackAttrs_ = !value;
  attrs_.assign(value ? 0 : Buffer().size(), 0);
  formats_.resize(1);
  pending_ = -1;
  FormatsChanged();
}

Word TRichEdit::Intern(const TCharFormat& f) {
  auto it = std::find(formats_.begin(), formats_.end(), f);
  if (it != formats_.end()) return static_cast<Word>(it - formats_.begin());
  // Formats no character uses any more are reused before the table grows.
  if (formats_.size() >= 0xFFFF) {
    std::vector<bool> used(formats_.size(), false);
    used[0] = true;
    for (Word a : attrs_) used[a] = true;
    for (size_t i = 1; i < used.size(); ++i)
      if (!used[i]) {
        formats_[i] = f;
        return static_cast<Word>(i);
      }
    return 0;
  }
  formats_.push_back(f);
  return static_cast<Word>(formats_.size() - 1);
}

Word TRichEdit::FormatAt(Integer pos) const {
  if (plainText_ || pos < 0 || pos >= static_cast<Integer>(attrs_.size())) return 0;
  return attrs_[static_cast<size_t>(pos)];
}

TCharFormat TRichEdit::CharFormat(Integer pos) const {
  return formats_[FormatAt(pos)];
}

Word TRichEdit::InsertAttr(Integer pos) const {
  if (pending_ >= 0) return static_cast<Word>(pending_);
  return TCustomEdit::InsertAttr(pos);
}

void TRichEdit::SetDefaultFormat(const TCharFormat& f) {
  if (f == formats_[0]) return;
  formats_[0] = f;
  FormatsChanged();
}

TCharFormat TRichEdit::SelectedFormat() const {
  if (plainText_) return formats_[0];
  if (pending_ >= 0) return formats_[static_cast<size_t>(pending_)];
  if (SelLength() > 0) return formats_[FormatAt(SelStart())];
  return formats_[InsertAttr(CaretPos())];
}

void TRichEdit::SetSelectedFormat(const TCharFormat& f) {
  if (plainText_) {
    SetDefaultFormat(f);
    return;
  }
  Word idx = Intern(f);
  BreakUndoGroup();
  if (SelLength() == 0) {
    pending_ = idx;
    return;
  }
  for (Integer i = SelStart(); i < SelStart() + SelLength(); ++i)
    attrs_[static_cast<size_t>(i)] = idx;
  FormatsChanged();
}

void TRichEdit::FormatsChanged() {
  InvalidateLayout();
  ScrollCaret();
  InvalidateText();
}

void TRichEdit::SelectionChanged() {
  pending_ = -1;
  OnSelectionChange(this);
}

void TRichEdit::CMFontChanged(TMessage& m) {
  formats_[0] = {Font()->Name(), Font()->Size(), Font()->Style(), Font()->Color()};
  TCustomMemo::CMFontChanged(m);
}

void TRichEdit::ApplyFont(TCanvas* canvas, Word format, TColor color) const {
  const TCharFormat& f = formats_[format];
  TFont* font = canvas->Font();
  font->SetName(f.Name);
  font->SetSize(f.Size);
  font->SetStyle(f.Style);
  font->SetColor(color != clNone ? color : f.Color);
}

Integer TRichEdit::RangeWidth(Integer from, Integer to) {
  if (plainText_ || attrs_.empty()) return TCustomMemo::RangeWidth(from, to);
  TCanvas* c = MeasureCanvas();
  Integer w = 0;
  for (Integer a = from; a < to;) {
    Word f = FormatAt(a);
    Integer b = a + 1;
    while (b < to && FormatAt(b) == f) ++b;
    ApplyFont(c, f, clNone);
    w += c->TextWidth(DisplayText(a, b));
    a = b;
  }
  c->SetFont(Font());
  return w;
}

Integer TRichEdit::LineHeightOf(Integer from, Integer to) {
  if (plainText_ || attrs_.empty()) return TCustomMemo::LineHeightOf(from, to);
  TCanvas* c = MeasureCanvas();
  Integer h = 0;
  if (from == to) {
    ApplyFont(c, InsertAttr(from), clNone);
    h = c->TextHeight("Wg");
  }
  for (Integer a = from; a < to;) {
    Word f = FormatAt(a);
    Integer b = a + 1;
    while (b < to && FormatAt(b) == f) ++b;
    ApplyFont(c, f, clNone);
    h = std::max(h, c->TextHeight("Wg"));
    a = b;
  }
  c->SetFont(Font());
  return h;
}

void TRichEdit::DrawLine(TCanvas* canvas, const TVisLine& line, Integer x, Integer y,
                         TColor color) {
  if (plainText_ || attrs_.empty()) {
    if (plainText_ && color == clNone) {
      // Plain text shows the default attributes.
      ApplyFont(canvas, 0, clNone);
      canvas->SetBkMode(TRANSPARENT);
      if (line.End > line.Start) canvas->TextOut(x, y, DisplayText(line.Start, line.End));
      return;
    }
    TCustomMemo::DrawLine(canvas, line, x, y, color);
    return;
  }
  Integer cx = x;
  for (Integer a = line.Start; a < line.End;) {
    Word f = FormatAt(a);
    Integer b = a + 1;
    while (b < line.End && FormatAt(b) == f) ++b;
    ApplyFont(canvas, f, color);
    canvas->SetBkMode(TRANSPARENT);
    String s = DisplayText(a, b);
    Integer h = canvas->TextHeight("Wg");
    canvas->TextOut(cx, y + line.Height - h, s);
    cx += canvas->TextWidth(s);
    a = b;
  }
}

void TRichEdit::LoadFromStream(TStream& stream) {
  Lines()->LoadFromStream(stream);
}

void TRichEdit::SaveToStream(TStream& stream) const {
  Lines()->SaveToStream(stream);
}

// ---- published tables ------------------------------------------------------------------------

BV_PUBLISH(TTextAttributes, TPersistent) {
  p.Property("Color", &TTextAttributes::Color, &TTextAttributes::SetColor).Type(TypeInfoTColor());
  p.Property("Name", &TTextAttributes::Name, &TTextAttributes::SetName);
  p.Property("Size", &TTextAttributes::Size, &TTextAttributes::SetSize);
  p.Property("Style", &TTextAttributes::Style, &TTextAttributes::SetStyle);
}

BV_PUBLISH(TRichEdit, TCustomMemo) {
  p.Property("Alignment", &TRichEdit::Alignment, &TRichEdit::SetAlignment).Default(taLeftJustify);
  p.Property("BorderStyle", &TRichEdit::BorderStyle, &TRichEdit::SetBorderStyle).Default(bsSingle);
  p.Property("HideSelection", &TRichEdit::HideSelection, &TRichEdit::SetHideSelection).Default(1);
  p.Property("Lines", &TRichEdit::Lines, &TRichEdit::SetLines);
  p.Property("MaxLength", &TRichEdit::MaxLength, &TRichEdit::SetMaxLength).Default(0);
  p.Property("PlainText", &TRichEdit::PlainText, &TRichEdit::SetPlainText).Default(0);
  p.Property("ReadOnly", &TRichEdit::ReadOnly, &TRichEdit::SetReadOnly).Default(0);
  p.Property("ScrollBars", &TRichEdit::ScrollBars, &TRichEdit::SetScrollBars).Default(ssNone);
  p.Property("TabStop", &TRichEdit::TabStop, &TRichEdit::SetTabStop).Default(1);
  p.Property("WantReturns", &TRichEdit::WantReturns, &TRichEdit::SetWantReturns).Default(1);
  p.Property("WantTabs", &TRichEdit::WantTabs, &TRichEdit::SetWantTabs).Default(0);
  p.Property("WordWrap", &TRichEdit::WordWrap, &TRichEdit::SetWordWrap).Default(1);
  p.Event("OnChange", static_cast<TNotifyEvent TRichEdit::*>(&TRichEdit::OnChange), "TNotifyEvent");
  p.Event("OnSelectionChange", &TRichEdit::OnSelectionChange, "TNotifyEvent");
}

}  // namespace brevant
