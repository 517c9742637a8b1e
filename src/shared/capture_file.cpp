#include "shared/capture_file.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace wdx {

namespace {

// The whole file, or std::nullopt when it cannot be read.
std::optional<std::string> ReadWhole(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return text;
}

}  // namespace

std::string CaptureSpeedTag(std::int32_t speed) {
  switch (speed) {
    case 1: return "<SPEED:00001>";
    case 2: return "<SPEED:00002>";
    case 3: return "<SPEED:00.50>";
    case 4: return "<SPEED:00.25>";
    default: return {};
  }
}

CaptureWorkFile::CaptureWorkFile(platform::Files& files, std::string programFolder)
    : files_(files), folder_(std::move(programFolder)), path_(folder_ + "\\" + kCaptureWorkFileName) {}

bool CaptureWorkFile::Create() {
  Close();
  out_ = std::make_unique<BinaryFile>(NativePath(path_), BinaryFile::Mode::kCreate);
  if (!out_->IsOpen()) out_.reset();
  written_ = 0;
  return out_ != nullptr;
}

bool CaptureWorkFile::Append(char c) {
  // Each key goes to the disk at once: a player that dies keeps what was recorded.
  if (!out_ || !out_->WriteAt(written_, &c, 1) || !out_->Flush()) return false;
  ++written_;
  return true;
}

void CaptureWorkFile::Close() { out_.reset(); }

bool CaptureWorkFile::HasLeftover() const {
  std::error_code ec;
  const std::filesystem::path work = NativePath(path_);
  return !out_ && std::filesystem::is_regular_file(work, ec) && std::filesystem::file_size(work, ec) > 0 && !ec;
}

std::string CaptureWorkFile::FreeLongMacroFile() const {
  std::error_code ec;
  for (int n = 0; n < kMaxLongMacroFiles; ++n) {
    std::string name = folder_ + "\\WD" + std::to_string(n) + ".TXT";
    const std::filesystem::path native = NativePath(name);
    // A name that is there in any form (a dangling link too) is taken.
    if (!std::filesystem::exists(std::filesystem::symlink_status(native, ec))) return name;
  }
  return {};
}

std::string CaptureWorkFile::MoveToLongMacroFile() {
  const std::filesystem::path work = NativePath(path_);
  const std::optional<std::string> text = ReadWhole(work);
  if (!text) return {};
  const std::string name = FreeLongMacroFile();
  if (name.empty()) return {};
  const std::filesystem::path target = NativePath(name);
  std::error_code ec;
  {
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    if (out) {
      out.write(text->data(), static_cast<std::streamsize>(text->size()));
      out.close();
    }
    if (!out) {
      std::filesystem::remove(target, ec);
      return {};
    }
  }
  std::filesystem::remove(work, ec);
  return name;
}

std::optional<std::string> CaptureWorkFile::KeepLeftover() {
  if (!HasLeftover()) return std::nullopt;
  std::string name = MoveToLongMacroFile();
  if (name.empty()) return std::nullopt;
  return name;
}

CaptureWorkFile::LeftoverNotice CaptureWorkFile::KeepLeftoverBeforeStart() {
  if (!HasLeftover()) return {};
  if (const std::optional<std::string> kept = KeepLeftover())
    return {true, "Capture", "The keystrokes of an earlier recording that did not end were kept in " + *kept + "."};
  return {false, "Error",
          path_ + " holds the keystrokes of an earlier recording that could not be kept elsewhere.  Capture not allowed."};
}

CaptureWorkFile::Result CaptureWorkFile::Finish(std::size_t maxInRecord) {
  Close();
  Result result;
  const std::filesystem::path work = NativePath(path_);
  const std::optional<std::string> text = ReadWhole(work);
  if (!text) {
    result.kind = Result::Kind::kUnreadable;
    return result;
  }
  if (text->size() <= maxInRecord) {
    result.text = *text;
    return result;
  }
  result.file = MoveToLongMacroFile();
  if (result.file.empty()) {
    result.kind = Result::Kind::kFileNotWritten;
    return result;
  }
  result.kind = Result::Kind::kLongFile;
  result.text = "<TFILE:" + result.file + ">";
  return result;
}

void CaptureWorkFile::Remove() {
  Close();
  std::error_code ec;
  std::filesystem::remove(NativePath(path_), ec);
}

std::string CaptureWorkFile::Problem(const Result& result) const {
  switch (result.kind) {
    case Result::Kind::kUnreadable:
      return "The recorded keystrokes could not be read from " + path_ + ".  The macro was not stored.";
    case Result::Kind::kFileNotWritten:
      return "The recorded keystrokes are too long for a macro and could not be saved to a file of their own in " +
             folder_ + ".  They are kept in " + path_ + ".";
    default:
      return {};
  }
}

}  // namespace wdx
