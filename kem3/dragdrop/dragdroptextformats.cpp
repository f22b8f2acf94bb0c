// The text formats beside CF_TEXT and their conversions to and from the text.
#include "kem3/dragdrop/dragdroptextformats.h"

#include <cstring>

#include "kem3/dragdrop/dragdropdefs.h"
#include "kem3/dragdrop/textblocks.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"

ORV_DD_CLIPBOARD_IMPL_ID(TUnicodeTextClipboardFormat, TCustomWideTextClipboardFormat, cfUnicodeText)
ORV_DD_CLIPBOARD_IMPL_ID(TOEMTextClipboardFormat, TCustomTextClipboardFormat, cfOEMText)
ORV_DD_CLIPBOARD_IMPL(TRichTextClipboardFormat, TCustomTextClipboardFormat, "Rich Text Format")
ORV_DD_ABSTRACT_IMPL(TCustomLinesTextClipboardFormat, TCustomStringListClipboardFormat)
ORV_DD_CLIPBOARD_IMPL(TCSVClipboardFormat, TCustomLinesTextClipboardFormat, "CSV")
ORV_DD_CLIPBOARD_IMPL(TRFC822ClipboardFormat, TCustomLinesTextClipboardFormat, "Internet Message (rfc822/rfc1522)")
ORV_DD_CLIPBOARD_IMPL(THTMLClipboardFormat, TCustomLinesTextClipboardFormat, "HTML Format")
ORV_DD_CLIPBOARD_IMPL(TVCardClipboardFormat, TCustomStringListClipboardFormat,
                      "+//ISBN 1-887687-00-9::versit::PDI//vCard")
ORV_DD_DATA_FORMAT_IMPL(THTMLDataFormat, TCustomDataFormat)

namespace {

TTextDataFormat* TextFormat(TCustomDataFormat& Format) { return dynamic_cast<TTextDataFormat*>(&Format); }

std::string JoinLines(const std::vector<std::string>& Lines) {
  std::string text;
  for (const std::string& line : Lines) text += line + "\r\n";
  return text;
}

bool HoldsHtmlTag(const std::string& Text) { return UpperCase(Text).find("<HTML>") != std::string::npos; }

}  // namespace

// ---- UTF-16 ----------------------------------------------------------------------

bool TUnicodeTextClipboardFormat::AssignTo(TCustomDataFormat& Dest) {
  TTextDataFormat* text = TextFormat(Dest);
  if (!text) return false;
  // The terminator is not text; zero characters before it are kept.
  std::u16string_view wide = Text;
  while (!wide.empty() && wide.back() == 0) wide.remove_suffix(1);
  text->SetText(WideToUtf8(wide));
  return true;
}

bool TUnicodeTextClipboardFormat::Assign(TCustomDataFormat& Source) {
  TTextDataFormat* text = TextFormat(Source);
  if (!text) return false;
  Text = Utf8ToWide(text->Text());
  return true;
}

// ---- OEM -------------------------------------------------------------------------

bool TOEMTextClipboardFormat::AssignTo(TCustomDataFormat& Dest) {
  TTextDataFormat* text = TextFormat(Dest);
  if (!text) return false;
  text->SetText(OemToUtf8(Data));
  return true;
}

bool TOEMTextClipboardFormat::Assign(TCustomDataFormat& Source) {
  TTextDataFormat* text = TextFormat(Source);
  if (!text) return false;
  Data = Utf8ToOem(text->Text());
  return true;
}

// ---- Rich text -------------------------------------------------------------------

bool TRichTextClipboardFormat::HasData() { return IsRichText(Data); }

bool TRichTextClipboardFormat::AssignTo(TCustomDataFormat& Dest) {
  TTextDataFormat* text = TextFormat(Dest);
  if (!text) return false;
  text->SetText(TextToUtf8(Data));
  return true;
}

bool TRichTextClipboardFormat::Assign(TCustomDataFormat& Source) {
  TTextDataFormat* text = TextFormat(Source);
  if (!text) return false;
  Data = RichTextOf(text->Text());
  return true;
}

