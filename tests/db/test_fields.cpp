// Field classes: typed views, texts, formats, record formats, blob streams,
// calculated and lookup fields, field definitions and parameters.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "db/db_test_util.h"
#include "db/params.h"
#include "error_text.h"
#include "rtl/datetime.h"
#include "rtl/format_settings.h"
#include "rtl/streams.h"

using namespace brevant;
using namespace dbtest;

namespace {

using brevant::test::ErrorOf;

// One open, empty dataset with a field of each kind, in insert state.
struct TAllTypes {
  TObjectPtr<TMemDataSet> ds;
  TAllTypes() : ds(Create<TMemDataSet>(nullptr)) {
    auto* d = ds->FieldDefs();
    d->Add("S", ftString, 10);
    d->Add("W", ftWideString, 8);
    d->Add("Small", ftSmallint);
    d->Add("I", ftInteger);
    d->Add("Wd", ftWord);
    d->Add("L", ftLargeint);
    d->Add("B", ftBoolean);
    d->Add("F", ftFloat);
    d->Add("C", ftCurrency);
    d->Add("Bcd", ftBCD, 2);
    d->Add("Fmt", ftFMTBcd, 3)->SetPrecision(10);
    d->Add("D", ftDate);
    d->Add("T", ftTime);
    d->Add("DT", ftDateTime);
    d->Add("TS", ftTimeStamp);
    d->Add("By", ftBytes, 4);
    d->Add("VB", ftVarBytes, 4);
    d->Add("Blob", ftBlob);
    d->Add("Memo", ftMemo);
    d->Add("Pic", ftGraphic);
    d->Add("V", ftVariant);
    d->Add("G", ftGuid, 38);
    d->Add("A", ftAutoInc);
    ds->Open();
    ds->Insert();
  }
  TField* F(const char* name) { return ds->FieldByName(name); }
};

}  // namespace

TEST(Fields, DefaultFieldClassesFollowTheDefinitions) {
  TAllTypes t;
  EXPECT_STREQ(t.F("S")->ClassName(), "TStringField");
  EXPECT_STREQ(t.F("W")->ClassName(), "TWideStringField");
  EXPECT_STREQ(t.F("Small")->ClassName(), "TSmallintField");
  EXPECT_STREQ(t.F("Wd")->ClassName(), "TWordField");
  EXPECT_STREQ(t.F("L")->ClassName(), "TLargeintField");
  EXPECT_STREQ(t.F("C")->ClassName(), "TCurrencyField");
  EXPECT_STREQ(t.F("Bcd")->ClassName(), "TBCDField");
  EXPECT_STREQ(t.F("Fmt")->ClassName(), "TFMTBCDField");
  EXPECT_STREQ(t.F("D")->ClassName(), "TDateField");
  EXPECT_STREQ(t.F("TS")->ClassName(), "TSQLTimeStampField");
  EXPECT_STREQ(t.F("VB")->ClassName(), "TVarBytesField");
  EXPECT_STREQ(t.F("Memo")->ClassName(), "TMemoField");
  EXPECT_STREQ(t.F("Pic")->ClassName(), "TGraphicField");
  EXPECT_STREQ(t.F("G")->ClassName(), "TGuidField");
  EXPECT_STREQ(t.F("A")->ClassName(), "TAutoIncField");
  // Record sizes.
  EXPECT_EQ(t.F("S")->DataSize(), 41);  // ten characters of up to four bytes
  EXPECT_EQ(t.F("W")->DataSize(), 10);
  EXPECT_EQ(t.F("Small")->DataSize(), 2);
  EXPECT_EQ(t.F("I")->DataSize(), 4);
  EXPECT_EQ(t.F("B")->DataSize(), 2);
  EXPECT_EQ(t.F("F")->DataSize(), 8);
  EXPECT_EQ(t.F("Bcd")->DataSize(), 34);
  EXPECT_EQ(t.F("D")->DataSize(), 4);
  EXPECT_EQ(t.F("DT")->DataSize(), 8);
  EXPECT_EQ(t.F("TS")->DataSize(), 16);
  EXPECT_EQ(t.F("By")->DataSize(), 4);
  EXPECT_EQ(t.F("VB")->DataSize(), 6);
  EXPECT_EQ(t.F("Blob")->DataSize(), 0);
  EXPECT_TRUE(t.F("Memo")->IsBlob());
  EXPECT_FALSE(t.F("S")->IsBlob());
  EXPECT_TRUE(IsBlobFieldType(ftOraClob));
  EXPECT_FALSE(IsBlobFieldType(ftCursor));
  EXPECT_EQ(FieldTypeName(ftFMTBcd), "ftFMTBcd");
  EXPECT_EQ(FieldTypeName(ftOraBlob), "ftOraBlob");
  // Alignment and widths.
  EXPECT_EQ(t.F("I")->Alignment(), taRightJustify);
  EXPECT_EQ(t.F("C")->Alignment(), taRightJustify);
  EXPECT_EQ(t.F("S")->Alignment(), taLeftJustify);
  EXPECT_EQ(t.F("B")->Alignment(), taLeftJustify);
  EXPECT_EQ(t.F("S")->DisplayWidth(), 10);
  EXPECT_EQ(t.F("Small")->DisplayWidth(), 6);
  t.F("S")->SetDisplayWidth(3);
  EXPECT_EQ(t.F("S")->DisplayWidth(), 3);
  // Every field starts null in a new record.
  for (TField* f : *t.ds->Fields()) EXPECT_TRUE(f->IsNull()) << f->FieldName();
  EXPECT_TRUE(VarIsNull(t.F("I")->AsVariant()));
  EXPECT_EQ(t.F("I")->AsInteger(), 0);
  EXPECT_EQ(t.F("S")->AsString(), "");
}

