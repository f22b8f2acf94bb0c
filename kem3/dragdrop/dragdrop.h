// The two layers that read a dropped data object: clipboard formats (one format
// description each, and how to read its storage medium) and data formats (one
// kind of content, filled from their clipboard formats in priority order), the
// process-wide conversion map that ties them together, and the OS-free view of
// a data object and its storage media that the Windows build fills from OLE.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/component.h"
#include "platform/events.h"
#include "platform/exceptions.h"
#include "platform/object.h"
#include "platform/types.h"

// Standard clipboard format ids; the others are registered by name.
inline constexpr std::uint16_t cfText = 1, cfOEMText = 7, cfUnicodeText = 13, cfHDrop = 15;
// Storage medium types and the content aspect, as OLE numbers them.
inline constexpr std::uint32_t tymedHGlobal = 1, tymedIStream = 4;
inline constexpr std::uint32_t dvaspectContent = 1;

// What is asked of a data object (the system's FORMATETC; a target device is
// only ever compared, never read).
struct TFormatEtc {
  std::uint16_t cfFormat = 0;
  bool HasTargetDevice = false;
  std::uint32_t dwAspect = dvaspectContent;
  std::int32_t lindex = -1;
  std::uint32_t tymed = 0;
};

// One storage medium received from a data object; released when freed.
class TStorageMedium {
 public:
  virtual ~TStorageMedium() = default;
  virtual std::uint32_t Tymed() const = 0;
  // Memory block: its size, and the bytes while locked (nil when it cannot be locked).
  virtual std::int64_t GlobalSize() { return 0; }
  virtual const void* GlobalLock() { return nullptr; }
  virtual void GlobalUnlock() {}
  // Stream: the size it reports (false when Stat fails), rewinding and reading.
  virtual bool StatSize(std::int64_t& /*Size*/) { return false; }
  virtual bool Rewind() { return false; }
  // False when the read fails; Got may be less than Count (0 at the end).
  virtual bool Read(void* /*Buffer*/, std::uint32_t /*Count*/, std::uint32_t& Got) {
    Got = 0;
    return false;
  }
};

// A medium a clipboard format fills for a data object: its type and bytes (a
// stream is handed over positioned at its end).
struct TWrittenMedium {
  std::uint32_t tymed = 0;
  std::string Bytes;
};

// The OS-free view of an OLE data object.
class TDropDataObject {
 public:
  virtual ~TDropDataObject() = default;
  virtual bool QueryGetData(const TFormatEtc& Format) = 0;
  virtual std::unique_ptr<TStorageMedium> GetData(const TFormatEtc& Format) = 0;  // nil when refused
  virtual bool SetData(const TFormatEtc& Format, const TWrittenMedium& Medium) = 0;
  // Hands the formats offered for reading to Visit, in the data object's
  // order, until Visit returns false, the formats end or kMaxOfferedFormats
  // were handed over.
  virtual void EnumFormats(const std::function<bool(const TFormatEtc&)>& Visit) = 0;
};

// A data object offers a few dozen formats at most; an enumerator that goes on
// beyond this is not followed further (it could go on for ever).
inline constexpr int kMaxOfferedFormats = 256;

// The id of a registered clipboard format, registered once per process on first use.
std::uint16_t RegisterClipboardFormatName(const char* Name);
// The registered name of an id (at most 255 characters), empty when it has none.
String ClipboardFormatNameOf(std::uint16_t Id);

class TClipboardFormat;
class TCustomDataFormat;
class TDragDropComponent;

// Class references: the conversion map and the adapters name classes, compare
// them by inheritance and create instances from them.
struct TClipboardFormatClass {
  const char* ClassName;
  const TClipboardFormatClass* Parent;
  TClipboardFormat* (*Create)();  // nil for an abstract class
  bool InheritsFrom(const TClipboardFormatClass* Other) const;
};
struct TDataFormatClass {
  const char* ClassName;
  const TDataFormatClass* Parent;
  TCustomDataFormat* (*Create)(TDragDropComponent* Owner);
  bool InheritsFrom(const TDataFormatClass* Other) const;
};

// Declares a concrete clipboard format class with its own registered id.
#define ORV_DD_CLIPBOARD_CLASS(Name)                                         \
 public:                                                                     \
  static const TClipboardFormatClass Class;                                  \
  const TClipboardFormatClass* ClassType() const override { return &Class; } \
  std::uint16_t GetClipboardFormat() override;

// Declares a base clipboard format class shared by several concrete ones.
#define ORV_DD_ABSTRACT_CLASS(Name)         \
 public:                                    \
  static const TClipboardFormatClass Class; \
  const TClipboardFormatClass* ClassType() const override { return &Class; }

enum TDataDirection : std::uint8_t { ddRead = 1, ddWrite = 2 };
enum TConversionScope : std::uint8_t { csSource = 1, csTarget = 2 };

class TClipboardFormat : public TObject {
 public:
  explicit TClipboardFormat(std::uint32_t MediumTypes) : FMediumTypes(MediumTypes) {}
  static const TClipboardFormatClass Class;
  virtual const TClipboardFormatClass* ClassType() const { return &Class; }

  // Reads the content from a medium of one of the format's types; false in the base.
  virtual bool ReadMedium(TDropDataObject& /*DataObject*/, TStorageMedium& /*Medium*/) { return false; }
  // Fills a medium with the content for Format's medium types; false in the base.
  virtual bool WriteMedium(const TFormatEtc& /*Format*/, TWrittenMedium& /*Medium*/) { return false; }
  // The clipboard format id: each concrete class has its own.
  virtual std::uint16_t GetClipboardFormat();
  String ClipboardFormatName() { return ClipboardFormatNameOf(GetClipboardFormat()); }
  TFormatEtc FormatEtc();

