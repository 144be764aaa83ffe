// TtlPickList: the values a standard vision offers, a string list that
// knows its vision; and the pick list types (plain, sorted, most recently
// used first).
#pragma once

#include "classes/typinfo.h"
#include "rtl/stringlist.h"

namespace brevant {

class TStandardVision;

// pltDefault and pltMRU keep the insertion order (pltMRU moves each posted
// value to the front); the sorted types keep the list sorted.
enum TfvPickListType : Byte { pltDefault, pltSorted, pltMRU, pltSortedMRU };
BV_DECLARE_ENUM_INFO(TfvPickListType)

class TtlPickList : public TStringList {
  BV_CLASS(TtlPickList, TStringList)
 public:
  explicit TtlPickList(TStandardVision* vision = nullptr) : vision_(vision) {}
  TStandardVision* Vision() const { return vision_; }

  // Puts s at index 0, adding it when missing (equal ignoring case counts
  // as present); on a sorted list it is only added.
  void MoveToFront(const String& s);
  // Adds s when missing; answers whether it was added.
  bool AddMissing(const String& s);

 private:
  TStandardVision* vision_;  // the vision whose values these are (not owned)
};

}  // namespace brevant
