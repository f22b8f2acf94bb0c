// What the generated rows offer beyond building, reading and clearing a page:
// the factories of their controls (a program may put derived controls in
// their place), refreshing bound controls from their items while a page is
// open, and looking the bindings up.
#pragma once
#include <functional>
#include <initializer_list>
#include <vector>

class TComponent;
class TControl;
class TKemLabel;
class TKemSpinEdit;
class TKemCheckbox;
class TKemTracker;
class TKemEdit;
class TKemPanelList;
class TKemDropDownList;

// Each makes a control owned by Owner; the defaults make the library's own.
struct TcfgControlFactories {
  std::function<TKemLabel*(TComponent* Owner)> Label;
  std::function<TKemSpinEdit*(TComponent* Owner)> SpinEdit;
  std::function<TKemCheckbox*(TComponent* Owner)> CheckBox;
  std::function<TKemTracker*(TComponent* Owner)> Tracker;
  std::function<TKemEdit*(TComponent* Owner)> Edit;
  std::function<TKemPanelList*(TComponent* Owner)> PanelList;
};
// The process-wide factories; an empty one falls back to the library's control.
TcfgControlFactories& cfgControlFactories();

// The bound controls of these items show their items' values again (a
// setting changed while the page is open, such as auto-hide by its hot key),
// and so do the program's own pages that listen (cfgAddRefreshListener).
void cfgRefreshControls(std::initializer_list<int> Ids);
// A listener hears each id refreshed; the result identifies it for removal.
int cfgAddRefreshListener(std::function<void(int Id)> Listener);
void cfgRemoveRefreshListener(int Handle);

// The control bound to an item (the first one when several are), or nullptr.
TControl* cfgBoundControl(int Id);
// The unit box beside a float item's spin edit, or nullptr.
TControl* cfgBoundUnitBox(int Id);
// How many controls are bound now.
int cfgBindingCount();

// Lists side by side (a shortcut's modifier lists) placed by cfgFlowLists
// from the texts they hold, measured in their own font; the lines they take.
int cfgFlowListControls(const std::vector<TKemDropDownList*>& Lists, int Left, int Right, int Top, int Lines = 0);
