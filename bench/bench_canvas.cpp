// Painting cost of a grid-like scene on the canvas: the frame a data grid
// paints most (cell fills, one-pixel grid lines, one line of text per cell
// with end ellipsis, check boxes), the cost of measuring cell text, and
// one cell prepared and drawn through the field visions' painter.
#include <benchmark/benchmark.h>

#include "bench_vision_fixture.h"

#include <cstdint>
#include <vector>

#include "bv/field_list.h"
#include "bv/vision_painter.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/font.h"
#include "rtl/datetime.h"
#include "rtl/numconv.h"

using namespace brevant;

namespace {

constexpr Integer kWidths[12] = {80, 240, 100, 120, 70, 170, 170, 170, 170, 170, 170, 170};
constexpr Integer kRows = 60;
constexpr Integer kRowHeight = 18;  // 60 rows fill 1080 pixels

// The cell texts of record r, as in the shared grid scenario.
std::vector<String> RowTexts(Integer r) {
  static const char* const first[8] = {"Alexandra",  "Bartholomew", "Constance", "Dmitri",
                                       "Evangeline", "Fitzgerald",  "Guinevere", "Hieronymus"};
  static const char* const last[8] = {"Abernathy",   "Castellanos",   "Dubrovnik", "Engelbrecht",
                                      "Fairweather", "Gonzalez-Ruiz", "Hallstrom", "Ivanovska"};
  static const char* const words[12] = {"open", "closed", "EUR",  "USD", "Oslo", "Lima",
                                        "high", "low",    "A-12", "B-7", "n/a",  "ok"};
  std::uint32_t h = std::uint32_t((std::uint64_t(r) + 1) * 2654435761u);
  std::vector<String> t(12);
  t[0] = IntToStr(r + 1);
  String name = String(first[r % 8]) + " " + last[(r / 8) % 8] + " von Testhausen";
  t[1] = name.substr(0, 20 + (h >> 8) % 11);
  t[2] = FormatDateTime("yyyy-mm-dd", EncodeDate(2000, 1, 1) + double(h % 9000));
  t[3] = FormatFloat("#,##0.00", double(h % 100000000) / 100);
  for (Integer c = 5; c < 12; ++c) t[size_t(c)] = words[(h >> (c + 4)) % 12];
  return t;
}

}  // namespace

static void BM_GridScene(benchmark::State& state) {
  const Integer width = 1920, height = 1080;
  std::vector<std::uint32_t> pixels(size_t(width) * height);
  TObjectPtr<TCanvas> c(Create<TCanvas>(pixels.data(), width, height, width * 4));
  c->Font()->SetName("DejaVu Sans");
  c->Font()->SetSize(9);
  std::vector<std::vector<String>> texts;
  for (Integer r = 0; r < kRows; ++r) texts.push_back(RowTexts(r));
  for (auto _ : state) {
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(Rect(0, 0, width, height));
    c->Pen()->SetColor(clSilver);
    for (Integer r = 0; r < kRows; ++r) {
      Integer top = r * kRowHeight, x = 0;
      for (Integer col = 0; col < 12; ++col) {
        TRect cell(x, top, x + kWidths[col] - 1, top + kRowHeight - 1);
        c->Brush()->SetColor(clWindow);
        c->FillRect(cell);
        c->MoveTo(cell.Right, top);
        c->LineTo(cell.Right, cell.Bottom + 1);
        c->MoveTo(x, cell.Bottom);
        c->LineTo(cell.Right, cell.Bottom);
        if (col == 4) {
          TRect box(x + (kWidths[col] - 13) / 2, top + 2, x + (kWidths[col] - 13) / 2 + 13,
                    top + 15);
          c->DrawFrameControl(box, DFC_BUTTON, DFCS_BUTTONCHECK | (r % 3 == 0 ? DFCS_CHECKED : 0));
        } else {
          TRect text(cell.Left + 2, cell.Top, cell.Right - 2, cell.Bottom);
          Cardinal align = (col == 0 || col == 3) ? DT_RIGHT : DT_LEFT;
          c->DrawText(texts[size_t(r)][size_t(col)], text,
                      DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX | align);
        }
        x += kWidths[col];
      }
    }
    benchmark::DoNotOptimize(pixels.data());
  }
  state.counters["cells"] = kRows * 12;
}
BENCHMARK(BM_GridScene)->Unit(benchmark::kMillisecond);

static void BM_TextWidthCached(benchmark::State& state) {
  TObjectPtr<TCanvas> c = MakeObject<TCanvas>();
  c->Font()->SetName("DejaVu Sans");
  c->Font()->SetSize(9);
  std::vector<String> texts;
  for (Integer r = 0; r < kRows; ++r)
    for (const String& t : RowTexts(r)) texts.push_back(t);
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(c->TextWidth(texts[i]));
    if (++i == texts.size()) i = 0;
  }
}
BENCHMARK(BM_TextWidthCached);

// ---- the painter ----

namespace {

// An edit control as the editors' painter sees it: unfocused, enabled.
class TPainterEditor : public IznVisionEditor {
 public:
  explicit TPainterEditor(TtlFieldList& list) : fields(list) { fields.SetEditor(this); }
  TtlFieldList* EditorFieldList() override { return &fields; }
  TfvCurrentValue* CurrentValue() override { return &value; }
  String EditorText() override { return String(); }
  bool HasEditMask() override { return false; }
  bool EditTextValid() override { return true; }
  void DiscardPendingKeys() override {}
  void ReleaseSwitches() override {}
  bool DroppedDown() override { return false; }
  void OpenDropDown() override {}
  void CloseDropDown(bool) override {}
  void SelectAllText() override {}
  void RepaintEditor() override {}
  bool InGrid() override { return false; }
  bool PostThroughGrid(bool) override { return false; }
  TRect FaceContentRect(const TRect& rect) override { return rect; }
  TEditCharCase EditCharCase() override { return ecNormal; }
  char32_t EditPasswordChar() override { return 0; }
  void DrawFace(TfvPainter*) override {}
  TfvEditorFace EditorFace() override {
    TfvEditorFace face;
    face.Font = &font;
    face.Color = clWindow;
    return face;
  }
  TtlFieldList& fields;   // the control's list
  TfvCurrentValue value;  // unused current value
  TFont font;             // the control's font
};

}  // namespace

// Prepares the editors' painter for a cell and draws ten characters into
// it, as every repaint of an unchanged cell does: the font stays resolved
// and the shaped text comes from the text engine's cache.
static void BM_PainterCell(benchmark::State& state) {
  bench::TBenchConsumer consumer(fokEdit);
  TPainterEditor editor(consumer.fields);
  TObjectPtr<TBitmap> bitmap(Create<TBitmap>());
  bitmap->SetSize(120, 24);
  TObjectPtr<TfvPainter> painter(Create<TfvPainter>(false));
  const String text = "Fitzgerald";
  const TRect outer(0, 0, 100, 20), content(2, 2, 98, 18);
  for (auto _ : state) {
    painter->SetTarget(bitmap->Canvas(), outer, content);
    painter->Prepare(&consumer.fields);
    painter->DrawText(text, taLeftJustify, tlCenter);
  }
}
BENCHMARK(BM_PainterCell);
