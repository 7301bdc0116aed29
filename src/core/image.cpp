// The image object: construction, copying, geometry, file name and filling.
#include <climits>
#include <cstdint>
#include <cstring>

#include "CLamina.h"
#include "core/block_access.h"
#include "core/codes.h"
#include "core/image_builder.h"
#include "core/pixel_access.h"

using lamina::BlockAccess;
using lamina::ImageView;
using lamina::NewImage;
using lamina::Px;

CLamina::CPunto::CPunto() : x(0), y(0) {}
CLamina::CPunto::CPunto(int column, int row) : x(column), y(row) {}
CLamina::CPunto::~CPunto() = default;

CLamina::CLamina()
    : m_lpDib(nullptr),
      m_lpbmih(nullptr),
      m_lpbmi(nullptr),
      m_lpPalette(nullptr),
      m_lpBits(nullptr),
      m_nAnchoAlineado(16),
      m_strFileName(lamina::kDefaultImageName) {
  // The default image: 16 x 16, 8 bits, gray ramp palette, black pixels.
  NewImage image(16, 16, 8, nullptr);
  image.InstallInto(*this);
}

CLamina::CLamina(const unsigned char* bits, const RGBQUAD* palette, int width, int height, int bpp)
    : m_lpDib(nullptr),
      m_lpbmih(nullptr),
      m_lpbmi(nullptr),
      m_lpPalette(nullptr),
      m_lpBits(nullptr),
      m_nAnchoAlineado(0) {
  // An unsupported depth, a negative or oversized geometry, or a failed allocation leave an object
  // without a block and with an empty name.
  NewImage image(width, height, bpp, palette);
  if (!image.Ok()) return;
  const lamina::ImageView v = image.View();
  if (bits != nullptr) std::memcpy(v.bits, bits, v.header->biSizeImage);
  image.InstallInto(*this, CString(lamina::kDefaultImageName));
}

CLamina::CLamina(const CLamina& other)
    : m_lpDib(nullptr),
      m_lpbmih(nullptr),
      m_lpbmi(nullptr),
      m_lpPalette(nullptr),
      m_lpBits(nullptr),
      m_nAnchoAlineado(16),
      m_strFileName(lamina::kDefaultImageName) {
  *this = other;
}

CLamina::~CLamina() { BlockAccess::Drop(*this); }

CLamina& CLamina::operator=(const CLamina& other) {
  // The copy is built before the old block is released, so assigning an image to itself keeps
  // it, and a failed allocation leaves this image exactly as it was.
  if (&other == this) return *this;
  if (other.m_lpDib == nullptr) {
    BlockAccess::Drop(*this);
    m_strFileName = other.m_strFileName;
    m_nAnchoAlineado = other.m_nAnchoAlineado;
    return *this;
  }
  const BITMAPINFOHEADER& h = *other.m_lpbmih;
  const std::size_t paletteBytes = static_cast<std::size_t>(lamina::PaletteEntries(h)) * 4;
  const std::size_t bytes = 40 + paletteBytes + h.biSizeImage;
  // Every byte of the new block is written below, so it need not be zero-filled first.
  NewImage copy = NewImage::Raw(bytes, 40 + paletteBytes, /*zero=*/false);
  if (!copy.Ok()) return *this;
  std::uint8_t* block = copy.Block();
  std::memcpy(block, &h, 40);
  // The copy is always compact: a header of 40 bytes whatever the source's biSize says.
  if (paletteBytes > 0) std::memcpy(block + 40, other.m_lpPalette, paletteBytes);
  std::memcpy(block + 40 + paletteBytes, other.m_lpBits, h.biSizeImage);
  copy.InstallInto(*this);
  m_strFileName = other.m_strFileName;
  m_nAnchoAlineado = other.m_nAnchoAlineado;
  return *this;
}

// ---- Geometry and sizes ----------------------------------------------------------------------

