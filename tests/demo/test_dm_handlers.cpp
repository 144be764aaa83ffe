// DM's handlers at work in a grid and in data-aware edits over the vendor
// table: the star of busy vendors, the balance and its red colour, the mail
// button (whose address reaches the recorded launcher percent-encoded, and
// only when it is one plain address) and the phone button.
#include <gtest/gtest.h>

#include "bv/column.h"
#include "bv/columns.h"
#include "bv/db_edit.h"
#include "bv/field_vision.h"
#include "bv/tabulon.h"
#include "bv_std/list_visions.h"
#include "bv_std/numeric_vision.h"
#include "controls/os_services.h"
#include "controls/stdctrls_test_util.h"
#include "controls/wincore.h"
#include "db/datasource.h"
#include "db/field.h"
#include "db/sqlite_table.h"
#include "demo/demo_test_util.h"
#include "demo/modules/demo_modules.h"
#include "demo/modules/dm.h"

namespace brevant::test {
namespace {

class DMHandlersTest : public DemoModulesTest {
 protected:
  // A grid over the vendor table with one column for field through vision,
  // showing the record whose VendorNo is vendor as its only row.
  TDBTabulon* GridOn(const String& field, TznFieldVision* vision) {
    form->SetBounds(100, 100, 320, 120);
    grid = Create<TDBTabulon>(form);
    grid->SetBounds(0, 0, 300, 80);
    grid->SetParent(form);
    TtlColumn* column = grid->Columns()->Add();
    column->SetFieldName(field);
    column->SetVision(vision);
    column->SetWidth(200);
    grid->SetDataSource(DM()->dsVendorsSource);
    form->Show();
    Pump();
    return grid;
  }
  // The current record's cell of the grid's only column, inside its frame.
  TRect CurrentCell() const {
    TRect r = grid->Columns()->Items(0)->CellRect(grid->CursorRow(), false, false);
    return r;
  }
  // Moves the vendor table to a record with field = value and repaints.
  void Show(const String& field, const String& value) {
    Goto(DM()->datVendorsSource, field, value);
    grid->Invalidate();
    Pump();
    UpdateWindow(grid->Handle());
  }
  // Some pixel of the current cell is clearly red (text drawn antialiased).
  bool RedInCell() {
    const TRect r = CurrentCell();
    for (Integer y = r.Top; y < r.Bottom; ++y)
      for (Integer x = r.Left; x < r.Right; ++x) {
        const TColor p = Px(grid, x, y);
        if (GetRValue(p) > 0xA0 && GetGValue(p) < 0x50 && GetBValue(p) < 0x50) return true;
      }
    return false;
  }
  // Makes a vendor's e-mail address text, posted to the table.
  void SetMail(const String& text) {
    TSqliteTable* t = DM()->datVendorsSource;
    t->First();
    t->Edit();
    t->FieldByName("E-mail")->SetAsString(text);
    t->Post();
  }
  // Ctrl+Return in a focused edit presses its button.
  void PressButtonOf(TDBQuentaEdit* edit) {
    form->Show();
    edit->SetFocus();
    Pump();
    Offscreen().PressKey(VK_RETURN, bmCtrl);
    Pump();
  }

