// The OLE stream over one of our streams.
#include "kem3/dragdrop/fixedstreamadapter_win.h"

#include <algorithm>
#include <vector>

HRESULT TFixedStreamAdapter::QueryInterface(REFIID Iid, void** Object) {
  if (!Object) return E_POINTER;
  if (IsEqualIID(Iid, IID_IUnknown) || IsEqualIID(Iid, IID_ISequentialStream) || IsEqualIID(Iid, IID_IStream)) {
    *Object = static_cast<IStream*>(this);
    AddRef();
    return S_OK;
  }
  *Object = nullptr;
  return E_NOINTERFACE;
}

ULONG TFixedStreamAdapter::Release() {
  const LONG count = InterlockedDecrement(&FRefCount);
  if (count == 0) delete this;  // the reference count owns the object
  return count;
}

HRESULT TFixedStreamAdapter::Read(void* Buffer, ULONG Count, ULONG* ReadCount) {
  try {
    const auto got = static_cast<ULONG>(FStream->Read(Buffer, Count));
    if (ReadCount) *ReadCount = got;
    return S_OK;
  } catch (...) {
    return S_FALSE;
  }
}

HRESULT TFixedStreamAdapter::Write(const void* Buffer, ULONG Count, ULONG* Written) {
  try {
    const auto put = static_cast<ULONG>(FStream->Write(Buffer, Count));
    if (Written) *Written = put;
    return S_OK;
  } catch (...) {
    return STG_E_CANTSAVE;
  }
}

HRESULT TFixedStreamAdapter::Seek(LARGE_INTEGER Move, DWORD Origin, ULARGE_INTEGER* NewPosition) {
  if (Origin > STREAM_SEEK_END) return STG_E_INVALIDFUNCTION;
  try {
    const std::int64_t position = FStream->Seek(Move.QuadPart, static_cast<TSeekOrigin>(Origin));
    if (NewPosition) NewPosition->QuadPart = static_cast<ULONGLONG>(position);
    return S_OK;
  } catch (...) {
    return STG_E_INVALIDPOINTER;
  }
}

HRESULT TFixedStreamAdapter::SetSize(ULARGE_INTEGER NewSize) {
  try {
    FStream->SetSize(static_cast<std::int64_t>(NewSize.QuadPart));
    return S_OK;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

HRESULT TFixedStreamAdapter::CopyTo(IStream* Dest, ULARGE_INTEGER Count, ULARGE_INTEGER* Read,
                                    ULARGE_INTEGER* Written) {
  std::uint64_t readTotal = 0, writtenTotal = 0;
  HRESULT result = S_OK;
  try {
    auto count = static_cast<std::int64_t>(Count.QuadPart);
    if (count < 0) {
      // All the rest; a stream standing at its end is copied from its start.
      if (FStream->Position() == FStream->Size()) FStream->SetPosition(0);
      count = FStream->Size() - FStream->Position();
    }
    std::vector<char> buffer(static_cast<std::size_t>(std::min<std::int64_t>(count, 0x100000)));
    while (count > 0) {
      const std::int64_t n = std::min<std::int64_t>(static_cast<std::int64_t>(buffer.size()), count);
      const std::int64_t got = FStream->Read(buffer.data(), n);
      if (got == 0) break;
      readTotal += static_cast<std::uint64_t>(got);
      ULONG put = 0;
      result = Dest->Write(buffer.data(), static_cast<ULONG>(got), &put);
      writtenTotal += put;
      if (SUCCEEDED(result) && put < got) result = E_FAIL;
      if (result != S_OK) break;
      count -= put;
    }
  } catch (...) {
    result = E_UNEXPECTED;
  }
  if (Read) Read->QuadPart = readTotal;
  if (Written) Written->QuadPart = writtenTotal;
  return result;
}

HRESULT TFixedStreamAdapter::Stat(STATSTG* Stat, DWORD) {
  if (!Stat) return STG_E_INVALIDPOINTER;
  *Stat = STATSTG{};
  Stat->type = STGTY_STREAM;
  Stat->grfMode = STGM_READWRITE;
  try {
    Stat->cbSize.QuadPart = static_cast<ULONGLONG>(FStream->Size());
  } catch (...) {
    return E_UNEXPECTED;
  }
  return S_OK;
}

HRESULT TFixedStreamAdapter::Clone(IStream** Stream) {
  if (Stream) *Stream = nullptr;
  return E_NOTIMPL;
}
