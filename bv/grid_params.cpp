#include "bv/grid_params.h"

#include "classes/rtti_builder.h"

namespace brevant {

void TtlAutoSearchParams::Assign(const TPersistent* source) {
  if (auto* p = TryAs<TtlAutoSearchParams>(source)) {
    enabled_ = p->enabled_;
    return;
  }
  TPersistent::Assign(source);
}

void TtlDBParams::Assign(const TPersistent* source) {
  if (auto* p = TryAs<TtlDBParams>(source)) {
    enableRecNo_ = p->enableRecNo_;
    return;
  }
  TPersistent::Assign(source);
}

void TtlDeleteParams::Assign(const TPersistent* source) {
  if (Is<TtlDeleteParams>(source)) return;
  TPersistent::Assign(source);
}

BV_PUBLISH(TtlAutoSearchParams, TPersistent) {
  p.Property("Enabled", &TtlAutoSearchParams::Enabled, &TtlAutoSearchParams::SetEnabled).Default(0);
}

BV_PUBLISH(TtlDBParams, TPersistent) {
  p.Property("EnableRecNo", &TtlDBParams::EnableRecNo, &TtlDBParams::SetEnableRecNo).Default(1);
}

BV_PUBLISH(TtlDeleteParams, TPersistent) {}

}  // namespace brevant
