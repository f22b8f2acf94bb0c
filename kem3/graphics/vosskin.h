// TVosSkin: one layout of a skin loaded from its definition file "skin.xml"
// into a model of named textures, borders, glyphs, form frames, menu frames,
// buttons, knobs, container groups and per-window records of metrics, fonts
// and text drawings, with the texture cache of every skinned window and the
// drawing operations that paint skinned elements into 32-bit bitmaps.
//
// The model, its loading and all drawing but the rasterising of text need no
// operating system. The process has one skin object (CurrentSkin, in
// vosskinlist.h); every caller selects its window record and cache slot
// before it draws or reads metrics, so drawing is not reentrant.
#pragma once
#include <array>
#include <memory>
#include <vector>

#include "kem3/graphics/vosskinregion.h"
#include "kem3/graphics/vosskintext.h"
#include "kem3/graphics/vosskinvalues.h"
#include "platform/bitmap.h"
#include "platform/exceptions.h"
#include "platform/geometry.h"

class TKemXmlTag;

// A skin definition that cannot be used at all (not XML, or no root element).
ORV_EXCEPTION(EVosSkin, Exception)

class TVosSkinItem {
 public:
  int Width = 0;
  int Height = 0;
};

// One of the eight parts of a frame, cut from the frame's picture. Corners
// carry two regions in their own coordinates: magenta pixels (outside the
// window) and pure blue ones (the texture shows through).
class TVosSkinPart : public TVosSkinItem {
 public:
  std::unique_ptr<TBitmap> Bitmap;
  TVosRegion Outside;
  TVosRegion ShowThrough;
  bool NoShowThrough = true;
  bool Stretch = false;
  bool Empty() const { return !Bitmap || Bitmap->Empty(); }
};

// Parts 0-3 are the corners upper-left, upper-right, lower-left,
// lower-right; 4-7 the edges upper, lower, left, right.
using TVosFrame = std::array<TVosSkinPart, 8>;

class TVosSkinGrip : public TVosSkinItem {
 public:
  TVosRegion Region;
};
using TVosGrips = std::array<TVosSkinGrip, 4>;

class TVosTexture {
 public:
  String Name;
  TColor Color = clNone;
  std::unique_ptr<TBitmap> Image;
  bool StretchWidth = false;
  bool StretchHeight = false;
  // One per cache slot; nil for a texture without an image.
  std::vector<std::unique_ptr<TBitmap>> Cache;
};

class TVosBorder {
 public:
  String Name;
  bool HasImage = false;
  bool HasHighlight = false;
  bool HasShadow = false;
  TVosFrame Image;
  TVosFrame Highlight;
  TVosFrame Shadow;
};

class TVosGlyph {
 public:
  int Index = 0;
  String Name;
  std::unique_ptr<TBitmap> Image;
  std::unique_ptr<TBitmap> Highlight;
  std::unique_ptr<TBitmap> Shadow;
  // The largest of the given pictures (0 without any).
  int Width() const;
  int Height() const;
};

struct TVosSkinButton {
  String Name;
  int Index = 0;
  int Normal = 0, Pressed = 0, Over = -1, Gray = -1, Down = -1;  // glyph indices
};

struct TVosSkinKnob {
  String Name;
  int Index = 0;
  int Normal = 0, Pressed = 0, Over = -1;  // glyph indices
  int Grip = -1;                           // button index
  int Radius = 0;
};

// A container slot: margins from the window's edges (see VosSlotRect).
struct TVosSlot {
  String Id;
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool CenterX = false, CenterY = false;
  int Width = 0, Height = 0, MinWidth = 0, MinHeight = 0;
};
using TVosContainerGroup = std::vector<TVosSlot>;
// The first slot of that id (case-insensitive) in Group: its index, or -1.
int IndexOfSlot(const TVosContainerGroup& Group, const String& Id);

struct TVosMenuLogo {
  String Name;
  int Glyph = 0;
  int Texture = 0;
};

struct TVosIndents {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  friend bool operator==(const TVosIndents&, const TVosIndents&) = default;
};

