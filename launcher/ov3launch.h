// Starting the program behind an icon of the contents document, and the rules
// by which the icon panel's clicks, keys and accelerators lead to a start.
// The shell itself comes in through IShellLauncher, so all of this is the
// same in every build.
#pragma once
#include "platform/controls_types.h"
#include "platform/types.h"

class TKemXmlTag;

// The shell's "open" verb: starts (or opens) FileName with Parameters in
// Folder, in a normal window. Texts are UTF-8; an empty Parameters or Folder
// means none. A start that fails stays silent: nothing examines the result.
class IShellLauncher {
 public:
  virtual ~IShellLauncher() = default;
  virtual void Open(const String& FileName, const String& Parameters, const String& Folder) = 0;
};

// Starts an "icon" element of the contents document. A program icon (its
// "type" is missing or anything but "batch", in any case) opens the
// "filename", "parameters" and "folder" of its "application" child; without
// that child nothing happens. A batch icon starts, left to right, the icons
// whose ids its "ids" lists (comma-separated; a piece that is no number, or
// an id no icon carries, is skipped), each found in Groups (the
// "ov3contents.groups" tag) and started as Nested. A nested batch starts
// nothing, so batches never nest and a batch that lists itself cannot loop.
// Outside callers pass Nested = false.
void LaunchIcon(const TKemXmlTag* Icon, bool Nested, const TKemXmlTag* Groups, IShellLauncher& Shell);

// ---- The icon panel's handlers. Each rule gives what its handler does next.

enum TIconPanelCommand {
  ipcNone,
  // Take the icon of the item concerned (the selected one; the accelerator's
  // item), clear the selection (item index -1), then LaunchIcon(icon, false).
  ipcLaunch,
  ipcClearSelection,
  ipcSelect,  // select the accelerator's item and start nothing
};

struct TIconPanelStep {
  TIconPanelCommand Command = ipcNone;
  bool CloseHint = false;   // close an open hint at once, before anything else
  bool ConsumeKey = false;  // the key goes no further
};

// A click or a double click on the panel: a single click starts the selected
// item when the single-click setting is on, a double click when it is off.
TIconPanelStep IconClickStep(bool DoubleClick, bool SingleClickSetting, bool ItemSelected);
// A character typed on the panel with Shift the shift state: with no Shift,
// Alt or Ctrl down, Return (consumed) starts the selected item and Escape
// clears the selection; everything else is left alone.
TIconPanelStep IconKeyPressStep(WideChar Key, TShiftState Shift, bool ItemSelected);
// A typed accelerator character that Count items carry: the only one starts;
// among several, the item the panel moved to is only selected (typing the
// character again moves on).
TIconPanelStep IconAcceleratorStep(int Count);
