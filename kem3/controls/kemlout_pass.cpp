// The layout pass: line breaking, alignment, tabs, picture lift and drawing.
#include "kem3/controls/kemlout_pass.h"

#include <algorithm>
#include <climits>
#include <new>

#include "kem3/pictures/kemimage.h"

namespace {

using Pos = long long;  // positions add up over many pieces: kept wide, cut at output

int ToInt(Pos Value) { return static_cast<int>(std::clamp<Pos>(Value, INT_MIN / 2, INT_MAX / 2)); }

// Pictures larger than this are measured at this size; no layout shows more.
constexpr int kMaxPictureSide = 32767;

class TParagraphPass {
 public:
  TParagraphPass(TKemParagraph& Paragraph, IKemLayoutCanvas& Canvas, TKemLayoutPictures& Pictures,
                 const TKemLayoutPass& Pass, int Left, int Top)
      : FPieces(Paragraph.Pieces()),
        FStyle(Paragraph.Style()),
        FCanvas(Canvas),
        FPictures(Pictures),
        FPass(Pass),
        FLeft(Left),
        FTop(Top),
        FShift(Paragraph.Pieces().size(), 0) {
    for (auto& link : Paragraph.Links()) link->Reset();
  }

  int Run() {
    const TRect& margins = FStyle.Margins;
    FCanvas.SelectFont(FStyle.Font);
    FBaseHeight = FCanvas.TextHeight(u"Wp");
    FLineHeight = FBaseHeight;
    FAvailable = static_cast<Pos>(FPass.Width) - margins.Left - margins.Right;
    const int topMargin = std::max(0, margins.Top), bottomMargin = std::max(0, margins.Bottom);
    if (topMargin > 0) Fill(FLeft, FTop, FLeft + FPass.Width, FTop + topMargin, FPass.Color);
    FTop += topMargin;

    const size_t count = FPieces.size();
    size_t i = 0;
    StartLine(0);
    while (i < count) {
      TKemTextPiece& piece = *FPieces[i];
      const bool first = i == FLineStart;
      const int tabIndex = FTabIndex;
      Measure(i);
      Pos x = FX;
      if (piece.TabCode != ktNone) {
        x = TabPosition(FTabIndex++) - FShift[i];
      }
      const Pos end = x + piece.Width;
      if (piece.Width == 0 && first) {  // nothing to show at a line start
        FTabIndex = tabIndex;
        piece.Rect = TRect{};
        piece.Top = 0;
        FLineStart = ++i;
        continue;
      }
      if (end >= FAvailable && !first) {  // on to the next line, measured again there
        FLineHeightNext = FCanvas.TextHeight(u"Wp");
        FinishLine(i - 1);
        StartLine(i);
        continue;
      }
      Commit(i, x);
      FLineEnd = end;
      const Pos space = piece.SpaceAfter ? piece.SpaceWidth : 0;
      if (end < FAvailable && end + space < FAvailable) {
        FX = end + space;
        ++i;
        continue;
      }
      FLineHeightNext = FCanvas.TextHeight(u"Wp");
      FinishLine(i);
      StartLine(++i);
    }
    if (FLineStart < count) FinishLine(count - 1);
    if (bottomMargin > 0) Fill(FLeft, FTop + FY, FLeft + FPass.Width, FTop + FY + bottomMargin, FPass.Color);
    return ToInt(topMargin + FY + bottomMargin);
  }

 private:
  // The style's font with the piece's style, face and size.
  const TFont& PieceFont(const TKemTextPiece& Piece) {
    FFont.Assign(FStyle.Font);
    FFont.SetStyle(Piece.Format.Style);
    if (!Piece.Format.FontName.empty()) FFont.SetName(Piece.Format.FontName);
    if (Piece.Format.FontSize > 0) FFont.SetSize(Piece.Format.FontSize);
    return FFont;
  }

  void Measure(size_t Index) {
    TKemTextPiece& Piece = *FPieces[Index];
    FCanvas.SelectFont(PieceFont(Piece));
    if (Piece.IsPicture) {
      const TBitmap* picture = FPictures.Find(Piece);
      Piece.Width = picture ? std::min(picture->Width(), kMaxPictureSide) : 0;
      Piece.Height = picture ? std::min(picture->Height(), kMaxPictureSide) : 0;
    } else {
      const TSize extent = FCanvas.TextExtent(Piece.Text);
      Piece.Width = extent.cx;
      Piece.Height = extent.cy;
    }
    Piece.SpaceWidth = FCanvas.TextWidth(u" ");
    FShift[Index] = 0;
    if (Piece.TabCode == ktRight) {
      FShift[Index] = Piece.Width;
    } else if (Piece.TabCode == ktDecimal && !Piece.IsPicture) {
      // Up to the later of the first "," and the first ".".
      const size_t comma = Piece.Text.find(u','), dot = Piece.Text.find(u'.');
      size_t separator = std::max(comma == WideString::npos ? 0 : comma, dot == WideString::npos ? 0 : dot);
      if (comma == WideString::npos && dot == WideString::npos) separator = 0;
      if (separator > 0) FShift[Index] = FCanvas.TextWidth(Piece.Text.substr(0, separator));
    }
  }

