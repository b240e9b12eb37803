#include "framework/core/Exceptions.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "framework/core/Consts.h"
#include "framework/core/StrUtils.h"
#include "platform/LastError.h"

namespace zel {

namespace {

// One conversion of a format text, as parsed.
struct TFormatField {
  bool LeftAlign = false;
  bool ZeroPad = false;
  int Width = -1;
  int Precision = -1;
  char Type = 0;
};

class TFormatter {
public:
  TFormatter(std::string_view fmt, std::span<const TFormatArg> args) : FFmt(fmt), FArgs(args) {}

  std::string Run() {
    std::string out;
    size_t i = 0;
    while (i < FFmt.size()) {
      size_t pct = FFmt.find('%', i);
      if (pct == std::string_view::npos) {
        out.append(FFmt.substr(i));
        break;
      }
      out.append(FFmt.substr(i, pct - i));
      i = pct + 1;
      if (i < FFmt.size() && FFmt[i] == '%') {
        out.push_back('%');
        ++i;
        continue;
      }
      TFormatField field = ParseField(i);
      out += Pad(Convert(field, NextArg()), field);
    }
    return out;
  }

private:
  [[noreturn]] void Fail() const { throw EConvertError::CreateFmt(SInvalidFormat, FFmt); }

  const TFormatArg& NextArg() {
    if (FNext >= FArgs.size()) Fail();
    return FArgs[FNext++];
  }

  // Reads digits or "*" (an integer argument); -1 when there is neither.
  int ReadNumber(size_t& i) {
    if (i < FFmt.size() && FFmt[i] == '*') {
      ++i;
      const TFormatArg& a = NextArg();
      if (auto* v = std::get_if<int64_t>(&a.Value))
        return *v < 0 ? -1 : int(std::min<int64_t>(*v, 1 << 20));
      if (auto* v = std::get_if<uint64_t>(&a.Value)) return int(std::min<uint64_t>(*v, 1 << 20));
      Fail();
    }
    int n = -1;
    while (i < FFmt.size() && FFmt[i] >= '0' && FFmt[i] <= '9') {
      n = (n < 0 ? 0 : n) * 10 + (FFmt[i] - '0');
      if (n > (1 << 20)) Fail();
      ++i;
    }
    return n;
  }

  TFormatField ParseField(size_t& i) {
    TFormatField field;
    // An argument index "N:" selects the argument and the following ones.
    size_t save = i;
    int index = -1;
    while (i < FFmt.size() && FFmt[i] >= '0' && FFmt[i] <= '9' && index < (1 << 20))
      index = (index < 0 ? 0 : index) * 10 + (FFmt[i++] - '0');
    if (index >= 0 && i < FFmt.size() && FFmt[i] == ':') {
      FNext = size_t(index);
      ++i;
    } else {
      i = save;
    }
    if (i < FFmt.size() && FFmt[i] == '-') {
      field.LeftAlign = true;
      ++i;
    }
    if (i < FFmt.size() && FFmt[i] == '0') {
      field.ZeroPad = true;
      ++i;
    }
    field.Width = ReadNumber(i);
    if (i < FFmt.size() && FFmt[i] == '.') {
      ++i;
      field.Precision = ReadNumber(i);
      if (field.Precision < 0) field.Precision = 0;
    }
    if (i >= FFmt.size()) Fail();
    field.Type = FFmt[i++];
    return field;
  }

  // A negative value that fits in 32 bits shows as its 32-bit pattern, the
  // way colours and other 32-bit values are written.
  static uint64_t Unsigned(const TFormatArg& a) {
    if (auto* v = std::get_if<uint64_t>(&a.Value)) return *v;
    int64_t s = std::get<int64_t>(a.Value);
    if (s < 0 && s >= INT32_MIN) return uint32_t(int32_t(s));
    return uint64_t(s);
  }

  static bool IsInteger(const TFormatArg& a) {
    return std::holds_alternative<int64_t>(a.Value) || std::holds_alternative<uint64_t>(a.Value);
  }

