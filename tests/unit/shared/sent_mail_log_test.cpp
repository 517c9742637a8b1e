#include "shared/sent_mail_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace wdx {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class SentMailLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("wdx_sentmail_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                        "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    log_ = dir_ / "sent.txt";
    index_ = dir_ / "sent.wdj";
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Two messages: three To recipients, a blind copy and two attachments; then copies only, with
  // a subject longer than the record holds.
  static MailLogEntry First() {
    MailLogEntry e;
    e.senderName = "Me";
    e.senderAddress = "me@x.org";
    e.to = {{"Ann", "ann@x.org"}, {"Bob", "bob@y.org"}, {"Cy", "c@z"}};
    e.bcc = {{"Dee", "d@x"}};
    e.attachments = {"C:\\a.txt", "C:\\b.zip"};
    e.subject = "Report";
    e.body = {"Hello\r\nWorld"};
    return e;
  }
  static MailLogEntry Second() {
    MailLogEntry e;
    e.senderName = "Me";
    e.senderAddress = "me@x.org";
    e.cc = {{"", "c1@x"}, {"C2", "c2@x"}};
    e.subject = std::string(60, 'S');
    e.body = {""};
    return e;
  }
  SentMailWrite Append(const MailLogEntry& e, double when) {
    return AppendSentMail(log_, index_, MailLogText(e), MailIndexRecord::Of(e, when));
  }

  fs::path dir_;
  fs::path log_;
  fs::path index_;
};

constexpr double kFirstTime = (46367.0 * 86400 + 37800) / 86400;   // 11 December 2026 10:30
constexpr double kSecondTime = (46367.0 * 86400 + 37860) / 86400;  // 10:31

TEST_F(SentMailLogTest, TwoMessagesGiveTheBytesOfTheHandMadeFiles) {
  ASSERT_EQ(Append(First(), kFirstTime), SentMailWrite::kWritten);
  ASSERT_EQ(Append(Second(), kSecondTime), SentMailWrite::kWritten);
  const fs::path fixtures = WDX_SHARED_FIXTURES;
  EXPECT_EQ(ReadAll(log_), ReadAll(fixtures / "sent.txt"));
  EXPECT_EQ(ReadAll(index_), ReadAll(fixtures / "sent.wdj"));

  const std::string bytes = ReadAll(fixtures / "sent.wdj");
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
  const MailIndexRecord second = MailIndexRecord::Decode(ConstBytes(data + MailIndexRecord::kSize, MailIndexRecord::kSize));
  EXPECT_EQ(second.subject, std::string(50, 'S'));
  EXPECT_EQ(second.logOffset, 187);
  EXPECT_EQ(second.logLength, 161);
  EXPECT_TRUE(second.hasCc);
  EXPECT_FALSE(second.hasBcc);
  EXPECT_EQ(second.toName, "");
}

TEST(SentMailIndexPath, TheExtensionBecomesWdjOrIsAdded) {
  EXPECT_EQ(SentMailIndexPath("C:\\Wendrix\\MAILLOG.TXT"), "C:\\Wendrix\\MAILLOG.WDJ");
  EXPECT_EQ(SentMailIndexPath("SENT.TXT"), "SENT.WDJ");
  EXPECT_EQ(SentMailIndexPath("C:\\LOG"), "C:\\LOG.WDJ");
  EXPECT_EQ(SentMailIndexPath("a.md"), "a.md.WDJ");
}

TEST_F(SentMailLogTest, AFailedWriteOfEitherFileLeavesThemAgreeing) {
  ASSERT_EQ(Append(First(), kFirstTime), SentMailWrite::kWritten);
  const std::string log = ReadAll(log_);
  const std::string index = ReadAll(index_);

  // The index cannot be opened: the entry is taken back out of the log.
  const fs::path blocked = dir_ / "blocked";
  fs::create_directories(blocked);
  EXPECT_EQ(AppendSentMail(log_, blocked, MailLogText(Second()), MailIndexRecord::Of(Second(), 0)),
            SentMailWrite::kIndexNotOpened);
  EXPECT_EQ(ReadAll(log_), log);

  // The log cannot be opened: the index is not touched.
  EXPECT_EQ(AppendSentMail(blocked, index_, MailLogText(Second()), MailIndexRecord::Of(Second(), 0)),
            SentMailWrite::kLogNotOpened);
  EXPECT_EQ(ReadAll(index_), index);

  // A log that cannot take the entry (a full disk) gets no record.
  if (fs::exists("/dev/full")) {
    EXPECT_EQ(AppendSentMail("/dev/full", index_, MailLogText(Second()), MailIndexRecord::Of(Second(), 0)),
              SentMailWrite::kWriteFailed);
    EXPECT_EQ(ReadAll(index_), index);
  }
}

TEST_F(SentMailLogTest, ABrokenIndexTailIsCutBeforeTheNextRecord) {
  ASSERT_EQ(Append(First(), kFirstTime), SentMailWrite::kWritten);
  { std::ofstream(index_, std::ios::binary | std::ios::app) << "torn"; }
  ASSERT_EQ(Append(Second(), kSecondTime), SentMailWrite::kWritten);
  const std::string index = ReadAll(index_);
  ASSERT_EQ(index.size(), 2 * MailIndexRecord::kSize);
  const auto* data = reinterpret_cast<const std::uint8_t*>(index.data());
  const MailIndexRecord second = MailIndexRecord::Decode(ConstBytes(data + MailIndexRecord::kSize, MailIndexRecord::kSize));
  EXPECT_EQ(second.logOffset, static_cast<std::int32_t>(MailLogText(First()).size()));
  EXPECT_EQ(ReadAll(log_).substr(static_cast<std::size_t>(second.logOffset)), MailLogText(Second()));
}

}  // namespace
}  // namespace wdx
