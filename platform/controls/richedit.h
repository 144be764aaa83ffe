// TRichEdit: a memo whose characters carry their own font name, size,
// style and colour.
//
// In PlainText mode every character has the default attributes
// (DefAttributes, which start from Font) and the control behaves as a
// memo. In formatted mode (PlainText false, the default) each character
// keeps its format: SelAttributes reads the format at the selection (the
// character before the caret when nothing is selected) and writing it
// formats the selection, or, with nothing selected, the text typed next at
// the caret. New text takes the format of the character before it. Undo
// restores formats with the text. Lines with larger fonts are taller;
// smaller runs sit on the line's bottom.
//
// Streams hold plain UTF-8 text (LoadFromStream / SaveToStream, or Lines);
// loading gives the text the default attributes.
#pragma once

#include <vector>

#include "controls/edits.h"
#include "graphics/font.h"

namespace brevant {

class TRichEdit;
class TStream;

// One character format.
struct TCharFormat {
  String Name;
  Integer Size = 0;  // points
  TFontStyles Style;
  TColor Color = clWindowText;
  friend bool operator==(const TCharFormat&, const TCharFormat&) = default;
};

enum TAttributeType : Byte { atDefaultText, atSelected };

class TTextAttributes : public TPersistent {
  BV_CLASS(TTextAttributes, TPersistent)
 public:
  explicit TTextAttributes(TRichEdit* owner = nullptr, TAttributeType type = atDefaultText)
      : owner_(owner), type_(type) {}
  // Takes a TFont's or another TTextAttributes' name, size, style and colour.
  void Assign(const TPersistent* source) override;

  String Name() const { return Get().Name; }
  void SetName(const String& value);
  Integer Size() const { return Get().Size; }
  void SetSize(Integer value);
  TFontStyles Style() const { return Get().Style; }
  void SetStyle(TFontStyles value);
  TColor Color() const { return Get().Color; }
  void SetColor(TColor value);

 private:
  TCharFormat Get() const;
  void Set(const TCharFormat& value);
  TRichEdit* owner_;
  TAttributeType type_;
};

class TRichEdit : public TCustomMemo {
  BV_CLASS(TRichEdit, TCustomMemo)
 public:
  explicit TRichEdit(TComponent* owner);
  ~TRichEdit() override;

  bool PlainText() const { return plainText_; }
  // Switching to plain text drops the formats.
  void SetPlainText(bool value);
  TTextAttributes* DefAttributes() const { return defAttributes_; }
  void SetDefAttributes(TTextAttributes* value) { defAttributes_->Assign(value); }
  TTextAttributes* SelAttributes() const { return selAttributes_; }
  void SetSelAttributes(TTextAttributes* value) { selAttributes_->Assign(value); }
  // The format of the character at pos.
  TCharFormat CharFormat(Integer pos) const;

  // Plain UTF-8 text from the stream's position to its end / to the stream.
  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream) const;

  TNotifyEvent OnSelectionChange;

 protected:
  void SelectionChanged() override;
  void CMFontChanged(TMessage& message) override;
  Integer RangeWidth(Integer from, Integer to) override;
  Integer LineHeightOf(Integer from, Integer to) override;
  void DrawLine(TCanvas* canvas, const TVisLine& line, Integer x, Integer y, TColor color) override;
  Word InsertAttr(Integer pos) const override;

 private:
  friend class TTextAttributes;
  TCharFormat DefaultFormat() const { return formats_[0]; }
  void SetDefaultFormat(const TCharFormat& f);
  TCharFormat SelectedFormat() const;
  void SetSelectedFormat(const TCharFormat& f);
  Word Intern(const TCharFormat& f);
  Word FormatAt(Integer pos) const;
  void ApplyFont(TCanvas* canvas, Word format, TColor color) const;
  void FormatsChanged();

  bool plainText_ = false;
  std::vector<TCharFormat> formats_;  // [0]: the default
  Integer pending_ = -1;              // format for the text typed next, or -1
  bool keepPending_ = false;
  TTextAttributes* defAttributes_ = nullptr;
  TTextAttributes* selAttributes_ = nullptr;
};

}  // namespace brevant
