// Forward declarations of the grid layer's classes, for headers that only
// name them; sources include the full headers.
#pragma once

namespace brevant {

class TDBTabulon;
class TDataLinkEx;
class TtlColumn;
class TtlColumns;
class TtlGroupInfo;
class TtlColumnLowLevelInfo;
class TtlCellMargins;
class TtlDesigner;
class TtlPainter;
class TtlRowAttrs;
class TtlPaintInfo;
class TtlSelection;
class TtlRecShot;
class TtlCurrentRecShot;
class TtlAutoSearchParams;
class TtlDBParams;
class TtlDeleteParams;
class TDBQuentaText;
class TtlInplaceEdit;
class TtlDragger;
class TtlDropMarkers;
struct TtlDropTarget;
class TtlColumnSizer;
class TznCustomFieldMapper;
struct TznMappingEntry;
class IbvEnvironment;

}  // namespace brevant
