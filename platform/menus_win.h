// Menus on the system's menus: TMenuItem (an entry with caption, shortcut,
// check, radio and default marks, a sub-menu of its own items), TMainMenu (the
// menu bar of a form) and TPopupMenu (shown at a point). Each item with items
// owns the system menu of its sub-menu; a change of an item writes its
// parent's menu anew. A command from the system menu (WM_COMMAND) reaches the
// item's Click by the item's command number.
#pragma once
#include <functional>
#include <memory>
#include <vector>

#include "platform/actions.h"
#include "platform/canvas_win.h"
#include "platform/component.h"
#include "platform/exceptions.h"
#include "platform/geometry.h"
#include "platform/messages_win.h"
#include "platform/ownerdraw_win.h"
#include "platform/set.h"
#include "platform/winapi_win.h"

class TMenu;
class TMenuItem;

ORV_EXCEPTION(EMenuError, Exception)

using TMenuMeasureItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height)>;
using TAdvancedMenuDrawItemEvent =
    std::function<void(TObject* Sender, TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State)>;

// One system menu, destroyed with its owner (its sub-menus are taken out
// first: each belongs to its own item).
class TMenuHandle {
 public:
  TMenuHandle() = default;
  explicit TMenuHandle(HMENU Menu) : FMenu(Menu) {}
  ~TMenuHandle() { Reset(); }
  TMenuHandle(const TMenuHandle&) = delete;
  TMenuHandle& operator=(const TMenuHandle&) = delete;
  HMENU Get() const { return FMenu; }
  // Removes every entry without destroying the sub-menus they open.
  void RemoveEntries();
  void Reset(HMENU Menu = nullptr);

 private:
  HMENU FMenu = nullptr;
};

class TMenuItem : public TComponent {
 public:
  explicit TMenuItem(TComponent* AOwner);
  // Frees its items, leaves its parent and frees its sub-menu.
  ~TMenuItem() override;

  // "-" makes a separator.
  const WideString& Caption() const { return FCaption; }
  void SetCaption(const WideString& Value);
  const WideString& Hint() const { return FHint; }
  void SetHint(const WideString& Value);
  // Shown after a tab on entries of a sub-menu (not on the menu bar, not on
  // entries that open a sub-menu).
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value);
  bool Checked() const { return FChecked; }
  // Checking a radio item unchecks the other radio items of its GroupIndex.
  void SetChecked(bool Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  // Drawn bold; Enter on the sub-menu chooses it.
  bool Default() const { return FDefault; }
  void SetDefault(bool Value);
  // Checked shows a dot instead of a tick.
  bool RadioItem() const { return FRadioItem; }
  void SetRadioItem(bool Value);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value) { FGroupIndex = Value; }
  // A click toggles Checked first.
  bool AutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool Value) { FAutoCheck = Value; }
  bool IsLine() const { return FCaption == u"-"; }

  // ---- Items of the sub-menu, in their order.
  int Count() const { return static_cast<int>(FItems.size()); }
  TMenuItem* Items(int Index) const;
  int IndexOf(const TMenuItem* Item) const;
  void Add(TMenuItem* Item);
  // EMenuError when Item has a parent already.
  void Insert(int Index, TMenuItem* Item);
  // Lets the item go without freeing it.
  void Remove(TMenuItem* Item);
  void Delete(int Index);  // frees it
  void Clear();            // frees them all
  TMenuItem* Parent() const { return FParent; }
  int MenuIndex() const { return FParent ? FParent->IndexOf(this) : -1; }
  // The menu the item is on (through its parents), or nullptr.
  TMenu* GetParentMenu() const;

  // The number WM_COMMAND carries for this item (unique in the process).
  UINT Command() const { return FCommand; }
  // The system menu of the sub-menu, made on first use.
  HMENU Handle();
  bool HandleAllocated() const { return FHandle.Get() != nullptr; }

  // A click from the menu: toggles Checked with AutoCheck, then OnClick or,
  // without one, the action.
  virtual void Click();
  // Before the menu shows: the action updates its state.
  virtual void InitiateAction();

  TBasicAction* Action() const { return FActionLink ? FActionLink->Action() : nullptr; }
  void SetAction(TBasicAction* Value);

  // The text of the item's system menu entry: the caption, for an entry of a
  // sub-menu with a shortcut followed by a tab and ShortCutText.
  WideString EntryText() const;
  // The shortcut's text as menus show it.
  virtual WideString ShortCutText() const;

  TNotifyEvent OnClick;
  TMenuMeasureItemEvent OnMeasureItem;
  TAdvancedMenuDrawItemEvent OnAdvancedDrawItem;

 protected:
  virtual void ActionChange(TObject* Sender, bool CheckDefaults);
  virtual std::unique_ptr<TBasicActionLink> CreateActionLink();
  // A property of the item changed: its parent's menu is written anew, the
  // menu bar redrawn for an item on it.
  virtual void MenuChanged();
  // Writes EntryText into the existing entry when the system menu holds
  // another text; EOSError when the system refuses. For text that changes
  // without the item changing (the names of keys follow the keyboard layout).
  void UpdateEntryText();
  // Owner-drawn menus (TMenu::OwnerDraw): the size and the picture of the
  // entry. The base measures and draws caption and shortcut text, check mark,
  // default (bold) and disabled look; the events take over when set.
  virtual void MeasureItem(TCanvas* ACanvas, int& Width, int& Height);
  virtual void AdvancedDrawItem(TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State, bool TopLevel);
  // On the menu bar of a main menu.
  bool IsTopLevel() const;

 private:
  friend class TMenu;
  friend class TMenuActionLink;
  void RebuildHandle();
  void AppendTo(HMENU Menu);
  void SetMenu(TMenu* Menu) { FMenu = Menu; }
  void Changed();

  WideString FCaption;
  WideString FHint;
  TShortCut FShortCut = scNone;
  bool FChecked = false;
  bool FEnabled = true;
  bool FVisible = true;
  bool FDefault = false;
  bool FRadioItem = false;
  bool FAutoCheck = false;
  int FGroupIndex = 0;
  UINT FCommand = 0;
  TMenuItem* FParent = nullptr;
  TMenu* FMenu = nullptr;  // set on a menu's root item only
  std::vector<TMenuItem*> FItems;
  TMenuHandle FHandle;
  std::unique_ptr<TBasicActionLink> FActionLink;
};

