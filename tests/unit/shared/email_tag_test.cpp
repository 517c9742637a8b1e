#include "shared/email_tag.h"

#include <gtest/gtest.h>

#include <string>

#include "shared/tag_table.h"

namespace wdx {
namespace {

using B = EmailBodySource;
using A = EmailAttachmentSource;

// The tag reaches as far as the tag table says, with more text after it.
void ExpectReach(const std::string& tag) {
  const std::string played = tag + "x>y";
  const TagInfo* row = MatchTag(played, 0);
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(row->id, TagId::kEmail);
  std::size_t end = 0;
  DecodeEmailCommand(played, 0, &end);
  EXPECT_EQ(end, tag.size());
  EXPECT_EQ(TagEnd(*row, played, 0), tag.size());
}

TEST(EmailTag, CommandsRoundTripAndReachAsTheTagTableSays) {
  struct Case {
    EmailCommand command;
    std::string text;
  };
  EmailCommand full;
  full.returnReceipt = true;
  full.to = {{"Ann", "ann@x.org"}, {"", "bob@x.org"}};
  full.cc = {{"C", "c@x.org"}};
  full.bcc = {{"D", "d@x.org"}};
  full.body = "Line 1\r\nwith > in it";
  full.subject = "Hi";
  full.attachmentSource = A::kList;
  full.attachments = {"C:\\a.txt", "D:\\b c.zip"};
  EmailCommand ask;
  ask.askRecipients = true;
  ask.bodySource = B::kAsk;
  ask.attachmentSource = A::kAsk;
  EmailCommand clip;
  clip.bodySource = B::kClipboard;
  clip.subject = "";
  clip.to = {{"", "a@b"}};
  EmailCommand file;
  file.bodySource = B::kFile;
  file.body = "C:\\body.txt";
  file.subject = "S";
  file.cc = {{"x", "y@z"}};
  const Case cases[] = {
      {full, "<EMAIL:RYR1TOAnn|ann@x.org;|bob@x.org;\x01" "CCC|c@x.org;\x01" "BLD|d@x.org;\x01"
             "S1Line 1\r\nwith > in it\x01Hi\x01" "A2C:\\a.txt;D:\\b c.zip;\x01>"},
      {ask, "<EMAIL:RNR2S2A3>"},
      {clip, "<EMAIL:RNR1TO|a@b;\x01S3\x01" "A1>"},
      {file, "<EMAIL:RNR1CCx|y@z;\x01S4C:\\body.txt\x01S\x01" "A1>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(EncodeEmailCommand(c.command), c.text);
    EXPECT_EQ(DecodeEmailCommand(c.text), c.command);
    ExpectReach(c.text);
  }
}

TEST(EmailTag, ItemsSplitAtTheFirstBarAndAtEverySemicolon) {
  EXPECT_EQ(SplitRecipient("A|b|c@d"), (EmailRecipient{"A", "b|c@d"}));
  EXPECT_EQ(SplitRecipient("c@d"), (EmailRecipient{"", "c@d"}));
  // A last item without its ";" is read all the same; empty items are none.
  EXPECT_EQ(SplitEmailList("a;;b;c"), (std::vector<std::string>{"a", "b", "c"}));
  const EmailCommand c = DecodeEmailCommand("<EMAIL:RNR1TOa@b;c@d\x01S1x\x01y\x01" "A1>");
  ASSERT_EQ(c.to.size(), 2u);
  EXPECT_EQ(c.to[1].address, "c@d");
}

TEST(EmailTag, OddCodesAndCutTagsReadWithoutSurprise) {
  // Any pair but "RY" asks for no receipt, any but "R1" asks for the recipients; an unknown
  // body code has no body and passes over the subject field; an unknown attachment code none.
  EmailCommand c = DecodeEmailCommand("<EMAIL:xxR9S7subj\x01" "A9>");
  EXPECT_FALSE(c.returnReceipt);
  EXPECT_TRUE(c.askRecipients);
  EXPECT_EQ(c.bodySource, B::kNone);
  EXPECT_EQ(c.subject, "");
  EXPECT_EQ(c.attachmentSource, A::kNone);
  ExpectReach("<EMAIL:xxR9S7subj\x01" "A9>");
  // A field without its 0x01 runs to the end of the text.
  std::size_t end = 0;
  c = DecodeEmailCommand("<EMAIL:RNR1TOa@b;", 0, &end);
  EXPECT_EQ(c.to.size(), 1u);
  EXPECT_EQ(end, 17u);
  DecodeEmailCommand("<EMAIL:", 0, &end);
  EXPECT_EQ(end, 7u);
}

TEST(EmailTag, ValuesThatWouldChangeTheTagsShapeAreRefused) {
  EmailCommand c;
  c.to = {{"a|b", "x@y"}};
  EXPECT_EQ(EncodeEmailCommand(c), std::nullopt);
  c.to = {{"a", "x@y;z@w"}};
  EXPECT_EQ(EncodeEmailCommand(c), std::nullopt);
  c.to = {{"a", "x@y"}};
  c.subject = "a\x01";
  EXPECT_EQ(EncodeEmailCommand(c), std::nullopt);
  c.subject = "s";
  c.attachmentSource = A::kList;
  c.attachments = {"a;b"};
  EXPECT_EQ(EncodeEmailCommand(c), std::nullopt);
}

}  // namespace
}  // namespace wdx
