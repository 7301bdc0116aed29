// Every operation with hand-written vector code gives, on each instruction set the processor
// offers, the bytes its plain loop gives (cpu::g_widest 0). Widths leave vector steps and tails;
// the split's rows are wide enough for its streaming stores.
#include <functional>

#include "core/cpu.h"
#include "support/pictures.h"

using namespace lamina_test;

namespace {

// An operation returns the images it wrote besides its own (the split's outputs).
using Outputs = std::vector<Snapshot>;
struct Case {
  const char* what;
  int bpp, width;
  std::function<Outputs(CLamina&)> op;
};

Outputs Apply(const Case& c, int widest) {
  const int widestBefore = lamina::cpu::g_widest;
  lamina::cpu::g_widest = widest;
  CLamina img = Random(c.bpp, c.width, 3, 900u + static_cast<unsigned>(c.bpp + c.width));
  Outputs written = c.op(img);
  lamina::cpu::g_widest = widestBefore;
  written.push_back(Snap(img));
  return written;
}

template <class F>
std::function<Outputs(CLamina&)> Alone(F f) {
  return [f](CLamina& img) {
    f(img);
    return Outputs{};
  };
}

}  // namespace

TEST(VectorPaths, AgreeWithThePlainLoops) {
  const Case cases[] = {
      {"threshold 8 bits", 8, 101, Alone([](CLamina& i) { i.fnIMG_Thresholding(100, 3, 250); })},
      {"threshold 24 bits", 24, 45, Alone([](CLamina& i) { i.fnIMG_Thresholding(128, 0, 255); })},
      {"threshold 32 bits", 32, 37, Alone([](CLamina& i) { i.fnIMG_Thresholding(1, 200, 7); })},
      {"threshold at 0", 8, 70, Alone([](CLamina& i) { i.fnIMG_Thresholding(0, 1, 2); })},
      {"mirror 24 bits", 24, 77, Alone([](CLamina& i) { i.fnIMG_Flip(0); })},
      {"gray 24 bits", 24, 75, Alone([](CLamina& i) { i.fnIMG_ColorToGray(0); })},
      {"gray 32 bits", 32, 29, Alone([](CLamina& i) { i.fnIMG_ColorToGray(1); })},
      {"8 to 24 bits", 8, 67, Alone([](CLamina& i) { i.fnIMG_ChangeColorDepth(3); })},
      {"split 24 bits", 24, 1100,
       [](CLamina& i) {
         CLamina r(nullptr, nullptr, 1100, 3, 8), g = r, b = r, a = r;
         i.fnIMG_Split(0, &r, &g, &b, &a);
         return Outputs{Snap(r), Snap(g), Snap(b), Snap(a)};
       }},
  };
  for (const Case& c : cases) {
    const Outputs plain = Apply(c, 0);
    for (int widest = 1; widest <= 3; ++widest)
      EXPECT_EQ(Apply(c, widest), plain) << c.what << " on set " << widest;
  }
}
