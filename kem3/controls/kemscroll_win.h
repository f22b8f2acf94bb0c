// The slim scroll bar of the library's panels (TKemPanelScroller: a track
// with a thumb and two flat arrow buttons) and the panel that hosts one
// (TKemScrolledPanel, the base of the panel list), with the skin references
// such a panel keeps.
#pragma once
#include <functional>
#include <memory>

#include "kem3/controls/kembase_win.h"
#include "kem3/controls/kempress_win.h"
#include "kem3/controls/kemscroll_geometry.h"
#include "kem3/controls/kemskinref.h"
#include "platform/timer.h"

class TKemButton;
class TKemScrolledPanel;

// Asked when a scroller sizes itself: ScrollSize is its thickness, ButtonSize
// the length of each arrow button (0 hides them). Sender is the scroller.
using TGetScrollSizeEvent = std::function<void(TObject* Sender, int& ScrollSize, int& ButtonSize)>;

class TKemPanelScroller : public TCustomControl {
 public:
  explicit TKemPanelScroller(TComponent* AOwner);
  ~TKemPanelScroller() override;

  // Color (TControl's) is the track's, $E8E8E8 at first.
  TColor ColorHighlight() const { return FColorHighlight; }
  void SetColorHighlight(TColor Value);
  TColor ColorShadow() const { return FColorShadow; }
  void SetColorShadow(TColor Value);
  // The thumb's fill and the arrow buttons' colour.
  TColor ColorSelection() const { return FColorSelection; }
  void SetColorSelection(TColor Value);

  // 0 .. Length - 1. Setting it repaints but does not fire OnChange: only the
  // user's moves (and a Length that pushes the position back) do.
  int Position() const { return FRange.Position(); }
  void SetPosition(int Value);
  int LastPosition() const { return FRange.LastPosition(); }
  int Length() const { return FRange.Length(); }
  void SetLength(int Value);
  // Arrow and wheel step; the track pages by four steps.
  int Step() const { return FRange.Step(); }
  void SetStep(int Value);
  int PageStep() const { return FRange.PageStep(); }

  TScrollerDirection Direction() const { return FDirection; }
  void SetDirection(TScrollerDirection Value);
  // What the scroller takes from its panel: its width when visible and
  // vertical (else 0), its height when visible and horizontal (else 0).
  int ViewWidth() const;
  int ViewHeight() const;

  // Auto-repeat of a button held on the track or on an arrow (ms).
  int InitPause() const { return FRepeat.InitPause; }
  void SetInitPause(int Value);
  int RepeatPause() const { return FRepeat.RepeatPause; }
  void SetRepeatPause(int Value);

  int Thickness() const { return FThickness; }
  int ButtonSize() const { return FButtonSize; }
  int MinThumb() const { return FMinThumb; }
  // Sizes itself: thickness and button size from the skin's scroller metrics
  // (14 and 14 without a skin), then the hosting panel's OnGetScrollSize may
  // change both; then the direction is applied again.
  void UpdateScrollSize();

  // One step back or forward, as the arrow buttons and the panel's wheel do:
  // nothing at the ends; otherwise OnChange and a repaint.
  void StepBack();
  void StepForward();

  // The colour the arrow glyphs are drawn in (the panel list's text colour).
  // The four glyphs are shared by every scroller of the process.
  void SetGlyphColor(TColor Value);
  TColor GlyphColor() const { return FGlyphColor; }
  // Puts the glyphs of the direction (or the skin's arrow images) on the buttons again.
  void ApplyGlyphs();
  // Tells the arrow buttons where they lie within the form, so skin textures
  // line up with the panel's (after the panel or the scroller moved).
  void UpdateTextureOffsets();

  // The thumb where it lies now, and its client rectangle.
  TScrollerThumb Thumb() const;
  TRect ThumbRect() const;
  // The arrow buttons: back (top or left) and forward (bottom or right).
  TKemButton* ButtonBack() const { return FButtonBack; }
  TKemButton* ButtonForward() const { return FButtonForward; }
  // The panel the scroller sits on (its owner), or nullptr.
  TKemScrolledPanel* Panel() const;

  // After the position changed by the user; the hosting panel binds it to its Scrolled.
  TNotifyEvent OnChange;

 protected:
  void Paint() override;
  void WndProc(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void BoundsChanged(const TRect& OldBounds) override;

 private:
  enum TTrackAction { taNone, taPageBack, taPageForward, taDrag };
  TKemButton* NewArrowButton();
  void Changed();
  void ApplyDirection();
  void ApplyButtonColors();
  void Page();
  void StopTracking();

  TScrollerRange FRange;
  TScrollerRepeat FRepeat;
  TScrollerDirection FDirection = sdVertical;
  TColor FColorHighlight;
  TColor FColorShadow;
  TColor FColorSelection;
  TColor FGlyphColor;
  int FThickness = ScrollerDefaultThickness;
  int FButtonSize = ScrollerDefaultButtonSize;
  int FMinThumb = ScrollerMinThumb;
  TKemButton* FButtonBack = nullptr;  // owned as components
  TKemButton* FButtonForward = nullptr;
  TPressRepeat FPageRepeat{this};
  TTrackAction FTracking = taNone;
  int FDragStartPosition = 0;
  int FDragStartAlong = 0;
  TCaptureWatch FCaptureWatch;
};

// A panel with a scroller of its own as its child (hidden at first), and the
// skin references the library's skinned panels keep. Scrolled runs when the
// user moved the scroller.
class TKemScrolledPanel : public TKemCustomControl {
 public:
  explicit TKemScrolledPanel(TComponent* AOwner);
  ~TKemScrolledPanel() override;

  TKemPanelScroller* Scroller() const { return FScroller; }

  TVosSkin* Skin() const { return FSkin; }
  // Stores the skin and puts the scroller's arrow images on again.
  virtual void SetSkin(TVosSkin* Value);
  TVosFormSkinner* FormSkinner() const { return FFormSkinner; }
  // Keeps the skinner and its texture slot, and takes the skinner's skin.
  void SetFormSkinner(TVosFormSkinner* Value);
  // The skin's texture cache slot of the skinner; -1 without one.
  int TextureSlot() const { return FTextureSlot; }
  // Where the panel lies within its form (0,0 without a form), for aligning textures.
  TPoint FormOffset() const { return FFormOffset; }

  // Asked whenever the scroller sizes itself (see TKemPanelScroller::UpdateScrollSize).
  TGetScrollSizeEvent OnGetScrollSize;

  void SetParent(TWinControl* AParent) override;

 protected:
  void BoundsChanged(const TRect& OldBounds) override;
  // The user moved the scroller.
  virtual void Scrolled() {}
  // Recomputes FormOffset, hands it on to the arrow buttons and repaints.
  void UpdateFormOffset();

 private:
  TKemPanelScroller* FScroller = nullptr;  // owned as a component
  TVosSkin* FSkin = nullptr;
  TVosFormSkinner* FFormSkinner = nullptr;
  int FTextureSlot = -1;
  TPoint FFormOffset;
};
