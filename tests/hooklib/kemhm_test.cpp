// The mouse-area hook's areas and per-client step, without the operating system.
#include "hooklib/kemhm.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <utility>
#include <vector>

using namespace kemhm;

namespace {

using Posted = std::vector<std::pair<std::uint32_t, std::int32_t>>;

class TRecorder final : public TMousePoster {
 public:
  void Post(std::uint32_t wparam, std::int32_t lparam) noexcept override { Messages.emplace_back(wparam, lparam); }
  Posted Take() { return std::exchange(Messages, {}); }
  Posted Messages;
};

class MouseClient : public testing::Test {
 protected:
  MouseClient() : client(std::make_unique<TMouseHookClient>()) { ResetClient(*client, 0x1234); }
  Posted Step(std::uint32_t message, int x, int y) {
    MouseClientStep(*client, message, x, y, recorder);
    return recorder.Take();
  }
  void Area(int area, int left, int top, int right, int bottom) {
    SetArea(*client, area, 0, 1, TMouseHookRect{left, top, right, bottom});
  }
  std::unique_ptr<TMouseHookClient> client;
  TRecorder recorder;
};

bool SameRect(const TMouseHookRect& a, const TMouseHookRect& b) {
  return a.Left == b.Left && a.Top == b.Top && a.Right == b.Right && a.Bottom == b.Bottom;
}

}  // namespace

TEST(MouseHookLogic, RectanglesIncludeAllFourEdges) {
  const TMouseHookRect r{10, 20, 30, 40};
  EXPECT_TRUE(PointInAreaRect(10, 20, r));
  EXPECT_TRUE(PointInAreaRect(30, 40, r));
  EXPECT_FALSE(PointInAreaRect(31, 40, r));
  EXPECT_FALSE(PointInAreaRect(30, 41, r));
  EXPECT_FALSE(PointInAreaRect(9, 25, r));
  EXPECT_FALSE(PointInAreaRect(0, 0, EmptyRect));
  EXPECT_FALSE(PointInAreaRect(-1, -1, EmptyRect));
}

TEST(MouseHookLogic, ButtonMessagesMapToEvents) {
  EXPECT_EQ(ButtonEvent(MsgLButtonDown), EventLeftDown);
  EXPECT_EQ(ButtonEvent(MsgNcLButtonDown), EventLeftDown);
  EXPECT_EQ(ButtonEvent(MsgRButtonDown), EventRightDown);
  EXPECT_EQ(ButtonEvent(MsgNcRButtonDown), EventRightDown);
  EXPECT_EQ(ButtonEvent(MsgMButtonDown), EventMiddleDown);
  EXPECT_EQ(ButtonEvent(MsgNcMButtonDown), EventMiddleDown);
  EXPECT_EQ(ButtonEvent(MsgLButtonUp), EventLeftUp);
  EXPECT_EQ(ButtonEvent(MsgNcLButtonUp), EventLeftUp);
  EXPECT_EQ(ButtonEvent(MsgRButtonUp), EventRightUp);
  EXPECT_EQ(ButtonEvent(MsgNcRButtonUp), EventRightUp);
  EXPECT_EQ(ButtonEvent(MsgMButtonUp), EventMiddleUp);
  EXPECT_EQ(ButtonEvent(MsgNcMButtonUp), EventMiddleUp);
  // Moves, double clicks (0x203, 0xA3) and the wheel (0x20A) are no button events.
  for (std::uint32_t message : {MsgMouseMove, MsgNcMouseMove, 0x203u, 0x206u, 0x209u, 0xA3u, 0x20Au, 0x20Eu, 0u})
    EXPECT_EQ(ButtonEvent(message), 0u) << message;
}

TEST(MouseHookLogic, PackingKeepsCodeAndFourteenBitsPerCoordinate) {
  EXPECT_EQ(PackMouseEvent(3, 0, 0), 3u);
  EXPECT_EQ(PackMouseEvent(EventMove, 100, 200), 9u | 100u << 4 | 200u << 18);
  EXPECT_EQ(PackMouseEvent(6, 16383, 16383), 0xFFFFFFF6u);
  EXPECT_EQ(PackMouseEvent(4, 16384, 16384), 4u);  // folded, never spilling into the other field
  const std::uint32_t negative = PackMouseEvent(7, -1, -2);
  EXPECT_EQ(negative & 0xF, 7u);
  EXPECT_EQ(negative >> 4 & 0x3FFF, 0x3FFFu);
  EXPECT_EQ(negative >> 18, 0x3FFEu);
  EXPECT_EQ(PackMouseEvent(8, 5, 6) & 0xF, 8u);
}

