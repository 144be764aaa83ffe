// The published properties both lookup kinds share; included by their
// sources only (it needs the type-info builder).
#pragma once

#include "bv_vtf/tool_form.h"
#include "classes/rtti_builder.h"
#include "db/datasource.h"
#include "graphics/imagelist.h"

namespace brevant {

// The properties both lookup kinds publish.
template <class V>
void PublishLookupCommon(TPublisher<V>& p) {
  p.Property("Images", &V::Images, &V::SetImages);
  p.Property("Alignment", &V::Alignment, &V::SetAlignment).Default(talDefault);
  p.Property("AlignImage", &V::AlignImage, &V::SetAlignImage).Default(aiDefault);
  p.Property("DrawImages", &V::DrawImages, &V::SetDrawImages).Default(1);
  p.Property("EnableButton", &V::EnableButton, &V::SetEnableButton).Default(1);
  p.Property("ComboBoxStyle", &V::ComboBoxStyle, &V::SetComboBoxStyle).Default(0);
  p.Property("EditReadOnly", &V::EditReadOnly, &V::SetEditReadOnly).Default(0);
  p.Property("Nullable", &V::Nullable, &V::SetNullable).Default(1);
  p.Property("DropDown", &V::DropDown, &V::SetDropDown);
  p.Property("DropDownOptions", &V::DropDownOptions, &V::SetDropDownOptions)
      .Default(TfvDropDownOptions{});
  p.Property("DropDownRows", &V::DropDownRows, &V::SetDropDownRows).Default(7);
  p.Property("EnableDropDown", &V::EnableDropDown, &V::SetEnableDropDown).Default(1);
  p.Property("DropDownWidth", &V::DropDownWidth, &V::SetDropDownWidth);
  p.Property("ClearShortCut", &V::ClearShortCut, &V::SetClearShortCut).Default(0);
  p.Event("OnNewKey", static_cast<TfvLkpNewKeyEvent V::*>(&V::OnNewKey), "TfvLkpNewKeyEvent");
}

}  // namespace brevant
