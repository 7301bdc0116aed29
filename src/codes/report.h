// The index of result codes read out: an operation's entry, a failure explained in words, and the
// README's table. Used by the command-line tool and the tests.
#pragma once

#include <cstdio>
#include <cstring>
#include <string>

#include "codes/index.h"

namespace lamina {
namespace codes {

// The entry that lists `operation` (a member's name without "fnIMG_", e.g. "LoadBMP"), or null.
inline const IndexEntry* FindOperation(const std::string& operation) {
  for (const IndexEntry& e : kIndex) {
    if (operation == e.table.operation) return &e;
    const std::string members = e.members;
    for (const char* end : {"`", "("})
      if (members.find("`fnIMG_" + operation + end) != std::string::npos) return &e;
  }
  return nullptr;
}

// A code's whole meaning, the cases this library added to it included.
inline std::string MeaningOf(const ResultCode& code) {
  std::string text = code.meaning;
  if (code.addedWords != nullptr) text += std::string(", ") + code.addedWords;
  return text;
}

// "LoadBMP gave 1 (cannot open: No such file or directory)": the code's meaning, and the system's
// reason (from `systemError`, an errno value; 0 for none) where the code has one.
inline std::string Explain(const std::string& operation, int value, int systemError) {
  std::string text = operation + " gave " + std::to_string(value);
  const IndexEntry* entry = FindOperation(operation);
  const ResultCode* code = entry != nullptr ? entry->table.Find(value) : nullptr;
  if (code == nullptr) return text;
  text += " (";
  text += MeaningOf(*code);
  if (code->systemReason && systemError != 0) {
    text += ": ";
    text += std::strerror(systemError);
  }
  return text + ")";
}

// A value as the README writes it: negative ones with a minus sign, sentinels in hexadecimal.
inline std::string ShowValue(int value, bool hex) {
  if (hex) {
    char text[16];
    std::snprintf(text, sizeof text, "`0x%08X`", static_cast<unsigned>(value));
    return text;
  }
  if (value < 0) return "\u2212" + std::to_string(-static_cast<long long>(value));
  return std::to_string(value);
}

// The README's table of result codes, header included: one row per index entry, each code as
// "value meaning", the codes this library added in bold and marked new.
inline std::string MarkdownTable() {
  std::string out = "| Operation | Codes |\n|---|---|\n";
  for (const IndexEntry& e : kIndex) {
    std::string codes;
    for (std::size_t i = 0; i < e.table.count; ++i) {
      const ResultCode& c = e.table.codes[i];
      std::string one = ShowValue(c.value, e.hex) + " " + c.meaning;
      if (c.added)
        one = "**" + one + "** (*new*)";
      else if (c.addedWords != nullptr)
        one += ", **" + std::string(c.addedWords) + "** (*new*)";
      if (!codes.empty()) codes += " \u00b7 ";
      codes += one;
    }
    std::string text = e.returns != nullptr ? std::string(e.returns) + "; " : std::string();
    text += codes;
    if (e.remark != nullptr) {
      const std::string remark =
          e.remarkAdded ? "**" + std::string(e.remark) + "** (*new*)" : std::string(e.remark);
      text += codes.empty() ? remark : " (" + remark + ")";
    }
    out += "| " + std::string(e.members) + " | " + text + " |\n";
  }
  return out;
}

}  // namespace codes
}  // namespace lamina
