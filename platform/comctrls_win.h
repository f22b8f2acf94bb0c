// The list view and the tree view: windows of the system classes
// "SysListView32" and "SysTreeView32" whose columns, items and nodes live in
// the control. The window shows them and asks the control for their texts
// (LPSTR_TEXTCALLBACKW), so they are kept whole when the window is made anew
// and no text is kept twice.
#pragma once
#include <functional>
#include <memory>
#include <vector>

#include "platform/controls_win.h"
// After the Windows headers, which it needs.
#include <commctrl.h>

class TCustomListView;
class TCustomTreeView;

// ---- List view ------------------------------------------------------------------

class TListColumn {
 public:
  TListColumn(TCustomListView* AOwner, int AIndex) : FOwner(AOwner), FIndex(AIndex) {}
  const WideString& Caption() const { return FCaption; }
  void SetCaption(const WideString& Value);
  // The width as the window last reported it (a user may drag it).
  int Width() const { return FWidth; }
  void SetWidth(int Value);
  int Index() const { return FIndex; }
  // Limits a user's drag of the divider keeps to; 0: none. Lists that
  // enforce them do so in their header notifications.
  int MinWidth() const { return FMinWidth; }
  void SetMinWidth(int Value) { FMinWidth = Value; }
  int MaxWidth() const { return FMaxWidth; }
  void SetMaxWidth(int Value) { FMaxWidth = Value; }

 private:
  friend class TCustomListView;
  TCustomListView* FOwner;
  int FIndex;
  WideString FCaption;
  int FWidth = 50;
  int FMinWidth = 0;
  int FMaxWidth = 0;
};

class TListItem {
 public:
  explicit TListItem(TCustomListView* AOwner) : FOwner(AOwner) {}
  const WideString& Caption() const { return FCaption; }
  void SetCaption(const WideString& Value);
  // The texts of the columns after the first.
  const std::vector<WideString>& SubItems() const { return FSubItems; }
  void SetSubItems(std::vector<WideString> Value);
  void* Data() const { return FData; }
  void SetData(void* Value) { FData = Value; }
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value) { FImageIndex = Value; }
  int Index() const;
  bool Selected() const;
  void SetSelected(bool Value);
  // Starts in-place editing of the caption in the window.
  void EditCaption();
  TCustomListView* Owner() const { return FOwner; }

 private:
  TCustomListView* FOwner;
  WideString FCaption;
  std::vector<WideString> FSubItems;
  void* FData = nullptr;
  int FImageIndex = -1;
  bool FSelected = false;  // kept while there is no window
  friend class TCustomListView;
};

// Sender, the two items, the column the sort is by (0: captions), the result (< 0, 0, > 0).
using TLVCompareEvent =
    std::function<void(TObject* Sender, TListItem* Item1, TListItem* Item2, int Data, int& Compare)>;
using TLVEditingEvent = std::function<void(TObject* Sender, TListItem* Item, bool& AllowEdit)>;
using TLVEditedEvent = std::function<void(TObject* Sender, TListItem* Item, WideString& S)>;
using TLVOwnerDataEvent = std::function<void(TObject* Sender, TListItem* Item)>;
using TLVOwnerDataFindEvent =
    std::function<void(TObject* Sender, const WideString& Text, bool Partial, int Start, int& Index)>;
using TLVColumnResizeEvent = std::function<void(TObject* Sender, TListColumn* Column)>;

class TCustomListView : public TWinControl {
 public:
  explicit TCustomListView(TComponent* AOwner);
  ~TCustomListView() override;

  int ColumnCount() const { return static_cast<int>(FColumns.size()); }
  TListColumn* Columns(int Index) const;
  TListColumn* AddColumn();

  // Owner data items (OwnerData) are as many as SetItemCount says; Items
  // then fills one item through OnData each time, valid until the next call.
  int ItemCount() const { return FOwnerData ? FDataCount : static_cast<int>(FItems.size()); }
  TListItem* Items(int Index) const;
  TListItem* AddItem();
  void DeleteItem(int Index);
  void ClearItems();
  int IndexOf(const TListItem* Item) const;
  // The first selected item, or nullptr.
  TListItem* Selected() const;

