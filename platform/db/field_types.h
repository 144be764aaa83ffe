// The field classes, one per family of data types. TFieldDef::FieldClass
// picks them: ftString/ftFixedChar TStringField, ftGuid TGuidField,
// ftWideString TWideStringField, ftSmallint/ftInteger/ftWord/ftAutoInc the
// integer fields, ftLargeint TLargeintField, ftFloat TFloatField, ftCurrency
// TCurrencyField, ftBCD TBCDField, ftFMTBcd TFMTBCDField, ftBoolean
// TBooleanField, ftDate/ftTime/ftDateTime the date-time fields, ftTimeStamp
// TSQLTimeStampField, ftBytes/ftVarBytes the binary fields, ftMemo/ftFmtMemo/
// ftOraClob TMemoField, ftGraphic TGraphicField, the other blob types
// TBlobField, ftVariant TVariantField. ftUnknown makes no field; ftCursor,
// ftADT, ftArray, ftReference, ftDataSet, ftInterface and ftIDispatch have no
// field class.
#pragma once

#include "db/field.h"

namespace brevant {

// ---- text --------------------------------------------------------------------

class TStringField : public TField {
  BV_CLASS(TStringField, TField)
 public:
  explicit TStringField(TComponent* owner = nullptr);
  // Size counts characters; each takes up to 4 bytes of UTF-8.
  Integer DataSize() const override { return Size() * 4 + 1; }
  // ftFixedChar instead of ftString.
  bool FixedChar() const { return DataType() == ftFixedChar; }
  void SetFixedChar(bool value);
  String AsString() const override;
  // A text of more than Size characters raises SFieldValueTooLong.
  void SetAsString(const String& value) override;
  WideString AsWideString() const override;
  void SetAsWideString(const WideString& value) override;
  Integer AsInteger() const override;
  void SetAsInteger(Integer value) override;
  Int64 AsLargeInt() const override;
  void SetAsLargeInt(Int64 value) override;
  double AsFloat() const override;
  void SetAsFloat(double value) override;
  // "True"/"T"/"Yes"/"Y"/"1" and "False"/"F"/"No"/"N"/"0"/"" (any case);
  // other texts raise SInvalidBoolean. Writes "True"/"False" ("T"/"F"
  // when Size is below 5).
  bool AsBoolean() const override;
  void SetAsBoolean(bool value) override;
  TDateTime AsDateTime() const override;
  void SetAsDateTime(TDateTime value) override;
  Currency AsCurrency() const override;
  void SetAsCurrency(Currency value) override;
  TBcd AsBCD() const override;
  void SetAsBCD(const TBcd& value) override;
  TSQLTimeStamp AsSQLTimeStamp() const override;
  void SetAsSQLTimeStamp(const TSQLTimeStamp& value) override;

 protected:
  Integer DefaultWidth() const override { return Size(); }
  void CheckSize(Integer value) const override;
  Variant GetAsVariant() const override;
  void SetVarValue(const Variant& value) override;
  // Reads the value; False for null.
  bool GetValue(String& value) const;
};

class TGuidField : public TStringField {
  BV_CLASS(TGuidField, TStringField)
 public:
  explicit TGuidField(TComponent* owner = nullptr);

 protected:
  void CheckSize(Integer value) const override;
};

class TWideStringField : public TField {
  BV_CLASS(TWideStringField, TField)
 public:
  explicit TWideStringField(TComponent* owner = nullptr);
  // Size counts bytes (two per UTF-16 code unit).
  Integer DataSize() const override { return Size() + 2; }
  String AsString() const override;
  void SetAsString(const String& value) override;
  WideString AsWideString() const override;
  // A text of more than Size / 2 code units raises SFieldValueTooLong.
  void SetAsWideString(const WideString& value) override;

 protected:
  Integer DefaultWidth() const override { return Size() / 2; }
  void CheckSize(Integer value) const override;
  Variant GetAsVariant() const override;
  void SetVarValue(const Variant& value) override;
};

// ---- numbers -------------------------------------------------------------------

// Right-aligned; DisplayFormat/EditFormat are FormatFloat formats.
class TNumericField : public TField {
  BV_CLASS(TNumericField, TField)
 public:
  explicit TNumericField(TComponent* owner = nullptr);
  const String& DisplayFormat() const { return displayFormat_; }
  void SetDisplayFormat(const String& value);
  const String& EditFormat() const { return editFormat_; }
  void SetEditFormat(const String& value);
  // Digits, '+', '-', the decimal separator, 'E' and 'e' (integer fields:
  // digits and signs only).
  bool IsValidChar(char32_t ch) const override;

