// TDataModule: a non-visual container of components (datasets, data
// sources, image lists, menus). Like a form it reads its form resource when
// created (unless made with CreateNew), registers as a global root so other
// modules' streams can refer to "DM.dsVendors", then fires OnCreate;
// OnDestroy fires first when it is freed.
#pragma once

#include "classes/component.h"
#include "rtl/method.h"

namespace brevant {

class TDataModule : public TComponent {
  BV_CLASS(TDataModule, TComponent)
 public:
  explicit TDataModule(TComponent* owner);
  void AfterConstruction() override;
  void BeforeDestruction() override;
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;

  template <class T>
  static T* CreateNew(TComponent* owner) {
    BeginCreateNew();
    return Create<T>(owner);
  }
  static void BeginCreateNew();

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;

 protected:
  void DefineProperties(TFiler* filer) override;

 private:
  bool createNew_ = false;
};

}  // namespace brevant