  // By OnCompare when set, else by the captions (lstrcmpW).
  void AlphaSort();

  TLVCompareEvent OnCompare;
  // The user resized a column (dragged or double-clicked its divider).
  TLVColumnResizeEvent OnColumnResize;

  // The items live outside the control: the window asks OnData for them
  // when it shows them. Adding and deleting items is then EInvalidOperation.
  bool OwnerData() const { return FOwnerData; }
  void SetOwnerData(bool Value);
  void SetItemCount(int Count);
  TLVOwnerDataEvent OnData;
  // The window looks for an item by its text (typing in the list): Index
  // takes the item found, from Start on (-1 when none: the default).
  TLVOwnerDataFindEvent OnDataFind;

  // Captions cannot be edited in place.
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  bool IsEditing() const { return FEditing; }
  // The in-place editor's window while a caption is edited.
  HWND EditHandle() const;
  TLVEditingEvent OnEditing;
  // The edited text (which the handler may change) before the item takes it.
  TLVEditedEvent OnEdited;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void DispatchDefault(TMessage& Message) override;
  // The item's text for the window: its caption for column 0, else a sub-item.
  virtual WideString ItemText(const TListItem* Item, int Column) const;
  virtual void ColumnResized(TListColumn* Column);
  // A notification of the list view's header (its WM_NOTIFY, wide codes):
  // the base lets the window handle it, then resizes the columns whose width
  // changed. Overrides may change the notification first or the result after.
  virtual void HeaderNotify(TMessage& Message);

 private:
  friend class TListColumn;
  friend class TListItem;
  void InsertColumnWindow(const TListColumn& Column);
  void InsertItemWindow(int Index);
  void RefreshItem(const TListItem* Item);
  void AskForSubItem(int Item, int Column);
  void ItemNotify(TMessage& Message);

  std::vector<std::unique_ptr<TListColumn>> FColumns;
  std::vector<std::unique_ptr<TListItem>> FItems;
  bool FReadOnly = false;
  bool FEditing = false;
  bool FOwnerData = false;
  int FDataCount = 0;
  mutable std::unique_ptr<TListItem> FDataItem;  // the item OnData fills
  mutable int FDataIndex = -1;
};

// ---- Tree view ------------------------------------------------------------------

class TTreeNodes;

class TTreeNode {
 public:
  TTreeNode(TTreeNodes* AOwner, TTreeNode* AParent) : FOwner(AOwner), FParent(AParent) {}
  virtual ~TTreeNode() = default;
  TTreeNode(const TTreeNode&) = delete;
  TTreeNode& operator=(const TTreeNode&) = delete;

  const WideString& Text() const { return FText; }
  void SetText(const WideString& Value);
  void* Data() const { return FData; }
  void SetData(void* Value) { FData = Value; }
  int ImageIndex = -1;
  int SelectedIndex = -1;
  int StateIndex = -1;
  int OverlayIndex = -1;

  TTreeNode* Parent() const { return FParent; }
  int Count() const { return static_cast<int>(FChildren.size()); }
  TTreeNode* Item(int Index) const { return FChildren.at(static_cast<size_t>(Index)).get(); }
  int Index() const;
  int Level() const;
  // The node's item in the window; nullptr while there is no window.
  HTREEITEM ItemId() const { return FItemId; }
  bool Expanded() const;
  void Expand();
  // Starts in-place editing of the label in the window.
  void EditText();
  TTreeNodes* Owner() const { return FOwner; }

 private:
  friend class TTreeNodes;
  friend class TCustomTreeView;
  TTreeNodes* FOwner;
  TTreeNode* FParent;
  WideString FText;
  void* FData = nullptr;
  HTREEITEM FItemId = nullptr;
  bool FExpanded = false;  // kept while there is no window
  std::vector<std::unique_ptr<TTreeNode>> FChildren;
};

