// The lookup visions. TLookupVision serves the platform's lookup fields: the
// text comes from the field, the drop-down lists the field's lookup dataset
// and the value written is the key. What the lookup kinds share: new keys
// for typed text (OnNewKey), the clearing shortcut and the remembered column
// widths of the drop-down list.
#pragma once

#include "bv_std/list_visions.h"

namespace brevant {

class TtlFieldValue;
using TShortCut = Word;

// (Sender; Fields; LookupValue; KeyValue; var DoSkipPost): a typed text that
// is not in the list; the handler may fill KeyValue (after adding a record
// to the lookup dataset) or skip the post. A null key counts as a skip.
using TfvLkpNewKeyEvent =
    TEvent<void(TObject* Sender, TtlFieldList* Fields, const String& LookupValue,
                TtlFieldValue* KeyValue, bool& DoSkipPost)>;

// The base of both lookup kinds (no published names of its own).
class TznLookupListVision : public TDataListVision {
  BV_CLASS(TznLookupListVision, TDataListVision)
 public:
  explicit TznLookupListVision(TComponent* owner = nullptr);

  // Column widths of the drop-down list, ';'-separated; the list writes
  // back what the user sized.
  const String& DropDownWidth() const { return dropDownWidth_; }
  void SetDropDownWidth(const String& value) { dropDownWidth_ = value; }
  // The key that makes the value null and posts (0: none).
  TShortCut ClearShortCut() const { return clearShortCut_; }
  void SetClearShortCut(TShortCut value) { clearShortCut_ = value; }

  // Typed text found in the list posts that record's key; other text asks
  // OnNewKey (no handler, a skip or no key: nothing is posted).
  void ReadEditValue(IznVisionEditor* editor, TznUniValue& value, bool& skip) override;
  // ClearShortCut: the value becomes null, is posted, the key consumed.
  void KeyDown(IznVisionEditor* editor, Word& key, TShiftState shift) override;
  // The editor's list source (the lookup dataset) and its key fields.
  TDataSource* GetListSource(TtlFieldList* fields) override;
  void ApplyListChoice(IznVisionEditor* editor, Integer choice) override;

  TfvLkpNewKeyEvent OnNewKey;

 protected:
  // The key field(s) of the list dataset for fields.
  virtual String ListKeyFields(TtlFieldList* fields) = 0;
  // The current value typed as a variant holding key (null stays null).
  static void LoadKey(IznVisionEditor* editor, const Variant& key);

 private:
  String dropDownWidth_;         // column widths of the drop-down list
  TShortCut clearShortCut_ = 0;  // clearing shortcut, 0: none
};

class TLookupVision : public TznLookupListVision {
  BV_CLASS(TLookupVision, TznLookupListVision)
 public:
  explicit TLookupVision(TComponent* owner = nullptr);

  // Further fields shown in the drop-down list, ';'-separated.
  const String& ListFields() const { return listFields_; }
  void SetListFields(const String& value) { listFields_ = value; }

  // Active when the main field exists and is a lookup field.
  void CheckFields(TtlFieldList* fields, bool& active) override;
  // The key: the value goes to the dataset field named by KeyFields.
  void PostValue(TtlFieldList* fields, const TznUniValue& value) override;
  // The current value is the key field's value.
  void LoadCurrentValue(IznVisionEditor* editor) override;
  // The editor's data source shows the field's lookup dataset.
  void InitEdit(IznVisionEditor* editor) override;
  void GetListFieldName(TtlFieldList* fields, String& name) override;

 protected:
  String ListKeyFields(TtlFieldList* fields) override;

 private:
  String listFields_;  // further fields of the drop-down list
};

// The list's column names: first, then the non-empty others unless they
// already name first (no empty column for an empty second list).
String DropDownColumns(const String& first, const String& others);

void RegisterLookupVisionClasses();

}  // namespace brevant
