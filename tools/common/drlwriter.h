// Writes resource packages (*.drl): the directory and one LZSS container per
// entry, in the layout TKemResources reads. Header-only, for the package tool
// and the tests.
#pragma once
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "kem3/framework/kemres.h"
#include "platform/exceptions.h"
#include "platform/streams.h"
#include "kem3/framework/kempack.h"

namespace kempack {

// The payload a resource writes, as bytes.
inline std::string ResourcePayload(TKemResource& Resource) {
  TMemoryStream payload;
  Resource.SaveToStream(payload);
  return std::string(static_cast<const char*>(payload.Memory()), static_cast<size_t>(payload.Size()));
}

// One entry of a package to write: its name (at most 255 bytes) and payload.
struct TPackageItem {
  String Name;
  std::int32_t Kind = 0;
  std::string Payload;
};

inline TPackageItem MakePackageItem(const String& Name, TKemResource& Resource) {
  return {Name, Resource.Kind(), ResourcePayload(Resource)};
}

// The count, the directory, then one LZSS container per entry in order.
inline void WritePackage(TStream& Stream, const std::vector<TPackageItem>& Items) {
  if (Items.size() > 1000000) throw EWriteError("Too many package entries");
  const std::int64_t start = Stream.Position();
  std::int64_t offset = start + 4 + static_cast<std::int64_t>(Items.size()) * kResourceEntrySize;
  std::vector<std::string> containers;
  containers.reserve(Items.size());
  Stream.WriteLE<std::int32_t>(static_cast<std::int32_t>(Items.size()));
  for (const TPackageItem& item : Items) {
    TMemoryStream container;
    WriteLzssContainer(container, item.Payload);
    containers.emplace_back(static_cast<const char*>(container.Memory()), static_cast<size_t>(container.Size()));
    if (offset > std::numeric_limits<std::int32_t>::max()) throw EWriteError("Package too large");
    TKemResourceDirEntry dir;
    dir.Name = item.Name;
    dir.Kind = item.Kind;
    dir.DataOffset = static_cast<std::int32_t>(offset);
    const auto bytes = dir.ToBytes();
    Stream.WriteBuffer(bytes.data(), kResourceEntrySize);
    offset += static_cast<std::int64_t>(containers.back().size());
  }
  for (const std::string& container : containers) Stream.WriteBytes(container);
}

}  // namespace kempack
