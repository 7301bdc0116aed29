// Build step: writes the comments of include/CLamina.h as a C++ table, so that `lamina help OP`
// shows the header's own words and never a copy that could drift from them.
//   gen_docs HEADER OUTPUT
#include <fstream>
#include <iostream>
#include <sstream>

#include "header_scan.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: gen_docs HEADER OUTPUT\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::cerr << "gen_docs: cannot read " << argv[1] << "\n";
    return 1;
  }
  std::stringstream text;
  text << in.rdbuf();
  const auto members = lamina::registry::ScanHeader(text.str());
  std::ostringstream out;
  out << "// Made by registry/gen_docs.cpp from include/CLamina.h; not edited by hand.\n";
  for (const auto& m : members) {
    if (m.comment.find(")lamina_doc\"") != std::string::npos) {
      std::cerr << "gen_docs: the comment of " << m.name << " holds the table's delimiter\n";
      return 1;
    }
    out << "{\"" << m.name << "\", \"" << m.parameters << "\", \"" << m.access
        << "\",\n R\"lamina_doc(" << m.comment << ")lamina_doc\"},\n";
  }
  std::ofstream file(argv[2], std::ios::binary | std::ios::trunc);
  file << out.str();
  return file ? 0 : 1;
}
