#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "classes/formstream.h"
#include "classes/reader.h"
#include "classes/writer.h"
#include "rtl/streams.h"
#include "stream_samples.h"

using namespace brevant;
using namespace sample;

namespace {

// The text of one property value, written through the binary form.
template <class F>
String ValueText(F writeValue) {
  TStringStream s;
  {
    TWriter w(s);
    w.WriteSignature();
    w.WriteStr("TX");
    w.WriteStr("");
    w.WriteStr("P");
    writeValue(w);
    w.WriteListEnd();
    w.WriteListEnd();
  }
  String text = BinaryToText(s.DataString());
  const String head = "object TX\r\n  P = ";
  const String tail = "\r\nend\r\n";
  EXPECT_EQ(text.substr(0, head.size()), head);
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
  return text.substr(head.size(), text.size() - head.size() - tail.size());
}

// The value bytes (type byte and data) a text value converts to.
String ValueBytes(const String& valueText) {
  String bin = TextToBinary("object TX\r\n  P = " + valueText + "\r\nend\r\n");
  const std::size_t start = 4 + 1 + 2 + 1 + 1 + 1;  // signature, "TX", "", "P"
  return bin.substr(start, bin.size() - start - 2);
}

Integer ParseErrorLine(const String& text, String* message = nullptr) {
  try {
    TextToBinary(text);
  } catch (const EParserError& e) {
    if (message) *message = e.Message();
    return e.Line();
  } catch (const std::exception& e) {
    ADD_FAILURE() << "other exception: " << e.what();
    return -1;
  }
  ADD_FAILURE() << "no parse error for: " << text;
  return 0;
}

}  // namespace

TEST(FormText, SampleMatchesHandWrittenText) {
  RegisterSampleClasses();
  TObjectPtr<TSampleForm> form(Create<TSampleForm>(nullptr));
  form->SetName("Form1");
  form->SetCaption("It's");
  form->SetRatio(0.25);
  form->SetPrecise(0.1L);
  form->SetOptions({optBold, optUnderline});
  static_cast<TSampleItem*>(form->Items()->Add())->SetCaption("A");
  static_cast<TSampleItem*>(form->Items()->Add())->SetWidth(80);
  for (int i = 0; i < 40; ++i) form->blob += static_cast<char>(i);
  form->OnClick = TNotifyEvent::Of<&TSampleForm::ButtonClick>(form.get());
  auto* panel = Create<TSampleComp>(form.get());
  panel->SetName("Panel1");
  panel->SetParentComponent(form.get());
  panel->SetScale(1.5f);
  panel->SetPrice(Currency::FromRaw(123400));
  panel->SetWhen(45000.5);
  String digits;
  for (int i = 0; i < 70; ++i) digits += static_cast<char>('0' + i % 10);
  panel->SetCaption(digits);
  panel->SetValue(Variant::Null());
  panel->Font()->SetSize(10);
  panel->Font()->SetStyle({optBold});
  panel->Font()->SetColor(0xFF00);
  panel->Lines()->Add("a");
  panel->Lines()->Add("b");
  panel->SetLink(form.get());
  panel->notes = {"x"};

  const String expected =
      "object Form1: TSampleForm\r\n"
      "  Options = [optBold, optUnderline]\r\n"
      "  Ratio = 0.25\r\n"
      "  Precise = 0.100000000000000000001\r\n"
      "  Caption = 'It'#39's'\r\n"
      "  Items = <\r\n"
      "    item\r\n"
      "      Caption = 'A'\r\n"
      "    end\r\n"
      "    item\r\n"
      "      Width = 80\r\n"
      "    end>\r\n"
      "  OnClick = ButtonClick\r\n"
      "  Blob = {\r\n"
      "    000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F\r\n"
      "    2021222324252627}\r\n"
      "  object Panel1: TSampleComp\r\n"
      "    Scale = 1.5s\r\n"
      "    Price = 12.34c\r\n"
      "    When = 45000.5d\r\n"
      "    Caption = \r\n"
      "      '0123456789012345678901234567890123456789012345678901234567890123' +\r\n"
      "      '456789'\r\n"
      "    Value = Null\r\n"
      "    Font.Size = 10\r\n"
      "    Font.Style = [optBold]\r\n"
      "    Font.Color = clGreen\r\n"
      "    Items = <>\r\n"
      "    Lines.Strings = (\r\n"
      "      'a'\r\n"
      "      'b')\r\n"
      "    Link = Form1\r\n"
      "    Notes = (\r\n"
      "      'x')\r\n"
      "  end\r\n"
      "end\r\n";
  TStringStream text;
  WriteComponentText(text, form.get());
  EXPECT_EQ(text.DataString(), expected);

  // And back: the hand-written text reads into an equal form.
  TObjectPtr<TComponent> copy(ReadNew(expected));
  EXPECT_EQ(WriteBinary(copy.get()), WriteBinary(form.get()));
  text.SetPosition(0);
  EXPECT_EQ(TestStreamFormat(text), sofText);
}