TEST_F(MouseClient, FreshClientHasNoWatchedArea) {
  EXPECT_EQ(client->Window, 0x1234u);
  EXPECT_EQ(client->LastX, -1);
  EXPECT_EQ(client->LastY, -1);
  EXPECT_EQ(client->MoveEvents, 0);
  EXPECT_EQ(client->MenuScroll, 1);
  for (const auto& area : client->Areas) {
    EXPECT_TRUE(SameRect(area.Rects[0], EmptyRect));
    EXPECT_EQ(area.Count, 1);
    EXPECT_EQ(area.Inside, 0);
    EXPECT_EQ(area.Enabled, 0);
  }
  EXPECT_TRUE(Step(MsgLButtonDown, 0, 0) == (Posted{{PackMouseEvent(EventLeftDown, 0, 0), -1}}));
}

TEST_F(MouseClient, AreaNumbersAndIndicesOutsideTheTableChangeNothing) {
  const auto before = std::make_unique<TMouseHookClient>(*client);
  for (int area : {-1, 101, 1000}) {
    SetArea(*client, area, 0, 1, TMouseHookRect{1, 2, 3, 4});
    AssumeInside(*client, area);
    EXPECT_TRUE(SameRect(GetArea(*client, area, 0), EmptyRect));
  }
  for (int index : {-1, 6, 100}) {
    SetArea(*client, 3, index, 1, TMouseHookRect{1, 2, 3, 4});
    EXPECT_TRUE(SameRect(GetArea(*client, 3, index), EmptyRect));
  }
  EXPECT_EQ(std::memcmp(before.get(), client.get(), sizeof(TMouseHookClient)), 0);
}

TEST_F(MouseClient, SetAreaStoresRectanglesAndClampsTheCount) {
  SetArea(*client, 100, 0, 1, TMouseHookRect{0, 0, 9, 9});
  SetArea(*client, 100, 5, 6, TMouseHookRect{50, 50, 60, 60});
  EXPECT_TRUE(SameRect(GetArea(*client, 100, 5), (TMouseHookRect{50, 50, 60, 60})));
  EXPECT_EQ(client->Areas[100].Count, 6);
  EXPECT_EQ(client->Areas[100].Enabled, 1);
  SetArea(*client, 100, 1, 99, TMouseHookRect{20, 20, 21, 21});
  EXPECT_EQ(client->Areas[100].Count, 6);
  SetArea(*client, 100, 1, -5, TMouseHookRect{20, 20, 21, 21});
  EXPECT_EQ(client->Areas[100].Count, 0);
}

TEST_F(MouseClient, EntersLeavesAndReportsClicksInside) {
  Area(5, 100, 100, 200, 200);
  EXPECT_TRUE(Step(MsgMouseMove, 50, 50).empty());
  EXPECT_TRUE(Step(MsgMouseMove, 200, 200) == (Posted{{EventEnter, 5}}));  // the corner belongs to it
  EXPECT_TRUE(Step(MsgMouseMove, 150, 150).empty());
  EXPECT_TRUE(Step(MsgLButtonDown, 150, 151) == (Posted{{PackMouseEvent(EventLeftDown, 150, 151), 5}}));
  EXPECT_TRUE(Step(MsgNcRButtonUp, 150, 151) == (Posted{{PackMouseEvent(EventRightUp, 150, 151), 5}}));
  EXPECT_TRUE(Step(0x203, 150, 151).empty());  // a double click is no event
  EXPECT_TRUE(Step(MsgNcMouseMove, 201, 150) == (Posted{{EventLeave, 5}}));
  EXPECT_TRUE(Step(MsgMButtonDown, 201, 150) == (Posted{{PackMouseEvent(EventMiddleDown, 201, 150), -1}}));
  EXPECT_EQ(client->LastX, 201);
  EXPECT_EQ(client->LastY, 150);
}

TEST_F(MouseClient, ButtonPressedOnEntryIsReportedAfterTheEntry) {
  Area(2, 0, 0, 10, 10);
  EXPECT_TRUE(Step(MsgLButtonDown, 5, 5) == (Posted{{EventEnter, 2}, {PackMouseEvent(EventLeftDown, 5, 5), 2}}));
}

TEST_F(MouseClient, OverlappingAreasEachReportInAreaOrder) {
  Area(7, 0, 0, 100, 100);
  Area(3, 50, 50, 150, 150);
  EXPECT_TRUE(Step(MsgMouseMove, 75, 75) == (Posted{{EventEnter, 3}, {EventEnter, 7}}));
  const std::uint32_t down = PackMouseEvent(EventLeftDown, 75, 75);
  EXPECT_TRUE(Step(MsgLButtonDown, 75, 75) == (Posted{{down, 3}, {down, 7}}));
  EXPECT_TRUE(Step(MsgMouseMove, 120, 120) == (Posted{{EventLeave, 7}}));
}

