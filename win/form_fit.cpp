#include "win/form_fit.h"

#include <algorithm>

namespace win {
namespace {

int Right(const FitBox& box) { return box.Left + box.Width; }
int Bottom(const FitBox& box) { return box.Top + box.Height; }
bool Placed(const FitBox& box) { return box.Width > 0 && box.Height > 0; }

bool Within(const FitBox& inner, const FitBox& outer) {
  return inner.Left >= outer.Left && inner.Top >= outer.Top && Right(inner) <= Right(outer) &&
         Bottom(inner) <= Bottom(outer);
}

bool SameRow(const FitBox& a, const FitBox& b) { return a.Top < Bottom(b) && b.Top < Bottom(a); }

bool Meet(const FitBox& a, const FitBox& b) { return a.Page == 0 || b.Page == 0 || a.Page == b.Page; }

}  // namespace

FittedForm FitTexts(std::vector<FitBox> boxes, int clientWidth) {
  const std::vector<FitBox> given = boxes;
  const size_t count = boxes.size();
  // holds[f][i]: frame f holds box i, as given.
  std::vector<std::vector<bool>> holds(count, std::vector<bool>(count, false));
  std::vector<int> margin(count, 0);
  int widest = 0;
  for (size_t f = 0; f < count; ++f) {
    if (!Placed(given[f])) continue;
    widest = std::max(widest, Right(given[f]));
    if (!given[f].Frame) continue;
    int contentRight = -1;
    for (size_t i = 0; i < count; ++i) {
      if (i == f || !Placed(given[i]) || !Within(given[i], given[f])) continue;
      if (given[f].Page != 0 && given[f].Page != given[i].Page) continue;
      holds[f][i] = true;
      contentRight = std::max(contentRight, Right(given[i]));
    }
    margin[f] = std::max(Right(given[f]) - contentRight, 0);
  }
  const int formMargin = std::max(clientWidth - widest, 0);

  for (FitBox& box : boxes)
    if (Placed(box)) box.Width = std::max(box.Width, box.TextWidth);

  const auto shift = [&](size_t moved, int by) {
    boxes[moved].Left += by;
    for (size_t i = 0; i < count; ++i)
      if (holds[moved][i]) boxes[i].Left += by;
  };
  // Every step only moves right edges further right, and a box only pushes what stood to its
  // right as given: a chain of pushes ends within as many rounds as there are boxes.
  for (size_t round = 0; round <= count; ++round) {
    bool moved = false;
    for (size_t a = 0; a < count; ++a) {
      for (size_t b = 0; b < count; ++b) {
        if (a == b || !Placed(given[a]) || !Placed(given[b]) || holds[a][b] || holds[b][a]) continue;
        if (!Meet(given[a], given[b]) || !SameRow(given[a], given[b]) || given[b].Left < Right(given[a])) continue;
        const int wanted = Right(boxes[a]) + (given[b].Left - Right(given[a]));
        if (boxes[b].Left < wanted) {
          shift(b, wanted - boxes[b].Left);
          moved = true;
        }
      }
    }
    for (size_t f = 0; f < count; ++f) {
      int contentRight = -1;
      for (size_t i = 0; i < count; ++i)
        if (holds[f][i]) contentRight = std::max(contentRight, Right(boxes[i]));
      if (contentRight >= 0 && Right(boxes[f]) < contentRight + margin[f]) {
        boxes[f].Width = contentRight + margin[f] - boxes[f].Left;
        moved = true;
      }
    }
    if (!moved) break;
  }

  int right = 0;
  for (const FitBox& box : boxes)
    if (Placed(box)) right = std::max(right, Right(box));
  return {std::move(boxes), std::max(clientWidth, right + formMargin)};
}

}  // namespace win
