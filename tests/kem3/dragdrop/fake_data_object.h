// A data object of the tests' own: each format's bytes in a memory block or a
// stream, with a stream that can refuse its Stat, and a record of what was
// written into it.
#pragma once
#include <cstring>
#include <map>

#include "kem3/dragdrop/dragdrop.h"

class FakeMedium : public TStorageMedium {
 public:
  FakeMedium(std::string bytes, std::uint32_t tymed, bool statFails, std::int64_t statSize = -1)
      : bytes_(std::move(bytes)), tymed_(tymed), statFails_(statFails), statSize_(statSize) {}
  ~FakeMedium() override { ++released; }
  std::uint32_t Tymed() const override { return tymed_; }
  std::int64_t GlobalSize() override { return static_cast<std::int64_t>(bytes_.size()); }
  const void* GlobalLock() override {
    ++locks;
    return bytes_.data();
  }
  void GlobalUnlock() override { --locks; }
  bool StatSize(std::int64_t& size) override {
    size = statSize_ >= 0 ? statSize_ : static_cast<std::int64_t>(bytes_.size());
    return !statFails_;
  }
  bool Rewind() override {
    pos_ = 0;
    return true;
  }
  // Hands out at most 3 bytes per read, as a slow stream may.
  bool Read(void* buffer, std::uint32_t count, std::uint32_t& got) override {
    got = static_cast<std::uint32_t>(std::min<std::size_t>({count, 3, bytes_.size() - pos_}));
    std::memcpy(buffer, bytes_.data() + pos_, got);
    pos_ += got;
    return true;
  }
  static inline int released = 0;
  static inline int locks = 0;

 private:
  std::string bytes_;
  std::uint32_t tymed_;
  bool statFails_;
  std::int64_t statSize_;
  std::size_t pos_ = 0;
};

class FakeDataObject : public TDropDataObject {
 public:
  struct Entry {
    std::string bytes;
    std::uint32_t tymed = tymedHGlobal;
    bool statFails = false;
    std::int64_t statSize = -1;  // what Stat reports; -1: the true size
  };
  FakeDataObject& Offer(std::uint16_t cf, std::string bytes, std::uint32_t tymed = tymedHGlobal) {
    formats[cf] = Entry{std::move(bytes), tymed};
    order.push_back(cf);
    return *this;
  }
  // One item of a format asked for by index, as "FileContents" is.
  FakeDataObject& OfferItem(std::uint16_t cf, std::int32_t index, Entry entry) {
    items[{cf, index}] = std::move(entry);
    return *this;
  }
  bool QueryGetData(const TFormatEtc& f) override {
    if (items.count({f.cfFormat, f.lindex})) return f.tymed & items[{f.cfFormat, f.lindex}].tymed;
    return formats.count(f.cfFormat) && (f.tymed & formats[f.cfFormat].tymed);
  }
  std::unique_ptr<TStorageMedium> GetData(const TFormatEtc& f) override {
    ++gets;
    if (!QueryGetData(f)) return nullptr;
    const Entry& e = items.count({f.cfFormat, f.lindex}) ? items[{f.cfFormat, f.lindex}] : formats[f.cfFormat];
    ++handedOut;
    return std::make_unique<FakeMedium>(e.bytes, e.tymed, e.statFails, e.statSize);
  }
  bool SetData(const TFormatEtc& f, const TWrittenMedium& m) override {
    if (refuseSetData) return false;
    written[f.cfFormat] = m;
    return true;
  }
  void EnumFormats(const std::function<bool(const TFormatEtc&)>& Visit) override {
    for (std::uint16_t cf : order)
      if (!Visit(TFormatEtc{cf, false, dvaspectContent, -1, formats[cf].tymed})) return;
  }
  std::map<std::uint16_t, Entry> formats;
  std::map<std::pair<std::uint16_t, std::int32_t>, Entry> items;
  std::vector<std::uint16_t> order;
  std::map<std::uint16_t, TWrittenMedium> written;
  bool refuseSetData = false;
  int gets = 0;
  int handedOut = 0;
};
