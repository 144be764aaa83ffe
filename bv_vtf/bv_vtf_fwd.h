// Forward declarations of the tool form layer's classes, for headers that
// only name them; sources include the full headers.
#pragma once

namespace brevant {

class TVisionToolForm;
class TznToolFormBG;
struct TznSizingInfo;

}  // namespace brevant
