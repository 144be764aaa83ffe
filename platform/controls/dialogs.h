// The standard dialogs, drawn by the platform as its own modal forms built
// from the standard controls: message dialogs, input queries, the colour
// dialog and the open and save dialogs (with picture previews).
//
// Every dialog logs itself (ModalLog) and asks for a scripted answer of its
// kind before it waits for the user (test_hooks.h):
//
//   kind                 value answer                      action subject
//   "MessageDlg"         the modal result (mrYes ...)      TMessageDialogForm
//   "InputQuery"         mrOk keeps the value, else cancel TInputQueryForm
//   "ColorDialog"        mrOk keeps Color, else cancel     TColorDialogForm
//   "OpenDialog" ...     mrOk accepts FileName as it is    TFileDialogForm
//
// The file dialogs use "OpenDialog", "SaveDialog", "OpenPictureDialog" and
// "SavePictureDialog". An action acts on the shown form with real input (the
// forms give their controls and the screen rectangles of list items) and the
// modal loop then processes what it did. ShowMessage is a MessageDlg.
//
// File dialogs read the real file system and never write to it: the caller
// writes the file. Bad input (a folder that does not exist, a missing file
// where one must exist, a file that is not a picture in the open picture
// dialog) shows a message and keeps the dialog open; the save dialog with
// ofOverwritePrompt asks before it answers an existing file.
#pragma once

#include <functional>
#include <vector>

#include "controls/forms.h"
#include "graphics/colors.h"
#include "rtl/sets.h"

namespace brevant {

class TButton;
class TCheckBox;
class TEdit;
class TImage;
class TLabel;
class TPanel;
class TStrings;

// ---- message dialogs ------------------------------------------------------------------------
enum TMsgDlgType : Byte { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
BV_DECLARE_ENUM_INFO(TMsgDlgType)
enum TMsgDlgBtn : Byte {
  mbYes,
  mbNo,
  mbOK,
  mbCancel,
  mbAbort,
  mbRetry,
  mbIgnore,
  mbAll,
  mbNoToAll,
  mbYesToAll,
  mbHelp
};
BV_DECLARE_ENUM_INFO(TMsgDlgBtn)
using TMsgDlgButtons = TSet<TMsgDlgBtn>;

inline constexpr TMsgDlgButtons mbYesNo{mbYes, mbNo};
inline constexpr TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline constexpr TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline constexpr TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};

// The form of a message dialog: an icon for its type, the text and one
// button per element of the set, in the order of TMsgDlgBtn. The first
// button is the default; Escape and the close box answer Cancel, else No,
// else OK (the cancelling button). Help does not close the dialog: it calls
// the dialog help handler with the help context.
class TMessageDialogForm : public TForm {
  BV_CLASS(TMessageDialogForm, TForm)
 public:
  using TForm::TForm;
  TMsgDlgType DlgType = mtCustom;
  String Message;
  TRect TextRect;
  Integer HelpContext = 0;
  // The buttons in order; Button(mbOK) finds one (nullptr when absent).
  std::vector<TButton*> Buttons;
  TButton* Button(TMsgDlgBtn kind) const;
  // The answer of Escape and of the close box.
  TModalResult CancelResult = mrCancel;

 protected:
  void Paint() override;
};

// A message dialog form, not shown; the caller frees it. An empty set of
// buttons gives OK alone.
TMessageDialogForm* CreateMessageDialog(const String& msg, TMsgDlgType type,
                                        TMsgDlgButtons buttons);
// Shows a message dialog modally and answers the button's modal result
// (mrYes, mrOk ...). The caption is the type's name ("Warning" ...), the
// application's title for mtCustom.
Integer MessageDlg(const String& msg, TMsgDlgType type, TMsgDlgButtons buttons,
                   Integer helpCtx = 0);
// The message with an OK button and the application's title as caption.
void ShowMessage(const String& msg);

// What the Help button of a message dialog calls (empty: the button is
// disabled).
using TDialogHelpHandler = std::function<void(Integer helpContext)>;
void SetDialogHelpHandler(TDialogHelpHandler handler);

// ---- input query ----------------------------------------------------------------------------
// A prompt, a one-line edit and OK / Cancel.
class TInputQueryForm : public TForm {
  BV_CLASS(TInputQueryForm, TForm)
 public:
  using TForm::TForm;
  TLabel* Prompt = nullptr;
  TEdit* Edit = nullptr;
  TButton* OkButton = nullptr;
  TButton* CancelButton = nullptr;
};

// Asks for a line of text starting from value; on OK value takes the edit's
// text and the answer is true. Cancel leaves value unchanged.
bool InputQuery(const String& caption, const String& prompt, String& value);
// The entered text, or defaultValue when cancelled.
String InputBox(const String& caption, const String& prompt, const String& defaultValue);

// ---- common dialog base ---------------------------------------------------------------------
class TCommonDialog : public TComponent {
  BV_CLASS(TCommonDialog, TComponent)
 public:
  using TComponent::TComponent;
  // Shows the dialog modally; true when the user accepted it.
  virtual bool Execute() = 0;
  // The caption (empty: the dialog's own).
  const String& Title() const { return title_; }
  void SetTitle(const String& value) { title_ = value; }
  Integer HelpContext() const { return helpContext_; }
  void SetHelpContext(Integer value) { helpContext_ = value; }
  // Fired with the dialog's form shown (before any scripted action) and
  // after it closed.
  TNotifyEvent OnShow;
  TNotifyEvent OnClose;

