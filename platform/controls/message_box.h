// The platform's message box: a small modal form with an icon, the text and
// a row of buttons, answering IDOK, IDCANCEL, IDYES ... (application.h has
// the flags). Application()->MessageBox is the usual entry.
#pragma once

#include "rtl/types.h"

namespace brevant {

class TCanvas;

// The glyph of a message box or dialog in a coloured circle: 'i'
// information, '!' warning, 'x' error, '?' question.
void DrawMessageGlyph(TCanvas* canvas, const TRect& rect, char kind);

// Logs the box (ModalLog), takes a scripted answer of kind "MessageBox"
// when one is queued, else shows the box modally.
Integer ShowMessageBox(const String& text, const String& caption, Cardinal flags);

}  // namespace brevant
