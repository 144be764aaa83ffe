// TznFieldVision: a non-visual component that decides how the values of one
// or more fields become text, are drawn in a cell, edited and written back.
// One vision serves any number of consumers; everything per consumer lives
// in the consumer's TtlFieldList, which nearly every operation receives. The
// overridable behaviour is one ordered list of virtual operations; the vision
// kinds override single ones. DefaultVision() serves consumers without a
// vision of their own.
#pragma once

#include <vector>

#include "bv/field_vision_types.h"
#include "classes/component.h"

namespace brevant {

class TBitmap;
class TChangeLink;
class TCanvas;
class TDataSet;
class TDataSource;
class TField;
class TImageList;
class TObjDataSet;
class TPopupMenu;
class TtlColumn;
class TVisionToolForm;
class TznUniValue;

class TznFieldVision : public TComponent {
  BV_CLASS(TznFieldVision, TComponent)
 public:
  explicit TznFieldVision(TComponent* owner = nullptr);
  ~TznFieldVision() override;
  // Lets go of every field list still registered (they fall back to the
  // default vision) once the consumers heard the free notification.
  void BeforeDestruction() override;

  // ---- the overridable operations, in order ----
  virtual void GetText(TtlFieldList* fields, bool displayText, String& text);
  virtual void PrepareDraw(TtlFieldList* fields, TfvPainter* painter);
  virtual void DrawCell(TtlFieldList* fields, TfvPainter* painter);
  virtual void DrawContent(TtlFieldList* fields, TfvPainter* painter);
  virtual void DrawInactive(TtlFieldList* fields, TfvPainter* painter);
  virtual Integer GetRowHeight(TtlColumn* column, Integer lines, Integer margins);
  virtual void CheckFields(TtlFieldList* fields, bool& active);
  virtual void ValueToText(TtlFieldList* fields, const TznUniValue& value, String& text);
  virtual void CanModifyFields(TtlFieldList* fields, bool& result);
  virtual void PostValue(TtlFieldList* fields, const TznUniValue& value);
  virtual void ReadEditValue(IznVisionEditor* editor, TznUniValue& value, bool& skip);
  virtual void InitEdit(IznVisionEditor* editor);
  virtual void AfterInitEdit(IznVisionEditor* editor);
  virtual void LoadCurrentValue(IznVisionEditor* editor);
  virtual void SwitchByKey(IznVisionEditor* editor, bool& posted);
  virtual void SwitchByMouse(IznVisionEditor* editor, bool& posted);
  virtual void CanSwitchByKey(IznVisionEditor* editor, Word key, bool& allow, TShiftState shift);
  virtual void CanSwitchAt(IznVisionEditor* editor, Integer x, Integer y, bool& allow,
                           TShiftState shift);
  virtual void GetEditMask(TtlFieldList* fields, String& mask);
  virtual void ButtonClick(IznVisionEditor* editor);
  virtual void DblClick(IznVisionEditor* editor);
  virtual bool AutoComplete(IznVisionEditor* editor, String& text, Integer& selEnd,
                            Integer& selStart, const String& previousText);
  virtual void KeyDown(IznVisionEditor* editor, Word& key, TShiftState shift);
  virtual void KeyPress(IznVisionEditor* editor, char32_t& key);
  virtual void EditAction(IznVisionEditor* editor, TznEditAction action);
  virtual void ShowDropDown(IznVisionEditor* editor, TVisionToolForm* toolForm);
  virtual TAlignment GetAlignment(TtlFieldList* fields);
  virtual TznDefLayout GetLayout(TtlFieldList* fields);
  virtual void GetCaption(TtlFieldList* fields, String& caption);
  virtual Integer GetMaxLength(TtlFieldList* fields);
  virtual TPopupMenu* GetPopupMenu();
  virtual bool IsValidChar(TtlFieldList* fields, char32_t key);
  virtual bool WantArrows();
  virtual void GetSearchText(TtlFieldList* fields, String& text);
  virtual bool CanDropDown(Integer reason);
  virtual TVisionToolForm* GetDropDown();

