// The Find form's wiring: typing searches the notes it is given, Enter hands the chosen match on.
#include "app/find_form.h"

#include <gtest/gtest.h>

#include <optional>

#include "win/message_loop.h"

namespace {

TEST(FindForm, TypingListsTheNotesThatHoldTheTextAndEnterHandsOnTheChosenOne) {
  const std::vector<SearchableNote> notes = {{7, "Shopping", "milk\r\nCall Bob"}, {9, "Work", "bob's report"}};
  std::optional<NoteMatch> chosen;
  TFindForm form(nullptr, [&] { return notes; }, [&](const NoteMatch& match) { chosen = match; });
  form.Open();
  form.SetText(TFindForm::kQuery, "BOB");
  ASSERT_EQ(form.ItemCount(TFindForm::kResults), 2);
  EXPECT_EQ(form.ItemText(TFindForm::kResults, 0), "Shopping\tCall Bob");
  EXPECT_EQ(form.Text(TFindForm::kSummary), "2 notes hold this text.");

  form.Select(TFindForm::kResults, 1);
  PostMessageA(form.Item(TFindForm::kQuery), WM_KEYDOWN, VK_RETURN, 0);
  win::ProcessWaitingMessages();
  EXPECT_EQ(chosen.value_or(NoteMatch{}).Id, 9);
}

}  // namespace
