#include "mail/send_window_layout.h"

#include <gtest/gtest.h>

namespace {

// Seven pixels a character, 13 high: the widest status sample is the recipient line of 46
// characters, "99999999" is 56 wide and "Cancel" 42.
TextExtent Measure(std::string_view text) { return {static_cast<int>(text.size()) * 7, 13}; }

TEST(SendWindowLayout, OptionSubsetsCounterAndButtonTogetherOrAloneAndCentring) {
  using enum SendMailDialogObjects;
  std::vector<std::string> texts;
  CompleteLanguageStrings(texts);
  const ControlBox hidden{};
  const struct {
    const char* what;
    TSendMailDialogOptions options;
    int barWidth;
    int width, height;
    ControlBox status, panel, counter, cancel;
  } rows[] = {
      {"all four", {}, 200, 334, 72,
       {true, 0, 3, 334, 19}, {true, 67, 22, 200, 18}, {true, 3, 46, 62, 13}, {true, 273, 46, 58, 23}},
      {"counter and button", {ByteCounter, CancelButton}, 200, 132, 32,
       hidden, hidden, {true, 3, 6, 62, 13}, {true, 71, 6, 58, 23}},
      {"button alone", {CancelButton}, 200, 64, 32, hidden, hidden, hidden, {true, 3, 6, 58, 23}},
      {"counter alone", {ByteCounter}, 200, 68, 25, hidden, hidden, {true, 3, 6, 62, 13}, hidden},
      {"bar wider than the text", {StatusText, StatusBar}, 400, 406, 46,
       {true, 0, 3, 406, 19}, {true, 3, 22, 400, 18}, hidden, hidden},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    const SendWindowLayout layout = LayOutSendWindow(row.options, row.barWidth, 18, texts, Measure);
    EXPECT_EQ(layout.ClientWidth, row.width);
    EXPECT_EQ(layout.ClientHeight, row.height);
    EXPECT_EQ(layout.Status, row.status);
    EXPECT_EQ(layout.Panel, row.panel);
    EXPECT_EQ(layout.Counter, row.counter);
    EXPECT_EQ(layout.Cancel, row.cancel);
  }
}

TEST(SendWindowLayout, LanguageStringsAreCompletedToSixAndNameTheButton) {
  std::vector<std::string> texts{"Verbinde mit", "Verbunden mit"};
  CompleteLanguageStrings(texts);
  EXPECT_EQ(texts, (std::vector<std::string>{"Verbinde mit", "Verbunden mit", "Recipient #", "Sending Mail",
                                             "Attachment", "Cancel"}));
  texts[5] = "Abbrechen";
  const SendWindowLayout layout = LayOutSendWindow({SendMailDialogObjects::CancelButton}, 200, 18, texts, Measure);
  EXPECT_EQ(layout.CancelCaption, "Abbrechen");
  EXPECT_EQ(layout.Cancel.Width, 9 * 7 + 16);
}

}  // namespace
