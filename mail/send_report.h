#pragma once
// What a finished send leaves for the sending log: the Status the send window records and the
// log lines a note's mailing writes from it.
#include <string>
#include <vector>

#include "mail/send_mail_types.h"

// The Status after a send that ended with `error`: a refused connection 12, a time-out 8, a
// server that closed or reset the connection before taking the message 3, a negative reply
// 13; any other error keeps `configured`. The send window passes TimedOut when its own
// inactivity timer gave up on a silent server.
SendMailInfo RecordedStatus(SendMailError error, SendMailInfo configured);

// " Done !" and the rule after an accepted message; otherwise " Error ...Message not sent",
// the line that names the cause from `status`, and the rule.
std::vector<std::string> MailResultLines(bool accepted, SendMailInfo status);
