// The configuration database: registration, access by id, reading and writing
// the settings file, the deferred save and the ad-hoc keys.
#include "kem3/framework/kemcfg.h"

#include <cmath>

#include "kem3/framework/kemexe.h"
#include "kem3/framework/kemutil.h"
#include "platform/inifile.h"
#include "platform/sysutils.h"
#include "platform/timer.h"
#include "platform/unicode_convert.h"
#include "platform/updatescope.h"

std::function<bool(String& Text)> cfgBrowseHandler1;
std::function<bool(String& Text)> cfgBrowseHandler2;
std::function<void()> cfgSaveHandler;
std::function<void(std::exception_ptr Failure)> cfgSaveFailureHandler;
std::function<WideString(const String& Name)> cfgTranslateHook;
std::function<void(const String& Section, const String& Key)> cfgLanguageSaver;
std::function<void(const String& Section, const String& SkinKey, const String& LayoutKey)> cfgSkinSaver;

namespace {

// The text that stands for a missing key where a missing key must read as the default.
constexpr const char* kMissing = "_";
constexpr const char* kUnitSuffix = " (Unit)";

struct TcfgState {
  std::vector<std::unique_ptr<TcfgDb>> Entries;
  std::unique_ptr<TTimerController> Timer;
  bool Initialized = false;
  bool SaveFailureTold = false;
};

TcfgState& State() {
  static TcfgState state;
  return state;
}

// In the handler of a failed save: the first failure of the run is handed on.
void SaveFailed() {
  TcfgState& state = State();
  if (state.SaveFailureTold || !cfgSaveFailureHandler) return;
  state.SaveFailureTold = true;
  cfgSaveFailureHandler(std::current_exception());
}

// A registered limit of an item, in the unit its value is held in; false
// for -1, which stands for no limit on that side.
bool LimitOf(const TcfgDbItem& Item, const Variant& Limit, double& Out) {
  const double limit = cfgFloatOf(Limit, Variant(-1));
  if (limit == -1) return false;
  Out = Item.Type == cfgtFloat ? ConvertUnit(Item.BaseUnit, Item.ValueUnit, limit) : limit;
  return true;
}

// A number read from the file held to the item's limits: a hand edit out of
// range would reach code that cannot take it (a step of 0, a negative delay).
double HeldToLimits(const TcfgDbItem& Item, double Value) {
  double limit = 0.0;
  if (LimitOf(Item, Item.MinValue, limit) && Value < limit) Value = limit;
  if (LimitOf(Item, Item.MaxValue, limit) && Value > limit) Value = limit;
  return Value;
}

int HeldToLimits(const TcfgDbItem& Item, int Value) {
  // Integer limits are whole numbers; rounding only guards odd registrations.
  return static_cast<int>(std::llround(HeldToLimits(Item, static_cast<double>(Value))));
}

void SetValue(int Id, const Variant& Value, bool Notify) {
  TTimerController* timer = State().Timer.get();
  if (timer) timer->Stop();
  if (TcfgDbItem* item = cfgFindItem(Id)) {
    const bool differs = !(item->Value == Value);
    if (differs && timer) timer->Count();
    item->Value = Value;
    if (Notify) item->Changed = differs;
  }
  if (timer) timer->Restart();
}

}  // namespace

// Conversions that never throw: a value that does not convert gives the
// fallback's conversion, and 0 (false, "") when that fails too.
std::int64_t cfgIntOf(const Variant& Value, const Variant& Fallback) {
  for (const Variant* v : {&Value, &Fallback}) {
    try {
      return v->AsInt64();
    } catch (const Exception&) {
    }
  }
  return 0;
}

double cfgFloatOf(const Variant& Value, const Variant& Fallback) {
  for (const Variant* v : {&Value, &Fallback}) {
    try {
      return v->AsDouble();
    } catch (const Exception&) {
    }
  }
  return 0.0;
}

bool cfgBoolOf(const Variant& Value, const Variant& Fallback) {
  for (const Variant* v : {&Value, &Fallback}) {
    try {
      return v->AsBoolean();
    } catch (const Exception&) {
    }
  }
  return false;
}

