// The bar's context menus: the four skinned popup menus built from the bar's
// actions, the right clicks that open them, the skinner's caption and form
// icon, and their pictures from the skin's "Icons" folder.
#include <algorithm>
#include <array>
#include <memory>

#include "kem3/controls/kembtns_win.h"
#include "kem3/controls/kemmenu_win.h"
#include "kem3/controls/kemplist_win.h"
#include "kem3/controls/vosskinner_win.h"
#include "kem3/framework/kemlan.h"
#include "kem3/graphics/vosskinlist.h"
#include "launcher/main_win.h"
#include "launcher/ov3menus.h"
#include "launcher/ov3modctl_win.h"
#include "platform/unicode_convert.h"

// The menus and the actions their entries run: each action runs the bar's
// action of its id once the menus have hidden.
class TOvBarMenus : public TComponent {
 public:
  explicit TOvBarMenus(TfMain& Bar) : TComponent(&Bar), FBar(Bar) {
    for (size_t i = 0; i < kBarActions.size(); ++i) {
      auto* action = new TCustomAction(this);
      const int id = kBarActions[i].Id;
      action->OnExecute = [this, id](TObject*) { FBar.FormActionExecute(id); };
      if (!kBarActions[i].ShortCut.empty()) action->SetShortCut(TextToShortCut(kBarActions[i].ShortCut));
      FActions[i] = action;
    }
    TVosSkin* skin = SkinOfBar();
    for (int m = 0; m < kBarMenuCount; ++m)
      FMenus[static_cast<size_t>(m)] = CreateSkinnedMenu(this, kBarMenuNames[static_cast<size_t>(m)], skin);
    FModuleMenu = CreateSkinnedMenu(this, "module", skin);
    FSkin = skin;
    for (int m = 0; m < kBarMenuCount; ++m) Fill(static_cast<TOvBarMenu>(m));
    LoadPictures();
    Refresh();
  }

  TKemMenu* Menu(TOvBarMenu M) const { return FMenus[static_cast<size_t>(M)]; }
  bool Open() const { return FOpen != nullptr; }

  // Right clicks: nothing while that menu shows; otherwise it is the open
  // menu until it closes, with the actions' state of this moment.
  void Popup(TOvBarMenu M, TPoint ScreenPos) {
    TKemMenu* menu = Menu(M);
    if (menu->Visible()) return;
    FBar.UpdateActionStates();
    PopupPrepared(menu);
    menu->PopupAt(ScreenPos);
  }

  // A module's menu, filled anew from its entries each time it opens.
  void PopupModule(const std::vector<TOvModuleMenuEntry>& Entries, TPoint ScreenPos) {
    if (FModuleMenu->Visible()) return;
    FBar.UpdateActionStates();
    FModuleMenu->Clear();
    for (const TOvModuleMenuEntry& entry : Entries) {
      if (entry.Kind == TOvModuleMenuEntry::mekText)
        FModuleMenu->AddText(entry.Caption);
      else if (entry.Kind == TOvModuleMenuEntry::mekSeparator)
        FModuleMenu->AddSeparator();
      else if (TCustomAction* action = ActionOf(entry.ActionId))
        FModuleMenu->AddAction(action);
    }
    LoadPictures(FModuleMenu);
    PopupPrepared(FModuleMenu);
    FModuleMenu->PopupAt(ScreenPos);
  }

  // The caption's and form icon's menu: opened by the skinner's controls.
  void PopupPrepared(TKemMenu* Menu) {
    // No hint stands over a menu; none comes while it is open.
    FBar.HideBarHint();
    FOpen = Menu;
    Menu->OnMenuClose = [this, Menu](TObject*) {
      if (FOpen == Menu) FOpen = nullptr;
    };
  }

  // Captions in the current language, enabled and checked as the bar says.
  void Refresh() {
    for (size_t i = 0; i < kBarActions.size(); ++i) {
      const TOvActionInfo& info = kBarActions[i];
      WideString caption = TranslateIndex(info.LanId, WideString());
      if (caption.empty()) caption = Utf8ToWide(std::to_string(info.Id));
      FActions[i]->SetCaption(caption);
      const TOvActionState state = FBar.ActionState(info.Id);
      FActions[i]->SetEnabled(state.Enabled);
      FActions[i]->SetChecked(state.Checked);
    }
  }

  // A changed skin: the menus draw with it and take its pictures.
  void SkinChanged() {
    TVosSkin* skin = SkinOfBar();
    if (skin != FSkin) {
      for (TKemMenu* menu : FMenus) menu->SetSkin(skin);
      FModuleMenu->SetSkin(skin);
    }
    FSkin = skin;
    LoadPictures();
  }

