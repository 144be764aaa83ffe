// The data-aware text display: the text it shows for the current record and
// how it follows the dataset, the pixels it paints (placement, word wrap,
// the ellipsis, text beyond ASCII), its borders, its vision and its mapper;
// the data-aware edit takes its vision and caption from the same mapper.
#include <gtest/gtest.h>

#include <map>

#include "bv/datalink_ex.h"
#include "bv/db_edit.h"
#include "bv/db_text.h"
#include "bv/field_list.h"
#include "bv/field_vision.h"
#include "bv_rtm/border_style.h"
#include "classes/formstream.h"
#include "controls/controls_test_util.h"
#include "controls/messages.h"
#include "controls/wincore.h"
#include "db/datasource.h"
#include "db/field.h"
#include "db/mem_dataset.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/draw_flags.h"
#include "graphics/font.h"
#include "graphics/pen_brush.h"
#include "rtl/streams.h"

namespace brevant::test {
namespace {

const char* const kLong =
    "The quick brown fox jumps over the lazy dog while the lazy dog sleeps on and on";
const char* const kWide = "Ærøskøbing – 東京 – Ünïcødé";

// A mapper with entries by field name; logs who registers.
class TTestMapper : public TznCustomFieldMapper {
  BV_CLASS(TTestMapper, TznCustomFieldMapper)
 public:
  using TznCustomFieldMapper::TznCustomFieldMapper;
  std::map<String, TznMappingEntry> entries;
  std::vector<String> log;
  Integer lookups = 0;

  void RegisterConsumer(TComponent* c) override { log.push_back("register " + c->Name()); }
  void UnregisterConsumer(TComponent* c) override { log.push_back("unregister " + c->Name()); }
  const TznMappingEntry* EntryForFields(TtlFieldList* fields) override {
    ++lookups;
    auto it = entries.find(fields->FieldNames());
    return it == entries.end() ? nullptr : &it->second;
  }
  const TznMappingEntry* EntryForName(const String& name, const String&) override {
    auto it = entries.find(name);
    return it == entries.end() ? nullptr : &it->second;
  }
};
BV_IMPLEMENT_CLASS(TTestMapper, TznCustomFieldMapper)

// A vision that writes its display texts in brackets.
TznFieldVision* MakeBracketVision(TComponent* owner, const char* name) {
  auto* vision = Create<TznFieldVision>(owner);
  vision->SetName(name);
  vision->OnGetText = TfvGetTextEvent::FromCallable(
      [](TObject*, TtlFieldList*, bool, String& text) { text = "[" + text + "]"; });
  return vision;
}

class TextDisplayTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    form->SetBounds(100, 100, 1000, 400);
    ds = Create<TMemDataSet>(nullptr);
    ds->FieldDefs()->Add("ID", ftInteger);
    ds->FieldDefs()->Add("Name", ftString, 200);
    ds->AppendRow({1, "Alpha"});
    ds->AppendRow({2, kLong});
    ds->AppendRow({3, kWide});
    src = Create<TDataSource>(nullptr);
    src->SetDataSet(ds);
    text = Create<TDBQuentaText>(form);
    text->SetName("Text1");
    text->SetBounds(10, 10, 200, 40);
    text->SetParent(form);
    text->SetDataSource(src);
    text->SetDataField("Name");
    form->Show();
    ds->Open();
    Pump();
  }
  void TearDown() override {
    TObject::Free(text);
    ControlsTest::TearDown();
    TObject::Free(src);
    TObject::Free(ds);
  }
  void GoTo(Integer id) {
    ds->First();
    ds->MoveBy(id - 1);
    Pump();
  }
  // The client pixels of the control as painted.
  TColor Pixel(Integer x, Integer y) {
    return static_cast<TColor>(GetWindowPixel(text->Handle(), x, y));
  }
  // Where pixels differ from the background: the bounding box of the ink.
  TRect InkBox() {
    const TColor back = ColorToRGB(text->Color());
    TRect box(text->ClientWidth(), text->ClientHeight(), -1, -1);
    for (Integer y = 0; y < text->ClientHeight(); ++y)
      for (Integer x = 0; x < text->ClientWidth(); ++x)
        if (Pixel(x, y) != back) {
          box.Left = std::min(box.Left, x);
          box.Top = std::min(box.Top, y);
          box.Right = std::max(box.Right, x + 1);
          box.Bottom = std::max(box.Bottom, y + 1);
        }
    return box;
  }
  // Rows of ink separated by blank rows: the painted text lines.
  Integer InkLines() {
    const TColor back = ColorToRGB(text->Color());
    Integer lines = 0;
    bool inLine = false;
    for (Integer y = 0; y < text->ClientHeight(); ++y) {
      bool ink = false;
      for (Integer x = 0; x < text->ClientWidth() && !ink; ++x) ink = Pixel(x, y) != back;
      if (ink && !inLine) ++lines;
      inLine = ink;
    }
    return lines;
  }
  // The text drawn by hand onto the control's background at (2, 2) with
  // the control's font, as the display is meant to draw it.
  Integer CountDifferencesFromReference(const String& s, Cardinal flags) {
    const Integer w = text->ClientWidth(), h = text->ClientHeight();
    TBitmap reference;
    reference.SetSize(w, h);
    TCanvas* c = reference.Canvas();
    c->Brush()->SetColor(text->Color());
    c->FillRect(TRect(0, 0, w, h));
    c->Font()->Assign(text->Font());
    c->Brush()->SetStyle(bsClear);
    TRect r(2, 2, w - 3, h - 3);
    c->DrawText(s, r, flags);
    Integer differences = 0;
    for (Integer y = 0; y < h; ++y)
      for (Integer x = 0; x < w; ++x)
        if (Pixel(x, y) != c->Pixels(x, y)) ++differences;
    return differences;
  }

