// The brace mark-up of the text layout: paragraph styles and their registry,
// the pieces a paragraph of mark-up is cut into, and the helper that turns any
// text into mark-up that shows it as it stands.
//
// Paragraph texts come from language files, contents titles and other input
// we do not control: parsing never fails on them. A tag without its "}" shows
// with the rest of the text as it stands, unknown commands are ignored, and a paragraph keeps at most
// kKemMaxPieces pieces and kKemMaxLinks links (the rest of its text is dropped).
#pragma once
#include <memory>
#include <vector>

#include "platform/geometry.h"
#include "platform/graphics.h"
#include "platform/types.h"

inline constexpr int kKemMaxPieces = 65536;
inline constexpr int kKemMaxLinks = 4096;
// Font sizes the mark-up may ask for; larger values are cut to this.
inline constexpr int kKemMaxFontSize = 400;

// The tab codes of a piece.
enum TKemTabCode : std::uint8_t { ktNone, ktLeft, ktRight, ktDecimal, ktHanging };
// The alignments of a paragraph style.
enum TKemAlignment : std::uint8_t { kaLeft, kaCenter, kaRight, kaJustify };

// A named paragraph style: font, alignment, margins and tab stops.
class TKemTextStyle {
 public:
  TKemTextStyle();
  TKemTextStyle(const TKemTextStyle&) = delete;
  TKemTextStyle& operator=(const TKemTextStyle&) = delete;

  String Name;
  // A face, or "kemlanfont:" and a number: that font of the current language.
  String FontName = "Arial";
  int Size = 8;
  // The resolved face and size; its colour is the style's text colour.
  TFont Font;
  std::uint8_t Alignment = kaLeft;
  TRect Margins;
  // Tab stops in order of use: above 0 from the left margin, 0 or below back
  // from the right edge.
  std::vector<int> Tabs;

  // Takes name, font, alignment, margins and tab stops of Source; nullptr
  // resets to the defaults.
  void Assign(const TKemTextStyle* Source);
  void AddTab(int Value) { Tabs.push_back(Value); }
  void AddTabs(std::initializer_list<int> Values) { Tabs.insert(Tabs.end(), Values); }
  // Resolves Font from FontName and Size (a language font scaled by the
  // language's font scale; "Arial" while no language is selected).
  void UpdateFont();
};

// The style registry shared by every layout of the process. A second style of
// a name is added; the first of a name wins.
TKemTextStyle* AddTextStyle(const String& Name, const String& FontName, int Size, TColor Color, std::uint8_t Alignment,
                            const TRect& Margins);
TKemTextStyle* FindTextStyle(const String& Name);
void ClearTextStyles();
// After a language switch: every style resolves its font again.
void UpdateTextStyleFonts();

// The character format of one piece; clNone colours and empty/0 font fields
// leave the paragraph style's.
struct TKemTextFormat {
  String FontName;
  int FontSize = 0;
  TColor Color = clNone;
  TColor BackColor = clNone;
  // 1: the background colour also fills the line's height and the following space.
  int Mark = 0;
  TFontStyles Style;
};

struct TKemTextLink {
  bool Valid = false;
  // The bounding box of the link's drawn pieces (after a layout pass).
  TRect Rect{0, 0, -1, -1};
  String Target;
  void Reset() {
    Valid = false;
    Rect = TRect{0, 0, -1, -1};
  }
};

// One word, one space or one picture of a paragraph.
struct TKemTextPiece {
  WideString Text;  // the word, or the picture reference
  TKemTextFormat Format;
  std::uint8_t TabCode = ktNone;
  TKemTextLink* Link = nullptr;   // owned by the paragraph
  std::uint8_t PictureAlign = 0;  // 0 top, 1 middle, 2 bottom
  bool IsPicture = false;
  bool IsLocal = false;
  int LocalIndex = -1;
  bool IsResource = false;
  String ResourceName;
  bool SpaceAfter = false;
  // Filled by the layout pass.
  TRect Rect;
  int Width = 0;
  int Height = 0;
  int SpaceWidth = 0;
  int Top = 0;
};

// A paragraph: its mark-up, parsed into pieces and links when it is made.
class TKemParagraph {
 public:
  explicit TKemParagraph(const WideString& Text);
  TKemParagraph(const TKemParagraph&) = delete;
  TKemParagraph& operator=(const TKemParagraph&) = delete;

  const WideString& Text() const { return FText; }
  TKemTextStyle& Style() { return FStyle; }
  const TKemTextStyle& Style() const { return FStyle; }
  std::vector<std::unique_ptr<TKemTextPiece>>& Pieces() { return FPieces; }
  const std::vector<std::unique_ptr<TKemTextPiece>>& Pieces() const { return FPieces; }
  std::vector<std::unique_ptr<TKemTextLink>>& Links() { return FLinks; }
  const std::vector<std::unique_ptr<TKemTextLink>>& Links() const { return FLinks; }

  // Cuts Text into pieces again (the style follows its "s" command).
  void ParseMarkup();

 private:
  WideString FText;
  TKemTextStyle FStyle;
  std::vector<std::unique_ptr<TKemTextPiece>> FPieces;
  std::vector<std::unique_ptr<TKemTextLink>> FLinks;
};

// Text as mark-up that shows it literally: every "{" becomes the one-piece tag
// "{x {}". Callers put titles and other user text into paragraphs through it,
// so such text can neither hide words in tags nor make the layout load a file.
WideString KemLiteralText(std::u16string_view Text);

// Where a file picture of the mark-up is read: a name with ":\" at its second
// character or beginning with "\\" as it stands, any other within ProgramFolder
// (which ends in a path delimiter).
String KemPictureFileName(const String& Reference, const String& ProgramFolder);
