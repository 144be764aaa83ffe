// TznCustomFieldMapper: the contract of a field mapper, a component that
// knows, by field, which vision and which caption a consumer (a grid, an
// edit, a text display) should take. The suite holds no concrete mapper;
// applications derive one. TtlMappingOptions say what a standalone control
// lets its mapper set.
#pragma once

#include "classes/classes_fwd.h"
#include "classes/component.h"
#include "rtl/sets.h"

namespace brevant {

class TtlFieldList;
class TznFieldVision;

// What a mapper gives for one field; how entries are kept is the mapper's
// affair.
struct TznMappingEntry {
  TznFieldVision* Vision = nullptr;  // the vision to use (not owned)
  String Caption;                    // the caption to show
};

class TznCustomFieldMapper : public TComponent {
  BV_CLASS(TznCustomFieldMapper, TComponent)
 public:
  using TComponent::TComponent;
  // A control's Mapper became this mapper.
  virtual void RegisterConsumer(TComponent* consumer) = 0;
  // A control's Mapper left this mapper.
  virtual void UnregisterConsumer(TComponent* consumer) = 0;
  // The entry for a consumer's field list, nil when there is none.
  virtual const TznMappingEntry* EntryForFields(TtlFieldList* fields) = 0;
  // The entry for a field name under a grid's Attrs, nil when none.
  virtual const TznMappingEntry* EntryForName(const String& fieldName, const String& attrs) = 0;
};

// What a standalone control's mapper may import.
enum TtlMappingOption : Byte { eioImportCaption, eioImportDomain };
using TtlMappingOptions = TSet<TtlMappingOption>;
BV_DECLARE_ENUM_INFO(TtlMappingOption)
BV_DECLARE_ENUM_INFO(TtlMappingOptions)

}  // namespace brevant
