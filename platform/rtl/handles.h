// The object handle table: where a value must hold an object reference in
// 32 bits (bookmarks of object datasets, component properties read as
// integers, message parameters that name an object), the object is given a
// handle here and found again by it. Handles are never 0 and are not reused
// while the process runs, so a stale handle finds nothing instead of a
// different object.
#pragma once

#include "rtl/types.h"

namespace brevant {

// The object's handle, registering it on first use.
Integer ObjectToHandle(const void* obj);
// The object of a handle, or nullptr when the handle is unknown or released.
void* HandleToObject(Integer handle);
// Drops the object's handle; an object that was never registered is ignored.
// Objects that registered must call this before they go away.
void ReleaseObjectHandle(const void* obj);
// Number of live handles (for leak checks in tests).
std::size_t ObjectHandleCount();

}  // namespace brevant
