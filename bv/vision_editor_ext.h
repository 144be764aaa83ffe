// What a vision asks of an edit control beyond IznVisionEditor: the text
// side that the spinning visions need (IznVisionTextEditor) and the edit
// state a drawing vision looks at (IznEditorPaintState). They live with the
// edits so that the edit controls of this layer implement them and the
// visions of higher layers find them with a dynamic cast.
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

// An edit control (standalone or in place) as a painting vision sees it.
class IznEditorPaintState {
 public:
  // The control has the focus and is in edit state.
  virtual bool InEditState() = 0;
  // A mouse press on the custom surface is under way (the surface switcher
  // holds it pressed under the pointer).
  virtual bool SurfacePressed() = 0;

 protected:
  ~IznEditorPaintState() = default;
};

}  // namespace brevant
