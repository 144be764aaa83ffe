// Drag and drop: the drag manager, drag objects and drag images.
//
// A drag starts with TControl::BeginDrag (or a left press on a control with
// DragMode dmAutomatic): at once, or once the pointer moved Threshold
// pixels. DoStartDrag (OnStartDrag) may supply a TDragObject; otherwise a
// TDragControlObject for the source is made. While dragging, the control
// under the pointer (CM_DRAG dmFindTarget lets a windowed control name a
// child) receives CM_DRAG with a TDragRec: dmDragEnter and dmDragLeave as
// the pointer moves between targets, dmDragMove on every move (its answer
// is Accept, from DragOver / OnDragOver), dmDragDrop on a release over an
// accepting target, dmDragCancel when Escape or the right button cancels.
// The cursor is the drag object's GetDragCursor (the source's DragCursor
// when accepted, crNoDrop when not). At the end the source's DoEndDrag
// (OnEndDrag) runs with the target (nullptr when nothing took the drop) and
// a cancelled drag calls DragCanceled first. Targets receive as Source the
// source control for the default drag object, the drag object otherwise.
#pragma once

#include "controls/controls.h"
#include "graphics/imagelist.h"

namespace brevant {

enum TDragMessage : Byte {
  dmDragEnter,
  dmDragLeave,
  dmDragMove,
  dmDragDrop,
  dmDragCancel,
  dmFindTarget
};

// CM_DRAG: WParam the TDragMessage, LParam a TDragRec*.
struct TDragRec {
  TPoint Pos;  // screen coordinates
  TDragObject* Source = nullptr;
  TControl* Target = nullptr;
  bool Docking = false;
};

// An image list that can show one of its images under the pointer.
class TDragImageList : public TImageList {
  BV_CLASS(TDragImageList, TImageList)
 public:
  using TImageList::TImageList;
  void BeforeDestruction() override;
  // The image dragged and the point of it that sits under the pointer.
  void SetDragImage(Integer index, Integer hotSpotX, Integer hotSpotY);
  Integer DragIndex() const { return dragIndex_; }
  TPoint DragHotspot() const { return hotSpot_; }
  // Shows the image at a screen point / moves it / hides it.
  void BeginDrag(TPoint screenPos);
  void DragMove(TPoint screenPos);
  void EndDrag();
  bool Dragging() const { return window_ != nullptr; }
  // The window showing the image (nullptr while not dragging).
  TWinControl* DragImageWindow() const { return window_; }
  void HideDragImage();
  void ShowDragImage();

 private:
  Integer dragIndex_ = 0;
  TPoint hotSpot_;
  TWinControl* window_ = nullptr;
};

class TDragObject : public TObject {
  BV_CLASS(TDragObject, TObject)
 public:
  TDragObject() = default;
  // crDrag when the target accepts, crNoDrop when it does not.
  virtual TCursor GetDragCursor(bool accepted, Integer x, Integer y);
  virtual TDragImageList* GetDragImages() { return nullptr; }
  // The drag ended (target nullptr when none took it).
  virtual void Finished(TObject* target, Integer x, Integer y, bool accepted);

  TControl* DragTarget() const { return dragTarget_; }
  TPoint DragPos() const { return dragPos_; }
  // DragPos in the target's client coordinates.
  TPoint DragTargetPos() const { return dragTargetPos_; }
  bool Cancelling() const { return cancelling_; }
  bool Dropped() const { return dropped_; }

 private:
  friend class TDragManager;
  friend void DragForgetControl(TControl* control);
  TControl* dragTarget_ = nullptr;
  TPoint dragPos_;
  TPoint dragTargetPos_;
  bool cancelling_ = false;
  bool dropped_ = false;
};

// The drag object made for a control's drag: the control is the source.
class TDragControlObject : public TDragObject {
  BV_CLASS(TDragControlObject, TDragObject)
 public:
  explicit TDragControlObject(TControl* control) : control_(control) {}
  TControl* Control() const { return control_; }
  TCursor GetDragCursor(bool accepted, Integer x, Integer y) override;
  TDragImageList* GetDragImages() override;
  void Finished(TObject* target, Integer x, Integer y, bool accepted) override;

 private:
  friend class TDragManager;
  TControl* control_;
};

// The drag running now (nullptr when none) and its source control.
TDragObject* DragObject();
TControl* DragSource();
bool Dragging();
// Ends a drag as cancelled.
void CancelDrag();
// What a target's DragOver receives as Source for a drag object.
TObject* DragSourceOf(TDragObject* object);
// The control under a screen point that takes drags (CM_DRAG dmFindTarget).
TControl* FindDragTarget(TPoint screenPos, bool allowDisabled);

// The drag manager's look at every message (application.cpp); true when
// the message belonged to the drag.
bool DragPreprocessMessage(TMsg& msg);
// TControl::BeginDrag and EndDrag forward here.
void BeginDragOf(TControl* control, bool immediate, Integer threshold);
void EndDragOf(TControl* control, bool drop);
// A control goes away: a drag it is part of ends.
void DragForgetControl(TControl* control);

}  // namespace brevant
