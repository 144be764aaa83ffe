// TImageList: a list of equally sized images with masks, and the change
// links through which the controls using a list hear of its changes.
#pragma once

#include <cstdint>
#include <vector>

#include "classes/component.h"
#include "graphics/colors.h"
#include "rtl/method.h"

namespace brevant {

class TBitmap;
class TCanvas;
class TImageList;

// Registered with an image list (RegisterChanges), a link calls OnChange
// with the list as sender whenever the list changes. A freed link leaves
// its list; a freed list sets its links' Sender to nullptr.
class TChangeLink : public TObject {
  BV_CLASS(TChangeLink, TObject)
 public:
  TChangeLink() = default;
  ~TChangeLink() override;
  void BeforeDestruction() override;

  TImageList* Sender() const { return sender_; }
  void SetSender(TImageList* value) { sender_ = value; }
  TNotifyEvent OnChange;
  virtual void Change();

 private:
  TImageList* sender_ = nullptr;
};

class TImageList : public TComponent {
  BV_CLASS(TImageList, TComponent)
 public:
  explicit TImageList(TComponent* owner = nullptr);
  ~TImageList() override;
  void BeforeDestruction() override;
  // Copies the size, colours and images of another image list.
  void Assign(const TPersistent* source) override;

  // Image size; changing it clears the list. Sizes are at least 1.
  Integer Width() const { return width_; }
  void SetWidth(Integer value);
  Integer Height() const { return height_; }
  void SetHeight(Integer value);
  void SetSize(Integer width, Integer height);
  Integer Count() const { return static_cast<Integer>(images_.size()); }
  // The colour drawn under transparent pixels (clNone: none).
  TColor BkColor() const { return bkColor_; }
  void SetBkColor(TColor value);
  // Whether masks apply when drawing (false: images draw as rectangles).
  bool Masked() const { return masked_; }
  void SetMasked(bool value);

  // Adds the images of a bitmap: one per Width pixels of its width (at
  // least one), cut from its top left. A mask bitmap marks transparent
  // pixels in white (light); without one every pixel is opaque. Answers
  // the index of the first image added.
  Integer Add(const TBitmap* image, const TBitmap* mask);
  // The same, with the pixels of maskColor transparent (clDefault: the
  // bitmap's bottom-left pixel).
  Integer AddMasked(const TBitmap* image, TColor maskColor);
  void Replace(Integer index, const TBitmap* image, const TBitmap* mask);
  void Delete(Integer index);
  void Clear();
  // Copies an image into a bitmap (resized to the list's size); pixels that
  // are transparent take BkColor, or white.
  void GetBitmap(Integer index, TBitmap* image) const;

  // Draws an image at (x, y) at its own size; disabled images are drawn
  // greyed (embossed in clBtnHighlight and clBtnShadow). An index outside
  // the list draws nothing.
  void Draw(TCanvas* canvas, Integer x, Integer y, Integer index, bool enabled = true) const;

  void RegisterChanges(TChangeLink* link);
  void UnRegisterChanges(TChangeLink* link);

  TNotifyEvent OnChange;

 protected:
  // Tells the links, then OnChange.
  virtual void Change();

 private:
  struct TImage {
    std::vector<std::uint32_t> Pixels;
    std::vector<Byte> Mask;  // 1: opaque
  };
  TImage Cut(const TBitmap* image, const TBitmap* mask, TColor maskColor, Integer left) const;
  Integer AddImages(const TBitmap* image, const TBitmap* mask, TColor maskColor);
  void CheckIndex(Integer index) const;

  Integer width_ = 16;
  Integer height_ = 16;
  TColor bkColor_ = clNone;
  bool masked_ = true;
  std::vector<TImage> images_;
  std::vector<TChangeLink*> links_;
};

}  // namespace brevant