// What most elements of a window record have: indents, a border, a texture
// and the texture behind it.
struct TVosElement {
  TVosIndents Indent;
  int Border = -1;
  int Texture = 0;
  int TextureBack = 0;
};

TVosSkinText VosDefaultText(int Alpha = 255);

// One window record: everything a skinned window reads of the skin.
struct TVosWindowRecord {
  String Id;
  // "form"
  int FormFrame = 0;
  int FormTexture = 0;
  int MinWidth = -1, MinHeight = -1, MaxWidth = -1, MaxHeight = -1;
  int FrameWidth = 4, FrameHeight = 4;  // the side and top/bottom resize bands
  // "form.caption"
  TVosElement Caption;
  TVosSkinFont CaptionFont;
  TVosSkinText CaptionText = VosDefaultText();
  TVosSkinText CaptionTextNoFocus = VosDefaultText();
  // "form.icon"
  int IconTexture = 0;
  // "panellist"
  TVosElement PanelList;
  // "panellist.scrollbar": kind 0 horizontal, 1 vertical.
  std::array<int, 2> ScrollWidth{-1, -1}, ScrollHeight{-1, -1};
  std::array<int, 4> ScrollButtons{-1, -1, -1, -1};  // horizontal left, right, vertical top, bottom
  std::array<int, 2> ScrollSlider{-1, -1}, ScrollBackground{-1, -1};
  // "panellist.item"
  TVosIndents ItemIndent;
  int ItemBorderNormal = -1, ItemBorderSelected = -1, ItemBorderMarked = -1, ItemBorderOver = -1;
  int ItemTextureNormal = -1, ItemTextureSelected = -1, ItemTextureOdd = -1, ItemTextureSelectOdd = -1,
      ItemTextureMarked = -1, ItemTextureOver = -1;
  int ItemSpaceLeft = 8, ItemSpaceTop = 8, ItemSpaceRight = 8, ItemSpaceBottom = 8, ItemSpaceHorizontal = 8,
      ItemSpaceVertical = 8;
  int ItemFadeWidth = 0;
  // "panellist.item.text"
  TVosSkinFont ItemFont;
  TVosSkinText ItemTextNormal = VosDefaultText(), ItemTextOver = VosDefaultText(), ItemTextDown = VosDefaultText(),
               ItemTextDisabled = VosDefaultText(128), ItemTextMarked = VosDefaultText();
  // "buttonset", "buttonset.item", "buttonset.item.text"
  TVosElement ButtonSet;
  TVosIndents SetItemIndent;
  int SetItemBorderNormal = -1, SetItemBorderSelected = -1, SetItemBorderPressed = -1;
  int SetItemTextureNormal = -1, SetItemTextureSelected = -1, SetItemTexturePressed = -1;
  TVosSkinFont SetItemFont;
  TVosSkinText SetItemTextNormal = VosDefaultText(), SetItemTextPressed = VosDefaultText(),
               SetItemTextDown = VosDefaultText(), SetItemTextDisabled = VosDefaultText(128);
  // "hint", "hint.caption"
  TVosElement Hint;
  TVosIndents HintInterior;
  TVosSkinFont HintFont;
  TVosSkinText HintText = VosDefaultText();
  // "panel" by index
  std::array<TVosElement, 4> Panels;
  // "toolbar", "toolbar.item", "toolbar.item.text"
  TVosElement Toolbar;
  int ToolItemBorderNormal = -1, ToolItemBorderOver = -1, ToolItemBorderPressed = -1;
  int ToolItemTextureNormal = 0, ToolItemTextureOver = 0, ToolItemTexturePressed = 0;
  int ToolItemSpaceTop = 0, ToolItemSpaceVertical = 0;
  TVosSkinFont ToolItemFont;
  TVosSkinText ToolItemTextNormal = VosDefaultText(), ToolItemTextOver = VosDefaultText(),
               ToolItemTextDown = VosDefaultText(), ToolItemTextDisabled = VosDefaultText(128);
  // "buttons" and "toolbar.buttons"
  struct TWindowButton {
    String Id;
    int Button = 0;
    int Texture = 0;
  };
  std::vector<TWindowButton> Buttons;
  // "tracker", "splitter", "knobs"
  TVosElement Tracker;
  int TrackerGrip = 0;
  int SplitterTexture = 0;
  int SplitterMark = 0;
  struct TWindowKnob {
    String Id;
    int Knob = 0;
    int Texture = 0;
  };
  std::vector<TWindowKnob> Knobs;
};

