// The generated rows of a settings page as controls: made from the layout of
// kemcfglayout.h, each bound to its item, read back into it on OK and Apply,
// refreshed from it when the setting changes elsewhere.
#include "kem3/dialogs/kemcfgpage_win.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "kem3/controls/kemchkbx_win.h"
#include "kem3/controls/kemchklb_win.h"
#include "kem3/controls/kemctrls_win.h"
#include "kem3/controls/kemdlist_win.h"
#include "kem3/controls/kemedit_win.h"
#include "kem3/controls/kemgroup_win.h"
#include "kem3/controls/kemlabel_win.h"
#include "kem3/controls/kemplist_win.h"
#include "kem3/controls/kemsedit_win.h"
#include "kem3/controls/kemtrack_win.h"
#include "kem3/dialogs/kemcfglayout.h"
#include "kem3/dialogs/kemcfgrows_win.h"
#include "kem3/framework/kemlan.h"
#include "platform/mathutils.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"
#include "platform/updatescope.h"

namespace {

// Generated controls carry a negative tag, so a page's own controls are told apart.
constexpr int kGeneratedTag = -1;

// A bound control: an item's control (with the unit box of a float), or a
// caption (label, group frame) that follows the language.
struct TBinding {
  TControl* Control = nullptr;
  TcfgDbItem* Item = nullptr;
  TKemUnitComboBox* UnitBox = nullptr;
  String CaptionName;  // the language text of the caption, or of a tracker's legend
  int FitWidth = 0;    // a check box in a frame's caption line: as wide as its caption, up to this
  // A value list: at least its layout width, wider up to ListRoom to show its longest text.
  int ListWidth = 0, ListRoom = 0;
  // An item's row caption and the places the layout gave it and the control:
  // a caption that needs more room takes it from the control's left side.
  TControl* RowCaption = nullptr;
  TRect CaptionPlace{}, ControlPlace{};
  // The column the page's fields share, in the row's parent (0: none given).
  int FieldLeft = 0;
};

bool ItemAlive(const TcfgDbItem* Item) {
  for (const auto& entry : cfgEntries()) {
    if (entry.get() == Item) return true;
  }
  return false;
}

// The bindings in creation order. A bound control that goes, by cfgClearPage
// or with its form, takes its binding along: no binding outlives its control.
class TcfgBindings : public TComponent {
 public:
  TcfgBindings() : TComponent(nullptr) {}
  ~TcfgBindings() override {
    for (const TBinding& b : FList) {
      RemoveFreeNotification(b.Control);
      if (b.UnitBox) RemoveFreeNotification(b.UnitBox);
    }
    // The language listener is left alone: at the end of the program the
    // language manager may be gone already, and no language changes then.
  }
  std::vector<TBinding>& List() { return FList; }
  void Add(const TBinding& Binding) {
    FreeNotification(Binding.Control);
    if (Binding.UnitBox) FreeNotification(Binding.UnitBox);
    FList.push_back(Binding);
    Listen(true);
  }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    for (auto it = FList.begin(); it != FList.end();) {
      if (it->UnitBox == AComponent) it->UnitBox = nullptr;
      if (it->Control != AComponent) {
        ++it;
        continue;
      }
      // Leaving the page without reading it back (Cancel, closing the
      // dialog) drops a unit the user picked: the value is still held in
      // ValueUnit, and the next save would write it under the other unit.
      if (it->Item && it->Item->UnitCategory != ucNone && ItemAlive(it->Item)) {
        it->Item->DisplayUnit = it->Item->ValueUnit;
      }
      it = FList.erase(it);
    }
    if (FList.empty()) Listen(false);
  }

 private:
  // While controls are bound, every language change relabels them: their
  // texts are the settings' own names, which no control looks up itself.
  void Listen(bool On) {
    if (On && FListener < 0) FListener = RegisterLanguageListener([] { cfgRelabel(); });
    if (!On && FListener >= 0) {
      UnregisterLanguageListener(FListener);
      FListener = -1;
    }
  }

  std::vector<TBinding> FList;
  int FListener = -1;
};

