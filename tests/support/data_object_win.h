// An IDataObject of the tests' own, offering each format's bytes in a memory
// block, recording what a target writes into it, and an IDropSource that ends
// a drag with a drop after a few turns.
#pragma once
#include <ole2.h>
#include <shlobj.h>
#include <windows.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace testdnd {

class DataObject : public IDataObject {
 public:
  DataObject& Offer(CLIPFORMAT cf, std::string bytes) {
    if (!formats_.count(cf)) order_.push_back(cf);
    formats_[cf] = std::move(bytes);
    return *this;
  }
  DataObject& Offer(const char* name, std::string bytes) {
    return Offer(static_cast<CLIPFORMAT>(RegisterClipboardFormatA(name)), std::move(bytes));
  }
  // The 32-bit value a target wrote for a format, -1 when none.
  long long Written(const char* name) const {
    auto it = written_.find(static_cast<CLIPFORMAT>(RegisterClipboardFormatA(name)));
    if (it == written_.end() || it->second.size() < 4) return -1;
    DWORD value;
    std::memcpy(&value, it->second.data(), 4);
    return value;
  }
  LONG References() const { return refs_; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
      *object = static_cast<IDataObject*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  // Lives on the test's stack: the count only shows that every reference was given back.
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override { return InterlockedDecrement(&refs_); }

  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
    const std::string& bytes = formats_[format->cfFormat];
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!block) return E_OUTOFMEMORY;
    if (!bytes.empty()) {
      std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
      GlobalUnlock(block);
    }
    *medium = STGMEDIUM{};
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = block;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    if (!format || !formats_.count(format->cfFormat)) return DV_E_FORMATETC;
    return (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_TYMED;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    out->ptd = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override {
    std::string bytes;
    if (medium->tymed == TYMED_HGLOBAL) {
      bytes.assign(static_cast<const char*>(GlobalLock(medium->hGlobal)), GlobalSize(medium->hGlobal));
      GlobalUnlock(medium->hGlobal);
    } else if (medium->tymed == TYMED_ISTREAM) {
      LARGE_INTEGER zero{};
      medium->pstm->Seek(zero, STREAM_SEEK_SET, nullptr);
      char buffer[64];
      ULONG got = 0;
      medium->pstm->Read(buffer, sizeof buffer, &got);
      bytes.assign(buffer, got);
    }
    written_[format->cfFormat] = bytes;
    if (release) ReleaseStgMedium(medium);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
    if (direction != DATADIR_GET) return E_NOTIMPL;
    std::vector<FORMATETC> list;
    for (CLIPFORMAT cf : order_) list.push_back(FORMATETC{cf, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL});
    return SHCreateStdEnumFmtEtc(static_cast<UINT>(list.size()), list.data(), out);
  }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

 private:
  LONG refs_ = 1;
  std::map<CLIPFORMAT, std::string> formats_;
  std::vector<CLIPFORMAT> order_;
  std::map<CLIPFORMAT, std::string> written_;
};

// A CF_HDROP block with wide names.
inline std::string DropFiles(const std::vector<std::wstring>& files) {
  std::string block(20, '\0');
  block[0] = 20;
  block[16] = 1;
  for (const std::wstring& f : files) {
    block.append(reinterpret_cast<const char*>(f.c_str()), (f.size() + 1) * 2);
  }
  return block.append(2, '\0');
}

// Ends the drag with a drop once it has been asked a few times, so that the
// drag has entered the window under the pointer first.
class DropSource : public IDropSource {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropSource)) {
      *object = static_cast<IDropSource*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL, DWORD) override { return ++turns_ >= 6 ? DRAGDROP_S_DROP : S_OK; }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

 private:
  int turns_ = 0;
};

}  // namespace testdnd
