#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "classes/formstream.h"
#include "classes/reader.h"
#include "classes/writer.h"
#include "rtl/streams.h"
#include "stream_samples.h"

using namespace brevant;
using namespace sample;

namespace {

String Bytes(std::initializer_list<int> b) {
  String s;
  for (int v : b) s += static_cast<char>(v);
  return s;
}

// Runs f on a writer over a string stream and answers the bytes.
template <class F>
String Written(F f) {
  TStringStream s;
  TWriter w(s);
  f(w);
  return s.DataString();
}

TSampleComp* Child(TComponent* root, const char* name) {
  return dynamic_cast<TSampleComp*>(root->FindComponent(name));
}

template <class E, class F>
String Raises(F f) {
  try {
    f();
  } catch (const E& e) {
    return e.Message();
  } catch (const std::exception& e) {
    ADD_FAILURE() << "other exception: " << e.what();
    return String();
  }
  ADD_FAILURE() << "nothing raised";
  return String();
}

// Fails in Loaded when its Count is 13.
class TLoadFailComp : public TSampleComp {
  BV_CLASS(TLoadFailComp, TSampleComp)
 public:
  using TSampleComp::TSampleComp;
  void Loaded() override {
    TSampleComp::Loaded();
    if (Count() == 13) throw EComponentError(String("load failed"));
  }
};
BV_IMPLEMENT_CLASS(TLoadFailComp, TSampleComp)

}  // namespace

TEST(FormBinary, ExtendedTenByteForm) {
  Byte b[10];
  ExtendedToBytes(1.5L, b);
  EXPECT_EQ(String(reinterpret_cast<char*>(b), 10), Bytes({0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x3F}));
  ExtendedToBytes(-2.0L, b);
  EXPECT_EQ(String(reinterpret_cast<char*>(b), 10), Bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0xC0}));
  const Extended values[] = {0.0L,
                             -0.0L,
                             1.0L,
                             0.1L,
                             1.0L / 3,
                             -1e300L,
                             1e4000L,
                             std::numeric_limits<Extended>::denorm_min(),
                             std::numeric_limits<Extended>::min() / 3,
                             std::numeric_limits<Extended>::max(),
                             std::numeric_limits<Extended>::infinity(),
                             -std::numeric_limits<Extended>::infinity()};
  for (Extended v : values) {
    ExtendedToBytes(v, b);
    Extended back = BytesToExtended(b);
    EXPECT_EQ(back, v) << static_cast<double>(v);
    EXPECT_EQ(std::signbit(back), std::signbit(v));
  }
  ExtendedToBytes(std::nanl(""), b);
  EXPECT_TRUE(std::isnan(BytesToExtended(b)));
  // An unnormal (integer bit clear) still decodes to the value it encodes.
  const Byte unnormal[10] = {0, 0, 0, 0, 0, 0, 0, 0x40, 0xFF, 0x3F};
  EXPECT_EQ(BytesToExtended(unnormal), 0.5L);
}

TEST(FormBinary, ValueEncodings) {
  EXPECT_EQ(Written([](TWriter& w) {
              w.WriteInteger(5);
              w.WriteInteger(-129);
              w.WriteInteger(70000);
              w.WriteInteger(Int64(1) << 33);
            }),
            Bytes({2, 5, 3, 0x7F, 0xFF, 4, 0x70, 0x11, 0x01, 0, 19, 0, 0, 0, 0, 2, 0, 0, 0}));
  EXPECT_EQ(Written([](TWriter& w) {
              w.WriteString("ab");
              w.WriteString("\xC3\xA9");
              w.WriteString(String(300, 'z').substr(0, 0));
            }),
            Bytes({6, 2, 'a', 'b', 20, 2, 0, 0, 0, 0xC3, 0xA9, 6, 0}));
  String longAscii = Written([](TWriter& w) { w.WriteString(String(256, 'q')); });
  EXPECT_EQ(longAscii.substr(0, 5), Bytes({12, 0, 1, 0, 0}));
  EXPECT_EQ(Written([](TWriter& w) {
              w.WriteWideString(u"\u20ac");
              w.WriteIdent("true");
              w.WriteIdent("nil");
              w.WriteIdent("Null");
              w.WriteIdent("clRed");
              w.WriteCurrency(Currency::FromRaw(15000));
              w.WriteSingle(1.0f);
            }),
            Bytes({18,  1,  0,    0,    0, 0xAC, 0x20, 9, 13, 0, 7,  5, 'c', 'l',  'R', 'e',
                   'd', 16, 0x98, 0x3A, 0, 0,    0,    0, 0,  0, 15, 0, 0,   0x80, 0x3F}));
  // The prefix byte carries the flags; a child position follows as a value.
  EXPECT_EQ(Written([](TWriter& w) {
              w.WritePrefix({ffInherited, ffChildPos}, 3);
            }),
            Bytes({0xF3, 2, 3}));
  EXPECT_EQ(Written([](TWriter& w) { w.WritePrefix({}, 3); }), String());
  EXPECT_THROW(Written([](TWriter& w) { w.WriteStr(String(256, 'n')); }), EWriteError);
  EXPECT_THROW(Written([](TWriter& w) { w.WriteVariant(Variant(UInt64(1) << 63)); }), EWriteError);
}

