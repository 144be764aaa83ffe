// The environment's start-up and shut-down: the one TbvEnv is created,
// without owner, before any grid and freed after the last one; everything
// else reaches it through BvEnv() or, from the grid unit, through
// Environment() (bv/env_hook.h).
#pragma once

namespace brevant {

class TbvEnv;

// The environment, nil before start-up and after shut-down.
TbvEnv* BvEnv();
// Creates the environment from its form text and installs it in the grid
// unit's hook; does nothing when it exists.
void InitEnvironment();
// Removes the environment from the hook and frees it.
void DoneEnvironment();

// Start-up for the length of a scope (a program's main, a test binary).
class TEnvironmentUnit {
 public:
  TEnvironmentUnit() { InitEnvironment(); }
  ~TEnvironmentUnit() { DoneEnvironment(); }
  TEnvironmentUnit(const TEnvironmentUnit&) = delete;
  TEnvironmentUnit& operator=(const TEnvironmentUnit&) = delete;
};

}  // namespace brevant
