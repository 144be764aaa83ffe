#include "rtl/handles.h"

#include <unordered_map>

#include "rtl/exceptions.h"

namespace brevant {

namespace {

// Both directions of the mapping. Single-threaded, as the whole UI layer.
struct HandleTable {
  std::unordered_map<const void*, Integer> byObject;
  std::unordered_map<Integer, const void*> byHandle;
  Integer next = 1;
};

HandleTable& Table() {
  static HandleTable* table = new HandleTable;  // never destroyed: objects may outlive statics
  return *table;
}

}  // namespace

Integer ObjectToHandle(const void* obj) {
  if (!obj) return 0;
  HandleTable& t = Table();
  auto it = t.byObject.find(obj);
  if (it != t.byObject.end()) return it->second;
  if (t.next == INT32_MAX) throw EOutOfMemory("Object handle table exhausted");
  Integer h = t.next++;
  t.byObject.emplace(obj, h);
  t.byHandle.emplace(h, obj);
  return h;
}

void* HandleToObject(Integer handle) {
  HandleTable& t = Table();
  auto it = t.byHandle.find(handle);
  return it == t.byHandle.end() ? nullptr : const_cast<void*>(it->second);
}

void ReleaseObjectHandle(const void* obj) {
  HandleTable& t = Table();
  auto it = t.byObject.find(obj);
  if (it == t.byObject.end()) return;
  t.byHandle.erase(it->second);
  t.byObject.erase(it);
}

std::size_t ObjectHandleCount() {
  return Table().byObject.size();
}

}  // namespace brevant
