// The text engine (private to the graphics layer): pango over a private
// fontconfig configuration, so text metrics and pixels are the same on
// every machine with the same fonts, whatever the user's own font setup.
//
// The configuration holds only the DejaVu and Liberation font directories,
// slight hinting, grey antialiasing without subpixel order, 96 dots per
// inch, and a cache directory of its own ($XDG_CACHE_HOME/brevant-fontconfig,
// else /tmp/brevant-fontconfig-<uid>). One pango context, with rounded glyph
// positions and a fixed language, measures and draws, so a measured text
// and the drawn text agree to the pixel. Layouts are cached (least recently
// used first out), because painting measures the same cell texts again and
// again.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "graphics/font.h"

typedef struct _PangoFontDescription PangoFontDescription;
typedef struct _PangoLayout PangoLayout;
typedef struct _PangoLayoutLine PangoLayoutLine;
typedef struct _PangoContext PangoContext;

namespace brevant::detail {

// A font resolved to an installed face and a pixel size.
struct TTextFont {
  PangoFontDescription* Desc = nullptr;  // owned
  String Family;
  Integer PixelSize = 0;
  bool Underline = false;
  bool StrikeOut = false;
  ~TTextFont();
};

// Text layout modes.
enum : Cardinal {
  tmSingleLine = 0x01,   // line breaks in the text are shown as blanks
  tmWordBreak = 0x02,    // wrap at word boundaries to the width
  tmEditControl = 0x04,  // wrapping also breaks words too long for a line
  tmEndEllipsis = 0x08,  // lines too wide end with an ellipsis
  tmPrefix = 0x10,       // "&x" underlines x, "&&" is "&"
  tmHidePrefix = 0x20,   // with tmPrefix: remove the "&" without underlining
};

// One run of a line's glyphs as the compositor lays it: the run's glyph
// images added into one 8-bit coverage mask. A run paints as the text
// colour over the target through this mask, so a line painted again needs
// no shaping, no glyph lookups and no rasteriser.
struct TRunInk {
  Integer Left = 0;            // of the mask, from the line's pen origin
  Integer Top = 0;             // of the mask, from the line's baseline
  Integer Width = 0;           // of the mask in pixels
  Integer Height = 0;          // of the mask in pixels
  std::vector<Byte> Coverage;  // Width x Height coverage values, row by row
};

// The ink of one line: its runs, painted one after the other.
struct TLineInk {
  bool Usable = false;        // false: the line needs the full renderer
  std::vector<TRunInk> Runs;  // (attributes, unknown glyphs or fonts
                              // without a scaled face make it unusable)
};

struct TTextLine {
  PangoLayoutLine* Line = nullptr;  // owned by the layout's pango layouts
  Integer Top = 0;                  // from the top of the text
  Integer Height = 0;
  Integer Baseline = 0;  // from the top of the text
  Integer Width = 0;     // advance width in pixels
  Integer OffsetX = 0;   // where the line's logical box starts from its origin
  mutable std::shared_ptr<const TLineInk> Ink;  // made on the line's first paint
};

struct TTextLayout {
  std::vector<TTextLine> Lines;  // never empty
  Integer Width = 0;             // of the widest line
  Integer Height = 0;            // of all lines
  bool Truncated = false;        // lines were dropped to fit a height
  std::vector<PangoLayout*> Owned;
  TTextLayout() = default;
  TTextLayout(const TTextLayout&) = delete;
  TTextLayout& operator=(const TTextLayout&) = delete;
  ~TTextLayout();
};

// The font a name, height and style resolve to (see TFont for heights).
std::shared_ptr<const TTextFont> ResolveTextFont(const String& name, Integer height,
                                                 TFontStyles style);

// Lays out text. width: the wrapping and ellipsis width in pixels (-1: none).
// heightLimit (with tmWordBreak): lines whose bottom passes it are dropped,
// keeping at least one; with tmEndEllipsis the last kept line then shows the
// rest of the text cut with an ellipsis. Text is cut at a NUL byte and
// invalid UTF-8 is shown as U+FFFD.
std::shared_ptr<const TTextLayout> LayoutText(const TTextFont& font, std::string_view text,
                                              Cardinal mode, Integer width, Integer heightLimit);

// The line's ink, made on first use and kept with the line.
const TLineInk& LineInk(const TTextLine& line);

// The family a font name maps to.
String MapFontFamily(const String& name);

// Number of cached layouts (for tests of the cache bound).
size_t CachedLayoutCount();

}  // namespace brevant::detail
