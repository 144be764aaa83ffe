// make-demo-db: writes the demonstration's SQLite database (tables indust and
// main_vnd) from a fixed seed, so every run produces the same bytes.
//
//   make-demo-db <output.db>
//
// The data is fictional: invented vendor names and towns, phone numbers in
// the 555-01xx range (18 of them toll-free "800-"), e-mail addresses on
// .example domains and pictures drawn by code (a gradient with the vendor's
// initials). The values are chosen to exercise the demonstration's pages:
// keys 1001, 1004, ... in an order that is not name order, names sharing
// prefixes ("Bl", "Co") and one with a non-ASCII initial (incremental
// search), contract counts 0 to 180 with exactly 50 and 51 (the image
// threshold), debit above credit for 45% of the vendors and a few amounts
// over a million, contract dates on quarter hours, states from the state
// pick list and some outside it, an industry symbol the industry table does
// not hold, short and long addresses, and nulls where a page shows them
// (Preferred is never null). Exact counts are dealt out to shuffled vendors,
// so they hold whatever the random draws. The database is written to a
// temporary file beside the output and renamed into place, so a failed run
// never leaves a half-written database.
#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "graphics/bitmap.h"
#include "rtl/streams.h"

using namespace brevant;

namespace {

// splitmix64: small, fast and identical on every platform.
class TRandom {
 public:
  explicit TRandom(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // Uniform in [0, n) (n > 0; the modulo bias is irrelevant here).
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }
  bool Chance(int percent) { return Below(100) < percent; }
  template <class T, std::size_t N>
  const T& Pick(const T (&items)[N]) {
    return items[Below(static_cast<int>(N))];
  }

