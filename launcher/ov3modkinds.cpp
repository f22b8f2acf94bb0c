// The bar modules: analog clock, calendar, recycle bin and battery.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "kem3/framework/kemlan.h"
#include "kem3/framework/kemutil.h"
#include "kem3/pictures/kemimage.h"
#include "kem3/pictures/kemresample.h"
#include "launcher/ov3modsys.h"
#include "launcher/ov3modthread.h"
#include "launcher/ov3module.h"
#include "platform/format.h"
#include "platform/unicode_convert.h"

namespace {

// Image turned about Origin and blended centred onto Target; nothing without the image.
void BlendHand(TBitmap& Target, TBitmap& Image, const TClockOrigin& Origin, double Angle) {
  if (Image.Empty()) return;
  TBitmap turned;
  RotateBitmap(turned, Image, TPoint{static_cast<int>(std::lround(Origin.X)), static_cast<int>(std::lround(Origin.Y))},
               Angle);
  AlphaBlendBitmap(Target, (Target.Width() - turned.Width()) / 2, (Target.Height() - turned.Height()) / 2, turned);
}

TOvModuleMenuEntry Action(int Id, bool Enabled = true) {
  TOvModuleMenuEntry e;
  e.Kind = TOvModuleMenuEntry::mekAction;
  e.ActionId = Id;
  e.Enabled = Enabled;
  return e;
}

}  // namespace

// ---- Analog clock

namespace {

// Length V of an image whose face is SourceSize long, on a picture Size long.
int Scaled(int V, int Size, int SourceSize) {
  return SourceSize > 0 ? static_cast<int>(std::lround(static_cast<double>(V) * Size / SourceSize)) : V;
}

// Source resampled into Dest of Width x Height (32 bits).
void Resized(TBitmap& Dest, const TBitmap& Source, int Width, int Height) {
  Dest.SetPixelFormat(pf32bit);
  Dest.SetSize(std::max(Width, 1), std::max(Height, 1));
  ResampleBitmap(Dest, Source, 5, 0);
}

}  // namespace

void TOvAnalogClock::ReadParameters() { FSecondHand = YesNoToBool(GetParameter("secondhand", ""), false); }

void TOvAnalogClock::ForgetPictures() {
  for (TBitmap* picture : {&FFace, &FGlass, &FSecondSource, &FWork}) picture->SetSize(0, 0);
  for (auto& hand : FHands) hand.reset();
  FHandBox = TRect{};
}

const TOvAnalogClock::THand* TOvAnalogClock::SecondHand(int Second, const TClockOrigin& Origin) {
  if (Second < 0 || Second >= static_cast<int>(FHands.size())) return nullptr;
  std::unique_ptr<THand>& slot = FHands[static_cast<size_t>(Second)];
  if (slot) return slot.get();
  if (FSecondSource.Empty() && !GetPackageImage("sec", FSecondSource)) return nullptr;
  TLocalTime at;
  at.Second = Second;
  auto hand = std::make_unique<THand>();
  TurnPicture(*hand, FSecondSource, Origin, ClockHandAngles(at).Second, FSourceSize, FFace.Width());
  slot = std::move(hand);
  return slot.get();
}

bool TOvAnalogClock::Compose(bool Force) {
  if (!PackageOpen()) return false;
  const TLocalTime now = LocalNow();
  const int size = Width();
  if (Force || (!FFace.Empty() && FFace.Width() != size)) {
    FDrawn = {};
    ForgetPictures();
  }
  if (!ClockNeedsRedraw(FDrawn, now, FSecondHand, false)) return false;
  const TClockOrigin origin = ParseClockOrigin(GetPackageString("org", "128 128"));
  bool whole = false;
  if (now.Minute != FDrawn.Minute) {
    FDrawn.Minute = now.Minute;
    // Without a face the hands have nothing to stand on: the picture stays.
    TBitmap face;
    if (!GetPackageImage("back", face)) return false;
    face.SetPixelFormat(pf32bit);
    const TClockAngles angles = ClockHandAngles(now);
    TBitmap hand;
    if (GetPackageImage("min", hand)) BlendHand(face, hand, origin, angles.Minute);
    if (GetPackageImage("hour", hand)) BlendHand(face, hand, origin, angles.Hour);
    FSourceSize = {face.Width(), face.Height()};
    Resized(FFace, face, size, size);
    TBitmap over;
    if (FGlass.Empty() && GetPackageImage("over", over))
      Resized(FGlass, over, Scaled(over.Width(), size, FSourceSize.cx), Scaled(over.Height(), size, FSourceSize.cy));
    whole = true;
  }
  FDrawn.Second = now.Second;
  if (FFace.Empty()) return false;
  const THand* hand = FSecondHand ? SecondHand(now.Second, origin) : nullptr;
  const TRect box = hand ? hand->Box : TRect{};
  TRect changed = Bounds(0, 0, size, size);
  if (!whole && !UnionRect(changed, box, FHandBox)) return false;
  // Each second only the hand's old and new boxes change: the face goes back
  // there, and the hand and the glass are blended there alone.
  if (whole || !SamePictureShape(FWork, FFace)) {
    FWork.Assign(FFace);
    changed = Bounds(0, 0, size, size);
  } else {
    CopyPictureRect(FWork, FFace, changed);
  }
  if (hand) {
    TRect source = box;
    OffsetRect(source, -hand->At.X, -hand->At.Y);
    AlphaBlendBitmapRect(FWork, box.Left, box.Top, source, const_cast<TBitmap&>(hand->Picture));
  }
  if (!FGlass.Empty()) AlphaBlendBitmapRect(FWork, changed.Left, changed.Top, changed, FGlass);
  FHandBox = box;
  ShowPicture(FWork, changed);
  return true;
}