// The menus' part of the skin (frames and shadows are kept per menu).
struct TVosMenuLook {
  int Frame = 0;
  int Texture = 0;
  std::array<int, 4> SubmenuMarks{0, 0, 0, 0};  // enabled normal/over, disabled normal/over
  std::array<int, 4> CheckedMarks{0, 0, 0, 0};
  std::vector<TVosMenuLogo> Logos;
  TVosIndents ShadowIndent, FrameIndent, IconIndent, ItemIndent;
  int ItemBorderNormal = -1, ItemBorderOver = -1, ItemTextureNormal = -1, ItemTextureOver = -1;
  TVosIndents SeparatorIndent;
  int SeparatorBorder = -1;
  int SeparatorHeight = -1;
  TVosIndents TextIndent;
  int SpaceShortcut = 0, SpaceChecked = 0, SpaceSubmenu = 0;
  TVosSkinFont Font;
  // enabled normal, enabled over, disabled normal, disabled over
  std::array<TVosSkinText, 4> Texts{VosDefaultText(), VosParseTextDrawing("ffffff,255,(0,0)"), VosDefaultText(128),
                                    VosParseTextDrawing("ffffff,128,(0,0)")};
};

// Panel item states of DrawPanelItem and DrawPanelItemText.
enum : int { vpsNormal = 0, vpsDown = 2, vpsSelected = 2, vpsOver = 3, vpsMarked = 5 };

class TVosSkin {
 public:
  TVosSkin();
  ~TVosSkin();
  TVosSkin(const TVosSkin&) = delete;
  TVosSkin& operator=(const TVosSkin&) = delete;

  // ---- The definition.
  const String& DefinitionFile() const { return FDefinitionFile; }
  void SetDefinitionFile(const String& Value) { FDefinitionFile = Value; }
  const String& LayoutId() const { return FLayoutId; }
  void SetLayoutId(const String& Value) { FLayoutId = Value; }
  // The folder of the definition file, with its trailing delimiter.
  String GetSkinDir() const;

  // Frees what was loaded and resets every list and default; the cache slot
  // count and the current slot stay.
  void Clear();
  // Clear, then Load(LayoutId).
  void Reload();
  // Loads the layout (its [base] chain first) on top of what is there. A
  // missing file or layout loads nothing; a file that is not a skin
  // definition raises EVosSkin.
  void Load(const String& LayoutId);
  // The attribute of the layout's element, read anew from the file ("" when missing).
  String ReadLayoutAttr(const String& LayoutId, const String& Attribute) const;

  // ---- Texture cache slots and the window record in use.
  int AddCacheSlot();
  void SelectCacheSlot(int Slot);
  int CacheSlot() const { return FCacheSlot; }
  int CacheSlotCount() const { return FCacheSlotCount; }
  // Rebuilds the cache pictures of the current slot for a window of that size.
  void ResizeTextures(int Width, int Height);
  int IndexOfWindow(const String& Id) const;
  void SelectWindow(int Index);
  int WindowIndex() const { return FWindowIndex; }
  // The current window record (a record of defaults when there is none).
  const TVosWindowRecord& Window() const;

