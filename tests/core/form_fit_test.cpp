#include "win/form_fit.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using win::FitBox;

// A box as given and the left and width it comes out with.
struct Expect {
  int left, width;
};

void ExpectFitted(const std::vector<FitBox>& boxes, int client, const std::vector<Expect>& expected,
                  int expectedClient) {
  const win::FittedForm fitted = win::FitTexts(boxes, client);
  ASSERT_EQ(fitted.Boxes.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(fitted.Boxes[i].Left, expected[i].left) << "box " << i;
    EXPECT_EQ(fitted.Boxes[i].Width, expected[i].width) << "box " << i;
    EXPECT_EQ(fitted.Boxes[i].Top, boxes[i].Top) << "box " << i;
  }
  EXPECT_EQ(fitted.ClientWidth, expectedClient);
}

// The alarm dialog's rows: a group holding two check boxes and two label-picker rows, and the
// two buttons below it.
std::vector<FitBox> AlarmRows(int boxText, int labelText, int buttonText) {
  return {
      {8, 8, 177, 137, 0, 0, true},           {16, 32, 97, 17, 0, boxText},   {16, 56, 97, 17, 0, boxText},
      {16, 80, 39, 13, 0, labelText},         {64, 80, 106, 21},              {16, 112, 39, 13, 0, labelText},
      {64, 112, 106, 21},                     {8, 152, 75, 25, 0, buttonText}, {110, 152, 75, 25, 0, buttonText},
  };
}

TEST(FormFit, TextsThatFitKeepEveryPlace) {
  ExpectFitted(AlarmRows(90, 39, 20), 194,
               {{8, 177}, {16, 97}, {16, 97}, {16, 39}, {64, 106}, {16, 39}, {64, 106}, {8, 75}, {110, 75}}, 194);
}

TEST(FormFit, AWiderTextGrowsItsControlMovesItsRowAndGrowsTheGroupAndTheForm) {
  // Labels 12 wider: the pickers keep their 9-pixel distance, the group its 15-pixel margin past
  // them, the form its 9 pixels past the group. The check boxes grow within the room they have.
  ExpectFitted(AlarmRows(110, 51, 20), 194,
               {{8, 189}, {16, 110}, {16, 110}, {16, 51}, {76, 106}, {16, 51}, {76, 106}, {8, 75}, {110, 75}}, 206);
  // Buttons whose text runs wider: the second one moves along, the form follows.
  ExpectFitted(AlarmRows(90, 39, 100), 194,
               {{8, 177}, {16, 97}, {16, 97}, {16, 39}, {64, 106}, {16, 39}, {64, 106}, {8, 100}, {135, 100}}, 244);
}

TEST(FormFit, PagesMeetOnlyTheFormAndControlsPlacedByCodeStayOut) {
  const std::vector<FitBox> boxes = {
      {10, 10, 200, 100, 0, 0, true},  // the tab control, holding the pages
      {20, 40, 50, 13, 1, 80},         // page 1: a label grows and pushes its field
      {80, 36, 100, 21, 1},
      {20, 40, 50, 13, 2},             // page 2: the same row, untouched by page 1
      {80, 36, 100, 21, 2},
      {0, 0, 0, 0, 0, 500},            // placed by the form's own code later
  };
  ExpectFitted(boxes, 220, {{10, 230}, {20, 80}, {110, 100}, {20, 50}, {80, 100}, {0, 0}}, 250);
}

}  // namespace
