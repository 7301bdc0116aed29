// The operation registry: it covers every member form the header declares and the library builds,
// it reads arguments exactly, and each entry hands the member its arguments in the right places
// (a chain run through the registry gives what the direct calls give).
#include "registry.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>

#include "header_scan.h"
#include "support/files.h"
#include "support/pictures.h"

namespace {

namespace fs = std::filesystem;
namespace reg = lamina::registry;
using lamina_test::Snap;

std::string ReadText(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Every name defined as CLamina::name( in the library's sources.
std::set<std::string> DefinedMembers() {
  std::set<std::string> names;
  for (const auto& e : fs::recursive_directory_iterator(fs::path(LAMINA_SOURCE_DIR) / "src")) {
    if (e.path().extension() != ".cpp") continue;
    const std::string text = ReadText(e.path());
    for (std::size_t at = text.find("CLamina::"); at != std::string::npos;
         at = text.find("CLamina::", at + 1)) {
      std::size_t end = at + 9;
      while (end < text.size() &&
             (std::isalnum(static_cast<unsigned char>(text[end])) || text[end] == '_'))
        ++end;
      if (end < text.size() && text[end] == '(') names.insert(text.substr(at + 9, end - at - 9));
    }
  }
  return names;
}

std::vector<reg::DeclaredMember> Declared() {
  return reg::ScanHeader(ReadText(fs::path(LAMINA_SOURCE_DIR) / "include" / "CLamina.h"));
}

TEST(RegistryCoverage, EveryBuiltMemberFormHasAnEntry) {
  const std::vector<reg::DeclaredMember> declared = Declared();
  const std::set<std::string> defined = DefinedMembers();
  // The scan itself: overloads, the mapping members, protected and private ones are all seen.
  std::map<std::string, int> forms;
  for (const auto& m : declared) ++forms[m.name];
  ASSERT_GT(declared.size(), 140u);
  EXPECT_EQ(forms["fnIMG_Rotation"], 2);
  EXPECT_EQ(forms["fnIMG_LoadRAW"], 4);
  EXPECT_EQ(forms["transformation"], 1);
  EXPECT_EQ(forms["fnIMG_EqualizeNoRGBHistogram"], 1);

  std::string missing;
  for (const auto& m : declared) {
    if (defined.count(m.name) == 0) continue;
    bool found = false;
    for (const reg::Operation& op : reg::Operations())
      found = found || (m.name == op.member && m.parameters == op.parameters);
    if (!found) missing += "\n  " + m.name + "(" + m.parameters + ")";
  }
  EXPECT_TRUE(missing.empty()) << "members without a registry entry:" << missing;
}

TEST(RegistryCoverage, EntriesNameDeclaredFormsOnceAndTheirFormsCanBeToldApart) {
  const std::vector<reg::DeclaredMember> declared = Declared();
  std::set<std::string> seen;
  std::map<std::string, std::set<std::size_t>> counts;
  for (const reg::Operation& op : reg::Operations()) {
    const std::string form = std::string(op.member) + "(" + op.parameters + ")";
    bool isDeclared = false;
    for (const auto& m : declared)
      isDeclared = isDeclared || (m.name == op.member && m.parameters == op.parameters);
    EXPECT_TRUE(isDeclared) << op.name << " describes " << form << ", which the header lacks";
    EXPECT_TRUE(seen.insert(form).second) << form << " has two entries";
    std::string lower = op.name;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_TRUE(counts[lower].insert(op.args.size()).second)
        << op.name << " has two forms of " << op.args.size() << " arguments";
    EXPECT_NE(op.run == nullptr, op.noTool == nullptr) << op.name << ": a run function or a reason";
    EXPECT_NE(op.gallery == nullptr, op.noTool == nullptr) << op.name << ": a gallery call";
    if (op.noTool == nullptr) {
      EXPECT_FALSE(reg::Summary(op).empty()) << op.name << " found no comment in the header";
    }
  }
}

// ---- Arguments --------------------------------------------------------------------------------

struct ParseCase {
  reg::Kind kind;
  const char* text;
  bool ok;
  long long number;  // the integer kinds and packed colours
  std::vector<int> cells;
};

TEST(RegistryValues, NumbersColoursAndFlagSetsAreReadExactly) {
  using K = reg::Kind;
  const std::vector<ParseCase> cases = {
      {K::kInt, "-2147483648", true, INT32_MIN, {}},
      {K::kInt, "2147483648", false, 0, {}},
      {K::kInt, "12x", false, 0, {}},
      {K::kInt, "", false, 0, {}},
      {K::kInt, " 5", false, 0, {}},
      {K::kUChar, "255", true, 255, {}},
      {K::kUChar, "256", false, 0, {}},
      {K::kUChar, "-1", false, 0, {}},
      // A packed colour has red in the low byte; a pixel value has blue there.
      {K::kColour, "#ff8001", true, 0x0180ff, {}},
      {K::kPixel, "#ff8001", true, 0xff8001, {}},
      {K::kColour, "#ff80", false, 0, {}},
      {K::kColour, "#ff80zz", false, 0, {}},
      {K::kColour, "65536", true, 65536, {}},
      {K::kChannels, "gray,blue", true, 0, {1, 0, 0, 1}},
      {K::kChannels, "all", true, 0, {1, 1, 1, 1}},
      {K::kChannels, "grey", false, 0, {}},
      {K::kRules, "1,6", true, 0, {1, 0, 0, 0, 0, 1}},
      {K::kRules, "7", false, 0, {}},
      {K::kElement, "2x1:0,255", true, 0, {0, 255}},
      {K::kElement, "2x1:0,256", false, 0, {}},
      {K::kKernel, "2x2:1,-2\n3 4", true, 0, {1, -2, 3, 4}},
      {K::kKernel, "3x3:1,2", false, 0, {}},
      {K::kKernel, "0x3:", false, 0, {}},
  };
  reg::Outputs outputs(false);
  for (const ParseCase& c : cases) {
    reg::Value v;
    std::string error;
    const bool ok = reg::Parse(reg::Arg{"a", c.kind, ""}, c.text, outputs, v, error);
    EXPECT_EQ(ok, c.ok) << reg::KindName(c.kind) << " '" << c.text << "': " << error;
    if (!ok || !c.ok) continue;
    if (c.cells.empty()) {
      EXPECT_EQ(v.number, c.number) << c.text;
    } else {
      EXPECT_EQ(v.cells, c.cells) << c.text;
    }
  }
  // Planes run from 23 down to 0 in the record.
  reg::Value planes;
  std::string error;
  ASSERT_TRUE(reg::Parse(reg::Arg{"p", K::kPlanes, ""}, "0-2,20", outputs, planes, error));
  std::vector<int> expected(24, 0);
  for (int p : {0, 1, 2, 20}) expected[23 - p] = 1;
  EXPECT_EQ(planes.cells, expected);
  EXPECT_FALSE(reg::Parse(reg::Arg{"p", K::kPlanes, ""}, "3-1", outputs, planes, error));
  EXPECT_FALSE(reg::Parse(reg::Arg{"p", K::kPlanes, ""}, "24", outputs, planes, error));
}

// ---- Chains against direct calls ----------------------------------------------------------------

struct Fixture {
  lamina_test::TempDir dir;
  std::string second;
  CLamina secondImage = lamina_test::Random(24, 37, 29, 7);  // the size of the pictures below
  Fixture() {
    second = (dir / "second.bmp").string();
    secondImage.fnIMG_SaveBMP(CString(second));
    secondImage.fnIMG_LoadBMP(CString(second));  // named as the registry's copy will be
  }
};

std::string Replace(std::string s, const std::string& what, const std::string& with) {
  for (std::size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + with.size()))
    s.replace(at, what.size(), with);
  return s;
}

std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

reg::Outcome RunChain(CLamina& img, const std::string& chain, reg::Outputs& outputs) {
  std::vector<reg::Step> steps;
  std::string error;
  EXPECT_TRUE(reg::ParseChain(Words(chain), outputs, steps, error)) << chain << ": " << error;
  reg::Outcome last;
  for (const reg::Step& s : steps) {
    last = reg::RunStep(img, s, outputs);
    if (last.failed) break;
  }
  return last;
}

TEST(RegistryChains, EachStepPassesItsArgumentsToTheRightParameters) {
  Fixture f;
  struct Case {
    int bpp;
    const char* chain;
    std::function<void(CLamina&, CLamina&)> direct;  // (image, second image)
  };
  const std::vector<Case> cases = {
      {24, "Crop 3 4 30 20", [](CLamina& i, CLamina&) { i.fnIMG_Crop(3, 4, 30, 20); }},
      {24, "Rotation 1 33.5 #102030",
       [](CLamina& i, CLamina&) { i.fnIMG_Rotation(1, 33.5, 0x302010); }},
      {8, "Rotation 0 10 20 30 #0000ff",
       [](CLamina& i, CLamina&) { i.fnIMG_Rotation(0, 10, 20, 30, 0xff0000); }},
      {24, "GrayScaleLinealTransform 10 200 30 220 red,blue",
       [](CLamina& i, CLamina&) {
         i.fnIMG_GrayScaleLinealTransform(10, 200, 30, 220, {0, 1, 0, 1});
       }},
      {8, "Negative green",
       [](CLamina& i, CLamina&) {
         i.fnIMG_Negative({0, 0, 1, 0});
       }},
      {24, "BitPlaneErase 0-2,20",
       [](CLamina& i, CLamina&) {
         CLamina::CualesPlanosBits p{};
         p.bPlano0 = p.bPlano1 = p.bPlano2 = p.bPlano20 = 1;
         i.fnIMG_BitPlaneErase(p);
       }},
      {24, "Balance 10 -20 30", [](CLamina& i, CLamina&) { i.fnIMG_Balance(10, -20, 30); }},
      {24, "ScotomaZoom 0 18 14 3 4 5 6 1 0 #ff0000",
       [](CLamina& i, CLamina&) { i.fnIMG_ScotomaZoom(0, 18, 14, 3, 4, 5, 6, 1, 0, 0xff); }},
      {4, "Translation 0 5 -3 #00ff00",
       [](CLamina& i, CLamina&) { i.fnIMG_Translation(0, 5, -3, 0xff00); }},
      {24, "Inclination 3 25 #010203",
       [](CLamina& i, CLamina&) { i.fnIMG_Inclination(3, 25, 0x030201); }},
      {8, "Convolution 3x3:1,2,1,0,0,0,-1,-2,-1 3 2 1",
       [](CLamina& i, CLamina&) {
         int k[9] = {1, 2, 1, 0, 0, 0, -1, -2, -1};
         i.fnIMG_Convolution(k, 3, 3, 2, 1);
       }},
      {8, "Morphological 3 3x2:0,1,0,0,0,1 2 0",
       [](CLamina& i, CLamina&) {
         unsigned char e[6] = {0, 1, 0, 0, 0, 1};
         i.fnIMG_Morphological(3, e, 3, 2, 2, 0);
       }},
      {1, "BinarySmoothing 2,5",
       [](CLamina& i, CLamina&) {
         i.fnIMG_BinarySmoothing({0, 1, 0, 0, 1, 0});
       }},
      {24, "Arithmetic 0 {second} 0.5 1.5 3 2",
       [](CLamina& i, CLamina& s) { i.fnIMG_Arithmetic(0, &s, 0.5f, 1.5f, 3, 2); }},
      {24, "Interlace 1 self {second}",
       [](CLamina& i, CLamina& s) { i.fnIMG_Interlace(1, &i, &s); }},
      {8, "RegionGrowing 5 6 1 0 40 200",
       [](CLamina& i, CLamina&) { i.fnIMG_RegionGrowing(5, 6, 1, 0, 40, 200); }},
      {8, "Thresholding 100 10 200",
       [](CLamina& i, CLamina&) { i.fnIMG_Thresholding(100, 10, 200); }},
      {8, "AdaptiveLocalThresholding 5 7 -1 1",
       [](CLamina& i, CLamina&) { i.fnIMG_AdaptiveLocalThresholding(5, 7, -1, 1); }},
      {8, "GrayLevelSlicing 0 40 90 200 10",
       [](CLamina& i, CLamina&) { i.fnIMG_GrayLevelSlicing(0, 40, 90, 200, 10); }},
      {24, "NonLinearContrast 3 6 0.25",
       [](CLamina& i, CLamina&) { i.fnIMG_NonLinearContrast(3, 6, 0.25f); }},
      {8, "Filters 43 2 1", [](CLamina& i, CLamina&) { i.fnIMG_Filters(43, 2, 1); }},
      {24, "Undulation 4 3 1 #000102",
       [](CLamina& i, CLamina&) { i.fnIMG_Undulation(4, 3, 1, 0x020100); }},
      {24, "Spiral 90.5 12", [](CLamina& i, CLamina&) { i.fnIMG_Spiral(90.5, 12); }},
      {24, "Mosaic 3 5", [](CLamina& i, CLamina&) { i.fnIMG_Mosaic(3, 5); }},
      {8, "DeInterlace 1 2 Emboss 5",
       [](CLamina& i, CLamina&) {
         i.fnIMG_DeInterlace(1, 2);
         i.fnIMG_Emboss(5);
       }},
      {24, "Insert {second} 30 20 Logic 4 {second}",
       [](CLamina& i, CLamina& s) {
         i.fnIMG_Insert(&s, 30, 20);
         i.fnIMG_Logic(4, &s);
       }},
      {1, "SetOps 1 -", [](CLamina& i, CLamina&) { i.fnIMG_SetOps(1, nullptr); }},
      {24, "Scaling 1.5 0.5 0 Translation 1 7 9 #ffffff",
       [](CLamina& i, CLamina&) {
         i.fnIMG_Scaling(1.5f, 0.5f, 0);
         i.fnIMG_Translation(1, 7, 9, 0xffffff);
       }},
      {24, "Translation 0 2 30 100 #0a0b0c",
       [](CLamina& i, CLamina&) {
         CLamina::InfoDesplazamientotag info{};
         i.fnIMG_Translation(0, 2, 30.f, 100.f, 0x0c0b0a, &info);
       }},
      {4, "ChangeColorDepth 3 ColorToGray 1 ChangeGrayLevelsNumber 5 Gamma 0.5 Brightness -10",
       [](CLamina& i, CLamina&) {
         i.fnIMG_ChangeColorDepth(3);
         i.fnIMG_ColorToGray(1);
         i.fnIMG_ChangeGrayLevelsNumber(5);
         i.fnIMG_Gamma(0.5f);
         i.fnIMG_Brightness(-10);
       }},
      {24, "EqualizeHistogram 9 0 InitializeRGB #0a0b0c SetRGBPixel 2 1 #ffeedd Initialize 77",
       [](CLamina& i, CLamina&) {
         i.fnIMG_EqualizeHistogram(9, 0);
         i.fnIMG_Initialize(RGBQUAD{0x0c, 0x0b, 0x0a, 0});
         i.fnIMG_SetRGBPixel(2, 1, RGBQUAD{0xdd, 0xee, 0xff, 0});
         i.fnIMG_Initialize(77u);
       }},
      {32, "SetPixel 3 4 #112233 SetAlfa 2",
       [](CLamina& i, CLamina&) { i.fnIMG_SetPixel(3, 4, 0x112233), i.fnIMG_SetAlfa(2); }},
      {32, "SetAlfaAll 200 SetAlfa 1 2 7",
       [](CLamina& i, CLamina&) {
         i.fnIMG_SetAlfa(static_cast<unsigned char>(200));
         i.fnIMG_SetAlfa(1, 2, 7);
       }},
      {8, "SetPalette #ff0000,#00ff00",
       [](CLamina& i, CLamina&) {
         RGBQUAD p[256];
         i.fnIMG_GetPalette(p);
         p[0] = RGBQUAD{0, 0, 255, 0};
         p[1] = RGBQUAD{0, 255, 0, 0};
         i.fnIMG_SetPalette(p);
       }},
  };
  for (const Case& c : cases) {
    CLamina viaRegistry = lamina_test::Random(c.bpp, 37, 29, 11);
    CLamina direct = viaRegistry;
    reg::Outputs outputs(false);
    const reg::Outcome o = RunChain(viaRegistry, Replace(c.chain, "{second}", f.second), outputs);
    EXPECT_FALSE(o.failed) << c.chain << ": " << o.words;
    c.direct(direct, f.secondImage);
    EXPECT_TRUE(Snap(viaRegistry) == Snap(direct)) << c.chain;
  }
}

// Operations that measure: what they print is what the direct call gives.
TEST(RegistryChains, MeasuringStepsPrintWhatTheMembersGive) {
  Fixture f;
  CLamina img = lamina_test::Random(24, 37, 29, 2);
  struct Case {
    const char* chain;
    std::function<std::vector<double>(CLamina&, CLamina&)> direct;  // every printed number
  };
  const std::vector<Case> cases = {
      {"RGBToHSL #ff8001 2",
       [](CLamina& i, CLamina&) {
         const auto r = i.fnIMG_RGBToHSL(RGBQUAD{1, 0x80, 0xff, 0}, 2);
         return std::vector<double>{r.hslHue, r.hslSaturation, r.hslLightness};
       }},
      {"XYZToLAB 0.5,0.4,0.1 2 3",
       [](CLamina& i, CLamina&) {
         const auto r = i.fnIMG_XYZToLAB({0.5f, 0.4f, 0.1f}, 2, 3);
         return std::vector<double>{r.labL, r.labA, r.labB};
       }},
      {"LUVToXYZ 60,20,-30 3 1",
       [](CLamina& i, CLamina&) {
         const auto r = i.fnIMG_LUVToXYZ({60.f, 20.f, -30.f}, 3, 1);
         return std::vector<double>{r.xyzX, r.xyzY, r.xyzZ};
       }},
      {"RGBToCMYK #102030 1",
       [](CLamina& i, CLamina&) {
         const auto r = i.fnIMG_RGBToCMYK(RGBQUAD{0x30, 0x20, 0x10, 0}, 1);
         return std::vector<double>{r.cmykCyan, r.cmykMagenta, r.cmykYellow, r.cmykBlack};
       }},
      {"CalcularDesplazamientos 10 30 0",
       [](CLamina& i, CLamina&) {
         CLamina::InfoDesplazamientotag r{};
         i.fnIMG_CalcularDesplazamientos(10, 30.f, 0, &r);
         return std::vector<double>{r.fDesplazamiento,   r.fDesplazamientoPulgadas,
                                    r.fDesplazamientoX,  r.fDesplazamientoY,
                                    double(r.nPixelesX), double(r.nPixelesY)};
       }},
      {"GetDifferentPixels {second}",
       [](CLamina& i, CLamina& s) {
         return std::vector<double>{double(i.fnIMG_GetDifferentPixels(&s))};
       }},
      {"FindThreshold 2",
       [](CLamina& i, CLamina&) {
         int second = 0;
         const int t = i.fnIMG_FindThreshold(2, &second);
         return std::vector<double>{double(t), double(second)};
       }},
      {"IsInside 36 29 GetPaletteSize", nullptr},  // fails: a 24-bit image has no palette
      // Stated values: the transform of one impulse is flat, and the disc's point (0.5, 0.25)
      // moves out along its direction to the square's edge at its distance.
      {"Fourier 1,0,0,0",
       [](CLamina&, CLamina&) { return std::vector<double>{1, 1, 1, 1, 0, 0, 0, 0}; }},
      {"GetSizeBitmapAlineado 101 7 4",
       [](CLamina&, CLamina&) { return std::vector<double>{52 * 7}; }},
  };
  for (const Case& c : cases) {
    CLamina copy = img;
    reg::Outputs outputs(false);
    const reg::Outcome o = RunChain(copy, Replace(c.chain, "{second}", f.second), outputs);
    if (!c.direct) {
      EXPECT_TRUE(o.failed) << c.chain;
      continue;
    }
    ASSERT_FALSE(o.failed) << c.chain << ": " << o.words;
    std::vector<double> printed;
    for (const reg::Measure& m : o.measures)
      printed.insert(printed.end(), m.numbers.begin(), m.numbers.end());
    CLamina other = img;
    EXPECT_EQ(printed, c.direct(other, f.secondImage)) << c.chain;
  }
}

TEST(RegistryChains, BuiltInFunctionsAndTheSurfaceMatchPlainReferences) {
  CLamina img = lamina_test::Random(24, 21, 13, 5);
  const lamina_test::Rows before = lamina_test::PixelsOf(img);
  reg::Outputs outputs(false);
  CLamina mirrored = img;
  ASSERT_FALSE(RunChain(mirrored, "transformation mirror", outputs).failed);
  CLamina upside = img;
  ASSERT_FALSE(RunChain(upside, "transformation upside", outputs).failed);
  const lamina_test::Rows m = lamina_test::PixelsOf(mirrored), u = lamina_test::PixelsOf(upside);
  for (int y = 0; y < 13; ++y)
    for (int x = 0; x < 21; ++x) {
      EXPECT_EQ(m[y][x], before[y][20 - x]);
      EXPECT_EQ(u[y][x], before[12 - y][x]);
    }
  // Drawn at (2, 3) on a black surface of 30 x 20: the surface becomes the image.
  CLamina drawn = img;
  ASSERT_FALSE(RunChain(drawn, "Draw 2 3 30 20", outputs).failed);
  ASSERT_EQ(drawn.fnIMG_GetColumns(), 30);
  ASSERT_EQ(drawn.fnIMG_GetRows(), 20);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 30; ++x) {
      const bool inside = x >= 2 && x < 23 && y >= 3 && y < 16;
      EXPECT_EQ(lamina_test::PixelsOf(drawn)[y][x], inside ? before[y - 3][x - 2] : 0u)
          << x << "," << y;
    }
}

TEST(RegistryChains, MeasurementsAndSentinels) {
  CLamina img = lamina_test::Random(32, 9, 7, 3);
  reg::Outputs outputs(false);
  // 254 at a 32-bit pixel is an alpha, not the depth's sentinel.
  reg::Outcome o = RunChain(img, "SetAlfa 1 1 254 GetAlfa 1 1", outputs);
  ASSERT_FALSE(o.failed) << o.words;
  ASSERT_EQ(o.measures.size(), 1u);
  EXPECT_EQ(o.measures[0].numbers, std::vector<double>{254});
  o = RunChain(img, "GetAlfa 9 0", outputs);
  EXPECT_TRUE(o.failed);
  EXPECT_EQ(o.code, 255);
  o = RunChain(img, "GetPixel 0 7", outputs);
  EXPECT_TRUE(o.failed);
  EXPECT_NE(o.words.find("0xFFFFFFFF"), std::string::npos) << o.words;

  CLamina gray = lamina_test::Random(8, 9, 7, 3);
  int table[1024];
  gray.fnIMG_GetHistogram(table, 0);
  o = RunChain(gray, "GetHistogram 0", outputs);
  ASSERT_EQ(o.measures.size(), 4u);
  EXPECT_EQ(o.measures[2].name, "G");
  for (int k = 0; k < 256; ++k) ASSERT_EQ(o.measures[2].numbers[k], table[4 * k + 2]);
  // No entry of that colour is an answer.
  o = RunChain(gray, "SetPalette #010203 GetPaletteIndex #010203 GetPaletteIndex #010204", outputs);
  ASSERT_FALSE(o.failed);
  EXPECT_EQ(o.measures[0].numbers, std::vector<double>{-1});
}

TEST(RegistryChains, StepsWriteFilesOnlyOnCommitAndReadWhatEarlierStepsWrote) {
  lamina_test::TempDir dir;
  const std::string rows = (dir / "rows.bin").string();
  CLamina img = lamina_test::Random(8, 10, 6, 9);
  const auto before = Snap(img);
  {
    reg::Outputs outputs;
    const reg::Outcome o =
        RunChain(img, "GetBitmap " + rows + " Flip 0 SetBitmap " + rows, outputs);
    ASSERT_FALSE(o.failed) << o.words;
    EXPECT_FALSE(fs::exists(rows));
    EXPECT_TRUE(Snap(img) == before);  // the rows read back from the staged file
  }                                    // dropped without Commit
  EXPECT_TRUE(fs::is_empty(dir / ""));

  // The member trusts its buffer: a file of the wrong length is refused before it is called.
  lamina_test::WriteAll(dir / "short.bin", lamina_test::Bytes(10));
  reg::Outputs outputs;
  const reg::Outcome o = RunChain(img, "SetBitmap " + (dir / "short.bin").string(), outputs);
  EXPECT_TRUE(o.failed);
  EXPECT_NE(o.words.find("holds 10 bytes"), std::string::npos) << o.words;

  ASSERT_FALSE(RunChain(img, "SaveBMP " + (dir / "a.bmp").string(), outputs).failed);
  std::string error;
  ASSERT_TRUE(outputs.Commit(&error)) << error;
  CLamina back;
  EXPECT_EQ(back.fnIMG_LoadBMP(CString((dir / "a.bmp").string())), 0);
}

}  // namespace
