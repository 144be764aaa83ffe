// Date-time, float and currency values typed and spun in grid cells and in
// the data-aware edit with real keys and clicks: display and edit formats,
// the currency format settings, limits refused with the vision's message,
// posting by Return, Tab and a row move, cancelling by Escape.
#include <gtest/gtest.h>

#include "bv/columns.h"
#include "bv/field_list.h"
#include "bv/inplace_edit.h"
#include "bv/tabulon.h"
#include "bv_std/datetime_visions.h"
#include "bv_std/numeric_vision.h"
#include "controls/application.h"
#include "db/field_types.h"
#include "pack_test_util.h"
#include "rtl/datetime.h"
#include "rtl/format_settings.h"

namespace brevant::test {
namespace {

// Puts the process-wide format settings back when the test ends.
class TSettingsGuard {
 public:
  TSettingsGuard() : saved_(FormatSettings()) {}
  ~TSettingsGuard() { FormatSettings() = saved_; }
  TSettingsGuard(const TSettingsGuard&) = delete;
  TSettingsGuard& operator=(const TSettingsGuard&) = delete;

 private:
  TFormatSettings saved_;  // the settings before the test
};

class TypedCellsTest : public PackTest {
 protected:
  void SetUp() override {
    PackTest::SetUp();
    ds = Create<TMemDataSet>(form);
    ds->FieldDefs()->Add("Stamp", ftDateTime);
    ds->FieldDefs()->Add("Ratio", ftFloat);
    ds->FieldDefs()->Add("Price", ftCurrency);
    ds->AppendRow({VarFromDateTime(kStart), Variant(2.5), Variant(1234.5)});
    ds->AppendRow({VarFromDateTime(kStart + 1), Variant(7.0), Variant(3.0)});
    ds->Open();
    src = Create<TDataSource>(form);
    src->SetDataSet(ds);
    Application()->OnException = TExceptionEvent::FromCallable(
        [this](TObject*, const Exception& e) { errors.push_back(e.Message()); });
  }
  void TearDown() override {
    Application()->OnException = {};
    PackTest::TearDown();
  }
  // A focused grid with a column per field name, each through its vision,
  // the editor open on column `at` of the first record.
  void EditCells(std::initializer_list<std::pair<const char*, TznFieldVision*>> columns,
                 Integer at = 0) {
    cells = Create<TDBTabulon>(form);
    cells->SetBounds(10, 80, 420, 150);
    cells->SetParent(form);
    for (const auto& [field, vision] : columns) {
      TtlColumn* column = cells->Columns()->Add();
      column->SetFieldName(field);
      column->SetVision(vision);
      column->SetWidth(130);
    }
    cells->SetDataSource(src);
    form->Show();
    Pump();
    cells->SetFocus();
    Key(VK_HOME);
    for (Integer i = 0; i < at; ++i) Key(VK_RIGHT);
    Key(VK_F2);
    ASSERT_TRUE(cells->EditorShown());
  }
  String CellText() const { return cells->InplaceEditor()->EditText(); }
  // What the grid shows in column's cell of the current record.
  String Shown(Integer column) const {
    TtlFieldList* fields = cells->Columns()->Items(column)->FieldList();
    return fields->Vision()->GetFieldText(fields, true);
  }
  // Replaces the focused editor's text by typed text.
  static void Retype(const String& text) {
    Key(VK_HOME);
    Key(VK_END, bmShift);
    Type(text);
  }
  // Clicks the upper (up) or lower half of editor's spin button.
  static void ClickSpin(TDBQuentaEdit* editor, bool up) {
    const TRect b = editor->EditButtonRect();
    const Integer y = up ? b.Top + b.Height() / 4 : b.Bottom - b.Height() / 4;
    ClickOn(editor, (b.Left + b.Right) / 2, y);
    Pump();
  }
  TField* Field(const char* name) const { return ds->FieldByName(name); }
  TNumericVision* SpinningNumbers(Extended step) {
    auto* v = Create<TNumericVision>(form);
    v->SetEnableButton(true);
    v->SetButtonStyle(pbsSpin);
    v->SetStep(step);
    return v;
  }

