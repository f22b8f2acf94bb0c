// Icon files that are small and well formed but name their parts again and
// again: the inputs that once cost readers minutes and gigabytes.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

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

// An icon group directory (of an NE or PE resource) of Entries entries, entry
// i naming the icon Id(i) as a Width x Height image of Bits bits and Bytes bytes.
inline std::string GroupDirectory(int Entries, const std::function<unsigned(int)>& Id, int Width, int Height, int Bits,
                                  std::size_t Bytes) {
  using namespace iconwriter;
  std::string dir = LE16(0) + LE16(1) + LE16(static_cast<unsigned>(Entries));
  dir.reserve(dir.size() + 14 * static_cast<std::size_t>(Entries));
  for (int i = 0; i < Entries; ++i)
    dir += std::string{static_cast<char>(Width), static_cast<char>(Height), 0, 0} + LE16(1) +
           LE16(static_cast<unsigned>(Bits)) + LE32(static_cast<std::uint32_t>(Bytes)) + LE16(Id(i));
  return dir;
}

// A 16-bit icon library holding one icon (id 1) and Groups group records
// that all name the one Directory.
inline std::string NeLibraryOfSharedDirectory(const std::string& Icon, int Groups, const std::string& Directory) {
  using namespace iconwriter;
  constexpr int kShift = 8;
  const std::uint32_t ne = 64, table = 64;  // the table relative to the NE header
  const std::uint32_t tableSize = 2 + 8 + 12 + 8 + 12 * static_cast<std::uint32_t>(Groups) + 2;
  const std::uint32_t names = table + tableSize;  // no names: one end mark
  std::uint32_t at = (ne + names + 1 + 255) >> kShift;
  const std::uint32_t iconAt = at, iconUnits = static_cast<std::uint32_t>((Icon.size() + 255) >> kShift);
  const std::uint32_t dirAt = iconAt + iconUnits,
                      dirUnits = static_cast<std::uint32_t>((Directory.size() + 255) >> kShift);
  std::string s = "MZ" + std::string(58, '\0') + LE32(ne);
  s += "NE" + std::string(34, '\0') + LE16(table) + LE16(names) + std::string(24, '\0');
  s += LE16(kShift) + LE16(0x8003) + LE16(1) + LE32(0) + LE16(iconAt) + LE16(iconUnits) + LE16(0x30) + LE16(0x8001) +
       LE32(0);
  s += LE16(0x800E) + LE16(static_cast<unsigned>(Groups)) + LE32(0);
  const std::string record = LE16(dirAt) + LE16(dirUnits) + LE16(0x30) + LE16(0x8002) + LE32(0);
  s.reserve(s.size() + record.size() * static_cast<std::size_t>(Groups) + Directory.size() + Icon.size() + 1024);
  for (int g = 0; g < Groups; ++g) s += record;
  s += LE16(0) + std::string(1, '\0');
  s.resize(iconAt << kShift, '\0');
  s += Icon;
  s.resize(dirAt << kShift, '\0');
  s += Directory;
  s.resize((dirAt + dirUnits) << kShift, '\0');
  return s;
}

// The first bytes of a PNG image of Width x Height pixels: what a reader
// learns an icon image's size from, without the pixels to draw it.
inline std::string PngHead(std::uint32_t Width, std::uint32_t Height) {
  using namespace iconwriter;
  return "\x89PNG\r\n\x1a\n" + BE32(13) + "IHDR" + BE32(Width) + BE32(Height) + "\x08\x06" + std::string(3, '\0') +
         BE32(0);
}