TEST(FormText, Strings) {
  EXPECT_EQ(ValueText([](TWriter& w) { w.WriteString(""); }), "''");
  EXPECT_EQ(ValueText([](TWriter& w) { w.WriteString("'"); }), "#39");
  EXPECT_EQ(ValueText([](TWriter& w) { w.WriteString("a\r\nb\t"); }), "'a'#13#10'b'#9");
  EXPECT_EQ(ValueText([](TWriter& w) { w.WriteString("\xC3\xA9t\xC3\xA9"); }),
            "'\xC3\xA9t\xC3\xA9'");
  // Bytes that are not UTF-8 stay raw so that the same bytes come back.
  EXPECT_EQ(ValueText([](TWriter& w) { w.WriteString("x\xE9y"); }), "'x\xE9y'");
  EXPECT_EQ(ValueBytes("'x\xE9y'"), String("\x14\x03\x00\x00\x00x\xE9y", 8));
  EXPECT_EQ(ValueText([](TWriter& w) { w.WriteWideString(u"\u00e9'\u20ac!"); }), "#233#39#8364'!'");

  // 100 characters: own line, continued after 64.
  String hundred(100, 'z');
  EXPECT_EQ(ValueText([&](TWriter& w) { w.WriteString(hundred); }),
            "\r\n    '" + String(64, 'z') + "' +\r\n    '" + String(36, 'z') + "'");
  // Escapes count as one character each; exactly 64 characters stay on one line.
  EXPECT_EQ(ValueText([](TWriter& w) { w.WriteString(String(64, '\n')); }).find("+"), String::npos);
  String mixed = String(63, 'a') + "\r" + String(10, 'b');
  EXPECT_EQ(ValueText([&](TWriter& w) { w.WriteString(mixed); }),
            "\r\n    '" + String(63, 'a') + "'#13 +\r\n    '" + String(10, 'b') + "'");
  // A split never falls inside a UTF-8 sequence: "é" at bytes 63-64 stays whole.
  String utf = String(63, 'a') + "\xC3\xA9" + "tail";
  String t = ValueText([&](TWriter& w) { w.WriteString(utf); });
  EXPECT_EQ(t, "\r\n    '" + String(63, 'a') + "\xC3\xA9' +\r\n    'tail'");
  // Nor between the halves of a surrogate pair.
  WideString wide = WideString(63, u'a') + u"\U0001F600" + u"b";
  EXPECT_EQ(ValueText([&](TWriter& w) { w.WriteWideString(wide); }),
            "\r\n    '" + String(63, 'a') + "'#55357#56832 +\r\n    'b'");

  // Reading: quoted apostrophes, adjacent pieces, continuation lines, and
  // codes above 127 making a wide string.
  EXPECT_EQ(ValueBytes("'it''s'"), String("\x06\x04it's", 6));
  EXPECT_EQ(ValueBytes("'a'#10'b'"), String("\x06\x03"
                                            "a\nb",
                                            5));
  EXPECT_EQ(ValueBytes("'ab' +\r\n   'cd'"), String("\x06\x04"
                                                    "abcd",
                                                    6));
  EXPECT_EQ(ValueBytes("#$41#66"), String("\x06\x02"
                                          "AB",
                                          4));
  EXPECT_EQ(ValueBytes("'x'#8364"), String("\x12\x02\x00\x00\x00x\x00\xAC\x20", 9));
  EXPECT_EQ(ValueBytes("#128512"), String("\x12\x02\x00\x00\x00\x3D\xD8\x00\xDE", 9));
  EXPECT_EQ(ValueBytes("'caf\xC3\xA9'#233"), String("\x12\x05\x00\x00\x00"
                                                    "c\0a\0f\0\xE9\0\xE9\0",
                                                    15));
}

