// The controller's message interface as other processes see it: which UM_COMMANDs run, where
// the tray menu opens, the file name built by characters and the WM_COPYDATA path.
#include <gtest/gtest.h>

#include <string>

#include "app/window_messages.h"

TEST(ControllerMessages, CommandsRunOnlyWhenBothCodesAgreeExceptTheMenuPoint) {
  for (int code = 4; code <= 11; ++code) {
    ASSERT_TRUE(DecodeCommand(code, code).has_value()) << code;
    EXPECT_EQ(static_cast<int>(*DecodeCommand(code, code)), code);
  }
  EXPECT_FALSE(DecodeCommand(4, 5).has_value());   // mismatch: nothing happens
  EXPECT_FALSE(DecodeCommand(5, 4).has_value());
  EXPECT_FALSE(DecodeCommand(3, 3).has_value());   // not a command
  EXPECT_FALSE(DecodeCommand(13, 13).has_value());
  EXPECT_FALSE(DecodeCommand(0, 0).has_value());
  EXPECT_EQ(DecodeCommand(12, 9999500), ControllerCommand::MenuAt);
  EXPECT_EQ(DecodeCommand(12, -5), ControllerCommand::MenuAt);
}

TEST(ControllerMessages, MenuPointIsSignedDivisionOfTheLowThirtyTwoBits) {
  EXPECT_EQ(DecodeMenuPoint(9999500), (MenuPoint{1000, 500}));
  EXPECT_EQ(DecodeMenuPoint(0), (MenuPoint{0, 0}));
  EXPECT_EQ(DecodeMenuPoint(9998), (MenuPoint{0, 9998}));
  // A point left of the primary screen: -200 * 9999 + 300 truncates towards zero.
  EXPECT_EQ(DecodeMenuPoint(-200 * 9999 + 300), (MenuPoint{-199, -9699}));
  EXPECT_EQ(DecodeMenuPoint(-(200 * 9999 + 300)), (MenuPoint{-200, -300}));
  // A 32-bit sender's negative value may arrive zero-extended; it means the same point.
  EXPECT_EQ(DecodeMenuPoint(static_cast<std::int64_t>(0xFFFFFFFFu)), (MenuPoint{0, -1}));
  EXPECT_EQ(DecodeMenuPoint(-1), (MenuPoint{0, -1}));
}

TEST(ControllerMessages, FileNameByCharacters) {
  using Step = PendingFileName::Step;
  EXPECT_EQ(PendingFileName::Classify(1, 0), Step::Clear);
  EXPECT_EQ(PendingFileName::Classify(2, 1), Step::Open);
  EXPECT_EQ(PendingFileName::Classify(3, 97), Step::Append);
  EXPECT_EQ(PendingFileName::Classify(3, 0), Step::Ignore);
  EXPECT_EQ(PendingFileName::Classify(1, 1), Step::Ignore);
  EXPECT_EQ(PendingFileName::Classify(2, 0), Step::Ignore);
  EXPECT_EQ(PendingFileName::Classify(4, 97), Step::Ignore);

  PendingFileName name;
  EXPECT_EQ(name.Append('a'), 1u);
  EXPECT_EQ(name.Append('b'), 2u);
  EXPECT_EQ(name.Text(), "ab");
  // Only the low byte of lParam counts; a NUL would cut the path short unseen and is left out.
  EXPECT_EQ(name.Append(static_cast<unsigned char>(0x163 & 0xFF)), 3u);
  EXPECT_EQ(name.Append('\0'), 3u);
  EXPECT_EQ(name.Text(), "abc");
  name.Clear();
  EXPECT_EQ(name.Text(), "");
}

TEST(ControllerMessages, FileNameStopsGrowingAtItsBound) {
  PendingFileName name;
  for (std::size_t i = 0; i < PendingFileName::kMaxLength; ++i) name.Append('x');
  EXPECT_EQ(name.Text().size(), PendingFileName::kMaxLength);
  EXPECT_EQ(name.Append('y'), PendingFileName::kMaxLength);
  EXPECT_EQ(name.Text().back(), 'x');
}

TEST(ControllerMessages, CopyDataPathIsReadWithinItsSize) {
  const char terminated[] = "C:\\notes\\a.kli";
  EXPECT_EQ(CopyDataPath(terminated, sizeof terminated), "C:\\notes\\a.kli");
  // No NUL in the data: the path ends with the data, not somewhere after it.
  const char unterminated[] = {'a', '.', 'k', 'l', 'i', 'X', 'Y'};
  EXPECT_EQ(CopyDataPath(unterminated, 5), "a.kli");
  EXPECT_EQ(CopyDataPath(terminated, 0), "");
  EXPECT_EQ(CopyDataPath(nullptr, 40), "");
  const char early[] = {'a', '\0', 'b'};
  EXPECT_EQ(CopyDataPath(early, sizeof early), "a");
}
