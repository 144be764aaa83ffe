// The form resource registry and reading a resource into its root.
#include "controls/form_resources.h"

#include <map>

#include "classes/component.h"
#include "classes/filer.h"
#include "classes/formstream.h"
#include "rtl/exceptions.h"
#include "rtl/format.h"
#include "rtl/streams.h"
#include "rtl/strutils.h"

namespace brevant {

namespace {
std::map<String, String>& Registry() {
  static std::map<String, String> registry;
  return registry;
}

// The root's name from the first "object Name: Class" line ("" if none).
String RootNameOf(const String& text) {
  std::size_t i = text.find_first_not_of(" \t\r\n");
  if (i == String::npos) return String();
  std::size_t eol = text.find('\n', i);
  String line = Trim(text.substr(i, eol == String::npos ? String::npos : eol - i));
  std::size_t sp = line.find(' ');
  if (sp == String::npos) return String();
  String keyword = line.substr(0, sp);
  if (!SameText(keyword, "object") && !SameText(keyword, "inherited") &&
      !SameText(keyword, "inline"))
    return String();
  std::size_t colon = line.find(':', sp);
  if (colon == String::npos) return String();
  return Trim(line.substr(sp + 1, colon - sp - 1));
}
}  // namespace

void RegisterFormResource(const String& className, const String& text) {
  Registry()[UpperCase(className)] = text;
}

void UnregisterFormResource(const String& className) {
  Registry().erase(UpperCase(className));
}

const String* FindFormResource(const String& className) {
  auto it = Registry().find(UpperCase(className));
  return it == Registry().end() ? nullptr : &it->second;
}

void ReadFormResource(TComponent* root, const String& text) {
  if (root->Name().empty()) {
    String name = RootNameOf(text);
    if (IsValidIdent(name)) {
      String unique = name;
      for (Integer n = 1;
           FindGlobalRoot(unique) || (root->Owner() && root->Owner()->FindComponent(unique)); ++n)
        unique = name + "_" + std::to_string(n);
      root->SetName(unique);
    }
  }
  TStringStream stream(text);
  ReadComponent(stream, root);
}

TObject* FindFormComponent(TComponent* root, const String& name) {
  TComponent* c = root->FindComponent(name);
  if (!c) throw EComponentError(Format("%s has no component named %s", {root->ClassName(), name}));
  return c;
}

}  // namespace brevant
