#pragma once
// What a finished send leaves for the sending log: the Status the send window records and the
// log lines a note's mailing writes from it.
#include <string>
#include <string_view>
#include <vector>

#include "mail/send_mail_types.h"

// The Status after a send that ended with `error`: a refused connection 12, a time-out 8, a
// server that closed or reset the connection before taking the message 3, a negative reply
// 13, a failure of TLS, the certificate, STARTTLS or the sign-in a value of its own (16 to 20);
// any other error keeps `configured`. The send window passes TimedOut when its own
// inactivity timer gave up on a silent server.
SendMailInfo RecordedStatus(SendMailError error, SendMailInfo configured);

// " Done !" and the rule after an accepted message; otherwise " Error ...Message not sent", a
// line that names the cause, and the rule. The cause comes from the error the send ended with
// and its text (the server's reply for a negative one): the program's own lines where they say
// what happened (a connection closed early, a time-out, a busy server, a server not found), a
// line of its own where they do not (a refused connection, a refused recipient or message, a
// cancel), the session's text for TLS and the sign-in (it names the reason and the
// certificate's fingerprint).
// A message that went out although the server refused some of its recipients lists them after
// " Done !": the log must not let them pass for delivered. Each `refused` entry is an address
// with the server's reply.
std::vector<std::string> MailResultLines(bool accepted, SendMailError error, std::string_view errorText,
                                         const std::vector<std::string>& refused = {});
