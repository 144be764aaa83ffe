#include "demo/modules/dm3.h"

#include "bv/db_edit.h"
#include "bv_db/obj_dataset.h"
#include "bv_rtm/bv_errors.h"
#include "bv_rtm/bv_strings.h"
#include "bv_std/list_visions_standard.h"
#include "bv_std/numeric_vision.h"
#include "bv_vtf/tool_form.h"
#include "bv_vtf/tool_form_bg.h"
#include "classes/rtti_builder.h"
#include "controls/application.h"
#include "controls/comctrls.h"
#include "controls/extctrls.h"
#include "controls/form_resources.h"
#include "controls/richedit.h"
#include "controls/stdctrls.h"
#include "db/datasource.h"
#include "graphics/font.h"

namespace brevant {

BV_PUBLISH(TRichEditAttrs, TPersistent) {
  p.Property("FontName", &TRichEditAttrs::FontName, &TRichEditAttrs::SetFontName);
  p.Property("FontSize", &TRichEditAttrs::FontSize, &TRichEditAttrs::SetFontSize);
}

String TRichEditAttrs::FontName() const {
  return edit_ ? edit_->SelAttributes()->Name() : String();
}

void TRichEditAttrs::SetFontName(const String& value) {
  if (edit_ && !value.empty()) edit_->SelAttributes()->SetName(value);
}

Integer TRichEditAttrs::FontSize() const {
  return edit_ ? edit_->SelAttributes()->Size() : 0;
}

void TRichEditAttrs::SetFontSize(Integer value) {
  if (value < 1) throw EBVError(bvres::SValueNotPositive, {value});
  if (edit_) edit_->SelAttributes()->SetSize(value);
}

BV_PUBLISH(TDM3, TForm) {
  p.Method<TNotifyEvent, &TDM3::FormCreate>("FormCreate");
  p.Method<TNotifyEvent, &TDM3::FormDestroy>("FormDestroy");
  p.Method<TNotifyEvent, &TDM3::EditSelectionChange>("EditSelectionChange");
  p.Method<TNotifyEvent, &TDM3::vtfDemoShow>("vtfDemoShow");
  p.Method<TNotifyEvent, &TDM3::vtfDemoClose>("vtfDemoClose");
  p.Method<TNotifyEvent, &TDM3::btnStyleClick>("btnStyleClick");
}

TDM3::~TDM3() = default;

void TDM3::Loaded() {
  TForm::Loaded();
  BindComponent(this, "vtfDemo", vtfDemo);
  BindComponent(this, "pnRtfCaption", pnRtfCaption);
  BindComponent(this, "pnToolBar", pnToolBar);
  BindComponent(this, "edFontName", edFontName);
  BindComponent(this, "edFontSize", edFontSize);
  BindComponent(this, "btnBold", btnBold);
  BindComponent(this, "btnItalic", btnItalic);
  BindComponent(this, "btnUnderline", btnUnderline);
  BindComponent(this, "Edit", Edit);
  BindComponent(this, "StatusBar", StatusBar);
  BindComponent(this, "datAttrs", datAttrs);
  BindComponent(this, "dsAttrs", dsAttrs);
  BindComponent(this, "visFontNames", visFontNames);
  BindComponent(this, "visFontSize", visFontSize);
}

void TDM3::FormCreate(TObject*) {
  attrs_ = MakeObject<TRichEditAttrs>(Edit);
  datAttrs->SetObjectRef(attrs_.get());
  datAttrs->Open();
  visFontNames->SetPickList(Screen()->Fonts());
}

// The dataset lets go of the object before it goes.
void TDM3::FormDestroy(TObject*) {
  datAttrs->Close();
  datAttrs->SetObjectRef(nullptr);
  attrs_.reset();
}

void TDM3::EditSelectionChange(TObject*) {
  if (datAttrs && datAttrs->Active()) datAttrs->Refresh();
}

void TDM3::vtfDemoShow(TObject*) {
  StatusBar->SetParent(vtfDemo->Background());
  vtfDemo->SetWidth(0);
  if (TWinControl* edit = vtfDemo->EditControl()) {
    Edit->DefAttributes()->Assign(edit->Font());
    Edit->SelAttributes()->Assign(edit->Font());
  }
}

void TDM3::vtfDemoClose(TObject*) {
  StatusBar->SetParent(vtfDemo);
}

void TDM3::btnStyleClick(TObject* sender) {
  static constexpr TFontStyle kStyles[] = {fsBold, fsItalic, fsUnderline};
  const Integer tag = static_cast<TComponent*>(sender)->Tag();
  if (tag < 0 || tag > 2) return;
  TFontStyles style = Edit->SelAttributes()->Style();
  if (style.Contains(kStyles[tag]))
    style.Exclude(kStyles[tag]);
  else
    style.Include(kStyles[tag]);
  Edit->SelAttributes()->SetStyle(style);
}

}  // namespace brevant