 protected:
  String displayFormat_;
  String editFormat_;
};

class TIntegerField : public TNumericField {
  BV_CLASS(TIntegerField, TNumericField)
 public:
  explicit TIntegerField(TComponent* owner = nullptr);
  Integer DataSize() const override;
  // A range other than 0..0 restricts the values written.
  Integer MinValue() const { return minValue_; }
  void SetMinValue(Integer value) { minValue_ = value; }
  Integer MaxValue() const { return maxValue_; }
  void SetMaxValue(Integer value) { maxValue_ = value; }
  String AsString() const override;
  // Empty text clears the field; other text goes through StrToInt.
  void SetAsString(const String& value) override;
  Integer AsInteger() const override;
  // Values outside the type's or the field's range raise SFieldRangeError.
  void SetAsInteger(Integer value) override;
  Int64 AsLargeInt() const override;
  void SetAsLargeInt(Int64 value) override;
  double AsFloat() const override;
  // Rounds half to even.
  void SetAsFloat(double value) override;
  Currency AsCurrency() const override;
  void SetAsCurrency(Currency value) override;
  TBcd AsBCD() const override;
  void SetAsBCD(const TBcd& value) override;
  bool IsValidChar(char32_t ch) const override;

 protected:
  Integer DefaultWidth() const override;
  void GetText(String& text, bool displayText) const override;
  Variant GetAsVariant() const override;
  void SetVarValue(const Variant& value) override;
  bool GetValue(Integer& value) const;
  void CheckRange(Int64 value) const;

 private:
  Integer minValue_ = 0;
  Integer maxValue_ = 0;
};

class TSmallintField : public TIntegerField {
  BV_CLASS(TSmallintField, TIntegerField)
 public:
  explicit TSmallintField(TComponent* owner = nullptr);
};

class TWordField : public TIntegerField {
  BV_CLASS(TWordField, TIntegerField)
 public:
  explicit TWordField(TComponent* owner = nullptr);
};

// The in-memory dataset fills a null auto-increment field when posting a
// new record.
class TAutoIncField : public TIntegerField {
  BV_CLASS(TAutoIncField, TIntegerField)
 public:
  explicit TAutoIncField(TComponent* owner = nullptr);
};

class TLargeintField : public TNumericField {
  BV_CLASS(TLargeintField, TNumericField)
 public:
  explicit TLargeintField(TComponent* owner = nullptr);
  Integer DataSize() const override { return 8; }
  String AsString() const override;
  void SetAsString(const String& value) override;
  // Values outside the 32-bit range raise SFieldRangeError.
  Integer AsInteger() const override;
  void SetAsInteger(Integer value) override;
  Int64 AsLargeInt() const override;
  void SetAsLargeInt(Int64 value) override;
  double AsFloat() const override;
  void SetAsFloat(double value) override;
  Currency AsCurrency() const override;
  void SetAsCurrency(Currency value) override;
  TBcd AsBCD() const override;
  void SetAsBCD(const TBcd& value) override;
  bool IsValidChar(char32_t ch) const override;

