#include "editor/direct/direct_text.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "shared/text_util.h"

namespace wdx::editor {

std::int32_t ActivationTypeOf(std::uint16_t code) {
  switch (code) {
    case activation::kTimedCode:
      return activation::kTimed;
    case activation::kMouseCode:
      return activation::kMouseClick;
    case activation::kAbbrekeyCode:
      return activation::kAbbrekey;
    case activation::kWindowTitleCode:
      return activation::kWindowTitle;
    case activation::kNoneCode:
      return activation::kNone;
    default:
      return activation::kHotKey;
  }
}

bool ValidAbbrekeyChar(char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
  return std::string_view("'!#$%&*+,-./;<=>?@\\^_").find(c) != std::string_view::npos;
}

bool ValidAbbrekey(std::string_view name) { return std::all_of(name.begin(), name.end(), ValidAbbrekeyChar); }

std::string StoredMacroText(std::string_view memo) {
  std::string out;
  out.reserve(memo.size());
  for (char c : memo) {
    if (c == '\t') {
      out += "<TAB>";
    } else {
      out += c;
    }
  }
  return out;
}

std::optional<std::int16_t> Coordinate(std::string_view typed) {
  std::string_view t = TrimView(typed);
  bool negative = false;
  if (!t.empty() && (t.front() == '-' || t.front() == '+')) {
    negative = t.front() == '-';
    t.remove_prefix(1);
  }
  if (t.empty() || t.size() > 5) return std::nullopt;
  int value = 0;
  for (char c : t) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (negative) value = -value;
  if (value < -32768 || value > 32767) return std::nullopt;
  return static_cast<std::int16_t>(value);
}

std::optional<TextFile> ReadTextFile(platform::Files& files, const std::string& path, std::size_t limit) {
  std::ifstream in(files.NativePath(path), std::ios::binary);
  if (!in) return std::nullopt;
  TextFile f;
  in.seekg(0, std::ios::end);
  f.size = static_cast<std::uintmax_t>(std::max<std::streamoff>(in.tellg(), 0));
  in.seekg(0);
  f.text.resize(static_cast<std::size_t>(std::min<std::uintmax_t>(f.size, limit)));
  in.read(f.text.data(), static_cast<std::streamsize>(f.text.size()));
  f.text.resize(static_cast<std::size_t>(in.gcount()));
  if (!f.text.empty() && f.text.back() == '\x1a') f.text.pop_back();
  return f;
}

bool WriteTextFile(platform::Files& files, const std::string& path, std::string_view text) {
  std::ofstream out(files.NativePath(path), std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out << "\r\n";
  return static_cast<bool>(out.flush());
}

std::optional<forms::Fault> StoreMouseChoice(const MouseChoice& choice, TMacroRec& record) {
  if (!choice.windowPart) {
    const struct {
      const std::string* text;
      const char* field;
      const char* what;
    } fields[] = {{&choice.top, "MTop", "top"},
                  {&choice.left, "MLeft", "left"},
                  {&choice.bottom, "MBottom", "bottom"},
                  {&choice.right, "MRight", "right"}};
    std::int16_t v[4] = {};
    for (int i = 0; i < 4; ++i) {
      const std::optional<std::int16_t> c = Coordinate(*fields[i].text);
      if (!c) return forms::Fault{fields[i].field, std::string("Invalid ") + fields[i].what + " position entered.  Please correct."};
      v[i] = *c;
    }
    if (v[3] < v[1]) std::swap(v[1], v[3]);
    if (v[2] < v[0]) std::swap(v[0], v[2]);
    record.SetMouseTop(v[0]);
    record.SetMouseLeft(v[1]);
    record.SetMouseBottom(v[2]);
    record.SetMouseRight(v[3]);
    record.SetWindowPartFlag(0);
  } else {
    record.SetWindowPartFlag(1);
    record.SetWindowPart(static_cast<std::int16_t>(choice.part));
  }
  record.SetMouseButton(static_cast<std::int16_t>(choice.button));
  return std::nullopt;
}

}  // namespace wdx::editor