  // ---- The model.
  int TextureCount() const { return static_cast<int>(FTextures.size()); }
  TVosTexture* Texture(int Index) const;
  int BorderCount() const { return static_cast<int>(FBorders.size()); }
  TVosBorder* Border(int Index) const;
  int GlyphCount() const { return static_cast<int>(FGlyphs.size()); }
  TVosGlyph* Glyph(int Index) const;
  int FormCount() const { return static_cast<int>(FFormFrames.size()); }
  const TVosFrame* FormFrame(int Index) const;
  const TVosGrips* FormGrips(int Index) const;
  int MenuFrameCount() const { return static_cast<int>(FMenuFrames.size()); }
  const TVosFrame* MenuFrame(int Index) const;
  const TVosFrame* MenuShadow(int Index) const;
  const std::vector<TVosSkinButton>& Buttons() const { return FButtons; }
  const std::vector<TVosSkinKnob>& Knobs() const { return FKnobs; }
  const std::vector<TVosContainerGroup>& Containers() const { return FContainers; }
  const std::vector<TVosWindowRecord>& Windows() const { return FWindows; }
  const TVosMenuLook& Menu() const { return FMenu; }
  // First entry in load order with that name (case-insensitive), or -1.
  int IndexOfTexture(const String& Name) const;
  int IndexOfBorder(const String& Name) const;
  int IndexOfGlyph(const String& Name) const;
  int IndexOfForm(const String& Name) const;
  int IndexOfMenuFrame(const String& Name) const;
  int IndexOfButton(const String& Name) const;
  int IndexOfKnob(const String& Name) const;

  // ---- Metrics of the current window record.
  TVosTexture* GetPanelListTexture() const;
  int GetPanelListTextureIndex() const;
  // Kind 0 horizontal, 1 vertical: width and height, -1 where the skin gives none.
  TSize GetScrollBarSize(int Kind) const;
  int GetScrollBarWidth(int Kind) const { return GetScrollBarSize(Kind).cx; }
  int GetScrollBarHeight(int Kind) const { return GetScrollBarSize(Kind).cy; }
  // Arrow button index: 0 horizontal left, 1 horizontal right, 2 vertical top, 3 vertical bottom.
  int GetScrollBarMargin(int Index) const;
  TBitmap* GetButtonSetTextureBitmap() const;
  const String& GetPanelItemFontName() const { return Window().ItemFont.Name; }
  int GetPanelItemFontSize() const { return Window().ItemFont.Size; }
  TFontStyles GetPanelItemFontStyle() const { return Window().ItemFont.Style; }
  const String& GetButtonSetFontName() const { return Window().SetItemFont.Name; }
  int GetButtonSetFontSize() const { return Window().SetItemFont.Size; }
  TFontStyles GetButtonSetFontStyle() const { return Window().SetItemFont.Style; }
  const String& GetHintFontName() const { return Window().HintFont.Name; }
  int GetHintFontSize() const { return Window().HintFont.Size; }
  TFontStyles GetHintFontStyle() const { return Window().HintFont.Style; }
  int GetPanelListIndentLeft() const { return Window().PanelList.Indent.Left; }
  int GetPanelListIndentTop() const { return Window().PanelList.Indent.Top; }
  int GetPanelListIndentRight() const { return Window().PanelList.Indent.Right; }
  int GetPanelListIndentBottom() const { return Window().PanelList.Indent.Bottom; }
  int GetPanelItemIndentLeft() const { return Window().ItemIndent.Left; }
  int GetPanelItemIndentTop() const { return Window().ItemIndent.Top; }
  int GetPanelItemIndentRight() const { return Window().ItemIndent.Right; }
  int GetPanelItemIndentBottom() const { return Window().ItemIndent.Bottom; }
  int GetButtonSetIndentLeft() const { return Window().ButtonSet.Indent.Left; }
  int GetButtonSetIndentTop() const { return Window().ButtonSet.Indent.Top; }
  int GetButtonSetIndentRight() const { return Window().ButtonSet.Indent.Right; }
  int GetButtonSetIndentBottom() const { return Window().ButtonSet.Indent.Bottom; }
  int GetButtonSetItemIndentLeft() const { return Window().SetItemIndent.Left; }
  int GetButtonSetItemIndentTop() const { return Window().SetItemIndent.Top; }
  int GetButtonSetItemIndentRight() const { return Window().SetItemIndent.Right; }
  int GetButtonSetItemIndentBottom() const { return Window().SetItemIndent.Bottom; }
  int GetHintIndentLeft() const { return Window().Hint.Indent.Left; }
  int GetHintIndentTop() const { return Window().Hint.Indent.Top; }
  int GetHintIndentRight() const { return Window().Hint.Indent.Right; }
  int GetHintIndentBottom() const { return Window().Hint.Indent.Bottom; }
  // The fonts and indents above as wholes.
  const TVosSkinFont& GetPanelItemFont() const { return Window().ItemFont; }
  const TVosSkinFont& GetButtonSetFont() const { return Window().SetItemFont; }
  const TVosSkinFont& GetHintFont() const { return Window().HintFont; }
  const TVosIndents& GetPanelListIndent() const { return Window().PanelList.Indent; }
  const TVosIndents& GetPanelItemIndent() const { return Window().ItemIndent; }
  const TVosIndents& GetButtonSetIndent() const { return Window().ButtonSet.Indent; }
  const TVosIndents& GetButtonSetItemIndent() const { return Window().SetItemIndent; }
  const TVosIndents& GetHintIndent() const { return Window().Hint.Indent; }
  int GetPanelItemSpaceLeft() const { return Window().ItemSpaceLeft; }
  int GetPanelItemSpaceTop() const { return Window().ItemSpaceTop; }
  int GetPanelItemSpaceRight() const { return Window().ItemSpaceRight; }
  int GetPanelItemSpaceBottom() const { return Window().ItemSpaceBottom; }
  int GetPanelItemSpaceVertical() const { return Window().ItemSpaceVertical; }
  int GetPanelItemFadeWidth() const { return Window().ItemFadeWidth; }
  int GetMenuLogoWidth(const String& LogoName) const;
  int GetSubmenuMarkWidth() const;

