// lamina gallery DIR [PICTURE]: every operation of the registry that the tool can run, applied to
// a built-in test picture (and to PICTURE, brought to the same size) with the registry's
// representative arguments; one PNG per operation and picture, and DIR/index.html showing them
// side by side with the operation, its arguments, its result and its time.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "tool.h"

namespace lamina {
namespace tool {
namespace {

namespace fs = std::filesystem;

const int kWidth = 256, kHeight = 192;

// A picture from a function of (x, y) giving red, green, blue; rows stored bottom-up.
template <typename F>
CLamina Paint(int w, int h, F&& colour) {
  const std::size_t stride = (static_cast<std::size_t>(w) * 3 + 3) / 4 * 4;
  std::vector<unsigned char> rows(stride * static_cast<std::size_t>(h));
  for (int y = 0; y < h; ++y) {
    unsigned char* row = rows.data() + stride * static_cast<std::size_t>(h - 1 - y);
    for (int x = 0; x < w; ++x) {
      const RGBQUAD c = colour(x, y);
      row[3 * x] = c.rgbBlue;
      row[3 * x + 1] = c.rgbGreen;
      row[3 * x + 2] = c.rgbRed;
    }
  }
  return CLamina(rows.data(), nullptr, w, h, 24);
}

RGBQUAD Rgb(double r, double g, double b) {
  auto byte = [](double v) { return static_cast<BYTE>(v <= 0 ? 0 : v >= 255 ? 255 : v); };
  return RGBQUAD{byte(b), byte(g), byte(r), 0};
}

// A hue wheel across, darkening downwards.
RGBQUAD Hue(double x, double y) {
  const double hue = 6.0 * x / kWidth;
  const int sector = static_cast<int>(hue) % 6;
  const double f = hue - std::floor(hue);
  const double v = 255.0 * (1.0 - 0.6 * y / kHeight);
  double r = 0, g = 0, b = 0;
  switch (sector) {
    case 0:
      r = 1, g = f;
      break;
    case 1:
      r = 1 - f, g = 1;
      break;
    case 2:
      g = 1, b = f;
      break;
    case 3:
      g = 1 - f, b = 1;
      break;
    case 4:
      r = f, b = 1;
      break;
    default:
      r = 1, b = 1 - f;
      break;
  }
  return Rgb(r * v, g * v, b * v);
}

CLamina SecondPicture() {
  return Paint(kWidth, kHeight, [](int x, int y) {
    const double r = std::hypot(x - 128.0, y - 96.0);
    const bool ring = static_cast<int>(r / 12) % 2 == 0;
    const double stripe = ((x + y) / 16) % 2 == 0 ? 40 : 0;
    return ring ? Rgb(220, 40 + stripe, 160) : Rgb(30 + stripe, 170, 170);
  });
}

// Index 0 (black) inside a disc, 1 (white) outside: an object for the set operations.
CLamina Mask() {
  const RGBQUAD palette[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};
  CLamina mask(nullptr, palette, kWidth, kHeight, 1);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      mask.fnIMG_SetPixel(x, y, std::hypot(x - 150.0, y - 90.0) < 70 ? 0 : 1);
  return mask;
}

std::string Html(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '<')
      out += "&lt;";
    else if (c == '>')
      out += "&gt;";
    else if (c == '&')
      out += "&amp;";
    else if (c == '"')
      out += "&quot;";
    else
      out += c;
  }
  return out;
}

std::string Replace(std::string text, const std::string& what, const std::string& with) {
  for (std::size_t at = text.find(what); at != std::string::npos;
       at = text.find(what, at + with.size()))
    text.replace(at, what.size(), with);
  return text;
}

std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t end = text.find(' ', pos);
    const std::string w =
        text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    if (!w.empty()) words.push_back(w);
    if (end == std::string::npos) break;
    pos = end + 1;
  }
  return words;
}

// What one operation did to one picture.
struct Shot {
  std::string image;  // the PNG's name within DIR, empty when there is none
  std::string result;
  bool failed = false;
  bool unchanged = false;  // the operation only measured: its picture is the one it was given
  double ms = 0;
};

// The same size, depth and pixel values.
bool SamePicture(CLamina& a, CLamina& b) {
  return a.fnIMG_GetColumns() == b.fnIMG_GetColumns() && a.fnIMG_GetRows() == b.fnIMG_GetRows() &&
         a.fnIMG_GetColorDepth() == b.fnIMG_GetColorDepth() &&
         a.fnIMG_IsGray() == b.fnIMG_IsGray() && a.fnIMG_GetDifferentPixels(&b) == 0;
}