TEST(FormBinary, ReaderValueRoutines) {
  String data = Written([](TWriter& w) {
    w.WriteListBegin();
    w.WriteString("it's");
    w.WriteWideString(u"w\u00e9");
    w.WriteInteger(-3);
    w.WriteInteger(Int64(1) << 40);
    w.WriteFloat(0.1L);
    w.WriteBoolean(true);
    w.WriteDate(45000.25);
    w.WriteCurrency(Currency::FromRaw(-5));
    w.WriteIdent("Alpha");
    w.WriteListEnd();
    w.WriteVariant(Variant::Null());
    w.WriteVariant(Variant());
  });
  TStringStream s(data);
  TReader r(s);
  r.ReadListBegin();
  EXPECT_EQ(r.ReadString(), "it's");
  EXPECT_EQ(r.ReadWideString(), u"w\u00e9");
  EXPECT_EQ(r.NextValue(), vaInt8);
  EXPECT_EQ(r.ReadInteger(), -3);
  EXPECT_THROW(r.ReadInteger(), EReadError) << "a 64-bit value does not fit an Integer";
  EXPECT_THROW(r.ReadString(), EReadError) << "nor is it a string";
  EXPECT_EQ(r.ReadInt64(), Int64(1) << 40) << "failed reads consume nothing";
  EXPECT_EQ(r.ReadFloat(), 0.1L);
  EXPECT_TRUE(r.ReadBoolean());
  EXPECT_EQ(r.ReadDate(), 45000.25);
  EXPECT_EQ(r.ReadCurrency(), Currency::FromRaw(-5));
  EXPECT_THROW(r.ReadBoolean(), EReadError) << "an identifier is no Boolean";
  EXPECT_EQ(r.ReadIdent(), "Alpha");
  EXPECT_TRUE(r.EndOfList());
  r.ReadListEnd();
  EXPECT_EQ(r.ReadVariant().VarType(), varNull) << "outside a list, vaNull is a Null value";
  EXPECT_EQ(r.ReadVariant().VarType(), varEmpty);
  EXPECT_EQ(r.Position(), static_cast<Int64>(data.size()));
  EXPECT_THROW(r.ReadValue(), EReadError);
}

