// The main form's grid handlers: footers, sorting, row colours, the footer
// menu, moving vendors between the drag-and-drop lists and the field
// vision grids' column changes.
#include "bv/cell_attrs.h"
#include "bv/column.h"
#include "bv/columns.h"
#include "bv/env_hook.h"
#include "bv/field_vision.h"
#include "bv/paint_info.h"
#include "bv/selection.h"
#include "bv/tabulon.h"
#include "bv_db/quick_record_set.h"
#include "bv_db/univalue.h"
#include "bv_rtm/tokens.h"
#include "controls/application.h"
#include "controls/extctrls.h"
#include "controls/wincore.h"
#include "db/client_dataset.h"
#include "db/field.h"
#include "demo/mainform/main_form.h"
#include "demo/modules/demo_modules.h"
#include "demo/modules/dm.h"
#include "rtl/format.h"
#include "rtl/numconv.h"
#include "rtl/scope.h"
#include "rtl/strutils.h"

namespace brevant {

namespace {

// Fields a client dataset index can sort by: stored data fields that are
// not blobs. Computed column names ("#Balance") and lookups are left out.
bool IsIndexable(TField* field) {
  return field && field->FieldKind() == fkData && !field->IsBlob();
}

// The footer's aggregate of one field over every record of its dataset.
String FooterAggregate(TtlColumn* column) {
  TField* field = column->Field();
  const TtlFooterState state = column->FooterState();
  TDataSet* data = field->DataSet();
  TznUniValue accumulator, value;
  // The mean lives in floating point: a value typed like an integer field
  // would round it at every step.
  accumulator.SetDataType(state == fsCount     ? ftInteger
                          : state == fsAverage ? ftFloat
                                               : field->DataType());
  value.SetDataType(field->DataType());
  double mean = 0;
  Integer count = 0;
  {
    TDisableControls frozen(data);
    TznCurrentRecordKeeper keeper(data);
    for (data->First(); !data->Eof(); data->Next()) {
      value.Assign(field);
      switch (state) {
        case fsAverage:
          if (!value.IsNull()) {
            mean = (value.AsFloat() + mean * count) / (count + 1);
            ++count;
          }
          break;
        case fsCount:
          if (!value.IsNull()) ++count;
          break;
        case fsMax:
          if (value.Compare(accumulator, true, true) > 0) accumulator.Assign(&value);
          break;
        case fsMin:
          if (value.Compare(accumulator, true, false) < 0) accumulator.Assign(&value);
          break;
        case fsSum:
          if (!value.IsNull())
            accumulator.SetAsFloat((accumulator.IsNull() ? 0 : accumulator.AsFloat()) +
                                   value.AsFloat());
          break;
        case fsNone:
          break;
      }
    }
  }
  if (state == fsCount) return IntToStr(count);
  if (state == fsAverage && count > 0) accumulator.SetAsFloat(mean);
  TznFieldVision* vision = column->EffectiveVision();
  return vision ? vision->FormatValue(column->FieldList(), accumulator) : accumulator.AsString();
}

}  // namespace

void TMainForm::tlOverviewFooterStateChange(TObject*, TtlColumn* column) {
  if (!column || column->FooterState() == fsNone) return;
  // A column without a dataset field (the computed balance) has nothing
  // to aggregate.
  if (!column->Field() || !column->Field()->DataSet()) {
    column->SetFooterText("");
    return;
  }
  column->SetFooterText(FooterAggregate(column));
}

void TMainForm::tlGridTitleStateChange(TObject* sender, TtlColumn*) {
  TClientDataSet* vendors = DM()->datVendors;
  TtlColumns* columns = static_cast<TDBTabulon*>(sender)->Columns();
  String fields, descending;
  for (Integer i = 0; i < columns->SortedColumnCount(); ++i) {
    TtlColumn* column = columns->SortedColumn(i);
    if (!IsIndexable(vendors->FindField(column->FieldName()))) continue;
    if (ContainsToken(fields, column->FieldName(), ';')) continue;
    fields = AddUniqueToken(fields, column->FieldName(), ';');
    if (column->TitleState() == tsSortedDown)
      descending = AddUniqueToken(descending, column->FieldName(), ';');
  }
  TDisableControls frozen(vendors);
  TIndexDefs* defs = vendors->IndexDefs();
  if (defs->Count() > 0) TObject::Free(defs->Items(0));
  TIndexDef* def = defs->AddIndexDef();
  def->SetFields(fields);
  def->SetDescFields(descending);
  if (fields.empty()) {
    def->SetName("Default");
    vendors->SetIndexName("");
    return;
  }
  def->SetName("DefIndex" + IntToStr(static_cast<Int64>(GetTickCount())));
  vendors->SetIndexName(def->Name());
}

void TMainForm::tlOverviewGetRowAttrs(TObject*, TtlRowAttrs* rowAttrs) {
  if (rowAttrs->StripNo == 1) {
    rowAttrs->Color = 0xE8E8E8;
    rowAttrs->Fill = false;
  }
  TtlCellAttrs* phone = rowAttrs->CellsByName("phone");
  if (!phone || !rowAttrs->DataSet) return;
  TField* field = rowAttrs->DataSet->FindField("phone");
  if (field && StartsText("800-", field->AsString()) && phone->Color == clNone)
    phone->Color = 0xC5DEC5;
}

void TMainForm::tlOverviewFooterMenuPopup(TObject*, Integer, Integer, bool& doPopup) {
  IbvEnvironment* env = Environment();
  if (!doPopup || !env) return;
  TtlColumn* column = env->FooterColumn();
  doPopup = column && column->Field();
  if (doPopup) env->PrepareFooterMenu(column->Field());
}

void TMainForm::tlPrefferedDragOver(TObject* sender, TObject* source, Integer, Integer, TDragState,
                                    bool& accept) {
  accept = static_cast<TDBTabulon*>(sender)->DragTracking() && source != sender;
}

void TMainForm::tlPrefferedDragDrop(TObject* sender, TObject* source, Integer, Integer) {
  auto* from = dynamic_cast<TDBTabulon*>(source);
  if (!from || from == sender) return;
  MoveVendors(from, static_cast<TDBTabulon*>(sender));
}

void TMainForm::MoveVendors(TDBTabulon* source, TDBTabulon* target) {
  auto* from = static_cast<TClientDataSet*>(source->DataSet());
  auto* to = static_cast<TClientDataSet*>(target->DataSet());
  const bool preferred = source == tlNonPreffered;
  Integer failures = 0;
  Integer moved = 0;
  String error;
  {
    TDisableControls frozen(from);
    // Whatever the database refused, or a post that raised half-way, takes
    // back every move of this drop: the lists show the database again
    // instead of losing vendors or keeping moves nobody will apply.
    TScopeGuard undo([from] {
      if (from->State() != dsBrowse) from->Cancel();
      from->CancelUpdates();
    });
    TtlSelection* selection = source->Selection();
    for (Integer i = 0; i < selection->Count(); ++i) {
      if (!selection->Item(i)->GotoRecord()) continue;
      from->Edit();
      from->FieldByName("preferred")->SetAsBoolean(preferred);
      from->Post();
      ++moved;
    }
    selection->Clear(false, true);
    failures = from->ApplyUpdates(-1);
    if (failures == 0)
      undo.Dismiss();
    else
      error = from->ApplyError();
  }
  to->Refresh();
  if (failures > 0) {
    Report(Format("Moving %d vendor(s) failed: %s", {moved, error}));
    Application()->MessageBox(
        Format("The vendors could not be moved: %d of %d update(s) failed.\n%s",
               {failures, moved, error}),
        "Drag and Drop", MB_OK | MB_ICONERROR);
    return;
  }
  Report(Format("%d vendor(s) moved", {moved}));
}

void TMainForm::ShowVisionGrid(Integer item) {
  const bool large = item == 9 || item == 10 || item == 12;
  NotebookGrids->SetPageIndex(large ? 1 : 0);
  TDBTabulon* grid = large ? tlFieldVisions2 : tlFieldVisions;
  if (TtlColumn* column = grid->Columns()->FindByTag(item + 1)) grid->SelectColumn(column->Index());
}

void TMainForm::tlFieldVisionsColEnter(TObject* sender, Integer aCol) {
  TtlColumns* columns = static_cast<TDBTabulon*>(sender)->Columns();
  if (aCol < 0 || aCol >= columns->Count()) return;
  const Integer tag = columns->Items(aCol)->Tag();
  if (tag != 0) SelectNavigationItem(1, tag - 1);
}

}  // namespace brevant
