#include "player/mail/text_codecs.h"

#include <algorithm>
#include <array>

#include "player/mail/mail_errors.h"
#include "player/mail/mail_text.h"

namespace wdx::mail {
namespace {

constexpr char kBase64Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr char kCr = '\r';
constexpr char kLf = '\n';
constexpr char kCtrlZ = 26;

void AppendHexEscape(std::string& out, unsigned char b) {
  out += '=';
  AppendHexPair(out, b);
}

// Encoded header text read by DecodeHeaderWords at the most.
constexpr std::size_t kMaxEncodedHeader = 32768;

// ---- quoted-printable pieces ----

bool QpNeedsEscape(unsigned char b) { return b < 32 || b == '=' || b >= 128; }
std::size_t QpLength(unsigned char b) { return QpNeedsEscape(b) ? 3 : 1; }

// A blank at the very end of a hard-broken line is escaped: transports may strip trailing
// white space, and decoders are told to remove it.
std::string EscapeLine(std::string_view piece, bool hardEnd) {
  std::string out;
  out.reserve(piece.size() + 8);
  for (std::size_t i = 0; i < piece.size(); ++i) {
    auto b = static_cast<unsigned char>(piece[i]);
    if (QpNeedsEscape(b) || (hardEnd && b == ' ' && i + 1 == piece.size()))
      AppendHexEscape(out, b);
    else
      out += static_cast<char>(b);
  }
  return out;
}

std::size_t EscapedLength(std::string_view piece, bool hardEnd) {
  std::size_t n = 0;
  for (char c : piece) n += QpLength(static_cast<unsigned char>(c));
  if (hardEnd && !piece.empty() && piece.back() == ' ') n += 2;
  return n;
}

// Splits one paragraph into encoded lines of at most 65 source characters, breaking before a
// blank where one is near, and never longer than 76 characters once escaped.
void SplitParagraph(std::string_view p, bool hasBreak, Lines& lines) {
  const std::size_t piece = TQuotedPrintable::kPieceLength;
  const std::size_t maxLine = TQuotedPrintable::kMaxLineLength;
  std::size_t start = 0;
  bool wroteSoft = false;
  auto restFits = [&] {
    std::string_view rest = p.substr(start);
    return rest.size() < piece && EscapedLength(rest, hasBreak) + (hasBreak ? 0 : 1) <= maxLine;
  };
  while (!restFits()) {
    // The longest run from `start` that stays within the line once escaped (room for "=").
    std::size_t k = 0;
    std::size_t encoded = 0;
    while (k < piece && start + k < p.size()) {
      std::size_t add = QpLength(static_cast<unsigned char>(p[start + k]));
      if (encoded + add > maxLine - 1) break;
      encoded += add;
      ++k;
    }
    std::size_t end = start + k;
    for (std::size_t i = start + k; i > start; --i) {
      if (i < p.size() && p[i] == ' ') {
        end = i;  // the blank begins the next piece
        break;
      }
    }
    lines.push_back(EscapeLine(p.substr(start, end - start), false) + "=");
    wroteSoft = true;
    start = end;
  }
  std::string_view last = p.substr(start);
  if (!hasBreak) {
    // A last line without a break: a soft break keeps the decoder from adding one. When the
    // previous piece already ended soft and nothing is left, there is nothing to write.
    if (last.empty() && wroteSoft) return;
    lines.push_back(EscapeLine(last, false) + "=");
    return;
  }
  lines.push_back(EscapeLine(last, true));
}

// Replaces every "=" followed by one or two hexadecimal digits with that byte; a "=" at the
// end of the line and a "=" with other characters after it stay as they are.
std::string UnescapeLine(std::string_view line) {
  std::string out;
  out.reserve(line.size());
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '=' && i + 1 < line.size()) {
      std::size_t digits = std::min<std::size_t>(2, line.size() - i - 1);
      int value = 0;
      bool ok = true;
      for (std::size_t d = 0; d < digits; ++d) {
        int h = HexDigitValue(line[i + 1 + d]);
        if (h < 0) {
          ok = false;
          break;
        }
        value = value * 16 + h;
      }
      if (ok) {
        out += static_cast<char>(value);
        i += digits;
        continue;
      }
    }
    out += line[i];
  }
  return out;
}

