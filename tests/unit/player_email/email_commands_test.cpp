#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "command_host.h"
#include "forms/user.h"
#include "player/prompts/email_prompt.h"
#include "python_reader.h"
#include "shared/email_tag.h"
#include "shared/sent_mail_log.h"
#include "smtp_sink.h"

namespace wdx::player::testing {
namespace {

namespace fs = std::filesystem;
namespace user = forms::user;
using mail::testing::Parsed;
using mail::testing::ReadWithPython;
using mail::testing::SmtpSink;

constexpr char kNoConnection[] =
    "A connection could not be made to the SMTP Server. You are either not connected to the Internet or an invalid "
    "SMTP Server has been specified. To change the SMTP Server, please select \"Options | E-Mail Options\" from the "
    "main menu of Wendrix. This E-Mail attempt will abort. (Macro Name: Mail)";

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const fs::path& p, const std::string& bytes) {
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << bytes;
}

std::string RandomBytes(std::size_t n, std::uint32_t seed) {
  std::mt19937 rng(seed);
  std::string s(n, '\0');
  for (char& c : s) c = static_cast<char>(rng() & 0xFF);
  return s;
}

std::string Tag(const EmailCommand& c) {
  const std::optional<std::string> tag = EncodeEmailCommand(c);
  EXPECT_TRUE(tag);
  return tag.value_or("");
}

const mail::testing::Part* TextPart(const Parsed& p) {
  for (const auto& part : p.parts) {
    if (part.type == "text/plain" && part.fileName.empty()) return &part;
  }
  return nullptr;
}

class EmailCommandTest : public ::testing::Test {
 protected:
  CommandRun run;
  CommandHost& host = run.host;
};

// A message from the tag: its recipients, copies, blind copy, body, subject and attachment
// arrive as written; values from variables stay inside their field; the log and its index hold
// the entry.
TEST_F(EmailCommandTest, TheServerReceivesWhatTheTagSaysAndTheLogKeepsIt) {
  SmtpSink sink;
  host.settings.smtpHost = sink.Address();
  host.settings.keepLog = true;
  const std::string attachment = RandomBytes(30000, 5);
  WriteAll(host.Native("C:\\data\\report.bin"), attachment);
  host.state.vars.text[1] = std::string("a;b|c\x01" "d");
  host.state.vars.text[2] = "Evil|x@y;z";
  host.state.vars.text[3] = "two\r\nBcc: injected@example.com";
  EmailCommand c;
  c.to = {{"Smith, \"Jo\"", "jo@example.com"}, {"Ren\xE9" "e", "renee@example.com"}};
  c.cc = {{"%T2%", "cc@example.com"}};
  c.bcc = {{"", "hidden@example.com"}};
  c.body = "Hello %T1%\r\nLine two";
  c.subject = "Re: %T3%";
  c.attachmentSource = EmailAttachmentSource::kList;
  c.attachments = {"C:\\data\\report.bin"};
  run.Play(Tag(c) + "x");

  EXPECT_FALSE(host.state.abortMacro);
  EXPECT_EQ(TypedText(run.mem.input.keys), "x");
  const SmtpSink::Received r = sink.Next();
  EXPECT_EQ(r.envelope, (std::vector<std::string>{"wendy@example.com", "jo@example.com", "renee@example.com",
                                                  "cc@example.com", "hidden@example.com"}));
  const Parsed p = ReadWithPython(r.data, false);
  EXPECT_TRUE(p.defects.empty()) << p.output;
  EXPECT_EQ(p.headers.at("Subject"), "Re: two  Bcc: injected@example.com");
  EXPECT_EQ(p.headers.count("Bcc"), 0u);
  EXPECT_EQ(p.headers.at("X-Mailer"), "Wendrix");
  EXPECT_EQ(p.addresses, (std::vector<std::vector<std::string>>{{"from", "Wendy", "wendy@example.com"},
                                                                {"to", "Smith, \"Jo\"", "jo@example.com"},
                                                                {"to", "Ren\xE9" "e", "renee@example.com"},
                                                                {"cc", "Evil|x@y;z", "cc@example.com"}}));
  const auto* text = TextPart(p);
  ASSERT_NE(text, nullptr);
  EXPECT_NE(text->payload.find(std::string("Hello a;b|c\x01" "d\r\nLine two")), std::string::npos);
  ASSERT_EQ(p.parts.size(), 2u);
  EXPECT_EQ(p.parts[1].fileName, "report.bin");
  EXPECT_EQ(p.parts[1].payload, attachment);

  // The status window was up while it was sent.
  const auto status = std::find_if(host.runner.shown.begin(), host.runner.shown.end(),
                                   [](const auto& s) { return s.caption == "Wendrix E-Mail Send"; });
  EXPECT_NE(status, host.runner.shown.end());
  EXPECT_TRUE(host.runner.OpenForms().empty());

  const std::string log = ReadAll(host.Native(host.settings.emailLogPath));
  EXPECT_EQ(log,
            "From: Wendy <wendy@example.com>\r\n"
            "To: Smith, \"Jo\" <jo@example.com>\r\n    Ren\xE9" "e <renee@example.com>\r\n"
            "cc: Evil|x@y;z <cc@example.com>\r\n"
            "blind cc:  <hidden@example.com>\r\n"
            "Attachments: C:\\data\\report.bin\r\n"
            "Subject: Re: two  Bcc: injected@example.com\r\n"
            "Body: Hello a;b|c\x01" "d\r\nLine two\r\n");
  const std::string index = ReadAll(host.Native("C:\\Wendrix\\MAILLOG.WDJ"));
  ASSERT_EQ(index.size(), MailIndexRecord::kSize);
  const MailIndexRecord rec =
      MailIndexRecord::Decode(ConstBytes(reinterpret_cast<const std::uint8_t*>(index.data()), index.size()));
  EXPECT_EQ(rec.toName, "Smith, \"Jo\"");
  EXPECT_EQ(rec.toAddress, "jo@example.com");
  EXPECT_EQ(rec.logOffset, 0);
  EXPECT_EQ(rec.logLength, static_cast<std::int32_t>(log.size()));
  EXPECT_TRUE(rec.hasAttachments && rec.hasCc && rec.hasBcc);
}

// Every failure to send says so and ends the run; nothing is logged as sent.
TEST_F(EmailCommandTest, FailuresToSendReportAndAbort) {
  host.settings.keepLog = true;
  EmailCommand c;
  c.to = {{"Ann", "ann@example.com"}};
  c.body = "b";
  c.subject = "s";

  {  // No server listens.
    host.settings.smtpHost = "127.0.0.1:1";
    run.Play(Tag(c) + "x");
    EXPECT_TRUE(host.state.abortMacro);
    EXPECT_EQ(host.longTexts, (std::vector<Box>{{"Error", kNoConnection}}));
  }
  {  // The server refuses the recipient.
    SmtpSink sink({"ann@example.com"});
    host.settings.smtpHost = sink.Address();
    host.boxes.clear();
    run.Play(Tag(c) + "x");
    EXPECT_TRUE(host.state.abortMacro);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text.rfind("The SMTP Server refused the message: 5", 0), 0u) << host.boxes[0].text;
  }
  {  // No recipient at all: the check fails after the connection was made.
    SmtpSink sink;
    host.settings.smtpHost = sink.Address();
    host.boxes.clear();
    EmailCommand none = c;
    none.to.clear();
    run.Play(Tag(none) + "x");
    EXPECT_TRUE(host.state.abortMacro);
    EXPECT_EQ(host.boxes, (std::vector<Box>{{"Error",
                                             "No recipients specified or no return address specified.  This E-Mail "
                                             "attempt will abort. (Macro Name: Mail)"}}));
  }
  {  // An attachment that is not there: nothing is sent.
    host.boxes.clear();
    EmailCommand attach = c;
    attach.attachmentSource = EmailAttachmentSource::kList;
    attach.attachments = {"C:\\missing.bin"};
    run.Play(Tag(attach) + "x");
    EXPECT_TRUE(host.state.abortMacro);
    EXPECT_EQ(host.boxes, (std::vector<Box>{{"Error", "The file C:\\missing.bin could not be attached. This E-Mail "
                                                      "attempt will abort. (Macro Name: Mail)"}}));
  }
  EXPECT_TRUE(run.mem.input.keys.empty());
  EXPECT_FALSE(fs::exists(host.Native(host.settings.emailLogPath)));
  EXPECT_EQ(host.log.size(), 4u);
}

