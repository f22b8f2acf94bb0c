// Clipboard formats, data formats and the conversion map between them.
#include "kem3/dragdrop/dragdrop.h"

#include <algorithm>

#include "platform/format.h"
#include "platform/sysutils.h"

namespace {

template <class C>
bool ClassInherits(const C* self, const C* other) {
  for (const C* c = self; c; c = c->Parent) {
    if (c == other) return true;
  }
  return false;
}

}  // namespace

bool TClipboardFormatClass::InheritsFrom(const TClipboardFormatClass* Other) const {
  return ClassInherits(this, Other);
}
bool TDataFormatClass::InheritsFrom(const TDataFormatClass* Other) const { return ClassInherits(this, Other); }

// ---- TClipboardFormat ----------------------------------------------------------

const TClipboardFormatClass TClipboardFormat::Class{"TClipboardFormat", nullptr, nullptr};

std::uint16_t TClipboardFormat::GetClipboardFormat() {
  throw Exception(Format("Internal error: %s.%s needs implementation", {ClassType()->ClassName, "GetClipboardFormat"}));
}

TFormatEtc TClipboardFormat::FormatEtc() {
  TFormatEtc format;
  format.cfFormat = GetClipboardFormat();
  format.lindex = FIndex;
  format.tymed = FMediumTypes;
  return format;
}

bool TClipboardFormat::HasValidFormats(TDropDataObject& DataObject) { return DataObject.QueryGetData(FormatEtc()); }

bool TClipboardFormat::AcceptFormat(const TFormatEtc& Format) {
  return Format.cfFormat == GetClipboardFormat() && !Format.HasTargetDevice && Format.dwAspect == dvaspectContent &&
         (Format.tymed & FMediumTypes) != 0;
}

bool TClipboardFormat::GetData(TDropDataObject& DataObject) {
  Clear();
  std::unique_ptr<TStorageMedium> medium = DataObject.GetData(FormatEtc());
  if (!medium) return false;
  // The medium is released when it goes out of scope, read or not.
  return (medium->Tymed() & FMediumTypes) != 0 && ReadMedium(DataObject, *medium);
}

bool TClipboardFormat::SetData(TDropDataObject& DataObject, const TFormatEtc& Format) {
  TWrittenMedium medium;
  if (!AcceptFormat(Format) || !WriteMedium(Format, medium)) return false;
  return DataObject.SetData(Format, medium);
}

void TClipboardFormats::Add(std::unique_ptr<TClipboardFormat> Format) {
  Format->DataFormat = FOwner;
  FItems.push_back(std::move(Format));
}

// ---- TCustomDataFormat ---------------------------------------------------------

const TDataFormatClass TCustomDataFormat::Class{"TCustomDataFormat", nullptr, nullptr};

TCustomDataFormat::TCustomDataFormat(TDragDropComponent* AOwner, const TDataFormatClass* AClass)
    : FOwner(AOwner), FClass(AClass) {
  if (AOwner && !AOwner->TakesDataFormats()) {
    throw Exception(Format("%s is not a valid owner for %s. Owner must be derived from %s",
                           {AOwner->Name(), AClass->ClassName, "TCustomDropMultiSource or TCustomDropMultiTarget"}));
  }
  DataFormatMap().FillCompatibleFormats(AClass, FCompatibleFormats, true);
  if (AOwner) AOwner->AddDataFormat(this);
}

TCustomDataFormat::~TCustomDataFormat() {
  if (FOwner) FOwner->RemoveDataFormat(this);
}

bool TCustomDataFormat::GetData(TDropDataObject& DataObject) {
  bool result = false;
  for (int i = 0; i < FCompatibleFormats.Count() && WantsData(); ++i) {
    TClipboardFormat* format = FCompatibleFormats[i];
    format->Clear();
    if (format->GetData(DataObject) && format->HasData() && Assign(*format)) {
      format->Clear();
      result = true;
    }
  }
  return result;
}

bool TCustomDataFormat::HasValidFormats(TDropDataObject& DataObject) {
  for (int i = 0; i < FCompatibleFormats.Count(); ++i) {
    if (FCompatibleFormats[i]->HasValidFormats(DataObject)) return true;
  }
  return false;
}

bool TCustomDataFormat::AcceptFormat(const TFormatEtc& Format) {
  for (int i = 0; i < FCompatibleFormats.Count(); ++i) {
    if (FCompatibleFormats[i]->AcceptFormat(Format)) return true;
  }
  return false;
}

