// An outside program built against an installed Brevant: a form with a grid
// over an in-memory dataset, shown on the off-screen backend. It checks that
// the grid filled its rows and painted the titles, and answers 0 on success.
#include <cstdio>
#include <memory>

#include <backend/offscreen_backend.h>
#include <bv/columns.h>
#include <bv/tabulon.h>
#include <controls/controls.h>
#include <controls/forms.h>
#include <controls/wincore.h>
#include <db/datasource.h>
#include <db/mem_dataset.h>
#include <rtl/numconv.h>

using namespace brevant;

int main() {
  auto* backend = new TOffscreenBackend();
  SetBackend(std::unique_ptr<TBackend>(backend));
  RegisterGridClasses();

  TObjectPtr<TForm> form(Create<TForm>(nullptr));
  form->SetBounds(0, 0, 400, 300);
  auto* vendors = Create<TMemDataSet>(form.get());
  vendors->FieldDefs()->Add("ID", ftInteger);
  vendors->FieldDefs()->Add("Vendor", ftString, 40);
  for (int i = 1; i <= 100; ++i) vendors->AppendRow({i, "Vendor " + IntToStr(i)});
  auto* source = Create<TDataSource>(form.get());
  source->SetDataSet(vendors);

  auto* grid = Create<TDBTabulon>(form.get());
  grid->SetParent(form.get());
  grid->SetAlign(alClient);
  grid->Columns()->Add()->SetFieldName("ID");
  grid->Columns()->Add()->SetFieldName("Vendor");
  grid->SetDataSource(source);
  vendors->Open();
  form->Show();
  PumpMessages();

  const TNativeWindow window = GetNativeWindow(form->Handle());
  TColor background = backend->Pixel(window, 399, 299);
  bool painted = false;  // some pixel of the title row differs from the corner
  for (int x = 2; x < 120 && !painted; ++x)
    for (int y = 2; y < 16 && !painted; ++y) painted = backend->Pixel(window, x, y) != background;
  const bool filled = grid->RowCount() > 5;
  std::printf("consumer: %d rows, titles %s\n", grid->RowCount(), painted ? "painted" : "blank");
  return filled && painted ? 0 : 1;
}
