#include <gtest/gtest.h>

#include "classes/component.h"
#include "classes/rtti_builder.h"

using namespace brevant;

namespace {

enum TShade : Byte { shLight, shMedium, shDark };
using TShades = TSet<TShade>;

}  // namespace

namespace brevant {
BV_DECLARE_ENUM_INFO(TShade)
BV_DECLARE_ENUM_INFO(TShades)
BV_ENUM_INFO(TShade, shLight, shMedium, shDark)
BV_SET_INFO(TShades, TShade)
}  // namespace brevant

namespace {

class TGadget : public TComponent {
  BV_CLASS(TGadget, TComponent)
 public:
  using TComponent::TComponent;
  Integer Width() const { return width_; }
  void SetWidth(Integer v) { width_ = v; }
  bool Visible() const { return visible_; }
  void SetVisible(bool v) { visible_ = v; }
  TShade Shade() const { return shade_; }
  void SetShade(TShade v) { shade_ = v; }
  TShades Shades() const { return shades_; }
  void SetShades(TShades v) { shades_ = v; }
  double Ratio() const { return ratio_; }
  void SetRatio(double v) { ratio_ = v; }
  TDateTime Started() const { return started_; }
  void SetStarted(TDateTime v) { started_ = v; }
  const String& Caption() const { return caption_; }
  void SetCaption(const String& v) { caption_ = v; }
  Int64 Big() const { return big_; }
  void SetBig(Int64 v) { big_ = v; }
  Variant Value() const { return value_; }
  void SetValue(const Variant& v) { value_ = v; }
  TGadget* Buddy() const { return buddy_; }
  void SetBuddy(TGadget* v) { buddy_ = v; }
  Integer Count() const { return 7; }
  bool CaptionStored() const { return caption_ != "default"; }

  void Clicked(TObject*) { ++clicks; }
  TNotifyEvent OnClick;
  int clicks = 0;

 private:
  Integer width_ = 64;
  bool visible_ = true;
  TShade shade_ = shMedium;
  TShades shades_{shLight};
  double ratio_ = 0;
  TDateTime started_ = 0;
  String caption_;
  Int64 big_ = 0;
  Variant value_;
  TGadget* buddy_ = nullptr;
};

// Redeclares Width with other accessors and adds a property.
class TBigGadget : public TGadget {
  BV_CLASS(TBigGadget, TGadget)
 public:
  using TGadget::TGadget;
  Integer DoubleWidth() const { return 2 * Width(); }
  void SetDoubleWidth(Integer v) { SetWidth(v / 2); }
  Integer Alpha() const { return 1; }
};

}  // namespace

BV_PUBLISH(TGadget, TComponent) {
  p.Property("Width", &TGadget::Width, &TGadget::SetWidth).Default(64);
  p.Property("Visible", &TGadget::Visible, &TGadget::SetVisible).Default(1);
  p.Property("Shade", &TGadget::Shade, &TGadget::SetShade).Default(shMedium);
  p.Property("Shades", &TGadget::Shades, &TGadget::SetShades).Default(TShades{shLight});
  p.Property("Ratio", &TGadget::Ratio, &TGadget::SetRatio);
  p.Property("Started", &TGadget::Started, &TGadget::SetStarted).Type(TypeInfoTDate());
  p.Property("Caption", &TGadget::Caption, &TGadget::SetCaption).Stored(&TGadget::CaptionStored);
  p.Property("Big", &TGadget::Big, &TGadget::SetBig);
  p.Property("Value", &TGadget::Value, &TGadget::SetValue);
  p.Property("Buddy", &TGadget::Buddy, &TGadget::SetBuddy);
  p.ReadOnly("Count", &TGadget::Count);
  p.Event("OnClick", &TGadget::OnClick, "TNotifyEvent");
  p.Method<TNotifyEvent, &TGadget::Clicked>("Clicked");
}

BV_PUBLISH(TBigGadget, TGadget) {
  p.Property("Width", &TBigGadget::DoubleWidth, &TBigGadget::SetDoubleWidth);
  p.ReadOnly("Alpha", &TBigGadget::Alpha);
}