// The prompt, answered by the user in all three modes: recipients typed and chosen from a
// recipient list of 10 000 lines, the text with a return receipt, an attachment picked.
TEST_F(EmailCommandTest, ThePromptSendsWhatItWasGiven) {
  SmtpSink sink;
  host.settings.smtpHost = sink.Address();
  std::string list;
  for (int i = 0; i < 10000; ++i) list += "Person " + std::to_string(i) + "|p" + std::to_string(i) + "@example.com\r\n";
  WriteAll(host.Native(host.settings.emailPath), list);
  WriteAll(host.Native("C:\\data\\notes.txt"), "some notes\r\n");

  host.runner.Then([](forms::Form& f) {
    auto& form = static_cast<TDoTheEmail&>(f);
    EXPECT_TRUE(form.RecipientPanel.visible());
    EXPECT_FALSE(form.TextPanel.visible());
    ASSERT_EQ(form.ToColumn.List.count(), 10000);
    EXPECT_EQ(form.ToColumn.List.item(9999), "Person 9999");
    user::EnterText(form.ToColumn.NameEdit, "Typed Name");
    user::EnterText(form.ToColumn.AddressEdit, " typed@example.com ");
    // Chosen while the addresses show, kept when the names show again.
    user::Click(form.ccColumn.ShowAddress);
    EXPECT_EQ(form.ccColumn.List.item(9999), "p9999@example.com");
    form.ccColumn.List.SetSelected(9999, true);
    user::Click(form.ccColumn.ShowName);
    EXPECT_TRUE(form.ccColumn.List.selected(9999));
    user::Click(form.OkButton);
  });
  host.runner.Then([](forms::Form& f) {
    auto& form = static_cast<TDoTheEmail&>(f);
    EXPECT_TRUE(form.TextPanel.visible());
    user::EnterText(form.Subject, "Prompted");
    user::EnterText(form.MessageText, "Typed body");
    user::Click(form.Receipt);
    user::Click(form.OkButton);
  });
  host.runner.AnswerFile("C:\\data\\notes.txt");
  host.runner.Then([](forms::Form& f) {
    auto& form = static_cast<TDoTheEmail&>(f);
    user::Click(form.AddAttach);
    EXPECT_EQ(form.AttachList.items(), std::vector<std::string>{"C:\\data\\notes.txt"});
    user::Click(form.OkButton);
  });
  run.Play("<EMAIL:RNR2S2A3>x");

  EXPECT_FALSE(host.state.abortMacro);
  EXPECT_EQ(host.runner.pendingScripts(), 0u);
  const SmtpSink::Received r = sink.Next();
  EXPECT_EQ(r.envelope,
            (std::vector<std::string>{"wendy@example.com", "typed@example.com", "p9999@example.com"}));
  const Parsed p = ReadWithPython(r.data, false);
  EXPECT_TRUE(p.defects.empty()) << p.output;
  EXPECT_EQ(p.headers.at("Subject"), "Prompted");
  EXPECT_EQ(p.headers.at("Return-Receipt-To"), "<wendy@example.com>");
  EXPECT_EQ(p.addresses[1], (std::vector<std::string>{"to", "Typed Name", "typed@example.com"}));
  EXPECT_EQ(p.addresses[2], (std::vector<std::string>{"cc", "Person 9999", "p9999@example.com"}));
  ASSERT_EQ(p.parts.size(), 2u);
  EXPECT_EQ(p.parts[0].payload.rfind("Typed body", 0), 0u);
  EXPECT_EQ(p.parts[1].fileName, "notes.txt");
}

