// The bar in each of our skins, as a user meets it: a shaped window whose
// corners let clicks through to what lies below, the orientation of the
// skin's mode, dragged by its caption and snapped to the screen's edges.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "launcher/ov3_folder_win.h"
#include "platform/files.h"
#include "platform/inifile.h"

using namespace ov3test;

namespace {

// The caption control: the child window (at any depth) with the caption text.
HWND FindCaption(HWND parent) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t text[64] = {};
    GetWindowTextW(child, text, 64);
    if (std::wstring(text) == L"Orvanel Version 3.3") return child;
    if (HWND found = FindCaption(child)) return found;
  }
  return nullptr;
}

// Puts the pointer there and waits until the system shows it there: the
// bar's drag reads the pointer's place.
void PointerTo(POINT At) {
  SetCursorPos(At.x, At.y);
  testproc::WaitUntil([At] {
    POINT now{};
    return GetCursorPos(&now) && now.x == At.x && now.y == At.y;
  });
}

// The left button pressed or released, or the pointer moved to a screen
// point, as real input: the bar reads the pointer's place as it handles each.
void Mouse(DWORD Flags, POINT At = {}) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = Flags;
  if (Flags & MOUSEEVENTF_MOVE) {
    input.mi.dwFlags |= MOUSEEVENTF_ABSOLUTE;
    input.mi.dx = MulDiv(At.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(At.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  }
  SendInput(1, &input, sizeof input);
}

// Drags the caption from a point of it until the bar's top-left corner would
// be at Target; the bar's window rectangle once it has its new left edge
// (Left), or at the deadline. Each step is handled before the next is given:
// a press handled only after the move would take the moved pointer for its
// starting place. Under Wine a drag's move now and then never reaches the
// bar: such a drag is taken back and made again from where the bar is.
RECT DragCaption(RunningBar& Bar, HWND Caption, POINT Target, int Left) {
  RECT r{};
  for (int attempt = 0; attempt < 3; ++attempt) {
    RECT bar, caption;
    GetWindowRect(Bar.Window(), &bar);
    GetWindowRect(Caption, &caption);
    const POINT at{caption.left + 20, caption.top + 4};
    PointerTo(at);
    EXPECT_TRUE(Bar.InputHandled(Caption));
    Mouse(MOUSEEVENTF_LEFTDOWN);
    EXPECT_TRUE(Bar.InputHandled(Caption));
    // Only a press the bar took moves it: a move without one would leave
    // the pointer over the desktop, whose process then keeps the hook library.
    const auto captured = [&] {
      GUITHREADINFO thread{};
      thread.cbSize = sizeof thread;
      return GetGUIThreadInfo(GetWindowThreadProcessId(Bar.Window(), nullptr), &thread) && thread.hwndCapture;
    };
    if (!testproc::WaitUntil(captured, 3000)) {
      Mouse(MOUSEEVENTF_LEFTUP);
      EXPECT_TRUE(Bar.InputHandled(Caption));
      continue;
    }
    Mouse(MOUSEEVENTF_MOVE, {at.x + Target.x - bar.left, at.y + Target.y - bar.top});
    EXPECT_TRUE(Bar.InputHandled(Caption));
    const bool moved =
        testproc::WaitUntil([&] { return GetWindowRect(Bar.Window(), &r) && r.left == Left; }, 5000);
    // A move the bar missed is taken back before the release, which then
    // happens over the bar too.
    if (!moved) {
      Mouse(MOUSEEVENTF_MOVE, at);
      EXPECT_TRUE(Bar.InputHandled(Caption));
    }
    Mouse(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(Bar.InputHandled(Caption));
    if (moved) break;
  }
  return r;
}

}  // namespace

TEST(Ov3SkinProcess, EachOfOurSkinsShapesTheBarAndTheCaptionDragsItToTheEdge) {
  const struct {
    const char* title;
    const char* layout;
    bool vertical;
  } skins[] = {{"Slate", "default", false}, {"Slate", "glacier", false}, {"Column", "default", true}};
  for (const auto& s : skins) {
    SCOPED_TRACE(std::string(s.title) + "/" + s.layout);
    Ov3Folder folder;
    std::filesystem::copy(std::filesystem::path(testproc::ProgramFolder()) / L"Skins",
                          std::filesystem::path(folder.Folder()) / L"Skins", std::filesystem::copy_options::recursive);
    {
      TIniFile ini(folder.File("ov3.ini"));
      ini.WriteString("Skin", "Current", s.title);
      ini.WriteString("Skin", "Layout", s.layout);
      ini.WriteString("Window", "Window move", "yes");
      ini.WriteString("Window", "Screen snap", "yes");
      ini.UpdateFile();
    }
    RunningBar bar(folder);
    const HWND window = bar.Window();
    ASSERT_NE(window, nullptr);
    // The skin is on once the window has the frame's shape.
    ASSERT_TRUE(bar.Answers());
    testproc::WaitUntil([&] {
      HRGN shape = CreateRectRgn(0, 0, 0, 0);
      const bool shaped = GetWindowRgn(window, shape) != ERROR;
      DeleteObject(shape);
      return shaped && FindCaption(window);
    });

    RECT box;
    GetWindowRect(window, &box);
    EXPECT_EQ(box.bottom - box.top > box.right - box.left, s.vertical);
    // The corners lie outside the window: a click there reaches what is below.
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(window, region), ERROR);
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_FALSE(PtInRegion(region, box.right - box.left - 1, box.bottom - box.top - 1));
    EXPECT_TRUE(PtInRegion(region, (box.right - box.left) / 2, (box.bottom - box.top) / 2));
    DeleteObject(region);
    const POINT corner{box.left, box.top};
    HWND under = WindowFromPoint(corner);
    EXPECT_NE(under, window);
    EXPECT_FALSE(IsChild(window, under));
    const POINT middle{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    HWND hit = WindowFromPoint(middle);
    EXPECT_TRUE(hit == window || IsChild(window, hit));

    // Dragged to a few pixels off the work area's corner, it snaps into it.
    // Under Wine the start-up splash, as it goes, holds the bar's thread up to
    // seconds and takes presses meant for the bar: drag once it has gone.
    ASSERT_TRUE(bar.Activate());
    HWND caption = FindCaption(window);
    ASSERT_NE(caption, nullptr);
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    box = DragCaption(bar, caption, {work.left + 200, work.top + 150}, work.left + 200);
    EXPECT_EQ(box.left, work.left + 200);
    box = DragCaption(bar, caption, {work.left + 6, work.top + 7}, work.left);
    EXPECT_EQ(box.left, work.left);
    EXPECT_EQ(box.top, work.top);

    EXPECT_EQ(bar.Close(), 0);
    TIniFile saved(folder.File("ov3.ini"));
    EXPECT_EQ(saved.ReadString("Skin", "Current", ""), s.title);
    EXPECT_EQ(saved.ReadString("Skin", "Layout", ""), s.layout);
  }
}
