// Shortcut texts in the current language: the bar's menus and the class
// layer's menu items name keys and modifiers as the hotkey editors do, and
// follow a language switch at run time.
#include <gtest/gtest.h>

#include <vector>

#include "kem3/controls/kemmenu_win.h"
#include "kem3/framework/kemcfg.h"
#include "kem3/framework/kemexe.h"
#include "kem3/framework/kemlan.h"
#include "kem3/unicode/ucmenus_win.h"
#include "launcher/ov3hotkeytext.h"
#include "platform/app_scope_win.h"
#include "platform/files.h"
#include "platform/keys.h"
#include "support/temp_dir.h"

namespace {

// The menu opens and closes through queued messages only: handling what is queued is enough.
void Pump() { Application->ProcessMessages(); }

}  // namespace

TEST(ShortCutNamesWin, MenusNameKeysInTheLanguageAndFollowASwitch) {
  TempDir dir;
  ForceDirectories(dir.file("Language"));
  for (const char* name : {"ov3english.lan", "ov3german.lan"})
    CopyFileTo(GetExeDir() + "Language\\" + name, dir.file("Language\\") + name);
  SetProgramFileName(dir.file("ov3.exe"));
  cfgInit();
  InitLanguages();
  const int listener = FollowLanguageKeyNames();
  {
    TAppScope app;
    TKemMenu* menu = CreateSkinnedMenu(Application, "main", nullptr);
    TUcMenuItem item(nullptr);
    std::vector<TShortCut> keys;
    for (const char* text : {"Shift+Ins", "Del", "Alt+Enter", "Ctrl+P", "Shift+Enter"}) {
      auto* action = new TCustomAction(Application);
      action->SetCaption(u"Item");
      action->SetShortCut(TextToShortCut(text));
      menu->AddAction(action);
      keys.push_back(action->ShortCut());
    }
    const struct {
      const char* Code;
      std::vector<WideString> Texts;
    } cases[] = {
        {"DE", {u"Umschalt+Einfg", u"Entf", u"Alt+Eingabe", u"Strg+P", u"Umschalt+Eingabe"}},
        {"US", {u"Shift+Insert", u"Delete", u"Alt+Enter", u"Ctrl+P", u"Shift+Enter"}},
        {"DE", {u"Umschalt+Einfg", u"Entf", u"Alt+Eingabe", u"Strg+P", u"Umschalt+Eingabe"}},
    };
    std::vector<int> widths;
    for (const auto& c : cases) {
      ASSERT_TRUE(SelectLanguageByCode(c.Code));
      std::vector<WideString> shown, items;
      for (int i = 0; i < menu->GetEntryCount(); ++i) shown.push_back(menu->GetEntry(i)->ShortCutText());
      for (TShortCut key : keys) {
        item.SetShortCut(key);
        items.push_back(item.ShortCutText());
      }
      EXPECT_EQ(shown, c.Texts) << c.Code;
      EXPECT_EQ(items, c.Texts) << c.Code;
      menu->PopupAt(Point(100, 100));
      Pump();
      widths.push_back(menu->Width());
      SendMessageW(menu->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
      Pump();
    }
    // The German names are longer, and the open menu is measured with them.
    EXPECT_GT(widths[0], widths[1]);
    EXPECT_EQ(widths[0], widths[2]);
  }
  UnregisterLanguageListener(listener);
  SetShortCutNames({});
  DoneLanguages(false);
  cfgDone();
  SetProgramFileName("");
}