TEST(FormBinary, RoundTripThroughTextPreservesEveryKind) {
  TObjectPtr<TSampleForm> form(MakeSampleForm());
  String bin = WriteBinary(form.get());
  ASSERT_EQ(bin.substr(0, 4), "TPF0");
  String bin2 = TextToBinary(BinaryToText(bin));
  EXPECT_EQ(bin2, bin) << "binary -> text -> binary gives the same bytes";

  TObjectPtr<TComponent> copy(ReadNew(bin2));
  auto* f = dynamic_cast<TSampleForm*>(copy.get());
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->Name(), "Form1");
  EXPECT_EQ(f->Caption(), "Main 'form'");
  EXPECT_EQ(f->Count(), -70000);
  EXPECT_FALSE(f->Enabled());
  EXPECT_EQ(f->Align(), saClient);
  EXPECT_EQ(f->Options(), (TSampleOptions{optBold, optStrike}));
  EXPECT_EQ(f->Ratio(), 0.1);
  EXPECT_EQ(f->Precise(), 1.0L / 3);
  EXPECT_EQ(f->Scale(), 2.5f);
  EXPECT_EQ(f->Price(), Currency::FromRaw(-123456789));
  EXPECT_EQ(f->When(), 45000.75);
  EXPECT_EQ(f->Title(), u"Wide \u00e9\u20ac\U0001F600");
  EXPECT_EQ(f->Big(), Int64(1) << 40);
  EXPECT_EQ(f->Value(), Variant(String("variant text")));
  EXPECT_EQ(f->Letter(), '\n');
  EXPECT_EQ(f->Font()->Name(), "Sans");
  EXPECT_EQ(f->Font()->Size(), 12);
  EXPECT_EQ(f->Font()->Style(), TSampleOptions{optItalic});
  EXPECT_EQ(f->Font()->Color(), 0xFF);
  ASSERT_EQ(f->Items()->Count(), 2);
  EXPECT_EQ(f->Items()->Item(0)->Caption(), "First");
  EXPECT_EQ(f->Items()->Item(0)->Width(), 50);
  EXPECT_EQ(f->Items()->Item(1)->Width(), 80);
  ASSERT_EQ(f->Lines()->Count(), 2);
  EXPECT_EQ(f->Lines()->Strings(1), "line 'two'");
  EXPECT_EQ(f->notes, (std::vector<String>{"note a", "note b"}));
  EXPECT_EQ(f->blob, String("\x00\x01\x02\xFF", 4));

  TSampleComp* panel = Child(f, "Panel1");
  TSampleComp* button = Child(f, "Button1");
  TSampleComp* timer = Child(f, "Timer1");
  ASSERT_TRUE(panel && button && timer);
  EXPECT_EQ(panel->GetParentComponent(), f);
  EXPECT_EQ(button->GetParentComponent(), panel);
  EXPECT_EQ(button->Owner(), f);
  EXPECT_EQ(panel->Caption(), String(100, 'x'));
  EXPECT_EQ(panel->Value(), Variant(5));
  EXPECT_EQ(button->Caption(), "UTF-8: \xC3\xA9t\xC3\xA9 \xE2\x82\xAC");
  EXPECT_EQ(button->Value(), Variant(2.5));
  EXPECT_EQ(timer->Count(), 7);
  // References and handlers.
  EXPECT_EQ(panel->Link(), f);
  EXPECT_EQ(button->Link(), panel);
  EXPECT_EQ(f->Items()->Item(1)->Buddy(), button);
  ASSERT_EQ(f->Extra()->Count(), 1) << "a collection through DefineProperties";
  EXPECT_EQ(f->Extra()->Item(0)->Caption(), "extra");
  EXPECT_EQ(f->Extra()->Item(0)->Buddy(), timer);
  f->OnClick(f);
  button->OnClick(button);
  EXPECT_EQ(f->clicks, 11);
  EXPECT_EQ(f->OnClick, TNotifyEvent::Of<&TSampleForm::ButtonClick>(f));
  // The copy writes the same stream again.
  EXPECT_EQ(WriteBinary(f), bin);
}

TEST(FormBinary, LoadingStateAndLoadedAfterFixups) {
  TObjectPtr<TSampleForm> form(MakeSampleForm());
  String bin = WriteBinary(form.get());
  TObjectPtr<TComponent> copy(ReadNew(bin));
  for (const char* name : {"Panel1", "Button1", "Timer1"}) {
    TSampleComp* c = Child(copy.get(), name);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->loadedCount, 1) << name;
    EXPECT_TRUE(c->stateWhenLoaded.Contains(csLoading)) << name;
    EXPECT_FALSE(c->stateWhenLoaded.Contains(csReading)) << name;
    EXPECT_FALSE(c->ComponentState().Contains(csLoading)) << name;
  }
  TComponentState whileRead = Child(copy.get(), "Timer1")->stateWhenCountSet;
  EXPECT_TRUE(whileRead.Contains(csLoading) && whileRead.Contains(csReading));
  auto* f = static_cast<TSampleForm*>(copy.get());
  EXPECT_EQ(f->loadedCount, 1);
  EXPECT_TRUE(f->stateWhenCountSet.Contains(csReading));
  EXPECT_EQ(Child(f, "Button1")->linkWhenLoaded, Child(f, "Panel1"))
      << "references are resolved before Loaded";
}

