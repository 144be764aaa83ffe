// Shared pieces of the date, time and numeric vision tests: one record with
// a field of every value type, an editor stand-in that also offers the text
// side (caret, SetEditText, selection), and a fixture that binds a vision to
// one field and types, posts and spins through it.
#pragma once

#include <memory>

#include "bv/vision_test_util.h"
#include "bv/vision_editor_ext.h"
#include "db/field.h"
#include "rtl/datetime.h"

namespace valuetest {

using namespace brevant;
using visiontest::TStubConsumer;
using visiontest::TStubEditor;

// One record: Stamp (date-time), Day (date), Clock (time), Count (integer),
// Ratio (float), Price (currency), Name (string of 10), all null.
struct TValueData {
  TValueData();
  TField* Field(const String& name) const { return ds->FieldByName(name); }
  // Writes value into field name and posts the record.
  void Set(const String& name, const Variant& value);
  TObjectPtr<TMemDataSet> ds;      // the record
  TObjectPtr<TDataSource> source;  // what consumers link to
};

// The editor stand-in with a caret and a selection; SetEditText does what
// the data-aware edit does: start the edit, replace the text as typed, and
// clear Modified.
class TTextEditor : public TStubEditor, public IznVisionTextEditor {
 public:
  using TStubEditor::TStubEditor;
  Integer caret = 0;      // EditCaret's answer
  Integer selStart = 0;   // the selection set last
  Integer selLength = 0;  // its length

  Integer EditCaret() override { return caret; }
  bool SetEditText(const String& value, bool selectAll) override;
  void SelectEditText(Integer start, Integer length) override {
    selStart = start;
    selLength = length;
  }
};

// A vision of type V bound to one field of data through an edit.
template <class V>
class TVisionBench {
 public:
  TVisionBench() : consumer(Create<TStubConsumer>(nullptr)), vision(Create<V>(nullptr)) {
    consumer->Fields().SetVision(vision.get());
  }
  // Binds to field name and loads the editor as an edit entering edit state.
  void Open(const String& name) {
    editor.reset();
    consumer->Attach(data.source.get(), name);
    editor = std::make_unique<TTextEditor>(*consumer);
    Reload();
  }
  // The current value and the edit text again from the field.
  void Reload() {
    editor->Load();
    editor->text = EditText();
  }
  TtlFieldList& List() { return consumer->Fields(); }
  String EditText() { return vision->GetFieldText(&List(), false); }
  String DisplayText() { return vision->GetFieldText(&List(), true); }
  // Types text into the edit as a user does and posts it.
  bool Post(const String& text) {
    List().StartEdit(true);
    editor->Type(text);
    return vision->PostEdit(editor.get(), false);
  }
  // A spin button press: bkMouse up, bkMouseDown down (and their keys).
  String Spin(Integer kind) {
    vision->ButtonAction(editor.get(), kind);
    return editor->text;
  }

  TValueData data;
  TObjectPtr<TStubConsumer> consumer;
  TObjectPtr<V> vision;
  std::unique_ptr<TTextEditor> editor;
};

// The form text of component, and a new component read back from it (its
// class registered).
String ToFormText(TComponent* component);
TComponent* FromFormText(const String& text);

// Date-times by parts.
inline TDateTime D(Word y, Word m, Word d) {
  return EncodeDate(y, m, d);
}
inline TDateTime T(Word h, Word n, Word s = 0) {
  return EncodeTime(h, n, s, 0);
}

}  // namespace valuetest
