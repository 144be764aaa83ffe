// The content of the generated demonstration database (Data/data.db), read
// straight through SQLite: every value each demonstration page relies on.
#include <sqlite3.h>

#include <gtest/gtest.h>
#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "graphics/bitmap.h"
#include "rtl/streams.h"

using namespace brevant;

namespace {

// One vendor row; a missing optional is a null.
struct TVendor {
  int no = 0;                           // VendorNo
  std::optional<String> name;           // VendorName
  std::optional<String> address;        // Address
  std::optional<String> state;          // State
  std::optional<String> phone;          // Phone
  std::optional<String> email;          // E-mail
  std::optional<String> date;           // LastContractDate as stored
  std::optional<long long> contracts;   // ContractCount
  std::optional<String> industry;       // IndustryID
  std::optional<double> credit, debit;  // CreditSum, DebitSum
  std::optional<long long> preferred;   // Preferred
  std::optional<String> picture;        // Picture bytes
  std::optional<String> flags;          // Flags
};

std::optional<String> TextAt(sqlite3_stmt* st, int column) {
  if (sqlite3_column_type(st, column) == SQLITE_NULL) return std::nullopt;
  const void* bytes = sqlite3_column_blob(st, column);
  int size = sqlite3_column_bytes(st, column);
  return String(static_cast<const char*>(bytes), static_cast<std::size_t>(size));
}

template <class T>
std::optional<T> NumberAt(sqlite3_stmt* st, int column) {
  if (sqlite3_column_type(st, column) == SQLITE_NULL) return std::nullopt;
  return static_cast<T>(sqlite3_column_double(st, column));
}

// Every vendor in the table's key order.
std::vector<TVendor> ReadVendors() {
  sqlite3* db = nullptr;
  EXPECT_EQ(sqlite3_open_v2(BV_DEMO_DB, &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  sqlite3_stmt* st = nullptr;
  EXPECT_EQ(sqlite3_prepare_v2(db,
                               "SELECT VendorNo, VendorName, Address, State, Phone, \"E-mail\", "
                               "LastContractDate, ContractCount, IndustryID, CreditSum, "
                               "DebitSum, Preferred, Picture, Flags FROM main_vnd",
                               -1, &st, nullptr),
            SQLITE_OK);
  std::vector<TVendor> rows;
  while (st && sqlite3_step(st) == SQLITE_ROW) {
    TVendor v;
    v.no = sqlite3_column_int(st, 0);
    v.name = TextAt(st, 1);
    v.address = TextAt(st, 2);
    v.state = TextAt(st, 3);
    v.phone = TextAt(st, 4);
    v.email = TextAt(st, 5);
    v.date = TextAt(st, 6);
    v.contracts = NumberAt<long long>(st, 7);
    v.industry = TextAt(st, 8);
    v.credit = NumberAt<double>(st, 9);
    v.debit = NumberAt<double>(st, 10);
    v.preferred = NumberAt<long long>(st, 11);
    v.picture = TextAt(st, 12);
    v.flags = TextAt(st, 13);
    rows.push_back(std::move(v));
  }
  sqlite3_finalize(st);
  sqlite3_close(db);
  return rows;
}

class DemoContent : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { vendors_ = new std::vector<TVendor>(ReadVendors()); }
  static void TearDownTestSuite() { delete vendors_; }
  static const std::vector<TVendor>& Vendors() { return *vendors_; }

  template <class F>
  static int Count(F pred) {
    return static_cast<int>(std::count_if(Vendors().begin(), Vendors().end(), pred));
  }

 private:
  static std::vector<TVendor>* vendors_;
};
std::vector<TVendor>* DemoContent::vendors_ = nullptr;

bool AllDigits(const String& s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int LineCount(const String& s) {
  int lines = 1;
  for (std::size_t at = s.find("\r\n"); at != String::npos; at = s.find("\r\n", at + 2)) ++lines;
  return lines;
}

TEST_F(DemoContent, KeysStepByThreeAndNamesAreNotInKeyOrder) {
  ASSERT_EQ(Vendors().size(), 120u);
  std::vector<String> names;
  for (std::size_t k = 0; k < Vendors().size(); ++k) {
    EXPECT_EQ(Vendors()[k].no, 1001 + 3 * static_cast<int>(k));
    if (Vendors()[k].name) names.push_back(*Vendors()[k].name);
  }
  EXPECT_FALSE(std::is_sorted(names.begin(), names.end()));
  EXPECT_EQ(std::set<String>(names.begin(), names.end()).size(), names.size()) << "unique names";
}

TEST_F(DemoContent, NamesShareSearchPrefixes) {
  auto startsWith = [](const char* prefix) {
    return [prefix](const TVendor& v) { return v.name && v.name->starts_with(prefix); };
  };
  EXPECT_GE(Count(startsWith("Bl")), 6);
  EXPECT_GE(Count(startsWith("Co")), 4);
  EXPECT_GE(Count([](const TVendor& v) {
              return v.name && !v.name->empty() && static_cast<unsigned char>((*v.name)[0]) >= 0x80;
            }),
            1);
}

TEST_F(DemoContent, PreferredIsNeverNull) {
  EXPECT_EQ(Count([](const TVendor& v) { return !v.preferred; }), 0);
  EXPECT_EQ(
      Count([](const TVendor& v) { return v.preferred && *v.preferred != 0 && *v.preferred != 1; }),
      0);
  int preferred = Count([](const TVendor& v) { return v.preferred == 1; });
  EXPECT_GE(preferred, 40);
  EXPECT_LE(preferred, 44);
}

TEST_F(DemoContent, Phones) {
  int tollFree = 0;
  for (const TVendor& v : Vendors()) {
    if (!v.phone) continue;
    const String& p = *v.phone;
    ASSERT_EQ(p.size(), 12u) << p;
    EXPECT_EQ(p.substr(3, 7), "-555-01") << p;
    EXPECT_TRUE(AllDigits(p.substr(0, 3)) && AllDigits(p.substr(10))) << p;
    tollFree += p.starts_with("800-");
  }
  EXPECT_EQ(tollFree, 18);
}

TEST_F(DemoContent, ContractCountsAroundTheImageThreshold) {
  std::set<long long> seen;
  for (const TVendor& v : Vendors()) {
    if (!v.contracts) continue;
    EXPECT_GE(*v.contracts, 0);
    EXPECT_LE(*v.contracts, 180);
    seen.insert(*v.contracts);
  }
  for (long long must : {0, 1, 50, 51}) EXPECT_TRUE(seen.count(must)) << must;
}

TEST_F(DemoContent, DebitAndCredit) {
  int both = 0, debitAbove = 0, large = 0;
  for (const TVendor& v : Vendors()) {
    large += (v.credit && *v.credit > 1e6) || (v.debit && *v.debit > 1e6);
    if (!v.credit || !v.debit) continue;
    ++both;
    debitAbove += *v.debit > *v.credit;
  }
  EXPECT_GE(debitAbove * 100, both * 40);
  EXPECT_LE(debitAbove * 100, both * 50);
  EXPECT_GE(large, 2);
  EXPECT_LE(large, 10);
}

TEST_F(DemoContent, ContractDatesOnQuarterHours) {
  int nulls = 0;
  for (const TVendor& v : Vendors()) {
    if (!v.date) {
      ++nulls;
      continue;
    }
    const String& d = *v.date;  // "yyyy-mm-dd hh:nn:ss"
    ASSERT_EQ(d.size(), 19u) << d;
    int year = std::stoi(d.substr(0, 4)), minute = std::stoi(d.substr(14, 2));
    EXPECT_GE(year, 2019) << d;
    EXPECT_LE(year, 2025) << d;
    EXPECT_EQ(minute % 15, 0) << d;
    EXPECT_EQ(d.substr(17), "00") << d;
  }
  EXPECT_EQ(nulls, 4);
}

TEST_F(DemoContent, StatesMostlyFromThePickList) {
  const std::set<String> pickList = {"CA", "DA", "FL", "GA", "IL", "IN",
                                     "MA", "NH", "NJ", "NY", "OH"};
  int nulls = 0, outside = 0, da = 0;
  for (const TVendor& v : Vendors()) {
    if (!v.state) {
      ++nulls;
      continue;
    }
    EXPECT_EQ(v.state->size(), 2u) << *v.state;
    outside += !pickList.count(*v.state);
    da += *v.state == "DA";
  }
  EXPECT_EQ(nulls, 2);
  EXPECT_EQ(outside, 8);
  EXPECT_GT(da, 0);
}

TEST_F(DemoContent, IndustriesEvenlyWithAnUnknownSymbol) {
  std::map<String, int> perSymbol;
  int nulls = 0;
  for (const TVendor& v : Vendors()) v.industry ? ++perSymbol[*v.industry] : ++nulls;
  EXPECT_EQ(nulls, 2);
  EXPECT_EQ(perSymbol["Agri"], 2);
  perSymbol.erase("Agri");
  const std::set<String> symbols = {"Aero", "Auto", "Comp", "Hotel", "Med", "SoftW", "Tele"};
  EXPECT_EQ(perSymbol.size(), symbols.size());
  for (const auto& [symbol, count] : perSymbol) {
    EXPECT_TRUE(symbols.count(symbol)) << symbol;
    EXPECT_GE(count, 15) << symbol;
    EXPECT_LE(count, 18) << symbol;
  }
}

TEST_F(DemoContent, AddressLines) {
  int nulls = 0, longOnes = 0;
  for (const TVendor& v : Vendors()) {
    if (!v.address) {
      ++nulls;
      continue;
    }
    int lines = LineCount(*v.address);
    if (lines >= 6 && lines <= 9) {
      ++longOnes;
    } else {
      EXPECT_GE(lines, 2) << *v.address;
      EXPECT_LE(lines, 4) << *v.address;
    }
  }
  EXPECT_EQ(nulls, 5);
  EXPECT_EQ(longOnes, 10);
}

TEST_F(DemoContent, EmailAddressesOnlyUnderExample) {
  for (const TVendor& v : Vendors()) {
    if (!v.email) continue;
    const String& mail = *v.email;
    EXPECT_TRUE(mail.ends_with(".example")) << mail;
    ASSERT_EQ(std::count(mail.begin(), mail.end(), '@'), 1) << mail;
    EXPECT_TRUE(std::all_of(mail.begin(), mail.end(), [](char c) {
      return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '@' || c == '.';
    })) << mail;
  }
}

// Bytes 28-29 of a BMP file: bits per pixel.
int BmpBitCount(const String& bytes) {
  if (bytes.size() < 30 || bytes.substr(0, 2) != "BM") return 0;
  return static_cast<unsigned char>(bytes[28]) | static_cast<unsigned char>(bytes[29]) << 8;
}

TEST_F(DemoContent, PicturesAreGradientsWithInitials) {
  int pictures = 0;
  std::set<std::pair<Integer, Integer>> sizes;
  for (const TVendor& v : Vendors()) {
    if (!v.picture) continue;
    ++pictures;
    EXPECT_EQ(BmpBitCount(*v.picture), 24) << v.no;
    TMemoryStream stream;
    stream.WriteBuffer(v.picture->data(), static_cast<Integer>(v.picture->size()));
    stream.SetPosition(0);
    TObjectPtr<TBitmap> bmp = MakeObject<TBitmap>();
    bmp->LoadFromStream(stream);
    const Integer w = bmp->Width(), h = bmp->Height();
    EXPECT_TRUE(w >= 32 && h >= 32 && w <= 220 && h <= 160) << w << "x" << h;
    sizes.insert({w, h});
    // The gradient runs from one corner to the other; the initials are
    // drawn in white, a colour the gradient never reaches.
    EXPECT_NE(bmp->ScanLine(0)[0], bmp->ScanLine(h - 1)[w - 1]) << v.no;
    int white = 0;
    for (Integer y = 0; y < h; ++y)
      white += static_cast<int>(std::count(bmp->ScanLine(y), bmp->ScanLine(y) + w, 0xFFFFFFu));
    EXPECT_GE(white, 10) << "no initials in vendor " << v.no;
  }
  EXPECT_EQ(pictures, 60);
  EXPECT_GE(sizes.size(), 4u);
  EXPECT_TRUE(sizes.count({32, 32}) || sizes.count({220, 160}));
}

TEST_F(DemoContent, FlagsAreShortCodes) {
  int withFlags = 0;
  for (const TVendor& v : Vendors()) {
    if (!v.flags) continue;
    ++withFlags;
    const String& f = *v.flags;
    EXPECT_LE(f.size(), 20u) << f;
    std::size_t from = 0;
    for (;;) {
      std::size_t comma = f.find(',', from);
      String code = f.substr(from, comma == String::npos ? String::npos : comma - from);
      EXPECT_TRUE(code.size() >= 1 && code.size() <= 3) << f;
      EXPECT_TRUE(std::all_of(code.begin(), code.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
      })) << f;
      if (comma == String::npos) break;
      from = comma + 1;
    }
  }
  EXPECT_GT(withFlags, 100);
}

}  // namespace
