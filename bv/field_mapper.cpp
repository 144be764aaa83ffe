#include "bv/field_mapper.h"

#include "classes/rtti_builder.h"

namespace brevant {

BV_IMPLEMENT_ABSTRACT_CLASS(TznCustomFieldMapper, TComponent)

}  // namespace brevant
