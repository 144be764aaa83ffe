// Forward declarations of the data layer's classes, for headers that only
// name them; sources include the full headers.
#pragma once

#include "rtl/types.h"

namespace brevant {

class TDataSet;
class TDataSource;
class TDataLink;
class TField;
class TFields;
class TFieldDef;
class TFieldDefs;
class TIndexDef;
class TIndexDefs;
class TParam;
class TParams;
class TClientDataSet;
class TMemDataSet;
// A bookmark: the descendant's bookmark bytes (BookmarkSize of them; they
// may contain zero bytes). Empty means "no record".
using TBookmark = String;

}  // namespace brevant
