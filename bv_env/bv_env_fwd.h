// Forward declarations of the environment layer's classes, for headers that
// only name them; sources include the full headers.
#pragma once

namespace brevant {

class TbvEnv;
class TEnvironmentUnit;

}  // namespace brevant