String cfgTextOf(const Variant& Value) {
  try {
    return VarToStr(Value);
  } catch (const Exception&) {
    return String();
  }
}

namespace {

// A batch on the settings file whose closing save tells a failure to the
// save-failure handler instead of throwing it.
class TReportedBatch {
 public:
  explicit TReportedBatch(TIniFile& Ini) : FIni(Ini) {}
  void BeginUpdate() { FIni.BeginUpdate(); }
  void EndUpdate() {
    try {
      FIni.EndUpdate();
    } catch (const EIniFileException&) {
      SaveFailed();
    }
  }

 private:
  TIniFile& FIni;
};

}  // namespace

void cfgBatchWrites(const std::function<void()>& Write) {
  TReportedBatch batch(*GetIniFile());
  TUpdateScope<TReportedBatch> update(batch);
  Write();
}

// ---- TcfgDbItem

TcfgDbItem* TcfgDbItem::SetLimits(const Variant& AMin, const Variant& AMax, const Variant& AStep,
                                  const Variant& ABigStep) {
  MinValue = AMin;
  MaxValue = AMax;
  Step = AStep;
  BigStep = ABigStep;
  return this;
}

TcfgDbItem* TcfgDbItem::SetLegend(double AScale, double AOffset) {
  LegendScale = AScale;
  LegendOffset = AOffset;
  return this;
}

TcfgDbItem* TcfgDbItem::SetValueList(const String& AValueListText, const String& ADisplayTextName) {
  ValueListText = AValueListText;
  ValueListTextName = ADisplayTextName;
  RefreshValueList();
  return this;
}

void TcfgDbItem::RefreshValueList() {
  WideString display;
  if (!ValueListTextName.empty() && cfgTranslateHook) display = cfgTranslateHook(ValueListTextName);
  if (display.empty()) display = Utf8ToWide(ValueListText);
  Values.Clear();
  // No text, no values (not one empty value).
  if (!ValueListText.empty())
    for (const String& v : SplitText(ValueListText, '|')) Values.Add(v);
  DisplayTexts = display.empty() ? std::vector<WideString>() : SplitWideText(display, u'|');
}

// ---- Unit start and end

void cfgInit() {
  TcfgState& state = State();
  if (state.Initialized) return;
  GetIniFile();
  state.Timer = std::make_unique<TTimerController>();
  state.Initialized = true;
}

bool cfgSaveAtShutDown() {
  TTimerController* timer = State().Timer.get();
  if (!timer || timer->Closed()) return true;
  timer->Close();
  timer->SaveNow();
  // The file is written at exit even when nothing changed since the last save,
  // so one that was removed while the program ran comes back.
  try {
    GetIniFile()->WriteFile();
  } catch (const EIniFileException&) {
    SaveFailed();
    return false;
  }
  return true;
}

void cfgDone() {
  TcfgState& state = State();
  cfgFreeAll();
  state.Timer.reset();
  cfgBrowseHandler1 = nullptr;
  cfgBrowseHandler2 = nullptr;
  cfgSaveHandler = nullptr;
  cfgSaveFailureHandler = nullptr;
  state.SaveFailureTold = false;
  cfgTranslateHook = nullptr;
  cfgLanguageSaver = nullptr;
  cfgSkinSaver = nullptr;
  state.Initialized = false;
}

bool cfgInitialized() { return State().Initialized; }

// ---- Registration

TcfgDbItem* cfgAddItem(int Id, std::uint8_t Type, const Variant& Default, const String& Section, const String& Key,
                       const String& TextName, TUnit Unit, int Page, int LabelPercent, int ControlPercent, int Height) {
  auto item = std::make_unique<TcfgDbItem>(Id);
  item->Type = Type;
  item->Value = Default;
  item->Default = Default;
  item->Section = Section;
  item->Key = Key;
  item->TextName = TextName;
  item->Page = Page;
  item->BaseUnit = Unit < UnitCount ? Unit : unNone;
  item->ValueUnit = item->BaseUnit;
  item->DisplayUnit = item->BaseUnit;
  item->UnitCategory = GetUnitCategory(item->BaseUnit);
  item->LabelPercent = LabelPercent;
  item->ControlPercent = ControlPercent;
  item->Height = Height;
  TcfgDbItem* result = item.get();
  State().Entries.push_back(std::move(item));
  return result;
}

