// lamina batch [--json] [--ext .EXT] 'PATTERN' OUTDIR OP ARGS...: one chain over every file the
// pattern matches, each written to OUTDIR under its own name (its extension changed by --ext).
// One worker per core; each worker parses the chain for each of its files, so it loads its own
// second images and owns every image it touches (the library shares nothing between images).
// Output files named in the chain must hold {name}, the input's name without its extension.
#include <glob.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "tool.h"

namespace lamina {
namespace tool {
namespace {

struct FileResult {
  std::string input, output;
  bool ok = false;
  std::string error;
  std::vector<std::pair<std::string, std::vector<registry::Measure>>> measures;  // per step
};

std::string Replace(std::string text, const std::string& what, const std::string& with) {
  for (std::size_t at = text.find(what); at != std::string::npos;
       at = text.find(what, at + with.size()))
    text.replace(at, what.size(), with);
  return text;
}

void Process(const std::vector<std::string>& chain, const std::string& outDir,
             const std::string& ext, FileResult& r) {
  const std::filesystem::path in(r.input);
  const std::string stem = in.stem().string();
  r.output = (std::filesystem::path(outDir) / (ext.empty() ? in.filename().string() : stem + ext))
                 .string();
  std::vector<std::string> words;
  for (const std::string& w : chain) words.push_back(Replace(w, "{name}", stem));
  registry::Outputs outputs;
  std::vector<registry::Step> steps;
  if (!registry::ParseChain(words, outputs, steps, r.error)) return;
  registry::FileRun run = registry::RunFile(r.input, r.output, steps, outputs);
  r.ok = run.ok;
  r.error = std::move(run.error);
  for (auto& [step, outcome] : run.measured)
    r.measures.emplace_back(step, std::move(outcome.measures));
}

void DrawBar(std::size_t done, std::size_t total) {
  const int width = 40;
  const int filled = total ? static_cast<int>(done * width / total) : width;
  std::fprintf(stderr, "\r[%s%s] %zu/%zu", std::string(filled, '#').c_str(),
               std::string(width - filled, '.').c_str(), done, total);
  std::fflush(stderr);
}

}  // namespace

int Batch(const std::vector<std::string>& given) {
  // The options may stand anywhere: no argument of an operation is written with two dashes.
  std::vector<std::string> args;
  bool json = false;
  std::string ext;
  for (std::size_t i = 0; i < given.size(); ++i) {
    if (given[i] == "--json") {
      json = true;
    } else if (given[i] == "--ext" && i + 1 < given.size() && !given[i + 1].empty()) {
      ext = given[i + 1][0] == '.' ? given[i + 1] : "." + given[i + 1];
      ++i;
    } else {
      args.push_back(given[i]);
    }
  }
  if (args.size() < 2) {
    std::fputs("usage: lamina batch [--json] [--ext .EXT] 'PATTERN' OUTDIR OP ARGS...\n", stderr);
    return 2;
  }
  const std::string pattern = args[0], outDir = args[1];
  const std::vector<std::string> chain(args.begin() + 2, args.end());

  glob_t found{};
  const int g = glob(pattern.c_str(), 0, nullptr, &found);
  std::vector<FileResult> results;
  for (std::size_t i = 0; g == 0 && i < found.gl_pathc; ++i) {
    FileResult r;
    r.input = found.gl_pathv[i];
    results.push_back(r);
  }
  globfree(&found);
  if (results.empty()) {
    std::fprintf(stderr, "lamina: no file matches %s\n", pattern.c_str());
    return 1;
  }
  // The chain is checked once, on the first file's name, before any work: a misspelt operation
  // is one message, not one per file. Every file a step writes must differ from file to file.
  {
    registry::Outputs outputs(false);
    std::vector<registry::Step> steps;
    std::vector<std::string> words;
    const std::string stem = std::filesystem::path(results[0].input).stem().string();
    for (const std::string& w : chain) words.push_back(Replace(w, "{name}", stem));
    std::string error;
    if (!registry::ParseChain(words, outputs, steps, error)) {
      std::fprintf(stderr, "lamina: %s\n", error.c_str());
      return 2;
    }
    std::size_t pos = 0;
    for (const registry::Step& s : steps) {
      ++pos;
      for (std::size_t k = 0; k < s.texts.size(); ++k, ++pos) {
        const registry::Kind kind = s.op->args[k].kind;
        if ((kind == registry::Kind::kOutFile || kind == registry::Kind::kOutputs) &&
            chain[pos].find("{name}") == std::string::npos) {
          std::fprintf(stderr,
                       "lamina: %s writes %s for every file; put {name} in it (the input's "
                       "name without its extension)\n",
                       s.op->name, chain[pos].c_str());
          return 2;
        }
      }
    }
  }
  std::error_code ec;
  std::filesystem::create_directories(outDir, ec);
  if (ec) {
    std::fprintf(stderr, "lamina: cannot make %s: %s\n", outDir.c_str(), ec.message().c_str());
    return 1;
  }

  const std::size_t workers =
      std::min<std::size_t>(std::max(1u, std::thread::hardware_concurrency()), results.size());
  std::atomic<std::size_t> next{0}, done{0};
  std::vector<std::thread> pool;
  for (std::size_t w = 0; w < workers; ++w)
    pool.emplace_back([&] {
      for (std::size_t i = next++; i < results.size(); i = next++) {
        Process(chain, outDir, ext, results[i]);
        ++done;
      }
    });
  const bool bar = isatty(STDERR_FILENO) != 0;
  while (bar && done < results.size()) {
    DrawBar(done, results.size());
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  for (std::thread& t : pool) t.join();
  if (bar) {
    DrawBar(done, results.size());
    std::fputc('\n', stderr);
  }

  std::size_t failed = 0;
  std::string filesJson;
  for (const FileResult& r : results) {
    failed += r.ok ? 0 : 1;
    if (json) {
      std::string steps;
      for (const auto& s : r.measures)
        steps += (steps.empty() ? "" : ", ") + std::string("{\"step\": ") + JsonString(s.first) +
                 ", \"results\": " + JsonMeasures(s.second) + "}";
      filesJson +=
          (filesJson.empty() ? "" : ",\n    ") + std::string("{\"input\": ") + JsonString(r.input) +
          ", \"output\": " + JsonString(r.output) + ", \"ok\": " + (r.ok ? "true" : "false") +
          (r.ok ? "" : ", \"error\": " + JsonString(r.error)) + ", \"measures\": [" + steps + "]}";
    } else if (r.ok && !r.measures.empty()) {
      std::printf("%s\n", r.input.c_str());
      for (const auto& s : r.measures) {
        std::printf("  %s\n", s.first.c_str());
        for (const registry::Measure& m : s.second)
          std::printf("    %s = %s\n", m.name.c_str(), Show(m).c_str());
      }
    }
  }
  if (json)
    std::printf("{\"files\": %zu, \"written\": %zu, \"failed\": %zu,\n  \"results\": [%s]}\n",
                results.size(), results.size() - failed, failed, filesJson.c_str());
  std::fprintf(stderr, "batch: %zu file%s, %zu written, %zu failed\n", results.size(),
               results.size() == 1 ? "" : "s", results.size() - failed, failed);
  for (const FileResult& r : results)
    if (!r.ok) std::fprintf(stderr, "  %s: %s\n", r.input.c_str(), r.error.c_str());
  return failed == 0 ? 0 : 1;
}

}  // namespace tool
}  // namespace lamina
