// The popup menu's arithmetic: measuring, stacking, monitor clamping, hook
// areas and keyboard moves.
#include "kem3/controls/kemmenu_model.h"

#include <algorithm>

#include "platform/keys.h"
#include "platform/sysutils.h"

TKemMenuMetrics PlainMenuMetrics() {
  TKemMenuMetrics m;
  m.Frame = {2, 2, 2, 2};
  m.Icon = {3, 3, 3, 3};
  return m;
}

TKemMenuMetrics SkinMenuMetrics(const TVosSkin& Skin, const String& LogoName) {
  const TVosMenuLook& look = Skin.Menu();
  TKemMenuMetrics m;
  m.Skinned = true;
  m.Outer = look.ShadowIndent;
  m.Frame = look.FrameIndent;
  m.Icon = look.IconIndent;
  m.Item = look.ItemIndent;
  m.Text = look.TextIndent;
  m.Separator = look.SeparatorIndent;
  m.SeparatorHeight = std::max(0, look.SeparatorHeight);
  m.SubmenuMarkWidth = Skin.GetSubmenuMarkWidth();
  m.SpaceSubmenu = look.SpaceSubmenu;
  m.SpaceShortcut = look.SpaceShortcut;
  m.LogoWidth = Skin.GetMenuLogoWidth(LogoName);
  for (const TVosMenuLogo& logo : look.Logos) {
    if (!SameText(logo.Name, LogoName)) continue;
    // The skin puts the logo at the strip's bottom: what stands above its ink is empty.
    if (const TVosGlyph* g = Skin.Glyph(logo.Glyph)) {
      int ink = 0;
      for (const TBitmap* b : {g->Image.get(), g->Highlight.get(), g->Shadow.get()})
        if (const int h = b ? InkedHeight(*b) : 0; h > 0) ink = std::max(ink, g->Height() - b->Height() + h);
      m.LogoHeight = ink;
    }
    break;
  }
  return m;
}

TKemMenuEntrySize MeasureMenuEntry(TKemMenuEntryKind Kind, const TKemMenuEntryText& Text, const TKemMenuMetrics& M) {
  TKemMenuEntrySize s;
  if (Kind == mekSeparator) {
    if (M.Skinned) {
      s.Width = M.Separator.Left + M.Separator.Right + 10;
      s.Height = M.SeparatorHeight + M.Separator.Top + M.Separator.Bottom;
    } else {
      s.Width = 1;
      s.Height = 15;
    }
    return s;
  }
  const bool submenu = Kind == mekItem && Text.Submenu;
  const int shortcut = Kind == mekItem && !submenu ? Text.ShortcutWidth : 0;
  s.Width = Text.Caption.cx;
  s.Height = Text.Caption.cy;
  if (M.Skinned) {
    s.Width += M.Text.Left + M.Text.Right;
    s.Height += M.Text.Top + M.Text.Bottom;
    if (submenu)
      s.Width += M.SubmenuMarkWidth + M.SpaceSubmenu;
    else if (shortcut > 0)
      // The skin draws a shortcut clear of the submenu mark's space at the
      // right: that space is kept too, so the shortcut space stays whole.
      s.Width += shortcut + M.SpaceShortcut + M.SpaceSubmenu;
  } else {
    s.Width += 30;
    s.Height += 8;
    if (shortcut > 0) s.Width += shortcut + 15;
  }
  if (Text.Icon.cx > 0 && Text.Icon.cy > 0) {
    s.IconWidth = Text.Icon.cx + M.Icon.Left + M.Icon.Right;
    s.Height = std::max(s.Height, Text.Icon.cy + M.Icon.Top + M.Icon.Bottom);
  }
  if (M.Skinned) {
    s.Width += M.Item.Left + M.Item.Right;
    s.Height += M.Item.Top + M.Item.Bottom;
  }
  return s;
}

int InkedHeight(const TBitmap& Picture) {
  if (Picture.Empty()) return 0;
  if (Picture.PixelFormat() != pf32bit || Picture.AlphaFormat() == afIgnored) return Picture.Height();
  for (int y = 0; y < Picture.Height(); ++y) {
    const auto* row = static_cast<const TRGBQuad*>(Picture.ScanLine(y));
    for (int x = 0; x < Picture.Width(); ++x)
      if (row[x].rgbReserved > 0) return Picture.Height() - y;
  }
  return 0;
}

