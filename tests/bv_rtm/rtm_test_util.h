// Shared by the runtime-support tests: the off-screen backend, installed
// once for the whole test binary.
#pragma once

#include <memory>

#include "backend/offscreen_backend.h"

namespace brevant::rtmtest {

inline TOffscreenBackend& Offscreen() {
  static TOffscreenBackend* backend = [] {
    auto b = std::make_unique<TOffscreenBackend>();
    b->SetScreenRect(TRect(0, 0, 1024, 768));
    TOffscreenBackend* raw = b.get();
    SetBackend(std::move(b));
    return raw;
  }();
  return *backend;
}

}  // namespace brevant::rtmtest
