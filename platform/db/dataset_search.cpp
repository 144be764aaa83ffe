// Searching a dataset: the key matcher of Locate and Lookup, the scan that
// visits every record without moving the cursor, and the scratch buffers it
// reads records into.
#include <algorithm>
#include <cstring>

#include "db/dataset.h"
#include "db/dbconsts.h"
#include "db/field_types.h"
#include "rtl/resstrings.h"
#include "rtl/scope.h"
#include "rtl/strutils.h"

namespace brevant {

// ==== searching ===============================================================================

namespace {

// The key values of a Locate or Lookup, each converted once to the form its
// field is compared in.
class TKeyMatcher {
 public:
  TKeyMatcher(const TDataSet* ds, const String& keyFields, const Variant& keyValues,
              TLocateOptions options)
      : partial_(options.Contains(loPartialKey)),
        caseInsensitive_(options.Contains(loCaseInsensitive)) {
    ds->GetFieldList(fields_, keyFields);
    Integer n = static_cast<Integer>(fields_.size());
    if (n == 0) return;
    std::vector<Variant> values;
    if (VarIsArray(keyValues)) {
      Integer lo = VarArrayLowBound(keyValues), hi = VarArrayHighBound(keyValues);
      if (hi - lo + 1 != n) DatabaseErrorFmt(res::SKeyValuesMismatch, {hi - lo + 1, n});
      for (Integer i = lo; i <= hi; ++i) values.push_back(keyValues.GetElement(i));
    } else {
      if (n != 1) DatabaseErrorFmt(res::SKeyValuesMismatch, {1, n});
      values.push_back(keyValues);
    }
    for (Integer i = 0; i < n; ++i)
      Prepare(fields_[static_cast<std::size_t>(i)], values[static_cast<std::size_t>(i)]);
  }

  bool Empty() const { return fields_.empty(); }

  bool Matches() const {
    for (std::size_t i = 0; i < fields_.size(); ++i) {
      const TKey& k = keys_[i];
      TField* f = fields_[i];
      if (k.isNull) {
        if (!f->IsNull()) return false;
        continue;
      }
      if (f->IsNull()) return false;
      if (k.text) {
        String t = f->AsString();
        if (caseInsensitive_) t = AnsiLowerCase(t);
        if (partial_) {
          if (k.keyText.empty() || t.compare(0, k.keyText.size(), k.keyText) != 0) return false;
          if (t.size() < k.keyText.size()) return false;
        } else if (t != k.keyText) {
          return false;
        }
      } else if (!(f->AsVariant() == k.value)) {
        return false;
      }
    }
    return true;
  }

 private:
  struct TKey {
    bool isNull = false;
    bool text = false;
    String keyText;
    Variant value;
  };

  void Prepare(TField* f, const Variant& v) {
    TKey k;
    if (VarIsNull(v) || VarIsEmpty(v)) {
      k.isNull = true;
    } else {
      TVarType target = varEmpty;
      switch (f->DataType()) {
        case ftSmallint:
        case ftInteger:
        case ftWord:
        case ftAutoInc:
        case ftLargeint:
          target = varInt64;
          break;
        case ftFloat:
        case ftCurrency:
          target = varDouble;
          break;
        case ftBCD:
          target = varCurrency;
          break;
        case ftFMTBcd:
          target = varFMTBcd;
          break;
        case ftBoolean:
          target = varBoolean;
          break;
        case ftDate:
        case ftTime:
        case ftDateTime:
          target = varDate;
          break;
        case ftTimeStamp:
          target = varSQLTimeStamp;
          break;
        case ftVariant:
          target = varVariant;
          break;
        default:
          break;
      }
      if (partial_ || target == varEmpty) {
        k.text = true;
        k.keyText = VarToStr(v);
        if (caseInsensitive_) k.keyText = AnsiLowerCase(k.keyText);
      } else if (target == varBoolean && VarIsStr(v) && dynamic_cast<TBooleanField*>(f)) {
        // The field's own texts (DisplayValues) name its values.
        k.text = true;
        k.keyText = VarToStr(v);
        if (caseInsensitive_) k.keyText = AnsiLowerCase(k.keyText);
      } else {
        k.value = target == varVariant ? v : VarAsType(v, target);
      }
    }
    keys_.push_back(std::move(k));
  }

  std::vector<TField*> fields_;
  std::vector<TKey> keys_;
  bool partial_;
  bool caseInsensitive_;
};

}  // namespace

TDataSet::TBufferSlot& TDataSet::AcquireScratch() {
  if (static_cast<std::size_t>(scanDepth_) >= scratch_.size()) {
    auto slot = std::make_unique<TBufferSlot>();
    AllocSlot(*slot);
    scratch_.push_back(std::move(slot));
  }
  return *scratch_[static_cast<std::size_t>(scanDepth_++)];
}

void TDataSet::ReleaseScratch() {
  --scanDepth_;
}

TBookmark TDataSet::ScanRecords(const std::function<bool()>& visit) {
  CheckActive();
  TBufferSlot& scratch = AcquireScratch();
  const TBufferSlot* savedSlot = fieldSlot_;
  TBookmark found;
  TScopeGuard restore([&] {
    fieldSlot_ = savedSlot;
    ReleaseScratch();
    CursorPosChanged();
  });
  {
    CursorPosChanged();
    InternalFirst();
    for (;;) {
      fieldSlot_ = savedSlot;
      if (GetRecord(scratch.data, gmNext, false) != grOK) break;
      UInt64 epoch = cursorEpoch_;
      CalculateSlot(scratch);
      fieldSlot_ = &scratch;
      if (visit()) {
        found.assign(static_cast<std::size_t>(bookmarkSize_), '\0');
        GetBookmarkData(scratch.data, found.data());
        break;
      }
      // A nested scan of this dataset moved the cursor: put it back.
      if (cursorEpoch_ != epoch) InternalSetToRecord(scratch.data);
    }
  }
  return found;
}

bool TDataSet::Locate(const String& keyFields, const Variant& keyValues, TLocateOptions options) {
  CheckBrowseMode();
  TKeyMatcher matcher(this, keyFields, keyValues, options);
  if (matcher.Empty()) return false;
  TBookmark found = ScanRecords([&] { return matcher.Matches(); });
  if (found.empty()) return false;
  DoBeforeScroll();
  InternalGotoBookmark(found.data());
  Resync({rmExact, rmCenter});
  DoAfterScroll();
  return true;
}

Variant TDataSet::Lookup(const String& keyFields, const Variant& keyValues,
                         const String& resultFields) {
  CheckActive();
  TKeyMatcher matcher(this, keyFields, keyValues, {});
  std::vector<TField*> results;
  GetFieldList(results, resultFields);
  Variant result = Null();
  if (matcher.Empty() || results.empty()) return result;
  ScanRecords([&] {
    if (!matcher.Matches()) return false;
    if (resultFields.find(';') == String::npos) {
      result = results[0]->AsVariant();
    } else {
      std::vector<Variant> values;
      for (TField* f : results) values.push_back(f->AsVariant());
      result = VarArrayOf(std::span<const Variant>(values));
    }
    return true;
  });
  return result;
}

}  // namespace brevant
