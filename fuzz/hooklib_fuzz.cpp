// Feeds arbitrary section contents and calls to the hook library's table logic,
// as another process (or a damaged section) could leave them: the hook steps must
// stay inside their sections and never post anything but area numbers 0..100 or -1.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "hooklib/kemhk.h"
#include "hooklib/kemhm.h"
#include "hooklib/kemhshared.h"

namespace {

// Fills a section with the given bytes over and over, so every field gets some.
template <class T>
std::unique_ptr<T> Section(const std::string& pattern) {
  auto section = std::make_unique<T>();
  auto* bytes = reinterpret_cast<unsigned char*>(section.get());
  for (std::size_t i = 0; i < sizeof(T); ++i) bytes[i] = pattern.empty() ? 0 : pattern[i % pattern.size()];
  return section;
}

void Check(bool condition) {
  if (!condition) std::abort();
}

class TCheckingPoster final : public kemhm::TMousePoster {
 public:
  void Post(std::uint32_t wparam, std::int32_t lparam) noexcept override {
    Check(lparam >= -1 && lparam < kemhm::AreaCount);
    const std::uint32_t event = wparam & 0xF;
    if (wparam == kemhm::EventEnter || wparam == kemhm::EventLeave)
      Check(lparam >= 0);
    else
      Check(event >= kemhm::EventLeftDown && event <= kemhm::EventMove);
  }
};

// Message numbers near the ones the hook knows, so the fuzzer finds them quickly.
std::uint32_t Message(FuzzedDataProvider& in) {
  static constexpr std::uint32_t Known[] = {0x200, 0x201, 0x202, 0x203, 0x204, 0x205, 0x207, 0x208, 0x20A,
                                            0xA0,  0xA1,  0xA2,  0xA3,  0xA4,  0xA5,  0xA7,  0xA8};
  return in.ConsumeBool() ? in.PickValueInArray(Known) : in.ConsumeIntegral<std::uint32_t>();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string pattern = in.ConsumeRandomLengthString(64);
  auto mouseShared = Section<kemhm::TMouseHookShared>(pattern);
  auto mouseClient = Section<kemhm::TMouseHookClient>(pattern);
  auto keyShared = Section<kemhk::TKeyboardHookShared>(pattern);
  auto keyClient = Section<kemhk::TKeyboardHookClient>(pattern);
  TCheckingPoster poster;

  while (in.remaining_bytes() > 0) {
    switch (in.ConsumeIntegralInRange(0, 13)) {
      case 0:
        kemhm::UpdateOverScrollBar(*mouseShared, Message(in), in.ConsumeIntegral<std::uint32_t>());
        break;
      case 1: {
        const std::uint32_t message = Message(in);
        if (!kemhm::DiscardsMessage(*mouseClient, *mouseShared, message))
          kemhm::MouseClientStep(*mouseClient, message, in.ConsumeIntegral<std::int32_t>(),
                                 in.ConsumeIntegral<std::int32_t>(), poster);
        break;
      }
      case 2: {
        const int area = in.ConsumeIntegralInRange(-2, 103), index = in.ConsumeIntegralInRange(-2, 8);
        const kemhm::TMouseHookRect r{in.ConsumeIntegral<std::int32_t>(), in.ConsumeIntegral<std::int32_t>(),
                                      in.ConsumeIntegral<std::int32_t>(), in.ConsumeIntegral<std::int32_t>()};
        kemhm::SetArea(*mouseClient, area, index, in.ConsumeIntegral<int>(), r);
        const kemhm::TMouseHookRect back = kemhm::GetArea(*mouseClient, area, index);
        if (area >= 0 && area <= 100 && index >= 0 && index <= 5)
          Check(std::memcmp(&back, &r, sizeof(r)) == 0 && mouseClient->Areas[area].Count <= 6);
        else
          Check(back.Left == 0 && back.Top == 0 && back.Right == -1 && back.Bottom == -1);
        break;
      }
      case 3:
        kemhm::AssumeInside(*mouseClient, in.ConsumeIntegral<int>());
        break;
      case 4:
        kemhm::ResetClient(*mouseClient, in.ConsumeIntegral<std::uint32_t>());
        break;
      case 5: {
        const std::int32_t id = in.ConsumeIntegral<std::int32_t>();
        if (kemhk::SetHotkey(*keyClient, id, in.ConsumeIntegral<std::uint8_t>(), in.ConsumeIntegral<std::uint32_t>()))
          Check(id != 0);
        break;
      }
      case 6:
        kemhk::RemoveHotkey(*keyClient, in.ConsumeIntegral<std::int32_t>());
        break;
      case 7:
        kemhk::ClearHotkeys(*keyClient);
        break;
      case 8: {
        const kemhk::TKeyEvent event = kemhk::ClassifyKeyEvent(in.ConsumeIntegral<std::uint32_t>(), keyShared->LastKey);
        keyShared->LastKey = in.ConsumeIntegral<std::uint8_t>();
        if (!event.Reported()) break;
        const std::uint16_t keys = in.ConsumeIntegral<std::uint16_t>();
        const std::uint32_t state = kemhk::ModifierState([keys](int vk) { return std::int16_t(keys & (vk << 1)); });
        const kemhk::THotkeyMatch match =
            kemhk::MatchHotkey(*keyClient, in.ConsumeIntegral<std::uint8_t>(), event.Released, state);
        Check(!match.Matched || match.Id != 0);
        break;
      }
      case 9: {
        const std::uint32_t window = in.ConsumeIntegral<std::uint32_t>();
        if (in.ConsumeBool()) {
          const int slot = kemh::AddClientSlot(mouseShared->Clients, kemhm::ClientCount, window);
          Check(slot >= -1 && slot < kemhm::ClientCount);
        } else {
          const int used = kemh::RemoveClientSlots(keyShared->Clients, kemhk::ClientCount, window);
          Check(used >= 0 && used <= kemhk::ClientCount);
        }
        break;
      }
      case 10: {
        const int slot = in.ConsumeIntegralInRange(0, kemhm::ClientCount - 1);
        kemh::ClearDeadClientSlot(mouseShared->Clients[slot], kemh::SlotWindow(mouseShared->Clients[slot]));
        Check(kemh::SlotWindow(mouseShared->Clients[slot]) == 0);
        break;
      }
      case 11: {
        char name[kemh::SectionNameSize];
        const std::string prefix = in.ConsumeRandomLengthString(100);
        kemh::FormatClientSectionName(name, prefix.c_str(), in.ConsumeIntegral<std::uint32_t>());
        Check(std::strlen(name) < sizeof(name));
        break;
      }
      case 12:
        kemhk::ResetClient(*keyClient, in.ConsumeIntegral<std::uint32_t>());
        break;
      default:
        mouseClient->MoveEvents = in.ConsumeIntegral<std::uint8_t>();
        mouseClient->MenuScroll = in.ConsumeIntegral<std::uint8_t>();
        break;
    }
  }
  return 0;
}
