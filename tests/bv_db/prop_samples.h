// Sample classes for the property accessor and data provider tests (and the
// accessor's fuzz target): a component publishing a property of every kind
// the type map knows, a collection whose items publish a few, and objects
// that publish field information (aliases, null properties).
#pragma once

#include "bv_db/data_providers.h"
#include "classes/collection.h"
#include "classes/component.h"
#include "graphics/bitmap.h"
#include "rtl/stringlist.h"

namespace brevant {

enum TSampleShade : Byte { shLight, shMedium, shDark };
enum TSampleOption : Byte { aaA, aaB, aaC };
using TSampleOptions = TSet<TSampleOption>;
BV_DECLARE_ENUM_INFO(TSampleShade)
BV_DECLARE_ENUM_INFO(TSampleOption)
BV_DECLARE_ENUM_INFO(TSampleOptions)

// A persistent object of no kind the type map knows.
class TSampleNested : public TPersistent {
  BV_CLASS(TSampleNested, TPersistent)
 public:
  Integer Depth() const { return depth_; }
  void SetDepth(Integer v) { depth_ = v; }

 private:
  Integer depth_ = 3;  // a property to reach through a path
};

class TPropSample : public TComponent {
  BV_CLASS(TPropSample, TComponent)
 public:
  explicit TPropSample(TComponent* owner = nullptr);
  ~TPropSample() override;

  Integer Count() const { return count_; }
  void SetCount(Integer v) { count_ = v; }
  Integer Color() const { return color_; }
  void SetColor(Integer v) { color_ = v; }
  Cardinal Mask() const { return mask_; }
  void SetMask(Cardinal v) { mask_ = v; }
  Byte Level() const { return level_; }
  void SetLevel(Byte v) { level_ = v; }
  char Letter() const { return letter_; }
  void SetLetter(char v) { letter_ = v; }
  TSampleShade Shade() const { return shade_; }
  void SetShade(TSampleShade v) { shade_ = v; }
  bool Active() const { return active_; }
  void SetActive(bool v) { active_ = v; }
  TSampleOptions Options() const { return options_; }
  void SetOptions(TSampleOptions v) { options_ = v; }
  double Ratio() const { return ratio_; }
  void SetRatio(double v) { ratio_ = v; }
  float Small() const { return small_; }
  void SetSmall(float v) { small_ = v; }
  Currency Price() const { return price_; }
  void SetPrice(Currency v) { price_ = v; }
  TDateTime Born() const { return born_; }
  void SetBorn(TDateTime v) { born_ = v; }
  TDateTime Alarm() const { return alarm_; }
  void SetAlarm(TDateTime v) { alarm_ = v; }
  TDateTime Stamp() const { return stamp_; }
  void SetStamp(TDateTime v) { stamp_ = v; }
  TDateTime Moment() const { return moment_; }
  void SetMoment(TDateTime v) { moment_ = v; }
  const String& Code() const { return code_; }
  void SetCode(const String& v) { code_ = v; }
  const String& Caption() const { return caption_; }
  void SetCaption(const String& v) { caption_ = v; }
  const WideString& Title() const { return title_; }
  void SetTitle(const WideString& v) { title_ = v; }
  char16_t Initial() const { return initial_; }
  void SetInitial(char16_t v) { initial_ = v; }
  Int64 Big() const { return big_; }
  void SetBig(Int64 v) { big_ = v; }
  Variant Data() const { return data_; }
  void SetData(const Variant& v) { data_ = v; }
  TStrings* Lines() const { return lines_.get(); }
  void SetLines(TStrings* v) { lines_->Assign(v); }
  TBitmap* Picture() const { return picture_.get(); }
  void SetPicture(TBitmap* v) { picture_->Assign(v); }
  TPropSample* Buddy() const { return buddy_; }
  void SetBuddy(TPropSample* v) { buddy_ = v; }
  TSampleNested* Nested() const { return nested_.get(); }
  void SetNested(TSampleNested* v) { (void)v; }
  Integer Total() const { return 42; }
  // Refuses negative values, as a validating setter does.
  Integer Strict() const { return strict_; }
  void SetStrict(Integer v);

 private:
  Integer count_ = 0;                 // integer
  Integer color_ = 0;                 // integer named TColor
  Cardinal mask_ = 0;                 // 32-bit unsigned integer
  Byte level_ = 0;                    // 8-bit unsigned integer
  char letter_ = 0;                   // character
  TSampleShade shade_ = shLight;      // enumeration
  bool active_ = false;               // Boolean
  TSampleOptions options_;            // set
  double ratio_ = 0;                  // float
  float small_ = 0;                   // single float
  Currency price_;                    // currency
  TDateTime born_ = 0;                // TDate
  TDateTime alarm_ = 0;               // TTime
  TDateTime stamp_ = 0;               // TDateTime
  TDateTime moment_ = 0;              // a type derived from TDateTime under another name
  String code_;                       // short string of 8 bytes
  String caption_;                    // long string
  WideString title_;                  // wide string
  char16_t initial_ = 0;              // wide character
  Int64 big_ = 0;                     // 64-bit integer
  Variant data_;                      // variant
  TObjectPtr<TStringList> lines_;     // string list (owned)
  TObjectPtr<TBitmap> picture_;       // bitmap (owned)
  TPropSample* buddy_ = nullptr;      // component reference
  TObjectPtr<TSampleNested> nested_;  // object of another class (owned)
  Integer strict_ = 0;                // refuses negative values
};

// A component of another class, for component properties of the wrong class.
class TOtherComponent : public TComponent {
  BV_CLASS(TOtherComponent, TComponent)
 public:
  using TComponent::TComponent;
};

// An item of a sample collection.
class TSampleItem : public TCollectionItem {
  BV_CLASS(TSampleItem, TCollectionItem)
 public:
  using TCollectionItem::TCollectionItem;
  const String& Name() const { return name_; }
  void SetName(const String& v) { name_ = v; }
  Integer Weight() const { return weight_; }
  void SetWeight(Integer v) { weight_ = v; }
  TSampleOptions Flags() const { return flags_; }
  void SetFlags(TSampleOptions v) { flags_ = v; }
  Integer Serial() const { return 7; }

 private:
  String name_;           // text
  Integer weight_ = 0;    // null when 0 (the collection's field information)
  TSampleOptions flags_;  // shown as F_... element fields
};

// Publishes field information for its items: Flags is shown as F, Name as
// Title, and an empty Weight reads as null.
class TSampleItems : public TCollection {
  BV_CLASS(TSampleItems, TCollection)
 public:
  TSampleItems() : TCollection(TSampleItem::StaticClass()) {}
  TSampleItem* Item(Integer index) const { return static_cast<TSampleItem*>(Items(index)); }
  void GetFieldsInfo(TObjFieldsInfo& info);
};

// An object whose set property Options is shown under the shorter alias Opt.
class TAliasedSample : public TPersistent {
  BV_CLASS(TAliasedSample, TPersistent)
 public:
  TSampleOptions Options() const { return options_; }
  void SetOptions(TSampleOptions v) { options_ = v; }
  void GetFieldsInfo(TObjFieldsInfo& info);

 private:
  TSampleOptions options_;  // shown as Opt_aaA, Opt_aaB, Opt_aaC
};

}  // namespace brevant
