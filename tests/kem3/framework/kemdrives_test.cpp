#include "kem3/framework/kemdrives.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// Drives by hand; every look-up notes whether critical errors were failed then.
struct FakeDrives : TDriveSystem {
  std::map<WideString, WideString> labels, remotes;
  unsigned mode = 0x8000;
  int lookups = 0, guarded = 0;
  unsigned FailCriticalErrors() override {
    const unsigned old = mode;
    mode |= 1;
    return old;
  }
  void RestoreErrorMode(unsigned m) override { mode = m; }
  bool Find(const std::map<WideString, WideString>& from, const WideString& key, WideString& out) {
    ++lookups;
    guarded += (mode & 1) != 0;
    auto it = from.find(key);
    if (it == from.end()) return false;
    out = it->second;
    return true;
  }
  bool VolumeLabel(const WideString& root, WideString& label) override { return Find(labels, root, label); }
  bool RemoteName(const WideString& local, WideString& remote) override { return Find(remotes, local, remote); }
};

}  // namespace

TEST(DriveNames, LabelsAndConnections) {
  FakeDrives fake;
  fake.labels = {{u"C:\\", u"System"}, {u"D:\\", u""}, {u"z:\\", u"Lower"}, {u"Z:\\", u"Upper"}};
  fake.remotes = {{u"N:", u"\\\\server\\share"}, {u"Z:", u"\\\\host\\z"}};
  struct Row {
    WideChar drive;
    const char16_t* label;    // DriveVolumeLabel
    const char16_t* display;  // DriveDisplayName
  } rows[] = {
      {u'C', u"[System]", u"[System]"},
      {u'D', u"[]", u"[]"},                 // a volume without a label
      {u'A', u"[]", u"[]"},                 // an empty floppy: cannot be read
      {u'N', u"[]", u"\\\\server\\share"},  // a mapped drive: its path, no brackets
      {u'z', u"[Lower]", u"\\\\host\\z"},   // the connection is asked with the letter upper-cased
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(static_cast<char>(r.drive));
    EXPECT_EQ(DriveVolumeLabel(r.drive, fake), r.label);
    EXPECT_EQ(DriveDisplayName(r.drive, fake), r.display);
    EXPECT_EQ(fake.mode, 0x8000u) << "the error mode is restored";
  }
  EXPECT_EQ(fake.guarded, fake.lookups) << "no look-up without the error mode";
}
