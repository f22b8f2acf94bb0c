// The standard controls on the system's own classes: combo box ("COMBOBOX"),
// list box ("LISTBOX") and the windowless label. The items of a list live in
// its window alone (the control talks to it through the wide messages); while
// the window is re-created they, the selection, the top item and the text are
// kept by the control and put back.
#pragma once
#include <functional>
#include <memory>
#include <vector>

#include "platform/controls_win.h"
#include "platform/exceptions.h"
#include "platform/ownerdraw_win.h"
#include "platform/set.h"

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable, lbVirtual, lbVirtualOwnerDraw };
enum TListBorderStyle { lbsNone, lbsSingle };

using TDrawItemEvent = std::function<void(TWinControl* Control, int Index, const TRect& Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = std::function<void(TWinControl* Control, int Index, int& Height)>;
// The text of an item of a virtual list box.
using TLBGetDataEvent = std::function<void(TWinControl* Control, int Index, WideString& Data)>;

// The message numbers of a list's window: a combo box's and a list box's
// differ in nothing else.
struct TListMessages {
  UINT GetTextLen, GetText, AddString, InsertString, DeleteString, ResetContent, GetCount, GetItemData, SetItemData,
      FindStringExact, FindString, GetCurSel, SetCurSel;
};

// What combo box and list box share: the items in the window, the item index,
// owner drawing, and keeping all of it across re-creation.
class TCustomListControl : public TWinControl {
 public:
  ~TCustomListControl() override;

  // ---- Items (the window is made for them). Texts are whole UTF-16; objects pointer-sized.
  int ItemCount();
  // EStringListError "List index out of bounds (N)" outside the items.
  WideString ItemText(int Index);
  // EOutOfResources "Unable to insert a line" when the window refuses.
  int AddItemText(const WideString& S, TObject* AObject = nullptr);
  void InsertItemText(int Index, const WideString& S, TObject* AObject = nullptr);
  void DeleteItem(int Index);
  TObject* ItemObject(int Index);
  void SetItemObject(int Index, TObject* AObject);
  // The item equal to S (any case) or beginning with S, searched after Start
  // and round to it (-1: from the first); -1 when none.
  int FindItemExact(const WideString& S, int Start = -1);
  int FindItemPrefix(const WideString& S, int Start = -1);

  virtual int ItemIndex();
  virtual void SetItemIndex(int Value);
  virtual void AddItem(const WideString& Item, TObject* AObject) { AddItemText(Item, AObject); }
  virtual void Clear();
  // Adds the selected item(s) with their objects to Destination.
  virtual void CopySelection(TCustomListControl* Destination) = 0;
  virtual void DeleteSelected();
  // The control's canvas while an item is drawn.
  TCanvas* Canvas() const { return FCanvas.get(); }

  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

 protected:
  TCustomListControl(TComponent* AOwner, const TListMessages& Messages);
  LRESULT Send(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0) { return SendMessageW(Handle(), Msg, WParam, LParam); }
  const TListMessages& ListMessages() const { return FMessages; }

  // OnDrawItem, else the default: the item's rectangle filled and its text drawn.
  virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
  virtual void DefaultDrawItem(int Index, const TRect& Rect, TOwnerDrawState State) = 0;
  virtual void MeasureItem(int Index, int& Height);

  // Keeping the state across re-creation: what the window holds is read
  // before it goes (not when the control itself goes) and put back after.
  void DestroyWnd() override;
  void CreateWnd() override;
  virtual void SaveWindowState();
  virtual void RestoreWindowState();
  bool HasSavedState() const { return FSaved; }
  // The number of items kept while there is no window.
  virtual int SavedItemCount() const { return static_cast<int>(FSavedItems.size()); }
  std::vector<std::pair<WideString, TObject*>> FSavedItems;
  int FSavedIndex = -1;

  void DispatchDefault(TMessage& Message) override;

 private:
  void DoDrawItem(const DRAWITEMSTRUCT& Item);
  [[noreturn]] static void InsertError();

  const TListMessages& FMessages;
  std::unique_ptr<TCanvas> FCanvas;
  bool FSaved = false;
};

class TCustomComboBox : public TCustomListControl {
 public:
  explicit TCustomComboBox(TComponent* AOwner);

  // A new style, sorting or item height makes the window anew.
  TComboBoxStyle Style() const { return FStyle; }
  void SetStyle(TComboBoxStyle Value);
  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  int DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(int Value) { FDropDownCount = Value; }
  int MaxLength() const { return FMaxLength; }
  void SetMaxLength(int Value);
  int ItemHeight();
  void SetItemHeight(int Value);
  // Whether the items are typed into an edit part (simple and drop-down styles).
  bool HasEditPart() const { return FStyle == csDropDown || FStyle == csSimple; }

  bool DroppedDown();
  void SetDroppedDown(bool Value);
  // The edit part's selection.
  int SelStart();
  int SelLength();
  void SetSelStart(int Value);
  void SetSelLength(int Value);
  void Select(int Start, int Length);
  WideString SelText();
  void SelectAll() { Select(0, static_cast<int>(Text().size())); }
  // The edit part's window (nullptr for the drop-down-list styles).
  HWND EditHandle();

  bool AutoComplete = true;
  bool AutoDropDown = false;

  void CopySelection(TCustomListControl* Destination) override;
  void SetItemIndex(int Value) override;

  TNotifyEvent OnChange;
  TNotifyEvent OnSelect;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void DispatchDefault(TMessage& Message) override;
  // The edit part's messages: keys reach KeyDown and KeyPress (and OnKey…) of
  // the combo box; Enter and Escape close an open drop-down; the rest goes to
  // the edit's own procedure (EditDefault).
  virtual void EditWndProc(TMessage& Message);
  void EditDefault(TMessage& Message);
  // A character typed into the edit part that KeyPress left: true when it is used up.
  virtual bool EditKeyPress(WideChar /*Key*/) { return false; }
  // The selected item became the text (a selection change in the list).
  virtual void Change();
  virtual void DoSelect();
  virtual void DropDown();
  virtual void CloseUp();
  void DefaultDrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;

 private:
  static LRESULT CALLBACK EditProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam);
  int ItemHeightGuess() const;

  TComboBoxStyle FStyle = csDropDown;
  bool FSorted = false;
  int FDropDownCount = 8;
  int FMaxLength = 0;
  int FItemHeight = 0;  // 0: the system's
  HWND FEditHandle = nullptr;
};

