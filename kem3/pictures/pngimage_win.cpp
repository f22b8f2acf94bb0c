// PNG images stored in a module's resources under the type "PNGIMG".
#include "kem3/pictures/pngimage.h"
#include "platform/graphics.h"
#include "platform/unicode_convert.h"
#include "platform/winapi_win.h"

void TPNGImage::LoadFromResourceName(HINSTANCE Instance, const String& ResName) {
  WideString name = Utf8ToWide(ResName);
  HRSRC info = FindResourceW(Instance, reinterpret_cast<LPCWSTR>(name.c_str()), L"PNGIMG");
  HGLOBAL data = info ? LoadResource(Instance, info) : nullptr;
  const void* bytes = data ? LockResource(data) : nullptr;
  if (!bytes) throw EResNotFound("Resource " + ResName + " not found");
  TMemoryStream stream;
  stream.WriteBuffer(bytes, SizeofResource(Instance, info));
  stream.SetPosition(0);
  LoadFromStream(stream);
}
