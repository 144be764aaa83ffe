// TStandardDesigner: the default look of every grid without a designer of
// its own. Raised titles and footers, black grid lines, and each group
// ended by a three-pixel double line whose middle pixel column shows the
// margin colour. StartStandardDesignerUnit registers a process-wide
// instance as the grids' default designer.
#pragma once

#include "bv/base_designer.h"
#include "rtl/sets.h"

namespace brevant {

// The standard designer's switches.
enum TStdDsgnOption : Byte {
  dg3DTitle,         // raised title edges, sunken when pressed
  dg3DFooter,        // raised footer band, sunken footer cells
  dgMarginLines,     // the middle column of each group line in MarginLines
  dgBoundLines,      // rows bounded in BoundLines (only affects UniformRows)
  dgHorizLines,      // a line under every row
  dgHorizBackground  // row lines drawn beneath the group lines
};
using TStdDsgnOptions = TSet<TStdDsgnOption>;
BV_DECLARE_ENUM_INFO(TStdDsgnOption)
BV_DECLARE_ENUM_INFO(TStdDsgnOptions)

// Every option: the value of a new designer.
TStdDsgnOptions AllStdDsgnOptions();

class TStandardDesigner : public TtlBaseDesigner {
  BV_CLASS(TStandardDesigner, TtlBaseDesigner)
 public:
  explicit TStandardDesigner(TComponent* owner = nullptr);

  TColor TitleSeparator() const { return titleSeparator_; }
  void SetTitleSeparator(TColor value);
  TColor MarginLines() const { return marginLines_; }
  void SetMarginLines(TColor value);
  TColor BoundLines() const { return boundLines_; }
  void SetBoundLines(TColor value);
  TStdDsgnOptions Options() const { return options_; }
  // Without dgHorizLines, dgHorizBackground is added; the flat-footer state
  // and pressed-title drawing follow the set.
  void SetOptions(TStdDsgnOptions value);
  // The flat-footer state follows Options; writing it changes nothing.
  void SetFlatFooter(bool) {}

 protected:
  Integer GetVertLineWidth() override { return 3; }
  Integer GetRowLineWidth() override { return options_.Contains(dgHorizLines) ? 1 : 0; }
  void GetTitleLineWidths(Integer& inner, Integer& outer) override;
  void AssignFrom(const TtlDesigner* source) override;
  void PaintTitleBand() override;
  void PaintRowsBand() override;
  void PaintGroupTitle(const TtlGroupInfo& group, Integer x, Integer dx) override;

 private:
  void UpdateUniformRows();
  // The double line ending a group whose left is x, from top to bottom
  // (exclusive); middle is the colour of the middle column without margin
  // lines.
  void DrawGroupLine(Integer x, Integer width, Integer top, Integer bottom, TColor middle);
  void DrawGroupLines(Integer top, Integer bottom, TColor middle);
  void DrawRowLines();
  // A one-pixel horizontal line across the painted width at y.
  void HorizontalLine(Integer y, TColor colour);

  TColor titleSeparator_;    // lines between a group's titles (black)
  TColor marginLines_;       // middle column of the group lines (clSilver)
  TColor boundLines_;        // row bounds, only compared with HorizLines (black)
  TStdDsgnOptions options_;  // all six options at creation
};

// Creates the process-wide standard designer (once) and registers it as the
// default designer of grids without one; classes become known to streams.
void StartStandardDesignerUnit();

}  // namespace brevant
