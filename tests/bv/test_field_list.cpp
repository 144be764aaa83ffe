// Field lists: binding names to fields, taking and leaving visions, the
// notifications consumers hear, starting edits and the update bracket.
#include <gtest/gtest.h>

#include "bv/columns.h"
#include "bv_rtm/bv_errors.h"
#include "classes/formstream.h"
#include "classes/rtti_builder.h"
#include "db/dataset.h"
#include "db/field.h"
#include "error_text.h"
#include "graphics/bitmap.h"
#include "graphics/imagelist.h"
#include "rtl/streams.h"
#include "vision_test_util.h"

namespace visiontest {
namespace {

using brevant::test::ErrorOf;

// Entry names of a bound list, "-" for nil entries.
String Entries(const TtlFieldList& list) {
  String s;
  for (Integer i = 0; i < list.FieldCount(); ++i) {
    TField* f = list.Fields(i);
    s += (i ? " " : "") + (f ? f->FieldName() : String("-"));
  }
  return s;
}

struct BindCase {
  const char* name;
  const char* fieldNames;
  const char* related;
  const char* entries;
  bool active;
};

class FieldListBind : public ::testing::TestWithParam<BindCase> {};

TEST_P(FieldListBind, ResolvesEachPartInPlace) {
  const BindCase& c = GetParam();
  TAccounts data;
  TObjectPtr<TznFieldVision> vision(Create<TznFieldVision>(nullptr));
  vision->SetRelatedFields(c.related);
  TObjectPtr<TStubConsumer> consumer(Create<TStubConsumer>(nullptr));
  consumer->Fields().SetVision(vision.get());
  consumer->Attach(data.source.get(), c.fieldNames);
  EXPECT_EQ(Entries(consumer->Fields()), c.entries);
  EXPECT_EQ(consumer->Fields().Active(), c.active);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FieldListBind,
    ::testing::Values(
        BindCase{"MainOnly", "Amount", "", "Amount", true},
        BindCase{"Related", "Amount", "Debit;Credit", "Amount Debit Credit", true},
        BindCase{"FirstExistingAlternative", "Amount", "Missing, Credit", "Amount Credit", true},
        BindCase{"MissingRelatedKeepsItsPlace", "Amount", "Nope;Credit", "Amount - Credit", true},
        BindCase{"EmptyNames", "", "", "-", false},
        BindCase{"UnknownMainField", "Nope", "Debit", "- Debit", false},
        BindCase{"CaseIgnored", "amount", "", "Amount", true}),
    [](const auto& info) { return String(info.param.name); });

TEST(FieldList, ClosedDatasetGivesNilEntries) {
  TAccounts data;
  data.ds->Close();
  TObjectPtr<TStubConsumer> consumer(Create<TStubConsumer>(nullptr));
  consumer->Attach(data.source.get(), "Amount;Debit");
  EXPECT_EQ(Entries(consumer->Fields()), "- -");
  EXPECT_FALSE(consumer->Fields().Active());
  EXPECT_EQ(consumer->Fields().Fields(7), nullptr);
}

TEST(FieldList, AColumnOwnerIsTheListsColumn) {
  TObjectPtr<TtlColumns> columns(Create<TtlColumns>(nullptr));
  TtlColumn* column = columns->Add();
  TObjectPtr<TStubConsumer> consumer(Create<TStubConsumer>(nullptr));
  TtlFieldList list(consumer.get(), column, fokColumn, &consumer->Link());
  EXPECT_EQ(list.Column(), column);
  EXPECT_EQ(list.Owner(), column);
  EXPECT_EQ(list.OwnerKind(), fokColumn);
  EXPECT_EQ(consumer->Fields().Column(), nullptr);
}

TEST(FieldListVision, NewListUsesTheDefaultAndNilReturnsToIt) {
  TObjectPtr<TStubConsumer> consumer(Create<TStubConsumer>(nullptr));
  TtlFieldList& list = consumer->Fields();
  EXPECT_EQ(list.Vision(), DefaultVision());
  EXPECT_TRUE(DefaultVision()->IsRegistered(&list));

  TObjectPtr<TznFieldVision> vision(Create<TznFieldVision>(nullptr));
  vision->SetName("Money");
  list.SetVision(vision.get());
  EXPECT_EQ(consumer->Take(), "vision Money");
  EXPECT_TRUE(vision->IsRegistered(&list));
  EXPECT_FALSE(DefaultVision()->IsRegistered(&list));
  list.SetVision(vision.get());
  EXPECT_EQ(consumer->Take(), "");

  list.SetVision(nullptr);
  EXPECT_EQ(consumer->Take(), "vision nil");
  EXPECT_EQ(list.Vision(), DefaultVision());
  EXPECT_EQ(vision->FieldListCount(), 0);
}

TEST(FieldListVision, FreedVisionSendsEveryConsumerBackToTheDefault) {
  TObjectPtr<TStubConsumer> heeding(Create<TStubConsumer>(nullptr));
  TObjectPtr<TStubConsumer> deaf(Create<TStubConsumer>(nullptr));
  deaf->ignoreVisionFree = true;
  auto* vision = Create<TznFieldVision>(nullptr);
  heeding->Fields().SetVision(vision);
  deaf->Fields().SetVision(vision);
  heeding->Take();
  deaf->Take();
  vision->Free();
  EXPECT_EQ(heeding->Fields().Vision(), DefaultVision());
  EXPECT_EQ(deaf->Fields().Vision(), DefaultVision());
  EXPECT_EQ(heeding->Take(), "vision nil");
  EXPECT_EQ(deaf->Take(), "vision nil");
}

TEST(FieldListVision, ListFreedFirstLeavesTheVision) {
  TObjectPtr<TznFieldVision> vision(Create<TznFieldVision>(nullptr));
  {
    TObjectPtr<TStubConsumer> consumer(Create<TStubConsumer>(nullptr));
    consumer->Fields().SetVision(vision.get());
    EXPECT_EQ(vision->FieldListCount(), 1);
  }
  EXPECT_EQ(vision->FieldListCount(), 0);
  vision->SetCaption("no one to tell");
}

TEST(FieldListVision, InstalledDefaultTakesOverListsWithoutAVision) {
  TObjectPtr<TStubConsumer> plain(Create<TStubConsumer>(nullptr));
  TObjectPtr<TStubConsumer> chosen(Create<TStubConsumer>(nullptr));
  TznFieldVision* base = DefaultVision();
  chosen->Fields().SetVision(base);
  auto* lite = Create<TznFieldVision>(nullptr);
  SetDefaultVision(lite);
  EXPECT_EQ(DefaultVision(), lite);
  EXPECT_EQ(plain->Fields().Vision(), lite);
  EXPECT_EQ(chosen->Fields().Vision(), base);
  // Freeing the installed default returns everyone to the plain one.
  lite->Free();
  EXPECT_EQ(DefaultVision(), base);
  EXPECT_EQ(plain->Fields().Vision(), base);
  EXPECT_TRUE(base->IsRegistered(&plain->Fields()));
}

// A setter and what every consumer of the vision hears.
struct NotifyCase {
  const char* name;
  void (*change)(TznFieldVision&);
  const char* heard;
};

class VisionNotifies : public ::testing::TestWithParam<NotifyCase> {};

TEST_P(VisionNotifies, EveryRegisteredConsumer) {
  TObjectPtr<TznFieldVision> vision(Create<TznFieldVision>(nullptr));
  TObjectPtr<TStubConsumer> a(Create<TStubConsumer>(nullptr));
  TObjectPtr<TStubConsumer> b(Create<TStubConsumer>(nullptr));
  TObjectPtr<TStubConsumer> other(Create<TStubConsumer>(nullptr));
  a->Fields().SetVision(vision.get());
  b->Fields().SetVision(vision.get());
  a->Take();
  b->Take();
  GetParam().change(*vision);
  EXPECT_EQ(a->Take(), GetParam().heard);
  EXPECT_EQ(b->Take(), GetParam().heard);
  EXPECT_EQ(other->Take(), "");
  // The same value again tells no one.
  GetParam().change(*vision);
  EXPECT_EQ(a->Take(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Setters, VisionNotifies,
    ::testing::Values(
        NotifyCase{"Caption", [](TznFieldVision& v) { v.SetCaption("Sum"); }, "title"},
        NotifyCase{"Alignment", [](TznFieldVision& v) { v.SetAlignment(talCenter); }, "title"},
        NotifyCase{"AlignImage", [](TznFieldVision& v) { v.SetAlignImage(aiRight); }, "invalidate"},
        NotifyCase{"DrawText", [](TznFieldVision& v) { v.SetDrawText(false); }, "invalidate"},
        NotifyCase{"DrawImages", [](TznFieldVision& v) { v.SetDrawImages(false); }, "layout"},
        NotifyCase{"EnableButton", [](TznFieldVision& v) { v.SetEnableButton(true); }, "button"},
        NotifyCase{"ButtonStyle", [](TznFieldVision& v) { v.SetButtonStyle(pbsSpin); }, "button"},
        NotifyCase{"EditWordWrap", [](TznFieldVision& v) { v.SetEditWordWrap(true); }, "style"},
        NotifyCase{"EditScrollBars", [](TznFieldVision& v) { v.SetEditScrollBars(ssBoth); },
                   "style"},
        NotifyCase{"SurfaceKind", [](TznFieldVision& v) { v.SetSurfaceKind(vskCustom); }, "style"},
        NotifyCase{"EnableSwitches", [](TznFieldVision& v) { v.SetEnableSwitches(true); }, "style"},
        NotifyCase{"RelatedFields", [](TznFieldVision& v) { v.SetRelatedFields("Debit"); },
                   "fields"}),
    [](const auto& info) { return String(info.param.name); });

TEST(VisionNotify, TitleChangeRepaintsOnlyWhenTheConsumerReportsOne) {
  TObjectPtr<TznFieldVision> vision(Create<TznFieldVision>(nullptr));
  TObjectPtr<TStubConsumer> consumer(Create<TStubConsumer>(nullptr));
  consumer->Fields().SetVision(vision.get());
  consumer->Take();
  consumer->titleChanges = true;
  vision->SetCaption("Total");
  EXPECT_EQ(consumer->Take(), "title, invalidate");
}

TEST(VisionNotify, RepaintAndLayoutWaitWhileLoading) {
  TObjectPtr<TznFieldVision> vision(Create<TznFieldVision>(nullptr));
  TObjectPtr<TStubConsumer> consumer(Create<TStubConsumer>(nullptr));
  consumer->Fields().SetVision(vision.get());
  consumer->Take();
  {
    TLoadingBracket loading(vision.get());
    vision->SetDrawImages(false);
    vision->SetAlignImage(aiLeft);
    vision->SetDrawText(false);
    EXPECT_EQ(consumer->Take(), "");
    vision->SetCaption("Loaded");
    vision->SetEnableButton(true);
    EXPECT_EQ(consumer->Take(), "title, button");
    loading.Finish();
  }
  EXPECT_EQ(vision->Caption(), "Loaded");
}

TEST(VisionNotify, ConsumerFreedByAnotherConsumersHandlerIsSkipped) {
  TObjectPtr<TznFieldVision> vision(Create<TznFieldVision>(nullptr));
  TObjectPtr<TStubConsumer> first(Create<TStubConsumer>(nullptr));
  auto* second = Create<TStubConsumer>(nullptr);
  first->Fields().SetVision(vision.get());
  second->Fields().SetVision(vision.get());
  first->Take();
  first->onLayout = [&] { FreeAndNil(second); };
  vision->SetDrawImages(false);
  EXPECT_EQ(first->Take(), "layout");
  EXPECT_EQ(second, nullptr);
  EXPECT_EQ(vision->FieldListCount(), 1);
}

TEST(VisionImages, FreedImageListLeavesNoImages) {
  TObjectPtr<TznFieldVision> vision(Create<TznFieldVision>(nullptr));
  auto* images = Create<TImageList>(nullptr);
  images->SetWidth(20);
  images->SetHeight(18);
  vision->SetImages(images);
  EXPECT_EQ(vision->ImageWidth(), 20);
  EXPECT_EQ(vision->ImageHeight(), 18);
  vision->SetDrawImages(false);
  EXPECT_EQ(vision->ImageWidth(), 0);
  vision->SetDrawImages(true);
  images->Free();
  EXPECT_EQ(vision->Images(), nullptr);
  EXPECT_EQ(vision->ImageWidth(), 0);
}

TEST(VisionProperties, ButtonGlyphAssignedOrClearedMakesTheStyleCustom) {
  TObjectPtr<TznFieldVision> vision(Create<TznFieldVision>(nullptr));
  TObjectPtr<TStubConsumer> consumer(Create<TStubConsumer>(nullptr));
  consumer->Fields().SetVision(vision.get());
  consumer->Take();
  EXPECT_FALSE(vision->IsButtonGlyphStored());
  TObjectPtr<TBitmap> picture(Create<TBitmap>());
  picture->SetSize(8, 8);
  vision->SetButtonGlyph(picture.get());
  EXPECT_EQ(vision->ButtonStyle(), pbsCustom);
  EXPECT_TRUE(vision->IsButtonGlyphStored());
  EXPECT_TRUE(vision->ButtonGlyph()->Transparent());
  EXPECT_EQ(vision->ButtonGlyph()->Width(), 8);
  EXPECT_EQ(consumer->Take(), "button");
  vision->SetButtonStyle(pbsSpin);
  vision->SetButtonGlyph(nullptr);
  EXPECT_EQ(vision->ButtonStyle(), pbsCustom);
  EXPECT_FALSE(vision->IsButtonGlyphStored());
}

TEST(VisionProperties, NegativeMaxLengthIsRefusedAndKeepsTheOldValue) {
  TObjectPtr<TznFieldVision> vision(Create<TznFieldVision>(nullptr));
  vision->SetMaxLength(12);
  EXPECT_EQ(ErrorOf([&] { vision->SetMaxLength(-3); }), "EBVError: Value can not be negative (-3)");
  EXPECT_EQ(vision->MaxLength(), 12);
}

TEST(VisionProperties, OptionsSwitchKeepsTheWriteModeInStep) {
  TObjectPtr<TznFieldVision> vision(Create<TznFieldVision>(nullptr));
  EXPECT_TRUE(vision->OptionsSwitch().Contains(vsoEditDataSet));
  EXPECT_FALSE(vision->WritesWithoutEdit());
  vision->SetOptionsSwitch(TfvSwitchOptions{vsoNeedCurrent});
  EXPECT_TRUE(vision->WritesWithoutEdit());
}

// A vision kind, for the class checks of Assign.
class TOtherVision : public TznFieldVision {
  BV_CLASS(TOtherVision, TznFieldVision)
 public:
  using TznFieldVision::TznFieldVision;
};
BV_IMPLEMENT_CLASS(TOtherVision, TznFieldVision)

TEST(VisionAssign, CopiesTheSharedPropertiesFromTheSameClassOnly) {
  TObjectPtr<TznFieldVision> source(Create<TznFieldVision>(nullptr));
  source->SetCaption("Sum");
  source->SetDescription("Money");
  source->SetAlignment(talRightJustify);
  source->SetRelatedFields("Debit");
  source->SetReadOnly(true);
  source->SetTag(7);
  source->SetMaxLength(9);
  TObjectPtr<TznFieldVision> target(Create<TznFieldVision>(nullptr));
  target->Assign(source.get());
  EXPECT_EQ(target->Caption(), "Sum");
  EXPECT_EQ(target->Description(), "Money");
  EXPECT_EQ(target->Alignment(), talRightJustify);
  EXPECT_EQ(target->RelatedFields(), "Debit");
  EXPECT_TRUE(target->ReadOnly());
  EXPECT_EQ(target->Tag(), 7);
  EXPECT_EQ(target->MaxLength(), 0);

  TObjectPtr<TOtherVision> other(Create<TOtherVision>(nullptr));
  EXPECT_NE(ErrorOf([&] { other->Assign(source.get()); }), "no error");
  EXPECT_EQ(other->Caption(), "");
}

TEST(VisionPublished, PropertiesAndEventsKeepTheirNames) {
  const char* names[] = {"Caption",    "Description",   "RelatedFields", "ReadOnly",
                         "OnAction",   "OnButtonClick", "OnDblClick",    "OnGetText",
                         "BeforeEdit", "BeforePost",    "AfterPost",     "OnInitEdit",
                         "OnDraw",     "OnDrawEdit",    "OnGetEditFont"};
  for (const char* name : names)
    EXPECT_NE(GetPropInfo(TznFieldVision::StaticClass(), name), nullptr) << name;
  RegisterFieldVisionClasses();
  EXPECT_EQ(GetClass("TznFieldVision"), TznFieldVision::StaticClass());
}

TEST(VisionPublished, RoundTripsThroughAFormStream) {
  RegisterFieldVisionClasses();
  TObjectPtr<TznFieldVision> vision(Create<TznFieldVision>(nullptr));
  vision->SetName("Money");
  vision->SetCaption("Größe");
  vision->SetRelatedFields("Debit;Credit");
  vision->SetReadOnly(true);
  TMemoryStream stream;
  WriteComponentText(stream, vision.get());
  stream.SetPosition(0);
  TObjectPtr<TComponent> copy(ReadNewComponent(stream));
  auto* read = As<TznFieldVision>(copy.get());
  EXPECT_EQ(read->Caption(), "Größe");
  EXPECT_EQ(read->RelatedFields(), "Debit;Credit");
  EXPECT_TRUE(read->ReadOnly());
  EXPECT_EQ(read->Description(), "");
}

}  // namespace
}  // namespace visiontest
