// The operation registry: one description of every operation of CLamina, from which the `lamina`
// tool runs chains (`run`, `batch`), lists and explains operations (`ops`, `help`), builds the
// gallery, and words its errors; a binding for another language is meant to read the same table.
//
// An operation is a member of CLamina, one entry per declared form (overloads included). Its tool
// name is the member's name without fnIMG_, matched in any case. Forms of one member that take
// different numbers of tool arguments share the name, and the number of arguments given picks the
// form (Rotation with 3 or 5); where two forms take the same number, the first declared keeps the
// name and the others get a suffix saying what they take (SetAlfa / SetAlfaAll, LoadBMP /
// LoadBMPFromCFile, Initialize / InitializeRGB).
//
// Not part of libCLamina: it is a static library of its own over the public interface (and over
// Lamina::formats for PNG and JPEG files).
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "CLamina.h"
#include "core/result_codes.h"

namespace lamina {
namespace registry {

// What an argument is written as on the command line.
enum class Kind {
  kInt,       // a whole number in int's range
  kUChar,     // 0 to 255
  kPixel,     // a pixel value: a number, or #rrggbb for the 24-bit value of that colour
  kULong,     // a number 0 or more
  kColour,    // a packed colour (red in the low byte): #rrggbb, or a number
  kFloat,     // a number, nan and inf included
  kDouble,    // a number, nan and inf included
  kQuad,      // an RGBQUAD: #rrggbb, or #rrggbbaa with the reserved byte
  kChannels,  // CualesRGB: any of gray,red,green,blue; all; none
  kPlanes,    // CualesPlanosBits: plane numbers and ranges, 0-3,16; all; none
  kRules,     // CualesSuavizadoBinario: rule numbers 1 to 6; all; none
  kImage,     // a second image: a file name; "self" for the image itself; "-" for none
  kKernel,    // ints: WxH:v,v,... or a file holding that text
  kElement,   // bytes 0-255: WxH:v,v,... or a file holding that text
  kRecord3,   // a colour-model record: three numbers a,b,c
  kRecord4,   // a CMYK record: four numbers c,m,y,k
  kSamples,   // real numbers v,v,... (a power of two of them)
  kPalette,   // colours #rrggbb,#rrggbb,...
  kInFile,    // a file the operation reads
  kOutFile,   // a file the operation writes (only when the whole chain succeeds)
  kOutputs,   // output files: a name with {} for 1, 2, 3, 4 (written as kOutFile)
  kText,      // any text
  kChoice,    // one of the names in Arg::choices
};

struct Arg {
  const char* name;
  Kind kind;
  const char* meaning;            // the range and what it does
  const char* choices = nullptr;  // kChoice: the names, separated by '|'
};

// An argument as parsed (and, for images, kernels and files of values, loaded).
struct Value {
  Kind kind = Kind::kInt;
  std::string text;                // as written
  long long number = 0;            // the integer kinds and colours
  double real = 0;                 // kFloat, kDouble
  RGBQUAD quad{};                  // kQuad
  std::vector<int> cells;          // flags (4, 24 or 6), or a kernel's / element's values
  int width = 0, height = 0;       // kKernel, kElement
  std::vector<double> reals;       // kRecord3, kRecord4, kSamples
  std::vector<RGBQUAD> colours;    // kPalette
  std::shared_ptr<CLamina> image;  // kImage; null for "-" and "self"
  bool self = false;               // kImage "self"
};

// A result that an operation measures, printed by the tool.
struct Measure {
  std::string name;
  std::vector<double> numbers;
  std::vector<std::string> texts;
  bool list = false;  // a list even with one element
  // What the numbers and texts are, for front ends that give typed values (the tool prints them
  // alike): whole numbers (counts, indices, pixel values), and texts that are colours #rrggbb.
  bool whole = false;
  bool colour = false;
};

struct Outcome {
  bool failed = false;
  int code = 0;       // what the member returned: 0, a code, or the failing sentinel
  std::string words;  // a failure in words
  std::vector<Measure> measures;
};

// Files a chain writes. While a chain runs they go under temporary names beside their places, and
// only Commit() puts them there, so that a chain that fails part-way leaves no file behind.
class Outputs {
 public:
  explicit Outputs(bool staged = true) : staged_(staged) {}
  ~Outputs() { Discard(); }
  Outputs(const Outputs&) = delete;
  Outputs& operator=(const Outputs&) = delete;
  // Where a step writes `path` now.
  std::string Stage(const std::string& path);
  // Where a step reads `path`: the staged file when an earlier step wrote it.
  std::string Resolve(const std::string& path) const;
  // Moves every staged file to its place; false (with the reason) when one cannot be moved.
  bool Commit(std::string* error);
  void Discard();

 private:
  bool staged_;
  std::vector<std::pair<std::string, std::string>> files_;  // (place, staged name)
};

struct Operation;

// What a run function is handed: the image, the parsed arguments, and where its outcome goes.
struct Call {
  CLamina& image;
  const std::vector<Value>& args;
  Outputs& outputs;
  Outcome& outcome;
  const Operation& op;

