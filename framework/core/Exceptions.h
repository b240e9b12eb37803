#pragma once
// The exception classes of the framework, Format and the raising helpers.
//
// Every exception derives from Exception, which is a TObject (so it has a
// class name and can be tested with Is<T>) and a std::exception (so what()
// gives the message).  An exception class is declared in one line with
// ZEL_EXCEPTION(EMyError, Exception); it then has a constructor taking the
// message and a CreateFmt that formats it:
//
//   throw EReadError(SReadError);
//   throw EListError::CreateFmt(SListIndexError, index);

#include <cstdint>
#include <exception>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

#include "framework/core/Object.h"

namespace zel {

// One argument of Format: an integer (signed or not), a text, a floating
// point number or a pointer.
struct TFormatArg {
  std::variant<int64_t, uint64_t, std::string_view, double, const void*> Value;

  template <class T>
  requires std::is_integral_v<T> TFormatArg(T v) {
    if constexpr (std::is_signed_v<T>)
      Value = int64_t(v);
    else
      Value = uint64_t(v);
  }
  template <class T>
  requires std::is_enum_v<T> TFormatArg(T v)
      : TFormatArg(static_cast<std::underlying_type_t<T>>(v)) {}
  TFormatArg(double v) : Value(v) {}
  TFormatArg(float v) : Value(double(v)) {}
  TFormatArg(std::string_view v) : Value(v) {}
  TFormatArg(const std::string& v) : Value(std::string_view(v)) {}
  TFormatArg(const char* v) : Value(std::string_view(v ? v : "")) {}
  TFormatArg(const void* v) : Value(v) {}
};

// Formats a text the way the framework's Format does, on UTF-8 texts:
//   %s text, %d signed decimal, %u unsigned decimal, %x / %X hexadecimal
//   (lower / upper case), %f %e %g %n floating point, %p pointer, %% a percent
//   sign.  Between % and the letter: an optional argument index "N:", "-" for
//   left alignment, "0" for zero padding, a width, and "." with a precision
//   (the least number of digits for integers, the most characters for texts,
//   the number of decimals for %f).  Width and precision may be "*", taken
//   from the arguments.  Widths count characters, not bytes.
// A bad format or an argument of the wrong kind raises EConvertError.
std::string FormatArgs(std::string_view fmt, std::span<const TFormatArg> args);

template <class... A> std::string Format(std::string_view fmt, const A&... args) {
  const TFormatArg list[] = {TFormatArg(args)..., TFormatArg(0)};
  return FormatArgs(fmt, std::span<const TFormatArg>(list, sizeof...(A)));
}

class Exception : public TObject, public std::exception {
  ZEL_CLASS(Exception, TObject)
public:
  explicit Exception(std::string message = {}) : FMessage(std::move(message)) {}
  template <class... A> static Exception CreateFmt(std::string_view fmt, const A&... args) {
    return Exception(Format(fmt, args...));
  }

  const std::string& Message() const { return FMessage; }
  void SetMessage(std::string message) { FMessage = std::move(message); }
  const char* what() const noexcept override { return FMessage.c_str(); }

private:
  std::string FMessage;
};

} // namespace zel

// Declares an exception class with the message constructor and CreateFmt.
#define ZEL_EXCEPTION(Cls, Base)                                                                   \
  class Cls : public Base {                                                                        \
    ZEL_CLASS(Cls, Base)                                                                           \
  public:                                                                                          \
    explicit Cls(std::string message = {}) : Base(std::move(message)) {}                           \
    template <class... A> static Cls CreateFmt(std::string_view fmt, const A&... args) {           \
      return Cls(::zel::Format(fmt, args...));                                                     \
    }                                                                                              \
  }

namespace zel {

// Raised by Abort; the application's error handling shows nothing for it.
ZEL_EXCEPTION(EAbort, Exception);
ZEL_EXCEPTION(EConvertError, Exception);
ZEL_EXCEPTION(EInvalidCast, Exception);
ZEL_EXCEPTION(EListError, Exception);
ZEL_EXCEPTION(EStringListError, EListError);
ZEL_EXCEPTION(EComponentError, Exception);
ZEL_EXCEPTION(EInvalidOperation, Exception);
ZEL_EXCEPTION(EInvalidPointer, Exception);
ZEL_EXCEPTION(EClassNotFound, Exception);
ZEL_EXCEPTION(EPropertyError, Exception);
ZEL_EXCEPTION(EPropertyConvertError, Exception);
ZEL_EXCEPTION(EOutOfMemory, Exception);
ZEL_EXCEPTION(EStreamError, Exception);
ZEL_EXCEPTION(EFilerError, EStreamError);
ZEL_EXCEPTION(EReadError, EFilerError);
ZEL_EXCEPTION(EWriteError, EFilerError);
ZEL_EXCEPTION(EFileStreamError, EStreamError);
ZEL_EXCEPTION(EFCreateError, EFileStreamError);
ZEL_EXCEPTION(EFOpenError, EFileStreamError);

// An operating-system failure with its error code.
class EOSError : public Exception {
  ZEL_CLASS(EOSError, Exception)
public:
  explicit EOSError(std::string message = {}, uint32_t code = 0)
      : Exception(std::move(message)), FErrorCode(code) {}
  template <class... A> static EOSError CreateFmt(std::string_view fmt, const A&... args) {
    return EOSError(Format(fmt, args...));
  }
  uint32_t ErrorCode() const { return FErrorCode; }
  void SetErrorCode(uint32_t code) { FErrorCode = code; }

private:
  uint32_t FErrorCode;
};

// Raises the silent EAbort.
[[noreturn]] void Abort();

// The system's text for an error code: for codes of the platform layer its
// message, for C library error numbers strerror's text.
std::string SysErrorMessage(uint32_t code);

// Raises EOSError for the last error of the platform layer or, when that is
// zero, for errno.  The message names the code and gives the system's text.
[[noreturn]] void RaiseLastOSError();
// Raises EOSError for the given platform error code.
[[noreturn]] void RaiseLastOSError(uint32_t code);
// Raises EOSError for a C library error number (errno value).
[[noreturn]] void RaiseErrnoError(int err);

} // namespace zel