// The nodes of one tree view; adding and deleting shows at once in its window.
class TTreeNodes : public TObject {
 public:
  explicit TTreeNodes(TCustomTreeView* AOwner) : FOwner(AOwner) {}
  ~TTreeNodes() override;
  TTreeNodes(const TTreeNodes&) = delete;
  TTreeNodes& operator=(const TTreeNodes&) = delete;

  TCustomTreeView* Owner() const { return FOwner; }
  // A new last child of Parent (a top-level node for nullptr).
  TTreeNode* AddChild(TTreeNode* Parent, const WideString& Text);
  TTreeNode* AddChildObject(TTreeNode* Parent, const WideString& Text, void* Data);
  // A new last top-level node.
  TTreeNode* Add(const WideString& Text) { return AddChild(nullptr, Text); }
  void Delete(TTreeNode* Node);
  void Clear();
  int TopCount() const { return static_cast<int>(FRoots.size()); }
  TTreeNode* TopItem(int Index) const { return FRoots.at(static_cast<size_t>(Index)).get(); }
  // All nodes in absolute order (a node, then its children, depth first).
  int Count() const;
  std::vector<TTreeNode*> AllNodes() const;
  // Window updates wait until the outermost EndUpdate.
  void BeginUpdate();
  void EndUpdate();

 protected:
  // The kind of node this list makes.
  virtual std::unique_ptr<TTreeNode> CreateNode(TTreeNode* Parent);

 private:
  friend class TCustomTreeView;
  friend class TTreeNode;
  std::vector<std::unique_ptr<TTreeNode>>& Siblings(TTreeNode* Parent) { return Parent ? Parent->FChildren : FRoots; }

  TCustomTreeView* FOwner;
  std::vector<std::unique_ptr<TTreeNode>> FRoots;
  int FUpdateCount = 0;
};

using TTVEditingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowEdit)>;
using TTVEditedEvent = std::function<void(TObject* Sender, TTreeNode* Node, WideString& S)>;
using TTVChangedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVChangingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVCompareEvent =
    std::function<void(TObject* Sender, TTreeNode* Node1, TTreeNode* Node2, int Data, int& Compare)>;

class TCustomTreeView : public TWinControl {
 public:
  explicit TCustomTreeView(TComponent* AOwner);
  ~TCustomTreeView() override;

  TTreeNodes* Items();
  // Labels cannot be edited in place.
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  TTreeNode* Selected() const;
  void SetSelected(TTreeNode* Node);
  // The node whose label is being edited, or nullptr.
  bool IsEditing() const { return FEditing; }
  // The in-place editor's window while a label is edited.
  HWND EditHandle() const;
  // Sorts every node's children (and the top-level nodes): by OnCompare when
  // set, else by their texts (lstrcmpW).
  void AlphaSort();

  TTVEditingEvent OnEditing;
  // The edited text (which the handler may change) before the node takes it.
  TTVEditedEvent OnEdited;
  TTVChangedEvent OnCancelEdit;
  // Before the selection moves to Node (by the user or SetSelected); a handler
  // that clears AllowChange keeps it where it is.
  TTVChangingEvent OnChanging;
  TTVChangedEvent OnChange;
  TTVCompareEvent OnCompare;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void DispatchDefault(TMessage& Message) override;
  int CompareNodes(TTreeNode* Node1, TTreeNode* Node2);
  // The node list this tree view keeps (made on first use).
  virtual std::unique_ptr<TTreeNodes> CreateTreeNodes();
  virtual bool CanEdit(TTreeNode* Node);
  virtual void Edit(TTreeNode* Node, WideString Text);

 private:
  friend class TTreeNodes;
  friend class TTreeNode;
  void InsertNodeWindow(TTreeNode* Node);
  void Notify(TMessage& Message);

  std::unique_ptr<TTreeNodes> FNodes;
  bool FReadOnly = false;
  bool FEditing = false;
  TTreeNode* FSelected = nullptr;  // kept while there is no window
};
