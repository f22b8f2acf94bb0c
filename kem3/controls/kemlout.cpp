// The brace mark-up: styles, their registry and the parser that cuts a
// paragraph into pieces.
#include "kem3/controls/kemlout.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "kem3/framework/kemlan.h"
#include "kem3/framework/kemlantext.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"

namespace {

using View = std::u16string_view;

bool IsBlank(char16_t C) { return C <= u' '; }

char16_t Lower(char16_t C) { return C >= u'A' && C <= u'Z' ? static_cast<char16_t>(C + 32) : C; }

View TrimView(View S) {
  while (!S.empty() && IsBlank(S.front())) S.remove_prefix(1);
  while (!S.empty() && IsBlank(S.back())) S.remove_suffix(1);
  return S;
}

bool StartsWithText(View S, std::string_view Prefix) {
  if (S.size() < Prefix.size()) return false;
  for (size_t i = 0; i < Prefix.size(); ++i)
    if (Lower(S[i]) != static_cast<char16_t>(Prefix[i])) return false;
  return true;
}

// A decimal number with an optional sign; false when malformed or beyond an int.
bool ParseDecimal(View S, int& Value) {
  S = TrimView(S);
  bool negative = false;
  if (!S.empty() && (S.front() == u'-' || S.front() == u'+')) {
    negative = S.front() == u'-';
    S.remove_prefix(1);
  }
  if (S.empty()) return false;
  long long n = 0;
  for (char16_t c : S) {
    if (c < u'0' || c > u'9') return false;
    n = n * 10 + (c - u'0');
    if (n > 2147483648LL) return false;
  }
  n = negative ? -n : n;
  if (n > 2147483647LL) return false;
  Value = static_cast<int>(n);
  return true;
}

int DecimalOrZero(View S) {
  int value = 0;
  return ParseDecimal(S, value) ? value : 0;
}

// A colour as 1 to 8 hexadecimal digits, optionally after "$".
bool ParseHexColor(View S, TColor& Value) {
  S = TrimView(S);
  if (!S.empty() && S.front() == u'$') S.remove_prefix(1);
  if (S.empty() || S.size() > 8) return false;
  std::uint32_t n = 0;
  for (char16_t c : S) {
    const char16_t l = Lower(c);
    int digit;
    if (l >= u'0' && l <= u'9')
      digit = l - u'0';
    else if (l >= u'a' && l <= u'f')
      digit = l - u'a' + 10;
    else
      return false;
    n = n * 16 + static_cast<std::uint32_t>(digit);
  }
  Value = static_cast<TColor>(n);
  return true;
}

int ClampFontSize(int Size) { return std::clamp(Size, 0, kKemMaxFontSize); }

std::vector<std::unique_ptr<TKemTextStyle>>& Registry() {
  static std::vector<std::unique_ptr<TKemTextStyle>> styles;
  return styles;
}

// Cuts one paragraph's text into pieces, keeping the format that the next
// piece takes and the format made last, from which the next one is copied.
class TMarkupParser {
 public:
  TMarkupParser(TKemParagraph& Paragraph) : FParagraph(Paragraph) {}

  void Run(View Text) {
    Text = TrimView(Text);
    size_t pos = 0;
    bool literal = false;
    while (pos < Text.size() && !FFull) {
      const char16_t c = Text[pos];
      if (c == u'{' && !literal) {
        const size_t close = Text.find(u'}', pos + 1);
        if (close == View::npos) {
          // A tag never closed: the rest shows as it stands, so a slip in a
          // text cannot hide what follows it.
          literal = true;
          continue;
        }
        RunTag(Text.substr(pos + 1, close - pos - 1));
        pos = close + 1;
      } else if (IsBlank(c)) {
        AddPiece(WideString(), true);
        pos = SkipBlanks(Text, pos);
      } else {
        size_t end = pos + 1;
        while (end < Text.size() && !IsBlank(Text[end]) && (literal || Text[end] != u'{')) ++end;
        const View word = Text.substr(pos, end - pos);
        pos = SkipBlanks(Text, end);
        AddPiece(WideString(word), end < pos && pos < Text.size());
      }
    }
  }

 private:
  static size_t SkipBlanks(View Text, size_t Pos) {
    while (Pos < Text.size() && IsBlank(Text[Pos])) ++Pos;
    return Pos;
  }

  TKemTextFormat& NeedFormat() {
    if (!FCurrent) {
      FCurrent = FLast ? *FLast : TKemTextFormat{};
      FCurrentIsLast = true;
    }
    return *FCurrent;
  }

  TKemTextFormat TakeFormat() {
    NeedFormat();
    if (FCurrentIsLast) FLast = *FCurrent;
    TKemTextFormat format = std::move(*FCurrent);
    FCurrent.reset();
    return format;
  }

