// Shell links read through the shell's own link object, so every kind of
// link the shell makes (and ".pif" files) gives its target, folder and icon.
#include "launcher/ov3shelllink_win.h"

#include <objbase.h>
#include <shlobj.h>
#include <windows.h>

#include "platform/comptr_win.h"
#include "platform/unicode_convert.h"

namespace {

// Holds COM for the calling thread while a link is read, when nothing else does.
class TComScope {
 public:
  TComScope() : FInitialised(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~TComScope() {
    if (FInitialised) CoUninitialize();
  }
  TComScope(const TComScope&) = delete;
  TComScope& operator=(const TComScope&) = delete;

 private:
  bool FInitialised;
};

String Utf8Of(const wchar_t* Text) { return WideToUtf8(reinterpret_cast<const char16_t*>(Text)); }

}  // namespace

bool TShellLinkReaderWin::Read(const String& FileName, TShellLinkValues& Values) {
  TComScope com;
  TComPtr<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(link.Put()))))
    return false;
  TComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Put())))) return false;
  const WideString name = Utf8ToWide(FileName);
  if (FAILED(file->Load(reinterpret_cast<LPCOLESTR>(name.c_str()), STGM_READ))) return false;
  // MAX_PATH and a little more: the shell's own limit for these values.
  wchar_t buffer[MAX_PATH + 16] = {};
  if (FAILED(link->GetPath(buffer, MAX_PATH, nullptr, 0))) buffer[0] = 0;
  Values.Path = Utf8Of(buffer);
  buffer[0] = 0;
  if (FAILED(link->GetWorkingDirectory(buffer, MAX_PATH))) buffer[0] = 0;
  Values.WorkingDir = Utf8Of(buffer);
  buffer[0] = 0;
  int index = 0;
  if (FAILED(link->GetIconLocation(buffer, MAX_PATH, &index))) buffer[0] = 0;
  Values.IconLocation = Utf8Of(buffer);
  Values.IconIndex = index;
  return true;
}