int CLamina::fnIMG_GetRows() { return BlockAccess::Header(*this).biHeight; }
int CLamina::fnIMG_GetColumns() { return BlockAccess::Header(*this).biWidth; }
int CLamina::fnIMG_GetColorDepth() { return BlockAccess::Header(*this).biBitCount; }
int CLamina::fnIMG_GetBitmapSize() {
  return static_cast<int>(BlockAccess::Header(*this).biSizeImage);
}
int CLamina::fnIMG_GetDIBSize() {
  const BITMAPINFOHEADER& h = BlockAccess::Header(*this);
  if (m_lpDib == nullptr) return 0;
  std::int64_t size = std::int64_t{h.biSize} + h.biSizeImage;
  if (h.biBitCount <= 8) size += fnIMG_GetPaletteSize();
  return static_cast<int>(size);
}
int CLamina::fnIMG_GetLevels() {
  return static_cast<int>(lamina::Levels(BlockAccess::Header(*this).biBitCount));
}
int CLamina::fnIMG_GetColorsUsed() {
  if (m_lpDib == nullptr) return 0;
  return static_cast<int>(lamina::ColourCount(*m_lpbmih));
}
BITMAPINFOHEADER CLamina::fnIMG_GetBitmapInfoHeader() { return BlockAccess::Header(*this); }
CLamina::Punteros CLamina::fnIMG_GetPointers() {
  return Punteros{m_lpDib, m_lpbmih, m_lpbmi, m_lpPalette, m_lpBits};
}
int CLamina::fnIMG_IsInside(int x, int y) {
  const BITMAPINFOHEADER& h = BlockAccess::Header(*this);
  return (x >= 0 && y >= 0 && x < h.biWidth && y < h.biHeight) ? 1 : 0;
}
namespace {
// Strides and sizes come back as ints. Any int width and depth give a stride within 64 bits, but
// stride x height may not, and either may leave int's range: such a size is answered with the
// nearest int (INT_MAX, or INT_MIN for a negative one) rather than with wrapped bits a caller
// would allocate too small a buffer from.
int SaturateToInt(std::int64_t value) {
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}
int AlignedSize(std::int64_t width, std::int64_t height, std::int64_t bpp) {
  std::int64_t size = 0;
  if (__builtin_mul_overflow(lamina::Stride64(width, bpp), height, &size))
    return (lamina::Stride64(width, bpp) < 0) != (height < 0) ? INT_MIN : INT_MAX;
  return SaturateToInt(size);
}
}  // namespace

int CLamina::fnIMG_GetAnchoBitmapAlineado() {
  const BITMAPINFOHEADER& h = BlockAccess::Header(*this);
  return SaturateToInt(lamina::Stride64(h.biWidth, h.biBitCount));
}
int CLamina::fnIMG_GetAnchoBitmapAlineado(int width, int bpp) {
  return SaturateToInt(lamina::Stride64(width, bpp));
}
int CLamina::fnIMG_GetSizeBitmapAlineado() {
  const BITMAPINFOHEADER& h = BlockAccess::Header(*this);
  return AlignedSize(h.biWidth, h.biHeight, h.biBitCount);
}
int CLamina::fnIMG_GetSizeBitmapAlineado(int width, int height, int bpp) {
  return AlignedSize(width, height, bpp);
}

void CLamina::fnIMG_GetBitmap(unsigned char* dst) {
  if (m_lpDib != nullptr && dst != nullptr) std::memcpy(dst, m_lpBits, m_lpbmih->biSizeImage);
}
void CLamina::fnIMG_SetBitmap(const unsigned char* src) {
  if (m_lpDib != nullptr && src != nullptr) std::memcpy(m_lpBits, src, m_lpbmih->biSizeImage);
}

// ---- File name -------------------------------------------------------------------------------

void CLamina::fnIMG_SetFileName(CString name) { m_strFileName = name; }

CString CLamina::fnIMG_GetFileName() {
  // Everything before the last full stop; folders are not looked at.
  const int dot = m_strFileName.ReverseFind(L'.');
  return dot < 0 ? CString() : m_strFileName.Left(dot);
}

CString CLamina::fnIMG_GetFileExt() {
  const int dot = m_strFileName.ReverseFind(L'.');
  return dot < 0 ? CString() : m_strFileName.Mid(dot + 1);
}

// ---- Filling ---------------------------------------------------------------------------------

