// The safe Format: one parser for 8-bit and wide patterns. Numbers are built as
// ASCII text by the run-time helpers and copied into the result's character type.
#include "platform/format.h"

#include <algorithm>
#include <climits>
#include <string>

#include "platform/exceptions.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"

FormatArg::FormatArg(char32_t c) : kind_(Kind::Str) { AppendUtf8(str_, c); }

namespace {

String PatternText(std::string_view pattern) { return String(pattern); }
String PatternText(std::u16string_view pattern) { return WideToUtf8(pattern); }

template <class Char>
using Text = std::basic_string<Char>;

Text<char> ArgText(const FormatArg& a, char) {
  return a.kind() == FormatArg::Kind::Str ? a.str() : WideToUtf8(a.wide());
}
Text<char16_t> ArgText(const FormatArg& a, char16_t) {
  return a.kind() == FormatArg::Kind::Wide ? a.wide() : Utf8ToWide(a.str());
}

// Characters, not code units: a UTF-8 continuation byte or the low half of a
// surrogate pair belongs to the character before it.
bool StartsCharacter(char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }
bool StartsCharacter(char16_t c) { return c < 0xDC00 || c > 0xDFFF; }

template <class Char>
size_t CharacterCount(const Text<Char>& s) {
  size_t n = 0;
  for (Char c : s) n += StartsCharacter(c);
  return n;
}

// Cuts s after `count` characters.
template <class Char>
void Truncate(Text<Char>& s, size_t count) {
  size_t seen = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    if (StartsCharacter(s[i]) && seen++ == count) {
      s.resize(i);
      return;
    }
  }
}

template <class Char>
class Formatter {
 public:
  Formatter(std::basic_string_view<Char> pattern, std::initializer_list<FormatArg> args)
      : pattern_(pattern), args_(args) {}

  Text<Char> Run() {
    Text<Char> out;
    size_t i = 0;
    while (i < pattern_.size()) {
      size_t percent = pattern_.find(Char('%'), i);
      if (percent == pattern_.npos) percent = pattern_.size();
      out.append(pattern_.substr(i, percent - i));
      i = percent;
      if (i < pattern_.size()) i = Specifier(i + 1, out);
    }
    return out;
  }

 private:
  [[noreturn]] void Fail() const {
    throw EConvertError("Format '" + PatternText(pattern_) + "' invalid or incompatible with argument");
  }

  Char At(size_t i) const {
    if (i >= pattern_.size()) Fail();  // the specifier runs off the end
    return pattern_[i];
  }

  const FormatArg& NextArg() {
    if (next_ >= args_.size()) Fail();
    return args_.begin()[next_++];
  }

  std::int64_t IntegerArg() {
    const FormatArg& a = NextArg();
    if (a.kind() == FormatArg::Kind::Int) return a.intValue();
    if (a.kind() == FormatArg::Kind::UInt)
      return static_cast<std::int64_t>(std::min<std::uint64_t>(a.uintValue(), INT_MAX));
    Fail();
  }

  // A number or "*" at i; returns false (and leaves i) when there is neither.
  bool ReadNumber(size_t& i, std::int64_t& value) {
    if (At(i) == Char('*')) {
      ++i;
      value = IntegerArg();
      return true;
    }
    if (At(i) < Char('0') || At(i) > Char('9')) return false;
    value = 0;
    for (; At(i) >= Char('0') && At(i) <= Char('9'); ++i) {
      value = value * 10 + (At(i) - Char('0'));
      if (value > INT_MAX) Fail();
    }
    return true;
  }

  // Parses and formats one specifier starting after its '%'; returns the index past it.
  size_t Specifier(size_t i, Text<Char>& out) {
    if (At(i) == Char('%')) {
      out.push_back(Char('%'));
      return i + 1;
    }
    std::int64_t number = 0, width = 0, precision = -1;
    bool left = false;
    bool haveWidth = ReadNumber(i, number);
    if (haveWidth && At(i) == Char(':')) {
      if (number < 0 || static_cast<std::uint64_t>(number) >= args_.size()) Fail();
      next_ = static_cast<size_t>(number);
      ++i;
      haveWidth = false;
    }
    if (haveWidth) {
      width = number;
    } else {
      if (At(i) == Char('-')) {
        left = true;
        ++i;
      }
      ReadNumber(i, width);
    }
    if (At(i) == Char('.')) {
      ++i;
      if (!ReadNumber(i, precision)) precision = 0;
    }
    Char type = At(i++);
    Text<Char> text = Convert(type >= Char('A') && type <= Char('Z') ? Char(type + 32) : type, precision);
    width = std::clamp<std::int64_t>(width, 0, kMaxFormatWidth);
    size_t count = CharacterCount<Char>(text);
    if (count < static_cast<size_t>(width)) {
      size_t pad = static_cast<size_t>(width) - count;
      if (left) {
        text.append(pad, Char(' '));
      } else {
        text.insert(0, pad, Char(' '));
      }
    }
    out += text;
    return i;
  }

