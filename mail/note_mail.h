#pragma once
// Mailing notes: one note's message (its text, a signature line, the note's store file
// attached, two extra headers) sent with the account of the settings and written to the
// sending log, and the run over all notes of "Mail K-lI". The note itself reads and clears its
// mail fields and saves its store file; everything else happens here, over plain values.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/settings.h"

class SendMailDialog;
class TTmailSend;

struct TQuorMailAccount {
  std::string SmtpServer;
  std::uint16_t SmtpPort = 25;
  std::string UserName;  // the sender's display name
  std::string UserMail;  // the sender's address
};

TQuorMailAccount MailAccountFrom(const TQuorSettings& settings);

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
// and nothing is logged) and logs the outcome. True when the server accepted the message: the
// note then empties its mail fields.
bool SendNoteMail(const NoteMailRequest& request, const TQuorMailAccount& account, TTmailSend& log,
                  SendMailDialog& dialog);

// What "Mail K-lI" needs of the notes, by their index in the list.
struct NoteMailing {
  std::function<int()> Count;
  std::function<bool(int index)> HasRecipients;
  std::function<void(int index, TTmailSend& log)> MailNote;
};

// Each note from index 0: the log shows when the note has recipients, then the note mails
// itself. A note that fails is logged and the run goes on.
void MailAllNotes(const NoteMailing& notes, TTmailSend& log);