  // ---- Drawing into 32-bit bitmaps (vosskindraw.cpp). Offsets are where the
  // target's origin lies against the window's texture grid, as the negated
  // position of the target in its form: textures stay aligned to the form.
  void DrawTexture(int Texture, TBitmap& Target, int OffsetY, int OffsetX, const TRect& Rect);
  // The form frame over Rect, then the form texture in the rest (corners'
  // blue pixels included); ChildRects are left out unless ClipChildren.
  void DrawWindowFrame(TBitmap& Target, const TRect& Rect, bool ClipChildren, const std::vector<TRect>& ChildRects,
                       int FormFrame);
  // Shadow, highlight, then image; Vertical lays the border out turned.
  void DrawBorder(int Border, TBitmap& Target, const TRect& Rect, bool Vertical = false);
  void DrawGlyph(int Glyph, TBitmap& Target, int Y, int X);
  void DrawPanelListFrame(TBitmap& Target, const TRect& Rect, int OffsetY, int OffsetX);
  void DrawPanelItem(TBitmap& Target, const TRect& Rect, int Flags, int State, int OffsetY, int OffsetX);
  void DrawButtonSetBackground(TBitmap& Target, const TRect& Rect, int OffsetY, int OffsetX);
  // State 0 normal, 1 pressed, 2 selected.
  void DrawButtonSetItem(TBitmap& Target, const TRect& Rect, int State, int OffsetY, int OffsetX);
  void DrawButton(TBitmap& Target, const TRect& Rect, bool Pressed, int OffsetY, int OffsetX, int Texture, int Button);
  // Kind 0 horizontal, 1 vertical: the background over the whole target, the slider in Rect.
  void DrawScrollBar(TBitmap& Target, const TRect& Rect, int Kind);
  void DrawMenuBackground(TBitmap& Target, const TRect& Rect, const String& LogoName);
  // Kind 0 normal, 3 highlighted, 4 separator.
  void DrawMenuItemBackground(TBitmap& Target, const TRect& Rect, int Kind, int OffsetY, int OffsetX);

