// The grid's side of in-place editing: opening, closing, posting and
// cancelling around its TtlInplaceEdit.
#include "bv/column.h"
#include "bv/tabulon.h"

namespace brevant {

bool TtlColumn::RequestEdit() { return false; }

bool TDBTabulon::AlwaysEditing() const { return false; }

bool TDBTabulon::OpenEditor(TtlColumn* /*column*/) { return false; }

void TDBTabulon::CloseEditor(TtlFieldEditAction /*action*/, bool /*keep*/) {}

void TDBTabulon::SyncEditor() {}

void TDBTabulon::PostRecord() {}

void TDBTabulon::CancelRecord() {}

bool TDBTabulon::QuickEdit(TtlColumn* /*column*/, TtlOptionEdit /*option*/) { return false; }

}  // namespace brevant