TcfgDbGroup* cfgAddGroup(int Id, int Height, const String& CaptionTextName, int Page, int Columns, int CheckItemId) {
  auto group = std::make_unique<TcfgDbGroup>(Id);
  group->Height = Height;
  group->CaptionTextName = CaptionTextName;
  group->Page = Page;
  group->Columns = Columns;
  group->CheckItemId = CheckItemId;
  TcfgDbGroup* result = group.get();
  State().Entries.push_back(std::move(group));
  return result;
}

const std::vector<std::unique_ptr<TcfgDb>>& cfgEntries() { return State().Entries; }

// ---- Access by id

TcfgDbItem* cfgFindItem(int Id) {
  for (const auto& entry : State().Entries) {
    auto* item = dynamic_cast<TcfgDbItem*>(entry.get());
    if (item && item->Id == Id) return item;
  }
  return nullptr;
}

void cfgGetValue(int Id, Variant& Out) {
  if (const TcfgDbItem* item = cfgFindItem(Id)) Out = item->Value;
}

void cfgGetValueInUnit(int Id, TUnit Unit, Variant& Out) {
  const TcfgDbItem* item = cfgFindItem(Id);
  if (!item) return;
  if (item->Type != cfgtFloat) {
    Out = item->Value;
    return;
  }
  try {
    Out = ConvertUnit(item->ValueUnit, Unit, item->Value.AsDouble());
  } catch (const Exception&) {
    Out = item->Value;
  }
}

int cfgGetInt(int Id, int Default) {
  const TcfgDbItem* item = cfgFindItem(Id);
  if (!item) return Default;
  try {
    return item->Value.AsInteger();
  } catch (const Exception&) {
    return Default;
  }
}

bool cfgGetBool(int Id, bool Default) {
  const TcfgDbItem* item = cfgFindItem(Id);
  if (!item) return Default;
  try {
    return item->Value.AsBoolean();
  } catch (const Exception&) {
    return Default;
  }
}

String cfgGetStr(int Id, const String& Default) {
  const TcfgDbItem* item = cfgFindItem(Id);
  return item ? cfgTextOf(item->Value) : Default;
}

double cfgGetFloatInUnit(int Id, TUnit Unit, double Default) {
  Variant value;
  cfgGetValueInUnit(Id, Unit, value);
  if (value.IsEmpty()) return Default;
  try {
    return value.AsDouble();
  } catch (const Exception&) {
    return Default;
  }
}

void cfgSetValue(int Id, const Variant& Value) { SetValue(Id, Value, false); }

void cfgSetValueNotify(int Id, const Variant& Value) { SetValue(Id, Value, true); }

void cfgApplyChanges(const TcfgConfigTarget& Target) {
  // By index: a handler may register or change settings while it runs.
  auto& entries = State().Entries;
  for (size_t i = 0; i < entries.size(); ++i) {
    auto* item = dynamic_cast<TcfgDbItem*>(entries[i].get());
    if (!item || !item->Changed) continue;
    const int id = item->Id;
    const Variant value = item->Value;
    if (!Target || !Target(id, value)) return;
    if (i < entries.size() && entries[i].get() == item) item->Changed = false;
  }
}

void cfgApplyAll(const TcfgConfigTarget& Target) {
  for (const auto& entry : State().Entries) {
    if (auto* item = dynamic_cast<TcfgDbItem*>(entry.get())) item->Changed = true;
  }
  cfgApplyChanges(Target);
}

void cfgClearChanged(std::initializer_list<int> Ids) {
  for (int id : Ids) {
    if (TcfgDbItem* item = cfgFindItem(id)) item->Changed = false;
  }
}

