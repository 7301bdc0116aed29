// lamina: the command-line front end to the library, driven by the operation registry.
//   lamina                          the gallery, into ./lamina-gallery
//   lamina info FILE                describes an image file
//   lamina convert IN OUT           converts between .bmp .png .jpg .pgm .raw (by extension)
//   lamina run [--json] IN OUT OP ARGS... OP ARGS...
//                                   runs a chain of operations; OUT "-" writes nothing
//   lamina batch [--json] [--ext .EXT] 'PATTERN' OUTDIR OP ARGS...
//                                   the same chain over many files, one worker per core
//   lamina gallery DIR [PICTURE]    every operation on a test picture (and PICTURE), index.html
//   lamina ops                      every operation with its arguments
//   lamina help OP                  one operation explained
//   lamina codes [--markdown]       every operation's result codes (the README's table)
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "CLamina.h"
#include "codes/report.h"
#include "tool.h"

namespace lamina {
namespace tool {
namespace {

using registry::Operation;

const char kUsage[] =
    "usage: lamina                          the gallery of every operation, into ./lamina-gallery\n"
    "       lamina info FILE                describe an image file\n"
    "       lamina convert IN OUT           convert (.bmp .png .jpg .pgm .raw, by extension)\n"
    "       lamina run [--json] IN OUT OP ARGS... [OP ARGS...]\n"
    "                                       run a chain of operations (OUT - writes no image)\n"
    "       lamina batch [--json] [--ext .EXT] 'PATTERN' OUTDIR OP ARGS...\n"
    "                                       run a chain over many files\n"
    "       lamina gallery DIR [PICTURE]    every operation on a test picture, as index.html\n"
    "       lamina ops                      list every operation with its arguments\n"
    "       lamina help OP                  explain one operation\n"
    "       lamina codes [--markdown]       list every operation's result codes\n";

void Describe(CLamina& img) {
  const BITMAPINFOHEADER h = img.fnIMG_GetBitmapInfoHeader();
  std::printf("  name       %s\n",
              (img.fnIMG_GetFileName() + L"." + img.fnIMG_GetFileExt()).ToUtf8().c_str());
  std::printf("  size       %d x %d pixels, %d bits per pixel\n", img.fnIMG_GetColumns(),
              img.fnIMG_GetRows(), img.fnIMG_GetColorDepth());
  std::printf("  pixel data %d bytes (%d per row)\n", img.fnIMG_GetBitmapSize(),
              img.fnIMG_GetRows() > 0 ? img.fnIMG_GetBitmapSize() / img.fnIMG_GetRows() : 0);
  std::printf("  colours    %d used, %d levels, resolution %d x %d pixels/m\n",
              img.fnIMG_GetColorsUsed(), img.fnIMG_GetLevels(), h.biXPelsPerMeter,
              h.biYPelsPerMeter);
  if (img.fnIMG_GetPaletteSize() > 0) {
    const int n = img.fnIMG_GetPaletteSize() / 4;
    RGBQUAD pal[256];
    img.fnIMG_GetPalette(pal);
    std::printf("  palette    %d entries, %s; first:", n, img.fnIMG_IsGray() ? "gray" : "colour");
    for (int i = 0; i < n && i < 4; ++i)
      std::printf(" #%02X%02X%02X", pal[i].rgbRed, pal[i].rgbGreen, pal[i].rgbBlue);
    std::printf("%s\n", n > 4 ? " ..." : "");
  } else if (img.fnIMG_GetColorDepth() >= 24) {
    std::printf("  palette    none (%s picture)\n", img.fnIMG_IsGray() ? "gray" : "colour");
  } else {
    std::printf("  palette    none\n");
  }
  if (img.fnIMG_GetColumns() > 0 && img.fnIMG_GetRows() > 0) {
    RGBQUAD c{};
    if (img.fnIMG_GetRGBPixel(0, 0, &c) == 0)
      std::printf("  top-left   #%02X%02X%02X\n", c.rgbRed, c.rgbGreen, c.rgbBlue);
  }
}

int Info(const std::string& path) {
  CLamina img;
  std::string words;
  if (registry::LoadImage(img, path, &words) != 0) {
    std::fprintf(stderr, "lamina: cannot read %s: %s\n", path.c_str(), words.c_str());
    return 1;
  }
  std::printf("%s\n", path.c_str());
  Describe(img);
  return 0;
}

int Convert(const std::string& in, const std::string& out) {
  CLamina img;
  std::string words;
  if (registry::LoadImage(img, in, &words) != 0) {
    std::fprintf(stderr, "lamina: cannot read %s: %s\n", in.c_str(), words.c_str());
    return 1;
  }
  registry::Outputs outputs;
  if (registry::SaveImage(img, outputs.Stage(out), &words) != 0) {
    std::fprintf(stderr, "lamina: cannot write %s: %s\n", out.c_str(), words.c_str());
    return 1;
  }
  if (!outputs.Commit(&words)) {
    std::fprintf(stderr, "lamina: %s\n", words.c_str());
    return 1;
  }
  return 0;
}

// Takes `--json` out of the arguments wherever it stands.
bool TakeFlag(std::vector<std::string>& args, const char* flag) {
  for (std::size_t i = 0; i < args.size(); ++i)
    if (args[i] == flag) {
      args.erase(args.begin() + static_cast<long>(i));
      return true;
    }
  return false;
}

int Run(std::vector<std::string> args) {
  const bool json = TakeFlag(args, "--json");
  if (args.size() < 2) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::string in = args[0], out = args[1];
  const std::vector<std::string> words(args.begin() + 2, args.end());
  registry::Outputs outputs;
  std::vector<registry::Step> steps;
  std::string error;
  if (!registry::ParseChain(words, outputs, steps, error)) {
    std::fprintf(stderr, "lamina: %s\n", error.c_str());
    if (json) std::printf("{\"ok\": false, \"error\": %s}\n", JsonString(error).c_str());
    return 2;
  }
  CLamina img;
  if (registry::LoadImage(img, in, &error) != 0) {
    error = "cannot read " + in + ": " + error;
    std::fprintf(stderr, "lamina: %s\n", error.c_str());
    if (json) std::printf("{\"ok\": false, \"error\": %s}\n", JsonString(error).c_str());
    return 1;
  }
  std::string stepsJson;
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const double start = Now();
    const registry::Outcome outcome = registry::RunStep(img, steps[i], outputs);
    const double ms = Now() - start;
    const std::string name = steps[i].Display();
    if (json) {
      char time[32];
      std::snprintf(time, sizeof time, "%.3f", ms);
      std::string args = "[";
      for (std::size_t k = 0; k < steps[i].texts.size(); ++k)
        args += (k ? ", " : "") + JsonString(steps[i].texts[k]);
      stepsJson += std::string(i ? ",\n    " : "") + "{\"step\": " + std::to_string(i + 1) +
                   ", \"operation\": " + JsonString(steps[i].op->name) +
                   ", \"arguments\": " + args +
                   "], \"ok\": " + (outcome.failed ? "false" : "true") +
                   ", \"code\": " + std::to_string(outcome.code) +
                   (outcome.failed ? ", \"error\": " + JsonString(outcome.words) : "") +
                   ", \"ms\": " + time + ", \"results\": " + JsonMeasures(outcome.measures) + "}";
    } else if (!outcome.failed && !outcome.measures.empty()) {
      std::printf("[%zu] %s\n", i + 1, name.c_str());
      for (const registry::Measure& m : outcome.measures)
        std::printf("    %s = %s\n", m.name.c_str(), Show(m).c_str());
    }
    if (outcome.failed) {
      error = "step " + std::to_string(i + 1) + " (" + name + ") failed: " + outcome.words +
              "; nothing written";
      std::fprintf(stderr, "lamina: %s\n", error.c_str());
      if (json)
        std::printf("{\"ok\": false, \"error\": %s,\n  \"steps\": [%s]}\n",
                    JsonString(error).c_str(), stepsJson.c_str());
      return 1;
    }
  }
  if (out != "-" && registry::SaveImage(img, outputs.Stage(out), &error) != 0) {
    error = "cannot write " + out + ": " + error;
    std::fprintf(stderr, "lamina: %s\n", error.c_str());
    if (json) std::printf("{\"ok\": false, \"error\": %s}\n", JsonString(error).c_str());
    return 1;
  }
  if (!outputs.Commit(&error)) {
    std::fprintf(stderr, "lamina: %s\n", error.c_str());
    if (json) std::printf("{\"ok\": false, \"error\": %s}\n", JsonString(error).c_str());
    return 1;
  }
  if (json) std::printf("{\"ok\": true,\n  \"steps\": [%s]}\n", stepsJson.c_str());
  return 0;
}

std::string FirstSentence(const std::string& text) {
  const std::size_t end = text.find(". ");
  return end == std::string::npos ? text : text.substr(0, end + 1);
}

// Every operation's codes, as plain text or as the README's table.
int Codes(bool markdown) {
  if (markdown) {
    std::fputs(lamina::codes::MarkdownTable().c_str(), stdout);
    return 0;
  }
  for (const lamina::codes::IndexEntry& e : lamina::codes::kIndex) {
    std::string members = e.members;
    members.erase(std::remove(members.begin(), members.end(), '`'), members.end());
    std::printf("%s%s%s\n", members.c_str(), e.returns != nullptr ? ": returns " : "",
                e.returns != nullptr ? e.returns : "");
    for (std::size_t i = 0; i < e.table.count; ++i) {
      const lamina::ResultCode& c = e.table.codes[i];
      if (e.hex)
        std::printf("  0x%08X  %s%s\n", static_cast<unsigned>(c.value),
                    lamina::codes::MeaningOf(c).c_str(), c.added ? " (new)" : "");
      else
        std::printf("  %4d  %s%s\n", c.value, lamina::codes::MeaningOf(c).c_str(),
                    c.added ? " (new)" : "");
    }
    if (e.remark != nullptr) std::printf("  %s\n", e.remark);
  }
  return 0;
}

int Ops() {
  const char* family = "";
  for (const Operation& op : registry::Operations()) {
    if (std::strcmp(family, op.family) != 0) {
      family = op.family;
      std::printf("%s%s\n", family == registry::Operations().front().family ? "" : "\n", family);
    }
    std::printf("  %s\n      %s%s%s\n", registry::Synopsis(op).c_str(),
                FirstSentence(registry::Summary(op)).c_str(),
                op.noTool != nullptr ? " Not from the tool: " : "",
                op.noTool != nullptr ? op.noTool : "");
  }
  return 0;
}

// The gallery's call as a user would type it: its files named plainly, colours quoted for the
// shell (a word that starts with # would begin a comment).
std::string Example(const std::string& call) {
  static const char* const kFiles[][2] = {{"{second}", "second.png"},
                                          {"{small}", "small.png"},
                                          {"{mask}", "mask.bmp"},
                                          {"{bmp}", "picture.bmp"},
                                          {"{pgm}", "picture.pgm"},
                                          {"{pal}", "palette.pal"},
                                          {"{work}/", ""}};
  std::string out = call;
  for (const auto& f : kFiles)
    for (std::size_t at = out.find(f[0]); at != std::string::npos; at = out.find(f[0]))
      out.replace(at, std::strlen(f[0]), f[1]);
  std::string quoted;
  std::size_t pos = 0;
  while (pos <= out.size()) {
    std::size_t end = out.find(' ', pos);
    if (end == std::string::npos) end = out.size();
    const std::string word = out.substr(pos, end - pos);
    quoted += (quoted.empty() ? "" : " ") + (word[0] == '#' ? "'" + word + "'" : word);
    pos = end + 1;
  }
  return quoted;
}

int Help(const std::string& name) {
  const std::vector<const Operation*> forms = registry::Forms(name);
  if (forms.empty()) {
    std::fprintf(stderr, "lamina: '%s' is not an operation (lamina ops lists them)\n",
                 name.c_str());
    return 2;
  }
  for (std::size_t f = 0; f < forms.size(); ++f) {
    const Operation& op = *forms[f];
    std::printf("%s%s\n", f ? "\n" : "", registry::Synopsis(op).c_str());
    std::printf("  member       %s(%s)\n", op.member, op.parameters);
    if (op.noTool != nullptr) std::printf("  not run by the tool: %s\n", op.noTool);
    for (const registry::Arg& a : op.args) {
      std::string upper = a.name;
      for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      std::printf("  %-12s %s\n  %-12s (%s: %s)\n", upper.c_str(), a.meaning, "",
                  registry::KindName(a.kind), registry::KindSyntax(a.kind));
    }
    std::printf("  returns      %s\n", op.result);
    if (op.codes.count > 0) {
      std::printf("  codes\n");
      for (std::size_t i = 0; i < op.codes.count; ++i)
        std::printf("    %4d  %s\n", op.codes.codes[i].value, op.codes.codes[i].meaning);
    }
    if (op.gallery != nullptr)
      std::printf("  example      lamina run in.png out.png %s\n", Example(op.gallery).c_str());
    std::printf("\n");
    const std::string doc = registry::Documentation(op);
    std::size_t pos = 0;
    while (pos < doc.size()) {
      std::size_t end = doc.find('\n', pos);
      if (end == std::string::npos) end = doc.size();
      std::printf("  | %s\n", doc.substr(pos, end - pos).c_str());
      pos = end + 1;
    }
  }
  return 0;
}

}  // namespace
}  // namespace tool
}  // namespace lamina

int main(int argc, char** argv) {
  using namespace lamina::tool;
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return Gallery({"lamina-gallery"});
  const std::string form = args[0];
  args.erase(args.begin());
  if (form == "info" && args.size() == 1) return Info(args[0]);
  if ((form == "convert" || form == "copy") && args.size() == 2) return Convert(args[0], args[1]);
  if (form == "run") return Run(args);
  if (form == "batch") return Batch(args);
  if (form == "gallery" && (args.size() == 1 || args.size() == 2)) return Gallery(args);
  if (form == "ops" && args.empty()) return Ops();
  if (form == "codes" && (args.empty() || (args.size() == 1 && args[0] == "--markdown")))
    return Codes(!args.empty());
  if (form == "help" && args.size() == 1) return Help(args[0]);
  if (form == "help" || form == "--help" || form == "-h") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  std::fputs(kUsage, stderr);
  return 2;
}