TEST(Fields, RecordFormats) {
  TAllTypes t;
  TFormatSettingsGuard guard;
  Byte b[64];
  t.F("S")->SetAsString("abc");
  ASSERT_TRUE(t.F("S")->GetData(b));
  EXPECT_EQ(std::memcmp(b, "abc\0", 4), 0);
  t.F("B")->SetAsBoolean(true);
  Word w = 0;
  t.F("B")->GetData(&w);
  EXPECT_EQ(w, 0xFFFF);
  w = 1;  // any non-zero word reads True
  t.F("B")->SetData(&w);
  EXPECT_TRUE(t.F("B")->AsBoolean());
  t.F("D")->SetAsDateTime(EncodeDate(2024, 2, 29) + 0.75);
  Integer day = 0;
  t.F("D")->GetData(&day);
  EXPECT_EQ(day, DateTimeToTimeStamp(EncodeDate(2024, 2, 29)).Date);
  EXPECT_EQ(t.F("D")->AsDateTime(), EncodeDate(2024, 2, 29));
  t.F("T")->SetAsDateTime(EncodeDate(2024, 2, 29) + EncodeTime(13, 30, 15, 250));
  Integer ms = 0;
  t.F("T")->GetData(&ms);
  EXPECT_EQ(ms, ((13 * 60 + 30) * 60 + 15) * 1000 + 250);
  EXPECT_DOUBLE_EQ(t.F("T")->AsDateTime(), EncodeTime(13, 30, 15, 250));
  TDateTime dt = EncodeDate(1999, 12, 31) + EncodeTime(23, 59, 59, 999);
  t.F("DT")->SetAsDateTime(dt);
  double msecs = 0;
  t.F("DT")->GetData(&msecs);
  EXPECT_EQ(msecs, TimeStampToMSecs(DateTimeToTimeStamp(dt)));
  EXPECT_EQ(t.F("DT")->AsString(), "12/31/1999 23:59:59");
  t.F("Bcd")->SetAsCurrency(Currency::FromDouble(12.345));
  TBcd bcd;
  t.F("Bcd")->GetData(&bcd);
  EXPECT_EQ(BcdToStr(bcd), "12.34");  // two decimals, half to even
  t.F("W")->SetAsString("h\xC3\xA9!");
  char16_t units[5] = {};
  t.F("W")->GetData(units);
  EXPECT_EQ(WideString(units), u"h\u00e9!");
  t.F("VB")->SetAsString(String("\x01\x00\x02", 3));
  Byte vb[6] = {};
  t.F("VB")->GetData(vb);
  EXPECT_EQ(vb[0], 3);
  EXPECT_EQ(vb[1], 0);
  EXPECT_EQ(vb[4], 2);
  // A nil buffer is the null test, and writing nil makes null.
  EXPECT_TRUE(t.F("I")->IsNull());
  t.F("I")->SetAsInteger(5);
  EXPECT_TRUE(t.F("I")->GetData(nullptr));
  t.F("I")->SetData(nullptr);
  EXPECT_TRUE(t.F("I")->IsNull());
}

