// The gallery's property panel: a page with a grid over the published
// properties of one of the gallery's controls, edited live through an
// object dataset.
#pragma once

namespace brevant {

class TForm;
class TWinControl;

// Builds the gallery page "Properties" (register it with
// AddGalleryPage("Properties", BuildPropertyPage)): a grid (PropertyGrid)
// bound through PropertySource to the object dataset PropertyDataSet over
// the control Button1, and an edit CaptionEdit that writes the control's
// caption through the dataset on Return.
void BuildPropertyPage(TForm* gallery, TWinControl* page);

}  // namespace brevant