// Writes a picture for the page: 32-bit pictures lose their fourth byte, which browsers would
// show as transparency.
bool SaveView(const CLamina& img, const std::string& path, std::string* words) {
  CLamina view = img;
  if (view.fnIMG_GetColorDepth() == 32) view.fnIMG_ChangeColorDepth(3);
  return registry::SaveImage(view, path, words) == 0;
}

Shot Take(const registry::Operation& op, std::size_t index, const CLamina& picture,
          const std::string& key, const std::string& dir,
          const std::vector<std::pair<std::string, std::string>>& files) {
  Shot shot;
  // Words first, then the files put in: a folder's name may hold spaces.
  std::vector<std::string> chain = Words(op.gallery);
  for (std::string& word : chain) {
    for (const auto& f : files) word = Replace(word, f.first, f.second);
    word = Replace(word, "{work}", (fs::path(dir) / "work" / key).string());
  }
  registry::Outputs outputs;
  std::vector<registry::Step> steps;
  std::string error;
  if (!registry::ParseChain(chain, outputs, steps, error)) {
    shot.failed = true;
    shot.result = error;
    return shot;
  }
  CLamina img = picture;
  registry::Outcome last;
  CLamina given;
  for (std::size_t i = 0; i < steps.size(); ++i) {
    if (i + 1 == steps.size()) given = img;
    const double start = Now();
    last = registry::RunStep(img, steps[i], outputs);
    shot.ms = Now() - start;
    if (last.failed) {
      shot.failed = true;
      shot.result = (i + 1 < steps.size() ? "preparing: " : "") + last.words;
      return shot;
    }
  }
  outputs.Commit(nullptr);
  for (const registry::Measure& m : last.measures)
    shot.result += (shot.result.empty() ? "" : "; ") + m.name + " " + Brief(m);
  if (shot.result.empty())
    shot.result = op.returns == registry::Returns::kCode ? "0 (done)" : "done";
  shot.unchanged = SamePicture(img, given);
  char name[160];
  std::snprintf(name, sizeof name, "%s/%03zu-%s.png", key.c_str(), index, op.name);
  std::string words;
  if (SaveView(img, (fs::path(dir) / name).string(), &words))
    shot.image = name;
  else
    shot.result += " (no picture: " + words + ")";
  return shot;
}

// The user's picture at 24 bits, cut to the gallery's 4:3 from its middle and scaled to its size,
// so that every representative argument fits it too.
bool Normalise(CLamina& img, std::string& error) {
  if (img.fnIMG_GetColorDepth() != 24 && img.fnIMG_ChangeColorDepth(3) != 0) {
    error = "its depth cannot be converted to 24 bits";
    return false;
  }
  const int w = img.fnIMG_GetColumns(), h = img.fnIMG_GetRows();
  int cw = w, ch = h;
  if (static_cast<long long>(w) * 3 > static_cast<long long>(h) * 4)
    cw = static_cast<int>(static_cast<long long>(h) * 4 / 3);
  else
    ch = static_cast<int>(static_cast<long long>(w) * 3 / 4);
  if (cw < 2 || ch < 2) {
    error = "it is too small";
    return false;
  }
  const int x = (w - cw) / 2, y = (h - ch) / 2;
  if ((cw != w || ch != h) && img.fnIMG_Crop(x, y, x + cw - 1, y + ch - 1) != 0) {
    error = "it cannot be cropped";
    return false;
  }
  if (img.fnIMG_Scaling(kWidth, kHeight, 1) != 0) {
    error = "it cannot be scaled";
    return false;
  }
  return true;
}

}  // namespace

CLamina TestPicture() {
  return Paint(kWidth, kHeight, [](int x, int y) {
    const double disc = std::hypot(x - 72.0, y - 76.0);
    if (disc < 37) return Rgb(245, 245, 240);
    if (disc < 41) return Rgb(0, 0, 0);
    if (x >= 150 && x < 214 && y >= 36 && y < 100)
      return x == 150 || x == 213 || y == 36 || y == 99 ? Rgb(255, 220, 0) : Rgb(20, 30, 90);
    if (y >= 134 && y < 152) return Rgb(x, x, x);
    if (y >= 160) return ((x / 8 + y / 8) % 2) != 0 ? Rgb(255, 255, 255) : Rgb(0, 0, 0);
    return Hue(x, y);
  });
}

