// TbvDefPack: the hidden form of ready-made components: the stock visions
// applications pick by name, the tool forms the vision kinds open as their
// default drop-downs (list, calendar, calculator, blob picker), the
// designers of those tool forms and the context menus of the blob visions.
// It is read from its own form text, created once by the pack's start-up
// and never shown; the start-up registers its tool forms in the stock
// registry. Its handlers implement the drop-downs and the colour picker.
#pragma once

#include <memory>

#include "bv/field_vision_types.h"
#include "controls/forms.h"

namespace brevant {

class TBevel;
class TButton;
class TDBTabulon;
class TImage;
class TImageList;
class TLiteDesigner;
class TLiteVision;
class TMenuItem;
class TNumericVision;
class TPanel;
class TPopupMenu;
class TQuentaCalendar;
class TRichEdit;
class TSpeedButton;
class TStandardVision;
class TtlFieldList;
class TtlPainter;
class TfvPainter;
class TtlFieldValue;
class TVisionToolForm;
class TznCalcEngine;
class TznFieldVision;
struct TznSizingInfo;

class TbvDefPack : public TForm {
  BV_CLASS(TbvDefPack, TForm)
 public:
  using TForm::TForm;
  ~TbvDefPack() override;
  void BeforeDestruction() override;

  // ---- the components of the form text ----
  TNumericVision* Calculator = nullptr;      // numeric vision with the calculator drop-down
  TStandardVision* ColorPicker = nullptr;    // colour names with swatches
  TLiteVision* visImagedText = nullptr;      // first column of the list tool form
  TImageList* NullImageList = nullptr;       // empty: reserves the image place of swatches
  TLiteDesigner* dsgDataList = nullptr;      // look of the list tool form's grid
  TVisionToolForm* vtfDataList = nullptr;    // the list tool form
  TDBTabulon* tlDataListList = nullptr;      // its grid
  TVisionToolForm* vtfCalendar = nullptr;    // the calendar tool form
  TQuentaCalendar* calCalendar = nullptr;    // its calendar
  TVisionToolForm* vtfBlobPicker = nullptr;  // the text and picture picker
  TPanel* pnBlobPickerBG = nullptr;          // picker's client area
  TPanel* pnBlobPickerCtrl = nullptr;        // picker's bottom strip
  TButton* btnBlobPickerOK = nullptr;        // accepts the picker
  TButton* btnBlobPickerCancel = nullptr;    // discards the picker
  TPopupMenu* BlobContextMenu = nullptr;     // default popup of image editors
  TPopupMenu* PictureContextMenu = nullptr;  // popup of the picture picker
  TVisionToolForm* vtfCalculator = nullptr;  // the calculator tool form
  TPanel* pnCalcMemory = nullptr;            // memory display
  TSpeedButton* sbCalcNum[10] = {};          // digits 0 to 9 (sbCalcNum0..sbCalcNum9)
  TSpeedButton* sbCalcSign = nullptr;        // +/-
  TSpeedButton* sbCalcDecSep = nullptr;      // decimal separator
  TSpeedButton* sbCalcC = nullptr;           // clear all
  TSpeedButton* sbCalcCE = nullptr;          // clear entry
  TSpeedButton* sbCalcBS = nullptr;          // backspace
  TSpeedButton* sbCalcDiv = nullptr;         // divide
  TSpeedButton* sbCalcMul = nullptr;         // multiply
  TSpeedButton* sbCalcMinus = nullptr;       // subtract
  TSpeedButton* sbCalcPlus = nullptr;        // add
  TSpeedButton* sbCalcSqrt = nullptr;        // square root
  TSpeedButton* sbCalcPercent = nullptr;     // percent
  TSpeedButton* sbCalc1divX = nullptr;       // reciprocal
  TSpeedButton* sbCalcMC = nullptr;          // memory clear
  TSpeedButton* sbCalcMR = nullptr;          // memory recall
  TSpeedButton* sbCalcMS = nullptr;          // memory store
  TSpeedButton* sbCalcMplus = nullptr;       // memory add
  TSpeedButton* sbCalcIs = nullptr;          // equals

  // ---- run-time state ----
  // The picker's text editor and picture control; at most one exists.
  TRichEdit* BlobText() const { return blobText_; }
  TImage* BlobImage() const { return blobImage_; }
  TznCalcEngine* Engine() const { return engine_.get(); }
  // The calculator button pressed last (nil before the first).
  TSpeedButton* LastPressed() const { return lastPressed_; }
  // The served edit's text when the calculator opened.
  const String& OpenedText() const { return openedText_; }
  // Shows button down for a moment, clicks it and releases it.
  void PressCalcButton(TSpeedButton* button);

