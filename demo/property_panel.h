// The gallery's property panel: a page with a grid over the published
// properties of one of the gallery's controls, edited live through an
// object dataset.
#pragma once

namespace brevant {

class TForm;

// Adds the page "Properties" to the gallery's notebook, with a grid
// (PropertyGrid) bound through PropertySource to the object dataset
// PropertyDataSet over the control Button1, an edit CaptionEdit that writes
// the control's caption through the dataset on Return, and a page button
// PageProperties beside the others.
void AddPropertyPanel(TForm* gallery);

}  // namespace brevant
