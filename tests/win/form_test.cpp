// The form layer under Wine: controls from rows, pages, handlers, modal runs with the keyboard,
// lists that take no typing; and the error boundary of the window base.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "tests/win/app_test_support.h"
#include "win/error_box.h"
#include "win/form.h"
#include "win/message_loop.h"

namespace {

void Pump() { win::ProcessWaitingMessages(); }

class TestForm : public win::Form {
 public:
  static constexpr int kCheck = 10, kEdit = 11, kList = 12, kTry = 13;

  explicit TestForm(HWND owner)
      : Form({.className = "QkliTestForm",
              .caption = "Test form",
              .clientWidth = 200,
              .clientHeight = 120,
              .owner = owner,
              .pages = kPages,
              .pagesArea = {0, 0, 200, 90}}) {
    AddControls<TestForm>(kRows);
  }

  int tries = 0, follows = 0;
  void Try() { ++tries; }
  void Follow() {
    ++follows;
    Enable(kEdit, Checked(kCheck));
  }

 private:
  static constexpr const char* kPages[] = {"One", "Two"};
  static constexpr win::ControlRow<TestForm> kRows[] = {
      {win::kButton, "Check", kCheck, 8, 30, 80, 17, BS_AUTOCHECKBOX, 1, &TestForm::Follow},
      {win::kEdit, "", kEdit, 8, 50, 80, 21, ES_AUTOHSCROLL, 1},
      {win::kComboBox, "", kList, 8, 30, 80, 100, CBS_DROPDOWNLIST, 2},
      {win::kButton, "Try", kTry, 100, 95, 40, 20, 0, 0, &TestForm::Try},
      {win::kButton, "OK", IDOK, 150, 95, 45, 20, BS_DEFPUSHBUTTON, 0, &TestForm::CloseOk},
  };
};

TEST(Form, RowsPlaceControlsOnTheirPagesAndRunTheirHandlers) {
  TestForm form(nullptr);
  RECT client{};
  GetClientRect(form.hwnd(), &client);
  EXPECT_EQ(client.right, 200);
  EXPECT_EQ(client.bottom, 120);
  const RECT edit = form.ControlRect(TestForm::kEdit);
  EXPECT_EQ(edit.left, 8);
  EXPECT_EQ(edit.top, 50);
  EXPECT_EQ(edit.right - edit.left, 80);

  EXPECT_NE(GetWindowLongPtrA(form.Item(TestForm::kCheck), GWL_STYLE) & WS_VISIBLE, 0);
  EXPECT_EQ(GetWindowLongPtrA(form.Item(TestForm::kList), GWL_STYLE) & WS_VISIBLE, 0);
  form.ShowPage(2);
  EXPECT_EQ(GetWindowLongPtrA(form.Item(TestForm::kCheck), GWL_STYLE) & WS_VISIBLE, 0);
  EXPECT_NE(GetWindowLongPtrA(form.Item(TestForm::kList), GWL_STYLE) & WS_VISIBLE, 0);
  EXPECT_NE(GetWindowLongPtrA(form.Item(TestForm::kTry), GWL_STYLE) & WS_VISIBLE, 0);

  SendMessageA(form.Item(TestForm::kTry), BM_CLICK, 0, 0);
  EXPECT_EQ(form.tries, 1);
  // A check box set by the program runs its handler as a click would, once per change.
  form.SetChecked(TestForm::kCheck, true);
  form.SetChecked(TestForm::kCheck, true);
  EXPECT_EQ(form.follows, 1);
  EXPECT_TRUE(form.Enabled(TestForm::kEdit));
  form.SetChecked(TestForm::kCheck, false);
  EXPECT_FALSE(form.Enabled(TestForm::kEdit));
  EXPECT_THROW(form.Item(99), std::logic_error);
}

TEST(Form, AModalRunDisablesItsOwnerAndEndsByTheKeyboard) {
  TestForm owner(nullptr);
  for (const auto& [key, expected] : {std::pair{VK_RETURN, win::ModalResult::Ok}, {VK_ESCAPE, win::ModalResult::Cancel}}) {
    TestForm form(owner.hwnd());
    bool ownerEnabledMeanwhile = true;
    // Runs inside the modal loop: looks at the owner, then presses the key in the focused control.
    struct Probe {
      TestForm* form;
      HWND owner;
      bool* enabled;
      WPARAM key;
    } probe{&form, owner.hwnd(), &ownerEnabledMeanwhile, static_cast<WPARAM>(key)};
    SetPropA(form.hwnd(), "probe", &probe);
    SetTimer(form.hwnd(), 1, 10, [](HWND hwnd, UINT, UINT_PTR id, DWORD) {
      KillTimer(hwnd, id);
      auto* p = static_cast<Probe*>(GetPropA(hwnd, "probe"));
      *p->enabled = IsWindowEnabled(p->owner) != FALSE;
      HWND focus = GetFocus();
      PostMessageA(focus != nullptr ? focus : hwnd, WM_KEYDOWN, p->key, 0);
    });
    EXPECT_EQ(form.ShowModal(), expected);
    RemovePropA(form.hwnd(), "probe");
    EXPECT_FALSE(ownerEnabledMeanwhile);
    EXPECT_TRUE(IsWindowEnabled(owner.hwnd()));
    EXPECT_FALSE(IsWindowVisible(form.hwnd()));
  }
}

TEST(Form, TheCloseBoxGivesCancel) {
  TestForm form(nullptr);
  PostMessageA(form.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(form.ShowModal(), win::ModalResult::Cancel);
}

TEST(Form, AListThatTakesNoTypingKeepsItsEntry) {
  TestForm form(nullptr);
  form.ShowPage(2);
  form.ShowModeless();
  for (const char* item : {"alpha", "beta", "gamma"}) form.AddItem(TestForm::kList, item);
  form.Select(TestForm::kList, 0);
  HWND list = form.Item(TestForm::kList);
  SetFocus(list);

  PostMessageA(list, WM_CHAR, 'g', 0);
  Pump();
  EXPECT_EQ(form.Selection(TestForm::kList), 2) << "typing selects by the first letter";

  form.IgnoreTyping(TestForm::kList, true);
  PostMessageA(list, WM_CHAR, 'b', 0);
  PostMessageA(list, WM_KEYDOWN, VK_UP, 0);
  Pump();
  EXPECT_EQ(form.Selection(TestForm::kList), 2);
  EXPECT_EQ(form.ItemText(TestForm::kList, 1), "beta");
  form.AddItem(TestForm::kList, "名前 😀 שלום");  // fields and lists hold text in any language
  form.SetText(TestForm::kEdit, "Ελληνικά 😀");
  EXPECT_EQ(form.ItemText(TestForm::kList, 3) + form.Text(TestForm::kEdit), "名前 😀 שלוםΕλληνικά 😀");
}

class FailingWindow : public win::Window {
 public:
  explicit FailingWindow(bool failCreation) : failCreation_(failCreation) {
    create({.className = "QkliFailingWindow", .caption = "failing"});
  }
  std::atomic<int> failures{0};
  void StartTicking() { SetTimer(hwnd(), 7, 20, nullptr); }

 protected:
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_CREATE && failCreation_) throw std::runtime_error("no window today");
    if (msg == WM_TIMER && failures < 6) {
      ++failures;
      throw std::runtime_error("tick failed");
    }
    return Window::handle(msg, wp, lp);
  }

