// IznCompletingEditor: what typed-text completion asks of an edit control
// beyond IznVisionEditor: whether the last key extended the text (it was
// neither Backspace nor Delete), so a deletion is never completed again.
#pragma once

#include "bv/field_vision_types.h"

namespace brevant {

class IznCompletingEditor {
 public:
  // The last key was neither Backspace nor Delete.
  virtual bool LastKeyExtends() = 0;

 protected:
  ~IznCompletingEditor() = default;
};

// Whether the last key of editor extended its text; an editor that does not
// tell counts every change as typed forward.
inline bool LastKeyExtends(IznVisionEditor* editor) {
  auto* completing = dynamic_cast<IznCompletingEditor*>(editor);
  return !completing || completing->LastKeyExtends();
}

}  // namespace brevant
