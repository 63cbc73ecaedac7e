// The note's part of "Mail K-lI": its fields and store file in, its mail fields emptied after a
// message the server accepted.
#include "mail/note_mail.h"
#include "notes/note_file.h"
#include "notes/note_window.h"

void TTFoglio::MailOneNote(const TQuorMailAccount& account, TTmailSend& log, SendMailDialog& dialog) {
  if (data_.MailTo.empty() && data_.MailRecipients.empty()) return;
  // The attachment is the note as it is now.
  SaveNote(store_.Path());
  // The body holds the paragraphs; the note's own line wrapping is no business of the reader's.
  const NoteMailRequest request{data_.MailTo,
                                data_.MailSubject,
                                data_.MailRecipients,
                                LinesOfEditText(textBox_.Text()),
                                data_.FileName,
                                store_.Path()};
  if (!SendNoteMail(request, account, log, dialog)) return;
  data_.MailRecipients.clear();
  data_.MailSubject.clear();
  data_.MailTo.clear();
  NoteChanged();
}
