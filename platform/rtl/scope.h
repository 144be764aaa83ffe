// State restored by scope instead of by hand in catch blocks:
//   TTemporaryChange change(flag_, true);   // flag_ is back on every exit
//   TScopeGuard undo([&] { Rollback(); });  // runs on every exit unless
//   ...; undo.Dismiss();                    // dismissed after success
#pragma once

#include <utility>

namespace brevant {

// Sets a variable for the scope and restores its earlier value at the end.
template <class T>
class TTemporaryChange {
 public:
  TTemporaryChange(T& variable, T value) : variable_(variable), saved_(std::move(variable)) {
    variable_ = std::move(value);
  }
  ~TTemporaryChange() { variable_ = std::move(saved_); }
  TTemporaryChange(const TTemporaryChange&) = delete;
  TTemporaryChange& operator=(const TTemporaryChange&) = delete;

 private:
  T& variable_;  // the variable changed for the scope
  T saved_;      // its value before
};

// Runs an action when the scope ends, unless dismissed first.
template <class F>
class TScopeGuard {
 public:
  explicit TScopeGuard(F action) : action_(std::move(action)) {}
  ~TScopeGuard() {
    if (armed_) action_();
  }
  void Dismiss() { armed_ = false; }
  TScopeGuard(const TScopeGuard&) = delete;
  TScopeGuard& operator=(const TScopeGuard&) = delete;

 private:
  F action_;           // what restores the state
  bool armed_ = true;  // false once the work succeeded and nothing is undone
};

}  // namespace brevant