 private:
  std::uint64_t state_;
};

constexpr std::uint64_t kSeed = 0x42524556414E5444ull;
constexpr int kVendors = 120;
constexpr int kFirstVendorNo = 1001;
constexpr int kVendorNoStep = 3;

struct TIndustry {
  const char* symbol;
  const char* name;
  int imageIndex;
};

constexpr TIndustry kIndustries[] = {
    {"Aero", "Aerospace/Defense", 6}, {"Auto", "Auto & Truck", 2},
    {"Comp", "Computer Hardware", 0}, {"Hotel", "Hotel/Gaming", 3},
    {"Med", "Medical Services", 1},   {"SoftW", "Computer Software", 4},
    {"Tele", "Telecommunications", 5}};
// A symbol the industry table does not hold, for the lookup's unknown key.
constexpr const char* kUnknownIndustry = "Agri";

// Name heads. The first ones are given out once each so that incremental
// search finds several "Bl" and "Co" names and one name with a non-ASCII
// initial; the rest are drawn at random.
const char* const kFixedHeads[] = {"Bluefin",
                                   "Bluestone",
                                   "Blue Harbor",
                                   "Blackthorn",
                                   "Blaze Point",
                                   "Bloomfield",
                                   "Copperleaf",
                                   "Copperline",
                                   "Cobalt Ridge",
                                   "Corvid",
                                   "\xC3\x89"
                                   "benwood"};
const char* const kNameHeads[] = {
    "Driftwood", "Fernvale",    "Granite",     "Granite Peak", "Halcyon",   "Ironbark",  "Juniper",
    "Kestrel",   "Lumen",       "Marigold",    "Northwind",    "Oakhollow", "Pinecrest", "Quillon",
    "Redwing",   "Silverbrook", "Silvercrest", "Tamarack",     "Willowmere"};
const char* const kNameTails[] = {"Supply",  "Systems",    "Industries", "Works",
                                  "Traders", "Outfitters", "Labs",       "Partners",
                                  "Motors",  "Devices",    "Networks",   "Holdings"};
const char* const kStreets[] = {"Alder Lane",  "Birch Street", "Cedar Court",    "Dune Road",
                                "Elm Avenue",  "Foundry Way",  "Garnet Drive",   "Harbor Walk",
                                "Kiln Street", "Lantern Row",  "Mill Pond Road", "Orchard Path"};
const char* const kTowns[] = {"Ashford Falls", "Brimley",   "Calder Bay", "Dunmore Springs",
                              "Everly",        "Foxglove",  "Glenhollow", "Harwick",
                              "Larkmoor",      "Millbrook", "Norcastle",  "Quarry Hill"};
const char* const kAddressExtras[] = {"Building C",    "Receiving Dock 4", "Attn: Accounts Payable",
                                      "Floor 3",       "Gate 2",           "Unit 12",
                                      "Rear entrance", "Mail stop 7"};
// The state pick list of the demonstration (with the fictional "DA").
const char* const kPickStates[] = {"CA", "DA", "FL", "GA", "IL", "IN",
                                   "MA", "NH", "NJ", "NY", "OH"};
const char* const kOtherStates[] = {"TX", "WA", "OR", "CO", "AZ", "PA", "MI", "VT"};
const char* const kAreaCodes[] = {"201", "312", "415", "508", "614", "717", "813", "917"};
// Flags: short codes, one to three of them separated by commas.
const char* const kFlags[] = {"RSH", "AUD", "N30", "EXP", "BLK", "HLD"};

constexpr int kPreferred = 42;         // vendors with Preferred true
constexpr int kTollFreePhones = 18;    // "800-555-01xx"
constexpr int kNullDates = 4;          // LastContractDate null
constexpr int kNullStates = 2;         // State null
constexpr int kUnlistedStates = 8;     // states outside the pick list
constexpr int kUnknownIndustries = 2;  // IndustryID "Agri"
constexpr int kNullIndustries = 2;     // IndustryID null
constexpr int kNullAddresses = 5;      // Address null
constexpr int kLongAddresses = 10;     // addresses of 6 to 9 lines
constexpr int kPictures = 60;          // vendors with a picture; the rest null
constexpr int kDebitAbove = 54;        // debit above credit (45%)
constexpr int kLargeAmounts = 4;       // vendors with a sum over 1,000,000

String Lower(const String& s) {
  String r;
  for (char c : s)
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
      r += (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
  return r;
}

String Digits(int value, int width) {
  String s = std::to_string(value);
  while (static_cast<int>(s.size()) < width) s.insert(s.begin(), '0');
  return s;
}

// The first letters of up to two words: "Blue Harbor Labs" -> "BH".
String Initials(const String& name) {
  String r;
  bool atStart = true;
  for (std::size_t i = 0; i < name.size() && r.size() < 8; ++i) {
    unsigned char c = static_cast<unsigned char>(name[i]);
    if (c == ' ') {
      atStart = true;
      continue;
    }
    if (atStart && (c & 0xC0) != 0x80) {
      // A whole UTF-8 sequence: the lead byte and its continuation bytes.
      std::size_t end = i + 1;
      while (end < name.size() && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) ++end;
      r += name.substr(i, end - i);
      if (std::count_if(r.begin(), r.end(), [](char b) { return (b & 0xC0) != 0x80; }) == 2) break;
    }
    atStart = false;
  }
  return r;
}

// A shuffled list of count labels: n[0] of label 0, n[1] of label 1, ...,
// the rest filled with fill.
std::vector<int> Deal(TRandom& rng, std::initializer_list<int> counts, int fill) {
  std::vector<int> labels;
  int label = 0;
  for (int n : counts) {
    labels.insert(labels.end(), n, label);
    ++label;
  }
  labels.resize(kVendors, fill);
  for (int i = kVendors - 1; i > 0; --i) std::swap(labels[i], labels[rng.Below(i + 1)]);
  return labels;
}

// A picture: a diagonal gradient between two colours with the vendor's
// initials in the middle, 24 bits per pixel.
String DrawPicture(TRandom& rng, int width, int height, const String& initials) {
  TObjectPtr<TBitmap> bmp = MakeObject<TBitmap>();
  bmp->SetPixelFormat(pf24bit);
  bmp->SetSize(width, height);
  auto channel = [&rng] { return 40 + rng.Below(200); };
  const int from[3] = {channel(), channel(), channel()};
  const int to[3] = {channel(), channel(), channel()};
  const int span = width + height - 2;
  for (int y = 0; y < height; ++y) {
    std::uint32_t* row = bmp->ScanLine(y);
    for (int x = 0; x < width; ++x) {
      int pixel = 0;
      for (int c = 0; c < 3; ++c)
        pixel = pixel << 8 | (from[c] + (to[c] - from[c]) * (x + y) / span);
      row[x] = static_cast<std::uint32_t>(pixel);
    }
  }
  TCanvas* c = bmp->Canvas();
  c->Brush()->SetStyle(bsClear);
  c->Font()->SetName("DejaVu Sans");
  c->Font()->SetHeight(-std::max(8, std::min(width, height) * 2 / 5));
  c->Font()->SetStyle(TFontStyles{fsBold});
  c->Font()->SetColor(clWhite);
  TSize extent = c->TextExtent(initials);
  c->TextOut((width - extent.cx) / 2, (height - extent.cy) / 2, initials);
  TMemoryStream stream;
  bmp->SaveToStream(stream);
  const auto* bytes = static_cast<const char*>(stream.Memory());
  return String(bytes, bytes + stream.Size());
}

// One column value: null, an integer, a real, text or a blob.
struct TValue {
  enum TKind { vkNull, vkInt, vkReal, vkText, vkBlob } kind = vkNull;
  std::int64_t i = 0;
  double r = 0;
  String s;
  static TValue Int(std::int64_t v) { return {vkInt, v, 0, {}}; }
  static TValue Real(double v) { return {vkReal, 0, v, {}}; }
  static TValue Text(String v) { return {vkText, 0, 0, std::move(v)}; }
  static TValue Blob(String v) { return {vkBlob, 0, 0, std::move(v)}; }
};

class TWriter {
 public:
  explicit TWriter(const String& path) {
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK)
      Fail("cannot create " + path);
  }
  ~TWriter() { sqlite3_close(db_); }

  void Exec(const String& sql) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
      String text = message ? message : "unknown error";
      sqlite3_free(message);
      throw std::runtime_error(text + " in: " + sql);
    }
  }

  void Insert(const String& sql, const std::vector<TValue>& values) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) Fail(sql);
    int rc = SQLITE_OK;
    for (std::size_t k = 0; k < values.size() && rc == SQLITE_OK; ++k) {
      const TValue& v = values[k];
      int at = static_cast<int>(k) + 1;
      switch (v.kind) {
        case TValue::vkNull:
          rc = sqlite3_bind_null(st, at);
          break;
        case TValue::vkInt:
          rc = sqlite3_bind_int64(st, at, v.i);
          break;
        case TValue::vkReal:
          rc = sqlite3_bind_double(st, at, v.r);
          break;
        case TValue::vkText:
          rc =
              sqlite3_bind_text(st, at, v.s.data(), static_cast<int>(v.s.size()), SQLITE_TRANSIENT);
          break;
        case TValue::vkBlob:
          rc =
              sqlite3_bind_blob(st, at, v.s.data(), static_cast<int>(v.s.size()), SQLITE_TRANSIENT);
          break;
      }
    }
    if (rc == SQLITE_OK) rc = sqlite3_step(st) == SQLITE_DONE ? SQLITE_OK : SQLITE_ERROR;
    sqlite3_finalize(st);
    if (rc != SQLITE_OK) Fail(sql);
  }

 private:
  [[noreturn]] void Fail(const String& what) {
    throw std::runtime_error(String(db_ ? sqlite3_errmsg(db_) : "out of memory") + " in: " + what);
  }
  sqlite3* db_ = nullptr;
};

