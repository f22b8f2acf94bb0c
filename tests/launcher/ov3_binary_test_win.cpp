// What the built ov3.exe carries: its version resource, its application icon and its pictures.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/winapi_win.h"

namespace {

std::wstring BesideTests(const wchar_t* name) {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir(path, n);
  return dir.substr(0, dir.find_last_of(L"\\/") + 1) + name;
}

}  // namespace

TEST(Ov3Binary, VersionResourceSays339) {
  std::wstring exe = BesideTests(L"ov3.exe");
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> data(size);
  ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, data.data()));
  VS_FIXEDFILEINFO* info = nullptr;
  UINT len = 0;
  ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &len));
  EXPECT_EQ(HIWORD(info->dwFileVersionMS), 3);
  EXPECT_EQ(LOWORD(info->dwFileVersionMS), 3);
  EXPECT_EQ(HIWORD(info->dwFileVersionLS), 9);
  wchar_t* text = nullptr;
  ASSERT_TRUE(VerQueryValueW(data.data(), L"\\StringFileInfo\\040904B0\\ProductVersion",
                             reinterpret_cast<void**>(&text), &len));
  EXPECT_STREQ(text, L"3.3.9");
}

TEST(Ov3Binary, CarriesItsApplicationIcon) {
  HMODULE exe = LoadLibraryExW(BesideTests(L"ov3.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(exe, nullptr);
  HICON icon = static_cast<HICON>(LoadImageW(exe, L"MAINICON", IMAGE_ICON, 32, 32, 0));
  EXPECT_NE(icon, nullptr);
  if (icon) DestroyIcon(icon);
  FreeLibrary(exe);
}

TEST(Ov3Binary, CarriesThePicturesItLoadsByName) {
  HMODULE exe = LoadLibraryExW(BesideTests(L"ov3.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(exe, nullptr);
  // The screen-area page's monitor, the modules page's marks, the information dialog's name ("res:ov3text").
  for (const wchar_t* name : {L"MONITORLEFT", L"MONITORRIGHT", L"MONITORMID", L"MONITORFOOT", L"MODULEACTIVE",
                              L"MODULEINACTIVE", L"ov3text", L"PANEFRAME", L"OV3MESSAGE"})
    EXPECT_NE(FindResourceW(exe, name, L"PNGIMG"), nullptr) << name;
  FreeLibrary(exe);
}