TEST(FormBinary, ReadingIntoExistingRootSetsOnlyWhatIsPresent) {
  RegisterSampleClasses();
  TObjectPtr<TSampleForm> target(Create<TSampleForm>(nullptr));
  target->SetName("Target");
  target->SetCaption("keep me");
  target->SetCount(99);
  target->Items()->Add();
  target->Items()->Add();
  target->Items()->Add();
  String text =
      "object Other: TSomeUnregisteredClass\r\n"
      "  Count = 5\r\n"
      "  Items = <\r\n"
      "    item\r\n"
      "      Caption = 'only'\r\n"
      "    end>\r\n"
      "end\r\n";
  target->Items()->updates = 0;
  ReadInto(text, target.get());
  EXPECT_EQ(target->Name(), "Target") << "the root keeps its name, the class is not checked";
  EXPECT_EQ(target->Count(), 5);
  EXPECT_EQ(target->Caption(), "keep me");
  ASSERT_EQ(target->Items()->Count(), 1) << "a collection is emptied first";
  EXPECT_EQ(target->Items()->Item(0)->Caption(), "only");
  EXPECT_EQ(target->Items()->updates, 1) << "one update at the end of the bracket";
  EXPECT_EQ(target->Items()->maxNesting, 2) << "the read brackets, Clear nests inside";
  EXPECT_EQ(target->loadedCount, 1);

  // An empty collection in the stream empties the target's.
  ReadInto("object X: Y\r\n  Items = <>\r\nend\r\n", target.get());
  EXPECT_EQ(target->Items()->Count(), 0);

  // Stored item indexes place the items.
  ReadInto(
      "object X: Y\r\n  Items = <\r\n    item\r\n      Caption = 'b'\r\n    end\r\n"
      "    item [0]\r\n      Caption = 'a'\r\n    end>\r\nend\r\n",
      target.get());
  ASSERT_EQ(target->Items()->Count(), 2);
  EXPECT_EQ(target->Items()->Item(0)->Caption(), "a");
}

TEST(FormBinary, ReferencesAcrossRoots) {
  RegisterSampleClasses();
  TObjectPtr<TSampleForm> module(Create<TSampleForm>(nullptr));
  module->SetName("DataMod");
  auto* source = Create<TSampleComp>(module.get());
  source->SetName("Source1");
  AddGlobalRoot(module.get());
  EXPECT_EQ(FindGlobalRoot("datamod"), module.get());

  TObjectPtr<TSampleForm> form(Create<TSampleForm>(nullptr));
  form->SetName("MainForm");
  auto* edit = Create<TSampleComp>(form.get());
  edit->SetName("Edit1");
  edit->SetLink(source);
  static_cast<TSampleItem*>(form->Items()->Add())->SetBuddy(source);
  form->SetLink(module.get());
  String text = BinaryToText(WriteBinary(form.get()));
  EXPECT_NE(text.find("Link = DataMod.Source1"), String::npos) << text;
  EXPECT_NE(text.find("Buddy = DataMod.Source1"), String::npos) << text;
  EXPECT_NE(text.find("  Link = DataMod.Owner\r\n"), String::npos) << text;

  TObjectPtr<TComponent> copy(ReadNew(text));
  EXPECT_EQ(Child(copy.get(), "Edit1")->Link(), source);
  EXPECT_EQ(static_cast<TSampleForm*>(copy.get())->Link(), module.get());
  EXPECT_EQ(static_cast<TSampleForm*>(copy.get())->Items()->Item(0)->Buddy(), source);

  // A module that is not there yet: the references wait for it.
  RemoveGlobalRoot(module.get());
  Integer pendingBefore = PendingGlobalFixups();
  TObjectPtr<TComponent> early(ReadNew(text));
  auto* earlyForm = static_cast<TSampleForm*>(early.get());
  EXPECT_EQ(Child(early.get(), "Edit1")->Link(), nullptr);
  EXPECT_EQ(PendingGlobalFixups(), pendingBefore + 3);
  AddGlobalRoot(module.get());
  EXPECT_EQ(Child(early.get(), "Edit1")->Link(), source);
  EXPECT_EQ(earlyForm->Items()->Item(0)->Buddy(), source);
  EXPECT_EQ(earlyForm->Link(), module.get());
  EXPECT_EQ(PendingGlobalFixups(), pendingBefore);

  // Waiting references of a freed form are dropped with it; a freed root
  // leaves the list by itself.
  RemoveGlobalRoot(module.get());
  TComponent* late = ReadNew(text);
  EXPECT_EQ(PendingGlobalFixups(), pendingBefore + 3);
  late->Free();
  EXPECT_EQ(PendingGlobalFixups(), pendingBefore);
  AddGlobalRoot(module.get());
  module.reset();
  EXPECT_EQ(FindGlobalRoot("DataMod"), nullptr);

  // A name that does not resolve in a present root fails the read.
  String msg = Raises<EReadError>([&] {
    TObjectPtr<TComponent> c(ReadNew("object F: TSampleForm\r\n  Link = Nobody\r\nend\r\n"));
  });
  EXPECT_NE(msg.find("Nobody"), String::npos) << msg;
}

