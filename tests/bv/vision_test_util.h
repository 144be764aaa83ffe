// Stubs for the field vision tests: a consumer component that owns a field
// list and logs what the vision tells it, an edit control stand-in, and a
// painter that records what it is asked to draw.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "bv/field_list.h"
#include "bv/field_vision.h"
#include "bv/vision_painter.h"
#include "classes/component.h"
#include "db/datasource.h"
#include "db/mem_dataset.h"

namespace visiontest {

using namespace brevant;

// A consumer with its own data link on source. Its log holds "invalidate",
// "layout", "active", "title", "button", "style", "popup", "fields",
// "vision <name or nil>", "started", "posted".
class TStubConsumer : public TComponent, public IznFieldVisionConsumer {
  BV_CLASS(TStubConsumer, TComponent)
 public:
  explicit TStubConsumer(TComponent* owner = nullptr);
  ~TStubConsumer() override;

  TtlFieldList& Fields() { return *fields_; }
  TDataLink& Link() { return link_; }
  // Links to source, names the fields, binds them and computes Active.
  void Attach(TDataSource* source, const String& fieldNames);
  // Binds again against the link's dataset.
  void Rebind();
  // The log joined with ", ", then cleared.
  String Take();

  std::vector<String> log;
  bool canModify = true;           // answer of CanModify
  bool titleChanges = false;       // answer of UpdateTitle
  bool ignoreVisionFree = false;   // leaves the vision's free notification unanswered
  std::function<void()> onPosted;  // runs inside ValuePosted
  std::function<void()> onLayout;  // runs inside LayoutChanged

  TComponent* GetComponent() override { return this; }
  bool CanModify() override { return canModify; }
  bool CanStartEdit() override;
  void EditStarted() override { log.push_back("started"); }
  void ValuePosted() override;
  bool UpdateTitle() override;
  void UpdatePopupMenu() override { log.push_back("popup"); }
  void VisionChanged(TznFieldVision* vision) override;
  void FieldsChanged() override;
  void UpdateActive() override { log.push_back("active"); }
  void Invalidate() override { log.push_back("invalidate"); }
  void LayoutChanged() override;
  void ButtonChanged() override { log.push_back("button"); }
  void EditStyleChanged() override { log.push_back("style"); }

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TDataLink link_;
  std::unique_ptr<TtlFieldList> fields_;
};

// An edit control stand-in: typed text, mask answers, drop-down state and a
// log of what the vision asked ("discard", "release", "close accept",
// "close discard", "open", "select", "repaint", "grid post").
class TStubEditor : public IznVisionEditor {
 public:
  explicit TStubEditor(TStubConsumer& consumer) : consumer_(consumer), current_(this) {
    consumer_.Fields().SetEditor(this);
  }
  // Loads the current value from the fields, as an edit does on a change.
  void Load() { consumer_.Fields().Vision()->LoadCurrentValue(this); }
  // Replaces the text as typing does, marking the value typed into.
  void Type(const String& text);
  String Take();

  String text;
  bool masked = false;
  bool maskValid = true;
  bool droppedDown = false;
  bool inGrid = false;
  TEditCharCase charCase = ecNormal;
  char32_t passwordChar = 0;
  TfvEditorFace face;  // answer of EditorFace
  std::vector<String> log;

  TtlFieldList* EditorFieldList() override { return &consumer_.Fields(); }
  TfvCurrentValue* CurrentValue() override { return &current_; }
  String EditorText() override { return text; }
  bool HasEditMask() override { return masked; }
  bool EditTextValid() override { return maskValid; }
  void DiscardPendingKeys() override { log.push_back("discard"); }
  void ReleaseSwitches() override { log.push_back("release"); }
  bool DroppedDown() override { return droppedDown; }
  void OpenDropDown() override;
  void CloseDropDown(bool accept) override;
  void SelectAllText() override { log.push_back("select"); }
  void RepaintEditor() override { log.push_back("repaint"); }
  bool InGrid() override { return inGrid; }
  bool PostThroughGrid(bool) override;
  TRect FaceContentRect(const TRect& rect) override;
  TEditCharCase EditCharCase() override { return charCase; }
  char32_t EditPasswordChar() override { return passwordChar; }
  void DrawFace(TfvPainter*) override { log.push_back("face"); }
  TfvEditorFace EditorFace() override { return face; }

 private:
  TStubConsumer& consumer_;
  TfvCurrentValue current_;
};

// A painter over rows first..last that logs "prepare", "row N",
// "owner", "text <alignment> <text>", "image N", "advance".
class TStubPainter : public TtlPainter {
  BV_CLASS(TStubPainter, TtlPainter)
 public:
  TStubPainter() = default;
  String Take();
  std::vector<String> log;
  // Runs for every row after the reset (sets text or images, stops drawing).
  std::function<void(TStubPainter&)> onOwnerDraw;

  bool Prepare(TtlFieldList* fields) override;
  void DrawText(const String& text, TAlignment alignment, TTextLayout layout) override;
  void DrawImage(Integer index) override;
  void BeginColumn(TtlColumn* column, TCanvas* canvas, Integer dx, Integer dy, Integer firstRow,
                   Integer lastRow) override;
  bool NextRow() override;
  void Advance() override;
  void DrawOwnerCell() override;

 private:
  Integer row_ = 0;
  Integer lastRow_ = -1;
  Integer savedRecord_ = -1;
};

// An in-memory dataset with ID (integer), Name (string of 10), Amount
// (float), Debit (currency), Credit (float) and records ID = 1..n,
// Name = "R<i>", Amount = i * 1.5, Debit = i, Credit = 0.
TMemDataSet* MakeAccounts(Integer n, TComponent* owner);

// The accounts, open, behind a data source.
struct TAccounts {
  explicit TAccounts(Integer n = 3);
  TField* Field(const String& name) const;
  TObjectPtr<TMemDataSet> ds;      // the records
  TObjectPtr<TDataSource> source;  // the source consumers link to
};

}  // namespace visiontest
