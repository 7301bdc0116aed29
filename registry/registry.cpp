// The registry's common parts: the table of every operation, finding forms by name, chains split
// by the overload rule, running a step, the words of a result code, files written only when a
// chain succeeds, and image files by extension.
#include "registry.h"

#include <unistd.h>

#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "ops.h"

namespace lamina {
namespace registry {
namespace {

struct DocRow {
  const char* member;
  const char* parameters;
  const char* access;
  const char* comment;
};
const DocRow kDocs[] = {
#include "header_docs.inc"
};

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string Directory(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

// ---- The table ----------------------------------------------------------------------------

const std::vector<Operation>& Operations() {
  static const std::vector<Operation> ops = [] {
    std::vector<Operation> all;
    AddImageOperations(all);
    AddFileOperations(all);
    AddIntensityOperations(all);
    AddGeometryOperations(all);
    AddCombineOperations(all);
    AddColourOperations(all);
    AddHiddenOperations(all);
    return all;
  }();
  return ops;
}

std::vector<const Operation*> Forms(const std::string& name) {
  const std::string wanted = Lower(name);
  std::vector<const Operation*> forms;
  for (const Operation& op : Operations())
    if (Lower(op.name) == wanted) forms.push_back(&op);
  return forms;
}

bool IsOperationName(const std::string& word) { return !Forms(word).empty(); }

const char* Documentation(const Operation& op) {
  for (const DocRow& row : kDocs)
    if (std::strcmp(row.member, op.member) == 0 && std::strcmp(row.parameters, op.parameters) == 0)
      return row.comment;
  return "";
}

std::string Summary(const Operation& op) {
  std::string out;
  const std::string doc = Documentation(op);
  std::size_t pos = 0;
  while (pos < doc.size()) {
    std::size_t end = doc.find('\n', pos);
    if (end == std::string::npos) end = doc.size();
    const std::string line = doc.substr(pos, end - pos);
    if (line.empty() || line[0] == '@') break;
    out += (out.empty() ? "" : " ") + line;
    pos = end + 1;
  }
  return out;
}

std::string Synopsis(const Operation& op) {
  std::string out = op.name;
  for (const Arg& arg : op.args) {
    out += ' ';
    for (const char* c = arg.name; *c != '\0'; ++c)
      out += static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
  }
  return out;
}

std::string Meaning(const CodeTable& codes, int code, int systemError) {
  for (std::size_t i = 0; i < codes.count; ++i) {
    if (codes.codes[i].value != code) continue;
    std::string words = codes.codes[i].meaning;
    // The cases this library added to an old code are part of what it means.
    if (codes.codes[i].addedWords != nullptr) words += std::string(", ") + codes.codes[i].addedWords;
    if (codes.codes[i].systemReason && systemError != 0)
      words += std::string(": ") + std::strerror(systemError);
    return words;
  }
  return "";
}

// ---- A call's outcome ---------------------------------------------------------------------------

void Call::Code(int code) {
  const int reason = errno;
  outcome.code = code;
  if (code == 0) return;
  outcome.failed = true;
  const std::string meaning = Meaning(op.codes, code, reason);
  outcome.words = std::string(op.name) + " gave " + std::to_string(code) +
                  (meaning.empty() ? "" : " (" + meaning + ")");
}

void Call::Sentinel(int code, bool hex) {
  outcome.failed = true;
  outcome.code = code;
  char shown[16];
  if (hex)
    std::snprintf(shown, sizeof shown, "0x%08X", static_cast<unsigned>(code));
  else
    std::snprintf(shown, sizeof shown, "%d", code);
  const std::string meaning = Meaning(op.codes, code, 0);
  outcome.words =
      std::string(op.name) + " gave " + shown + (meaning.empty() ? "" : " (" + meaning + ")");
}

void Call::Refuse(const std::string& words) {
  outcome.failed = true;
  outcome.code = -1;
  outcome.words = std::string(op.name) + ": " + words;
}

void Call::Number(const std::string& name, double value) {
  outcome.measures.push_back(Measure{name, {value}, {}, false});
}
void Call::Text(const std::string& name, const std::string& text) {
  outcome.measures.push_back(Measure{name, {}, {text}, false});
}
void Call::Colour(const std::string& name, const RGBQUAD& c) {
  char text[16];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", c.rgbRed, c.rgbGreen, c.rgbBlue);
  Text(name, text);
  outcome.measures.back().colour = true;
}
void Call::Numbers(const std::string& name, std::vector<double> values, bool whole) {
  outcome.measures.push_back(Measure{name, std::move(values), {}, true, whole});
}

// ---- Chains -------------------------------------------------------------------------------------

std::string Step::Display() const {
  std::string out = op != nullptr ? op->name : "?";
  for (const std::string& t : texts) out += " " + t;
  return out;
}

bool ParseChain(const std::vector<std::string>& words, const Outputs& outputs,
                std::vector<Step>& steps, std::string& error) {
  steps.clear();
  std::size_t i = 0;
  while (i < words.size()) {
    const std::vector<const Operation*> forms = Forms(words[i]);
    const std::string where = "step " + std::to_string(steps.size() + 1);
    if (forms.empty()) {
      error = where + ": '" + words[i] + "' is not an operation (lamina ops lists them)";
      return false;
    }
    // The arguments run to the next word that names an operation.
    std::size_t j = i + 1;
    while (j < words.size() && !IsOperationName(words[j])) ++j;
    const std::size_t given = j - i - 1;
    const Operation* op = nullptr;
    for (const Operation* f : forms)
      if (f->args.size() == given) op = f;
    if (op == nullptr) {
      error = where + ": " + forms[0]->name + " takes ";
      for (std::size_t k = 0; k < forms.size(); ++k)
        error += (k == 0                  ? ""
                  : k + 1 == forms.size() ? " or "
                                          : ", ") +
                 std::to_string(forms[k]->args.size());
      error += " argument" +
               std::string(forms.size() == 1 && forms[0]->args.size() == 1 ? "" : "s") + ", not " +
               std::to_string(given) + " (";
      for (std::size_t k = 0; k < forms.size(); ++k)
        error += (k == 0 ? "" : " | ") + Synopsis(*forms[k]);
      error += ")";
      // A misspelt operation reads as one more argument: name the likely culprit too.
      for (std::size_t k = i + 1; k < j; ++k) {
        const std::string w = Lower(words[k]);
        bool letters = w.size() >= 3;
        for (char c : w) letters = letters && std::isalpha(static_cast<unsigned char>(c));
        for (const char* keyword : {"all", "none", "self", "nan", "inf", "infinity"})
          letters = letters && w != keyword;
        for (const Operation* f : forms)
          for (const Arg& a : f->args)
            if (a.choices != nullptr &&
                ("|" + Lower(a.choices) + "|").find("|" + w + "|") != std::string::npos)
              letters = false;
        if (letters) {
          error += "; '" + words[k] + "' is not an operation either";
          break;
        }
      }
      return false;
    }
    if (op->noTool != nullptr) {
      error = where + ": " + op->name + " cannot run from the tool: " + op->noTool;
      return false;
    }
    Step step;
    step.op = op;
    step.texts.assign(words.begin() + static_cast<long>(i) + 1,
                      words.begin() + static_cast<long>(j));
    step.values.resize(given);
    for (std::size_t k = 0; k < given; ++k) {
      std::string why;
      if (!Parse(op->args[k], step.texts[k], outputs, step.values[k], why)) {
        std::string name = op->args[k].name;
        for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        error = where + " (" + step.Display() + "): " + name + " '" + step.texts[k] + "' " + why;
        return false;
      }
    }
    steps.push_back(std::move(step));
    i = j;
  }
  return true;
}

Outcome RunStep(CLamina& image, const Step& step, Outputs& outputs) {
  Outcome outcome;
  Call call{image, step.values, outputs, outcome, *step.op};
  errno = 0;
  step.op->run(call);
  return outcome;
}

// ---- Output files -------------------------------------------------------------------------------

std::string Outputs::Stage(const std::string& path) {
  if (!staged_) return path;
  static std::atomic<unsigned> counter{0};
  const std::string dir = Directory(path);
  const std::string name = path.substr(dir.size());
  const std::string staged =
      dir + ".lamina-" + std::to_string(getpid()) + "-" + std::to_string(counter++) + "-" + name;
  for (auto& f : files_)
    if (f.first == path) {
      std::remove(f.second.c_str());
      f.second = staged;
      return staged;
    }
  files_.emplace_back(path, staged);
  return staged;
}

std::string Outputs::Resolve(const std::string& path) const {
  for (const auto& f : files_)
    if (f.first == path) return f.second;
  return path;
}

bool Outputs::Commit(std::string* error) {
  bool ok = true;
  for (const auto& f : files_) {
    // A step that failed to write leaves no staged file; nothing to move then.
    if (access(f.second.c_str(), F_OK) != 0) continue;
    if (std::rename(f.second.c_str(), f.first.c_str()) != 0) {
      if (ok && error != nullptr) *error = "cannot write " + f.first + ": " + std::strerror(errno);
      std::remove(f.second.c_str());
      ok = false;
    }
  }
  files_.clear();
  return ok;
}

void Outputs::Discard() {
  for (const auto& f : files_) std::remove(f.second.c_str());
  files_.clear();
}

}  // namespace registry
}  // namespace lamina
