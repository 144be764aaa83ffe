#include "bv_env/env_unit.h"

#include "bv_env/env.h"

namespace brevant {

// The environment is the one installed in the grid unit's hook, so a freed
// one (which uninstalls itself) is never answered.
TbvEnv* BvEnv() {
  return dynamic_cast<TbvEnv*>(Environment());
}

void InitEnvironment() {
  if (BvEnv()) return;
  RegisterEnvClasses();
  SetEnvironment(Create<TbvEnv>(nullptr));
}

void DoneEnvironment() {
  TObject::Free(BvEnv());
}

}  // namespace brevant
