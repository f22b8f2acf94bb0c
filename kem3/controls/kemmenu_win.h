// The skinned popup menu: a borderless, stay-on-top window of our own (not
// the system's menu) whose entries stack in a column over a copy of the
// screen beneath it. Entries are numbered screen areas of the hook library's
// mouse hook, so the hook reports entering, leaving and clicking them, and a
// press outside every area closes the menu. Keys: Enter, the arrows, Right
// into a submenu; any other key closes the menu and the menus above it.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "kem3/controls/kemmenu_model.h"
#include "platform/actions.h"
#include "platform/bitmap.h"
#include "platform/forms_win.h"

class TKemMenu;
class TVosSkin;

// One entry of a menu. Items (kind 1) can be chosen; texts (kind 2) show a
// caption with its action's check mark; separators (kind 3) a line.
class TKemMenuEntry {
 public:
  TKemMenuEntry(TKemMenu& Menu, TKemMenuEntryKind Kind) : FMenu(Menu), FKind(Kind) {}
  virtual ~TKemMenuEntry() = default;
  TKemMenuEntry(const TKemMenuEntry&) = delete;
  TKemMenuEntry& operator=(const TKemMenuEntry&) = delete;

  TKemMenu& Menu() const { return FMenu; }
  TKemMenuEntryKind Kind() const { return FKind; }
  // The hook area: the position in the menu's entries counted from 1.
  int Area() const { return FArea; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value) { FVisible = Value; }
  // Where the last layout put the entry in the menu window.
  const TRect& BoundsRect() const { return FBounds; }

  // The caption: the action's when there is one, else the entry's own text.
  WideString Caption() const;
  void SetCaption(const WideString& Value) { FCaption = Value; }
  TBasicAction* Action() const { return FAction; }
  bool Enabled() const { return !FAction || FAction->Enabled(); }
  bool Checked() const;
  // The shortcut as text, empty without one.
  WideString ShortCutText() const;
  // A 16×16 picture with straight alpha (owned), or nil.
  TBitmap* Icon() const { return FIcon.get(); }
  void SetIcon(std::unique_ptr<TBitmap> Value);

  virtual void ResetHighlight() {}
  virtual void Highlight() {}
  virtual void Unhighlight() {}
  virtual void Press() {}
  virtual void Execute() {}

 private:
  friend class TKemMenu;
  TKemMenu& FMenu;
  TKemMenuEntryKind FKind;
  int FArea = 0;
  bool FVisible = true;
  TRect FBounds;
  WideString FCaption;
  TBasicAction* FAction = nullptr;
  std::unique_ptr<TBitmap> FIcon;
};

class TKemMenuItem : public TKemMenuEntry {
 public:
  explicit TKemMenuItem(TKemMenu& Menu) : TKemMenuEntry(Menu, mekItem) {}
  // Not owned: usually a menu of the same owner.
  TKemMenu* Submenu() const { return FSubmenu; }
  bool Highlighted() const { return FHighlighted; }

  void ResetHighlight() override { FHighlighted = false; }
  // Highlights the item, closes the open submenus of its siblings and opens its own.
  void Highlight() override;
  void Unhighlight() override;
  // Only highlighted, enabled and without a submenu: the menus hide, then the
  // action runs once the current message has been handled.
  void Execute() override;

 private:
  friend class TKemMenu;
  TKemMenu* FSubmenu = nullptr;
  bool FHighlighted = false;
};

class TKemMenu : public TCustomForm {
 public:
  explicit TKemMenu(TComponent* AOwner);
  ~TKemMenu() override;

  const String& MenuName() const { return FMenuName; }
  void SetMenuName(const String& Value) { FMenuName = Value; }
  TVosSkin* Skin() const { return FSkin; }
  // A skin takes a texture cache slot of its own for the menu.
  void SetSkin(TVosSkin* Value);