 protected:
  // Runs form modally under kind's scripted answer; answers its result.
  TModalResult RunForm(TCustomForm* form, const String& kind);

 private:
  String title_;
  Integer helpContext_ = 0;
};

// ---- list box used by the dialogs -----------------------------------------------------------
// A single-selection list of text lines with a vertical scroll bar: a click
// selects, a double click fires OnDblClick, Up/Down/PgUp/PgDn/Home/End move,
// a typed letter moves to the next item starting with it. Return fires
// OnReturn when WantReturn is set (else the form's default button takes it).
class TDialogListBox : public TCustomControl {
  BV_CLASS(TDialogListBox, TCustomControl)
 public:
  explicit TDialogListBox(TComponent* owner);

  const std::vector<String>& Items() const { return items_; }
  // Replaces the items; ItemIndex becomes -1 and the list scrolls to the top.
  void SetItems(std::vector<String> items);
  Integer Count() const { return static_cast<Integer>(items_.size()); }
  // -1: none. Values outside the items select none. Fires OnChange.
  Integer ItemIndex() const { return itemIndex_; }
  void SetItemIndex(Integer value);
  // The selected item's text ("" when none).
  String SelectedText() const;
  Integer IndexOf(const String& text) const;
  Integer TopIndex() const { return topIndex_; }
  void SetTopIndex(Integer value);
  Integer ItemHeight() const;
  // The item's rectangle in client coordinates (empty when scrolled out).
  TRect ItemRect(Integer index) const;
  // The centre of the item in screen coordinates (scrolled into view first),
  // for tests and scripted actions.
  TPoint ItemScreenPoint(Integer index);
  void MakeVisible(Integer index);
  bool WantReturn() const { return wantReturn_; }
  void SetWantReturn(bool value) { wantReturn_ = value; }

  TNotifyEvent OnChange;
  TNotifyEvent OnReturn;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Paint() override;
  void KeyDown(Word& key, TShiftState shift) override;
  void KeyPress(char32_t& key) override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void WMGetDlgCode(TMessage& message) override;
  void CMWantSpecialKey(TMessage& message) override;
  void WMVScroll(TMessage& message) override;
  void WMMouseWheel(TMessage& message) override;
  void WMSize(TMessage& message) override;
  void CMEnter(TMessage& message) override;
  void CMExit(TMessage& message) override;

 private:
  Integer VisibleRows() const;
  void UpdateScrollBar();

  std::vector<String> items_;
  Integer itemIndex_ = -1;
  Integer topIndex_ = 0;
  bool wantReturn_ = false;
};

// ---- colour dialog --------------------------------------------------------------------------
// The palette: 48 basic colours (8 x 6) above 16 custom colours (8 x 2).
// Arrow keys and clicks move the selection; a double click accepts.
class TColorPalette : public TCustomControl {
  BV_CLASS(TColorPalette, TCustomControl)
 public:
  explicit TColorPalette(TComponent* owner);
  static constexpr Integer kColumns = 8, kBasicRows = 6, kCustomRows = 2, kCellW = 24, kCellH = 20,
                           kCustomGap = 24;
  static constexpr Integer kBasicCount = kColumns * kBasicRows;
  static constexpr Integer kCellCount = kBasicCount + kColumns * kCustomRows;
  // The cell's colour: basic cells 0..47, custom cells 48..63.
  TColor CellColor(Integer index) const;
  void SetCustomColor(Integer customIndex, TColor color);
  // -1: none selected. Fires OnChange.
  Integer Selected() const { return selected_; }
  void SetSelected(Integer value);
  // The first cell with the colour (basic before custom), or -1.
  Integer IndexOfColor(TColor color) const;
  // The cell in client coordinates, and its centre on the screen.
  TRect CellRect(Integer index) const;
  TPoint CellScreenPoint(Integer index) const;

