#include "player/mail/mime_encoder.h"

#include <gtest/gtest.h>

#include <regex>

#include "mail_fixture.h"
#include "player/mail/mail_errors.h"

namespace wdx::mail {
namespace {

using testing::Encode;
using testing::JoinCrLf;
using testing::MakeItem;
using testing::SplitCrLf;
using Text = std::vector<std::string>;

class MimeEncoderTest : public testing::UsualMessageTest {
 protected:
  Text EncodedLines() { return SplitCrLf(Encode(msg_)); }
};

TEST_F(MimeEncoderTest, PlainMessageLayout) {
  msg_.Recipients().AddAddress("bob@example.com", "Bob");
  msg_.Recipients().AddAddress("cy@example.com", "");
  msg_.CC().AddAddress("dee@example.com", "Dee");
  msg_.BCC().AddAddress("hidden@example.com", "Hidden");
  msg_.SetReturnReceipt(true);
  msg_.SetPriority(TPriority::ptHigh);
  msg_.Body() = {"Hello Ann,", "", "see you."};
  EXPECT_EQ(Encode(msg_), JoinCrLf({
                              "From:     Wendrix User <user@example.com>",
                              "To:       Ann <ann@example.com>,",
                              "          Bob <bob@example.com>,",
                              "           <cy@example.com>",
                              "CC:       Dee <dee@example.com>",
                              "Return-Receipt-To: <user@example.com>",
                              "X-Priority: 1",
                              "X-Mailer: Wendrix",
                              "Subject: Report",
                              "Mime-Version: 1.0",
                              "Content-Type: text/plain; charset=\"us-ascii\"",
                              "Content-Transfer-Encoding: 7bit",
                              "",
                              "Hello Ann,",
                              "",
                              "see you.",
                          }));
  msg_.SetPriority(TPriority::ptLow);
  EXPECT_NE(Encode(msg_).find("\r\nX-Priority: 5\r\n"), std::string::npos);
  msg_.SetPriority(TPriority::ptNormal);
  EXPECT_EQ(Encode(msg_).find("X-Priority"), std::string::npos);
}

TEST_F(MimeEncoderTest, UsualMessageWithOneAttachment) {
  msg_.Body() = {"Monthly figures attached."};
  msg_.Attachments().Add(Item("C:\\reports\\figures.jpg", "\xFF\xD8\xFF\xE0"));
  EXPECT_EQ(Encode(msg_), JoinCrLf({
                              "From:     Wendrix User <user@example.com>",
                              "To:       Ann <ann@example.com>",
                              "X-Mailer: Wendrix",
                              "Subject: Report",
                              "Mime-Version: 1.0",
                              "Content-Type: multipart/mixed; boundary=\"45057125\"",
                              "",
                              "This is a multipart message in MIME format",
                              "",
                              "--45057125",
                              "Content-Type: text/plain; charset=\"us-ascii\"",
                              "Content-Transfer-Encoding: 7bit",
                              "",
                              "Monthly figures attached.",
                              "",
                              "--45057125",
                              "Content-Type: image/jpeg; name=\"figures.jpg\"",
                              "Content-Transfer-Encoding: Base64",
                              "Content-Disposition: attachment; filename=\"figures.jpg\"",
                              "",
                              "/9j/4A==",
                              "",
                              "--45057125--",
                          }));
}

TEST_F(MimeEncoderTest, EveryLineBeginningWithADotIsDoubled) {
  msg_.Headers().Add(".");
  msg_.Body() = {".", ".x", "a\r\n.\r\n.b\nc"};
  Text lines = EncodedLines();
  EXPECT_EQ(Text(lines.end() - 7, lines.end()), (Text{"", "..", "..x", "a", "..", "..b", "c"}));
  // The body entries themselves are left as they were.
  EXPECT_EQ(msg_.Body(), (Lines{".", ".x", "a\r\n.\r\n.b\nc"}));
  for (const std::string& l : lines) EXPECT_NE(l, ".");

  // Also in quoted-printable text, 7bit attachments and uuencoded data.
  msg_.Body() = {std::string(300, 'x'), ".", ".y"};
  msg_.Attachments().Add(Item("m.eml", "Subject: s\r\n\r\n.\r\n.z\r\n"));
  std::string encoded = Encode(msg_);
  EXPECT_NE(encoded.find("\r\n..\r\n..y\r\n"), std::string::npos);
  EXPECT_NE(encoded.find("\r\n..\r\n..z\r\n"), std::string::npos);
  msg_.SetEncoding(TMsgEncoding::meUU);
  msg_.Attachments().Clear();
  msg_.Attachments().Add(Item("d.bin", std::string(14, '\x10')));  // 14 bytes: count character "."
  encoded = Encode(msg_);
  EXPECT_NE(encoded.find("\r\nbegin 600 d.bin\r\n..$!"), std::string::npos);
  for (const std::string& l : SplitCrLf(encoded)) EXPECT_NE(l, ".");
}

TEST_F(MimeEncoderTest, LongBodyLinesGoQuotedPrintable) {
  msg_.Body() = {std::string(255, 'a')};
  EXPECT_NE(Encode(msg_).find("Content-Transfer-Encoding: 7bit"), std::string::npos);
  msg_.Body() = {std::string(256, 'a')};
  std::string encoded = Encode(msg_);
  EXPECT_NE(encoded.find("charset=\"us-ascii\"\r\nContent-Transfer-Encoding: quoted-printable\r\n"), std::string::npos);
  EXPECT_NE(encoded.find("\r\n" + std::string(65, 'a') + "=\r\n"), std::string::npos);
}

TEST_F(MimeEncoderTest, DisplayNamesStayOneAddress) {
  struct Case {
    const char* name;
    const char* written;
  } cases[] = {
      {"Dr. Smith", "\"Dr. Smith\""},
      {"Smith, John", "\"Smith, John\""},
      {"\"Smith, John\"", "\"Smith, John\""},
      {"He said \"hi\"", "He said \"hi\""},
      {"O\"Brien", "\"O\\\"Brien\""},
      {"Ann <boss>", "\"Ann <boss>\""},
      {"line\r\nBcc: x@y", "\"line  Bcc: x@y\""},
  };
  for (const Case& c : cases) {
    msg_.Sender().SetName(c.name);
    EXPECT_EQ(EncodedLines()[0], std::string("From:     ") + c.written + " <user@example.com>") << c.name;
  }
  // Long names and addresses are never cut inside the brackets.
  std::string name(255, 'n'), address(255, 'a');
  msg_.Sender().SetName(name);
  msg_.Sender().SetAddress(address);
  msg_.Recipients().AddAddress(address, name);
  msg_.SetReturnReceipt(true);
  Text lines = EncodedLines();
  EXPECT_EQ(lines[0], "From:     " + name + " <" + address + ">");
  EXPECT_EQ(lines[2], "          " + name + " <" + address + ">");
  EXPECT_EQ(lines[3], "Return-Receipt-To: <" + address + ">");
}

TEST_F(MimeEncoderTest, EightBitTextIsLabelledAndEncoded) {
  msg_.Sender().SetName("Ren\xE9 M\xFCller");
  msg_.SetSubject("Gr\xFC\xDF" "e aus K\xF6ln");
  msg_.Body() = {"Caf\xE9 \x80 5"};
  EXPECT_EQ(Encode(msg_), JoinCrLf({
                              "From:     =?windows-1252?Q?Ren=E9_M=FCller?= <user@example.com>",
                              "To:       Ann <ann@example.com>",
                              "X-Mailer: Wendrix",
                              "Subject: =?windows-1252?Q?Gr=FC=DFe_aus_K=F6ln?=",
                              "Mime-Version: 1.0",
                              "Content-Type: text/plain; charset=\"windows-1252\"",
                              "Content-Transfer-Encoding: quoted-printable",
                              "",
                              "Caf=E9 =80 5",
                          }));
  // A long 8-bit subject folds into several words, each line short.
  msg_.SetSubject(std::string(200, '\xE9'));
  for (const std::string& l : EncodedLines()) EXPECT_LE(l.size(), 78u) << l;
  // With iso-8859-1 chosen, that is the label.
  msg_.SetCharSet(TCharSet::csISO8859);
  msg_.SetSubject("\xE9t\xE9");
  std::string encoded = Encode(msg_);
  EXPECT_NE(encoded.find("Subject: =?iso-8859-1?Q?=E9t=E9?=\r\n"), std::string::npos);
  EXPECT_NE(encoded.find("charset=\"iso-8859-1\"\r\nContent-Transfer-Encoding: quoted-printable"), std::string::npos);
}

TEST_F(MimeEncoderTest, Iso2022JpWordsForSubjectAndNames) {
  std::string jis = "\x1B$B$3$s\x1B(B";
  msg_.SetCharSet(TCharSet::csISO2022jp);
  msg_.SetSubject(jis);
  msg_.Sender().SetName(jis);
  msg_.Body() = {"x"};
  Text lines = EncodedLines();
  EXPECT_EQ(lines[0], "From:     " + EncodeIso2022JpWord(jis) + " <user@example.com>");
  EXPECT_EQ(lines[3], "Subject: " + EncodeIso2022JpWord(jis));
  EXPECT_EQ(lines[5], "Content-Type: text/plain; charset=\"iso-2022-jp\"");
  // Plain text (uuencoded mail) keeps the raw text.
  msg_.SetEncoding(TMsgEncoding::meUU);
  EXPECT_EQ(EncodedLines()[3], "Subject: " + jis);
}

TEST_F(MimeEncoderTest, StandardFieldsAreTakenFromTheModel) {
  msg_.Headers().Add("Subject: old");
  msg_.Headers().Add("To: someone@else");
  msg_.Headers().Add("\tcontinued");
  msg_.Headers().Add("Content-Type: text/html");
  msg_.Headers().Add("X-Keep: yes");
  msg_.Body() = {"b"};
  Text lines = EncodedLines();
  EXPECT_EQ(Text(lines.begin() + 2, lines.begin() + 6),
            (Text{"X-Mailer: Wendrix", "X-Keep: yes", "Subject: Report", "Mime-Version: 1.0"}));
  EXPECT_EQ(msg_.Headers().lines(), (Lines{"X-Mailer: Wendrix", "X-Keep: yes"}));
}

TEST_F(MimeEncoderTest, UuencodedMessageLayout) {
  msg_.SetEncoding(TMsgEncoding::meUU);
  msg_.Body() = {"Files follow."};
  msg_.Attachments().Add(Item("C:\\a\\data.bin", std::string(45, 'x')));
  msg_.Attachments().Add(Item("two.bin", "ab"));
  std::string full = UUEncodeLine(std::string(45, 'x'));
  EXPECT_EQ(Encode(msg_), JoinCrLf({
                              "From:     Wendrix User <user@example.com>",
                              "To:       Ann <ann@example.com>",
                              "X-Mailer: Wendrix",
                              "Subject: Report",
                              "",
                              "Files follow.",
                              "",
                              "begin 600 data.bin",
                              full,
                              "`",
                              "`",
                              "end",
                              "",
                              "begin 600 two.bin",
                              UUEncodeLine("ab"),
                              "`",
                              "end",
                          }));
}

TEST_F(MimeEncoderTest, SingleAttachmentAndHtmlBodies) {
  msg_.Attachments().Add(Item("page.htm", "<p>hi</p>\r\n"));
  Text lines = EncodedLines();
  EXPECT_EQ(Text(lines.begin() + 4, lines.end()), (Text{"Mime-Version: 1.0", "Content-Type: text/html; name=\"page.htm\"",
                                                        "Content-Transfer-Encoding: Quoted-Printable",
                                                        "Content-Disposition: attachment; filename=\"page.htm\"", "",
                                                        "<p>hi</p>"}));
  msg_.Attachments().Clear();
  msg_.Attachments().Add(Item("_htmbody.htm", "<p>hi</p>\r\n"));
  lines = EncodedLines();
  EXPECT_EQ(Text(lines.begin() + 4, lines.end()),
            (Text{"Mime-Version: 1.0", "Content-Type: text/html", "Content-Transfer-Encoding: Quoted-Printable", "",
                  "<p>hi</p>"}));

  // An HTML text held in the body: the message keeps its text, so a second encoding is the same.
  msg_.Attachments().Clear();
  msg_.SetContentType("text/html");
  msg_.Body() = {"<p>a=b</p>"};
  std::string first = Encode(msg_);
  EXPECT_NE(first.find("Content-Type: text/html\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\n<p>a=3Db</p>\r\n"),
            std::string::npos);
  EXPECT_EQ(Encode(msg_), first);
  EXPECT_EQ(msg_.Body(), Lines{"<p>a=b</p>"});
}

TEST_F(MimeEncoderTest, NestedAlternativePartsHaveTwoBoundaries) {
  msg_.Body() = {"plain"};
  msg_.Attachments().Add(Item("_alt.0", "<b>html</b>\r\n"));
  msg_.Attachments().GetItem(0).SetContentType("text/html");
  msg_.Attachments().GetItem(0).SetEncoding(TAttEncoding::aeQuotedPrintable);
  msg_.Attachments().Add(Item("pic.jpg", "JPEG"));
  std::string encoded = Encode(msg_);
  std::smatch outer, inner;
  ASSERT_TRUE(std::regex_search(encoded, outer, std::regex("multipart/mixed; boundary=\"([0-8]{8})\"")));
  ASSERT_TRUE(std::regex_search(encoded, inner, std::regex("multipart/alternative; boundary=\"([0-8]{8})\"")));
  EXPECT_NE(outer[1].str(), inner[1].str());
  EXPECT_NE(encoded.find("--" + inner[1].str() + "--\r\n--" + outer[1].str() + "\r\nContent-Type: image/jpeg"),
            std::string::npos);
  EXPECT_TRUE(encoded.ends_with("--" + outer[1].str() + "--\r\n"));
}

TEST_F(MimeEncoderTest, ArticleLayout) {
  TmsArticle article(registry_);
  article.Sender().SetName("Poster, P");
  article.Sender().SetAddress("p@example.com");
  article.SetNewsGroups("comp.test");
  article.SetSubject("Hi");
  article.Body() = {"text"};
  EXPECT_EQ(Encode(article), JoinCrLf({"From:     \"Poster, P\" <p@example.com>", "Newsgroups: comp.test",
                                       "Subject:  Hi", "Mime-Version: 1.0",
                                       "Content-Type: text/plain; charset=\"us-ascii\"",
                                       "Content-Transfer-Encoding: 7bit", "", "text"}));
}

TEST_F(MimeEncoderTest, BoundariesAndTheMessageHook) {
  BoundaryGenerator g(7);
  std::string previous;
  for (int i = 0; i < 200; ++i) {
    std::string b = g.Make();
    EXPECT_TRUE(std::regex_match(b, std::regex("[0-8]{8}"))) << b;
    EXPECT_NE(b, previous);
    previous = b;
  }
  msg_.Attachments().Add(Item("big.jpg", std::string(57 * 200, 'j')));
  msg_.Attachments().Add(Item("two.jpg", "x"));
  int calls = 0;
  BoundaryGenerator boundaries(3);
  std::ostringstream out;
  msg_.Encode(out, {&boundaries, [&] { ++calls; }});
  EXPECT_GT(calls, 2);
}

TEST_F(MimeEncoderTest, OutputErrorsRaise) {
  msg_.Body() = {"x"};
  std::ostringstream out;
  out.setstate(std::ios::badbit);
  EXPECT_THROW(msg_.Encode(out), EInOutError);
}

}  // namespace
}  // namespace wdx::mail
