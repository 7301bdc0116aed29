// The gray readers and the RAW writer move rows between a file and the image in large batches and,
// when saving, write pieces out of order. These cases pin what that must not change: the bytes of
// the file, the position a file object is left at, pipes (which cannot be written out of order)
// and file classes of the caller's own (whose Read and Write must be the ones used).
#include <sys/stat.h>

#include <thread>

#include "support/files.h"

namespace {

using namespace lamina_test;

// Pixel values that differ from row to row and column to column, so a row out of place or shifted
// by a byte shows.
Bytes Pattern(int width, int height) {
  Bytes b(static_cast<std::size_t>(width) * height);
  for (std::size_t i = 0; i < b.size(); ++i) b[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
  return b;
}

// An odd width (rows carry padding in the image), more rows than one system call moves, and more
// bytes than one written piece.
constexpr int kWidth = 1001, kHeight = 2100;

CLamina Loaded(const Bytes& pixels, int width, int height) {
  CLamina img;
  TempDir dir;
  WriteAll(dir / "in.raw", pixels);
  EXPECT_EQ(img.fnIMG_LoadRAW(Path(dir / "in.raw"), width, height), 0);
  return img;
}

TEST(FileRows, SavedPiecesLandInFileOrderAfterTheStartingPosition) {
  const Bytes pixels = Pattern(kWidth, kHeight);
  CLamina img = Loaded(pixels, kWidth, kHeight);
  ASSERT_EQ(TopDown(img), pixels);
  TempDir dir;
  CFile f;
  ASSERT_TRUE(f.Open(Path(dir / "out.raw"), CFile::modeCreate | CFile::modeWrite));
  ASSERT_EQ(f.Write("HEAD", 4), 4u);
  ASSERT_EQ(img.fnIMG_SaveRAW(&f), 0);
  EXPECT_EQ(f.GetPosition(), 4u + pixels.size());  // as if the rows had been written in order
  ASSERT_EQ(f.Write("TAIL", 4), 4u);
  f.Close();
  EXPECT_EQ(ReadAll(dir / "out.raw"), Cat(Cat(B("HEAD"), pixels), B("TAIL")));
}

TEST(FileRows, LoadsReadEveryBatchAndLeaveTheFileAfterThePixels) {
  TempDir dir;
  const Bytes pixels = Pattern(kWidth, kHeight);
  WriteAll(dir / "in.raw", pixels);
  CFile f;
  ASSERT_TRUE(f.Open(Path(dir / "in.raw"), CFile::modeRead));
  CLamina img;
  ASSERT_EQ(img.fnIMG_LoadRAW(&f, kWidth, kHeight), 0);
  EXPECT_EQ(f.GetPosition(), pixels.size());
  EXPECT_EQ(TopDown(img), pixels);
  for (int r = 0; r < kHeight; ++r)  // the padding of every row is 0
    ASSERT_EQ(Bytes(RowBytes(img, r) + kWidth, RowBytes(img, r) + 1004), Bytes(3, 0)) << r;
}

TEST(FileRows, PgmRowsStraddlingTheHeaderPieceMatchTheBufferForm) {
  // The first 4 KiB read for the header holds the first rows and part of the next: they are
  // finished from the file before the rest is read in batches.
  const int width = 1533, height = 1500;
  const Bytes pixels = Pattern(width, height);
  Bytes file = Cat(B("P5\n# a comment\n1533 1500\n255\n"), pixels);
  TempDir dir;
  WriteAll(dir / "in.pgm", file);
  CLamina fromFile, fromBuffer;
  ASSERT_EQ(fromFile.fnIMG_LoadPGM(Path(dir / "in.pgm")), 0);
  ASSERT_EQ(fromBuffer.fnIMG_LoadPGMFromBuffer(file.data(), static_cast<int>(file.size())), 0);
  EXPECT_EQ(TopDown(fromFile), pixels);
  EXPECT_TRUE(Snap(fromFile).block == Snap(fromBuffer).block);  // padding 0 alike
}

TEST(FileRows, SavingIntoAPipeWritesTheRowsInOrder) {
  // A pipe cannot be written out of order: the rows must arrive top row first all the same.
  const int width = 3001, height = 700;  // several pieces
  const Bytes pixels = Pattern(width, height);
  CLamina img = Loaded(pixels, width, height);
  TempDir dir;
  const std::string fifo = (dir / "pipe").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  Bytes received;
  std::thread reader([&] { received = ReadAll(fifo); });
  const int result = img.fnIMG_SaveRAW(CString(fifo));
  reader.join();
  EXPECT_EQ(result, 0);
  EXPECT_EQ(received, pixels);
}

// A file class of a caller's own: counts the calls and keeps the bytes in memory.
class MemoryFile : public CFile {
 public:
  Bytes data;
  std::size_t pos = 0;
  int reads = 0, writes = 0;
  UINT Read(void* buffer, UINT count) override {
    ++reads;
    const std::size_t n = std::min<std::size_t>(count, data.size() - pos);
    std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(pos), n, static_cast<std::uint8_t*>(buffer));
    pos += n;
    return static_cast<UINT>(n);
  }
  UINT Write(const void* buffer, UINT count) override {
    ++writes;
    const auto* p = static_cast<const std::uint8_t*>(buffer);
    data.insert(data.begin() + static_cast<std::ptrdiff_t>(pos), p, p + count);
    pos += count;
    return count;
  }
  ULONGLONG GetLength() const override { return data.size(); }
  ULONGLONG GetPosition() const override { return pos; }
  ULONGLONG Seek(LONGLONG offset, UINT from) override {
    pos = static_cast<std::size_t>(from == begin ? offset : from == end ? data.size() + offset
                                                                        : pos + offset);
    return pos;
  }
};

// A real file whose class only counts the calls: the library must still go through them.
class CountingFile : public CFile {
 public:
  int reads = 0, writes = 0;
  UINT Read(void* buffer, UINT count) override {
    ++reads;
    return CFile::Read(buffer, count);
  }
  UINT Write(const void* buffer, UINT count) override {
    ++writes;
    return CFile::Write(buffer, count);
  }
};

TEST(FileRows, ACallersOwnFileClassIsReadAndWrittenThroughItsMembers) {
  const Bytes pixels = Pattern(kWidth, kHeight);
  CLamina img = Loaded(pixels, kWidth, kHeight);
  TempDir dir;
  CountingFile f;
  ASSERT_TRUE(f.Open(Path(dir / "c.raw"), CFile::modeCreate | CFile::modeWrite));
  ASSERT_EQ(img.fnIMG_SaveRAW(&f), 0);
  EXPECT_GT(f.writes, 0);
  ASSERT_TRUE(f.Open(Path(dir / "c.raw"), CFile::modeRead));
  CLamina back;
  ASSERT_EQ(back.fnIMG_LoadRAW(&f, kWidth, kHeight), 0);
  EXPECT_GT(f.reads, 0);
  EXPECT_EQ(TopDown(back), pixels);

  MemoryFile out;
  ASSERT_EQ(img.fnIMG_SaveRAW(&out), 0);
  EXPECT_GT(out.writes, 0);
  EXPECT_EQ(out.data, pixels);

  MemoryFile in;
  const Bytes header = B("P5\n1001 2100\n255\n");
  in.data = Cat(header, pixels);
  CLamina pgm;
  ASSERT_EQ(pgm.fnIMG_LoadPGM(&in), 0);
  EXPECT_GT(in.reads, 1);
  EXPECT_EQ(TopDown(pgm), pixels);
  EXPECT_EQ(in.pos, in.data.size());

  in.data = pixels;
  in.pos = 0;
  CLamina raw;
  ASSERT_EQ(raw.fnIMG_LoadRAW(&in, kWidth, kHeight), 0);
  EXPECT_EQ(TopDown(raw), pixels);
}

}  // namespace
