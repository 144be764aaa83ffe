// Form resources: the text form of a form or data module class, compiled
// into the program and registered under the class name. The CMake function
// bv_embed_form_files(target files...) (cmake/FormResources.cmake) turns
// form files into a generated source that registers each at start-up under
// the class its first line names ("object MainForm: TMainForm").
#pragma once

#include "rtl/object.h"
#include "rtl/types.h"

namespace brevant {

class TComponent;

// Registers (or replaces) the form text of a class.
void RegisterFormResource(const String& className, const String& text);
void UnregisterFormResource(const String& className);
// The text registered for the class (ignoring case), or nullptr.
const String* FindFormResource(const String& className);

// Reads form text into root: the root takes the name the text gives it when
// it has none (made unique among the registered modules: "Form1_1" for a
// second instance), then children, properties, references and handlers are
// read (reader.h), and Loaded runs. Raises EReadError / EParserError.
void ReadFormResource(TComponent* root, const String& text);

// Points field at root's component called name (made by its form text), as a
// T: for a form's Loaded. Raises EComponentError when root has no such
// component and EInvalidCast when it is of another class.
TObject* FindFormComponent(TComponent* root, const String& name);
template <class T>
void BindComponent(TComponent* root, const String& name, T*& field) {
  field = As<T>(FindFormComponent(root, name));
}

}  // namespace brevant
