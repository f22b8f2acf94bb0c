// Root of the program's exception tree and the classes the class layer raises.
#pragma once
#include <stdexcept>
#include <string>

#include "platform/types.h"

// Every error the program raises derives from Exception; Message is UTF-8.
class Exception : public std::exception {
 public:
  explicit Exception(String message) : Message(std::move(message)) {}
  const char* what() const noexcept override { return Message.c_str(); }
  String Message;
};

#define ORV_EXCEPTION(Name, Base)           \
  class Name : public Base {                \
   public:                                  \
    using Base::Base;                       \
  };

ORV_EXCEPTION(EStreamError, Exception)
ORV_EXCEPTION(EReadError, EStreamError)
ORV_EXCEPTION(EWriteError, EStreamError)
ORV_EXCEPTION(EFileStreamError, EStreamError)
ORV_EXCEPTION(EFOpenError, EFileStreamError)
ORV_EXCEPTION(EFCreateError, EFileStreamError)
ORV_EXCEPTION(EListError, Exception)
ORV_EXCEPTION(EStringListError, EListError)
ORV_EXCEPTION(EConvertError, Exception)
ORV_EXCEPTION(EVariantError, Exception)
ORV_EXCEPTION(EComponentError, Exception)
ORV_EXCEPTION(EThread, Exception)
ORV_EXCEPTION(EInOutError, Exception)
ORV_EXCEPTION(EOSError, Exception)
ORV_EXCEPTION(EInvalidOperation, Exception)
