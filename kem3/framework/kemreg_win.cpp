// Reading the registry through TKemRegistry.
#include "kem3/framework/kemreg_win.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/format.h"
#include "platform/unicode_convert.h"
#include "platform/win_util_win.h"

namespace {

// Read access, strongest first: where a key denies enumeration, querying
// values may still be allowed.
constexpr REGSAM kReadAccess[] = {KEY_READ, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE, KEY_QUERY_VALUE};

TRegDataType DataTypeOf(DWORD type) {
  switch (type) {
    case REG_SZ:
      return rdString;
    case REG_EXPAND_SZ:
      return rdExpandString;
    case REG_DWORD:
      return rdInteger;
    case REG_BINARY:
      return rdBinary;
    default:
      return rdUnknown;
  }
}

[[noreturn]] void FailedToGetData(const String& name) {
  throw ERegistryException(Format("Failed to get data for '%s'", {name}));
}

[[noreturn]] void InvalidDataType(const String& name) {
  throw ERegistryException(Format("Invalid data type for '%s'", {name}));
}

// The whole value: its type and bytes. The size is asked first and the value
// may change between the two calls, so a value that grew is read again.
bool QueryValue(HKEY key, const String& name, DWORD& type, std::string& bytes) {
  if (key == nullptr) return false;
  const std::wstring wideName = WidePath(name);
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD size = 0;
    if (RegQueryValueExW(key, wideName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
    bytes.assign(size, '\0');
    DWORD got = size;
    const LONG rc = RegQueryValueExW(key, wideName.c_str(), nullptr, &type,
                                     size != 0 ? reinterpret_cast<BYTE*>(bytes.data()) : nullptr, &got);
    if (rc == ERROR_MORE_DATA) continue;
    if (rc != ERROR_SUCCESS) return false;
    bytes.resize(std::min<DWORD>(got, size));
    return true;
  }
  return false;
}

}  // namespace

TKemRegistry::~TKemRegistry() { CloseKey(); }

void TKemRegistry::SetRootKey(HKEY Value) {
  if (Value == FRootKey) return;
  FRootKey = Value;
  CloseKey();
}

bool TKemRegistry::OpenKey(const String& Key) {
  const bool absolute = !Key.empty() && Key.front() == '\\';
  const String path = absolute ? Key.substr(1) : Key;
  const bool below = !absolute && FCurrentKey != nullptr;
  const std::wstring widePath = WidePath(path);
  HKEY opened = nullptr;
  for (REGSAM access : kReadAccess) {
    if (RegOpenKeyExW(below ? FCurrentKey : FRootKey, widePath.c_str(), 0, access, &opened) == ERROR_SUCCESS) break;
    opened = nullptr;
  }
  if (opened == nullptr) return false;
  const String newPath = below ? FCurrentPath + "\\" + path : path;
  CloseKey();
  FCurrentKey = opened;
  FCurrentPath = newPath;
  return true;
}

void TKemRegistry::CloseKey() {
  if (FCurrentKey == nullptr) return;
  RegCloseKey(FCurrentKey);
  FCurrentKey = nullptr;
  FCurrentPath.clear();
}

bool TKemRegistry::ValueExists(const String& Name) const {
  TRegDataInfo info;
  return GetDataInfo(Name, info);
}

int TKemRegistry::GetDataSize(const String& Name) const {
  TRegDataInfo info;
  return GetDataInfo(Name, info) ? info.DataSize : -1;
}

bool TKemRegistry::GetDataInfo(const String& Name, TRegDataInfo& Value) const {
  Value = TRegDataInfo();
  if (FCurrentKey == nullptr) return false;
  DWORD type = REG_NONE;
  DWORD size = 0;
  if (RegQueryValueExW(FCurrentKey, WidePath(Name).c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return false;
  Value.RegData = DataTypeOf(type);
  Value.DataSize = static_cast<int>(std::min<DWORD>(size, 0x7FFFFFFF));
  return true;
}

int TKemRegistry::GetData(const String& Name, void* Buffer, int BufSize, TRegDataType& RegData) const {
  DWORD type = REG_NONE;
  DWORD size = BufSize > 0 ? static_cast<DWORD>(BufSize) : 0;
  if (FCurrentKey == nullptr ||
      RegQueryValueExW(FCurrentKey, WidePath(Name).c_str(), nullptr, &type,
                       size != 0 ? static_cast<BYTE*>(Buffer) : nullptr, &size) != ERROR_SUCCESS ||
      (BufSize <= 0 && size != 0))
    FailedToGetData(Name);
  RegData = DataTypeOf(type);
  return static_cast<int>(size);
}

String TKemRegistry::ReadString(const String& Name) const {
  DWORD type = REG_NONE;
  std::string bytes;
  if (!QueryValue(FCurrentKey, Name, type, bytes)) return String();
  if (type != REG_SZ && type != REG_EXPAND_SZ) InvalidDataType(Name);
  // Stored strings need not end with a zero, nor hold whole characters: an
  // odd last byte is dropped, and the text ends at the first zero.
  std::u16string text(bytes.size() / 2, u'\0');
  if (!text.empty()) std::memcpy(text.data(), bytes.data(), text.size() * 2);
  const size_t zero = text.find(u'\0');
  if (zero != std::u16string::npos) text.resize(zero);
  return WideToUtf8(text);
}

std::int32_t TKemRegistry::ReadInteger(const String& Name) const {
  DWORD type = REG_NONE;
  std::string bytes;
  if (!QueryValue(FCurrentKey, Name, type, bytes)) FailedToGetData(Name);
  if (type != REG_DWORD || bytes.size() != sizeof(std::int32_t)) InvalidDataType(Name);
  std::int32_t value = 0;
  std::memcpy(&value, bytes.data(), sizeof value);
  return value;
}

int TKemRegistry::ReadBinaryData(const String& Name, void* Buffer, int BufSize) const {
  DWORD type = REG_NONE;
  std::string bytes;
  if (!QueryValue(FCurrentKey, Name, type, bytes)) FailedToGetData(Name);
  if (type != REG_BINARY) InvalidDataType(Name);
  if (bytes.size() > static_cast<size_t>(std::max(BufSize, 0))) FailedToGetData(Name);
  if (!bytes.empty()) std::memcpy(Buffer, bytes.data(), bytes.size());
  return static_cast<int>(bytes.size());
}