TEST(Fields, TypedViewsConvert) {
  TAllTypes t;
  TFormatSettingsGuard guard;
  TField* s = t.F("S");
  s->SetAsInteger(42);
  EXPECT_EQ(s->AsString(), "42");
  EXPECT_EQ(s->AsInteger(), 42);
  EXPECT_DOUBLE_EQ(s->AsFloat(), 42.0);
  s->SetAsBoolean(false);
  EXPECT_EQ(s->AsString(), "False");
  EXPECT_FALSE(s->AsBoolean());
  s->SetAsString("yes");
  EXPECT_TRUE(s->AsBoolean());
  s->SetAsString("maybe");
  EXPECT_EQ(ErrorOf([&] { s->AsBoolean(); }),
            "EDatabaseError: \"maybe\" is not a valid boolean value");
  EXPECT_EQ(ErrorOf([&] { s->AsInteger(); }),
            "EConvertError: 'maybe' is not a valid integer value");
  EXPECT_EQ(ErrorOf([&] { s->SetAsString("01234567890"); }),
            "EDatabaseError: Value of 11 bytes is too long for field 'S' (at most 10)");
  EXPECT_EQ(s->AsString(), "maybe");
  s->SetAsString("");
  EXPECT_FALSE(s->IsNull());  // an empty text is a value
  TField* i = t.F("I");
  i->SetAsString(" 17 ");
  EXPECT_EQ(i->AsInteger(), 17);
  i->SetAsFloat(2.5);
  EXPECT_EQ(i->AsInteger(), 2);  // half to even
  i->SetAsString("");
  EXPECT_TRUE(i->IsNull());
  EXPECT_EQ(ErrorOf([&] { i->SetAsString("12x"); }),
            "EConvertError: '12x' is not a valid integer value");
  EXPECT_EQ(ErrorOf([&] { i->SetAsLargeInt(Int64(1) << 40); }),
            "EDatabaseError: 1099511627776 is not a valid value for field 'I'. The allowed range "
            "is -2147483648 to 2147483647");
  EXPECT_EQ(ErrorOf([&] { t.F("Small")->SetAsInteger(40000); }),
            "EDatabaseError: 40000 is not a valid value for field 'Small'. The allowed range is "
            "-32768 to 32767");
  EXPECT_EQ(ErrorOf([&] { t.F("Wd")->SetAsInteger(-1); }),
            "EDatabaseError: -1 is not a valid value for field 'Wd'. The allowed range is 0 to "
            "65535");
  t.F("Wd")->SetAsInteger(65535);
  EXPECT_EQ(t.F("Wd")->AsInteger(), 65535);
  auto* ii = static_cast<TIntegerField*>(i);
  ii->SetMinValue(1);
  ii->SetMaxValue(9);
  EXPECT_NE(ErrorOf([&] { i->SetAsInteger(10); }).find("allowed range is 1 to 9"), String::npos);
  i->SetAsVariant(Variant("8"));
  EXPECT_EQ(i->AsInteger(), 8);
  EXPECT_EQ(ErrorOf([&] { i->AsDateTime(); }),
            "EDatabaseError: Cannot access field 'I' as type DateTime");
  TField* l = t.F("L");
  l->SetAsLargeInt(Int64(1) << 40);
  EXPECT_EQ(l->AsString(), "1099511627776");
  EXPECT_EQ(ErrorOf([&] { l->AsInteger(); }).substr(0, 45),
            "EDatabaseError: 1099511627776 is not a valid ");
  TField* f = t.F("F");
  f->SetAsString("1.5");
  EXPECT_DOUBLE_EQ(f->AsFloat(), 1.5);
  EXPECT_EQ(f->AsInteger(), 2);
  EXPECT_EQ(f->AsCurrency(), Currency::FromDouble(1.5));
  EXPECT_EQ(ErrorOf([&] { f->SetAsFloat(std::numeric_limits<double>::infinity()); }),
            "EDatabaseError: Invalid value for field 'F'");
  EXPECT_EQ(ErrorOf([&] { f->SetAsString("1,5"); }),
            "EConvertError: '1,5' is not a valid floating point value");
  TField* c = t.F("C");
  c->SetAsCurrency(Currency::FromDouble(1234.5));
  EXPECT_EQ(c->DisplayText(), "$1,234.50");
  EXPECT_EQ(c->Text(), "1234.50");
  TField* bcd = t.F("Bcd");
  bcd->SetAsString("3.14159");
  EXPECT_EQ(bcd->AsString(), "3.14");
  EXPECT_EQ(bcd->AsCurrency(), Currency::FromDouble(3.14));
  EXPECT_TRUE(VarType(bcd->AsVariant()) == varCurrency);
  TField* fmt = t.F("Fmt");
  fmt->SetAsString("-1234567.8915");
  EXPECT_EQ(fmt->AsString(), "-1234567.892");
  EXPECT_NE(
      ErrorOf([&] { fmt->SetAsString("123456789"); }).find("not a valid value for field 'Fmt'"),
      String::npos);
  EXPECT_EQ(fmt->AsString(), "-1234567.892");
  EXPECT_TRUE(VarIsFMTBcd(fmt->AsVariant()));
  TField* b = t.F("B");
  b->SetAsString("false");
  EXPECT_EQ(b->AsString(), "False");
  static_cast<TBooleanField*>(b)->SetDisplayValues("Ja;Nein");
  b->SetAsString("ja");
  EXPECT_EQ(b->AsString(), "Ja");
  EXPECT_EQ(b->DisplayText(), "Ja");
  EXPECT_EQ(ErrorOf([&] { b->SetAsString("vielleicht"); }),
            "EDatabaseError: \"vielleicht\" is not a valid boolean value");
  b->SetAsVariant(Variant(false));
  EXPECT_EQ(b->AsString(), "Nein");
  TField* d = t.F("D");
  d->SetAsString("02/29/2024");
  EXPECT_EQ(d->AsDateTime(), EncodeDate(2024, 2, 29));
  EXPECT_EQ(ErrorOf([&] { d->SetAsString("02/30/2024"); }),
            "EConvertError: '02/30/2024' is not a valid date");
  EXPECT_EQ(d->AsSQLTimeStamp().Day, 29);
  TField* ts = t.F("TS");
  ts->SetAsDateTime(EncodeDate(2001, 2, 3) + EncodeTime(4, 5, 6, 7));
  EXPECT_EQ(ts->AsSQLTimeStamp().Fractions, 7u);
  EXPECT_EQ(ts->AsString(), "02/03/2001 04:05:06");
  TSQLTimeStamp bad{2001, 2, 30, 0, 0, 0, 0};
  EXPECT_EQ(ErrorOf([&] { ts->SetAsSQLTimeStamp(bad); }),
            "EDatabaseError: Invalid value for field 'TS'");
  ts->SetAsSQLTimeStamp(NullSQLTimeStamp);
  EXPECT_TRUE(ts->IsNull());
  TField* v = t.F("V");
  v->SetAsVariant(VarArrayOf({1, "two"}));
  EXPECT_TRUE(VarIsArray(v->AsVariant()));
  v->SetAsInteger(7);
  EXPECT_EQ(v->AsString(), "7");
  TField* by = t.F("By");
  by->SetAsVariant(VarArrayOf({1, 2}));
  Variant held = by->AsVariant();
  auto bytes = VarArrayBytes(held);
  ASSERT_EQ(bytes.size(), 4u);
  EXPECT_EQ(bytes[1], 2);
  EXPECT_EQ(bytes[3], 0);
  EXPECT_EQ(ErrorOf([&] {
              by->SetAsVariant(VarArrayOf({1, 300}));
            }),
            "EDatabaseError: Invalid variant type or size");
  EXPECT_EQ(by->DisplayText(), "(Bytes)");
  TField* w = t.F("W");
  EXPECT_EQ(ErrorOf([&] { w->SetAsString("12345"); }),
            "EDatabaseError: Value of 10 bytes is too long for field 'W' (at most 8)");
  // Copying values between fields.
  t.F("S")->AssignValue(t.F("I"));
  EXPECT_EQ(t.F("S")->AsString(), "8");
  t.F("S")->AssignValue(t.F("Memo"));
  EXPECT_TRUE(t.F("S")->IsNull());
}

