// Reads the members of CLamina out of include/CLamina.h: each operation's name, its parameter list
// as declared, its access and the Doxygen comment above it. The build turns the comments into the
// help texts of the operation registry (gen_docs.cpp), and the registry's coverage test checks the
// registry against the same list, so a member added to the header is missed by neither.
#pragma once

#include <string>
#include <vector>

namespace lamina {
namespace registry {

struct DeclaredMember {
  std::string name;        // "fnIMG_Rotation", "mapBitmap"
  std::string parameters;  // "int sizeMode, double angle, unsigned long background"
  std::string access;      // "public", "protected" or "private"
  std::string comment;     // the comment's text without its slashes, lines joined by '\n'
};

// One space for every run of white space, none at either end.
inline std::string Squeeze(const std::string& text) {
  std::string out;
  bool space = false;
  for (char c : text) {
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
      space = !out.empty();
      continue;
    }
    if (space) out += ' ';
    space = false;
    out += c;
  }
  return out;
}

// The operations are the members whose names start with fnIMG_, and the two mapping members;
// constructors, assignment and the records are the object itself, not operations.
inline std::vector<DeclaredMember> ScanHeader(const std::string& header) {
  std::vector<DeclaredMember> members;
  std::string comment;
  std::string access = "private";
  bool inClass = false;
  std::size_t pos = 0;
  while (pos < header.size()) {
    std::size_t end = header.find('\n', pos);
    if (end == std::string::npos) end = header.size();
    const std::string line = header.substr(pos, end - pos);
    const std::size_t first = line.find_first_not_of(" \t");
    const std::string body = first == std::string::npos ? "" : line.substr(first);
    std::size_t next = end + 1;
    if (body.rfind("///", 0) == 0) {
      // "///" and "///<" lines; a trailing comment on a field is not a member's.
      std::string text = body.substr(3);
      if (!text.empty() && text[0] == ' ') text.erase(0, 1);
      comment += text + "\n";
    } else if (body.rfind("class LAMINA_API CLamina ", 0) == 0) {
      inClass = true;
      comment.clear();
    } else if (inClass && (line == " public:" || line == " protected:" || line == " private:")) {
      access = Squeeze(line).substr(0, Squeeze(line).size() - 1);
      comment.clear();
    } else if (inClass && line == "};") {
      break;
    } else {
      std::size_t at = std::string::npos;
      for (const char* marker : {"fnIMG_", "mapBitmap(", "transformation("}) {
        const std::size_t m = body.find(marker);
        if (m != std::string::npos && (at == std::string::npos || m < at)) at = m;
      }
      // A declaration: the name, then its parameters up to the matching parenthesis, which may
      // be lines further on.
      if (inClass && at != std::string::npos && body.find('(') != std::string::npos &&
          body.rfind("static_assert", 0) != 0) {
        std::size_t p = pos + first + at;
        const std::size_t open = header.find('(', p);
        int depth = 0;
        std::size_t close = open;
        for (; close < header.size(); ++close) {
          if (header[close] == '(') ++depth;
          if (header[close] == ')' && --depth == 0) break;
        }
        DeclaredMember m;
        m.name = Squeeze(header.substr(p, open - p));
        m.parameters = Squeeze(header.substr(open + 1, close - open - 1));
        m.access = access;
        m.comment = comment;
        members.push_back(m);
        next = header.find('\n', close);
        next = next == std::string::npos ? header.size() : next + 1;
      }
      comment.clear();
    }
    pos = next;
  }
  return members;
}

}  // namespace registry
}  // namespace lamina
