#include "mail/note_mail.h"

#include "app/home_page.h"
#include "mail/mail_send_log.h"
#include "mail/send_mail_dialog.h"
#include "mail/send_report.h"

TQuorMailAccount MailAccountFrom(const TQuorSettings& settings) {
  return {settings.SmtpServer, settings.SmtpPort, settings.UserName, settings.UserMail};
}

bool SendNoteMail(const NoteMailRequest& request, const TQuorMailAccount& account, TTmailSend& log,
                  SendMailDialog& dialog) {
  if (request.MailRecipients.empty() && request.MailTo.empty()) return false;
  log.AddLogLine("Sending " + request.FileName);

  dialog.Caption = "Send K-lI";
  dialog.SMTP_Server = account.SmtpServer;
  dialog.SMTP_Port = account.SmtpPort;
  dialog.FROM_Name = account.UserName;
  dialog.FROM_Address = account.UserMail;
  dialog.TO_Address = request.MailTo;
  dialog.Subject = request.MailSubject;
  dialog.ListTo = request.MailRecipients;
  dialog.MailText = request.Lines;
  dialog.MailText.push_back("----");
  dialog.MailText.push_back(std::string("Message sended with Quor K-lI pro 5.") + kHomePage);
  dialog.Attachments = {request.StorePath};
  dialog.Headers = {"X-Mailer: Quor K-lI 5.0", std::string("Quor K-lI hp: ") + kHomePage};

  const bool accepted = dialog.Execute();
  for (const std::string& line :
       MailResultLines(accepted, dialog.Failure(), dialog.FailureText(), dialog.RefusedRecipients()))
    log.AddLogLine(line);
  return accepted;
}

void MailAllNotes(const NoteMailing& notes, TTmailSend& log) {
  for (int i = 0; i < notes.Count(); ++i) {
    if (notes.HasRecipients(i)) log.Show();
    notes.MailNote(i, log);
  }
}
