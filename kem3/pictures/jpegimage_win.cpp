// JPEG pictures from the resources of a module.
#include "kem3/pictures/jpegimage.h"
#include "kem3/pictures/kemimage_win.h"

void TJPEGImage::LoadFromResourceName(HINSTANCE Instance, const String& ResName) {
  TMemoryStream data;
  if (!ReadResourceData(Instance, ResName, L"JPGIMG", data)) throw EResNotFound("Resource " + ResName + " not found");
  LoadFromStream(data);
}