TEST(TypeInfo, KindsAndTypeNames) {
  TClass c = TGadget::StaticClass();
  struct {
    const char* prop;
    TTypeKind kind;
    const char* type;
  } cases[] = {{"Width", tkInteger, "Integer"},    {"Visible", tkEnumeration, "Boolean"},
               {"Shade", tkEnumeration, "TShade"}, {"Shades", tkSet, "TShades"},
               {"Ratio", tkFloat, "Double"},       {"Started", tkFloat, "TDate"},
               {"Caption", tkLString, "String"},   {"Big", tkInt64, "Int64"},
               {"Value", tkVariant, "Variant"},    {"OnClick", tkMethod, "TNotifyEvent"},
               {"Tag", tkInteger, "Integer"}};
  for (auto& k : cases) {
    const TPropInfo* p = GetPropInfo(c, k.prop);
    ASSERT_NE(p, nullptr) << k.prop;
    EXPECT_EQ(p->Kind(), k.kind) << k.prop;
    EXPECT_EQ(p->PropType->Name, k.type) << k.prop;
  }
  const TPropInfo* buddy = GetPropInfo(c, "buddy");
  ASSERT_NE(buddy, nullptr) << "lookup ignores case";
  EXPECT_EQ(buddy->Kind(), tkClass);
  EXPECT_EQ(buddy->PropType->ClassType(), TGadget::StaticClass());
  EXPECT_EQ(GetPropInfo(c, "Nope"), nullptr);
  EXPECT_FALSE(GetPropInfo(c, "Count")->HasSetter()) << "no setter means read-only";
  EXPECT_EQ(TypeInfoOf<TShade>()->EnumNames,
            (std::vector<String>{"shLight", "shMedium", "shDark"}));
  EXPECT_EQ(TypeInfoOf<TShades>()->CompType, TypeInfoOf<TShade>());
}

TEST(TypeInfo, ListsInheritedFirstAndRedeclarationKeepsItsPlace) {
  std::vector<String> names;
  for (const TPropInfo* p : GetPropList(TBigGadget::StaticClass())) names.push_back(p->Name);
  std::vector<String> expected = {"Name",   "Tag",   "Width",   "Visible", "Shade",
                                  "Shades", "Ratio", "Started", "Caption", "Big",
                                  "Value",  "Buddy", "Count",   "OnClick", "Alpha"};
  EXPECT_EQ(names, expected);
  TObjectPtr<TBigGadget> g(Create<TBigGadget>(nullptr));
  const TPropInfo* w = GetPropInfo(g.get(), "Width");
  EXPECT_EQ(w->Declaring, TBigGadget::StaticClass());
  EXPECT_EQ(GetOrdProp(g.get(), w), 128) << "the descendant's accessors are used";

  std::vector<String> sorted;
  for (const TPropInfo* p : GetSortedPropList(TGadget::StaticClass())) sorted.push_back(p->Name);
  std::vector<String> sortedExpected = {"Big",   "Buddy",   "Caption", "Count",   "Name",
                                        "Ratio", "Shade",   "Shades",  "Started", "Tag",
                                        "Value", "Visible", "Width"};
  EXPECT_EQ(sorted, sortedExpected) << "sorted, without events";
}

TEST(TypeInfo, TypedAccessAndText) {
  TObjectPtr<TGadget> g(Create<TGadget>(nullptr));
  TGadget* o = g.get();
  SetOrdProp(o, GetPropInfo(o, "Width"), 99);
  EXPECT_EQ(o->Width(), 99);
  SetEnumProp(o, GetPropInfo(o, "Shade"), "SHDARK");
  EXPECT_EQ(o->Shade(), shDark);
  EXPECT_EQ(GetEnumProp(o, GetPropInfo(o, "Shade")), "shDark");
  EXPECT_THROW(SetEnumProp(o, GetPropInfo(o, "Shade"), "shPurple"), EPropertyError);
  EXPECT_THROW(SetOrdProp(o, GetPropInfo(o, "Shade"), 3), EPropertyError)
      << "out of the enumeration";
  SetOrdProp(o, GetPropInfo(o, "Shades"), StringToSet(TypeInfoOf<TShades>(), "[shDark, shLight]"));
  EXPECT_EQ(GetPropValueText(o, GetPropInfo(o, "Shades")), "[shLight,shDark]");
  EXPECT_THROW(StringToSet(TypeInfoOf<TShades>(), "[shNone]"), EPropertyError);
  SetStrProp(o, GetPropInfo(o, "Caption"), "Hello");
  EXPECT_EQ(GetStrProp(o, GetPropInfo(o, "Caption")), "Hello");
  SetFloatProp(o, GetPropInfo(o, "Ratio"), 0.25);
  EXPECT_EQ(o->Ratio(), 0.25);
  SetInt64Prop(o, GetPropInfo(o, "Big"), INT64_C(1) << 40);
  EXPECT_EQ(o->Big(), INT64_C(1) << 40);
  EXPECT_THROW(SetOrdProp(o, GetPropInfo(o, "Count"), 1), EPropertyError) << "read-only";
  EXPECT_THROW(GetFloatProp(o, GetPropInfo(o, "Caption")), EPropertyError) << "wrong kind";
  TObjectPtr<TGadget> other(Create<TGadget>(nullptr));
  SetObjectProp(o, GetPropInfo(o, "Buddy"), other.get());
  EXPECT_EQ(o->Buddy(), other.get());
  TObjectPtr<TComponent> plain(Create<TComponent>(nullptr));
  EXPECT_THROW(SetObjectProp(o, GetPropInfo(o, "Buddy"), plain.get()), EInvalidCast);
}

