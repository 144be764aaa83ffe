// TMainForm: the demonstration's main form, read from its own form text. A
// navigation bar on the left picks the pages of a notebook on the right:
// the overview grid with its toolbar, the two designer pages, drag and drop
// between two filtered vendor lists, incremental search, the field vision
// pages, the drop-down form and the object dataset page. Every behaviour
// lives in the published handlers below; the rest is configuration.
//
// The navigation bar's handlers live in main_form_nav.cpp, the grids' in
// main_form_grids.cpp, the layout file in main_form_layout.cpp.
#pragma once

#include <functional>

#include "controls/forms.h"

namespace brevant {

class TButton;
class TCustomNavBar;
class TDataSource;
class TDBQuentaEdit;
class TDBTabulon;
class TDragObject;
class TImageList;
class TLabel;
class TLiteDesigner;
class TMainMenu;
class TMenuItem;
class TNotebook;
class TObjDataSet;
class TPanel;
class TScrollBox;
class TStandardVision;
class TStatusBar;
class TToolBar;
class TToolButton;
class TtlColumn;
class TtlRowAttrs;
enum TDragState : Byte;

class TMainForm : public TForm {
  BV_CLASS(TMainForm, TForm)
 public:
  using TForm::TForm;

  // The page title table (entries for the notebook pages but "FieldVisions")
  // and the vision title table (default vision, then the fourteen items).
  static const char* const kPageTitles[7];
  static const char* const kVisionTitles[15];

  // ---- the components of the form text ----
  TCustomNavBar* NavBar = nullptr;             // the page picker on the left
  TStatusBar* StatusBar = nullptr;             // one simple panel: reports
  TPanel* pnCaption = nullptr;                 // the caption band
  TLabel* lbCaption = nullptr;                 // the page title on the band
  TNotebook* Notebook = nullptr;               // the eight pages
  TToolBar* OverviewToolBar = nullptr;         // the overview's buttons
  TToolButton* tbShowTitle = nullptr;          // titles on/off (Tag 1)
  TToolButton* tbShowFooter = nullptr;         // footers on/off (Tag 2)
  TToolButton* tbAutoWidth = nullptr;          // fit to width (Tag 3)
  TToolButton* tbStandardDesigner = nullptr;   // DM.dsgnMain (Tag 1)
  TToolButton* tbLiteDesigner = nullptr;       // DM.dsgnMainLite (Tag 2)
  TToolButton* tbCustomize = nullptr;          // opens the column customizer
  TToolButton* tbSaveLayout = nullptr;         // saves the layout (Tag 1)
  TToolButton* tbLoadLayout = nullptr;         // loads the layout (Tag 2)
  TDBTabulon* tlOverview = nullptr;            // all vendors
  TScrollBox* pnLiteDesignerProps = nullptr;   // the lite designer's panel
  TButton* btnDefaults = nullptr;              // lite designer back to defaults
  TDBTabulon* tlLiteDesignerDemo = nullptr;    // grid with DM2.dsgnLite
  TScrollBox* pnStdDesignerProps = nullptr;    // the standard designer's panel
  TButton* btnDefaults2 = nullptr;             // standard designer back to defaults
  TDBTabulon* tlStdDesignerDemo = nullptr;     // grid with DM2.dsgnStd
  TDBTabulon* tlNonPreffered = nullptr;        // non-preferred vendors (left)
  TDBTabulon* tlPreffered = nullptr;           // preferred vendors (right)
  TScrollBox* pnAutoSearchProps = nullptr;     // the search parameters' panel
  TDBTabulon* tlAutoSearch = nullptr;          // incremental search on vendors
  TNotebook* NotebookVisions = nullptr;        // one property page per vision
  TNotebook* NotebookGrids = nullptr;          // "Default" and "LargeGrid"
  TDBTabulon* tlFieldVisions = nullptr;        // the vision columns
  TDBTabulon* tlFieldVisions2 = nullptr;       // owner-draw, memo, image (8 lines)
  TDBQuentaEdit* edFlags = nullptr;            // Flags with StandardVision1
  TDBTabulon* tlDropDown = nullptr;            // VendorName and Flags
  TButton* Button1 = nullptr;                  // the invisible screenshot button
  TMainMenu* MainMenu = nullptr;               // File/Exit, Help/About
  TMenuItem* miExit = nullptr;                 // Alt+X
  TMenuItem* miAbout = nullptr;                // the About box
  TImageList* imgToolBar = nullptr;            // the toolbar's glyphs
  TObjDataSet* datAutoSearch = nullptr;        // tlAutoSearch's ParamsAutoSearch
  TDataSource* dsAutoSearch = nullptr;         // source of datAutoSearch
  TLiteDesigner* dsgnStates = nullptr;         // the state page's grid designer
  TStandardVision* StandardVision1 = nullptr;  // drops down DM3.vtfDemo

  // ---- handlers bound by the form text ----
  void FormShow(TObject* sender);
  void NavBarChange(TObject* sender);
  void NavBarGetImages(TObject* sender, const String& buttonCaption, TImageList*& images);
  void tbClick(TObject* sender);
  void tbDesignerClick(TObject* sender);
  void tbCustomizeClick(TObject* sender);
  void tbLayoutClick(TObject* sender);
  void tlOverviewGetRowAttrs(TObject* sender, TtlRowAttrs* rowAttrs);
  void tlOverviewFooterMenuPopup(TObject* sender, Integer x, Integer y, bool& doPopup);
  void tlOverviewFooterStateChange(TObject* sender, TtlColumn* column);
  void tlGridTitleStateChange(TObject* sender, TtlColumn* column);
  void tlPrefferedDragOver(TObject* sender, TObject* source, Integer x, Integer y, TDragState state,
                           bool& accept);
  void tlPrefferedDragDrop(TObject* sender, TObject* source, Integer x, Integer y);
  void btnDefaultsClick(TObject* sender);
  void btnDefaults2Click(TObject* sender);
  void tlFieldVisionsColEnter(TObject* sender, Integer aCol);
  void Button1Click(TObject* sender);
  void miAboutClick(TObject* sender);
  void miExitClick(TObject* sender);

  // ---- helpers used by the handlers (and the tests) ----
  // Shows notebook page `page` of group `button` with selected item `item`
  // (the part of NavBarChange past the bar).
  void ShowNavigationPage(Integer button, Integer item);
  // Selects item `item` of group `button` on the bar (runs NavBarChange).
  void SelectNavigationItem(Integer button, Integer item);
  // The layout file: Saves/layout.txt in the executable's folder, or the
  // folder set for tests.
  String LayoutFileName() const;
  // Moves the layout folder (tests; empty: beside the executable).
  static void SetLayoutFolder(const String& folder);
  // Shows text in the status bar.
  void Report(const String& text);

 protected:
  void Loaded() override;

 private:
  // Finds NavBar (kept apart: the bar's header is not mixed with the grid's).
  void BindNavBar();
  // Shows the grid of vision item `item` with that vision's column current.
  void ShowVisionGrid(Integer item);
  void SaveLayout();
  void LoadLayout();
  // Moves the source grid's selected vendors to the other list.
  void MoveVendors(TDBTabulon* source, TDBTabulon* target);
};

// Registers TMainForm, its form text and the classes the text uses
// (idempotent). The data modules' classes must be registered as well.
void RegisterMainFormClasses();
// Creates the main form (DM and DM2 must exist), builds its property panels
// and answers it.
TMainForm* CreateMainForm(TComponent* owner);

}  // namespace brevant
