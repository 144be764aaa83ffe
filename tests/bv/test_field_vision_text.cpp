// What the base vision tells consumers: display and edit texts of every
// field type and what OnGetText makes of them, alignments, captions, masks,
// length limits, valid characters, search texts, footer values, and how a
// column's cells and an edit control's face are drawn through the painter.
#include <gtest/gtest.h>

#include <functional>

#include "bv/columns.h"
#include "bv/field_list.h"
#include "bv_db/obj_dataset.h"
#include "db/datasource.h"
#include "bv/tabulon.h"
#include "bv_rtm/child_font.h"
#include "classes/rtti_builder.h"
#include "db/dataset.h"
#include "db/field.h"
#include "db/field_defs.h"
#include "db/field_types.h"
#include "error_text.h"
#include "graphics/bitmap.h"
#include "graphics/imagelist.h"
#include "grid_test_util.h"
#include "rtl/datetime.h"
#include "vision_test_util.h"

namespace visiontest {
namespace {

using brevant::test::ErrorOf;

// One field of a type holding one value; setup adjusts the open field.
struct TextCase {
  const char* name;
  TFieldType type;
  Integer size;
  Variant value;
  std::function<void(TField*)> setup;
  const char* display;
  const char* edit;
};

// A one-field dataset holding value, with a consumer bound to it.
struct TOneField {
  TOneField(TFieldType type, Integer size, const Variant& value) {
    ds.reset(Create<TMemDataSet>(nullptr));
    ds->FieldDefs()->Add("F", type, size);
    ds->AppendRow({value});
    ds->Open();
    source.reset(Create<TDataSource>(nullptr));
    source->SetDataSet(ds.get());
    consumer.reset(Create<TStubConsumer>(nullptr));
    consumer->Attach(source.get(), "F");
  }
  TField* Field() const { return ds->Fields()->Fields(0); }
  TtlFieldList* List() const { return &consumer->Fields(); }
  TObjectPtr<TMemDataSet> ds;
  TObjectPtr<TDataSource> source;
  TObjectPtr<TStubConsumer> consumer;
};

class VisionText : public ::testing::TestWithParam<TextCase> {};

TEST_P(VisionText, DisplayAndEditTextsOfTheField) {
  const TextCase& c = GetParam();
  TOneField one(c.type, c.size, c.value);
  if (c.setup) c.setup(one.Field());
  TznFieldVision* vision = one.List()->Vision();
  EXPECT_EQ(vision->GetFieldText(one.List(), true), c.display);
  EXPECT_EQ(vision->GetFieldText(one.List(), false), c.edit);
}

const TDateTime kDay = EncodeDate(2026, 12, 9);

INSTANTIATE_TEST_SUITE_P(
    FieldTypes, VisionText,
    ::testing::Values(
        TextCase{"String", ftString, 10, "Grün", nullptr, "Grün", "Grün"},
        TextCase{"WideString", ftWideString, 10, "Ωmega", nullptr, "Ωmega", "Ωmega"},
        TextCase{"FixedChar", ftFixedChar, 4, "ab", nullptr, "ab", "ab"},
        TextCase{"Smallint", ftSmallint, 0, -12, nullptr, "-12", "-12"},
        TextCase{"Integer", ftInteger, 0, 1234567,
                 [](TField* f) { static_cast<TIntegerField*>(f)->SetDisplayFormat("#,##0"); },
                 "1,234,567", "1234567"},
        TextCase{"Word", ftWord, 0, 65535, nullptr, "65535", "65535"},
        TextCase{"Largeint", ftLargeint, 0, Variant(Int64(9000000000)), nullptr, "9000000000",
                 "9000000000"},
        TextCase{"Float", ftFloat, 0, 1234.5,
                 [](TField* f) { static_cast<TFloatField*>(f)->SetDisplayFormat("#,##0.00"); },
                 "1,234.50", "1234.5"},
        TextCase{"Currency", ftCurrency, 0, 2.5, nullptr, "$2.50", "2.50"},
        TextCase{"BCD", ftBCD, 2, 7.25, nullptr, "7.25", "7.25"},
        TextCase{"Boolean", ftBoolean, 0, true,
                 [](TField* f) { static_cast<TBooleanField*>(f)->SetDisplayValues("Yes;No"); },
                 "Yes", "Yes"},
        TextCase{"Date", ftDate, 0, Variant::FromDateTime(kDay), nullptr, "12/09/2026",
                 "12/09/2026"},
        TextCase{"DateTimeFormatted", ftDateTime, 0, Variant::FromDateTime(kDay + 0.5),
                 [](TField* f) {
                   static_cast<TDateTimeField*>(f)->SetDisplayFormat("yyyy-mm-dd hh:nn");
                 },
                 "2026-12-09 12:00", "12/09/2026 12:00:00"},
        TextCase{"Time", ftTime, 0, Variant::FromDateTime(0.75), nullptr, "18:00:00",
                 "18:00:00"},
        TextCase{"AutoInc", ftAutoInc, 0, 7, nullptr, "7", "7"},
        TextCase{"FMTBcd", ftFMTBcd, 4, "12.3456", nullptr, "12.3456", "12.3456"},
        TextCase{"TimeStamp", ftTimeStamp, 0, Variant::FromDateTime(kDay), nullptr,
                 "12/09/2026 00:00:00", "12/09/2026 00:00:00"},
        TextCase{"Bytes", ftVarBytes, 4, "ab", nullptr, "(VarBytes)", "(VarBytes)"},
        TextCase{"Guid", ftGuid, 38, "{00000000-0000-0000-0000-000000000001}", nullptr,
                 "{00000000-0000-0000-0000-000000000001}",
                 "{00000000-0000-0000-0000-000000000001}"},
        TextCase{"Graphic", ftGraphic, 0, "xx", nullptr, "(GRAPHIC)", "(GRAPHIC)"},
        TextCase{"Memo", ftMemo, 0, "line one", nullptr, "(MEMO)", "line one"},
        TextCase{"Blob", ftBlob, 0, "bytes", nullptr, "(BLOB)", "(BLOB)"},
        TextCase{"NullInteger", ftInteger, 0, Variant::Null(), nullptr, "", ""},
        TextCase{"FieldOwnGetText", ftString, 10, "x",
                 [](TField* f) {
                   f->OnGetText = TFieldGetTextEvent::FromCallable(
                       [](TField*, String& text, bool display) { text = display ? "D" : "E"; });
                 },
                 "D", "E"}),
    [](const auto& info) { return String(info.param.name); });

TEST(VisionGetText, OnGetTextSeesWhichTextAndReplacesIt) {
  TOneField one(ftInteger, 0, 42);
  TObjectPtr<TznFieldVision> vision(Create<TznFieldVision>(nullptr));
  one.List()->SetVision(vision.get());
  std::vector<String> seen;
  vision->OnGetText = TfvGetTextEvent::FromCallable(
      [&](TObject* sender, TtlFieldList* fields, bool display, String& value) {
        EXPECT_EQ(sender, vision.get());
        EXPECT_EQ(fields, one.List());
        seen.push_back(String(display ? "display " : "edit ") + value);
        value = "<" + value + ">";
      });
  EXPECT_EQ(vision->GetFieldText(one.List(), true), "<42>");
  EXPECT_EQ(vision->GetFieldText(one.List(), false), "<42>");
  // Searching a numeric field goes by its edit text.
  String search;
  vision->GetSearchText(one.List(), search);
  EXPECT_EQ(search, "<42>");
  EXPECT_EQ(seen, (std::vector<String>{"display 42", "edit 42", "edit 42"}));
}

TEST(VisionGetText, SearchTextOfNonNumericFieldsIsTheDisplayText) {
  TOneField one(ftBoolean, 0, false);
  static_cast<TBooleanField*>(one.Field())->SetDisplayValues("Yes;No");
  TznFieldVision* vision = one.List()->Vision();
  String search;
  vision->GetSearchText(one.List(), search);
  EXPECT_EQ(search, "No");
}

TEST(VisionGetText, WithoutAFieldEverythingIsEmptyAndPermissive) {
  TAccounts data;
  TObjectPtr<TStubConsumer> consumer(Create<TStubConsumer>(nullptr));
  consumer->Attach(data.source.get(), "Nope");
  TtlFieldList* list = &consumer->Fields();
  TznFieldVision* vision = list->Vision();
  EXPECT_EQ(vision->GetFieldText(list, true), "");
  EXPECT_EQ(vision->GetAlignment(list), taLeftJustify);
  String caption = "old", mask;
  vision->GetCaption(list, caption);
  EXPECT_EQ(caption, "");
  vision->GetEditMask(list, mask);
  EXPECT_EQ(mask, "");
  EXPECT_EQ(vision->GetMaxLength(list), 0);
  EXPECT_TRUE(vision->IsValidChar(list, U'x'));
  EXPECT_EQ(vision->GetLayout(list), tlaDefault);
}

TEST(VisionFormat, FooterValuesGoThroughValueToText) {
  TAccounts data;
  TObjectPtr<TStubConsumer> consumer(Create<TStubConsumer>(nullptr));
  consumer->Attach(data.source.get(), "Amount");
  TznFieldVision* vision = consumer->Fields().Vision();
  TznUniValue value;
  EXPECT_EQ(vision->FormatValue(&consumer->Fields(), value), "");
  value.SetAsFloat(12.75);
  EXPECT_EQ(vision->FormatValue(&consumer->Fields(), value), "12.75");
}

TEST(VisionTitle, AlignmentAndCaptionFromTheVisionElseTheField) {
  TAccounts data;
  data.Field("Amount")->SetDisplayLabel("Betrag");
  TObjectPtr<TznFieldVision> vision(Create<TznFieldVision>(nullptr));
  TObjectPtr<TStubConsumer> consumer(Create<TStubConsumer>(nullptr));
  consumer->Fields().SetVision(vision.get());
  consumer->Attach(data.source.get(), "Amount");
  TtlFieldList* list = &consumer->Fields();
  EXPECT_EQ(vision->GetAlignment(list), taRightJustify);
  data.Field("Amount")->SetAlignment(taCenter);
  EXPECT_EQ(vision->GetAlignment(list), taCenter);
  String caption;
  vision->GetCaption(list, caption);
  EXPECT_EQ(caption, "Betrag");
  vision->SetCaption("Sum");
  vision->GetCaption(list, caption);
  EXPECT_EQ(caption, "Sum");
}

TEST(VisionTitle, VisionAlignmentOverridesTheFieldsUnlessDefault) {
  TAccounts data;
  TObjectPtr<TznFieldVision> vision(Create<TznFieldVision>(nullptr));
  TObjectPtr<TStubConsumer> consumer(Create<TStubConsumer>(nullptr));
  consumer->Fields().SetVision(vision.get());
  consumer->Attach(data.source.get(), "Amount");
  const std::pair<TznDefAlignment, TAlignment> rows[] = {{talDefault, taRightJustify},
                                                         {talLeftJustify, taLeftJustify},
                                                         {talRightJustify, taRightJustify},
                                                         {talCenter, taCenter}};
  for (auto [own, shown] : rows) {
    vision->SetAlignment(own);
    EXPECT_EQ(vision->TextAlignment(&consumer->Fields()), shown) << own;
  }
  EXPECT_EQ(ToLayout(tlaDefault), tlTop);
  EXPECT_EQ(ToLayout(tlaTop), tlTop);
  EXPECT_EQ(ToLayout(tlaCenter), tlCenter);
  EXPECT_EQ(ToLayout(tlaBottom), tlBottom);
}

TEST(VisionEditRules, MaskMaxLengthAndValidCharacters) {
  TAccounts data;
  data.Field("Name")->SetEditMask("LL-00;1;_");
  TObjectPtr<TznFieldVision> vision(Create<TznFieldVision>(nullptr));
  TObjectPtr<TStubConsumer> name(Create<TStubConsumer>(nullptr));
  TObjectPtr<TStubConsumer> amount(Create<TStubConsumer>(nullptr));
  name->Fields().SetVision(vision.get());
  amount->Fields().SetVision(vision.get());
  name->Attach(data.source.get(), "Name");
  amount->Attach(data.source.get(), "Amount");

  String mask;
  vision->GetEditMask(&name->Fields(), mask);
  EXPECT_EQ(mask, "LL-00;1;_");
  vision->SetEditMask("000");
  mask.clear();
  vision->GetEditMask(&name->Fields(), mask);
  EXPECT_EQ(mask, "000");
  mask = "kept";
  vision->GetEditMask(&name->Fields(), mask);
  EXPECT_EQ(mask, "kept");

  // String fields limit by their size, others not at all, until MaxLength.
  EXPECT_EQ(vision->GetMaxLength(&name->Fields()), 10);
  EXPECT_EQ(vision->GetMaxLength(&amount->Fields()), 0);
  vision->SetMaxLength(4);
  EXPECT_EQ(vision->GetMaxLength(&name->Fields()), 4);
  EXPECT_EQ(vision->GetMaxLength(&amount->Fields()), 4);

  EXPECT_TRUE(vision->IsValidChar(&amount->Fields(), U'7'));
  EXPECT_FALSE(vision->IsValidChar(&amount->Fields(), U'x'));
  EXPECT_TRUE(vision->IsValidChar(&name->Fields(), U'x'));
}

TEST(VisionModify, ReadOnlyVisionBlocksEveryConsumerEditReadOnlyOnlyTyping) {
  TAccounts data;
  TObjectPtr<TznFieldVision> vision(Create<TznFieldVision>(nullptr));
  TObjectPtr<TStubConsumer> consumer(Create<TStubConsumer>(nullptr));
  consumer->Fields().SetVision(vision.get());
  consumer->Attach(data.source.get(), "Name");
  EXPECT_TRUE(consumer->Fields().CanEdit());
  vision->SetEditReadOnly(true);
  EXPECT_TRUE(consumer->Fields().CanEdit());
  vision->SetReadOnly(true);
  EXPECT_FALSE(vision->CanModify(&consumer->Fields()));
  EXPECT_FALSE(consumer->Fields().CanEdit());
  vision->SetReadOnly(false);
  data.Field("Name")->SetReadOnly(true);
  EXPECT_FALSE(consumer->Fields().CanEdit());
  // Writing without edit state does not ask the field or the dataset.
  vision->SetOptionsSwitch(TfvSwitchOptions{});
  EXPECT_TRUE(consumer->Fields().CanEdit());
  consumer->canModify = false;
  EXPECT_FALSE(consumer->Fields().CanEdit());
}

TEST(VisionMeasure, RowHeightWithoutAWindowAndWithImages) {
  TObjectPtr<TznFieldVision> vision(Create<TznFieldVision>(nullptr));
  EXPECT_EQ(vision->GetRowHeight(nullptr, 2, 4), 30);
  TObjectPtr<TImageList> images(Create<TImageList>(nullptr));
  images->SetHeight(40);
  vision->SetImages(images.get());
  EXPECT_EQ(vision->GetRowHeight(nullptr, 2, 4), 40);
}

class VisionGridMeasure : public brevant::test::GridTest {};

TEST_F(VisionGridMeasure, RowHeightFollowsTheGridsFonts) {
  Build(3);
  ASSERT_TRUE(grid->HandleAllocated());
  TtlColumn* column = grid->Columns()->Items(0);
  TObjectPtr<TznFieldVision> vision(Create<TznFieldVision>(nullptr));
  const Integer normal = vision->GetRowHeight(column, 1, 0);
  EXPECT_GT(normal, 13);
  EXPECT_EQ(vision->GetRowHeight(column, 2, 5), normal * 2 + 5);
  grid->Font()->SetSize(grid->Font()->Size() * 3);
  EXPECT_GT(vision->GetRowHeight(column, 1, 0), normal * 2);
  grid->Font()->SetSize(grid->Font()->Size() / 3);
  designer->CellFont()->SetName("Times New Roman");
  EXPECT_NE(vision->GetRowHeight(column, 1, 0), normal);
}

// ---- drawing ----

struct TDrawFixture {
  TDrawFixture() {
    consumer.reset(Create<TStubConsumer>(nullptr));
    vision.reset(Create<TznFieldVision>(nullptr));
    consumer->Fields().SetVision(vision.get());
    consumer->Link().SetBufferCount(3);
    consumer->Attach(data.source.get(), "Name");
    consumer->Fields().SetAlignment(taRightJustify);
    consumer->Fields().SetLayout(tlCenter);
    bitmap.reset(Create<TBitmap>());
    bitmap->SetSize(40, 60);
  }
  void Draw(Integer first, Integer last) {
    vision->DrawCells(&painter, &consumer->Fields(), bitmap->Canvas(), 0, 0, first, last);
  }
  TAccounts data;
  TObjectPtr<TStubConsumer> consumer;
  TObjectPtr<TznFieldVision> vision;
  TStubPainter painter;
  TObjectPtr<TBitmap> bitmap;
};

TEST(VisionDrawCells, EachRowGetsItsOwnText) {
  TDrawFixture f;
  f.Draw(0, 2);
  EXPECT_EQ(f.painter.Take(), "prepare, row 0, text RM R1, row 1, text RM R2, row 2, text RM R3");
  EXPECT_EQ(f.consumer->Link().ActiveRecord(), 0);
}

TEST(VisionDrawCells, InactiveListDrawsNothing) {
  TDrawFixture f;
  f.consumer->Attach(f.data.source.get(), "");
  f.Draw(0, 2);
  EXPECT_EQ(f.painter.Take(), "");
}

TEST(VisionDrawCells, StepsStopOnceDefaultDrawingIsOff) {
  TDrawFixture f;
  std::vector<String> steps;
  f.painter.onOwnerDraw = [&](TStubPainter& p) {
    steps.push_back("owner " + p.Text());
    if (p.Text() == "R1") p.SetDefaultDraw(false);
  };
  f.vision->OnDraw = TfvDrawEvent::FromCallable([&](TObject*, TtlFieldList*, TtlPainter* p) {
    steps.push_back("vision " + p->Text());
    if (p->Text() == "R2") p->SetDefaultDraw(false);
    p->SetText(p->Text() + "!");
  });
  f.Draw(0, 2);
  EXPECT_EQ(steps,
            (std::vector<String>{"owner R1", "owner R2", "vision R2", "owner R3", "vision R3"}));
  EXPECT_EQ(f.painter.Take(), "prepare, row 0, row 1, row 2, text RM R3!");
}

TEST(VisionDrawCells, ImagesOnlyWithAnImageList) {
  TDrawFixture f;
  f.painter.onOwnerDraw = [](TStubPainter& p) {
    p.SetImageIndex(3);
    p.SetImageIndex2(-1);
  };
  f.Draw(0, 0);
  EXPECT_EQ(f.painter.Take(), "prepare, row 0, text RM R1");
  TObjectPtr<TImageList> images(Create<TImageList>(nullptr));
  f.vision->SetImages(images.get());
  f.vision->SetDrawText(false);
  f.Draw(0, 0);
  EXPECT_EQ(f.painter.Take(), "prepare, row 0, image 3");
}

TEST(VisionDrawEditor, FaceTextCaseAndPassword) {
  TDrawFixture f;
  TStubEditor editor(*f.consumer);
  TStubPainter painter;
  std::vector<String> order;
  f.vision->OnGetEditFont = TfvGetEditFontEvent::FromCallable(
      [&](TObject*, TtlFieldList*, TFont*) { order.push_back("font"); });
  f.vision->OnDrawEdit = TfvDrawEditEvent::FromCallable(
      [&](TObject*, TtlFieldList*, TfvPainter* p) { order.push_back("draw edit " + p->Text()); });
  TObjectPtr<TBitmap> bitmap(Create<TBitmap>());
  bitmap->SetSize(40, 20);
  editor.charCase = ecLowerCase;
  f.vision->DrawEditor(&painter, &editor, bitmap->Canvas(), TRect{0, 0, 40, 20});
  EXPECT_EQ(order, (std::vector<String>{"font", "draw edit r1"}));
  EXPECT_EQ(editor.Take(), "face");
  EXPECT_EQ(painter.Take(), "prepare, text RM r1");
  EXPECT_EQ(painter.ContentRect(), (TRect{1, 0, 39, 19}));

  editor.passwordChar = U'•';
  f.vision->DrawEditor(&painter, &editor, bitmap->Canvas(), TRect{0, 0, 40, 20});
  EXPECT_EQ(painter.Take(), "prepare, text RM ••");
}

TEST(VisionDrawEditor, InactiveFaceIsLeftToDrawInactive) {
  TDrawFixture f;
  f.consumer->Attach(f.data.source.get(), "Nope");
  TStubEditor editor(*f.consumer);
  TStubPainter painter;
  TObjectPtr<TBitmap> bitmap(Create<TBitmap>());
  bitmap->SetSize(10, 10);
  f.vision->DrawEditor(&painter, &editor, bitmap->Canvas(), TRect{0, 0, 10, 10});
  EXPECT_EQ(painter.Take(), "prepare");
  EXPECT_EQ(editor.Take(), "");
}

TEST(VisionEditListData, TheEditorOwnsOneDatasetAndSourceUntilItLetsThemGo) {
  TAccounts data;
  TObjectPtr<TStubConsumer> consumer(Create<TStubConsumer>(nullptr));
  TStubEditor editor(*consumer);
  TznFieldVision* vision = consumer->Fields().Vision();
  EXPECT_FALSE(consumer->Fields().HasEditListData());
  TDataSource* source = vision->EditDataSource(&editor);
  TObjDataSet* dataSet = vision->EditObjDataSet(&editor);
  ASSERT_NE(source, nullptr);
  EXPECT_EQ(source->DataSet(), dataSet);
  EXPECT_EQ(vision->EditDataSource(&editor), source);
  EXPECT_EQ(vision->EditObjDataSet(&editor), dataSet);
  consumer->Fields().FreeEditListData();
  EXPECT_FALSE(consumer->Fields().HasEditListData());
}

}  // namespace
}  // namespace visiontest