  static Text<Char> Widen(const String& ascii) { return Text<Char>(ascii.begin(), ascii.end()); }

  // Integer digits with a minimum count (the precision of %d/%u/%x).
  static String MinDigits(String digits, std::int64_t precision) {
    bool negative = !digits.empty() && digits[0] == '-';
    if (negative) digits.erase(0, 1);
    precision = std::min<std::int64_t>(precision, kMaxFormatWidth);
    if (static_cast<std::int64_t>(digits.size()) < precision)
      digits.insert(0, static_cast<size_t>(precision) - digits.size(), '0');
    return negative ? "-" + digits : digits;
  }

  Text<Char> Convert(Char type, std::int64_t precision) {
    const auto precisionOr = [&](int def) {
      return precision < 0 ? def : static_cast<int>(std::min<std::int64_t>(precision, 100));
    };
    switch (type) {
      case 'd':
      case 'u':
      case 'x': {
        const FormatArg& a = NextArg();
        std::uint64_t bits;
        String digits;
        if (a.kind() == FormatArg::Kind::Int) {
          bits = static_cast<std::uint64_t>(a.intValue());
          if (a.narrow()) bits &= 0xFFFFFFFFu;
          if (type == 'd') digits = IntToStr(a.intValue());
        } else if (a.kind() == FormatArg::Kind::UInt) {
          bits = a.uintValue();
          if (type == 'd') digits = std::to_string(bits);
        } else {
          Fail();
        }
        if (type == 'u') digits = std::to_string(bits);
        if (type == 'x') digits = IntToHexBits(bits, 0);
        return Widen(MinDigits(digits, precision));
      }
      case 'e':
      case 'f':
      case 'g':
      case 'n':
      case 'm': {
        const FormatArg& a = NextArg();
        if (a.kind() != FormatArg::Kind::Float) Fail();
        double v = a.floatValue();
        if (type == 'e') return Widen(FloatToStrF(v, ffExponent, precisionOr(15), 3));
        if (type == 'g') return Widen(FloatToStrF(v, ffGeneral, precisionOr(15), 0));
        if (type == 'f') return Widen(FloatToStrF(v, ffFixed, 18, precisionOr(2)));
        return Widen(FloatToStrF(v, ffNumber, 18, precisionOr(2)));
      }
      case 'p': {
        const FormatArg& a = NextArg();
        if (a.kind() != FormatArg::Kind::Pointer) Fail();
        return Widen(IntToHexBits(a.uintValue(), static_cast<int>(sizeof(void*) * 2)));
      }
      case 's': {
        const FormatArg& a = NextArg();
        if (a.kind() != FormatArg::Kind::Str && a.kind() != FormatArg::Kind::Wide) Fail();
        Text<Char> text = ArgText(a, Char());
        if (precision >= 0) Truncate<Char>(text, static_cast<size_t>(precision));
        return text;
      }
      default:
        Fail();
    }
  }

  std::basic_string_view<Char> pattern_;
  std::initializer_list<FormatArg> args_;
  size_t next_ = 0;
};

}  // namespace

String Format(std::string_view pattern, std::initializer_list<FormatArg> args) {
  return Formatter<char>(pattern, args).Run();
}

WideString WideFormat(std::u16string_view pattern, std::initializer_list<FormatArg> args) {
  return Formatter<char16_t>(pattern, args).Run();
}

String FormatOrError(std::string_view pattern, std::initializer_list<FormatArg> args) {
  try {
    return Format(pattern, args);
  } catch (const EConvertError& e) {
    return e.Message;
  }
}

WideString WideFormatOrError(std::u16string_view pattern, std::initializer_list<FormatArg> args) {
  try {
    return WideFormat(pattern, args);
  } catch (const EConvertError& e) {
    return Utf8ToWide(e.Message);
  }
}
