// The information dialog on screen: it opens on the general page with the
// program's and the system's blocks, lists the library section, and Alt+2
// shows the library page with the component library's block and its logo.
// ORV_INFO_SHOT=prefix saves both pages as prefix1.bmp and prefix2.bmp.
#include "kem3/framework/keminfo_win.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "kem3/controls/kemlout_win.h"
#include "kem3/controls/kemnote_win.h"
#include "kem3/controls/kemplist_win.h"
#include "platform/app_scope_win.h"

namespace {

void Pump() {
  for (int i = 0; i < 20; ++i) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(10);
  }
}

// The dialog as the screen shows it.
void SaveShot(TForm& Form, const char* Suffix) {
  const char* prefix = std::getenv("ORV_INFO_SHOT");
  if (!prefix) return;
  TBitmap shot;
  shot.SetPixelFormat(pf24bit);
  shot.SetSize(Form.Width(), Form.Height());
  HDC screen = GetDC(nullptr);
  BitBlt(shot.Canvas()->Handle(), 0, 0, Form.Width(), Form.Height(), screen, Form.Left(), Form.Top(), SRCCOPY);
  ReleaseDC(nullptr, screen);
  shot.SaveToFile(String(prefix) + Suffix + ".bmp");
}

TEST(InformationDialog, OpensOnGeneralAndAlt2ShowsTheLibrary) {
  TAppScope app;
  ClearInfoEntries();
  SetProgramInfo(u"Orvanel", {u"Version 3.3.9.0", u"Copyright (c) The Orvanel developers"}, true, "");
  AddLibraryInfo(u"Drag and drop", {u"Version 4.0"}, "");
  TdInformation* dialog = NewForm<TdInformation>(nullptr);
  dialog->ShowOpenGL = false;
  dialog->Show();
  Pump();

  ASSERT_EQ(dialog->plInfo->Count(), 2);
  EXPECT_EQ(dialog->CurrentSection(), isGeneral);
  EXPECT_EQ(dialog->nb->PageIndex(), 1);
  // The program's block (6 paragraphs with its translations) and the system's after a spacer.
  TKemLayout& general = *dialog->Layouts[0];
  EXPECT_GT(general.GetParagraphCount(), 10);
  EXPECT_GT(general.Height(), 100);
  TKemLayout& library = *dialog->Layouts[1];
  EXPECT_EQ(library.GetParagraphCount(), 6 + 1 + 5);  // the kem3 block (four lines), a spacer, one entry
  SaveShot(*dialog, "1");

  // Alt+2 as the keyboard sends it: a system key with the context code set.
  HWND focus = GetFocus() ? GetFocus() : dialog->Handle();
  SendMessageW(focus, WM_SYSKEYDOWN, '2', 0x20000001);
  Pump();
  EXPECT_EQ(dialog->CurrentSection(), isLibrary);
  EXPECT_EQ(dialog->nb->PageIndex(), 2);
  EXPECT_EQ(dialog->plInfo->Items(1)->TextColor, clWhite);  // the current entry's text
  EXPECT_EQ(dialog->plInfo->Items(0)->TextColor, clNone);
  SendMessageW(GetFocus() ? GetFocus() : dialog->Handle(), WM_SYSKEYDOWN, '3', 0x20000001);  // no third section
  EXPECT_EQ(dialog->CurrentSection(), isLibrary);
  // The wheel scrolls a page no further than its text.
  dialog->ScrollPage(-24);
  EXPECT_EQ(library.Top(), 0);
  Pump();
  SaveShot(*dialog, "2");
  dialog->Free();
  ClearInfoEntries();
}

}  // namespace
