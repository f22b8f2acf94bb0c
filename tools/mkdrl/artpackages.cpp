// Package entries made from the art.
#include "artpackages.h"

#include "kem3/framework/kemres.h"
#include "kem3/pictures/pngimage.h"

namespace art {

kempack::TPackageItem ImageItem(const String& Name, const TArtCanvas& Canvas) {
  TKemResourceBitmap image;
  image.SetImageType(ritPNG);
  static_cast<TPNGImage*>(image.SourceImage())->Assign(*Canvas.ToPNG());
  return kempack::MakePackageItem(Name, image);
}

kempack::TPackageItem StringItem(const String& Name, const String& Value) {
  TKemResourceString text;
  text.Value = Value;
  return kempack::MakePackageItem(Name, text);
}

}  // namespace art
