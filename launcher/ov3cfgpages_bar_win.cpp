// What the launcher's preference pages need of the bar.
#include "launcher/main_win.h"
#include "launcher/ov3cfgpages_win.h"
#include "platform/screen_win.h"

TOvPagesHost BarPagesHost(TfMain& Bar) {
  TOvPagesHost Host;
  Host.AutomaticAreas = [&Bar] {
    const TOvAutoHide& AutoHide = Bar.AutoHide();
    // A hidden bar stands off the screen: its edge is the one of its home.
    const TPoint Pos = AutoHide.Hidden() ? AutoHide.Home() : TPoint{Bar.Left(), Bar.Top()};
    return AutomaticAreas(AutoHide.Vertical, Pos, Screen->Width(), Screen->Height());
  };
  Host.ModulesElement = [&Bar]() -> TKemXmlTag* {
    return Bar.Contents() ? Bar.Contents()->FindPath("ov3contents.modules") : nullptr;
  };
  Host.ModulesApplied = [&Bar](const TOvModulesApply& Applied) {
    if (!Applied.Reload.empty()) Bar.ReloadModules();
    if (Applied.Rearrange) Bar.ApplyModules();
    Bar.SaveContents(false);
  };
  return Host;
}
