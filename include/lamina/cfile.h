/// @file
///
/// CFile, the binary file of the interface.
#pragma once

#include "lamina/cstring.h"
#include "lamina/export.h"
#include "lamina/wintypes.h"

namespace lamina {
namespace platform {
struct FileRows;
}  // namespace platform
}  // namespace lamina

/// A binary file over POSIX descriptors, with Windows-style members and flags.
///
/// Failures are reported by results (Open() returns false, Read() and Write() the bytes moved),
/// never thrown. The image operations that take a CFile use it at its current position and leave
/// it open. A CFile cannot be copied.
class LAMINA_API CFile {
 public:
  /// Flags of Open(), combined with |.
  enum OpenFlags : UINT {
    modeRead = 0x0000,        ///< open for reading
    modeWrite = 0x0001,       ///< open for writing
    modeReadWrite = 0x0002,   ///< open for reading and writing
    modeCreate = 0x1000,      ///< create the file, truncating an existing one
    modeNoTruncate = 0x2000,  ///< with modeCreate: keep an existing file's contents
    typeBinary = 0x8000,      ///< accepted; every file is binary
  };
  /// Where Seek() counts from.
  enum SeekPosition : UINT {
    begin = 0x0,    ///< the start of the file
    current = 0x1,  ///< the current position
    end = 0x2       ///< the end of the file
  };

  /// A file object with no file open.
  CFile();
  /// Closes the file if it is open.
  virtual ~CFile();
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  /// Opens a file by name, closing any file this object had open. A folder is not a file.
  /// @param name the path (turned into UTF-8 for the system).
  /// @param flags modeRead to read; modeCreate | modeWrite to create or truncate; modeNoTruncate
  ///        with modeCreate keeps an existing file; modeReadWrite to read and write.
  /// @return true when the file is open; false when it cannot be opened.
  virtual bool Open(const CString& name, UINT flags);
  /// Reads bytes at the current position, which moves past them.
  /// @param buffer receives up to count bytes; null reads nothing.
  /// @param count the number of bytes wanted.
  /// @return the bytes read: count, or fewer at the end of the file or on an error (0 when no file
  ///         is open).
  virtual UINT Read(void* buffer, UINT count);
  /// Writes bytes at the current position, which moves past them.
  /// @param buffer count bytes.
  /// @param count the number of bytes.
  /// @return the bytes written: count, or fewer only on an error (0 when no file is open).
  virtual UINT Write(const void* buffer, UINT count);
  /// Moves the position.
  /// @param offset the distance in bytes, negative to move back.
  /// @param from begin, current or end.
  /// @return the new position from the start; (ULONGLONG)-1 on an error or when no file is open.
  virtual ULONGLONG Seek(LONGLONG offset, UINT from);
  /// Moves the position to the start of the file.
  void SeekToBegin();
  /// Moves the position to the end of the file.
  /// @return the new position (the file's length); (ULONGLONG)-1 on an error.
  ULONGLONG SeekToEnd();
  /// @return the file's length in bytes; 0 when no file is open.
  virtual ULONGLONG GetLength() const;
  /// @return the current position from the start; 0 when no file is open.
  virtual ULONGLONG GetPosition() const;
  /// @return the file's name without its folders (what the loaders name an image after).
  virtual CString GetFileName() const;
  /// @return the name as it was given to Open().
  virtual CString GetFilePath() const;
  /// Closes the file; nothing happens when none is open.
  virtual void Close();
  /// @return true while a file is open.
  bool IsOpen() const;

 private:
  // The library's image readers and writers move whole images between the descriptor and an
  // image's rows in one system call per thousand rows.
  friend struct lamina::platform::FileRows;
  int m_fd;
  CString m_path;
};
