// Definitions shared by the clipboard and data format classes of this folder:
// the class reference of a concrete class and its registered format id.
#pragma once
#include "kem3/dragdrop/dragdrop.h"

#define ORV_DD_CLIPBOARD_IMPL(Name, Base, Registered)                                               \
  const TClipboardFormatClass Name::Class{#Name, &Base::Class,                                      \
                                          [] { return static_cast<TClipboardFormat*>(new Name); }}; \
  std::uint16_t Name::GetClipboardFormat() { return RegisterClipboardFormatName(Registered); }

#define ORV_DD_CLIPBOARD_IMPL_ID(Name, Base, Id)                                                    \
  const TClipboardFormatClass Name::Class{#Name, &Base::Class,                                      \
                                          [] { return static_cast<TClipboardFormat*>(new Name); }}; \
  std::uint16_t Name::GetClipboardFormat() { return Id; }

#define ORV_DD_ABSTRACT_IMPL(Name, Base) const TClipboardFormatClass Name::Class{#Name, &Base::Class, nullptr};

#define ORV_DD_DATA_FORMAT_IMPL(Name, Base)               \
  const TDataFormatClass Name::Class{#Name, &Base::Class, \
                                     [](TDragDropComponent* owner) -> TCustomDataFormat* { return new Name(owner); }};
