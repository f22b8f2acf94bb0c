// The bar's modules: made and removed from the "modules" element of the
// contents, placed before or behind the icon panel in the element order, their
// threads started when the bar shows and stopped before it goes.
#include "kem3/controls/kemplist_win.h"
#include "kem3/controls/vosskinner_win.h"
#include "kem3/framework/kemcfg.h"
#include "kem3/framework/kemexe.h"
#include "kem3/framework/kemutil.h"
#include "launcher/main_win.h"
#include "launcher/ov3cfg.h"
#include "launcher/ov3modctl_win.h"
#include "launcher/ov3modthread.h"
#include "platform/sysutils.h"

namespace {
// Far beyond any bar: a control put there goes to the end of its aligned group.
constexpr int kFarEnd = 10000;
}  // namespace

TKemXmlTag* TfMain::FindModuleElement(const String& Name) const {
  TKemXmlTag* modules = FContents ? FContents->FindPath("ov3contents.modules") : nullptr;
  if (!modules) return nullptr;
  for (int i = 0; i < modules->GetChildCount(); ++i)
    if (SameText(modules->GetChild(i)->Name, Name)) return modules->GetChild(i);
  return nullptr;
}

int TfMain::GetModuleMargin() const {
  const int indent = FSkinner && FSkinner->Skin() ? FSkinner->Skin()->GetPanelItemIndentTop() : 0;
  return indent + plIcons->SpaceTop();
}

int TfMain::GetModuleIndent() const { return (plIcons->ItemWidth() - cfgGetInt(ovsIconsSize)) / 2; }

void TfMain::AddModule(int Index) {
  auto& slot = FModuleSlots.at(static_cast<size_t>(Index));
  if (slot) return;
  const String name = kModules.at(static_cast<size_t>(Index)).Name;
  const String dir = GetExeDir();
  auto* control = new TOvModuleControl(pClient, NewModule(Index, dir + "Resources" + String(1, dir.back())));
  slot = control;
  control->SetParent(pClient);
  if (FSkinner) TVosFormSkinner::AttachFormDragHandlers(FSkinner, control);
  // Dragging moves the bar; the right button opens the module's menu.
  control->OnMouseUp = [this, control, drag = control->OnMouseUp](TObject* Sender, TMouseButton Button,
                                                                  TShiftState Shift, int X, int Y) {
    if (drag) drag(Sender, Button, Shift, X, Y);
    if (Button == mbRight) ModuleRightClick(control, X, Y);
  };
  // Moves keep dragging the bar and also arm the module's hint.
  control->OnMouseMove = [this, drag = control->OnMouseMove](TObject* Sender, TShiftState Shift, int X, int Y) {
    if (drag) drag(Sender, Shift, X, Y);
    BarPointerMoved();
  };
  control->OnMouseLeave = [this](TObject*) { BarPointerMoved(); };
  control->Module()->SetElement(FindModuleElement(name));
  control->LayoutPicture(FVertical, GetModuleMargin(), GetModuleIndent());
  control->RefreshPicture();
  Modules().RegisterModule(control->Module(), [this, control] { ModuleChanged(control); });
}

void TfMain::RemoveModule(int Index) {
  auto& slot = FModuleSlots.at(static_cast<size_t>(Index));
  if (!slot) return;
  TOvModuleControl* control = slot;
  slot = nullptr;
  Modules().UnregisterModule(control->Module());
  control->Free();
}

void TfMain::ModuleChanged(TOvModuleControl* Control) {
  Control->RefreshPicture();
  // Emptying the bin is offered only while it is full.
  if (Control->Module()->GetModuleName() == kModules[omkRecycleBin].Name) UpdateActionStates();
}

void TfMain::ApplyModules() {
  TKemXmlTag* modules = FContents ? FContents->FindPath("ov3contents.modules") : nullptr;
  if (!modules) return;
  std::vector<TModuleElement> elements;
  for (int i = 0; i < modules->GetChildCount(); ++i) {
    TKemXmlTag* e = modules->GetChild(i);
    const bool active = YesNoToBool(e->ReadAttr("active", "yes"), true);
    elements.push_back({e->Name, active});
    const int kind = ModuleKindIndex(e->Name);
    if (kind < 0) continue;
    if (active)
      AddModule(kind);
    else
      RemoveModule(kind);
  }
  TPerModule<bool> registered{};
  for (size_t i = 0; i < FModuleSlots.size(); ++i) {
    registered[i] = FModuleSlots[i] != nullptr;
    if (FModuleSlots[i]) {
      FModuleSlots[i]->SetAlign(alNone);
      FModuleSlots[i]->LayoutPicture(FVertical, GetModuleMargin(), GetModuleIndent());
    }
  }
  for (const TModulePlace& place : PlaceModules(elements, registered, FVertical)) {
    TOvModuleControl* control = FModuleSlots[static_cast<size_t>(place.Kind)];
    control->SetAlign(place.Align);
    if (FVertical)
      control->SetBounds(control->Left(), kFarEnd, control->Width(), control->Height());
    else
      control->SetBounds(kFarEnd, control->Top(), control->Width(), control->Height());
    // Aligned, the control has its extent across the bar: the picture follows it.
    control->LayoutPicture(FVertical, GetModuleMargin(), GetModuleIndent());
  }
  if (Modules().ThreadsStarted()) Modules().StartThreads();
  UpdateActionStates();
}

void TfMain::ReloadModules() {
  for (TOvModuleControl* control : FModuleSlots) {
    if (!control) continue;
    control->Module()->Reload();
    control->LayoutPicture(FVertical, GetModuleMargin(), GetModuleIndent());
    control->RefreshPicture();
    Modules().WakeModule(control->Module()->GetModuleName());
  }
}

void TfMain::StopModules() {
  for (int i = 0; i < static_cast<int>(FModuleSlots.size()); ++i) RemoveModule(i);
  WaitForRecycleThreads();
}

void TfMain::ExecuteModuleAction(int Id) {
  const int slot = ModuleOfAction(Id);
  TOvModuleControl* control = slot >= 0 ? FModuleSlots[static_cast<size_t>(slot)] : nullptr;
  if (!control) return;
  control->Module()->ExecuteCommand(Id);
  control->LayoutPicture(FVertical, GetModuleMargin(), GetModuleIndent());
  control->RefreshPicture();
  Modules().WakeModule(control->Module()->GetModuleName());
  SaveContents();
}

bool TfMain::RecycleBinShownFull() const {
  TOvModuleControl* control = FModuleSlots[omkRecycleBin];
  auto* bin = control ? dynamic_cast<TOvRecycleBin*>(control->Module()) : nullptr;
  return bin && bin->ShownState() == 1;
}
