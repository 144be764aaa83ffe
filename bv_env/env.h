// TbvEnv: the hidden form, one per program, that holds what all grids and
// visions share: the image lists (drag arrows in two sets, sort markers,
// footer state images, design-time images, toolbar commands, blob markers)
// and the footer menu through which a user picks a column's footer
// aggregate. Its layout comes from its own form text; the pictures are
// drawn when it is created. It serves the grid unit through the
// environment hook (bv/env_hook.h), installed by the unit's start-up
// (env_unit.h).
#pragma once

#include "bv/env_hook.h"
#include "controls/forms.h"

namespace brevant {

class TImageList;
class TMenuItem;
class TPopupMenu;

class TbvEnv : public TForm, public IbvEnvironment {
  BV_CLASS(TbvEnv, TForm)
 public:
  using TForm::TForm;
  void BeforeDestruction() override;

  // ---- the components of the form text ----
  TImageList* ArrowsYwImgs = nullptr;     // yellow drop-position arrows, 15 x 15
  TImageList* ArrowsGrImgs = nullptr;     // the second set of drop arrows, 15 x 15
  TImageList* TitleStateImgs = nullptr;   // sort markers, 10 x 9
  TImageList* FooterStateImgs = nullptr;  // footer menu item images, 16 x 16
  TImageList* DesigntimeImgs = nullptr;   // design-time images, 16 x 16
  TImageList* ToolbarImages = nullptr;    // blob and picture context menu images, 16 x 16
  TImageList* BlobMarkers = nullptr;      // markers of blob cells, 16 x 16
  TPopupMenu* pumFooterMenu = nullptr;    // the footer menu
  TMenuItem* miAverage = nullptr;         // fsAverage
  TMenuItem* miCount = nullptr;           // fsCount
  TMenuItem* miMax = nullptr;             // fsMax
  TMenuItem* miMin = nullptr;             // fsMin
  TMenuItem* miSum = nullptr;             // fsSum
  TMenuItem* miSep1 = nullptr;            // the separator before "None"
  TMenuItem* miNone = nullptr;            // fsNone

  // The menu item of a footer state, nil for other values.
  TMenuItem* StateItem(Integer state) const;

  // ---- handlers bound by the form text ----
  // Captions from the resource string, the pictures of every image list.
  void FormCreate(TObject* sender);
  // Applies the clicked item's state to the open column (a second pick of
  // the state it shows switches the footer off).
  void FooterMenuClick(TObject* sender);
  // The separator shows exactly when "None" does.
  void pumFooterMenuPopup(TObject* sender);

  // ---- IbvEnvironment ----
  TImageList* DragArrows(bool secondSet) override;
  TImageList* TitleStateImages() override { return TitleStateImgs; }
  TImageList* FooterStateImages() override { return FooterStateImgs; }
  TImageList* BlobMarkerImages() override { return BlobMarkers; }
  TImageList* ToolbarCommands() override { return ToolbarImages; }
  TPopupMenu* FooterMenu() override { return pumFooterMenu; }
  TMenuItem* FooterStateItem(TtlFooterState state) override;
  TtlColumn* FooterColumn() override { return footerColumn_; }
  // Always "Count" and "None"; "Average", "Maximum" and "Minimum" also for
  // date-time and time-stamp fields; all five for numeric fields.
  void PrepareFooterMenu(TField* field) override;
  bool PopupFooterMenu(TDBTabulon* grid, TtlColumn* column, Integer x, Integer y) override;

 protected:
  void Loaded() override;

 private:
  // The open column while it still belongs to grid, else nil.
  TtlColumn* OpenColumnOf(TDBTabulon* grid) const;
  // Checks, enables and shows the state items for column.
  void MarkStateItems(TtlColumn* column);

  TtlColumn* footerColumn_ = nullptr;  // the column whose menu is open
};

// Makes the environment's classes known to form streams.
void RegisterEnvClasses();

}  // namespace brevant