TEST(FormBinary, HandlersBoundByName) {
  RegisterSampleClasses();
  TObjectPtr<TSampleForm> form(Create<TSampleForm>(nullptr));
  ReadInto("object F: TSampleForm\r\n  OnClick = otherclick\r\nend\r\n", form.get());
  form->OnClick(form.get());
  EXPECT_EQ(form->clicks, 10);
  EXPECT_STREQ(form->OnClick.Name(), "OtherClick");
  ReadInto("object F: TSampleForm\r\n  OnClick = nil\r\nend\r\n", form.get());
  EXPECT_FALSE(form->OnClick.Assigned());

  String msg = Raises<EReadError>(
      [&] { ReadInto("object F: TSampleForm\r\n  OnClick = KeyHandler\r\nend\r\n", form.get()); });
  EXPECT_NE(msg.find("does not match"), String::npos) << msg;
  msg = Raises<EReadError>(
      [&] { ReadInto("object F: TSampleForm\r\n  OnClick = Missing\r\nend\r\n", form.get()); });
  EXPECT_NE(msg.find("Missing not found"), String::npos) << msg;
}

TEST(FormBinary, SubcomponentsAndDefinedProperties) {
  RegisterSampleClasses();
  TObjectPtr<TSampleForm> form(Create<TSampleForm>(nullptr));
  form->SetName("F");
  form->MakeSub();
  form->Sub()->SetCount(4);
  form->Sub()->notes = {"deep"};
  String text = BinaryToText(WriteBinary(form.get()));
  EXPECT_NE(text.find("  Sub.Count = 4\r\n"), String::npos) << text;
  EXPECT_NE(text.find("  Sub.Notes = (\r\n    'deep')\r\n"), String::npos) << text;

  TObjectPtr<TSampleForm> target(Create<TSampleForm>(nullptr));
  target->MakeSub();
  ReadInto(text, target.get());
  EXPECT_EQ(target->Sub()->Count(), 4);
  EXPECT_EQ(target->Sub()->notes, std::vector<String>{"deep"});
}

TEST(FormBinary, DescendantWritesOnlyDifferences) {
  TObjectPtr<TSampleForm> ancestor(MakeSampleForm());
  TObjectPtr<TSampleForm> form(MakeSampleForm());
  Child(form.get(), "Panel1")->SetCount(42);
  form->SetCaption("Changed");
  auto* extra = Create<TSampleComp>(form.get());
  extra->SetName("Extra1");
  TStringStream s;
  TWriter w(s);
  w.WriteDescendent(form.get(), ancestor.get());
  String text = BinaryToText(s.DataString());
  EXPECT_EQ(text.substr(0, 31), "inherited Form1: TSampleForm\r\n ");
  EXPECT_NE(text.find("  Caption = 'Changed'\r\n"), String::npos) << text;
  EXPECT_EQ(text.find("Ratio"), String::npos) << text;
  EXPECT_NE(text.find("  inherited Panel1: TSampleComp\r\n    Count = 42\r\n"), String::npos)
      << text;
  EXPECT_NE(text.find("    inherited Button1: TSampleComp\r\n    end\r\n"), String::npos) << text;
  EXPECT_NE(text.find("  object Extra1: TSampleComp\r\n"), String::npos) << text;

  // Read on top of the ancestor's state, the result equals the descendant.
  TObjectPtr<TSampleForm> rebuilt(MakeSampleForm());
  ReadInto(text, rebuilt.get());
  EXPECT_EQ(WriteBinary(rebuilt.get()), WriteBinary(form.get()));
}

