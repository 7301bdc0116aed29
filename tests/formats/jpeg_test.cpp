// JPEG files: the reference picture, baseline, progressive and arithmetic-coded, read within 3
// levels of the uncompressed original, the 12-bit file and cut or foreign files refused with the
// image untouched, and what we write read back (and by Pillow) to nearly the same colours.
// Progressive and gray files written by other programs are read in png_test.cpp (WrittenByOthers).
#include <cstdlib>

#include "lamina/formats.h"
#include "support/files.h"

namespace {

using namespace lamina_test;
namespace formats = lamina::formats;

int WorstDifference(const Bytes& a, const Bytes& b) {
  if (a.size() != b.size()) return 256;
  int worst = 0;
  for (std::size_t i = 0; i < a.size(); ++i) worst = std::max(worst, std::abs(a[i] - b[i]));
  return worst;
}

TEST(JpegLoad, ReferenceFilesReadWithinThreeLevelsOfTheOriginal) {
  const Pnm original = ReadPnm(Data("jpeg/testorig.ppm"));
  ASSERT_EQ(original.channels, 3);
  // One set of coefficients in three codings (tests/data/jpeg/README.md).
  for (const char* name : {"testorig.jpg", "testorig_progressive.jpg", "testorig_arithmetic.jpg"}) {
    CLamina img;
    ASSERT_EQ(formats::LoadJPEG(img, Path(Data("jpeg") / name)), 0) << name;
    EXPECT_EQ(img.fnIMG_GetColorDepth(), 24);
    EXPECT_EQ(img.fnIMG_GetColumns(), original.width);
    EXPECT_LE(WorstDifference(Colours(img), original.samples), 3) << name;
    EXPECT_EQ(NameOf(img), name);
  }
  // Compressed again from the original, Huffman and arithmetic-coded: one picture, which lies
  // within the compression's loss of the original.
  CLamina huffman, arithmetic;
  ASSERT_EQ(formats::LoadJPEG(huffman, Path(Data("jpeg/testimgint.jpg"))), 0);
  ASSERT_EQ(formats::LoadJPEG(arithmetic, Path(Data("jpeg/testimgari.jpg"))), 0);
  EXPECT_EQ(Colours(huffman), Colours(arithmetic));
  EXPECT_LE(WorstDifference(Colours(huffman), original.samples), 17);
}

TEST(JpegLoad, TwelveBitCutAndForeignFilesAreRefusedAndChangeNothing) {
  CLamina img(nullptr, nullptr, 2, 2, 8);
  img.fnIMG_SetFileName(CString("kept.raw"));
  const Snapshot before = Snap(img);
  EXPECT_EQ(formats::LoadJPEG(img, Path(Data("jpeg/monkey12.jpg"))), 4);
  EXPECT_EQ(formats::LoadJPEG(img, Path(Data("pngsuite/basn2c08.png"))), 2);
  EXPECT_EQ(formats::LoadJPEG(img, CString("/no/such/file.jpg")), 1);
  // Every cut of the baseline and the progressive file (in steps, they are 6 KB): data that ends
  // early is refused, not filled with gray.
  for (const char* name : {"testorig.jpg", "testimgint.jpg"}) {
    const Bytes file = ReadAll(Data("jpeg") / name);
    for (std::size_t n = 0; n + 2 < file.size(); n += 37)
      EXPECT_EQ(formats::LoadJPEGFromBuffer(img, file.data(), n), n < 3 ? 2 : 3)
          << name << " " << n;
  }
  EXPECT_EQ(Snap(img), before);
}

// Our writer at 8 (gray and colour palettes) and 24 bits: read back near the picture's colours.
TEST(JpegSave, EightAndTwentyFourBitsReadBackNearTheirColours) {
  const TempDir dir;
  CLamina colour;
  ASSERT_EQ(formats::LoadJPEG(colour, Path(Data("jpeg/testorig.jpg"))), 0);
  CLamina gray = colour;
  ASSERT_EQ(gray.fnIMG_ColorToGray(0), 0);
  ASSERT_EQ(gray.fnIMG_ChangeColorDepth(2), 0);  // 8 bits, gray palette
  CLamina palette = gray;
  RGBQUAD tinted[256];
  for (int i = 0; i < 256; ++i) tinted[i] = Quad(i, i / 2, 255 - i);
  palette.fnIMG_SetPalette(tinted);
  for (CLamina* img : {&colour, &gray, &palette}) {
    const std::string path = (dir / "a.jpg").string();
    ASSERT_EQ(formats::SaveJPEG(*img, CString(path), 95), 0);
    CLamina back;
    ASSERT_EQ(formats::LoadJPEG(back, CString(path)), 0);
    EXPECT_EQ(back.fnIMG_GetColorDepth(), img == &gray ? 8 : 24);
    Bytes want = Colours(*img), got = Colours(back);
    double total = 0;
    for (std::size_t i = 0; i < want.size(); ++i) total += std::abs(want[i] - got[i]);
    EXPECT_LT(total / want.size(), 3.0);
  }
}

TEST(JpegSave, QualityAndRefusals) {
  CLamina img;
  ASSERT_EQ(formats::LoadJPEG(img, Path(Data("jpeg/testorig.jpg"))), 0);
  std::vector<unsigned char> small, large;
  ASSERT_EQ(formats::SaveJPEGToBuffer(img, small, 20), 0);
  ASSERT_EQ(formats::SaveJPEGToBuffer(img, large, 95), 0);
  EXPECT_LT(small.size() * 2, large.size());
  std::vector<unsigned char> out{7};
  for (int q : {0, 101, -5}) EXPECT_EQ(formats::SaveJPEGToBuffer(img, out, q), 2) << q;
  CLamina four(nullptr, nullptr, 4, 4, 4), none(nullptr, nullptr, 4, 4, 16);
  EXPECT_EQ(formats::SaveJPEGToBuffer(four, out, 90), 1);
  EXPECT_EQ(formats::SaveJPEGToBuffer(none, out, 90), 1);
  EXPECT_EQ(out, std::vector<unsigned char>{7});
  const TempDir dir;
  EXPECT_EQ(formats::SaveJPEG(img, CString((dir / "no/folder.jpg").string()), 90), 3);
}

}  // namespace
