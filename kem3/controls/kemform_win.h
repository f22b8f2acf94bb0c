// The base of every window of the program, TKemForm, and its actions. A form
// takes font and caption from the current language and follows a language
// switch with itself, its actions and the library controls on it; it owns its
// actions and dispatches their shortcut keys itself, before OnKeyDown; Enter
// and Escape that no control took go to the default and cancel buttons; and
// it receives changed settings through DoConfigUpdate.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "kem3/framework/kemactinfo.h"
#include "kem3/unicode/ucactions_win.h"
#include "kem3/unicode/ucforms_win.h"
#include "kem3/unicode/ucmenus_win.h"
#include "platform/lists.h"
#include "platform/variant.h"

class TKemAction;
class TImageList;
class TPopupMenu;
class TToolBar;

using TActionEvent = std::function<void(TKemAction* Action)>;
using TConfigEvent = std::function<void(int Id, const Variant& Value)>;
using THintEvent = std::function<void(const WideString& Hint)>;

// An action found by its id, with caption and hint taken from the language by
// text index when it has one.
class TKemAction : public TUcCustomAction {
 public:
  explicit TKemAction(TComponent* AOwner) : TUcCustomAction(AOwner) {}

  int Id() const { return FId; }
  void SetId(int Value) { FId = Value; }
  // Text index of the caption (-1: none); a value >= 0 sets the caption from the language.
  int LsiCaption() const { return FLsiCaption; }
  void SetLsiCaption(int Value);
  int LsiHint() const { return FLsiHint; }
  void SetLsiHint(int Value);
  // Index of the registered description the action was made from, -1 for none.
  int ToolAction() const { return FToolAction; }
  void SetToolAction(int Value) { FToolAction = Value; }
  int CaptionIndex() const override { return FLsiCaption; }

  // Caption and hint again from their text indexes, each only when it has one.
  virtual void UpdateLanguage();

 private:
  int FId = 0;
  int FLsiCaption = -1;
  int FLsiHint = -1;
  int FToolAction = -1;
};

class TKemForm : public TUcForm {
 public:
  // A designed form: at AfterConstruction, before OnCreate, Loaded takes the
  // font as designed and the form follows the language from then on.
  explicit TKemForm(TComponent* AOwner);
  // A bare form (CreateNew): never follows the language on its own.
  struct TCreateNew {};
  TKemForm(TComponent* AOwner, TCreateNew);
  ~TKemForm() override;

  void AfterConstruction() override;
  void Loaded() override;

  // Font (the design size scaled by the language, to the nearest with halves
  // to even), caption, actions and library controls from the current
  // language, then OnLanguageChange.
  virtual void UpdateLanguage();
  // Runs right after every UpdateLanguage of Loaded and of a language switch.
  virtual void LanguageUpdated() {}
  // The caption from its text ("<form name>_Caption") when the language has one.
  void UpdateCaption();
  // The name the form's texts are found by: the one set, else the class name.
  String GetFormName() const;
  void SetFormName(const String& Value) { FFormName = Value; }
  int DesignFontSize() const { return FDesignFontSize; }

  // ---- Actions: owned by the form, executed through OnActionExecute.
  TKemAction* AddAction(int Id, int CaptionIndex, int HintIndex, TShortCut ShortCut);
  // The shortcut as text ("Ctrl+P"; "" for none).
  TKemAction* AddActionText(int Id, int CaptionIndex, int HintIndex, const String& ShortCutText);
  // An action for every registered description of the group the form lacks.
  void CreateActions(int Group);
  // The action of the id or nullptr. The search starts after the last hit
  // (of any form), so walking a list of ids in action order costs one step each.
  TKemAction* FindAction(int Id) const;
  TKemAction* GetAction(int Index) const { return FActions.Items(Index); }
  int ActionCount() const { return FActions.Count(); }

  // Fires OnConfigUpdate; false when there is none (delivery then stops).
  bool DoConfigUpdate(int Id, const Variant& Value);

