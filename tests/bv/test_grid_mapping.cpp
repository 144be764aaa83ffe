// The field mapper contract: registration, imported captions and visions,
// typed values overriding imports, what is streamed, and the mapper going.
#include <map>
#include <memory>

#include "bv/field_list.h"
#include "bv/field_mapper.h"
#include "bv/field_vision.h"
#include "bv/grid_messages.h"
#include "classes/formstream.h"
#include "grid_test_util.h"
#include "rtl/streams.h"

namespace brevant::test {
namespace {

// A mapper of field names to entries that records its consumers.
class TTestMapper : public TznCustomFieldMapper {
  BV_CLASS(TTestMapper, TznCustomFieldMapper)
 public:
  using TznCustomFieldMapper::TznCustomFieldMapper;
  void RegisterConsumer(TComponent* c) override { consumers.push_back(c); }
  void UnregisterConsumer(TComponent* c) override { std::erase(consumers, c); }
  const TznMappingEntry* EntryForFields(TtlFieldList* list) override {
    return EntryForName(list->FieldNames(), list->Attrs());
  }
  const TznMappingEntry* EntryForName(const String& name, const String&) override {
    auto it = entries.find(name);
    return it == entries.end() ? nullptr : &it->second;
  }
  void Map(const String& name, TznFieldVision* vision, const String& caption) {
    entries[name] = TznMappingEntry{vision, caption};
  }
  std::vector<TComponent*> consumers;         // registered controls
  std::map<String, TznMappingEntry> entries;  // by field name
};
BV_IMPLEMENT_CLASS(TTestMapper, TznCustomFieldMapper)

class MappingTest : public GridTest {
 protected:
  void SetUp() override {
    GridTest::SetUp();
    Build(20, 5);
    mapper = Create<TTestMapper>(form);
    vision = Create<TznFieldVision>(form);
    mapper->Map("Name", vision, "Vendor name");
    name = grid->Columns()->Items(1);
  }
  TTestMapper* mapper = nullptr;
  TznFieldVision* vision = nullptr;
  TtlColumn* name = nullptr;
};

TEST_F(MappingTest, ColumnsImportCaptionAndVisionFromTheMapper) {
  grid->SetMapper(mapper);
  EXPECT_EQ(mapper->consumers, std::vector<TComponent*>{grid});
  EXPECT_EQ(name->Caption(), "Vendor name");
  EXPECT_EQ(name->EffectiveCaption(), "Vendor name");
  EXPECT_EQ(name->Vision(), vision);
  EXPECT_EQ(name->OptionsMapping(), (TtlColumnOptionsMapping{cioImportCaption, cioImportDomain}));
  // Imported values are not streamed: the mapper gives them again.
  EXPECT_FALSE(name->IsCaptionStored());
  EXPECT_FALSE(name->IsVisionStored());
  // A column without an entry imports nothing: caption and vision cleared.
  TtlColumn* id = grid->Columns()->Items(0);
  EXPECT_EQ(id->Caption(), "");
  EXPECT_EQ(id->Vision(), nullptr);
  // Only what OptionsMapping allows is imported.
  mapper->Map("Name", nullptr, "Renamed");
  name->SetOptionsMapping({cioImportCaption});
  EXPECT_EQ(name->Caption(), "Renamed");
  EXPECT_EQ(name->Vision(), vision);
  // A changed mapping arrives through the grid's message.
  mapper->Map("Name", nullptr, "Again");
  grid->Perform(WM_TL_APPLYMAPPING, 0, 0);
  EXPECT_EQ(name->Caption(), "Again");
}

TEST_F(MappingTest, TypedValuesOverrideTheImportAndAreStreamed) {
  grid->SetMapper(mapper);
  name->SetCaption("Typed");
  EXPECT_FALSE(name->OptionsMapping().Contains(cioImportCaption));
  EXPECT_TRUE(name->IsCaptionStored());
  name->SetVision(nullptr);
  EXPECT_TRUE(name->OptionsMapping().Empty());
  // A later mapping leaves both alone.
  grid->ApplyMappings();
  EXPECT_EQ(name->Caption(), "Typed");
  EXPECT_EQ(name->Vision(), nullptr);
  // Without a mapper a typed caption keeps the import option.
  grid->SetMapper(nullptr);
  TtlColumn* id = grid->Columns()->Items(0);
  id->SetCaption("Key");
  EXPECT_TRUE(id->OptionsMapping().Contains(cioImportCaption));
  EXPECT_TRUE(id->IsCaptionStored());
}

TEST_F(MappingTest, TheGridLetsGoOfItsMapper) {
  grid->SetMapper(mapper);
  TTestMapper* other = Create<TTestMapper>(form);
  grid->SetMapper(other);
  EXPECT_TRUE(mapper->consumers.empty());
  EXPECT_EQ(other->consumers, std::vector<TComponent*>{grid});
  TObject::Free(other);
  EXPECT_EQ(grid->Mapper(), nullptr);
  // A grid that goes leaves its mapper's list.
  grid->SetMapper(mapper);
  TObject::Free(grid);
  grid = nullptr;
  EXPECT_TRUE(mapper->consumers.empty());
}

}  // namespace
}  // namespace brevant::test
