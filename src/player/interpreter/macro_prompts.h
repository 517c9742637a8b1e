// The prompt windows that a running macro opens. The interpreter's families ask for them
// through this interface; the prompts library (src/player/prompts) shows them with the form
// toolkit, so the interpreter itself never links the toolkit. A host gives its prompts through
// InterpreterHost::Prompts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace wdx::player {

// The pause window's size, which the pause command needs to keep the window on the screen:
// without a message 224 by 94 pixels; a message adds one line of 19 pixels per full 30
// characters, and one more.
struct PauseWindowSize {
  static constexpr int kWidth = 224;
  static constexpr int kHeight = 94;
  static constexpr int kLineHeight = 19;
  static constexpr int kCharactersPerLine = 30;
  static constexpr int MessageHeight(std::size_t length) {
    return length == 0 ? 0 : static_cast<int>(length / kCharactersPerLine) * kLineHeight + kLineHeight;
  }
};

// What the question box of "<IFMESS:" shows: its caption, the question and its two buttons.
struct QuestionText {
  std::string caption;
  std::string question;
  std::string first;   // the answer that makes the condition true
  std::string second;
};

// What the choice menu of "<MENU:" shows: kind 1 radio buttons (one choice), any other kind
// check boxes (several); the items one a line (CR LF between); the variable's value now, whose
// letters "A".."J" choose the items shown chosen at first.
struct ChoiceMenuText {
  std::int32_t kind = 1;
  std::string title;
  std::string message;
  std::string items;
  std::string current;
};

// What a value prompt asks for; the number kinds check the answer before they take it.
enum class ValueKind : std::int32_t { kText = 1, kInteger = 2, kDecimal = 3 };

// A common dialog's answer: whether it could be shown at all, and the path chosen (nullopt
// when the user cancelled).
struct DialogChoice {
  bool shown = false;
  std::optional<std::string> path;
};

// The save-file dialog of the clipboard commands: its title, the extension added to a name
// typed without one, the filter ("Text Files (*.TXT)|*.TXT") and whether the file must exist.
struct SaveFileRequest {
  std::string title;
  std::string defaultExt;
  std::string filter;
  bool fileMustExist = false;
};

// The "Send E-Mail" prompt of the e-mail command, by what it asks for.
enum class EmailPromptMode : std::int32_t { kRecipients = 1, kText = 2, kAttachments = 3 };

// What the "Send E-Mail" prompt answers, in the list layout of the "<EMAIL:" tag: recipients:
// the To, CC and blind-copy lists; text: the body, the subject ("No Subject" for none) and
// "YES" or "NO" for the return receipt; attachments: the paths in `first`.
struct EmailPromptAnswer {
  bool proceed = false;  // false: the user chose "&Abort Macro"
  std::string first, second, third;
};

// The one-line window that says what a command is doing while it works (the e-mail and
// dial-up commands); it closes when the object is destroyed.
class StatusWindow {
 public:
  virtual ~StatusWindow() = default;
  virtual void SetText(const std::string& text) = 0;
};

// What a text box shows and how: centred or at top and left, its outer size, its type (1 waits
// for Ok, 2 closes after `seconds`, any other floats until closed) and its texts.
struct TextBoxText {
  bool centred = false;
  std::int32_t top = 0;
  std::int32_t left = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t type = 3;
  std::int32_t seconds = 0;
  std::string header;
  std::string body;
};

class MacroPrompts {
 public:
  virtual ~MacroPrompts() = default;

  // The pause window at the given place (already kept on the screen) with the message: true
  // for Resume, false for Abort; nullopt when no window can be shown.
  virtual std::optional<bool> Pause(int top, int left, const std::string& message) = 0;

  // The repeat-count prompt: the count entered (a whole number of 0 to 9999); nullopt when no
  // window can be shown or the run was aborted while it was up.
  virtual std::optional<std::int32_t> RepeatCount() { return std::nullopt; }
  // The question box: true when the user chose the first button, false for the second or the
  // close box; nullopt when no window can be shown.
  virtual std::optional<bool> Question(const QuestionText& /*question*/) { return std::nullopt; }

  // The two message windows: the short stay-on-top box and the window for long texts (line
  // breaks kept, scrolled). False when no window can be shown.
  virtual bool Message(const std::string& /*caption*/, const std::string& /*text*/) { return false; }
  virtual bool LongMessage(const std::string& /*caption*/, const std::string& /*text*/) { return false; }
  // The password prompt: true when the user entered the password, false for Abort or the
  // close box; nullopt when no window can be shown.
  virtual std::optional<bool> Password(const std::string& /*password*/) { return std::nullopt; }
  // The choice menu: the letters of the chosen items ("B", "AC"), empty when nothing was chosen
  // or the window was closed; nullopt when no window can be shown.
  virtual std::optional<std::string> ChoiceMenu(const ChoiceMenuText& /*menu*/) { return std::nullopt; }
  // The value prompt: the answer (a number kind's trimmed and checked), empty when the prompt
  // was closed without Ok; nullopt when no window can be shown.
  virtual std::optional<std::string> Value(ValueKind /*kind*/, const std::string& /*message*/) { return std::nullopt; }
  // The open-file dialog proposing a file name, and the folder dialog with a title.
  virtual DialogChoice OpenFile(const std::string& /*fileName*/) { return {}; }
  virtual DialogChoice Folder(const std::string& /*title*/) { return {}; }
  // The save-file dialog (read-only files hidden).
  virtual DialogChoice SaveFile(const SaveFileRequest& /*request*/) { return {}; }
  // The "Send E-Mail" prompt; `recipientList` holds the lines of the recipient list file
  // (recipients mode). nullopt when no window can be shown.
  virtual std::optional<EmailPromptAnswer> SendEmail(EmailPromptMode /*mode*/,
                                                     const std::vector<std::string>& /*recipientList*/) {
    return std::nullopt;
  }
  // A status window with this caption, up until the result is destroyed; nullptr when none can
  // be shown (the command then works without one). `owned`: owned by the player's window.
  virtual std::unique_ptr<StatusWindow> ShowStatus(const std::string& /*caption*/, const std::string& /*text*/,
                                                   bool /*owned*/) {
    return nullptr;
  }
  // A text box: type 1 returns when the user closed it, the others at once and stay up until
  // closed, at the latest when the run ends. False when no window can be shown.
  virtual bool TextBox(const TextBoxText& /*box*/) { return false; }
  // Closes the first open text box whose header is exactly this one; nothing when none is.
  virtual void CloseTextBox(const std::string& /*header*/) {}
  // The video clip player with the clip (mode 1 plays it, 2 plays it to its end and closes, 3
  // opens it for the user), until it closes: empty when the clip could be opened, else why not;
  // nullopt when no window can be shown.
  virtual std::optional<std::string> PlayClip(const std::string& /*file*/, std::int32_t /*mode*/) {
    return std::nullopt;
  }
};

}  // namespace wdx::player
