#include "player/mail/mail_message.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/memory/memory_registry.h"
#include "player/mail/mail_errors.h"

namespace wdx::mail {
namespace {

using platform::MemoryRegistry;
using platform::RegistryRoot;

class MailMessageTest : public ::testing::Test {
 protected:
  MailMessageTest() {
    registry_.SetString(RegistryRoot::kClassesRoot, ".txt", "Content Type", "text/plain");
    registry_.SetString(RegistryRoot::kClassesRoot, ".jpg", "Content Type", "image/jpeg");
    registry_.SetString(RegistryRoot::kClassesRoot, ".htm", "Content Type", "text/html");
    registry_.SetString(RegistryRoot::kClassesRoot, ".eml", "Content Type", "message/rfc822");
    registry_.SetString(RegistryRoot::kClassesRoot, ".csv", "Content Type", "text/plain; charset=x");
    registry_.CreateKey(RegistryRoot::kClassesRoot, ".nov");
  }

  TmsAttItem Item(const std::string& name, const std::string& data = "") {
    TmsAttItem item;
    item.SetFileName(name, registry_);
    item.SetData(data);
    return item;
  }

  MemoryRegistry registry_;
};

TEST_F(MailMessageTest, FileNamePicksTypeAndEncoding) {
  struct Case {
    const char* name;
    const char* type;
    TAttEncoding encoding;
  } cases[] = {
      {"C:\\docs\\report.txt", "text/plain", TAttEncoding::aeQuotedPrintable},
      {"photo.JPG", "image/jpeg", TAttEncoding::aeBase64},
      {"page.htm", "text/html", TAttEncoding::aeQuotedPrintable},
      {"mail.eml", "message/rfc822", TAttEncoding::ae7Bit},
      {"table.csv", "text/plain; charset=x", TAttEncoding::aeBase64},
      {"README", "application/octet-stream", TAttEncoding::aeBase64},
      {"odd.nov", "application/octet-stream", TAttEncoding::aeBase64},
      {"dir.txt\\noext", "application/octet-stream", TAttEncoding::aeBase64},
  };
  for (const Case& c : cases) {
    TmsAttItem item = Item(c.name);
    EXPECT_EQ(item.FileName(), c.name);
    EXPECT_EQ(item.ContentType(), c.type) << c.name;
    EXPECT_EQ(item.Encoding(), c.encoding) << c.name;
  }
  // An empty name changes neither type nor encoding.
  TmsAttItem item = Item("photo.jpg");
  item.SetFileName("", registry_);
  EXPECT_EQ(item.FileName(), "");
  EXPECT_EQ(item.ContentType(), "image/jpeg");
  EXPECT_EQ(item.Encoding(), TAttEncoding::aeBase64);
  // A registry without the extension's type gives an octet stream.
  MemoryRegistry empty;
  EXPECT_EQ(ContentTypeOfFile("a.txt", empty), "application/octet-stream");
}

TEST_F(MailMessageTest, AddFileReadsTheBytesOrLeavesTheListUnchanged) {
  auto path = std::filesystem::temp_directory_path() / "wdx_mail_attach.txt";
  std::string bytes("line\r\n\0\xFF end", 12);
  {
    std::ofstream f(path, std::ios::binary);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  TmsAttList list(registry_);
  list.AddFile(path.string());
  ASSERT_EQ(list.GetCount(), 1u);
  EXPECT_EQ(list.GetItem(0).Data(), bytes);
  EXPECT_EQ(list.GetItem(0).ContentType(), "text/plain");
  std::filesystem::remove(path);
  EXPECT_THROW(list.AddFile(path.string()), EInOutError);
  EXPECT_THROW(list.AddFile(std::filesystem::temp_directory_path().string()), EInOutError);  // a folder
  EXPECT_EQ(list.GetCount(), 1u);
}

// A folder opened as the message to decode fails like any unreadable message.
TEST_F(MailMessageTest, DecodingAFolderIsAReadError) {
  std::ifstream folder(std::filesystem::temp_directory_path(), std::ios::binary);
  TmsMessage m(registry_);
#ifdef _WIN32
  EXPECT_FALSE(folder.is_open());  // Windows does not open a folder as a file at all
#else
  ASSERT_TRUE(folder.is_open());
  EXPECT_THROW(m.Decode(folder), EInOutError);
#endif
}

TEST_F(MailMessageTest, ContentTypeFollowsBodyAndAttachments) {
  TmsMessage m(registry_);
  EXPECT_EQ(m.ContentType(), "text/plain");
  m.Clear();
  m.Body().push_back("hello");
  EXPECT_EQ(m.ContentType(), "text/plain");
  m.SetContentType("TEXT/HTML");
  EXPECT_EQ(m.ContentType(), "text/html");
  m.Attachments().Add(Item("a.jpg"));
  EXPECT_EQ(m.ContentType(), "multipart/mixed");
  // Once the attachment is gone, the type set before applies again.
  m.Attachments().Clear();
  EXPECT_EQ(m.ContentType(), "text/html");

  m.Clear();
  TmsAttItem gif;
  gif.SetFileName("x.gif", registry_);
  gif.SetContentType("image/gif");
  m.Attachments().Add(gif);
  EXPECT_EQ(m.ContentType(), "image/gif");
  m.Attachments().Add(Item("b.jpg"));
  EXPECT_EQ(m.ContentType(), "multipart/mixed");

  m.Clear();
  m.Attachments().Add(Item("_htmbody.htm"));
  EXPECT_EQ(m.ContentType(), "text/html");
  m.Attachments().Clear();
  m.Attachments().Add(Item("_RTFBODY.RTF"));
  EXPECT_EQ(m.ContentType(), "text/rtf");
  m.Attachments().Clear();
  m.Attachments().Add(Item("_alt.0"));
  m.Attachments().Add(Item("_alt.1"));
  m.Body().push_back("text");
  EXPECT_EQ(m.ContentType(), "multipart/alternative");

  m.SetEncoding(TMsgEncoding::meUU);
  EXPECT_EQ(m.ContentType(), "");
}

TEST_F(MailMessageTest, CheckNeedsSenderAndOneRecipientAddress) {
  TmsMessage m(registry_);
  auto expectError = [&](int id) {
    try {
      m.Check();
      ADD_FAILURE() << "no exception for " << id;
    } catch (const EMessageError& e) {
      EXPECT_EQ(e.id(), id);
      EXPECT_EQ(e.what(), MailString(id));
    }
  };
  expectError(sid::kSenderRequired);
  EXPECT_EQ(MailString(sid::kSenderRequired), "The address of sender is required");
  m.Sender().SetAddress("me@example.com");
  m.Recipients().AddAddress("", "Name only");
  m.CC().AddAddress("", "");
  expectError(sid::kRecipientRequired);
  EXPECT_EQ(MailString(sid::kRecipientRequired), "At least one Recipient, CC or BCC must be entered");
  m.BCC().AddAddress("hidden@example.com", "");
  EXPECT_NO_THROW(m.Check());

  TmsArticle a(registry_);
  a.Sender().SetAddress("me@example.com");
  try {
    a.Check();
    ADD_FAILURE();
  } catch (const EMessageError& e) {
    EXPECT_STREQ(e.what(), "Newsgroup header is required");
  }
  a.SetNewsGroups("comp.test");
  try {
    a.Check();
    ADD_FAILURE();
  } catch (const EMessageError& e) {
    EXPECT_STREQ(e.what(), "Subject header is required");
  }
}

TEST_F(MailMessageTest, CopiesOwnTheirAttachments) {
  TmsMessage a(registry_);
  a.Attachments().Add(Item("a.jpg", "AAAA"));
  a.Recipients().AddAddress("x@example.com", "X");
  TmsMessage b(registry_);
  b.Assign(a);
  b.Attachments().GetItem(0).Data() = "changed";
  a.Attachments().Clear();
  ASSERT_EQ(b.Attachments().GetCount(), 1u);
  EXPECT_EQ(b.Attachments().GetItem(0).Data(), "changed");
  EXPECT_EQ(b.Recipients().GetItem(0).Address(), "x@example.com");

  // Handing a whole list over copies its items too.
  TmsAttList list(registry_);
  list.Add(Item("p.jpg", "PPPP"));
  {
    TmsMessage c(registry_);
    c.Body().push_back("body");
    c.SetAttachments(list);
    c.Attachments().GetItem(0).Data().clear();
    EXPECT_EQ(c.ContentType(), "multipart/mixed");
  }
  EXPECT_EQ(list.GetItem(0).Data(), "PPPP");
  TmsMessage d(registry_);
  d.Body().push_back("body");
  d.SetAttachments(TmsAttList(registry_));
  EXPECT_EQ(d.ContentType(), "text/plain");
}

TEST_F(MailMessageTest, ClearKeepsPriorityAndReceipt) {
  TmsMessage m(registry_);
  m.SetPriority(TPriority::ptHigh);
  m.SetReturnReceipt(true);
  m.SetSubject("s");
  m.SetCharSet(TCharSet::csISO8859);
  m.Headers().Add("X-Mailer: Wendrix");
  m.Recipients().AddAddress("a@b", "");
  m.Clear();
  EXPECT_EQ(m.Priority(), TPriority::ptHigh);
  EXPECT_TRUE(m.ReturnReceipt());
  EXPECT_EQ(m.Subject(), "");
  EXPECT_EQ(m.CharSet(), TCharSet::csUSASCII);
  EXPECT_EQ(m.Headers().Count(), 0u);
  EXPECT_TRUE(m.Recipients().empty());
  m.SetSubject(std::string(300, 's'));
  EXPECT_EQ(m.Subject().size(), 255u);
}

TEST(MailHeaders, FieldValues) {
  TmsHeaders h{"Subject: Hello", "\tWorld", "X-Other: x", "Subject: second", "Content-Type: text/plain;",
               " name=\"=?x?Q?a?=\"", "Tight:value"};
  EXPECT_EQ(h.GetFieldValue("Subject"), "Hello World");
  EXPECT_EQ(h.GetFieldValue("subject:"), "Hello World");
  EXPECT_EQ(h.GetFieldValue("Content-Type"), "text/plain; name=\"=?x?Q?a?=\"");
  EXPECT_EQ(h.GetFieldValue("Tight"), "value");
  EXPECT_EQ(h.GetFieldValue("Missing"), "");
  EXPECT_EQ(TmsHeaders().GetFieldValue("Subject"), "");
  h.RemoveField("Subject");
  EXPECT_EQ(h.lines(), (Lines{"X-Other: x", "Subject: second", "Content-Type: text/plain;", " name=\"=?x?Q?a?=\"",
                              "Tight:value"}));
}

TEST(MailHeaders, FieldLists) {
  TmsHeaders h{"To: \"Smith, John\" <john@example.com>, jane@example.com",
               "Topic: not an address",
               "Cc: a@example.com,",
               " b@example.com (Bee, B),",
               " =?windows-1252?Q?Ren=E9?=",
               "   <rene@example.com>",
               "To: third@example.com"};
  Lines to;
  h.GetFieldList("TO", to);
  EXPECT_EQ(to, (Lines{"\"Smith, John\" <john@example.com>", "jane@example.com", "third@example.com"}));
  Lines cc{"stale"};
  h.GetFieldList("CC", cc);
  EXPECT_EQ(cc, (Lines{"a@example.com", "b@example.com (Bee, B)", "Ren\xE9 <rene@example.com>"}));
  Lines empty;
  TmsHeaders{"To: a@b, , c@d"}.GetFieldList("To", empty);
  EXPECT_EQ(empty, (Lines{"a@b", "", "c@d"}));
}

TEST(MailHeaders, ReadHeadersFillsTheMessage) {
  TmsHeaders h{"From: \"Doe, Jane\" <jane@example.com>", "To: a@example.com, B <b@example.com>",
               "CC: c@example.com", "BCC: d@example.com", "Subject: =?windows-1252?Q?Gr=FC=DFe?=",
               "X-Priority: 1", "Return-receipt-to: <jane@example.com>"};
  MemoryRegistry registry;
  TmsMessage m(registry);
  m.Recipients().AddAddress("kept@example.com", "");
  m.ReadHeaders(h);
  EXPECT_EQ(m.Sender(), TmsMailAddress("jane@example.com", "Doe, Jane"));
  ASSERT_EQ(m.Recipients().GetCount(), 3u);
  EXPECT_EQ(m.Recipients().GetItem(2), TmsMailAddress("b@example.com", "B"));
  EXPECT_EQ(m.CC().GetItem(0).Address(), "c@example.com");
  EXPECT_EQ(m.BCC().GetItem(0).Address(), "d@example.com");
  EXPECT_EQ(m.Subject(), "Gr\xFC\xDF" "e");
  EXPECT_EQ(m.Priority(), TPriority::ptHigh);
  EXPECT_TRUE(m.ReturnReceipt());
  EXPECT_EQ(m.Headers().lines(), h.lines());

  TmsArticle a(registry);
  a.ReadHeaders({"From: n@example.com", "Newsgroups: comp.x", "Path: a!b", "Message-ID: <1@x>", "Subject: s"});
  EXPECT_EQ(a.NewsGroups(), "comp.x");
  EXPECT_EQ(a.Path(), "a!b");
  EXPECT_EQ(a.MessageId(), "<1@x>");
  EXPECT_EQ(a.Subject(), "s");
}

}  // namespace
}  // namespace wdx::mail
