// File-system calls of the Windows build, through the wide system calls.
#include <algorithm>
#include <atomic>

#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/win_util_win.h"

namespace {

DWORD Attributes(const String& name) { return GetFileAttributesW(WidePath(name).c_str()); }

}  // namespace

bool FileExists(const String& fileName) {
  DWORD a = Attributes(fileName);
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool GetFileStamp(const String& fileName, TFileStamp& stamp) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(WidePath(fileName).c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return false;
  stamp.Size = static_cast<std::int64_t>((static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
  stamp.WriteTime = static_cast<std::int64_t>((static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                                              data.ftLastWriteTime.dwLowDateTime);
  return true;
}

bool DirectoryExists(const String& directory) {
  DWORD a = Attributes(directory);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DeleteFile(const String& fileName) { return DeleteFileW(WidePath(fileName).c_str()) != 0; }

bool RenameFile(const String& oldName, const String& newName) {
  return MoveFileW(WidePath(oldName).c_str(), WidePath(newName).c_str()) != 0;
}

bool ForceDirectories(const String& directory) {
  if (directory.empty()) return false;
  String dir = directory;
  while (dir.size() > 3 && (dir.back() == '\\' || dir.back() == '/')) dir.pop_back();
  if (DirectoryExists(dir)) return true;
  size_t cut = dir.find_last_of("\\/");
  if (cut != String::npos && cut > 0 && dir[cut - 1] != ':') {
    if (!ForceDirectories(dir.substr(0, cut))) return false;
  }
  return CreateDirectoryW(WidePath(dir).c_str(), nullptr) != 0 || DirectoryExists(dir);
}

bool CopyFileTo(const String& source, const String& dest) {
  return CopyFileW(WidePath(source).c_str(), WidePath(dest).c_str(), FALSE) != 0;
}

std::string ReadFileBytes(const String& fileName) {
  // A save elsewhere replaces its file by a rename, which holds the name
  // exclusively for a moment (as does a virus scanner's look): wait that out
  // instead of failing the read.
  HANDLE h = INVALID_HANDLE_VALUE;
  for (int tries = 0;; ++tries) {
    h = CreateFileW(WidePath(fileName).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION || tries == 100) break;
    Sleep(20);
  }
  if (h == INVALID_HANDLE_VALUE) throw EFOpenError("Cannot open file \"" + fileName + "\". " + LastErrorText());
  // One block of the file's size, read into where it stays: a string grown
  // piece by piece would hold up to three times the file while it grows.
  std::string data;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(h, &size) && size.QuadPart > 0) data.resize(static_cast<size_t>(size.QuadPart));
  size_t got = 0;
  char more[4096];
  for (;;) {
    // Once the block is full, a small read tells the end from a file that
    // grew since it was measured.
    const bool full = got == data.size();
    DWORD read = 0;
    const DWORD room = full ? DWORD{sizeof more} : static_cast<DWORD>(std::min<size_t>(data.size() - got, 1u << 24));
    if (!ReadFile(h, full ? more : data.data() + got, room, &read, nullptr)) {
      String err = LastErrorText();
      CloseHandle(h);
      throw EReadError("Cannot read file \"" + fileName + "\". " + err);
    }
    if (read == 0) break;
    if (full) data.append(more, read);
    got += read;
  }
  CloseHandle(h);
  data.resize(got);
  return data;
}

TAtomicFileWriter::TAtomicFileWriter(const String& fileName) : FFileName(fileName), FHandle(-1) {
  static std::atomic<unsigned> counter{0};
  FTemp = SaveTempFileName(fileName, GetCurrentProcessId(), counter++);
  HANDLE h =
      CreateFileW(WidePath(FTemp).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) throw EFCreateError("Cannot create file \"" + fileName + "\". " + LastErrorText());
  FHandle = reinterpret_cast<std::intptr_t>(h);
}

TAtomicFileWriter::~TAtomicFileWriter() { Discard(); }

void TAtomicFileWriter::Discard() noexcept {
  if (FHandle == -1) return;
  CloseHandle(reinterpret_cast<HANDLE>(FHandle));
  FHandle = -1;
  DeleteFileW(WidePath(FTemp).c_str());
}

void TAtomicFileWriter::Write(std::string_view bytes) {
  HANDLE h = reinterpret_cast<HANDLE>(FHandle);
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
    DWORD written = 0;
    if (!WriteFile(h, bytes.data() + done, chunk, &written, nullptr) || written == 0) {
      String err = LastErrorText();
      Discard();
      throw EWriteError("Cannot write file \"" + FFileName + "\". " + err);
    }
    done += written;
  }
}

void TAtomicFileWriter::Commit() {
  HANDLE h = reinterpret_cast<HANDLE>(FHandle);
  const std::wstring wtemp = WidePath(FTemp);
  if (!FlushFileBuffers(h)) {
    String err = LastErrorText();
    Discard();
    throw EWriteError("Cannot write file \"" + FFileName + "\". " + err);
  }
  CloseHandle(h);
  FHandle = -1;
  if (!MoveFileExW(wtemp.c_str(), WidePath(FFileName).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    String err = LastErrorText();
    DeleteFileW(wtemp.c_str());
    throw EWriteError("Cannot replace file \"" + FFileName + "\". " + err);
  }
}

void WriteFileAtomic(const String& fileName, std::string_view bytes) {
  TAtomicFileWriter file(fileName);
  file.Write(bytes);
  file.Commit();
}