TKemMenuLayout LayoutMenu(std::vector<TKemMenuSlot>& Slots, const TKemMenuMetrics& M) {
  const int x = M.Outer.Left + M.Frame.Left + (M.Skinned ? M.LogoWidth : 0);
  int y = M.Outer.Top + M.Frame.Top;
  int widest = 0, iconColumn = 0;
  for (TKemMenuSlot& slot : Slots) {
    if (!slot.Visible) continue;
    slot.Bounds = Bounds(x, y, slot.Size.Width, slot.Size.Height);
    y += slot.Size.Height;
    widest = std::max(widest, slot.Size.Width);
    iconColumn = std::max(iconColumn, slot.Size.IconWidth);
  }
  for (TKemMenuSlot& slot : Slots)
    if (slot.Visible) slot.Bounds.Right = slot.Bounds.Left + widest + iconColumn;
  TKemMenuLayout layout;
  layout.Width = x + widest + iconColumn + M.Outer.Right + M.Frame.Right;
  const int top = M.Outer.Top + M.Frame.Top;
  layout.Height = std::max(y, top + (M.Skinned ? M.LogoHeight : 0)) + M.Outer.Bottom + M.Frame.Bottom;
  layout.IconColumn = iconColumn;
  return layout;
}

TPoint KeepMenuInside(TPoint Pos, TSize Size, const TRect& Monitor, bool Submenu, int ParentLeft, int OuterRight) {
  if (Pos.X + Size.cx > Monitor.Right) Pos.X = Submenu ? ParentLeft + OuterRight - Size.cx : Monitor.Right - Size.cx;
  if (Pos.Y + Size.cy > Monitor.Bottom) Pos.Y = Monitor.Bottom - Size.cy;
  Pos.X = std::max(Pos.X, Monitor.Left);
  Pos.Y = std::max(Pos.Y, Monitor.Top);
  return Pos;
}

TRect MenuFrameArea(TPoint Pos, TSize Size, const TVosIndents& Outer) {
  return Rect(Pos.X + Outer.Left, Pos.Y + Outer.Top, Pos.X + Size.cx - Outer.Right - 1,
              Pos.Y + Size.cy - Outer.Bottom - 1);
}

TRect MenuEntryArea(TPoint MenuPos, const TRect& Bounds) {
  return Rect(MenuPos.X + Bounds.Left, MenuPos.Y + Bounds.Top, MenuPos.X + Bounds.Right - 1,
              MenuPos.Y + Bounds.Bottom - 1);
}

int NextMenuKeyIndex(const std::vector<bool>& Selectable, int Current, bool Down) {
  const int n = static_cast<int>(Selectable.size());
  if (std::find(Selectable.begin(), Selectable.end(), true) == Selectable.end()) return -1;
  int i = Current;
  if (i < 0 || i >= n) i = Down ? -1 : n;
  for (int step = 0; step < n + 1; ++step) {
    i = Down ? i + 1 : i - 1;
    if (i >= n) i = 0;
    if (i < 0) i = n - 1;
    if (Selectable[static_cast<size_t>(i)]) return i;
  }
  return -1;
}

TKemMenuKey ClassifyMenuKey(std::uint16_t Key) {
  switch (Key) {
    case VK_RETURN:
      return mkExecute;
    case VK_LEFT:
      return mkLeft;
    case VK_UP:
      return mkUp;
    case VK_DOWN:
      return mkDown;
    case VK_RIGHT:
      return mkRight;
    default:
      return mkClose;
  }
}

bool MenuCheckMarkPixel(int X, int Y) {
  // Rows from the top as column masks (bit n: column n).
  static constexpr std::uint16_t kRows[9] = {0, 0x80, 0xC0, 0xE2, 0x76, 0x3E, 0x1C, 0x08, 0};
  if (X < 0 || X > 8 || Y < 0 || Y > 8) return false;
  return (kRows[Y] >> X) & 1;
}
