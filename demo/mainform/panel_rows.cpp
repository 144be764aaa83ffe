// The rows of a property panel (see panel_rows.h).
#include "demo/mainform/panel_rows.h"

#include <algorithm>

#include "bv/db_edit.h"
#include "bv_db/data_providers.h"
#include "bv_db/obj_dataset.h"
#include "bv_std/blob_visions.h"
#include "bv_std/numeric_vision.h"
#include "bv_std/pack.h"
#include "bv_std/state_visions.h"
#include "bv_std/state_visions_xstate.h"
#include "classes/typinfo.h"
#include "controls/extctrls.h"
#include "controls/stdctrls.h"
#include "db/datasource.h"
#include "db/field.h"
#include "demo/modules/demo_modules.h"
#include "demo/modules/dm.h"
#include "demo/modules/dm2.h"
#include "rtl/stringlist.h"
#include "rtl/strutils.h"

namespace brevant {

namespace {

// The width left for the vertical scroll bar beside the edits.
constexpr Integer kScrollBarRoom = 20;
// The narrowest an edit becomes on a narrow host.
constexpr Integer kMinEditWidth = 100;
// The scroll box's size before its host has one.
constexpr Integer kNominalWidth = 360;
constexpr Integer kNominalHeight = 200;

// A stock vision of the default pack by its component name.
TznFieldVision* PackVision(const char* name) {
  TbvDefPack* pack = DefPack();
  return pack ? dynamic_cast<TznFieldVision*>(pack->FindComponent(name)) : nullptr;
}

// The state vision of DM2 that names the values of an enumeration type.
TznFieldVision* EnumVision(const String& typeName) {
  TDM2* dm2 = DM2();
  const struct {
    const char* Type;       // the enumeration's type name
    TXStateVision* Vision;  // the vision captioning its values
  } kinds[] = {
      {"TLiteDsgnTitleStyle", dm2->visLiteTitleStyle},
      {"TznDefAlignment", dm2->visAlignment},
      {"TznButtonStyle", dm2->visButtonStyle},
      {"TznTimeEditFormatKind", dm2->visTimeEditFormatKind},
      {"TcbvBoxStyle", dm2->visCheckBoxStyle},
      {"TScrollStyle", dm2->visScrollBars},
      {"TfvTextBlobMarker", dm2->visBlobMarkerKind},
      {"TfvSurfaceKind", dm2->visSurfaceKind},
      {"TvfNumericDropDownKind", dm2->visNumDropDownKind},
  };
  for (const auto& kind : kinds)
    if (SameText(typeName, kind.Type)) return kind.Vision;
  return nullptr;
}

// Whether name ends with tail, ignoring case.
bool EndsWith(const String& name, const char* tail) {
  const String t(tail);
  return name.size() >= t.size() && SameText(name.substr(name.size() - t.size()), t);
}

// Integers that size something (never negative, never empty) take DM2's
// length spin; other integers the pack's spin.
bool IsSizeProperty(const String& name) {
  for (const char* tail : {"Length", "Rows", "Width", "Height"})
    if (EndsWith(name, tail)) return true;
  return false;
}

// A string whose value spans lines (a prompt of several lines).
bool IsMultiLine(TField* field) {
  const bool text = field->DataType() == ftString || field->DataType() == ftWideString;
  return text && field->AsString().find_first_of("\r\n") != String::npos;
}

Integer EditHeightFor(TznFieldVision* vision) {
  if (!vision) return kPanelEditHeight;
  if (vision == PackVision("Image")) return 2 * kPanelEditHeight;
  if (vision == PackVision("Memo") || vision == DM2()->visMemoLoc) return 3 * kPanelEditHeight;
  return kPanelEditHeight;
}

// Stretches every edit of the box to its right margin (the room of the
// vertical scroll bar), so the rows follow the host's width.
void FitEditWidths(TScrollBox* box) {
  for (Integer i = 0; i < box->ControlCount(); ++i)
    if (auto* edit = dynamic_cast<TDBQuentaEdit*>(box->Controls(i)))
      edit->SetWidth(std::max(kMinEditWidth, box->ClientWidth() - edit->Left() - kScrollBarRoom));
}

}  // namespace

TznFieldVision* PanelVisionFor(TDataSource* source, const String& field) {
  auto* dataSet = dynamic_cast<TObjDataSet*>(source ? source->DataSet() : nullptr);
  if (!dataSet) return nullptr;
  TField* f = dataSet->FindField(field);
  if (!f) return nullptr;
  if (f->DataType() == ftBoolean) return DM()->visSoftCheckBox;
  TPersistent* shown = ShownObject(dataSet->ObjectRef(), dataSet->Path());
  const TPropInfo* prop = shown ? GetPropInfo(shown, field) : nullptr;
  if (!prop || !prop->PropType) return nullptr;
  const TTypeInfo* type = prop->PropType;
  if (SameText(type->Name, "TColor")) return PackVision("ColorPicker");
  if (SameText(type->Name, "TDate") || SameText(type->Name, "TDateTime"))
    return PackVision("Calendar");
  if (SameText(type->Name, "TTime")) return PackVision("TimeShort");
  switch (type->Kind) {
    case tkEnumeration:
      return EnumVision(type->Name);
    case tkInteger:
    case tkInt64:
      return IsSizeProperty(prop->Name) ? static_cast<TznFieldVision*>(DM2()->visMaxLen)
                                        : PackVision("NumericSpin");
    case tkClass: {
      const TClass c = type->ClassType();
      if (c && c->InheritsFrom(TStrings::StaticClass())) return DM2()->visMemoLoc;
      if (f->DataType() == ftBlob || f->DataType() == ftGraphic) return PackVision("Image");
      return nullptr;
    }
    default:
      return f->DataType() == ftMemo || IsMultiLine(f) ? PackVision("Memo") : nullptr;
  }
}

TScrollBox* BuildPropertyRows(TComponent* owner, TWinControl* host, const String& prefix,
                              TDataSource* source, const std::vector<const char*>& fields) {
  // A host not shown yet has no size: the box starts at a nominal one and
  // the edits follow the width it is given later.
  auto* box = Create<TScrollBox>(owner);
  box->SetName(prefix + "Box");
  box->SetBorderStyle(bsNone);
  box->SetBounds(0, 0, std::max(host->ClientWidth(), kNominalWidth),
                 std::max(host->ClientHeight(), kNominalHeight));
  box->SetAlign(alClient);
  box->SetParent(host);
  TDataSet* dataSet = source->DataSet();
  const Integer editLeft = kPanelLabelWidth + 8;
  const Integer width = std::max(kMinEditWidth, box->ClientWidth() - editLeft - kScrollBarRoom);
  Integer top = kPanelRowGap;
  for (const char* field : fields) {
    if (!dataSet || !dataSet->FindField(field)) continue;
    TznFieldVision* vision = PanelVisionFor(source, field);
    const bool boolean = dataSet->FieldByName(field)->DataType() == ftBoolean;
    const Integer height = EditHeightFor(vision);
    auto* edit = Create<TDBQuentaEdit>(owner);
    edit->SetName(prefix + "_" + field);
    if (boolean) {
      edit->SetBounds(8, top, editLeft - 8 + width, height);
      edit->SetCaption(field);
    } else {
      auto* label = Create<TLabel>(owner);
      label->SetName(prefix + "_" + field + "Label");
      label->SetBounds(8, top + 3, kPanelLabelWidth, 16);
      label->SetCaption(String(field) + ":");
      label->SetFocusControl(edit);
      label->SetParent(box);
      edit->SetBounds(editLeft, top, width, height);
    }
    edit->SetParent(box);
    edit->SetVision(vision);
    edit->SetDataField(field);
    edit->SetDataSource(source);
    top += height + kPanelRowGap;
  }
  box->OnResize = TNotifyEvent::FromCallable([box](TObject*) { FitEditWidths(box); });
  box->UpdateScrollBars();
  return box;
}

}  // namespace brevant
