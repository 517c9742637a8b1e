// Clipboard commands: text from a file ("<CLIPF:") or from the macro ("<BEGCLIP>".."<ENDCLIP>")
// and pictures from bitmap, JPEG and metafile files ("<CLIPB:") go onto the clipboard;
// "<CLIPE>" empties it; "<CLIPC>" and "<CLIPP>" press Ctrl+C and Ctrl+V; "<CLIPTYPE>" and
// "<CLIPTYPEI>" play its text as macro text; "<CLIPSG:", "<CLIPST:" and "<CLIPAT:" save its
// picture or text to a file, or ask for one (":PROMPT:").
//
// None of the failures aborts the macro: each is reported and the macro goes on. A picture
// file that cannot be read as its kind is reported as the missing file is, so the clipboard
// never gets half a picture.
#include <filesystem>
#include <string>
#include <system_error>

#include "player/interpreter/command_support.h"
#include "player/interpreter/families.h"
#include "player/interpreter/file_io.h"
#include "player/interpreter/macro_prompts.h"
#include "player/interpreter/picture_files.h"
#include "platform/virtual_keys.h"
#include "shared/text_util.h"

namespace wdx::player {

namespace {

constexpr double kAfterPut = 0.05;
constexpr double kAfterPaste = 0.1;
constexpr int kJpegQuality = 100;
constexpr std::uint8_t kVkC = 'C';
constexpr std::uint8_t kVkV = 'V';
constexpr char kClipEnd[] = "<ENDCLIP>";

constexpr char kNoGraphic[] =
    "There is no recognizable graphic in the clipboard. Saving clipboard graphic to a file will abort.";
constexpr char kNoText[] = "There is no text in the clipboard.  Saving clipboard text to a file will abort.";

platform::Clipboard* ClipboardOf(Interpreter& in) {
  return Facility(in, &platform::Platform::clipboard, "Clipboard Error", "clipboard");
}
platform::Files* FilesOf(Interpreter& in) {
  return Facility(in, &platform::Platform::files, "Clipboard Error", "file system");
}

// A report that lets the macro go on, with the macro's name appended to the box or not.
void Report(Interpreter& in, const char* caption, const char* message, bool appendName) {
  RunState& st = in.State();
  st.appendMacroName = appendName;
  if (st.logErrors) in.Host().LogError(message);
  if (st.showErrors) in.Host().DoAMessage(caption, message);
}

// The tag's file field with its "%T" references replaced (a short text).
std::string FileField(Interpreter& in, const Level& level, const TagInfo& tag, const CommandLayout& layout) {
  std::string name(FieldsOf(level, tag, layout).Raw(0));
  if (name.find("%T") != std::string::npos) in.Host().ProcessStringVar(name, kShortStringMax);
  return name;
}

// The file a save command writes: the field, or what the user chose when it is ":PROMPT:";
// nullopt when the user cancelled or no dialog could be shown.
std::optional<std::string> SaveTarget(Interpreter& in, std::string field, const SaveFileRequest& request) {
  if (field != cmd::kPromptForFile) return field;
  MacroPrompts* prompts = in.Host().Prompts();
  if (prompts == nullptr) return std::nullopt;
  return prompts->SaveFile(request).path;
}

// Text onto the clipboard; an empty text empties it.
void PutText(Interpreter& in, platform::Clipboard& clipboard, const std::string& text) {
  if (text.empty()) {
    clipboard.Clear();
  } else {
    clipboard.SetText(text);
  }
  in.Host().PauseForNoSpeed(kAfterPut);
}

void CopyTextFile(Interpreter& in, Level& level, const TagInfo& tag) {
  const std::string name = FileField(in, level, tag, cmd::kClipf);
  platform::Clipboard* clipboard = ClipboardOf(in);
  platform::Files* files = clipboard != nullptr ? FilesOf(in) : nullptr;
  if (files == nullptr || name.empty()) return;
  // A file that cannot be opened is passed over silently.
  if (const std::optional<std::string> text = ReadTextFile(files->NativePath(name))) {
    PutText(in, *clipboard, text->substr(0, text->find('\0')));
  }
}

void CopyPictureFile(Interpreter& in, Level& level, const TagInfo& tag) {
  const std::string name = FileField(in, level, tag, cmd::kClipb);
  platform::Clipboard* clipboard = ClipboardOf(in);
  platform::Files* files = clipboard != nullptr ? FilesOf(in) : nullptr;
  if (files == nullptr) return;
  // The kind goes by the name's last four characters: ".WMF", ".JPG", anything else a bitmap.
  const std::string kind = UpperAscii(name.size() >= 4 ? name.substr(name.size() - 4) : name);
  const std::optional<std::string> bytes = name.empty() ? std::nullopt : ReadFileBytes(files->NativePath(name));
  if (kind == ".WMF") {
    const std::optional<platform::MetafilePicture> metafile = bytes ? ReadMetafileFile(*bytes) : std::nullopt;
    if (!metafile) return Report(in, "MetaFile Copy Error", "Windows metafile file could not be located.", false);
    clipboard->SetMetafile(*metafile);
    return;
  }
  const bool jpeg = kind == ".JPG";
  const std::optional<Picture> picture = !bytes ? std::nullopt : jpeg ? DecodeJpeg(*bytes) : ReadBmpFile(*bytes);
  if (!picture) {
    if (jpeg) return Report(in, "JPEG Copy Error", "JPEG file could not be located.", false);
    return Report(in, "Bitmap Copy Error", "Bitmap file could not be located.", false);
  }
  clipboard->SetBitmap(WriteDib(*picture));
}

// "<BEGCLIP>": the text up to the next "<ENDCLIP>" goes onto the clipboard, and the macro goes
// on at that "<ENDCLIP>", which the dispatcher passes over as a block end. Without an
// "<ENDCLIP>" nothing goes onto the clipboard and the rest of the level, the unfinished block,
// is not typed either.
Flow CopyBlock(Interpreter& in, Level& level, const TagInfo& tag) {
  const std::size_t start = level.cursor + tag.keyword.size();
  const std::size_t end = start <= level.text.size() ? level.text.find(kClipEnd, start) : std::string_view::npos;
  if (end == std::string_view::npos) return Flow::JumpTo(level.text.size());
  platform::Clipboard* clipboard = ClipboardOf(in);
  if (clipboard == nullptr) return Flow::JumpTo(level.text.size());
  std::string text(level.text.substr(start, end - start));
  if (text.find("%T") != std::string::npos && !in.Host().ProcessAnsiStringVar(text)) return Flow::JumpTo(end);
  PutText(in, *clipboard, text);
  return Flow::JumpTo(end);
}

void EmptyClipboard(Interpreter& in, Level& /*level*/, const TagInfo& /*tag*/) {
  if (platform::Clipboard* clipboard = ClipboardOf(in)) {
    clipboard->Clear();
    in.Host().PauseForNoSpeed(kAfterPut);
  }
}

void CopyOrPaste(Interpreter& in, Level& /*level*/, const TagInfo& tag) {
  const std::uint8_t letter = tag.id == TagId::kClipc ? kVkC : kVkV;
  in.PostKey(vk::kControl, false);
  in.PostKey(letter, false);
  in.PostKey(letter, true);
  in.PostKey(vk::kControl, true);
  if (tag.id == TagId::kClipp) in.Host().PauseForNoSpeed(kAfterPaste);
}

// The clipboard's text played as macro text, so tags in it run.
void PlayClipboard(Interpreter& in, Level& /*level*/, const TagInfo& tag) {
  platform::Clipboard* clipboard = ClipboardOf(in);
  if (clipboard == nullptr) return;
  std::string text = clipboard->GetText().value_or(std::string());
  if (text.empty()) return;
  if (tag.id == TagId::kCliptypei) std::erase_if(text, [](char c) { return c == '\r' || c == '\n'; });
  in.DoMacro(text, 1, 1, 1, false, false, 0);
}

void SavePicture(Interpreter& in, Level& level, const TagInfo& tag) {
  const std::string field = FileField(in, level, tag, cmd::kClipsg);
  platform::Clipboard* clipboard = ClipboardOf(in);
  platform::Files* files = clipboard != nullptr ? FilesOf(in) : nullptr;
  if (files == nullptr) return;
  const std::optional<std::string> dib = clipboard->GetBitmap();
  const std::optional<Picture> picture = dib ? ReadDib(*dib) : std::nullopt;
  if (!picture) return Report(in, "Error", kNoGraphic, true);
  std::optional<std::string> name = SaveTarget(
      in, field, {"Save Clipboard Graphic to Graphic File", "BMP", "Bitmap (*.BMP)|*.BMP|JPeg (*.JPG)|*.JPG", false});
  if (!name || name->empty()) return;
  const std::string kind = UpperAscii(name->size() >= 4 ? name->substr(name->size() - 4) : *name);
  std::optional<std::string> bytes;
  if (kind == ".JPG") {
    bytes = EncodeJpeg(*picture, kJpegQuality);
  } else {
    if (kind != ".BMP") *name += ".BMP";
    bytes = WriteBmpFile(*picture);
  }
  // A file that cannot be written is passed over, as the text saves do.
  if (bytes) WriteFileBytes(files->NativePath(*name), *bytes);
}

void SaveText(Interpreter& in, Level& level, const TagInfo& tag) {
  const bool append = tag.id == TagId::kClipat;
  const std::string field = FileField(in, level, tag, append ? cmd::kClipat : cmd::kClipst);
  platform::Clipboard* clipboard = ClipboardOf(in);
  platform::Files* files = clipboard != nullptr ? FilesOf(in) : nullptr;
  if (files == nullptr) return;
  const std::string text = clipboard->GetText().value_or(std::string());
  if (text.empty()) return Report(in, "Error", kNoText, true);
  const SaveFileRequest request{append ? "Append Clipboard Text To File" : "Save Clipboard Text To File", "TXT",
                                "Text Files (*.TXT)|*.TXT", append};
  const std::optional<std::string> name = SaveTarget(in, field, request);
  if (!name || name->empty()) return;
  const std::string path = files->NativePath(*name);
  // Appending writes only to a file that is there.
  std::error_code ec;
  if (append && !std::filesystem::is_regular_file(path, ec)) return;
  WriteLine(path, text, append);
}

class ClipboardFamily final : public CommandFamily {
 public:
  explicit ClipboardFamily(Interpreter& in) {
    in.Claim<&CopyTextFile>(TagId::kClipf, *this);
    in.Claim<&CopyPictureFile>(TagId::kClipb, *this);
    in.Claim<&CopyBlock>(TagId::kBegclip, *this);
    in.Claim<&EmptyClipboard>(TagId::kClipe, *this);
    in.Claim<&CopyOrPaste>(TagId::kClipc, *this);
    in.Claim<&CopyOrPaste>(TagId::kClipp, *this);
    in.Claim<&PlayClipboard>(TagId::kCliptype, *this);
    in.Claim<&PlayClipboard>(TagId::kCliptypei, *this);
    in.Claim<&SavePicture>(TagId::kClipsg, *this);
    in.Claim<&SaveText>(TagId::kClipst, *this);
    in.Claim<&SaveText>(TagId::kClipat, *this);
  }
};

}  // namespace

std::unique_ptr<CommandFamily> MakeClipboardFamily(Interpreter& in) { return std::make_unique<ClipboardFamily>(in); }

}  // namespace wdx::player