TcfgBindings& Bindings() {
  static TcfgBindings bindings;
  return bindings;
}

std::vector<std::pair<int, std::function<void(int)>>>& RefreshListeners() {
  static std::vector<std::pair<int, std::function<void(int)>>> listeners;
  return listeners;
}

const TBinding* BindingOf(int Id) {
  for (const TBinding& b : Bindings().List()) {
    if (b.Item && b.Item->Id == Id) return &b;
  }
  return nullptr;
}

WideString TextNamed(const String& Name) {
  if (Name.empty() || !cfgTranslateHook) return WideString();
  return cfgTranslateHook(Name);
}

template <class T>
T* Make(const std::function<T*(TComponent*)>& Factory, TComponent* Owner) {
  if (Factory) {
    if (T* made = Factory(Owner)) return made;
  }
  return new T(Owner);  // owned by Owner
}

template <class T>
T* Place(T* Control, TWinControl* Parent, const TRect& Bounds, int Tag = kGeneratedTag) {
  Control->SetTag(Tag);
  Control->SetBoundsRect(Bounds);
  Control->SetParent(Parent);
  return Control;
}

// Limits, steps and positions of trackers are whole numbers.
int IntOf(const Variant& Value) { return static_cast<int>(Round(cfgFloatOf(Value, 0))); }

void ApplyLimits(TKemSpinEdit* Spin, const TcfgDbItem& Item, TUnit Unit) {
  const TcfgSpinLimits limits = cfgSpinLimits(Item, Unit);
  Spin->SetMinValue(limits.Min);
  Spin->SetMaxValue(limits.Max);
  Spin->SetIncrement(limits.Step);
  Spin->SetIncrementBig(limits.BigStep);
}

template <class List>
void FillTexts(List* Strings, const std::vector<WideString>& Texts) {
  TUpdateScope<List> update(*Strings);
  Strings->Clear();
  for (const WideString& text : Texts) Strings->Add(text);
}

template <class Control>
void RefillKeepingIndex(Control* List, const std::vector<WideString>& Texts) {
  const int index = List->ItemIndex();
  FillTexts(List->Items(), Texts);
  List->SetItemIndex(index);
}

void FillPanelList(TKemPanelList* List, const std::vector<WideString>& Texts) {
  const int index = List->ItemIndex();
  List->Clear();
  for (const WideString& text : Texts) List->Add(text);
  List->SetItemIndex(index);
}

// Sets the control from its item's value as it is now.
void ShowValue(const TBinding& B) {
  TcfgDbItem& item = *B.Item;
  switch (item.Type) {
    case cfgtInteger:
    case cfgtFloat:
      if (auto* spin = dynamic_cast<TKemSpinEdit*>(B.Control)) {
        if (item.Type == cfgtFloat) ApplyLimits(spin, item, item.DisplayUnit);
        spin->SetFloatVal(cfgShownNumber(item));
      }
      if (B.UnitBox) B.UnitBox->SetItemIndex(cfgUnitEntry(item.UnitCategory, item.DisplayUnit));
      break;
    case cfgtBoolean:
      if (auto* box = dynamic_cast<TKemCheckbox*>(B.Control)) box->SetChecked(cfgBoolOf(item.Value, false));
      break;
    case cfgtTracker:
      if (auto* tracker = dynamic_cast<TKemTracker*>(B.Control)) tracker->SetPosition(IntOf(item.Value));
      break;
    case cfgtString:
    case cfgtBrowse1:
    case cfgtBrowse2:
      if (auto* edit = dynamic_cast<TKemEdit*>(B.Control)) edit->SetText(Utf8ToWide(cfgTextOf(item.Value)));
      break;
    case cfgtValueList:
      if (auto* list = dynamic_cast<TKemDropDownList*>(B.Control)) list->SetItemIndex(cfgValueEntry(item));
      break;
    case cfgtUnitList:
      if (auto* combo = dynamic_cast<TKemUnitComboBox*>(B.Control)) combo->SetItemIndex(cfgValueEntry(item));
      break;
    case cfgtCheckList:
      if (auto* list = dynamic_cast<TKemCheckListBox*>(B.Control)) {
        const std::vector<bool> ticks = cfgCheckListTicks(item);
        for (size_t i = 0; i < ticks.size() && static_cast<int>(i) < list->Items()->Count(); ++i) {
          list->SetChecked(static_cast<int>(i), ticks[i]);
        }
      }
      break;
    case cfgtPanelList:
      if (auto* list = dynamic_cast<TKemPanelList*>(B.Control)) list->SetItemIndex(cfgValueEntry(item));
      break;
    default:
      break;
  }
}

