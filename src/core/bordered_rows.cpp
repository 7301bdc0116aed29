// Extended rows of working values under the border rules of the neighbourhood operations.
#include "core/bordered_rows.h"

#include <cstring>
#include <new>

namespace lamina {

void ReadWorkingRow(const ImageView& v, int y, int channel, std::uint8_t* out) {
  const std::uint8_t* row = v.Row(y);
  const int w = v.width;
  DispatchDepth(v.bpp, [&](auto d) {
    constexpr int B = decltype(d)::value;
    if constexpr (B == 8) {
      std::memcpy(out, row, static_cast<std::size_t>(w));
    } else if constexpr (B == 4) {
      const int whole = w / 2;
      for (int i = 0; i < whole; ++i) {
        out[2 * i] = static_cast<std::uint8_t>(row[i] >> 4);
        out[2 * i + 1] = static_cast<std::uint8_t>(row[i] & 0x0F);
      }
      if (w & 1) out[w - 1] = static_cast<std::uint8_t>(row[whole] >> 4);
    } else if constexpr (B == 1) {
      const int whole = w / 8;
      for (int i = 0; i < whole; ++i) {
        const unsigned b = row[i];
        for (int k = 0; k < 8; ++k) out[8 * i + k] = static_cast<std::uint8_t>((b >> (7 - k)) & 1u);
      }
      for (int x = whole * 8; x < w; ++x) out[x] = static_cast<std::uint8_t>(Px<1>::Get(row, x));
    } else {
      constexpr int kBytes = B / 8;
      const std::uint8_t* p = row + channel;
      for (int x = 0; x < w; ++x) out[x] = p[static_cast<std::ptrdiff_t>(x) * kBytes];
    }
  });
}

BorderedRows::BorderedRows(const ImageView& v, int channel, Border rule, Margins margins,
                           std::uint8_t outside, int shift)
    : v_(v), channel_(channel), rule_(rule), margins_(margins), outside_(outside), shift_(shift) {
  if (margins.left < 0 || margins.right < 0 || margins.top < 0 || margins.bottom < 0) return;
  if (rule == Border::kShifted &&
      (margins.left > shift || margins.right > shift || margins.top > shift ||
       margins.bottom > shift))
    return;
  rowLength_ = static_cast<std::size_t>(margins.left) + static_cast<std::size_t>(v.width) +
               static_cast<std::size_t>(margins.right);
  // Rows start on cache-line boundaries of the ring.
  const std::size_t pitch = (rowLength_ + 63) & ~std::size_t{63};
  ringSize_ = margins.top + margins.bottom + 1;
  storage_.reset(new (std::nothrow) std::uint8_t[pitch * static_cast<std::size_t>(ringSize_) + 64]);
  if (!storage_) return;
  try {
    scratch_.resize(static_cast<std::size_t>(v.width));
    slots_.resize(static_cast<std::size_t>(ringSize_));
    slotRow_.assign(static_cast<std::size_t>(ringSize_), 0);
    window_.resize(static_cast<std::size_t>(ringSize_));
  } catch (const std::bad_alloc&) {
    return;
  }
  const auto base = reinterpret_cast<std::uintptr_t>(storage_.get());
  std::uint8_t* first = storage_.get() + ((64 - base % 64) % 64);
  for (int k = 0; k < ringSize_; ++k) {
    slots_[static_cast<std::size_t>(k)] = first + pitch * static_cast<std::size_t>(k);
    // A row number no window asks for, so every slot is filled on first use.
    slotRow_[static_cast<std::size_t>(k)] = -(margins.top + 1) - ringSize_;
  }
  ok_ = true;
}

void BorderedRows::ExtendInto(int y, std::uint8_t* out) {
  const int w = v_.width, h = v_.height;
  const std::size_t left = static_cast<std::size_t>(margins_.left);
  const std::size_t right = static_cast<std::size_t>(margins_.right);
  std::uint8_t* pixels = out + left;
  switch (rule_) {
    case Border::kFrame:
    case Border::kConstant:
      if (y < 0 || y >= h || w == 0) {
        std::memset(out, outside_, rowLength_);
        return;
      }
      ReadWorkingRow(v_, y, channel_, pixels);
      std::memset(out, outside_, left);
      std::memset(pixels + w, outside_, right);
      return;
    case Border::kReplicate:
      if (w == 0 || h == 0) {
        std::memset(out, outside_, rowLength_);
        return;
      }
      ReadWorkingRow(v_, y < 0 ? 0 : (y >= h ? h - 1 : y), channel_, pixels);
      std::memset(out, pixels[0], left);
      std::memset(pixels + w, pixels[w - 1], right);
      return;
    case Border::kShifted: {
      std::memset(out, outside_, rowLength_);
      if (w == 0) return;
      // The canvas row, and the copies that cover it in the order they are made.
      const int s = shift_;
      const long long canvasRow = static_cast<long long>(y) + s;
      const int offsets[5][2] = {{0, 0}, {2 * s, 0}, {2 * s, 2 * s}, {0, 2 * s}, {s, s}};
      int held = -1;  // the image row now in scratch_
      for (const auto& o : offsets) {
        const long long sourceRow = canvasRow - o[1];
        if (sourceRow < 0 || sourceRow >= h) continue;
        if (held != static_cast<int>(sourceRow)) {
          held = static_cast<int>(sourceRow);
          ReadWorkingRow(v_, held, channel_, scratch_.data());
        }
        // Canvas column c is image column c - s, found at out[c - s + left].
        long long from = o[0] - s + margins_.left;  // where source column 0 lands in out
        long long begin = 0, end = w;
        if (from < 0) begin = -from;
        if (from + end > static_cast<long long>(rowLength_))
          end = static_cast<long long>(rowLength_) - from;
        if (begin < end)
          std::memcpy(out + from + begin, scratch_.data() + begin,
                      static_cast<std::size_t>(end - begin));
      }
      return;
    }
  }
}

void BorderedRows::Extended(int y, std::uint8_t* out) { ExtendInto(y, out); }

const std::uint8_t* const* BorderedRows::Window(int y) {
  for (int j = 0; j < ringSize_; ++j) {
    const int row = y - margins_.top + j;
    const std::size_t slot = static_cast<std::size_t>(((row % ringSize_) + ringSize_) % ringSize_);
    if (slotRow_[slot] != row) {
      ExtendInto(row, slots_[slot]);
      slotRow_[slot] = row;
    }
    window_[static_cast<std::size_t>(j)] = slots_[slot] + margins_.left;
  }
  return window_.data();
}

}  // namespace lamina