  TMemDataSet* ds = nullptr;
  TDataSource* src = nullptr;
  TDBQuentaText* text = nullptr;
};

constexpr Cardinal kTextFlags = DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_END_ELLIPSIS;

// ---- what it shows ----

TEST_F(TextDisplayTest, StartsWithTheDocumentedDefaults) {
  auto* fresh = Create<TDBQuentaText>(form);
  TObjectPtr<TDBQuentaText> keep(fresh);
  EXPECT_EQ(64, fresh->Width());
  EXPECT_EQ(32, fresh->Height());
  EXPECT_FALSE(fresh->TabStop());
  EXPECT_EQ(clBtnFace, fresh->Color());
  EXPECT_EQ(bs3D, fresh->BorderStyle());
  EXPECT_EQ(TtlMappingOptions{eioImportDomain}, fresh->MappingOptions());
  EXPECT_EQ(nullptr, fresh->Vision());
  EXPECT_EQ(DefaultVision(), fresh->EffectiveVision());
  EXPECT_EQ(fokText, fresh->FieldList()->OwnerKind());
  EXPECT_EQ(fresh, fresh->FieldList()->TextControl());
  EXPECT_FALSE(fresh->CanModify());
  EXPECT_FALSE(fresh->CanStartEdit());
}

TEST_F(TextDisplayTest, FollowsTheCurrentRecordAndItsChanges) {
  EXPECT_EQ("Alpha", text->DisplayText());
  EXPECT_EQ(ds->FieldByName("Name"), text->Field());
  GoTo(3);
  EXPECT_EQ(kWide, text->DisplayText());
  ds->Prior();
  EXPECT_EQ(kLong, text->DisplayText());
  // A field changed in edit state shows before the post.
  ds->Edit();
  ds->FieldByName("Name")->SetAsString("Changed");
  EXPECT_EQ("Changed", text->DisplayText());
  ds->Cancel();
  EXPECT_EQ(kLong, text->DisplayText());
  ds->Last();
  EXPECT_EQ(kWide, text->DisplayText());
}

