// Replays the inputs kept from fuzzing (fuzz/regressions/<target>/) through what each fuzz
// target does with an input, so that a finding once mended stays mended.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "fuzz_inputs.h"

namespace {

namespace fs = std::filesystem;

template <typename Run>
void ReplayFolder(const std::string& name, Run run) {
  fs::path folder = fs::path(WDX_FUZZ_REGRESSIONS) / name;
  ASSERT_TRUE(fs::is_directory(folder)) << folder;
  int count = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    SCOPED_TRACE(entry.path().filename().string());
    run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    ++count;
  }
  EXPECT_GT(count, 0) << "no kept inputs in " << folder;
}

TEST(FuzzRegressions, DecoderInputs) { ReplayFolder("decoder", wdx::mail::fuzz::DecodeMessage); }

TEST(FuzzRegressions, ServerReplies) { ReplayFolder("replies", wdx::mail::fuzz::TalkToServer); }

}  // namespace
