// TFixedStreamAdapter: one of our streams handed to a data object as an OLE
// IStream. It owns the stream; CopyTo copies in bounded chunks and starts from
// the beginning when asked for all of a stream that stands at its end.
#pragma once
#include <objidl.h>
#include <windows.h>

#include <memory>

#include "platform/streams.h"

class TFixedStreamAdapter : public IStream {
 public:
  explicit TFixedStreamAdapter(std::unique_ptr<TStream> Stream) : FStream(std::move(Stream)) {}
  virtual ~TFixedStreamAdapter() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Iid, void** Object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&FRefCount); }
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE Read(void* Buffer, ULONG Count, ULONG* Read) override;
  HRESULT STDMETHODCALLTYPE Write(const void* Buffer, ULONG Count, ULONG* Written) override;
  HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER Move, DWORD Origin, ULARGE_INTEGER* NewPosition) override;
  HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER NewSize) override;
  HRESULT STDMETHODCALLTYPE CopyTo(IStream* Dest, ULARGE_INTEGER Count, ULARGE_INTEGER* Read,
                                   ULARGE_INTEGER* Written) override;
  HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Revert() override { return STG_E_REVERTED; }
  HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
  HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
    return STG_E_INVALIDFUNCTION;
  }
  HRESULT STDMETHODCALLTYPE Stat(STATSTG* Stat, DWORD Flag) override;
  HRESULT STDMETHODCALLTYPE Clone(IStream** Stream) override;

 private:
  LONG FRefCount = 1;
  std::unique_ptr<TStream> FStream;
};
