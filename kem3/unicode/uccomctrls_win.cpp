// Wide item adding and the tree nodes' stream and copy.
#include "kem3/unicode/uccomctrls_win.h"

#include <cstdint>

#include "kem3/unicode/uctreestream.h"
#include "platform/updatescope.h"

namespace {

TTreeNodeRecord RecordOf(const TTreeNode& Node) {
  TTreeNodeRecord record;
  record.ImageIndex = Node.ImageIndex;
  record.SelectedIndex = Node.SelectedIndex;
  record.StateIndex = Node.StateIndex;
  record.OverlayIndex = Node.OverlayIndex;
  record.Data = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(Node.Data()));
  record.Text = Node.Text();
  for (int i = 0; i < Node.Count(); ++i) record.Children.push_back(RecordOf(*Node.Item(i)));
  return record;
}

void AddRecord(TTreeNodes& Nodes, TTreeNode* Parent, const TTreeNodeRecord& Record) {
  TTreeNode* node =
      Nodes.AddChildObject(Parent, Record.Text, reinterpret_cast<void*>(static_cast<std::uintptr_t>(Record.Data)));
  node->ImageIndex = Record.ImageIndex;
  node->SelectedIndex = Record.SelectedIndex;
  node->StateIndex = Record.StateIndex;
  node->OverlayIndex = Record.OverlayIndex;
  for (const TTreeNodeRecord& child : Record.Children) AddRecord(Nodes, node, child);
}

void CopyNode(TTreeNodes& Nodes, TTreeNode* Parent, const TTreeNode& Source) {
  TTreeNode* node = Nodes.AddChildObject(Parent, Source.Text(), Source.Data());
  node->ImageIndex = Source.ImageIndex;
  node->SelectedIndex = Source.SelectedIndex;
  node->StateIndex = Source.StateIndex;
  node->OverlayIndex = Source.OverlayIndex;
  for (int i = 0; i < Source.Count(); ++i) CopyNode(Nodes, node, *Source.Item(i));
  if (Source.Expanded()) node->Expand();
}

}  // namespace

TListItem* TUcCustomListView::AddWideItem(const WideString& Caption, void* Data) {
  TListItem* item = AddItem();
  item->SetCaption(Caption);
  item->SetData(Data);
  return item;
}

void TUcCustomListView::CopySelection(TCustomListControl* Destination) {
  if (!Destination) return;
  auto* wide = dynamic_cast<IWideCustomListControl*>(Destination);
  for (int i = 0; i < ItemCount(); ++i) {
    // An owner-data item is valid until the next one is asked for: read it whole first.
    const TListItem* item = Items(i);
    if (!item->Selected()) continue;
    const WideString caption = item->Caption();
    auto* object = static_cast<TObject*>(item->Data());
    if (wide) {
      wide->AddWideItem(caption, object);
    } else {
      Destination->AddItem(caption, object);
    }
  }
}

void TUcTreeNodes::SaveToStream(TStream& Stream) const {
  std::vector<TTreeNodeRecord> records;
  for (int i = 0; i < TopCount(); ++i) records.push_back(RecordOf(*TopItem(i)));
  WriteTreeNodeRecords(Stream, records);
}

void TUcTreeNodes::LoadFromStream(TStream& Stream) {
  const std::vector<TTreeNodeRecord> records = ReadTreeNodeRecords(Stream);
  TUpdateScope<TTreeNodes> update(*this);
  Clear();
  for (const TTreeNodeRecord& record : records) AddRecord(*this, nullptr, record);
}

void TUcTreeNodes::Assign(const TTreeNodes& Source) {
  if (&Source == this) return;
  TUpdateScope<TTreeNodes> update(*this);
  Clear();
  for (int i = 0; i < Source.TopCount(); ++i) CopyNode(*this, nullptr, *Source.TopItem(i));
}

void TUcTreeNodes::GetNodeTexts(TWideStrings& List) const {
  List.Clear();
  for (const TTreeNode* node : AllNodes()) List.Add(node->Text());
}
