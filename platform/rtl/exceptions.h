// The exception hierarchy: every failure is an Exception with a Message.
#pragma once

#include <exception>

#include "rtl/format.h"
#include "rtl/types.h"

namespace brevant {

class Exception : public std::exception {
 public:
  explicit Exception(String message) : message_(std::move(message)) {}
  // Formats the message; a format fault still yields a readable message.
  Exception(const String& fmt, TVarRecs args);
  Exception(const Exception&) = default;
  Exception& operator=(const Exception&) = default;
  ~Exception() override = default;

  const String& Message() const noexcept { return message_; }
  void SetMessage(String m) { message_ = std::move(m); }
  const char* what() const noexcept override { return message_.c_str(); }

  // The class name, as an application's error handler shows it.
  virtual const char* ClassName() const noexcept { return "Exception"; }
  // Copies the exception and throws the copy with its dynamic type; lets a
  // caller keep an exception and raise it again later.
  [[noreturn]] virtual void Raise() const { throw *this; }

 private:
  String message_;
};

// Declares an exception class with its name and parent.
#define BV_DECLARE_EXCEPTION(Name, Parent)                            \
  class Name : public Parent {                                        \
   public:                                                            \
    using Parent::Parent;                                             \
    const char* ClassName() const noexcept override { return #Name; } \
    [[noreturn]] void Raise() const override { throw *this; }         \
  }

BV_DECLARE_EXCEPTION(EAbort, Exception);  // silent: handlers show nothing
BV_DECLARE_EXCEPTION(EConvertError, Exception);
BV_DECLARE_EXCEPTION(EVariantError, Exception);
BV_DECLARE_EXCEPTION(EInvalidCast, Exception);
BV_DECLARE_EXCEPTION(EInvalidOperation, Exception);
BV_DECLARE_EXCEPTION(EInvalidPointer, Exception);
BV_DECLARE_EXCEPTION(EOutOfMemory, Exception);
BV_DECLARE_EXCEPTION(EListError, Exception);
BV_DECLARE_EXCEPTION(EStringListError, EListError);
BV_DECLARE_EXCEPTION(EStreamError, Exception);
BV_DECLARE_EXCEPTION(EFileStreamError, EStreamError);
BV_DECLARE_EXCEPTION(EFOpenError, EFileStreamError);
BV_DECLARE_EXCEPTION(EFCreateError, EFileStreamError);
BV_DECLARE_EXCEPTION(EReadError, EStreamError);   // filer errors while reading
BV_DECLARE_EXCEPTION(EWriteError, EStreamError);  // filer errors while writing
BV_DECLARE_EXCEPTION(EClassNotFound, EReadError);
BV_DECLARE_EXCEPTION(EComponentError, Exception);
BV_DECLARE_EXCEPTION(EDatabaseError, Exception);
BV_DECLARE_EXCEPTION(EOSError, Exception);
BV_DECLARE_EXCEPTION(EIntError, Exception);
BV_DECLARE_EXCEPTION(EDivByZero, EIntError);
BV_DECLARE_EXCEPTION(ERangeError, EIntError);
BV_DECLARE_EXCEPTION(EIntOverflow, EIntError);
BV_DECLARE_EXCEPTION(EMathError, Exception);
BV_DECLARE_EXCEPTION(EZeroDivide, EMathError);
BV_DECLARE_EXCEPTION(EOverflow, EMathError);
BV_DECLARE_EXCEPTION(EUnderflow, EMathError);
BV_DECLARE_EXCEPTION(EInvalidOp, EMathError);

// A parse error of the text form; carries the 1-based line it was found on.
class EParserError : public EReadError {
 public:
  EParserError(const String& message, Integer line) : EReadError(message), line_(line) {}
  Integer Line() const noexcept { return line_; }
  const char* ClassName() const noexcept override { return "EParserError"; }
  [[noreturn]] void Raise() const override { throw *this; }

 private:
  Integer line_;
};

// Raises EAbort with no message: the "silent" exception.
[[noreturn]] void Abort();

}  // namespace brevant
