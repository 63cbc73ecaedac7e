#pragma once
// Drives a form as a user would while it runs modal: each step runs on a timer tick of its own
// inside the form's modal loop, and the next tick is armed only when the step has returned, so
// a step that opens a box of its own (an error box) has ended before the next one runs. A form
// still open after the last step is cancelled, so a failing test ends instead of hanging.
#include <windows.h>

#include <functional>
#include <vector>

#include "win/form.h"

namespace app_test {

struct ModalSteps {
  win::Form& form;
  std::vector<std::function<void()>> steps;
  size_t next = 0;
};

inline void CALLBACK RunNextModalStep(HWND hwnd, UINT, UINT_PTR id, DWORD) {
  KillTimer(hwnd, id);
  auto* script = static_cast<ModalSteps*>(GetPropA(hwnd, "qkli.test.steps"));
  if (script->next == script->steps.size()) return script->form.Close(win::ModalResult::Cancel);
  script->steps[script->next++]();
  SetTimer(hwnd, id, 20, RunNextModalStep);
}

inline win::ModalResult ShowModalWith(win::Form& form, std::vector<std::function<void()>> steps) {
  ModalSteps script{form, std::move(steps)};
  SetPropA(form.hwnd(), "qkli.test.steps", &script);
  SetTimer(form.hwnd(), 1, 20, RunNextModalStep);
  const win::ModalResult result = form.ShowModal();
  KillTimer(form.hwnd(), 1);
  RemovePropA(form.hwnd(), "qkli.test.steps");
  return result;
}

}  // namespace app_test
