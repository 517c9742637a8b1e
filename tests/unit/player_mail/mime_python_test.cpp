// Every message the encoder writes is handed to an independent reader: Python's standard email
// package with its default policy, after the leading dots were taken off as a server does. The
// message and each part must parse without defects, and each part must decode to the bytes
// that went in.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

#include "mail_fixture.h"
#include "python_reader.h"
#include "player/mail/mime_encoder.h"

namespace wdx::mail {
namespace {

using testing::Encode;
using testing::MakeItem;
using testing::Parsed;
using testing::ReadWithPython;

// The header lines of an encoded message (up to the first empty line).
TmsHeaders HeaderBlock(const std::string& encoded) {
  TmsHeaders headers;
  for (const std::string& line : testing::SplitCrLf(encoded)) {
    if (line.empty()) break;
    headers.Add(line);
  }
  return headers;
}

std::string RandomBytes(std::size_t n, std::uint32_t seed) {
  std::mt19937 rng(seed);
  std::string s(n, '\0');
  for (char& c : s) c = static_cast<char>(rng() & 0xFF);
  return s;
}

std::string AllBytes(int times) {
  std::string s;
  for (int t = 0; t < times; ++t)
    for (int i = 0; i < 256; ++i) s += static_cast<char>(i);
  return s;
}

class MimePythonTest : public testing::UsualMessageTest {
 protected:
  void SetUp() override {
    if (std::string(WDX_PYTHON3).empty() || std::string(WDX_PYTHON3).ends_with("NOTFOUND"))
      FAIL() << "python3 is needed to check the encoded messages (apt-get install python3)";
  }