  std::string Convert(TFormatField& field, const TFormatArg& a) {
    switch (field.Type) {
    case 'd':
    case 'D': {
      if (!IsInteger(a)) Fail();
      bool negative = false;
      uint64_t magnitude;
      if (auto* v = std::get_if<int64_t>(&a.Value)) {
        negative = *v < 0;
        magnitude = negative ? uint64_t(0) - uint64_t(*v) : uint64_t(*v);
      } else {
        magnitude = std::get<uint64_t>(a.Value);
      }
      return Digits(std::to_string(magnitude), field, negative ? "-" : "");
    }
    case 'u':
    case 'U':
      if (!IsInteger(a)) Fail();
      return Digits(std::to_string(Unsigned(a)), field, "");
    case 'x':
    case 'X': {
      if (!IsInteger(a)) Fail();
      char buf[32];
      std::snprintf(buf, sizeof buf, field.Type == 'x' ? "%llx" : "%llX",
                    static_cast<unsigned long long>(Unsigned(a)));
      return Digits(buf, field, "");
    }
    case 's':
    case 'S': {
      auto* v = std::get_if<std::string_view>(&a.Value);
      if (!v) Fail();
      field.ZeroPad = false;
      if (field.Precision >= 0) return Utf8Truncate(*v, field.Precision);
      return std::string(*v);
    }
    case 'p':
    case 'P': {
      auto* v = std::get_if<const void*>(&a.Value);
      if (!v) Fail();
      char buf[32];
      std::snprintf(buf, sizeof buf, "%0*llX", int(sizeof(void*) * 2),
                    static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(*v)));
      return buf;
    }
    case 'f':
    case 'F':
    case 'e':
    case 'E':
    case 'g':
    case 'G':
    case 'n':
    case 'N':
      return Float(field, a);
    default:
      Fail();
    }
  }

  // Integer digits: the precision is the least number of digits; a zero flag
  // pads with zeros to the width after the sign.
  static std::string Digits(std::string digits, TFormatField& field, const char* sign) {
    if (field.Precision > 0 && int(digits.size()) < field.Precision)
      digits.insert(0, size_t(field.Precision) - digits.size(), '0');
    std::string s = sign + digits;
    if (field.ZeroPad && !field.LeftAlign && field.Width > int(s.size()))
      s.insert(std::strlen(sign), size_t(field.Width) - s.size(), '0');
    field.ZeroPad = false;
    return s;
  }

  std::string Float(TFormatField& field, const TFormatArg& a) {
    double d;
    if (auto* v = std::get_if<double>(&a.Value))
      d = *v;
    else if (auto* v = std::get_if<int64_t>(&a.Value))
      d = double(*v);
    else if (auto* v = std::get_if<uint64_t>(&a.Value))
      d = double(*v);
    else
      Fail();
    char type = char(std::tolower(static_cast<unsigned char>(field.Type)));
    int prec = field.Precision >= 0 ? field.Precision : (type == 'g' ? 15 : 2);
    if (prec > 100) prec = 100;
    char buf[512];
    const char* f = type == 'e' ? "%.*E" : type == 'g' ? "%.*G" : "%.*f";
    std::snprintf(buf, sizeof buf, f, prec, d);
    std::string s = buf;
    if (type == 'n') s = Thousands(s);
    field.ZeroPad = false;
    return s;
  }

  // Puts "," between groups of three digits of the integer part.
  static std::string Thousands(const std::string& s) {
    size_t start = (!s.empty() && s[0] == '-') ? 1 : 0;
    size_t end = s.find('.');
    if (end == std::string::npos) end = s.size();
    std::string out = s.substr(0, start);
    for (size_t i = start; i < end; ++i) {
      out.push_back(s[i]);
      size_t left = end - i - 1;
      if (left > 0 && left % 3 == 0) out.push_back(',');
    }
    return out + s.substr(end);
  }

  static std::string Pad(std::string s, const TFormatField& field) {
    int len = Utf8Length(s);
    if (field.Width <= len) return s;
    std::string fill(size_t(field.Width - len), ' ');
    return field.LeftAlign ? s + fill : fill + s;
  }

  std::string_view FFmt;
  std::span<const TFormatArg> FArgs;
  size_t FNext = 0;
};

} // namespace

std::string FormatArgs(std::string_view fmt, std::span<const TFormatArg> args) {
  return TFormatter(fmt, args).Run();
}

void Abort() {
  throw EAbort(SOperationAborted);
}

std::string SysErrorMessage(uint32_t code) {
  return sys::FormatSystemMessage(code);
}

void RaiseLastOSError() {
  uint32_t code = sys::GetLastError();
  if (code != 0) throw EOSError(Format(SOSError, code, sys::GetLastErrorText()), code);
  int err = errno;
  RaiseErrnoError(err);
}

void RaiseLastOSError(uint32_t code) {
  if (code == 0) throw EOSError(SUnknownOSError, 0);
  throw EOSError(Format(SOSError, code, SysErrorMessage(code)), code);
}

void RaiseErrnoError(int err) {
  if (err == 0) throw EOSError(SUnknownOSError, 0);
  throw EOSError(Format(SOSError, err, std::strerror(err)), uint32_t(err));
}

} // namespace zel
