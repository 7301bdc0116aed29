// Where the neighbourhood operations put their results. Every filter reads the image as it was
// before the call and writes each result once: rows of working values are taken from the image
// just before the first window that needs them (core/bordered_rows.h keeps them in a ring), so a
// result row may go straight back into the image.
#pragma once

#include <cstdint>
#include <optional>

#include "CLamina.h"
#include "core/image_builder.h"
#include "core/pixel_access.h"

namespace lamina {
namespace neighbourhood {
namespace detail {

// Writes u[0 .. n) as pixels x0 ... x0 + n - 1 of `row`: the index at 4 and 8 bits, blue = green
// = red = u at 24 and 32 bits, the fourth byte kept (or set to 0 with `zeroFourth`).
void WriteValues(std::uint8_t* row, int bpp, int x0, int n, const std::uint8_t* u, bool zeroFourth);

// The image's block as an assignment copies it (a 40-byte header, palette and rows with no gap and
// nothing after them), which is what the interface's copy-and-assign leaves. A block that is not
// compact is copied into a new one, made before anything else so that a failure changes nothing;
// Install() makes it the image's. The view is that of the block the results go to.
class Compacted {
 public:
  explicit Compacted(CLamina& img);
  bool Ok() const { return ok_; }
  const ImageView& View() const { return view_; }
  void Install(CLamina& img);

 private:
  std::optional<NewImage> copy_;
  ImageView view_;
  bool ok_ = false;
};

// The image a padded convolution leaves (border modes 1 and 2): the same size, the data
// constructor's header, the image's palette extended by the constructor's ramp, every pixel
// written, the fourth byte of 32-bit pixels 0. When the image's block already has that layout the
// results go into it (rows are read before they are overwritten); otherwise into a new block.
class FreshTarget {
 public:
  explicit FreshTarget(CLamina& img);
  bool Ok() const { return ok_; }
  // Where the results go.
  const ImageView& View() const { return view_; }
  // Header and padding of the results, then the block installed (the image keeps its name).
  void Finish(CLamina& img);

 private:
  std::optional<NewImage> fresh_;
  ImageView view_;
  bool inPlace_ = false;
  bool ok_ = false;
};

}  // namespace detail
}  // namespace neighbourhood
}  // namespace lamina