  // The tab stop of the line's Index-th tab, clamped to the last, in
  // positions from the left margin (stops of 0 and below count back from the
  // right margin).
  Pos TabPosition(int Index) const {
    if (FStyle.Tabs.empty()) return 0;
    const int stop = FStyle.Tabs[std::min<size_t>(Index, FStyle.Tabs.size() - 1)];
    return stop > 0 ? stop : FAvailable + stop - 1;
  }

  void StartLine(size_t First) {
    FLineStart = First;
    FOffset = FIndent >= 0 ? FIndent : 0;
    FX = FOffset;
    FLineEnd = FOffset;
    FLift = 0;
    FTabIndex = 0;
    if (First > 0) FLineHeight = FLineHeightNext;
  }

  // The piece at X stays on the line: its lift, the line's height, and the
  // hanging indent a hanging tab sets for the lines after.
  void Commit(size_t Index, Pos X) {
    TKemTextPiece& piece = *FPieces[Index];
    if (piece.IsPicture && piece.PictureAlign != 0) {
      const int need = piece.PictureAlign == 1 ? (piece.Height - FBaseHeight) / 2 : piece.Height - FBaseHeight;
      if (FLift < need) {
        for (size_t j = FLineStart; j < Index; ++j) FPieces[j]->Top += need - FLift;
        FLift = need;
        piece.Top = 0;
      } else {
        piece.Top = FLift - need;
      }
    } else {
      piece.Top = FLift;
    }
    if (piece.IsPicture) FLineHeight = std::max(FLineHeight, piece.Height + piece.Top);
    if (piece.TabCode == ktHanging && FIndent < 0) FIndent = X;
  }

  void Fill(Pos Left, Pos Top, Pos Right, Pos Bottom, TColor Color) {
    if (!FPass.Paint || FPass.Transparent || Right <= Left || Bottom <= Top) return;
    FCanvas.FillRect(TRect{ToInt(Left), ToInt(Top), ToInt(Right), ToInt(Bottom)}, Color);
  }

  void FinishLine(size_t Last) {
    const bool lastLine = Last + 1 == FPieces.size();
    const Pos width = FLineEnd - FOffset;
    const TRect& margins = FStyle.Margins;
    Pos x = margins.Left + FOffset;
    int justifyCount = 0;
    Pos extra = 0;
    switch (FStyle.Alignment) {
      case kaCenter:
        x = margins.Left + (FAvailable - width) / 2;
        break;
      case kaRight:
        x = margins.Left + FAvailable - width;
        break;
      case kaJustify:
        if (!lastLine) {
          for (size_t j = FLineStart; j < Last; ++j) justifyCount += FPieces[j]->SpaceAfter ? 1 : 0;
          extra = std::max<Pos>(0, FAvailable - width);
        }
        break;
      default:
        break;
    }
    const Pos lineTop = FTop + FY;
    const Pos lineBottom = lineTop + FLineHeight;
    Fill(FLeft, lineTop, FLeft + x, lineBottom, FPass.Color);
    int tabIndex = 0, shared = 0, given = 0;
    for (size_t j = FLineStart; j <= Last; ++j) {
      TKemTextPiece& piece = *FPieces[j];
      const TKemTextFormat& format = piece.Format;
      const TColor back = format.BackColor != clNone ? format.BackColor : FPass.Color;
      if (piece.TabCode != ktNone) {
        const Pos tabX = margins.Left + TabPosition(tabIndex++) - FShift[j];
        Fill(FLeft + x, lineTop, FLeft + tabX, lineBottom, back);
        x = tabX;
      }
      const TRect cell{ToInt(FLeft + x), ToInt(lineTop + piece.Top), ToInt(FLeft + x + piece.Width),
                       ToInt(lineTop + piece.Top + piece.Height)};
      const bool spaced = piece.SpaceAfter && j != Last;
      if (FPass.Paint) Draw(piece, cell, back, spaced);
      piece.Rect = cell;
      if (TKemTextLink* link = piece.Link) {
        if (link->Valid)
          UnionRect(link->Rect, link->Rect, cell);
        else
          link->Rect = cell;
        link->Valid = true;
      }
      if (format.Mark == 1) {
        const Pos right = x + piece.Width + (spaced ? piece.SpaceWidth : 0);
        Fill(FLeft + x, lineTop, FLeft + right, lineTop + piece.Top, back);
        Fill(FLeft + x, lineTop + piece.Top + piece.Height, FLeft + right, lineBottom, back);
      }
      x += piece.Width;
      if (spaced) {
        x += piece.SpaceWidth;
        if (justifyCount > 0) {
          ++shared;
          const Pos share = (2 * extra * shared + justifyCount) / (2 * justifyCount) - given;
          given += static_cast<int>(share);
          Fill(FLeft + x, lineTop, FLeft + x + share, lineBottom, back);
          x += share;
        }
      }
    }
    Fill(FLeft + x, lineTop, FLeft + FPass.Width, lineBottom, FPass.Color);
    FY += FLineHeight;
  }