TEST(FormBinary, TruncatedAndCorruptStreams) {
  TObjectPtr<TSampleForm> form(MakeSampleForm());
  String bin = WriteBinary(form.get());
  // Every truncation fails cleanly with the reader's error.
  for (std::size_t n = 0; n < bin.size(); ++n) {
    String cut = bin.substr(0, n);
    TObjectPtr<TSampleForm> target(Create<TSampleForm>(nullptr));
    EXPECT_THROW(ReadInto(cut, target.get()), EReadError) << n;
    EXPECT_THROW(BinaryToText(cut), EReadError) << n;
    EXPECT_FALSE(target->ComponentState().Contains(csLoading)) << n;
  }
  String msg = Raises<EReadError>([&] { BinaryToText(bin.substr(0, 4)); });
  EXPECT_EQ(msg, "Unexpected end of stream at offset 4");

  // A length beyond the stream is corruption, not an allocation.
  String huge =
      Bytes({'T', 'P', 'F', '0', 1, 'C', 0, 1, 'P', 12, 0xFF, 0xFF, 0xFF, 0x7F, 'x', 0, 0});
  msg = Raises<EReadError>([&] { BinaryToText(huge); });
  EXPECT_NE(msg.find("Invalid length 2147483647 at offset 10"), String::npos) << msg;
  String badType = Bytes({'T', 'P', 'F', '0', 1, 'C', 0, 1, 'P', 77, 0, 0});
  msg = Raises<EReadError>([&] { BinaryToText(badType); });
  EXPECT_NE(msg.find("Invalid value type 77 at offset 9"), String::npos) << msg;
  EXPECT_THROW(BinaryToText("TPF1"), EReadError);

  // Deep nesting is refused.
  String deep = Bytes({'T', 'P', 'F', '0', 1, 'C', 0, 1, 'P'});
  deep += String(100000, '\x01');
  msg = Raises<EReadError>([&] { BinaryToText(deep); });
  EXPECT_NE(msg.find("nested too deeply"), String::npos) << msg;
}

TEST(FormBinary, FailuresCloseTheBracketsTheyOpened) {
  RegisterSampleClasses();
  RegisterClass(TLoadFailComp::StaticClass());
  TObjectPtr<TSampleForm> target(Create<TSampleForm>(nullptr));
  // An item that fails to read: the collection's update bracket closes.
  String msg = Raises<EReadError>([&] {
    ReadInto(
        "object F: TSampleForm\r\n  Items = <\r\n    item\r\n      Bogus = 1\r\n    end>\r\n"
        "end\r\n",
        target.get());
  });
  EXPECT_NE(msg.find("Bogus"), String::npos) << msg;
  EXPECT_EQ(target->Items()->UpdateCount(), 0);
  // A Loaded that fails: the components after it leave the loading state.
  Raises<EComponentError>([&] {
    ReadInto(
        "object F: TSampleForm\r\n"
        "  object Fails1: TLoadFailComp\r\n    Count = 13\r\n  end\r\n"
        "  object After1: TSampleComp\r\n  end\r\n"
        "end\r\n",
        target.get());
  });
  ASSERT_NE(Child(target.get(), "After1"), nullptr);
  EXPECT_FALSE(Child(target.get(), "After1")->ComponentState().Contains(csLoading));
  EXPECT_EQ(Child(target.get(), "After1")->loadedCount, 0) << "its Loaded never ran";
}

