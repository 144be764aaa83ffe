// The main form's navigation: the bar's change and image handlers and the
// pages they show. Kept apart from the grid handlers because the bar's
// frame styles and the grid's footer states share enumerator names.
#include "controls/extctrls.h"
#include "controls/form_resources.h"
#include "controls/stdctrls.h"
#include "demo/mainform/main_form.h"
#include "demo/modules/demo_modules.h"
#include "demo/modules/dm.h"
#include "navbar/nav_bar.h"
#include "rtl/strutils.h"

namespace brevant {

namespace {

// The bar's groups, by index.
constexpr Integer kGridGroup = 0;
constexpr Integer kVisionGroup = 1;
constexpr Integer kMiscGroup = 2;
// The notebook page of the field visions.
constexpr Integer kVisionsPage = 5;

}  // namespace

void RegisterMainFormNavClasses() {
  RegisterNavBarClasses();
}

void TMainForm::BindNavBar() {
  BindComponent(this, "NavBar", NavBar);
}

void TMainForm::NavBarChange(TObject*) {
  ShowNavigationPage(NavBar->SelectedButton(), NavBar->SelectedItem());
}

void TMainForm::ShowNavigationPage(Integer button, Integer item) {
  const Integer shown = item < 0 ? 0 : item;
  switch (button) {
    case kGridGroup:
      Notebook->SetPageIndex(shown);
      lbCaption->SetCaption(kPageTitles[shown]);
      if (item < 0) NavBar->SetSelectedItem(0);
      break;
    case kVisionGroup:
      Notebook->SetPageIndex(kVisionsPage);
      ShowVisionGrid(shown);
      NotebookVisions->SetPageIndex(shown + 1);
      lbCaption->SetCaption(kVisionTitles[shown + 1]);
      break;
    case kMiscGroup:
      // With no item yet the first one is shown (and selected), as for the
      // grid group: page N - 1 would be the field visions under a wrong title.
      Notebook->SetPageIndex(NavBar->Groups(kGridGroup)->Count() + shown);
      lbCaption->SetCaption(kPageTitles[Notebook->PageIndex() - 1]);
      if (item < 0) NavBar->SetSelectedItem(0);
      break;
    default:
      break;
  }
}

void TMainForm::SelectNavigationItem(Integer button, Integer item) {
  if (NavBar->SelectedButton() != button) NavBar->SetSelectedButton(button);
  NavBar->SetSelectedItem(item);
}

void TMainForm::NavBarGetImages(TObject*, const String& buttonCaption, TImageList*& images) {
  if (SameText(buttonCaption, "FieldVisions")) images = DM()->imgFieldVisions;
  if (SameText(buttonCaption, "Miscellaneous")) images = DM()->imgBVMisc;
}

}  // namespace brevant
