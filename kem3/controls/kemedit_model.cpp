// The edit's button lines, faces, layout and completion.
#include "kem3/controls/kemedit_model.h"

#include <algorithm>

#include "platform/format.h"
#include "platform/keys.h"
#include "platform/sysutils.h"

TEditButtonLine ParseEditButtonLine(std::string_view Line) {
  TEditButtonLine result;
  const auto comma = Line.rfind(',');
  std::string_view face = Line.substr(0, comma);
  if (comma != std::string_view::npos) result.Id = StrToIntDef(Trim(Line.substr(comma + 1)), -1);
  if (face.size() >= 2 && face.front() == '"' && face.back() == '"') face = face.substr(1, face.size() - 2);
  result.Face = String(face);
  return result;
}

String FormatEditButtonLine(std::string_view Face, int Id) { return Format("\"%s\",%d", {Face, Id}); }

TEditButtonFace ParseEditButtonFace(std::string_view Face) {
  TEditButtonFace result;
  const auto bar = Face.find('|');
  std::string_view caption = Face.substr(0, bar);
  if (bar != std::string_view::npos) result.Units = std::max(StrToIntDef(Face.substr(bar + 1), 1), 1);
  // A face line from a form cannot ask for a button wider than any screen.
  result.Units = std::min(result.Units, 64);
  const auto colon = caption.find(':');
  if (colon != std::string_view::npos) {
    result.FontName = String(caption.substr(0, colon));
    caption = caption.substr(colon + 1);
  }
  result.Caption = String(caption);
  return result;
}

int EditButtonWidth(int Units, bool Flat) { return ((Flat ? 0 : 2) + 15) * Units; }

TEditLayout EditLayout(int Width, int Height, const std::vector<int>& ButtonWidths) {
  TEditLayout result;
  int sum = 0;
  for (int w : ButtonWidths) {
    sum += w;
    result.Buttons.push_back(Bounds(Width - sum - 2, 2, w, Height - 4));
  }
  result.Holder = Bounds(3, 3, Width - sum - 5, Height - 6);
  return result;
}

bool EditKeyCompletes(std::uint16_t Key) {
  switch (Key) {
    case VK_BACK:
    case VK_TAB:
    case VK_RETURN:
    case VK_SHIFT:
    case VK_CONTROL:
    case VK_MENU:
    case VK_PAUSE:
    case VK_ESCAPE:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
    case VK_PRINT:
    case VK_INSERT:
    case VK_DELETE:
    case VK_NUMLOCK:
    case VK_SCROLL:
      return false;
    default:
      return !(Key >= VK_F1 && Key <= VK_F24);
  }
}

int EditCompletion(const WideString& Text, const std::vector<WideString>& Items) {
  if (Text.size() <= 2) return -1;
  const WideString typed = WideUpperCase(Text);
  for (std::size_t i = 0; i < Items.size(); ++i) {
    const WideString entry = WideUpperCase(Items[i]);
    if (entry.compare(0, typed.size(), typed) == 0 && entry.size() >= typed.size()) return static_cast<int>(i);
  }
  return -1;
}
