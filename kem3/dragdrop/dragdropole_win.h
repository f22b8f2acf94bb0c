// The OLE side of a drop: an IDataObject seen as a TDropDataObject, its
// storage media, and OLE's start for the drag-and-drop layer.
#pragma once
#include <ole2.h>
#include <windows.h>

#include "kem3/dragdrop/dragdrop.h"
#include "platform/comptr_win.h"

class TOleDataObject : public TDropDataObject {
 public:
  explicit TOleDataObject(IDataObject* DataObject) : FDataObject(TComPtr<IDataObject>::AddRefed(DataObject)) {}
  bool QueryGetData(const TFormatEtc& Format) override;
  std::unique_ptr<TStorageMedium> GetData(const TFormatEtc& Format) override;
  bool SetData(const TFormatEtc& Format, const TWrittenMedium& Medium) override;
  void EnumFormats(const std::function<bool(const TFormatEtc&)>& Visit) override;
  IDataObject* Interface() const { return FDataObject.Get(); }

 private:
  TComPtr<IDataObject> FDataObject;
};

FORMATETC ToFormatEtc(const TFormatEtc& Format);
// A new medium holding the bytes, as a memory block or a stream positioned at
// its end; false when the system refuses the memory.
bool MakeStorageMedium(const TWrittenMedium& Written, STGMEDIUM& Medium);

// OLE for the GUI thread (drag and drop needs OLE, not only COM) and the
// registration of the data formats; call once before the first drop target.
void InitDragDrop();
