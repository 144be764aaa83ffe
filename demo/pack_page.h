// The gallery's page of the default pack's drop-downs: one data-aware edit
// per stock drop-down (list, state list, calendar, calculator, colour
// picker, text and picture pickers) over a small table.
#pragma once

namespace brevant {

class TForm;
class TWinControl;

// Builds the gallery page "DefaultPack" (register it with
// AddGalleryPage("DefaultPack", BuildPackPage)): the table PackTable behind
// PackSource and the edits PackFruit, PackState, PackBorn, PackAmount,
// PackTint, PackNotes and PackPhoto. Needs the started default pack.
void BuildPackPage(TForm* gallery, TWinControl* page);

}  // namespace brevant
