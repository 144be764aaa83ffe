// The blob visions that edit in the cell: TMemoVision (long text in a
// multi-line editor) and TImageVision (a bitmap blob drawn in the cell and
// edited through clipboard, file and preview actions). The drop-down blob
// visions are in blob_visions_dropdown.h.
#pragma once

#include <cstddef>
#include <unordered_set>

#include "bv/field_vision.h"
#include "bv_std/state_visions_types.h"

namespace brevant {

class TBitmap;

// Editing actions an image or picture vision refuses.
enum TfvImgDisabledAction : Byte {
  vdaCut,
  vdaCopy,
  vdaPaste,
  vdaClear,
  vdaLoad,
  vdaSave,
  vdaPreview
};
using TfvImgDisabledActions = TSet<TfvImgDisabledAction>;
BV_DECLARE_ENUM_INFO(TfvImgDisabledAction)
BV_DECLARE_ENUM_INFO(TfvImgDisabledActions)

// The menu image editors offer when their vision names none; installed by
// the default pack (nullptr until then).
using TBlobMenuQuery = TPopupMenu* (*)();
void SetDefaultBlobMenuQuery(TBlobMenuQuery query);
TPopupMenu* DefaultBlobMenu();

class TMemoVision : public TznFieldVision {
  BV_CLASS(TMemoVision, TznFieldVision)
 public:
  explicit TMemoVision(TComponent* owner = nullptr);

  void GetText(TtlFieldList* fields, bool displayText, String& text) override;
  void CheckFields(TtlFieldList* fields, bool& active) override;
  TznDefLayout GetLayout(TtlFieldList* fields) override;

  TfvGetStrValueEvent OnGetValue;
};

// Reads and reports pictures for the vision that owns it: a blob that is no
// picture is reported to the application once per distinct content.
class TznPictureReader {
 public:
  // Loads the picture of fields (the editor's current value while an editor
  // is in edit state, else the main field) into bitmap; False (bitmap
  // empty) for content that is no picture.
  bool Read(TComponent* sender, TtlFieldList* fields, TBitmap& bitmap);
  // The same for bytes already at hand (name: the field's name).
  bool ReadValue(TComponent* sender, const String& name, const TznUniValue& value, TBitmap& bitmap);
  // How many problems were reported so far.
  Integer Reported() const { return reported_; }

 private:
  void Report(TComponent* sender, const String& name, const String& why, std::size_t key);

  std::unordered_set<std::size_t> seen_;  // hashes of contents already reported
  Integer reported_ = 0;                  // reports made
};

// The current value of a picture editor: the field's picture as a bitmap
// stream (the raw bytes when they are no picture, so nothing is lost).
void LoadPictureValue(TznPictureReader& reader, TComponent* sender, IznVisionEditor* editor);
// Draws the empty marked cell shown for content that is no picture.
void DrawBadPictureMark(TCanvas* canvas, const TRect& rect);

class TImageVision : public TznFieldVision {
  BV_CLASS(TImageVision, TznFieldVision)
 public:
  explicit TImageVision(TComponent* owner = nullptr);
  ~TImageVision() override;

  void GetText(TtlFieldList* fields, bool displayText, String& text) override;
  void CheckFields(TtlFieldList* fields, bool& active) override;
  void DrawContent(TtlFieldList* fields, TfvPainter* painter) override;
  void LoadCurrentValue(IznVisionEditor* editor) override;
  void EditAction(IznVisionEditor* editor, TznEditAction action) override;
  TznDefLayout GetLayout(TtlFieldList* fields) override;
  bool WantArrows() override;
  TPopupMenu* GetPopupMenu() override;

  bool Stretch() const { return stretch_; }
  void SetStretch(bool value);
  bool Center() const { return center_; }
  void SetCenter(bool value);
  bool QuickDraw() const { return quickDraw_; }
  void SetQuickDraw(bool value);
  // Context menu of editors (not owned); nil: the default blob menu.
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* value);
  TfvImgDisabledActions DisabledActions() const { return disabledActions_; }
  void SetDisabledActions(TfvImgDisabledActions value) { disabledActions_ = value; }
  // Problems with pictures reported so far.
  Integer ReportedPictureProblems() const { return reader_.Reported(); }

  TfvNotifyEvent OnPreview;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  // The actions, each on the editor's current value loaded into bitmap.
  void CutPicture(IznVisionEditor* editor, TBitmap& bitmap);
  void CopyPicture(TBitmap& bitmap);
  void PastePicture(IznVisionEditor* editor);
  void ClearPicture(IznVisionEditor* editor);
  void LoadPicture(IznVisionEditor* editor);
  void SavePicture(TBitmap& bitmap);
  void PreviewPicture(IznVisionEditor* editor, TBitmap& bitmap);
  // Dispatches one action (one call per action).
  void RunAction(IznVisionEditor* editor, TznEditAction action, TBitmap& bitmap);

  bool stretch_ = false;                   // the picture fills the cell
  bool center_ = true;                     // an unstretched picture is centred
  bool quickDraw_ = true;                  // drawn without palette handling
  TPopupMenu* popupMenu_ = nullptr;        // editor context menu (not owned)
  TfvImgDisabledActions disabledActions_;  // refused actions
  TznPictureReader reader_;                // reads and reports pictures
};

// Whether action is refused by disabled (actions outside the set never are).
bool ImageActionDisabled(TfvImgDisabledActions disabled, TznEditAction action);

}  // namespace brevant
