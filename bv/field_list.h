// TtlFieldList binds one consumer (a column, an edit control, a text
// display) to its dataset fields and to the field vision that serves it; it
// holds everything that belongs to that consumer, so a vision can serve any
// number of consumers at once. TtlFieldValue and TfvCurrentValue are the
// values a post hands around and an editor's current value.
#pragma once

#include <memory>
#include <vector>

#include "bv/field_vision_types.h"
#include "bv_db/univalue.h"

namespace brevant {

class TDataLink;
class TDataSet;
class TDataSource;
class TObjDataSet;
class TznEditListData;
class TDBQuentaText;
class TField;
class TtlColumn;

// The value handed to BeforePost.
class TtlFieldValue : public TznUniValue {
  BV_CLASS(TtlFieldValue, TznUniValue)
 public:
  using TznUniValue::TznUniValue;
};

// An edit control's current value. Modified (inherited) means the value was
// set by a drop-down, a switch or code and is posted as it is; TextModified
// means the editor's text was typed into since the value was loaded.
class TfvCurrentValue : public TtlFieldValue {
  BV_CLASS(TfvCurrentValue, TtlFieldValue)
 public:
  // Typed values convert on type changes and never retype themselves.
  explicit TfvCurrentValue(IznVisionEditor* editor = nullptr)
      : TtlFieldValue(false, true), editor_(editor) {}
  IznVisionEditor* Editor() const { return editor_; }
  bool TextModified() const { return textModified_; }
  void SetTextModified(bool value) { textModified_ = value; }
  // The text before the latest change, kept for completion.
  const String& PreviousText() const { return previousText_; }
  // Every change of the editor's text lands here, whatever else the key
  // that caused it suppresses (completion): the value counts as typed into.
  void TextChanged(const String& previousText) {
    previousText_ = previousText;
    textModified_ = true;
  }

 private:
  IznVisionEditor* editor_;    // the owning edit control
  bool textModified_ = false;  // typed into since loaded
  String previousText_;        // the text before the latest change
};

class TtlFieldList {
 public:
  // consumer and owner are the same object seen two ways; kind is fokColumn,
  // fokEdit or fokText; link is the owner's data link (the grid's for a
  // column). A column owner is also the list's Column. The list takes the
  // default vision at once.
  TtlFieldList(IznFieldVisionConsumer* consumer, TObject* owner, Byte kind, TDataLink* link);
  ~TtlFieldList();
  TtlFieldList(const TtlFieldList&) = delete;
  TtlFieldList& operator=(const TtlFieldList&) = delete;

  IznFieldVisionConsumer* Consumer() const { return consumer_; }
  TObject* Owner() const { return owner_; }
  Byte OwnerKind() const { return ownerKind_; }
  TDataLink* DataLink() const { return dataLink_; }
  void SetDataLink(TDataLink* value) { dataLink_ = value; }
  TDataSet* DataSet() const { return dataSet_; }
  const String& FieldNames() const { return fieldNames_; }
  void SetFieldNames(const String& value) { fieldNames_ = value; }
  // Kept for the owner and the field mapper; no vision reads it.
  const String& Attrs() const { return attrs_; }
  void SetAttrs(const String& value) { attrs_ = value; }

  // The vision in use: the assigned one, else the default vision.
  TznFieldVision* Vision() const { return vision_; }
  // Moves to vision (nil: the default vision) and tells the consumer.
  void SetVision(TznFieldVision* vision);
  // Whether the vision was assigned rather than the default taken.
  bool VisionAssigned() const { return visionAssigned_; }

  // Resolves FieldNames and the vision's RelatedFields against dataSet: one
  // entry per ';' part, the first name of a ',' list that exists, nil when
  // none does or the dataset is nil or closed.
  void Bind(TDataSet* dataSet);
  Integer FieldCount() const { return static_cast<Integer>(fields_.size()); }
  // Entry index (0 the main field, 1.. the related fields); nil outside.
  TField* Fields(Integer index) const;
  TField* MainField() const { return fields_.front(); }

  bool Active() const { return active_; }
  void SetActive(bool value) { active_ = value; }
  // Asks the vision's CheckFields and stores the answer in Active.
  bool CheckActive();
  bool Editing() const { return editing_; }
  void SetEditing(bool value) { editing_ = value; }
  bool Starting() const { return starting_; }
  Integer UpdateCount() const { return updateCount_; }
  // Expires when the list is freed: a caller that runs handlers (which may
  // free the list's owner) checks it before touching the list again.
  std::weak_ptr<const bool> LifeToken() const { return alive_; }

