// The mouse-area hook without the operating system: the layouts of its shared
// sections, the areas of a client and the step the hook procedure runs for each
// client on every mouse message.
#pragma once
#include <cstddef>
#include <cstdint>

#include "hooklib/kemhshared.h"

namespace kemhm {

inline constexpr char SharedSectionName[] = "KEM31_MH3_Shared_Data";
inline constexpr int ClientCount = 26;  // global and process-local client slots
inline constexpr int AreaCount = 101;   // areas 0..100
inline constexpr int AreaRectCount = 6;
inline constexpr std::uint32_t SectionSize = 10016;  // both sections

// The notification posted to clients (WM_USER+1).
inline constexpr std::uint32_t MouseHookMessage = 0x401;
inline constexpr std::uint32_t EventEnter = 1, EventLeave = 2, EventLeftDown = 3, EventRightDown = 4,
                               EventMiddleDown = 5, EventLeftUp = 6, EventRightUp = 7, EventMiddleUp = 8, EventMove = 9;

// Mouse messages the hook tells apart (the system's numbers).
inline constexpr std::uint32_t MsgMouseMove = 0x200, MsgLButtonDown = 0x201, MsgLButtonUp = 0x202,
                               MsgRButtonDown = 0x204, MsgRButtonUp = 0x205, MsgMButtonDown = 0x207,
                               MsgMButtonUp = 0x208, MsgNcMouseMove = 0xA0, MsgNcLButtonDown = 0xA1,
                               MsgNcLButtonUp = 0xA2, MsgNcRButtonDown = 0xA4, MsgNcRButtonUp = 0xA5,
                               MsgNcMButtonDown = 0xA7, MsgNcMButtonUp = 0xA8;
inline constexpr std::uint32_t HitHScroll = 6, HitVScroll = 7;

#pragma pack(push, 1)
// All four edges belong to the rectangle.
struct TMouseHookRect {
  std::int32_t Left, Top, Right, Bottom;
};

struct TMouseHookArea {
  TMouseHookRect Rects[AreaRectCount];
  std::uint8_t Count;   // how many of the rectangles make up the area
  std::uint8_t Inside;  // the pointer was inside at the last check
  std::uint8_t Enabled;
};

struct TMouseHookShared {
  std::uint32_t Hook;          // the system hook, 0 when none is installed
  std::uint8_t OverScrollBar;  // the last non-client move or right press was over a scroll bar
  std::uint8_t Unused1[3];
  kemh::TClientSlot Clients[ClientCount];
  std::uint8_t Unused2[9800];
};

struct TMouseHookClient {
  std::uint32_t Window;
  std::int32_t LastX, LastY;  // last pointer position in screen coordinates
  std::uint8_t MoveEvents;
  std::uint8_t MenuScroll;
  TMouseHookArea Areas[AreaCount];
  std::uint8_t Unused[3];
};
#pragma pack(pop)

static_assert(sizeof(TMouseHookRect) == 16);
static_assert(sizeof(TMouseHookArea) == 99);
static_assert(offsetof(TMouseHookArea, Rects) == 0);
static_assert(offsetof(TMouseHookArea, Count) == 96);
static_assert(offsetof(TMouseHookArea, Inside) == 97);
static_assert(offsetof(TMouseHookArea, Enabled) == 98);
static_assert(sizeof(TMouseHookShared) == SectionSize);
static_assert(offsetof(TMouseHookShared, Hook) == 0);
static_assert(offsetof(TMouseHookShared, OverScrollBar) == 4);
static_assert(offsetof(TMouseHookShared, Clients) == 8);
static_assert(offsetof(TMouseHookShared, Unused2) == 216);
static_assert(sizeof(TMouseHookClient) == SectionSize);
static_assert(offsetof(TMouseHookClient, Window) == 0);
static_assert(offsetof(TMouseHookClient, LastX) == 4);
static_assert(offsetof(TMouseHookClient, LastY) == 8);
static_assert(offsetof(TMouseHookClient, MoveEvents) == 12);
static_assert(offsetof(TMouseHookClient, MenuScroll) == 13);
static_assert(offsetof(TMouseHookClient, Areas) == 14);
static_assert(offsetof(TMouseHookClient, Unused) == 10013);

// What an area outside 0..100, or a bad rectangle index, reads as; holds no point.
inline constexpr TMouseHookRect EmptyRect{0, 0, -1, -1};

bool PointInAreaRect(std::int32_t x, std::int32_t y, const TMouseHookRect& r) noexcept;
// Whether the point lies in one of the area's first Count rectangles (Count
// clamped to 0..6, since it comes from shared memory).
bool PointInArea(std::int32_t x, std::int32_t y, const TMouseHookArea& area) noexcept;

// Event 3..8 for a button message (client or non-client), 0 for any other.
std::uint32_t ButtonEvent(std::uint32_t message) noexcept;
// Event code in bits 0-3, x in bits 4-17, y in bits 18-31 (each kept to 14 bits).
std::uint32_t PackMouseEvent(std::uint32_t event, std::int32_t x, std::int32_t y) noexcept;

// State of a freshly installed client: position (-1, -1), move events off, menu
// scroll on, every area (0, 0, -1, -1) with a count of 1, neither inside nor enabled.
void ResetClient(TMouseHookClient& client, std::uint32_t window) noexcept;
// Stores one rectangle and the area's count, recomputes the inside flag from the
// last position without telling anyone, and enables the area. An area outside
// 0..100 or an index outside 0..5 is ignored; the count is clamped to 0..6.
void SetArea(TMouseHookClient& client, int area, int rectIndex, int rectCount, const TMouseHookRect& rect) noexcept;
TMouseHookRect GetArea(const TMouseHookClient& client, int area, int rectIndex) noexcept;
// Takes the pointer as inside the area, so that no enter message follows.
void AssumeInside(TMouseHookClient& client, int area) noexcept;

// Keeps the over-scroll-bar flag from the non-client moves and right presses.
void UpdateOverScrollBar(TMouseHookShared& shared, std::uint32_t message, std::uint32_t hitTest) noexcept;
// A client with menu scroll off has right clicks over scroll bars discarded,
// for every window of the system.
bool DiscardsMessage(const TMouseHookClient& client, const TMouseHookShared& shared, std::uint32_t message) noexcept;

// Where the step's notifications go; the Windows side posts them to the client.
class TMousePoster {
 public:
  virtual void Post(std::uint32_t wparam, std::int32_t lparam) noexcept = 0;

 protected:
  ~TMousePoster() = default;
};

// One client's part of a mouse message (a hook call with HC_ACTION): records the
// position, tells entries into and exits from areas and button events inside
// them or outside all, and, with move events on, moves and left releases.
void MouseClientStep(TMouseHookClient& client, std::uint32_t message, std::int32_t x, std::int32_t y,
                     TMousePoster& poster) noexcept;

}  // namespace kemhm
