// TKemRegistry: a small wrapper that reads the Windows registry. The program
// only reads system values (shell folders, version keys), so keys are opened
// with the strongest read access the caller's rights allow and nothing is ever
// created or written. Names and texts are UTF-8; the wide calls do the work.
#pragma once
#include <cstdint>

#include "platform/exceptions.h"
#include "platform/object.h"
#include "platform/types.h"
#include "platform/winapi_win.h"

ORV_EXCEPTION(ERegistryException, Exception)

// Value types as callers see them.
enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

struct TRegDataInfo {
  TRegDataType RegData = rdUnknown;
  int DataSize = 0;  // bytes
};

class TKemRegistry : public TObject {
 public:
  // The root is HKEY_CURRENT_USER; no key is open.
  TKemRegistry() = default;
  ~TKemRegistry() override;
  TKemRegistry(const TKemRegistry&) = delete;
  TKemRegistry& operator=(const TKemRegistry&) = delete;

  HKEY RootKey() const { return FRootKey; }
  // A different root closes the current key.
  void SetRootKey(HKEY Value);
  // The open key, nullptr when none.
  HKEY CurrentKey() const { return FCurrentKey; }
  // The path of the open key below the root, without a leading "\".
  const String& CurrentPath() const { return FCurrentPath; }

  // Opens a key for reading. A path that begins with "\" is taken from the
  // root; any other below the open key when there is one, else from the root.
  // On success the open key is replaced; on failure it stays as it was.
  bool OpenKey(const String& Key);
  // Closes the open key, if any.
  void CloseKey();

  bool ValueExists(const String& Name) const;
  // Size of a value in bytes, -1 when it does not exist.
  int GetDataSize(const String& Name) const;
  // Type and size of a value; false when it does not exist.
  bool GetDataInfo(const String& Name, TRegDataInfo& Value) const;
  // Reads up to BufSize bytes; the number of bytes read. ERegistryException
  // "Failed to get data for '<name>'" when the value is missing or larger.
  int GetData(const String& Name, void* Buffer, int BufSize, TRegDataType& RegData) const;

  // A REG_SZ or REG_EXPAND_SZ value as stored (variables are not expanded),
  // ending at its first zero character; "" when it is missing or empty.
  // ERegistryException "Invalid data type for '<name>'" for any other type.
  String ReadString(const String& Name) const;
  // A REG_DWORD value. "Failed to get data" when missing, "Invalid data type"
  // for another type or a size other than four bytes.
  std::int32_t ReadInteger(const String& Name) const;
  // A REG_BINARY value into the buffer; the bytes read. The errors as above,
  // and "Failed to get data" when it is larger than the buffer.
  int ReadBinaryData(const String& Name, void* Buffer, int BufSize) const;

 private:
  HKEY FCurrentKey = nullptr;
  HKEY FRootKey = HKEY_CURRENT_USER;
  String FCurrentPath;
};
