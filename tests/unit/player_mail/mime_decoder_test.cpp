#include "player/mail/mime_decoder.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "mail_fixture.h"
#include "player/mail/header_values.h"
#include "player/mail/mail_text.h"

namespace wdx::mail {
namespace {

using testing::Encode;
using testing::JoinCrLf;
using testing::Unstuff;

const Lines kReportTail = {"The following error has been occured while processing the message:"};

class MimeDecoderTest : public testing::UsualMessageTest {
 protected:
  // Decodes into a fresh message that shares the registry.
  TmsMessage Decoded(const std::string& text) {
    TmsMessage out(registry_);
    std::istringstream in(text);
    out.Decode(in);
    return out;
  }
  // What a receiver gets from msg_: encoded, the dots a server removes taken off, decoded.
  TmsMessage RoundTrip() { return Decoded(Unstuff(Encode(msg_))); }

  static void ExpectAddresses(const TmsAddressList& want, const TmsAddressList& got) {
    ASSERT_EQ(want.GetCount(), got.GetCount());
    for (std::size_t i = 0; i < want.GetCount(); ++i) {
      EXPECT_EQ(want.GetItem(i).Address(), got.GetItem(i).Address());
      EXPECT_EQ(want.GetItem(i).Name(), got.GetItem(i).Name());
    }
  }
  // Everything the receiver should see of msg_ (blind copies travel only in the envelope).
  void ExpectSameAsSent(const TmsMessage& got) {
    EXPECT_EQ(got.Sender(), msg_.Sender());
    ExpectAddresses(msg_.Recipients(), got.Recipients());
    ExpectAddresses(msg_.CC(), got.CC());
    EXPECT_EQ(got.BCC().GetCount(), 0u);
    EXPECT_EQ(got.Subject(), msg_.Subject());
    EXPECT_EQ(got.Priority(), msg_.Priority());
    EXPECT_EQ(got.ReturnReceipt(), msg_.ReturnReceipt());
    EXPECT_EQ(got.Headers().GetFieldValue("X-Mailer"), "Wendrix");
    EXPECT_EQ(got.Body(), msg_.Body());
    EXPECT_EQ(got.Encoding(), msg_.Encoding());
    ASSERT_EQ(got.Attachments().GetCount(), msg_.Attachments().GetCount());
    for (std::size_t i = 0; i < msg_.Attachments().GetCount(); ++i) {
      const TmsAttItem& want = msg_.Attachments().GetItem(i);
      const TmsAttItem& item = got.Attachments().GetItem(i);
      SCOPED_TRACE(want.FileName());
      EXPECT_EQ(item.FileName(), LastPathComponent(want.FileName()));
      EXPECT_EQ(item.Data(), want.Data());
      if (msg_.Encoding() == TMsgEncoding::meMIME) {
        EXPECT_EQ(item.ContentType(), want.ContentType());
        EXPECT_EQ(item.Encoding(), want.Encoding());
      }
    }
  }
};

std::string AllBytes() {
  std::string s;
  for (int i = 0; i < 256; ++i) s += static_cast<char>(i);
  return s;
}

TEST(LineStream, LinesThenTheEndMarker) {
  TLineStream lines("a\r\nb\n\r\nc\rd\r\r\nlast");
  for (const char* want : {"a", "b", "", "c\rd\r", "last"}) {
    EXPECT_EQ(lines.ReadLine(), want);
    EXPECT_FALSE(lines.Eof());
  }
  EXPECT_EQ(lines.ReadLine(), TLineStream::kEndMarker);
  EXPECT_TRUE(lines.Eof());
  lines.Reset();
  EXPECT_EQ(lines.ReadLine(), "a");
  // A line far longer than any buffer comes whole.
  TLineStream longLine(std::string(100000, 'x') + "\n");
  EXPECT_EQ(longLine.ReadLine().size(), 100000u);
}

// Each message the encoder tests write comes back equal.
TEST_F(MimeDecoderTest, RoundTripOfTheEncodersMessages) {
  struct Case {
    const char* name;
    std::function<void()> fill;
  };
  const Case cases[] = {
      {"plain text", [this] { msg_.Body() = {"Hello Ann,", "", "see you.", ""}; }},
      {"addresses, receipt, priority",
       [this] {
         msg_.Recipients().AddAddress("bob@example.com", "Bob, Jr.");
         msg_.Recipients().AddAddress("cy@example.com", "");
         msg_.CC().AddAddress("dee@example.com", "D\xE9" "e");
         msg_.BCC().AddAddress("hidden@example.com", "Hidden");
         msg_.SetReturnReceipt(true);
         msg_.SetPriority(TPriority::ptHigh);
         msg_.Body() = {"x"};
       }},
      {"8-bit subject and body",
       [this] {
         msg_.SetSubject("Gr\xFC\xDF" "e aus K\xF6ln \x80 and a long tail of plain words after them");
         msg_.Body() = {"Gr\xFC\xDF" "e", "= and =3D stay", "tab\there "};
       }},
      {"dots and long lines",
       [this] { msg_.Body() = {".", ".x", "..", std::string(300, 'L'), "end"}; }},
      {"text and binary attachment",
       [this] {
         msg_.Body() = {"Figures attached."};
         msg_.Attachments().Add(Item("C:\\reports\\figures.jpg", AllBytes() + AllBytes()));
       }},
      {"text, quoted-printable and 7bit attachments",
       [this] {
         msg_.Body() = {"Three parts."};
         msg_.Attachments().Add(Item("notes.txt", "line one\r\n.dot line\r\nlast without break"));
         msg_.Attachments().Add(Item("m.eml", "Subject: s\r\n\r\n.\r\nbody\r\n"));
         msg_.Attachments().Add(Item("empty.jpg", ""));
         msg_.Attachments().Add(Item("57.jpg", std::string(57, '\x01')));
       }},
      {"one attachment without text",
       [this] { msg_.Attachments().Add(Item("pic.jpg", "\xFF\xD8\xFF\xE0 JFIF")); }},
      {"8-bit attachment name",
       [this] {
         msg_.Body() = {"b"};
         msg_.Attachments().Add(Item("K\xF6ln \"q\".jpg", "data"));
       }},
      {"alternative parts",
       [this] {
         msg_.Body() = {"plain"};
         msg_.Attachments().Add(Item("_alt.0", "<b>html</b>\r\n"));
         msg_.Attachments().GetItem(0).SetContentType("text/html");
         msg_.Attachments().GetItem(0).SetEncoding(TAttEncoding::aeQuotedPrintable);
       }},
      {"nested alternative, then a file",
       [this] {
         msg_.Body() = {"plain"};
         msg_.Attachments().Add(Item("_alt.0", "<b>html</b>\r\n"));
         msg_.Attachments().GetItem(0).SetContentType("text/html");
         msg_.Attachments().GetItem(0).SetEncoding(TAttEncoding::aeQuotedPrintable);
         msg_.Attachments().Add(Item("pic.jpg", "JPEG"));
       }},
      {"uuencoded files",
       [this] {
         msg_.SetEncoding(TMsgEncoding::meUU);
         msg_.Body() = {"two files follow", "", "really"};
         msg_.Attachments().Add(Item("C:\\a\\data.bin", std::string(45, 'x')));
         msg_.Attachments().Add(Item("two.bin", AllBytes()));
         msg_.Attachments().Add(Item("none.bin", ""));
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    msg_.Clear();
    msg_.Sender().SetName("Wendrix User");
    msg_.Sender().SetAddress("user@example.com");
    msg_.Recipients().AddAddress("ann@example.com", "Ann");
    msg_.Headers().Add(kPlayerMailerHeader);
    msg_.SetSubject("Report");
    msg_.SetPriority(TPriority::ptNormal);
    msg_.SetReturnReceipt(false);
    c.fill();
    TmsMessage got = RoundTrip();
    ExpectSameAsSent(got);
  }
}

TEST_F(MimeDecoderTest, HtmlBodyComesBackAsTheMessageType) {
  msg_.Attachments().Add(Item("_htmbody.htm", "<p>hi</p>\r\n"));
  TmsMessage got = RoundTrip();
  EXPECT_EQ(got.ContentType(), "text/html");
  EXPECT_EQ(got.Body(), Lines{"<p>hi</p>"});
  EXPECT_EQ(got.Attachments().GetCount(), 0u);
}

TEST_F(MimeDecoderTest, ArticleFields) {
  TmsArticle article(registry_);
  std::istringstream in(JoinCrLf({"From: Ann <ann@example.com>", "Newsgroups: comp.test", "Path: a!b",
                                  "Message-ID: <1@x>", "Subject:  Hi", "", "text"}));
  article.Decode(in);
  EXPECT_EQ(article.Sender().Address(), "ann@example.com");
  EXPECT_EQ(article.NewsGroups(), "comp.test");
  EXPECT_EQ(article.Path(), "a!b");
  EXPECT_EQ(article.MessageId(), "<1@x>");
  EXPECT_EQ(article.Subject(), "Hi");
  EXPECT_EQ(article.Body(), Lines{"text"});
}

// Messages written by other programs, as the decoder's rules read them.
TEST_F(MimeDecoderTest, ForeignMessages) {
  // No MIME-Version: text, then a uuencoded file named by its begin line.
  TmsMessage uu = Decoded(JoinCrLf({"From: a@x", "To: b@x, c@x", "", "see the file", "begin 644 report.bin",
                                    UUEncodeLine("hello"), "`", "end", "trailing text"}));
  EXPECT_EQ(uu.Encoding(), TMsgEncoding::meUU);
  EXPECT_EQ(uu.Body(), Lines{"see the file"});
  EXPECT_EQ(uu.Recipients().GetCount(), 2u);
  ASSERT_EQ(uu.Attachments().GetCount(), 1u);
  EXPECT_EQ(uu.Attachments().GetItem(0).FileName(), "report.bin");
  EXPECT_EQ(uu.Attachments().GetItem(0).Data(), "hello");

  // A MIME text body that holds a uuencoded file is read again as a plain message, without
  // listing its addresses twice.
  TmsMessage textUu = Decoded(JoinCrLf({"From: a@x", "To: b@x", "Mime-Version: 1.0", "Content-Type: text/plain", "",
                                        "intro", "begin 600 f.bin", UUEncodeLine("ab"), "`", "end"}));
  EXPECT_EQ(textUu.Recipients().GetCount(), 1u);
  EXPECT_EQ(textUu.Body(), Lines{"intro"});
  ASSERT_EQ(textUu.Attachments().GetCount(), 1u);
  EXPECT_EQ(textUu.Attachments().GetItem(0).Data(), "ab");

  // Parts without names: att.0 and att.1; a part without a type is text/plain.
  TmsMessage mixed = Decoded(JoinCrLf({"From: a@x", "Mime-Version: 1.0", "Content-Type: multipart/mixed; boundary=\"B\"",
                                       "", "preamble", "--B", "Content-Type: text/plain", "", "body", "--B",
                                       "Content-Type: application/x-one", "Content-Transfer-Encoding: base64", "",
                                       Base64EncodeLine("one"), "--B", "", "two", "--B--", "epilogue"}));
  EXPECT_EQ(mixed.Body(), Lines{"body"});
  ASSERT_EQ(mixed.Attachments().GetCount(), 2u);
  EXPECT_EQ(mixed.Attachments().GetItem(0).FileName(), "att.0");
  EXPECT_EQ(mixed.Attachments().GetItem(0).ContentType(), "application/x-one");
  EXPECT_EQ(mixed.Attachments().GetItem(0).Data(), "one");
  EXPECT_EQ(mixed.Attachments().GetItem(1).FileName(), "att.1");
  EXPECT_EQ(mixed.Attachments().GetItem(1).ContentType(), "text/plain");
  EXPECT_EQ(mixed.Attachments().GetItem(1).Data(), "two\r\n");

  // multipart/alternative: the plain text is the body, the HTML part _alt.0.
  TmsMessage alt = Decoded(JoinCrLf({"From: a@x", "Mime-Version: 1.0",
                                     "Content-Type: multipart/alternative; boundary=A", "", "--A",
                                     "Content-Type: text/plain", "", "plain", "--A", "Content-Type: text/html", "",
                                     "<b>x</b>", "--A--"}));
  EXPECT_EQ(alt.Body(), Lines{"plain"});
  ASSERT_EQ(alt.Attachments().GetCount(), 1u);
  EXPECT_EQ(alt.Attachments().GetItem(0).FileName(), "_alt.0");
  EXPECT_EQ(alt.Attachments().GetItem(0).ContentType(), "text/html");
  EXPECT_EQ(alt.ContentType(), "multipart/alternative");

  // A mailer known to label its text wrongly is read as text; a body's last "." line goes.
  TmsMessage odd = Decoded(JoinCrLf({"From: a@x", "X-Mailer: V Mailsystem R #0001", "Mime-Version: 1.0",
                                     "Content-Type: image/gif", "", "words", "."}));
  EXPECT_EQ(odd.Body(), Lines{"words"});
  EXPECT_EQ(odd.Attachments().GetCount(), 0u);

  // Base64 and quoted-printable text bodies.
  TmsMessage b64 = Decoded(JoinCrLf({"From: a@x", "Mime-Version: 1.0", "Content-Type: text/plain",
                                     "Content-Transfer-Encoding: base64", "", Base64EncodeLine("a\r\nb\r\n"), "."}));
  EXPECT_EQ(b64.Body(), (Lines{"a", "b"}));
  TmsMessage qp = Decoded(JoinCrLf({"From: a@x", "Mime-Version: 1.0", "Content-Type: text/plain; charset=iso-8859-1",
                                    "Content-Transfer-Encoding: quoted-printable", "", "caf=E9 soft=", "ly"}));
  EXPECT_EQ(qp.Body(), Lines{"caf\xE9 softly"});
  EXPECT_EQ(qp.CharSet(), TCharSet::csISO8859);
}

// Structural errors become three body lines and the whole input as "original.eml".
TEST_F(MimeDecoderTest, StructuralErrorsAreReportedInTheMessage) {
  const std::string head = JoinCrLf({"From: a@x", "Mime-Version: 1.0", "Content-Type: multipart/mixed; boundary=B", ""});
  struct Case {
    std::string rest;
    std::string error;
  };
  const Case cases[] = {
      {JoinCrLf({"no delimiter at all"}), "Cannot find boundary"},
      {JoinCrLf({"--B", "", "text without end"}), "Cannot find boundary"},
      {JoinCrLf({"--B", "", "t", "--B", "Content-Transfer-Encoding: base64", "", "not base64!", "--B--"}),
       "Invalid Character"},
      {JoinCrLf({"--B", "", "t", "--B", "Content-Transfer-Encoding: x-uuencode", "", "\x7Fxx", "--B--"}),
       "Invalid Character"},
      {JoinCrLf({"--B", "Content-Type: multipart/alternative; boundary=I", "", "--I", "", "t", "--I", "", "h",
                 "--I--"}),
       "Cannot find closing boundary"},
      {JoinCrLf({"--B", "Content-Type: multipart/alternative; boundary=I", "", "no inner delimiter"}),
       "Cannot find boundary"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rest);
    TmsMessage got = Decoded(head + c.rest);
    ASSERT_GE(got.Body().size(), 3u);
    const Lines& body = got.Body();
    EXPECT_EQ(body[body.size() - 3], kReportTail[0]);
    EXPECT_EQ(body[body.size() - 2], c.error);
    EXPECT_EQ(body.back(), "The original message will be stored as an attachment");
    ASSERT_GE(got.Attachments().GetCount(), 1u);
    const TmsAttItem& original = got.Attachments().GetItem(got.Attachments().GetCount() - 1);
    EXPECT_EQ(original.FileName(), "original.eml");
    EXPECT_EQ(original.ContentType(), "message/rfc822");
    EXPECT_EQ(original.Data(), head + c.rest);
  }
  // A decoding error inside a single-part attachment.
  TmsMessage single = Decoded(JoinCrLf({"From: a@x", "Mime-Version: 1.0", "Content-Type: image/gif; name=a.gif",
                                        "Content-Transfer-Encoding: base64", "", "@@@@"}));
  ASSERT_EQ(single.Body().size(), 3u);
  EXPECT_EQ(single.Body()[1], "Invalid Character");
}

TEST_F(MimeDecoderTest, HeaderErrorsReachTheCaller) {
  EXPECT_THROW(Decoded(JoinCrLf({"From: Ann <ann@example.com", "", "x"})), MailException);
  EXPECT_THROW(Decoded("From: a@x\r\n\xFF\xFF\xFF\xFF\r\n\r\nbody"), EMessageParserError);
}

// Every prefix of a message (a transfer cut anywhere) decodes without reading past its input
// and without an error other than the header block's.
TEST_F(MimeDecoderTest, TruncatedMessagesAtEveryByte) {
  msg_.Body() = {"Caf\xE9", ".dot"};
  msg_.Attachments().Add(Item("_alt.0", "<i>x</i>\r\n"));
  msg_.Attachments().GetItem(0).SetContentType("text/html");
  msg_.Attachments().GetItem(0).SetEncoding(TAttEncoding::aeQuotedPrintable);
  msg_.Attachments().Add(Item("pic.jpg", AllBytes()));
  msg_.Attachments().Add(Item("notes.txt", "n=1\r\n"));
  const std::string full = Unstuff(Encode(msg_));
  TmsMessage uuMsg(registry_);
  uuMsg.Assign(msg_);
  uuMsg.SetEncoding(TMsgEncoding::meUU);
  const std::string uu = Unstuff(Encode(uuMsg));
  for (const std::string* text : {&full, &uu}) {
    for (std::size_t n = 0; n <= text->size(); ++n) {
      // Each prefix in a buffer of its own size, so a read past it is an error under ASan.
      std::string prefix = text->substr(0, n);
      try {
        Decoded(prefix);
      } catch (const EMessageParserError& e) {
        ADD_FAILURE() << "prefix " << n << ": " << e.what();
      } catch (const MailException&) {
        // A header cut inside an address: the header block's error reaches the caller.
      }
    }
  }
}

}  // namespace
}  // namespace wdx::mail