TcfgShown ReadControl(const TBinding& B) {
  TcfgShown shown;
  if (auto* spin = dynamic_cast<TKemSpinEdit*>(B.Control)) shown.Number = spin->FloatVal();
  if (auto* box = dynamic_cast<TKemCheckbox*>(B.Control)) shown.Checked = box->Checked();
  if (auto* tracker = dynamic_cast<TKemTracker*>(B.Control)) shown.Position = tracker->Position();
  if (auto* edit = dynamic_cast<TKemEdit*>(B.Control)) shown.Text = WideToUtf8(edit->Text());
  if (auto* list = dynamic_cast<TKemDropDownList*>(B.Control)) shown.Index = list->ItemIndex();
  if (auto* combo = dynamic_cast<TKemUnitComboBox*>(B.Control)) shown.Index = combo->ItemIndex();
  if (auto* list = dynamic_cast<TKemPanelList*>(B.Control)) shown.Index = list->ItemIndex();
  if (auto* list = dynamic_cast<TKemCheckListBox*>(B.Control)) {
    for (int i = 0; i < list->Items()->Count(); ++i) shown.Ticks.push_back(list->Checked(i));
  }
  return shown;
}

// A value list as wide as its longest text needs in the language shown (its
// drop button and frame beside it), not narrower than its layout, within its column.
void FitListWidth(const TBinding& B) {
  auto* list = dynamic_cast<TKemDropDownList*>(B.Control);
  if (!list || B.ListWidth <= 0) return;
  constexpr int kButtonAndFrame = 17 + 4, kPadding = 8;
  TFontTextMeasure measure(*list->Font());
  int widest = 0;
  for (int i = 0; i < list->Items()->Count(); ++i)
    widest = std::max(widest, static_cast<int>(measure.TextExtent(list->Items()->Get(i)).cx));
  // A list moved right by a long caption may be narrower than its layout.
  const int lowest = std::min(B.ListWidth, B.ListRoom - list->Left());
  const int room = std::max(B.ListRoom - list->Left(), lowest);
  list->SetWidth(std::clamp(widest + kButtonAndFrame + kPadding, lowest, room));
}

// How far right of its parent's left edge the row's caption reaches, with
// the gap before its field.
int CaptionReach(const TBinding& B) {
  return B.CaptionPlace.Left + CaptionWidth(B.RowCaption, B.RowCaption->Caption()) + cfgCaptionGap;
}

// The field at the page's column, or further right when its caption needs
// more room (a page without a column); it keeps its right edge, and the
// caption reaches up to it.
void PlaceRow(const TBinding& B) {
  if (!B.RowCaption || !B.Control) return;
  constexpr int kNarrowestControl = 40;
  const int most = std::max(B.ControlPlace.Right - kNarrowestControl, B.ControlPlace.Left);
  const int left = std::clamp(std::max(CaptionReach(B), B.FieldLeft), B.ControlPlace.Left, most);
  B.RowCaption->SetWidth(left - B.CaptionPlace.Left);
  B.Control->SetBounds(left, B.Control->Top(), B.ControlPlace.Right - left, B.Control->Height());
  FitListWidth(B);
}

// How far the left edge of Control's parent lies right of Page's; -1 when
// Control is not on Page.
int OffsetOnPage(const TControl* Control, const TWinControl* Page) {
  int offset = 0;
  for (const TWinControl* p = Control->Parent(); p; p = p->Parent()) {
    if (p == Page) return offset;
    offset += p->Left();
  }
  return -1;
}

