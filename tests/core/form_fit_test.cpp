#include "win/form_fit.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using win::FitBox;

// The left and width of each box after fitting, then the form's client width.
std::vector<int> Fitted(const std::vector<FitBox>& boxes, int clientWidth) {
  const win::FittedForm fitted = win::FitTexts(boxes, clientWidth);
  std::vector<int> placed;
  for (const FitBox& box : fitted.Boxes) placed.insert(placed.end(), {box.Left, box.Width});
  placed.push_back(fitted.ClientWidth);
  return placed;
}

// The alarm dialog: a group holding two check boxes and two label-picker rows, two buttons below.
std::vector<FitBox> AlarmRows(int boxText, int labelText, int buttonText) {
  return {{8, 8, 177, 137, 0, 0, true}, {16, 32, 97, 17, 0, boxText},    {16, 56, 97, 17, 0, boxText},
          {16, 80, 39, 13, 0, labelText}, {64, 80, 106, 21},              {16, 112, 39, 13, 0, labelText},
          {64, 112, 106, 21},           {8, 152, 75, 25, 0, buttonText}, {110, 152, 75, 25, 0, buttonText}};
}

TEST(FormFit, TextsGrowTheirControlsMoveTheirRowsAndGrowGroupAndForm) {
  // Texts that fit keep every place.
  EXPECT_EQ(Fitted(AlarmRows(90, 39, 20), 194),
            (std::vector<int>{8, 177, 16, 97, 16, 97, 16, 39, 64, 106, 16, 39, 64, 106, 8, 75, 110, 75, 194}));
  // Labels 12 wider: the pickers keep their 9 pixels from them, the group its 15-pixel margin, the
  // form its 9 pixels past the group. The check boxes grow within the room they have.
  EXPECT_EQ(Fitted(AlarmRows(110, 51, 20), 194),
            (std::vector<int>{8, 189, 16, 110, 16, 110, 16, 51, 76, 106, 16, 51, 76, 106, 8, 75, 110, 75, 206}));
  // Buttons: the second moves along, the form follows.
  EXPECT_EQ(Fitted(AlarmRows(90, 39, 100), 194),
            (std::vector<int>{8, 177, 16, 97, 16, 97, 16, 39, 64, 106, 16, 39, 64, 106, 8, 100, 135, 100, 244}));
  // Pages never meet one another; a control of no size is placed by its form's code later.
  const std::vector<FitBox> pages = {{10, 10, 200, 100, 0, 0, true}, {20, 40, 50, 13, 1, 80}, {80, 36, 100, 21, 1},
                                     {20, 40, 50, 13, 2},             {80, 36, 100, 21, 2},   {0, 0, 0, 0, 0, 500}};
  EXPECT_EQ(Fitted(pages, 220), (std::vector<int>{10, 230, 20, 80, 110, 100, 20, 50, 80, 100, 0, 0, 250}));
}

}  // namespace