TEST(Fields, TextsFormatsAndEvents) {
  TAllTypes t;
  TFormatSettingsGuard guard;
  auto* f = static_cast<TFloatField*>(t.F("F"));
  f->SetAsFloat(1234.5678);
  EXPECT_EQ(f->DisplayText(), "1234.5678");
  f->SetDisplayFormat("#,##0.00");
  f->SetEditFormat("0.0");
  EXPECT_EQ(f->DisplayText(), "1,234.57");
  EXPECT_EQ(f->Text(), "1234.6");
  f->SetPrecision(3);
  EXPECT_EQ(f->AsString(), "1.23E3");
  auto* i = static_cast<TIntegerField*>(t.F("I"));
  i->SetAsInteger(5);
  i->SetDisplayFormat("000");
  EXPECT_EQ(i->DisplayText(), "005");
  EXPECT_EQ(i->Text(), "5");
  auto* d = static_cast<TDateTimeField*>(t.F("DT"));
  d->SetAsDateTime(EncodeDate(2024, 1, 2));
  EXPECT_EQ(d->DisplayText(), "01/02/2024");  // midnight: no time
  d->SetDisplayFormat("yyyy-mm-dd hh:nn");
  EXPECT_EQ(d->DisplayText(), "2024-01-02 00:00");
  EXPECT_EQ(d->Text(), "01/02/2024");
  t.F("T")->SetAsDateTime(EncodeTime(9, 5, 0, 0));
  EXPECT_EQ(t.F("T")->DisplayText(), "09:05:00");
  EXPECT_EQ(t.F("Memo")->DisplayText(), "(Memo)");
  t.F("Memo")->SetAsString("line");
  EXPECT_EQ(t.F("Memo")->DisplayText(), "(MEMO)");
  EXPECT_EQ(t.F("Memo")->Text(), "line");
  EXPECT_EQ(t.F("Blob")->DisplayText(), "(Blob)");
  // Valid characters.
  EXPECT_TRUE(f->IsValidChar('.'));
  EXPECT_TRUE(f->IsValidChar('e'));
  EXPECT_FALSE(f->IsValidChar('x'));
  EXPECT_TRUE(i->IsValidChar('-'));
  EXPECT_FALSE(i->IsValidChar('.'));
  EXPECT_TRUE(t.F("S")->IsValidChar(U'\u00e9'));
  FormatSettings().DecimalSeparator = ',';
  EXPECT_TRUE(f->IsValidChar(','));
  EXPECT_FALSE(f->IsValidChar('.'));
  FormatSettings().DecimalSeparator = '.';
  // Labels.
  EXPECT_EQ(i->DisplayName(), "I");
  i->SetDisplayLabel("Number");
  EXPECT_EQ(i->DisplayLabel(), "Number");
  EXPECT_EQ(i->DisplayName(), "Number");
  i->SetEditMask("999;0;_");
  EXPECT_EQ(i->EditMask(), "999;0;_");
  // OnGetText / OnSetText.
  TField* s = t.F("S");
  s->OnGetText = TFieldGetTextEvent::FromCallable([](TField* fld, String& text, bool display) {
    text = (display ? "<" : "[") + fld->AsString() + (display ? ">" : "]");
  });
  s->OnSetText = TFieldSetTextEvent::FromCallable(
      [](TField* fld, const String& text) { fld->SetAsString(UpperCase(text)); });
  s->SetText("abc");
  EXPECT_EQ(s->AsString(), "ABC");
  EXPECT_EQ(s->DisplayText(), "<ABC>");
  EXPECT_EQ(s->Text(), "[ABC]");
  // OnValidate sees the new value and may reject it; OnChange follows a
  // written value.
  std::vector<String> seen;
  i->OnValidate = TFieldNotifyEvent::FromCallable([&](TField* fld) {
    seen.push_back("validate " + fld->AsString());
    if (fld->AsInteger() < 0) throw EDatabaseError("negative");
  });
  i->OnChange = TFieldNotifyEvent::FromCallable(
      [&](TField* fld) { seen.push_back("change " + fld->AsString()); });
  i->SetAsInteger(3);
  EXPECT_EQ(ErrorOf([&] { i->SetAsInteger(-3); }), "EDatabaseError: negative");
  EXPECT_EQ(i->AsInteger(), 3);
  i->Clear();
  EXPECT_EQ(seen,
            (std::vector<String>{"validate 3", "change 3", "validate -3", "validate ", "change "}));
}

