// TFileStream of the native build. POSIX has no share modes, so the streams of
// this process keep a table of who has which file open and with what sharing,
// and refuse an open exactly where Windows would. That way code that opens a
// file twice in a way Windows forbids fails in the native tests too.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/streams.h"

namespace {

// What one open stream does with a file and what it lets others do.
struct OpenRecord {
  const TFileStream* stream;
  bool read, write;            // access it has
  bool shareRead, shareWrite;  // access it allows to others
};

using FileKey = std::pair<dev_t, ino_t>;

std::mutex& TableLock() {
  static std::mutex lock;
  return lock;
}
std::map<FileKey, std::vector<OpenRecord>>& Table() {
  static std::map<FileKey, std::vector<OpenRecord>> table;
  return table;
}

bool Conflicts(const OpenRecord& a, const OpenRecord& b) {
  return (a.read && !b.shareRead) || (a.write && !b.shareWrite) || (b.read && !a.shareRead) ||
         (b.write && !a.shareWrite);
}

const char* const kSharingViolation = "The process cannot access the file because it is being used by another process.";

}  // namespace

TFileStream::TFileStream(const String& fileName, std::uint16_t mode) : FFileName(fileName) {
  const bool create = (mode & fmCreate) == fmCreate;
  const unsigned access = mode & 0x03;
  const unsigned share = mode & 0xF0;
  auto fail = [&](const String& reason) -> void {
    if (create) throw EFCreateError("Cannot create file \"" + fileName + "\". " + reason);
    throw EFOpenError("Cannot open file \"" + fileName + "\". " + reason);
  };
  if ((!create && access > fmOpenReadWrite) || share > fmShareDenyNone) fail(std::strerror(EINVAL));

  OpenRecord record{this, create || access != fmOpenWrite, create || access != fmOpenRead, false, false};
  // Compat shares nothing, as on Windows.
  record.shareRead = share == fmShareDenyWrite || share == fmShareDenyNone;
  record.shareWrite = share == fmShareDenyRead || share == fmShareDenyNone;

  int flags = O_CLOEXEC | (record.read && record.write ? O_RDWR : record.write ? O_WRONLY : O_RDONLY);
  // Never O_TRUNC here: a file that another stream holds must stay untouched
  // when the share check refuses the open.
  if (create) flags |= O_CREAT;

  std::lock_guard guard(TableLock());
  int fd = ::open(fileName.c_str(), flags, 0666);
  if (fd < 0) fail(std::strerror(errno));
  struct stat st;
  int statError = ::fstat(fd, &st) != 0 ? errno : S_ISDIR(st.st_mode) ? EISDIR : 0;
  if (statError != 0) {
    ::close(fd);
    fail(std::strerror(statError));
  }
  auto& open = Table()[{st.st_dev, st.st_ino}];
  for (const OpenRecord& other : open) {
    if (Conflicts(record, other)) {
      ::close(fd);
      if (open.empty()) Table().erase({st.st_dev, st.st_ino});
      fail(kSharingViolation);
    }
  }
  if (create && ::ftruncate(fd, 0) != 0) {
    int err = errno;
    ::close(fd);
    if (open.empty()) Table().erase({st.st_dev, st.st_ino});
    fail(std::strerror(err));
  }
  open.push_back(record);
  FHandle = fd;
}

TFileStream::~TFileStream() {
  if (FHandle < 0) return;
  std::lock_guard guard(TableLock());
  for (auto it = Table().begin(); it != Table().end(); ++it) {
    auto& open = it->second;
    auto own = std::find_if(open.begin(), open.end(), [&](const OpenRecord& r) { return r.stream == this; });
    if (own == open.end()) continue;
    open.erase(own);
    if (open.empty()) Table().erase(it);
    break;
  }
  ::close(static_cast<int>(FHandle));
}

std::int64_t TFileStream::Read(void* buffer, std::int64_t count) {
  auto* p = static_cast<char*>(buffer);
  std::int64_t done = 0;
  while (done < count) {
    size_t chunk = static_cast<size_t>(std::min<std::int64_t>(count - done, INT_MAX));
    ssize_t n = ::read(static_cast<int>(FHandle), p + done, chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

std::int64_t TFileStream::Write(const void* buffer, std::int64_t count) {
  auto* p = static_cast<const char*>(buffer);
  std::int64_t done = 0;
  while (done < count) {
    size_t chunk = static_cast<size_t>(std::min<std::int64_t>(count - done, INT_MAX));
    ssize_t n = ::write(static_cast<int>(FHandle), p + done, chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  int whence = origin == soBeginning ? SEEK_SET : origin == soCurrent ? SEEK_CUR : SEEK_END;
  off_t pos = ::lseek(static_cast<int>(FHandle), static_cast<off_t>(offset), whence);
  return pos < 0 ? -1 : static_cast<std::int64_t>(pos);
}

void TFileStream::SetSize(std::int64_t newSize) {
  if (Seek(newSize, soBeginning) < 0 || ::ftruncate(static_cast<int>(FHandle), static_cast<off_t>(newSize)) != 0)
    throw EOSError(std::strerror(errno));
}