TEST(FormBinary, FailuresKeepWhatWasRead) {
  RegisterSampleClasses();
  TObjectPtr<TSampleForm> target(Create<TSampleForm>(nullptr));
  target->SetName("Target");
  String text =
      "object F: TSampleForm\r\n"
      "  Count = 5\r\n"
      "  object Good1: TSampleComp\r\n"
      "    Count = 1\r\n"
      "  end\r\n"
      "  object Bad1: TFailingComp\r\n"
      "    Count = 2\r\n"
      "    object Inner1: TSampleComp\r\n"
      "    end\r\n"
      "    Trap = 13\r\n"
      "  end\r\n"
      "  Caption = 'never'\r\n"
      "end\r\n";
  // Properties after children are a parse error; move Trap before Inner1.
  String fixed = text;
  fixed.replace(fixed.find("    object Inner1"), 0, "    Trap = 13\r\n");
  fixed.erase(fixed.rfind("    Trap = 13\r\n"), 15);
  fixed.erase(fixed.find("  Caption = 'never'\r\n"), 21);
  String msg = Raises<EReadError>([&] { ReadInto(fixed, target.get()); });
  EXPECT_NE(msg.find("Error reading Bad1.Trap: trap sprung"), String::npos) << msg;
  EXPECT_EQ(target->Count(), 5);
  ASSERT_NE(Child(target.get(), "Good1"), nullptr);
  EXPECT_EQ(Child(target.get(), "Good1")->Count(), 1);
  EXPECT_EQ(target->FindComponent("Bad1"), nullptr) << "the failed component is freed";
  EXPECT_EQ(target->ComponentCount(), 1);
  EXPECT_FALSE(target->ComponentState().Contains(csLoading));
  EXPECT_FALSE(Child(target.get(), "Good1")->ComponentState().Contains(csLoading));
  EXPECT_EQ(target->loadedCount, 0) << "no Loaded after a failure";

  // Unknown property and class, wrong value kinds.
  msg = Raises<EReadError>(
      [&] { ReadInto("object F: TSampleForm\r\n  Bogus = 1\r\nend\r\n", target.get()); });
  EXPECT_NE(msg.find("Error reading Target.Bogus: Property Bogus does not exist"), String::npos)
      << msg;
  msg = Raises<EReadError>(
      [&] { ReadInto("object F: TSampleForm\r\n  Font.Bogus = 1\r\nend\r\n", target.get()); });
  EXPECT_NE(msg.find("Error reading Target.Font.Bogus: Property Bogus"), String::npos) << msg;
  msg = Raises<EReadError>([&] {
    ReadInto(
        "object F: TSampleForm\r\n  Items = <\r\n    item\r\n    end\r\n    item\r\n"
        "      Width = 'wide'\r\n    end>\r\nend\r\n",
        target.get());
  });
  EXPECT_NE(msg.find("Error reading Target.Items[1].Width: "), String::npos) << msg;
  msg = Raises<EClassNotFound>([&] {
    ReadInto("object F: TSampleForm\r\n  object X: TNoSuchClass\r\n  end\r\nend\r\n", target.get());
  });
  EXPECT_NE(msg.find("TNoSuchClass"), String::npos) << msg;
  EXPECT_THROW(ReadNew("object F: TNoSuchClass\r\nend\r\n"), EClassNotFound);
  for (const char* bad : {"Count = 'text'", "Align = saNowhere", "Options = [optBold, optNone]",
                          "Caption = 12", "Enabled = 3", "Font = 5", "Items = (1)",
                          "Count = 3000000000", "Font.Color = clPurple", "Letter = 'ab'"}) {
    String t = String("object F: TSampleForm\r\n  ") + bad + "\r\nend\r\n";
    EXPECT_THROW(ReadInto(t, target.get()), EReadError) << bad;
  }
  EXPECT_EQ(target->ComponentCount(), 1) << "nothing was added by the failed reads";
}

