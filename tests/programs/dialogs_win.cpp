// dialogs.exe: the start-up splash, the confirmation before a deletion and a
// message box of three buttons, one after the other, to look at under Wine
// (not shipped, run by no test). Each stays the seconds given as the first
// argument (default 3); the second names a language code ("US", "DE").
#include <cwchar>

#include "kem3/dialogs/kemabout_win.h"
#include "kem3/dialogs/kemmsg_win.h"
#include "kem3/framework/kemexe.h"
#include "kem3/framework/kemlan.h"
#include "launcher/ov3message_win.h"
#include "launcher/ov3startup_win.h"
#include "platform/application_win.h"
#include "platform/screen_win.h"
#include "platform/timer.h"
#include "platform/unicode_convert.h"

int wmain(int argc, wchar_t** argv) {
  InitApplication();
  // The program's languages lie beside the tests under its name.
  SetProgramFileName(GetExeDir() + "ov3.exe");
  InitLanguages();
  if (argc > 2) SelectLanguageByCode(WideToUtf8(reinterpret_cast<const char16_t*>(argv[2])));
  const long seconds = argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 3;
  const DWORD pause = static_cast<DWORD>(seconds > 0 ? seconds : 3) * 1000;

  ShowStartSplash();
  Sleep(pause / 2);
  AddSplashStatusById(kSplashContents);
  Sleep(pause / 2);
  CloseSplash(false, 2);

  // Every modal form shown ends after the pause.
  auto* done = new TTimer(Application);
  done->SetInterval(pause);
  done->OnTimer = [](TObject*) {
    for (int i = 0; i < Screen->FormCount(); ++i)
      if (Screen->Forms(i)->Modal()) Screen->Forms(i)->SetModalResult(mrCancel);
  };
  ShowMessageDialog({TranslateIndex(278, u"Delete group"),
                     u"Do you really want to delete the group \"{x {}Games}\" and all its icons?",
                     TranslateIndex(280, u"The group cannot be restored afterwards.")});
  ShowMessageBox({u"Network", u"The folder \\\\server\\share cannot be reached.\r\nTry again?"}, 4, {}, 2);
  DoneLanguages(false);
  DoneApplication();
  return 0;
}