void WriteIndustries(TWriter& w) {
  w.Exec(
      "CREATE TABLE indust(Symbol VARCHAR(10) PRIMARY KEY, Name VARCHAR(30), ImageIndex "
      "INTEGER)");
  for (const TIndustry& ind : kIndustries)
    w.Insert("INSERT INTO indust VALUES (?, ?, ?)",
             {TValue::Text(ind.symbol), TValue::Text(ind.name), TValue::Int(ind.imageIndex)});
}

// Unique vendor names, the fixed heads first, in a shuffled order so that
// the table's key order is not name order.
std::vector<String> VendorNames(TRandom& rng) {
  std::vector<String> names;
  std::set<String> used;
  auto add = [&](const char* head) {
    String name;
    do {
      name = String(head) + " " + rng.Pick(kNameTails);
      if (used.count(name)) name += " " + String(rng.Pick(kNameTails));
    } while (used.count(name));
    used.insert(name);
    names.push_back(name);
  };
  for (const char* head : kFixedHeads) add(head);
  while (static_cast<int>(names.size()) < kVendors) add(rng.Pick(kNameHeads));
  for (int i = kVendors - 1; i > 0; --i) std::swap(names[i], names[rng.Below(i + 1)]);
  return names;
}

// Two to four lines; a long address has six to nine.
String MakeAddress(TRandom& rng, const String& state, bool isLong) {
  String address = std::to_string(10 + rng.Below(9890)) + " " + rng.Pick(kStreets);
  int extras = isLong ? 4 + rng.Below(4) : rng.Below(3);
  for (int i = 0; i < extras; ++i) address += "\r\n" + String(rng.Pick(kAddressExtras));
  String town = rng.Pick(kTowns);
  if (!state.empty()) town += ", " + state;
  return address + "\r\n" + town + " " + Digits(rng.Below(100000), 5);
}