  // ---- the fixed operations ----
  // The only way consumers obtain text: GetText, then OnGetText.
  String GetFieldText(TtlFieldList* fields, bool displayText);
  // Text of a value not read from the fields (footers): empty for null.
  String FormatValue(TtlFieldList* fields, const TznUniValue& value);
  // False when ReadOnly, else CanModifyFields.
  bool CanModify(TtlFieldList* fields);
  // The text alignment consumers use: Alignment unless talDefault, else
  // GetAlignment.
  TAlignment TextAlignment(TtlFieldList* fields);
  // BeforeEdit's answer (True without a handler).
  bool AllowEdit(TtlFieldList* fields);
  // The single entry for the editor button, spin halves, combo clicks and
  // their keys.
  void ButtonAction(IznVisionEditor* editor, Integer kind);
  // Writes the editor's value into the fields; True when something was
  // written (or BeforePost took it).
  bool PostEdit(IznVisionEditor* editor, bool selectAll);
  // In a grid: the grid finishes editing with its post action (True when
  // the editor closed); a standalone edit posts.
  bool PostOrMove(IznVisionEditor* editor, bool selectAll);
  // Whether a switch may start in editor now (the editor checks its own
  // edit state first).
  bool CanStartSwitch(IznVisionEditor* editor);
  // Runs a released switch; True when it was posted.
  bool PerformSwitch(IznVisionEditor* editor, bool byKey);
  // Paints the column of fields.Column() from firstRow to lastRow through
  // the grid's painter.
  void DrawCells(TtlPainter* painter, TtlFieldList* fields, TCanvas* canvas, Integer dx, Integer dy,
                 Integer firstRow, Integer lastRow);
  // Paints an edit control's face through the editors' painter.
  void DrawEditor(TfvPainter* painter, IznVisionEditor* editor, TCanvas* canvas, const TRect& rect);
  // The editor's own data source and object dataset (owned by its field
  // list), created on first request; list visions show their lists there.
  TDataSource* EditDataSource(IznVisionEditor* editor);
  TObjDataSet* EditObjDataSet(IznVisionEditor* editor);

  // ---- registration ----
  void RegisterFieldList(TtlFieldList* fields);
  void UnregisterFieldList(TtlFieldList* fields);
  Integer FieldListCount() const { return static_cast<Integer>(lists_.size()); }
  bool IsRegistered(const TtlFieldList* fields) const;

  // ---- published ----
  const String& Caption() const { return caption_; }
  void SetCaption(const String& value);
  const String& Description() const { return description_; }
  void SetDescription(const String& value) { description_ = value; }
  const String& RelatedFields() const { return relatedFields_; }
  void SetRelatedFields(const String& value);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value) { readOnly_ = value; }