  Parsed EncodeAndRead(TmsCustomMessage& message) {
    std::string encoded = Encode(message);
    Parsed parsed = ReadWithPython(encoded);
    EXPECT_TRUE(parsed.defects.empty()) << ::testing::PrintToString(parsed.defects) << "\n" << encoded;
    return parsed;
  }
};

TEST_F(MimePythonTest, PlainTextWithAddressesAndDots) {
  msg_.Recipients().AddAddress("john@example.com", "Smith, John");
  msg_.Recipients().AddAddress("x@example.com", "Dr. X \"the\" Third");
  msg_.CC().AddAddress("cc@example.com", "");
  msg_.Body() = {"Hello,", ".", ".hidden", "lines\nwith LF\rand CR", ""};
  Parsed p = EncodeAndRead(msg_);
  ASSERT_EQ(p.parts.size(), 1u);
  EXPECT_EQ(p.parts[0].type, "text/plain");
  EXPECT_EQ(p.parts[0].payload, "Hello,\r\n.\r\n.hidden\r\nlines\r\nwith LF\r\nand CR\r\n\r\n");
  EXPECT_EQ(p.headers["Subject"], "Report");
  std::vector<std::vector<std::string>> expected{{"from", "Wendrix User", "user@example.com"},
                                                 {"to", "Ann", "ann@example.com"},
                                                 {"to", "Smith, John", "john@example.com"},
                                                 {"to", "Dr. X \"the\" Third", "x@example.com"},
                                                 {"cc", "", "cc@example.com"}};
  EXPECT_EQ(p.addresses, expected);
}

TEST_F(MimePythonTest, EightBitTextKeepsItsCharacters) {
  std::string name = "M\xFCller, Ren\xE9";
  std::string subject = "Gr\xFC\xDF" "e \x80 " + std::string(120, '\xE9') + " end";
  msg_.Sender().SetName(name);
  msg_.Recipients().AddAddress("z@example.com", std::string(100, '\xE4'));
  msg_.SetSubject(subject);
  msg_.Body() = {"Caf\xE9 cr\xE8me \x93quoted\x94", "trailing blank ", std::string(300, '\xFC')};
  Parsed p = EncodeAndRead(msg_);
  ASSERT_EQ(p.parts.size(), 1u);
  EXPECT_EQ(p.parts[0].payload, "Caf\xE9 cr\xE8me \x93quoted\x94\r\ntrailing blank \r\n" + std::string(300, '\xFC') + "\r\n");
  EXPECT_EQ(p.headers["Subject"], subject);
  ASSERT_EQ(p.addresses.size(), 3u);
  EXPECT_EQ(p.addresses[0][1], name);
  // A long name needs several encoded words. Readers that follow RFC 2047 drop the white space
  // between them (as DecodeHeaderWords does); Python keeps it inside display names.
  std::string longName = p.addresses[2][1];
  std::erase(longName, ' ');
  EXPECT_EQ(longName, std::string(100, '\xE4'));
  Lines to;
  HeaderBlock(Encode(msg_)).GetFieldList("To", to);
  ASSERT_EQ(to.size(), 2u);
  EXPECT_EQ(to[1], std::string(100, '\xE4') + " <z@example.com>");
}

TEST_F(MimePythonTest, AttachmentsDecodeToTheirBytes) {
  const std::string text = "first line\r\n.second\r\n\r\n= sign and tab\there \r\nno final break";
  const std::string binary = RandomBytes(100000, 5) + AllBytes(3);
  msg_.Body() = {"See the files."};
  msg_.Attachments().Add(Item("C:\\docs\\notes.txt", text));
  msg_.Attachments().Add(Item("data.jpg", binary));
  msg_.Attachments().Add(Item("crlf.txt", "a\r\nb\r\n"));
  msg_.Attachments().Add(Item("exact.jpg", std::string(57 * 3, '\x01')));
  msg_.Attachments().Add(Item("empty.jpg", ""));
  msg_.Attachments().Add(Item("empty.txt", ""));
  msg_.Attachments().Add(Item("R\xE9sum\xE9 \"final\".jpg", "8-bit name"));
  msg_.Attachments().Add(Item("last.txt", "ends with a break\r\n"));
  Parsed p = EncodeAndRead(msg_);
  ASSERT_EQ(p.parts.size(), 9u);
  EXPECT_EQ(p.parts[0].payload, "See the files.\r\n");
  std::vector<std::pair<std::string, std::string>> expected{{"notes.txt", text},
                                                            {"data.jpg", binary},
                                                            {"crlf.txt", "a\r\nb\r\n"},
                                                            {"exact.jpg", std::string(57 * 3, '\x01')},
                                                            {"empty.jpg", ""},
                                                            {"empty.txt", ""},
                                                            {"R\xE9sum\xE9 \"final\".jpg", "8-bit name"},
                                                            {"last.txt", "ends with a break\r\n"}};
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(p.parts[i + 1].fileName, expected[i].first) << i;
    EXPECT_EQ(p.parts[i + 1].payload, expected[i].second) << expected[i].first;
  }
}

TEST_F(MimePythonTest, TextAttachmentsArriveWithCrLfLines) {
  // A text file with bare LF line ends is sent in the canonical form of text.
  msg_.Attachments().Add(Item("unix.txt", "one\n\ntwo\n"));
  Parsed p = EncodeAndRead(msg_);
  ASSERT_EQ(p.parts.size(), 1u);
  EXPECT_EQ(p.parts[0].type, "text/plain");
  EXPECT_EQ(p.parts[0].fileName, "unix.txt");
  EXPECT_EQ(p.parts[0].payload, "one\r\n\r\ntwo\r\n");
}

TEST_F(MimePythonTest, SingleBinaryAttachmentIsTheWholeBody) {
  const std::string binary = AllBytes(1);
  const std::string name = std::string(240, 'p') + " photo.jpg";  // a long name is not cut
  msg_.Attachments().Add(Item(name, binary));
  Parsed p = EncodeAndRead(msg_);
  ASSERT_EQ(p.parts.size(), 1u);
  EXPECT_EQ(p.parts[0].type, "image/jpeg");
  EXPECT_EQ(p.parts[0].fileName, name);
  EXPECT_EQ(p.parts[0].payload, binary);
}

TEST_F(MimePythonTest, MessageAttachmentAndHtmlBodies) {
  msg_.Body() = {"forwarded"};
  msg_.Attachments().Add(Item("old.eml", "From: a@example.com\r\nSubject: old\r\n\r\nold body\r\n.\r\n\xE9t\xE9\r\n"));
  Parsed p = EncodeAndRead(msg_);
  ASSERT_EQ(p.parts.size(), 2u);
  EXPECT_EQ(p.parts[1].payload, "old body\r\n.\r\n\xE9t\xE9\r\n");

  TmsMessage html(registry_);
  html.Sender().SetAddress("user@example.com");
  html.Recipients().AddAddress("ann@example.com", "");
  html.SetContentType("text/html");
  html.Body() = {"<p>Gr\xFC\xDF" "e</p>", std::string(100, '-')};
  p = EncodeAndRead(html);
  ASSERT_EQ(p.parts.size(), 1u);
  EXPECT_EQ(p.parts[0].type, "text/html");
  EXPECT_EQ(p.parts[0].payload, "<p>Gr\xFC\xDF" "e</p>\r\n" + std::string(100, '-') + "\r\n");

  html.Body().clear();
  html.Attachments().Add(Item("_htmbody.htm", "<p>held</p>"));
  p = EncodeAndRead(html);
  ASSERT_EQ(p.parts.size(), 1u);
  EXPECT_EQ(p.parts[0].payload, "<p>held</p>");
}

TEST_F(MimePythonTest, NestedAlternativeParts) {
  msg_.Body() = {"plain text"};
  TmsAttItem alt = Item("_alt.0", "<p>html text</p>\r\n");
  alt.SetContentType("text/html");
  alt.SetEncoding(TAttEncoding::aeQuotedPrintable);
  msg_.Attachments().Add(alt);
  msg_.Attachments().Add(Item("pic.jpg", RandomBytes(1000, 9)));
  Parsed p = EncodeAndRead(msg_);
  ASSERT_EQ(p.parts.size(), 3u);
  EXPECT_EQ(p.parts[0].payload, "plain text\r\n");
  EXPECT_EQ(p.parts[1].type, "text/html");
  EXPECT_EQ(p.parts[1].payload, "<p>html text</p>\r\n");
  EXPECT_EQ(p.parts[2].payload, RandomBytes(1000, 9));

  // All parts alternative: the message itself is multipart/alternative.
  msg_.Attachments().Clear();
  msg_.Attachments().Add(alt);
  p = EncodeAndRead(msg_);
  ASSERT_EQ(p.parts.size(), 2u);
  EXPECT_EQ(p.parts[1].payload, "<p>html text</p>\r\n");
}

TEST_F(MimePythonTest, UuencodedAttachments) {
  msg_.SetEncoding(TMsgEncoding::meUU);
  msg_.Body() = {"Files:", ".dot line"};
  const std::vector<std::pair<std::string, std::string>> files{{"none.bin", ""},
                                                               {"dot.bin", std::string(14, '\x10')},
                                                               {"full.bin", AllBytes(1).substr(0, 45)},
                                                               {"big.bin", RandomBytes(5000, 3) + AllBytes(2)}};
  for (const auto& [name, data] : files) msg_.Attachments().Add(Item("C:\\x\\" + name, data));
  Parsed p = EncodeAndRead(msg_);
  ASSERT_EQ(p.parts.size(), 1u);
  // The empty line after the header block separates it from the body.
  EXPECT_TRUE(p.parts[0].payload.starts_with("Files:\r\n.dot line\r\n\r\nbegin 600 none.bin\r\n"));
  EXPECT_EQ(p.uu, files);
}

TEST_F(MimePythonTest, NewsArticle) {
  TmsArticle article(registry_);
  article.Sender().SetName("Poster, P.");
  article.Sender().SetAddress("p@example.com");
  article.SetNewsGroups("comp.test");
  article.SetSubject("Hi");
  article.Body() = {"text", "."};
  Parsed p = EncodeAndRead(article);
  ASSERT_EQ(p.parts.size(), 1u);
  EXPECT_EQ(p.parts[0].payload, "text\r\n.\r\n");
  EXPECT_EQ(p.headers["Newsgroups"], "comp.test");
}

}  // namespace
}  // namespace wdx::mail
