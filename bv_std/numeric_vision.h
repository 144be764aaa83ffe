// TNumericVision: numbers shown with display and edit formats, typed text
// checked against optional limits, spin steps that stay inside them, and a
// calculator (or a custom tool form) as drop-down.
#pragma once

#include "bv_std/tool_form_vision.h"

namespace brevant {

// Which tool form drops down: the DropDown one or the default pack's
// calculator.
enum TvfNumericDropDownKind : Byte { ndkCustom, ndkCalculator };
BV_DECLARE_ENUM_INFO(TvfNumericDropDownKind)

// A number for consumers without a main field.
using TfvGetExtValueEvent =
    TEvent<void(TObject* Sender, TtlFieldList* Fields, Extended& Value, bool& IsNull)>;

class TNumericVision : public TToolFormVision {
  BV_CLASS(TNumericVision, TToolFormVision)
 public:
  explicit TNumericVision(TComponent* owner = nullptr);

  void GetText(TtlFieldList* fields, bool displayText, String& text) override;
  void CheckFields(TtlFieldList* fields, bool& active) override;
  // The number in the display format, never the field's own text.
  void ValueToText(TtlFieldList* fields, const TznUniValue& value, String& text) override;
  void ReadEditValue(IznVisionEditor* editor, TznUniValue& value, bool& skip) override;
  void LoadCurrentValue(IznVisionEditor* editor) override;
  // The base, then a spin step with pbsSpin.
  void ButtonClick(IznVisionEditor* editor) override;
  TAlignment GetAlignment(TtlFieldList* fields) override;
  // The edit text.
  void GetSearchText(TtlFieldList* fields, String& text) override;
  // ndkCalculator: the default pack's calculator, whatever DropDown holds.
  TVisionToolForm* GetDropDown() override;
  // A tool form other than the current one makes the kind ndkCustom.
  void SetDropDown(TVisionToolForm* value) override;

  const String& DisplayFormat() const { return displayFormat_; }
  void SetDisplayFormat(const String& value);
  const String& EditFormat() const { return editFormat_; }
  void SetEditFormat(const String& value) { editFormat_ = value; }
  bool Nullable() const { return nullable_; }
  void SetNullable(bool value) { nullable_ = value; }
  // When either is not 0 both apply.
  Extended MinValue() const { return minValue_; }
  void SetMinValue(Extended value) { minValue_ = value; }
  Extended MaxValue() const { return maxValue_; }
  void SetMaxValue(Extended value) { maxValue_ = value; }
  bool HasLimits() const { return minValue_ != 0 || maxValue_ != 0; }
  Extended Step() const { return step_; }
  void SetStep(Extended value) { step_ = value; }
  TvfNumericDropDownKind DropDownKind() const { return dropDownKind_; }
  void SetDropDownKind(TvfNumericDropDownKind value) { dropDownKind_ = value; }

  bool IsMinValueStored() const { return minValue_ != 0; }
  bool IsMaxValueStored() const { return maxValue_ != 0; }
  bool IsStepStored() const { return step_ != 1; }

  // value as text: the display or edit format chosen for fields, else the
  // field type's own form (currency or general at the field's precision).
  String NumberText(TtlFieldList* fields, Extended value, bool displayText) const;

  TfvGetExtValueEvent OnGetValue;

 private:
  // The format for fields: the field list's, else the vision's.
  const String& FormatFor(TtlFieldList* fields, bool displayText) const;
  // The value to show: false when it is null.
  bool ValueOf(TtlFieldList* fields, Extended& value);
  // One spin step; the text changes only when the number does.
  void Spin(IznVisionEditor* editor, bool up);

  String displayFormat_;                                 // display format
  String editFormat_;                                    // edit format
  bool nullable_ = true;                                 // blank text posts null
  Extended minValue_ = 0;                                // lower limit
  Extended maxValue_ = 0;                                // upper limit
  Extended step_ = 1;                                    // spin step
  TvfNumericDropDownKind dropDownKind_ = ndkCalculator;  // tool form source
};

void RegisterNumericVisionClasses();

}  // namespace brevant
