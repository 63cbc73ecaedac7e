#pragma once
// Mailing notes: one note's message (its text, the account's signature, the note's store file
// attached, the account's extra headers) sent with the account of the settings and written to
// the sending log, and the run over all notes of "Mail K-lI". The note itself reads and clears
// its mail fields and saves its store file; everything else happens here, over plain values.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "mail/smtp_security.h"

class SendMailDialog;
class TTmailSend;

struct TQuorMailAccount {
  std::string SmtpServer;
  std::uint16_t SmtpPort = 25;
  std::string UserName;  // the sender's display name
  std::string UserMail;  // the sender's address
  MailSecurity Security = MailSecurity::None;
  std::string SignInName;                   // empty: no sign-in
  std::vector<std::uint8_t> StoredPassword;  // encrypted for the user (mail/password_store_win.h)
  CertificatePin TrustedCertificate;
  std::vector<std::string> Signature;  // lines after the note's text
  std::vector<std::string> Headers;    // extra header lines of every message
  // Asked after a send that failed on a certificate the system does not trust: true when the
  // user now trusts exactly that certificate for the server (the caller keeps the pin).
  std::function<bool(const CertificatePin& pin, const std::string& problems)> TrustCertificate;
};

// What a note hands over to be mailed.
struct NoteMailRequest {
  std::string MailTo;
  std::string MailSubject;
  std::vector<std::string> MailRecipients;  // address, or address "|" display name
  std::vector<std::string> Lines;           // the note's text
  std::string FileName;                     // shown in the log
  std::string StorePath;                    // the note's store file, already written; attached
};

// Sends the note's message when it has a MailTo or any recipient (otherwise nothing happens
// and nothing is logged) and logs the outcome. A certificate the user chooses to trust when
// asked is pinned and the message sent again. True when the server accepted the message: the
// note then empties its mail fields.
bool SendNoteMail(const NoteMailRequest& request, const TQuorMailAccount& account, TTmailSend& log,
                  SendMailDialog& dialog);

// The question after a certificate failure, in a message box owned by `owner`: the server, the
// problems, the fingerprint; No is the default.
bool AskToTrustCertificate(HWND owner, const CertificatePin& pin, const std::string& problems);

// What "Mail K-lI" needs of the notes, by their index in the list.
struct NoteMailing {
  std::function<int()> Count;
  std::function<bool(int index)> HasRecipients;
  std::function<void(int index, TTmailSend& log)> MailNote;
};

// Each note from index 0: the log shows when the note has recipients, then the note mails
// itself. A note that fails is logged and the run goes on.
void MailAllNotes(const NoteMailing& notes, TTmailSend& log);
