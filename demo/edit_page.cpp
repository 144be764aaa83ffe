// The gallery's page of data-aware edits (see edit_page.h).
#include "edit_page.h"

#include "bv/db_edit.h"
#include "bv/field_list.h"
#include "bv/field_vision.h"
#include "controls/forms.h"
#include "controls/stdctrls.h"
#include "db/datasource.h"
#include "db/field.h"
#include "db/field_defs.h"
#include "db/mem_dataset.h"
#include "edit_row.h"
#include "rtl/numconv.h"

namespace brevant {

namespace {

TMemDataSet* AddParts(TForm* gallery) {
  auto* parts = Create<TMemDataSet>(gallery);
  parts->SetName("PartsTable");
  parts->FieldDefs()->Add("Name", ftString, 20);
  parts->FieldDefs()->Add("Qty", ftInteger);
  parts->FieldDefs()->Add("Code", ftString, 7);
  parts->FieldDefs()->Add("Price", ftFloat);
  parts->AppendRow({"Hex bolt", 120, "HB-0012", 0.35});
  parts->AppendRow({"Wing nut", 40, "WN-0008", 0.2});
  parts->AppendRow({"Washer", 900, "WA-0003", 0.05});
  parts->Open();
  return parts;
}

// The edit control a vision's button was pressed in.
TDBQuentaEdit* EditOf(TtlFieldList* fields) {
  return dynamic_cast<TDBQuentaEdit*>(fields->Consumer()->GetComponent());
}

// Spin halves and arrow keys step the quantity by one.
void StepQuantity(TObject* sender, TtlFieldList* fields) {
  auto* vision = static_cast<TznFieldVision*>(sender);
  TDBQuentaEdit* edit = EditOf(fields);
  if (!edit) return;
  const Integer kind = vision->ButtonKind();
  const Integer step = kind == bkMouseDown || kind == bkKeyDown ? -1 : 1;
  edit->SetEditText(IntToStr(StrToIntDef(edit->EditText(), 0) + step), true);
}

// The ellipsis empties the code for typing it anew.
void ClearCode(TObject*, TtlFieldList* fields) {
  if (TDBQuentaEdit* edit = EditOf(fields)) edit->SetEditText(String(), false);
}

TznFieldVision* AddVision(TForm* gallery, const char* name) {
  auto* vision = Create<TznFieldVision>(gallery);
  vision->SetName(name);
  return vision;
}

}  // namespace

void BuildEditPage(TForm* gallery, TWinControl* page) {
  TMemDataSet* parts = AddParts(gallery);
  auto* source = Create<TDataSource>(gallery);
  source->SetName("PartsSource");
  source->SetDataSet(parts);

  TznFieldVision* spin = AddVision(gallery, "QtyVision");
  spin->SetEnableButton(true);
  spin->SetButtonStyle(pbsSpin);
  spin->OnButtonClick = TfvNotifyEvent::FromCallable(&StepQuantity);
  TznFieldVision* code = AddVision(gallery, "CodeVision");
  code->SetEditMask(">LL-0000;1;_");
  code->SetEnableButton(true);
  code->SetButtonStyle(pbsEllipsis);
  code->OnButtonClick = TfvNotifyEvent::FromCallable(&ClearCode);
  TznFieldVision* price = AddVision(gallery, "PriceVision");
  price->SetAlignment(talRightJustify);

  AddEditRow(gallery, page, source, 0, "Name", "PartName", nullptr);
  AddEditRow(gallery, page, source, 1, "Qty", "PartQty", spin);
  AddEditRow(gallery, page, source, 2, "Code", "PartCode", code);
  AddEditRow(gallery, page, source, 3, "Price", "PartPrice", price);
}

}  // namespace brevant
