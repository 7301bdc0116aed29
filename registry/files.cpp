// Image files by extension, for the tool's input and output and for image arguments: BMP (also
// any unknown extension), PNG and JPEG through Lamina::formats, PGM and RAW through the library's
// own readers. PGM is written as its header followed by the library's RAW form of the image (gray,
// 8 bits, rows from the top), which is exactly a binary PGM's body.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "formats/codes.h"
#include "io/codes.h"
#include "registry.h"
#if LAMINA_HAVE_FORMATS
#include "lamina/formats.h"
#endif

namespace lamina {
namespace registry {
namespace {

std::string Extension(const std::string& path) {
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return "";
  std::string ext = path.substr(dot);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

// Runs a load or save, and words its failure as the registry words a step's.
template <typename F>
int Report(const char* operation, const CodeTable& codes, std::string* words, F&& call) {
  errno = 0;
  const int code = call();
  const int reason = errno;
  if (code != 0 && words != nullptr) {
    const std::string meaning = Meaning(codes, code, reason);
    *words = std::string(operation) + " gave " + std::to_string(code) +
             (meaning.empty() ? "" : " (" + meaning + ")");
  }
  return code;
}

#if !LAMINA_HAVE_FORMATS
int NoFormats(std::string* words, const char* what) {
  if (words != nullptr)
    *words = std::string(what) + " files need Lamina::formats, which this build left out";
  return -1;
}
#endif

}  // namespace

int LoadImage(CLamina& image, const std::string& path, std::string* words) {
  const std::string ext = Extension(path);
  const CString name(path);
  if (ext == ".png") {
#if LAMINA_HAVE_FORMATS
    return Report("LoadPNG", Codes(codes::load_png::kAll), words,
                  [&] { return formats::LoadPNG(image, name); });
#else
    return NoFormats(words, "PNG");
#endif
  }
  if (ext == ".jpg" || ext == ".jpeg") {
#if LAMINA_HAVE_FORMATS
    return Report("LoadJPEG", Codes(codes::load_jpeg::kAll), words,
                  [&] { return formats::LoadJPEG(image, name); });
#else
    return NoFormats(words, "JPEG");
#endif
  }
  if (ext == ".pgm")
    return Report("LoadPGM", Codes(codes::load_pgm::kAll), words,
                  [&] { return image.fnIMG_LoadPGM(name); });
  if (ext == ".raw")
    return Report("LoadRAW", Codes(codes::load_raw::kAll), words,
                  [&] { return image.fnIMG_LoadRAW(name); });
  return Report("LoadBMP", Codes(codes::load_bmp::kAll), words,
                [&] { return image.fnIMG_LoadBMP(name); });
}

int SaveImage(CLamina& image, const std::string& path, std::string* words) {
  const std::string ext = Extension(path);
  const CString name(path);
  if (ext == ".png") {
#if LAMINA_HAVE_FORMATS
    return Report("SavePNG", Codes(codes::save_png::kAll), words,
                  [&] { return formats::SavePNG(image, name); });
#else
    return NoFormats(words, "PNG");
#endif
  }
  if (ext == ".jpg" || ext == ".jpeg") {
#if LAMINA_HAVE_FORMATS
    return Report("SaveJPEG", Codes(codes::save_jpeg::kAll), words,
                  [&] { return formats::SaveJPEG(image, name, 90); });
#else
    return NoFormats(words, "JPEG");
#endif
  }
  if (ext == ".raw")
    return Report("SaveRAW", Codes(codes::save_raw::kAll), words,
                  [&] { return image.fnIMG_SaveRAW(name); });
  if (ext == ".pgm") {
    // SaveRAW refuses before it writes a byte what it cannot convert; the header goes first, so a
    // refusal removes the file again.
    CFile file;
    if (!file.Open(name, CFile::modeCreate | CFile::modeWrite)) {
      const int reason = errno;
      if (words != nullptr)
        *words = "cannot create " + path + ": " + std::string(std::strerror(reason));
      return -1;
    }
    const std::string header = "P5\n" + std::to_string(image.fnIMG_GetColumns()) + " " +
                               std::to_string(image.fnIMG_GetRows()) + "\n255\n";
    file.Write(header.data(), static_cast<UINT>(header.size()));
    const int code = Report("SaveRAW", Codes(codes::save_raw_file::kAll), words,
                            [&] { return image.fnIMG_SaveRAW(&file); });
    file.Close();
    if (code != 0) std::remove(path.c_str());
    return code;
  }
  return Report("SaveBMP", Codes(codes::save_bmp::kAll), words,
                [&] { return image.fnIMG_SaveBMP(name); });
}

FileRun RunFile(const std::string& input, const std::string& output, const std::vector<Step>& steps,
                Outputs& outputs) {
  FileRun run;
  CLamina image;
  if (LoadImage(image, input, &run.error) != 0) {
    run.error = "cannot read: " + run.error;
    return run;
  }
  for (std::size_t i = 0; i < steps.size(); ++i) {
    Outcome outcome = RunStep(image, steps[i], outputs);
    if (outcome.failed) {
      run.error = "step " + std::to_string(i + 1) + " (" + steps[i].Display() +
                  ") failed: " + outcome.words;
      return run;
    }
    if (!outcome.measures.empty())
      run.measured.emplace_back(steps[i].Display(), std::move(outcome));
  }
  if (SaveImage(image, outputs.Stage(output), &run.error) != 0) {
    run.error = "cannot write " + output + ": " + run.error;
    return run;
  }
  run.ok = outputs.Commit(&run.error);
  return run;
}

}  // namespace registry
}  // namespace lamina
