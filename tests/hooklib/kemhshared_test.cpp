// Section names, stored handles and the client slot tables of the hook library.
#include "hooklib/kemhshared.h"

#include <gtest/gtest.h>

#include <string>

#include "hooklib/kemhl.h"

using namespace kemh;

TEST(HookShared, ClientSectionNamesCarryEightUpperCaseHexDigits) {
  char name[SectionNameSize];
  FormatClientSectionName(name, "KEM31_MH3_Shared_Data", 0x0001A2Bu);
  EXPECT_STREQ(name, "KEM31_MH3_Shared_Data_00001A2B");
  FormatClientSectionName(name, "KEM32_KH3_Shared_Data", 0xFFFFFFFEu);
  EXPECT_STREQ(name, "KEM32_KH3_Shared_Data_FFFFFFFE");
  FormatClientSectionName(name, std::string(200, 'x').c_str(), 1);  // never overruns
  EXPECT_EQ(std::string(name).size(), SectionNameSize - 1);
}

TEST(HookShared, HandlesKeepTheirLow32BitsAndReadBackSignExtended) {
  EXPECT_EQ(StoreHandle(0x12345678), 0x12345678u);
  EXPECT_EQ(ReadHandle(0x12345678), std::uintptr_t{0x12345678});
  EXPECT_EQ(ReadHandle(0xFFFF0042u), static_cast<std::uintptr_t>(std::intptr_t{-65470}));
  EXPECT_EQ(ReadHandle(StoreHandle(static_cast<std::uintptr_t>(std::intptr_t{-2}))),
            static_cast<std::uintptr_t>(std::intptr_t{-2}));
}

TEST(HookShared, GlobalSlotsReuseAWindowsSlotAndCountTheRest) {
  TClientSlot slots[3]{};
  EXPECT_EQ(AddClientSlot(slots, 3, 10), 0);
  EXPECT_EQ(AddClientSlot(slots, 3, 20), 1);
  EXPECT_EQ(AddClientSlot(slots, 3, 10), 0);
  EXPECT_EQ(AddClientSlot(slots, 3, 30), 2);
  EXPECT_EQ(AddClientSlot(slots, 3, 40), -1);
  EXPECT_EQ(RemoveClientSlots(slots, 3, 20), 2);
  EXPECT_EQ(AddClientSlot(slots, 3, 0), -1);  // no window: refused even with a slot free
  EXPECT_EQ(AddClientSlot(slots, 3, 20), 1);
  EXPECT_EQ(RemoveClientSlots(slots, 3, 20), 2);
  EXPECT_EQ(SlotWindow(slots[1]), 0u);
  EXPECT_EQ(AddClientSlot(slots, 3, 40), 1);
  EXPECT_EQ(RemoveClientSlots(slots, 3, 99), 3);
  // A table damaged into holding one window twice loses both on removal.
  slots[2] = slots[0];
  EXPECT_EQ(RemoveClientSlots(slots, 3, 10), 1);
  EXPECT_EQ(RemoveClientSlots(slots, 3, 40), 0);
}

TEST(HookShared, DeadSlotIsClearedOnlyWhileItStillHoldsThatWindow) {
  TClientSlot slot{};
  AddClientSlot(&slot, 1, 55);
  EXPECT_FALSE(ClearDeadClientSlot(slot, 56));
  EXPECT_EQ(SlotWindow(slot), 55u);
  EXPECT_FALSE(ClearDeadClientSlot(slot, 0));
  EXPECT_TRUE(ClearDeadClientSlot(slot, 55));
  EXPECT_EQ(slot.Used, 0);
  EXPECT_EQ(SlotWindow(slot), 0u);
  slot.Window = 0;
  slot.Used = 1;  // damaged: used without a window; removing window 0 leaves it
  EXPECT_EQ(SlotWindow(slot), 0u);
  EXPECT_EQ(RemoveClientSlots(&slot, 1, 0), 1);
}

TEST(HookShared, LocalTableReusesAWindowsSlotAndRunsFull) {
  TLocalHookTable<3> table;
  bool reused = true;
  TLocalHookSlot* first = table.Alloc(1, reused);
  ASSERT_NE(first, nullptr);
  EXPECT_FALSE(reused);
  EXPECT_EQ(table.Alloc(1, reused), first);
  EXPECT_TRUE(reused);
  EXPECT_NE(table.Alloc(2, reused), nullptr);
  EXPECT_NE(table.Alloc(3, reused), nullptr);
  EXPECT_EQ(table.Alloc(4, reused), nullptr);
  *table.Find(2) = TLocalHookSlot{};
  EXPECT_EQ(table.Find(2), nullptr);
  EXPECT_NE(table.Alloc(4, reused), nullptr);
}

TEST(HookIdentification, TitleVersionAndNullBuffer) {
  char buffer[64];
  kemhl::CopyText(buffer, kemhl::Title);
  EXPECT_STREQ(buffer, "Windows Hook Library");
  EXPECT_EQ(kemhl::Version >> 24, 2u);
  EXPECT_EQ(kemhl::Version >> 16 & 0xFF, 12u);
  EXPECT_EQ(kemhl::Version & 0xFFFF, 8u);
  kemhl::CopyText(nullptr, kemhl::Title);
}
