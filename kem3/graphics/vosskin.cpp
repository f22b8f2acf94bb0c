// TVosSkin: the model's lifetime, lookups, texture cache, metrics and regions.
#include "kem3/graphics/vosskin.h"

#include <algorithm>

#include "kem3/graphics/vosskinpixels.h"
#include "platform/sysutils.h"

int TVosGlyph::Width() const {
  int w = 0;
  for (const auto* b : {Image.get(), Highlight.get(), Shadow.get()})
    if (b) w = std::max(w, b->Width());
  return w;
}

int TVosGlyph::Height() const {
  int h = 0;
  for (const auto* b : {Image.get(), Highlight.get(), Shadow.get()})
    if (b) h = std::max(h, b->Height());
  return h;
}

TVosSkinText VosDefaultText(int Alpha) { return VosParseTextDrawing("000000," + IntToStr(Alpha) + ",(0,0)"); }

TVosSkin::TVosSkin() { ResetDefaults(); }

TVosSkin::~TVosSkin() = default;

String TVosSkin::GetSkinDir() const { return ExtractFilePath(FDefinitionFile); }

void TVosSkin::ResetDefaults() {
  FTextures.clear();
  FBorders.clear();
  FGlyphs.clear();
  FFormNames.clear();
  FFormFrames.clear();
  FFormGrips.clear();
  FMenuNames.clear();
  FMenuFrames.clear();
  FMenuShadows.clear();
  FButtons.clear();
  FKnobs.clear();
  FContainers.clear();
  FWindows.clear();
  FMenu = TVosMenuLook{};
  FWindowIndex = 0;
}

void TVosSkin::Clear() { ResetDefaults(); }

void TVosSkin::Reload() {
  Clear();
  Load(FLayoutId);
}

int TVosSkin::AddCacheSlot() {
  for (auto& t : FTextures) t->Cache.push_back(t->Image ? std::make_unique<TBitmap>() : nullptr);
  return FCacheSlotCount++;
}

void TVosSkin::SelectCacheSlot(int Slot) {
  if (Slot >= 0 && Slot < FCacheSlotCount) FCacheSlot = Slot;
}

void TVosSkin::ResizeTextures(int Width, int Height) {
  if (FCacheSlot < 0) return;
  for (auto& t : FTextures) {
    if (t->Color != clNone || static_cast<int>(t->Cache.size()) <= FCacheSlot) continue;
    TBitmap* cache = t->Cache[static_cast<size_t>(FCacheSlot)].get();
    if (!cache || !t->Image || t->Image->Empty()) continue;
    const TBitmap& image = *t->Image;
    if (t->StretchWidth || t->StretchHeight) {
      const int w = t->StretchWidth ? std::max(Width, 1) : image.Width();
      const int h = t->StretchHeight ? std::max(Height, 1) : image.Height();
      if (cache->Width() == w && cache->Height() == h && cache->PixelFormat() == image.PixelFormat()) continue;
      VosStretchCopy(*cache, image, w, h);
    } else if (cache->Empty()) {
      cache->Assign(image);
    }
  }
}

TBitmap* TVosSkin::TextureBitmap(const TVosTexture& Texture) const {
  if (FCacheSlot >= 0 && FCacheSlot < static_cast<int>(Texture.Cache.size())) {
    TBitmap* cache = Texture.Cache[static_cast<size_t>(FCacheSlot)].get();
    if (cache && !cache->Empty()) return cache;
  }
  return Texture.Image && !Texture.Image->Empty() ? Texture.Image.get() : nullptr;
}

int IndexOfSlot(const TVosContainerGroup& Group, const String& Id) {
  for (size_t i = 0; i < Group.size(); ++i)
    if (SameText(Group[i].Id, Id)) return static_cast<int>(i);
  return -1;
}

int TVosSkin::IndexOfWindow(const String& Id) const {
  for (size_t i = 0; i < FWindows.size(); ++i)
    if (SameText(FWindows[i].Id, Id)) return static_cast<int>(i);
  return -1;
}

void TVosSkin::SelectWindow(int Index) {
  if (Index >= 0 && Index < static_cast<int>(FWindows.size())) FWindowIndex = Index;
}

const TVosWindowRecord& TVosSkin::Window() const {
  static const TVosWindowRecord kDefaults;
  if (FWindowIndex >= 0 && FWindowIndex < static_cast<int>(FWindows.size()))
    return FWindows[static_cast<size_t>(FWindowIndex)];
  return kDefaults;
}

namespace {

template <class List>
auto* ItemAt(const List& Items, int Index) {
  using Item = typename List::value_type::element_type;
  return Index >= 0 && Index < static_cast<int>(Items.size()) ? Items[static_cast<size_t>(Index)].get()
                                                              : static_cast<Item*>(nullptr);
}

template <class List, class Name>
int IndexByName(const List& Items, const String& Wanted, Name NameOf) {
  for (size_t i = 0; i < Items.size(); ++i)
    if (SameText(NameOf(Items[i]), Wanted)) return static_cast<int>(i);
  return -1;
}

}  // namespace

