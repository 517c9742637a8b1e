// Text boxes: "<TBOX2:" shows a box that waits for Ok, closes after some seconds or floats
// until "<TBCLOSE:" with its header closes it or the run ends; "<TBOX:<HEAD:" is the older
// form, the window for long texts that the run waits for. No text-box tag fails the run over
// its fields: numbers that are not numbers read as the conversion gives them.
#include <string>

#include "player/interpreter/block_scan.h"
#include "player/interpreter/command_support.h"
#include "player/interpreter/families.h"
#include "player/interpreter/macro_prompts.h"

namespace wdx::player {

namespace {

std::string Header(Interpreter& in, std::string_view written) {
  std::string header(written);
  if (header.find("%T") != std::string::npos) in.Host().ProcessStringVar(header, kShortStringMax);
  return header;
}

// A body too long for a text variable once expanded is shown as written.
std::string Body(Interpreter& in, std::string_view written) {
  std::string body(written);
  if (body.find("%T") != std::string::npos) in.Host().ProcessAnsiStringVar(body);
  return body;
}

void ShowTextBox(Interpreter& in, Level& level, const TagInfo& tag) {
  namespace f = cmd::tbox2;
  const CommandFields fields = FieldsOf(level, tag, cmd::kTbox2);
  TextBoxText box;
  box.centred = fields.Letter(f::kCentred) == 'Y';
  box.top = fields.Whole(f::kTop);
  box.left = fields.Whole(f::kLeft);
  box.width = fields.Whole(f::kWidth);
  box.height = fields.Whole(f::kHeight);
  box.type = fields.Whole(f::kType);
  box.seconds = fields.Whole(f::kSeconds);
  box.header = Header(in, fields.Raw(f::kHeader));
  box.body = Body(in, fields.Raw(f::kBody));
  MacroPrompts* prompts = in.Host().Prompts();
  const platform::WindowHandle front = FrontBeforePrompt(in);
  if (prompts == nullptr || !prompts->TextBox(box)) {
    in.Fail("Text Box", "The text box is not available in this build. Macro will abort.");
    return;
  }
  FrontAfterPrompt(in, front);
}

void ShowOlderTextBox(Interpreter& in, Level& level, const TagInfo& tag) {
  const CommandFields fields = FieldsOf(level, tag, cmd::kTboxHead);
  in.Host().MyMessage(Header(in, fields.Raw(cmd::tbox_head::kHeader)), Body(in, fields.Raw(cmd::tbox_head::kBody)));
}

void CloseTextBox(Interpreter& in, Level& level, const TagInfo& tag) {
  const std::string header = Header(in, FieldsOf(level, tag, cmd::kTbclose).Raw(0));
  if (MacroPrompts* prompts = in.Host().Prompts()) prompts->CloseTextBox(header);
}

class TextBoxFamily final : public CommandFamily {
 public:
  explicit TextBoxFamily(Interpreter& in) {
    in.Claim<&ShowTextBox>(TagId::kTbox2, *this);
    in.Claim<&ShowOlderTextBox>(TagId::kTboxHead, *this);
    in.Claim<&CloseTextBox>(TagId::kTbclose, *this);
  }
};

}  // namespace

std::unique_ptr<CommandFamily> MakeTextBoxFamily(Interpreter& in) { return std::make_unique<TextBoxFamily>(in); }

}  // namespace wdx::player
