// The resource packages that the build draws into Resources\ beside the
// program: each holds every entry its bar module asks for, as pictures the
// module can compose (same sizes, hands pointing at twelve about the centre,
// solid where a click should hit).
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "kem3/framework/kemexe.h"
#include "kem3/framework/kemres.h"
#include "kem3/pictures/kemimage.h"
#include "platform/files.h"
#include "platform/sysutils.h"

namespace {

String ShippedPackage(const String& Name) {
  const String dir = GetExeDir();
  const char delimiter = dir.empty() ? '/' : dir.back();
  return dir + "Resources" + delimiter + Name;
}

// Opens a shipped package; fails the test when the build did not make it.
std::unique_ptr<TKemResources> Open(const String& Name) {
  const String file = ShippedPackage(Name);
  EXPECT_TRUE(FileExists(file)) << file << " is missing: the build's orv_packages target makes it";
  auto package = std::make_unique<TKemResources>(file, true);
  package->ReadDirectory();
  return package;
}

std::unique_ptr<TBitmap> Image(TKemResources& Package, const String& Name) {
  auto bitmap = std::make_unique<TBitmap>();
  EXPECT_TRUE(Package.GetImage(Name, *bitmap)) << Name;
  return bitmap;
}

void ExpectImages(TKemResources& Package, const std::vector<String>& Names, int Size) {
  for (const String& name : Names) {
    auto bitmap = Image(Package, name);
    EXPECT_EQ(bitmap->Width(), Size) << name;
    EXPECT_EQ(bitmap->Height(), Size) << name;
    EXPECT_EQ(bitmap->PixelFormat(), pf32bit) << name;
  }
}

std::vector<String> Numbered(const String& Prefix, int First, int Last, bool TwoDigits) {
  std::vector<String> names;
  for (int i = First; i <= Last; ++i) names.push_back(Prefix + (TwoDigits && i < 10 ? "0" : "") + IntToStr(i));
  return names;
}

void ExpectUniqueNames(TKemResources& Package) {
  std::set<String> names;
  for (int i = 0; i < Package.Count(); ++i) EXPECT_TRUE(names.insert(LowerCase(Package.Entry(i).Dir.Name)).second);
}

}  // namespace

TEST(ShippedPackages, ClockFaceAndHandsTurnAboutTheStoredCentre) {
  auto package = Open("clkdashlight.drl");
  ExpectUniqueNames(*package);
  auto* org = dynamic_cast<TKemResourceString*>(package->Find("org"));
  ASSERT_NE(org, nullptr);
  EXPECT_EQ(org->Value, "128 128");
  ExpectImages(*package, {"back", "hour", "min", "sec", "over"}, 256);

  auto back = Image(*package, "back");
  EXPECT_EQ(GetPixelAlpha(*back, 128, 128), 255);
  EXPECT_EQ(GetPixelAlpha(*back, 2, 2), 0);  // a round face
  // Hands point at twelve: solid above the centre, nothing to its right.
  for (const char* hand : {"hour", "min"}) {
    auto bitmap = Image(*package, hand);
    EXPECT_GT(GetPixelAlpha(*bitmap, 128, 80), 200) << hand;
    EXPECT_EQ(GetPixelAlpha(*bitmap, 180, 128), 0) << hand;
    EXPECT_EQ(GetPixelAlpha(*bitmap, 128, 220), 0) << hand;
  }
  auto minute = Image(*package, "min");
  auto hour = Image(*package, "hour");
  EXPECT_GT(GetPixelAlpha(*minute, 128, 44), 200);
  EXPECT_EQ(GetPixelAlpha(*hour, 128, 44), 0);  // the hour hand is the shorter one
}

TEST(ShippedPackages, CalendarHasEveryMonthAndDay) {
  auto package = Open("caldeskred.drl");
  ExpectUniqueNames(*package);
  ExpectImages(*package, Numbered("m", 1, 12, true), 128);
  ExpectImages(*package, Numbered("d", 1, 31, true), 128);
  EXPECT_EQ(package->Find("m13"), nullptr);
  // The page is solid; the day number lies on transparent ground.
  auto page = Image(*package, "m02");
  EXPECT_EQ(GetPixelAlpha(*page, 64, 90), 255);
  auto day = Image(*package, "d08");
  EXPECT_EQ(GetPixelAlpha(*day, 5, 5), 0);
}

TEST(ShippedPackages, RecycleBinEmptyAndFull) {
  auto package = Open("binclear.drl");
  ExpectImages(*package, {"empty", "full"}, 128);
  for (const char* name : {"empty", "full"}) {
    auto bitmap = Image(*package, name);
    EXPECT_GT(GetPixelAlpha(*bitmap, 64, 80), 128) << name;  // a click on the bin hits it
    EXPECT_EQ(GetPixelAlpha(*bitmap, 3, 64), 0) << name;
  }
}

TEST(ShippedPackages, BatteryHasEveryStateByEighths) {
  auto package = Open("battery.drl");
  std::vector<String> names = {"na", "cf"};
  for (const auto& list : {Numbered("c", 0, 8, false), Numbered("u", 0, 8, false)})
    names.insert(names.end(), list.begin(), list.end());
  ExpectImages(*package, names, 128);
  EXPECT_EQ(package->Count(), 22);  // with "libid" and "name"
  // More charge, more colour near the bottom of the cell.
  auto low = Image(*package, "u0");
  auto full = Image(*package, "u8");
  EXPECT_NE(low->PixelColor(64, 60), full->PixelColor(64, 60));
}

TEST(ShippedPackages, CarryTheirModulesLibraryIdAndAName) {
  struct {
    const char* File;
    const char* LibId;
  } cases[] = {{"clkdashlight.drl", "ovanalogclock"},
               {"caldeskred.drl", "ovcalendar"},
               {"binclear.drl", "ovrecyclebin"},
               {"battery.drl", "ovpower"}};
  for (const auto& c : cases) {
    auto package = Open(c.File);
    auto* libid = dynamic_cast<TKemResourceString*>(package->Find("libid"));
    auto* name = dynamic_cast<TKemResourceString*>(package->Find("name"));
    ASSERT_TRUE(libid && name) << c.File;
    EXPECT_EQ(libid->Value, c.LibId);
    EXPECT_FALSE(name->Value.empty());
  }
}
