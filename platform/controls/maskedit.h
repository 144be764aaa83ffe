// The edit with an edit mask.
//
// EditMask is "mask;save-literals;blank-char". Mask characters:
//   0 digit, required          9 digit, optional
//   # digit, + or -, optional  L letter, required    l letter, optional
//   A letter or digit, req.    a letter or digit, optional
//   C any character, required  c any character, optional
//   > upper case from here     < lower case from here   <> no case change
//   ! optional characters left blank are leading (Text trims leading
//     blanks) rather than trailing (Text trims trailing blanks)
//   \ the next character is a literal; every other character is a literal.
// save-literals "0" leaves literals out of Text (default "1"); blank-char
// stands for an empty position in EditText (default '_').
//
// EditText is what the edit shows: every position, blanks included. Text is
// the saved form: literals per the second field, empty positions as
// spaces (a blank character that the position itself accepts, such as '0'
// for '9', stays). TControl::Text() answers EditText.
//
// Typing overwrites the position at or after the caret and skips literals;
// typing a literal's character jumps past it; a character the position does
// not take is refused with a beep and the text stays as it was. A paste is
// typed character by character and refused whole when any character does
// not fit. Backspace, Delete, cut and clear empty positions, never moving
// literals. IsValidText answers whether every required position is filled
// with a fitting character; ValidateEdit raises EDBEditError.
#pragma once

#include <string>
#include <vector>

#include "controls/edits.h"
#include "rtl/exceptions.h"

namespace brevant {

BV_DECLARE_EXCEPTION(EDBEditError, Exception);

class TCustomMaskEdit : public TCustomEdit {
  BV_CLASS(TCustomMaskEdit, TCustomEdit)
 public:
  explicit TCustomMaskEdit(TComponent* owner);

  const String& EditMask() const { return editMask_; }
  // Reformats the present text for the new mask.
  void SetEditMask(const String& value);
  bool IsMasked() const { return !positions_.empty(); }
  // The blank character and whether Text keeps literals.
  char32_t MaskBlank() const { return blank_; }
  bool SaveLiterals() const { return saveLiterals_; }

  // The saved text (see above); without a mask, the edit's text.
  String Text() const;
  // Places the characters of a saved text into the mask's positions.
  void SetText(const String& value);
  String EditText() const { return TCustomEdit::Text(); }
  // Takes the text as shown, padded or cut to the mask.
  void SetEditText(const String& value);

  // Every required position filled and every character fitting its
  // position. Never raises.
  bool IsValidText() const;
  bool ValidateEditText() const { return IsValidText(); }
  // Raises EDBEditError quoting the text, with the caret at the first
  // position at fault, when the text is not valid.
  virtual void ValidateEdit();
  // Whether leaving the control runs ValidateEdit (default true).
  bool ValidateOnExit() const { return validateOnExit_; }
  void SetValidateOnExit(bool value) { validateOnExit_ = value; }

 protected:
  void KeyDown(Word& key, TShiftState shift) override;
  void KeyPress(char32_t& key) override;
  void WMCut(TMessage& message) override;
  void WMPaste(TMessage& message) override;
  void WMClear(TMessage& message) override;
  void CMExit(TMessage& message) override;

 private:
  enum TCaseMode : Byte { cmNone, cmUpper, cmLower };
  struct TMaskPos {
    char32_t Kind = 0;  // mask character; 0 for a literal
    char32_t Literal = 0;
    TCaseMode Case = cmNone;
  };
  void ParseMask(const String& mask);
  bool Fits(char32_t c, const TMaskPos& p) const;
  char32_t Convert(char32_t c, const TMaskPos& p) const;
  bool Required(const TMaskPos& p) const;
  bool Filled(char32_t c, const TMaskPos& p) const;
  Integer NextEditable(Integer pos) const;
  Integer PrevEditable(Integer pos) const;
  std::u32string Blanked(Integer from, Integer to) const;
  std::u32string FillFrom(const std::u32string& chars, bool withLiterals) const;
  // Types c into buffer at pos; answers the new caret or -1 when refused.
  Integer TypeInto(std::u32string& buffer, Integer pos, char32_t c) const;
  void BlankSelection();
  void SetBufferText(const std::u32string& text);

  String editMask_;
  std::vector<TMaskPos> positions_;
  bool saveLiterals_ = true;
  char32_t blank_ = U'_';
  bool leadingBlanks_ = false;
  bool validateOnExit_ = true;
};

class TMaskEdit : public TCustomMaskEdit {
  BV_CLASS(TMaskEdit, TCustomMaskEdit)
 public:
  using TCustomMaskEdit::TCustomMaskEdit;
};

}  // namespace brevant
