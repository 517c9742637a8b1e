// Logs a macro writes: "<LOGERR:" turns the error log on for the rest of the run (and, with
// "Y", the error boxes off) and logs the macro's start; "<LOGFILE:" appends one line, with or
// without a date and time stamp, to a file the macro names or to the error log.
#include <fstream>
#include <string>

#include "player/interpreter/command_support.h"
#include "player/interpreter/families.h"
#include "shared/date_pictures.h"

namespace wdx::player {

namespace {

constexpr char kDq = '"';

void LogErrors(Interpreter& in, Level& level, const TagInfo& tag) {
  RunState& st = in.State();
  st.logErrors = true;
  if (FieldsOf(level, tag, cmd::kLogerr).Letter(cmd::logerr::kLogOnly) == 'Y') st.showErrors = false;
  in.Host().LogError("Start of Macro " + std::string(1, kDq) + st.currentMacroName + kDq);
}

std::string ExpandedField(Interpreter& in, const CommandFields& fields, std::size_t i) {
  std::string text(fields.Raw(i));
  if (text.find("%T") != std::string::npos) in.Host().ProcessStringVar(text, kShortStringMax);
  return text;
}

// The stamp as the error log writes it: the short date and the long time the user set.
std::string Stamp(platform::Platform* p) {
  const double now = p != nullptr && p->clock != nullptr ? p->clock->Now() : 0.0;
  const platform::DateTimeFormats formats =
      p != nullptr && p->regional != nullptr ? p->regional->DateTime() : platform::DateTimeFormats{};
  return ErrorLogStamp(now, formats);
}

// Appends the line; false when the file can be neither opened nor created, or the line not
// written whole.
bool AppendLine(platform::Files& files, const std::string& name, const std::string& line) {
  if (name.empty()) return false;
  std::ofstream file(files.NativePath(name), std::ios::binary | std::ios::app);
  if (!file) return false;
  file << line << "\r\n";
  file.close();
  return !file.fail();
}

void LogToFile(Interpreter& in, Level& level, const TagInfo& tag) {
  namespace f = cmd::logfile;
  const CommandFields fields = FieldsOf(level, tag, cmd::kLogfile);
  const std::string file = ExpandedField(in, fields, f::kFile);
  const std::string message = ExpandedField(in, fields, f::kMessage);
  if (fields.Letter(f::kToErrorLog) == 'Y') {
    in.Host().LogError(message);
    return;
  }
  constexpr char kCaption[] = "Log Message To File";
  auto* files = Facility(in, &platform::Platform::files, kCaption, "file system");
  if (files == nullptr) return;
  const std::string line =
      fields.Letter(f::kStamp) == 'Y' ? Stamp(in.Host().GetPlatform()) + " " + message : message;
  if (AppendLine(*files, file, line)) return;
  // Reported, and the run goes on.
  const std::string report = "Could not add message to " + file + ".  Most likely due to an anvalid file name.";
  RunState& st = in.State();
  if (st.logErrors) in.Host().LogError(report);
  if (st.showErrors) in.Host().DoAMessage(kCaption, report);
}

class LogFamily final : public CommandFamily {
 public:
  explicit LogFamily(Interpreter& in) {
    in.Claim<&LogErrors>(TagId::kLogerr, *this);
    in.Claim<&LogToFile>(TagId::kLogfile, *this);
  }
};

}  // namespace

std::unique_ptr<CommandFamily> MakeLogFamily(Interpreter& in) { return std::make_unique<LogFamily>(in); }

}  // namespace wdx::player
