// A bar made in the test's own process, in a folder of its own with the
// built skins and resource packages beside it, under the Slate skin.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>

#include "kem3/framework/kemcfg.h"
#include "kem3/framework/kemexe.h"
#include "kem3/graphics/vosskinlist.h"
#include "platform/app_scope_win.h"
#include "platform/inifile.h"
#include "support/temp_dir.h"

class BarFolderWin : public testing::Test {
 protected:
  BarFolderWin() {
    for (const char* folder : {"Skins", "Resources"})
      std::filesystem::copy(std::filesystem::path(GetExeDir()) / folder, Dir.path() / folder,
                            std::filesystem::copy_options::recursive);
    SetProgramFileName(Dir.file("ov3.exe"));
    {
      TIniFile ini(Dir.file("ov3.ini"));
      ini.WriteString("Skin", "Current", "Slate");
      ini.WriteString("Skin", "Layout", "default");
      ini.UpdateFile();
    }
    cfgInit();
    InitSkins();
  }
  ~BarFolderWin() override {
    DoneSkins(false);
    cfgDone();
    SetProgramFileName("");
  }

  TempDir Dir;
  TAppScope App;
};
