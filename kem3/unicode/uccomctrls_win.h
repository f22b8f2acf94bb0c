// The layer's list view, tree view and tool button. Texts of columns, items,
// nodes and buttons are wide in the class layer already and kept by the
// controls across re-creation of their windows; the layer adds the wide item
// adding, the tree nodes' stream ("Utf8Data") and their direct copy.
#pragma once
#include "kem3/unicode/ucstdctrls_win.h"
#include "kem3/unicode/ucwidestrings.h"
#include "platform/comctrls_win.h"
#include "platform/toolbutton_win.h"

class TUcCustomListView : public TCustomListView {
 public:
  using TCustomListView::TCustomListView;
  // A new last item with this caption and data.
  TListItem* AddWideItem(const WideString& Caption, void* Data);
  // Adds every selected item's caption with its data (as the object) to
  // Destination: by its AddWideItem when it is a wide list control of the
  // layer, else by its AddItem.
  void CopySelection(TCustomListControl* Destination);
};

class TUcListView : public TUcCustomListView {
 public:
  using TUcCustomListView::TUcCustomListView;
};

class TUcTreeNodes : public TTreeNodes {
 public:
  using TTreeNodes::TTreeNodes;
  // The nodes in the "Utf8Data" layout (uctreestream.h): texts cut to 252
  // bytes of UTF-8, the data's low 32 bits.
  void SaveToStream(TStream& Stream) const;
  // Replaces the nodes by the stream's; a stream that is not whole raises
  // EReadError and leaves the nodes as they were.
  void LoadFromStream(TStream& Stream);
  // Replaces the nodes by copies of Source's: whole texts, whole data, the
  // picture indexes and the expanded state.
  void Assign(const TTreeNodes& Source);
  // The texts of all nodes in absolute order.
  void GetNodeTexts(TWideStrings& List) const;
};

class TUcCustomTreeView : public TCustomTreeView {
 public:
  using TCustomTreeView::TCustomTreeView;
  TUcTreeNodes* Items() { return static_cast<TUcTreeNodes*>(TCustomTreeView::Items()); }

 protected:
  std::unique_ptr<TTreeNodes> CreateTreeNodes() override { return std::make_unique<TUcTreeNodes>(this); }
};

class TUcTreeView : public TUcCustomTreeView {
 public:
  using TUcCustomTreeView::TUcCustomTreeView;
};

// The tool button of the layer: its wide caption and hint are the class
// layer's; kem3's tool buttons stand on it.
class TUcToolButton : public TToolButton {
 public:
  using TToolButton::TToolButton;
};
