// IDataObject and its storage media behind the OS-free view.
#include "kem3/dragdrop/dragdropole_win.h"

#include <shlobj.h>

#include <cstring>

#include "kem3/dragdrop/dragdroppidl.h"
#include "kem3/dragdrop/fixedstreamadapter_win.h"

namespace {

// A received STGMEDIUM, released when the object goes.
class TOleMedium : public TStorageMedium {
 public:
  explicit TOleMedium(const STGMEDIUM& Medium) : FMedium(Medium) {}
  ~TOleMedium() override { ReleaseStgMedium(&FMedium); }
  TOleMedium(const TOleMedium&) = delete;
  TOleMedium& operator=(const TOleMedium&) = delete;

  std::uint32_t Tymed() const override { return FMedium.tymed; }
  std::int64_t GlobalSize() override { return static_cast<std::int64_t>(::GlobalSize(FMedium.hGlobal)); }
  const void* GlobalLock() override { return ::GlobalLock(FMedium.hGlobal); }
  void GlobalUnlock() override { ::GlobalUnlock(FMedium.hGlobal); }
  bool StatSize(std::int64_t& Size) override {
    STATSTG stat{};
    if (!FMedium.pstm || FMedium.pstm->Stat(&stat, STATFLAG_NONAME) != S_OK) return false;
    Size = static_cast<std::int64_t>(stat.cbSize.QuadPart);
    return true;
  }
  bool Rewind() override {
    LARGE_INTEGER zero{};
    return FMedium.pstm && SUCCEEDED(FMedium.pstm->Seek(zero, STREAM_SEEK_SET, nullptr));
  }
  bool Read(void* Buffer, std::uint32_t Count, std::uint32_t& Got) override {
    ULONG read = 0;
    const HRESULT hr = FMedium.pstm->Read(Buffer, Count, &read);
    Got = read;
    return SUCCEEDED(hr);
  }

 private:
  STGMEDIUM FMedium;
};

// The system's shell: paths of ID lists and names parsed by the desktop folder.
class TSystemShellNamespace : public TShellNamespace {
 public:
  WideString PathFromIDList(const TIDList& IDList) override {
    wchar_t path[MAX_PATH + 1] = {};
    if (IDList.size() < 2 || !SHGetPathFromIDListW(reinterpret_cast<LPCITEMIDLIST>(IDList.data()), path)) return {};
    return WideString(reinterpret_cast<const char16_t*>(path));
  }
  bool HasDesktop() override {
    TComPtr<IShellFolder> desktop;
    return SUCCEEDED(SHGetDesktopFolder(desktop.Put())) && desktop;
  }
  bool ParseDisplayName(const WideString& Name, TIDList& IDList) override {
    TComPtr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.Put())) || !desktop) return false;
    WideString name = Name;
    LPITEMIDLIST list = nullptr;
    if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, reinterpret_cast<LPWSTR>(name.data()), nullptr, &list,
                                         nullptr)) ||
        !list) {
      return false;
    }
    try {
      const char* bytes = reinterpret_cast<const char*>(list);
      // The shell's own list: its size comes from walking it up to the terminator.
      std::size_t size = 0;
      while (reinterpret_cast<const SHITEMID*>(bytes + size)->cb)
        size += reinterpret_cast<const SHITEMID*>(bytes + size)->cb;
      IDList.assign(bytes, size + 2);
    } catch (...) {
      CoTaskMemFree(list);
      throw;
    }
    CoTaskMemFree(list);
    return true;
  }
};

}  // namespace

TShellNamespace* SystemShellNamespace() {
  static TSystemShellNamespace shell;
  return &shell;
}

FORMATETC ToFormatEtc(const TFormatEtc& Format) {
  FORMATETC format{};
  format.cfFormat = Format.cfFormat;
  format.ptd = nullptr;
  format.dwAspect = Format.dwAspect;
  format.lindex = Format.lindex;
  format.tymed = Format.tymed;
  return format;
}

bool MakeStorageMedium(const TWrittenMedium& Written, STGMEDIUM& Medium) {
  Medium = STGMEDIUM{};
  if (Written.tymed == TYMED_ISTREAM) {
    // Handed over positioned at its end; readers rewind first.
    auto stream = std::make_unique<TStringStream>(Written.Bytes);
    stream->Seek(0, soEnd);
    Medium.tymed = TYMED_ISTREAM;
    Medium.pstm = new TFixedStreamAdapter(std::move(stream));
    return true;
  }
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, Written.Bytes.size());
  if (!block) return false;
  void* p = GlobalLock(block);
  if (!p) {
    GlobalFree(block);
    return false;
  }
  std::memcpy(p, Written.Bytes.data(), Written.Bytes.size());
  GlobalUnlock(block);
  Medium.tymed = TYMED_HGLOBAL;
  Medium.hGlobal = block;
  return true;
}

bool TOleDataObject::QueryGetData(const TFormatEtc& Format) {
  FORMATETC format = ToFormatEtc(Format);
  return FDataObject->QueryGetData(&format) == S_OK;
}

std::unique_ptr<TStorageMedium> TOleDataObject::GetData(const TFormatEtc& Format) {
  FORMATETC format = ToFormatEtc(Format);
  STGMEDIUM medium{};
  if (FDataObject->GetData(&format, &medium) != S_OK) return nullptr;
  return std::make_unique<TOleMedium>(medium);
}

bool TOleDataObject::SetData(const TFormatEtc& Format, const TWrittenMedium& Written) {
  FORMATETC format = ToFormatEtc(Format);
  STGMEDIUM medium;
  if (!MakeStorageMedium(Written, medium)) return false;
  if (FDataObject->SetData(&format, &medium, TRUE) == S_OK) return true;
  ReleaseStgMedium(&medium);
  return false;
}

void TOleDataObject::EnumFormats(const std::function<bool(const TFormatEtc&)>& Visit) {
  TComPtr<IEnumFORMATETC> enumerator;
  if (FAILED(FDataObject->EnumFormatEtc(DATADIR_GET, enumerator.Put())) || !enumerator) return;
  enumerator->Reset();
  // Every Next of another program's enumerator is a call across processes.
  for (int i = 0; i < kMaxOfferedFormats; ++i) {
    FORMATETC format{};
    ULONG fetched = 0;
    if (enumerator->Next(1, &format, &fetched) != S_OK || fetched < 1) break;
    TFormatEtc item;
    item.cfFormat = format.cfFormat;
    item.HasTargetDevice = format.ptd != nullptr;
    item.dwAspect = format.dwAspect;
    item.lindex = format.lindex;
    item.tymed = format.tymed;
    if (format.ptd) CoTaskMemFree(format.ptd);
    if (!Visit(item)) return;
  }
}

void InitDragDrop() {
  static bool started = false;
  if (started) return;
  started = true;
  OleInitialize(nullptr);
  RegisterDragDropFormats();
}
