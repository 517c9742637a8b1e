// Any bytes as the work file of a recording (TempCap.Txt): the finished recording is the bytes
// themselves, either as the macro's text or, beyond what a record holds, in a long-macro file
// WD<n>.TXT; a leftover work file is kept whole in one. Nothing may be cut, changed or lost.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "fuzz_support.h"
#include "rooted_files.h"
#include "platform/memory/memory_platform.h"
#include "shared/capture_file.h"

namespace {

std::string ReadNative(const std::string& native) {
  std::ifstream in(native, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace wdx;
  if (size == 0) return 0;
  // The first byte chooses how much a record holds, so both ends of the limit are reached.
  const std::size_t maxInRecord = data[0];
  const std::string bytes(fuzz::AsText(data + 1, size - 1));

  // One stand-in for every input (making its root is most of an input's cost); the program
  // folder starts empty each time, so every long-macro file is WD0.TXT again.
  static platform::MemoryPlatform mem;
  static fuzz::RootedFiles files(mem);
  const std::string folder = "C:\\WENDRIX";
  std::error_code ec;
  std::filesystem::remove_all(files.NativePath(folder), ec);
  CaptureWorkFile work(files, folder);
  fuzz::WriteBytes(files.NativePath(work.Path()), bytes);

  if (work.HasLeftover() != !bytes.empty()) fuzz::Finding("a leftover work file was misjudged");
  const CaptureWorkFile::Result result = work.Finish(maxInRecord);
  if (!result.Kept()) fuzz::Finding("a readable recording was not kept: " + work.Problem(result));
  if (bytes.size() <= maxInRecord) {
    if (result.kind != CaptureWorkFile::Result::Kind::kText || result.text != bytes)
      fuzz::Finding("a recording that fits its record was changed");
    work.Remove();
  } else {
    if (result.kind != CaptureWorkFile::Result::Kind::kLongFile) fuzz::Finding("a long recording stayed in the record");
    if (result.text != "<TFILE:" + result.file + ">") fuzz::Finding("the macro does not name its long-macro file");
    if (ReadNative(files.NativePath(result.file)) != bytes) fuzz::Finding("the long-macro file differs from the recording");
  }
  if (work.HasLeftover()) fuzz::Finding("a finished recording left its work file");

  // The same bytes left over by a recording that never ended are kept whole.
  fuzz::WriteBytes(files.NativePath(work.Path()), bytes);
  if (!bytes.empty()) {
    const std::optional<std::string> kept = work.KeepLeftover();
    if (!kept) fuzz::Finding("a leftover work file could not be kept");
    if (ReadNative(files.NativePath(*kept)) != bytes) fuzz::Finding("the kept leftover differs from the work file");
    if (work.HasLeftover()) fuzz::Finding("a kept leftover is still in the work file");
  }
  return 0;
}
