// File-system calls of the native build (POSIX).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/exceptions.h"
#include "platform/files.h"

namespace fs = std::filesystem;

bool FileExists(const String& fileName) {
  struct stat st;
  return ::stat(fileName.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool GetFileStamp(const String& fileName, TFileStamp& stamp) {
  struct stat st;
  if (::stat(fileName.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  stamp.Size = static_cast<std::int64_t>(st.st_size);
  stamp.WriteTime = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  return true;
}

bool DirectoryExists(const String& directory) {
  struct stat st;
  return ::stat(directory.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool DeleteFile(const String& fileName) { return FileExists(fileName) && ::unlink(fileName.c_str()) == 0; }

bool RenameFile(const String& oldName, const String& newName) {
  // Like the Windows call: never replaces an existing file.
  if (::access(newName.c_str(), F_OK) == 0) return false;
  return ::rename(oldName.c_str(), newName.c_str()) == 0;
}

bool ForceDirectories(const String& directory) {
  if (directory.empty()) return false;
  std::error_code ec;
  fs::create_directories(fs::path(directory), ec);
  return DirectoryExists(directory);
}

bool CopyFileTo(const String& source, const String& dest) {
  std::error_code ec;
  return fs::copy_file(source, dest, fs::copy_options::overwrite_existing, ec);
}

std::string ReadFileBytes(const String& fileName) {
  int fd = ::open(fileName.c_str(), O_RDONLY);
  if (fd < 0) throw EFOpenError("Cannot open file \"" + fileName + "\". " + std::strerror(errno));
  std::string data;
  char buf[65536];
  for (;;) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      int err = errno;
      ::close(fd);
      throw EReadError("Cannot read file \"" + fileName + "\". " + std::strerror(err));
    }
    if (n == 0) break;
    data.append(buf, static_cast<size_t>(n));
  }
  ::close(fd);
  return data;
}

void WriteFileAtomic(const String& fileName, std::string_view bytes) {
  static std::atomic<unsigned> counter{0};
  const String temp = SaveTempFileName(fileName, static_cast<unsigned long>(::getpid()), counter++);
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) throw EFCreateError("Cannot create file \"" + fileName + "\". " + std::strerror(errno));
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      int err = errno;
      ::close(fd);
      ::unlink(temp.c_str());
      throw EWriteError("Cannot write file \"" + fileName + "\". " + std::strerror(err));
    }
    done += static_cast<size_t>(n);
  }
  if (::fsync(fd) != 0 || ::close(fd) != 0) {
    int err = errno;
    ::unlink(temp.c_str());
    throw EWriteError("Cannot write file \"" + fileName + "\". " + std::strerror(err));
  }
  if (::rename(temp.c_str(), fileName.c_str()) != 0) {
    int err = errno;
    ::unlink(temp.c_str());
    throw EWriteError("Cannot replace file \"" + fileName + "\". " + std::strerror(err));
  }
}
