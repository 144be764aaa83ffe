// The rows of a property panel: one label and one data-aware edit per field
// of an object dataset that exposes a component's published properties,
// stacked in a scroll box that fills the host. The editing vision follows
// the property's kind (check boxes, colour picker, calendar, spin, state
// visions of enumerations, memos, images; the default vision otherwise).
#pragma once

#include <vector>

#include "rtl/types.h"

namespace brevant {

class TComponent;
class TDataSource;
class TDBQuentaEdit;
class TScrollBox;
class TWinControl;
class TznFieldVision;

// The space between the bottom of one edit and the top of the next.
inline constexpr Integer kPanelRowGap = 4;
// The height of an edit with one line of text.
inline constexpr Integer kPanelEditHeight = 21;
// The label column's width; edits start right of it.
inline constexpr Integer kPanelLabelWidth = 120;

// The vision a property panel edits field of source's object dataset with;
// nil for the default vision (plain strings, floats, anything unmapped).
TznFieldVision* PanelVisionFor(TDataSource* source, const String& field);

// Fills a scroll box named prefix + "Box", client-aligned on host, with a
// row per field that source's dataset has (missing fields are skipped).
// The components are owned by owner and named prefix + "_" + field (the
// edit) and that + "Label" (its label; Boolean fields have none, their
// check box carries the field name). Answers the scroll box.
TScrollBox* BuildPropertyRows(TComponent* owner, TWinControl* host, const String& prefix,
                              TDataSource* source, const std::vector<const char*>& fields);

}  // namespace brevant
