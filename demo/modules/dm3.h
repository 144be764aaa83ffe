// TDM3: the hidden form that carries the rich-text drop-down tool form
// vtfDemo (a caption bar, a toolbar with font name and size edits and the
// bold, italic and underline buttons, the rich editor and a status bar),
// and TRichEditAttrs, the object whose FontName and FontSize the toolbar's
// data-aware edits show and change through an object dataset.
#pragma once

#include <memory>

#include "controls/forms.h"
#include "rtl/persistent.h"

namespace brevant {

class TDataSource;
class TDBQuentaEdit;
class TNumericVision;
class TObjDataSet;
class TPanel;
class TRichEdit;
class TSpeedButton;
class TStandardVision;
class TStatusBar;
class TVisionToolForm;

// The font of the rich editor's selection, as published properties.
class TRichEditAttrs : public TPersistent {
  BV_CLASS(TRichEditAttrs, TPersistent)
 public:
  explicit TRichEditAttrs(TRichEdit* edit = nullptr) : edit_(edit) {}
  String FontName() const;
  void SetFontName(const String& value);
  // Points; values below 1 raise EBVError and change nothing.
  Integer FontSize() const;
  void SetFontSize(Integer value);

 private:
  TRichEdit* edit_;  // the editor whose selection is read and written (not owned)
};

class TDM3 : public TForm {
  BV_CLASS(TDM3, TForm)
 public:
  using TForm::TForm;
  ~TDM3() override;

  // ---- the components of the form text ----
  TVisionToolForm* vtfDemo = nullptr;       // the rich-text drop-down
  TPanel* pnRtfCaption = nullptr;           // " RTF description", white on blue
  TPanel* pnToolBar = nullptr;              // the font edits and style buttons
  TDBQuentaEdit* edFontName = nullptr;      // FontName of dsAttrs
  TDBQuentaEdit* edFontSize = nullptr;      // FontSize of dsAttrs
  TSpeedButton* btnBold = nullptr;          // toggles bold (Tag 0)
  TSpeedButton* btnItalic = nullptr;        // toggles italic (Tag 1)
  TSpeedButton* btnUnderline = nullptr;     // toggles underline (Tag 2)
  TRichEdit* Edit = nullptr;                // the rich editor
  TStatusBar* StatusBar = nullptr;          // the status bar
  TObjDataSet* datAttrs = nullptr;          // the selection's font, one record
  TDataSource* dsAttrs = nullptr;           // source of datAttrs
  TStandardVision* visFontNames = nullptr;  // the screen's font names
  TNumericVision* visFontSize = nullptr;    // font sizes with a spin button

  TRichEditAttrs* Attrs() const { return attrs_.get(); }

  // ---- handlers bound by the form text ----
  // Creates the attributes object, opens datAttrs on it and fills the font
  // names.
  void FormCreate(TObject* sender);
  void FormDestroy(TObject* sender);
  // The toolbar follows the selection.
  void EditSelectionChange(TObject* sender);
  // The status bar moves onto the background window, the width is the
  // edit's, and the edit's font becomes the editor's.
  void vtfDemoShow(TObject* sender);
  // The status bar comes back onto the tool form.
  void vtfDemoClose(TObject* sender);
  // Toggles bold, italic or underline (by Tag) of the selection.
  void btnStyleClick(TObject* sender);

 protected:
  void Loaded() override;

 private:
  TObjectPtr<TRichEditAttrs> attrs_;  // the selection's font
};

}  // namespace brevant
