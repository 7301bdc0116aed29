// Every operation that builds a block, run with no memory to be had: each must report its own code
// (or its null result) and leave the image's block and name exactly as they were.
#include <functional>

#include "support/files.h"

namespace {

using namespace lamina_test;

// Input files made once, while memory is still to be had.
struct Inputs {
  TempDir dir;
  Bytes bmp, pgm = Cat(B("P5\n2 2\n255\n"), {1, 2, 3, 4}), raw = Bytes(1024, 7);
  CString bmpName = Path(dir / "in.bmp"), pgmName = Path(dir / "in.pgm"),
          rawName = Path(dir / "in.raw"), out = Path(dir / "out.raw");
  CLamina other{nullptr, nullptr, 40, 30, 24}, source = FromRows(8, {{1, 2}});
  HGLOBAL handle = MakeHandle(InfoHeader(1, 1, 32), {1, 2, 3, 4});
  ~Inputs() { GlobalFree(handle); }
  Inputs() {
    CLamina().fnIMG_SaveBMP(bmpName);
    bmp = ReadAll(dir / "in.bmp");
    WriteAll(dir / "in.pgm", pgm);
    WriteAll(dir / "in.raw", raw);
  }
};
Inputs& In() {
  static Inputs inputs;
  return inputs;
}

struct Row {
  const char* what;
  int bpp;
  std::function<int(CLamina&)> op;
  int expected;
  const char* name = nullptr;  // the name a file form gives the image before it fails
};
void PrintTo(const Row& r, std::ostream* os) { *os << r.what; }

const Row kRows[] = {
    {"copy assignment", 8,
     [](CLamina& i) {
       i = In().other;
       return 0;
     },
     0},
    {"data constructor gives no block", 8,
     [](CLamina&) { return CLamina(nullptr, nullptr, 8, 8, 8).fnIMG_GetColorDepth(); }, 0},
    {"ChangeColorDepth", 8, [](CLamina& i) { return i.fnIMG_ChangeColorDepth(3); }, 3},
    {"Crop", 4, [](CLamina& i) { return i.fnIMG_Crop(0, 0, 1, 1); }, 3},
    {"Interlace", 8, [](CLamina& i) { return i.fnIMG_Interlace(0, &In().source, &In().source); },
     7},
    {"DeInterlace", 8, [](CLamina& i) { return i.fnIMG_DeInterlace(1, 1); }, 4},
    {"CopyToHandle gives null", 8, [](CLamina& i) { return i.fnIMG_CopyToHandle() != nullptr; }, 0},
    {"CopyFromHandle", 8,
     [](CLamina& i) {
       const Bytes before = HandleBytes(In().handle);
       i.fnIMG_CopyFromHandle(In().handle);
       return HandleBytes(In().handle) == before ? 0 : 1;  // not even reduced to 24 bits
     },
     0},
    {"BitPlane", 8, [](CLamina& i) { return i.fnIMG_BitPlane(0); }, 2},
    {"BitPlane of a true-colour image", 24, [](CLamina& i) { return i.fnIMG_BitPlane(3); }, 2},
    {"LoadBMPFromBuffer", 8,
     [](CLamina& i) { return i.fnIMG_LoadBMPFromBuffer(In().bmp.data(), int(In().bmp.size())); },
     6},
    {"LoadBMP by name", 8, [](CLamina& i) { return i.fnIMG_LoadBMP(In().bmpName); }, 6},
    {"LoadBMP from a file", 8,
     [](CLamina& i) {
       CFile f;
       f.Open(In().bmpName, CFile::modeRead);
       return i.fnIMG_LoadBMP(&f);
     },
     6},
    {"LoadRAW", 8, [](CLamina& i) { return i.fnIMG_LoadRAW(In().rawName); }, 5, "in.raw"},
    {"LoadRAW sized", 8, [](CLamina& i) { return i.fnIMG_LoadRAW(In().rawName, 32, 32); }, 5,
     "in.raw"},
    {"LoadRAWFromBuffer", 8,
     [](CLamina& i) { return i.fnIMG_LoadRAWFromBuffer(In().raw.data(), 1024); }, 3},
    {"SaveRAW converts a copy", 24, [](CLamina& i) { return i.fnIMG_SaveRAW(In().out); }, 3},
    {"LoadPGM", 8, [](CLamina& i) { return i.fnIMG_LoadPGM(In().pgmName); }, 8, "in.pgm"},
    {"LoadPGMFromBuffer", 8,
     [](CLamina& i) { return i.fnIMG_LoadPGMFromBuffer(In().pgm.data(), int(In().pgm.size())); },
     7},
};

class ShortOfMemory : public ::testing::TestWithParam<Row> {};

TEST_P(ShortOfMemory, GivesItsCodeAndLeavesTheImage) {
  In();
  CLamina img = FromRows(GetParam().bpp, {{0, 1}, {1, 0}});
  img.fnIMG_SetFileName(CString("kept.bmp"));
  Snapshot before = Snap(img);
  {
    FailingAllocations fail;
    EXPECT_EQ(GetParam().op(img), GetParam().expected);
  }
  // The file forms of the RAW and PGM loaders name the image first, as they always have.
  if (GetParam().name != nullptr) before.name = GetParam().name;
  EXPECT_EQ(Snap(img), before);
  EXPECT_EQ(Snap(img).address, before.address);
  EXPECT_FALSE(fs::exists(In().dir / "out.raw"));
}

INSTANTIATE_TEST_SUITE_P(Operations, ShortOfMemory, ::testing::ValuesIn(kRows), CaseName());

}  // namespace
