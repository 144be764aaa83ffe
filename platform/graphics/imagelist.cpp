#include "graphics/imagelist.h"

#include <algorithm>

#include "classes/rtti_builder.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/canvas_internal.h"
#include "rtl/resstrings.h"
#include "rtl/store_changed.h"

namespace brevant {

using namespace detail;

BV_IMPLEMENT_CLASS(TChangeLink, TObject)

BV_PUBLISH(TImageList, TComponent) {
  p.Property("BkColor", &TImageList::BkColor, &TImageList::SetBkColor)
      .Type(TypeInfoTColor())
      .Default(clNone);
  p.Property("Height", &TImageList::Height, &TImageList::SetHeight).Default(16);
  p.Property("Masked", &TImageList::Masked, &TImageList::SetMasked).Default(true);
  p.Property("Width", &TImageList::Width, &TImageList::SetWidth).Default(16);
  p.Event("OnChange", &TImageList::OnChange, "TNotifyEvent");
}

// ---- TChangeLink ------------------------------------------------------------

TChangeLink::~TChangeLink() {
  if (sender_) sender_->UnRegisterChanges(this);
}

void TChangeLink::BeforeDestruction() {
  if (sender_) sender_->UnRegisterChanges(this);
  TObject::BeforeDestruction();
}

void TChangeLink::Change() {
  if (sender_) OnChange(sender_);
}

// ---- TImageList ----------------------------------------------------------------

TImageList::TImageList(TComponent* owner) : TComponent(owner) {}

TImageList::~TImageList() {
  for (TChangeLink* link : links_) link->SetSender(nullptr);
}

void TImageList::BeforeDestruction() {
  std::vector<TChangeLink*> links;
  links.swap(links_);
  for (TChangeLink* link : links) link->SetSender(nullptr);
  TComponent::BeforeDestruction();
}

void TImageList::Assign(const TPersistent* source) {
  if (const TImageList* list = dynamic_cast<const TImageList*>(source)) {
    if (list == this) return;
    width_ = list->width_;
    height_ = list->height_;
    bkColor_ = list->bkColor_;
    masked_ = list->masked_;
    images_ = list->images_;
    Change();
    return;
  }
  TComponent::Assign(source);
}

void TImageList::SetWidth(Integer value) {
  SetSize(value, height_);
}

void TImageList::SetHeight(Integer value) {
  SetSize(width_, value);
}

void TImageList::SetSize(Integer width, Integer height) {
  width = Max(width, 1);
  height = Max(height, 1);
  if (width == width_ && height == height_) return;
  CheckImageSize(width, height);
  width_ = width;
  height_ = height;
  images_.clear();
  Change();
}

void TImageList::SetBkColor(TColor value) {
  if (StoreChanged(bkColor_, value)) Change();
}

void TImageList::SetMasked(bool value) {
  if (StoreChanged(masked_, value)) Change();
}

void TImageList::CheckIndex(Integer index) const {
  if (index < 0 || index >= Count()) throw EInvalidGraphicOperation(res::SImageIndexError, {index});
}

TImageList::TImage TImageList::Cut(const TBitmap* image, const TBitmap* mask, TColor maskColor,
                                   Integer left) const {
  TImage out;
  size_t n = size_t(width_) * size_t(height_);
  out.Pixels.assign(n, 0);
  out.Mask.assign(n, 0);
  bool keyed = maskColor != clNone;
  std::uint32_t key = keyed ? ToPixel(maskColor) : 0;
  for (Integer y = 0; y < height_ && y < image->Height(); ++y) {
    const std::uint32_t* row = image->ScanLine(y);
    const std::uint32_t* mrow = (mask && y < mask->Height()) ? mask->ScanLine(y) : nullptr;
    for (Integer x = 0; x < width_; ++x) {
      Integer sx = left + x;
      if (sx >= image->Width()) break;
      std::uint32_t p = row[sx] & kRgbMask;
      bool opaque = true;
      if (keyed && p == key) opaque = false;
      if (mask) {
        // Light mask pixels are transparent.
        std::uint32_t m = (mrow && sx < mask->Width()) ? mrow[sx] : 0;
        Cardinal light = ((m >> 16) & 0xFF) + ((m >> 8) & 0xFF) + (m & 0xFF);
        if (light >= 3 * 128) opaque = false;
      }
      out.Pixels[size_t(y) * size_t(width_) + size_t(x)] = p;
      out.Mask[size_t(y) * size_t(width_) + size_t(x)] = opaque ? 1 : 0;
    }
  }
  return out;
}

Integer TImageList::AddImages(const TBitmap* image, const TBitmap* mask, TColor maskColor) {
  if (!image || image->Empty()) return -1;
  Integer first = Count();
  Integer pieces = Max(1, image->Width() / width_);
  for (Integer i = 0; i < pieces; ++i) images_.push_back(Cut(image, mask, maskColor, i * width_));
  Change();
  return first;
}

Integer TImageList::Add(const TBitmap* image, const TBitmap* mask) {
  return AddImages(image, mask, clNone);
}

Integer TImageList::AddMasked(const TBitmap* image, TColor maskColor) {
  if (image && maskColor == clDefault && !image->Empty())
    maskColor = FromPixel(image->ScanLine(image->Height() - 1)[0]);
  return AddImages(image, nullptr, maskColor);
}

void TImageList::Replace(Integer index, const TBitmap* image, const TBitmap* mask) {
  CheckIndex(index);
  if (!image || image->Empty()) return;
  images_[size_t(index)] = Cut(image, mask, clNone, 0);
  Change();
}

void TImageList::Delete(Integer index) {
  CheckIndex(index);
  images_.erase(images_.begin() + index);
  Change();
}

void TImageList::Clear() {
  if (images_.empty()) return;
  images_.clear();
  Change();
}

void TImageList::GetBitmap(Integer index, TBitmap* image) const {
  CheckIndex(index);
  if (!image) return;
  image->SetSize(width_, height_);
  const TImage& img = images_[size_t(index)];
  std::uint32_t bk = bkColor_ == clNone ? 0x00FFFFFF : ToPixel(bkColor_);
  for (Integer y = 0; y < height_; ++y) {
    std::uint32_t* row = image->ScanLine(y);
    for (Integer x = 0; x < width_; ++x) {
      size_t i = size_t(y) * size_t(width_) + size_t(x);
      row[x] = img.Mask[i] ? img.Pixels[i] : bk;
    }
  }
}

void TImageList::Draw(TCanvas* canvas, Integer x, Integer y, Integer index, bool enabled) const {
  if (!canvas || index < 0 || index >= Count()) return;
  const TImage& img = images_[size_t(index)];
  TRect src(0, 0, width_, height_);
  TRect dest(x, y, ClampCoord(Int64(x) + width_), ClampCoord(Int64(y) + height_));
  if (bkColor_ != clNone) {
    std::vector<std::uint32_t> bk(img.Pixels.size(), ToPixel(bkColor_));
    canvas->DrawPixels(dest, bk.data(), width_, height_, width_, src);
  }
  const Byte* mask = masked_ ? img.Mask.data() : nullptr;
  if (enabled) {
    canvas->DrawPixels(dest, img.Pixels.data(), width_, height_, width_, src, cmSrcCopy, clNone,
                       mask);
    return;
  }
  // The disabled look: the image's darker opaque pixels as a shape, drawn
  // once one pixel down and right in the highlight colour, then in place in
  // the shadow colour.
  std::vector<Byte> shape(img.Pixels.size(), 0);
  for (size_t i = 0; i < shape.size(); ++i) {
    std::uint32_t p = img.Pixels[i];
    Cardinal light = ((p >> 16) & 0xFF) * 30 + ((p >> 8) & 0xFF) * 59 + (p & 0xFF) * 11;
    shape[i] = (img.Mask[i] || !masked_) && light < 192 * 100 ? 1 : 0;
  }
  std::vector<std::uint32_t> fill(img.Pixels.size(), ToPixel(clBtnHighlight));
  TRect shifted(ClampCoord(Int64(x) + 1), ClampCoord(Int64(y) + 1),
                ClampCoord(Int64(dest.Right) + 1), ClampCoord(Int64(dest.Bottom) + 1));
  canvas->DrawPixels(shifted, fill.data(), width_, height_, width_, src, cmSrcCopy, clNone,
                     shape.data());
  std::fill(fill.begin(), fill.end(), ToPixel(clBtnShadow));
  canvas->DrawPixels(dest, fill.data(), width_, height_, width_, src, cmSrcCopy, clNone,
                     shape.data());
}

void TImageList::RegisterChanges(TChangeLink* link) {
  if (!link) return;
  if (std::find(links_.begin(), links_.end(), link) == links_.end()) links_.push_back(link);
  link->SetSender(this);
}

void TImageList::UnRegisterChanges(TChangeLink* link) {
  auto it = std::find(links_.begin(), links_.end(), link);
  if (it == links_.end()) return;
  links_.erase(it);
  if (link->Sender() == this) link->SetSender(nullptr);
}

void TImageList::Change() {
  // A handler may unregister links: walk a copy, skipping those gone.
  std::vector<TChangeLink*> links = links_;
  for (TChangeLink* link : links)
    if (std::find(links_.begin(), links_.end(), link) != links_.end()) link->Change();
  OnChange(this);
}

}  // namespace brevant
