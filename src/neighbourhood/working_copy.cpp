#include "neighbourhood/working_copy.h"

#include <cstring>

#include "core/block_access.h"
#include "core/image_builder.h"
#include "core/pixel_access.h"

namespace lamina {
namespace neighbourhood {

bool MakeCompact(CLamina& img) {
  if (!BlockAccess::HasBlock(img)) return true;
  const ImageView v = BlockAccess::View(img);
  const std::size_t paletteBytes = static_cast<std::size_t>(PaletteEntries(*v.header)) * 4;
  const std::size_t bytes = 40 + paletteBytes + v.header->biSizeImage;
  std::uint8_t* block = BlockAccess::Block(img);
  const bool compact = v.bits == block + 40 + paletteBytes &&
                       GlobalSize(GlobalHandle(block)) == static_cast<SIZE_T>(bytes);
  if (compact) return true;
  NewImage copy = NewImage::Raw(bytes, 40 + paletteBytes, /*zero=*/false);
  if (!copy.Ok()) return false;
  std::memcpy(copy.Block(), v.header, 40);
  if (paletteBytes > 0) std::memcpy(copy.Block() + 40, v.palette, paletteBytes);
  std::memcpy(copy.Block() + 40 + paletteBytes, v.bits, v.header->biSizeImage);
  copy.InstallInto(img);
  return true;
}

}  // namespace neighbourhood
}  // namespace lamina
