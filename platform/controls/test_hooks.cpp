// The queue of scripted answers for modal user interface.
#include "controls/test_hooks.h"

#include <deque>

#include "backend/backend.h"
#include "rtl/resstrings.h"
#include "rtl/strutils.h"

namespace brevant {

namespace {
std::deque<TScriptedAnswer>& Queue() {
  static std::deque<TScriptedAnswer> q;
  return q;
}
Integer g_mode = -1;  // -1: follow the backend
}  // namespace

void ScriptAnswer(const String& kind, Integer value) {
  Queue().push_back({kind, value, {}});
}

void ScriptAction(const String& kind, TScriptAction action) {
  Queue().push_back({kind, 0, std::move(action)});
}

void ClearScriptedAnswers() {
  Queue().clear();
}

Integer ScriptedAnswerCount() {
  return static_cast<Integer>(Queue().size());
}

bool TakeScriptedAnswer(const String& kind, TScriptedAnswer& answer) {
  auto& q = Queue();
  for (auto it = q.begin(); it != q.end(); ++it) {
    if (!SameText(it->Kind, kind)) continue;
    answer = std::move(*it);
    q.erase(it);
    return true;
  }
  if (ScriptedMode()) throw EUnexpectedModal(res::SUnexpectedModal, {kind});
  return false;
}

void SetScriptedMode(bool on) {
  g_mode = on ? 1 : 0;
}

void ResetScriptedMode() {
  g_mode = -1;
}

bool ScriptedMode() {
  if (g_mode >= 0) return g_mode == 1;
  return HasBackend() && Backend().IsOffscreen();
}

std::vector<String>& ModalLog() {
  static std::vector<String> log;
  return log;
}

void RaiseModalStarved(const String& what) {
  throw EUnexpectedModal(res::SModalStarved, {what});
}

}  // namespace brevant