  // ---- handlers bound by the form text ----
  void FormCreate(TObject* sender);
  void FormDestroy(TObject* sender);
  void vtfCalculatorShow(TObject* sender);
  void vtfCalculatorPaint(TObject* sender);
  void vtfCalculatorClose(TObject* sender);
  void vtfCalculatorKeyDown(TObject* sender, Word& key, TShiftState shift);
  void vtfCalculatorKeyPress(TObject* sender, char32_t& key);
  void sbCalcNumBtnClick(TObject* sender);
  void sbCalcSysOpBtnClick(TObject* sender);
  void sbCalcOpBtnClick(TObject* sender);
  void sbCalcMemOpBtnClick(TObject* sender);
  void sbCalcIsClick(TObject* sender);

  // cell drawing
  void TitleSurfaceDraw(TObject* sender, TtlFieldList* fields, TtlPainter* painter);
  void visImagedTextDraw(TObject* sender, TtlFieldList* fields, TtlPainter* painter);
  void visStateLabelDraw(TObject* sender, TtlFieldList* fields, TtlPainter* painter);
  // the list tool form
  void vtfListShow(TObject* sender);
  void vtfListClose(TObject* sender);
  void vtfListSizing(TObject* sender, TznSizingInfo& info);
  void vtfListKeyDown(TObject* sender, Word& key, TShiftState shift);
  // the calendar tool form
  void vtfCalendarShow(TObject* sender);
  void vtfCalendarPostChanges(TObject* sender);
  void calCalendarChange(TObject* sender);
  void calCalendarPickup(TObject* sender);
  // the blob picker and the blob menus
  void vtfBlobPickerShow(TObject* sender);
  void vtfBlobPickerPostChanges(TObject* sender);
  void vtfBlobPickerClose(TObject* sender);
  void vtfBlobPickerShortCut(TObject* sender, Word& key);
  void vtfBlobPickerEditAction(TObject* sender, TznEditAction action);
  void btnBlobPickerOKClick(TObject* sender);
  void PictureContextMenuPopup(TObject* sender);
  void miPictureContextClick(TObject* sender);
  void BlobContextMenuPopup(TObject* sender);
  void miBlobContextClick(TObject* sender);
  // the colour picker
  void ColorPickerGetText(TObject* sender, TtlFieldList* fields, bool displayText, String& value);
  void ColorPickerBeforePost(TObject* sender, TtlFieldList* fields, TtlFieldValue* value,
                             bool& posted);
  void ColorPickerDraw(TObject* sender, TtlFieldList* fields, TtlPainter* painter);
  void ColorPickerDrawEdit(TObject* sender, TtlFieldList* fields, TfvPainter* painter);
  void ColorPickerDblClick(TObject* sender, TtlFieldList* fields);

 protected:
  void Loaded() override;

 private:
  void BindComponents();
  void BindCalculator();
  void LoadTexts();
  // The list tool form's columns from ';'-lists of names and widths.
  void BuildListColumns(const String& names, const String& widths, Integer editWidth,
                        const String& related);
  // The vision kind's part of opening the list; answers the unique fields,
  // columns, widths, related field and whether the width is the edit's.
  bool ListLayoutOf(TznFieldVision* vision, Integer editWidth, String& unique, String& columns,
                    String& widths, String& related, bool& editWidthOnly);
  void ShowTextPicker(TznFieldVision* vision);
  void ShowPicturePicker(TznFieldVision* vision);
  // The picture picker's actions; answers whether the picture changed.
  bool PictureAction(TznEditAction action);
  void MarkPickerChanged();
  void BlobTextChange(TObject* sender);
  // The picture picker's vision's disabled actions, the blob menu's edit.
  bool PickerCanEdit() const;
  void StyleCalcButtons();
  // The engine's display reached the served edit (selected) or its failure.
  void EngineChanged(TObject* sender);
  void EngineError(TObject* sender, bool& handled);
  // Writes text into the edit the calculator serves.
  void WriteEditText(const String& text, bool selectAll);
  void RefreshMemory();
  // The button a key (no modifiers) or a character presses; nil for none.
  TSpeedButton* KeyButton(Word key) const;
  TSpeedButton* CharButton(char32_t key) const;

  TRichEdit* blobText_ = nullptr;          // picker's text editor (owned by the client panel)
  TImage* blobImage_ = nullptr;            // picker's picture control (same)
  std::unique_ptr<TznCalcEngine> engine_;  // the calculator's logic
  String openedText_;                      // the edit's text at opening
  TSpeedButton* lastPressed_ = nullptr;    // the button pressed last
};

// The pack, nil before its start-up and after its shut-down.
TbvDefPack* DefPack();
// Makes the pack's classes known to form streams.
void RegisterDefPackClasses();
// Creates the pack and registers its tool forms as the stock ones; nothing
// when it exists.
void StartDefPackUnit();
// Unregisters the stock tool forms and frees the pack.
void StopDefPackUnit();

// The pack for the length of a scope (a program's main).
class TDefPackUnit {
 public:
  TDefPackUnit() { StartDefPackUnit(); }
  ~TDefPackUnit() { StopDefPackUnit(); }
  TDefPackUnit(const TDefPackUnit&) = delete;
  TDefPackUnit& operator=(const TDefPackUnit&) = delete;
};

}  // namespace brevant
