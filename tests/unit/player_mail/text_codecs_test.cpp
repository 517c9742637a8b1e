#include "player/mail/text_codecs.h"

#include <gtest/gtest.h>

#include <string>

#include "player/mail/mail_errors.h"

namespace wdx::mail {
namespace {

std::string AllBytes() {
  std::string s;
  for (int i = 0; i < 256; ++i) s += static_cast<char>(i);
  return s;
}

std::string Repeat(char c, std::size_t n) { return std::string(n, c); }

template <typename F>
void ExpectParserError(F f, const char* text) {
  try {
    f();
    ADD_FAILURE() << "no exception";
  } catch (const EMessageParserError& e) {
    EXPECT_STREQ(text, e.what());
  }
}

// ---- base64 ----

TEST(Base64, RoundTripsLinesOfEverySize) {
  const std::string all = AllBytes();
  for (std::size_t n : {0, 1, 2, 3, 4, 56, 57, 58, 188, 189}) {
    std::string input = all.substr(256 - n < 256 ? 256 - n : 0, n);
    std::string line = Base64EncodeLine(input);
    EXPECT_EQ(line.size(), (n + 2) / 3 * 4) << n;
    EXPECT_EQ(Base64DecodeLine(line), input) << n;
  }
  // All 256 byte values in the writer's 57-byte lines.
  std::string back;
  for (std::size_t pos = 0; pos < all.size(); pos += 57) back += Base64DecodeLine(Base64EncodeLine(all.substr(pos, 57)));
  EXPECT_EQ(back, all);
}

TEST(Base64, KnownLinesAndPadding) {
  EXPECT_EQ(Base64EncodeLine("Man"), "TWFu");
  EXPECT_EQ(Base64EncodeLine("Ma"), "TWE=");
  EXPECT_EQ(Base64EncodeLine("M"), "TQ==");
  EXPECT_EQ(Base64EncodeLine(""), "");
  std::string line57 = Base64EncodeLine(Repeat('\xFF', 57));
  EXPECT_EQ(line57.size(), 76u);
  EXPECT_EQ(line57.find('='), std::string::npos);
  EXPECT_EQ(Base64DecodeLine("TQ=="), "M");
  // A short last group is read as if padded.
  EXPECT_EQ(Base64DecodeLine("TQ"), "M");
  EXPECT_EQ(Base64DecodeLine("TWE"), "Ma");
  EXPECT_EQ(Base64DecodeLine("===="), "");
  // Results are short strings.
  EXPECT_EQ(Base64EncodeLine(Repeat('a', 200)).size(), 255u);
}

TEST(Base64, CharactersOutsideTheAlphabetRaise) {
  EXPECT_EQ(Base64CharValue('A'), 0);
  EXPECT_EQ(Base64CharValue('/'), 63);
  EXPECT_EQ(Base64CharValue('='), 255);
  ExpectParserError([] { Base64DecodeLine("TW Fu"); }, "Invalid Character");
  ExpectParserError([] { Base64DecodeLine("TWFu\t"); }, "Invalid Character");
  ExpectParserError([] { Base64CharValue('-'); }, "Invalid Character");
}

// ---- quoted-printable ----

Lines QpEncode(std::string stream) {
  Lines lines;
  TQuotedPrintable(stream, lines).Encode();
  return lines;
}

std::string QpDecode(Lines lines) {
  std::string stream;
  TQuotedPrintable(stream, lines).Decode();
  return stream;
}

TEST(QuotedPrintable, ExamplesOfTheEncoder) {
  std::string word70 = Repeat('w', 70);
  EXPECT_EQ(QpEncode(word70 + "\r\n"), (Lines{Repeat('w', 65) + "=", Repeat('w', 5)}));
  EXPECT_EQ(QpEncode("a\tb\r\n"), Lines{"a=09b"});
  EXPECT_EQ(QpEncode(""), Lines{""});
  EXPECT_EQ(QpEncode("1+1=2\r\n"), Lines{"1+1=3D2"});
  // Breaks before the blank nearest to 65 characters; the blank begins the next line.
  std::string words = Repeat('a', 60) + " " + Repeat('b', 10) + "\r\n";
  EXPECT_EQ(QpEncode(words), (Lines{Repeat('a', 60) + "=", " " + Repeat('b', 10)}));
}

TEST(QuotedPrintable, LineBreaksBlankLinesAndTrailingBlanks) {
  // Every kind of break ends a line and blank lines survive (CR CR and LF LF are two breaks).
  EXPECT_EQ(QpEncode("a\n\nb\n"), (Lines{"a", "", "b"}));
  EXPECT_EQ(QpEncode("a\r\rb\r\n"), (Lines{"a", "", "b"}));
  EXPECT_EQ(QpEncode("a\r\n\r\nb\r\n"), (Lines{"a", "", "b"}));
  // A last line without a break ends soft, so no break is added when decoding.
  EXPECT_EQ(QpEncode("abc"), Lines{"abc="});
  EXPECT_EQ(QpDecode(QpEncode("abc")), "abc");
  // A blank at the end of a line would be lost in transport: it is escaped.
  EXPECT_EQ(QpEncode("end  \r\n"), Lines{"end =20"});
}

TEST(QuotedPrintable, EncodedLinesStayWithin76Characters) {
  std::string eightBit;
  for (int i = 0; i < 300; ++i) eightBit += static_cast<char>(0xC0 + i % 60);
  Lines lines = QpEncode(eightBit + "\r\n");
  for (const std::string& l : lines) EXPECT_LE(l.size(), 76u) << l;
  EXPECT_EQ(QpDecode(lines), eightBit + "\r\n");
}

TEST(QuotedPrintable, RoundTripsCanonicalText) {
  std::string all;  // every byte value, line breaks as CR LF pairs
  for (int i = 0; i < 256; ++i)
    if (i != '\r' && i != '\n') all += static_cast<char>(i);
  all += "\r\n";
  const std::string cases[] = {
      "x",
      "x\r\n",
      "\r\n",
      "\r\n\r\n",
      "a\r\nb",
      Repeat('q', 64) + "\r\n",
      Repeat('q', 65) + "\r\n",
      Repeat('q', 66),
      Repeat('q', 65),
      Repeat('q', 130) + "\r\n" + Repeat('r', 131),
      "lead . \r\n.\r\nnext =\r\n",
      all,
      all + all.substr(0, 100),
  };
  for (const std::string& c : cases) EXPECT_EQ(QpDecode(QpEncode(c)), c) << c;
}

TEST(QuotedPrintable, ParagraphLimits) {
  EXPECT_NO_THROW(QpEncode(Repeat('a', TQuotedPrintable::kMaxEncodeParagraph)));
  try {
    QpEncode(Repeat('a', TQuotedPrintable::kMaxEncodeParagraph + 1) + "\r\n");
    ADD_FAILURE() << "no exception";
  } catch (const MailException& e) {
    EXPECT_STREQ("Paragraph is too large", e.what());
  }
  Lines soft(400, Repeat('z', 70) + "=");
  EXPECT_THROW(QpDecode(soft), MailException);
}

TEST(QuotedPrintable, DecoderExamples) {
  EXPECT_EQ(QpDecode({"x=3D"}), "x=\r\n");
  EXPECT_EQ(QpDecode({"soft=", "end"}), "softend\r\n");
  EXPECT_EQ(QpDecode({"bad=ZZ=", "=4"}), "bad=ZZ\x04\r\n");
  EXPECT_EQ(QpDecode({"lower=e9"}), "lower\xE9\r\n");
  EXPECT_EQ(QpDecode({"eof\x1A", "next"}), "eof\x1Anext\r\n");
  EXPECT_EQ(QpDecode({}), "");
  EXPECT_EQ(QPDecodeString("caf=E9"), "caf\xE9");
  EXPECT_EQ(QPDecodeString("two=0D=0Alines"), "two");
  EXPECT_EQ(QPDecodeString("a_b"), "a_b");
}

// ---- encoded words ----

TEST(HeaderWords, Decoding) {
  EXPECT_EQ(DecodeHeaderWords("Hello =?iso-8859-1?Q?a=5Fb?="), "Hello a b");
  EXPECT_EQ(DecodeHeaderWords("Cut here =?iso-8859-1?Q?never ends"), "Cut here ");
  EXPECT_EQ(DecodeHeaderWords("=?windows-1252?B?Q2Fm6Q==?="), "Caf\xE9");
  // An escape right after the letter, in either case, does not end the word.
  EXPECT_EQ(DecodeHeaderWords("=?utf-8?q?=C3=A9t=C3=A9?="), "\xC3\xA9t\xC3\xA9");
  EXPECT_EQ(DecodeHeaderWords("=?utf-8?Q?=C3=A9?="), "\xC3\xA9");
  // An encoded text of one letter B or Q ends at its own "?=", not at the next word's.
  EXPECT_EQ(DecodeHeaderWords("=?us-ascii?q?b?= =?us-ascii?Q?x?="), "bx");
  EXPECT_EQ(DecodeHeaderWords("=?us-ascii?Q?B?= =?us-ascii?B?UQ==?="), "BQ");
  // Blanks between adjacent words vanish; before plain text they stay.
  EXPECT_EQ(DecodeHeaderWords("=?x?Q?ab?= =?x?Q?cd?=  "), "abcd");
  EXPECT_EQ(DecodeHeaderWords("=?x?Q?Caf=E9?= au lait"), "Caf\xE9 au lait");
  // Underscores outside encoded words are text.
  EXPECT_EQ(DecodeHeaderWords("file_name =?x?Q?a_b?="), "file_name a b");
  EXPECT_EQ(DecodeHeaderWords("plain text"), "plain text");
  // An unknown encoding keeps the word's text.
  EXPECT_EQ(DecodeHeaderWords("=?x?X?raw?="), "raw");
  ExpectParserError([] { DecodeHeaderWords("=?x?B?no spaces?="); }, "Invalid Character");
}

TEST(HeaderWords, EncodedWordsDecodeBackAndStayShort) {
  std::string text;
  for (int i = 0; i < 255; ++i) text += static_cast<char>(i % 3 == 0 ? 0xE9 : 'a' + i % 26);
  Lines words = EncodeHeaderWords(text, "windows-1252");
  EXPECT_GT(words.size(), 1u);
  std::string back;
  for (const std::string& w : words) {
    EXPECT_LE(w.size(), 75u);
    EXPECT_EQ(w.rfind("=?windows-1252?Q?", 0), 0u);
    back += DecodeHeaderWords(w);
  }
  EXPECT_EQ(back, text);
  // The encoded form is far longer than a short string; the decoded text still comes back whole.
  std::string joined;
  for (const std::string& w : words) joined += w + "\r\n ";
  EXPECT_EQ(DecodeHeaderWords(joined), text);
  EXPECT_EQ(DecodeHeaderWords(joined + joined), text);  // cut at 255 characters
  EXPECT_EQ(DecodeHeaderWords(words[0] + "  " + words[1]), DecodeHeaderWords(words[0]) + DecodeHeaderWords(words[1]));
  // Specials of address syntax never stand bare inside a word.
  EXPECT_EQ(EncodeHeaderWords("M\xFCller, \"Jo\"", "windows-1252"),
            Lines{"=?windows-1252?Q?M=FCller=2C_=22Jo=22?="});
}

TEST(HeaderWords, Iso2022JpWord) {
  std::string jis = "\x1B$B$3$s$K$A$O\x1B(B";
  EXPECT_EQ(EncodeIso2022JpWord(jis), "=?ISO-2022-JP?B?" + Base64EncodeLine(jis) + "?=");
  EXPECT_EQ(EncodeIso2022JpWord("plain"), "plain");
  EXPECT_EQ(EncodeIso2022JpWord(""), "");
  // A text too long for one short string still gives a closed word that decodes back.
  std::string longJis = "\x1B$B" + Repeat('%', 240) + "\x1B(B";
  std::string word = EncodeIso2022JpWord(longJis);
  EXPECT_TRUE(word.ends_with("?="));
  EXPECT_EQ(Base64DecodeLine(word.substr(16, word.size() - 18)), longJis);
}

// ---- uuencode ----

TEST(UUCode, RoundTripsLinesOfEverySize) {
  const std::string all = AllBytes();
  for (std::size_t n : {0, 1, 2, 3, 4, 44, 45}) {
    std::string input = all.substr(200, n);
    std::string line = UUEncodeLine(input);
    EXPECT_EQ(line.size(), 1 + n * 4 / 3 + (n % 3 != 0 ? 1 : 0)) << n;
    EXPECT_EQ(UUDecodeLine(line), input) << n;
  }
  std::string back;
  for (std::size_t pos = 0; pos < all.size(); pos += 45) back += UUDecodeLine(UUEncodeLine(all.substr(pos, 45)));
  EXPECT_EQ(back, all);
}

TEST(UUCode, Examples) {
  std::string line = UUEncodeLine(Repeat('x', 45));
  EXPECT_EQ(line.size(), 61u);
  EXPECT_EQ(line[0], 'M');
  EXPECT_EQ(UUEncodeLine(""), "`");
  EXPECT_EQ(UUEncodeLine("Cat"), "#0V%T");
  EXPECT_EQ(UUEncodeLine(std::string(3, '\0')), "#````");
  EXPECT_EQ(UUDecodeLine("`"), "");
  EXPECT_EQ(UUDecodeLine(" "), "");
  EXPECT_EQ(UUDecodeLine("#0V%T"), "Cat");
  // A line that declares more than it carries gives what it carries.
  EXPECT_EQ(UUDecodeLine("&0V%T"), "Cat");
  EXPECT_EQ(UUCharValue('`'), 0);
  EXPECT_EQ(UUCharValue('_'), 63);
  ExpectParserError([] { UUCharValue('a'); }, "Invalid Character");
  ExpectParserError([] { UUDecodeLine("#0v%t"); }, "Invalid Character");
}

TEST(UUCode, BeginLines) {
  EXPECT_TRUE(IsUUBegin("begin 644 file.txt"));
  EXPECT_TRUE(IsUUBegin("BEGIN 600 x"));
  EXPECT_FALSE(IsUUBegin("beginning of the text"));
  EXPECT_FALSE(IsUUBegin("begin 6"));
  EXPECT_FALSE(IsUUBegin("begin abc file"));
  EXPECT_EQ(UUFileName("begin 600 report.txt"), "report.txt");
  EXPECT_EQ(UUFileName("begin 600 two words.txt"), "two");
  EXPECT_EQ(UUFileName("begin 600 \"two words.txt\""), "two words.txt");
  EXPECT_EQ(UUFileName("begin 600 \"unclosed"), "");
  EXPECT_EQ(UUFileName("begin 0644 long-mode.bin"), "long-mode.bin");
}

}  // namespace
}  // namespace wdx::mail