TVosTexture* TVosSkin::Texture(int Index) const { return ItemAt(FTextures, Index); }
TVosTexture* TVosSkin::TextureAt(int Index) const { return ItemAt(FTextures, Index); }
TVosBorder* TVosSkin::Border(int Index) const { return ItemAt(FBorders, Index); }
TVosGlyph* TVosSkin::Glyph(int Index) const { return ItemAt(FGlyphs, Index); }
const TVosFrame* TVosSkin::FormFrame(int Index) const { return ItemAt(FFormFrames, Index); }
const TVosGrips* TVosSkin::FormGrips(int Index) const { return ItemAt(FFormGrips, Index); }
const TVosFrame* TVosSkin::MenuFrame(int Index) const { return ItemAt(FMenuFrames, Index); }
const TVosFrame* TVosSkin::MenuShadow(int Index) const { return ItemAt(FMenuShadows, Index); }

int TVosSkin::IndexOfTexture(const String& Name) const {
  return IndexByName(FTextures, Name, [](const auto& t) { return t->Name; });
}
int TVosSkin::IndexOfBorder(const String& Name) const {
  return IndexByName(FBorders, Name, [](const auto& b) { return b->Name; });
}
int TVosSkin::IndexOfGlyph(const String& Name) const {
  return IndexByName(FGlyphs, Name, [](const auto& g) { return g->Name; });
}
int TVosSkin::IndexOfForm(const String& Name) const {
  return IndexByName(FFormNames, Name, [](const String& n) { return n; });
}
int TVosSkin::IndexOfMenuFrame(const String& Name) const {
  return IndexByName(FMenuNames, Name, [](const String& n) { return n; });
}
int TVosSkin::IndexOfButton(const String& Name) const {
  return IndexByName(FButtons, Name, [](const TVosSkinButton& b) { return b.Name; });
}
int TVosSkin::IndexOfKnob(const String& Name) const {
  return IndexByName(FKnobs, Name, [](const TVosSkinKnob& k) { return k.Name; });
}

// ---- Metrics ---------------------------------------------------------------------------

TVosTexture* TVosSkin::GetPanelListTexture() const { return TextureAt(Window().PanelList.Texture); }

int TVosSkin::GetPanelListTextureIndex() const { return GetPanelListTexture() ? Window().PanelList.Texture : -1; }

TSize TVosSkin::GetScrollBarSize(int Kind) const {
  if (Kind != 0 && Kind != 1) return {-1, -1};
  return {Window().ScrollWidth[static_cast<size_t>(Kind)], Window().ScrollHeight[static_cast<size_t>(Kind)]};
}

int TVosSkin::GetScrollBarMargin(int Index) const {
  return Index >= 0 && Index < 4 ? Window().ScrollButtons[static_cast<size_t>(Index)] : -1;
}

TBitmap* TVosSkin::GetButtonSetTextureBitmap() const {
  const TVosTexture* t = TextureAt(Window().ButtonSet.Texture);
  return t ? TextureBitmap(*t) : nullptr;
}

int TVosSkin::GetMenuLogoWidth(const String& LogoName) const {
  for (const TVosMenuLogo& logo : FMenu.Logos)
    if (SameText(logo.Name, LogoName)) {
      const TVosGlyph* g = Glyph(logo.Glyph);
      return g ? g->Width() : 0;
    }
  return 0;
}

int TVosSkin::GetSubmenuMarkWidth() const {
  const TVosGlyph* g = Glyph(FMenu.SubmenuMarks[0]);
  return g ? g->Width() : 0;
}

// ---- Regions ---------------------------------------------------------------------------

TVosRegion TVosSkin::GetWindowRegion(int FormFrame, int Width, int Height) const {
  TVosRegion region = TVosRegion::FromRect(Rect(0, 0, Width, Height));
  const TVosFrame* frame = this->FormFrame(FormFrame);
  if (!frame) return region;
  for (int i = 0; i < 4; ++i) {
    const TVosSkinPart& corner = (*frame)[static_cast<size_t>(i)];
    if (corner.Outside.Empty()) continue;
    const TPoint at = VosCornerPosition(i, Width, Height, corner.Width, corner.Height);
    region = region.Subtract(corner.Outside.Offsetted(at.X, at.Y));
  }
  return region;
}

TVosRegion TVosSkin::GetGripRegion(int Form, int Grip, int Width, int Height) const {
  const TVosGrips* grips = FormGrips(Form);
  if (!grips || Grip < 1 || Grip > 8) return {};
  const TVosGrips& g = *grips;
  if (Grip <= 4) {
    const TVosSkinGrip& corner = g[static_cast<size_t>(Grip - 1)];
    const TPoint at = VosCornerPosition(Grip - 1, Width, Height, corner.Width, corner.Height);
    return corner.Region.Offsetted(at.X, at.Y);
  }
  const TVosWindowRecord& w = Window();
  std::array<TSize, 4> corners;
  for (size_t i = 0; i < 4; ++i) corners[i] = {g[i].Width, g[i].Height};
  return TVosRegion::FromRect(VosGripBand(Grip, Width, Height, corners, w.FrameWidth, w.FrameHeight));
}
