// TVLookupVision: a lookup configured on the vision itself (TVLookupParams):
// the main field holds the key, the cell shows the looked-up text and image,
// the drop-down lists the lookup dataset and picking writes the key.
#pragma once

#include "bv_std/lookup_params.h"
#include "bv_std/lookup_visions.h"

namespace brevant {

class TVLookupVision : public TznLookupListVision {
  BV_CLASS(TVLookupVision, TznLookupListVision)
 public:
  explicit TVLookupVision(TComponent* owner = nullptr);
  ~TVLookupVision() override;

  // Assigning copies.
  TVLookupParams* LookupParams() const { return params_.get(); }
  void SetLookupParams(TVLookupParams* value) { params_->Assign(value); }
  // The inverse of PickListValuesOnly.
  bool AllowNewKeys() const { return !PickListValuesOnly(); }
  void SetAllowNewKeys(bool value) { SetPickListValuesOnly(!value); }

  // The looked-up text; the image index of the last GetText.
  void GetText(TtlFieldList* fields, bool displayText, String& text) override;
  void PrepareDraw(TtlFieldList* fields, TfvPainter* painter) override;
  void CheckFields(TtlFieldList* fields, bool& active) override;
  bool IsValidChar(TtlFieldList*, char32_t) override { return true; }
  void LoadCurrentValue(IznVisionEditor* editor) override;
  TAlignment GetAlignment(TtlFieldList*) override { return taLeftJustify; }
  Integer GetMaxLength(TtlFieldList*) override { return 0; }
  void GetListFieldName(TtlFieldList* fields, String& name) override;
  // EditDataSource, else DataSource.
  TDataSource* GetListSource(TtlFieldList* fields) override;
  // The image index found by the last GetText (-1: none).
  Integer LookedUpImage() const { return lookedUpImage_; }

  TfvGetVarValueEvent OnGetValue;

 protected:
  String ListKeyFields(TtlFieldList* fields) override;
  void Notification(TComponent* component, TOperation operation) override;
  void Loaded() override;

 private:
  friend class TVLookupParams;
  // The key of the record shown by fields (null without one).
  Variant KeyOf(TtlFieldList* fields);
  // What the parameters tell the consumers.
  void ParamsFieldsChanged() { NotifyFieldsActive(); }
  void ParamsRepaint() { NotifyRepaint(); }

  TObjectPtr<TVLookupParams> params_;  // the lookup (owned)
  Integer lookedUpImage_ = -1;         // image index of the last lookup
};

void RegisterVLookupVisionClasses();

}  // namespace brevant
