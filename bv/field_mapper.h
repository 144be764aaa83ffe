// TznCustomFieldMapper: the contract of a field mapper, a component that
// proposes a vision and a caption for fields (by the field list of a
// column or control, or by field name and the grid's Attrs). Grids (and
// later edits and text displays) register with the mapper they use; columns
// import the entry's vision and caption as their OptionsMapping allow. The
// suite holds no concrete mapper: applications derive one.
#pragma once

#include "bv/field_vision_types.h"
#include "classes/component.h"

namespace brevant {

class TtlFieldList;

// What a mapper proposes for one field.
class TznMappingEntry {
 public:
  virtual ~TznMappingEntry() = default;
  virtual TznFieldVision* Vision() const = 0;
  virtual String Caption() const = 0;
};

class TznCustomFieldMapper : public TComponent {
  BV_CLASS(TznCustomFieldMapper, TComponent)
 public:
  using TComponent::TComponent;
  // A control's Mapper property came to this mapper, or left it.
  virtual void RegisterConsumer(TComponent* consumer) = 0;
  virtual void UnregisterConsumer(TComponent* consumer) = 0;
  // The entry for a column's or control's field list, nil when none.
  virtual TznMappingEntry* EntryFor(TtlFieldList* fieldList) = 0;
  // The entry for a field name and the grid's Attrs, nil when none.
  virtual TznMappingEntry* EntryForName(const String& fieldName, const String& attrs) = 0;
};

}  // namespace brevant
