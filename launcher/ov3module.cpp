// The module base: parameters, package, picture and menu description.
#include "launcher/ov3module.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <utility>

#include "kem3/framework/kemlan.h"
#include "kem3/framework/kemutil.h"
#include "kem3/pictures/kemimage.h"
#include "kem3/pictures/kemresample.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"

WideString ModuleText(const String& Prefix, const String& Text) {
  const String name = "TdPreferences_Mod_" + (Prefix.empty() ? String() : Prefix + "_") + Text;
  return Translate(name, Utf8ToWide(Text));
}

TOvModule::TOvModule(String ResourceDir) : FResourceDir(std::move(ResourceDir)) {}
TOvModule::~TOvModule() = default;

void TOvModule::SetElement(TKemXmlTag* Element) {
  FElement = Element;
  if (FElement) Reload();
}

String TOvModule::GetParameter(const String& Name, const String& Default) const {
  if (!FElement) return Default;
  const TKemXmlTag* tag = static_cast<const TKemXmlTag*>(FElement)->FindPath("parameters." + Name);
  return tag && tag->Attributes.IndexOfName("value") >= 0 ? tag->ReadAttr("value") : Default;
}

void TOvModule::Reload() {
  TCriticalSectionLock lock(FUpdateLock);
  try {
    LoadParameters();
  } catch (const std::exception&) {
    // A broken package leaves the module without pictures, not the bar without a start.
  }
  UpdateImage(true);
}

void TOvModule::LoadParameters() {
  FImages = GetParameter("images", "");
  FWidth = ModuleWidthParameter(GetParameter("width", ""));
  ReadParameters();
  LoadPackage();
}

void TOvModule::LoadPackage() {
  TCriticalSectionLock lock(FPackageLock);
  FPackage.reset();
  if (FImages.empty()) return;
  FPackage = std::make_unique<TKemResources>(FResourceDir + FImages, true);
  FPackage->ReadDirectory();
}

bool TOvModule::UpdateImage(bool Force) {
  TCriticalSectionLock lock(FUpdateLock);
  try {
    return Compose(Force);
  } catch (const std::exception&) {
    return false;
  }
}

std::vector<TOvModuleMenuEntry> TOvModule::BuildMenu() {
  std::vector<TOvModuleMenuEntry> entries;
  TOvModuleMenuEntry title;
  title.Caption = ModuleText("", FElement ? FElement->ReadAttr("title") : String());
  entries.push_back(title);
  TOvModuleMenuEntry separator;
  separator.Kind = TOvModuleMenuEntry::mekSeparator;
  entries.push_back(separator);
  AddMenuEntries(entries);
  return entries;
}

void TOvModule::CopyPicture(TBitmap& Dest) const {
  TCriticalSectionLock lock(FPaintLock);
  Dest.Assign(FPicture);
}

bool TOvModule::HitTest(int X, int Y) const {
  TCriticalSectionLock lock(FPaintLock);
  if (X < 0 || Y < 0 || X >= FPicture.Width() || Y >= FPicture.Height()) return false;
  return GetPixelAlpha(FPicture, X, Y) > 128;
}

bool TOvModule::PackageOpen() const {
  TCriticalSectionLock lock(FPackageLock);
  return FPackage != nullptr;
}

bool TOvModule::GetPackageImage(const String& Name, TBitmap& Bitmap) {
  TCriticalSectionLock lock(FPackageLock);
  return FPackage && FPackage->GetImage(Name, Bitmap) && !Bitmap.Empty();
}

String TOvModule::GetPackageString(const String& Name, const String& Default) {
  TCriticalSectionLock lock(FPackageLock);
  auto* entry = FPackage ? dynamic_cast<TKemResourceString*>(FPackage->Find(Name)) : nullptr;
  return entry ? entry->Value : Default;
}

void TOvModule::DrawPicture(const TBitmap& Composed) {
  if (Composed.Empty()) return;
  // Resampled outside the paint lock: painting never waits for the filter.
  TBitmap picture;
  picture.SetPixelFormat(pf32bit);
  picture.SetSize(Width(), Width());
  ResampleBitmap(picture, Composed, 5, 0);
  ShowPicture(picture, Bounds(0, 0, picture.Width(), picture.Height()));
}

