// TDataModule.
#include "controls/datamodule.h"

#include <vector>

#include "classes/filer.h"
#include "classes/reader.h"
#include "classes/rtti_builder.h"
#include "controls/application.h"
#include "controls/form_resources.h"

namespace brevant {

namespace {
bool g_createNew = false;
}

void TDataModule::BeginCreateNew() {
  g_createNew = true;
}

TDataModule::TDataModule(TComponent* owner) : TComponent(owner) {
  createNew_ = g_createNew;
  g_createNew = false;
}

void TDataModule::AfterConstruction() {
  TComponent::AfterConstruction();
  Screen()->AddDataModule(this);
  if (!createNew_) {
    std::vector<const String*> texts;
    for (TClass c = ClassType(); c && c != TDataModule::StaticClass(); c = c->ClassParent())
      if (const String* text = FindFormResource(c->ClassName())) texts.insert(texts.begin(), text);
    for (const String* text : texts) ReadFormResource(this, *text);
  }
  AddGlobalRoot(this);
  CallHandlingExceptions(this, [this] { OnCreate(this); });
}

void TDataModule::BeforeDestruction() {
  CallHandlingExceptions(this, [this] { OnDestroy(this); });
  if (HasScreen()) Screen()->RemoveDataModule(this);
  TComponent::BeforeDestruction();
}

void TDataModule::GetChildren(const TGetChildProc& proc, TComponent*) {
  for (Integer i = 0; i < ComponentCount(); ++i)
    if (!Components(i)->HasParent()) proc(Components(i));
}

void TDataModule::DefineProperties(TFiler* filer) {
  TComponent::DefineProperties(filer);
  // Designer placement of the module's window; kept by designers only.
  for (const char* name : {"Left", "Top", "Height", "Width"})
    filer->DefineProperty(
        name, [](TReader& r) { r.ReadInteger(); }, nullptr, false);
}

BV_PUBLISH(TDataModule, TComponent) {
  p.Event("OnCreate", &TDataModule::OnCreate, "TNotifyEvent");
  p.Event("OnDestroy", &TDataModule::OnDestroy, "TNotifyEvent");
}

}  // namespace brevant
