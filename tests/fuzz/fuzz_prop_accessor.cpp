// Feeds arbitrary text and bytes to every published property of the sample
// component through the property accessor: as text, as an integer, as a
// component handle, as a blob and as a value of another type. Each write
// either succeeds or raises the value layer's or the property's error; the
// transfer buffer is empty afterwards, read-only properties are untouched,
// a component property holds nil or a live component, and every property
// reads back afterwards without crashing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "bv_db/prop_accessor.h"
#include "bv_db/univalue.h"
#include "classes/typinfo.h"
#include "prop_samples.h"
#include "rtl/exceptions.h"
#include "rtl/handles.h"

using namespace brevant;

namespace {

// The sample's properties the accessor can be asked for.
const std::vector<String>& PropertyNames() {
  static const std::vector<String> names = [] {
    std::vector<String> list;
    for (const TPropInfo* p : GetSortedPropList(TPropSample::StaticClass()))
      list.push_back(p->Name);
    return list;
  }();
  return names;
}

Integer IntegerOf(const String& bytes) {
  uint32_t v = 0;
  std::memcpy(&v, bytes.data(), std::min<std::size_t>(bytes.size(), sizeof v));
  return static_cast<Integer>(v);
}

// One write, chosen by op; errors are the expected answer to bad input.
void Write(TznPropAccessor& a, uint8_t op, const String& text, TPropSample* buddy) {
  switch (op % 5) {
    case 0:
      a.SetAsString(text);
      return;
    case 1:
      a.SetAsInteger(IntegerOf(text));
      return;
    case 2:
      a.SetAsInteger(ObjectToHandle(buddy) + (text.empty() ? 0 : text[0] % 3));
      return;
    case 3: {
      TznUniValue blob(false, false);
      blob.SetDataType(ftBlob);
      blob.WriteRaw(text.data(), static_cast<Integer>(text.size()));
      a.Assign(&blob);
      return;
    }
    default: {
      TznUniValue other(true, false);
      other.SetAsString(text);
      if (!text.empty())
        other.SetDataType(static_cast<TFieldType>(static_cast<uint8_t>(text[0]) % (ftFMTBcd + 1)));
      a.Assign(&other);
      return;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const std::vector<String>& names = PropertyNames();
  const String text(reinterpret_cast<const char*>(data + 2), size - 2);
  TObjectPtr<TPropSample> sample(Create<TPropSample>(nullptr));
  TObjectPtr<TPropSample> buddy(Create<TPropSample>(nullptr));

  TznPropAccessor a(sample.get(), names[data[0] % names.size()]);
  try {
    Write(a, data[1], text, buddy.get());
  } catch (const Exception&) {
  }
  if (!a.Buffer()->IsNull()) std::abort();  // emptied on every path
  if (sample->Total() != 42) std::abort();
  if (sample->Buddy() && sample->Buddy() != buddy.get()) std::abort();

  for (const String& name : names) {
    TznPropAccessor r(sample.get(), name);
    try {
      TznUniValue v(false, false);
      v.SetDataType(ftString);
      r.AssignTo(&v);
      (void)r.AsString();
      (void)r.IsEmptyValue();
    } catch (const Exception&) {
    }
  }
  return 0;
}
