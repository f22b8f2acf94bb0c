// The bar modules composed from the shipped packages, with a fixed local time
// and a fake system; and the module threads over a fake module.
#include "launcher/ov3module.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>

#include "kem3/framework/kemexe.h"
#include "launcher/ov3modsys.h"
#include "launcher/ov3modthread.h"
#include "platform/files.h"
#include "platform/synchronize.h"
#include "support/temp_dir.h"

namespace {

class TFixedLocalClock : public TLocalClock {
 public:
  TLocalTime Time;
  TLocalTime Now() override { return Time; }
};

class TFakeModuleSystem : public TOvModuleSystem {
 public:
  TPowerStatus Power;
  std::int64_t Items = 0;
  int Emptied = 0;
  TPowerStatus PowerStatus() override { return Power; }
  std::vector<String> FixedDriveRoots() override { return {"c:\\", "d:\\"}; }
  bool QueryRecycleBin(const String& Root, std::int64_t& Count, std::int64_t& Size) override {
    if (Root == "d:\\") return false;
    Count = Items;
    Size = Items * 100;
    return true;
  }
  void EmptyRecycleBins(const std::vector<String>& Roots) override {
    Emptied += static_cast<int>(Roots.size());
    Items = 0;
  }
  void OpenRecycleBinFolder() override {}
};

class ModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FOldClock = SetLocalClock(&Clock);
    FOldSystem = SetModuleSystem(&System);
  }
  void TearDown() override {
    SetLocalClock(FOldClock);
    SetModuleSystem(FOldSystem);
  }
  // A module of that slot on an element with these parameters.
  std::unique_ptr<TOvModule> Make(int Kind, const String& Images, const String& Width = "256",
                                  const String& SecondHand = "no") {
    TKemXmlTag* e = Doc.FindPath("ov3contents.modules." + String(kModules[static_cast<size_t>(Kind)].Name), true);
    e->WriteAttr("title", "Clock");
    e->FindPath("parameters.images", true)->WriteAttr("value", Images);
    e->FindPath("parameters.width", true)->WriteAttr("value", Width);
    e->FindPath("parameters.secondhand", true)->WriteAttr("value", SecondHand);
    auto m = NewModule(Kind, GetExeDir() + "Resources" + String(1, GetExeDir().back()));
    m->SetElement(e);
    return m;
  }
  TFixedLocalClock Clock;
  TFakeModuleSystem System;
  TKemXml Doc;

 private:
  TLocalClock* FOldClock = nullptr;
  TOvModuleSystem* FOldSystem = nullptr;
};

// Red of the picture pixel at Radius from the centre, Degrees clockwise from twelve.
int RedAt(const TBitmap& Picture, double Radius, double Degrees) {
  const double r = Degrees * 3.14159265358979 / 180;
  const TColor c = Picture.PixelColor(static_cast<int>(std::lround(128 + Radius * std::sin(r))),
                                      static_cast<int>(std::lround(128 - Radius * std::cos(r))));
  return static_cast<int>(c & 0xFF);
}

// Each kind is made as its row of the module table names it, and the commands
// its menu offers are routed back to it; the bar's own actions reach no module.
TEST_F(ModuleTest, EachKindIsItsRowAndItsCommandsComeBackToIt) {
  for (const TOvModuleInfo& row : kModules) {
    auto module = Make(row.Kind, row.Package, "72");
    EXPECT_EQ(module->GetModuleName(), row.Name);
    EXPECT_EQ(ModuleKindIndex(row.Name), row.Kind);
    for (int pass = 0; pass < 2; ++pass) {
      for (const TOvModuleMenuEntry& entry : module->BuildMenu())
        if (entry.Kind == TOvModuleMenuEntry::mekAction) {
          EXPECT_EQ(ModuleOfAction(entry.ActionId), row.Kind) << entry.ActionId;
          // The clock offers the other state of its second hand next.
          if (pass == 0 && row.Kind == omkAnalogClock) module->ExecuteCommand(entry.ActionId);
        }
    }
  }
  EXPECT_EQ(ModuleOfAction(ovaSecondHandOff), omkAnalogClock);
  EXPECT_EQ(ModuleOfAction(ovaEmptyRecycleBin), omkRecycleBin);
  for (int id : {ovaExit, ovaAlignMenu, ovaEditGroup}) EXPECT_EQ(ModuleOfAction(id), -1) << id;
}