  TKemMenuItem* AddAction(TBasicAction* Action, const WideString& Caption = {});
  TKemMenuItem* AddActionWithSubmenu(TBasicAction* Action, TKemMenu* Submenu, const WideString& Caption = {});
  TKemMenuItem* AddEntry(const WideString& Caption, TBasicAction* Action, TKemMenu* Submenu);
  TKemMenuEntry* AddTextEntry(const WideString& Caption, TBasicAction* Action);
  TKemMenuEntry* AddText(const WideString& Caption) { return AddTextEntry(Caption, nullptr); }
  TKemMenuEntry* AddSeparator();
  void Clear();
  TKemMenuEntry* GetEntry(int Index) const { return FEntries.at(static_cast<size_t>(Index)).get(); }
  int GetEntryCount() const { return static_cast<int>(FEntries.size()); }

  // The item whose submenu this menu is, nil for a top-level menu.
  TKemMenuItem* ParentItem() const { return FParentItem; }
  int KeyIndex() const { return FKeyIndex; }
  int IconColumn() const { return FIconColumn; }
  bool HookInstalled() const { return FHookInstalled; }
  // The picture the last paint put on the window.
  const TBitmap& Composed() const { return *FComposed; }
  // Requests the position so that the visible frame starts at the screen point.
  void SetPopupPos(int X, int Y);
  // SetPopupPos and ShowPopupMenu in one.
  void PopupAt(TPoint ScreenPos);

  TNotifyEvent OnMenuShow;
  TNotifyEvent OnMenuClose;
  // The next press outside every area only clears this flag.
  bool IgnoreNextOutsideClick = false;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;
  void VisibleChanged() override;
  void Paint() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TKemMenuItem;
  friend void ShowPopupMenu(TKemMenu* Menu);
  template <class T>
  T* Add(std::unique_ptr<T> Entry, const WideString& Caption, TBasicAction* Action);
  TKemMenuMetrics Metrics() const;
  void ApplyFont();
  void Layout();
  void SetEntryAreas();
  void BeforeShow();
  void AfterHide();
  void SetAncestorAreas(bool Add);
  void HookEvent(int Kind, int Area);
  // Without the hook library the menu's own mouse messages stand in for its
  // reports: the entry under the pointer is entered and left, pressed and
  // chosen; the menus close when a window outside them is activated.
  void PointerEvent(unsigned Msg, TPoint Pos);
  void CheckActivation();
  void KeyEvent(std::uint16_t Key);
  // The last visible item that is highlighted, or -1.
  int HighlightedIndex() const;
  void HideChain();
  void CloseSubmenus();
  void RunLater(TBasicAction* Action);
  // A picture of the entry's size holding the composed background under it.
  std::unique_ptr<TBitmap> EntryBackground(const TRect& Bounds, const TBitmap& Composed);
  void PaintEntry(TKemMenuEntry& Entry, TBitmap& Target);
  void PaintPlainFrame(TBitmap& Target);

  String FMenuName;
  std::vector<std::unique_ptr<TKemMenuEntry>> FEntries;
  TVosSkin* FSkin = nullptr;
  int FCacheSlot = -1;
  TKemMenuItem* FParentItem = nullptr;
  int FKeyIndex = -1;
  TPoint FRequested{10, 10};
  TKemMenuMetrics FMetrics;
  int FIconColumn = 0;
  std::unique_ptr<TBitmap> FScreenCopy;
  std::unique_ptr<TBitmap> FComposed;
  HWND FForeground = nullptr;
  bool FHookInstalled = false;
  bool FShowing = false;
  // The entry area the pointer is on (0: none), while the hook is missing.
  int FPointerArea = 0;
  TBasicAction* FPending = nullptr;
};

// Creates a menu owned by Owner with its name (the skin's logo name) and skin.
TKemMenu* CreateSkinnedMenu(TComponent* Owner, const String& Name, TVosSkin* Skin);
// Hides the active popup menu, makes Menu the active one and shows it.
void ShowPopupMenu(TKemMenu* Menu);
// The top-level menu that is open, or nil.
TKemMenu* ActivePopupMenu();
