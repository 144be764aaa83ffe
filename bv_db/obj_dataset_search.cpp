// TObjDataSet: searching (Locate, Lookup) straight in the source, and the
// blob streams that hand blob content in and out of the record buffers.
#include <algorithm>

#include "bv_db/obj_dataset.h"
#include "bv_rtm/tokens.h"
#include "db/field.h"
#include "rtl/scope.h"
#include "rtl/streams.h"
#include "rtl/strutils.h"

namespace brevant {

// A blob field's content: filled from the record when opened for reading,
// handed back to the record when destroyed after a write.
class TodsBlobStream : public TMemoryStream {
  BV_CLASS(TodsBlobStream, TMemoryStream)
 public:
  TodsBlobStream(TField* field, TObjDataSet* dataSet, bool modified)
      : field_(field), dataSet_(dataSet), modified_(modified) {}
  ~TodsBlobStream() override {
    if (!dataSet_) return;
    std::erase(dataSet_->blobStreams_, this);
    if (modified_) CallHandlingExceptions(dataSet_, [this] { dataSet_->WriteBlob(field_, this); });
  }
  Int64 Write(const void* buffer, Int64 count) override {
    if (count > 0) modified_ = true;
    return TMemoryStream::Write(buffer, count);
  }
  void SetSize(Int64 size) override {
    if (size != Size()) modified_ = true;
    TMemoryStream::SetSize(size);
  }
  bool Modified() const { return modified_; }
  void SetModified(bool value) { modified_ = value; }
  void Detach() { dataSet_ = nullptr; }

 private:
  TField* field_;         // the blob field
  TObjDataSet* dataSet_;  // the dataset; nil once it is gone
  bool modified_;         // written to since opened
};

BV_IMPLEMENT_ABSTRACT_CLASS(TodsBlobStream, TMemoryStream)

void TObjDataSet::DetachBlobStream(TodsBlobStream* stream) {
  stream->Detach();
}

std::unique_ptr<TStream> TObjDataSet::CreateBlobStream(TField* field, TBlobStreamMode mode) {
  if (mode != bmRead) CheckFieldWrite(field);
  auto stream = std::make_unique<TodsBlobStream>(field, this, mode == bmWrite);
  // The active buffer holds the record shown, also a new one in insert
  // state (which has no bookmark yet).
  if (mode != bmWrite) {
    if (const TodsFieldValue* value = ActiveValue(field)) value->SaveToStream(*stream);
    stream->SetModified(false);
  }
  stream->SetPosition(0);
  blobStreams_.push_back(stream.get());
  return stream;
}

void TObjDataSet::WriteBlob(TField* field, TodsBlobStream* stream) {
  CheckFieldWrite(field);
  TTemporaryChange<TStream*> writing(blobWriting_, stream);
  SetFieldData(field, stream->Size() > 0 ? stream->Memory() : nullptr);
}

// ---- searching -----------------------------------------------------------------------

namespace {

// One key field of a search: the field's name, the key and a value that
// receives each record's field value (both of the key's type).
struct TSearchKey {
  String FieldName;                 // the field searched
  TObjectPtr<TznUniValue> Key;      // the value searched for
  TObjectPtr<TznUniValue> Current;  // the record's value, read per record
};

bool Matches(const TSearchKey& k, TLocateOptions options) {
  const bool caseless = options.Contains(loCaseInsensitive);
  if (options.Contains(loPartialKey)) {
    const String key = caseless ? LowerCase(k.Key->AsString()) : k.Key->AsString();
    if (key.empty()) return false;
    const String text = caseless ? LowerCase(k.Current->AsString()) : k.Current->AsString();
    return text.compare(0, key.size(), key) == 0;
  }
  return k.Current->Compare(*k.Key, !caseless, true) == 0;
}

}  // namespace

Integer TObjDataSet::FindRecord(const String& keyFields, const Variant& keyValues,
                                TLocateOptions options) {
  if (keyFields.empty() || !provider_) return -1;
  std::vector<TField*> fields;
  GetFieldList(fields, keyFields);
  if (fields.empty()) return -1;
  std::vector<TSearchKey> keys;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const TFieldType type = options.Contains(loPartialKey) ? ftString : fields[i]->DataType();
    TSearchKey k{fields[i]->FieldName(), MakeObject<TznUniValue>(), MakeObject<TznUniValue>()};
    k.Key->SetDataType(type);
    k.Current->SetDataType(type);
    k.Key->SetAsVariant(fields.size() == 1 ? keyValues
                                           : keyValues.GetElement(VarArrayLowBound(keyValues) +
                                                                  static_cast<Integer>(i)));
    keys.push_back(std::move(k));
  }
  for (Integer index = 0, count = provider_->GetRecordCount(); index < count; ++index) {
    bool all = true;
    for (TSearchKey& k : keys) {
      k.Current->Clear();
      provider_->GetFieldValue(k.FieldName, index, k.Current.get());
      if (!Matches(k, options)) {
        all = false;
        break;
      }
    }
    if (all) return index;
  }
  return -1;
}

bool TObjDataSet::Locate(const String& keyFields, const Variant& keyValues,
                         TLocateOptions options) {
  CheckBrowseMode();
  const Integer found = FindRecord(keyFields, keyValues, options);
  if (found < 0) return false;
  DoBeforeScroll();
  cursor_ = found;
  Resync({rmExact, rmCenter});
  DoAfterScroll();
  return true;
}

Variant TObjDataSet::ProviderValue(const String& fieldName, Integer index) {
  TObjectPtr<TznUniValue> value(MakeObject<TznUniValue>());
  if (const TField* field = FindField(fieldName)) value->SetDataType(field->DataType());
  provider_->GetFieldValue(fieldName, index, value.get());
  return value->AsVariant();
}

Variant TObjDataSet::Lookup(const String& keyFields, const Variant& keyValues,
                            const String& resultFields) {
  CheckActive();
  const Integer found = FindRecord(keyFields, keyValues, {});
  if (found < 0) return Null();
  if (resultFields.find(';') == String::npos) return ProviderValue(resultFields, found);
  std::vector<TField*> results;
  GetFieldList(results, resultFields);
  std::vector<Variant> items;
  for (const TField* f : results) items.push_back(ProviderValue(f->FieldName(), found));
  return VarArrayOf(std::span<const Variant>(items));
}

}  // namespace brevant
