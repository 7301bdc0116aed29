#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "lamina/cfile.h"
#include "lamina/cstring.h"
#include "lamina/memory.h"

TEST(MovableMemory, BlocksAreZeroFilledAndFoundBackFromTheirAddress) {
  HGLOBAL h = GlobalAlloc(GHND, 100);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(GlobalSize(h), 100u);
  auto* p = static_cast<unsigned char*>(GlobalLock(h));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(std::string(p, p + 100), std::string(100, '\0'));
  EXPECT_EQ(GlobalHandle(p), h);
  EXPECT_EQ(GlobalLock(h), p);       // the address stays put
  EXPECT_EQ(GlobalUnlock(h), TRUE);  // still locked once
  EXPECT_EQ(GlobalUnlock(h), FALSE);
  EXPECT_EQ(GlobalFree(h), nullptr);
  EXPECT_TRUE(GlobalLock(nullptr) == nullptr && GlobalSize(nullptr) == 0 &&
              GlobalFree(nullptr) == nullptr);
  HGLOBAL empty = GlobalAlloc(GHND, 0);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(GlobalSize(empty), 0u);
  GlobalFree(empty);
}

TEST(WideString, UsesUtf8AtTheEdgesAndKeepsInvalidBytes) {
  const CString s("caf\xC3\xA9 \xE2\x82\xAC");
  EXPECT_EQ(std::wstring(static_cast<LPCTSTR>(s)), L"caf\u00E9 \u20AC");
  EXPECT_EQ(s.ToUtf8(), "caf\xC3\xA9 \xE2\x82\xAC");
  const std::string raw = "a\xFF\xC3(b\xE2\x82";  // not UTF-8: a file name can still be this
  const CString odd(raw);
  EXPECT_EQ(odd.ToUtf8(), raw);
  EXPECT_TRUE(CString(L"\U0001F600").ToUtf8() == "\xF0\x9F\x98\x80");
}

TEST(WideString, PartsAndSearchesStayWithinTheString) {
  const CString s(L"dir/name.ext");
  const auto w = [](const CString& c) { return std::wstring(static_cast<LPCTSTR>(c)); };
  EXPECT_EQ(
      (std::vector<std::wstring>{w(s.Left(3)), w(s.Left(99)), w(s.Left(-2)), w(s.Mid(4)),
                                 w(s.Mid(4, 4)), w(s.Mid(20)), w(s.Right(3)), w(s.Right(50))}),
      (std::vector<std::wstring>{L"dir", L"dir/name.ext", L"", L"name.ext", L"name", L"", L"ext",
                                 L"dir/name.ext"}));
  EXPECT_EQ((std::vector<int>{s.Find(L'/'), s.Find(L"na"), s.Find(L'x', 11), s.Find(L'd', 40),
                              s.ReverseFind(L'.'), s.ReverseFind(L'#')}),
            (std::vector<int>{3, 4, -1, -1, 8, -1}));
}

TEST(File, WritesReadsSeeksAndNamesWithoutFolders) {
  char dir[] = "/tmp/lamina_fileXXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  const std::string path = std::string(dir) + "/t\xC3\xA9st.bin";
  CFile f;
  EXPECT_FALSE(f.Open(CString(std::string(dir) + "/missing"), CFile::modeRead));
  EXPECT_FALSE(f.Open(CString(std::string(dir)), CFile::modeRead));  // a folder is not a file
  ASSERT_TRUE(f.Open(CString(path), CFile::modeCreate | CFile::modeWrite));
  EXPECT_EQ(f.Write("hello world", 11), 11u);
  EXPECT_TRUE(f.GetFileName() == L"t\u00E9st.bin");
  EXPECT_TRUE(f.GetFilePath() == CString(path));
  f.Close();
  ASSERT_TRUE(f.Open(CString(path), CFile::modeRead));
  EXPECT_EQ(f.GetLength(), 11u);
  char buf[16] = {};
  EXPECT_EQ(f.Seek(-5, CFile::end), 6u);
  EXPECT_EQ(f.Seek(-2, CFile::current), 4u);
  EXPECT_EQ(f.Read(buf, 16), 7u);
  EXPECT_EQ(std::string(buf), "o world");
  EXPECT_EQ(f.Write("x", 1), 0u);  // opened for reading only
  f.Close();
  EXPECT_EQ(f.Read(buf, 1), 0u);  // closed
  std::remove(path.c_str());
  rmdir(dir);
}
