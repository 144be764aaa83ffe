#include "stream_samples.h"

#include <algorithm>

#include "classes/formstream.h"
#include "classes/reader.h"
#include "classes/rtti_builder.h"
#include "classes/writer.h"
#include "rtl/streams.h"

namespace brevant {
BV_DECLARE_ENUM_INFO(sample::TSampleAlign)
BV_DECLARE_ENUM_INFO(sample::TSampleOption)
BV_DECLARE_ENUM_INFO(sample::TSampleOptions)
BV_ENUM_INFO(sample::TSampleAlign, saNone, saLeft, saRight, saClient)
BV_ENUM_INFO(sample::TSampleOption, optBold, optItalic, optUnderline, optStrike)
BV_SET_INFO(sample::TSampleOptions, sample::TSampleOption)
}  // namespace brevant

namespace sample {

namespace {

const TTypeInfo* ColorType() {
  static const TTypeInfo* t = NamedType(TypeInfoOf<Integer>(), "TSampleColor");
  return t;
}

bool ColorToIdent(Int64 v, String& ident) {
  if (v == 0xFF)
    ident = "clRed";
  else if (v == 0xFF00)
    ident = "clGreen";
  else
    return false;
  return true;
}

bool IdentToColor(const String& ident, Int64& v) {
  if (SameText(ident, "clRed"))
    v = 0xFF;
  else if (SameText(ident, "clGreen"))
    v = 0xFF00;
  else
    return false;
  return true;
}

using TKeyEvent = TEvent<void(TObject*, Integer&)>;

}  // namespace

BV_PUBLISH(TSampleFont, TPersistent) {
  p.Property("Name", &TSampleFont::Name, &TSampleFont::SetName);
  p.Property("Size", &TSampleFont::Size, &TSampleFont::SetSize).Default(8);
  p.Property("Style", &TSampleFont::Style, &TSampleFont::SetStyle).Default(TSampleOptions{});
  p.Property("Color", &TSampleFont::Color, &TSampleFont::SetColor).Type(ColorType()).Default(0);
}

BV_PUBLISH(TSampleItem, TCollectionItem) {
  p.Property("Caption", &TSampleItem::Caption, &TSampleItem::SetCaption);
  p.Property("Width", &TSampleItem::Width, &TSampleItem::SetWidth).Default(50);
  p.Property("Buddy", &TSampleItem::Buddy, &TSampleItem::SetBuddy);
}

BV_IMPLEMENT_ABSTRACT_CLASS(TSampleItems, TCollection)

BV_PUBLISH(TSampleComp, TComponent) {
  p.Property("Count", &TSampleComp::Count, &TSampleComp::SetCount).Default(0);
  p.Property("Enabled", &TSampleComp::Enabled, &TSampleComp::SetEnabled).Default(1);
  p.Property("Align", &TSampleComp::Align, &TSampleComp::SetAlign).Default(saNone);
  p.Property("Options", &TSampleComp::Options, &TSampleComp::SetOptions).Default(TSampleOptions{});
  p.Property("Ratio", &TSampleComp::Ratio, &TSampleComp::SetRatio);
  p.Property("Precise", &TSampleComp::Precise, &TSampleComp::SetPrecise);
  p.Property("Scale", &TSampleComp::Scale, &TSampleComp::SetScale);
  p.Property("Price", &TSampleComp::Price, &TSampleComp::SetPrice);
  p.Property("When", &TSampleComp::When, &TSampleComp::SetWhen).Type(TypeInfoTDate());
  p.Property("Caption", &TSampleComp::Caption, &TSampleComp::SetCaption);
  p.Property("Title", &TSampleComp::Title, &TSampleComp::SetTitle);
  p.Property("Big", &TSampleComp::Big, &TSampleComp::SetBig);
  p.Property("Value", &TSampleComp::Value, &TSampleComp::SetValue);
  p.Property("Letter", &TSampleComp::Letter, &TSampleComp::SetLetter).Default('A');
  p.ReadOnly("Font", &TSampleComp::Font);
  p.ReadOnly("Items", &TSampleComp::Items);
  p.ReadOnly("Lines", &TSampleComp::Lines);
  p.Property("Link", &TSampleComp::Link, &TSampleComp::SetLink);
  p.ReadOnly("Sub", &TSampleComp::Sub);
  p.Event("OnClick", &TSampleComp::OnClick, "TNotifyEvent");
}

BV_PUBLISH(TSampleForm, TSampleComp) {
  p.Method<TNotifyEvent, &TSampleForm::ButtonClick>("ButtonClick");
  p.Method<TNotifyEvent, &TSampleForm::OtherClick>("OtherClick");
  p.Method<TKeyEvent, &TSampleForm::KeyHandler>("KeyHandler");
}

BV_PUBLISH(TFailingComp, TSampleComp) {
  p.Property("Trap", &TFailingComp::Trap, &TFailingComp::SetTrap);
}

TSampleComp::TSampleComp(TComponent* owner)
    : TComponent(owner),
      font_(Create<TSampleFont>()),
      items_(Create<TSampleItems>()),
      lines_(Create<TStringList>()),
      extra_(Create<TSampleItems>()) {}

TSampleComp::~TSampleComp() {
  TObject::Free(font_);
  TObject::Free(items_);
  TObject::Free(lines_);
  TObject::Free(extra_);
}

void TSampleComp::BeforeDestruction() {
  for (TComponent* c : children)
    if (auto* s = dynamic_cast<TSampleComp*>(c)) s->parent = nullptr;
  children.clear();
  SetParentComponent(nullptr);
  TComponent::BeforeDestruction();
}

void TSampleComp::MakeSub() {
  if (sub_) return;
  sub_ = Create<TSampleComp>(this);
  sub_->SetName("SubPart");
  sub_->SetSubComponent(true);
}

void TSampleComp::DefineProperties(TFiler* filer) {
  TComponent::DefineProperties(filer);
  filer->DefineProperty(
      "Notes",
      [this](TReader& r) {
        notes.clear();
        r.ReadListBegin();
        while (!r.EndOfList()) notes.push_back(r.ReadString());
        r.ReadListEnd();
      },
      [this](TWriter& w) {
        w.WriteListBegin();
        for (const String& n : notes) w.WriteString(n);
        w.WriteListEnd();
      },
      !notes.empty());
  filer->DefineProperty(
      "Extra", [this](TReader& r) { r.ReadCollection(extra_); },
      [this](TWriter& w) { w.WriteCollection(extra_); }, extra_->Count() > 0);
  filer->DefineBinaryProperty(
      "Blob",
      [this](TStream& s) {
        blob.assign(static_cast<std::size_t>(s.Size()), '\0');
        s.ReadBuffer(blob.data(), s.Size());
      },
      [this](TStream& s) { s.WriteBuffer(blob.data(), static_cast<Int64>(blob.size())); },
      !blob.empty());
}

void TSampleComp::GetChildren(const TGetChildProc& proc, TComponent*) {
  for (TComponent* c : children) proc(c);
}

void TSampleComp::SetParentComponent(TComponent* p) {
  if (p == parent) return;
  if (auto* old = dynamic_cast<TSampleComp*>(parent)) std::erase(old->children, this);
  parent = nullptr;
  if (auto* now = dynamic_cast<TSampleComp*>(p)) {
    parent = now;
    now->children.push_back(this);
  }
}

void TSampleComp::SetChildOrder(TComponent* child, Integer order) {
  auto it = std::find(children.begin(), children.end(), child);
  if (it == children.end() || order < 0 || order >= static_cast<Integer>(children.size())) return;
  children.erase(it);
  children.insert(children.begin() + order, child);
}

void TSampleComp::Loaded() {
  ++loadedCount;
  stateWhenLoaded = ComponentState();
  linkWhenLoaded = link_;
  TComponent::Loaded();
}

void TSampleForm::GetChildren(const TGetChildProc& proc, TComponent* root) {
  // Owned components without a parent, and those parented here, in the
  // order they were created.
  for (Integer i = 0; i < ComponentCount(); ++i) {
    TComponent* c = Components(i);
    if (!c->GetParentComponent() || c->GetParentComponent() == this) proc(c);
  }
  (void)root;
}

void TFailingComp::SetTrap(Integer v) {
  if (v == 13) throw EComponentError(String("trap sprung"));
}

String WriteBinary(TComponent* root) {
  TStringStream s;
  WriteComponent(s, root);
  return s.DataString();
}

String BinaryToText(const String& binary) {
  TStringStream in(binary), out;
  ObjectBinaryToText(in, out);
  return out.DataString();
}

String TextToBinary(const String& text) {
  TStringStream in(text), out;
  ObjectTextToBinary(in, out);
  return out.DataString();
}

void ReadInto(const String& data, TComponent* root) {
  TStringStream s(data);
  ReadComponent(s, root);
}

TComponent* ReadNew(const String& data) {
  TStringStream s(data);
  return ReadNewComponent(s);
}

void RegisterSampleClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterClasses(
      {TSampleComp::StaticClass(), TSampleForm::StaticClass(), TFailingComp::StaticClass()});
  RegisterIntegerConsts(ColorType(), &IdentToColor, &ColorToIdent);
}