// "&Abort Macro" ends the pass of the level without aborting the run; nothing is sent.
TEST_F(EmailCommandTest, AbortMacroInThePromptEndsThePass) {
  host.settings.smtpHost = "127.0.0.1:1";
  host.runner.Then([](forms::Form& f) { user::Click(static_cast<TDoTheEmail&>(f).CancelButton); });
  run.Play("<EMAIL:RNR2S1b\x01s\x01" "A1>x");
  EXPECT_FALSE(host.state.abortMacro);
  EXPECT_TRUE(run.mem.input.keys.empty());
  EXPECT_TRUE(host.longTexts.empty());
}

// The body from a file (read-only files too, binary bytes, a closing Ctrl+Z and a NUL), and
// the bodies that are not there.
TEST_F(EmailCommandTest, BodySources) {
  SmtpSink sink;
  host.settings.smtpHost = sink.Address();
  std::string binary = RandomBytes(5000, 9);
  std::replace(binary.begin(), binary.end(), '\0', 'z');
  WriteAll(host.Native("C:\\data\\body.bin"), binary + "\x1A");
  fs::permissions(host.Native("C:\\data\\body.bin"), fs::perms::owner_read);
  EmailCommand c;
  c.to = {{"Ann", "ann@example.com"}};
  c.bodySource = EmailBodySource::kFile;
  c.body = "C:\\data\\body.bin";
  c.subject = "";
  run.Play(Tag(c));
  EXPECT_FALSE(host.state.abortMacro);
  const Parsed p = ReadWithPython(sink.Next().data, false);
  EXPECT_TRUE(p.defects.empty()) << p.output;
  EXPECT_EQ(p.headers.at("Subject"), "No Subject");

  WriteAll(host.Native("C:\\data\\cut.txt"), std::string("before\0after", 12));
  c.body = "C:\\data\\cut.txt";
  run.Play(Tag(c));
  const Parsed cut = ReadWithPython(sink.Next().data, false);
  ASSERT_FALSE(cut.parts.empty());
  EXPECT_EQ(cut.parts[0].payload.rfind("before\r\n", 0), 0u);
  EXPECT_EQ(cut.parts[0].payload.find("after"), std::string::npos);

  // No file, no clipboard text: said, and the pass ends; the run goes on.
  c.body = "C:\\data\\none.txt";
  run.Play(Tag(c) + "x");
  c.bodySource = EmailBodySource::kClipboard;
  run.Play(Tag(c) + "x");
  EXPECT_FALSE(host.state.abortMacro);
  EXPECT_TRUE(run.mem.input.keys.empty());
  ASSERT_EQ(host.boxes.size(), 2u);
  EXPECT_EQ(host.boxes[0].text,
            "The text file to use as the E-Mail message body could not be found. This E-Mail attempt will abort. "
            "(Macro Name: Mail)");
  EXPECT_EQ(host.boxes[1].text,
            "There is no text in the clipboard to send. This E-Mail attempt will abort. (Macro Name: Mail)");
}

}  // namespace
}  // namespace wdx::player::testing
