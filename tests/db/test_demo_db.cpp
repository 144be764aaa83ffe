// The generated demonstration database (Data/data.db), read through the
// SQLite table on a temporary copy: the shape and the values its pages rely
// on.
#include <unistd.h>

#include <gtest/gtest.h>
#include <filesystem>
#include <set>

#include "db/sqlite_table.h"
#include "graphics/bitmap.h"
#include "rtl/numconv.h"
#include "rtl/streams.h"

using namespace brevant;

namespace {

class DemoDbTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = "/tmp/bv_demo_db_" + IntToStr(getpid()) + ".db";
    std::filesystem::copy_file(BV_DEMO_DB, path_,
                               std::filesystem::copy_options::overwrite_existing);
  }
  void TearDown() override { std::filesystem::remove(path_); }

  TObjectPtr<TSqliteTable> Open(const String& table) {
    TObjectPtr<TSqliteTable> t = MakeObject<TSqliteTable>();
    t->SetDatabaseName(path_);
    t->SetTableName(table);
    t->Open();
    return t;
  }

  String path_;
};

bool IsDigits(const String& s) {
  return !s.empty() && s.find_first_not_of("0123456789") == String::npos;
}

TEST_F(DemoDbTest, Industries) {
  auto t = Open("indust");
  EXPECT_EQ(t->RecordCount(), 7);
  EXPECT_EQ(t->KeyFields(), "Symbol");
  EXPECT_TRUE(t->Locate("Symbol", Variant("Aero")));
  EXPECT_EQ(t->FieldByName("Name")->AsString(), "Aerospace/Defense");
  EXPECT_EQ(t->FieldByName("ImageIndex")->AsInteger(), 6);
  EXPECT_TRUE(t->Locate("Symbol", Variant("SoftW")));
  EXPECT_EQ(t->FieldByName("ImageIndex")->AsInteger(), 4);
}

TEST_F(DemoDbTest, VendorFieldTypes) {
  auto t = Open("main_vnd");
  EXPECT_EQ(t->RecordCount(), 120);
  EXPECT_EQ(t->KeyFields(), "VendorNo");
  EXPECT_EQ(t->FieldByName("VendorNo")->DataType(), ftInteger);
  EXPECT_EQ(t->FieldByName("VendorName")->DataType(), ftString);
  EXPECT_EQ(t->FieldByName("Address")->DataType(), ftMemo);
  EXPECT_EQ(t->FieldByName("E-mail")->DataType(), ftString);
  EXPECT_EQ(t->FieldByName("LastContractDate")->DataType(), ftDateTime);
  EXPECT_EQ(t->FieldByName("CreditSum")->DataType(), ftCurrency);
  EXPECT_EQ(t->FieldByName("Preferred")->DataType(), ftBoolean);
  EXPECT_EQ(t->FieldByName("Picture")->DataType(), ftGraphic);
  EXPECT_EQ(t->FieldByName("Flags")->DataType(), ftString);
}

// Every value the pages exercise is present, and every nullable column has
// a null somewhere; Preferred never.
TEST_F(DemoDbTest, VendorValues) {
  auto t = Open("main_vnd");
  const char* nullable[] = {"VendorName", "Address",          "State",         "Phone",
                            "E-mail",     "LastContractDate", "ContractCount", "IndustryID",
                            "CreditSum",  "DebitSum",         "Picture",       "Flags"};
  std::set<String> nullSeen;
  int tollFree = 0, count50 = 0, count51 = 0, preferred = 0, notPreferred = 0;
  int debitAbove = 0, debitBelow = 0, multiLine = 0;
  for (t->First(); !t->Eof(); t->Next()) {
    for (const char* name : nullable)
      if (t->FieldByName(name)->IsNull()) nullSeen.insert(name);
    ASSERT_FALSE(t->FieldByName("Preferred")->IsNull());
    (t->FieldByName("Preferred")->AsBoolean() ? preferred : notPreferred)++;
    TField* phone = t->FieldByName("Phone");
    if (!phone->IsNull()) {
      String p = phone->AsString();
      ASSERT_EQ(p.size(), 12u) << p;
      EXPECT_EQ(p.substr(3, 7), "-555-01") << p;
      EXPECT_TRUE(IsDigits(p.substr(0, 3)) && IsDigits(p.substr(10))) << p;
      if (p.starts_with("800-")) ++tollFree;
    }
    TField* mail = t->FieldByName("E-mail");
    if (!mail->IsNull()) {
      EXPECT_TRUE(mail->AsString().ends_with(".example")) << mail->AsString();
    }
    TField* count = t->FieldByName("ContractCount");
    if (!count->IsNull()) {
      count50 += count->AsInteger() == 50;
      count51 += count->AsInteger() == 51;
    }
    TField* credit = t->FieldByName("CreditSum");
    TField* debit = t->FieldByName("DebitSum");
    if (!credit->IsNull() && !debit->IsNull()) {
      // Whole cents read back exactly.
      EXPECT_EQ(credit->AsCurrency().Value % 100, 0);
      debitAbove += debit->AsCurrency() > credit->AsCurrency();
      debitBelow += debit->AsCurrency() < credit->AsCurrency();
    }
    TField* address = t->FieldByName("Address");
    if (!address->IsNull()) multiLine += address->AsString().find("\r\n") != String::npos;
  }
  EXPECT_EQ(nullSeen.size(), std::size(nullable));
  EXPECT_GT(tollFree, 0);
  EXPECT_LT(tollFree, 120);
  EXPECT_GT(count50, 0);
  EXPECT_GT(count51, 0);
  EXPECT_GT(preferred, 0);
  EXPECT_GT(notPreferred, 0);
  EXPECT_EQ(preferred + notPreferred, 120);
  EXPECT_GT(debitAbove, 0);
  EXPECT_GT(debitBelow, 0);
  EXPECT_GT(multiLine, 0);
  // Names share prefixes, so a partial key finds more than one.
  EXPECT_TRUE(t->Locate("VendorName", Variant("Silver"), TLocateOptions{loPartialKey}));
  EXPECT_TRUE(t->Locate("VendorName", Variant("granite p"),
                        TLocateOptions{loPartialKey, loCaseInsensitive}));
}

TEST_F(DemoDbTest, PicturesLoadAsBitmaps) {
  auto t = Open("main_vnd");
  std::set<std::pair<Integer, Integer>> sizes;
  for (t->First(); !t->Eof(); t->Next()) {
    TField* picture = t->FieldByName("Picture");
    if (picture->IsNull()) continue;
    auto stream = t->CreateBlobStream(picture, bmRead);
    TObjectPtr<TBitmap> bmp = MakeObject<TBitmap>();
    bmp->LoadFromStream(*stream);
    ASSERT_FALSE(bmp->Empty());
    sizes.insert({bmp->Width(), bmp->Height()});
  }
  EXPECT_GE(sizes.size(), 4u);
}

}  // namespace