TSampleForm* MakeSampleForm() {
  RegisterSampleClasses();
  auto* form = Create<TSampleForm>(nullptr);
  form->SetName("Form1");
  form->SetCaption("Main 'form'");
  form->SetCount(-70000);
  form->SetEnabled(false);
  form->SetAlign(saClient);
  form->SetOptions({optBold, optStrike});
  form->SetRatio(0.1);
  form->SetPrecise(1.0L / 3);
  form->SetScale(2.5f);
  form->SetPrice(Currency::FromRaw(-123456789));
  form->SetWhen(45000.75);
  form->SetTitle(u"Wide \u00e9\u20ac\U0001F600");
  form->SetBig(Int64(1) << 40);
  form->SetValue(Variant(String("variant text")));
  form->SetLetter('\n');
  form->Font()->SetName("Sans");
  form->Font()->SetSize(12);
  form->Font()->SetStyle({optItalic});
  form->Font()->SetColor(0xFF);
  auto* first = static_cast<TSampleItem*>(form->Items()->Add());
  first->SetCaption("First");
  auto* second = static_cast<TSampleItem*>(form->Items()->Add());
  second->SetCaption("Second");
  second->SetWidth(80);
  form->Lines()->Add("line one");
  form->Lines()->Add("line 'two'");
  form->notes = {"note a", "note b"};
  form->blob = String("\x00\x01\x02\xFF", 4);
  form->OnClick = TNotifyEvent::Of<&TSampleForm::ButtonClick>(form, "ButtonClick");

  auto* panel = Create<TSampleComp>(form);
  panel->SetName("Panel1");
  panel->SetParentComponent(form);
  panel->SetCaption(String(100, 'x'));
  panel->SetValue(Variant(Int64(5)));
  panel->SetLink(form);

  auto* button = Create<TSampleComp>(form);
  button->SetName("Button1");
  button->SetParentComponent(panel);
  button->SetCaption("UTF-8: \xC3\xA9t\xC3\xA9 \xE2\x82\xAC");
  button->SetLink(panel);
  button->SetValue(Variant(2.5));
  button->OnClick = TNotifyEvent::Of<&TSampleForm::OtherClick>(form, "OtherClick");
  second->SetBuddy(button);

  auto* timer = Create<TSampleComp>(form);
  timer->SetName("Timer1");
  timer->SetCount(7);
  auto* extra = static_cast<TSampleItem*>(form->Extra()->Add());
  extra->SetCaption("extra");
  extra->SetBuddy(timer);
  return form;
}

}  // namespace sample
