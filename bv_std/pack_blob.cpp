// The blob picker of the default pack (placeholder until built).
#include "bv_std/pack.h"

namespace brevant {

void TbvDefPack::vtfBlobPickerShow(TObject*) {}
void TbvDefPack::vtfBlobPickerPostChanges(TObject*) {}
void TbvDefPack::vtfBlobPickerClose(TObject*) {}
void TbvDefPack::vtfBlobPickerShortCut(TObject*, Word&) {}
void TbvDefPack::vtfBlobPickerEditAction(TObject*, TznEditAction) {}
void TbvDefPack::btnBlobPickerOKClick(TObject*) {}
void TbvDefPack::PictureContextMenuPopup(TObject*) {}
void TbvDefPack::miPictureContextClick(TObject*) {}
void TbvDefPack::BlobContextMenuPopup(TObject*) {}
void TbvDefPack::miBlobContextClick(TObject*) {}

}  // namespace brevant
