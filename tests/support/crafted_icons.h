// Icon files that are small and well formed but name their parts again and
// again: the inputs that once cost readers minutes and gigabytes.
#pragma once
#include <cstdint>
#include <string>

#include "tools/common/iconwriter.h"

namespace craftedicons {

// A typed stream's counted string: one length byte, or 0x82 and four bytes.
inline std::string Counted(const std::string& s) {
  return s.size() < 128 ? std::string(1, static_cast<char>(s.size())) + s
                        : "\x82" + iconwriter::BE32(static_cast<std::uint32_t>(s.size())) + s;
}

inline std::string TypedStreamHead() { return "\x04" + Counted("typedstream") + "\x01"; }

// A C string of Length bytes, then Count values of two bytes each naming it again.
inline std::string TypedStreamStringReferences(int Count, std::size_t Length) {
  std::string s = TypedStreamHead() + "\x84" + Counted("*") + "\x84" + Counted(std::string(Length, 'N'));
  for (int i = 0; i < Count; ++i) s += "\x92\x93";
  return s;
}

// A class whose name is Length bytes, then Count objects of it in four bytes each.
inline std::string TypedStreamClassObjects(int Count, std::size_t Length) {
  std::string s = TypedStreamHead() + "\x84" + Counted("@") + "\x84\x84\x84" + Counted(std::string(Length, 'N')) +
                  std::string(1, '\0') + "\x85\x86";
  for (int i = 0; i < Count; ++i) s += "\x92\x84\x93\x86";
  return s;
}

// A resource fork whose Types "icns" types all lead to the one family it
// holds, each through RefsPerType references.
inline std::string ResourceForkOfManyTypes(const std::string& Family, int Types, int RefsPerType) {
  using namespace iconwriter;
  std::string ref = BE16(128) + BE16(0xFFFF) + std::string(4, '\0') + BE32(0), refs;
  for (int r = 0; r < RefsPerType; ++r) refs += ref;
  std::string typeList = BE16(static_cast<unsigned>(Types - 1));
  for (int t = 0; t < Types; ++t)
    typeList += "icns" + BE16(static_cast<unsigned>(RefsPerType - 1)) + BE16(static_cast<unsigned>(2 + 8 * Types));
  const std::string data = BE32(static_cast<std::uint32_t>(Family.size())) + Family;
  const std::string map = std::string(24, '\0') + BE16(28) +
                          BE16(static_cast<unsigned>(28 + typeList.size() + refs.size())) + typeList + refs;
  std::string fork = BE32(256) + BE32(256 + static_cast<std::uint32_t>(data.size())) +
                     BE32(static_cast<std::uint32_t>(data.size())) + BE32(static_cast<std::uint32_t>(map.size()));
  fork.resize(256, '\0');
  return fork + data + map;
}

}  // namespace craftedicons