  // ---- declared here, published by the kinds that use them ----
  TznDefAlignment Alignment() const { return alignment_; }
  void SetAlignment(TznDefAlignment value);
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* value);
  TznAlignImage AlignImage() const { return alignImage_; }
  void SetAlignImage(TznAlignImage value);
  bool DrawText() const { return drawText_; }
  void SetDrawText(bool value);
  bool DrawImages() const { return drawImages_; }
  void SetDrawImages(bool value);
  Integer MaxLength() const { return maxLength_; }
  // Negative values raise EBVError and keep the old value.
  void SetMaxLength(Integer value);
  const String& EditMask() const { return editMask_; }
  void SetEditMask(const String& value) { editMask_ = value; }
  bool EditWordWrap() const { return editWordWrap_; }
  void SetEditWordWrap(bool value);
  TScrollStyle EditScrollBars() const { return editScrollBars_; }
  void SetEditScrollBars(TScrollStyle value);
  bool EditReadOnly() const { return editReadOnly_; }
  void SetEditReadOnly(bool value) { editReadOnly_ = value; }
  bool ComboBoxStyle() const { return comboBoxStyle_; }
  void SetComboBoxStyle(bool value) { comboBoxStyle_ = value; }
  bool EnableButton() const { return enableButton_; }
  void SetEnableButton(bool value);
  TznButtonStyle ButtonStyle() const { return buttonStyle_; }
  void SetButtonStyle(TznButtonStyle value);
  // Created (transparent) on first read; assigning copies, nil frees; both
  // make the style pbsCustom.
  TBitmap* ButtonGlyph();
  void SetButtonGlyph(TBitmap* value);
  bool IsButtonGlyphStored() const { return buttonGlyph_ != nullptr; }
  const TBitmap* ButtonGlyphIfAny() const { return buttonGlyph_; }
  TfvSwitchOptions OptionsSwitch() const { return optionsSwitch_; }
  void SetOptionsSwitch(TfvSwitchOptions value);
  TfvSurfaceKind SurfaceKind() const { return surfaceKind_; }
  void SetSurfaceKind(TfvSurfaceKind value);
  bool EnableDropDown() const { return enableDropDown_; }
  void SetEnableDropDown(bool value) { enableDropDown_ = value; }
  bool EnableSwitches() const { return enableSwitches_; }
  void SetEnableSwitches(bool value);
  bool WantReturns() const { return wantReturns_; }
  void SetWantReturns(bool value) { wantReturns_ = value; }
  bool WantTabs() const { return wantTabs_; }
  void SetWantTabs(bool value) { wantTabs_ = value; }

  // ---- unpublished state ----
  Integer ImageWidth() const { return imageWidth_; }
  Integer ImageHeight() const { return imageHeight_; }
  // The kind of the button action being dispatched, 0 outside one.
  Integer ButtonKind() const { return buttonKind_; }
  bool CompletesText() const { return completesText_; }
  bool MultiLine() const { return multiLine_; }
  // The inverse of vsoEditDataSet.
  bool WritesWithoutEdit() const { return writesWithoutEdit_; }

  // Copies Caption, Description, Alignment, RelatedFields, ReadOnly and Tag
  // from a vision of exactly this class.
  void Assign(const TPersistent* source) override;

  TfvNotifyEvent OnButtonClick;
  TfvNotifyEvent OnDblClick;
  TfvGetTextEvent OnGetText;
  TfvBeforeEditEvent BeforeEdit;
  TfvBeforePostEvent BeforePost;
  TfvNotifyEvent AfterPost;
  TfvNotifyEvent OnInitEdit;
  TfvDrawEvent OnDraw;
  TfvDrawEditEvent OnDrawEdit;
  TfvGetEditFontEvent OnGetEditFont;
  TfvActionEvent OnAction;

 protected:
  void Notification(TComponent* component, TOperation operation) override;
  void Loaded() override;
  void SetCompletesText(bool value) { completesText_ = value; }
  void SetMultiLine(bool value) { multiLine_ = value; }

  // ---- notifiers (repaint, layout and fields-active say nothing while
  // loading: consumers compute everything when they bind afterwards) ----
  void NotifyRepaint();
  void NotifyLayout();
  void NotifyFieldsActive();
  void NotifyTitle();
  void NotifyButton();
  void NotifyEditStyle();
  void NotifyPopupMenu();
  void NotifyFields();

 private:
  friend void SetDefaultVision(TznFieldVision* vision);
  static bool IsInstalledDefault(const TznFieldVision* vision);
  // Calls call(consumer) for every registered list, skipping lists that
  // left during the walk; nothing while loading when quietWhileLoading.
  template <class F>
  void ForEachConsumer(bool quietWhileLoading, F&& call);
  void ImagesChanged(TObject* sender);
  void UpdateImageSize();
  void GlyphChanged(TObject* sender);
  // The images and text of one cell, after the custom drawing steps.
  void DrawDefault(TtlFieldList* fields, TfvPainter* painter);
  // A browsing dataset enters edit state through the list's link before a
  // write, so no typed value is dropped by the dataset's state check.
  void PrepareWrite(TtlFieldList* fields);
  // Steps 5 and 6 of a post: answers whether a value went to the fields.
  bool WriteEditValue(IznVisionEditor* editor, TtlFieldList* fields, bool& result);

  std::vector<TtlFieldList*> lists_;  // registered field lists (not owned)
  TChangeLink* imageLink_ = nullptr;  // tells the vision of image-list changes
  Integer imageWidth_ = 0;            // image width, 0 unless drawn
  Integer imageHeight_ = 0;           // image height, 0 unless drawn
  Integer buttonKind_ = 0;            // button action being dispatched
  bool completesText_ = false;        // the vision completes typed text
  bool multiLine_ = false;            // the editor works multi-line
  bool writesWithoutEdit_ = false;    // the inverse of vsoEditDataSet
  bool settingGlyph_ = false;         // SetButtonGlyph is copying

  String caption_;                                  // proposed caption
  String description_;                              // free text
  String relatedFields_;                            // further field names, ';' separated
  bool readOnly_ = false;                           // never modifies data
  TznDefAlignment alignment_ = talDefault;          // horizontal alignment
  TImageList* images_ = nullptr;                    // cell images (not owned)
  TznAlignImage alignImage_ = aiDefault;            // side of the image
  bool drawText_ = true;                            // default drawing writes the text
  bool drawImages_ = true;                          // default drawing draws images
  Integer maxLength_ = 0;                           // editor text limit, 0: the field's size
  String editMask_;                                 // edit mask, empty: the field's
  bool editWordWrap_ = false;                       // the editor wraps lines
  TScrollStyle editScrollBars_ = ssNone;            // the editor's scroll bars
  bool editReadOnly_ = false;                       // the text cannot be typed into
  bool comboBoxStyle_ = false;                      // a click anywhere presses the button
  bool enableButton_ = false;                       // the editor shows a button
  TznButtonStyle buttonStyle_ = pbsDropDown;        // the button's look
  TBitmap* buttonGlyph_ = nullptr;                  // custom button picture (owned)
  TfvSwitchOptions optionsSwitch_{vsoEditDataSet};  // how values are written and switched
  TfvSurfaceKind surfaceKind_ = vskEdit;            // text edit or custom surface
  bool enableDropDown_ = false;                     // the drop-down may open
  bool enableSwitches_ = false;                     // clicks and keys switch the value
  bool wantReturns_ = false;                        // the editor keeps Return
  bool wantTabs_ = false;                           // the editor keeps Tab
};

// The vision of consumers without one. A plain base vision until a unit
// installs the process-wide default (SetDefaultVision); freed at exit.
TznFieldVision* DefaultVision();
// Makes the vision classes known to form streams.
void RegisterFieldVisionClasses();
// Installs vision (not owned; nil returns to the plain base vision). Field
// lists using the previous default move to the new one.
void SetDefaultVision(TznFieldVision* vision);

}  // namespace brevant