// ---- The settings file

void cfgReadItem(TcfgDbItem& Item) {
  const TIniFile* ini = GetIniFile();
  Variant def = Item.Default;
  if (Item.UnitCategory != ucNone) {
    TUnit unit = FindUnit(ini->ReadString(Item.Section, Item.Key + kUnitSuffix, UnitName(Item.BaseUnit)));
    // A unit of another kind would scale the number by a meaningless factor.
    if (GetUnitCategory(unit) != Item.UnitCategory) unit = unNone;
    Item.ValueUnit = unit;
    Item.DisplayUnit = unit;
    if (Item.Type == cfgtFloat) def = ConvertUnit(Item.BaseUnit, unit, cfgFloatOf(def, Variant()));
  }
  if (Item.Section.empty() || Item.Key.empty()) return;

  switch (Item.Type) {
    case cfgtSpacer:
      break;
    case cfgtInteger:
    case cfgtTracker: {
      int value = 0;
      Item.Value = TryStrToInt(ini->ReadString(Item.Section, Item.Key, kMissing), value)
                       ? Variant(HeldToLimits(Item, value))
                       : def;
      break;
    }
    case cfgtFloat: {
      double value = 0.0;
      Item.Value = TryStrToFloat(ini->ReadString(Item.Section, Item.Key, kMissing), value)
                       ? Variant(HeldToLimits(Item, value))
                       : def;
      break;
    }
    case cfgtBoolean: {
      const String text = ini->ReadString(Item.Section, Item.Key, kMissing);
      if (SameText(text, "yes") || SameText(text, "no")) {
        Item.Value = YesNoToBool(text, false);
      } else {
        Item.Value = def;
      }
      break;
    }
    case cfgtColor: {
      int value = 0;
      Item.Value = TryStrToInt("$" + ini->ReadString(Item.Section, Item.Key, kMissing), value) ? Variant(value) : def;
      break;
    }
    default:
      Item.Value = ini->ReadString(Item.Section, Item.Key, cfgTextOf(def));
      break;
  }
}

void cfgWriteItem(TcfgDbItem& Item) {
  TIniFile* ini = GetIniFile();
  const bool stored = !Item.Section.empty() && !Item.Key.empty();
  const bool hasUnit = Item.UnitCategory != ucNone;
  // The file names one unit for the number: a value still held in the old unit
  // is converted before the unit changes under it.
  if (hasUnit && Item.Type == cfgtFloat && Item.ValueUnit != Item.DisplayUnit) {
    Item.Value = ConvertUnit(Item.ValueUnit, Item.DisplayUnit, cfgFloatOf(Item.Value, Item.Default));
  }
  if (hasUnit) Item.ValueUnit = Item.DisplayUnit;
  if (!stored) return;

  switch (Item.Type) {
    case cfgtSpacer:
      break;
    case cfgtInteger:
    case cfgtTracker:
      ini->WriteString(Item.Section, Item.Key, IntToStr(cfgIntOf(Item.Value, Item.Default)));
      break;
    case cfgtFloat:
      ini->WriteString(Item.Section, Item.Key, FloatToStr(cfgFloatOf(Item.Value, Item.Default)));
      break;
    case cfgtBoolean:
      ini->WriteString(Item.Section, Item.Key, BoolToYesNo(cfgBoolOf(Item.Value, Item.Default)));
      break;
    case cfgtColor:
      ini->WriteString(Item.Section, Item.Key,
                       IntToHex(static_cast<std::int32_t>(cfgIntOf(Item.Value, Item.Default)), 6));
      break;
    default:
      ini->WriteString(Item.Section, Item.Key, cfgTextOf(Item.Value));
      break;
  }
  if (hasUnit) ini->WriteString(Item.Section, Item.Key + kUnitSuffix, UnitName(Item.ValueUnit));
}

