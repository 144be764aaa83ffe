// The drop-down blob visions: TDropDownBlobVision shows nothing but a focus
// in the cell and edits the blob in a drop-down picker; TTextVision shows a
// marker or the text of a text blob, TPictureVision a marker for a picture.
// The markers are the environment's blob marker images (a query installed
// with SetBlobMarkersQuery answers instead).
#pragma once

#include "bv_std/blob_visions.h"
#include "bv_std/tool_form_vision.h"

namespace brevant {

// How a text vision shows its value in the cell.
enum TfvTextBlobMarker : Byte { tbmDefault, tbmIcon, tbmText };
BV_DECLARE_ENUM_INFO(TfvTextBlobMarker)
// Options of the drop-down text editor.
enum TfvDropDownTextOption : Byte {
  dtoNoHideScrollBars,
  dtoNoWantReturns,
  dtoNoWantTabs,
  dtoNoWordWrap,
  dtoNoSizing,
  dtoNoAutoPost
};
using TfvDropDownTextOptions = TSet<TfvDropDownTextOption>;
BV_DECLARE_ENUM_INFO(TfvDropDownTextOption)
BV_DECLARE_ENUM_INFO(TfvDropDownTextOptions)
// Options of the drop-down picture editor.
enum TfvDropDownPictureOption : Byte {
  dpoNoCenterPicture,
  dpoNoAutoSize,
  dpoNoSizing,
  dpoNoAutoPost
};
using TfvDropDownPictureOptions = TSet<TfvDropDownPictureOption>;
BV_DECLARE_ENUM_INFO(TfvDropDownPictureOption)
BV_DECLARE_ENUM_INFO(TfvDropDownPictureOptions)

// The marker images: 0 text, 1 null text, 2 picture, 3 null picture: the
// installed query's, else the installed environment's; without either no
// marker is drawn.
using TBlobMarkersQuery = TImageList* (*)();
void SetBlobMarkersQuery(TBlobMarkersQuery query);
TImageList* BlobMarkers();
// Marker indexes.
inline constexpr Integer bmkText = 0, bmkNullText = 1, bmkPicture = 2, bmkNullPicture = 3;
// The size markers are drawn in.
inline constexpr Integer kBlobMarkerSize = 16;

class TDropDownBlobVision : public TToolFormVision {
  BV_CLASS(TDropDownBlobVision, TToolFormVision)
 public:
  explicit TDropDownBlobVision(TComponent* owner = nullptr);

  void DrawContent(TtlFieldList* fields, TfvPainter* painter) override;
  bool WantArrows() override;
  // The default pack's blob picker.
  TVisionToolForm* DefaultDropDown() override;

  // The picker's size, 0: its own.
  Integer DropDownWidth() const { return dropDownWidth_; }
  void SetDropDownWidth(Integer value);
  Integer DropDownHeight() const { return dropDownHeight_; }
  void SetDropDownHeight(Integer value);

 protected:
  // Draws marker index centred in the cell.
  static void DrawMarker(TfvPainter* painter, Integer index);

 private:
  Integer dropDownWidth_ = 0;   // picker width, 0: its own
  Integer dropDownHeight_ = 0;  // picker height, 0: its own
};

class TTextVision : public TDropDownBlobVision {
  BV_CLASS(TTextVision, TDropDownBlobVision)
 public:
  explicit TTextVision(TComponent* owner = nullptr);

  void DrawContent(TtlFieldList* fields, TfvPainter* painter) override;
  void LoadCurrentValue(IznVisionEditor* editor) override;

  TfvDropDownTextOptions DropDownOptionsEx() const { return dropDownOptionsEx_; }
  void SetDropDownOptionsEx(TfvDropDownTextOptions value) { dropDownOptionsEx_ = value; }
  TScrollStyle DropDownScrollBars() const { return dropDownScrollBars_; }
  void SetDropDownScrollBars(TScrollStyle value) { dropDownScrollBars_ = value; }
  TfvTextBlobMarker DisplayAs() const { return displayAs_; }
  void SetDisplayAs(TfvTextBlobMarker value);

 private:
  TfvDropDownTextOptions dropDownOptionsEx_;  // the text editor's options
  TScrollStyle dropDownScrollBars_ = ssBoth;  // the text editor's scroll bars
  TfvTextBlobMarker displayAs_ = tbmIcon;     // marker or text in the cell
};

class TPictureVision : public TDropDownBlobVision {
  BV_CLASS(TPictureVision, TDropDownBlobVision)
 public:
  explicit TPictureVision(TComponent* owner = nullptr);

  void DrawContent(TtlFieldList* fields, TfvPainter* painter) override;
  void LoadCurrentValue(IznVisionEditor* editor) override;

  TfvDropDownPictureOptions DropDownOptionsEx() const { return dropDownOptionsEx_; }
  void SetDropDownOptionsEx(TfvDropDownPictureOptions value) { dropDownOptionsEx_ = value; }
  TfvImgDisabledActions DisabledActions() const { return disabledActions_; }
  void SetDisabledActions(TfvImgDisabledActions value) { disabledActions_ = value; }
  Integer ReportedPictureProblems() const { return reader_.Reported(); }

 private:
  TfvDropDownPictureOptions dropDownOptionsEx_;  // the picture editor's options
  TfvImgDisabledActions disabledActions_;        // actions the picker refuses
  TznPictureReader reader_;                      // reads and reports pictures
};

// Makes the memo, image, drop-down blob, text and picture visions known to
// form streams.
void RegisterBlobVisionClasses();

}  // namespace brevant
