// The line codecs of the mail suite: base64 one line at a time, quoted-printable, encoded
// words in header values, the ISO-2022-JP header word, and uuencode. Line texts are short
// strings (at most 255 characters); bytes travel in std::string.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace wdx::mail {

using Lines = std::vector<std::string>;

// ---- base64 (alphabet A-Z a-z 0-9 + /, pad "=") ----
// 0..63 for the alphabet, 255 for "="; any other character raises "Invalid Character".
std::uint8_t Base64CharValue(char c);
// Four characters give three bytes; the bytes touched by trailing "=" are dropped. A line
// whose length is not a multiple of four is read as if padded with "=".
std::string Base64DecodeLine(std::string_view line);
// 57 bytes make one 76-character line; the result is cut at 255 characters.
std::string Base64EncodeLine(std::string_view bytes);

// ---- header values ----
// Decodes the encoded words of a header text; the result is cut to 255 characters. The bytes
// stay as they are; no character set conversion takes place.
std::string DecodeHeaderWords(std::string_view text);
// A text beginning with ESC becomes one ISO-2022-JP encoded word; other texts are returned
// unchanged.
std::string EncodeIso2022JpWord(std::string_view text);
// True when the text holds a byte above 127.
bool HasEightBit(std::string_view text);
// Q-encoded words of `charset` for a header text, each at most `maxWord` characters (75 at
// the most), safe in a display name as well as in unstructured fields such as the subject.
Lines EncodeHeaderWords(std::string_view text, std::string_view charset, std::size_t maxWord = 75);

// ---- quoted-printable ----
// Encodes a byte stream into lines, or decodes lines into a byte stream. Neither the stream
// nor the lines are owned.
class TQuotedPrintable {
 public:
  // Paragraph limits: the encoder's buffer and the decoder's collected paragraph.
  static constexpr std::size_t kMaxEncodeParagraph = 24575;
  static constexpr std::size_t kMaxDecodeParagraph = 24574;
  // Source characters in one encoded line, and the encoded line's limit (RFC 2045).
  static constexpr std::size_t kPieceLength = 65;
  static constexpr std::size_t kMaxLineLength = 76;

  TQuotedPrintable(std::string& stream, Lines& lines) : stream_(&stream), lines_(&lines) {}

  // Reads the whole stream and appends its encoded lines. CR LF, a lone CR and a lone LF each
  // end a line (so a text's line breaks arrive as CR LF); a last line without a break ends in
  // a soft break, so the decoded bytes end exactly where the stream did. A line longer than
  // kMaxEncodeParagraph raises "Paragraph is too large". An empty stream gives one empty line.
  void Encode();
  // Appends the decoded bytes of the lines to the stream.
  void Decode();

 private:
  std::string* stream_;
  Lines* lines_;
};

// One quoted-printable line decoded, without its line break.
std::string QPDecodeString(std::string_view line);

// ---- uuencode (value v written as v + 32, value 0 as the backquote) ----
// 0..63; "`" and blank give 0; other characters raise "Invalid Character".
std::uint8_t UUCharValue(char c);
std::string UUDecodeLine(std::string_view line);
// Up to 45 bytes give one line: the count character and the groups, without padding.
std::string UUEncodeLine(std::string_view bytes);
bool IsUUBegin(std::string_view line);
std::string UUFileName(std::string_view beginLine);

}  // namespace wdx::mail