// ---- encoded words ----

// Characters that stand for themselves in a Q-encoded word, also inside a display name.
bool QWordPlain(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '!' || c == '*' ||
         c == '+' || c == '-' || c == '/';
}

// Finds the "?=" that ends the encoded word opened at `start`, skipping the "?=" formed by the
// question mark after the encoding letter and an escape's "=". A well-formed word is searched
// from its encoded text on, so an encoded text of just "b" or "Q" still ends where it should.
std::size_t FindWordEnd(std::string_view text, std::size_t start) {
  const std::size_t charsetEnd = text.find('?', start + 2);
  if (charsetEnd != std::string_view::npos && charsetEnd + 2 < text.size() && text[charsetEnd + 2] == '?')
    return text.find("?=", charsetEnd + 3);
  for (std::size_t p = text.find("?=", start + 2); p != std::string_view::npos; p = text.find("?=", p + 1)) {
    if (p >= 2 && text[p - 2] == '?') {
      char letter = text[p - 1];
      if (letter == 'B' || letter == 'Q' || letter == 'b' || letter == 'q') continue;
    }
    return p;
  }
  return std::string_view::npos;
}

std::string DecodeWord(std::string_view word) {
  std::size_t q = word.find('?');
  if (q == std::string_view::npos || q + 1 >= word.size()) return std::string();
  char letter = word[q + 1];
  std::string_view encoded = word.substr(std::min(word.size(), q + 3));
  if (letter == 'B' || letter == 'b') return Base64DecodeLine(encoded);
  if (letter == 'Q' || letter == 'q') {
    std::string decoded = QPDecodeString(encoded);
    for (char& c : decoded)
      if (c == '_') c = ' ';
    return decoded;
  }
  // An unknown encoding: the word's text is kept as it stands.
  return std::string(encoded);
}

}  // namespace

// ---- base64 ----

std::uint8_t Base64CharValue(char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<std::uint8_t>(c - 'A');
  if (c >= 'a' && c <= 'z') return static_cast<std::uint8_t>(c - 'a' + 26);
  if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(c - '0' + 52);
  if (c == '+') return 62;
  if (c == '/') return 63;
  if (c == '=') return 255;
  throw EMessageParserError(kInvalidCharacter);
}

std::string Base64DecodeLine(std::string_view line) {
  std::string out;
  out.reserve(line.size() / 4 * 3 + 3);
  std::size_t pads = 0;
  for (std::size_t i = 0; i < line.size(); i += 4) {
    std::uint32_t acc = 0;
    for (std::size_t j = 0; j < 4; ++j) {
      std::uint32_t v = i + j < line.size() ? Base64CharValue(line[i + j]) : 255;
      acc = (acc << 6) | v;
    }
    out += static_cast<char>((acc >> 16) & 0xFF);
    out += static_cast<char>((acc >> 8) & 0xFF);
    out += static_cast<char>(acc & 0xFF);
  }
  // Count the pad characters at the end, the missing ones of a short last group included.
  std::size_t padded = (line.size() + 3) / 4 * 4;
  pads = padded - line.size();
  for (std::size_t i = line.size(); i > 0 && line[i - 1] == '='; --i) ++pads;
  out.resize(out.size() - std::min(pads, out.size()));
  return out;
}

std::string Base64EncodeLine(std::string_view bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    auto a = static_cast<unsigned char>(bytes[i]);
    auto b = static_cast<unsigned char>(bytes[i + 1]);
    auto c = static_cast<unsigned char>(bytes[i + 2]);
    out += kBase64Alphabet[a >> 2];
    out += kBase64Alphabet[((a & 0x03) << 4) | (b >> 4)];
    out += kBase64Alphabet[((b & 0x0F) << 2) | (c >> 6)];
    out += kBase64Alphabet[c & 0x3F];
  }
  std::size_t rest = bytes.size() - i;
  if (rest > 0) {
    auto a = static_cast<unsigned char>(bytes[i]);
    auto b = rest > 1 ? static_cast<unsigned char>(bytes[i + 1]) : 0;
    out += kBase64Alphabet[a >> 2];
    out += kBase64Alphabet[((a & 0x03) << 4) | (b >> 4)];
    if (rest > 1) out += kBase64Alphabet[(b & 0x0F) << 2];
    while (out.size() % 4 != 0) out += '=';
  }
  return CutShort(std::move(out));
}