TEST_F(TextDisplayTest, ShowsNothingWithoutAnActiveSourceOrAField) {
  ds->Close();
  Pump();
  EXPECT_EQ("", text->DisplayText());
  EXPECT_EQ(nullptr, text->Field());
  EXPECT_EQ(TRect(text->ClientWidth(), text->ClientHeight(), -1, -1), InkBox()) << "no ink";
  ds->Open();
  Pump();
  EXPECT_EQ("Alpha", text->DisplayText());
  text->SetDataField("Missing");
  EXPECT_EQ("", text->DisplayText());
  text->SetDataField("Name");
  EXPECT_EQ("Alpha", text->DisplayText());
  text->SetDataSource(nullptr);
  EXPECT_EQ("", text->DisplayText());
}

TEST_F(TextDisplayTest, BindsTheFirstFieldOfAList) {
  text->SetDataField("ID;Name");
  EXPECT_EQ(ds->FieldByName("ID"), text->Field());
  EXPECT_EQ("1", text->DisplayText());
}

TEST_F(TextDisplayTest, ForgetsAFreedDataSource) {
  TObject::Free(src);
  src = nullptr;
  EXPECT_EQ(nullptr, text->DataSource());
  EXPECT_EQ("", text->DisplayText());
}

// ---- pixels ----

TEST_F(TextDisplayTest, PaintsTheTextTwoPixelsIntoTheClientArea) {
  const TRect ink = InkBox();
  ASSERT_LT(ink.Left, ink.Right) << "the text is painted";
  EXPECT_GE(ink.Left, 2);
  EXPECT_LE(ink.Left, 4);
  EXPECT_GE(ink.Top, 2);
  EXPECT_LE(ink.Top, 6);
  EXPECT_EQ(0, CountDifferencesFromReference("Alpha", kTextFlags));
}

TEST_F(TextDisplayTest, RepaintsWhenTheRecordChanges) {
  const TRect alpha = InkBox();
  GoTo(2);
  EXPECT_NE(alpha, InkBox());
  EXPECT_EQ(0, CountDifferencesFromReference(kLong, kTextFlags));
}

TEST_F(TextDisplayTest, WrapsWordsAndEndsACutTextWithAnEllipsis) {
  text->SetHeight(200);
  GoTo(2);
  const Integer wrapped = InkLines();
  EXPECT_GE(wrapped, 2) << "the long text wraps at the control's width";
  EXPECT_EQ(0, CountDifferencesFromReference(kLong, kTextFlags));
  // Only two lines fit: no partial third line, and the second line ends
  // with the ellipsis instead of the text it would have shown.
  const Integer lineHeight = text->Canvas()->TextHeight("Wg");
  text->SetClientHeight(5 + 2 * lineHeight);
  Pump();
  EXPECT_EQ(2, InkLines());
  EXPECT_LE(InkBox().Bottom, text->ClientHeight() - 3);
  EXPECT_EQ(0, CountDifferencesFromReference(kLong, kTextFlags));
  EXPECT_NE(0, CountDifferencesFromReference(kLong, kTextFlags & ~DT_END_ELLIPSIS));
  // Wide enough, the text is one line.
  text->SetWidth(900);
  Pump();
  EXPECT_EQ(1, InkLines());
}

TEST_F(TextDisplayTest, PaintsTextBeyondAscii) {
  GoTo(3);
  EXPECT_EQ(String(kWide), text->DisplayText());
  text->SetWidth(400);
  Pump();
  EXPECT_EQ(1, InkLines());
  EXPECT_EQ(0, CountDifferencesFromReference(kWide, kTextFlags));
  EXPECT_NE(0, CountDifferencesFromReference("Aerosk?bing", kTextFlags));
}

