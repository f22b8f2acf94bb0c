// Launching icons and batches; the panel's launch rules.
#include "launcher/ov3launch.h"

#include <cstdint>

#include "kem3/framework/kemxml.h"
#include "launcher/ov3contents.h"
#include "platform/sysutils.h"

void LaunchIcon(const TKemXmlTag* Icon, bool Nested, const TKemXmlTag* Groups, IShellLauncher& Shell) {
  if (Icon == nullptr) return;
  const TKemXmlTag* application = Icon->FindPath("application");
  if (!SameText(Icon->ReadAttr("type", "program"), "batch")) {
    if (application == nullptr) return;
    Shell.Open(application->ReadAttr("filename"), application->ReadAttr("parameters"), application->ReadAttr("folder"));
    return;
  }
  if (Nested || application == nullptr) return;
  const String ids = application->ReadAttr("ids");
  size_t start = 0;
  for (;;) {
    const size_t comma = ids.find(',', start);
    const String piece =
        Trim(std::string_view(ids).substr(start, comma == String::npos ? String::npos : comma - start));
    const std::int64_t id = StrToInt64Def(piece, -1);
    if (const TKemXmlTag* found = Groups != nullptr ? FindIconById(Groups, id) : nullptr)
      LaunchIcon(found, true, Groups, Shell);
    if (comma == String::npos) break;
    start = comma + 1;
  }
}

TIconPanelStep IconClickStep(bool DoubleClick, bool SingleClickSetting, bool ItemSelected) {
  TIconPanelStep step;
  if (ItemSelected && DoubleClick != SingleClickSetting) {
    step.Command = ipcLaunch;
    step.CloseHint = true;
  }
  return step;
}

TIconPanelStep IconKeyPressStep(WideChar Key, TShiftState Shift, bool ItemSelected) {
  TIconPanelStep step;
  if (!(Shift * TShiftState{ssShift, ssAlt, ssCtrl}).empty()) return step;
  if (Key == 13) {
    step.ConsumeKey = true;
    if (ItemSelected) step.Command = ipcLaunch;
  } else if (Key == 27) {
    step.Command = ipcClearSelection;
  }
  return step;
}

TIconPanelStep IconAcceleratorStep(int Count) {
  TIconPanelStep step;
  step.Command = Count == 1 ? ipcLaunch : ipcSelect;
  return step;
}