TEST(Fields, BlobStreamsAndFiles) {
  TAllTypes t;
  auto* blob = static_cast<TBlobField*>(t.F("Blob"));
  String data("a\0b\xff", 4);
  {
    auto s = t.ds->CreateBlobStream(blob, bmWrite);
    s->WriteBuffer(data.data(), 4);
    EXPECT_FALSE(blob->Modified());  // written back when the stream goes
  }
  EXPECT_TRUE(blob->Modified());
  EXPECT_EQ(blob->AsString(), data);
  EXPECT_EQ(blob->BlobSize(), 4);
  {
    auto s = t.ds->CreateBlobStream(blob, bmReadWrite);
    s->Seek(0, soEnd);
    s->WriteBuffer("!", 1);
  }
  EXPECT_EQ(blob->AsString(), data + "!");
  {
    auto s = t.ds->CreateBlobStream(blob, bmRead);
    char c = 0;
    s->ReadBuffer(&c, 1);
    EXPECT_EQ(c, 'a');
  }
  // LoadFromStream reads from the stream's position on.
  TStringStream src("skip:content");
  src.SetPosition(5);
  blob->LoadFromStream(src);
  EXPECT_EQ(blob->AsString(), "content");
  TStringStream dst("12");
  dst.SetPosition(2);
  blob->SaveToStream(dst);
  EXPECT_EQ(dst.DataString(), "12content");
  auto path = (std::filesystem::temp_directory_path() / "bv_db_blob_test.bin").string();
  blob->SaveToFile(path);
  auto* memo = static_cast<TBlobField*>(t.F("Memo"));
  memo->LoadFromFile(path);
  EXPECT_EQ(memo->AsString(), "content");
  std::filesystem::remove(path);
  // An empty content is null; a write stream replaces even when nothing is
  // written.
  memo->SetAsString("");
  EXPECT_TRUE(memo->IsNull());
  blob->SetAsString("x");
  { auto s = t.ds->CreateBlobStream(blob, bmWrite); }
  EXPECT_TRUE(blob->IsNull());
  // Posting keeps the content and clears Modified.
  blob->SetAsString("kept");
  t.ds->Post();
  EXPECT_FALSE(blob->Modified());
  EXPECT_EQ(blob->AsString(), "kept");
  EXPECT_EQ(blob->AsVariant().AsString(), "kept");
  // Writing outside an edit state.
  EXPECT_EQ(ErrorOf([&] { t.ds->CreateBlobStream(blob, bmWrite); }),
            "EDatabaseError: Dataset not in edit or insert mode");
  EXPECT_EQ(ErrorOf([&] { blob->SetAsString("no"); }),
            "EDatabaseError: Dataset not in edit or insert mode");
  blob->SetReadOnly(true);
  t.ds->Edit();
  EXPECT_EQ(ErrorOf([&] { t.ds->CreateBlobStream(blob, bmReadWrite); }),
            "EDatabaseError: Field 'Blob' cannot be modified");
  EXPECT_EQ(ErrorOf([&] { t.ds->CreateBlobStream(t.F("I"), bmRead); }),
            "EDatabaseError: Field 'I' is not a blob field");
  // A stream outliving the edit hands its failure to the exception handler.
  blob->SetReadOnly(false);
  {
    auto s = t.ds->CreateBlobStream(blob, bmWrite);
    s->WriteBuffer("late", 4);
    t.ds->Cancel();
  }
  EXPECT_EQ(blob->AsString(), "kept");
}