// ---- Lines: CSV, mail messages, HTML --------------------------------------------

bool TCustomLinesTextClipboardFormat::ReadData(TDropBlock Block) {
  if (!TCustomStringListClipboardFormat::ReadData(Block)) return false;
  for (std::string& line : Lines) line = TextToUtf8(line);
  return true;
}

bool TCustomLinesTextClipboardFormat::AssignTo(TCustomDataFormat& Dest) {
  TTextDataFormat* text = TextFormat(Dest);
  if (!text) return false;
  text->SetText(JoinLines(Lines));
  return true;
}

bool TCustomLinesTextClipboardFormat::Assign(TCustomDataFormat& Source) {
  TTextDataFormat* text = TextFormat(Source);
  if (!text) return false;
  Lines = SplitDropLines(text->Text());
  return true;
}

bool THTMLClipboardFormat::HasData() { return HoldsHtmlTag(JoinLines(Lines)); }

bool THTMLClipboardFormat::ReadData(TDropBlock Block) {
  Lines = SplitDropLines(ParseHtmlClipboard(Block));
  return true;
}

std::int64_t THTMLClipboardFormat::GetDataSize() {
  return Lines.empty() ? 0 : static_cast<std::int64_t>(BuildHtmlClipboard(JoinLines(Lines)).size()) + 1;
}

bool THTMLClipboardFormat::WriteData(char* Block, std::int64_t Size) {
  const std::string block = BuildHtmlClipboard(JoinLines(Lines));
  if (Size != static_cast<std::int64_t>(block.size()) + 1) return false;
  std::memcpy(Block, block.c_str(), block.size() + 1);
  return true;
}

bool THTMLClipboardFormat::AssignTo(TCustomDataFormat& Dest) {
  if (auto* html = dynamic_cast<THTMLDataFormat*>(&Dest)) return html->Assign(*this);
  return TCustomLinesTextClipboardFormat::AssignTo(Dest);
}

bool THTMLClipboardFormat::Assign(TCustomDataFormat& Source) {
  if (auto* html = dynamic_cast<THTMLDataFormat*>(&Source)) return html->AssignTo(*this);
  TTextDataFormat* text = TextFormat(Source);
  if (!text) return false;
  const std::string& value = text->Text();
  Lines = SplitDropLines(HoldsHtmlTag(value) ? value : "<HTML>\r\n<BODY>\r\n" + value + "\r\n</BODY>\r\n</HTML>");
  return true;
}

// ---- Contact cards -----------------------------------------------------------------

bool TVCardClipboardFormat::ReadData(TDropBlock Block) {
  if (!TCustomStringListClipboardFormat::ReadData(Block)) return false;
  Lines = ReadVCardLines(std::move(Lines));
  return true;
}

std::int64_t TVCardClipboardFormat::GetDataSize() { return static_cast<std::int64_t>(BuildVCardBlock(Lines).size()); }

bool TVCardClipboardFormat::WriteData(char* Block, std::int64_t Size) {
  const std::string block = BuildVCardBlock(Lines);
  if (Size != static_cast<std::int64_t>(block.size())) return false;
  std::memcpy(Block, block.data(), block.size());
  return true;
}

// ---- HTML as lines -----------------------------------------------------------------

void THTMLDataFormat::Clear() {
  Changing();
  Lines.clear();
}

bool THTMLDataFormat::Assign(TClipboardFormat& Source) {
  auto* html = dynamic_cast<THTMLClipboardFormat*>(&Source);
  if (!html) return TCustomDataFormat::Assign(Source);
  Changing();
  Lines = html->Lines;
  return true;
}

bool THTMLDataFormat::AssignTo(TClipboardFormat& Dest) {
  auto* html = dynamic_cast<THTMLClipboardFormat*>(&Dest);
  if (!html) return TCustomDataFormat::AssignTo(Dest);
  html->Lines = Lines;
  return true;
}
