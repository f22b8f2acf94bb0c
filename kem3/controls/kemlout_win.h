// The text layout control: paragraphs of brace mark-up laid out and painted
// on its canvas, with pictures, a background picture and clickable links.
#pragma once
#include <functional>
#include <memory>
#include <vector>

#include "kem3/controls/kembase_win.h"
#include "kem3/controls/kemlout_pass.h"

class TKemLayout;
using TKemOnLink = std::function<void(TObject* Sender, TKemTextLink* Link)>;

// Measures and draws the layout pass on a canvas.
class TKemCanvasLayoutSurface : public IKemLayoutCanvas {
 public:
  explicit TKemCanvasLayoutSurface(TCanvas* Canvas) : FCanvas(Canvas) {}
  TSize TextExtent(const WideString& Text) override { return FCanvas->TextExtent(Text); }
  void SelectFont(const TFont& Font) override;
  void FillRect(const TRect& Rect, TColor Color) override;
  void DrawText(int X, int Y, const WideString& Text, TColor Color, TColor Back) override;
  void DrawPicture(TBitmap& Picture, int X, int Y) override { FCanvas->Draw(X, Y, Picture); }

 private:
  TCanvas* FCanvas;
};

class TKemLayout : public TKemCustomControl {
 public:
  explicit TKemLayout(TComponent* AOwner);
  ~TKemLayout() override;

  // Frees the paragraphs (and with WithPictures the pictures of AddPicture).
  void Clear(bool WithPictures);
  // Parses Text at once; nothing is repainted.
  void AddParagraph(const WideString& Text);
  // The layout owns the picture; "local:<index>" in the mark-up names it.
  int AddPicture(std::unique_ptr<TBitmap> Bitmap);
  // Lays the paragraphs out in the control's width without drawing; the
  // result, also kept as LayoutHeight, is the height painting takes.
  int CalcLayoutHeight();
  int GetParagraphCount() const { return static_cast<int>(FParagraphs.size()); }
  const std::vector<std::unique_ptr<TKemParagraph>>& Paragraphs() const { return FParagraphs; }
  int LayoutHeight() const { return FLayoutHeight; }

  // Drawn at the top left under the text, which then fills nothing.
  TBitmap* Background() const { return FBackground.get(); }
  void SetBackground(const TBitmap& Value);
  bool LayoutAutoSize() const { return FLayoutAutoSize; }
  void SetLayoutAutoSize(bool Value) { FLayoutAutoSize = Value; }

  // The link at a client point after the last layout pass, or nullptr.
  TKemTextLink* LinkAt(TPoint Point) const { return KemLinkAt(FParagraphs, Point); }
  // The left button pressed and released over the same link.
  TKemOnLink OnLink;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  std::vector<std::unique_ptr<TKemParagraph>> FParagraphs;
  TKemLayoutPictures FPictures;
  std::unique_ptr<TBitmap> FBackground;
  int FLayoutHeight = 0;
  TKemTextLink* FPressedLink = nullptr;
  bool FLayoutAutoSize = true;
};
