#include "neighbourhood/working_copy.h"

#include <cstring>

#include "core/pixel_access.h"

namespace lamina {
namespace neighbourhood {
namespace {

std::size_t PaletteBytes(const ImageView& v) {
  return static_cast<std::size_t>(PaletteEntries(*v.header)) * 4;
}

}  // namespace

bool IsCompact(CLamina& img) {
  if (!BlockAccess::HasBlock(img)) return true;
  const ImageView v = BlockAccess::View(img);
  const std::size_t bytes = 40 + PaletteBytes(v) + v.header->biSizeImage;
  std::uint8_t* block = BlockAccess::Block(img);
  return v.bits == block + 40 + PaletteBytes(v) &&
         GlobalSize(GlobalHandle(block)) == static_cast<SIZE_T>(bytes);
}

NewImage CompactCopy(CLamina& img) {
  const ImageView v = BlockAccess::View(img);
  const std::size_t palette = PaletteBytes(v);
  NewImage copy = NewImage::Raw(40 + palette + v.header->biSizeImage, 40 + palette,
                                /*zero=*/false);
  if (!copy.Ok()) return copy;
  std::memcpy(copy.Block(), v.header, 40);
  if (palette > 0) std::memcpy(copy.Block() + 40, v.palette, palette);
  std::memcpy(copy.Block() + 40 + palette, v.bits, v.header->biSizeImage);
  return copy;
}

bool MakeCompact(CLamina& img) {
  if (IsCompact(img)) return true;
  NewImage copy = CompactCopy(img);
  if (!copy.Ok()) return false;
  copy.InstallInto(img);
  return true;
}

}  // namespace neighbourhood
}  // namespace lamina
