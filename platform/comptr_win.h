// TComPtr: holds one reference to a COM object and releases it when it goes.
#pragma once
#include "platform/winapi_win.h"

#include <utility>

template <class T>
class TComPtr {
 public:
  TComPtr() = default;
  // Takes over a reference the caller already holds.
  explicit TComPtr(T* Object) : FObject(Object) {}
  TComPtr(const TComPtr& Other) : FObject(Other.FObject) {
    if (FObject) FObject->AddRef();
  }
  TComPtr(TComPtr&& Other) noexcept : FObject(std::exchange(Other.FObject, nullptr)) {}
  TComPtr& operator=(TComPtr Other) noexcept {
    std::swap(FObject, Other.FObject);
    return *this;
  }
  ~TComPtr() { Reset(); }

  // A new reference of its own to Object.
  static TComPtr AddRefed(T* Object) {
    if (Object) Object->AddRef();
    return TComPtr(Object);
  }
  void Reset() {
    if (FObject) std::exchange(FObject, nullptr)->Release();
  }
  T* Get() const { return FObject; }
  T* operator->() const { return FObject; }
  explicit operator bool() const { return FObject != nullptr; }
  // For calls that hand out a new reference: releases the current one first.
  T** Put() {
    Reset();
    return &FObject;
  }

 private:
  T* FObject = nullptr;
};