  TNotifyEvent OnChange;

 protected:
  void Paint() override;
  void KeyDown(Word& key, TShiftState shift) override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void WMGetDlgCode(TMessage& message) override;
  void CMEnter(TMessage& message) override;
  void CMExit(TMessage& message) override;

 private:
  Integer CellAt(Integer x, Integer y) const;
  TColor custom_[kColumns * kCustomRows] = {};
  Integer selected_ = -1;
};

class TColorDialogForm : public TForm {
  BV_CLASS(TColorDialogForm, TForm)
 public:
  using TForm::TForm;
  TColorPalette* Palette = nullptr;
  TPanel* Sample = nullptr;
  // Red, green and blue of the colour, 0 .. 255; typing changes the colour.
  TEdit* RedEdit = nullptr;
  TEdit* GreenEdit = nullptr;
  TEdit* BlueEdit = nullptr;
  TButton* AddCustomButton = nullptr;
  TButton* OkButton = nullptr;
  TButton* CancelButton = nullptr;
  // The colour chosen now.
  TColor CurrentColor() const { return color_; }
  void SetCurrentColor(TColor value, bool fromEdits = false);
  // The colour the edits give; false (with the bad edit focused and a
  // message shown) when one is not a number 0..255.
  bool ReadEdits(TColor& color);

  // Handlers the form text binds by name.
  void PaletteChange(TObject* sender);
  void EditChange(TObject* sender);
  void AddCustomClick(TObject* sender);

 protected:
  bool CloseQuery() override;
  void Loaded() override;

 private:
  friend class TColorDialog;
  TColor color_ = clBlack;
  bool syncing_ = false;
  Integer nextCustom_ = 0;
};

class TColorDialog : public TCommonDialog {
  BV_CLASS(TColorDialog, TCommonDialog)
 public:
  explicit TColorDialog(TComponent* owner);
  ~TColorDialog() override;
  bool Execute() override;
  TColor Color() const { return color_; }
  void SetColor(TColor value) { color_ = value; }
  // Up to 16 lines "ColorA=BBGGRR" .. "ColorP=BBGGRR" (hexadecimal), read
  // into the custom cells and written back after OK. Bad lines are ignored.
  TStrings* CustomColors() const { return customColors_; }
  void SetCustomColors(TStrings* value);

 private:
  TColor color_ = clBlack;
  TStrings* customColors_ = nullptr;
};

// ---- open and save dialogs ------------------------------------------------------------------
enum TOpenOption : Byte {
  ofReadOnly,
  ofOverwritePrompt,
  ofHideReadOnly,
  ofNoChangeDir,
  ofShowHelp,
  ofNoValidate,
  ofAllowMultiSelect,
  ofExtensionDifferent,
  ofPathMustExist,
  ofFileMustExist,
  ofCreatePrompt,
  ofShareAware,
  ofNoReadOnlyReturn,
  ofNoTestFileCreate,
  ofNoNetworkButton,
  ofNoLongNames,
  ofOldStyleDialog,
  ofNoDereferenceLinks,
  ofEnableIncludeNotify,
  ofEnableSizing
};
BV_DECLARE_ENUM_INFO(TOpenOption)
using TOpenOptions = TSet<TOpenOption>;
BV_DECLARE_ENUM_INFO(TOpenOptions)

class TOpenDialog;

// The file dialog's form: the folder shown, its sub-folders and the files
// matching the chosen filter, a file-name edit, the filter list and the
// buttons; picture dialogs add a preview.
class TFileDialogForm : public TForm {
  BV_CLASS(TFileDialogForm, TForm)
 public:
  using TForm::TForm;
  TLabel* FolderLabel = nullptr;
  TDialogListBox* FolderList = nullptr;  // ".." first, then the sub-folders
  TDialogListBox* FileList = nullptr;
  TEdit* FileNameEdit = nullptr;
  TDialogListBox* FilterList = nullptr;
  TCheckBox* ReadOnlyCheck = nullptr;
  TButton* OkButton = nullptr;
  TButton* CancelButton = nullptr;
  TImage* Preview = nullptr;       // picture dialogs only
  TLabel* PreviewLabel = nullptr;  // "width x height", or why there is none

  // The folder shown (absolute, no trailing separator except the root).
  const String& Folder() const { return folder_; }
  // Shows another folder; false (with a message) when it cannot be read.
  bool ChangeFolder(const String& folder);
  // The masks of the chosen filter ("*.bmp" ...).
  const std::vector<String>& Masks() const { return masks_; }

