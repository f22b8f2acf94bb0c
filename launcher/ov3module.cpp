// The module base: parameters, package, picture and menu description.
#include "launcher/ov3module.h"

#include <cmath>
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
  FPicture.Assign(Picture);
  UnionRect(FChanged, FChanged, Changed);
}

TRect TOvModule::TakeChangedRect() {
  TCriticalSectionLock lock(FPaintLock);
  return std::exchange(FChanged, TRect{});
}

bool TOvModule::DrawPackageImage(const String& Name) {
  TBitmap image;
  if (!GetPackageImage(Name, image)) return false;
  DrawPicture(image);
  return true;
}

std::unique_ptr<TOvModule> NewModule(int Kind, const String& ResourceDir) {
  switch (Kind) {
    case 0:
      return std::make_unique<TOvAnalogClock>(ResourceDir);
    case 1:
      return std::make_unique<TOvCalendar>(ResourceDir);
    case 2:
      return std::make_unique<TOvRecycleBin>(ResourceDir);
    case 3:
      return std::make_unique<TOvBattery>(ResourceDir);
    default:
      return nullptr;
  }
}
