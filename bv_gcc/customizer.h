// TbvTabulonCustomizer: the small stay-on-top tool window through which a
// user adds and removes grid columns by drag and drop. Its layout comes
// from its own form text. Hidden-columns mode lists the grid's hidden
// columns: an entry dragged onto the grid shows its column at the drop
// place, a grid column dragged onto the list is hidden. Field-chooser mode
// lists dataset fields without a visible column: an entry dropped on the
// grid becomes a new column there, a grid column dropped on the list is
// deleted. It talks to its grid only through WM_TL_CUSTOMIZER (codes 0 to
// 8, below); at most one is open at a time (customizer_unit.h).
#pragma once

#include <memory>

#include "bv/bv_fwd.h"
#include "bv/grid_types.h"
#include "bv_gcc/customizer_entries.h"
#include "controls/forms.h"

namespace brevant {

class TButton;
class TDataSource;
class TObjDataSet;
class TPanel;
class TStringList;
class TtlBaseDesigner;

// The codes of WM_TL_CUSTOMIZER beyond the grid's own (grid_types.h).
constexpr TtlCustomizerAction gcaFillFieldName = 2, gcaColumnCreated = 3, gcaDeleteDragged = 4,
                              gcaColumnShown = 5, gcaHideDragged = 6;

class TbvTabulonCustomizer : public TForm {
  BV_CLASS(TbvTabulonCustomizer, TForm)
 public:
  explicit TbvTabulonCustomizer(TComponent* owner);
  ~TbvTabulonCustomizer() override;
  void BeforeDestruction() override;

  // Stores what the opening routine was given (before Show).
  void Setup(TDBTabulon* grid, const String& names, const String& captions, const String& shown,
             bool showHidden);

  // ---- the components of the form text ----
  TDBTabulon* tlList = nullptr;           // the list of entries
  TObjDataSet* datFields = nullptr;       // the entries as records (read-only)
  TDataSource* dsFields = nullptr;        // the list's source
  TtlBaseDesigner* ldDesigner = nullptr;  // the list's plain look
  TPanel* pnBottom = nullptr;             // hidden panel holding btnClose
  TButton* btnClose = nullptr;            // closes the window

  // ---- state ----
  TDBTabulon* Grid() const { return grid_; }
  bool ShowHidden() const { return showHidden_; }
  const TbvCustomizerEntries& Lists() const { return lists_; }
  // The captions shown (the rows of datFields).
  TStringList* Entries() const { return entries_.get(); }
  // The field name of the list's current record; empty when none.
  String SelectedName() const;
  // Set when a new customizer replaces this one.
  bool Replaced() const { return replaced_; }
  void SetReplaced(bool value) { replaced_ = value; }
  // The window height for a request: the frame overhead plus a whole
  // number (at least two) of list rows.
  Integer FitHeight(Integer requested) const;

  // ---- handlers bound by the form text ----
  void FormShow(TObject* sender);
  void FormClose(TObject* sender, TCloseAction& action);
  void btnCloseClick(TObject* sender);
  void tlListDragOver(TObject* sender, TObject* source, Integer x, Integer y, TDragState state,
                      bool& accept);
  void tlListDragDrop(TObject* sender, TObject* source, Integer x, Integer y);

  void Dispatch(TMessage& message) override;

 protected:
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  void WMSize(TMessage& message) override;
  void WMMove(TMessage& message) override;

 private:
  // WM_TL_CUSTOMIZER: routes a code to its handler.
  void WMCustomizer(TMessage& message);
  void FillFieldName(TtlColumn* column);
  void ExcludeColumn(TtlColumn* column);
  void DropDraggedColumn(TtlColumn* column);
  LRESULT DraggedEntryColumn() const;
  void PerformDrop();
  void ShowEntryColumn();
  void CreateEntryColumn();
  // Sends a code to the grid (nothing without one).
  LRESULT SendToGrid(TtlCustomizerAction action, TObject* object);
  // Rebuilds the entries and lets the list re-read them.
  void RefreshEntries();
  // Leaves the grid: told of code 1 while the grid lives, and the window
  // leaves the list of customizer windows either way.
  void Detach();

  TDBTabulon* grid_ = nullptr;            // the grid served (nil once freed)
  bool showHidden_ = true;                // hidden-columns mode, else field chooser
  bool replaced_ = false;                 // closing because a new one opens
  bool attached_ = false;                 // code 0 was sent and code 1 not yet
  TbvCustomizerEntries lists_;            // names, captions, shown and entries
  std::unique_ptr<TStringList> entries_;  // the captions shown
  bool snapping_ = false;                 // the window is being fitted
  TRect fitBounds_{};                     // bounds after the last fit or move
};

// Makes the customizer's classes known to form streams.
void RegisterCustomizerClasses();

}  // namespace brevant
