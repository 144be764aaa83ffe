// The gallery's page of data-aware edits: a small table of parts, one edit
// per field, each through a vision showing another button kind.
#pragma once

namespace brevant {

class TForm;
class TWinControl;

// Builds the gallery page "DataEdits" (register it with
// AddGalleryPage("DataEdits", BuildEditPage)): the table PartsTable behind
// PartsSource, and the edits PartName (plain), PartQty (spin buttons step
// the quantity), PartCode (masked, with an ellipsis button that clears it)
// and PartPrice (right-aligned).
void BuildEditPage(TForm* gallery, TWinControl* page);

}  // namespace brevant