 protected:
  Integer DefaultWidth() const override { return 15; }
  void GetText(String& text, bool displayText) const override;
  Variant GetAsVariant() const override;
  void SetVarValue(const Variant& value) override;
  bool GetValue(Int64& value) const;
};

class TFloatField : public TNumericField {
  BV_CLASS(TFloatField, TNumericField)
 public:
  explicit TFloatField(TComponent* owner = nullptr);
  Integer DataSize() const override { return 8; }
  // Shown as money: display text in the currency format, edit text with
  // the currency decimals.
  bool IsCurrency() const { return currency_; }
  void SetCurrency(bool value);
  // Significant digits of the general text form (default 15).
  Integer Precision() const { return precision_; }
  void SetPrecision(Integer value);
  // A range other than 0..0 restricts the values written.
  double MinValue() const { return minValue_; }
  void SetMinValue(double value) { minValue_ = value; }
  double MaxValue() const { return maxValue_; }
  void SetMaxValue(double value) { maxValue_ = value; }
  String AsString() const override;
  // Empty text clears the field; other text goes through StrToFloat.
  void SetAsString(const String& value) override;
  // Rounds half to even; outside the 32-bit range raises SFieldRangeError.
  Integer AsInteger() const override;
  void SetAsInteger(Integer value) override;
  Int64 AsLargeInt() const override;
  void SetAsLargeInt(Int64 value) override;
  double AsFloat() const override;
  // NaN and infinities raise SFieldValueError; the range as above.
  void SetAsFloat(double value) override;
  Currency AsCurrency() const override;
  void SetAsCurrency(Currency value) override;
  TBcd AsBCD() const override;
  void SetAsBCD(const TBcd& value) override;

 protected:
  void GetText(String& text, bool displayText) const override;
  Variant GetAsVariant() const override;
  void SetVarValue(const Variant& value) override;
  bool GetValue(double& value) const;

 private:
  bool currency_ = false;
  Integer precision_ = 15;
  double minValue_ = 0;
  double maxValue_ = 0;
};

class TCurrencyField : public TFloatField {
  BV_CLASS(TCurrencyField, TFloatField)
 public:
  explicit TCurrencyField(TComponent* owner = nullptr);
};

// A decimal with up to four decimals held as a currency; Size is the number
// of decimals kept (0..4), Precision the total digits (1..19; 0 for any).
class TBCDField : public TNumericField {
  BV_CLASS(TBCDField, TNumericField)
 public:
  explicit TBCDField(TComponent* owner = nullptr);
  Integer DataSize() const override { return static_cast<Integer>(sizeof(TBcd)); }
  bool IsCurrency() const { return currency_; }
  void SetCurrency(bool value);
  Integer Precision() const { return precision_; }
  void SetPrecision(Integer value);
  String AsString() const override;
  void SetAsString(const String& value) override;
  Integer AsInteger() const override;
  void SetAsInteger(Integer value) override;
  Int64 AsLargeInt() const override;
  void SetAsLargeInt(Int64 value) override;
  double AsFloat() const override;
  void SetAsFloat(double value) override;
  Currency AsCurrency() const override;
  // Rounds to Size decimals (half to even); too many digits raise
  // SFieldRangeError.
  void SetAsCurrency(Currency value) override;
  TBcd AsBCD() const override;
  void SetAsBCD(const TBcd& value) override;

 protected:
  Integer DefaultWidth() const override;
  void CheckSize(Integer value) const override;
  void GetText(String& text, bool displayText) const override;
  Variant GetAsVariant() const override;
  void SetVarValue(const Variant& value) override;
  bool GetValue(Currency& value) const;

 private:
  bool currency_ = false;
  Integer precision_ = 0;
};

// A decimal of up to 64 digits; Size is the scale (0..63), Precision the
// digits (1..64).
class TFMTBCDField : public TNumericField {
  BV_CLASS(TFMTBCDField, TNumericField)
 public:
  explicit TFMTBCDField(TComponent* owner = nullptr);
  Integer DataSize() const override { return static_cast<Integer>(sizeof(TBcd)); }
  bool IsCurrency() const { return currency_; }
  void SetCurrency(bool value);
  Integer Precision() const { return precision_; }
  void SetPrecision(Integer value);
  String AsString() const override;
  void SetAsString(const String& value) override;
  Integer AsInteger() const override;
  void SetAsInteger(Integer value) override;
  Int64 AsLargeInt() const override;
  void SetAsLargeInt(Int64 value) override;
  double AsFloat() const override;
  void SetAsFloat(double value) override;
  Currency AsCurrency() const override;
  void SetAsCurrency(Currency value) override;
  TBcd AsBCD() const override;
  // Re-expressed with Precision digits and Size decimals (halves to even);
  // a value that does not fit raises SFieldRangeError.
  void SetAsBCD(const TBcd& value) override;

 protected:
  Integer DefaultWidth() const override { return precision_ + 2; }
  void CheckSize(Integer value) const override;
  void GetText(String& text, bool displayText) const override;
  Variant GetAsVariant() const override;
  void SetVarValue(const Variant& value) override;
  bool GetValue(TBcd& value) const;

