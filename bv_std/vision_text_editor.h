// IznVisionTextEditor: what the spinning visions need of an edit control
// beyond IznVisionEditor: the caret, replacing the text as the edit's own
// SetEditText does, and selecting a part of it. An edit control offers it
// next to IznVisionEditor; a vision finds it with TextEditorOf.
#pragma once

#include "bv/field_vision_types.h"

namespace brevant {

class IznVisionTextEditor {
 public:
  // The caret position, in characters from the start of the text.
  virtual Integer EditCaret() = 0;
  // Replaces the text when the edit may start editing (the current value
  // then counts as typed into and not as set by code); selects all of it
  // when selectAll. Answers whether the text was set.
  virtual bool SetEditText(const String& text, bool selectAll) = 0;
  // Selects length characters from start.
  virtual void SelectEditText(Integer start, Integer length) = 0;

 protected:
  ~IznVisionTextEditor() = default;
};

// The text side of editor, or nil when the editor does not offer one.
inline IznVisionTextEditor* TextEditorOf(IznVisionEditor* editor) {
  return dynamic_cast<IznVisionTextEditor*>(editor);
}

}  // namespace brevant