TEST(FormBinary, ReferencesOfItemsEmptiedLaterInTheStreamAreDropped) {
  RegisterSampleClasses();
  // Extra is a collection the component streams itself; the second value
  // frees the item whose reference is still waiting to be resolved.
  const String text =
      "object F: TSampleForm\r\n"
      "  Extra = <\r\n"
      "    item\r\n"
      "      Buddy = Timer1\r\n"
      "    end>\r\n"
      "  Extra = <>\r\n"
      "  object Timer1: TSampleComp\r\n"
      "  end\r\n"
      "end\r\n";
  TObjectPtr<TSampleForm> target(Create<TSampleForm>(nullptr));
  target->Extra()->Add();
  ReadInto(text, target.get());
  EXPECT_EQ(target->Extra()->Count(), 0);
  TObjectPtr<TComponent> created(ReadNew(text));
  EXPECT_EQ(static_cast<TSampleForm*>(created.get())->Extra()->Count(), 0);

  // An item that stays gets its reference.
  const String kept =
      "object F: TSampleForm\r\n"
      "  Extra = <\r\n"
      "    item\r\n"
      "      Buddy = Timer1\r\n"
      "    end\r\n"
      "    item\r\n"
      "      Buddy = F\r\n"
      "    end>\r\n"
      "  object Timer1: TSampleComp\r\n"
      "  end\r\n"
      "end\r\n";
  TObjectPtr<TSampleForm> other(Create<TSampleForm>(nullptr));
  ReadInto(kept, other.get());
  ASSERT_EQ(other->Extra()->Count(), 2);
  EXPECT_EQ(other->Extra()->Item(0)->Buddy(), other->FindComponent("Timer1"));
  EXPECT_EQ(other->Extra()->Item(1)->Buddy(), other.get());
}

TEST(FormBinary, ReferencesToTheRootFollowItWhateverItsName) {
  RegisterSampleClasses();
  const String text =
      "object Form1: TSampleForm\r\n"
      "  Link = Form1\r\n"
      "  object Edit1: TSampleComp\r\n"
      "    Link = Form1\r\n"
      "  end\r\n"
      "end\r\n";
  // Into an unnamed root.
  TObjectPtr<TSampleForm> unnamed(Create<TSampleForm>(nullptr));
  ReadInto(text, unnamed.get());
  EXPECT_EQ(unnamed->Link(), unnamed.get());
  EXPECT_EQ(Child(unnamed.get(), "Edit1")->Link(), unnamed.get());

  // Into a root with another name while the original is a global root.
  TObjectPtr<TSampleForm> original(Create<TSampleForm>(nullptr));
  original->SetName("Form1");
  AddGlobalRoot(original.get());
  TObjectPtr<TSampleForm> clone(Create<TSampleForm>(nullptr));
  clone->SetName("Form2");
  ReadInto(text, clone.get());
  EXPECT_EQ(clone->Link(), clone.get()) << "not the original";
  EXPECT_EQ(Child(clone.get(), "Edit1")->Link(), clone.get());
  RemoveGlobalRoot(original.get());

  // A component of the root named like the stream's root still wins, as
  // names of the root's components always come first.
  TObjectPtr<TComponent> created(ReadNew(text));
  EXPECT_EQ(static_cast<TSampleForm*>(created.get())->Link(), created.get());
}

TEST(FormBinary, DuplicateNamesRaiseTheReadErrorWithThePosition) {
  RegisterSampleClasses();
  const String text =
      "object F: TSampleForm\r\n"
      "  object Button1: TSampleComp\r\n"
      "  end\r\n"
      "  object button1: TSampleComp\r\n"
      "  end\r\n"
      "end\r\n";
  const String bin = TextToBinary(text);
  const std::size_t at = bin.find(
      "\x07"
      "button1");
  ASSERT_NE(at, String::npos);
  TObjectPtr<TSampleForm> target(Create<TSampleForm>(nullptr));
  String msg = Raises<EReadError>([&] { ReadInto(text, target.get()); });
  EXPECT_NE(msg.find("button1"), String::npos) << msg;
  EXPECT_NE(msg.find("at offset " + std::to_string(at)), String::npos) << msg;
  EXPECT_EQ(target->ComponentCount(), 1) << "the clashing component is freed";
  EXPECT_FALSE(target->ComponentState().Contains(csLoading));
  msg = Raises<EReadError>([&] { TObjectPtr<TComponent> c(ReadNew(bin)); });
  EXPECT_NE(msg.find("at offset " + std::to_string(at)), String::npos) << msg;
}