 private:
  bool currency_ = false;
  Integer precision_ = 32;
};

// ---- booleans -------------------------------------------------------------------

class TBooleanField : public TField {
  BV_CLASS(TBooleanField, TField)
 public:
  explicit TBooleanField(TComponent* owner = nullptr);
  Integer DataSize() const override { return 2; }
  // "TrueText;FalseText" used by AsString and the texts (default
  // "True;False").
  const String& DisplayValues() const { return displayValues_; }
  void SetDisplayValues(const String& value);
  String AsString() const override;
  // Empty text clears; the display texts, "True"/"False", "T"/"F",
  // "Yes"/"No", "Y"/"N" and "1"/"0" (any case) set; other text raises
  // SInvalidBoolean.
  void SetAsString(const String& value) override;
  bool AsBoolean() const override;
  void SetAsBoolean(bool value) override;
  Integer AsInteger() const override;
  void SetAsInteger(Integer value) override;

 protected:
  Integer DefaultWidth() const override;
  Variant GetAsVariant() const override;
  void SetVarValue(const Variant& value) override;
  bool GetValue(bool& value) const;

 private:
  String displayValues_ = "True;False";
  String trueText_ = "True";
  String falseText_ = "False";
};

// ---- dates and times --------------------------------------------------------------

// DisplayFormat is a FormatDateTime format; without one ftDateTime shows
// "c", ftDate the short date and ftTime the long time. The edit text uses
// the same default formats.
class TDateTimeField : public TField {
  BV_CLASS(TDateTimeField, TField)
 public:
  explicit TDateTimeField(TComponent* owner = nullptr);
  Integer DataSize() const override;
  const String& DisplayFormat() const { return displayFormat_; }
  void SetDisplayFormat(const String& value);
  String AsString() const override;
  // Empty text clears; StrToDate / StrToTime / StrToDateTime otherwise.
  void SetAsString(const String& value) override;
  double AsFloat() const override;
  void SetAsFloat(double value) override;
  TDateTime AsDateTime() const override;
  // ftDate keeps the day, ftTime the time of day; values outside the
  // calendar raise EConvertError.
  void SetAsDateTime(TDateTime value) override;
  TSQLTimeStamp AsSQLTimeStamp() const override;
  void SetAsSQLTimeStamp(const TSQLTimeStamp& value) override;

 protected:
  Integer DefaultWidth() const override;
  void GetText(String& text, bool displayText) const override;
  Variant GetAsVariant() const override;
  void SetVarValue(const Variant& value) override;
  bool GetValue(TDateTime& value) const;
  String DefaultFormat() const;

 private:
  String displayFormat_;
};

class TDateField : public TDateTimeField {
  BV_CLASS(TDateField, TDateTimeField)
 public:
  explicit TDateField(TComponent* owner = nullptr);
};

class TTimeField : public TDateTimeField {
  BV_CLASS(TTimeField, TDateTimeField)
 public:
  explicit TTimeField(TComponent* owner = nullptr);
};

class TSQLTimeStampField : public TField {
  BV_CLASS(TSQLTimeStampField, TField)
 public:
  explicit TSQLTimeStampField(TComponent* owner = nullptr);
  Integer DataSize() const override { return static_cast<Integer>(sizeof(TSQLTimeStamp)); }
  const String& DisplayFormat() const { return displayFormat_; }
  void SetDisplayFormat(const String& value);
  String AsString() const override;
  void SetAsString(const String& value) override;
  double AsFloat() const override;
  void SetAsFloat(double value) override;
  TDateTime AsDateTime() const override;
  void SetAsDateTime(TDateTime value) override;
  TSQLTimeStamp AsSQLTimeStamp() const override;
  // The null stamp clears; another invalid stamp raises SFieldValueError.
  void SetAsSQLTimeStamp(const TSQLTimeStamp& value) override;

 protected:
  Integer DefaultWidth() const override { return 20; }
  void GetText(String& text, bool displayText) const override;
  Variant GetAsVariant() const override;
  void SetVarValue(const Variant& value) override;
  bool GetValue(TSQLTimeStamp& value) const;