void FillLists(const TBinding& B) {
  const std::vector<WideString>& texts = B.Item->DisplayTexts;
  if (auto* list = dynamic_cast<TKemDropDownList*>(B.Control)) {
    RefillKeepingIndex(list, texts);
    FitListWidth(B);
  } else if (auto* combo = dynamic_cast<TKemUnitComboBox*>(B.Control)) {
    RefillKeepingIndex(combo, texts);
  } else if (auto* checks = dynamic_cast<TKemCheckListBox*>(B.Control)) {
    std::vector<bool> ticks;
    for (int i = 0; i < checks->Items()->Count(); ++i) ticks.push_back(checks->Checked(i));
    FillTexts(checks->Items(), texts);
    for (size_t i = 0; i < ticks.size() && static_cast<int>(i) < checks->Items()->Count(); ++i) {
      checks->SetChecked(static_cast<int>(i), ticks[i]);
    }
  } else if (auto* panel = dynamic_cast<TKemPanelList*>(B.Control)) {
    FillPanelList(panel, texts);
  }
}

void SetCaptionText(const TBinding& B) {
  const WideString text = TextNamed(B.CaptionName);
  if (auto* tracker = dynamic_cast<TKemTracker*>(B.Control)) {
    tracker->SetLegendFormat(WideToUtf8(text));
  } else {
    B.Control->SetCaption(text);
  }
  if (B.FitWidth > 0) {
    // Only as wide as its caption: the frame's line shows on beyond it.
    B.Control->SetWidth(std::min(18 + CaptionWidth(B.Control, text) + 4, B.FitWidth));
  }
}

// A list of the item's display texts.
template <class List>
List* ListRow(const TcfgRow& Row, TWinControl* Parent, TComponent* Owner) {
  auto* list = Place(new List(Owner), Parent, Row.Control);
  FillTexts(list->Items(), Row.Item->DisplayTexts);
  return list;
}

// The controls of an item's row.
TControl* MakeItemControl(const TcfgRow& Row, TWinControl* Parent, TComponent* Owner, TBinding& B) {
  TcfgDbItem& item = *Row.Item;
  const TcfgControlFactories& make = cfgControlFactories();
  switch (item.Type) {
    case cfgtInteger:
    case cfgtFloat: {
      auto* spin = Place(Make(make.SpinEdit, Owner), Parent, Row.Control);
      spin->SetNumberMode(item.Type == cfgtInteger ? nmInteger : nmFloat);
      if (item.Type == cfgtInteger) ApplyLimits(spin, item, item.BaseUnit);
      if (item.Type == cfgtFloat && !IsRectEmpty(Row.UnitBox)) {
        item.DisplayUnit = item.ValueUnit;
        auto* box = Place(new TKemUnitComboBox(Owner), Parent, Row.UnitBox, -item.Id);
        FillTexts(box->Items(), cfgUnitNames(item.UnitCategory));
        TcfgDbItem* bound = &item;
        box->OnChange = [spin, box, bound](TObject*) {
          const TUnit unit = cfgUnitOfEntry(*bound, box->ItemIndex());
          if (unit == bound->DisplayUnit) return;
          const double shown = cfgSwitchUnit(*bound, unit, spin->FloatVal());
          ApplyLimits(spin, *bound, unit);
          spin->SetFloatVal(shown);
        };
        B.UnitBox = box;
      }
      return spin;
    }
    case cfgtBoolean: {
      auto* box = Place(Make(make.CheckBox, Owner), Parent, Row.Control);
      box->SetParentColor(true);
      B.Control = box;
      B.CaptionName = item.TextName;
      if (Row.InCaption) B.FitWidth = Row.Control.Width();
      SetCaptionText(B);
      return box;
    }
    case cfgtTracker: {
      auto* tracker = Place(Make(make.Tracker, Owner), Parent, Row.Control);
      tracker->SetMin(IntOf(item.MinValue));
      tracker->SetMax(IntOf(item.MaxValue));
      tracker->SetStepSmall(IntOf(item.Step));
      tracker->SetStepLarge(IntOf(item.BigStep));
      tracker->SetLegendScale(item.LegendScale);
      tracker->SetLegendOffset(item.LegendOffset);
      B.CaptionName = item.TextName + "_Legend";
      tracker->SetLegendFormat(WideToUtf8(TextNamed(B.CaptionName)));
      return tracker;
    }
    case cfgtString:
    case cfgtBrowse1:
    case cfgtBrowse2: {
      auto* edit = Place(Make(make.Edit, Owner), Parent, Row.Control);
      if (item.Type != cfgtString) {
        edit->AddButton(0, "...");
        const bool first = item.Type == cfgtBrowse1;
        edit->OnButtonClick = [edit, first](TObject*, int) {
          const auto& handler = first ? cfgBrowseHandler1 : cfgBrowseHandler2;
          String text = WideToUtf8(edit->Text());
          if (handler && handler(text)) edit->SetText(Utf8ToWide(text));
        };
      }
      return edit;
    }
    case cfgtValueList: {
      auto* list = ListRow<TKemDropDownList>(Row, Parent, Owner);
      B.Control = list;
      B.ListWidth = Row.Control.Width();
      B.ListRoom = Row.ColumnRight;
      FitListWidth(B);
      return list;
    }
    case cfgtUnitList:
      return ListRow<TKemUnitComboBox>(Row, Parent, Owner);
    case cfgtCheckList:
      return ListRow<TKemCheckListBox>(Row, Parent, Owner);
    case cfgtPanelList: {
      auto* list = Place(Make(make.PanelList, Owner), Parent, Row.Control);
      TKemPanelListOptions options = list->Options();
      options.Include(ploDisallowNoSelection);
      list->SetOptions(options);
      FillPanelList(list, item.DisplayTexts);
      return list;
    }
    default:
      return nullptr;
  }
}

}  // namespace

