// The icon editor's previews: every picture an icon file offers, at 64 x 64.
#include <algorithm>
#include <cmath>

#include "kem3/graphics/kemicons.h"
#include "kem3/pictures/kemimage.h"
#include "kem3/pictures/kemresample.h"
#include "launcher/ov3editicon.h"
#include "launcher/ov3iconcache.h"
#include "platform/exceptions.h"
#include "platform/sysutils.h"

namespace {

// The group's image of exactly 64 pixels, else its best up to 512; a large
// one is drawn at 128 and shrunk, which keeps fine lines that a single
// resampling step would lose.
std::unique_ptr<TBitmap> GroupPreview(const TKemIconGroup& Group) {
  const TKemIconImage* image = Group.ExactImage(kPreviewSize, 32);
  if (!image) image = Group.BestImage(512, 32);
  if (!image) return nullptr;
  TBitmap mask;
  if (image->Width <= kPreviewSize) {
    auto bitmap = NewPicture(kPreviewSize);
    image->Draw(*bitmap, mask, false, true);
    return bitmap;
  }
  auto large = NewPicture(2 * kPreviewSize);
  image->Draw(*large, mask, true, true);
  auto bitmap = NewPicture(kPreviewSize);
  ShrinkBitmap(*bitmap, *large);
  bitmap->SetAlphaFormat(afDefined);
  return bitmap;
}

// The picture scaled to fit the preview with its proportions kept, centred on
// a clear ground: a wide picture stretched into the square would show its
// circles as tall ellipses.
std::unique_ptr<TBitmap> PicturePreview(const TBitmap& Picture) {
  const int w = Picture.Width(), h = Picture.Height();
  const double scale = static_cast<double>(kPreviewSize) / std::max(w, h);
  const int drawnWidth = std::clamp(static_cast<int>(std::lround(w * scale)), 1, kPreviewSize);
  const int drawnHeight = std::clamp(static_cast<int>(std::lround(h * scale)), 1, kPreviewSize);
  TBitmap scaled;
  scaled.SetPixelFormat(Picture.PixelFormat() == pf32bit ? pf32bit : pf24bit);
  scaled.SetSize(drawnWidth, drawnHeight);
  ResampleBitmap(scaled, Picture, rfLanczos3, 0);
  const bool alpha = scaled.PixelFormat() == pf32bit;
  auto preview = NewPicture(kPreviewSize);
  const int left = (kPreviewSize - drawnWidth) / 2, top = (kPreviewSize - drawnHeight) / 2;
  for (int y = 0; y < drawnHeight; ++y) {
    const auto* from = static_cast<const std::uint8_t*>(scaled.ScanLine(y));
    auto* to = static_cast<TRGBQuad*>(preview->ScanLine(top + y)) + left;
    for (int x = 0; x < drawnWidth; ++x, from += alpha ? 4 : 3)
      to[x] = TRGBQuad{from[0], from[1], from[2], alpha ? from[3] : std::uint8_t{255}};
  }
  return preview;
}

}  // namespace

std::vector<std::unique_ptr<TBitmap>> MakeImagePreviews(const String& FileName) {
  std::vector<std::unique_ptr<TBitmap>> previews;
  if (FileName.empty()) return previews;
  const String ext = LowerCase(ExtractFileExt(FileName));
  if (ext == ".bmp" || ext == ".png" || ext == ".jpg") {
    try {
      TBitmap picture;
      LoadBitmapFromFile(picture, FileName);
      if (picture.Empty()) return previews;
      previews.push_back(PicturePreview(picture));
    } catch (const Exception&) {
      // A picture that cannot be loaded offers nothing.
    }
    return previews;
  }
  TKemIcons icons;
  icons.LoadFromFile(FileName);
  for (int i = 0; i < icons.GetCount(); ++i) {
    try {
      auto bitmap = GroupPreview(*icons.GetGroup(i));
      previews.push_back(bitmap ? std::move(bitmap) : NewPicture(kPreviewSize));
    } catch (const Exception&) {
      // An image that cannot be decoded leaves an empty place: the indexes
      // of the groups after it stay those the icon cache uses.
      previews.push_back(NewPicture(kPreviewSize));
    }
  }
  return previews;
}