// A menu item's link to its action: caption, hint, checked, enabled, visible
// and shortcut follow the action while the item shows the action's value.
class TMenuActionLink : public TBasicActionLink {
 public:
  explicit TMenuActionLink(TMenuItem* Client) : FClient(Client) {}
  TMenuItem* Client() const { return FClient; }

  bool IsCaptionLinked() const override;
  bool IsCheckedLinked() const override;
  bool IsEnabledLinked() const override;
  bool IsHintLinked() const override;
  bool IsShortCutLinked() const override;
  bool IsVisibleLinked() const override;
  void SetCaption(const WideString& Value) override;
  void SetChecked(bool Value) override;
  void SetEnabled(bool Value) override;
  void SetHint(const WideString& Value) override;
  void SetShortCut(TShortCut Value) override;
  void SetVisible(bool Value) override;

 protected:
  const TCustomAction* CustomAction() const { return dynamic_cast<const TCustomAction*>(Action()); }

 private:
  TMenuItem* FClient;
};

// fkItem: the item itself (an entry's item data), found only when it is on the menu.
enum TFindItemKind { fkCommand, fkHandle, fkItem };

class TMenu : public TComponent {
 public:
  explicit TMenu(TComponent* AOwner);
  ~TMenu() override;

  // The root item: its items are the menu's entries.
  TMenuItem* Items() const { return FItems; }
  HMENU Handle() { return FItems->Handle(); }
  // Entries drawn and measured by the items (MFT_OWNERDRAW).
  bool OwnerDraw() const { return FOwnerDraw; }
  void SetOwnerDraw(bool Value);
  // The window the menu belongs to (a main menu's form, the popup window).
  HWND WindowHandle() const { return FWindowHandle; }
  void SetWindowHandle(HWND Value) { FWindowHandle = Value; }

  TMenuItem* FindItem(UINT_PTR Value, TFindItemKind Kind) const;
  // WM_COMMAND from a menu: the item of the command clicks; false for none of ours.
  bool DispatchCommand(UINT Command);
  // WM_INITMENUPOPUP: the items of the opening sub-menu update their actions.
  bool DispatchPopup(HMENU Menu);
  // WM_MEASUREITEM and WM_DRAWITEM of an owner-drawn entry of this menu;
  // false when the entry is not ours.
  bool MeasureEntry(MEASUREITEMSTRUCT& Measure);
  bool DrawEntry(const DRAWITEMSTRUCT& Draw);
  TMenuItem* EntryItem(UINT Id, ULONG_PTR Data) const;

 protected:
  friend class TMenuItem;
  // The kind of system menu the root has.
  virtual HMENU CreateMenuHandle() = 0;
  // An entry of the root changed: a menu bar is drawn anew.
  virtual void RootChanged() {}

 private:
  TMenuItem* FItems;
  bool FOwnerDraw = false;
  HWND FWindowHandle = nullptr;
};

// The menu bar of a form (TCustomForm::SetMenu).
class TMainMenu : public TMenu {
 public:
  using TMenu::TMenu;
  // Takes the menu off its window first: a window destroys its menu with it.
  ~TMainMenu() override;

 protected:
  HMENU CreateMenuHandle() override { return CreateMenu(); }
  void RootChanged() override;
};

// A menu shown at a point. Its commands and owner-draw messages reach it
// through a hidden window of the class layer.
class TPopupMenu : public TMenu {
 public:
  explicit TPopupMenu(TComponent* AOwner);
  ~TPopupMenu() override;

  // OnPopup, the items' actions, then the menu at the screen point X, Y; runs
  // until the menu closes. The chosen command arrives after it returns (a
  // posted WM_COMMAND, as the system sends it).
  virtual void Popup(int X, int Y);
  // The component that called Popup (for handlers shared by several).
  TComponent* PopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* Value) { FPopupComponent = Value; }

  TNotifyEvent OnPopup;

 protected:
  HMENU CreateMenuHandle() override { return CreatePopupMenu(); }

 private:
  TComponent* FPopupComponent = nullptr;
};

// The hidden window that popup menus belong to (made with the first popup menu).
HWND PopupListWindow();
// Offers a form's menu message to Menu (WM_COMMAND from a menu, WM_INITMENU,
// WM_INITMENUPOPUP, and WM_MEASUREITEM/WM_DRAWITEM of menu entries); true
// when it was taken.
bool DispatchMenuMessage(TMenu* Menu, TMessage& Message);
