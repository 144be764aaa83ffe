// make-demo-db: writes the demonstration's SQLite database (tables indust and
// main_vnd) from a fixed seed, so every run produces the same bytes.
//
//   make-demo-db <output.db>
//
// The data is fictional: invented vendor names and towns, phone numbers in
// the 555-01xx range (some toll-free "800-"), e-mail addresses on .example
// domains and pictures drawn by code. The values are chosen to exercise the
// demonstration's pages: names sharing prefixes (incremental search),
// contract counts of exactly 50 and 51, debit both above and below credit,
// multi-line addresses, pictures of several sizes, and nulls in every
// nullable column (Preferred is never null). The database is written to a
// temporary file beside the output and renamed into place, so a failed run
// never leaves a half-written database.
#include <sqlite3.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
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

// Shared prefixes make incremental search meaningful ("Bl" -> several).
const char* const kNameHeads[] = {
    "Bluefin",  "Bluestone", "Blue Harbor",  "Copperleaf",  "Copperline", "Driftwood",
    "Fernvale", "Granite",   "Granite Peak", "Halcyon",     "Ironbark",   "Juniper",
    "Kestrel",  "Lumen",     "Marigold",     "Northwind",   "Oakhollow",  "Pinecrest",
    "Quillon",  "Redwing",   "Silverbrook",  "Silvercrest", "Tamarack",   "Willowmere"};
const char* const kNameTails[] = {"Supply",  "Systems",    "Industries", "Works",
                                  "Traders", "Outfitters", "Labs",       "Partners",
                                  "Motors",  "Devices",    "Networks",   "Holdings"};
const char* const kStreets[] = {"Alder Lane",  "Birch Street", "Cedar Court",    "Dune Road",
                                "Elm Avenue",  "Foundry Way",  "Garnet Drive",   "Harbor Walk",
                                "Kiln Street", "Lantern Row",  "Mill Pond Road", "Orchard Path"};
const char* const kTowns[] = {"Ashford Falls", "Brimley",   "Calder Bay", "Dunmore Springs",
                              "Everly",        "Foxglove",  "Glenhollow", "Harwick",
                              "Larkmoor",      "Millbrook", "Norcastle",  "Quarry Hill"};
const char* const kStates[] = {"CA", "FL", "GA", "IL", "IN", "MA", "NH", "NJ", "NY", "OH"};
const char* const kAreaCodes[] = {"201", "312", "415", "508", "614", "717", "813", "917"};
const char* const kFlags[] = {"rush", "audit", "net30", "export", "bulk", "hold"};

// The columns of main_vnd that may be null, in table order after the key
// (Preferred excluded: it is never null).
enum TNullable {
  ncVendorName,
  ncAddress,
  ncState,
  ncPhone,
  ncEmail,
  ncLastContractDate,
  ncContractCount,
  ncIndustryID,
  ncCreditSum,
  ncDebitSum,
  ncPicture,
  ncFlags,
  ncCount
};