TEST(Fields, CalculatedFieldsAreComputedAtFetch) {
  TObjectPtr<TMemDataSet> ds(MakeNumbers(30));
  // Persistent fields: the two data fields and a calculated one.
  auto* id = Create<TIntegerField>(ds.get());
  id->SetFieldName("ID");
  id->SetDataSet(ds.get());
  auto* name = Create<TStringField>(ds.get());
  name->SetFieldName("Name");
  name->SetDataSet(ds.get());
  auto* twice = Create<TIntegerField>(ds.get());
  twice->SetFieldName("Twice");
  twice->SetFieldKind(fkCalculated);
  twice->SetDataSet(ds.get());
  auto* label = Create<TStringField>(ds.get());
  label->SetFieldName("Label");
  label->SetSize(30);
  label->SetFieldKind(fkCalculated);
  label->SetDataSet(ds.get());
  Integer calcs = 0;
  ds->OnCalcFields = TDataSetNotifyEvent::FromCallable([&](TDataSet* d) {
    ++calcs;
    EXPECT_EQ(d->State(), dsCalcFields);
    d->FieldByName("Twice")->SetAsInteger(d->FieldByName("ID")->AsInteger() * 2);
    if (d->FieldByName("ID")->AsInteger() % 2 == 0)
      d->FieldByName("Label")->SetAsString("even " + d->FieldByName("Name")->AsString());
  });
  TObjectPtr<TDataSource> src(Create<TDataSource>(nullptr));
  src->SetDataSet(ds.get());
  TRecLink link;
  link.SetBufferCount(8);
  link.SetDataSource(src.get());
  ds->Open();
  EXPECT_FALSE(ds->DefaultFields());
  EXPECT_EQ(calcs, 8);
  EXPECT_EQ(Join(link.Rows("Twice")), "2 4 6 8 10 12 14 16");
  link.SetActiveRecord(3);
  EXPECT_EQ(label->AsString(), "even R4");
  link.SetActiveRecord(2);
  EXPECT_TRUE(label->IsNull());
  link.SetActiveRecord(0);
  ds->MoveBy(10);
  EXPECT_EQ(Join(link.Rows("Twice")), "8 10 12 14 16 18 20 22");
  EXPECT_EQ(twice->AsInteger(), 22);
  // Calculated fields are written only while calculating.
  EXPECT_EQ(ErrorOf([&] {
              ds->Edit();
              twice->SetAsInteger(1);
            }),
            "EDatabaseError: Field 'Twice' can be set only while calculating fields");
  // Editing a data field recalculates the record.
  id->SetAsInteger(100);
  EXPECT_EQ(twice->AsInteger(), 200);
  ds->Post();
  EXPECT_EQ(twice->AsInteger(), 200);
  // Persistent fields stay across closing.
  ds->Close();
  EXPECT_EQ(ds->FieldCount(), 4);
  ds->Open();
  EXPECT_EQ(twice->AsInteger(), 2);
  link.SetDataSource(nullptr);
}

