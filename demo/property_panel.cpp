// The gallery's property panel (see property_panel.h).
#include "property_panel.h"

#include "backend/codes.h"
#include "bv/columns.h"
#include "bv/designer.h"
#include "bv/tabulon.h"
#include "bv_db/obj_dataset.h"
#include "controls/edits.h"
#include "controls/extctrls.h"
#include "controls/forms.h"
#include "controls/stdctrls.h"
#include "db/datasource.h"

namespace brevant {

namespace {

// The properties the panel shows, one column each.
constexpr const char* kShownProperties[] = {"Caption", "Left",    "Top",     "Width",
                                            "Height",  "Enabled", "Visible", "Hint"};

TDBTabulon* AddGrid(TForm* gallery, TWinControl* page, TDataSource* source) {
  auto* grid = Create<TDBTabulon>(gallery);
  grid->SetName("PropertyGrid");
  grid->SetBounds(8, 36, 460, 120);
  grid->SetParent(page);
  for (const char* name : kShownProperties) grid->Columns()->Add()->SetFieldName(name);
  grid->SetDataSource(source);
  return grid;
}

// An edit for the Caption property: Return writes its text through the
// dataset (which posts it into the control), Escape shows the stored value
// again.
void AddCaptionEditor(TForm* gallery, TWinControl* page, TObjDataSet* dataSet) {
  auto* label = Create<TLabel>(gallery);
  label->SetName("CaptionLabel");
  label->SetBounds(8, 168, 60, 16);
  label->SetCaption("Caption:");
  label->SetParent(page);
  auto* edit = Create<TEdit>(gallery);
  edit->SetName("CaptionEdit");
  edit->SetBounds(72, 164, 200, 21);
  edit->SetParent(page);
  edit->SetText(dataSet->FieldByName("Caption")->AsString());
  edit->OnKeyDown = TKeyEvent::FromCallable([edit, dataSet](TObject*, Word& key, TShiftState) {
    TField* caption = dataSet->FieldByName("Caption");
    if (key == VK_RETURN) {
      dataSet->Edit();
      caption->SetAsString(edit->Text());
      dataSet->Post();
      key = 0;
    } else if (key == VK_ESCAPE) {
      edit->SetText(caption->AsString());
      key = 0;
    }
  });
}

}  // namespace

void BuildPropertyPage(TForm* gallery, TWinControl* page) {
  auto* target = static_cast<TControl*>(gallery->FindComponent("Button1"));
  if (!target) return;

  auto* dataSet = Create<TObjDataSet>(gallery);
  dataSet->SetName("PropertyDataSet");
  dataSet->SetCompRef(target);
  auto* source = Create<TDataSource>(gallery);
  source->SetName("PropertySource");
  source->SetDataSet(dataSet);

  auto* label = Create<TLabel>(gallery);
  label->SetName("PropertyLabel");
  label->SetBounds(8, 12, 460, 16);
  label->SetCaption("Published properties of Button1, edited live");
  label->SetParent(page);
  AddGrid(gallery, page, source);
  dataSet->Open();
  AddCaptionEditor(gallery, page, dataSet);
}

}  // namespace brevant