  virtual bool HasValidFormats(TDropDataObject& DataObject);
  virtual bool AcceptFormat(const TFormatEtc& Format);
  // Clears, asks the data object for the format and reads the medium it hands out.
  virtual bool GetData(TDropDataObject& DataObject);
  // Fills a medium for Format (when it matches) and hands it to the data object.
  virtual bool SetData(TDropDataObject& DataObject, const TFormatEtc& Format);
  // Give content to or take it from a data format; false when this format does not convert.
  virtual bool Assign(TCustomDataFormat& /*Source*/) { return false; }
  virtual bool AssignTo(TCustomDataFormat& /*Dest*/) { return false; }
  virtual void Clear() = 0;
  virtual bool HasData() { return true; }

  std::uint8_t DataDirections = ddRead;
  TCustomDataFormat* DataFormat = nullptr;

 protected:
  std::uint32_t FMediumTypes;
  std::int32_t FIndex = -1;
};

// An ordered list of clipboard formats of one data format, which it owns.
class TClipboardFormats {
 public:
  explicit TClipboardFormats(TCustomDataFormat* Owner) : FOwner(Owner) {}
  void Add(std::unique_ptr<TClipboardFormat> Format);
  void Clear() { FItems.clear(); }
  int Count() const { return static_cast<int>(FItems.size()); }
  TClipboardFormat* operator[](int Index) const { return FItems[Index].get(); }

 private:
  TCustomDataFormat* FOwner;
  std::vector<std::unique_ptr<TClipboardFormat>> FItems;
};

class TCustomDataFormat : public TObject {
 public:
  // Owner: a component that takes data formats (a multi target) or nil; the new
  // format joins its list and is freed by it.
  explicit TCustomDataFormat(TDragDropComponent* AOwner, const TDataFormatClass* AClass);
  ~TCustomDataFormat() override;
  static const TDataFormatClass Class;
  const TDataFormatClass* ClassType() const { return FClass; }

  virtual void Clear() = 0;
  virtual bool HasData() = 0;
  virtual bool WantsData() { return !HasData(); }
  // Takes the content of a clipboard format; the base hands the step to it.
  virtual bool Assign(TClipboardFormat& Source) { return Source.AssignTo(*this); }
  virtual bool AssignTo(TClipboardFormat& Dest) { return Dest.Assign(*this); }
  // Reads the data object through the compatible formats while it wants data.
  virtual bool GetData(TDropDataObject& DataObject);
  virtual bool HasValidFormats(TDropDataObject& DataObject);
  virtual bool AcceptFormat(const TFormatEtc& Format);

  TDragDropComponent* Owner() const { return FOwner; }
  TClipboardFormats& CompatibleFormats() { return FCompatibleFormats; }
  TNotifyEvent OnChanging;

 protected:
  void Changing() {
    if (OnChanging) OnChanging(this);
  }

 private:
  friend class TDragDropComponent;
  TDragDropComponent* FOwner;
  const TDataFormatClass* FClass;
  TClipboardFormats FCompatibleFormats{this};
};

// A component with a list of data formats, which it frees (the drop target).
class TDragDropComponent : public TComponent {
 public:
  explicit TDragDropComponent(TComponent* AOwner) : TComponent(AOwner) {}
  ~TDragDropComponent() override;
  // Whether data formats may be attached to it (only a multi target takes them).
  virtual bool TakesDataFormats() const { return false; }
  int AddDataFormat(TCustomDataFormat* Format);  // its index; present already: that index
  void RemoveDataFormat(TCustomDataFormat* Format);
  const std::vector<TCustomDataFormat*>& DataFormats() const { return FDataFormats; }
  bool OwnsDataFormat(const TCustomDataFormat* Format) const;

 private:
  std::vector<TCustomDataFormat*> FDataFormats;
};

// One entry of the conversion map.
struct TConversion {
  const TDataFormatClass* DataFormatClass;
  const TClipboardFormatClass* ClipboardFormatClass;
  std::int32_t Priority;
  std::uint8_t Scopes;
  std::uint8_t Directions;
};

// Which clipboard formats feed which data format, in priority order.
class TDataFormatMap {
 public:
  void AddConversion(const TDataFormatClass* DataFormat, const TClipboardFormatClass* ClipboardFormat,
                     std::int32_t Priority, std::uint8_t Scopes, std::uint8_t Directions);
  void RemoveClipboardFormatClass(const TClipboardFormatClass* ClipboardFormat);
  void RemoveDataFormatClass(const TDataFormatClass* DataFormat);
  // Creates the clipboard formats of every entry for Class (or an ancestor of
  // it) on the given side, in map order.
  void FillCompatibleFormats(const TDataFormatClass* Class, TClipboardFormats& List, bool TargetSide) const;
  const std::vector<TConversion>& Entries() const { return FEntries; }

 private:
  std::vector<TConversion> FEntries;
};

// The registered data format classes, in registration order.
class TDataFormatClasses {
 public:
  void Add(const TDataFormatClass* Class);
  void Remove(const TDataFormatClass* Class);
  // Case-insensitive; nil when none has the name.
  const TDataFormatClass* Find(const String& Name) const;
  const std::vector<const TDataFormatClass*>& Items() const { return FItems; }

 private:
  std::vector<const TDataFormatClass*> FItems;
};

TDataFormatMap& DataFormatMap();
TDataFormatClasses& DataFormatClasses();
void AddDataFormatClass(const TDataFormatClass* Class);
void RemoveDataFormatClass(const TDataFormatClass* Class);  // from the map and the class list

// Registers the data format classes and conversions of the drag-and-drop layer
// in their fixed order (priority ties depend on it). Runs once; later calls do nothing.
void RegisterDragDropFormats();
