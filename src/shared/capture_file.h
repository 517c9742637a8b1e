// The files of a recording, the same for both programs: the work file TempCap.Txt in the
// program folder, which takes the recorded characters as they come, and what the finished
// recording becomes: the macro's own text, or, beyond what a macro record holds, a long-macro
// file WD<n>.TXT in the program folder that the macro names with "<TFILE:...>".
//
// A recording is never lost without a word: when its text cannot be read or its long-macro
// file cannot be written, the work file stays where it is, and the next recording keeps it in a
// long-macro file before it starts afresh.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/files.h"
#include "shared/binary_file.h"

namespace wdx {

inline constexpr char kCaptureWorkFileName[] = "TempCap.Txt";
// Long-macro files are looked for up to this number; beyond it no name is free.
inline constexpr int kMaxLongMacroFiles = 10000;

// The first text of a recording with "Time" on, by the playback speed chosen (1 actual, 2 half,
// 3 double, 4 quadruple); empty for other values.
std::string CaptureSpeedTag(std::int32_t speed);

class CaptureWorkFile {
 public:
  CaptureWorkFile(platform::Files& files, std::string programFolder);
  ~CaptureWorkFile() { Close(); }
  CaptureWorkFile(const CaptureWorkFile&) = delete;
  CaptureWorkFile& operator=(const CaptureWorkFile&) = delete;

  // program folder + "\TempCap.Txt"
  const std::string& Path() const { return path_; }
  // Creates it empty and keeps it open; false when it cannot be made.
  bool Create();
  bool IsOpen() const { return out_ != nullptr; }
  // Appends one character and flushes it, so a crash keeps what was recorded; false when the
  // file is not open or the write failed.
  bool Append(char c);
  void Close();

  // A work file that holds anything while no recording writes it: left by a recording that
  // never ended (the program stopped meanwhile) or could not be kept.
  bool HasLeftover() const;
  // Moves a leftover work file to the first free long-macro file; its name, or std::nullopt
  // when it could not be moved (the work file then stays as it was).
  std::optional<std::string> KeepLeftover();
  // Before a recording starts afresh: a leftover is kept first. What to tell the user (no text:
  // nothing) and whether the recording may start (not when the leftover could not be kept).
  struct LeftoverNotice {
    bool mayStart = true;
    std::string caption;
    std::string text;
  };
  LeftoverNotice KeepLeftoverBeforeStart();

  // What the finished recording became.
  struct Result {
    enum class Kind {
      kText,          // `text` is the recording itself; the work file stays until Remove
      kLongFile,      // the recording is in `file`, `text` names it, the work file is gone
      kUnreadable,    // the work file could not be read; it stays
      kFileNotWritten // no long-macro file could be written; the work file stays
    };
    Kind kind = Kind::kText;
    std::string text;
    std::string file;
    bool Kept() const { return kind == Kind::kText || kind == Kind::kLongFile; }
  };
  // Closes the work file and reads it: at most `maxInRecord` characters are the macro's text;
  // more go to the first free WD<n>.TXT (n = 0, 1, ...) and the text becomes "<TFILE:" + its
  // full name + ">".
  Result Finish(std::size_t maxInRecord);
  // Deletes the work file once what it held is stored elsewhere.
  void Remove();
  // The message for a recording that could not be kept (empty for one that was).
  std::string Problem(const Result& result) const;

 private:
  std::string NativePath(const std::string& stored) const { return files_.NativePath(stored); }
  // The first WD<n>.TXT of the program folder that does not exist; empty when none is free.
  std::string FreeLongMacroFile() const;
  // Copies the work file to a new long-macro file and deletes it; the file's name, or empty.
  std::string MoveToLongMacroFile();

  platform::Files& files_;
  std::string folder_;
  std::string path_;
  // The work file while it records; a player that never records makes none.
  std::unique_ptr<BinaryFile> out_;
  std::int64_t written_ = 0;
};

}  // namespace wdx
