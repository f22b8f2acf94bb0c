// Feedback between drag source and drop target, one small registered format
// each: the preferred and the performed effect, a finished paste, the shell's
// drag loop and the target's class id; TFeedbackDataFormat gathers them.
#pragma once
#include <array>
#include <cstdint>

#include "kem3/dragdrop/dragdropsimple.h"

#define ORV_FEEDBACK_FORMAT(Name)                   \
  class Name : public TCustomDWORDClipboardFormat { \
    ORV_DD_CLIPBOARD_CLASS(Name)                    \
  };

ORV_FEEDBACK_FORMAT(TPreferredDropEffectClipboardFormat)
ORV_FEEDBACK_FORMAT(TPerformedDropEffectClipboardFormat)
ORV_FEEDBACK_FORMAT(TLogicalPerformedDropEffectClipboardFormat)
ORV_FEEDBACK_FORMAT(TPasteSuccededClipboardFormat)
ORV_FEEDBACK_FORMAT(TInShellDragLoopClipboardFormat)
#undef ORV_FEEDBACK_FORMAT

using TClassId = std::array<std::uint8_t, 16>;

class TTargetCLSIDClipboardFormat : public TCustomSimpleClipboardFormat {
  ORV_DD_CLIPBOARD_CLASS(TTargetCLSIDClipboardFormat)
  void Clear() override { CLSID = {}; }
  bool HasData() override { return CLSID != TClassId{}; }

  TClassId CLSID{};

 protected:
  bool ReadData(TDropBlock Block) override;
  bool WriteData(char* Block, std::int64_t Size) override;
  std::int64_t GetDataSize() override { return 16; }
};

class TFeedbackDataFormat : public TCustomDataFormat {
 public:
  explicit TFeedbackDataFormat(TDragDropComponent* AOwner) : TCustomDataFormat(AOwner, &Class) {}
  static const TDataFormatClass Class;

  void Clear() override;
  bool HasData() override;
  bool WantsData() override;
  bool Assign(TClipboardFormat& Source) override;
  bool AssignTo(TClipboardFormat& Dest) override;

  std::uint32_t PreferredDropEffect = 0;
  std::uint32_t PerformedDropEffect = 0;
  std::uint32_t LogicalPerformedDropEffect = 0;
  std::uint32_t PasteSucceeded = 0;
  bool InShellDragLoop = false;
  bool GotInShellDragLoop = false;
  TClassId TargetCLSID{};
};

// The drop target's feedback: the preferred effect of a data object (0 when it
// offers none), and writing the performed and the paste-succeeded effect into
// it (false when it refuses).
std::uint32_t GetPreferredDropEffect(TDropDataObject& DataObject);
bool SetPerformedDropEffect(TDropDataObject& DataObject, std::uint32_t Effect);
bool SetPasteSucceeded(TDropDataObject& DataObject, std::uint32_t Effect);
