#include <gtest/gtest.h>

#include "mail/send_report.h"
#include "smtp_harness.h"

namespace {

TEST(SmtpSession, WalkThroughWithAMultiLineGreetingAndTheSecondRecipientRefused) {
  SmtpHarness h;
  h.session.SMTP_Port = 2525;
  h.session.ListTo = {"second@example.com"};
  h.session.MailText = {"Hi"};
  h.transport.SendLimit = 5;  // every line takes several send calls
  h.Start();
  h.session.OnConnect(0);
  EXPECT_EQ(h.TakeEvents(), Events{Ev(smServerConnected, "192.0.2.1")});
  const struct {
    const char* reply;
    const char* sends;
    Events events;
  } rows[] = {
      {"220-mail.example.com", "", {}},
      {"220 ready", "HELO desk\r\n", {}},
      {"250 hello", "MAIL FROM:<me@example.com>\r\n", {}},
      {"250 ok", "RCPT TO:<to@example.com>\r\n", {Ev(smRecipient, "to@example.com")}},
      {"250 ok", "RCPT TO:<second@example.com>\r\n", {Ev(smRecipient, "second@example.com")}},
      {"550-no such user\r\n550 really", "DATA\r\n", {Ev(smBadAddress, "second@example.com")}},
      {"354 go ahead",
       "From:  <me@example.com>\r\nTo: to@example.com;\r\nTo: second@example.com;\r\nMime-Version: 1.0\r\n"
       "Content-Type: text/plain; charset=\"us-ascii\"\r\n\r\nHi\r\n\r\n.\r\n",
       {Ev(smMessageSize, "4"), Ev(smSendingMessage, "4")}},
      {"250 queued", "QUIT\r\n", {Ev(smMessageAccepted, "")}},
      {"221 bye", "", {}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.reply);
    h.Reply(row.reply);
    EXPECT_EQ(h.TakeSent(), row.sends);
    EXPECT_EQ(h.TakeEvents(), row.events);
  }
  EXPECT_EQ(h.traces[0], Ev(smTraceIn, "220-mail.example.com"));
  EXPECT_EQ(h.traces[2], Ev(smTraceOut, "HELO desk\r\n"));
  h.session.OnClose(0);
  EXPECT_EQ(h.TakeEvents(), Events{Ev(smServerDisconnected, "")});
  EXPECT_EQ(h.doneCount, 0);  // until UM_MAILDONE comes back
  h.session.MailDone();
  EXPECT_EQ(h.doneCount, 1);
  EXPECT_TRUE(h.session.Accepted());
  EXPECT_EQ(h.session.ErrorCode(), SendMailError::None);
  EXPECT_FALSE(h.session.Busy());
  EXPECT_EQ(h.transport.Effects, (Events{"connect 192.0.2.1:2525", "done"}));
}

TEST(SmtpSession, NegativeReplyOutsideTheRecipientsEndsTheSend) {
  const char* positives[] = {"220 ready", "250 hello", "250 sender ok", "250 recipient ok", "354 go"};
  const std::pair<int, const char*> rows[] = {  // replies accepted before the refusal, the refusal
      {0, "421 too busy"}, {1, "501 bad HELO"}, {2, "553 sender refused"},
      {4, "554 no valid recipients"}, {5, "552 too big"}, {1, "-odd"}};
  for (const auto& [accepted, refusal] : rows) {
    SCOPED_TRACE(refusal);
    SmtpHarness h;
    h.Start();
    h.session.OnConnect(0);
    for (int i = 0; i < accepted; ++i) h.Reply(positives[i]);
    h.TakeEvents();
    h.Reply(refusal);
    EXPECT_EQ(h.TakeEvents(), Events{Err(SendMailError::UnexpectedResponse, std::string("Unexpected response: ") + refusal)});
    h.TakeSent();
    h.Reply("250 ok");  // nothing happens after the end
    EXPECT_EQ(h.TakeSent(), "");
    EXPECT_EQ(h.transport.Effects.back(), "done");
    EXPECT_EQ(h.transport.DonePosts(), 1);
    EXPECT_FALSE(h.session.Accepted());
  }
}

TEST(SmtpSession, CancelDuringTheDataStopsTheBytesAndEndsOnce) {
  SmtpHarness h;
  h.session.MailText = {std::string(6000, 'x')};
  h.RunToData();
  h.transport.SendLimit = 500;  // the data goes out in several sends
  std::size_t sentAtCancel = 0;
  int sends = 0;
  h.transport.OnSend = [&] {
    if (++sends != 10) return;
    h.session.SetAction(TMailAction::Cancel_SendMail);
    sentAtCancel = h.transport.Sent.size();
  };
  h.Reply("354 go ahead");
  EXPECT_NE(h.transport.Sent.find("xxxx"), std::string::npos);  // it stopped within the body
  h.Reply("250 queued");
  h.session.SetAction(TMailAction::Cancel_SendMail);
  EXPECT_EQ(h.transport.Sent.size(), sentAtCancel);
  EXPECT_EQ(h.transport.DonePosts(), 1);
  EXPECT_EQ(h.session.ErrorCode(), SendMailError::Cancelled);
  h.session.MailDone();
  h.session.MailDone();
  EXPECT_EQ(h.doneCount, 1);
  EXPECT_FALSE(h.session.Accepted());
  EXPECT_TRUE(h.session.ListTo.empty());  // the caller fills the recipients again
}

TEST(SmtpSession, TheDataGoesToTheSocketInLargePiecesWithTheSameBytes) {
  SmtpHarness h;
  const std::string line = std::string(75, 'x') + "\r\n";
  for (int i = 0; i < 3000; ++i) h.session.MailText.push_back(line.substr(0, 75));
  const std::string data = h.DataOf();
  EXPECT_NE(data.find(line + line), std::string::npos);
  // HELO, MAIL FROM, RCPT TO, DATA; the message in four pieces of 64 KB or less, not a send a line; ".".
  EXPECT_EQ(std::count_if(h.traces.begin(), h.traces.end(), [](const std::string& t) { return t.starts_with("2 "); }), 9);
}

TEST(SmtpSession, ProgressComesAsTheSocketTakesTheBytes) {
  SmtpHarness h;
  h.session.MailText = {"Hi"};
  h.RunToData();
  h.transport.Blocked = true;
  h.Reply("354 go ahead");
  EXPECT_EQ(h.TakeEvents(), Events{});
  h.transport.Writable();
  EXPECT_EQ(h.TakeEvents(), (Events{Ev(smMessageSize, "4"), Ev(smSendingMessage, "4")}));
}

TEST(SmtpSession, OnlyBlindCopiesAreSentToAndNamedInNoHeader) {
  SmtpHarness h;
  h.session.TO_Address.clear();
  h.session.ListBcc = {"b1@example.com", "b2@example.com|Bea"};
  h.Start();
  h.session.OnConnect(0);
  for (const char* reply : {"220 ready", "250 hello", "250 ok", "250 ok", "250 ok", "354 go"}) h.Reply(reply);
  EXPECT_EQ(h.TakeSent(),
            "HELO desk\r\nMAIL FROM:<me@example.com>\r\nRCPT TO:<b1@example.com>\r\nRCPT TO:<b2@example.com>\r\n"
            "DATA\r\nFrom:  <me@example.com>\r\nMime-Version: 1.0\r\n"
            "Content-Type: text/plain; charset=\"us-ascii\"\r\n\r\n.\r\n");
}

TEST(SmtpSession, FailuresBeforeTheConnection) {
  SmtpHarness noRecipient, noSockets, busy;
  noRecipient.session.TO_Address.clear();
  noRecipient.Start();
  EXPECT_EQ(noRecipient.TakeEvents(), Events{Err(SendMailError::MailDestination, "Mail Destination Error")});
  EXPECT_EQ(noRecipient.transport.Effects, (Events{"close", "done"}));  // no look-up, no connect
  EXPECT_EQ(noRecipient.session.ErrorCode(), SendMailError::MailDestination);

  noSockets.transport.SocketsStart = false;
  noSockets.Start();
  EXPECT_EQ(noSockets.TakeEvents(), Events{Err(SendMailError::WinsockNotInitialized, "Winsock not initiliazed")});

  busy.Start();
  busy.Start();
  EXPECT_EQ(busy.TakeEvents(), Events{Ev(smAlreadyBusy, "")});
  EXPECT_EQ(busy.transport.Effects, Events{"connect 192.0.2.1:25"});
}

TEST(SmtpSession, HostNamesUpTo255CharactersAreLookedUp) {
  const std::string longest = "mail." + std::string(250, 'a');
  SmtpHarness h, tooLong;
  h.session.SetSMTP_Server(longest);
  h.session.SetSMTP_Server("");  // an empty value changes nothing
  h.Start();
  h.session.LookupDone(0, "192.0.2.9");
  EXPECT_EQ(h.transport.Effects, (Events{"resolve " + longest, "connect 192.0.2.9:25"}));
  EXPECT_EQ(h.TakeEvents(), (Events{Ev(smResolvingAddress, longest), Ev(smAddressResolved, "192.0.2.9")}));

  tooLong.session.SetSMTP_Server(longest + "b");
  tooLong.Start();
  EXPECT_EQ(tooLong.TakeEvents(), Events{Err(SendMailError::AddressResolution, "Address resolution error")});
  EXPECT_EQ(tooLong.transport.Effects, (Events{"close", "done"}));
}

TEST(SmtpSession, SocketFailuresAndTheLogLinesTheyLeave) {
  const auto connected = [](SmtpHarness& h) {
    h.session.OnConnect(0);
    h.TakeEvents();
  };
  const struct {
    const char* what;
    std::function<void(SmtpHarness&)> fail;
    Events events;
    const char* cause;
  } rows[] = {
      {"refused", [](SmtpHarness& h) { h.session.OnConnect(10061); },
       {Err(SendMailError::ConnectionRefused, "Connection Refused")}, "The mail server refused the connection"},
      {"countdown", [](SmtpHarness& h) { h.session.OnTimeout(); },
       {Err(SendMailError::TimedOut, "Connection timed out")}, "The network is down or the address is wrong."},
      {"closed early", [&](SmtpHarness& h) { connected(h); h.session.OnClose(0); },
       {Ev(smServerDisconnected, ""), Err(SendMailError::PrematurelyDisconnected, "Prematurely Disconnected")},
       "The connection was unexpectedly closed by the remote server"},
      {"reset while sending", [&](SmtpHarness& h) { connected(h); h.transport.SendError = 10054; h.Reply("220 hi"); },
       {Err(SendMailError::ConnectionReset, "Connection reset by remote side")},
       "The connection was unexpectedly closed by the remote server"},
      {"look-up", [](SmtpHarness& h) { h.session.LookupDone(11001, ""); },
       {Err(SendMailError::AddressResolution, "Address resolution error")}, "Can't find mail server"},
      {"endless line", [&](SmtpHarness& h) {
         connected(h);
         h.session.ReadReplies(std::string(SendMail::kMaxReplyLine, 'x'));
         h.session.ReadReplies("x");
       },
       {Err(SendMailError::UnexpectedResponse, "Unexpected response: " + std::string(100, 'x'))}, "Unexpected error"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    SmtpHarness h;
    h.Start();
    row.fail(h);
    EXPECT_EQ(h.TakeEvents(), row.events);
    h.session.OnClose(0);  // a late notification changes nothing
    EXPECT_EQ(h.TakeEvents(), Events{});
    EXPECT_EQ(h.transport.DonePosts(), 1);
    const std::string& error = row.events.back();
    EXPECT_EQ(MailResultLines(h.session.Accepted(), h.session.ErrorCode(), error.substr(error.find(' ') + 1)),
              (Events{" Error ...Message not sent", row.cause, "------------"}));
  }
  EXPECT_EQ(MailResultLines(true, SendMailError::None, ""), (Events{" Done !", "------------"}));
  // A negative reply: "not now" (4xx) or a refusal (5xx), named with the server's words.
  EXPECT_EQ(MailResultLines(false, SendMailError::UnexpectedResponse, "Unexpected response: 421 busy")[1],
            "Busy mail...");
  EXPECT_EQ(MailResultLines(false, SendMailError::UnexpectedResponse, "Unexpected response: 554 no valid recipients")[1],
            "The mail server refused: 554 no valid recipients");
  EXPECT_EQ(MailResultLines(false, SendMailError::Cancelled, "")[1], "Sending was cancelled");
  // Refused recipients are named, whether the message went to the others or to nobody.
  const std::vector<std::string> refused{"x@example.org (550 No such user)"};
  EXPECT_EQ(MailResultLines(true, SendMailError::None, "", refused),
            (Events{" Done !", "Not delivered to x@example.org (550 No such user)", "------------"}));
  EXPECT_EQ(MailResultLines(false, SendMailError::UnexpectedResponse, "Unexpected response: 503 need RCPT", refused)[1],
            "The mail server refused the recipient x@example.org (550 No such user)");
}

TEST(SmtpSession, SocketErrorNumbersAndTheirTexts) {
  using enum SendMailError;
  const struct {
    int number;
    SendMailError code;
    std::string_view text;
  } rows[] = {
      {10093, WinsockNotInitialized, "Winsock not initialized"}, {10050, NetworkDown, "Network down"},
      {10013, InvalidAddress, "Invalid address specified"}, {10004, InternalError, "Unexpected internal error in component"},
      {10058, InternalError, "Unexpected internal error in component"}, {10052, GeneralWinsockError, "General Winsock Error"},
      {10055, GeneralWinsockError, "General Winsock Error"},
      {10053, ConnectionAborted, "Connection aborted due to timeout or other failure"},
      {10054, ConnectionReset, "Connection reset by remote side"}, {10060, TimedOut, "timeout"},
      {10024, OutOfSockets, "Out of sockets"}, {10051, NetworkUnreachable, "Network unreachable"},
      {10049, AddressNotAvailable, "Address not available"}, {10061, ConnectionRefused, "Connection Refused"},
      {11001, AddressResolution, "Address resolution error"}, {11004, AddressResolution, "Address resolution error"},
      {10065, HostUnreachable, "Host Unreachable"}, {11005, UnknownError, "Unknown Error"}, {10039, UnknownError, "Unknown Error"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(SocketErrorFor(row.number).Code, row.code) << row.number;
    EXPECT_EQ(SocketErrorFor(row.number).Text, row.text) << row.number;
  }
}

TEST(SmtpSession, ALineCannotCarryAnotherCommand) {
  SmtpHarness h;
  h.session.FROM_Address = "me@example.com>\r\nRCPT TO:<other@example.com";
  h.Start();
  h.session.OnConnect(0);
  h.Reply("220 ready");
  h.TakeSent();
  h.Reply("250 hello");
  EXPECT_EQ(h.TakeSent(), "MAIL FROM:<me@example.com>  RCPT TO:<other@example.com>\r\n");
}

}  // namespace
