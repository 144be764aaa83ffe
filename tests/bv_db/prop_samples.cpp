#include "prop_samples.h"

#include "classes/rtti_builder.h"
#include "rtl/exceptions.h"

namespace brevant {

BV_ENUM_INFO(TSampleShade, shLight, shMedium, shDark)
BV_ENUM_INFO(TSampleOption, aaA, aaB, aaC)
BV_SET_INFO(TSampleOptions, TSampleOption)

BV_PUBLISH(TSampleNested, TPersistent) {
  p.Property("Depth", &TSampleNested::Depth, &TSampleNested::SetDepth);
}

TPropSample::TPropSample(TComponent* owner)
    : TComponent(owner),
      lines_(MakeObject<TStringList>()),
      picture_(MakeObject<TBitmap>()),
      nested_(MakeObject<TSampleNested>()) {}

TPropSample::~TPropSample() = default;

void TPropSample::SetStrict(Integer v) {
  if (v < 0) throw Exception("Strict refuses %d", {v});
  strict_ = v;
}

BV_PUBLISH(TPropSample, TComponent) {
  using T = TPropSample;
  p.Property("Count", &T::Count, &T::SetCount);
  p.Property("Color", &T::Color, &T::SetColor).Type(NamedType(TypeInfoOf<Integer>(), "TColor"));
  p.Property("Mask", &T::Mask, &T::SetMask);
  p.Property("Level", &T::Level, &T::SetLevel);
  p.Property("Letter", &T::Letter, &T::SetLetter);
  p.Property("Shade", &T::Shade, &T::SetShade);
  p.Property("Active", &T::Active, &T::SetActive);
  p.Property("Options", &T::Options, &T::SetOptions);
  p.Property("Ratio", &T::Ratio, &T::SetRatio);
  p.Property("Small", &T::Small, &T::SetSmall);
  p.Property("Price", &T::Price, &T::SetPrice);
  p.Property("Born", &T::Born, &T::SetBorn).Type(TypeInfoTDate());
  p.Property("Alarm", &T::Alarm, &T::SetAlarm).Type(TypeInfoTTime());
  p.Property("Stamp", &T::Stamp, &T::SetStamp).Type(TypeInfoTDateTime());
  p.Property("Moment", &T::Moment, &T::SetMoment).Type(NamedType(TypeInfoTDateTime(), "TMoment"));
  p.Property("Code", &T::Code, &T::SetCode).Type(MakeShortStringType("TCode", 8));
  p.Property("Caption", &T::Caption, &T::SetCaption);
  p.Property("Title", &T::Title, &T::SetTitle);
  p.Property("Initial", &T::Initial, &T::SetInitial);
  p.Property("Big", &T::Big, &T::SetBig);
  p.Property("Data", &T::Data, &T::SetData);
  p.Property("Lines", &T::Lines, &T::SetLines);
  p.Property("Picture", &T::Picture, &T::SetPicture);
  p.Property("Buddy", &T::Buddy, &T::SetBuddy);
  p.Property("Nested", &T::Nested, &T::SetNested);
  p.ReadOnly("Total", &T::Total);
  p.Property("Strict", &T::Strict, &T::SetStrict);
}

BV_PUBLISH(TOtherComponent, TComponent) {}

BV_PUBLISH(TSampleItem, TCollectionItem) {
  p.Property("Name", &TSampleItem::Name, &TSampleItem::SetName);
  p.Property("Weight", &TSampleItem::Weight, &TSampleItem::SetWeight);
  p.Property("Flags", &TSampleItem::Flags, &TSampleItem::SetFlags);
  p.ReadOnly("Serial", &TSampleItem::Serial);
}

void TSampleItems::GetFieldsInfo(TObjFieldsInfo& info) {
  info.NullProperties = "weight";
  info.AliasedProps = "Flags;Name";
  info.AliasNames = "F;Title";
}

BV_PUBLISH(TSampleItems, TCollection) {
  p.Method<TGetObjFieldsInfoMethod, &TSampleItems::GetFieldsInfo>("_GetObjFieldsInfo");
}

void TAliasedSample::GetFieldsInfo(TObjFieldsInfo& info) {
  info.AliasedProps = "Options";
  info.AliasNames = "Opt";
}

BV_PUBLISH(TAliasedSample, TPersistent) {
  p.Property("Options", &TAliasedSample::Options, &TAliasedSample::SetOptions);
  p.Method<TGetObjFieldsInfoMethod, &TAliasedSample::GetFieldsInfo>("_GetObjFieldsInfo");
}

}  // namespace brevant
