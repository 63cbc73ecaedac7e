#pragma once
// Forms that never cut their texts: the places of a form's controls are given in pixels for one
// font, and a form may get another (a system without it substitutes a wider one). A control
// whose text no longer fits grows to the right; what stands to its right on the same row moves
// along, keeping its distance; a group grows around what it holds, keeping its margin, and so
// does the form. Wherever the texts fit, every place stays as given. Portable arithmetic, so
// that the rule is tested natively; form.cpp measures the texts and moves the controls.
#include <vector>

namespace win {

struct FitBox {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  int Page = 0;         // 0: on the form; n: on page n, which never meets the controls of another page
  int TextWidth = 0;    // the width the control needs to show its text whole; 0: nothing to fit
  bool Frame = false;   // a group box or the pages' tab control: holds the boxes that lie within it
};

struct FittedForm {
  std::vector<FitBox> Boxes;  // in the order given
  int ClientWidth;
};

// A box of no width or height is placed by its form's own code and takes no part.
FittedForm FitTexts(std::vector<FitBox> boxes, int clientWidth);

}  // namespace win
