// Entry of every test executable.
#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#endif

#include "support/temp_dir.h"

namespace {

// Every test removes the folders it made: a run leaves the temporary folder as it found it.
class NoFoldersLeft : public testing::Environment {
 public:
  void TearDown() override {
    for (const auto& folder : TempDir::Left()) ADD_FAILURE() << "left behind: " << folder.string();
  }
};

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  // A crashing test must fail the run, not wait for someone to close a dialog.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
#endif
  testing::InitGoogleTest(&argc, argv);
  testing::AddGlobalTestEnvironment(new NoFoldersLeft);
  return RUN_ALL_TESTS();
}
