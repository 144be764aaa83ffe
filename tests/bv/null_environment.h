// An installed environment that answers nothing: tests derive from it and
// override the one image list or menu they exercise.
#pragma once

#include "bv/env_hook.h"

namespace brevant::test {

class TNullEnvironment : public IbvEnvironment {
 public:
  TImageList* DragArrows(bool) override { return nullptr; }
  TImageList* TitleStateImages() override { return nullptr; }
  TImageList* FooterStateImages() override { return nullptr; }
  TImageList* BlobMarkerImages() override { return nullptr; }
  TImageList* ToolbarCommands() override { return nullptr; }
  TPopupMenu* FooterMenu() override { return nullptr; }
  TMenuItem* FooterStateItem(TtlFooterState) override { return nullptr; }
  TtlColumn* FooterColumn() override { return nullptr; }
  void PrepareFooterMenu(TField*) override {}
  bool PopupFooterMenu(TDBTabulon*, TtlColumn*, Integer, Integer) override { return false; }
};

}  // namespace brevant::test