int CLamina::fnIMG_Initialize(unsigned int value) {
  const ImageView v = BlockAccess::View(*this);
  if (!lamina::IsSupportedDepth(v.bpp)) return lamina::codes::initialize::kDepth;
  // Each row gets the value in every pixel and keeps its padding (and, at 1 and 4 bits, the unused
  // bits of its last byte), as setting every pixel one by one would.
  const std::size_t w = static_cast<std::size_t>(v.width);
  lamina::DispatchDepth(v.bpp, [&](auto d) {
    constexpr int B = decltype(d)::value;
    for (int y = v.height - 1; y >= 0; --y) {
      std::uint8_t* row = v.Row(y);
      if constexpr (B == 1) {
        const std::size_t full = w / 8;
        std::memset(row, value != 0 ? 0xFF : 0x00, full);
        for (int x = static_cast<int>(full * 8); x < v.width; ++x) Px<1>::Set(row, x, value);
      } else if constexpr (B == 4) {
        const std::uint8_t nib = static_cast<std::uint8_t>(value & 15u);
        std::memset(row, nib * 0x11, w / 2);
        if (w & 1) Px<4>::Set(row, v.width - 1, value);
      } else if constexpr (B == 8) {
        std::memset(row, static_cast<std::uint8_t>(value), w);
      } else if constexpr (B == 24) {
        const std::uint8_t b = static_cast<std::uint8_t>(value),
                           g = static_cast<std::uint8_t>(value >> 8),
                           r = static_cast<std::uint8_t>(value >> 16);
        if (b == g && g == r) {
          std::memset(row, b, w * 3);
        } else {
          for (std::size_t x = 0; x < w; ++x) {
            row[3 * x] = b;
            row[3 * x + 1] = g;
            row[3 * x + 2] = r;
          }
        }
      } else {
        for (int x = 0; x < v.width; ++x) Px<32>::Set(row, x, value);
      }
    }
  });
  m_nAnchoAlineado = v.stride;
  return 0;
}

int CLamina::fnIMG_Initialize(RGBQUAD colour) {
  const ImageView v = BlockAccess::View(*this);
  if (!lamina::IsSupportedDepth(v.bpp)) return lamina::codes::initialize::kDepth;
  if (v.bpp <= 8) {
    // Setting a palette image's pixels by colour rewrites the entries its pixels use.
    bool used[256] = {};
    lamina::DispatchDepth<lamina::kPaletteDepthMask>(v.bpp, [&](auto d) {
      constexpr int B = decltype(d)::value;
      // The scan stops as soon as every index of the depth has been seen: in most pictures
      // that is within the first rows, and nothing later can change the answer.
      constexpr int kIndices = 1 << B;
      int seen = 0;
      for (int y = v.height - 1; y >= 0 && seen < kIndices; --y) {
        const std::uint8_t* row = v.Row(y);
        std::uint8_t rowSeen[kIndices] = {};
        int x = 0;
        if constexpr (B == 8) {
          // Runs of one index (flat areas) are marked once per eight pixels.
          for (; x + 8 <= v.width; x += 8) {
            std::uint64_t word;
            std::memcpy(&word, row + x, 8);
            if (word == row[x] * 0x0101010101010101ull) {
              rowSeen[row[x]] = 1;
            } else {
              for (int k = 0; k < 8; ++k) rowSeen[row[x + k]] = 1;
            }
          }
        }
        for (; x < v.width; ++x) rowSeen[Px<B>::Get(row, x)] = 1;
        for (int i = 0; i < kIndices; ++i)
          if (rowSeen[i] && !used[i]) {
            used[i] = true;
            ++seen;
          }
      }
    });
    for (int i = 0; i < v.paletteEntries; ++i)
      if (used[i]) v.palette[i] = colour;
  } else {
    lamina::DispatchDepth<lamina::kTrueColourDepthMask>(v.bpp, [&](auto d) {
      constexpr int B = decltype(d)::value;
      for (int y = v.height - 1; y >= 0; --y) {
        std::uint8_t* row = v.Row(y);
        for (int x = 0; x < v.width; ++x) Px<B>::SetRGB(row, x, colour);
      }
    });
  }
  m_nAnchoAlineado = v.stride;
  return 0;
}