// ---- header values ----

std::string DecodeHeaderWords(std::string_view input) {
  // The result is a short string, but the encoded form of such a text may be longer: the whole
  // value is decoded (up to a generous limit) and the result cut.
  std::string text(input.substr(0, kMaxEncodedHeader));
  for (std::size_t start = text.find("=?"); start != std::string::npos && start < kShortStringMax;
       start = text.find("=?", start > 0 ? start - 1 : 0)) {
    std::size_t end = FindWordEnd(text, start);
    if (end == std::string::npos) {
      text.resize(start);
      break;
    }
    std::string decoded = DecodeWord(std::string_view(text).substr(start + 2, end - start - 2));
    std::string_view rest = std::string_view(text).substr(end + 2);
    // White space between two encoded words is not part of the text; before plain text it is.
    std::string_view trimmedRest = TrimView(rest);
    if (trimmedRest.substr(0, 2) != "=?") {
      while (!rest.empty() && static_cast<unsigned char>(rest.back()) <= ' ') rest.remove_suffix(1);
      trimmedRest = rest;
    }
    text = text.substr(0, start) + decoded + std::string(trimmedRest);
  }
  return CutShort(std::move(text));
}

std::string EncodeIso2022JpWord(std::string_view text) {
  if (text.empty() || text.front() != 27) return std::string(text);
  // The whole text in one word; it is not cut to a short string, so the word always closes.
  std::string out = "=?ISO-2022-JP?B?";
  for (std::size_t i = 0; i < text.size(); i += 57) out += Base64EncodeLine(text.substr(i, 57));
  return out + "?=";
}

bool HasEightBit(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 128) return true;
  return false;
}

Lines EncodeHeaderWords(std::string_view text, std::string_view charset, std::size_t maxWord) {
  const std::string prefix = "=?" + std::string(charset) + "?Q?";
  // Room for at least one escaped byte in every word.
  const std::size_t room = std::max<std::size_t>(std::min<std::size_t>(maxWord, 75), prefix.size() + 5) - prefix.size() - 2;
  Lines words;
  std::string current;
  for (char ch : text) {
    auto c = static_cast<unsigned char>(ch);
    std::string piece;
    if (c == ' ')
      piece = "_";
    else if (QWordPlain(c))
      piece = std::string(1, ch);
    else
      AppendHexEscape(piece, c);
    if (current.size() + piece.size() > room) {
      words.push_back(prefix + current + "?=");
      current.clear();
    }
    current += piece;
  }
  if (!current.empty() || words.empty()) words.push_back(prefix + current + "?=");
  return words;
}

// ---- quoted-printable ----

void TQuotedPrintable::Encode() {
  const std::string& s = *stream_;
  if (s.empty()) {
    lines_->push_back(std::string());
    return;
  }
  std::size_t pos = 0;
  while (pos < s.size()) {
    std::size_t start = pos;
    while (pos < s.size() && s[pos] != kCr && s[pos] != kLf) ++pos;
    if (pos - start > kMaxEncodeParagraph) throw MailException(kParagraphTooLarge);
    std::string_view paragraph(s.data() + start, pos - start);
    bool hasBreak = pos < s.size();
    if (hasBreak) pos += (s[pos] == kCr && pos + 1 < s.size() && s[pos + 1] == kLf) ? 2 : 1;
    SplitParagraph(paragraph, hasBreak, *lines_);
  }
}

