// TIcon: an icon kept as its file image (.ico). Only a stub: it loads,
// saves, assigns and reports the size of its first image, but draws
// nothing; nothing in the suite draws icons.
#pragma once

#include <vector>

#include "graphics/graphic.h"

namespace brevant {

class TIcon : public TGraphic {
  BV_CLASS(TIcon, TGraphic)
 public:
  TIcon() = default;
  // From another icon; nullptr empties the icon.
  void Assign(const TPersistent* source) override;
  bool Empty() const override { return data_.empty(); }
  Integer Width() const override { return width_; }
  // Icons keep the size of their image; setting it does nothing.
  void SetWidth(Integer) override {}
  Integer Height() const override { return height_; }
  void SetHeight(Integer) override {}
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  void Draw(TCanvas*, const TRect&) override {}

 private:
  std::vector<Byte> data_;
  Integer width_ = 0;
  Integer height_ = 0;
};

namespace detail {
bool StreamLooksLikeIcon(TStream& stream);
}

}  // namespace brevant