TcfgControlFactories& cfgControlFactories() {
  static TcfgControlFactories factories;
  return factories;
}

int cfgBuildPage(TWinControl* Parent, int PageId, int Top, int Columns, int LeftPercent, int WidthPercent,
                 int LeftMargin, int RightMargin, int ColumnGap) {
  if (!Parent) return 0;
  const TcfgPageLayout layout = cfgLayoutPage(Parent->ClientWidth(), PageId, Top, Columns, LeftPercent, WidthPercent,
                                              LeftMargin, RightMargin, ColumnGap);
  const TcfgControlFactories& make = cfgControlFactories();
  // The frame made for each group row, by row index.
  std::vector<TWinControl*> frames(layout.Rows.size(), nullptr);
  for (size_t i = 0; i < layout.Rows.size(); ++i) {
    const TcfgRow& row = layout.Rows[i];
    TWinControl* parent = row.Parent < 0 ? Parent : frames[static_cast<size_t>(row.Parent)];
    if (!parent) continue;
    if (row.Group) {
      auto* frame = Place(new TKemGroup(Parent), parent, row.Control);
      if (row.Group->CheckItemId != -1) frame->SetOffsetVert(2);
      const TBinding caption{frame, nullptr, nullptr, row.Group->CaptionTextName};
      SetCaptionText(caption);
      Bindings().Add(caption);
      frames[i] = frame;
      continue;
    }
    TKemLabel* label = nullptr;
    if (!IsRectEmpty(row.Label)) {
      // Sized by the layout before it takes the page's font: a label that
      // still sized itself to its empty caption would shrink to nothing
      // when that font differs from its own (a language's larger font).
      label = Make(make.Label, Parent);
      label->SetAutoSize(false);
      label->SetParentColor(true);
      const TBinding caption{label, nullptr, nullptr, row.Item->TextName};
      SetCaptionText(caption);
      Place(label, parent, row.Label);
      Bindings().Add(caption);
    }
    TBinding binding;
    binding.Item = row.Item;
    binding.Control = MakeItemControl(row, parent, Parent, binding);
    if (!binding.Control) continue;
    ShowValue(binding);
    if (label) {
      binding.RowCaption = label;
      binding.CaptionPlace = row.Label;
      binding.ControlPlace = row.Control;
      PlaceRow(binding);
    }
    Bindings().Add(binding);
  }
  return layout.Height;
}