  // 15 March 2024, 10:30.
  const TDateTime kStart = ComposeDateTime(EncodeDate(2024, 3, 15), EncodeTime(10, 30, 0, 0));
  TMemDataSet* ds = nullptr;
  TDataSource* src = nullptr;
  TDBTabulon* cells = nullptr;
  std::vector<String> errors;  // messages of the errors the application handled
};

TEST_F(TypedCellsTest, ADateTimeCellTakesTypedDatesAndRefusesBadText) {
  EditCells({{"Stamp", Create<TDateTimeVision>(form)}, {"Ratio", Create<TNumericVision>(form)}});
  EXPECT_EQ(CellText(), Field("Stamp")->EditText());
  Retype("3/16/24 8:15:00");  // two-digit years take the settings' window
  Key(VK_TAB);                // posts the cell and moves to the next column
  EXPECT_EQ(cells->CurrentColumnObject(), cells->Columns()->Items(1));
  EXPECT_EQ(Field("Stamp")->AsDateTime(),
            ComposeDateTime(EncodeDate(2024, 3, 16), EncodeTime(8, 15, 0, 0)));
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(ds->State(), dsEdit);
  // Text that is no date stays for correction; Escape drops it, a second
  // Escape the record's edit with the date posted into it before.
  if (cells->EditorShown()) Key(VK_ESCAPE);
  Key(VK_LEFT);
  Key(VK_F2);
  Retype("3/32/2024");
  Key(VK_RETURN);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("3/32/2024"), String::npos) << errors[0];
  EXPECT_TRUE(cells->EditorShown());
  EXPECT_EQ(CellText(), "3/32/2024");
  Key(VK_ESCAPE);
  Key(VK_ESCAPE);
  EXPECT_EQ(ds->State(), dsBrowse);
  EXPECT_EQ(Field("Stamp")->AsDateTime(), kStart);
}

TEST_F(TypedCellsTest, AFloatCellShowsItsFormatsAndSpinsByTheMouse) {
  TNumericVision* v = SpinningNumbers(0.25);
  v->SetDisplayFormat("0.00");
  v->SetEditFormat("0.###");
  v->SetMinValue(0.5);
  v->SetMaxValue(9.5);
  EditCells({{"Ratio", v}});
  EXPECT_EQ(Shown(0), "2.50");
  EXPECT_EQ(CellText(), "2.5");
  struct TRow {
    const char* name;   // what the row checks
    bool up;            // the half of the spin button clicked
    const char* shown;  // the cell's text after it
  };
  const TRow rows[] = {
      {"up by the step", true, "2.75"},
      {"down", false, "2.5"},
      {"down again", false, "2.25"},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.name);
    ClickSpin(cells->InplaceEditor(), row.up);
    EXPECT_EQ(CellText(), row.shown);
  }
  Key(VK_DOWN);  // posts and moves to the next record
  EXPECT_EQ(ds->RecNo(), 2);
  EXPECT_EQ(ds->State(), dsBrowse);
  ds->First();
  EXPECT_EQ(Field("Ratio")->AsFloat(), 2.25);
  EXPECT_EQ(Shown(0), "2.25");
  // Spinning up from near the maximum stops on it; a typed value beyond it
  // is refused with the vision's message.
  Key(VK_F2);
  Retype("9.4");
  ClickSpin(cells->InplaceEditor(), true);
  EXPECT_EQ(CellText(), "9.5");
  Retype("9.75");
  Key(VK_RETURN);
  EXPECT_EQ(errors,
            (std::vector<String>{"\"9.75\" is out of range. The allowed range is 0.5 to 9.5"}));
  EXPECT_TRUE(cells->EditorShown());
  Retype("1.2.3");
  Key(VK_RETURN);
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[1], "\"1.2.3\" is not a valid numeric value");
  Key(VK_ESCAPE);
  Key(VK_ESCAPE);
  EXPECT_EQ(ds->State(), dsBrowse);
  EXPECT_EQ(Field("Ratio")->AsFloat(), 2.25);
}