TEST_F(TextDisplayTest, ReservesTheFrameOfEachBorderKind) {
  struct Row {
    TznBorderStyle kind;
    Integer frame;  // pixels on each side
  };
  const Row rows[] = {{bsNoBorder, 0}, {bs3D, 2}, {bsFlat, 1}, {bsSoftExt, 2}};
  for (const Row& row : rows) {
    text->SetBorderStyle(row.kind);
    Pump();
    SCOPED_TRACE(static_cast<int>(row.kind));
    TRect frame;
    frame.Left = text->Width() - text->ClientWidth();
    frame.Top = text->Height() - text->ClientHeight();
    EXPECT_EQ(2 * row.frame, frame.Left);
    EXPECT_EQ(2 * row.frame, frame.Top);
    EXPECT_EQ(0, CountDifferencesFromReference("Alpha", kTextFlags));
  }
}

// ---- vision ----

TEST_F(TextDisplayTest, FormatsThroughItsVisionAndFallsBackWhenItGoes) {
  TznFieldVision* vision = MakeBracketVision(form, "Brackets");
  text->SetVision(vision);
  EXPECT_EQ(vision, text->EffectiveVision());
  EXPECT_EQ("[Alpha]", text->DisplayText());
  ds->Next();
  EXPECT_EQ(String("[") + kLong + "]", text->DisplayText());
  TObject::Free(vision);
  EXPECT_EQ(nullptr, text->Vision());
  EXPECT_EQ(DefaultVision(), text->EffectiveVision());
  EXPECT_EQ(kLong, text->DisplayText());
}

TEST_F(TextDisplayTest, ChangesOfItsVisionRepaint) {
  TznFieldVision* vision = MakeBracketVision(form, "Brackets");
  text->SetVision(vision);
  Pump();
  EXPECT_EQ(0, CountDifferencesFromReference("[Alpha]", kTextFlags));
  // A repaint the vision asks for shows the text as it formats it now.
  vision->OnGetText = TfvGetTextEvent::FromCallable(
      [](TObject*, TtlFieldList*, bool, String& s) { s = "{" + s + "}"; });
  vision->SetDrawText(false);
  EXPECT_EQ("{Alpha}", text->DisplayText());
  vision->SetRelatedFields("ID");
  EXPECT_EQ(2, text->FieldList()->FieldCount());
  EXPECT_EQ(ds->FieldByName("ID"), text->FieldList()->Fields(1));
}

// ---- mapper ----

class TextMapperTest : public TextDisplayTest {
 protected:
  void SetUp() override {
    TextDisplayTest::SetUp();
    mapper = Create<TTestMapper>(form);
    mapper->SetName("Mapper1");
    mapped = MakeBracketVision(form, "Mapped");
    mapper->entries["Name"] = TznMappingEntry{mapped, "Vendor"};
  }
  TTestMapper* mapper = nullptr;
  TznFieldVision* mapped = nullptr;
};

TEST_F(TextMapperTest, ImportsTheVisionOfTheEntry) {
  text->SetMapper(mapper);
  EXPECT_EQ(std::vector<String>{"register Text1"}, mapper->log);
  EXPECT_EQ(mapped, text->Vision());
  EXPECT_EQ("[Alpha]", text->DisplayText());
  EXPECT_FALSE(text->IsVisionStored()) << "an imported vision is not stored";
  EXPECT_TRUE(text->MappingOptions().Contains(eioImportDomain));
}

TEST_F(TextMapperTest, WithoutAnEntryTheDefaultVisionFormats) {
  text->SetVision(mapped);
  text->SetMappingOptions({eioImportDomain});
  mapper->entries.clear();
  text->SetMapper(mapper);
  EXPECT_EQ(nullptr, text->Vision());
  EXPECT_EQ("Alpha", text->DisplayText());
}

TEST_F(TextMapperTest, AVisionChosenByHandStaysChosen) {
  text->SetMapper(mapper);
  TznFieldVision* own = MakeBracketVision(form, "Own");
  own->OnGetText = TfvGetTextEvent::FromCallable(
      [](TObject*, TtlFieldList*, bool, String& s) { s = "<" + s + ">"; });
  text->SetVision(own);
  EXPECT_FALSE(text->MappingOptions().Contains(eioImportDomain));
  EXPECT_TRUE(text->IsVisionStored());
  text->SetAttrs("other");  // asks for the mapping again
  text->SetDataField("ID");
  text->SetDataField("Name");
  EXPECT_EQ(own, text->Vision());
  EXPECT_EQ("<Alpha>", text->DisplayText());
}