TEST(Fields, LookupFields) {
  // Industries: code -> name; vendors refer to an industry by code.
  TObjectPtr<TMemDataSet> industry(Create<TMemDataSet>(nullptr));
  industry->FieldDefs()->Add("Code", ftInteger);
  industry->FieldDefs()->Add("Title", ftString, 20);
  industry->AppendRow({10, "Mining"});
  industry->AppendRow({20, "Fishing"});
  industry->AppendRow({30, "Banking"});
  industry->Open();
  for (bool cached : {false, true}) {
    TObjectPtr<TMemDataSet> vendors(Create<TMemDataSet>(nullptr));
    vendors->FieldDefs()->Add("Vendor", ftString, 20);
    vendors->FieldDefs()->Add("Indust", ftInteger);
    vendors->AppendRow({"Ann", 20});
    vendors->AppendRow({"Bob", 40});
    vendors->AppendRow({"Cid", Null()});
    vendors->AppendRow({"Dan", 10});
    for (Integer i = 0; i < vendors->FieldDefs()->Count(); ++i)
      vendors->FieldDefs()->Items(i)->CreateField(vendors.get(), vendors.get());
    auto* look = Create<TStringField>(vendors.get());
    look->SetFieldName("Industry");
    look->SetFieldKind(fkLookup);
    look->SetLookupDataSet(industry.get());
    look->SetLookupKeyFields("Code");
    look->SetLookupResultField("Title");
    look->SetKeyFields("Indust");
    look->SetLookupCache(cached);
    look->SetDataSet(vendors.get());
    vendors->Open();
    TObjectPtr<TDataSource> src(Create<TDataSource>(nullptr));
    src->SetDataSet(vendors.get());
    TRecLink link;
    link.SetBufferCount(4);
    link.SetDataSource(src.get());
    std::vector<String> shown;
    for (Integer r = 0; r < link.RecordCount(); ++r) {
      link.SetActiveRecord(r);
      shown.push_back(look->AsString());
    }
    EXPECT_EQ(shown, (std::vector<String>{"Fishing", "", "", "Mining"})) << cached;
    link.SetActiveRecord(0);
    // Changing the key looks up again.
    vendors->Edit();
    vendors->FieldByName("Indust")->SetAsInteger(30);
    EXPECT_EQ(look->AsString(), "Banking");
    vendors->Cancel();
    EXPECT_EQ(look->AsString(), "Fishing");
    EXPECT_EQ(look->FieldKind(), fkLookup);
    link.SetDataSource(nullptr);
    // Freeing the lookup dataset would clear the reference; incomplete
    // definitions are refused at opening.
    vendors->Close();
    look->SetLookupResultField("");
    EXPECT_EQ(ErrorOf([&] { vendors->Open(); }),
              "EDatabaseError: Lookup information for field 'Industry' is incomplete");
    EXPECT_FALSE(vendors->Active());
  }
  // The lookup dataset's reference goes when it is freed.
  TObjectPtr<TMemDataSet> vendors(MakeNumbers(2));
  auto* look = Create<TStringField>(vendors.get());
  look->SetLookupDataSet(industry.get());
  industry.reset();
  EXPECT_EQ(look->LookupDataSet(), nullptr);
}

