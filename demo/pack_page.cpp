// The gallery's page of the default pack's drop-downs (see pack_page.h).
#include "pack_page.h"

#include "bv/db_edit.h"
#include "bv_std/blob_visions_dropdown.h"
#include "bv_std/list_visions_standard.h"
#include "bv_std/numeric_vision.h"
#include "bv_std/pack.h"
#include "bv_std/state_visions_xstate.h"
#include "controls/forms.h"
#include "controls/stdctrls.h"
#include "db/datasource.h"
#include "db/field_defs.h"
#include "db/mem_dataset.h"
#include "edit_row.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/colors.h"
#include "rtl/datetime.h"
#include "rtl/streams.h"

namespace brevant {

namespace {

// A small striped picture as the bytes of a bitmap file.
String SamplePicture() {
  TBitmap bitmap;
  bitmap.SetSize(48, 32);
  TCanvas* c = bitmap.Canvas();
  const TColor stripes[] = {clNavy, clTeal, clOlive, clMaroon};
  for (Integer i = 0; i < 4; ++i) {
    c->Brush()->SetColor(stripes[i]);
    c->FillRect(TRect(0, i * 8, 48, i * 8 + 8));
  }
  TMemoryStream stream;
  bitmap.SaveToStream(stream);
  String bytes(size_t(stream.Size()), '\0');
  stream.SetPosition(0);
  stream.ReadBuffer(bytes.data(), stream.Size());
  return bytes;
}

TMemDataSet* AddTable(TForm* gallery) {
  auto* table = Create<TMemDataSet>(gallery);
  table->SetName("PackTable");
  table->FieldDefs()->Add("Fruit", ftString, 20);
  table->FieldDefs()->Add("State", ftString, 1);
  table->FieldDefs()->Add("Born", ftDate);
  table->FieldDefs()->Add("Amount", ftFloat);
  table->FieldDefs()->Add("Tint", ftInteger);
  table->FieldDefs()->Add("Notes", ftMemo);
  table->FieldDefs()->Add("Photo", ftGraphic);
  table->AppendRow({"Apple", "A", VarFromDateTime(EncodeDate(2020, 5, 17)), 12.5, Integer(clTeal),
                    "A note\r\nover two lines", SamplePicture()});
  table->Open();
  return table;
}

TStandardVision* FruitVision(TForm* gallery) {
  auto* vision = Create<TStandardVision>(gallery);
  vision->SetName("PackFruitVision");
  vision->PickList()->SetCommaText("Apple,Apricot,Banana,Cherry,Grape,Lemon,Mango,Orange,Pear");
  return vision;
}

TXStateVision* StateVision(TForm* gallery) {
  auto* vision = Create<TXStateVision>(gallery);
  vision->SetName("PackStateVision");
  const std::pair<const char*, const char*> states[] = {
      {"A", "Active"}, {"P", "Paused"}, {"C", "Closed"}};
  for (const auto& [value, text] : states) {
    TXState* state = vision->States()->Add();
    state->SetFieldValue(value);
    state->SetDisplayText(text);
  }
  return vision;
}

}  // namespace

void BuildPackPage(TForm* gallery, TWinControl* page) {
  TbvDefPack* pack = DefPack();
  if (!pack) return;
  auto* source = Create<TDataSource>(gallery);
  source->SetName("PackSource");
  source->SetDataSet(AddTable(gallery));
  auto* notes = Create<TTextVision>(gallery);
  notes->SetName("PackNotesVision");
  auto* photo = Create<TPictureVision>(gallery);
  photo->SetName("PackPhotoVision");
  AddEditRow(gallery, page, source, 0, "Fruit", "PackFruit", FruitVision(gallery));
  AddEditRow(gallery, page, source, 1, "State", "PackState", StateVision(gallery));
  AddEditRow(gallery, page, source, 2, "Born", "PackBorn",
             As<TznFieldVision>(pack->FindComponent("Calendar")));
  AddEditRow(gallery, page, source, 3, "Amount", "PackAmount", pack->Calculator);
  AddEditRow(gallery, page, source, 4, "Tint", "PackTint", pack->ColorPicker);
  AddEditRow(gallery, page, source, 5, "Notes", "PackNotes", notes);
  AddEditRow(gallery, page, source, 6, "Photo", "PackPhoto", photo);
}

}  // namespace brevant