 private:
  String displayFormat_;
};

// ---- bytes -----------------------------------------------------------------------

// AsString holds the raw bytes; AsVariant is a byte array. The display
// text is "(Bytes)" / "(VarBytes)".
class TBinaryField : public TField {
  BV_CLASS(TBinaryField, TField)
 public:
  explicit TBinaryField(TComponent* owner = nullptr);
  String AsString() const override;
  // More than Size bytes raise SFieldValueTooLong; ftBytes pads with zeros.
  void SetAsString(const String& value) override;

 protected:
  void CheckSize(Integer value) const override;
  void GetText(String& text, bool displayText) const override;
  Variant GetAsVariant() const override;
  void SetVarValue(const Variant& value) override;
  bool GetValue(String& value) const;
};

class TBytesField : public TBinaryField {
  BV_CLASS(TBytesField, TBinaryField)
 public:
  explicit TBytesField(TComponent* owner = nullptr);
  Integer DataSize() const override { return Size(); }
};

class TVarBytesField : public TBinaryField {
  BV_CLASS(TVarBytesField, TBinaryField)
 public:
  explicit TVarBytesField(TComponent* owner = nullptr);
  Integer DataSize() const override { return Size() + 2; }
};

// ---- blobs -----------------------------------------------------------------------

// The content goes through the dataset's blob streams. AsString is the whole
// content; an empty content is null.
class TBlobField : public TField {
  BV_CLASS(TBlobField, TField)
 public:
  explicit TBlobField(TComponent* owner = nullptr);
  bool IsBlob() const override { return true; }
  TFieldType BlobType() const { return DataType(); }
  // One of the blob types; needs a closed dataset.
  void SetBlobType(TFieldType value);
  // Set when the record's content was written; cleared by Post and Cancel.
  bool Modified() const { return modified_; }
  void SetModified(bool value) { modified_ = value; }
  Int64 BlobSize() const;
  // Replaces the content with the rest of stream, read from its position.
  void LoadFromStream(TStream& stream);
  // Writes the content at stream's position.
  void SaveToStream(TStream& stream) const;
  void LoadFromFile(const String& fileName);
  void SaveToFile(const String& fileName) const;
  String AsString() const override;
  void SetAsString(const String& value) override;
  WideString AsWideString() const override;
  void SetAsWideString(const WideString& value) override;

 protected:
  void GetText(String& text, bool displayText) const override;
  Variant GetAsVariant() const override;
  void SetVarValue(const Variant& value) override;

 private:
  bool modified_ = false;
};

class TMemoField : public TBlobField {
  BV_CLASS(TMemoField, TBlobField)
 public:
  explicit TMemoField(TComponent* owner = nullptr);

 protected:
  void GetText(String& text, bool displayText) const override;
};

// A picture stored as its bitmap stream.
class TGraphicField : public TBlobField {
  BV_CLASS(TGraphicField, TBlobField)
 public:
  explicit TGraphicField(TComponent* owner = nullptr);
};

// ---- variants --------------------------------------------------------------------

class TVariantField : public TField {
  BV_CLASS(TVariantField, TField)
 public:
  explicit TVariantField(TComponent* owner = nullptr);
  Integer DataSize() const override { return static_cast<Integer>(sizeof(Variant)); }
  String AsString() const override;
  void SetAsString(const String& value) override;
  WideString AsWideString() const override;
  void SetAsWideString(const WideString& value) override;
  Integer AsInteger() const override;
  void SetAsInteger(Integer value) override;
  Int64 AsLargeInt() const override;
  void SetAsLargeInt(Int64 value) override;
  double AsFloat() const override;
  void SetAsFloat(double value) override;
  bool AsBoolean() const override;
  void SetAsBoolean(bool value) override;
  TDateTime AsDateTime() const override;
  void SetAsDateTime(TDateTime value) override;
  Currency AsCurrency() const override;
  void SetAsCurrency(Currency value) override;
  TBcd AsBCD() const override;
  void SetAsBCD(const TBcd& value) override;
  TSQLTimeStamp AsSQLTimeStamp() const override;
  void SetAsSQLTimeStamp(const TSQLTimeStamp& value) override;

 protected:
  Variant GetAsVariant() const override;
  void SetVarValue(const Variant& value) override;
};

}  // namespace brevant