TEST(FieldDefs, NamesTypesAndCreation) {
  TObjectPtr<TMemDataSet> ds(Create<TMemDataSet>(nullptr));
  TFieldDefs* defs = ds->FieldDefs();
  defs->Add("Name", ftString, 30, true);
  defs->Add("Nothing", ftUnknown);
  defs->Add("Amount", ftFMTBcd, 2)->SetPrecision(12);
  EXPECT_EQ(defs->IndexOf("AMOUNT"), 2);
  EXPECT_EQ(defs->Items(2)->FieldNo(), 3);
  EXPECT_EQ(ErrorOf([&] { defs->Add("name", ftInteger); }),
            "EDatabaseError: Duplicate field name 'name'");
  EXPECT_EQ(ErrorOf([&] { defs->Items(1)->SetName("NAME"); }),
            "EDatabaseError: Duplicate field name 'NAME'");
  EXPECT_EQ(ErrorOf([&] { defs->Add("Neg", ftString, -1); }),
            "EDatabaseError: Invalid size -1 for field 'Neg'");
  EXPECT_EQ(ErrorOf([&] { defs->FieldDefByName("x"); }), "EDatabaseError: Field 'x' not found");
  EXPECT_TRUE(defs->Items(0)->Required());
  EXPECT_EQ(defs->Items(1)->FieldClass(), nullptr);
  defs->Add("Cur", ftCursor);
  EXPECT_EQ(ErrorOf([&] { ds->Open(); }),
            "EDatabaseError: Field 'Cur' is of an unsupported type (ftCursor)");
  EXPECT_FALSE(ds->Active());
  EXPECT_EQ(ds->FieldCount(), 0);
  defs->Delete(3);
  ds->Open();
  // ftUnknown makes no field.
  EXPECT_EQ(ds->FieldCount(), 2);
  EXPECT_TRUE(ds->FieldByName("Name")->Required());
  EXPECT_EQ(ds->FieldByName("Name")->Size(), 30);
  EXPECT_EQ(static_cast<TFMTBCDField*>(ds->FieldByName("Amount"))->Precision(), 12);
  EXPECT_EQ(ds->FieldByName("Amount")->FieldNo(), 3);
  // DataType streams by name.
  const TPropInfo* p = GetPropInfo(defs->Items(2), "DataType");
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(GetEnumProp(defs->Items(2), p), "ftFMTBcd");
  // Persistent fields must match their definitions.
  ds->Close();
  auto* wrong = Create<TIntegerField>(ds.get());
  wrong->SetFieldName("Name");
  wrong->SetDataSet(ds.get());
  EXPECT_EQ(
      ErrorOf([&] { ds->Open(); }),
      "EDatabaseError: Type mismatch for field 'Name', expecting: ftInteger actual: ftString");
  wrong->Free();
  auto* missing = Create<TStringField>(ds.get());
  missing->SetFieldName("Gone");
  missing->SetDataSet(ds.get());
  EXPECT_EQ(ErrorOf([&] { ds->Open(); }), "EDatabaseError: Field 'Gone' not found");
  EXPECT_EQ(ErrorOf([&] {
              auto* dup = Create<TStringField>(nullptr);
              dup->SetFieldName("gone");
              try {
                dup->SetDataSet(ds.get());
              } catch (...) {
                dup->Free();
                throw;
              }
            }),
            "EDatabaseError: Duplicate field name 'gone'");
}

TEST(Params, TypedValues) {
  TObjectPtr<TParams> params(Create<TParams>(nullptr));
  TParam* a = params->CreateParam(ftInteger, "A", ptInput);
  TParam* b = params->CreateParam(ftUnknown, "B", ptInput);
  EXPECT_TRUE(a->IsNull());
  a->SetAsString("12");
  EXPECT_EQ(a->DataType(), ftString);
  a->SetDataType(ftInteger);
  EXPECT_EQ(a->AsInteger(), 12);
  EXPECT_TRUE(VarType(a->Value()) == varInteger);
  a->SetAsBCD(Currency::FromDouble(1.25));
  EXPECT_EQ(a->DataType(), ftBCD);
  EXPECT_EQ(a->AsBCD(), Currency::FromDouble(1.25));
  a->SetAsFMTBCD(StrToBcd("9.875"));
  EXPECT_EQ(BcdToStr(a->AsFMTBCD()), "9.875");
  EXPECT_DOUBLE_EQ(a->AsFloat(), 9.875);
  a->SetAsSQLTimeStamp(TSQLTimeStamp{2020, 5, 6, 7, 8, 9, 10});
  EXPECT_EQ(a->DataType(), ftTimeStamp);
  EXPECT_EQ(a->AsSQLTimeStamp().Minute, 8);
  a->SetAsDateTime(EncodeDate(2020, 1, 1));
  EXPECT_EQ(a->AsDateTime(), EncodeDate(2020, 1, 1));
  a->SetAsBoolean(true);
  EXPECT_EQ(a->AsString(), "True");
  a->Clear();
  EXPECT_TRUE(a->IsNull());
  b->SetValue(Variant(2.5));
  EXPECT_EQ(b->DataType(), ftFloat);
  EXPECT_EQ(params->ParamByName("b"), b);
  EXPECT_EQ(ErrorOf([&] { params->ParamByName("c"); }), "EDatabaseError: Parameter 'c' not found");
  params->SetParamValues("A;B", VarArrayOf({1, "x"}));
  Variant v = params->ParamValues("A;B");
  EXPECT_EQ(v.GetElement(1).AsString(), "x");
  EXPECT_EQ(params->ParamValues("A").AsInteger(), 1);
}