// A moment between 2019 and 2025 on a quarter hour.
String MakeDate(TRandom& rng) {
  return std::to_string(2019 + rng.Below(7)) + "-" + Digits(1 + rng.Below(12), 2) + "-" +
         Digits(1 + rng.Below(28), 2) + " " + Digits(rng.Below(24), 2) + ":" +
         Digits(15 * rng.Below(4), 2) + ":00";
}

void WriteVendors(TWriter& w, TRandom& rng) {
  w.Exec(
      "CREATE TABLE main_vnd(VendorNo INTEGER PRIMARY KEY, VendorName VARCHAR(40), Address MEMO, "
      "State VARCHAR(2), Phone VARCHAR(12), \"E-mail\" VARCHAR(60), LastContractDate DATETIME, "
      "ContractCount INTEGER, IndustryID VARCHAR(10), CreditSum CURRENCY, DebitSum CURRENCY, "
      "Preferred BOOLEAN, Picture GRAPHIC, Flags VARCHAR(20))");
  const std::vector<String> names = VendorNames(rng);
  // Exact counts, dealt out at random.
  enum { kSpecial1, kSpecial2, kSpecial3, kSpecial4, kPlain };
  const std::vector<int> preferred = Deal(rng, {kPreferred}, kPlain);
  const std::vector<int> phone = Deal(rng, {kTollFreePhones, 1}, kPlain);  // toll-free; null
  const std::vector<int> date = Deal(rng, {kNullDates}, kPlain);
  const std::vector<int> state = Deal(rng, {kNullStates, kUnlistedStates}, kPlain);
  const std::vector<int> industry = Deal(rng, {kUnknownIndustries, kNullIndustries}, kPlain);
  const std::vector<int> address = Deal(rng, {kNullAddresses, kLongAddresses}, kPlain);
  const std::vector<int> picture = Deal(rng, {kPictures}, kPlain);
  // Contract counts 50, 51, 1 and 0 twice each; one null.
  const std::vector<int> count = Deal(rng, {2, 2, 2, 2, 1}, 5);
  // Debit above credit; one null credit and one null debit.
  const std::vector<int> balance = Deal(rng, {kDebitAbove, 1, 1}, kPlain);
  const std::vector<int> large = Deal(rng, {kLargeAmounts}, kPlain);
  const std::vector<int> nulls = Deal(rng, {1, 1, 2}, kPlain);  // name; e-mail; flags
  static const int kSizes[][2] = {{32, 32}, {48, 32},  {64, 48},   {80, 60},
                                  {96, 72}, {120, 90}, {160, 120}, {220, 160}};
  const char* box[] = {"sales", "info", "orders", "contact"};
  int nextIndustry = 0;
  for (int n = 0; n < kVendors; ++n) {
    std::vector<TValue> row;
    row.push_back(TValue::Int(kFirstVendorNo + kVendorNoStep * n));
    row.push_back(nulls[n] == kSpecial1 ? TValue{} : TValue::Text(names[n]));

    String st = state[n] == kSpecial1   ? String()
                : state[n] == kSpecial2 ? String(rng.Pick(kOtherStates))
                                        : String(rng.Pick(kPickStates));
    String addr = MakeAddress(rng, st, address[n] == kSpecial2);
    row.push_back(address[n] == kSpecial1 ? TValue{} : TValue::Text(addr));
    row.push_back(st.empty() ? TValue{} : TValue::Text(st));

    String area = phone[n] == kSpecial1 ? "800" : rng.Pick(kAreaCodes);
    String number = area + "-555-01" + Digits(rng.Below(100), 2);
    row.push_back(phone[n] == kSpecial2 ? TValue{} : TValue::Text(number));
    String email = String(rng.Pick(box)) + "@" + Lower(names[n]) + ".example";
    row.push_back(nulls[n] == kSpecial2 ? TValue{} : TValue::Text(email));
    String when = MakeDate(rng);
    row.push_back(date[n] == kSpecial1 ? TValue{} : TValue::Text(when));

    static const int kCounts[] = {50, 51, 1, 0};
    // 50 and 51, either side of the image threshold, only where dealt.
    int contracts = 2 + rng.Below(179);
    if (contracts == 50 || contracts == 51) contracts += 2;
    if (count[n] < 4) contracts = kCounts[count[n]];
    row.push_back(count[n] == 4 ? TValue{} : TValue::Int(contracts));

    // Every industry about equally often, in turn.
    String symbol = kIndustries[nextIndustry].symbol;
    if (industry[n] == kPlain)
      nextIndustry = (nextIndustry + 1) % static_cast<int>(std::size(kIndustries));
    row.push_back(industry[n] == kSpecial2   ? TValue{}
                  : industry[n] == kSpecial1 ? TValue::Text(kUnknownIndustry)
                                             : TValue::Text(symbol));

    // Whole cents, stored as the REAL nearest to the decimal amount.
    std::int64_t scale = large[n] == kSpecial1 ? 1000 : 1;
    std::int64_t credit = scale * (100100 + rng.Below(5000000));
    std::int64_t debit = balance[n] == kSpecial1
                             ? credit + 100 + rng.Below(2000000)
                             : credit - rng.Below(static_cast<int>(credit / scale));
    row.push_back(balance[n] == kSpecial2 ? TValue{}
                                          : TValue::Real(static_cast<double>(credit) / 100));
    row.push_back(balance[n] == kSpecial3 ? TValue{}
                                          : TValue::Real(static_cast<double>(debit) / 100));
    row.push_back(TValue::Int(preferred[n] == kSpecial1 ? 1 : 0));

    const auto& size = rng.Pick(kSizes);
    String initials = Initials(names[n]);
    String image = DrawPicture(rng, size[0], size[1], initials);
    row.push_back(picture[n] == kSpecial1 ? TValue::Blob(image) : TValue{});

    String flags = rng.Pick(kFlags);
    for (int extra = rng.Below(3); extra > 0; --extra) {
      String code = rng.Pick(kFlags);
      if (flags.find(code) == String::npos) flags += "," + code;
    }
    row.push_back(nulls[n] == kSpecial3 ? TValue{} : TValue::Text(flags));

    w.Insert("INSERT INTO main_vnd VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)", row);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make-demo-db <output.db>\n");
    return 2;
  }
  namespace fs = std::filesystem;
  fs::path out(argv[1]);
  fs::path temp = out;
  temp += ".tmp";
  try {
    if (out.has_parent_path()) fs::create_directories(out.parent_path());
    fs::remove(temp);
    {
      TWriter w(temp.string());
      TRandom rng(kSeed);
      w.Exec("BEGIN");
      WriteIndustries(w);
      WriteVendors(w, rng);
      w.Exec("COMMIT");
    }
    fs::rename(temp, out);
  } catch (const std::exception& e) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    std::fprintf(stderr, "make-demo-db: %s\n", e.what());
    return 1;
  }
  return 0;
}
