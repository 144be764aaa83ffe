#include "bv/datalink_ex.h"

namespace brevant {

void TDataLinkEx::ActiveChanged() {
  if (OnActiveChanged) OnActiveChanged(this);
}

void TDataLinkEx::DataSetChanged() {
  if (OnDataSetChanged) OnDataSetChanged(this);
}

void TDataLinkEx::DataSetScrolled(Integer distance) {
  if (OnDataSetScrolled) OnDataSetScrolled(this, distance);
}

void TDataLinkEx::EditingChanged() {
  if (OnEditingChanged) OnEditingChanged(this);
}

void TDataLinkEx::FocusControl(TField*& field) {
  if (!field || !OnFocusControl) return;
  TField* copy = field;
  OnFocusControl(this, copy);
  if (!copy) field = nullptr;
}

void TDataLinkEx::LayoutChanged() {
  if (OnLayoutChanged) OnLayoutChanged(this);
}

void TDataLinkEx::RecordChanged(TField* field) {
  if (OnRecordChanged) OnRecordChanged(this, field);
}

void TDataLinkEx::UpdateData() {
  if (OnUpdateData) OnUpdateData(this);
}

}  // namespace brevant
