// The grid as the list of a drop-down tool form: it follows the served
// edit's value and hands the key of its current record back to it.
#include "bv/field_list.h"
#include "bv/selection.h"
#include "bv/tabulon.h"
#include "bv/tool_form_intf.h"
#include "db/dataset.h"

namespace brevant {

namespace {

// The value of the tool form the grid is attached to, nil when none.
TfvCurrentValue* ToolFormValue(TObject* toolForm) {
  auto* host = dynamic_cast<IznToolFormHost*>(toolForm);
  return host ? host->CurrentValue() : nullptr;
}

}  // namespace

void TDBTabulon::SyncToValue() {
  TfvCurrentValue* value = ToolFormValue(toolForm_);
  if (!value || !currentRecShot_) return;
  currentRecShot_->SetKey(value->AsVariant(), true, true);
}

void TDBTabulon::PickValue() {
  TfvCurrentValue* value = ToolFormValue(toolForm_);
  if (!value || !dataSet_ || !dataSet_->Active() || dataSet_->IsEmpty()) return;
  if (uniqueFields_.empty()) return;
  value->SetAsVariant(dataSet_->FieldValues(uniqueFields_));
  value->SetModified(true);
}

}  // namespace brevant
