// The plain and list visions: TLiteVision (field text as it stands; the
// process-wide default vision of every consumer) and TDataListVision, the
// base of visions whose values come from a list dataset: it completes typed
// text from the list, keeps the nullable and values-only rules and opens the
// default pack's list drop-down.
#pragma once

#include "bv_std/state_visions_types.h"
#include "bv_std/tool_form_vision.h"
#include "rtl/variant.h"

namespace brevant {

class TtlFieldValue;

// (Sender; Fields; var Value): the key of a consumer without a main field.
using TfvGetVarValueEvent = TEvent<void(TObject* Sender, TtlFieldList* Fields, Variant& Value)>;

// What the lite and standard visions share: the field's text, else the one
// onGetValue supplies; active with field names and a main field that is no
// blob; the mask from the list's EditFormat, EditMask, then the field.
void LiteGetText(TznFieldVision* vision, const TfvGetStrValueEvent& onGetValue,
                 TtlFieldList* fields, bool displayText, String& text);
bool LiteFieldsActive(TtlFieldList* fields);
void LiteEditMask(TznFieldVision* vision, TtlFieldList* fields, String& mask);

class TLiteVision : public TznFieldVision {
  BV_CLASS(TLiteVision, TznFieldVision)
 public:
  explicit TLiteVision(TComponent* owner = nullptr);

  // The field's text; without a main field OnGetValue may supply it.
  void GetText(TtlFieldList* fields, bool displayText, String& text) override;
  // Active with field names whose main field is not a blob.
  void CheckFields(TtlFieldList* fields, bool& active) override;
  // The list's EditFormat first, then EditMask, then the field's mask.
  void GetEditMask(TtlFieldList* fields, String& mask) override;

  TfvGetStrValueEvent OnGetValue;
};

// The process-wide lite vision, created on first use and installed as the
// default vision of every consumer (InstallLiteVision); freed at exit.
TLiteVision* LiteVision();
// Makes LiteVision the default vision (idempotent).
void InstallLiteVision();

// The three answers of ApplyListChoice.
constexpr Integer lcPickRecord = 0;  // the list's current record becomes the value
constexpr Integer lcNull = 1;        // the value becomes null
constexpr Integer lcNewText = 2;     // the typed text is new to the list

class TDataListVision : public TToolFormVision {
  BV_CLASS(TDataListVision, TToolFormVision)
 public:
  explicit TDataListVision(TComponent* owner = nullptr);

  bool Nullable() const { return nullable_; }
  void SetNullable(bool value) { nullable_ = value; }
  // Only typed text found in the list is accepted.
  bool PickListValuesOnly() const { return pickListValuesOnly_; }
  void SetPickListValuesOnly(bool value) { pickListValuesOnly_ = value; }
  // Rows the drop-down list shows; below 1 raises EBVError.
  Integer DropDownRows() const { return dropDownRows_; }
  void SetDropDownRows(Integer value);

  // ---- the list operations, in order ----
  // The field of the list dataset whose text is matched and shown.
  virtual void GetListFieldName(TtlFieldList* fields, String& name) = 0;
  // The list dataset's source for fields (nil: no list).
  virtual TDataSource* GetListSource(TtlFieldList* fields) = 0;
  // lcPickRecord, lcNull or lcNewText into the editor's current value.
  virtual void ApplyListChoice(IznVisionEditor* editor, Integer choice) = 0;

  using TToolFormVision::GetListSource;
  TDataSource* GetListSourceFor(TtlFieldList* fields) override { return GetListSource(fields); }
  TVisionToolForm* DefaultDropDown() override;
  // Completes typed text from the list (see docs/visions.md).
  bool AutoComplete(IznVisionEditor* editor, String& text, Integer& selEnd, Integer& selStart,
                    const String& previousText) override;
  // Empty text posts null when Nullable and nothing otherwise.
  void ReadEditValue(IznVisionEditor* editor, TznUniValue& value, bool& skip) override;

 protected:
  // The list dataset of fields when it is open, else nil.
  TDataSet* OpenListDataSet(TtlFieldList* fields);
  // The list's current text in field name of fields (empty without one).
  String ListText(TtlFieldList* fields);

 private:
  // The completion steps for non-empty and for empty text.
  bool CompleteText(IznVisionEditor* editor, String& text, Integer& selEnd, Integer& selStart,
                    const String& previousText);
  void CompleteEmpty(IznVisionEditor* editor);

  bool nullable_ = true;            // empty text posts null
  bool pickListValuesOnly_ = true;  // typed text must be in the list
  Integer dropDownRows_ = 7;        // rows of the drop-down list
};

void RegisterListVisionClasses();
// The unit's start-up: registers every list vision class (and the drop-down
// base) and installs LiteVision as the default vision.
void StartListVisionsUnit();

}  // namespace brevant