int Gallery(const std::vector<std::string>& args) {
  const std::string dir = args[0];
  std::error_code ec;
  for (const char* sub : {"inputs", "builtin", "user", "work/builtin", "work/user"})
    fs::create_directories(fs::path(dir) / sub, ec);
  if (ec) {
    std::fprintf(stderr, "lamina: cannot make %s: %s\n", dir.c_str(), ec.message().c_str());
    return 1;
  }
  std::vector<std::pair<std::string, CLamina>> pictures;
  pictures.emplace_back("builtin", TestPicture());
  if (args.size() == 2) {
    CLamina user;
    std::string error;
    if (registry::LoadImage(user, args[1], &error) != 0 || !Normalise(user, error)) {
      std::fprintf(stderr, "lamina: cannot use %s: %s\n", args[1].c_str(), error.c_str());
      return 1;
    }
    pictures.emplace_back("user", user);
  }

  // The files the representative calls name.
  const fs::path inputs = fs::path(dir) / "inputs";
  const std::vector<std::pair<std::string, std::string>> files = {
      {"{second}", (inputs / "second.png").string()}, {"{small}", (inputs / "small.png").string()},
      {"{mask}", (inputs / "mask.bmp").string()},     {"{bmp}", (inputs / "picture.bmp").string()},
      {"{pgm}", (inputs / "picture.pgm").string()},   {"{pal}", (inputs / "rainbow.pal").string()}};
  {
    CLamina second = SecondPicture(), small = SecondPicture(), mask = Mask();
    CLamina picture = pictures[0].second;
    small.fnIMG_Crop(96, 64, 159, 127);
    RGBQUAD rainbow[256];
    for (int i = 0; i < 256; ++i) rainbow[i] = Hue(i, 0);
    CLamina paletted(nullptr, rainbow, 16, 16, 8);
    std::string words;
    bool ok = registry::SaveImage(second, files[0].second, &words) == 0 &&
              registry::SaveImage(small, files[1].second, &words) == 0 &&
              registry::SaveImage(mask, files[2].second, &words) == 0 &&
              registry::SaveImage(picture, files[3].second, &words) == 0 &&
              registry::SaveImage(picture, files[4].second, &words) == 0;
    if (ok && paletted.fnIMG_SavePalette(CString(files[5].second)) != 0)
      ok = false, words = "SavePalette failed";
    for (const auto& p : pictures)
      ok = ok && SaveView(p.second, (inputs / (p.first + ".png")).string(), &words);
    if (!ok) {
      std::fprintf(stderr, "lamina: cannot write the gallery's inputs in %s: %s\n",
                   inputs.string().c_str(), words.c_str());
      return 1;
    }
  }

  std::string cards, contents, absent;
  const std::vector<registry::Operation>& ops = registry::Operations();
  std::size_t shown = 0, failed = 0;
  const char* family = "";
  for (std::size_t i = 0; i < ops.size(); ++i) {
    const registry::Operation& op = ops[i];
    if (op.gallery == nullptr) {
      absent += "<li><b>" + Html(op.name) + "</b> (" + Html(op.member) +
                "): " + Html(op.noTool != nullptr ? op.noTool : "no representative call") +
                "</li>\n";
      continue;
    }
    if (std::string(family) != op.family) {
      family = op.family;
      const std::string id = "f" + std::to_string(i);
      cards += std::string(cards.empty() ? "" : "</div>\n") + "<h2 id=\"" + id + "\">" +
               Html(family) + "</h2>\n<div class=\"grid\">\n";
      contents += "<a href=\"#" + id + "\">" + Html(family) + "</a> ";
    }
    // The representative call is a chain whose last step is the operation: the steps before it
    // prepare the picture and are shown apart.
    const std::vector<std::string> words = Words(op.gallery);
    std::size_t last = 0;
    for (std::size_t k = 0; k < words.size(); ++k)
      if (registry::IsOperationName(words[k])) last = k;
    std::string prep, call;
    for (std::size_t k = 0; k < words.size(); ++k)
      (k < last ? prep : call) += (k == 0 || k == last ? "" : " ") + words[k];
    std::string shots;
    for (const auto& p : pictures) {
      const Shot shot = Take(op, i, p.second, p.first, dir, files);
      ++shown;
      failed += shot.failed ? 1 : 0;
      char time[32];
      std::snprintf(time, sizeof time, "%.3f ms", shot.ms);
      std::string picture = "<div class=\"none\">no picture</div>";
      if (!shot.image.empty())
        picture = "<img src=\"" + Html(shot.image) + "\"" +
                  (shot.unchanged ? " class=\"same\" title=\"the picture is unchanged\"" : "") +
                  " alt=\"" + Html(op.name) + " on the " + p.first + " picture\">";
      shots += "<div class=\"shot\">" + picture + "<div class=\"" +
               (shot.failed ? "fail" : "result") + "\">" + Html(shot.result) +
               "</div><div class=\"time\">" + time + "</div></div>";
    }
    cards += "<figure id=\"op" + std::to_string(i) + "\"><figcaption><span class=\"name\">" +
             Html(op.name) + "</span> <code>" + Html(call.substr(std::string(op.name).size())) +
             "</code>";
    if (!prep.empty()) cards += "<div class=\"prep\">after " + Html(prep) + "</div>";
    cards += "<div class=\"member\">" + Html(op.member) + "(" + Html(op.parameters) +
             ")</div></figcaption><div class=\"shots\">" + shots + "</div></figure>\n";
  }
  if (!cards.empty()) cards += "</div>\n";

  std::string originals;
  for (const auto& p : pictures)
    originals +=
        "<div class=\"shot\"><img src=\"inputs/" + p.first + ".png\" alt=\"the " + p.first +
        " picture\"><div class=\"result\">" +
        (p.first == "builtin" ? "the built-in picture" : "your picture, " + Html(args[1])) +
        "</div></div>";
  const std::string cardWidth = std::to_string(pictures.size() * 264 + 16);
  std::string page = "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">\n";
  page += "<title>Lamina gallery</title>\n<style>\n";
  page += "body{font:14px/1.4 system-ui,sans-serif;margin:16px;background:#f4f4f0;color:#222}\n";
  page += "h1{font-size:22px;margin:0 0 4px}h2{font-size:18px;margin:20px 0 8px}\n";
  page += ".grid{display:grid;grid-template-columns:repeat(auto-fill,minmax(" + cardWidth +
          "px,1fr));gap:12px}\n";
  page += "figure{margin:0;background:#fff;border:1px solid #ccc;border-radius:6px;padding:8px}\n";
  page += ".name{font-weight:bold;font-size:15px}.shots{display:flex;gap:8px}\n";
  page += ".shot{width:256px}.shot img{max-width:256px;height:auto;image-rendering:pixelated}\n";
  page += ".shot img.same{width:96px;opacity:.8}\n";
  page += ".prep,.member,.time{color:#777;font-size:12px}\n";
  page += ".result{font-size:12px;word-break:break-word}.fail{font-size:12px;color:#b00}\n";
  page +=
      ".none{height:60px;display:flex;align-items:center;justify-content:center;color:#999;"
      "border:1px dashed #ccc}\n";
  page += "code{word-break:break-all}nav a{margin-right:10px}\n";
  page += "</style></head><body>\n<h1>Lamina gallery</h1>\n";
  page += "<p>" + std::to_string(ops.size()) +
          " operations. Every one the tool can run is shown "
          "on " +
          (pictures.size() == 1 ? std::string("the built-in picture")
                                : std::string("the built-in picture and yours")) +
          " with its representative arguments, its result and its time; a small picture means "
          "the operation only measured. <code>lamina help NAME</code> explains each, and "
          "<code>lamina run IN OUT NAME ARGS...</code> runs it.</p>\n";
  page += "<nav>" + contents + (absent.empty() ? "" : "<a href=\"#absent\">Not shown</a>") +
          "</nav>\n<div class=\"shots\">" + originals + "</div>\n" + cards;
  if (!absent.empty()) page += "<h2 id=\"absent\">Not shown</h2><ul>\n" + absent + "</ul>\n";
  page += "</body></html>\n";
  const fs::path index = fs::path(dir) / "index.html";
  std::ofstream out(index, std::ios::binary | std::ios::trunc);
  out << page;
  if (!out.flush()) {
    std::fprintf(stderr, "lamina: cannot write %s\n", index.string().c_str());
    return 1;
  }
  std::printf("%s: %zu pictures of %zu operations (%zu refused their arguments)\n",
              index.string().c_str(), shown, ops.size(), failed);
  return 0;
}

}  // namespace tool
}  // namespace lamina
