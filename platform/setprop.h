// Property setters of the controls: a value is stored only when it differs,
// and a control repaints only for a value that changed.
#pragma once
#include <utility>

// Stores Value in Field; true when that changed Field.
template <class T, class V>
bool StoreChanged(T& Field, V&& Value) {
  if (Field == Value) return false;
  Field = std::forward<V>(Value);
  return true;
}

// Stores Value in Field and, when that changed it, repaints Control.
template <class C, class T, class V>
void SetPainted(C& Control, T& Field, V&& Value) {
  if (StoreChanged(Field, std::forward<V>(Value))) Control.Invalidate();
}
