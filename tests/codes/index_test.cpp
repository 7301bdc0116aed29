// The index of result codes: the README's table is written from it, the tool explains failures
// from it, and the operations' file failures leave the system's reason for it to report.
#include <cctype>
#include <cerrno>
#include <functional>
#include <set>

#include "codes/report.h"
#include "support/files.h"

using namespace lamina_test;
namespace codes = lamina::codes;

TEST(ResultCodeIndex, TheReadmeTableIsTheOneTheIndexWrites) {
  const Bytes bytes = ReadAll(fs::path(LAMINA_TEST_DATA) / ".." / ".." / "README.md");
  const std::string readme(bytes.begin(), bytes.end());
  const std::string begin = "<!-- result codes: begin (written by `lamina codes --markdown`) -->\n";
  const std::string end = "<!-- result codes: end -->";
  const std::size_t from = readme.find(begin), to = readme.find(end);
  ASSERT_NE(from, std::string::npos);
  ASSERT_NE(to, std::string::npos);
  EXPECT_EQ(readme.substr(from + begin.size(), to - from - begin.size()), codes::MarkdownTable())
      << "run `build/lamina codes --markdown` and paste its table between the markers";
}

TEST(ResultCodeIndex, EveryOperationsCodesAreDistinctAndWorded) {
  std::set<std::string> rows;
  for (const codes::IndexEntry& e : codes::kIndex) {
    EXPECT_TRUE(rows.insert(e.members).second) << e.members << " listed twice";
    std::set<int> values;
    for (std::size_t i = 0; i < e.table.count; ++i) {
      const lamina::ResultCode& c = e.table.codes[i];
      EXPECT_NE(c.value, 0) << e.members;
      EXPECT_TRUE(values.insert(c.value).second) << e.members << " repeats " << c.value;
      const std::string meaning = c.meaning;
      ASSERT_FALSE(meaning.empty()) << e.members;
      EXPECT_FALSE(std::isupper(static_cast<unsigned char>(meaning[0]))) << meaning;
      EXPECT_NE(meaning.back(), '.') << meaning;
    }
    EXPECT_TRUE(e.table.count > 0 || e.remark != nullptr) << e.members << " says nothing";
  }
}

TEST(ResultCodeIndex, FailuresAreExplainedInWordsWithTheSystemsReasonForFiles) {
  EXPECT_EQ(codes::Explain("LoadBMP", 1, ENOENT),
            "LoadBMP gave 1 (cannot open: No such file or directory)");
  EXPECT_EQ(codes::Explain("LoadBMP", 5, ENOENT), "LoadBMP gave 5 (damaged or inconsistent file)");
  EXPECT_EQ(codes::Explain("SaveRAW", 4, 0), "SaveRAW gave 4 (a write failed)");
  EXPECT_EQ(codes::Explain("Flip", 9, 0), "Flip gave 9");
  EXPECT_EQ(codes::Explain("NoSuchOperation", 1, 0), "NoSuchOperation gave 1");
  // A member that shares its row with others, and one whose name begins another's.
  EXPECT_EQ(codes::FindOperation("GetRGBPixel"), codes::FindOperation("SetPixel"));
  ASSERT_NE(codes::FindOperation("LoadRAWFromBuffer"), nullptr);
  EXPECT_NE(codes::FindOperation("LoadRAWFromBuffer"), codes::FindOperation("LoadRAW"));
}

TEST(ResultCodeIndex, FilesThatCannotBeOpenedLeaveTheSystemsReason) {
  TempDir dir;
  CLamina img;
  const struct {
    const char* what;
    std::function<int()> call;
    int code, reason;
  } cases[] = {
      {"missing BMP", [&] { return img.fnIMG_LoadBMP(Path(dir / "missing.bmp")); },
       codes::load_bmp::kCannotOpen, ENOENT},
      {"a folder as a BMP", [&] { return img.fnIMG_LoadBMP(Path(dir / ".")); },
       codes::load_bmp::kCannotOpen, EISDIR},
      {"missing RAW", [&] { return img.fnIMG_LoadRAW(Path(dir / "missing.raw")); },
       codes::load_raw::kCannotOpen, ENOENT},
      {"BMP into a missing folder", [&] { return img.fnIMG_SaveBMP(Path(dir / "no" / "a.bmp")); },
       codes::save_bmp::kCannotCreate, ENOENT},
      {"RAW into a missing folder", [&] { return img.fnIMG_SaveRAW(Path(dir / "no" / "a.raw")); },
       codes::save_raw::kCannotCreate, ENOENT},
  };
  for (const auto& c : cases) {
    errno = 0;
    EXPECT_EQ(c.call(), c.code) << c.what;
    EXPECT_EQ(errno, c.reason) << c.what;
  }
}
