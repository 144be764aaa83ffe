// The time vision: texts and masks by edit format, typed times checked and
// posted with the date kept (also at midnight and before 1899), time limits
// and their assignment, and spinning the part under the caret.
#include <gtest/gtest.h>

#include "bv_std/datetime_visions.h"
#include "error_text.h"
#include "value_test_util.h"

namespace valuetest {
namespace {

using brevant::test::ErrorOf;

class TimeVisionTest : public ::testing::Test, public TVisionBench<TTimeVision> {
 protected:
  void SetUp() override { Open("Stamp"); }
  TDateTime Stamp() { return data.Field("Stamp")->AsDateTime(); }
  String Mask() {
    String mask;
    vision->GetEditMask(&List(), mask);
    return mask;
  }
};

TEST_F(TimeVisionTest, EditTextAndMaskFollowTheEditFormat) {
  data.Set("Stamp", VarFromDateTime(D(2024, 4, 30) + T(9, 5, 7)));
  struct Row {
    const char* name;
    TznTimeEditFormatKind kind;
    const char* edit;
    const char* mask;
  };
  const Row rows[] = {
      {"hours, minutes, seconds", tefHhMmSs, "09:05:07", "!99:99:99;1;0"},
      {"hours and minutes", tefHhMm, "09:05", "!99:99;1;0"},
      {"hours", tefHh, "09", "!99;1;0"},
      {"default: the long time", tefDefault, "09:05:07", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    vision->SetEditFormatKind(row.kind);
    EXPECT_EQ(EditText(), row.edit);
    EXPECT_EQ(Mask(), row.mask);
  }
  // Without a mask of its own the vision's EditMask applies.
  vision->SetEditMask("!90:00;1;_");
  EXPECT_EQ(Mask(), "!90:00;1;_");
  vision->SetEditFormatKind(tefHh);
  EXPECT_EQ(Mask(), "!99;1;0");
}

TEST_F(TimeVisionTest, DisplayTextsByKind) {
  data.Set("Stamp", VarFromDateTime(D(2024, 4, 30) + T(14, 5, 7)));
  EXPECT_EQ(DisplayText(), "04/30/2024 14:05:07");  // the field's own
  vision->SetDisplayFormatKind(dfkShort);
  EXPECT_EQ(DisplayText(), "14:05");
  vision->SetDisplayFormatKind(dfkLong);
  EXPECT_EQ(DisplayText(), "14:05:07");
  vision->SetDisplayFormat("h:nn am/pm");
  EXPECT_EQ(DisplayText(), "2:05 pm");
  // A time of exactly 0 shows nothing once a format applies.
  Open("Clock");
  data.Set("Clock", VarFromDateTime(0));
  EXPECT_EQ(DisplayText(), "");
  EXPECT_EQ(EditText(), "");
}

TEST_F(TimeVisionTest, TypedTimesKeepTheDate) {
  struct Row {
    const char* name;
    TDateTime old;
    const char* typed;
    TDateTime posted;
  };
  const Row rows[] = {
      {"an ordinary time", D(2024, 4, 30) + T(8, 0), "13:45", D(2024, 4, 30) + T(13, 45)},
      {"midnight keeps the date", D(2024, 4, 30) + T(8, 0), "00:00", D(2024, 4, 30)},
      {"before 1899 the time stays on its side", -(10 + T(8, 0)), "06:30", -(10 + T(6, 30))},
      {"midnight before 1899", -(10 + T(8, 0)), "00:00", -10},
      {"on day 0 the time is positive", T(8, 0), "06:30", T(6, 30)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    data.Set("Stamp", VarFromDateTime(row.old));
    Reload();
    EXPECT_TRUE(Post(row.typed));
    EXPECT_DOUBLE_EQ(Stamp(), row.posted);
  }
  // Midnight on a date still reads as that date.
  data.Set("Stamp", VarFromDateTime(D(2024, 4, 30) + T(8, 0)));
  EXPECT_TRUE(Post("00:00"));
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn", Stamp()), "2024-04-30 00:00");
  // Without SaveDate only the time of day is written.
  vision->SetSaveDate(false);
  EXPECT_TRUE(Post("13:45"));
  EXPECT_DOUBLE_EQ(Stamp(), T(13, 45));
  // A time field takes the time.
  Open("Clock");
  EXPECT_TRUE(Post("07:15"));
  EXPECT_DOUBLE_EQ(data.Field("Clock")->AsDateTime(), T(7, 15));
}

TEST_F(TimeVisionTest, BlankMaskedTextPostsNullOnlyWhenNullable) {
  data.Set("Stamp", VarFromDateTime(D(2024, 4, 30) + T(8, 0)));
  Reload();
  EXPECT_TRUE(Post("  :  "));
  EXPECT_TRUE(data.Field("Stamp")->IsNull());
  vision->SetNullable(false);
  EXPECT_EQ(ErrorOf([&] { Post("  :  "); }),
            "EBVError: Input value can not be blank. Please input valid date value");
  EXPECT_EQ(editor->text, "  :  ");
  EXPECT_TRUE(List().Editing());
  EXPECT_EQ(ErrorOf([&] { Post("25:61"); }).rfind("EConvertError: ", 0), 0u);
  EXPECT_TRUE(data.Field("Stamp")->IsNull());
}

TEST_F(TimeVisionTest, LimitsRefuseTimesOutsideThemWithTheirMessages) {
  vision->SetMinTime(D(2020, 1, 1) + T(8, 0));  // the date is cut off
  vision->SetMaxTime(T(17, 30));
  EXPECT_DOUBLE_EQ(vision->MinTime(), T(8, 0));
  EXPECT_EQ(ErrorOf([&] { Post("07:59"); }),
            "EBVError: \"07:59\" is out of range. Value must be more than 08:00:00");
  EXPECT_EQ(ErrorOf([&] { Post("17:31"); }),
            "EBVError: \"17:31\" is out of range. Value must be less than 17:30:00");
  EXPECT_TRUE(data.Field("Stamp")->IsNull());
  EXPECT_TRUE(Post("17:30"));
  EXPECT_DOUBLE_EQ(Stamp(), T(17, 30));
}

TEST_F(TimeVisionTest, ATimeLimitPushesTheOtherToItsOwnValue) {
  vision->SetMinTime(T(10, 0));
  vision->SetMaxTime(T(9, 0));
  EXPECT_DOUBLE_EQ(vision->MinTime(), T(9, 0));
  EXPECT_DOUBLE_EQ(vision->MaxTime(), T(9, 0));
  vision->SetMinTime(T(11, 0));
  EXPECT_DOUBLE_EQ(vision->MaxTime(), T(11, 0));
  // The pushed limit still refuses and prints as a time of day.
  EXPECT_EQ(ErrorOf([&] { Post("10:59"); }),
            "EBVError: \"10:59\" is out of range. Value must be more than 11:00:00");
  EXPECT_EQ(ErrorOf([&] { Post("11:01"); }),
            "EBVError: \"11:01\" is out of range. Value must be less than 11:00:00");
  EXPECT_TRUE(Post("11:00"));
}

TEST_F(TimeVisionTest, SpinStepsThePartUnderTheCaret) {
  vision->SetEditFormatKind(tefHhMmSs);
  struct Row {
    const char* name;
    const char* text;
    Integer caret;
    Integer kind;
    const char* expect;
    Integer selStart;
  };
  const Row rows[] = {
      {"hours up", "10:59:30", 1, bkMouse, "11:59:30", 0},
      {"hours down by key", "10:59:30", 2, bkKeyDown, "09:59:30", 0},
      {"minutes up carry the hour", "10:59:30", 3, bkMouse, "11:00:30", 3},
      {"minutes down", "10:00:30", 5, bkMouseDown, "09:59:30", 3},
      {"seconds up by key", "10:59:59", 6, bkKeyboard, "11:00:00", 6},
      {"seconds down", "10:00:00", 8, bkMouseDown, "09:59:59", 6},
      {"empty counts as 0", "", 1, bkMouse, "01:00:00", 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    editor->text = row.text;
    editor->caret = row.caret;
    editor->selStart = editor->selLength = -1;
    EXPECT_EQ(Spin(row.kind), row.expect);
    EXPECT_EQ(editor->selStart, row.selStart);
    EXPECT_EQ(editor->selLength, 2);
    // Spinning counts as typing: the value is read from the text.
    EXPECT_TRUE(editor->CurrentValue()->TextModified());
    EXPECT_FALSE(editor->CurrentValue()->Modified());
  }
  // The spun text posts.
  editor->text = "10:00:00";
  editor->caret = 4;
  Spin(bkMouse);
  EXPECT_TRUE(vision->PostEdit(editor.get(), false));
  EXPECT_DOUBLE_EQ(Stamp(), T(10, 1));
}

TEST_F(TimeVisionTest, SpinStaysWithinTheLimitsAndTheDay) {
  editor->caret = 0;
  auto spin = [&](const char* text, Integer kind) {
    editor->text = text;
    return Spin(kind);
  };
  // Without a maximum the day ends at 23:59:59.
  vision->SetEditFormatKind(tefHhMmSs);
  EXPECT_EQ(spin("23:30:00", bkMouse), "23:59:59");
  EXPECT_EQ(spin("23:59:59", bkMouse), "23:59:59");
  EXPECT_EQ(spin("00:30:00", bkMouseDown), "00:00:00");
  vision->SetEditFormatKind(tefHhMm);
  vision->SetMinTime(T(8, 0));
  vision->SetMaxTime(T(17, 30));
  EXPECT_EQ(spin("16:45", bkMouse), "17:30");      // capped
  EXPECT_EQ(spin("06:10", bkMouse), "08:00");      // below the minimum: to it
  EXPECT_EQ(spin("08:40", bkMouseDown), "08:00");  // floored
  EXPECT_EQ(spin("19:00", bkMouseDown), "17:30");  // above the maximum: to it
  // Nothing to change leaves the text and the value untouched.
  editor->CurrentValue()->SetTextModified(false);
  EXPECT_EQ(spin("08:00", bkMouseDown), "08:00");
  EXPECT_FALSE(editor->CurrentValue()->TextModified());
}

TEST_F(TimeVisionTest, SpinNeedsAnEditFormatAndTheSpinStyle) {
  editor->text = "10:00";
  vision->SetEditFormatKind(tefDefault);
  EXPECT_EQ(Spin(bkMouse), "10:00");
  vision->SetEditFormatKind(tefHhMm);
  vision->SetButtonStyle(pbsEllipsis);
  int clicks = 0;
  vision->OnButtonClick = TfvNotifyEvent::FromCallable([&](TObject*, TtlFieldList*) { ++clicks; });
  EXPECT_EQ(Spin(bkMouse), "10:00");
  vision->SetButtonStyle(pbsSpin);
  EXPECT_EQ(Spin(bkMouse), "11:00");
  EXPECT_EQ(clicks, 2);  // OnButtonClick fires either way
  // A vision that may not edit leaves the text as it is.
  List().SetEditing(false);
  vision->SetReadOnly(true);
  EXPECT_EQ(Spin(bkMouse), "11:00");
}

}  // namespace
}  // namespace valuetest
