// Sample components with every kind of published property, shared by the
// stream tests and the form fuzz targets.
#pragma once

#include <vector>

#include "classes/collection.h"
#include "classes/component.h"
#include "classes/filer.h"
#include "rtl/stringlist.h"
#include "rtl/variant.h"

namespace sample {

using namespace brevant;

enum TSampleAlign : Byte { saNone, saLeft, saRight, saClient };
enum TSampleOption : Byte { optBold, optItalic, optUnderline, optStrike };
using TSampleOptions = TSet<TSampleOption>;

// A nested persistent object (written as "Font.Size").
class TSampleFont : public TPersistent {
  BV_CLASS(TSampleFont, TPersistent)
 public:
  const String& Name() const { return name_; }
  void SetName(const String& v) { name_ = v; }
  Integer Size() const { return size_; }
  void SetSize(Integer v) { size_ = v; }
  TSampleOptions Style() const { return style_; }
  void SetStyle(TSampleOptions v) { style_ = v; }
  // An integer whose values have names (clRed ...).
  Integer Color() const { return color_; }
  void SetColor(Integer v) { color_ = v; }

 private:
  String name_;
  Integer size_ = 8;
  TSampleOptions style_;
  Integer color_ = 0;
};

class TSampleItem : public TCollectionItem {
  BV_CLASS(TSampleItem, TCollectionItem)
 public:
  using TCollectionItem::TCollectionItem;
  const String& Caption() const { return caption_; }
  void SetCaption(const String& v) { caption_ = v; }
  Integer Width() const { return width_; }
  void SetWidth(Integer v) { width_ = v; }
  TComponent* Buddy() const { return buddy_; }
  void SetBuddy(TComponent* v) { buddy_ = v; }

 private:
  String caption_;
  Integer width_ = 50;
  TComponent* buddy_ = nullptr;
};

// Counts its update notifications.
class TSampleItems : public TCollection {
  BV_CLASS(TSampleItems, TCollection)
 public:
  TSampleItems() : TCollection(TSampleItem::StaticClass()) {}
  TSampleItem* Item(Integer i) const { return static_cast<TSampleItem*>(Items(i)); }
  Integer updates = 0;
  Integer maxNesting = 0;
  void BeginUpdate() override {
    TCollection::BeginUpdate();
    if (UpdateCount() > maxNesting) maxNesting = UpdateCount();
  }

 protected:
  void Update(TCollectionItem*) override { ++updates; }
};

class TSampleComp : public TComponent {
  BV_CLASS(TSampleComp, TComponent)
 public:
  explicit TSampleComp(TComponent* owner = nullptr);
  ~TSampleComp() override;
  void BeforeDestruction() override;

  Integer Count() const { return count_; }
  void SetCount(Integer v) {
    count_ = v;
    stateWhenCountSet = ComponentState();
  }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v) { enabled_ = v; }
  TSampleAlign Align() const { return align_; }
  void SetAlign(TSampleAlign v) { align_ = v; }
  TSampleOptions Options() const { return options_; }
  void SetOptions(TSampleOptions v) { options_ = v; }
  double Ratio() const { return ratio_; }
  void SetRatio(double v) { ratio_ = v; }
  Extended Precise() const { return precise_; }
  void SetPrecise(Extended v) { precise_ = v; }
  float Scale() const { return scale_; }
  void SetScale(float v) { scale_ = v; }
  Currency Price() const { return price_; }
  void SetPrice(Currency v) { price_ = v; }
  TDateTime When() const { return when_; }
  void SetWhen(TDateTime v) { when_ = v; }
  const String& Caption() const { return caption_; }
  void SetCaption(const String& v) { caption_ = v; }
  const WideString& Title() const { return title_; }
  void SetTitle(const WideString& v) { title_ = v; }
  Int64 Big() const { return big_; }
  void SetBig(Int64 v) { big_ = v; }
  const Variant& Value() const { return value_; }
  void SetValue(const Variant& v) { value_ = v; }
  char Letter() const { return letter_; }
  void SetLetter(char v) { letter_ = v; }
  TSampleFont* Font() const { return font_; }
  TSampleItems* Items() const { return items_; }
  TStringList* Lines() const { return lines_; }
  // Not published: streamed by DefineProperties as "Extra".
  TSampleItems* Extra() const { return extra_; }
  TComponent* Link() const { return link_; }
  void SetLink(TComponent* v) { link_ = v; }
  TSampleComp* Sub() const { return sub_; }
  TNotifyEvent OnClick;

  // Defined properties: a list of notes, a collection and a block of bytes.
  std::vector<String> notes;
  String blob;
  void DefineProperties(TFiler* filer) override;

  // Children by parent, as controls keep them.
  std::vector<TComponent*> children;
  TComponent* parent = nullptr;
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override { return parent; }
  void SetParentComponent(TComponent* p) override;
  void SetChildOrder(TComponent* child, Integer order) override;

  // What Loaded saw.
  Integer loadedCount = 0;
  TComponentState stateWhenLoaded;
  TComponent* linkWhenLoaded = nullptr;
  TComponentState stateWhenCountSet;
  void Loaded() override;

  // Makes Sub a subcomponent (written as "Sub.Count").
  void MakeSub();

 private:
  Integer count_ = 0;
  bool enabled_ = true;
  TSampleAlign align_ = saNone;
  TSampleOptions options_;
  double ratio_ = 0;
  Extended precise_ = 0;
  float scale_ = 0;
  Currency price_;
  TDateTime when_ = 0;
  String caption_;
  WideString title_;
  Int64 big_ = 0;
  Variant value_;
  char letter_ = 'A';
  TSampleFont* font_ = nullptr;
  TSampleItems* items_ = nullptr;
  TStringList* lines_ = nullptr;
  TSampleItems* extra_ = nullptr;
  TComponent* link_ = nullptr;
  TSampleComp* sub_ = nullptr;
};

// A root: its children are the components it owns that have no other parent.
class TSampleForm : public TSampleComp {
  BV_CLASS(TSampleForm, TSampleComp)
 public:
  using TSampleComp::TSampleComp;
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  void ButtonClick(TObject*) { ++clicks; }
  void OtherClick(TObject*) { clicks += 10; }
  void KeyHandler(TObject*, Integer& key) { key = 0; }
  Integer clicks = 0;
};

// Stops the read when Count is set to 13.
class TFailingComp : public TSampleComp {
  BV_CLASS(TFailingComp, TSampleComp)
 public:
  using TSampleComp::TSampleComp;
  Integer Trap() const { return 0; }
  void SetTrap(Integer v);
};

// Conversions over strings of bytes.
String WriteBinary(TComponent* root);
String BinaryToText(const String& binary);
String TextToBinary(const String& text);
// Reads either form into root / into a new root made from the class name.
void ReadInto(const String& data, TComponent* root);
TComponent* ReadNew(const String& data);

// Registers the sample classes for reading by class name.
void RegisterSampleClasses();

// A form with every property kind set, one child with a child of its own,
// and a non-visual component.
TSampleForm* MakeSampleForm();

}  // namespace sample