void TQuotedPrintable::Decode() {
  std::string paragraph;
  for (const std::string& full : *lines_) {
    std::string_view line = std::string_view(full).substr(0, kShortStringMax);
    bool soft = !line.empty() && line.back() == '=';
    std::string text = UnescapeLine(line);
    if (soft) {
      text.pop_back();
    } else if (text.empty() || text.back() != kCtrlZ) {
      text += "\r\n";
    }
    if (paragraph.size() + text.size() > kMaxDecodeParagraph) throw MailException(kParagraphTooLarge);
    paragraph += text;
    if (!soft) {
      *stream_ += paragraph;
      paragraph.clear();
    }
  }
  *stream_ += paragraph;
}

std::string QPDecodeString(std::string_view line) {
  Lines lines{std::string(line)};
  std::string stream;
  TQuotedPrintable(stream, lines).Decode();
  std::size_t cut = stream.find_first_of("\r\n");
  if (cut != std::string::npos) stream.resize(cut);
  return CutShort(std::move(stream));
}

// ---- uuencode ----

std::uint8_t UUCharValue(char c) {
  if (c >= '!' && c <= '_') return static_cast<std::uint8_t>(c - 32);
  if (c == '`' || c == ' ') return 0;
  throw EMessageParserError(kInvalidCharacter);
}

namespace {
char UUChar(unsigned v) { return v == 0 ? '`' : static_cast<char>(v + 32); }
}  // namespace

std::string UUDecodeLine(std::string_view line) {
  if (line.empty()) return std::string();
  std::size_t count = UUCharValue(line[0]);
  std::string_view groups = line.substr(1);
  std::string out;
  out.reserve(count + 2);
  // Only the groups that carry the declared bytes are read; a line that carries fewer bytes
  // than it declares gives the bytes it has.
  for (std::size_t i = 0; i < groups.size() && out.size() < count; i += 4) {
    std::uint32_t acc = 0;
    std::size_t have = std::min<std::size_t>(4, groups.size() - i);
    for (std::size_t j = 0; j < 4; ++j) acc = (acc << 6) | (j < have ? UUCharValue(groups[i + j]) : 0u);
    std::size_t bytes = have == 4 ? 3 : (have * 6) / 8;
    for (std::size_t b = 0; b < bytes; ++b) out += static_cast<char>((acc >> (16 - 8 * b)) & 0xFF);
  }
  if (out.size() > count) out.resize(count);
  return out;
}

std::string UUEncodeLine(std::string_view bytes) {
  std::size_t count = std::min<std::size_t>(bytes.size(), 45);
  std::string out(1, UUChar(static_cast<unsigned>(count)));
  for (std::size_t i = 0; i < count; i += 3) {
    auto a = static_cast<unsigned char>(bytes[i]);
    auto b = i + 1 < count ? static_cast<unsigned char>(bytes[i + 1]) : 0;
    auto c = i + 2 < count ? static_cast<unsigned char>(bytes[i + 2]) : 0;
    out += UUChar(a >> 2);
    out += UUChar(((a & 0x03) << 4) | (b >> 4));
    out += UUChar(((b & 0x0F) << 2) | (c >> 6));
    out += UUChar(c & 0x3F);
  }
  out.resize(1 + count * 4 / 3 + (count % 3 != 0 ? 1 : 0));
  return out;
}

bool IsUUBegin(std::string_view line) {
  if (line.size() <= 8 || !StartsWithNoCase(line, "BEGIN")) return false;
  std::string_view rest = TrimView(line.substr(5));
  if (rest.size() < 3) return false;
  for (std::size_t i = 0; i < 3; ++i)
    if (rest[i] < '0' || rest[i] > '9') return false;
  return true;
}

std::string UUFileName(std::string_view beginLine) {
  // "begin", blanks, the mode, one blank: then the name.
  std::string_view rest = beginLine.size() > 5 ? beginLine.substr(5) : std::string_view();
  while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  while (!rest.empty() && rest.front() != ' ') rest.remove_prefix(1);
  if (!rest.empty()) rest.remove_prefix(1);
  if (!rest.empty() && rest.front() == '"') {
    rest.remove_prefix(1);
    std::size_t close = rest.find('"');
    return close == std::string_view::npos ? std::string() : std::string(rest.substr(0, close));
  }
  return std::string(rest.substr(0, rest.find(' ')));
}

}  // namespace wdx::mail