  // ---- Text (vosskintext.cpp).
  // Text drawn with a text drawing in a font into Rect, laid out with Flags.
  // Orientation 0 horizontal, 1 turned clockwise, 2 counter-clockwise.
  void DrawSkinText(TBitmap& Target, const TRect& Rect, const WideString& Text, const TVosSkinText& Drawing,
                    const TVosSkinFont& Font, unsigned Flags, int Orientation = 0);
  // The extent of a text in a skin font, laid out with Flags in a box Width wide.
  TSize MeasureSkinText(const TVosSkinFont& Font, const WideString& Text, unsigned Flags, int Width);
  // The caption's texture (over its back texture), its border, then its text.
  void DrawCaption(TBitmap& Target, const TRect& Rect, const WideString& Text, int OffsetY, int OffsetX);
  void DrawCaptionText(TBitmap& Target, const TRect& Rect, const WideString& Text, bool Focused = true);
  // A hint: the bitmap cleared to transparent black, the hint border over
  // Rect, the texture inside the interior indents, then the text centred and
  // word-wrapped inside the text indents; the text leaves the alpha as it was.
  void DrawHint(TBitmap& Target, const TRect& Rect, const WideString& Text);
  // Columns and mark-up (see vosskinmarkup.h).
  void DrawPanelItemText(TBitmap& Target, const TRect& Rect, const std::vector<int>& TabStops, bool Enabled, int State,
                         const WideString& Text);
  // Centred, turned for vertical bars; State 0 normal, 1 pressed, 2 down.
  // ShowAccel underlines the character after "&". Returns the height of "Wg".
  int DrawButtonSetItemText(TBitmap& Target, const TRect& Rect, int Orientation, bool Enabled, int State,
                            const WideString& Text, bool ShowAccel = true);
  // Rect is the item's text rectangle (inside the text indents): the caption
  // at its left, the submenu mark or the shortcut at its right, the check mark
  // left of it.
  void DrawMenuItemText(TBitmap& Target, const TRect& Rect, bool Submenu, bool Checked, bool Enabled, int State,
                        const WideString& Shortcut, const WideString& Caption);
  // The panel item text drawing of a state (as DrawPanelItemText chooses it).
  const TVosSkinText& PanelItemText(bool Enabled, int State) const;
  IVosTextRasterizer& Rasterizer();
  void SetRasterizer(std::unique_ptr<IVosTextRasterizer> Value) { FRasterizer = std::move(Value); }

  // ---- Regions (window coordinates).
  // The rectangle less the magenta pixels of the four frame corners.
  TVosRegion GetWindowRegion(int FormFrame, int Width, int Height) const;
  // Grip 1-8: the four corners, then the upper, lower, left and right bands.
  TVosRegion GetGripRegion(int Form, int Grip, int Width, int Height) const;

 private:
  friend class TVosSkinLoader;
  void ResetDefaults();
  TVosTexture* TextureAt(int Index) const;
  // The cache picture of the current slot, or the image itself before any slot exists.
  TBitmap* TextureBitmap(const TVosTexture& Texture) const;
  void DrawFrame(const TVosFrame& Frame, TBitmap& Target, const TRect& Rect, int Kind);
  // A shadow (darkening) or highlight (lightening) frame over Rect.
  void DrawOverlay(const TVosFrame& Frame, TBitmap& Target, const TRect& Rect, bool Shadow);
  void DrawElementBack(const TVosElement& Element, TBitmap& Target, const TRect& Rect, int OffsetY, int OffsetX);

  String FDefinitionFile;
  String FLayoutId;
  std::vector<std::unique_ptr<TVosTexture>> FTextures;
  std::vector<std::unique_ptr<TVosBorder>> FBorders;
  std::vector<std::unique_ptr<TVosGlyph>> FGlyphs;
  std::vector<String> FFormNames;
  std::vector<std::unique_ptr<TVosFrame>> FFormFrames;
  std::vector<std::unique_ptr<TVosGrips>> FFormGrips;
  std::vector<String> FMenuNames;
  std::vector<std::unique_ptr<TVosFrame>> FMenuFrames;
  std::vector<std::unique_ptr<TVosFrame>> FMenuShadows;
  std::vector<TVosSkinButton> FButtons;
  std::vector<TVosSkinKnob> FKnobs;
  std::vector<TVosContainerGroup> FContainers;
  std::vector<TVosWindowRecord> FWindows;
  TVosMenuLook FMenu;
  int FCacheSlot = -1;
  int FCacheSlotCount = 0;
  int FWindowIndex = 0;
  // Scratch pictures of the drawing operations: colour, mask and spare.
  TBitmap FColorBuffer, FMaskBuffer, FSpareBuffer;
  std::unique_ptr<IVosTextRasterizer> FRasterizer;
};