  // Handlers the form text binds by name.
  void FolderOpen(TObject* sender);
  void FileChange(TObject* sender);
  void FileDblClick(TObject* sender);
  void OkClick(TObject* sender);

 protected:
  bool CloseQuery() override;
  void Loaded() override;

 private:
  friend class TOpenDialog;
  void Refresh();
  void FilterChange(TObject* sender);
  void UpdatePreview(const String& path);
  bool Accept();

  TOpenDialog* dialog_ = nullptr;
  String folder_;
  std::vector<String> masks_;
  String result_;  // the accepted file's full path
};

// The file dialog of the picture dialogs: wider, with the preview on the right
// (its form text inherits the file dialog's).
class TPictureDialogForm : public TFileDialogForm {
  BV_CLASS(TPictureDialogForm, TFileDialogForm)
 public:
  using TFileDialogForm::TFileDialogForm;
};

class TOpenDialog : public TCommonDialog {
  BV_CLASS(TOpenDialog, TCommonDialog)
 public:
  explicit TOpenDialog(TComponent* owner);
  ~TOpenDialog() override;
  bool Execute() override;

  // The chosen file with its full path; a name given before Execute is
  // proposed (its folder is where the dialog starts).
  const String& FileName() const { return fileName_; }
  void SetFileName(const String& value) { fileName_ = value; }
  // The chosen files (one line: the file).
  TStrings* Files() const { return files_; }
  // "Description|*.a;*.b|Description|*.c": pairs of a description and masks.
  const String& Filter() const { return filter_; }
  void SetFilter(const String& value) { filter_ = value; }
  // The chosen filter, counted from 1.
  Integer FilterIndex() const { return filterIndex_; }
  void SetFilterIndex(Integer value) { filterIndex_ = value; }
  // Where the dialog starts when FileName names no existing folder; then
  // the folder of the last accepted file; then the working folder.
  const String& InitialDir() const { return initialDir_; }
  void SetInitialDir(const String& value) { initialDir_ = value; }
  // Appended (without the dot) to a typed name that has no extension.
  const String& DefaultExt() const { return defaultExt_; }
  void SetDefaultExt(const String& value) { defaultExt_ = value; }
  TOpenOptions Options() const { return options_; }
  void SetOptions(TOpenOptions value) { options_ = value; }

  // The filter's pairs: descriptions and their masks.
  struct TFilterItem {
    String Description;
    std::vector<String> Masks;
  };
  std::vector<TFilterItem> FilterItems() const;
  // The folder the last accepted file of any file dialog was in ("": none).
  static String LastFolder();
  static void SetLastFolder(const String& folder);

 protected:
  friend class TFileDialogForm;
  virtual bool IsSave() const { return false; }
  virtual bool IsPicture() const { return false; }
  virtual String Kind() const { return "OpenDialog"; }
  virtual String DefaultTitle() const;

 private:
  String StartFolder() const;

  String fileName_;
  TStrings* files_ = nullptr;
  String filter_;
  Integer filterIndex_ = 1;
  String initialDir_;
  String defaultExt_;
  TOpenOptions options_{ofHideReadOnly, ofEnableSizing};
};

class TSaveDialog : public TOpenDialog {
  BV_CLASS(TSaveDialog, TOpenDialog)
 public:
  using TOpenDialog::TOpenDialog;

 protected:
  bool IsSave() const override { return true; }
  String Kind() const override { return "SaveDialog"; }
  String DefaultTitle() const override;
};

// The open dialog with a preview of the selected picture; only files the
// picture loader reads are accepted. Filter defaults to the picture types.
class TOpenPictureDialog : public TOpenDialog {
  BV_CLASS(TOpenPictureDialog, TOpenDialog)
 public:
  explicit TOpenPictureDialog(TComponent* owner);

 protected:
  bool IsPicture() const override { return true; }
  String Kind() const override { return "OpenPictureDialog"; }
};

class TSavePictureDialog : public TSaveDialog {
  BV_CLASS(TSavePictureDialog, TSaveDialog)
 public:
  explicit TSavePictureDialog(TComponent* owner);

 protected:
  bool IsPicture() const override { return true; }
  String Kind() const override { return "SavePictureDialog"; }
};

// The filter of the picture dialogs: all pictures, bitmaps, PNG images.
String GraphicFilter();
// Whether a file name matches a mask with * and ? (letters compared
// ignoring case; "*.*" matches every name).
bool MatchesMask(const String& name, const String& mask);

// Registers the dialog components for form streams.
void RegisterDialogClasses();
// Registers the form texts of the colour and file dialogs, and the classes
// they name; the dialogs call it before they create their forms.
void RegisterDialogForms();

}  // namespace brevant
