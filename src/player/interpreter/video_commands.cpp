// Video clip commands: "<AVI:" opens a clip in the video clip player and leaves playing to the
// user, "<AVII:" plays it at once, "<AVIE:" plays it to its end and closes the window by itself.
// The macro waits while the window is up; one clip window at a time.
#include <string>

#include "player/interpreter/command_support.h"
#include "player/interpreter/families.h"
#include "player/interpreter/macro_prompts.h"
#include "shared/text_util.h"

namespace wdx::player {

namespace {

class VideoFamily final : public CommandFamily {
 public:
  explicit VideoFamily(Interpreter& in) { in.Claim<&VideoFamily::Run>(TagFamily::kVideo, *this); }

 private:
  void Run(Interpreter& in, Level& level, const TagInfo& tag) {
    const CommandLayout& layout = tag.id == TagId::kAvi ? cmd::kAvi : cmd::kAviAt6;
    std::string file(FieldsOf(level, tag, layout).Raw(cmd::media_file::kFile).substr(0, kShortStringMax));
    if (file.find("%T") != std::string::npos) in.Host().ProcessStringVar(file, kShortStringMax);
    if (inUse_) {
      ReportOnly(in, "Error", "AVI Player currently in use.");
      return;
    }
    MacroPrompts* prompts = in.Host().Prompts();
    const std::int32_t mode = tag.id == TagId::kAvii ? 1 : tag.id == TagId::kAvie ? 2 : 3;
    inUse_ = true;
    const std::optional<std::string> error = prompts != nullptr ? prompts->PlayClip(file, mode) : std::nullopt;
    inUse_ = false;
    if (!error) {
      in.Fail("Error", "The video clip player is not available in this build. Macro will abort.");
    } else if (!error->empty()) {
      // A clip the system cannot open is reported; the macro goes on.
      ReportOnly(in, "Error", "The video clip " + file + " cannot be played: " + *error);
    }
  }

  bool inUse_ = false;
};

}  // namespace

std::unique_ptr<CommandFamily> MakeVideoFamily(Interpreter& in) { return std::make_unique<VideoFamily>(in); }

}  // namespace wdx::player
