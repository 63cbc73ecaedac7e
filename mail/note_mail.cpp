#include "mail/note_mail.h"

#include "mail/mail_send_log.h"
#include "mail/password_store_win.h"
#include "mail/send_mail_dialog.h"
#include "mail/send_report.h"
#include "win/unicode.h"

namespace {

bool SendOnce(const NoteMailRequest& request, const TQuorMailAccount& account, TTmailSend& log,
              SendMailDialog& dialog) {
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
  dialog.MailText.insert(dialog.MailText.end(), account.Signature.begin(), account.Signature.end());
  dialog.Attachments = {request.StorePath};
  dialog.Headers = account.Headers;
  dialog.Security = account.Security;
  dialog.SignInName = account.SignInName;
  // Decrypted only at the moment of the sign-in.
  dialog.Password = [&stored = account.StoredPassword] { return UnprotectPassword(stored); };
  dialog.TrustedCertificate = account.TrustedCertificate;

  const bool accepted = dialog.Execute();
  dialog.Password = nullptr;
  for (const std::string& line :
       MailResultLines(accepted, dialog.Failure(), dialog.FailureText(), dialog.RefusedRecipients()))
    log.AddLogLine(line);
  return accepted;
}

}  // namespace

bool SendNoteMail(const NoteMailRequest& request, const TQuorMailAccount& account, TTmailSend& log,
                  SendMailDialog& dialog) {
  if (request.MailRecipients.empty() && request.MailTo.empty()) return false;
  if (SendOnce(request, account, log, dialog)) return true;
  const CertificatePin pin{account.SmtpServer, dialog.ServerCertificate().Fingerprint};
  if (dialog.Failure() != SendMailError::CertificateNotTrusted || pin.Fingerprint.empty() ||
      !account.TrustCertificate || !account.TrustCertificate(pin, dialog.ServerCertificate().Problems))
    return false;
  TQuorMailAccount trusting = account;
  trusting.TrustedCertificate = pin;
  return SendOnce(request, trusting, log, dialog);
}

bool AskToTrustCertificate(HWND owner, const CertificatePin& pin, const std::string& problems) {
  std::string question = "The certificate of the mail server " + pin.Server + " is not trusted: " + problems +
                         ".\r\n\r\nSHA-256 fingerprint:";
  for (const std::string& line : FingerprintLines(pin.Fingerprint)) question += "\r\n" + line;
  question += "\r\n\r\nTrust exactly this certificate for this server from now on, and send?";
  return MessageBoxW(owner, win::Wide(question).c_str(), L"Mail K-lI",
                     MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2 | MB_SETFOREGROUND) == IDYES;
}

void MailAllNotes(const NoteMailing& notes, TTmailSend& log) {
  for (int i = 0; i < notes.Count(); ++i) {
    if (notes.HasRecipients(i)) log.Show();
    notes.MailNote(i, log);
  }
}