  // The vision may modify and so may the consumer.
  bool CanEdit();
  // Starts an edit through this consumer (see the vision notes in
  // docs/field-visions.md); with keepEditing, Editing stays True.
  bool StartEdit(bool keepEditing);
  bool Edit() { return StartEdit(false); }
  void BeginUpdate() { ++updateCount_; }
  // The outermost EndUpdate with posted reports ValuePosted.
  void EndUpdate(bool posted);

  // Set by the owners that know them.
  TtlColumn* Column() const { return column_; }
  void SetColumn(TtlColumn* value) { column_ = value; }
  IznVisionEditor* Editor() const { return editor_; }
  void SetEditor(IznVisionEditor* value) { editor_ = value; }
  TDBQuentaText* TextControl() const { return textControl_; }
  void SetTextControl(TDBQuentaText* value) { textControl_ = value; }

  // Computed by the consumer (UpdateTitle).
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value) { alignment_ = value; }
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout value) { layout_ = value; }
  const String& Caption() const { return caption_; }
  void SetCaption(const String& value) { caption_ = value; }
  const String& DisplayFormat() const { return displayFormat_; }
  void SetDisplayFormat(const String& value) { displayFormat_ = value; }
  const String& EditFormat() const { return editFormat_; }
  void SetEditFormat(const String& value) { editFormat_ = value; }

  // The edit's own object dataset and data source for list drop-downs,
  // created on first request; FreeEditListData lets them go (the edit calls
  // it when it leaves edit state, the list's end does it too).
  TObjDataSet* EditObjDataSet();
  TDataSource* EditDataSource();
  void FreeEditListData();
  bool HasEditListData() const { return editListData_ != nullptr; }

 private:
  friend class TznFieldVision;
  friend void SetDefaultVision(TznFieldVision* vision);
  // The vision is going: fall back to the default vision (the consumer
  // normally did so already from its free notification).
  void VisionGone(TznFieldVision* vision);
  void TakeVision(TznFieldVision* vision);
  TznEditListData& EditListData();

  IznFieldVisionConsumer* consumer_;      // the owner seen as consumer
  TObject* owner_;                        // the owner itself (a column is no component)
  Byte ownerKind_;                        // fokColumn, fokEdit or fokText
  TDataLink* dataLink_;                   // the owner's data link
  TDataSet* dataSet_ = nullptr;           // the dataset of the last Bind
  String fieldNames_;                     // the owner's FieldName / DataField
  String attrs_;                          // the owner's Attrs
  TznFieldVision* vision_ = nullptr;      // assigned vision, else the default (nil only at exit)
  bool visionAssigned_ = false;           // vision_ was assigned, not defaulted
  std::vector<TField*> fields_{nullptr};  // main field, then related fields
  bool active_ = false;                   // link active and fields accepted
  bool editing_ = false;                  // an edit started and not finished
  bool starting_ = false;                 // StartEdit is running
  Integer updateCount_ = 0;               // BeginUpdate nesting
  TtlColumn* column_ = nullptr;           // the column served or edited
  IznVisionEditor* editor_ = nullptr;     // the edit control, if any
  TDBQuentaText* textControl_ = nullptr;  // the text display, if any
  TAlignment alignment_ = taLeftJustify;  // effective horizontal alignment
  TTextLayout layout_ = tlTop;            // effective vertical alignment
  String caption_;                        // effective caption
  String displayFormat_;                  // the consumer's display format
  String editFormat_;                     // the consumer's edit format
  std::unique_ptr<TznEditListData> editListData_;  // the edit's list dataset, if requested
  std::shared_ptr<const bool> alive_ = std::make_shared<const bool>(true);  // see LifeToken
};

// A BeginUpdate/EndUpdate bracket: Finish(posted) ends it on success; a
// bracket left any other way ends with posted False. A list freed inside
// the bracket is left alone.
class TFieldListUpdate {
 public:
  explicit TFieldListUpdate(TtlFieldList& list) : list_(list), alive_(list.LifeToken()) {
    list_.BeginUpdate();
  }
  ~TFieldListUpdate() {
    if (open_ && !alive_.expired()) list_.EndUpdate(false);
  }
  TFieldListUpdate(const TFieldListUpdate&) = delete;
  TFieldListUpdate& operator=(const TFieldListUpdate&) = delete;
  void Finish(bool posted) {
    open_ = false;
    if (!alive_.expired()) list_.EndUpdate(posted);
  }

 private:
  TtlFieldList& list_;               // the bracketed list
  std::weak_ptr<const bool> alive_;  // expires with the list
  bool open_ = true;                 // Finish has not run
};

}  // namespace brevant
