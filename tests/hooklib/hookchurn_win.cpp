// One of several processes of the hook tests that install and remove clients
// of both hooks as fast as they can, all at once. After each install it checks
// that both global tables hold each of its windows and that both system hooks
// are set. Usage: hookchurn ROUNDS WINDOWS. It starts when the event
// "HookChurnGo" is set, after releasing the semaphore "HookChurnReady" once.
// Exit code 0, 1 when it could not start, 2 when a slot or a hook was lost.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "hooklib/kemhk.h"
#include "hooklib/kemhm.h"
#include "kem3/framework/kemhi_win.h"

namespace {

template <class Shared>
bool HoldsAll(const char* name, const std::vector<HWND>& windows) {
  HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, name);
  const auto* shared =
      static_cast<const Shared*>(mapping ? MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, sizeof(Shared)) : nullptr);
  std::size_t held = 0;
  for (int i = 0; shared != nullptr && i < std::ssize(shared->Clients); ++i) {
    const auto window = reinterpret_cast<HWND>(kemh::ReadHandle(shared->Clients[i].Window));
    held += shared->Clients[i].Used && std::find(windows.begin(), windows.end(), window) != windows.end();
  }
  const bool all = shared != nullptr && shared->Hook != 0 && held == windows.size();
  if (shared != nullptr) UnmapViewOfFile(shared);
  if (mapping != nullptr) CloseHandle(mapping);
  return all;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 1;
  BindHookLibrary();
  HANDLE ready = OpenSemaphoreA(SEMAPHORE_MODIFY_STATE, FALSE, "HookChurnReady");
  HANDLE go = OpenEventA(SYNCHRONIZE, FALSE, "HookChurnGo");
  if (!HookLibraryLoaded() || ready == nullptr || go == nullptr) return 1;
  std::vector<HWND> windows;
  for (int i = 0; i < std::atoi(argv[2]); ++i)
    windows.push_back(CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
  ReleaseSemaphore(ready, 1, nullptr);
  if (WaitForSingleObject(go, 30000) != WAIT_OBJECT_0) return 1;

  int rc = 0;
  try {
    for (int round = std::atoi(argv[1]); round > 0 && rc == 0; --round) {
      for (HWND window : windows) mhInstallHook(window), khInstallHook(window);
      if (!HoldsAll<kemhm::TMouseHookShared>(kemhm::SharedSectionName, windows) ||
          !HoldsAll<kemhk::TKeyboardHookShared>(kemhk::SharedSectionName, windows))
        rc = 2;
      for (HWND window : windows) mhRemoveHook(window), khRemoveHook(window);
    }
  } catch (const Exception&) {
    rc = 1;
  }
  return rc;
}
