// Picture files by their extension, decoded into a plain bitmap.
#include "kem3/pictures/jpegimage.h"
#include "kem3/pictures/kemimage.h"
#include "kem3/pictures/pngimage.h"
#include "platform/sysutils.h"

void LoadBitmapFromFile(TBitmap& Bitmap, const String& FileName) {
  String ext = LowerCase(ExtractFileExt(FileName));
  Bitmap.SetSize(0, 0);
  if (ext == ".bmp" || ext == ".dib") {
    Bitmap.LoadFromFile(FileName);
  } else if (ext == ".jpg" || ext == ".jpeg" || ext == ".jpe" || ext == ".jfif") {
    TJPEGImage jpeg;
    jpeg.LoadFromFile(FileName);
    Bitmap.Assign(jpeg);
  } else if (ext == ".png") {
    TPNGImage png;
    png.LoadFromFile(FileName);
    Bitmap.Assign(png);
  } else {
    throw EInvalidGraphic("Unknown picture file extension " + ext);
  }
}