void cfgClearPage(TWinControl* Parent) {
  if (!Parent) return;
  // Their bindings go with them; a unit picked but not applied is dropped.
  for (int i = Parent->ControlCount() - 1; i >= 0; --i) {
    TControl* control = Parent->Controls(i);
    if (control->Tag() < 0) control->Free();
  }
}

void cfgReadPage() {
  TTimerController* timer = cfgTimer();
  if (timer) timer->Stop();
  std::vector<TBinding>& list = Bindings().List();
  for (size_t i = list.size(); i-- > 0;) {
    const TBinding& b = list[i];
    if (!b.Item || !ItemAlive(b.Item)) continue;
    if (cfgReadBack(*b.Item, ReadControl(b)) && timer) timer->Count();
  }
  if (timer) timer->Restart();
}

void cfgRelabel() {
  cfgRefreshValueLists();
  std::vector<TBinding>& list = Bindings().List();
  for (size_t i = list.size(); i-- > 0;) {
    const TBinding& b = list[i];
    if (!b.CaptionName.empty()) SetCaptionText(b);
    if (b.Item && ItemAlive(b.Item) && !b.Item->ValueListTextName.empty()) FillLists(b);
  }
  for (const TBinding& b : list) PlaceRow(b);
}

int cfgFieldColumn(TWinControl* Page) {
  int column = 0;
  for (const TBinding& b : Bindings().List()) {
    if (!b.RowCaption) continue;
    const int offset = OffsetOnPage(b.RowCaption, Page);
    if (offset >= 0) column = std::max({column, offset + b.ControlPlace.Left, offset + CaptionReach(b)});
  }
  return column;
}

void cfgSetFieldColumn(TWinControl* Page, int Column) {
  for (TBinding& b : Bindings().List()) {
    if (!b.RowCaption) continue;
    const int offset = OffsetOnPage(b.RowCaption, Page);
    if (offset < 0) continue;
    b.FieldLeft = Column - offset;
    PlaceRow(b);
  }
}

void cfgRefreshControls(std::initializer_list<int> Ids) {
  for (const TBinding& b : Bindings().List()) {
    if (!b.Item || !ItemAlive(b.Item)) continue;
    if (std::find(Ids.begin(), Ids.end(), b.Item->Id) != Ids.end()) ShowValue(b);
  }
  // A listener may remove itself while it runs.
  const auto listeners = RefreshListeners();
  for (int id : Ids) {
    for (const auto& listener : listeners) listener.second(id);
  }
}

int cfgAddRefreshListener(std::function<void(int Id)> Listener) {
  static int next = 0;
  RefreshListeners().emplace_back(++next, std::move(Listener));
  return next;
}

void cfgRemoveRefreshListener(int Handle) {
  auto& listeners = RefreshListeners();
  listeners.erase(std::remove_if(listeners.begin(), listeners.end(),
                                 [Handle](const auto& listener) { return listener.first == Handle; }),
                  listeners.end());
}

TControl* cfgBoundControl(int Id) {
  const TBinding* b = BindingOf(Id);
  return b ? b->Control : nullptr;
}

TControl* cfgBoundUnitBox(int Id) {
  const TBinding* b = BindingOf(Id);
  return b ? b->UnitBox : nullptr;
}

int cfgBindingCount() { return static_cast<int>(Bindings().List().size()); }

int cfgFlowListControls(const std::vector<TKemDropDownList*>& Lists, int Left, int Right, int Top, int Lines) {
  if (Lists.empty()) return 0;
  std::vector<std::vector<WideString>> texts;
  for (TKemDropDownList* list : Lists) {
    texts.emplace_back();
    for (int i = 0; i < list->Items()->Count(); ++i) texts.back().push_back(list->Items()->Get(i));
  }
  TFontTextMeasure measure(*Lists.front()->Font());
  const TcfgListFlow flow = cfgFlowLists(measure, texts, Left, Right, Top, Lines);
  for (size_t i = 0; i < Lists.size(); ++i) Lists[i]->SetBoundsRect(flow.Places[i]);
  return flow.Lines;
}