TEST_F(TextMapperTest, AskedAgainWhenFieldsOrOptionsChange) {
  text->SetMapper(mapper);
  const Integer before = mapper->lookups;
  text->SetDataField("ID");
  EXPECT_EQ(nullptr, text->Vision()) << "no entry for ID";
  text->SetDataField("Name");
  EXPECT_EQ(mapped, text->Vision());
  text->SetMappingOptions({});
  text->SetAttrs("x");
  const Integer afterOff = mapper->lookups;
  text->SetMappingOptions({eioImportCaption});
  EXPECT_GT(mapper->lookups, afterOff);
  EXPECT_EQ(mapped, text->Vision()) << "captions alone leave the vision";
  EXPECT_GT(afterOff, before);
}

TEST_F(TextMapperTest, LeavesMappersItChangesAndForgetsAFreedOne) {
  text->SetMapper(mapper);
  auto* other = Create<TTestMapper>(form);
  other->SetName("Mapper2");
  text->SetMapper(other);
  EXPECT_EQ((std::vector<String>{"register Text1", "unregister Text1"}), mapper->log);
  EXPECT_EQ(std::vector<String>{"register Text1"}, other->log);
  EXPECT_EQ(nullptr, text->Vision()) << "the second mapper has no entry";
  TObject::Free(other);
  EXPECT_EQ(nullptr, text->Mapper());
}

TEST_F(TextMapperTest, AFreedImportedVisionKeepsTheImportOn) {
  text->SetMapper(mapper);
  ASSERT_EQ(mapped, text->Vision());
  mapper->entries.clear();
  TObject::Free(mapped);
  EXPECT_EQ(nullptr, text->Vision());
  EXPECT_TRUE(text->MappingOptions().Contains(eioImportDomain));
  TznFieldVision* next = MakeBracketVision(form, "Next");
  mapper->entries["Name"] = TznMappingEntry{next, ""};
  text->RequestMapping();
  EXPECT_EQ(next, text->Vision());
}

// ---- streaming ----

// The lines of the text display's part of a form's text.
String TextPart(TComponent* root) {
  TStringStream out("");
  WriteComponentText(out, root);
  const String all = out.DataString();
  const size_t from = all.find("  object Text1: TDBQuentaText");
  return from == String::npos ? String() : all.substr(from, all.find("  end", from) - from);
}

TEST_F(TextMapperTest, WritesWhatDiffersAndReadsItBack) {
  RegisterClasses({TDataSource::StaticClass(), TTestMapper::StaticClass()});
  RegisterTextDisplayClasses();
  RegisterFieldVisionClasses();
  auto* owned = Create<TDataSource>(form);
  owned->SetName("Src");
  owned->SetDataSet(ds);
  text->SetDataSource(owned);
  TznFieldVision* own = MakeBracketVision(form, "Own");
  text->SetBorderStyle(bsFlat);
  text->SetMapper(mapper);
  text->SetVision(own);  // chosen by hand: the import is off
  const String written = TextPart(form);
  for (const char* line : {"BorderStyle = bsFlat", "MappingOptions = []", "Mapper = Mapper1",
                           "DataField = 'Name'", "Vision = Own", "DataSource = Src"})
    EXPECT_NE(String::npos, written.find(line)) << line;
  EXPECT_EQ(String::npos, written.find("Color")) << "the default colour is not written";

  // Imported, the vision is the mapper's affair and is not written.
  text->SetMappingOptions({eioImportDomain});
  text->RequestMapping();
  ASSERT_EQ(mapped, text->Vision());
  EXPECT_EQ(String::npos, TextPart(form).find("Vision ="));

  TStringStream stream("");
  WriteComponentText(stream, form);
  stream.SetPosition(0);
  TObjectPtr<TForm> copy(Create<TForm>(nullptr));
  ReadComponent(stream, copy.get());
  auto* back = dynamic_cast<TDBQuentaText*>(copy->FindComponent("Text1"));
  ASSERT_NE(nullptr, back);
  EXPECT_EQ(bsFlat, back->BorderStyle());
  EXPECT_EQ("Name", back->DataField());
  EXPECT_EQ(copy->FindComponent("Src"), back->DataSource());
  EXPECT_EQ(copy->FindComponent("Mapper1"), back->Mapper());
}

