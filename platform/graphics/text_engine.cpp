#include "graphics/text_engine.h"

#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <list>
#include <map>
#include <unordered_map>

namespace brevant::detail {

namespace {

// Pixel sizes are kept in a range that renders in bounded time and memory.
constexpr Integer kMinPixelSize = 1;
constexpr Integer kMaxPixelSize = 1024;
// Widths beyond this are treated as this (pango units must not overflow).
constexpr Integer kMaxWidth = 1 << 20;
constexpr size_t kLayoutCacheSize = 4096;

const char* const kDefaultFamily = "DejaVu Sans";

struct TFamilyAlias {
  const char* Name;  // lower case
  const char* Family;
};

constexpr TFamilyAlias kFamilies[] = {
    {"tahoma", "DejaVu Sans"},
    {"ms sans serif", "DejaVu Sans"},
    {"microsoft sans serif", "DejaVu Sans"},
    {"ms shell dlg", "DejaVu Sans"},
    {"ms shell dlg 2", "DejaVu Sans"},
    {"segoe ui", "DejaVu Sans"},
    {"verdana", "DejaVu Sans"},
    {"sans", "DejaVu Sans"},
    {"sans-serif", "DejaVu Sans"},
    {"dejavu sans", "DejaVu Sans"},
    {"dejavu sans condensed", "DejaVu Sans Condensed"},
    {"dejavu sans mono", "DejaVu Sans Mono"},
    {"dejavu serif", "DejaVu Serif"},
    {"arial", "Liberation Sans"},
    {"helvetica", "Liberation Sans"},
    {"liberation sans", "Liberation Sans"},
    {"times new roman", "Liberation Serif"},
    {"times", "Liberation Serif"},
    {"serif", "Liberation Serif"},
    {"liberation serif", "Liberation Serif"},
    {"courier new", "Liberation Mono"},
    {"courier", "Liberation Mono"},
    {"monospace", "Liberation Mono"},
    {"lucida console", "Liberation Mono"},
    {"consolas", "Liberation Mono"},
    {"liberation mono", "Liberation Mono"},
};

String Lower(const String& s) {
  String r;
  size_t b = 0, e = s.size();
  while (b < e && s[b] == ' ') ++b;
  while (e > b && s[e - 1] == ' ') --e;
  r.reserve(e - b);
  for (size_t i = b; i < e; ++i) {
    char c = s[i];
    r += (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
  }
  return r;
}

bool DirExists(const String& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

String XmlEscape(const String& s) {
  String r;
  for (char c : s) {
    switch (c) {
      case '&':
        r += "&amp;";
        break;
      case '<':
        r += "&lt;";
        break;
      case '>':
        r += "&gt;";
        break;
      default:
        r += c;
    }
  }
  return r;
}

String CacheDir() {
  const char* xdg = std::getenv("XDG_CACHE_HOME");
  if (xdg && *xdg == '/') return String(xdg) + "/brevant-fontconfig";
  return "/tmp/brevant-fontconfig-" + std::to_string(getuid());
}

String ConfigXml() {
  String dirs;
  for (const char* d : {"/usr/share/fonts/truetype/dejavu", "/usr/share/fonts/dejavu"})
    if (DirExists(d)) dirs += String("<dir>") + d + "</dir>";
  // Liberation 2 replaces Liberation 1; never mix the two versions.
  if (DirExists("/usr/share/fonts/truetype/liberation2"))
    dirs += "<dir>/usr/share/fonts/truetype/liberation2</dir>";
  else if (DirExists("/usr/share/fonts/truetype/liberation"))
    dirs += "<dir>/usr/share/fonts/truetype/liberation</dir>";
  else if (DirExists("/usr/share/fonts/liberation"))
    dirs += "<dir>/usr/share/fonts/liberation</dir>";
  return "<?xml version=\"1.0\"?><fontconfig>" + dirs + "<cachedir>" + XmlEscape(CacheDir()) +
         "</cachedir>"
         // The math face of DejaVu would otherwise win fallbacks for some symbols.
         "<selectfont><rejectfont><glob>*MathTeXGyre*</glob></rejectfont></selectfont>"
         "<match target=\"pattern\"><edit name=\"dpi\" mode=\"assign\"><double>96</double></edit>"
         "</match>"
         "<match target=\"font\">"
         "<edit name=\"antialias\" mode=\"assign\"><bool>true</bool></edit>"
         "<edit name=\"hinting\" mode=\"assign\"><bool>true</bool></edit>"
         "<edit name=\"hintstyle\" mode=\"assign\"><const>hintslight</const></edit>"
         "<edit name=\"autohint\" mode=\"assign\"><bool>false</bool></edit>"
         "<edit name=\"rgba\" mode=\"assign\"><const>none</const></edit>"
         "<edit name=\"lcdfilter\" mode=\"assign\"><const>lcdnone</const></edit>"
         "<edit name=\"embeddedbitmap\" mode=\"assign\"><bool>false</bool></edit>"
         "</match></fontconfig>";
}

struct TFontKey {
  String Family;
  Integer PixelSize;
  Byte Style;
  friend bool operator<(const TFontKey& a, const TFontKey& b) {
    if (a.Family != b.Family) return a.Family < b.Family;
    if (a.PixelSize != b.PixelSize) return a.PixelSize < b.PixelSize;
    return a.Style < b.Style;
  }
};

// A layout cache key; lookups use a view of the text, stored keys own it.
struct TLayoutKeyView {
  const TTextFont* Font;
  std::string_view Text;
  Cardinal Mode;
  Integer Width;
  Integer HeightLimit;
};

struct TLayoutKey {
  const TTextFont* Font;
  String Text;
  Cardinal Mode;
  Integer Width;
  Integer HeightLimit;
  TLayoutKeyView View() const { return {Font, Text, Mode, Width, HeightLimit}; }
};

struct TLayoutKeyHash {
  using is_transparent = void;
  size_t operator()(const TLayoutKeyView& k) const {
    size_t h = std::hash<std::string_view>()(k.Text);
    h ^= std::hash<const void*>()(k.Font) + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2);
    h ^= (size_t(k.Mode) << 40) ^ (size_t(Cardinal(k.Width)) << 20) ^
         size_t(Cardinal(k.HeightLimit));
    return h;
  }
  size_t operator()(const TLayoutKey& k) const { return (*this)(k.View()); }
};

struct TLayoutKeyEq {
  using is_transparent = void;
  static bool Same(const TLayoutKeyView& a, const TLayoutKeyView& b) {
    return a.Font == b.Font && a.Mode == b.Mode && a.Width == b.Width &&
           a.HeightLimit == b.HeightLimit && a.Text == b.Text;
  }
  bool operator()(const TLayoutKey& a, const TLayoutKey& b) const {
    return Same(a.View(), b.View());
  }
  bool operator()(const TLayoutKeyView& a, const TLayoutKey& b) const { return Same(a, b.View()); }
  bool operator()(const TLayoutKey& a, const TLayoutKeyView& b) const { return Same(a.View(), b); }
};

// Text prepared for pango: valid UTF-8, prefixes resolved.
struct TPreparedText {
  String Text;
  std::vector<std::pair<size_t, size_t>> Underlines;  // byte ranges
};

size_t Utf8SequenceLength(const unsigned char* p, size_t avail) {
  unsigned char c = p[0];
  if (c < 0x80) return 1;
  size_t n;
  Cardinal cp;
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
    cp = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    cp = c & 0x0F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    cp = c & 0x07;
  } else {
    return 0;
  }
  if (avail < n) return 0;
  for (size_t i = 1; i < n; ++i) {
    if ((p[i] & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (p[i] & 0x3F);
  }
  if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
      (cp >= 0xD800 && cp <= 0xDFFF))
    return 0;
  return n;
}

TPreparedText Prepare(std::string_view raw, Cardinal mode) {
  size_t nul = raw.find('\0');
  if (nul != std::string_view::npos) raw = raw.substr(0, nul);
  // Valid UTF-8 first: every byte that starts no valid sequence becomes U+FFFD.
  String valid;
  valid.reserve(raw.size());
  const auto* p = reinterpret_cast<const unsigned char*>(raw.data());
  for (size_t i = 0; i < raw.size();) {
    size_t n = Utf8SequenceLength(p + i, raw.size() - i);
    if (n == 0) {
      valid += "\xEF\xBF\xBD";
      ++i;
    } else {
      valid.append(raw.data() + i, n);
      i += n;
    }
  }
  TPreparedText out;
  if (mode & tmPrefix) {
    out.Text.reserve(valid.size());
    for (size_t i = 0; i < valid.size(); ++i) {
      if (valid[i] != '&') {
        out.Text += valid[i];
        continue;
      }
      if (i + 1 >= valid.size()) break;  // a trailing '&' shows nothing
      if (valid[i + 1] == '&') {
        out.Text += '&';
        ++i;
        continue;
      }
      size_t n = Utf8SequenceLength(reinterpret_cast<const unsigned char*>(valid.data()) + i + 1,
                                    valid.size() - i - 1);
      if (n == 0) n = 1;
      if (!(mode & tmHidePrefix)) out.Underlines.push_back({out.Text.size(), out.Text.size() + n});
      out.Text.append(valid, i + 1, n);
      i += n;
    }
  } else {
    out.Text = std::move(valid);
  }
  if (mode & tmSingleLine)
    for (char& c : out.Text)
      if (c == '\r' || c == '\n') c = ' ';
  return out;
}

class TEngine {
 public:
  TEngine() {
    config_ = FcConfigCreate();
    String xml = ConfigXml();
    FcConfigParseAndLoadFromMemory(config_, reinterpret_cast<const FcChar8*>(xml.c_str()), FcTrue);
    FcConfigBuildFonts(config_);
    fontMap_ = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
    pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(fontMap_), config_);
    pango_cairo_font_map_set_resolution(PANGO_CAIRO_FONT_MAP(fontMap_), 96.0);
    context_ = pango_font_map_create_context(fontMap_);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    cairo_font_options_set_subpixel_order(options, CAIRO_SUBPIXEL_ORDER_DEFAULT);
    pango_cairo_context_set_font_options(context_, options);
    cairo_font_options_destroy(options);
    pango_context_set_round_glyph_positions(context_, TRUE);
    pango_context_set_language(context_, pango_language_from_string("en-us"));
    pango_context_set_base_dir(context_, PANGO_DIRECTION_LTR);
  }

  std::shared_ptr<const TTextFont> Font(const String& name, Integer height, TFontStyles style) {
    String family = MapFontFamily(name);
    Int64 px;
    if (height < 0)
      px = -Int64(height);
    else if (height > 0)
      px = PixelSizeForCell(family, height);
    else
      px = -Int64(DefaultFontHeight);
    if (px < kMinPixelSize) px = kMinPixelSize;
    if (px > kMaxPixelSize) px = kMaxPixelSize;
    TFontKey key{family, Integer(px), static_cast<Byte>(style.Bits() & 0x0F)};
    auto it = fonts_.find(key);
    if (it != fonts_.end()) return it->second;
    auto font = std::make_shared<TTextFont>();
    font->Family = family;
    font->PixelSize = Integer(px);
    font->Underline = style.Contains(fsUnderline);
    font->StrikeOut = style.Contains(fsStrikeOut);
    font->Desc = pango_font_description_new();
    pango_font_description_set_family(font->Desc, family.c_str());
    pango_font_description_set_absolute_size(font->Desc, double(px) * PANGO_SCALE);
    pango_font_description_set_weight(
        font->Desc, style.Contains(fsBold) ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(
        font->Desc, style.Contains(fsItalic) ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    fonts_.emplace(key, font);
    return font;
  }

  std::shared_ptr<const TTextLayout> Layout(const TTextFont& font, std::string_view text,
                                            Cardinal mode, Integer width, Integer heightLimit) {
    if (width > kMaxWidth) width = kMaxWidth;
    if (width < -1) width = 0;
    bool wrap = (mode & tmWordBreak) && !(mode & tmSingleLine);
    if (!wrap) heightLimit = -1;
    if (!wrap && !(mode & tmEndEllipsis)) width = -1;
    if (!wrap) mode &= ~Cardinal(tmEditControl);
    if (heightLimit < -1) heightLimit = 0;
    TLayoutKeyView view{&font, text, mode, width, heightLimit};
    auto it = cache_.find(view);
    if (it != cache_.end()) {
      lru_.splice(lru_.begin(), lru_, it->second.second);
      return it->second.first;
    }
    std::shared_ptr<const TTextLayout> result;
    if (!wrap && (mode & tmEndEllipsis) && width >= 0) {
      // Text that fits needs no ellipsis: share the natural layout.
      auto natural = Layout(font, text, mode & ~Cardinal(tmEndEllipsis), -1, -1);
      if (natural->Width <= width) result = natural;
    }
    if (!result) result = Build(font, text, mode, width, heightLimit);
    if (cache_.size() >= kLayoutCacheSize) {
      cache_.erase(lru_.back());
      lru_.pop_back();
    }
    lru_.push_front(TLayoutKey{&font, String(text), mode, width, heightLimit});
    cache_.emplace(lru_.front(), std::make_pair(result, lru_.begin()));
    return result;
  }

  size_t CacheCount() const { return cache_.size(); }

 private:
  // The largest pixel size whose cell (ascent + descent, as hinted) fits
  // the height; at least 1.
  Int64 PixelSizeForCell(const String& family, Integer height) {
    auto key = std::make_pair(family, height);
    auto it = cellSizes_.find(key);
    if (it != cellSizes_.end()) return it->second;
    Int64 px = std::llround(double(height) * 1000.0 / CellAt1000(family));
    px = Min<Int64>(Max<Int64>(px, kMinPixelSize), kMaxPixelSize);
    while (px > kMinPixelSize && CellHeight(family, Integer(px)) > height) --px;
    cellSizes_[key] = px;
    return px;
  }

  Integer CellHeight(const String& family, Integer px) {
    PangoFontDescription* d = pango_font_description_new();
    pango_font_description_set_family(d, family.c_str());
    pango_font_description_set_absolute_size(d, double(px) * PANGO_SCALE);
    PangoFontMetrics* m = pango_context_get_metrics(context_, d, nullptr);
    Integer cell = PANGO_PIXELS(pango_font_metrics_get_ascent(m)) +
                   PANGO_PIXELS(pango_font_metrics_get_descent(m));
    pango_font_metrics_unref(m);
    pango_font_description_free(d);
    return cell;
  }

  // Cell height (ascent + descent) of a family at 1000 pixels.
  double CellAt1000(const String& family) {
    auto it = cells_.find(family);
    if (it != cells_.end()) return it->second;
    PangoFontDescription* d = pango_font_description_new();
    pango_font_description_set_family(d, family.c_str());
    pango_font_description_set_absolute_size(d, 1000.0 * PANGO_SCALE);
    PangoFontMetrics* m = pango_context_get_metrics(context_, d, nullptr);
    double cell =
        double(pango_font_metrics_get_ascent(m) + pango_font_metrics_get_descent(m)) / PANGO_SCALE;
    pango_font_metrics_unref(m);
    pango_font_description_free(d);
    if (!(cell > 1.0)) cell = 1000.0;
    cells_[family] = cell;
    return cell;
  }

  PangoLayout* NewLayout(const TTextFont& font, const TPreparedText& text, size_t from) {
    PangoLayout* layout = pango_layout_new(context_);
    pango_layout_set_font_description(layout, font.Desc);
    pango_layout_set_text(layout, text.Text.data() + from, int(text.Text.size() - from));
    PangoAttrList* attrs = pango_attr_list_new();
    if (font.Underline)
      pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    if (font.StrikeOut) pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
    for (auto [b, e] : text.Underlines) {
      if (e <= from) continue;
      PangoAttribute* a = pango_attr_underline_new(PANGO_UNDERLINE_SINGLE);
      a->start_index = guint(b < from ? 0 : b - from);
      a->end_index = guint(e - from);
      pango_attr_list_insert(attrs, a);
    }
    pango_layout_set_attributes(layout, attrs);
    pango_attr_list_unref(attrs);
    return layout;
  }

  static void CollectLines(PangoLayout* layout, std::vector<TTextLine>& out) {
    PangoLayoutIter* iter = pango_layout_get_iter(layout);
    do {
      PangoRectangle logical;
      pango_layout_iter_get_line_extents(iter, nullptr, &logical);
      PangoLayoutLine* line = pango_layout_iter_get_line_readonly(iter);
      PangoRectangle lineLogical;
      pango_layout_line_get_pixel_extents(line, nullptr, &lineLogical);
      TTextLine l;
      l.Line = line;
      l.Top = PANGO_PIXELS(logical.y);
      l.Height = PANGO_PIXELS(logical.y + logical.height) - l.Top;
      l.Baseline = PANGO_PIXELS(pango_layout_iter_get_baseline(iter));
      l.Width = lineLogical.width;
      l.OffsetX = lineLogical.x;
      out.push_back(l);
    } while (pango_layout_iter_next_line(iter));
    pango_layout_iter_free(iter);
  }

  std::shared_ptr<const TTextLayout> Build(const TTextFont& font, std::string_view raw,
                                           Cardinal mode, Integer width, Integer heightLimit) {
    TPreparedText text = Prepare(raw, mode);
    auto result = std::make_shared<TTextLayout>();
    PangoLayout* layout = NewLayout(font, text, 0);
    result->Owned.push_back(layout);
    bool wrap = (mode & tmWordBreak) && !(mode & tmSingleLine);
    if (mode & tmSingleLine) pango_layout_set_single_paragraph_mode(layout, TRUE);
    if (wrap) {
      pango_layout_set_width(layout, width * PANGO_SCALE);
      pango_layout_set_wrap(layout,
                            (mode & tmEditControl) ? PANGO_WRAP_WORD_CHAR : PANGO_WRAP_WORD);
    } else if ((mode & tmEndEllipsis) && width >= 0) {
      pango_layout_set_width(layout, width * PANGO_SCALE);
      pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
    }
    CollectLines(layout, result->Lines);
    if (wrap && heightLimit >= 0) {
      size_t keep = 1;
      while (keep < result->Lines.size() &&
             result->Lines[keep].Top + result->Lines[keep].Height <= heightLimit)
        ++keep;
      if (keep < result->Lines.size()) {
        result->Truncated = true;
        const TTextLine last = result->Lines[keep - 1];
        result->Lines.resize(keep);
        if (mode & tmEndEllipsis) {
          // The last kept line shows the rest of the text on one line, cut
          // with an ellipsis.
          size_t from = size_t(pango_layout_line_get_start_index(last.Line));
          TPreparedText rest = text;
          for (size_t i = from; i < rest.Text.size(); ++i)
            if (rest.Text[i] == '\r' || rest.Text[i] == '\n') rest.Text[i] = ' ';
          PangoLayout* tail = NewLayout(font, rest, from);
          result->Owned.push_back(tail);
          pango_layout_set_single_paragraph_mode(tail, TRUE);
          pango_layout_set_width(tail, width * PANGO_SCALE);
          pango_layout_set_ellipsize(tail, PANGO_ELLIPSIZE_END);
          std::vector<TTextLine> tailLines;
          CollectLines(tail, tailLines);
          TTextLine repl = tailLines.front();
          repl.Baseline += last.Top - repl.Top;
          repl.Top = last.Top;
          result->Lines.back() = repl;
        }
      }
    }
    for (const TTextLine& l : result->Lines) result->Width = Max(result->Width, l.Width);
    const TTextLine& lastLine = result->Lines.back();
    result->Height = lastLine.Top + lastLine.Height;
    return result;
  }

  FcConfig* config_ = nullptr;
  PangoFontMap* fontMap_ = nullptr;
  PangoContext* context_ = nullptr;
  std::map<TFontKey, std::shared_ptr<TTextFont>> fonts_;
  std::map<String, double> cells_;
  std::map<std::pair<String, Integer>, Int64> cellSizes_;
  using TLru = std::list<TLayoutKey>;
  TLru lru_;
  std::unordered_map<TLayoutKey, std::pair<std::shared_ptr<const TTextLayout>, TLru::iterator>,
                     TLayoutKeyHash, TLayoutKeyEq>
      cache_;
};

// The engine lives for the whole process (pango and fontconfig objects are
// not torn down at exit).
TEngine& Engine() {
  static TEngine* engine = new TEngine();
  return *engine;
}

}  // namespace

TTextFont::~TTextFont() {
  if (Desc) pango_font_description_free(Desc);
}

TTextLayout::~TTextLayout() {
  for (PangoLayout* l : Owned) g_object_unref(l);
}

namespace {

// The coverage of one run's glyphs at their places from the run's pen
// origin, rasterised once by cairo with its own glyph images: the glyphs are
// added into an 8-bit mask, which is what cairo composites through when the
// glyphs overlap, and equal to compositing them one by one when they do not.
bool RasteriseRun(cairo_scaled_font_t* font, std::vector<cairo_glyph_t>& glyphs, TRunInk& out) {
  cairo_text_extents_t ext;
  cairo_scaled_font_glyph_extents(font, glyphs.data(), int(glyphs.size()), &ext);
  // The bearings count from the first glyph's place.
  ext.x_bearing += glyphs.front().x;
  ext.y_bearing += glyphs.front().y;
  // A margin for the antialiased fringe beyond the outlines' extents.
  constexpr Integer kMargin = 3;
  const Integer left = Integer(std::floor(ext.x_bearing)) - kMargin;
  const Integer top = Integer(std::floor(ext.y_bearing)) - kMargin;
  const Integer width = Integer(std::ceil(ext.x_bearing + ext.width)) + kMargin - left;
  const Integer height = Integer(std::ceil(ext.y_bearing + ext.height)) + kMargin - top;
  if (width <= 0 || height <= 0 || width > 1 << 14 || height > 1 << 12) return false;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, width, height);
  cairo_t* cr = cairo_create(surface);
  for (cairo_glyph_t& g : glyphs) {
    g.x -= left;
    g.y -= top;
  }
  cairo_set_scaled_font(cr, font);
  cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
  cairo_set_source_rgba(cr, 0, 0, 0, 1);
  cairo_show_glyphs(cr, glyphs.data(), int(glyphs.size()));
  cairo_surface_flush(surface);
  const bool drawn = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
  const unsigned char* data = cairo_image_surface_get_data(surface);
  const Integer stride = cairo_image_surface_get_stride(surface);
  // The mask keeps only the inked box.
  Integer inkLeft = width, inkRight = 0, inkTop = height, inkBottom = 0;
  bool edgeInked = false;
  for (Integer y = 0; drawn && y < height; ++y) {
    const unsigned char* row = data + size_t(y) * size_t(stride);
    for (Integer x = 0; x < width; ++x) {
      if (!row[x]) continue;
      inkLeft = std::min(inkLeft, x);
      inkRight = std::max(inkRight, x + 1);
      inkTop = std::min(inkTop, y);
      inkBottom = y + 1;
    }
  }
  const bool inked = inkLeft < inkRight;
  if (inked) {
    edgeInked = inkLeft == 0 || inkTop == 0 || inkRight == width || inkBottom == height;
    out.Left = left + inkLeft;
    out.Top = top + inkTop;
    out.Width = inkRight - inkLeft;
    out.Height = inkBottom - inkTop;
    out.Coverage.resize(size_t(out.Width) * size_t(out.Height));
    for (Integer y = inkTop; y < inkBottom; ++y)
      std::copy_n(data + size_t(y) * size_t(stride) + inkLeft, out.Width,
                  out.Coverage.begin() + std::ptrdiff_t(y - inkTop) * out.Width);
  }
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  // Ink touching the mask's edge may have been cut, and a run with extents
  // but no ink was drawn elsewhere: leave such a line to the renderer.
  return drawn && !edgeInked && inked == (ext.width > 0 && ext.height > 0);
}

// Whether a run's attributes leave its drawing to its glyphs alone: those
// that only decide the shaping do; colours, lines, rises and shapes drawn
// by the renderer do not.
bool InkNeedsNoAttribute(GSList* attributes) {
  for (GSList* a = attributes; a; a = a->next) {
    switch (static_cast<const PangoAttribute*>(a->data)->klass->type) {
      case PANGO_ATTR_SHOW:
      case PANGO_ATTR_LANGUAGE:
      case PANGO_ATTR_FALLBACK:
      case PANGO_ATTR_FONT_FEATURES:
      case PANGO_ATTR_ALLOW_BREAKS:
      case PANGO_ATTR_INSERT_HYPHENS:
        break;
      default:
        return false;
    }
  }
  return true;
}

// Walks the line's runs as the layout renderer does (pen positions in
// layout units, each run after the previous run's width).
std::shared_ptr<const TLineInk> BuildLineInk(PangoLayoutLine* line) {
  auto ink = std::make_shared<TLineInk>();
  Int64 runX = 0;
  std::vector<cairo_glyph_t> glyphs;
  for (GSList* l = line ? line->runs : nullptr; l; l = l->next) {
    const auto* run = static_cast<const PangoGlyphItem*>(l->data);
    if (!InkNeedsNoAttribute(run->item->analysis.extra_attrs) || run->y_offset ||
        run->start_x_offset || run->end_x_offset || !PANGO_IS_CAIRO_FONT(run->item->analysis.font))
      return ink;
    cairo_scaled_font_t* font =
        pango_cairo_font_get_scaled_font(PANGO_CAIRO_FONT(run->item->analysis.font));
    if (!font || cairo_scaled_font_status(font) != CAIRO_STATUS_SUCCESS) return ink;
    const PangoGlyphString* string = run->glyphs;
    glyphs.clear();
    Int64 x = runX;
    for (int i = 0; i < string->num_glyphs; ++i) {
      const PangoGlyphInfo& g = string->glyphs[i];
      if (g.glyph != PANGO_GLYPH_EMPTY) {
        if (g.glyph & PANGO_GLYPH_UNKNOWN_FLAG) return ink;
        glyphs.push_back({g.glyph, double(x + g.geometry.x_offset) / PANGO_SCALE,
                          double(g.geometry.y_offset) / PANGO_SCALE});
      }
      x += g.geometry.width;
    }
    runX += pango_glyph_string_get_width(run->glyphs);
    if (glyphs.empty()) continue;
    TRunInk runInk;
    if (!RasteriseRun(font, glyphs, runInk)) return ink;
    ink->Runs.push_back(std::move(runInk));
  }
  ink->Usable = true;
  return ink;
}

}  // namespace

const TLineInk& LineInk(const TTextLine& line) {
  if (!line.Ink) line.Ink = BuildLineInk(line.Line);
  return *line.Ink;
}

String MapFontFamily(const String& name) {
  String key = Lower(name);
  for (const auto& a : kFamilies)
    if (key == a.Name) return a.Family;
  return kDefaultFamily;
}

std::shared_ptr<const TTextFont> ResolveTextFont(const String& name, Integer height,
                                                 TFontStyles style) {
  return Engine().Font(name, height, style);
}

std::shared_ptr<const TTextLayout> LayoutText(const TTextFont& font, std::string_view text,
                                              Cardinal mode, Integer width, Integer heightLimit) {
  return Engine().Layout(font, text, mode, width, heightLimit);
}

size_t CachedLayoutCount() {
  return Engine().CacheCount();
}

}  // namespace brevant::detail

#if defined(__SANITIZE_ADDRESS__)
#define BV_LEAK_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define BV_LEAK_CHECKED 1
#endif
#endif

#ifdef BV_LEAK_CHECKED
// fontconfig keeps the parts of its patterns as offsets from the pattern,
// not as pointers, so the leak checker cannot see that the patterns pango's
// font map caches (alive for the whole process) still own them. Weak, so a
// binary that states its own suppressions keeps them.
extern "C" __attribute__((weak)) const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
#endif
