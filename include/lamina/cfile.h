// A binary file over POSIX descriptors with the members and flags of MFC's CFile. Failures are
// reported by results (Open returns false, Read and Write return the bytes moved), never thrown.
#pragma once

#include "lamina/cstring.h"
#include "lamina/export.h"
#include "lamina/wintypes.h"

namespace lamina {
namespace platform {
struct FileRows;
}  // namespace platform
}  // namespace lamina

class LAMINA_API CFile {
 public:
  enum OpenFlags : UINT {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    modeCreate = 0x1000,
    modeNoTruncate = 0x2000,
    typeBinary = 0x8000,
  };
  enum SeekPosition : UINT { begin = 0x0, current = 0x1, end = 0x2 };

  CFile();
  virtual ~CFile();  // closes the file if it is open
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  // Opens by name: modeRead for reading; modeCreate | modeWrite creates or truncates; modeNoTruncate
  // with modeCreate keeps an existing file. Returns false when the file cannot be opened.
  virtual bool Open(const CString& name, UINT flags);
  // Reads up to `count` bytes at the current position; returns the bytes read (0 at the end or on error).
  virtual UINT Read(void* buffer, UINT count);
  // Writes `count` bytes; returns the bytes written (fewer only on error).
  virtual UINT Write(const void* buffer, UINT count);
  // Moves the position; returns the new position from the start, or (ULONGLONG)-1 on error.
  virtual ULONGLONG Seek(LONGLONG offset, UINT from);
  void SeekToBegin();
  ULONGLONG SeekToEnd();
  virtual ULONGLONG GetLength() const;
  virtual ULONGLONG GetPosition() const;
  // The file's name without its folders, and the name as it was given to Open.
  virtual CString GetFileName() const;
  virtual CString GetFilePath() const;
  virtual void Close();
  bool IsOpen() const;

 private:
  // The library's image readers and writers move whole images between the descriptor and an
  // image's rows in one system call per thousand rows.
  friend struct lamina::platform::FileRows;
  int m_fd;
  CString m_path;
};
