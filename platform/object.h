// Root of the class layer's object tree and the one sanctioned way to free an object.
#pragma once
#include <type_traits>

// Base of every class that lists hold as an object reference or that an owner frees.
class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = default;
  TObject& operator=(const TObject&) = default;
  virtual ~TObject();

  // Runs while the object is still whole, before any destructor body: a
  // component marks itself as going away here, so its own code and its
  // derived destructors already see that.
  virtual void BeforeDestruction() {}

  // Frees the object. Callers never write delete themselves; owners, owning
  // lists and FreeAndNil come through here.
  void Free() {
    BeforeDestruction();
    delete this;
  }
};

// Clears the reference first, then frees the object, so code that runs while
// it goes already sees the reference as nil. A nil reference is left alone.
template <class T>
void FreeAndNil(T*& object) {
  static_assert(std::is_base_of_v<TObject, T>, "FreeAndNil frees TObject descendants");
  T* doomed = object;
  object = nullptr;
  if (doomed) doomed->Free();
}