TEST_F(MouseClient, AnAreaIsTheUnionOfItsFirstCountRectangles) {
  SetArea(*client, 9, 0, 1, TMouseHookRect{0, 0, 10, 10});
  SetArea(*client, 9, 1, 2, TMouseHookRect{100, 100, 110, 110});
  SetArea(*client, 9, 2, 2, TMouseHookRect{200, 200, 210, 210});  // stored, but the count leaves it out
  EXPECT_TRUE(Step(MsgMouseMove, 105, 105) == (Posted{{EventEnter, 9}}));
  EXPECT_TRUE(Step(MsgMouseMove, 5, 5).empty());
  EXPECT_TRUE(Step(MsgMouseMove, 205, 205) == (Posted{{EventLeave, 9}}));
  // A count of 0 parks the area; a count beyond 6 from a damaged section counts as 6.
  client->Areas[9].Count = 0;
  EXPECT_TRUE(Step(MsgMouseMove, 5, 5).empty());
  Step(MsgMouseMove, 500, 500);
  SetArea(*client, 9, 5, 6, TMouseHookRect{300, 300, 310, 310});
  client->Areas[9].Count = 255;
  EXPECT_TRUE(Step(MsgMouseMove, 305, 305) == (Posted{{EventEnter, 9}}));
}

TEST_F(MouseClient, SettingAnAreaUnderThePointerTellsNothingUntilItLeaves) {
  Step(MsgMouseMove, 40, 40);
  Area(1, 0, 0, 50, 50);
  EXPECT_EQ(client->Areas[1].Inside, 1);
  EXPECT_TRUE(Step(MsgMouseMove, 45, 45).empty());
  EXPECT_TRUE(Step(MsgMouseMove, 60, 60) == (Posted{{EventLeave, 1}}));
}

TEST_F(MouseClient, AssumedInsideGivesNoEntryButALeave) {
  Area(4, 0, 0, 50, 50);
  AssumeInside(*client, 4);
  EXPECT_TRUE(Step(MsgMouseMove, 10, 10).empty());
  EXPECT_TRUE(Step(MsgMouseMove, 90, 90) == (Posted{{EventLeave, 4}}));
}

TEST_F(MouseClient, MoveEventsReportEveryMoveAndLeftReleaseTwiceOutside) {
  client->MoveEvents = 1;
  EXPECT_TRUE(Step(MsgMouseMove, 300, 301) == (Posted{{PackMouseEvent(EventMove, 300, 301), -1}}));
  EXPECT_TRUE(Step(MsgNcMouseMove, 302, 303) == (Posted{{PackMouseEvent(EventMove, 302, 303), -1}}));
  const std::uint32_t up = PackMouseEvent(EventLeftUp, 302, 303);
  EXPECT_TRUE(Step(MsgLButtonUp, 302, 303) == (Posted{{up, -1}, {up, -1}}));
  EXPECT_TRUE(Step(MsgNcLButtonUp, 302, 303) == (Posted{{up, -1}, {up, -1}}));
  Area(0, 300, 300, 400, 400);
  const std::uint32_t inside = PackMouseEvent(EventLeftUp, 310, 310);
  EXPECT_EQ(client->Areas[0].Inside, 1);  // set under the pointer: no entry follows
  EXPECT_TRUE(Step(MsgLButtonUp, 310, 310) == (Posted{{inside, 0}, {inside, -1}}));
  EXPECT_TRUE(Step(MsgRButtonUp, 310, 310) == (Posted{{PackMouseEvent(EventRightUp, 310, 310), 0}}));
}

TEST(MouseHookLogic, ScrollBarFlagFollowsNonClientMovesAndRightPresses) {
  auto shared = std::make_unique<TMouseHookShared>();
  auto client = std::make_unique<TMouseHookClient>();
  ResetClient(*client, 1);
  UpdateOverScrollBar(*shared, MsgNcMouseMove, HitVScroll);
  EXPECT_EQ(shared->OverScrollBar, 1);
  UpdateOverScrollBar(*shared, MsgLButtonDown, 1);  // other messages leave it
  EXPECT_EQ(shared->OverScrollBar, 1);
  // Menu scroll on (the default): nothing is discarded.
  EXPECT_FALSE(DiscardsMessage(*client, *shared, MsgNcRButtonDown));
  client->MenuScroll = 0;
  for (std::uint32_t message : {MsgNcRButtonDown, MsgRButtonDown, MsgRButtonUp})
    EXPECT_TRUE(DiscardsMessage(*client, *shared, message)) << message;
  for (std::uint32_t message : {MsgNcRButtonUp, MsgLButtonDown, MsgNcMouseMove})
    EXPECT_FALSE(DiscardsMessage(*client, *shared, message)) << message;
  UpdateOverScrollBar(*shared, MsgNcRButtonDown, 2);
  EXPECT_EQ(shared->OverScrollBar, 0);
  UpdateOverScrollBar(*shared, MsgNcRButtonDown, HitHScroll);
  EXPECT_EQ(shared->OverScrollBar, 1);
  UpdateOverScrollBar(*shared, MsgMouseMove, HitVScroll);  // a client-area move always clears it
  EXPECT_EQ(shared->OverScrollBar, 0);
  EXPECT_FALSE(DiscardsMessage(*client, *shared, MsgRButtonDown));
}
