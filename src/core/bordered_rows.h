// Bordered row access for neighbourhood operations: the working values of the rows around row y,
// each extended to the left and right, under the border rule of the operation, without a padded
// copy of the image.
//
// A working value is one byte per pixel: the palette index at 1, 4 and 8 bits, or one channel byte
// (0 blue, 1 green, 2 red) at 24 and 32 bits. Rows are extracted once into a small ring of
// extended rows, so walking y upwards costs one row extraction per step.
//
//   BorderedRows rows(view, /*channel=*/2, Border::kConstant, Margins::Square(r), outside);
//   for (int y = 0; y < view.height; ++y) {
//     const std::uint8_t* const* w = rows.Window(y);  // w[0] is row y - r, w[2r] row y + r
//     ... w[j][x + i] for i in -r .. r reads column x + i of row y - r + j ...
//   }
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/pixel_access.h"

namespace lamina {

// What lies outside the image.
enum class Border {
  // Nothing: the operation computes only pixels whose whole window lies inside, and leaves the
  // frame as it was. Window(y) is valid for top <= y < height - bottom; columns outside read as
  // the `outside` value and are never meant to be used.
  kFrame,
  // Every point outside holds the `outside` value.
  kConstant,
  // The pad of the image copied into a canvas larger by `shift` on each side, at the offsets
  // (0, 0), (2s, 0), (2s, 2s), (0, 2s) and last (s, s), each copy overwriting the earlier ones:
  // each strip holds image pixels shifted by s or 2s, not mirrored. Canvas points no copy covers
  // (an image narrower or lower than 2s) hold the `outside` value. Margins must not exceed s.
  kShifted,
  // The nearest edge pixel.
  kReplicate,
};

// How far the extended rows reach past the image on each side.
struct Margins {
  int left = 0;
  int right = 0;
  int top = 0;
  int bottom = 0;
  static Margins Square(int r) { return Margins{r, r, r, r}; }
};

// Writes the working values of row y (from the top) to out[0 .. width).
void ReadWorkingRow(const ImageView& v, int y, int channel, std::uint8_t* out);

class BorderedRows {
 public:
  // `shift` is the canvas margin of Border::kShifted (ignored by the other rules).
  BorderedRows(const ImageView& v, int channel, Border rule, Margins margins,
               std::uint8_t outside = 0, int shift = 0);

  // False when the ring could not be allocated.
  bool Ok() const { return ok_; }
  const Margins& margins() const { return margins_; }

  // Pointers to the extended rows y - top .. y + bottom, each pointing at column 0 of its row, so
  // that p[x] is valid for -left <= x < width + right. The pointers stay valid until the next call.
  // Cheapest when y rises by one from call to call.
  const std::uint8_t* const* Window(int y);

  // The extended row y (-top <= y < height + bottom) written to out[0 .. left + width + right).
  void Extended(int y, std::uint8_t* out);

 private:
  void ExtendInto(int y, std::uint8_t* out);  // out points at column -left

  ImageView v_;
  int channel_;
  Border rule_;
  Margins margins_;
  std::uint8_t outside_;
  int shift_;
  bool ok_ = false;
  std::size_t rowLength_ = 0;  // left + width + right
  int ringSize_ = 0;
  std::unique_ptr<std::uint8_t[]> storage_;
  std::vector<std::uint8_t*> slots_;      // ring slot k holds extended row slotRow_[k]
  std::vector<int> slotRow_;
  std::vector<const std::uint8_t*> window_;
  std::vector<std::uint8_t> scratch_;     // one image row of working values
};

}  // namespace lamina