TEST_F(ModuleTest, ClockHandsPointAtTheTime) {
  Clock.Time.Hour = 10;
  Clock.Time.Minute = 10;
  Clock.Time.Second = 30;
  auto clock = Make(omkAnalogClock, "clkdashlight.drl", "256", "yes");
  TBitmap picture;
  clock->CopyPicture(picture);
  ASSERT_EQ(picture.Width(), 256);
  EXPECT_LT(RedAt(picture, 60, 60), 100);   // minute hand (dark)
  EXPECT_LT(RedAt(picture, 40, 305), 100);  // hour hand
  EXPECT_GT(RedAt(picture, 60, 180), 150);  // second hand (red)…
  EXPECT_LT(static_cast<int>((picture.PixelColor(128, 188) >> 8) & 0xFF), 120);
  EXPECT_GT(RedAt(picture, 60, 120), 200);  // the bare face
  EXPECT_EQ(clock->GetInterval(), 100);
  EXPECT_EQ(clock->GetHint(), u"10:10:30");
  // The same second draws nothing; the next one does; without the hand only the minute counts.
  EXPECT_FALSE(clock->UpdateImage(false));
  Clock.Time.Second = 31;
  EXPECT_TRUE(clock->UpdateImage(false));
  clock->ExecuteCommand(ovaSecondHandOff);
  EXPECT_EQ(clock->GetParameter("secondhand", ""), "no");
  EXPECT_EQ(clock->GetInterval(), 5000);
  Clock.Time.Second = 45;
  EXPECT_FALSE(clock->UpdateImage(false));
  EXPECT_EQ(clock->BuildMenu().back().ActionId, ovaSecondHandOn);
}

// A hand turned and shrunk onto the picture lands where the turn puts it, keeps
// its area, and its soft edge keeps the hand's colour: the transparent black
// around the hand never darkens it.
TEST(ModuleHand, TurnedHandKeepsItsColourAreaAndPlace) {
  TBitmap bar;
  bar.SetPixelFormat(pf32bit);
  bar.SetSize(256, 256);  // transparent black
  for (int y = 28; y < 128; ++y)
    for (int x = 124; x < 132; ++x) std::memcpy(static_cast<std::uint8_t*>(bar.ScanLine(y)) + 4 * x, "\0\0\xFF\xFF", 4);
  const double scale = 72.0 / 256;
  for (double angle : {0.0, 90.0, 180.0, 270.0, 30.0}) {
    TTurnedPicture hand;
    TurnPicture(hand, bar, {128, 128}, angle, {256, 256}, 72);
    ASSERT_FALSE(IsRectEmpty(hand.Box)) << angle;
    double area = 0, cx = 0, cy = 0;
    int offColour = 0;
    for (int y = 0; y < hand.Picture.Height(); ++y)
      for (int x = 0; x < hand.Picture.Width(); ++x) {
        const auto* p = static_cast<const std::uint8_t*>(hand.Picture.ScanLine(y)) + 4 * x;
        if (p[3] == 0) continue;
        offColour += p[0] != 0 || p[1] != 0 || p[2] != 255;
        area += p[3] / 255.0;
        cx += p[3] / 255.0 * (hand.At.X + x + 0.5);
        cy += p[3] / 255.0 * (hand.At.Y + y + 0.5);
      }
    EXPECT_EQ(offColour, 0) << angle;
    EXPECT_NEAR(area, 8 * 100 * scale * scale, 8 * 100 * scale * scale * 0.05) << angle;
    const double radians = angle * 3.14159265358979 / 180;
    EXPECT_NEAR(cx / area, 36 + 50 * scale * std::sin(radians), 0.5) << angle;
    EXPECT_NEAR(cy / area, 36 - 50 * scale * std::cos(radians), 0.5) << angle;
  }
}

