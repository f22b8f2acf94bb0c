// Mac icon formats: the icon family ("icns") and the containers it comes in
// (the resource fork of a MacBinary, AppleSingle or AppleDouble file, and
// typed-stream archives). TMacBinary finds the families of a file and decodes
// their elements; TKemIcons makes one icon group of them. All numbers of
// these formats are big-endian, and every one is checked against the bytes
// that are there.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <set>
#include <string_view>
#include <vector>

#include "kem3/graphics/kemicons.h"

enum TMacFileKind { mfkNone, mfkIcns, mfkTypedStream, mfkAppleSingle, mfkAppleDouble, mfkMacBinary };

// The Mac system palettes: 16 and 256 colours, red, green, blue.
extern const std::array<std::array<std::uint8_t, 3>, 16> kMacPalette16;
const std::array<std::array<std::uint8_t, 3>, 256>& MacPalette256();

// One element of an icon family: what it is, where its bytes lie, and once
// decoded its pf32bit bitmap. Colour elements hold their colours (alpha
// 255); masks hold their value in every byte of a pixel ("#" masks: 0 where
// the icon is, 255 around it).
class TMacBinResIconImage {
 public:
  // The element's four-letter type, or a mask name ("lmask", "smask"…).
  String Type;
  bool IsMask = false;
  bool IsPNG = false;
  int BitCount = 0;
  int Width = 0;
  int Height = 0;
  // The element's bytes, inside the data the family was read from.
  std::string_view Data;
  TBitmap Bitmap;

  // Takes what the element is from its type (a PNG's size from its header)
  // without decoding it; false for types that hold no picture and data too
  // short for their size ("#", "4", "8" and mask types).
  bool Describe(const String& AType, std::string_view AData);
  // Describe, then the pixels into Bitmap (EIconError or the PNG codec's
  // error for a PNG that cannot be decoded).
  bool Decode(const String& AType, std::string_view AData);
};

using TMacIconFamily = std::vector<std::unique_ptr<TMacBinResIconImage>>;

class TMacBinary {
 public:
  // Decides the kind from the first bytes; a file of no other kind is taken as MacBinary.
  explicit TMacBinary(std::string_view Data);
  TMacFileKind Kind() const { return FKind; }
  // icns, typed stream, AppleSingle and AppleDouble count; a MacBinary file
  // only when its header is plausible and its forks fill the file exactly.
  bool IsMacIconData() const;
  // The same decision on the first bytes of a file of FileSize bytes (a
  // MacBinary header needs its first 128).
  static bool IsMacIconHead(std::string_view Head, std::int64_t FileSize);
  // Reads the families of every kind, their elements described but not
  // decoded; damaged parts and the caps of TIconFileBudget end the reading,
  // as do kMaxMacFamilies families. A family is read once however many
  // references lead to it.
  void ReadIcons();
  const std::vector<TMacIconFamily>& Families() const { return FFamilies; }

  // Elements of 1 and 4 bits are not added as pictures (their masks are).
  bool SkipOneBit = true;
  bool SkipFourBit = true;

  // The mask element of a colour element within its family, or nullptr.
  static const TMacBinResIconImage* FindMask(const TMacIconFamily& Family, const String& Type);

 private:
  bool Recognised(std::int64_t FileSize) const;
  void ReadFamily(std::string_view Family);
  void ReadResourceFork(std::string_view Fork);

  TIconBytes FBytes;
  TIconFileBudget FBudget;
  std::set<const char*> FFamiliesRead;
  TMacFileKind FKind = mfkNone;
  std::int64_t FDataForkLength = 0;  // rounded up to 128
  std::int64_t FResourceForkLength = 0;
  std::uint32_t FResourceForkStated = 0;
  std::vector<TMacIconFamily> FFamilies;
};

// An image of a Mac icon family: the colour element with its mask, decoded
// when it is drawn.
class TKemIconImageMac : public TKemIconImage {
 public:
  // The bytes of Element and Mask (or nullptr) lie inside Block, which the
  // image keeps a share of.
  TKemIconImageMac(const TMacBinResIconImage& Element, const TMacBinResIconImage* Mask, TIconBlock Block);

 protected:
  void Decode(TBitmap& Color, TBitmap& Mask) const override;

 private:
  TIconBlock FBlock;
  String FType;
  std::string_view FData;
  String FMaskType;
  std::string_view FMaskData;
};

// Opens the file with a TMacBinary; read errors give false.
bool IsMacIconFile(const String& FileName);
