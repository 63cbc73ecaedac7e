// Every dialog opened and closed a hundred times leaves the program's objects, handles and
// memory as they were.
#include "alarms/alarm_dialog.h"
#include "app/options_dialog.h"
#include "look/about_box.h"
#include "look/skin_selector.h"
#include "mail/mail_send_log.h"
#include "mail/mail_to_form.h"
#include "mail/send_mail_dialog.h"
#include "tests/leaks/leak_census.h"
#include "tests/win/app_test_support.h"

namespace {

const std::string kProgramFolder = app_test::WindowsPath(QKLI_PROGRAM_DIR);
constexpr size_t kSlack = 2 * 1024 * 1024;

// Opens the form modally and closes it as its close box would.
void OpenAndClose(win::Form& form) {
  PostMessageA(form.hwnd(), WM_CLOSE, 0, 0);
  form.ShowModal();
}

TEST(DialogLeaks, EachDialogAHundredTimes) {
  leak_test::ExpectNoLeak("options dialog", 100, kSlack, [](int) {
    TFOptions options(nullptr, TQuorSettings{}, kProgramFolder);
    OpenAndClose(options);
  });
  leak_test::ExpectNoLeak("skin selector", 100, kSlack, [](int) {
    TSkinSelector selector(nullptr, kProgramFolder + "\\skins");
    OpenAndClose(selector);
  });
  leak_test::ExpectNoLeak("about box", 100, kSlack, [](int) {
    TAboutBox about(nullptr, kProgramFolder);
    OpenAndClose(about);
  });
  leak_test::ExpectNoLeak("alarm dialog", 100, kSlack, [](int) {
    TTFormAlarm alarm(nullptr);
    OpenAndClose(alarm);
  });
  leak_test::ExpectNoLeak("mail-to form", 100, kSlack, [](int) {
    TTMailTo form(nullptr);
    form.SetFields("to@example.org", "Subject", {"a@example.org", "b@example.org|Bee"});
    OpenAndClose(form);
  });
  leak_test::ExpectNoLeak("sending log", 100, kSlack, [](int i) {
    TTmailSend log(nullptr);
    log.Show();
    log.AddLogLine("Sending note " + std::to_string(i));
  });
  // A send that nothing answers (port 1 refuses): the window opens, the socket library is
  // loaded and started, and all of it goes again.
  leak_test::ExpectNoLeak("send-mail window", 100, kSlack, [](int) {
    SendMailDialog dialog;
    dialog.SMTP_Server = "127.0.0.1";
    dialog.SMTP_Port = 1;
    dialog.TO_Address = "someone@example.org";
    dialog.MailText = {"hello"};
    EXPECT_FALSE(dialog.Execute());
  });
}

}  // namespace