String Lower(const String& s) {
  String r;
  for (char c : s)
    if (c != ' ') r += (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
  return r;
}

String Digits(int value, int width) {
  String s = std::to_string(value);
  while (static_cast<int>(s.size()) < width) s.insert(s.begin(), '0');
  return s;
}

// A small picture drawn with the canvas: a gradient-free backdrop, a framed
// panel and a few shapes whose colours and places come from rng.
String DrawPicture(TRandom& rng, int width, int height) {
  TObjectPtr<TBitmap> bmp = MakeObject<TBitmap>();
  bmp->SetPixelFormat(pf24bit);
  bmp->SetSize(width, height);
  TCanvas* c = bmp->Canvas();
  auto colour = [&rng] {
    return RGB(Byte(64 + rng.Below(192)), Byte(64 + rng.Below(192)), Byte(64 + rng.Below(192)));
  };
  c->Brush()->SetColor(colour());
  c->FillRect(TRect(0, 0, width, height));
  c->Pen()->SetColor(RGB(32, 32, 32));
  c->Brush()->SetColor(colour());
  c->Rectangle(width / 8, height / 8, width - width / 8, height - height / 8);
  int shapes = 2 + rng.Below(3);
  for (int i = 0; i < shapes; ++i) {
    int x = rng.Below(width), y = rng.Below(height);
    int w = 4 + rng.Below(width / 2 + 1), h = 4 + rng.Below(height / 2 + 1);
    c->Brush()->SetColor(colour());
    if (rng.Chance(50))
      c->Ellipse(x - w / 2, y - h / 2, x + w / 2, y + h / 2);
    else
      c->Polygon(
          {TPoint{x, y - h / 2}, TPoint{x + w / 2, y + h / 2}, TPoint{x - w / 2, y + h / 2}});
  }
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

void WriteVendors(TWriter& w, TRandom& rng) {
  w.Exec(
      "CREATE TABLE main_vnd(VendorNo INTEGER PRIMARY KEY, VendorName VARCHAR(40), Address MEMO, "
      "State VARCHAR(2), Phone VARCHAR(12), \"E-mail\" VARCHAR(60), LastContractDate DATETIME, "
      "ContractCount INTEGER, IndustryID VARCHAR(10), CreditSum CURRENCY, DebitSum CURRENCY, "
      "Preferred BOOLEAN, Picture GRAPHIC, Flags VARCHAR(20))");
  static const int kSizes[][2] = {{16, 16}, {32, 32}, {48, 32}, {64, 48}, {80, 60}, {96, 72}};
  std::set<String> used;
  for (int n = 0; n < kVendors; ++n) {
    // Each nullable column is null for one fixed vendor and now and then at
    // random (never the name: one null name is enough for the grids).
    auto isNull = [&](TNullable column) {
      if (n == 3 + 7 * static_cast<int>(column)) return true;
      return column != ncVendorName && rng.Chance(4);
    };
    String name;
    do {
      name = String(rng.Pick(kNameHeads)) + " " + rng.Pick(kNameTails);
      if (used.count(name)) name += " " + String(rng.Pick(kNameTails));
    } while (used.count(name));
    used.insert(name);
    const char* state = rng.Pick(kStates);

    std::vector<TValue> row;
    row.push_back(TValue::Int(kFirstVendorNo + n));
    row.push_back(isNull(ncVendorName) ? TValue{} : TValue::Text(name));

    String address = std::to_string(10 + rng.Below(9890)) + " " + rng.Pick(kStreets);
    if (rng.Chance(30)) address += "\r\nSuite " + std::to_string(100 + rng.Below(900));
    address +=
        "\r\n" + String(rng.Pick(kTowns)) + ", " + state + " " + Digits(rng.Below(100000), 5);
    row.push_back(isNull(ncAddress) ? TValue{} : TValue::Text(address));
    row.push_back(isNull(ncState) ? TValue{} : TValue::Text(state));

    // Every fifth vendor has a toll-free number.
    String phone =
        String(n % 5 == 0 ? "800" : rng.Pick(kAreaCodes)) + "-555-01" + Digits(rng.Below(100), 2);
    row.push_back(isNull(ncPhone) ? TValue{} : TValue::Text(phone));
    const char* box[] = {"sales", "info", "orders", "contact"};
    String email = String(rng.Pick(box)) + "@" + Lower(name) + ".example";
    row.push_back(isNull(ncEmail) ? TValue{} : TValue::Text(email));

    String date = std::to_string(2014 + rng.Below(11)) + "-" + Digits(1 + rng.Below(12), 2) + "-" +
                  Digits(1 + rng.Below(28), 2) + " " + Digits(rng.Below(24), 2) + ":" +
                  Digits(rng.Below(60), 2) + ":" + Digits(rng.Below(60), 2);
    row.push_back(isNull(ncLastContractDate) ? TValue{} : TValue::Text(date));

    // 50 and 51 on either side of the display threshold, several times each.
    int count = n % 10 == 1 ? 50 : n % 10 == 2 ? 51 : 1 + rng.Below(rng.Chance(20) ? 5000 : 120);
    row.push_back(isNull(ncContractCount) ? TValue{} : TValue::Int(count));
    row.push_back(isNull(ncIndustryID) ? TValue{} : TValue::Text(rng.Pick(kIndustries).symbol));

    // Whole cents, stored as the REAL nearest to the decimal amount.
    std::int64_t credit = rng.Below(5000000);
    std::int64_t debit = n % 2 == 0 ? credit + 100 + rng.Below(2000000)
                                    : credit - rng.Below(static_cast<int>(credit) + 1);
    row.push_back(isNull(ncCreditSum) ? TValue{} : TValue::Real(static_cast<double>(credit) / 100));
    row.push_back(isNull(ncDebitSum) ? TValue{} : TValue::Real(static_cast<double>(debit) / 100));
    row.push_back(TValue::Int(rng.Chance(40) ? 1 : 0));

    const auto& size = rng.Pick(kSizes);
    String picture = DrawPicture(rng, size[0], size[1]);
    row.push_back(isNull(ncPicture) ? TValue{} : TValue::Blob(picture));

    String flags = rng.Pick(kFlags);
    if (rng.Chance(40)) flags += String(",") + rng.Pick(kFlags);
    row.push_back(isNull(ncFlags) ? TValue{} : TValue::Text(flags));

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
