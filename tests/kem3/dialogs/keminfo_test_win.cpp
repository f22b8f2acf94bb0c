// The information dialog on screen: it opens on the general page with the
// program's and the system's blocks, lists the library section, and Alt+2
// shows the library page with the component library's block and its logo; a
// long page scrolls by its bar and by keys.
// ORV_INFO_SHOT=prefix saves both pages as prefix1.bmp and prefix2.bmp.
#include "kem3/dialogs/keminfo_win.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "kem3/controls/kemlout_win.h"
#include "kem3/controls/kemnote_win.h"
#include "kem3/controls/kemplist_win.h"
#include "platform/app_scope_win.h"
#include "platform/scrollbox_win.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"

namespace {

// Handles what is queued: the dialog's work comes by messages this thread
// already holds, and no timer, so there is nothing to wait for.
void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
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
  // The current entry's name, below its band on the light body, is written dark.
  dialog->plInfo->Repaint();
  const TBitmap* list = dialog->plInfo->PaintBuffer();
  ASSERT_NE(list, nullptr);
  const TRect item = dialog->plInfo->ItemRect(1);
  int dark = 0;
  for (int y = item.Top + InfoIconSize + 12; y < item.Bottom - 1; ++y)
    for (int x = item.Left + 2; x < item.Right - 2; ++x) {
      const TColor c = list->PixelColor(x, y);
      dark += GetRValue(c) < 0x60 && GetGValue(c) < 0x60 && GetBValue(c) < 0x60;
    }
  EXPECT_GT(dark, 10);
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

// A page longer than the dialog: its box has the focus, its bar spans the
// text, and the keys sent to it scroll it.
TEST(InformationDialog, ALongPageScrollsByItsBarAndKeys) {
  TAppScope app;
  ClearInfoEntries();
  std::vector<WideString> lines;
  for (int i = 0; i < 80; ++i) lines.push_back(u"Line " + Utf8ToWide(IntToStr(i)));
  SetProgramInfo(u"Orvanel", lines, false, "");
  TdInformation* dialog = NewForm<TdInformation>(nullptr);
  dialog->ShowOpenGL = false;
  dialog->ShowSystem = false;
  dialog->Show();
  Pump();
  TScrollBox& box = *dialog->Boxes[0];
  TKemLayout& text = *dialog->Layouts[0];
  ASSERT_EQ(GetFocus(), box.Handle());
  SCROLLINFO bar{};
  bar.cbSize = sizeof bar;
  bar.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(box.Handle(), SB_VERT, &bar));
  EXPECT_EQ(bar.nMax + 1, text.Height());
  EXPECT_EQ(static_cast<int>(bar.nPage), box.ClientHeight());
  ASSERT_GT(text.Height(), 2 * box.ClientHeight());
  const int end = text.Height() - box.ClientHeight(), page = box.ClientHeight() - 24;
  const struct {
    WPARAM Key;
    int Position;
  } keys[] = {{VK_DOWN, 24},     {VK_NEXT, 24 + page},        {VK_END, end},
              {VK_UP, end - 24}, {VK_PRIOR, end - 24 - page}, {VK_HOME, 0}};
  for (const auto& k : keys) {
    SendMessageW(GetFocus(), WM_KEYDOWN, k.Key, 1);
    EXPECT_EQ(box.VertPosition(), k.Position) << k.Key;
    EXPECT_EQ(text.Top(), -k.Position) << k.Key;
  }
  dialog->Free();
  ClearInfoEntries();
}

}  // namespace
