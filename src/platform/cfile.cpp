// CFile over POSIX descriptors. Interrupted calls are retried; short reads and writes are looped
// until the count is met or the call fails, so Read and Write report exactly what moved.
#include "lamina/cfile.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

CFile::CFile() : m_fd(-1) {}
CFile::~CFile() { CFile::Close(); }  // this class's own close: derived parts are gone

bool CFile::Open(const CString& name, UINT flags) {
  Close();
  int oflags = O_CLOEXEC;
  const UINT access = flags & 0x3u;
  if (access == modeWrite)
    oflags |= O_WRONLY;
  else if (access == modeReadWrite)
    oflags |= O_RDWR;
  else
    oflags |= O_RDONLY;
  if (flags & modeCreate) {
    oflags |= O_CREAT;
    if (!(flags & modeNoTruncate)) oflags |= O_TRUNC;
  }
  const std::string path = name.ToUtf8();
  int fd;
  do {
    fd = ::open(path.c_str(), oflags, 0666);
  } while (fd < 0 && errno == EINTR);
  // A failure leaves errno telling why (for a folder, EISDIR), so callers can report the
  // system's reason.
  if (fd < 0) return false;
  struct stat st;
  const bool statFailed = ::fstat(fd, &st) != 0;
  if (statFailed || S_ISDIR(st.st_mode)) {  // a folder is not a file
    const int reason = statFailed ? errno : EISDIR;
    ::close(fd);
    errno = reason;
    return false;
  }
  m_fd = fd;
  m_path = name;
  return true;
}

UINT CFile::Read(void* buffer, UINT count) {
  if (m_fd < 0 || buffer == nullptr) return 0;
  auto* p = static_cast<char*>(buffer);
  UINT done = 0;
  while (done < count) {
    const ssize_t n = ::read(m_fd, p + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<UINT>(n);
  }
  return done;
}

UINT CFile::Write(const void* buffer, UINT count) {
  if (m_fd < 0 || (buffer == nullptr && count != 0)) return 0;
  const auto* p = static_cast<const char*>(buffer);
  UINT done = 0;
  while (done < count) {
    const ssize_t n = ::write(m_fd, p + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<UINT>(n);
  }
  return done;
}

ULONGLONG CFile::Seek(LONGLONG offset, UINT from) {
  if (m_fd < 0) return static_cast<ULONGLONG>(-1);
  const int whence = from == current ? SEEK_CUR : from == end ? SEEK_END : SEEK_SET;
  const off_t r = ::lseek(m_fd, static_cast<off_t>(offset), whence);
  return r < 0 ? static_cast<ULONGLONG>(-1) : static_cast<ULONGLONG>(r);
}
void CFile::SeekToBegin() { Seek(0, begin); }
ULONGLONG CFile::SeekToEnd() { return Seek(0, end); }

ULONGLONG CFile::GetLength() const {
  struct stat st;
  if (m_fd < 0 || ::fstat(m_fd, &st) != 0) return 0;
  return static_cast<ULONGLONG>(st.st_size);
}

ULONGLONG CFile::GetPosition() const {
  if (m_fd < 0) return 0;
  const off_t r = ::lseek(m_fd, 0, SEEK_CUR);
  return r < 0 ? 0 : static_cast<ULONGLONG>(r);
}

CString CFile::GetFileName() const {
  const int slash = m_path.ReverseFind(L'/');
  return slash < 0 ? m_path : m_path.Mid(slash + 1);
}
CString CFile::GetFilePath() const { return m_path; }

void CFile::Close() {
  if (m_fd >= 0) {
    // Closing after a failed read or write keeps the reason of that failure in errno.
    const int reason = errno;
    ::close(m_fd);
    errno = reason;
    m_fd = -1;
  }
}
bool CFile::IsOpen() const { return m_fd >= 0; }
