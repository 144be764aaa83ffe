// Objects as strings in the form-stream format (binary or text form):
// components, collections and any object with published properties.
// Applications keep the strings wherever they like (files, blob fields).
#pragma once

#include "classes/component.h"

namespace brevant {

// Lets a non-component object be written as the root of a form stream.
// Made without owner or name for one conversion; never frees Data.
class TUniDataStorage : public TComponent {
  BV_CLASS(TUniDataStorage, TComponent)
 public:
  using TComponent::TComponent;

  const String& Description() const { return description_; }
  void SetDescription(const String& v) { description_ = v; }
  TPersistent* Data() const { return data_; }
  void SetData(TPersistent* v) { data_ = v; }

 private:
  String description_;
  TPersistent* data_ = nullptr;
};

// Component written as the root of a form stream, as text or binary bytes.
String ComponentToStr(TComponent* component, bool asText);
// Reads text (text form when fromText, else binary) into component; the
// stream's class name is not checked. Nothing happens for an empty text
// (answers nullptr); otherwise answers component. Raises EReadError
// (EParserError with the line for malformed text); component keeps what
// was read before the failure.
TComponent* StrToComponent(TComponent* component, const String& text, bool fromText);

// A component as ComponentToStr; any other object wrapped in a
// TUniDataStorage (its state written under the property Data).
String ObjectToStr(TPersistent* object, const String& description, bool asText);
// Reads into object as written by ObjectToStr; nothing for an empty text.
// Text read into the wrapper may not hold child objects (EReadError): such
// a string would otherwise create components of any registered class.
void StrToObject(TPersistent* object, const String& text, bool fromText);

}  // namespace brevant