// ---- platform requests ----

TEST_F(TextDisplayTest, AnswersTheDataLinkQueryAndFocusRequests) {
  EXPECT_EQ(reinterpret_cast<LRESULT>(static_cast<TDataLink*>(text->DataLink())),
            text->Perform(CM_GETDATALINK));
  ds->FieldByName("ID")->FocusControl();
  EXPECT_FALSE(text->Focused()) << "another field is not this control's";
  ds->FieldByName("Name")->FocusControl();
  EXPECT_TRUE(text->Focused());
}

// ---- the data-aware edit's mapper ----

class EditMapperTest : public TextMapperTest {
 protected:
  void SetUp() override {
    TextMapperTest::SetUp();
    edit = Create<TDBQuentaEdit>(form);
    edit->SetName("Edit1");
    edit->SetBounds(10, 60, 200, 24);
    edit->SetParent(form);
    edit->SetDataSource(src);
    edit->SetDataField("Name");
    Pump();
  }
  TDBQuentaEdit* edit = nullptr;
};

TEST_F(EditMapperTest, ImportsWhatItsOptionsAllowAndKeepsChoicesMadeByHand) {
  edit->SetMappingOptions({eioImportDomain, eioImportCaption});
  edit->SetMapper(mapper);
  EXPECT_EQ(std::vector<String>{"register Edit1"}, mapper->log);
  EXPECT_EQ(mapped, edit->Vision());
  EXPECT_EQ("Vendor", edit->Caption());
  EXPECT_EQ("[Alpha]", edit->Text());
  EXPECT_FALSE(edit->IsVisionStored());
  EXPECT_FALSE(edit->IsCaptionStored());

  edit->SetCaption("Supplier");
  EXPECT_FALSE(edit->MappingOptions().Contains(eioImportCaption));
  EXPECT_TRUE(edit->IsCaptionStored());
  TznFieldVision* own = MakeBracketVision(form, "Own");
  edit->SetVision(own);
  EXPECT_FALSE(edit->MappingOptions().Contains(eioImportDomain));
  EXPECT_TRUE(edit->IsVisionStored());
  edit->SetDataField("ID");
  edit->SetDataField("Name");
  EXPECT_EQ(own, edit->Vision()) << "a vision chosen by hand stays";
  EXPECT_EQ("Supplier", edit->Caption());
}

TEST_F(EditMapperTest, FollowsItsFieldAndForgetsAMapperThatGoes) {
  edit->SetMapper(mapper);
  EXPECT_EQ(mapped, edit->Vision());
  EXPECT_EQ("", edit->Caption()) << "the caption is not imported by default";
  edit->SetDataField("ID");
  EXPECT_EQ(nullptr, edit->Vision()) << "no entry for ID";
  edit->SetDataField("Name");
  EXPECT_EQ(mapped, edit->Vision());
  TObject::Free(mapper);
  mapper = nullptr;
  EXPECT_EQ(nullptr, edit->Mapper());
  edit->SetDataField("ID");  // must not reach the freed mapper
}

TEST_F(EditMapperTest, AFreedEditUnregisters) {
  edit->SetMapper(mapper);
  TObject::Free(edit);
  EXPECT_EQ((std::vector<String>{"register Edit1", "unregister Edit1"}), mapper->log);
}

}  // namespace
}  // namespace brevant::test
