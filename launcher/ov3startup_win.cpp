// Start-up, the program block and shut-down of ov3.exe.
#include "launcher/ov3startup_win.h"

#include "kem3/framework/kemhi_win.h"
#include "kem3/framework/kemsingle_win.h"
#include "launcher/main_win.h"
#include "platform/application_win.h"

void StartUp() {
  InitApplication();
  BindHookLibrary();
}

void ShutDown() {
  DoneApplication();
  DoneSingleInstance();
  FreeHookLibrary();
}

int RunProgram() {
  StartUp();
  if (InitSingleInstance("Orvanel3")) {
    // Another instance runs: wake it and end before any window exists.
    ForwardToPreviousInstance();
  } else {
    Application->SetTitle(u"Orvanel");
    TfMain* bar = Application->CreateForm<TfMain>();
    SetInstanceMainWindow(bar->Handle());
    Application->Run();
  }
  ShutDown();
  return 0;
}
