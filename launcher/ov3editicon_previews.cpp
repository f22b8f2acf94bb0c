// The icon editor's previews: every picture an icon file offers, at 64 x 64.
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
      auto bitmap = std::make_unique<TBitmap>();
      bitmap->SetSize(kPreviewSize, kPreviewSize);
      ResampleBitmap(*bitmap, picture, rfLanczos3, 0);
      if (bitmap->PixelFormat() == pf32bit) bitmap->SetAlphaFormat(afDefined);
      previews.push_back(std::move(bitmap));
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