// Our number routines always use "."; the separator is set for code that asks for it.
void cfgReadAll() {
  PushDecimalSeparator('.');
  try {
    auto& entries = State().Entries;
    for (size_t i = 0; i < entries.size(); ++i) {
      if (auto* item = dynamic_cast<TcfgDbItem*>(entries[i].get())) cfgReadItem(*item);
    }
  } catch (...) {
    PopDecimalSeparator();
    throw;
  }
  PopDecimalSeparator();
}

void cfgWriteAll() {
  PushDecimalSeparator('.');
  try {
    cfgBatchWrites([] {
      auto& entries = State().Entries;
      for (size_t i = 0; i < entries.size(); ++i) {
        if (auto* item = dynamic_cast<TcfgDbItem*>(entries[i].get())) cfgWriteItem(*item);
      }
    });
  } catch (...) {
    PopDecimalSeparator();
    throw;
  }
  PopDecimalSeparator();
}

void cfgRequestSave() {
  TTimerController* timer = State().Timer.get();
  if (!timer) return;
  timer->Stop();
  timer->Count();
  timer->Restart();
}

void cfgRefreshValueLists() {
  for (const auto& entry : State().Entries) {
    if (auto* item = dynamic_cast<TcfgDbItem*>(entry.get())) item->RefreshValueList();
  }
}

void cfgFreeAll() {
  // Moved out first, so code that runs while entries go sees an empty list.
  std::vector<std::unique_ptr<TcfgDb>> doomed = std::move(State().Entries);
  State().Entries.clear();
  doomed.clear();
}

// ---- The deferred save

TTimerController::TTimerController() : FTimer(std::make_unique<TTimer>(nullptr)) {
  FTimer->SetInterval(SaveInterval);
  FTimer->OnTimer = [this](TObject*) { SaveNow(); };
}

TTimerController::~TTimerController() = default;

void TTimerController::Stop() { FTimer->SetEnabled(false); }

void TTimerController::Restart() {
  if (FChanges > 0 && !FClosed) FTimer->SetEnabled(true);
}

void TTimerController::Close() {
  FClosed = true;
  FTimer->SetEnabled(false);
}

bool TTimerController::Armed() const { return FTimer->Enabled(); }

void TTimerController::SaveNow() {
  FTimer->SetEnabled(false);
  FChanges = 0;
  cfgBatchWrites([] {
    if (cfgSaveHandler) {
      cfgSaveHandler();
    } else {
      cfgWriteAll();
    }
    if (cfgLanguageSaver) cfgLanguageSaver("Language", "Current");
    if (cfgSkinSaver) cfgSkinSaver("Skin", "Current", "Layout");
  });
}

TTimerController* cfgTimer() { return State().Timer.get(); }

// ---- Ad-hoc keys

double cfgReadFloat(const String& Section, const String& Key, double Default) {
  double value = 0.0;
  return TryStrToFloat(GetIniFile()->ReadString(Section, Key, kMissing), value) ? value : Default;
}

void cfgWriteFloat(const String& Section, const String& Key, double Value) {
  GetIniFile()->WriteString(Section, Key, FloatToStr(Value));
}

int cfgReadInt(const String& Section, const String& Key, int Default) {
  int value = 0;
  return TryStrToInt(GetIniFile()->ReadString(Section, Key, kMissing), value) ? value : Default;
}

void cfgWriteInt(const String& Section, const String& Key, int Value) {
  GetIniFile()->WriteString(Section, Key, IntToStr(Value));
}

bool cfgReadBool(const String& Section, const String& Key, bool Default) {
  return YesNoToBool(GetIniFile()->ReadString(Section, Key, kMissing), Default);
}

void cfgWriteBool(const String& Section, const String& Key, bool Value) {
  GetIniFile()->WriteString(Section, Key, BoolToYesNo(Value));
}

String cfgReadStr(const String& Section, const String& Key) { return GetIniFile()->ReadString(Section, Key, ""); }

String cfgReadString(const String& Section, const String& Key, const String& Default) {
  return GetIniFile()->ReadString(Section, Key, Default);
}

void cfgWriteString(const String& Section, const String& Key, const String& Value) {
  GetIniFile()->WriteString(Section, Key, Value);
}
