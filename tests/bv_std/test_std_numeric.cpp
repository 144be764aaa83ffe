// The numeric vision: texts by format and field type, typed numbers checked
// and posted into integer, float and currency fields, limits, spin steps
// that stay inside the limits, and the calculator drop-down request.
#include <gtest/gtest.h>

#include "bv_std/numeric_vision.h"
#include "bv_vtf/tool_form.h"
#include "error_text.h"
#include "rtl/scope.h"
#include "value_test_util.h"

namespace valuetest {
namespace {

using brevant::test::ErrorOf;

class NumericVisionTest : public ::testing::Test, public TVisionBench<TNumericVision> {
 protected:
  void SetUp() override { Open("Ratio"); }
  String Spun(const char* text, Integer kind) {
    editor->text = text;
    return Spin(kind);
  }
};

TEST_F(NumericVisionTest, TextsFollowTheFormatChoice) {
  data.Set("Ratio", 1234.5);
  EXPECT_EQ(DisplayText(), "1234.5");  // the field's own text
  EXPECT_EQ(EditText(), "1234.5");
  vision->SetDisplayFormat("#,##0.00");
  vision->SetEditFormat("0.000");
  EXPECT_EQ(DisplayText(), "1,234.50");
  EXPECT_EQ(EditText(), "1234.500");
  // The consumer's formats win over the vision's.
  List().SetDisplayFormat("0");
  List().SetEditFormat("0.0");
  EXPECT_EQ(DisplayText(), "1235");
  EXPECT_EQ(EditText(), "1234.5");
  data.Set("Ratio", Variant());
  EXPECT_EQ(DisplayText(), "");
  EXPECT_EQ(EditText(), "");
  // Search uses the edit text; numbers align right.
  data.Set("Ratio", 2.25);
  String search;
  vision->GetSearchText(&List(), search);
  EXPECT_EQ(search, "2.3");
  EXPECT_EQ(vision->TextAlignment(&List()), taRightJustify);
}

TEST_F(NumericVisionTest, ValuesAreFormattedByTheFieldType) {
  TznUniValue value;
  value.SetAsFloat(1234.5);
  struct Row {
    const char* field;
    const char* text;
  };
  const Row rows[] = {{"Price", "$1,234.50"}, {"Ratio", "1234.5"}, {"Count", "1234.5"}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.field);
    Open(row.field);
    EXPECT_EQ(vision->FormatValue(&List(), value), row.text);
  }
  // Edit text of a currency field: fixed with the currency decimals.
  Open("Price");
  EXPECT_EQ(vision->NumberText(&List(), 7, false), "7.00");
  vision->SetDisplayFormat("0.0");
  EXPECT_EQ(vision->FormatValue(&List(), value), "1234.5");
  value.Clear();
  EXPECT_EQ(vision->FormatValue(&List(), value), "");
}

TEST_F(NumericVisionTest, WithoutAMainFieldTheValueComesFromOnGetValue) {
  Open("Calculated");  // named, but not a field of the dataset
  EXPECT_TRUE(List().Active());
  EXPECT_EQ(DisplayText(), "");  // no handler: null
  bool isNull = false;
  vision->OnGetValue =
      TfvGetExtValueEvent::FromCallable([&](TObject*, TtlFieldList*, Extended& value, bool& null) {
        EXPECT_FALSE(null);
        value = 0.5;
        null = isNull;
      });
  EXPECT_EQ(DisplayText(), "0.5");
  vision->SetDisplayFormat("0.00");
  EXPECT_EQ(DisplayText(), "0.50");
  Reload();
  EXPECT_EQ(editor->CurrentValue()->DataType(), ftFloat);
  EXPECT_EQ(editor->CurrentValue()->AsFloat(), 0.5);
  isNull = true;
  EXPECT_EQ(DisplayText(), "");
}

TEST_F(NumericVisionTest, ActiveOnlyOnNumericFields) {
  struct Row {
    const char* field;
    bool active;
  };
  const Row rows[] = {{"Count", true},  {"Ratio", true}, {"Price", true},
                      {"Stamp", false}, {"Name", false}, {"", false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.field);
    Open(row.field);
    EXPECT_EQ(List().Active(), row.active);
  }
}

TEST_F(NumericVisionTest, TypedNumbersPostIntoEachNumericField) {
  struct Row {
    const char* field;
    const char* typed;
    const char* stored;
  };
  const Row rows[] = {
      {"Count", "42", "42"},    {"Count", " -7 ", "-7"},     {"Ratio", "2.5", "2.5"},
      {"Ratio", "1E3", "1000"}, {"Price", "19.99", "19.99"}, {"Price", "-0.5", "-0.5"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(String(row.field) + " " + row.typed);
    Open(row.field);
    EXPECT_TRUE(Post(row.typed));
    EXPECT_EQ(data.Field(row.field)->AsString(), row.stored);
  }
  // Blank posts null.
  EXPECT_TRUE(Post(""));
  EXPECT_TRUE(data.Field("Price")->IsNull());
}

TEST_F(NumericVisionTest, BadTextIsRefusedWithItsMessageAndNothingIsWritten) {
  data.Set("Ratio", 3.0);
  Reload();
  vision->SetNullable(false);
  struct Row {
    const char* typed;
    const char* error;
  };
  const Row rows[] = {
      {"", "EBVError: Input value can not be blank. Please input valid numeric value"},
      {"  ", "EBVError: Input value can not be blank. Please input valid numeric value"},
      {"12a", "EBVError: \"12a\" is not a valid numeric value"},
      {"1.2.3", "EBVError: \"1.2.3\" is not a valid numeric value"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.typed);
    EXPECT_EQ(ErrorOf([&] { Post(row.typed); }), row.error);
    EXPECT_EQ(editor->text, row.typed);
    EXPECT_TRUE(List().Editing());
    EXPECT_EQ(data.Field("Ratio")->AsFloat(), 3.0);
  }
}

TEST_F(NumericVisionTest, LimitsApplyTogetherOnceEitherIsSet) {
  vision->SetMinValue(10);
  // The range is 10 to 0: nothing passes.
  EXPECT_EQ(ErrorOf([&] { Post("20"); }),
            "EBVError: \"20\" is out of range. The allowed range is 10 to 0");
  vision->SetMaxValue(99.5);
  EXPECT_EQ(ErrorOf([&] { Post("9.99"); }),
            "EBVError: \"9.99\" is out of range. The allowed range is 10 to 99.5");
  EXPECT_EQ(ErrorOf([&] { Post("100"); }),
            "EBVError: \"100\" is out of range. The allowed range is 10 to 99.5");
  EXPECT_TRUE(data.Field("Ratio")->IsNull());
  EXPECT_TRUE(Post("99.5"));
  EXPECT_EQ(data.Field("Ratio")->AsFloat(), 99.5);
  // Without limits anything goes.
  vision->SetMinValue(0);
  vision->SetMaxValue(0);
  EXPECT_TRUE(Post("-1e6"));
}

TEST_F(NumericVisionTest, SpinStepsStayWithinTheLimits) {
  vision->SetButtonStyle(pbsSpin);
  struct Row {
    const char* name;
    Extended min, max, step;
    const char* text;
    Integer kind;
    const char* expect;
  };
  const Row rows[] = {
      {"up without limits", 0, 0, 1, "2.5", bkMouse, "3.5"},
      {"down without limits", 0, 0, 0.1, "0.2", bkKeyDown, "0.1"},
      {"empty counts as 0", 0, 0, 2, "", bkKeyboard, "2"},
      {"up capped at the maximum", 1, 10, 1, "9.5", bkMouse, "10"},
      {"down floored at the minimum", 1, 10, 1, "1.5", bkMouseDown, "1"},
      {"up from below the minimum jumps to it", 5, 10, 1, "-3", bkMouse, "5"},
      {"down from above the maximum jumps to it", 5, 10, 1, "30", bkMouseDown, "10"},
      {"up at the maximum stays", 5, 10, 1, "10", bkMouse, "10"},
      {"down at the minimum stays", 5, 10, 1, "5", bkKeyDown, "5"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    vision->SetMinValue(row.min);
    vision->SetMaxValue(row.max);
    vision->SetStep(row.step);
    EXPECT_EQ(Spun(row.text, row.kind), row.expect);
  }
  // The spun value is one the vision accepts, and posts.
  vision->SetMinValue(1);
  vision->SetMaxValue(10);
  editor->selLength = 0;
  EXPECT_EQ(Spun("9.5", bkMouse), "10");
  EXPECT_EQ(editor->selLength, 2);  // selected
  EXPECT_TRUE(vision->PostEdit(editor.get(), false));
  EXPECT_EQ(data.Field("Ratio")->AsFloat(), 10.0);
}

TEST_F(NumericVisionTest, SpinWritesTheEditFormat) {
  vision->SetButtonStyle(pbsSpin);
  vision->SetStep(0.25);
  vision->SetEditFormat("0.00");
  EXPECT_EQ(Spun("1", bkMouse), "1.25");
  vision->SetEditFormat("");
  vision->SetStep(0.5);
  Open("Price");
  EXPECT_EQ(Spun("1", bkMouse), "1.50");  // fixed, with the currency decimals
  Open("Ratio");
  EXPECT_EQ(Spun("1", bkMouse), "1.5");
  Open("Count");
  vision->SetStep(1);
  EXPECT_EQ(Spun("41", bkMouse), "42");
  EXPECT_TRUE(vision->PostEdit(editor.get(), false));
  EXPECT_EQ(data.Field("Count")->AsInteger(), 42);
  // Only the spin style spins; the button click fires in any case.
  int clicks = 0;
  vision->OnButtonClick = TfvNotifyEvent::FromCallable([&](TObject*, TtlFieldList*) { ++clicks; });
  vision->SetButtonStyle(pbsEllipsis);
  EXPECT_EQ(Spun("41", bkMouse), "41");
  EXPECT_EQ(clicks, 1);
}

TEST_F(NumericVisionTest, TheCalculatorDropsDownUnlessACustomFormIsChosen) {
  TObjectPtr<TVisionToolForm> calculator(Create<TVisionToolForm>(nullptr));
  TObjectPtr<TVisionToolForm> custom(Create<TVisionToolForm>(nullptr));
  TObjectPtr<TVisionToolForm> other(Create<TVisionToolForm>(nullptr));
  TVisionToolForm* const calculatorForm = calculator.get();
  TVisionToolForm* const customForm = custom.get();
  TVisionToolForm* const otherForm = other.get();
  SetStockToolForm(stfCalculator, calculatorForm);
  const TScopeGuard restore([] { SetStockToolForm(stfCalculator, nullptr); });
  EXPECT_EQ(vision->DropDownKind(), ndkCalculator);
  EXPECT_EQ(vision->GetDropDown(), calculatorForm);
  // A drop-down button opens it.
  vision->SetButtonStyle(pbsDropDown);
  vision->ButtonAction(editor.get(), bkKeyboard);
  EXPECT_EQ(editor->Take(), "open");
  // Assigning another form makes the kind custom; back to the calculator
  // it wins over the assigned form.
  vision->SetDropDown(customForm);
  EXPECT_EQ(vision->DropDownKind(), ndkCustom);
  EXPECT_EQ(vision->GetDropDown(), customForm);
  vision->SetDropDownKind(ndkCalculator);
  EXPECT_EQ(vision->GetDropDown(), calculatorForm);
  vision->SetDropDown(customForm);  // the same form: the kind stays
  EXPECT_EQ(vision->DropDownKind(), ndkCalculator);
  vision->SetDropDown(otherForm);
  EXPECT_EQ(vision->GetDropDown(), otherForm);
}

TEST_F(NumericVisionTest, PublishedDefaultsAndLimitsRoundTripThroughFormText) {
  RegisterNumericVisionClasses();
  vision->SetName("Numbers");
  EXPECT_EQ(vision->ButtonStyle(), pbsEllipsis);
  EXPECT_FALSE(vision->EnableButton());
  EXPECT_TRUE(vision->EnableDropDown());
  String text = ToFormText(vision.get());
  EXPECT_EQ(text.find("MinValue"), String::npos);
  EXPECT_EQ(text.find("Step"), String::npos);
  EXPECT_NE(text.find("DropDownKind = ndkCalculator"), String::npos);  // always stored
  vision->SetMinValue(-2.5);
  vision->SetStep(0.5);
  vision->SetDropDownKind(ndkCustom);
  vision->SetEditFormat("0.0");
  text = ToFormText(vision.get());
  EXPECT_EQ(text.find("MaxValue"), String::npos);
  TObjectPtr<TNumericVision> copy(static_cast<TNumericVision*>(FromFormText(text)));
  EXPECT_EQ(copy->MinValue(), -2.5);
  EXPECT_EQ(copy->MaxValue(), 0);
  EXPECT_EQ(copy->Step(), 0.5);
  EXPECT_EQ(copy->DropDownKind(), ndkCustom);
  EXPECT_EQ(copy->EditFormat(), "0.0");
}

}  // namespace
}  // namespace valuetest