TEST(FormText, NumbersAndOtherValues) {
  EXPECT_EQ(ValueText([](TWriter& w) { w.WriteInteger(Int64(-2147483648LL)); }), "-2147483648");
  EXPECT_EQ(ValueText([](TWriter& w) { w.WriteInteger(INT64_MIN); }), "-9223372036854775808");
  EXPECT_EQ(ValueText([](TWriter& w) { w.WriteFloat(5); }), "5.0");
  EXPECT_EQ(ValueText([](TWriter& w) { w.WriteFloat(-0.0L); }), "-0.0");
  EXPECT_EQ(ValueText([](TWriter& w) { w.WriteFloat(1.5e300); }), "1.5E300");
  EXPECT_EQ(ValueText([](TWriter& w) { w.WriteFloat(1e25L); }), "1.00000000000000000000E25");
  EXPECT_EQ(ValueText([](TWriter& w) { w.WriteSingle(0.1f); }), "0.1s");
  EXPECT_EQ(ValueText([](TWriter& w) { w.WriteCurrency(Currency::FromRaw(-5)); }), "-0.0005c");
  EXPECT_EQ(ValueText([](TWriter& w) { w.WriteCurrency(Currency::FromRaw(INT64_MIN)); }),
            "-922337203685477.5808c");
  EXPECT_EQ(ValueText([](TWriter& w) { w.WriteDate(45000); }), "45000d");
  EXPECT_EQ(ValueText([](TWriter& w) { w.WriteFloat(-HUGE_VALL); }), "-INF");
  EXPECT_EQ(ValueText([](TWriter& w) { w.WriteSingle(std::nanf("")); }), "+NANs");
  EXPECT_EQ(ValueText([](TWriter& w) { w.WriteIdent("Form1.Button1"); }), "Form1.Button1");
  EXPECT_EQ(ValueText([](TWriter& w) { w.WriteBinary("", 0); }), "{}");
  EXPECT_EQ(ValueText([](TWriter& w) { w.WriteBinary("\xAB\x01", 2); }), "{AB01}");
  EXPECT_EQ(ValueText([](TWriter& w) {
              w.WriteListBegin();
              w.WriteListBegin();
              w.WriteInteger(1);
              w.WriteListEnd();
              w.WriteBoolean(false);
              w.WriteListEnd();
            }),
            "(\r\n    (\r\n      1)\r\n    False)");
  EXPECT_EQ(ValueText([](TWriter& w) {
              w.WriteListBegin();
              w.WriteListEnd();
            }),
            "()");

  // Every extended, double and single value reads back exactly.
  const Extended values[] = {0.1L,
                             1.0L / 3,
                             2.0L / 3,
                             1e25L,
                             123456789.125L,
                             1e-4940L,
                             7e4900L,
                             0.1,
                             1.0 / 3,
                             std::numeric_limits<double>::max(),
                             5e-324,
                             -1e-300,
                             12345678901234567890.0L};
  for (Extended v : values) {
    String text = ValueText([&](TWriter& w) { w.WriteFloat(v); });
    TStringStream s(TextToBinary("object TX\r\n  P = " + text + "\r\nend\r\n"));
    TReader r(s);
    r.ReadSignature();
    TFilerFlags flags;
    Integer pos;
    r.ReadPrefix(flags, pos);
    r.ReadStr();
    r.ReadStr();
    r.ReadStr();
    EXPECT_EQ(r.ReadFloat(), v) << text;
  }
  for (float f : {0.1f, 1.0f / 3, 3.4e38f, 1e-45f}) {
    String text = ValueText([&](TWriter& w) { w.WriteSingle(f); });
    EXPECT_EQ(ValueBytes(text).substr(0, 1), "\x0F") << text;
    EXPECT_EQ(ValueText([&](TWriter& w) { w.WriteSingle(f); }), text);
    String bytes = ValueBytes(text);
    float back;
    std::memcpy(&back, bytes.data() + 1, 4);
    EXPECT_EQ(back, f) << text;
  }
  // Hand-written numbers.
  EXPECT_EQ(ValueBytes("$10"), String("\x02\x10", 2));
  EXPECT_EQ(ValueBytes("+7"), String("\x02\x07", 2));
  EXPECT_EQ(ValueBytes("1e2c"), String("\x10\x40\x42\x0F\x00\x00\x00\x00\x00", 9));
  EXPECT_EQ(ValueBytes("3000000000"), String("\x13\x00\x5E\xD0\xB2\x00\x00\x00\x00", 9));
  EXPECT_EQ(ValueBytes("[ a ,b ]"), String("\x0B\x01"
                                           "a\x01"
                                           "b\x00",
                                           6));
  EXPECT_EQ(ValueBytes("{ 0a 0B\r\n ff }"), String("\x0A\x03\x00\x00\x00\x0A\x0B\xFF", 8));
  EXPECT_EQ(ValueBytes("(Null)"), String("\x01\x07\x04Null\x00", 8))
      << "Null in a list stays a name";
  EXPECT_EQ(ValueBytes("Null"), String("\x00", 1));
  EXPECT_EQ(ValueBytes("('a'\r\n +INF)").substr(0, 5), String("\x01\x06\x01"
                                                              "a\x05",
                                                              5));
}

