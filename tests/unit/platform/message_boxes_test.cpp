#include <gtest/gtest.h>

#include "platform/memory/memory_message_boxes.h"

namespace wdx::platform {
namespace {

TEST(MessageBoxesTest, ScriptedAnswersThenTheFirstButtonAndEveryBoxRecorded) {
  MemoryMessageBoxes boxes;
  MessageBoxes& ui = boxes;
  boxes.QueueAnswer(mb::kIdNo);
  boxes.QueueAnswer(mb::kIdCancel);
  EXPECT_EQ(ui.Show(7, "Save changes?", "Notice", mb::kYesNoCancel), mb::kIdNo);
  EXPECT_EQ(ui.Show(7, "Go on?", "Warning", mb::kOkCancel), mb::kIdCancel);
  const std::pair<std::uint32_t, int> firsts[] = {{mb::kOk | mb::kIconError, mb::kIdOk},
                                                  {mb::kOkCancel, mb::kIdOk},
                                                  {mb::kAbortRetryIgnore, mb::kIdAbort},
                                                  {mb::kYesNoCancel, mb::kIdYes},
                                                  {mb::kYesNo | mb::kIconQuestion, mb::kIdYes},
                                                  {mb::kRetryCancel, mb::kIdRetry}};
  for (auto [flags, answer] : firsts) EXPECT_EQ(ui.Show(0, "t", "c", flags), answer) << flags;
  ASSERT_EQ(boxes.shown.size(), 8u);
  EXPECT_EQ(boxes.shown[0].text, "Save changes?");
  EXPECT_EQ(boxes.shown[0].caption, "Notice");
  EXPECT_EQ(boxes.shown[0].owner, 7u);
  EXPECT_EQ(boxes.shown[1].flags, mb::kOkCancel);
}

}  // namespace
}  // namespace wdx::platform
