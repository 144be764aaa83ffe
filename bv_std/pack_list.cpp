// The list tool form of the default pack: its grid shows the list of a
// standard, lookup or state vision, sized to the edit or to its columns,
// snapped to whole rows while sized, and remembers the user's column widths
// and row count in the vision when it closes.
#include <algorithm>

#include "bv/columns.h"
#include "bv/field_list.h"
#include "bv/selection.h"
#include "bv/tabulon.h"
#include "bv_db/prop_accessor.h"
#include "bv_rtm/tokens.h"
#include "bv_std/list_visions_standard.h"
#include "bv_std/lite_designer.h"
#include "bv_std/lookup_params.h"
#include "bv_std/lookup_visions.h"
#include "bv_std/lookup_visions_v.h"
#include "bv_std/pack.h"
#include "bv_std/state_visions_xstate.h"
#include "bv_vtf/tool_form.h"
#include "bv_vtf/tool_form_bg.h"
#include "controls/wincore.h"
#include "db/dataset.h"
#include "db/datasource.h"
#include "db/field.h"
#include "graphics/colors.h"
#include "rtl/numconv.h"
#include "rtl/strutils.h"

namespace brevant {

namespace {

// The fewest rows the list shows.
constexpr Integer kMinListRows = 2;

// The entries of a ';'-list.
std::vector<String> Tokens(const String& list) {
  std::vector<String> out;
  const Integer n = TokenCountOrZero(list, ';');
  for (Integer i = 0; i < n; ++i) out.push_back(GetToken(list, i, ';'));
  return out;
}

// The list's record count, 0 without an open dataset.
Integer ListRecords(TDBTabulon* grid) {
  TDataSet* ds = grid->DataSet();
  return ds && ds->Active() ? ds->RecordCount() : 0;
}

// The width at position i of a ';'-list, or fallback when it is missing, no
// number or not above 0.
Integer WidthAt(const std::vector<String>& widths, size_t i, Integer fallback) {
  if (i >= widths.size()) return fallback;
  Integer w = 0;
  return TryStrToInt(Trim(widths[i]), w) && w > 0 ? w : fallback;
}

// The system scroll bar's width, made odd.
Integer OddScrollBarWidth() {
  return GetSystemMetrics(SM_CXVSCROLL) | 1;
}

bool IsLookup(TznFieldVision* vision) {
  return dynamic_cast<TLookupVision*>(vision) || dynamic_cast<TVLookupVision*>(vision);
}

}  // namespace

bool TbvDefPack::ListLayoutOf(TznFieldVision* vision, Integer editWidth, String& unique,
                              String& columns, String& widths, String& related,
                              bool& editWidthOnly) {
  editWidthOnly = false;
  related.clear();
  if (dynamic_cast<TStandardVision*>(vision)) {
    unique = "Value";
    columns = "Value";
    widths = IntToStr(editWidth);
    editWidthOnly = true;
    return true;
  }
  if (auto* lookup = dynamic_cast<TLookupVision*>(vision)) {
    TField* main = vtfDataList->Edit()->EditorFieldList()->MainField();
    unique = main ? main->LookupKeyFields() : String();
    columns = DropDownColumns(main ? main->LookupResultField() : String(), lookup->ListFields());
    widths = lookup->DropDownWidth();
    return true;
  }
  if (auto* vlookup = dynamic_cast<TVLookupVision*>(vision)) {
    TVLookupParams* params = vlookup->LookupParams();
    unique = params->KeyField();
    columns = DropDownColumns(params->LookupField(), params->DescriptionField());
    widths = vlookup->DropDownWidth();
    related = params->ImageField();
    if (vision->DrawImages()) visImagedText->SetImages(vision->Images());
    return true;
  }
  if (auto* states = dynamic_cast<TXStateVision*>(vision)) {
    unique = "FieldValue";
    columns = TXStateVision::ListFieldName();
    widths = IntToStr(editWidth);
    related = "ImageIndex";
    TImageList* images = states->DropDownImages();
    if (!images && vision->DrawImages()) images = vision->Images();
    visImagedText->SetImages(images);
    editWidthOnly = true;
    return true;
  }
  return false;
}

void TbvDefPack::BuildListColumns(const String& names, const String& widths, Integer editWidth,
                                  const String& related) {
  const std::vector<String> nameList = Tokens(names);
  const std::vector<String> widthList = Tokens(widths);
  TtlColumns* columns = tlDataListList->Columns();
  for (size_t i = 0; i < nameList.size(); ++i) {
    TtlColumn* column = columns->Add();
    column->SetFieldName(nameList[i]);
    column->SetWidth(WidthAt(widthList, i, editWidth));
    if (i == 0) column->SetVision(visImagedText);
  }
  visImagedText->SetRelatedFields(related.empty() ? String("?") : related);
}

void TbvDefPack::vtfListShow(TObject*) {
  TDBTabulon* grid = tlDataListList;
  grid->SetAutoColumnFit(false);
  grid->Columns()->Clear();
  grid->CurrentRecShot()->Reset();
  visImagedText->SetImages(nullptr);
  TznFieldVision* vision = vtfDataList->Vision();
  const Integer w = vtfDataList->EditControl()->Width();
  String unique, columns, widths, related;
  bool editWidthOnly = false;
  if (!vision || !ListLayoutOf(vision, w, unique, columns, widths, related, editWidthOnly)) return;
  grid->SetUniqueFields(unique);
  BuildListColumns(columns, widths, w, related);
  auto* toolVision = dynamic_cast<TToolFormVision*>(vision);
  const bool noFocus = toolVision && toolVision->DropDownOptions().Contains(ddoNoFocusRect);
  dsgDataList->SetFocusRectKind(noFocus ? frcNone : frcPersistentRow);
  grid->SetDataSource(vtfDataList->User()->GetListSource());
  grid->SyncToValue();
  if (!grid->CurrentRecShot()->IsSet() && grid->DataSet() && grid->DataSet()->Active())
    grid->DataSet()->First();
  const Integer columnCount = grid->Columns()->Count();
  dsgDataList->SetVertLines(columnCount > 1 ? clSilver : clNone);
  TvtfOptions options = vtfDataList->Options();
  if (editWidthOnly) {
    options.Include(tfoFixedWidth);
    vtfDataList->SetUseWidth(0);
    vtfDataList->SetWidth(w);
  } else {
    options.Exclude(tfoFixedWidth);
    Integer total = OddScrollBarWidth();
    for (Integer i = 0; i < columnCount; ++i) total += grid->Columns()->Items(i)->Width() + 1;
    vtfDataList->SetUseWidth(total);
    vtfDataList->SetWidth(total);
  }
  // The columns fit the width the list opens with, not the design width.
  grid->SetAutoColumnFit(true);
  const Integer records = ListRecords(grid);
  Integer rows = GetPropAsInteger(vision, "DropDownRows");
  options.Exclude(tfoFixedHeight);
  if (rows >= records) {
    rows = records;
    options.Include(tfoFixedHeight);
  }
  vtfDataList->SetOptions(options);
  grid->MeasureLines();
  vtfDataList->SetHeight(std::max(rows, kMinListRows) * grid->RowHeight());
}

void TbvDefPack::vtfListSizing(TObject*, TznSizingInfo& info) {
  TznToolFormBG* bg = vtfDataList->Background();
  const Integer rowHeight = tlDataListList->RowHeight();
  if (!bg || rowHeight <= 0) return;
  const Integer frame = bg->Height() - bg->ClientHeight();
  Integer rows = (info.Height - frame) / rowHeight;
  rows = std::max(std::min(rows, ListRecords(tlDataListList)), kMinListRows);
  info.Height = frame + rows * rowHeight;
}

void TbvDefPack::vtfListKeyDown(TObject*, Word& key, TShiftState shift) {
  if (!shift.Empty()) return;
  switch (key) {
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_UP:
    case VK_DOWN:
      tlDataListList->Perform(WM_KEYDOWN, key, 0);
      key = 0;
      return;
    default:
      return;
  }
}

void TbvDefPack::vtfListClose(TObject*) {
  TDBTabulon* grid = tlDataListList;
  TznFieldVision* vision = vtfDataList->Vision();
  if (vision && IsLookup(vision)) {
    // The widths the columns take without a scroll bar, in the width the
    // list was opened with less the bar.
    const TScrollStyle bars = grid->ScrollBars();
    const Integer width = vtfDataList->Width();
    grid->SetScrollBars(ssNone);
    vtfDataList->SetWidth(width - OddScrollBarWidth());
    grid->Columns()->SetClientWidth(grid->ClientWidth());
    grid->Columns()->AutoFit();
    String widths;
    for (Integer i = 0; i < grid->Columns()->Count(); ++i)
      widths += (i ? ";" : "") + IntToStr(grid->Columns()->Items(i)->Width());
    vtfDataList->SetWidth(width);
    grid->SetScrollBars(bars);
    SetPropAsString(vision, "DropDownWidth", widths);
  }
  if (vision) {
    const Integer rows = GetPropAsInteger(vision, "DropDownRows");
    const Integer shown = grid->RowHeight() > 0 ? grid->ClientHeight() / grid->RowHeight() : 0;
    if (shown != rows && (shown < ListRecords(grid) || rows < shown))
      SetPropAsInteger(vision, "DropDownRows", shown);
  }
  grid->SetDataSource(nullptr);
}

}  // namespace brevant
