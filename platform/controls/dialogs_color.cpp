// The colour dialog: a palette of basic and custom colours, the colour's
// red, green and blue values and a sample.
#include <algorithm>
#include <cctype>

#include "classes/rtti_builder.h"
#include "controls/dialogs.h"
#include "controls/edits.h"
#include "controls/extctrls.h"
#include "controls/form_resources.h"
#include "controls/messages.h"
#include "controls/stdctrls.h"
#include "graphics/canvas.h"
#include "graphics/draw_flags.h"
#include "graphics/font.h"
#include "graphics/pen_brush.h"
#include "rtl/format.h"
#include "rtl/numconv.h"
#include "rtl/resstrings.h"
#include "rtl/scope.h"
#include "rtl/stringlist.h"
#include "rtl/strutils.h"

namespace brevant {

BV_PUBLISH(TColorPalette, TCustomControl) {
  p.Event("OnChange", &TColorPalette::OnChange, "TNotifyEvent");
}
BV_PUBLISH(TColorDialogForm, TForm) {
  p.Method<TNotifyEvent, &TColorDialogForm::PaletteChange>("PaletteChange");
  p.Method<TNotifyEvent, &TColorDialogForm::EditChange>("EditChange");
  p.Method<TNotifyEvent, &TColorDialogForm::AddCustomClick>("AddCustomClick");
}
BV_PUBLISH(TColorDialog, TCommonDialog) {
  p.Property("Color", &TColorDialog::Color, &TColorDialog::SetColor)
      .Type(TypeInfoTColor())
      .Default(0);
  p.Property("CustomColors", &TColorDialog::CustomColors, &TColorDialog::SetCustomColors);
}

namespace {

// The basic colours as 0xRRGGBB, row by row.
constexpr std::uint32_t kBasicRgb[TColorPalette::kBasicCount] = {
    0xFF8080, 0xFFFF80, 0x80FF80, 0x00FF80, 0x80FFFF, 0x0080FF, 0xFF80C0, 0xFF80FF,
    0xFF0000, 0xFFFF00, 0x80FF00, 0x00FF40, 0x00FFFF, 0x0080C0, 0x8080C0, 0xFF00FF,
    0x804040, 0xFF8040, 0x00FF00, 0x008080, 0x004080, 0x8080FF, 0x800040, 0xFF0080,
    0x800000, 0xFF8000, 0x008000, 0x008040, 0x0000FF, 0x0000A0, 0x800080, 0x8000FF,
    0x400000, 0x804000, 0x004000, 0x004040, 0x000080, 0x000040, 0x400040, 0x400080,
    0x000000, 0x808000, 0x808040, 0x808080, 0x408080, 0xC0C0C0, 0x404040, 0xFFFFFF};

TColor FromRgb(std::uint32_t rgb) {
  return RGB(static_cast<Byte>(rgb >> 16), static_cast<Byte>(rgb >> 8), static_cast<Byte>(rgb));
}

constexpr Integer kRows = TColorPalette::kBasicRows + TColorPalette::kCustomRows;

}  // namespace

// ---- TColorPalette --------------------------------------------------------------------------

TColorPalette::TColorPalette(TComponent* owner) : TCustomControl(owner) {
  controlStyle_ += csDoubleClicks;
  SetTabStop(true);
  width_ = kColumns * kCellW;
  height_ = kRows * kCellH + kCustomGap;
  for (TColor& c : custom_) c = clWhite;
}

TColor TColorPalette::CellColor(Integer index) const {
  if (index < 0 || index >= kCellCount) return clNone;
  if (index < kBasicCount) return FromRgb(kBasicRgb[index]);
  return custom_[index - kBasicCount];
}

void TColorPalette::SetCustomColor(Integer customIndex, TColor color) {
  if (customIndex < 0 || customIndex >= kColumns * kCustomRows) return;
  custom_[customIndex] = ColorToRGB(color);
  Invalidate();
}

void TColorPalette::SetSelected(Integer value) {
  if (value < -1 || value >= kCellCount) value = -1;
  if (value == selected_) return;
  selected_ = value;
  Invalidate();
  OnChange(this);
}

Integer TColorPalette::IndexOfColor(TColor color) const {
  const TColor rgb = ColorToRGB(color);
  for (Integer i = 0; i < kCellCount; ++i)
    if (CellColor(i) == rgb) return i;
  return -1;
}

TRect TColorPalette::CellRect(Integer index) const {
  if (index < 0 || index >= kCellCount) return TRect();
  const Integer row = index / kColumns, col = index % kColumns;
  const Integer top = row * kCellH + (row >= kBasicRows ? kCustomGap : 0);
  return Bounds(col * kCellW, top, kCellW, kCellH);
}

TPoint TColorPalette::CellScreenPoint(Integer index) const {
  const TRect r = CellRect(index);
  return ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
}

Integer TColorPalette::CellAt(Integer x, Integer y) const {
  for (Integer i = 0; i < kCellCount; ++i)
    if (PtInRect(CellRect(i), {x, y})) return i;
  return -1;
}

// Each cell: a sunken swatch; the selected one framed in black, with the
// focus rectangle around it while the palette has the focus.
void TColorPalette::Paint() {
  TCanvas* c = Canvas();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(clBtnFace);
  c->FillRect(ClientRect());
  c->SetFont(Font());
  c->SetBkMode(TRANSPARENT);
  TRect label = Bounds(0, kBasicRows * kCellH, Width(), kCustomGap);
  c->DrawText("Custom colors:", label, DT_LEFT | DT_BOTTOM | DT_SINGLELINE | DT_NOPREFIX);
  for (Integer i = 0; i < kCellCount; ++i) {
    TRect r = CellRect(i);
    InflateRect(r, -3, -3);
    TRect swatch = r;
    c->DrawEdge(swatch, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    c->Brush()->SetColor(CellColor(i));
    c->FillRect(swatch);
    if (i == selected_) {
      TRect f = CellRect(i);
      InflateRect(f, -1, -1);
      c->Brush()->SetColor(clBlack);
      c->FrameRect(f);
      if (Focused()) c->DrawFocusRect(CellRect(i));
    }
  }
}

void TColorPalette::KeyDown(Word& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  Integer row = selected_ < 0 ? 0 : selected_ / kColumns;
  Integer col = selected_ < 0 ? 0 : selected_ % kColumns;
  const bool none = selected_ < 0;
  switch (key) {
    case VK_LEFT:
      if (!none) col = std::max<Integer>(col - 1, 0);
      break;
    case VK_RIGHT:
      if (!none) col = std::min<Integer>(col + 1, kColumns - 1);
      break;
    case VK_UP:
      if (!none) row = std::max<Integer>(row - 1, 0);
      break;
    case VK_DOWN:
      if (!none) row = std::min<Integer>(row + 1, kRows - 1);
      break;
    case VK_HOME:
      col = 0;
      break;
    case VK_END:
      col = kColumns - 1;
      break;
    default:
      return;
  }
  key = 0;
  SetSelected(row * kColumns + col);
}

void TColorPalette::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  if (button == mbLeft) {
    if (CanFocus() && !Focused()) SetFocus();
    const Integer cell = CellAt(x, y);
    if (cell >= 0) {
      SetSelected(cell);
      // A double click on a colour accepts it.
      if (shift.Contains(ssDouble))
        if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(mrOk);
    }
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

void TColorPalette::WMGetDlgCode(TMessage& m) {
  m.Result = DLGC_WANTARROWS;
}

void TColorPalette::CMEnter(TMessage& m) {
  Invalidate();
  TCustomControl::CMEnter(m);
}

void TColorPalette::CMExit(TMessage& m) {
  Invalidate();
  TCustomControl::CMExit(m);
}

// ---- TColorDialogForm -----------------------------------------------------------------------

void TColorDialogForm::SetCurrentColor(TColor value, bool fromEdits) {
  color_ = ColorToRGB(value);
  if (Sample) Sample->SetColor(color_);
  if (syncing_) return;
  TTemporaryChange syncing(syncing_, true);
  if (!fromEdits && RedEdit) {
    RedEdit->SetText(IntToStr(GetRValue(color_)));
    GreenEdit->SetText(IntToStr(GetGValue(color_)));
    BlueEdit->SetText(IntToStr(GetBValue(color_)));
  }
  // The palette follows unless its selected cell already has the colour.
  if (Palette && Palette->CellColor(Palette->Selected()) != color_)
    Palette->SetSelected(Palette->IndexOfColor(color_));
}

bool TColorDialogForm::ReadEdits(TColor& color) {
  Integer parts[3] = {0, 0, 0};
  TEdit* edits[3] = {RedEdit, GreenEdit, BlueEdit};
  for (Integer i = 0; i < 3; ++i) {
    const String text = Trim(edits[i]->Text());
    if (!TryStrToInt(text, parts[i]) || parts[i] < 0 || parts[i] > 255) {
      if (edits[i]->CanFocus()) edits[i]->SetFocus();
      edits[i]->SelectAll();
      MessageDlg(Format(res::SColorDlgBadValue, {text}), mtError, {mbOK});
      return false;
    }
  }
  color =
      RGB(static_cast<Byte>(parts[0]), static_cast<Byte>(parts[1]), static_cast<Byte>(parts[2]));
  return true;
}

bool TColorDialogForm::CloseQuery() {
  if (ModalResult() == mrOk) {
    TColor c = color_;
    if (!ReadEdits(c)) return false;
    color_ = c;
  }
  return TForm::CloseQuery();
}

void TColorDialogForm::PaletteChange(TObject*) {
  if (syncing_ || Palette->Selected() < 0) return;
  SetCurrentColor(Palette->CellColor(Palette->Selected()));
}

// Typing a valid value changes the colour at once; invalid text waits for OK.
void TColorDialogForm::EditChange(TObject*) {
  if (syncing_) return;
  Integer r = 0, g = 0, b = 0;
  if (!TryStrToInt(Trim(RedEdit->Text()), r) || !TryStrToInt(Trim(GreenEdit->Text()), g) ||
      !TryStrToInt(Trim(BlueEdit->Text()), b))
    return;
  if (r < 0 || r > 255 || g < 0 || g > 255 || b < 0 || b > 255) return;
  SetCurrentColor(RGB(static_cast<Byte>(r), static_cast<Byte>(g), static_cast<Byte>(b)), true);
}

void TColorDialogForm::AddCustomClick(TObject*) {
  TColor c = color_;
  if (!ReadEdits(c)) return;
  const Integer slot = nextCustom_ % (TColorPalette::kCellCount - TColorPalette::kBasicCount);
  ++nextCustom_;
  Palette->SetCustomColor(slot, c);
  syncing_ = true;
  Palette->SetSelected(TColorPalette::kBasicCount + slot);
  syncing_ = false;
  SetCurrentColor(c);
}

// ---- TColorDialog ---------------------------------------------------------------------------

void TColorDialogForm::Loaded() {
  TForm::Loaded();
  BindComponent(this, "Palette", Palette);
  BindComponent(this, "Sample", Sample);
  BindComponent(this, "RedEdit", RedEdit);
  BindComponent(this, "GreenEdit", GreenEdit);
  BindComponent(this, "BlueEdit", BlueEdit);
  BindComponent(this, "AddCustomButton", AddCustomButton);
  BindComponent(this, "OKButton", OkButton);
  BindComponent(this, "CancelButton", CancelButton);
  // Button captions come from the resource strings every dialog shares.
  OkButton->SetCaption(res::SMsgDlgOK);
  CancelButton->SetCaption(res::SMsgDlgCancel);
}

TColorDialog::TColorDialog(TComponent* owner) : TCommonDialog(owner) {
  customColors_ = new TStringList();
}

TColorDialog::~TColorDialog() {
  TObject::Free(customColors_);
}

void TColorDialog::SetCustomColors(TStrings* value) {
  if (value)
    customColors_->Assign(*value);
  else
    customColors_->Clear();
}

bool TColorDialog::Execute() {
  RegisterDialogForms();
  auto* form = Create<TColorDialogForm>(nullptr);
  TObjectPtr<TColorDialogForm> keep(form);
  form->SetCaption(Title().empty() ? String(res::SColorDlgTitle) : Title());
  TColorPalette* palette = form->Palette;
  // "ColorA=BBGGRR" .. "ColorP=BBGGRR" into the custom cells.
  for (Integer i = 0; i < customColors_->Count(); ++i) {
    const String line = customColors_->Strings(i);
    const auto eq = line.find('=');
    if (eq != 6 || !StartsText("Color", line)) continue;
    const Integer slot = std::toupper(static_cast<unsigned char>(line[5])) - 'A';
    Integer value = 0;
    if (slot < 0 || slot >= 16 || !TryStrToInt("$" + Trim(line.substr(eq + 1)), value) ||
        value < 0 || value > 0xFFFFFF)
      continue;
    palette->SetCustomColor(slot, value);
  }
  form->SetCurrentColor(color_);
  form->SetActiveControl(palette);

  if (RunForm(form, "ColorDialog") != mrOk) return false;
  if (form->HandleAllocated()) {  // shown (a value answer keeps Color)
    color_ = form->CurrentColor();
    TStringList out;
    for (Integer i = 0; i < 16; ++i)
      out.Add(
          Format("Color%s=%s", {String(1, static_cast<char>('A' + i)),
                                IntToHex(palette->CellColor(TColorPalette::kBasicCount + i), 6)}));
    customColors_->Assign(out);
  }
  return true;
}

}  // namespace brevant
