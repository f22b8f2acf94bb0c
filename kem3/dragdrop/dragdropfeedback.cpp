// Feedback formats and the data format that gathers them.
#include "kem3/dragdrop/dragdropfeedback.h"

#include <cstring>

#include "kem3/dragdrop/dragdropdefs.h"

ORV_DD_CLIPBOARD_IMPL(TPreferredDropEffectClipboardFormat, TCustomDWORDClipboardFormat, "Preferred DropEffect")
ORV_DD_CLIPBOARD_IMPL(TPerformedDropEffectClipboardFormat, TCustomDWORDClipboardFormat, "Performed DropEffect")
ORV_DD_CLIPBOARD_IMPL(TLogicalPerformedDropEffectClipboardFormat, TCustomDWORDClipboardFormat,
                      "Logical Performed DropEffect")
ORV_DD_CLIPBOARD_IMPL(TPasteSuccededClipboardFormat, TCustomDWORDClipboardFormat, "Paste Succeeded")
ORV_DD_CLIPBOARD_IMPL(TInShellDragLoopClipboardFormat, TCustomDWORDClipboardFormat, "InShellDragLoop")

ORV_DD_CLIPBOARD_IMPL(TTargetCLSIDClipboardFormat, TCustomSimpleClipboardFormat, "TargetCLSID")

bool TTargetCLSIDClipboardFormat::ReadData(TDropBlock Block) {
  if (Block.size() != 16) return false;
  std::memcpy(CLSID.data(), Block.data(), 16);
  return true;
}

bool TTargetCLSIDClipboardFormat::WriteData(char* Block, std::int64_t Size) {
  if (Size != 16) return false;
  std::memcpy(Block, CLSID.data(), 16);
  return true;
}

// ---- TFeedbackDataFormat -------------------------------------------------------

ORV_DD_DATA_FORMAT_IMPL(TFeedbackDataFormat, TCustomDataFormat)

void TFeedbackDataFormat::Clear() {
  Changing();
  PreferredDropEffect = 0;
  PerformedDropEffect = 0;
  InShellDragLoop = false;
  GotInShellDragLoop = false;
}

bool TFeedbackDataFormat::HasData() {
  return PreferredDropEffect != 0 || PerformedDropEffect != 0 || PasteSucceeded != 0 || GotInShellDragLoop;
}

bool TFeedbackDataFormat::WantsData() {
  return PreferredDropEffect == 0 || PerformedDropEffect == 0 || PasteSucceeded == 0 || !GotInShellDragLoop;
}

namespace {

// The field of a feedback data format that a 32-bit feedback format carries.
std::uint32_t* FieldOf(TFeedbackDataFormat& Data, TClipboardFormat& Format) {
  if (dynamic_cast<TPreferredDropEffectClipboardFormat*>(&Format)) return &Data.PreferredDropEffect;
  if (dynamic_cast<TPerformedDropEffectClipboardFormat*>(&Format)) return &Data.PerformedDropEffect;
  if (dynamic_cast<TLogicalPerformedDropEffectClipboardFormat*>(&Format)) return &Data.LogicalPerformedDropEffect;
  if (dynamic_cast<TPasteSuccededClipboardFormat*>(&Format)) return &Data.PasteSucceeded;
  return nullptr;
}

}  // namespace

bool TFeedbackDataFormat::Assign(TClipboardFormat& Source) {
  if (auto* loop = dynamic_cast<TInShellDragLoopClipboardFormat*>(&Source)) {
    InShellDragLoop = loop->Value != 0;
    GotInShellDragLoop = true;
    return true;
  }
  if (auto* clsid = dynamic_cast<TTargetCLSIDClipboardFormat*>(&Source)) {
    TargetCLSID = clsid->CLSID;
    return true;
  }
  if (std::uint32_t* field = FieldOf(*this, Source)) {
    *field = static_cast<TCustomDWORDClipboardFormat&>(Source).Value;
    return true;
  }
  return TCustomDataFormat::Assign(Source);
}

bool TFeedbackDataFormat::AssignTo(TClipboardFormat& Dest) {
  if (auto* loop = dynamic_cast<TInShellDragLoopClipboardFormat*>(&Dest)) {
    loop->Value = InShellDragLoop ? 1 : 0;
    return true;
  }
  if (auto* clsid = dynamic_cast<TTargetCLSIDClipboardFormat*>(&Dest)) {
    clsid->CLSID = TargetCLSID;
    return true;
  }
  if (std::uint32_t* field = FieldOf(*this, Dest)) {
    static_cast<TCustomDWORDClipboardFormat&>(Dest).Value = *field;
    return true;
  }
  return TCustomDataFormat::AssignTo(Dest);
}

// ---- The drop target's feedback ------------------------------------------------

std::uint32_t GetPreferredDropEffect(TDropDataObject& DataObject) {
  TPreferredDropEffectClipboardFormat format;
  return format.GetData(DataObject) ? format.Value : 0;
}

namespace {

bool WriteEffect(TCustomDWORDClipboardFormat& Format, TDropDataObject& DataObject, std::uint32_t Effect) {
  Format.Value = Effect;
  return Format.SetData(DataObject, Format.FormatEtc());
}

}  // namespace

bool SetPerformedDropEffect(TDropDataObject& DataObject, std::uint32_t Effect) {
  TPerformedDropEffectClipboardFormat format;
  return WriteEffect(format, DataObject, Effect);
}

bool SetPasteSucceeded(TDropDataObject& DataObject, std::uint32_t Effect) {
  TPasteSuccededClipboardFormat format;
  return WriteEffect(format, DataObject, Effect);
}