TEST_F(ModuleTest, MissingPicturesLeaveThePictureAsItWas) {
  // A package without "back", an absent package, no package: nothing drawn, nothing raised.
  for (const char* images : {"caldeskred.drl", "nosuch.drl", ""}) {
    auto clock = Make(omkAnalogClock, images);
    TBitmap picture;
    clock->CopyPicture(picture);
    EXPECT_TRUE(picture.Empty()) << images;
    EXPECT_FALSE(clock->UpdateImage(true)) << images;
  }
  // A damaged package: every payload byte after the directory turned over.
  TempDir dir;
  std::string bytes = ReadFileBytes(GetExeDir() + "Resources" + String(1, GetExeDir().back()) + "clkdashlight.drl");
  for (size_t i = 4 + 272 * 8; i < bytes.size(); ++i) bytes[i] = static_cast<char>(~bytes[i]);
  WriteFileAtomic(dir.file("bad.drl"), bytes);
  auto damaged = NewModule(omkAnalogClock, dir.file(""));
  TKemXmlTag* e = Doc.FindPath("ov3contents.modules.damaged", true);
  e->FindPath("parameters.images", true)->WriteAttr("value", "bad.drl");
  damaged->SetElement(e);
  EXPECT_FALSE(damaged->UpdateImage(true));

  auto calendar = Make(omkCalendar, "caldeskred.drl", "72");
  Clock.Time.Month = 13;  // no such page: the old picture stays
  EXPECT_FALSE(calendar->UpdateImage(true));
  TBitmap picture;
  calendar->CopyPicture(picture);
  EXPECT_EQ(picture.Width(), 72);
}

TEST_F(ModuleTest, CalendarTurnsAtMidnightAndBinAndBatteryFollowTheSystem) {
  Clock.Time = {2026, 12, 9, 23, 59, 59, 900, 3};
  auto calendar = Make(omkCalendar, "caldeskred.drl", "72");
  EXPECT_FALSE(calendar->UpdateImage(false));
  Clock.Time = {2026, 12, 10, 0, 0, 0, 400, 4};
  EXPECT_TRUE(calendar->UpdateImage(false));
  EXPECT_EQ(calendar->BuildMenu().size(), 2u);  // no commands, so no menu

  auto bin = Make(omkRecycleBin, "binclear.drl", "72");
  auto* recycle = static_cast<TOvRecycleBin*>(bin.get());
  EXPECT_EQ(recycle->ShownState(), 0);
  EXPECT_FALSE(recycle->BuildMenu().back().Enabled);
  System.Items = 1;
  EXPECT_TRUE(bin->UpdateImage(false));
  EXPECT_FALSE(bin->UpdateImage(false));
  EXPECT_EQ(recycle->ShownState(), 1);
  EXPECT_TRUE(recycle->BuildMenu().back().Enabled);
  EXPECT_EQ(bin->GetHint().substr(0, 6), u"1 item");
  bin->ExecuteCommand(ovaEmptyRecycleBin);
  WaitForRecycleThreads();
  EXPECT_EQ(System.Emptied, 2);
  EXPECT_TRUE(bin->UpdateImage(false));
  EXPECT_EQ(recycle->ShownState(), 0);

  auto battery = Make(omkBattery, "battery.drl", "72");
  System.Power = {0, 0, 50};
  EXPECT_TRUE(battery->UpdateImage(false));
  EXPECT_FALSE(battery->UpdateImage(false));
  EXPECT_EQ(battery->GetHint(), u"50 %");
}

// A module whose update is slow, counting what reaches it.
class TSlowModule : public TOvModule {
 public:
  TSlowModule() : TOvModule("") {}
  String GetModuleName() const override { return "slow"; }
  int GetInterval() override {
    if (RaiseInterval) throw Exception("no interval");
    return 1;
  }
  std::atomic<int> Updates{0};
  std::atomic<bool> InUpdate{false};
  bool RaiseInterval = false;

 protected:
  bool Compose(bool) override {
    InUpdate = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    ++Updates;
    InUpdate = false;
    return true;
  }
};

