#include "kem3/browser/kemdrives.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>

namespace {

// Drives by hand; every look-up notes whether critical errors were failed then.
struct FakeDrives : TDriveSystem {
  std::map<WideString, WideString> labels, remotes;
  unsigned mode = 0x8000;
  int lookups = 0, guarded = 0;
  unsigned FailCriticalErrors() override { return std::exchange(mode, mode | 1); }
  void RestoreErrorMode(unsigned m) override { mode = m; }
  bool Find(const std::map<WideString, WideString>& from, const WideString& key, WideString& out) {
    ++lookups;
    guarded += (mode & 1) != 0;
    const bool found = from.count(key) != 0;
    if (found) out = from.at(key);
    return found;
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
    const char16_t *label, *display;  // DriveVolumeLabel, DriveDisplayName
  } rows[] = {
      {u'C', u"[System]", u"[System]"},
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
