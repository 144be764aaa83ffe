// Forward declarations of the customizer layer's classes, for headers that
// only name them; sources include the full headers.
#pragma once

namespace brevant {

class TbvTabulonCustomizer;
class TbvCustomizerEntries;
class TCustomizerUnit;
struct TtlColumnDragInfo;

}  // namespace brevant
