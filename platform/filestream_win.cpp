// TFileStream of the Windows build: CreateFileW with the access and share
// flags the class library's modes stand for.
#include <algorithm>

#include "platform/streams.h"
#include "platform/win_util_win.h"

namespace {

HANDLE H(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

// Share modes by (mode & 0xF0) >> 4: compat and exclusive both share nothing.
const DWORD kShareFlags[] = {0, 0, FILE_SHARE_READ, FILE_SHARE_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE};
const DWORD kAccessFlags[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};

}  // namespace

TFileStream::TFileStream(const String& fileName, std::uint16_t mode) : FFileName(fileName) {
  const bool create = (mode & fmCreate) == fmCreate;
  const unsigned access = mode & 0x03;
  const unsigned share = (mode & 0xF0) >> 4;
  HANDLE h = INVALID_HANDLE_VALUE;
  if ((create || access <= fmOpenReadWrite) && share <= 4) {
    h = CreateFileW(WidePath(fileName).c_str(), create ? GENERIC_READ | GENERIC_WRITE : kAccessFlags[access],
                    kShareFlags[share], nullptr, create ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                    nullptr);
  } else {
    SetLastError(ERROR_INVALID_PARAMETER);
  }
  if (h == INVALID_HANDLE_VALUE) {
    String reason = LastErrorText();
    if (create) throw EFCreateError("Cannot create file \"" + fileName + "\". " + reason);
    throw EFOpenError("Cannot open file \"" + fileName + "\". " + reason);
  }
  FHandle = reinterpret_cast<std::intptr_t>(h);
}

TFileStream::~TFileStream() {
  if (FHandle != -1) CloseHandle(H(FHandle));
}

std::int64_t TFileStream::Read(void* buffer, std::int64_t count) {
  auto* p = static_cast<char*>(buffer);
  std::int64_t done = 0;
  while (done < count) {
    DWORD chunk = static_cast<DWORD>(std::min<std::int64_t>(count - done, 1 << 30));
    DWORD got = 0;
    if (!ReadFile(H(FHandle), p + done, chunk, &got, nullptr) || got == 0) break;
    done += got;
  }
  return done;
}

std::int64_t TFileStream::Write(const void* buffer, std::int64_t count) {
  auto* p = static_cast<const char*>(buffer);
  std::int64_t done = 0;
  while (done < count) {
    DWORD chunk = static_cast<DWORD>(std::min<std::int64_t>(count - done, 1 << 30));
    DWORD put = 0;
    if (!WriteFile(H(FHandle), p + done, chunk, &put, nullptr) || put == 0) break;
    done += put;
  }
  return done;
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  DWORD method = origin == soBeginning ? FILE_BEGIN : origin == soCurrent ? FILE_CURRENT : FILE_END;
  LARGE_INTEGER distance, result;
  distance.QuadPart = offset;
  if (!SetFilePointerEx(H(FHandle), distance, &result, method)) return -1;
  return result.QuadPart;
}

void TFileStream::SetSize(std::int64_t newSize) {
  if (Seek(newSize, soBeginning) < 0 || !SetEndOfFile(H(FHandle))) throw EOSError(LastErrorText());
}