TEST(FormText, ParserAcceptsHandWrittenLayout) {
  RegisterSampleClasses();
  // Lower-case keywords, no name, blanks around dots, LF line ends,
  // properties called "end" and "object" are told apart by their '='.
  String bin = TextToBinary(
      "\xEF\xBB\xBFOBJECT TSampleForm\n  Font . Size=3\n  end = 1\n  object = 2\n"
      "  Items = < item [ 2 ] end >\n  inherited Child: TSampleComp [1]\n  END\nend");
  String text = BinaryToText(bin);
  EXPECT_EQ(text,
            "object TSampleForm\r\n"
            "  Font.Size = 3\r\n"
            "  end = 1\r\n"
            "  object = 2\r\n"
            "  Items = <\r\n"
            "    item [2]\r\n"
            "    end>\r\n"
            "  inherited Child: TSampleComp [1]\r\n"
            "  end\r\n"
            "end\r\n");
  EXPECT_EQ(TextToBinary(text), bin);
}

// One malformed text, the line its error names and, when given, the message.
struct TParseErrorRow {
  const char* name;               // what is wrong
  const char* text;               // the malformed text
  Integer line;                   // the line the error names
  const char* message = nullptr;  // the whole message, when checked
};

TEST(FormText, ParseErrorsCarryTheLine) {
  const TParseErrorRow rows[] = {
      {"unterminated string", "object A: B\r\n  C = 'open\r\n  D = 1\r\nend\r\n", 2,
       "Unterminated string on line 2"},
      {"letters after digits", "object A: B\r\n  C = 1\r\n  D = 12x\r\nend\r\n", 3,
       "Invalid number '12x' on line 3"},
      {"no digits after the point", "object A: B\r\n  C = 1.\r\nend\r\n", 2},
      {"integer beyond 64 bits", "object A: B\r\n  C = 99999999999999999999\r\nend\r\n", 2},
      {"float beyond range", "object A: B\r\n  C = 1e99999\r\nend\r\n", 2},
      {"unknown kind suffix", "object A: B\r\n  C = 1.5x\r\nend\r\n", 2},
      {"no value", "object A: B\r\n\r\n  C = @\r\nend\r\n", 3, "Invalid property value on line 3"},
      // Unbalanced objects, collections and lists.
      {"object without end", "object A: B\r\n  object C: D\r\n  end\r\n", 4,
       "'end' expected on line 4"},
      {"end too many", "object A: B\r\nend\r\nend\r\n", 3,
       "Text after the end of the object on line 3"},
      {"collection not closed", "object A: B\r\n  C = <\r\n    item\r\n    end\r\nend\r\n", 5,
       "'item' expected on line 5"},
      {"item without end", "object A: B\r\n  C = <\r\n    item\r\n  >\r\nend\r\n", 4},
      {"collection closed before opening", "object A: B\r\n  C = >\r\nend\r\n", 2},
      {"list without closing parenthesis", "object A: B\r\n  C = (\r\n    1\r\nend\r\n", 5,
       "')' expected on line 5"},
      {"parenthesis after a value", "object A: B\r\n  C = 1)\r\nend\r\n", 2,
       "Identifier expected on line 2"},
      {"set elements without comma", "object A: B\r\n  C = [a b]\r\nend\r\n", 2},
      {"odd number of hex digits", "object A: B\r\n  C = {ABC}\r\nend\r\n", 2},
      {"not a hex digit", "object A: B\r\n  C = {AG}\r\nend\r\n", 2},
      {"character code without digits", "object A: B\r\n  C = #\r\nend\r\n", 2},
      {"character code beyond Unicode", "object A: B\r\n  C = #1114112\r\nend\r\n", 2},
      {"plus without a next piece", "object A: B\r\n  C = 'a' +\r\nend\r\n", 2},
      {"property after a child", "object A: B\r\n  object C: D\r\n  end\r\n  E = 1\r\nend\r\n", 4},
      {"no equals sign", "object A: B\r\n  C 1\r\nend\r\n", 2},
      {"unknown keyword", "thing A: B\r\nend\r\n", 1},
      {"empty text", "", 1},
  };
  for (const TParseErrorRow& row : rows) {
    String msg;
    EXPECT_EQ(ParseErrorLine(row.text, &msg), row.line) << row.name;
    if (row.message) {
      EXPECT_EQ(msg, row.message) << row.name;
    }
  }
  String msg;
  String deep = "object A: B\r\n  C = " + String(300, '(') + "\r\nend\r\n";
  EXPECT_EQ(ParseErrorLine(deep, &msg), 2);
  EXPECT_EQ(msg, "Nested too deeply on line 2");
  // The reader raises the parser's error for text input.
  TObjectPtr<TSampleForm> target(Create<TSampleForm>(nullptr));
  TStringStream s("object A: B\r\n  C = 'x\r\nend\r\n");
  EXPECT_THROW(ReadComponent(s, target.get()), EParserError);
  TStringStream junk("garbage");
  EXPECT_EQ(TestStreamFormat(junk), sofUnknown);
  EXPECT_THROW(ReadComponent(junk, target.get()), EReadError);
}