TEST_F(TypedCellsTest, AGroupedEditFormatSpinsAndPostsItsOwnText) {
  TNumericVision* v = SpinningNumbers(1);
  v->SetEditFormat("#,##0.00");
  EditCells({{"Price", v}});
  EXPECT_EQ(CellText(), "1,234.50");
  Key(VK_UP, bmCtrl);
  EXPECT_EQ(CellText(), "1,235.50");
  EXPECT_TRUE(errors.empty());
  Key(VK_RETURN);
  Key(VK_RETURN);
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(ds->State(), dsBrowse);
  EXPECT_EQ(Field("Price")->AsFloat(), 1235.5);
}

TEST_F(TypedCellsTest, ACurrencyCellFollowsTheFormatSettings) {
  TSettingsGuard settings;
  FormatSettings().CurrencyString = "EUR";
  FormatSettings().CurrencyFormat = 3;  // "1 $"
  FormatSettings().DecimalSeparator = ',';
  FormatSettings().ThousandSeparator = ".";
  EditCells({{"Price", SpinningNumbers(1)}});
  EXPECT_EQ(Shown(0), "1.234,50 EUR");
  EXPECT_EQ(CellText(), "1234,50");
  Key(VK_UP, bmCtrl);
  EXPECT_EQ(CellText(), "1235,50");
  Retype("99,95");
  Key(VK_RETURN);
  EXPECT_FALSE(cells->EditorShown());
  EXPECT_EQ(ds->State(), dsEdit);
  Key(VK_ESCAPE);  // cancels the record's edit
  EXPECT_EQ(Field("Price")->AsFloat(), 1234.5);
  Key(VK_F2);
  Retype("99,95");
  Key(VK_DOWN);  // posts the cell and the record
  EXPECT_EQ(ds->State(), dsBrowse);
  ds->First();
  EXPECT_EQ(Field("Price")->AsFloat(), 99.95);
  EXPECT_EQ(Shown(0), "99,95 EUR");
  EXPECT_TRUE(errors.empty());
}

// The standalone data-aware edit on the same fields.
TEST_F(TypedCellsTest, TheDataAwareEditTypesAndSpinsNumbersAndDates) {
  TNumericVision* v = SpinningNumbers(0.5);
  v->SetMinValue(1);
  v->SetMaxValue(3);
  Edit(src, "Ratio", v);
  EXPECT_EQ(edit->Text(), "2.5");
  ClickSpin(edit, true);
  EXPECT_EQ(edit->Text(), "3");
  ClickSpin(edit, true);
  EXPECT_EQ(edit->Text(), "3") << "capped at the maximum";
  Retype("4");
  Key(VK_RETURN);
  EXPECT_EQ(errors, (std::vector<String>{"\"4\" is out of range. The allowed range is 1 to 3"}));
  EXPECT_EQ(edit->Text(), "4");
  Retype("1.5");
  Key(VK_RETURN);
  EXPECT_EQ(Field("Ratio")->AsFloat(), 1.5);
  ds->Post();

  edit->SetVision(Create<TDateTimeVision>(form));
  edit->SetDataField("Stamp");
  Retype("4/1/2024 9:05:00");
  Key(VK_ESCAPE);
  EXPECT_EQ(edit->Text(), Field("Stamp")->EditText()) << "Escape restores the field's text";
  Retype("4/1/2024 9:05:00");
  Key(VK_RETURN);
  EXPECT_EQ(Field("Stamp")->AsDateTime(),
            ComposeDateTime(EncodeDate(2024, 4, 1), EncodeTime(9, 5, 0, 0)));
  EXPECT_EQ(errors.size(), 1u);
}

TEST_F(TypedCellsTest, TheDataAwareEditShowsAndTakesMoney) {
  TSettingsGuard settings;
  FormatSettings().DecimalSeparator = ',';
  FormatSettings().ThousandSeparator = ".";
  Edit(src, "Price", SpinningNumbers(10));
  EXPECT_EQ(edit->Text(), "1234,50");
  Key(VK_DOWN, bmCtrl);
  EXPECT_EQ(edit->Text(), "1224,50");
  Retype("1.000,25");
  Key(VK_RETURN);
  EXPECT_EQ(Field("Price")->AsFloat(), 1000.25);
  EXPECT_TRUE(errors.empty());
}

}  // namespace
}  // namespace brevant::test
