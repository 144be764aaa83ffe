#include <gtest/gtest.h>

#include "bv_rtm/object_text.h"
#include "classes/collection.h"
#include "classes/filer.h"
#include "classes/reader.h"
#include "classes/rtti_builder.h"
#include "classes/writer.h"
#include "rtl/exceptions.h"

using namespace brevant;

namespace {

class TOtColumn : public TCollectionItem {
  BV_CLASS(TOtColumn, TCollectionItem)
 public:
  using TCollectionItem::TCollectionItem;
  const String& Caption() const { return caption_; }
  void SetCaption(const String& v) { caption_ = v; }
  Integer Width() const { return width_; }
  void SetWidth(Integer v) { width_ = v; }
  Integer SortOrder = 0;

 protected:
  void DefineProperties(TFiler* filer) override {
    TCollectionItem::DefineProperties(filer);
    filer->DefineProperty(
        "SortOrder", [this](TReader& r) { SortOrder = r.ReadInteger(); },
        [this](TWriter& w) { w.WriteInteger(SortOrder); }, SortOrder != 0);
  }

 private:
  String caption_;
  Integer width_ = 64;
};

class TOtFont : public TPersistent {
  BV_CLASS(TOtFont, TPersistent)
 public:
  const String& Name() const { return name_; }
  void SetName(const String& v) { name_ = v; }
  Integer Size() const { return size_; }
  void SetSize(Integer v) { size_ = v; }

 private:
  String name_;
  Integer size_ = 8;
};

class TOtGadget : public TComponent {
  BV_CLASS(TOtGadget, TComponent)
 public:
  explicit TOtGadget(TComponent* owner) : TComponent(owner) { ++Made; }
  Integer Width() const { return width_; }
  void SetWidth(Integer v) { width_ = v; }
  static inline Integer Made = 0;

 private:
  Integer width_ = 0;
};

}  // namespace

BV_PUBLISH(TOtColumn, TCollectionItem) {
  p.Property("Caption", &TOtColumn::Caption, &TOtColumn::SetCaption);
  p.Property("Width", &TOtColumn::Width, &TOtColumn::SetWidth).Default(64);
}
BV_PUBLISH(TOtFont, TPersistent) {
  p.Property("Name", &TOtFont::Name, &TOtFont::SetName);
  p.Property("Size", &TOtFont::Size, &TOtFont::SetSize).Default(8);
}
BV_PUBLISH(TOtGadget, TComponent) {
  p.Property("Width", &TOtGadget::Width, &TOtGadget::SetWidth).Default(0);
}

namespace {

TOtColumn* AddColumn(TCollection& c, const String& caption, Integer width, Integer sort) {
  auto* col = static_cast<TOtColumn*>(c.Add());
  col->SetCaption(caption);
  col->SetWidth(width);
  col->SortOrder = sort;
  return col;
}

}  // namespace

TEST(ObjectText, CollectionLayoutIsExactAndRoundTrips) {
  TCollection cols(TOtColumn::StaticClass());
  AddColumn(cols, "It's", 80, 0);
  AddColumn(cols, "City", 64, -2);
  const String text = ObjectToStr(&cols, "", true);
  EXPECT_EQ(text,
            "object TUniDataStorage\r\n"
            "  Data = <\r\n"
            "    item\r\n"
            "      Caption = 'It'#39's'\r\n"
            "      Width = 80\r\n"
            "    end\r\n"
            "    item\r\n"
            "      Caption = 'City'\r\n"
            "      SortOrder = -2\r\n"
            "    end>\r\n"
            "end\r\n");

  TCollection back(TOtColumn::StaticClass());
  AddColumn(back, "stale", 1, 1);
  StrToObject(&back, text, true);
  ASSERT_EQ(back.Count(), 2);
  auto* c0 = static_cast<TOtColumn*>(back.Items(0));
  auto* c1 = static_cast<TOtColumn*>(back.Items(1));
  EXPECT_EQ(c0->Caption(), "It's");
  EXPECT_EQ(c0->Width(), 80);
  EXPECT_EQ(c1->SortOrder, -2);
  EXPECT_EQ(c1->Width(), 64);

  // Binary both ways, and a description.
  const String bin = ObjectToStr(&cols, "layout", false);
  EXPECT_EQ(bin.substr(0, 4), "TPF0");
  TCollection back2(TOtColumn::StaticClass());
  StrToObject(&back2, bin, false);
  EXPECT_EQ(back2.Count(), 2);
  EXPECT_NE(ObjectToStr(&cols, "layout", true).find("  Description = 'layout'\r\n"), String::npos);
}

