// The gallery's page of list columns: a grid over the demonstration's
// vendors whose cells drop down a pick list (State), a lookup field's list
// (Industry) and a list looked up by value (IndustryID).
#pragma once

namespace brevant {

class TForm;
class TWinControl;

// Builds the gallery page "Lookups" (register it with
// AddGalleryPage("Lookups", BuildLookupPage)): the label LookupLabel and the
// grid LookupGrid over DM()->dsVendorsSource with the columns VendorName,
// State (DM()->visUSState), Industry (the vision LookupIndustryVision) and
// IndustryID (DM()->visIndustry). Without the data module the page only
// holds the label.
void BuildLookupPage(TForm* gallery, TWinControl* page);

}  // namespace brevant