TEST(TypeInfo, DefaultsAndStoredConditions) {
  TObjectPtr<TGadget> g(Create<TGadget>(nullptr));
  TGadget* o = g.get();
  auto isDefault = [&](const char* n) { return IsDefaultPropValue(o, GetPropInfo(o, n)); };
  EXPECT_TRUE(isDefault("Width"));
  EXPECT_TRUE(isDefault("Visible"));
  EXPECT_TRUE(isDefault("Shades"));
  EXPECT_TRUE(isDefault("Caption"));
  EXPECT_TRUE(isDefault("Ratio"));
  EXPECT_TRUE(isDefault("Buddy"));
  EXPECT_TRUE(isDefault("OnClick"));
  o->SetWidth(10);
  o->SetShades({});
  o->SetRatio(1.5);
  EXPECT_FALSE(isDefault("Width"));
  EXPECT_FALSE(isDefault("Shades"));
  EXPECT_FALSE(isDefault("Ratio"));
  o->SetCaption("default");
  EXPECT_FALSE(GetPropInfo(o, "Caption")->IsStored(o));
  o->SetCaption("other");
  EXPECT_TRUE(GetPropInfo(o, "Caption")->IsStored(o));
  EXPECT_FALSE(GetPropInfo(o, "Name")->IsStored(o)) << "names are written in the object header";
}

TEST(TypeInfo, PublishedMethodsBindByName) {
  TObjectPtr<TGadget> g(Create<TGadget>(nullptr));
  const TPublishedMethod* m = FindPublishedMethod(g->ClassType(), "CLICKED");
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(*m->Signature, typeid(TNotifyEvent));
  const TPropInfo* onClick = GetPropInfo(g.get(), "OnClick");
  SetMethodProp(g.get(), onClick, m->Bind(g.get()), "Clicked");
  g->OnClick(nullptr);
  EXPECT_EQ(g->clicks, 1);
  EXPECT_EQ(GetPropValueText(g.get(), onClick), "Clicked");
  // A handler bound in code equals the one bound by name.
  EXPECT_TRUE(g->OnClick == (TNotifyEvent::Of<&TGadget::Clicked>(g.get())));
  EXPECT_EQ(MethodName(g.get(), TNotifyEvent::Of<&TGadget::Clicked>(g.get()).Method()), "Clicked");
  EXPECT_EQ(FindPublishedMethod(g->ClassType(), "Missing"), nullptr);
}

namespace {

// A short-string property: at most 4 bytes.
class TCoded : public TPersistent {
  BV_CLASS(TCoded, TPersistent)
 public:
  const String& Code() const { return code_; }
  void SetCode(const String& v) { code_ = v; }

 private:
  String code_;
};

}  // namespace

BV_PUBLISH(TCoded, TPersistent) {
  p.Property("Code", &TCoded::Code, &TCoded::SetCode).Type(MakeShortStringType("TCode", 4));
}

TEST(TypeInfo, ShortStringsAreCutToTheirLength) {
  TObjectPtr<TCoded> o(Create<TCoded>());
  const TPropInfo* p = GetPropInfo(o.get(), "Code");
  ASSERT_EQ(p->Kind(), tkString);
  EXPECT_EQ(p->PropType->MaxLength, 4);
  EXPECT_EQ(p->PropType->Name, "TCode");
  SetStrProp(o.get(), p, "ab\xC3\xA9xyz");
  EXPECT_EQ(GetStrProp(o.get(), p), "ab\xC3\xA9") << "cut to 4 bytes";
  SetStrProp(o.get(), p, "abc\xC3\xA9");
  EXPECT_EQ(o->Code(), "abc") << "never inside a UTF-8 sequence";
}