  TKemTextPiece* NewPiece() {
    auto& pieces = FParagraph.Pieces();
    if (static_cast<int>(pieces.size()) >= kKemMaxPieces) {
      FFull = true;
      return nullptr;
    }
    pieces.push_back(std::make_unique<TKemTextPiece>());
    return pieces.back().get();
  }

  void AddPiece(WideString Text, bool SpaceAfter) {
    TKemTextPiece* piece = NewPiece();
    if (!piece) return;
    piece->Text = std::move(Text);
    piece->SpaceAfter = SpaceAfter;
    piece->Format = TakeFormat();
    piece->TabCode = FTabCode;
    piece->Link = FLink;
    FTabCode = ktNone;
  }

  void AddPicture(char16_t Align, View Reference) {
    TKemTextPiece* piece = NewPiece();
    if (!piece) return;
    piece->IsPicture = true;
    piece->Text = WideString(Reference);
    piece->PictureAlign = Lower(Align) == u'm' ? 1 : Lower(Align) == u'b' ? 2 : 0;
    if (StartsWithText(Reference, "local:")) {
      piece->IsLocal = true;
      if (!ParseDecimal(Reference.substr(6), piece->LocalIndex)) piece->LocalIndex = -1;
    } else if (StartsWithText(Reference, "res:")) {
      piece->IsResource = true;
      piece->ResourceName = WideToUtf8(Reference.substr(4));
    }
    piece->Format = TakeFormat();
    piece->TabCode = FTabCode;
    piece->Link = FLink;
    FTabCode = ktNone;
  }

  void SetStyleBit(TFontStyle Bit, View Argument) {
    TKemTextFormat& format = NeedFormat();
    if (DecimalOrZero(Argument) > 0)
      format.Style.Include(Bit);
    else
      format.Style.Exclude(Bit);
  }

  void RunLink(View Argument) {
    const size_t colon = Argument.find(u':');
    int number = 0;
    if (ParseDecimal(Argument.substr(0, colon), number)) FLinkNumber = number;
    if (FLinkNumber < 1) {
      FLink = nullptr;
      return;
    }
    auto& links = FParagraph.Links();
    if (static_cast<int>(links.size()) >= kKemMaxLinks) {
      FFull = true;
      return;
    }
    links.push_back(std::make_unique<TKemTextLink>());
    if (colon != View::npos) links.back()->Target = WideToUtf8(Argument.substr(colon + 1));
    FLink = links.back().get();
  }

  // A format of its own for one piece; the "last" format stays as it was.
  void RunSeparateFormat(View List) {
    if (FCurrent && FCurrentIsLast) FLast = *FCurrent;
    FCurrent = FLast ? *FLast : TKemTextFormat{};
    FCurrentIsLast = false;
    size_t pos = 0;
    while (pos < List.size()) {
      const size_t semicolon = std::min(List.find(u';', pos), List.size());
      const View entry = List.substr(pos, semicolon - pos);
      if (StartsWithText(entry, "fontname=")) {
        FCurrent->FontName = WideToUtf8(entry.substr(9));
      } else if (StartsWithText(entry, "fontsize=")) {
        FCurrent->FontSize = ClampFontSize(DecimalOrZero(entry.substr(9)));
      } else {
        TKemTextPiece* piece = NewPiece();
        if (piece) {
          piece->Text = WideString(List.substr(pos));
          piece->Format = std::move(*FCurrent);
        }
        FCurrent.reset();
        FTabCode = ktNone;
        return;
      }
      pos = semicolon + 1;
    }
  }

  void RunCommand(View Command) {
    const View argument = Command.substr(1);
    switch (Lower(Command.front())) {
      case u'b':
        SetStyleBit(fsBold, argument);
        break;
      case u'i':
        SetStyleBit(fsItalic, argument);
        break;
      case u'u':
        SetStyleBit(fsUnderline, argument);
        break;
      case u'c':
      case u'f': {
        TColor color;
        if (ParseHexColor(argument, color))
          (Lower(Command.front()) == u'c' ? NeedFormat().Color : NeedFormat().BackColor) = color;
        break;
      }
      case u'm': {
        int mark;
        if (ParseDecimal(argument, mark)) NeedFormat().Mark = mark;
        break;
      }
      case u's':
        FParagraph.Style().Assign(FindTextStyle(WideToUtf8(Command.size() > 2 ? Command.substr(2) : View())));
        break;
      case u't':
        if (Command.size() > 1) {
          switch (Lower(Command[1])) {
            case u'l':
              FTabCode = ktLeft;
              break;
            case u'r':
              FTabCode = ktRight;
              break;
            case u'c':
              FTabCode = ktDecimal;
              break;
            case u'h':
              FTabCode = ktHanging;
              break;
            default:
              break;
          }
        }
        break;
      case u'l':
        RunLink(argument);
        break;
      case u'p':
        AddPicture(Command.size() > 1 ? Command[1] : u't', TrimView(Command.size() > 2 ? Command.substr(2) : View()));
        break;
      case u'x':
        RunSeparateFormat(TrimView(argument));
        break;
      default:
        break;
    }
  }