 private:
  TVosSkin* SkinOfBar() const { return FBar.Skinner() ? FBar.Skinner()->Skin() : nullptr; }

  TCustomAction* ActionOf(int Id) const {
    for (size_t i = 0; i < kBarActions.size(); ++i)
      if (kBarActions[i].Id == Id) return FActions[i];
    return nullptr;
  }

  void Fill(TOvBarMenu M) {
    TKemMenu* menu = Menu(M);
    for (int id : BarMenuEntries(M)) {
      if (id == kMenuSeparator)
        menu->AddSeparator();
      else if (id == kAlignMenuAction)
        menu->AddActionWithSubmenu(ActionOf(id), Menu(obmAlign));
      else
        menu->AddAction(ActionOf(id));
    }
  }

  void LoadPictures() {
    for (TKemMenu* menu : FMenus) LoadPictures(menu);
    LoadPictures(FModuleMenu);
  }

  void LoadPictures(TKemMenu* Menu) {
    const String dir = FSkin ? FSkin->GetSkinDir() : String();
    for (int i = 0; i < Menu->GetEntryCount(); ++i) {
      TKemMenuEntry* entry = Menu->GetEntry(i);
      std::unique_ptr<TBitmap> picture;
      if (FSkin && entry->Action()) {
        picture = std::make_unique<TBitmap>();
        const int id =
            static_cast<int>(std::find(FActions.begin(), FActions.end(), entry->Action()) - FActions.begin());
        if (id >= static_cast<int>(kBarActions.size()) ||
            !LoadMenuPicture(MenuPictureFile(dir, kBarActions[static_cast<size_t>(id)].Id), *picture))
          picture.reset();
      }
      entry->SetIcon(std::move(picture));
    }
  }

  TfMain& FBar;
  std::array<TCustomAction*, kBarActions.size()> FActions{};
  std::array<TKemMenu*, kBarMenuCount> FMenus{};
  TKemMenu* FModuleMenu = nullptr;
  TVosSkin* FSkin = nullptr;
  TKemMenu* FOpen = nullptr;
};

void TfMain::CreateMenus() {
  FMenus = new TOvBarMenus(*this);
  plIcons->OnMouseUp = [this](TObject*, TMouseButton Button, TShiftState, int, int) {
    if (Button == mbRight) BarRightClick({true, SelectedIcon() != nullptr, false});
  };
  bsGroups->OnMouseUp = [this](TObject* Sender, TMouseButton Button, TShiftState, int, int) {
    if (Button == mbRight) BarRightClick({false, false, Sender != bsGroups});
  };
  AttachSkinnerMenus();
}

void TfMain::AttachSkinnerMenus() {
  TKemMenu* main = FMenus->Menu(obmMain);
  // The caption and the form icon open the main menu as a right click does.
  auto prepare = [this, main](TObject*) {
    UpdateActionStates();
    FMenus->PopupPrepared(main);
  };
  for (TVosTexturedControl* control :
       {static_cast<TVosTexturedControl*>(FCaption), static_cast<TVosTexturedControl*>(FFormIcon)}) {
    if (!control) continue;
    control->SetPopupMenu(main);
    control->OnPopup = prepare;
  }
}

void TfMain::BarRightClick(const TOvRightClick& Click) {
  POINT p{};
  GetCursorPos(&p);
  FMenus->Popup(BarMenuForRightClick(Click), Point(p.x, p.y));
}

void TfMain::ModuleRightClick(TOvModuleControl* Control, int X, int Y) {
  // Calendar, battery and the picture's transparent pixels have no menu of
  // their own: the click is the bar's.
  std::vector<TOvModuleMenuEntry> entries = Control->GetMenuAt(X, Y);
  if (entries.empty()) {
    BarRightClick({});
    return;
  }
  POINT p{};
  GetCursorPos(&p);
  FMenus->PopupModule(entries, Point(p.x, p.y));
}

TKemMenu* TfMain::BarMenu(TOvBarMenu Menu) const { return FMenus ? FMenus->Menu(Menu) : nullptr; }

void TfMain::RefreshMenuActions() {
  if (FMenus) FMenus->Refresh();
}

bool TfMain::MenuOpen() const { return FMenus && FMenus->Open(); }

void TfMain::MenusSkinChanged() {
  if (!FMenus) return;
  FMenus->SkinChanged();
  AttachSkinnerMenus();
}
