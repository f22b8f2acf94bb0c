// Start-up, the program block and shut-down of ov3.exe.
#include "launcher/ov3startup_win.h"

#include "kem3/browser/kembrwork.h"
#include "kem3/browser/kembrwprev.h"
#include "kem3/dialogs/kemabout_win.h"
#include "kem3/framework/kemcfg.h"
#include "kem3/framework/kemexe.h"
#include "kem3/framework/kemhi_win.h"
#include "kem3/framework/kemlan.h"
#include "kem3/framework/kemsingle_win.h"
#include "kem3/framework/kemutil_win.h"
#include "kem3/graphics/vosskinlist.h"
#include "kem3/unicode/unicode.h"
#include "launcher/main_win.h"
#include "launcher/ov3browse.h"
#include "launcher/ov3brws_win.h"
#include "launcher/ov3contents.h"
#include "launcher/ov3hotkeytext.h"
#include "platform/application_win.h"
#include "platform/files.h"
#include "platform/inifile.h"

void StartUp() {
  InitApplication();
  // Every caseless match (accelerators, typed searches) from here on folds as the character database does.
  InstallUnicodeCaseFolding();
  InitCommonServices();
  BindHookLibrary();
  cfgInit();
  // After the settings file is known: the stored language and skin are read from it.
  InitLanguages();
  // Before any form listens: a switch renames the keys before menus and editors show them again.
  FollowLanguageKeyNames();
  InitSkins();
  // The file browser's handlers, at the indexes the browse calls name.
  RegisterLauncherPreviews();
}

// The bar's FormDestroy has run the one full save by the time its forms are
// freed here; what is left only lets go.
void ShutDown() {
  // The file browser goes while the application still stands; workers it
  // left blocked (a dead network) are waited for before the libraries go.
  SetOvBrowser(nullptr);
  WaitForRetiredBrowserWorkers();
  DoneApplication();
  ClearBrowserPreviews();
  // The settings save at the bar's destroy has stored the language's code.
  DoneLanguages(false);
  DoneSkins(false);
  cfgDone();
  DoneCommonServices();
  DoneSingleInstance();
  FreeHookLibrary();
}

void RemoveStaleSaveFiles() {
  const String program = Application->ExeName();
  for (const String& name : {ContentsFileName(program), GetIniFile()->FileName(), GetExeDir() + "ov3.icc"})
    RemoveStaleSaveTempFiles(name);
}

void ShowStartSplash() {
  // The version in the grey strip, the status on the dark band above it: the
  // places the program's own splash picture keeps free for them.
  SetSplashTitle(u"3.3.9");
  SetSplashTitleBox(2, 142, 100, 10, 6, static_cast<TColor>(0x808080));
  SetSplashStatusBox(21, 120, 0, 0, 8, static_cast<TColor>(0xFFFFFF));
  ShowAboutOrSplash(false, false);
  AddSplashStatusById(kSplashStarting);
}

int RunProgram() {
  StartUp();
  if (InitSingleInstance("Orvanel3")) {
    // Another instance runs: wake it and end before any window exists.
    ForwardToPreviousInstance();
  } else {
    // Only now is no other instance saving beside us.
    RemoveStaleSaveFiles();
    Application->SetTitle(u"Orvanel");
    ShowStartSplash();
    TfMain* bar = Application->CreateForm<TfMain>();
    SetInstanceMainWindow(bar->Handle());
    Application->Run();
  }
  ShutDown();
  return 0;
}
