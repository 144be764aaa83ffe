// The date vision: texts by format and kind, typed dates checked and
// posted (with the time of day kept), limits and their assignment, the
// calendar drop-down request, and the published defaults.
#include <gtest/gtest.h>

#include "bv_std/datetime_visions.h"
#include "bv_vtf/tool_form.h"
#include "db/dataset.h"
#include "error_text.h"
#include "rtl/format_settings.h"
#include "rtl/scope.h"
#include "value_test_util.h"

namespace valuetest {
namespace {

using brevant::test::ErrorOf;

class DateVisionTest : public ::testing::Test, public TVisionBench<TDateVision> {
 protected:
  void SetUp() override { Open("Stamp"); }
  TDateTime Stamp() { return data.Field("Stamp")->AsDateTime(); }
};

TEST_F(DateVisionTest, TextsFollowTheFormatChoice) {
  data.Set("Stamp", VarFromDateTime(D(2024, 4, 30) + T(13, 45)));
  struct Row {
    const char* name;
    TznDisplayFormatKind kind;
    const char* listFormat;
    const char* display;
  };
  const Row rows[] = {
      {"default: the field's display text", dfkDefault, "", "04/30/2024 13:45:00"},
      {"short date", dfkShort, "", "04/30/2024"},
      {"long date", dfkLong, "", "Tuesday, April 30, 2024"},
      {"the field list's format wins", dfkShort, "yyyy-mm-dd", "2024-04-30"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    vision->SetDisplayFormatKind(row.kind);
    List().SetDisplayFormat(row.listFormat);
    EXPECT_EQ(DisplayText(), row.display);
    // The edit text is the date part alone, whatever the display.
    EXPECT_EQ(EditText(), "04/30/2024");
  }
  List().SetDisplayFormat("");
  vision->SetDisplayFormat("d mmm yy");
  EXPECT_EQ(vision->DisplayFormatKind(), dfkCustom);
  EXPECT_EQ(DisplayText(), "30 Apr 24");
  // A value of 0 shows nothing when a format applies; null shows nothing.
  data.Set("Stamp", VarFromDateTime(0));
  EXPECT_EQ(DisplayText(), "");
  data.Set("Stamp", Variant());
  EXPECT_EQ(DisplayText(), "");
  EXPECT_EQ(EditText(), "");
}

TEST_F(DateVisionTest, WithoutAMainFieldTheValueComesFromOnGetValue) {
  Open("Calculated");  // named, but not a field of the dataset
  EXPECT_TRUE(List().Active());
  bool isNull = false;
  vision->OnGetValue = TfvGetDateValueEvent::FromCallable(
      [&](TObject*, TtlFieldList*, TDateTime& value, bool& null) {
        EXPECT_FALSE(null);  // preset
        value = D(2025, 1, 2);
        null = isNull;
      });
  EXPECT_EQ(DisplayText(), "01/02/2025");  // the short date without a format
  vision->SetDisplayFormatKind(dfkLong);
  EXPECT_EQ(DisplayText(), "Thursday, January 2, 2025");
  isNull = true;
  EXPECT_EQ(DisplayText(), "");
  // The current value comes from the event as well, typed as a date-time.
  isNull = false;
  Reload();
  EXPECT_EQ(editor->CurrentValue()->DataType(), ftDateTime);
  EXPECT_EQ(editor->CurrentValue()->AsDateTime(), D(2025, 1, 2));
}

TEST_F(DateVisionTest, ActiveOnlyOnDateTimeAndTimeStampFields) {
  struct Row {
    const char* field;
    bool active;
  };
  const Row rows[] = {{"Stamp", true},  {"Day", true},   {"Clock", true},
                      {"Count", false}, {"Name", false}, {"", false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.field);
    Open(row.field);
    EXPECT_EQ(List().Active(), row.active);
  }
}

TEST_F(DateVisionTest, TypedDatesKeepTheTimeOfDay) {
  data.Set("Stamp", VarFromDateTime(D(2024, 4, 30) + T(13, 45)));
  Reload();
  EXPECT_TRUE(Post("05/01/2024"));
  EXPECT_EQ(Stamp(), D(2024, 5, 1) + T(13, 45));
  // A time typed with the date is dropped: the field's time stays.
  EXPECT_TRUE(Post("05/02/2024 08:00"));
  EXPECT_EQ(Stamp(), D(2024, 5, 2) + T(13, 45));
  // Before 1899 the time lies on the other side of day 0.
  data.Set("Stamp", VarFromDateTime(-(10 + T(6, 0))));
  EXPECT_TRUE(Post("12/01/1899"));
  EXPECT_EQ(Stamp(), -(29 + T(6, 0)));
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn", Stamp()), "1899-12-01 06:00");
  // Without SaveTime the date posts at midnight.
  vision->SetSaveTime(false);
  EXPECT_TRUE(Post("05/03/2024"));
  EXPECT_EQ(Stamp(), D(2024, 5, 3));
  // A date field takes the date.
  Open("Day");
  EXPECT_TRUE(Post("07/04/2026"));
  EXPECT_EQ(data.Field("Day")->AsDateTime(), D(2026, 7, 4));
}

TEST_F(DateVisionTest, BlankTextPostsNullOnlyWhenNullable) {
  data.Set("Stamp", VarFromDateTime(D(2024, 4, 30)));
  Reload();
  EXPECT_TRUE(Post("   "));
  EXPECT_TRUE(data.Field("Stamp")->IsNull());
  data.Set("Stamp", VarFromDateTime(D(2024, 4, 30)));
  Reload();
  vision->SetNullable(false);
  EXPECT_EQ(ErrorOf([&] { Post(""); }),
            "EBVError: Input value can not be blank. Please input valid date value");
  // The refused text stays for correction and a later post tries again.
  EXPECT_TRUE(List().Editing());
  EXPECT_EQ(Stamp(), D(2024, 4, 30));
  EXPECT_TRUE(Post("04/29/2024"));
  EXPECT_EQ(Stamp(), D(2024, 4, 29));
}

TEST_F(DateVisionTest, TextThatIsNoDateIsRefusedAndNothingIsWritten) {
  data.Set("Stamp", VarFromDateTime(D(2024, 4, 30)));
  Reload();
  for (const char* text : {"13/45/2024", "tomorrow", "02/30/2024", "4/30/2024/1"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(ErrorOf([&] { Post(text); }).rfind("EConvertError: ", 0), 0u);
    EXPECT_EQ(editor->text, text);
    EXPECT_TRUE(List().Editing());
    EXPECT_EQ(Stamp(), D(2024, 4, 30));
  }
}

TEST_F(DateVisionTest, LimitsRefuseDatesOutsideThemWithTheirMessages) {
  vision->SetMinDate(D(2024, 1, 10) + T(18, 0));  // the time is cut off
  vision->SetMaxDate(D(2024, 2, 20));
  EXPECT_EQ(vision->MinDate(), D(2024, 1, 10));
  EXPECT_EQ(ErrorOf([&] { Post("01/09/2024"); }),
            "EBVError: \"01/09/2024\" is out of range. Value must be more than 01/10/2024");
  EXPECT_EQ(ErrorOf([&] { Post("2/21/24"); }),
            "EBVError: \"2/21/24\" is out of range. Value must be less than 02/20/2024");
  EXPECT_TRUE(data.Field("Stamp")->IsNull());
  // The limits themselves are allowed, also with a time of day typed.
  EXPECT_TRUE(Post("01/10/2024"));
  EXPECT_TRUE(Post("02/20/2024 23:00"));
  EXPECT_EQ(Stamp(), D(2024, 2, 20));
}

TEST_F(DateVisionTest, TwoDigitYearsFollowTheFormatSettingsWindow) {
  SetNowFunction([] { return EncodeDate(2026, 6, 15); });
  TFormatSettings& fs = FormatSettings();
  const Word window = fs.TwoDigitYearCenturyWindow;
  const TScopeGuard restore([&] {
    SetNowFunction(nullptr);
    fs.TwoDigitYearCenturyWindow = window;
  });
  vision->SetSaveTime(false);
  EXPECT_TRUE(Post("5/1/30"));
  EXPECT_EQ(Stamp(), D(2030, 5, 1));
  EXPECT_TRUE(Post("5/1/80"));
  EXPECT_EQ(Stamp(), D(1980, 5, 1));
  fs.TwoDigitYearCenturyWindow = 0;  // the current century
  EXPECT_TRUE(Post("5/1/80"));
  EXPECT_EQ(Stamp(), D(2080, 5, 1));
}

TEST_F(DateVisionTest, LimitsPushEachOtherByOneDay) {
  vision->SetMinDate(D(2024, 3, 10));
  vision->SetMaxDate(D(2024, 3, 5));
  EXPECT_EQ(vision->MinDate(), D(2024, 3, 4));
  EXPECT_EQ(vision->MaxDate(), D(2024, 3, 5));
  vision->SetMinDate(D(2024, 4, 1));
  EXPECT_EQ(vision->MaxDate(), D(2024, 4, 2));
  // A limit of 0 is no limit and pushes nothing.
  vision->SetMaxDate(0);
  vision->SetMinDate(D(2030, 1, 1));
  EXPECT_EQ(vision->MaxDate(), 0);
  EXPECT_TRUE(Post("01/01/2099"));
}

TEST_F(DateVisionTest, TheButtonRequestsTheCalendar) {
  TObjectPtr<TVisionToolForm> calendar(Create<TVisionToolForm>(nullptr));
  TObjectPtr<TVisionToolForm> custom(Create<TVisionToolForm>(nullptr));
  TVisionToolForm* const calendarForm = calendar.get();
  TVisionToolForm* const customForm = custom.get();
  SetStockToolForm(stfCalendar, calendarForm);
  std::vector<TVisionToolForm*> shown;
  SetToolFormShowHandler([&](TToolFormVision* v, IznVisionEditor* e, TVisionToolForm* form) {
    EXPECT_EQ(v, vision.get());
    EXPECT_EQ(e, editor.get());
    shown.push_back(form);
  });
  const TScopeGuard restore([] {
    SetStockToolForm(stfCalendar, nullptr);
    SetToolFormShowHandler(nullptr);
  });
  EXPECT_TRUE(vision->EnableButton());
  EXPECT_TRUE(vision->EnableDropDown());
  EXPECT_EQ(vision->ButtonStyle(), pbsDropDown);
  vision->ButtonAction(editor.get(), bkMouse);
  EXPECT_EQ(editor->Take(), "open");
  // The editor, answering the request, asks which form and shows it.
  vision->ShowDropDown(editor.get(), vision->GetDropDown());
  vision->SetDropDown(customForm);
  vision->ShowDropDown(editor.get(), vision->GetDropDown());
  EXPECT_EQ(shown, (std::vector<TVisionToolForm*>{calendarForm, customForm}));
  // A second press closes it without taking its changes.
  vision->ButtonAction(editor.get(), bkMouse);
  EXPECT_EQ(editor->Take(), "close discard");
  // The drop-down options answer the editor's automatic requests.
  EXPECT_FALSE(vision->CanDropDown(0));
  vision->SetDropDownOptions({ddoShowOnEnter, ddoAlwaysEnableAltDown});
  EXPECT_TRUE(vision->CanDropDown(0));
  EXPECT_FALSE(vision->CanDropDown(1));
  EXPECT_TRUE(vision->CanDropDown(2));
}

TEST_F(DateVisionTest, APickedDatePostsWithTheTimeKeptAndClearPostsNull) {
  data.Set("Stamp", VarFromDateTime(D(2024, 4, 30) + T(13, 45)));
  Reload();
  // The calendar answers the request by setting the current value.
  auto pick = [&](TDateTime date) {  // 0: the Clear button
    vision->ButtonAction(editor.get(), bkMouse);
    if (date != 0)
      editor->CurrentValue()->SetAsDateTime(date);
    else
      editor->CurrentValue()->Clear();
    editor->CurrentValue()->SetModified(true);
    return vision->PostEdit(editor.get(), false);
  };
  EXPECT_TRUE(pick(D(2024, 5, 1)));
  EXPECT_EQ(Stamp(), D(2024, 5, 1) + T(13, 45));
  EXPECT_FALSE(editor->droppedDown);
  EXPECT_TRUE(pick(0));
  EXPECT_TRUE(data.Field("Stamp")->IsNull());
}

TEST_F(DateVisionTest, PublishedDefaultsAndLimitsRoundTripThroughFormText) {
  EXPECT_EQ(vision->Buttons(), (TznCalendarButtons{clbToday, clbClear}));
  EXPECT_TRUE(vision->SaveTime());
  EXPECT_TRUE(vision->Nullable());
  RegisterDateTimeVisionClasses();
  vision->SetName("Dates");
  String text = ToFormText(vision.get());
  EXPECT_EQ(text.find("MinDate"), String::npos);
  EXPECT_EQ(text.find("Buttons"), String::npos);
  vision->SetMinDate(D(2024, 1, 10));
  vision->SetButtons({clbToday, clbNoYearNavigator});
  vision->SetSaveTime(false);
  vision->SetDisplayFormat("yyyy");
  text = ToFormText(vision.get());
  EXPECT_EQ(text.find("MaxDate"), String::npos);
  TObjectPtr<TDateVision> copy(static_cast<TDateVision*>(FromFormText(text)));
  EXPECT_EQ(copy->MinDate(), D(2024, 1, 10));
  EXPECT_EQ(copy->MaxDate(), 0);
  EXPECT_EQ(copy->Buttons(), (TznCalendarButtons{clbToday, clbNoYearNavigator}));
  EXPECT_FALSE(copy->SaveTime());
  EXPECT_EQ(copy->DisplayFormat(), "yyyy");
  EXPECT_EQ(copy->DisplayFormatKind(), dfkCustom);
}

}  // namespace
}  // namespace valuetest
