#include "kem3/framework/kemtoolbar.h"

#include <algorithm>

#include "kem3/framework/kemactinfo.h"
#include "platform/sysutils.h"

namespace {

constexpr int kSeparatorWidth = 8;

}  // namespace

int ToolTokenCount(const String& Ids) { return int(std::count(Ids.begin(), Ids.end(), ',')) + 1; }

std::vector<TToolSlot> PlanToolbar(const String& Ids, int ImageWidth, int MenuCount) {
  std::vector<TToolSlot> Slots;
  size_t Start = 0;
  for (int I = 0, N = ToolTokenCount(Ids); I < N; ++I) {
    const size_t Comma = std::min(Ids.find(',', Start), Ids.size());
    const String Token = Ids.substr(Start, Comma - Start);
    Start = Comma + 1;
    TToolSlot Slot;
    if (!Token.empty() && Token[0] == '-') {
      Slot.Separator = true;
      Slot.Width = kSeparatorWidth;
    } else {
      if (TryStrToInt(Token, Slot.Id)) {
        if (const TActionInfo* Info = FindActionInfo(Slot.Id)) {
          Slot.Style = Info->ToolStyle;
          Slot.ImageIndex = Info->ImageIndex;
        }
      } else {
        Slot.Id = -1;
      }
      if (Slot.Style >= MenuCount) Slot.Style = tsPlain;
      Slot.Width = ImageWidth + (Slot.Style >= 0 ? 21 : 7);
    }
    Slots.push_back(Slot);
  }
  return Slots;
}

String ToolBitmapName(int Id, bool HighColor, bool Large) {
  return String("TOOL_") + (HighColor ? "HC" : "LC") + (Large ? "L_" : "S_") + IntToStr(Id);
}

bool ToolBitmapInLibrary(int Group) { return Group == 100000 || Group == 110000 || Group == 120000; }
