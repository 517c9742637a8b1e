#include "shared/stored_password.h"

#include <gtest/gtest.h>

#include <string>

#include "shared/cipher.h"

namespace wdx {
namespace {

TEST(StoredPassword, WrittenAsShiftedHexadecimalPairsThatNeverHoldTheFieldsEnd) {
  // "W" shifts to ">", which ended the field in the old form.
  const std::string password = "Wx<>W;\x01 ";
  const std::optional<std::string> stored = EncodeStoredPassword(password);
  ASSERT_TRUE(stored);
  EXPECT_EQ(*stored, "#3E9155573E541A07");
  EXPECT_EQ(stored->find_first_not_of("#0123456789ABCDEF"), std::string::npos);
  EXPECT_EQ(DecodeStoredPassword(*stored), password);
  EXPECT_EQ(EncodeStoredPassword(""), "");
  EXPECT_EQ(DecodeStoredPassword(""), "");
}

TEST(StoredPassword, FieldsWrittenTheOldWayStillRead) {
  for (const std::string password : {"secret", "Abc123", "#", "#1", "pass word", "ZZ"}) {
    SCOPED_TRACE(password);
    EXPECT_EQ(DecodeStoredPassword(ShiftText(password)), password);
  }
}

TEST(StoredPassword, TooLongForAShortStringIsRefused) {
  EXPECT_EQ(EncodeStoredPassword(std::string(kStoredPasswordMaxLength, 'a'))->size(), 255u);
  EXPECT_EQ(EncodeStoredPassword(std::string(kStoredPasswordMaxLength + 1, 'a')), std::nullopt);
}

}  // namespace
}  // namespace wdx
