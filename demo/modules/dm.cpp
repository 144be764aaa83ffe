#include "demo/modules/dm.h"

#include "bv/field_list.h"
#include "bv/vision_painter.h"
#include "bv_std/blob_visions_dropdown.h"
#include "bv_std/list_visions.h"
#include "bv_std/list_visions_standard.h"
#include "bv_std/lite_designer.h"
#include "bv_std/lookup_visions_v.h"
#include "bv_std/numeric_vision.h"
#include "bv_std/standard_designer.h"
#include "bv_std/state_visions.h"
#include "classes/rtti_builder.h"
#include "controls/form_resources.h"
#include "controls/os_services.h"
#include "controls/wincore.h"
#include "db/client_dataset.h"
#include "db/datasource.h"
#include "db/field.h"
#include "db/provider.h"
#include "db/sqlite_table.h"
#include "demo/modules/demo_images.h"
#include "demo/modules/mail_address.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/colors.h"
#include "graphics/font.h"
#include "graphics/imagelist.h"

namespace brevant {

BV_PUBLISH(TDM, TDataModule) {
  p.Method<TNotifyEvent, &TDM::DataModuleCreate>("DataModuleCreate");
  p.Method<TfvDrawEvent, &TDM::visCoolCountDraw>("visCoolCountDraw");
  p.Method<TfvGetExtValueEvent, &TDM::visBalanceGetValue>("visBalanceGetValue");
  p.Method<TfvDrawEvent, &TDM::visBalanceDraw>("visBalanceDraw");
  p.Method<TfvNotifyEvent, &TDM::visEmailButtonClick>("visEmailButtonClick");
  p.Method<TfvNotifyEvent, &TDM::visPhoneButtonClick>("visPhoneButtonClick");
}

void TDM::Loaded() {
  TDataModule::Loaded();
  BindComponent(this, "datIndustry", datIndustry);
  BindComponent(this, "datVendorsSource", datVendorsSource);
  BindComponent(this, "datVendorsSource2", datVendorsSource2);
  BindComponent(this, "VendorsProvider", VendorsProvider);
  BindComponent(this, "VendorsProvider2", VendorsProvider2);
  BindComponent(this, "datVendors", datVendors);
  BindComponent(this, "datPreferred", datPreferred);
  BindComponent(this, "datNonPreffered", datNonPreffered);
  BindComponent(this, "dsVendors", dsVendors);
  BindComponent(this, "dsPreferred", dsPreferred);
  BindComponent(this, "dsNonPreffered", dsNonPreffered);
  BindComponent(this, "dsVendorsSource", dsVendorsSource);
  BindComponent(this, "dsIndustry", dsIndustry);
  BindComponent(this, "dsgnMain", dsgnMain);
  BindComponent(this, "dsgnMainLite", dsgnMainLite);
  BindComponent(this, "visCheckBox", visCheckBox);
  BindComponent(this, "visSoftCheckBox", visSoftCheckBox);
  BindComponent(this, "visAddress", visAddress);
  BindComponent(this, "visCoolCount", visCoolCount);
  BindComponent(this, "visBalance", visBalance);
  BindComponent(this, "visDebCred", visDebCred);
  BindComponent(this, "visEmail", visEmail);
  BindComponent(this, "visPhone", visPhone);
  BindComponent(this, "visUSState", visUSState);
  BindComponent(this, "visPicture", visPicture);
  BindComponent(this, "visIndustry", visIndustry);
  BindComponent(this, "imgGrid", imgGrid);
  BindComponent(this, "imgFieldVisions", imgFieldVisions);
  BindComponent(this, "imgBVMisc", imgBVMisc);
  BindComponent(this, "imgCools", imgCools);
  BindComponent(this, "imgIndustry", imgIndustry);
}

void TDM::DataModuleCreate(TObject*) {
  AddGridIcons(imgGrid);
  AddFieldVisionIcons(imgFieldVisions);
  AddMiscIcons(imgBVMisc);
  AddCoolStar(imgCools);
  AddIndustryIcons(imgIndustry);
  DrawMailGlyph(visEmail->ButtonGlyph());
  DrawPhoneGlyph(visPhone->ButtonGlyph());
}

void TDM::visCoolCountDraw(TObject*, TtlFieldList* fields, TtlPainter* painter) {
  TField* count = fields->Fields(0);
  if (count && !count->IsNull() && count->AsInteger() > 50) painter->SetImageIndex(0);
}

bool VendorBalance(TtlFieldList* fields, Extended& value) {
  TField* debit = fields->Fields(1);
  TField* credit = fields->Fields(2);
  if (!debit || !credit) return false;
  value = static_cast<Extended>(debit->AsFloat()) - static_cast<Extended>(credit->AsFloat());
  return true;
}

void TDM::visBalanceGetValue(TObject*, TtlFieldList* fields, Extended& value, bool& isNull) {
  isNull = !VendorBalance(fields, value);
}

void TDM::visBalanceDraw(TObject*, TtlFieldList* fields, TtlPainter* painter) {
  Extended balance = 0;
  if (VendorBalance(fields, balance) && balance > 0) painter->Canvas()->Font()->SetColor(clRed);
}

// The address goes to the mail program percent-encoded, and only when it
// is one plain address (see mail_address.h).
void TDM::visEmailButtonClick(TObject*, TtlFieldList* fields) {
  IznVisionEditor* editor = fields->Editor();
  if (!editor) return;
  const String address = Trim(editor->EditorText());
  if (address.empty()) return;
  ShellOpen(MailToUrl(address, "request"));
}

// A phone number is no mail address: the button copies it instead.
void TDM::visPhoneButtonClick(TObject*, TtlFieldList* fields) {
  IznVisionEditor* editor = fields->Editor();
  if (!editor) return;
  const String number = editor->EditorText();
  // An empty masked edit still shows its literals: nothing to copy.
  if (number.find_first_of("0123456789") != String::npos) SetClipboardText(number);
}

}  // namespace brevant