void TOvModule::ShowPicture(const TBitmap& Picture, const TRect& Changed) {
  TCriticalSectionLock lock(FPaintLock);
  TRect changed = Changed;
  if (SamePictureShape(FPicture, Picture)) {
    CopyPictureRect(FPicture, Picture, Changed);
  } else {
    FPicture.Assign(Picture);
    changed = Bounds(0, 0, Picture.Width(), Picture.Height());
  }
  UnionRect(FChanged, FChanged, changed);
}

TRect TOvModule::TakeChangedPicture(TBitmap& Dest) {
  TCriticalSectionLock lock(FPaintLock);
  TRect changed = std::exchange(FChanged, TRect{});
  if (SamePictureShape(Dest, FPicture)) {
    CopyPictureRect(Dest, FPicture, changed);
  } else {
    Dest.Assign(FPicture);
    if (!FPicture.Empty()) changed = Bounds(0, 0, FPicture.Width(), FPicture.Height());
  }
  return changed;
}

bool SamePictureShape(const TBitmap& Dest, const TBitmap& Source) {
  return !Dest.Empty() && Dest.PixelFormat() == pf32bit && Source.PixelFormat() == pf32bit &&
         Dest.Width() == Source.Width() && Dest.Height() == Source.Height();
}

void CopyPictureRect(TBitmap& Dest, const TBitmap& Source, const TRect& Rect) {
  TRect r;
  if (!IntersectRect(r, Rect,
                     Bounds(0, 0, std::min(Dest.Width(), Source.Width()), std::min(Dest.Height(), Source.Height()))))
    return;
  const auto bytes = static_cast<std::size_t>(r.Width()) * 4;
  for (int y = r.Top; y < r.Bottom; ++y)
    std::memcpy(static_cast<std::uint8_t*>(Dest.ScanLine(y)) + 4 * r.Left,
                static_cast<const std::uint8_t*>(Source.ScanLine(y)) + 4 * r.Left, bytes);
}

bool TOvModule::DrawPackageImage(const String& Name) {
  TBitmap image;
  if (!GetPackageImage(Name, image)) return false;
  DrawPicture(image);
  return true;
}

namespace {

// The box of the pixels of a 32-bit picture that show (alpha above 0).
TRect VisibleBox(TBitmap& Picture) {
  TRect box;
  for (int y = 0; y < Picture.Height(); ++y) {
    const auto* row = static_cast<const std::uint8_t*>(Picture.ScanLine(y));
    int left = 0;
    while (left < Picture.Width() && row[4 * left + 3] == 0) ++left;
    if (left == Picture.Width()) continue;
    int right = Picture.Width();
    while (row[4 * (right - 1) + 3] == 0) --right;
    UnionRect(box, box, Rect(left, y, right, y + 1));
  }
  return box;
}

}  // namespace