  TDBTabulon* grid = nullptr;
};

TEST_F(DMHandlersTest, CoolCountShowsTheStarAboveFifty) {
  GridOn("ContractCount", DM()->visCoolCount);
  struct Row {
    const char* count;
    bool star;
  } rows[] = {{"51", true}, {"50", false}, {"1", false}};
  for (const Row& row : rows) {
    Show("ContractCount", row.count);
    EXPECT_EQ(AnyPixel(grid, CurrentCell(), clYellow), row.star) << "count " << row.count;
  }
}

TEST_F(DMHandlersTest, BalanceIsDebitMinusCreditAndRedWhenPositive) {
  GridOn("#Balance", DM()->visBalance);
  TSqliteTable* t = DM()->datVendorsSource;
  TtlFieldList* fields = grid->Columns()->Items(0)->FieldList();
  ASSERT_TRUE(fields->Active());
  Integer above = 0, below = 0;
  for (t->First(); !t->Eof() && (above < 2 || below < 2); t->Next()) {
    TField* debit = t->FieldByName("DebitSum");
    TField* credit = t->FieldByName("CreditSum");
    if (debit->IsNull() || credit->IsNull() || debit->AsFloat() == credit->AsFloat()) continue;
    const bool positive = debit->AsFloat() > credit->AsFloat();
    if ((positive ? above : below) >= 2) continue;
    (positive ? above : below)++;
    Extended value = 0;
    bool isNull = true;
    DM()->visBalanceGetValue(DM()->visBalance, fields, value, isNull);
    EXPECT_FALSE(isNull);
    EXPECT_NEAR(static_cast<double>(value), debit->AsFloat() - credit->AsFloat(), 0.005);
    EXPECT_EQ(DM()->visBalance->GetFieldText(fields, true),
              DM()->visBalance->NumberText(fields, value, true));
    const String vendor = t->FieldByName("VendorNo")->AsString();
    Show("VendorNo", vendor);
    EXPECT_EQ(RedInCell(), positive) << "vendor " << vendor;
  }
  EXPECT_EQ(above, 2);
  EXPECT_EQ(below, 2);
}

TEST_F(DMHandlersTest, MailButtonOpensTheEncodedAddress) {
  SetMail("sales&info?x=1#top@vendor.example");
  TDBQuentaEdit* edit = AddEdit(DM()->dsVendorsSource, "E-mail", DM()->visEmail);
  PressButtonOf(edit);
  ASSERT_EQ(RecordedOsRequests().size(), 1u);
  EXPECT_EQ(RecordedOsRequests()[0],
            "open mailto:sales%26info%3Fx%3D1%23top@vendor.example?subject=request");
}

TEST_F(DMHandlersTest, MailButtonRefusesWhatIsNoPlainAddress) {
  struct Row {
    const char* name;
    const char* text;
  } rows[] = {
      {"two recipients", "a@b.example,c@d.example"},
      {"blank inside", "a b@c.example"},
      {"no domain", "sales@"},
      {"display name", "Sales <sales@vendor.example>"},
  };
  TDBQuentaEdit* edit = AddEdit(DM()->dsVendorsSource, "E-mail", DM()->visEmail);
  for (const Row& row : rows) {
    SetMail(row.text);
    HandledMessage().clear();
    PressButtonOf(edit);
    EXPECT_TRUE(RecordedOsRequests().empty()) << row.name;
    EXPECT_NE(HandledMessage().find("is not a mail address"), std::string::npos) << row.name;
  }
}

TEST_F(DMHandlersTest, EmptyMailAddressOpensNothing) {
  SetMail("");
  TDBQuentaEdit* edit = AddEdit(DM()->dsVendorsSource, "E-mail", DM()->visEmail);
  PressButtonOf(edit);
  EXPECT_TRUE(RecordedOsRequests().empty());
  EXPECT_EQ(HandledMessage(), "");
}

TEST_F(DMHandlersTest, PhoneButtonCopiesTheNumberAndOpensNoMail) {
  TSqliteTable* t = DM()->datVendorsSource;
  for (t->First(); t->FieldByName("Phone")->IsNull();) t->Next();
  const String number = DM()->datVendorsSource->FieldByName("Phone")->AsString();
  SetClipboardText("");
  TDBQuentaEdit* edit = AddEdit(DM()->dsVendorsSource, "Phone", DM()->visPhone);
  PressButtonOf(edit);
  EXPECT_TRUE(RecordedOsRequests().empty());
  EXPECT_EQ(GetClipboardText(), number);
}

}  // namespace
}  // namespace brevant::test