  void RunTag(View Body) {
    size_t pos = 0;
    while (pos <= Body.size() && !FFull) {
      const size_t comma = std::min(Body.find(u',', pos), Body.size());
      const View command = Body.substr(pos, comma - pos);
      if (command.empty()) return;  // an empty command ends the tag
      RunCommand(command);
      pos = comma + 1;
    }
  }

  TKemParagraph& FParagraph;
  std::optional<TKemTextFormat> FCurrent;
  bool FCurrentIsLast = false;
  std::optional<TKemTextFormat> FLast;
  std::uint8_t FTabCode = ktNone;
  TKemTextLink* FLink = nullptr;
  int FLinkNumber = -1;
  bool FFull = false;
};

}  // namespace

// ---- Styles ------------------------------------------------------------------------

TKemTextStyle::TKemTextStyle() { Assign(nullptr); }

void TKemTextStyle::Assign(const TKemTextStyle* Source) {
  Tabs.clear();
  if (!Source) {
    Name.clear();
    FontName = "Arial";
    Size = 8;
    Font.SetName("Arial");
    Font.SetSize(8);
    Font.SetColor(clBlack);
    Font.SetStyle({});
    Alignment = kaLeft;
    Margins = TRect{};
    return;
  }
  Name = Source->Name;
  FontName = Source->FontName;
  Size = Source->Size;
  Font.Assign(Source->Font);
  Alignment = Source->Alignment;
  Margins = Source->Margins;
  Tabs = Source->Tabs;
}

void TKemTextStyle::UpdateFont() {
  const String key = "KEMLANFONT:";
  if (UpperCase(FontName).find(key) == String::npos) {
    Font.SetName(FontName);
    Font.SetSize(ClampFontSize(Size));
    return;
  }
  if (CurrentLanguageIndex() < 0) {
    Font.SetName("Arial");
    Font.SetSize(ClampFontSize(Size));
    return;
  }
  const size_t colon = FontName.find(':');
  int k = 0;
  if (!ParseDecimal(Utf8ToWide(std::string_view(FontName).substr(colon + 1)), k)) k = 0;
  Font.SetName(CurrentLanguageFontName(k));
  Font.SetSize(ClampFontSize(ScaleLanguageFontSize(ClampFontSize(Size))));
}

TKemTextStyle* AddTextStyle(const String& Name, const String& FontName, int Size, TColor Color, std::uint8_t Alignment,
                            const TRect& Margins) {
  auto style = std::make_unique<TKemTextStyle>();
  style->Name = Name;
  style->FontName = FontName;
  style->Size = Size;
  style->Font.SetColor(Color);
  style->Alignment = Alignment;
  style->Margins = Margins;
  style->UpdateFont();
  // The language manager lies below the layout: it is told what to do on a switch.
  SetLanguageFontsHook(UpdateTextStyleFonts);
  Registry().push_back(std::move(style));
  return Registry().back().get();
}

TKemTextStyle* FindTextStyle(const String& Name) {
  for (const auto& style : Registry())
    if (SameText(style->Name, Name)) return style.get();
  return nullptr;
}

void ClearTextStyles() { Registry().clear(); }

void UpdateTextStyleFonts() {
  for (const auto& style : Registry()) style->UpdateFont();
}

// ---- Paragraphs ----------------------------------------------------------------------

TKemParagraph::TKemParagraph(const WideString& Text) : FText(Text) { ParseMarkup(); }

void TKemParagraph::ParseMarkup() {
  FPieces.clear();
  FLinks.clear();
  TMarkupParser(*this).Run(FText);
}

WideString KemLiteralText(std::u16string_view Text) {
  WideString result;
  result.reserve(Text.size());
  for (char16_t c : Text) {
    if (c == u'{')
      result += u"{x {}";
    else
      result += c;
  }
  return result;
}

String KemPictureFileName(const String& Reference, const String& ProgramFolder) {
  const bool absolute = (Reference.size() >= 3 && Reference.compare(1, 2, ":\\") == 0) || Reference.starts_with("\\\\");
  return absolute ? Reference : ProgramFolder + Reference;
}