void TurnPicture(TTurnedPicture& Dest, TBitmap& Source, const TClockOrigin& Origin, double Angle, TSize FaceSize,
                 int PictureSize) {
  Dest.Picture.SetSize(0, 0);
  Dest.At = {};
  Dest.Box = {};
  if (Source.Empty() || PictureSize <= 0 || FaceSize.cx <= 0 || FaceSize.cy <= 0) return;
  MakeBitmap32(Source);
  const TRect visible = VisibleBox(Source);
  if (IsRectEmpty(visible)) return;
  // Pixel indices throughout, as RotateBitmap turns them: the source pixel
  // nearest to a point turned backwards about the (whole) origin.
  const double ox = std::lround(Origin.X), oy = std::lround(Origin.Y);
  const double radians = Angle * std::numbers::pi / 180, c = std::cos(radians), s = std::sin(radians);
  const double scaleX = static_cast<double>(PictureSize) / FaceSize.cx;
  const double scaleY = static_cast<double>(PictureSize) / FaceSize.cy;
  const double offsetX = (FaceSize.cx - Source.Width()) / 2, offsetY = (FaceSize.cy - Source.Height()) / 2;
  // Where the visible pixels can land: their box's corners turned forwards.
  double left = 1e300, top = 1e300, right = -1e300, bottom = -1e300;
  for (double x : {visible.Left - 1.0, visible.Right + 0.0})
    for (double y : {visible.Top - 1.0, visible.Bottom + 0.0}) {
      const double dx = x - ox, dy = y - oy;
      const double px = (ox + dx * c - dy * s + 0.5 + offsetX) * scaleX;
      const double py = (oy + dx * s + dy * c + 0.5 + offsetY) * scaleY;
      left = std::min(left, px);
      right = std::max(right, px);
      top = std::min(top, py);
      bottom = std::max(bottom, py);
    }
  TRect area;
  if (!std::isfinite(left + top + right + bottom) ||
      !IntersectRect(area,
                     Rect(static_cast<int>(std::floor(left)) - 1, static_cast<int>(std::floor(top)) - 1,
                          static_cast<int>(std::ceil(right)) + 1, static_cast<int>(std::ceil(bottom)) + 1),
                     Bounds(0, 0, PictureSize, PictureSize)))
    return;
  // Shrinking, about one point per source pixel; else 2 x 2 points per pixel.
  const int n = std::clamp(static_cast<int>(std::ceil(1 / std::min(scaleX, scaleY))), 2, 4);
  // Rows lie bottom-up: row y is y scan lines below row 0 in memory.
  const auto* rows = static_cast<const std::uint8_t*>(Source.ScanLine(0));
  const std::ptrdiff_t stride = Source.ScanLineSize();
  TBitmap& out = Dest.Picture;
  out.SetPixelFormat(pf32bit);
  out.SetSize(area.Width(), area.Height());
  TRect box;
  for (int y = area.Top; y < area.Bottom; ++y) {
    auto* row = static_cast<std::uint8_t*>(out.ScanLine(y - area.Top));
    for (int x = area.Left; x < area.Right; ++x) {
      std::uint32_t alpha = 0, blue = 0, green = 0, red = 0;
      for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
          const double dx = (x + (i + 0.5) / n) / scaleX - offsetX - 0.5 - ox;
          const double dy = (y + (j + 0.5) / n) / scaleY - offsetY - 0.5 - oy;
          const double sx = std::floor(ox + dx * c + dy * s + 0.5), sy = std::floor(oy - dx * s + dy * c + 0.5);
          if (!(sx >= visible.Left && sy >= visible.Top && sx < visible.Right && sy < visible.Bottom)) continue;
          const std::uint8_t* p = rows - static_cast<std::ptrdiff_t>(sy) * stride + 4 * static_cast<std::ptrdiff_t>(sx);
          alpha += p[3];
          blue += p[3] * p[0];
          green += p[3] * p[1];
          red += p[3] * p[2];
        }
      if (alpha == 0) continue;
      std::uint8_t* q = row + 4 * (x - area.Left);
      q[0] = static_cast<std::uint8_t>((blue + alpha / 2) / alpha);
      q[1] = static_cast<std::uint8_t>((green + alpha / 2) / alpha);
      q[2] = static_cast<std::uint8_t>((red + alpha / 2) / alpha);
      const std::uint32_t count = static_cast<std::uint32_t>(n * n);
      q[3] = static_cast<std::uint8_t>((alpha + count / 2) / count);
      if (q[3] != 0) UnionRect(box, box, Bounds(x, y, 1, 1));
    }
  }
  Dest.At = area.TopLeft();
  Dest.Box = box;
}

std::unique_ptr<TOvModule> NewModule(int Kind, const String& ResourceDir) {
  if (Kind < 0 || Kind >= static_cast<int>(kModules.size())) return nullptr;
  // No default: a kind without its class is an error of the build.
  switch (static_cast<TOvModuleKind>(Kind)) {
    case omkAnalogClock:
      return std::make_unique<TOvAnalogClock>(ResourceDir);
    case omkCalendar:
      return std::make_unique<TOvCalendar>(ResourceDir);
    case omkRecycleBin:
      return std::make_unique<TOvRecycleBin>(ResourceDir);
    case omkBattery:
      return std::make_unique<TOvBattery>(ResourceDir);
  }
  return nullptr;
}
