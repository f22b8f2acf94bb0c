// The bar's information dialog: the program's entry (title, version, the name
// picture, notice and translations) and the drag-and-drop support's entry.
#include "launcher/ov3info_win.h"

#include <cstring>

#include "kem3/dialogs/keminfo_win.h"
#include "kem3/framework/kemlan.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"
#include "platform/winapi_win.h"

String ProgramVersionText() {
  HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(1), reinterpret_cast<LPCWSTR>(RT_VERSION));
  HGLOBAL loaded = resource ? LoadResource(nullptr, resource) : nullptr;
  const auto* data = static_cast<const char*>(loaded ? LockResource(loaded) : nullptr);
  if (!data) return {};
  const DWORD size = SizeofResource(nullptr, resource);
  // The fixed part follows its signature, aligned to four bytes.
  for (DWORD pos = 0; pos + sizeof(VS_FIXEDFILEINFO) <= size; pos += 4) {
    VS_FIXEDFILEINFO info;
    std::memcpy(&info, data + pos, sizeof info);
    if (info.dwSignature != 0xFEEF04BD) continue;
    return IntToStr(HIWORD(info.dwFileVersionMS)) + "." + IntToStr(LOWORD(info.dwFileVersionMS)) + "." +
           IntToStr(HIWORD(info.dwFileVersionLS)) + "." + IntToStr(LOWORD(info.dwFileVersionLS));
  }
  return {};
}

void ShowBarInformation() {
  static bool registered = false;
  if (!registered) {
    registered = true;
    const WideString version = Translate("TdInformation_Version", u"Version");
    SetProgramInfo(u"Orvanel",
                   {version + u" " + Utf8ToWide(ProgramVersionText()), u"{pm res:ov3text}",
                    u"Copyright (c) 2003-2026 The Orvanel developers"},
                   true, "");
    AddLibraryInfo(u"Drag and drop", {version + u" 4.0", u"Copyright (c) 2003-2026 The Orvanel developers"}, "");
  }
  ShowInformation(true, false, true, "INFOSTD");
}
