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
  // One block of the file's size, read into where it stays: a string grown
  // piece by piece would hold up to three times the file while it grows.
  struct stat st;
  std::string data;
  if (::fstat(fd, &st) == 0 && st.st_size > 0) data.resize(static_cast<size_t>(st.st_size));
  size_t got = 0;
  char more[4096];
  for (;;) {
    // Once the block is full, a small read tells the end from a file that
    // grew since it was measured.
    const bool full = got == data.size();
    ssize_t n = full ? ::read(fd, more, sizeof more) : ::read(fd, data.data() + got, data.size() - got);
    if (n < 0) {
      if (errno == EINTR) continue;
      int err = errno;
      ::close(fd);
      throw EReadError("Cannot read file \"" + fileName + "\". " + std::strerror(err));
    }
    if (n == 0) break;
    if (full) data.append(more, static_cast<size_t>(n));
    got += static_cast<size_t>(n);
  }
  ::close(fd);
  data.resize(got);
  return data;
}

TAtomicFileWriter::TAtomicFileWriter(const String& fileName) : FFileName(fileName), FHandle(-1) {
  static std::atomic<unsigned> counter{0};
  FTemp = SaveTempFileName(fileName, static_cast<unsigned long>(::getpid()), counter++);
  int fd = ::open(FTemp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) throw EFCreateError("Cannot create file \"" + fileName + "\". " + std::strerror(errno));
  FHandle = fd;
}

TAtomicFileWriter::~TAtomicFileWriter() { Discard(); }

void TAtomicFileWriter::Discard() noexcept {
  if (FHandle < 0) return;
  ::close(static_cast<int>(FHandle));
  FHandle = -1;
  ::unlink(FTemp.c_str());
}

void TAtomicFileWriter::Write(std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(static_cast<int>(FHandle), bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      int err = errno;
      Discard();
      throw EWriteError("Cannot write file \"" + FFileName + "\". " + std::strerror(err));
    }
    done += static_cast<size_t>(n);
  }
}

void TAtomicFileWriter::Commit() {
  const int fd = static_cast<int>(FHandle);
  FHandle = -1;
  if (::fsync(fd) != 0 || ::close(fd) != 0) {
    int err = errno;
    ::unlink(FTemp.c_str());
    throw EWriteError("Cannot write file \"" + FFileName + "\". " + std::strerror(err));
  }
  if (::rename(FTemp.c_str(), FFileName.c_str()) != 0) {
    int err = errno;
    ::unlink(FTemp.c_str());
    throw EWriteError("Cannot replace file \"" + FFileName + "\". " + std::strerror(err));
  }
}

void WriteFileAtomic(const String& fileName, std::string_view bytes) {
  TAtomicFileWriter file(fileName);
  file.Write(bytes);
  file.Commit();
}
