// A note's mail through the sending window against the local server: what the server gets,
// the log lines with the cause of each failure, and the run over all notes.
#include <gtest/gtest.h>

#include "app/home_page.h"
#include "mail/mail_send_log.h"
#include "mail/note_mail.h"
#include "mail/send_mail_dialog.h"
#include "notes/note_file.h"
#include "tests/win/mail_peer_support.h"
#include "tests/win/note_window_test_support.h"

namespace {

using Lines = std::vector<std::string>;

struct NoteMailFixture {
  std::string store = mail_test::TestFile("qkli-note.kli", std::string("KLI\0\x01\xff note bytes", 18));
  TTmailSend log{nullptr};
  SendMailDialog dialog;

  NoteMailRequest Request(const std::string& mailTo, Lines recipients = {}) const {
    return {mailTo, "Subject", std::move(recipients), {"first line", "second line"}, "a.kli", store};
  }
  static TQuorMailAccount Account(const std::string& sender, std::uint16_t port = mail_test::PeerPort()) {
    TQuorMailAccount account = mail_test::Account(sender, port);
    account.Signature = {"----", std::string("Message sended with Quor K-lI pro 5.") + kHomePage};
    account.Headers = {"X-Mailer: Quor K-lI 5.0", std::string("Quor K-lI hp: ") + kHomePage};
    return account;
  }
};

TEST(NoteMail, SendsTheNoteWithItsStoreFileAndLogsWhatHappened) {
  NoteMailFixture f;
  std::string caption;
  f.dialog.OnSendMailInfo = [&](SendMailInfo info, const std::string&) {
    char text[64] = {};
    if (info == smServerConnected) GetWindowTextA(FindWindowA("Tsmdlg", nullptr), text, sizeof text);
    if (text[0] != '\0') caption = text;
  };
  ASSERT_TRUE(SendNoteMail(f.Request("to@example.org", {"cc@example.org|Cee"}), f.Account("note@example.org"), f.log, f.dialog));
  EXPECT_EQ(caption, "Send K-lI");
  EXPECT_EQ(f.log.Lines(), (Lines{"Sending a.kli", " Done !", "------------"}));
  const mail_test::Received got = mail_test::ReceivedFrom("note@example.org");
  EXPECT_EQ(mail_test::All(got, "rcpt"), (Lines{"to@example.org", "cc@example.org"}));
  EXPECT_EQ(mail_test::All(got, "body").at(0).substr(0, 97),
            std::string("first line\r\nsecond line\r\n----\r\nMessage sended with Quor K-lI pro 5.") + kHomePage + "\r\n");
  const Lines headers = {"X-Mailer: Quor K-lI 5.0  ", std::string("Quor K-lI hp: ") + kHomePage + "  "};
  EXPECT_EQ(mail_test::All(got, "header"), headers);
  EXPECT_EQ(mail_test::All(got, "att_name"), Lines{"qkli-note.kli"});
  EXPECT_EQ(mail_test::All(got, "att_bytes"), Lines{std::string("KLI\0\x01\xff note bytes", 18)});
  EXPECT_FALSE(SendNoteMail(f.Request(""), f.Account("note@example.org"), f.log, f.dialog));
  EXPECT_EQ(f.log.Lines().size(), 3u);
}

TEST(NoteMail, LogsTheCauseOfAFailureAndRecordsTheStatus) {
  struct Case {
    const char* sender;
    const char* to;
    const char* port;
    SendMailInfo status;
    const char* cause;
  };
  for (const Case& c : {Case{"busy@example.org", "to@example.org", "port", smAlreadyBusy, "Busy mail..."},
                        Case{"close@example.org", "to@example.org", "port", smServerDisconnected,
                             "The connection was unexpectedly closed by the remote server"},
                        Case{"refused@example.org", "to@example.org", "closed_port", smBadAttachment,
                             "The mail server refused the connection"},
                        Case{"nobody@example.org", "refused@example.org", "port", smAlreadyBusy,
                             "The mail server refused the recipient refused@example.org (550 5.1.1 No such user)"}}) {
    NoteMailFixture f;
    f.dialog.SetStatus(smTraceIn);
    EXPECT_FALSE(SendNoteMail(f.Request(c.to), f.Account(c.sender, mail_test::PeerPort(c.port)), f.log, f.dialog));
    EXPECT_EQ(f.dialog.Status(), c.status) << c.sender;
    EXPECT_EQ(f.log.Lines(), (Lines{"Sending a.kli", " Error ...Message not sent", c.cause, "------------"}));
  }
}

TEST(NoteMail, MailsEveryAddressedNoteInListOrder) {
  NoteMailFixture f;
  std::vector<NoteMailRequest> notes = {f.Request("one@example.org"), f.Request(""), f.Request("", {"three@example.org"})};
  notes[2].FileName = "c 日本.kli";
  Lines mailed;
  MailAllNotes({.Count = [&] { return int(notes.size()); },
                .HasRecipients = [&](int i) { return !notes[i].MailRecipients.empty(); },
                .MailNote =
                    [&](int i, TTmailSend& log) {
                      if (SendNoteMail(notes[i], f.Account("loop@example.org"), log, f.dialog)) mailed.push_back(notes[i].FileName);
                    }},
               f.log);
  EXPECT_TRUE(IsWindowVisible(f.log.hwnd()));
  EXPECT_EQ(mailed, (Lines{"a.kli", "c 日本.kli"}));
  EXPECT_EQ(f.log.Lines(), (Lines{"Sending a.kli", " Done !", "------------", "Sending c 日本.kli", " Done !", "------------"}));
  // The dialog serves note after note: the last message has its own recipient and two extra headers.
  const mail_test::Received last = mail_test::ReceivedFrom("loop@example.org");
  EXPECT_EQ(mail_test::All(last, "rcpt"), Lines{"three@example.org"});
  EXPECT_EQ(mail_test::All(last, "header").size(), 2u);
}

}  // namespace