  int Int(std::size_t i) const { return static_cast<int>(args[i].number); }
  unsigned char UChar(std::size_t i) const { return static_cast<unsigned char>(args[i].number); }
  unsigned long ULong(std::size_t i) const { return static_cast<unsigned long>(args[i].number); }
  float Float(std::size_t i) const { return static_cast<float>(args[i].real); }
  double Double(std::size_t i) const { return args[i].real; }
  const std::string& Text(std::size_t i) const { return args[i].text; }
  CLamina* Image(std::size_t i) const { return args[i].self ? &image : args[i].image.get(); }

  // The member's result code: anything but 0 fails the step, in the words of its code table
  // (with the system's reason, errno as the member left it, where the code has one).
  void Code(int code);
  // A failure told by a sentinel value, worded from the code table (shown in hexadecimal for the
  // unsigned sentinels).
  void Sentinel(int code, bool hex = false);
  // A failure the tool finds before it calls the member (a file of the wrong length).
  void Refuse(const std::string& words);
  void Number(const std::string& name, double value);
  // A whole number: any integer type lands here rather than in the double form.
  template <typename T, typename std::enable_if<std::is_integral<T>::value, int>::type = 0>
  void Number(const std::string& name, T value) {
    Number(name, static_cast<double>(value));
    outcome.measures.back().whole = true;
  }
  void Text(const std::string& name, const std::string& text);
  void Colour(const std::string& name, const RGBQUAD& colour);
  void Numbers(const std::string& name, std::vector<double> values, bool whole = false);
};

enum class Returns {
  kCode,      // a result code
  kValue,     // a value (failures told by sentinels)
  kMeasures,  // a result code, and measurements written to the caller's buffers or records
  kNothing,   // nothing (the member returns void)
};

using RunFunction = void (*)(Call&);

struct CodeTable {
  const ResultCode* codes = nullptr;
  std::size_t count = 0;
};
template <std::size_t N>
constexpr CodeTable Codes(const ResultCode (&table)[N]) {
  return CodeTable{table, N};
}

struct Operation {
  const char* name;        // the tool's name
  const char* member;      // the member: "fnIMG_Rotation"
  const char* parameters;  // its parameters exactly as declared
  const char* family;      // the group it is listed under
  std::vector<Arg> args;   // what the tool takes, in order
  Returns returns;
  const char* result;   // what it gives, in words
  CodeTable codes;      // its result codes
  const char* gallery;  // a representative call: a chain whose last step is this operation,
                        // with {second}, {bmp}, {pgm}, {pal}, {work} for the gallery's files;
                        // null when the gallery leaves it out
  const char* noTool;   // why the tool cannot run it; null when it can
  RunFunction run;
};

// Every operation, in the order of the header.
const std::vector<Operation>& Operations();
// The forms called `name` (any case), most arguments last.
std::vector<const Operation*> Forms(const std::string& name);
bool IsOperationName(const std::string& word);
// The header's comment on the operation's member form, and its first paragraph.
const char* Documentation(const Operation& op);
std::string Summary(const Operation& op);
// "name kind" list, e.g. "MODE ANGLE BACKGROUND", for usage lines.
std::string Synopsis(const Operation& op);
const char* KindName(Kind kind);
const char* KindSyntax(Kind kind);

// "the depth is not 8 bits" for a code, or "" when the table has none; with the system's reason
// for codes that carry one.
std::string Meaning(const CodeTable& codes, int code, int systemError);

// One argument from its text; false with the reason. Images and files of values are read here.
bool Parse(const Arg& arg, const std::string& text, const Outputs& outputs, Value& value,
           std::string& error);

// A chain of operations with their arguments, as written after IN OUT.
struct Step {
  const Operation* op = nullptr;
  std::vector<std::string> texts;
  std::vector<Value> values;
  std::string Display() const;  // "Rotation 0 30 #000000"
};
// Splits words into steps by the overload rule and parses every argument; false with the reason,
// naming the step.
bool ParseChain(const std::vector<std::string>& words, const Outputs& outputs,
                std::vector<Step>& steps, std::string& error);
// Runs one step on `image`.
Outcome RunStep(CLamina& image, const Step& step, Outputs& outputs);

// A whole file through a parsed chain, as `lamina batch` does each of its files: the input read,
// every step run, the result written to `output`, and the files the steps wrote put in place only
// when all of it succeeded. `error` names what failed ("step 2 (Flip 7) failed: ...").
struct FileRun {
  bool ok = false;
  std::string error;
  std::vector<std::pair<std::string, Outcome>> measured;  // (the step shown, its outcome)
};
FileRun RunFile(const std::string& input, const std::string& output, const std::vector<Step>& steps,
                Outputs& outputs);

// Image files by extension: .bmp (and any other), .png, .jpg/.jpeg, .pgm, .raw. A failure gives
// its code and the words "LoadPNG gave 2 (not a PNG file)".
int LoadImage(CLamina& image, const std::string& path, std::string* words);
int SaveImage(CLamina& image, const std::string& path, std::string* words);

}  // namespace registry
}  // namespace lamina