 private:
  bool failCreation_;
};

TEST(WindowBase, AFailingCreationFailsTheCreationWithItsOwnError) {
  app_test::ErrorBoxWatcher boxes;
  try {
    FailingWindow window(true);
    FAIL() << "the window was made";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "no window today");
  }
  Sleep(100);
  EXPECT_TRUE(boxes.Texts().empty());
}

TEST(WindowBase, ARepeatingFailureShowsOneErrorBoxAtATime) {
  // Holds the first box open while the timer keeps failing, then answers it.
  std::atomic<int> mostOpenAtOnce{0};
  std::atomic<bool> done{false};
  std::thread answerer([&] {
    const DWORD process = GetCurrentProcessId();
    while (!done) {
      const auto open = app_test::WindowsOfProcess(process, "#32770");
      if (!open.empty()) {
        Sleep(300);
        const int count = static_cast<int>(app_test::WindowsOfProcess(process, "#32770").size());
        if (count > mostOpenAtOnce) mostOpenAtOnce = count;
        for (HWND box : app_test::WindowsOfProcess(process, "#32770"))
          SendMessageTimeoutA(box, WM_COMMAND, IDOK, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
      }
      Sleep(10);
    }
  });
  FailingWindow window(false);
  window.StartTicking();
  for (int i = 0; i < 300 && window.failures < 6; ++i) {
    Pump();
    Sleep(10);
  }
  KillTimer(window.hwnd(), 7);
  done = true;
  answerer.join();
  EXPECT_EQ(window.failures, 6);
  EXPECT_EQ(mostOpenAtOnce, 1);
}

}  // namespace
