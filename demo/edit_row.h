// One labelled data-aware edit per row of a gallery page: the label
// "<field>:" at the left, the edit bound to field of source beside it.
#pragma once

#include "bv/db_edit.h"
#include "controls/forms.h"
#include "controls/stdctrls.h"

namespace brevant {

// Adds the label and the edit named name in row `row` (30 pixels apart);
// vision nil keeps the default vision.
inline void AddEditRow(TForm* gallery, TWinControl* page, TDataSource* source, Integer row,
                       const char* field, const char* name, TznFieldVision* vision) {
  auto* label = Create<TLabel>(gallery);
  label->SetName(String(name) + "Label");
  label->SetBounds(8, 12 + row * 30, 70, 16);
  label->SetCaption(String(field) + ":");
  label->SetParent(page);
  auto* edit = Create<TDBQuentaEdit>(gallery);
  edit->SetName(name);
  edit->SetBounds(84, 8 + row * 30, 160, 21);
  edit->SetParent(page);
  if (vision) edit->SetVision(vision);
  edit->SetDataSource(source);
  edit->SetDataField(field);
}

}  // namespace brevant
