// The grid unit's way to the shared environment: the drag arrows, the title
// and footer state images, the blob markers, the toolbar images and the
// footer menu. The environment lives in a layer above the grid unit, so it
// installs itself here at start-up and removes itself at shut-down; until
// then Environment() answers nil and grids draw and offer none of it.
#pragma once

#include "rtl/types.h"

namespace brevant {

class TDBTabulon;
class TField;
class TImageList;
class TMenuItem;
class TPopupMenu;
class TtlColumn;
enum TtlFooterState : Byte;

class IbvEnvironment {
 public:
  // Drop-position arrows for column dragging, four images each (pointing
  // right, down, left, up): the yellow set, or the second set.
  virtual TImageList* DragArrows(bool secondSet) = 0;
  // Sort markers: image 0 sorted up, image 1 sorted down.
  virtual TImageList* TitleStateImages() = 0;
  // The images of the footer menu's state items.
  virtual TImageList* FooterStateImages() = 0;
  // Markers of blob cells: text present, text null, picture present,
  // picture null.
  virtual TImageList* BlobMarkerImages() = 0;
  // The images of the blob and picture context menus, one per edit action
  // (cut, copy, paste, clear, load, save, preview).
  virtual TImageList* ToolbarCommands() = 0;

  virtual TPopupMenu* FooterMenu() = 0;
  // The footer menu's item of a state, nil for other values.
  virtual TMenuItem* FooterStateItem(TtlFooterState state) = 0;
  // The column whose footer menu is open; valid only while it is open.
  virtual TtlColumn* FooterColumn() = 0;
  // Enables the state items that suit the kind of field.
  virtual void PrepareFooterMenu(TField* field) = 0;
  // Offers the footer menu of column at a point of grid's client area
  // (checks, visibility, the grid's veto, the popup and the chosen state).
  // Answers whether the menu was shown.
  virtual bool PopupFooterMenu(TDBTabulon* grid, TtlColumn* column, Integer x, Integer y) = 0;

 protected:
  ~IbvEnvironment() = default;
};

// The installed environment, nil before start-up and after shut-down.
IbvEnvironment* Environment();
// Installs the environment (nil removes it). Also makes its sort markers
// the images columns draw for sorted titles.
void SetEnvironment(IbvEnvironment* environment);

}  // namespace brevant
