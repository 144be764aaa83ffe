#include "bv/field_mapper.h"

#include "classes/rtti_builder.h"

namespace brevant {

BV_ENUM_INFO(TtlMappingOption, eioImportCaption, eioImportDomain)
BV_SET_INFO(TtlMappingOptions, TtlMappingOption)

BV_PUBLISH_ABSTRACT(TznCustomFieldMapper, TComponent) {}

}  // namespace brevant