// A 64-bit DLL of icon resources only: the icons as RT_ICON 1, 2… and Groups
// RT_GROUP_ICON resources (ids 1…Groups) whose data all are the one Directory.
inline std::string PeLibraryOfSharedDirectory(const std::vector<std::string>& Icons, int Groups,
                                              const std::string& Directory) {
  using namespace iconwriter;
  constexpr std::uint32_t kRaw = 0x200, kRva = 0x1000;
  const auto icons = static_cast<std::uint32_t>(Icons.size()), groups = static_cast<std::uint32_t>(Groups);
  auto directory = [](std::uint32_t Ids) { return std::string(12, '\0') + LE16(0) + LE16(Ids); };
  auto entry = [](std::uint32_t Id, std::uint32_t Offset, bool Subdirectory) {
    return LE32(Id) + LE32(Offset | (Subdirectory ? 0x80000000u : 0));
  };
  // The section: root, the two type directories, per resource a language
  // directory and a data entry, then the data.
  const std::uint32_t iconType = 16 + 2 * 8, groupType = iconType + 16 + 8 * icons;
  const std::uint32_t leaves = groupType + 16 + 8 * groups;  // 24 + 16 bytes per resource from here
  const std::uint32_t data = leaves + 40 * (icons + groups);
  std::string rsrc = directory(2) + entry(3, iconType, true) + entry(14, groupType, true);
  std::string leafBytes, dataBytes;
  auto leaf = [&](std::uint32_t Id, const std::string* Bytes, std::uint32_t DataRva) {
    const std::uint32_t at = leaves + static_cast<std::uint32_t>(leafBytes.size());
    leafBytes += directory(1) + entry(0, at + 24, false) + LE32(DataRva) +
                 LE32(static_cast<std::uint32_t>(Bytes->size())) + LE32(0) + LE32(0);
    return entry(Id, at, true);
  };
  rsrc += directory(icons);
  for (std::uint32_t i = 0; i < icons; ++i) {
    rsrc += leaf(i + 1, &Icons[i], kRva + data + static_cast<std::uint32_t>(dataBytes.size()));
    dataBytes += Icons[i];
    dataBytes.resize((dataBytes.size() + 7) / 8 * 8, '\0');
  }
  const std::uint32_t directoryRva = kRva + data + static_cast<std::uint32_t>(dataBytes.size());
  dataBytes += Directory;
  rsrc += directory(groups);
  for (std::uint32_t g = 0; g < groups; ++g) rsrc += leaf(g + 1, &Directory, directoryRva);
  rsrc += leafBytes + dataBytes;
  const auto size = static_cast<std::uint32_t>(rsrc.size());
  rsrc.resize((rsrc.size() + kRaw - 1) / kRaw * kRaw, '\0');
  const std::uint32_t image = kRva + (size + 0xFFF) / 0x1000 * 0x1000;
  std::string optional = LE16(0x20B) + std::string(2, '\0') + LE32(0) + LE32(size) + LE32(0) + LE32(0) + LE32(0) +
                         LE32(0x80000000u) + LE32(1) /* image base 0x180000000 */ + LE32(0x1000) + LE32(kRaw) +
                         LE16(6) + LE16(0) + LE16(0) + LE16(0) + LE16(6) + LE16(0) + LE32(0) + LE32(image) +
                         LE32(kRaw) + LE32(0) + LE16(2) + LE16(0);
  for (int i = 0; i < 4; ++i) optional += LE32(0x100000) + LE32(0);  // stack and heap sizes
  optional += LE32(0) + LE32(16);
  for (int d = 0; d < 16; ++d) optional += d == 2 ? LE32(kRva) + LE32(size) : LE32(0) + LE32(0);
  std::string s = "MZ" + std::string(58, '\0') + LE32(64) + "PE" + std::string(2, '\0') + LE16(0x8664) + LE16(1) +
                  LE32(0) + LE32(0) + LE32(0) + LE16(static_cast<unsigned>(optional.size())) + LE16(0x2022) + optional;
  s += ".rsrc" + std::string(3, '\0') + LE32(size) + LE32(kRva) + LE32(static_cast<std::uint32_t>(rsrc.size())) +
       LE32(kRaw) + LE32(0) + LE32(0) + LE16(0) + LE16(0) + LE32(0x40000040u);
  s.resize(kRaw, '\0');
  return s + rsrc;
}

}  // namespace craftedicons