  // ---- Toolbars (kemform_tools_win.cpp). One button per token of Ids (a
  // comma list of action ids, "-" for a separator): the form's action of the
  // id, or the registered picture without one; drop-down buttons open
  // Menus[their tool style]. BuildToolbar first makes the toolbar hold as
  // many buttons as tokens (taking the toolbar's OnMouseUp), FillToolbar
  // sets them up. Both return the buttons' total width, the toolbar's width.
  int BuildToolbar(const String& Ids, TToolBar* ToolBar, const std::vector<TPopupMenu*>& Menus);
  int FillToolbar(const String& Ids, TToolBar* ToolBar, const std::vector<TPopupMenu*>& Menus);

  // Wheel messages go to the control under the pointer instead of the focused one.
  bool MouseWheelEx() const { return FMouseWheelEx; }
  void SetMouseWheelEx(bool Value) { FMouseWheelEx = Value; }
  // The application's hint changed (seen when the form updates its actions):
  // the menu entry's long hint while a menu entry is selected, else the long
  // part of the hint of the control under the pointer (disabled ones
  // included), else the application's hint.
  void UpdateActions() override;

  TNotifyEvent OnLanguageChange;
  TActionEvent OnActionExecute;
  TConfigEvent OnConfigUpdate;
  THintEvent OnHint;

 protected:
  // Alt+F4 closes the form; a key of an action's shortcut executes it (and
  // counts in its RepeatCount while held); other keys go on to OnKeyDown.
  void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
  // The key of an action's shortcut going up ends its repeat count.
  void KeyUp(std::uint16_t& Key, TShiftState Shift) override;
  bool FormDialogKey(std::uint16_t Key, TShiftState Shift) override;
  // An accelerator character goes to the library's controls first (their
  // DialogChar: buttons, check boxes, labels), then to the class layer's.
  bool FormDialogChar(WideChar Key, TShiftState Shift) override;
  void MouseWheelHandler(TMessage& Message) override;

 private:
  void InitFields();
  void LanguageSwitched();
  TKemAction* ActionOfShortCut(TShortCut ShortCut) const;
  TKemAction* NewAction(int Id);
  void ForwardHint();

  bool FDesigned = false;
  bool FLoaded = false;
  bool FActionImagesDeferred = false;
  int FLanguageListener = -1;
  String FFormName;
  int FCaptionIndex = -2;  // -2: not looked up yet; -1: the language has none
  int FDesignFontSize = 8;
  TObjectList<TKemAction> FActions;
  bool FMouseWheelEx = false;
  WideString FLastHint;  // the application's hint OnHint heard last
};

// A menu item that, drawn selected, makes its long hint the MenuHint.
class TKemFormMenuItem : public TUcMenuItem {
 public:
  using TUcMenuItem::TUcMenuItem;

 protected:
  void AdvancedDrawItem(TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State, bool TopLevel) override;
};
// The long hint of the menu entry drawn selected last.
const WideString& MenuHint();
void SetMenuHint(const WideString& Value);

// Fills an image list with the tool bitmaps of every registered action
// description, in order ("TOOL_HCL_<id>" and the like: from the resource
// library for the library's groups, else from the program), BkColor their
// transparent colour; the first picture gives the list its size. Each
// description gets the index of its picture; one that cannot be loaded is
// skipped. Nothing while nothing is registered.
void LoadActionImages(TImageList& ImageList, TColor BkColor, bool Large);
// How a tool bitmap is read from a module by its name (raises when it is not
// there). Tests put their own in place; returns the one replaced (an empty
// function: the resources').
using TToolBitmapLoader = std::function<void(HMODULE Module, const String& Name, TBitmap& Bitmap)>;
TToolBitmapLoader SetToolBitmapLoader(TToolBitmapLoader Loader);

// Settings changed since the last delivery (cfgApplyChanges), or all of them
// (cfgApplyAll), go to the form's DoConfigUpdate.
void cfgApplyChanges(TKemForm& Form);
void cfgApplyAll(TKemForm& Form);

// The screen's menu and hint fonts from the current language: its font 0 at
// its size 0, in the default character set (Tahoma 8 without a language).
void ApplyLanguageScreenFonts();

// The resource library kem3.dll, loaded by full path on demand with a
// reference of its own, so freeing it never unloads the hook library's
// binding. Pictures of the resource library come from it while loaded.
HMODULE LoadResourceLibrary();
void FreeResourceLibrary();
