// Screen points of the main form's navigation bar, kept in a file of their
// own: the bar's header does not mix with the grid's.
#pragma once

#include "rtl/types.h"

namespace brevant {
class TMainForm;
}

namespace brevant::test {

// The middle of group `group`'s header.
TPoint NavHeaderPoint(TMainForm* form, Integer group);
// The middle of item `item`'s icon in the open group, scrolled into view
// with the bar's arrow first when needed.
TPoint NavItemPoint(TMainForm* form, Integer item);
Integer NavOpenGroup(TMainForm* form);
Integer NavSelectedItem(TMainForm* form);

}  // namespace brevant::test