WideString TOvAnalogClock::GetHint() { return Utf8ToWide(ClockHint(LocalNow())); }

void TOvAnalogClock::ExecuteCommand(int Id) {
  if (!Element()) return;
  Element()->FindPath("parameters.secondhand", true)->WriteAttr("value", Id == ovaSecondHandOn ? "yes" : "no");
  Reload();
}

void TOvAnalogClock::AddMenuEntries(std::vector<TOvModuleMenuEntry>& Entries) {
  Entries.push_back(Action(FSecondHand ? ovaSecondHandOff : ovaSecondHandOn));
}

// ---- Calendar

bool TOvCalendar::Compose(bool Force) {
  const TLocalTime now = LocalNow();
  if (!Force && now.Day == FDay && now.Month == FMonth) return false;
  TBitmap page, day;
  if (!GetPackageImage(Format("m%.2d", {now.Month}), page)) return false;
  page.SetPixelFormat(pf32bit);
  if (GetPackageImage(Format("d%.2d", {now.Day}), day))
    AlphaBlendBitmap(page, (page.Width() - day.Width()) / 2, (page.Height() - day.Height()) / 2, day);
  FDay = now.Day;
  FMonth = now.Month;
  DrawPicture(page);
  return true;
}

WideString TOvCalendar::GetHint() {
  return CalendarHint(Translate("Hint_Mod_Calendar_Days", {}), LocalNow().DayOfWeek);
}

// ---- Recycle bin

TOvRecycleBin::TOvRecycleBin(String ResourceDir)
    : TOvModule(std::move(ResourceDir)), FRoots(ModuleSystem().FixedDriveRoots()) {}

bool TOvRecycleBin::Compose(bool Force) {
  TOvModuleSystem& system = ModuleSystem();
  const TRecycleBinSum sum =
      SumRecycleBins(FRoots, [&system](const String& root, std::int64_t& count, std::int64_t& size) {
        return system.QueryRecycleBin(root, count, size);
      });
  FCount = sum.Count;
  FSize = sum.Size;
  const int full = sum.Count > 0 ? 1 : 0;
  if (!Force && full == FShown) return false;
  if (!DrawPackageImage(full ? "full" : "empty")) return false;
  FShown = full;
  return true;
}

WideString TOvRecycleBin::GetHint() {
  return RecycleBinHint({FCount.load(), FSize.load()}, Translate("Hint_Mod_RecycleBin_OneItem", u"1 item"),
                        Translate("Hint_Mod_RecycleBin_MoreItems", u"%d items"));
}

void TOvRecycleBin::ExecuteCommand(int Id) {
  if (Id == ovaOpenRecycleBin) ModuleSystem().OpenRecycleBinFolder();
  if (Id == ovaEmptyRecycleBin) EmptyRecycleBinsInBackground(FRoots);
}

void TOvRecycleBin::AddMenuEntries(std::vector<TOvModuleMenuEntry>& Entries) {
  Entries.push_back(Action(ovaOpenRecycleBin));
  Entries.push_back(Action(ovaEmptyRecycleBin, FShown == 1));
}

// ---- Battery

namespace {
std::uint32_t PackStatus(const TPowerStatus& s) {
  return s.ACLineStatus | (static_cast<std::uint32_t>(s.BatteryFlag) << 8) |
         (static_cast<std::uint32_t>(s.BatteryLifePercent) << 16);
}
TPowerStatus UnpackStatus(std::uint32_t v) {
  return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v >> 16)};
}
}  // namespace

bool TOvBattery::Compose(bool Force) {
  const TPowerStatus status = ModuleSystem().PowerStatus();
  FStatus = PackStatus(status);
  const String name = BatteryImageName(status);
  if (!Force && name == FLastImage) return false;
  if (!DrawPackageImage(name)) return false;
  FLastImage = name;
  return true;
}

WideString TOvBattery::GetHint() {
  return BatteryHint(UnpackStatus(FStatus), Translate("Hint_Mod_Battery_ACPower", u"On mains power"),
                     Translate("Hint_Mod_Battery_Charging", u"Charging"));
}
