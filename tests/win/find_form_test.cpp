// The Find form's wiring: what is typed searches the notes the form is given, and Enter hands
// the chosen note with its match to the form's owner.
#include "app/find_form.h"

#include <gtest/gtest.h>

#include <optional>

#include "win/message_loop.h"

namespace {

TEST(FindForm, TypingListsTheNotesThatHoldTheTextAndEnterHandsOnTheChosenOne) {
  const std::vector<SearchableNote> notes = {{7, "Shopping", "milk\r\nCall Bob"}, {9, "Work", "bob's report"},
                                       {11, "Empty", ""}};
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
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(chosen->Id, 9);
  EXPECT_EQ(chosen->SelectStart, 0u);

  form.SetText(TFindForm::kQuery, "nothing like it");
  EXPECT_EQ(form.Text(TFindForm::kSummary), "No note holds this text.");
}

}  // namespace
