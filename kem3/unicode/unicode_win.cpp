// The tables are resources of type "UNICODEDATA" in the program's module.
#include <windows.h>

#include "kem3/unicode/unicode.h"
#include "platform/exceptions.h"

std::string unicodedata::ReadUnicodeResource(const char* Name) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC info = FindResourceA(module, Name, "UNICODEDATA");
  HGLOBAL data = info ? LoadResource(module, info) : nullptr;
  const void* bytes = data ? LockResource(data) : nullptr;
  if (!bytes) throw EReadError(std::string("Resource ") + Name + " not found");
  return std::string(static_cast<const char*>(bytes), SizeofResource(module, info));
}
