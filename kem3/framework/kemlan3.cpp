// Reading the tagged-block language format ("KEM3LAN").
#include <cmath>
#include <functional>

#include "kem3/framework/kemlanblock.h"
#include "kem3/framework/kemlanfile.h"
#include "kem3/framework/kemutil.h"
#include "kem3/pictures/kemimage.h"
#include "kem3/pictures/pngimage.h"
#include "platform/graphics.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"

namespace {

// Scales outside this range are no sensible font scale: they are ignored.
constexpr double kMinFontScale = 0.25;
constexpr double kMaxFontScale = 8.0;

// Calls Each for every block from the first on, until it returns false. The
// block count is bounded by what the file can hold, and every block must lie
// inside the file, so the walk always advances and always ends.
void WalkBlocks(TStream& Stream, const std::function<bool(const TLanBlockFrame&)>& Each) {
  Stream.SetPosition(0);
  TStringStream head(Stream.ReadBytes(kLan3HeaderSize));
  if (std::string_view(head.DataString()).substr(0, kLan3Magic.size()) != kLan3Magic)
    throw EReadError("Not a tagged language file");
  head.SetPosition(20);
  const auto count = head.ReadLE<std::int32_t>();
  if (count < 0 || count > (Stream.Size() - kLan3HeaderSize) / kLanBlockHeaderSize)
    throw EReadError("Language file with " + std::to_string(count) + " blocks");
  std::int64_t at = kLan3HeaderSize;
  for (std::int32_t i = 0; i < count; ++i) {
    Stream.SetPosition(at);
    const TLanBlockFrame frame = ReadLanBlockFrame(Stream);
    if (!Each(frame)) return;
    at = frame.Start + frame.Size;
  }
}

template <class TBlock>
TBlock ReadBlock(TStream& Stream, const TLanBlockFrame& Frame) {
  TBlock block;
  block.LoadFromStream(*ReadLanBlockPayload(Stream, Frame));
  return block;
}

void ReadBlockInto(TStream& Stream, const TLanBlockFrame& Frame, TLanBlock& Block) {
  Block.LoadFromStream(*ReadLanBlockPayload(Stream, Frame));
}

// The picture on a plain ground of Color, drawn with its transparency.
void ComposeFlag(TBitmap& Dest, TPNGImage& Picture, TColor Color) {
  Dest.SetPixelFormat(pf32bit);
  Dest.SetSize(Picture.Width(), Picture.Height());
  const TColor ground = ColorToRGB(Color);
  for (int y = 0; y < Dest.Height(); ++y)
    for (int x = 0; x < Dest.Width(); ++x) Dest.SetPixelColor(x, y, ground);
  if (Picture.PixelFormat() == pf32bit && Picture.AlphaFormat() != afIgnored) {
    AlphaBlendBitmap(Dest, 0, 0, Picture);
  } else {
    for (int y = 0; y < Dest.Height(); ++y)
      for (int x = 0; x < Dest.Width(); ++x) Dest.SetPixelColor(x, y, Picture.PixelColor(x, y));
  }
  // The ground is opaque, so the result is too: nothing shows through it.
  for (int y = 0; y < Dest.Height(); ++y) {
    auto* row = static_cast<std::uint8_t*>(Dest.ScanLine(y));
    for (int x = 0; x < Dest.Width(); ++x) row[x * 4 + 3] = 255;
  }
  Dest.SetAlphaFormat(afIgnored);
}

bool IsTag(const TLanBlockFrame& Frame, const char (&Tag)[5]) { return Frame.Tag == LanTag(Tag); }

}  // namespace

void TLanguage3::ReadHeader(TStream& Stream) {
  ClearHeader();
  try {
    Stream.SetPosition(0);
    const std::string head = Stream.ReadBytes(kLan3HeaderSize);
    Code = TextToUtf8(BufferToStr(head.data() + 8, 8));
    WalkBlocks(Stream, [&](const TLanBlockFrame& frame) {
      if (IsTag(frame, "ttit")) {
        DisplayName = Utf8ToWide(ReadBlock<TLanBlockString>(Stream, frame).Value);
      } else if (IsTag(frame, "cred")) {
        Credits = Utf8ToWide(ReadBlock<TLanBlockString>(Stream, frame).Value);
      } else if (IsTag(frame, "font")) {
        FontNames.push_back(TextToUtf8(ReadBlock<TLanBlockString>(Stream, frame).Value));
      } else if (IsTag(frame, "fsiz")) {
        FontSizes.push_back(ReadBlock<TLanBlockInteger>(Stream, frame).Value);
      } else if (IsTag(frame, "fscl")) {
        const double scale = ReadBlock<TLanBlockFloat>(Stream, frame).Value;
        if (std::isfinite(scale) && scale >= kMinFontScale && scale <= kMaxFontScale) FontScale = scale;
      } else if (IsTag(frame, "iflg")) {
        TLanBlockImage image;
        image.MaxSide = kMaxFlagSide;
        ReadBlockInto(Stream, frame, image);
        if (!image.Image->Empty()) {
          ComposeFlag(Flag, *image.Image, clWindow);
          ComposeFlag(FlagSelected, *image.Image, clHighlight);
        }
      }
      return true;
    });
    Valid = true;
  } catch (const Exception&) {
    Valid = false;
  }
}

void TLanguage3::ReadTexts(TStream& Stream, const String& Module, TLanguageTexts& Out) {
  bool haveNames = false;
  bool haveTexts = false;
  WalkBlocks(Stream, [&](const TLanBlockFrame& frame) {
    const bool names = IsTag(frame, "ntxt");
    const bool texts = IsTag(frame, "ttxt");
    if ((names && !haveNames) || (texts && !haveTexts)) {
      TLanBlockModule block = ReadBlock<TLanBlockModule>(Stream, frame);
      if (Module.empty() || AnsiSameText(block.Module, Module)) {
        if (names) {
          Out.Names = std::move(block.Strings);
          haveNames = true;
        } else {
          Out.Texts.clear();
          Out.Texts.reserve(block.Strings.size());
          for (const String& text : block.Strings) Out.Texts.push_back(Utf8ToWide(text));
          haveTexts = true;
        }
      }
    }
    return !(haveNames && haveTexts);
  });
}
