// The icon reader of 16-bit executables and icon libraries (NE files): their
// resource table, the names of the icon groups, and each group's icons.
#include <map>

#include "kem3/graphics/kemicons.h"
#include "platform/sysutils.h"

namespace {

constexpr std::uint16_t kNeIcon = 0x8003;
constexpr std::uint16_t kNeGroupIcon = 0x800E;
// Walking limits: more type blocks or names than this is a damaged table.
constexpr int kMaxTypeBlocks = 4096;
constexpr int kMaxNames = 65536;

struct TNeResource {
  std::uint16_t Id = 0;
  std::int64_t Offset = 0;
  std::int64_t Length = 0;
};

class TIclReader {
 public:
  explicit TIclReader(const TIconBlock& Data) : FBlock(Data), FBytes(*Data) {}

  // The groups in table order; reading errors end the list, and so does the
  // file's budget: every group record may name one long directory, so its
  // entries count as they are walked, with the resource records.
  void Read(TKemIcons& Icons) {
    if (!FBytes.Has(0, 64) || FBytes.Data().substr(0, 2) != "MZ") return;
    const std::int64_t ne = FBytes.U32(60);
    if (ne < 60 || !FBytes.Has(ne, 64) || FBytes.Data().substr(static_cast<std::size_t>(ne), 2) != "NE") return;
    const std::uint16_t resources = FBytes.U16(ne + 36), residentNames = FBytes.U16(ne + 38);
    if (resources == 0 || residentNames == 0) return;
    const std::int64_t afterTable = ReadTable(ne + resources);
    ReadNames(afterTable);
    for (std::size_t i = 0; i < FGroups.size(); ++i) {
      auto group = std::make_unique<TKemIconGroup>();
      group->Name = i < FNames.size() ? FNames[i] : "Res" + IntToStr(static_cast<std::int64_t>(i));
      try {
        ReadGroup(FGroups[i], *group);
      } catch (const EIconError&) {
        Icons.AddGroup(std::move(group));
        return;
      }
      Icons.AddGroup(std::move(group));
    }
  }

 private:
  // The type blocks; returns the offset just past the table's end mark.
  std::int64_t ReadTable(std::int64_t Table) {
    const int shift = FBytes.U16(Table);
    if (shift > 15) throw EIconError("Resource alignment");
    std::int64_t p = Table + 2;
    for (int block = 0; block < kMaxTypeBlocks; ++block) {
      const std::uint16_t type = FBytes.U16(p);
      if (type == 0) return p + 2;
      const int count = FBytes.U16(p + 2);
      p += 8;
      FBytes.Need(p, std::int64_t{count} * 12);
      for (int i = 0; i < count; ++i, p += 12) {
        FBudget.TakeEntry();
        TNeResource r{FBytes.U16(p + 6), std::int64_t{FBytes.U16(p)} << shift,
                      std::int64_t{FBytes.U16(p + 2)} << shift};
        if (type == kNeIcon) FIcons.emplace(r.Id, r);
        if (type == kNeGroupIcon) FGroups.push_back(r);
      }
    }
    throw EIconError("Resource table without end");
  }

  void ReadNames(std::int64_t p) {
    for (int i = 0; i < kMaxNames && FBytes.Has(p, 1); ++i) {
      const int length = FBytes.U8(p);
      if (length == 0 || !FBytes.Has(p + 1, length)) return;
      String name(FBytes.Sub(p + 1, length));
      p += 1 + length;
      if (i == 0 && name == "ICL") continue;
      FNames.push_back(name);
    }
  }

  void ReadGroup(const TNeResource& Resource, TKemIconGroup& Group) {
    const TIconBytes dir(FBytes.Sub(Resource.Offset, Resource.Length));
    const int count = dir.U16(4);
    for (int i = 0; i < count && !TIconFileBudget::GroupFull(Group); ++i) {
      FBudget.TakeEntry();
      const std::int64_t e = 6 + std::int64_t{i} * 14;
      const auto icon = FIcons.find(static_cast<std::uint16_t>(dir.U16(e + 12) | 0x8000));
      if (icon == FIcons.end()) return;
      const std::int64_t length = std::min<std::int64_t>(dir.U32(e + 8), icon->second.Length);
      try {
        FBudget.AddImage(
            Group, std::make_unique<TKemIconImageWin>(FBytes.Sub(icon->second.Offset, length), dir.U8(e), dir.U8(e + 1),
                                                      dir.U8(e + 2), dir.U16(e + 4), dir.U16(e + 6), FBlock));
      } catch (const Exception&) {
        // A damaged image is left out; the group keeps the others.
      }
    }
  }

  TIconBlock FBlock;
  TIconBytes FBytes;
  TIconFileBudget FBudget;
  std::multimap<std::uint16_t, TNeResource> FIcons;
  std::vector<TNeResource> FGroups;
  std::vector<String> FNames;
};

}  // namespace

void TKemIcons::LoadNEData(const TIconBlock& Data) {
  if (!Data) return;
  try {
    TIclReader(Data).Read(*this);
  } catch (const EIconError&) {
    // A damaged table adds nothing more.
  }
}
