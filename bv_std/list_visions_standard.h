// TStandardVision: text picked from (or typed past) a pick list. While an
// editor edits, the pick list is shown through the editor's own object
// dataset (fields "no" and "value") and data source; the MRU types keep the
// most recently posted value first.
#pragma once

#include "bv_std/list_visions.h"
#include "bv_std/pick_list.h"

namespace brevant {

class TStrings;

// (Sender; Fields; var Value; var DoSkip): a typed value before it is read;
// DoSkip keeps it out of an MRU pick list.
using TfvStdNewValueEvent =
    TEvent<void(TObject* Sender, TtlFieldList* Fields, String& Value, bool& DoSkip)>;

class TStandardVision : public TDataListVision {
  BV_CLASS(TStandardVision, TDataListVision)
 public:
  explicit TStandardVision(TComponent* owner = nullptr);
  ~TStandardVision() override;

  // The values offered; assigning copies the strings.
  TtlPickList* PickList() const { return pickList_.get(); }
  void SetPickList(TStrings* value);
  TfvPickListType PickListType() const { return pickListType_; }
  // The sorted types sort the list; the others leave its order.
  void SetPickListType(TfvPickListType value);
  // Every typed character is accepted, whatever the field says.
  bool SkipCharValidation() const { return skipCharValidation_; }
  void SetSkipCharValidation(bool value) { skipCharValidation_ = value; }

  void GetText(TtlFieldList* fields, bool displayText, String& text) override;
  void CheckFields(TtlFieldList* fields, bool& active) override;
  void GetEditMask(TtlFieldList* fields, String& mask) override;
  bool IsValidChar(TtlFieldList* fields, char32_t key) override;
  // Points the editor's object dataset at the pick list.
  void InitEdit(IznVisionEditor* editor) override;
  // The typed text through OnNewValue; the MRU types learn it.
  void ReadEditValue(IznVisionEditor* editor, TznUniValue& value, bool& skip) override;
  // With pltMRU the posted text moves to the front of the pick list.
  void PostValue(TtlFieldList* fields, const TznUniValue& value) override;

  void GetListFieldName(TtlFieldList* fields, String& name) override;
  TDataSource* GetListSource(TtlFieldList* fields) override;
  void ApplyListChoice(IznVisionEditor* editor, Integer choice) override;

  void Assign(const TPersistent* source) override;

  TfvGetStrValueEvent OnGetValue;
  TfvStdNewValueEvent OnNewValue;

 private:
  // The pick list changed: the open list datasets show it again.
  void RefreshLists(TtlFieldList* fields);

  TObjectPtr<TtlPickList> pickList_;           // the values offered (owned)
  TfvPickListType pickListType_ = pltDefault;  // order kept by the list
  bool skipCharValidation_ = false;            // accept every typed character
  String skippedText_;                         // a typed text OnNewValue kept out of the MRU list
  bool skippedPending_ = false;                // skippedText_ awaits its post
};

void RegisterStandardVisionClasses();

}  // namespace brevant
