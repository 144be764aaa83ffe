// Writing and reading whole components.
#pragma once

#include "classes/form_text.h"

namespace brevant {

class TComponent;

// Writes root and its children in the binary form at the stream's position.
void WriteComponent(TStream& stream, TComponent* root);
// The same in the text form.
void WriteComponentText(TStream& stream, TComponent* root);
// Reads a stream in either form into an existing root; the class name in
// the stream is not checked and the root keeps its name. Raises
// EReadError (EParserError for malformed text, EClassNotFound).
void ReadComponent(TStream& stream, TComponent* root);
// Creates the root the stream describes from its registered class name,
// owned by owner, and reads it. The caller frees it. Nothing is left behind
// on failure.
TComponent* ReadNewComponent(TStream& stream, TComponent* owner = nullptr);

}  // namespace brevant