// ---- TDragDropComponent --------------------------------------------------------

TDragDropComponent::~TDragDropComponent() {
  while (!FDataFormats.empty()) {
    TCustomDataFormat* format = FDataFormats.back();
    FDataFormats.pop_back();
    format->FOwner = nullptr;
    format->Free();
  }
}

int TDragDropComponent::AddDataFormat(TCustomDataFormat* Format) {
  auto it = std::find(FDataFormats.begin(), FDataFormats.end(), Format);
  if (it != FDataFormats.end()) return static_cast<int>(it - FDataFormats.begin());
  FDataFormats.push_back(Format);
  return static_cast<int>(FDataFormats.size()) - 1;
}

void TDragDropComponent::RemoveDataFormat(TCustomDataFormat* Format) { std::erase(FDataFormats, Format); }

bool TDragDropComponent::OwnsDataFormat(const TCustomDataFormat* Format) const {
  return std::find(FDataFormats.begin(), FDataFormats.end(), Format) != FDataFormats.end();
}

// ---- The conversion map --------------------------------------------------------

void TDataFormatMap::AddConversion(const TDataFormatClass* DataFormat, const TClipboardFormatClass* ClipboardFormat,
                                   std::int32_t Priority, std::uint8_t Scopes, std::uint8_t Directions) {
  TConversion entry{DataFormat, ClipboardFormat, Priority, Scopes, Directions};
  for (auto it = FEntries.begin(); it != FEntries.end(); ++it) {
    if (DataFormat->InheritsFrom(it->DataFormatClass) && ClipboardFormat->InheritsFrom(it->ClipboardFormatClass)) {
      entry.Scopes |= it->Scopes;
      entry.Directions |= it->Directions;
      FEntries.erase(it);
      break;
    }
  }
  FEntries.push_back(entry);
  // Place it before the entries of its data format with the same or a higher
  // priority: lower priorities are tried first, and a newer entry wins a tie.
  const int last = static_cast<int>(FEntries.size()) - 1;
  int j = last - 1;
  while (j >= 0 && FEntries[j].DataFormatClass != DataFormat) --j;
  if (j < 0) return;
  while (j >= 0 && FEntries[j].DataFormatClass == DataFormat && FEntries[j].Priority >= Priority) --j;
  std::rotate(FEntries.begin() + j + 1, FEntries.begin() + last, FEntries.end());
}

void TDataFormatMap::RemoveClipboardFormatClass(const TClipboardFormatClass* ClipboardFormat) {
  std::erase_if(FEntries, [&](const TConversion& e) { return e.ClipboardFormatClass->InheritsFrom(ClipboardFormat); });
}

void TDataFormatMap::RemoveDataFormatClass(const TDataFormatClass* DataFormat) {
  std::erase_if(FEntries, [&](const TConversion& e) { return e.DataFormatClass->InheritsFrom(DataFormat); });
}

void TDataFormatMap::FillCompatibleFormats(const TDataFormatClass* Class, TClipboardFormats& List,
                                           bool TargetSide) const {
  List.Clear();
  const std::uint8_t side = TargetSide ? csTarget : csSource;
  for (const TConversion& e : FEntries) {
    if (!(e.Scopes & side) || !Class->InheritsFrom(e.DataFormatClass) || !e.ClipboardFormatClass->Create) continue;
    std::unique_ptr<TClipboardFormat> format(e.ClipboardFormatClass->Create());
    format->DataDirections = e.Directions;
    List.Add(std::move(format));
  }
}

void TDataFormatClasses::Add(const TDataFormatClass* Class) {
  if (std::find(FItems.begin(), FItems.end(), Class) == FItems.end()) FItems.push_back(Class);
}

void TDataFormatClasses::Remove(const TDataFormatClass* Class) { std::erase(FItems, Class); }

const TDataFormatClass* TDataFormatClasses::Find(const String& Name) const {
  for (const TDataFormatClass* c : FItems) {
    if (AnsiSameText(c->ClassName, Name)) return c;
  }
  return nullptr;
}

TDataFormatMap& DataFormatMap() {
  static TDataFormatMap map;
  return map;
}

TDataFormatClasses& DataFormatClasses() {
  static TDataFormatClasses classes;
  return classes;
}

void AddDataFormatClass(const TDataFormatClass* Class) { DataFormatClasses().Add(Class); }

void RemoveDataFormatClass(const TDataFormatClass* Class) {
  DataFormatMap().RemoveDataFormatClass(Class);
  DataFormatClasses().Remove(Class);
}