class TCustomListBox : public TCustomListControl {
 public:
  explicit TCustomListBox(TComponent* AOwner);

  // A new style, selection mode, sorting, border or item height makes the window anew.
  TListBoxStyle Style() const { return FStyle; }
  void SetStyle(TListBoxStyle Value);
  bool IsVirtual() const { return FStyle == lbVirtual || FStyle == lbVirtualOwnerDraw; }
  bool MultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool Value);
  bool ExtendedSelect() const { return FExtendedSelect; }
  void SetExtendedSelect(bool Value);
  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  TListBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TListBorderStyle Value);
  bool IntegralHeight() const { return FIntegralHeight; }
  void SetIntegralHeight(bool Value);
  int ItemHeight();
  void SetItemHeight(int Value);

  // The number of items; a virtual list box is told it.
  int Count() { return ItemCount(); }
  void SetCount(int Value);
  int TopIndex();
  void SetTopIndex(int Value);
  bool Selected(int Index);
  void SetSelected(int Index, bool Value);
  int SelCount();
  // The item at a client point, -1 when none.
  int ItemAtPos(const TPoint& Pos, bool Existing = true);

  int ItemIndex() override;
  void SetItemIndex(int Value) override;
  void CopySelection(TCustomListControl* Destination) override;
  void DeleteSelected() override;

  // The texts of a virtual list box.
  TLBGetDataEvent OnData;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void DispatchDefault(TMessage& Message) override;
  void SaveWindowState() override;
  void RestoreWindowState() override;
  int SavedItemCount() const override;
  void DefaultDrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;
  // A virtual list box's text of Index; false when nobody gives one.
  virtual bool GetItemData(int Index, WideString& Data);

 private:
  void VirtualText(TMessage& Message);

  TListBoxStyle FStyle = lbStandard;
  bool FMultiSelect = false;
  bool FExtendedSelect = true;
  bool FSorted = false;
  TListBorderStyle FBorderStyle = lbsSingle;
  bool FIntegralHeight = false;
  int FItemHeight = 16;
  int FSavedTop = 0;
  int FSavedCount = 0;
};

// A caption without a window of its own, drawn by its parent. "&Name" shows
// N underlined and, with a FocusControl, Alt+N focuses that control.
class TCustomLabel : public TGraphicControl {
 public:
  explicit TCustomLabel(TComponent* AOwner);
  ~TCustomLabel() override;

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout Value);
  // Fits the size to the caption whenever it or the font changes.
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool Value);
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);

  // CM_DIALOGCHAR: the caption's accelerator focuses FocusControl (answer 1).
  bool DialogChar(WideChar Key);

 protected:
  void Paint() override;
  // Draws (or with DT_CALCRECT measures into Rect) the label's text.
  virtual void DoDrawText(TRect& Rect, UINT Flags);
  virtual WideString GetLabelText() { return Caption(); }
  // Whether Key is the accelerator of the label's text (its first mark).
  virtual bool IsLabelAccel(WideChar Key);
  void AdjustBounds();
  void TextChanged() override;
  void FontChanged() override;
  void DispatchDefault(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TAlignment FAlignment = taLeftJustify;
  TTextLayout FLayout = tlTop;
  bool FAutoSize = true;
  bool FWordWrap = false;
  bool FTransparent = false;
  bool FShowAccelChar = true;
  TWinControl* FFocusControl = nullptr;
};