class NoteMailsItself : public note_test::NoteWindowTest {};

TEST_F(NoteMailsItself, ItsFieldsGoOnceTheServerAcceptedAndStayAfterAFailure) {
  TTFoglio& note = NewNote(TestSkin());
  NoteData addressed;
  addressed.Lines = {"buy milk 日本語 😀", "call Anna"};
  addressed.MailTo = "wired@example.org";
  addressed.MailSubject = "Today שלום";
  addressed.MailRecipients = {"second@example.org|Second"};
  SaveNoteFile(CachePath("addressed.kli"), addressed);
  note.OpenFileInNote(CachePath("addressed.kli"));
  TTmailSend log(nullptr);
  SendMailDialog dialog;

  note.MailOneNote(NoteMailFixture::Account("kept@example.org", mail_test::PeerPort("closed_port")), log, dialog);
  EXPECT_EQ(note.Data().MailTo, "wired@example.org");
  EXPECT_EQ(note.Data().MailRecipients.size(), 1u);

  note.MailOneNote(NoteMailFixture::Account("wired@example.org"), log, dialog);
  EXPECT_EQ(note.Data().MailTo, "");
  EXPECT_EQ(note.Data().MailSubject, "");
  EXPECT_TRUE(note.Data().MailRecipients.empty());
  const mail_test::Received got = mail_test::ReceivedFrom("wired@example.org");
  EXPECT_EQ(mail_test::All(got, "rcpt"), (Lines{"wired@example.org", "second@example.org"}));
  EXPECT_EQ(mail_test::All(got, "body").at(0).substr(0, 40), "buy milk 日本語 😀\r\ncall Anna\r\n----");
  // The store file was written first and went as the attachment.
  EXPECT_EQ(mail_test::All(got, "att_bytes"), Lines{note_test::ReadBytes(note.Store().Path())});
}
