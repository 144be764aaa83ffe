// Shared pieces of the list vision tests: a table of people with a colour
// key, a colour lookup table, and an editor stand-in that tells completion
// whether its last key extended the text.
#pragma once

#include <memory>

#include "bv/completion_intf.h"
#include "bv/vision_test_util.h"
#include "db/field.h"

namespace listtest {

using namespace brevant;
using visiontest::TStubConsumer;
using visiontest::TStubEditor;

// An editor whose last key was (extends) or was not (a deletion) typed
// forward; Edit types text and runs the vision's completion as the
// data-aware edit does on every change.
class TCompletingEditor : public TStubEditor, public IznCompletingEditor {
 public:
  using TStubEditor::TStubEditor;
  bool extends = true;   // the last key was neither Backspace nor Delete
  Integer selStart = 0;  // the selection completion asked for
  Integer selEnd = 0;    // its other end
  bool LastKeyExtends() override { return extends; }
  // Types typed (the caret after it); answers whether the vision accepted
  // it. text becomes the completed text, or the previous one when refused.
  bool Edit(const String& typed, bool forward = true);
};

// People(ID, Name, ColorID) with a lookup field Color over Colors(ID, Name,
// Image, Note); both open, through their own sources.
struct TListData {
  TListData();
  // Adds a colour row to the lookup table.
  void AddColor(Integer id, const String& name, Integer image);
  TObjectPtr<TMemDataSet> colors;        // the lookup table
  TObjectPtr<TDataSource> colorSource;   // over colors
  TObjectPtr<TMemDataSet> people;        // the main table
  TObjectPtr<TDataSource> peopleSource;  // over people
};

// A vision of type V bound to field name of the people through an editor.
template <class V>
class TListBench {
 public:
  TListBench() : consumer(Create<TStubConsumer>(nullptr)), vision(Create<V>(nullptr)) {
    consumer->Fields().SetVision(vision.get());
  }
  void Open(const String& name) {
    editor.reset();
    consumer->Attach(data.peopleSource.get(), name);
    editor = std::make_unique<TCompletingEditor>(*consumer);
    editor->Load();
  }
  TtlFieldList& List() { return consumer->Fields(); }
  String Text() { return vision->GetFieldText(&List(), true); }
  // Starts editing as the edit does on entering edit state.
  void Enter() {
    List().StartEdit(true);
    vision->InitEdit(editor.get());
    editor->Load();
    editor->text = vision->GetFieldText(&List(), false);
  }
  bool Post() { return vision->PostEdit(editor.get(), false); }

  TListData data;
  TObjectPtr<TStubConsumer> consumer;
  TObjectPtr<V> vision;
  std::unique_ptr<TCompletingEditor> editor;
};

}  // namespace listtest
