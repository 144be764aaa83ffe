// The text form of form streams and the conversions between the forms.
//
// The text form, as ObjectBinaryToText writes it (lines end with CR LF,
// each nesting level indents by two spaces):
//
//   object Form1: TMainForm             ("inherited" / "inline" by flags;
//     Caption = 'It'#39's'               "Name: " only when named;
//     Width = 320                        " [n]" for a child position)
//     Ratio = 0.25                       (extended: always with '.' or 'E')
//     Scale = 1.5s                       (single s, currency c, date d)
//     Style = [fsBold, fsItalic]
//     Lines = (
//       'one'
//       'two')
//     Data = {
//       000102...  (32 bytes per line when there are 32 or more)
//       2021}
//     Columns = <
//       item
//         Caption = 'A'
//       end
//       item [4]
//       end>
//     object Button1: TButton
//     end
//   end
//
// Strings: runs of characters from 32 up (wide strings: 32 to 127) except
// the apostrophe go between apostrophes, every other character is #code.
// 8-bit strings are UTF-8: multi-byte sequences stay inside the runs as
// they are, and so do bytes that are not valid UTF-8, so the exact bytes
// come back. A #code of 128 or more makes the whole literal a wide string
// (each code one UTF-16 unit; above $FFFF a surrogate pair). A string longer
// than 64 characters (bytes; wide: units) starts on a new line one level
// deeper and continues with " +" after every 64 characters, never inside a
// UTF-8 sequence or a surrogate pair. Floats are written with the fewest
// digits that read back to the same value: a value a double holds exactly
// with its shortest double digits (17 at most), any other extended value
// with 18 to 21 digits; the reader takes at most 17 significant digits as a
// double and more as an extended. Infinities and NaN are +INF, -INF, +NAN.
#pragma once

#include "rtl/types.h"

namespace brevant {

class TStream;

enum TStreamOriginalFormat : Byte { sofUnknown, sofBinary, sofText };

// Looks at the stream from its position (which it keeps): "TPF0" is the
// binary form; "object", "inherited" or "inline" after blanks (and a UTF-8
// byte order mark) is the text form.
TStreamOriginalFormat TestStreamFormat(TStream& stream);

// Converts one object from input's position to output's position. Raises
// EReadError for a corrupt binary stream (with the byte offset), EParserError
// for malformed text (with the line number). Nothing is written to output
// on failure.
void ObjectBinaryToText(TStream& input, TStream& output);
void ObjectTextToBinary(TStream& input, TStream& output);

}  // namespace brevant
