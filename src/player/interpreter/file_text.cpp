// Macro text from elsewhere than the macro itself: "<ETEXT:" plays text stored enciphered,
// "<ETEXT2:" deciphers it into a text variable, "<TFILE:" plays a text file (a macro longer
// than a record holds; the recorder stores long recordings so).
#include <optional>
#include <string>

#include "player/interpreter/command_support.h"
#include "player/interpreter/families.h"
#include "player/interpreter/file_io.h"
#include "player/interpreter/variables.h"
#include "shared/cipher.h"

namespace wdx::player {

namespace {

constexpr char kCaption[] = "Encrypted Text Error";

// The plain text of a cipher field (an empty field is the empty text). A field that is no
// cipher text fails the run: typed as it stands it would send whatever it holds.
std::optional<std::string> Plain(Interpreter& in, std::string_view cipher) {
  if (cipher.empty()) return std::string();
  std::optional<std::string> plain = DecipherText(cipher, kMacroTextKey);
  if (!plain) in.Fail(kCaption, "The enciphered text of this macro cannot be read. Macro will abort.");
  return plain;
}

Flow PlayEnciphered(Interpreter& in, Level& level, const TagInfo& tag) {
  const std::optional<std::string> plain = Plain(in, FieldsOf(level, tag, cmd::kEtext).Raw(cmd::etext::kCipher));
  if (!plain) return Flow::JumpTo(level.text.size());
  in.DoMacro(*plain, 1, 1, 1, false, false, 0);
  return Flow::GoOn();
}

Flow DecipherToVariable(Interpreter& in, Level& level, const TagInfo& tag) {
  const CommandFields fields = FieldsOf(level, tag, cmd::kEtext2);
  std::string* target = TextVariable(in, fields.Whole(cmd::etext2::kVariable));
  if (target == nullptr) return Flow::JumpTo(level.text.size());
  const std::optional<std::string> plain = Plain(in, fields.Raw(cmd::etext2::kCipher));
  if (!plain) return Flow::JumpTo(level.text.size());
  *target = *plain;
  return Flow::GoOn();
}

// A file that cannot be opened is passed over silently, as it always was: the macro goes on.
void PlayFile(Interpreter& in, Level& level, const TagInfo& tag) {
  std::string name(FieldsOf(level, tag, cmd::kTfile).Raw(0));
  if (name.find("%T") != std::string::npos) in.Host().ProcessStringVar(name, kShortStringMax);
  platform::Platform* p = in.Host().GetPlatform();
  if (p == nullptr || p->files == nullptr || name.empty()) return;
  const std::optional<std::string> text = ReadTextFile(p->files->NativePath(name));
  if (text) in.DoMacro(*text, 1, 1, 1, false, false, 0);
}

class FileTextFamily final : public CommandFamily {
 public:
  explicit FileTextFamily(Interpreter& in) {
    in.Claim<&PlayEnciphered>(TagId::kEtext, *this);
    in.Claim<&DecipherToVariable>(TagId::kEtext2, *this);
    in.Claim<&PlayFile>(TagId::kTfile, *this);
  }
};

}  // namespace

std::unique_ptr<CommandFamily> MakeFileTextFamily(Interpreter& in) { return std::make_unique<FileTextFamily>(in); }

}  // namespace wdx::player
