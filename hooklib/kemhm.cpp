// Areas and the per-client step of the mouse-area hook.
#include "hooklib/kemhm.h"

namespace kemhm {

namespace {

bool ValidArea(int area) { return area >= 0 && area < AreaCount; }

int ClampCount(int count) { return count < 0 ? 0 : (count > AreaRectCount ? AreaRectCount : count); }

}  // namespace

bool PointInAreaRect(std::int32_t x, std::int32_t y, const TMouseHookRect& r) noexcept {
  return r.Left <= x && x <= r.Right && r.Top <= y && y <= r.Bottom;
}

bool PointInArea(std::int32_t x, std::int32_t y, const TMouseHookArea& area) noexcept {
  int count = ClampCount(area.Count);
  for (int i = 0; i < count; ++i)
    if (PointInAreaRect(x, y, area.Rects[i])) return true;
  return false;
}

std::uint32_t ButtonEvent(std::uint32_t message) noexcept {
  switch (message) {
    case MsgLButtonDown:
    case MsgNcLButtonDown:
      return EventLeftDown;
    case MsgRButtonDown:
    case MsgNcRButtonDown:
      return EventRightDown;
    case MsgMButtonDown:
    case MsgNcMButtonDown:
      return EventMiddleDown;
    case MsgLButtonUp:
    case MsgNcLButtonUp:
      return EventLeftUp;
    case MsgRButtonUp:
    case MsgNcRButtonUp:
      return EventRightUp;
    case MsgMButtonUp:
    case MsgNcMButtonUp:
      return EventMiddleUp;
    default:
      return 0;
  }
}

std::uint32_t PackMouseEvent(std::uint32_t event, std::int32_t x, std::int32_t y) noexcept {
  // Each coordinate keeps 14 bits so neither spills into the other; no receiver
  // reads them back, they only travel with the event.
  return (static_cast<std::uint32_t>(x) & 0x3FFF) << 4 | (static_cast<std::uint32_t>(y) & 0x3FFF) << 18 | (event & 0xF);
}

void ResetClient(TMouseHookClient& client, std::uint32_t window) noexcept {
  client.Window = window;
  client.LastX = -1;
  client.LastY = -1;
  client.MoveEvents = 0;
  client.MenuScroll = 1;
  for (auto& area : client.Areas) {
    area.Rects[0] = EmptyRect;
    area.Count = 1;
    area.Inside = 0;
    area.Enabled = 0;
  }
}

void SetArea(TMouseHookClient& client, int area, int rectIndex, int rectCount, const TMouseHookRect& rect) noexcept {
  if (!ValidArea(area) || rectIndex < 0 || rectIndex >= AreaRectCount) return;
  TMouseHookArea& a = client.Areas[area];
  a.Rects[rectIndex] = rect;
  a.Count = static_cast<std::uint8_t>(ClampCount(rectCount));
  a.Inside = PointInArea(client.LastX, client.LastY, a) ? 1 : 0;
  a.Enabled = 1;
}

TMouseHookRect GetArea(const TMouseHookClient& client, int area, int rectIndex) noexcept {
  if (!ValidArea(area) || rectIndex < 0 || rectIndex >= AreaRectCount) return EmptyRect;
  return client.Areas[area].Rects[rectIndex];
}

void AssumeInside(TMouseHookClient& client, int area) noexcept {
  if (ValidArea(area)) client.Areas[area].Inside = 1;
}

void UpdateOverScrollBar(TMouseHookShared& shared, std::uint32_t message, std::uint32_t hitTest) noexcept {
  if (message == MsgNcMouseMove || message == MsgNcRButtonDown)
    shared.OverScrollBar = (hitTest == HitHScroll || hitTest == HitVScroll) ? 1 : 0;
  else if (message == MsgMouseMove)
    shared.OverScrollBar = 0;
}

bool DiscardsMessage(const TMouseHookClient& client, const TMouseHookShared& shared, std::uint32_t message) noexcept {
  return client.MenuScroll == 0 && shared.OverScrollBar == 1 &&
         (message == MsgNcRButtonDown || message == MsgRButtonDown || message == MsgRButtonUp);
}

void MouseClientStep(TMouseHookClient& client, std::uint32_t message, std::int32_t x, std::int32_t y,
                     TMousePoster& poster) noexcept {
  client.LastX = x;
  client.LastY = y;
  const std::uint32_t event = ButtonEvent(message);
  bool outsideAll = true;
  for (int i = 0; i < AreaCount; ++i) {
    TMouseHookArea& area = client.Areas[i];
    if (!area.Enabled) continue;
    const bool inside = PointInArea(x, y, area);
    if (inside != (area.Inside != 0)) {
      area.Inside = inside ? 1 : 0;
      poster.Post(inside ? EventEnter : EventLeave, i);
    }
    if (inside) {
      if (event != 0) poster.Post(PackMouseEvent(event, x, y), i);
      outsideAll = false;
    }
  }
  if (outsideAll && event != 0) poster.Post(PackMouseEvent(event, x, y), -1);
  if (client.MoveEvents) {
    if (message == MsgMouseMove || message == MsgNcMouseMove)
      poster.Post(PackMouseEvent(EventMove, x, y), -1);
    else if (message == MsgLButtonUp || message == MsgNcLButtonUp)
      poster.Post(PackMouseEvent(EventLeftUp, x, y), -1);
  }
}

}  // namespace kemhm