  void Draw(TKemTextPiece& Piece, const TRect& Cell, TColor Back, bool Spaced) {
    FCanvas.SelectFont(PieceFont(Piece));
    if (Piece.IsPicture) {
      Fill(Cell.Left, Cell.Top, Cell.Right, Cell.Bottom, Back);
      if (TBitmap* picture = FPictures.Find(Piece)) FCanvas.DrawPicture(*picture, Cell.Left, Cell.Top);
      return;
    }
    const TColor color = Piece.Format.Color != clNone ? Piece.Format.Color : FStyle.Font.Color();
    FCanvas.DrawText(Cell.Left, Cell.Top, Spaced ? Piece.Text + u" " : Piece.Text, color,
                     FPass.Transparent ? clNone : Back);
  }

  std::vector<std::unique_ptr<TKemTextPiece>>& FPieces;
  const TKemTextStyle& FStyle;
  IKemLayoutCanvas& FCanvas;
  TKemLayoutPictures& FPictures;
  const TKemLayoutPass& FPass;
  const int FLeft;
  Pos FTop;
  TFont FFont;
  std::vector<Pos> FShift;  // what a right or decimal tab takes off its stop

  int FBaseHeight = 0;
  int FLineHeight = 0;
  int FLineHeightNext = 0;
  Pos FAvailable = 0;
  Pos FY = 0;
  size_t FLineStart = 0;
  Pos FOffset = 0;
  Pos FIndent = -1;  // the hanging indent, from the left margin
  Pos FX = 0;
  Pos FLineEnd = 0;
  int FLift = 0;
  int FTabIndex = 0;
};

}  // namespace

void KemMaskCornerColor(TBitmap& Picture) {
  if (Picture.Empty() || (Picture.PixelFormat() == pf32bit && Picture.AlphaFormat() != afIgnored)) return;
  SetCornerTransparentColor(Picture);
  const TColor clear = ColorToRGB(Picture.TransparentColor());
  Picture.SetPixelFormat(pf32bit);
  for (int y = 0; y < Picture.Height(); ++y) {
    auto* row = static_cast<TRGBQuad*>(Picture.ScanLine(y));
    for (int x = 0; x < Picture.Width(); ++x) {
      const TRGBQuad& p = row[x];
      row[x].rgbReserved = RGBColor(p.rgbRed, p.rgbGreen, p.rgbBlue) == clear ? 0 : 255;
    }
  }
  Picture.SetAlphaFormat(afDefined);
}

int TKemLayoutPictures::Add(std::unique_ptr<TBitmap> Picture) {
  FList.push_back(std::move(Picture));
  return Count() - 1;
}

void TKemLayoutPictures::Clear(bool WithList) {
  FLoaded.clear();
  if (WithList) FList.clear();
}

TBitmap* TKemLayoutPictures::Find(const TKemTextPiece& Piece) {
  if (!Piece.IsPicture) return nullptr;
  if (Piece.IsLocal) {
    if (Piece.LocalIndex < 0 || Piece.LocalIndex >= Count()) return nullptr;
    TBitmap* picture = FList[Piece.LocalIndex].get();
    return picture && !picture->Empty() ? picture : nullptr;
  }
  const auto key = std::make_pair(Piece.IsResource, Piece.Text);
  auto found = FLoaded.find(key);
  if (found == FLoaded.end()) {
    // A paragraph names few pictures; a flood of names only costs reloading.
    if (FLoaded.size() >= 256) FLoaded.clear();
    std::unique_ptr<TBitmap> picture;
    if (FLoader) {
      try {
        picture = FLoader(Piece);
      } catch (const Exception&) {
        picture.reset();
      } catch (const std::bad_alloc&) {
        picture.reset();
      }
    }
    found = FLoaded.emplace(key, std::move(picture)).first;
  }
  TBitmap* picture = found->second.get();
  return picture && !picture->Empty() ? picture : nullptr;
}

int LayoutParagraph(TKemParagraph& Paragraph, IKemLayoutCanvas& Canvas, TKemLayoutPictures& Pictures,
                    const TKemLayoutPass& Pass, int Left, int Top) {
  return TParagraphPass(Paragraph, Canvas, Pictures, Pass, Left, Top).Run();
}

int LayoutParagraphs(const std::vector<std::unique_ptr<TKemParagraph>>& Paragraphs, IKemLayoutCanvas& Canvas,
                     TKemLayoutPictures& Pictures, const TKemLayoutPass& Pass, int Top) {
  Pos top = Top;
  for (const auto& paragraph : Paragraphs) top += LayoutParagraph(*paragraph, Canvas, Pictures, Pass, 0, ToInt(top));
  return ToInt(top);
}

TKemTextLink* KemLinkAt(const std::vector<std::unique_ptr<TKemParagraph>>& Paragraphs, TPoint Point) {
  for (auto p = Paragraphs.rbegin(); p != Paragraphs.rend(); ++p)
    for (const auto& link : (*p)->Links())
      if (link->Valid && PtInRect(link->Rect, Point)) return link.get();
  return nullptr;
}
