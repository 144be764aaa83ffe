// Scripted answers for modal user interface. Message boxes, modal forms,
// pop-up menus and dialogs ask TakeScriptedAnswer before they wait for the
// user; a test queues what the user would do:
//
//   ScriptAnswer("MessageBox", IDYES);            // the box answers Yes
//   ScriptAction("ShowModal", [](TObject* form) {  // acts on the shown form
//     Offscreen().Click(...);                      // real input, or
//     static_cast<TCustomForm*>(form)->SetModalResult(mrOk);
//   });
//
// A kind names the modal UI: "MessageBox", "ShowModal", "PopupMenu", and
// whatever a dialog names itself ("OpenDialog" ...). An answer with a value
// ends the modal UI with that value at once; an answer with an action runs
// it on the subject (the form shown modally, the pop-up menu being tracked)
// and the modal loop then processes the input the action made.
//
// In scripted mode (on by default with the off-screen backend, where no user
// can ever answer) a modal UI without an answer raises EUnexpectedModal
// instead of waiting for ever, and so does a modal loop that runs out of
// input before it ends.
#pragma once

#include <functional>
#include <vector>

#include "rtl/exceptions.h"
#include "rtl/types.h"

namespace brevant {

class TObject;

BV_DECLARE_EXCEPTION(EUnexpectedModal, Exception);

using TScriptAction = std::function<void(TObject* subject)>;

struct TScriptedAnswer {
  String Kind;
  Integer Value = 0;
  TScriptAction Action;  // empty for a value answer
};

// Queues an answer for the next modal UI of kind (compared ignoring case).
void ScriptAnswer(const String& kind, Integer value);
void ScriptAction(const String& kind, TScriptAction action);
void ClearScriptedAnswers();
Integer ScriptedAnswerCount();

// Takes the first queued answer of kind. Without one: raises
// EUnexpectedModal in scripted mode, else answers false (ask the user).
bool TakeScriptedAnswer(const String& kind, TScriptedAnswer& answer);

// Scripted mode: forced on or off, or (the default) on exactly when the
// off-screen backend runs.
void SetScriptedMode(bool on);
void ResetScriptedMode();
bool ScriptedMode();

// Every modal UI that ran, as "Kind: text" (a message box's caption and
// text, a form's class name), oldest first; tests read and clear it.
std::vector<String>& ModalLog();

// Raises EUnexpectedModal for a modal loop with nothing left to process.
[[noreturn]] void RaiseModalStarved(const String& what);

}  // namespace brevant
