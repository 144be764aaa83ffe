// The process-wide backend. Without an installed backend the first use
// installs the off-screen one, so tools and tests run without a display.
#include "backend/backend.h"

#include "backend/offscreen_backend.h"

namespace brevant {

namespace {
std::unique_ptr<TBackend>& Holder() {
  static std::unique_ptr<TBackend> backend;
  return backend;
}
}  // namespace

TBackend& Backend() {
  auto& b = Holder();
  if (!b) b = std::make_unique<TOffscreenBackend>();
  return *b;
}

bool HasBackend() {
  return Holder() != nullptr;
}

std::unique_ptr<TBackend> SetBackend(std::unique_ptr<TBackend> backend) {
  auto old = std::move(Holder());
  Holder() = std::move(backend);
  return old;
}

}  // namespace brevant
