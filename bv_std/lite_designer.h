// TLiteDesigner: a light look for grids. Thin one-pixel lines in silver
// between rows and after each group, titles raised (3D), flat (one pixel
// larger, with a notch between neighbours) or plain (no edges; a pressed
// title is then shown inverted), and an optional line closing the grid's
// last group. All rows look alike, so grids may move pixels on a one-row
// scroll. Row lines take space only while lines are shown and HorizLines
// holds a colour.
#pragma once

#include "bv/base_designer.h"

namespace brevant {

// How the lite designer draws titles.
enum TLiteDsgnTitleStyle : Byte {
  lts3D,    // raised edges, black lines
  ltsFlat,  // raised edges one pixel larger, notches between columns
  ltsNon3D  // no edges, lines in the line colours
};
BV_DECLARE_ENUM_INFO(TLiteDsgnTitleStyle)

class TLiteDesigner : public TtlBaseDesigner {
  BV_CLASS(TLiteDesigner, TtlBaseDesigner)
 public:
  explicit TLiteDesigner(TComponent* owner = nullptr);

  TLiteDsgnTitleStyle TitleStyle() const { return titleStyle_; }
  // Plain titles leave the pressed title to the base paint's inversion.
  void SetTitleStyle(TLiteDsgnTitleStyle value);
  bool ShowLines() const { return showLines_; }
  // The group and row line widths follow; the grids lay out again.
  void SetShowLines(bool value);
  bool ShowLastLine() const { return showLastLine_; }
  void SetShowLastLine(bool value);

 protected:
  Integer GetVertLineWidth() override;
  Integer GetRowLineWidth() override;
  void GetTitleLineWidths(Integer& inner, Integer& outer) override;
  void AssignFrom(const TtlDesigner* source) override;

  void PaintTitleBand() override;
  void PaintRowsBand() override;
  void PaintGroupTitle(const TtlGroupInfo& group, Integer x, Integer dx) override;

 private:
  // The colour of title lines: black except for plain titles, which use
  // preferred, or fallback when preferred is clNone.
  TColor TitleLineColor(TColor preferred, TColor fallback) const;
  // The clip-relative x of the pixel column that closes the group.
  Integer GroupLineX(Integer group) const;
  // A line from (x1, y1) to (x2, y2), end excluded, in colour.
  void Line(Integer x1, Integer y1, Integer x2, Integer y2, TColor colour);
  void FillBox(const TRect& rect, TColor colour);
  void PaintFlatNotch(const TtlColumn* column, const TRect& r);

  TLiteDsgnTitleStyle titleStyle_ = lts3D;  // how titles are drawn
  bool showLines_ = true;                   // group and row lines are drawn and take space
  bool showLastLine_ = true;                // the last group's line in VertLines, else background
};

// Makes TLiteDesigner known to form streams.
void RegisterLiteDesignerClasses();

}  // namespace brevant
