#include "bv/env_hook.h"

#include "bv/column.h"

namespace brevant {

static IbvEnvironment* installedEnvironment = nullptr;

IbvEnvironment* Environment() {
  return installedEnvironment;
}

void SetEnvironment(IbvEnvironment* environment) {
  installedEnvironment = environment;
  SetTitleStateImages(environment ? environment->TitleStateImages() : nullptr);
}

}  // namespace brevant
