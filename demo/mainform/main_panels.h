// The main form's property panels: one label and one data-aware edit per
// property of a designer, a vision or the search parameters, over the single
// record of an object dataset, so every change applies to the live component
// at once. Also the vision pages' standalone edits.
#pragma once

namespace brevant {

class TForm;

// Fills the panel hosts of the main form, found by name on `form`:
// pnLiteDesignerProps (DM2.dsLiteDsgn), pnStdDesignerProps (DM2.dsStdDsgn),
// pnAutoSearchProps (the form's dsAutoSearch) and the pages of
// NotebookVisions (one property panel and one "Standalone editor" group box
// per vision kind). Hosts that are missing are skipped. DM and DM2 must exist.
// Components are owned by form: each panel is a scroll box named host +
// "Box" (vision pages: kind + "PropsBox"), its edits prefix + "_" + field;
// a vision page's group box is kind + "Group" and its edit kind +
// "Standalone" (kind as on the navigation bar, e.g. "LiteVision").
void BuildMainFormPanels(TForm* form);

}  // namespace brevant
