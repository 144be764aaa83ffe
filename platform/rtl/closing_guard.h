// Brackets whose closing may itself fail (an unfreeze that refreshes, a
// clear that repaints), closed on every path:
//   TClosingGuard close([&] { grid->UnfreezeGrid(true); });
// When the scope ends normally a failure of the closing propagates; when an
// exception is already unwinding it, the closing still runs and its own
// failure gives way to the first.
#pragma once

#include <exception>
#include <utility>

namespace brevant {

// Runs close; while unwinding, a failure of close is dropped so that the
// exception already in flight is the one that reaches the caller.
template <class F>
void CloseBracket(bool unwinding, F&& close) {
  if (!unwinding) {
    close();
    return;
  }
  // A second exception leaving a destructor during unwinding would end the
  // program; the first failure is the one worth reporting.
  try {
    close();
  } catch (...) {
  }
}

// Whether the scope that recorded exceptionsAtOpen is being left by an
// exception (counts taken with std::uncaught_exceptions, so a bracket opened
// inside a destructor that runs during unwinding still closes normally).
inline bool LeavingByException(int exceptionsAtOpen) {
  return std::uncaught_exceptions() > exceptionsAtOpen;
}

// Runs an action when the scope ends, on every path (see CloseBracket).
template <class F>
class TClosingGuard {
 public:
  explicit TClosingGuard(F action) : action_(std::move(action)) {}
  ~TClosingGuard() noexcept(false) { CloseBracket(LeavingByException(exceptions_), action_); }
  TClosingGuard(const TClosingGuard&) = delete;
  TClosingGuard& operator=(const TClosingGuard&) = delete;

 private:
  F action_;                                     // what closes the bracket
  int exceptions_ = std::uncaught_exceptions();  // exceptions in flight at the opening
};

}  // namespace brevant