TEST(ObjectText, NestedObjectsUseDottedNamesAndLongStringsWrap) {
  TOtFont font;
  font.SetName(String(100, 'x'));
  font.SetSize(12);
  const String text = ObjectToStr(&font, "", true);
  EXPECT_EQ(text,
            "object TUniDataStorage\r\n"
            "  Data.Name = \r\n"
            "    '" +
                String(64, 'x') +
                "' +\r\n"
                "    '" +
                String(36, 'x') +
                "'\r\n"
                "  Data.Size = 12\r\n"
                "end\r\n");
  TOtFont back;
  StrToObject(&back, text, true);
  EXPECT_EQ(back.Name(), font.Name());
  EXPECT_EQ(back.Size(), 12);
  StrToObject(&back, "", true);
  EXPECT_EQ(back.Size(), 12) << "an empty text changes nothing";
}

TEST(ObjectText, ComponentsAreReadDirectly) {
  TObjectPtr<TOtGadget> g = MakeObject<TOtGadget>(nullptr);
  g->SetName("G1");
  g->SetWidth(33);
  const String text = ObjectToStr(g.get(), "ignored", true);
  EXPECT_EQ(text, "object G1: TOtGadget\r\n  Width = 33\r\nend\r\n");
  TObjectPtr<TOtGadget> h = MakeObject<TOtGadget>(nullptr);
  EXPECT_EQ(StrToComponent(h.get(), text, true), h.get());
  EXPECT_EQ(h->Width(), 33);
  EXPECT_EQ(h->Name(), "") << "the root keeps its name";
  EXPECT_EQ(StrToComponent(h.get(), "", true), nullptr);
  EXPECT_EQ(StrToComponent(h.get(), ComponentToStr(g.get(), false), false), h.get());
}

TEST(ObjectText, BadInputRaisesAndKeepsWhatWasRead) {
  TOtFont font;
  try {
    StrToObject(&font, "object TUniDataStorage\r\n  Data.Size = 20\r\n  Data.Name = 'x\r\nend\r\n",
                true);
    FAIL();
  } catch (const EParserError& e) {
    EXPECT_EQ(e.Line(), 3);
  }
  EXPECT_THROW(
      StrToObject(
          &font, "object TUniDataStorage\r\n  Data.Size = 20\r\n  Data.Bogus = 1\r\nend\r\n", true),
      EReadError);
  EXPECT_EQ(font.Size(), 20) << "what was read before the failure stays";
  EXPECT_THROW(StrToObject(&font, String("TPF0\xF5\x01garbage", 13), false), EReadError);
  EXPECT_THROW(StrToObject(&font, "not a stream", false), EReadError);
  TObjectPtr<TOtGadget> g = MakeObject<TOtGadget>(nullptr);
  EXPECT_THROW(StrToComponent(g.get(), "object X: TOtGadget\r\n  Nope = 1\r\nend\r\n", true),
               EReadError);
}

TEST(ObjectText, WrapperRefusesChildObjects) {
  RegisterClass(TOtGadget::StaticClass());
  const Integer made = TOtGadget::Made;
  TOtFont font;
  try {
    StrToObject(&font,
                "object TUniDataStorage\r\n  Data.Size = 9\r\n"
                "  object Evil: TOtGadget\r\n    Width = 1\r\n  end\r\nend\r\n",
                true);
    FAIL();
  } catch (const EReadError& e) {
    EXPECT_NE(e.Message().find("TOtGadget"), String::npos) << e.Message();
  }
  EXPECT_EQ(TOtGadget::Made, made) << "no component of the named class was made";
  EXPECT_EQ(font.Size(), 8);
  // A component target reads its children as usual.
  TObjectPtr<TOtGadget> root = MakeObject<TOtGadget>(nullptr);
  StrToComponent(root.get(), "object R: TOtGadget\r\n  object C: TOtGadget\r\n  end\r\nend\r\n",
                 true);
  EXPECT_EQ(root->ComponentCount(), 1);
  UnRegisterClass(TOtGadget::StaticClass());
}