TEST(ModuleThread, StopDuringASlowUpdateNeverTouchesTheModuleAfter) {
  TOvModuleList list;
  for (int round = 0; round < 5; ++round) {
    auto module = std::make_unique<TSlowModule>();
    int repaints = 0;
    list.RegisterModule(module.get(), [&repaints] { ++repaints; });
    list.StartThreads();
    while (!module->InUpdate) std::this_thread::yield();
    list.UnregisterModule(module.get());
    const int updates = module->Updates;
    EXPECT_FALSE(module->InUpdate);
    module.reset();  // the thread is gone: freeing here is safe under ASan
    EXPECT_GE(updates, 1);
    // Repaints queued before the stop find no module and run nothing.
    CheckSynchronize(0);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(repaints, 0);
  }
}

TEST(ModuleThread, ChangesRepaintOnTheGuiThreadAndARaisingIntervalWaitsASecond) {
  TOvModuleList list;
  TSlowModule fast, raising;
  raising.RaiseInterval = true;
  int repaints = 0;
  list.RegisterModule(&fast, [&repaints] { ++repaints; });
  list.RegisterModule(&raising, [] {});
  EXPECT_EQ(list.FindModuleIndex("slow"), 0);
  list.StartThreads();
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
  while (std::chrono::steady_clock::now() < end) CheckSynchronize(10);
  EXPECT_GT(repaints, 2);
  EXPECT_EQ(raising.Updates, 0);  // still in its first second's wait
  list.StopAll();
  EXPECT_FALSE(list.IsModule(&fast));
}

TEST_F(ModuleTest, TheGuiReadsAndReloadsWhileTheThreadComposes) {
  SetLocalClock(nullptr);  // the system's time, which moves by itself
  auto clock = Make(omkAnalogClock, "clkdashlight.drl", "72", "yes");
  TOvModuleList list;
  list.RegisterModule(clock.get(), [] {});
  list.StartThreads();
  TBitmap picture;
  for (int i = 0; i < 30; ++i) {
    clock->Reload();
    EXPECT_EQ(clock->GetHint().size(), 8u);
    EXPECT_EQ(clock->BuildMenu().size(), 3u);
    clock->CopyPicture(picture);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  list.StopAll();
  EXPECT_EQ(picture.Width(), 72);
}

}  // namespace

// Each second only the second hand's old and new boxes change, and what a
// tick shows (the picture taken before, brought up to date in place) is the
// picture drawn anew at that moment; a new minute redraws the whole face.
TEST_F(ModuleTest, ASecondRedrawsOnlyTheSecondHandsBoxes) {
  Clock.Time.Hour = 10;
  Clock.Time.Minute = 10;
  Clock.Time.Second = 30;
  auto clock = Make(omkAnalogClock, "clkdashlight.drl", "72", "yes");
  TBitmap shown;
  EXPECT_EQ(clock->TakeChangedPicture(shown), Bounds(0, 0, 72, 72));
  TBitmap before;
  before.Assign(shown);
  const void* memory = shown.ScanLine(0);
  for (int second : {31, 59}) {
    Clock.Time.Second = second;
    ASSERT_TRUE(clock->UpdateImage(false));
    const TRect changed = clock->TakeChangedPicture(shown);
    EXPECT_FALSE(IsRectEmpty(changed));
    EXPECT_LT(changed.Width() * changed.Height(), 72 * 72 / 4)
        << changed.Left << "," << changed.Top << " " << changed.Width() << "x" << changed.Height();
    EXPECT_TRUE(IsRectEmpty(clock->TakeChangedPicture(shown)));
    EXPECT_EQ(shown.ScanLine(0), memory);  // taken in place
    auto fresh = Make(omkAnalogClock, "clkdashlight.drl", "72", "yes");
    TBitmap again;
    fresh->CopyPicture(again);
    int outside = 0, differs = 0;
    for (int y = 0; y < 72; ++y)
      for (int x = 0; x < 72; ++x) {
        outside += !PtInRect(changed, {x, y}) && before.PixelColor(x, y) != shown.PixelColor(x, y);
        differs += again.PixelColor(x, y) != shown.PixelColor(x, y);
      }
    EXPECT_EQ(outside, 0) << second;
    EXPECT_EQ(differs, 0) << second;
    before.Assign(shown);
  }
  Clock.Time.Minute = 11;
  ASSERT_TRUE(clock->UpdateImage(false));
  EXPECT_EQ(clock->TakeChangedPicture(shown), Bounds(0, 0, 72, 72));
}
