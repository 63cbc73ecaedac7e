// The SMTP session on the Windows socket against a real local server: the conversation, a
// refused and a silent peer, a cancel in the middle of the data, and a message with accented
// names, body and an attachment that must come back byte for byte.
#include <gtest/gtest.h>

#include "mail/socket_mail_win.h"
#include "tests/win/mail_peer_support.h"

namespace {

using mail_test::PeerPort;
using mail_test::PumpUntil;

struct MailRun {
  SocketMail mail;
  std::vector<std::string> events, sent, replies;
  int done = 0;

  explicit MailRun(const std::string& sender, std::uint16_t port = PeerPort()) {
    SendMail& s = mail.Session();
    s.OnMailInfo = [this](SendMailInfo info, const std::string& text) {
      if (info == smTraceOut) sent.push_back(text);
      else if (info == smTraceIn) replies.push_back(text.substr(0, 3));
      else events.push_back(std::to_string(int(info)) + " " + text);
    };
    s.OnMailError = [this](SendMailError e, const std::string& text) { events.push_back("E" + std::to_string(int(e)) + " " + text); };
    s.OnDone = [this] { ++done; };
    s.SMTP_Port = port;
    s.SetSMTP_Server("127.0.0.1");
    s.FROM_Address = sender;
    s.TO_Address = "to@example.org";
    s.MailText = {"Hello."};
  }
  void Send() {
    mail.Session().SetAction(TMailAction::Send_Mail);
    ASSERT_TRUE(PumpUntil([this] { return done > 0; }));
  }
};

TEST(SocketMail, WalksThroughTheConversationWithALookupAndARefusedRecipient) {
  MailRun run("walk@example.org");
  run.mail.Session().SetSMTP_Server("localhost");
  run.mail.Session().ListTo = {"refused@example.org|Nobody"};
  run.Send();
  const std::string host = run.mail.Socket().LocalHostName();
  EXPECT_FALSE(host.empty());
  const std::vector<std::string> commands = {"HELO " + host + "\r\n", "MAIL FROM:<walk@example.org>\r\n",
                                             "RCPT TO:<to@example.org>\r\n", "RCPT TO:<refused@example.org>\r\n",
                                             "DATA\r\n"};
  ASSERT_GT(run.sent.size(), commands.size() + 2);
  EXPECT_EQ(std::vector<std::string>(run.sent.begin(), run.sent.begin() + 5), commands);
  EXPECT_EQ(std::vector<std::string>(run.sent.end() - 2, run.sent.end()), (std::vector<std::string>{".\r\n", "QUIT\r\n"}));
  EXPECT_EQ(run.replies, (std::vector<std::string>{"220", "250", "250", "250", "550", "354", "250", "221"}));
  EXPECT_EQ(run.events, (std::vector<std::string>{"15 localhost", "14 127.0.0.1", "0 127.0.0.1", "9 to@example.org",
                                                  "9 refused@example.org", "8 refused@example.org", "10 8", "11 8",
                                                  "4 ", "3 "}));
  EXPECT_TRUE(run.mail.Session().Accepted());
  EXPECT_EQ(run.done, 1);
  EXPECT_EQ(mail_test::All(mail_test::ReceivedFrom("walk@example.org"), "rcpt"), std::vector<std::string>{"to@example.org"});
}

TEST(SocketMail, EndsWithTheCauseWhenNobodyAnswers) {
  struct Case {
    const char* port;
    int timeoutConnect;
    const char* error;
  };
  for (const Case& c : {Case{"closed_port", 0, "E12 Connection Refused"}, Case{"silent_port", 1, "E8 Connection timed out"}}) {
    MailRun run("nobody@example.org", PeerPort(c.port));
    run.mail.Socket().TimeoutConnect = c.timeoutConnect;
    run.Send();
    EXPECT_EQ(run.events, std::vector<std::string>{c.error}) << c.port;
    EXPECT_TRUE(run.sent.empty());
    EXPECT_FALSE(run.mail.Socket().HasSocket());
  }
}

TEST(SocketMail, ACancelInTheDataSendsNothingMore) {
  MailRun run("cancel@example.org");
  run.mail.Session().Attachments = {mail_test::TestFile("cancel.bin", std::string(600000, 'x'))};
  std::size_t sentAtCancel = 0;
  run.mail.Session().OnMailInfo = [&, inner = run.mail.Session().OnMailInfo](SendMailInfo info, const std::string& text) {
    inner(info, text);
    if (info == smAttachmentBytes && sentAtCancel == 0) {
      sentAtCancel = run.sent.size();
      run.mail.Session().SetAction(TMailAction::Cancel_SendMail);
    }
  };
  run.Send();
  EXPECT_EQ(run.sent.size(), sentAtCancel);
  EXPECT_EQ(run.mail.Session().ErrorCode(), SendMailError::Cancelled);
  EXPECT_FALSE(run.mail.Session().Accepted());
  EXPECT_FALSE(PumpUntil([&] { return run.done > 1; }, 300));
}

TEST(SocketMail, NamesBodyAndAnAttachmentInAnyScriptComeBackExactly) {
  std::string attachment;
  for (int i = 0; i < 58; ++i) attachment += static_cast<char>(255 - i * 4);
  std::string wide;
  for (int i = 0; i < 30; ++i) wide += "à日😀";
  MailRun run("accents@example.org");
  SendMail& s = run.mail.Session();
  s.FROM_Name = "Jérôme Dupré 日本語";
  s.TO_Name = "Zoë שלום";
  s.Subject = "Café au lait? _ok_ 😀 " + wide;
  s.MailText = {"Naïve line with = and tab\t.", ".starts with a dot", wide, ""};
  s.Attachments = {mail_test::TestFile("qkli-名前-😀-58.bin", attachment)};
  run.Send();
  ASSERT_TRUE(s.Accepted());
  const mail_test::Received got = mail_test::ReceivedFrom("accents@example.org");
  EXPECT_EQ(mail_test::All(got, "from_name"), std::vector<std::string>{"Jérôme Dupré 日本語"});
  EXPECT_EQ(mail_test::All(got, "to"), std::vector<std::string>{"Zoë שלום|to@example.org"});
  EXPECT_EQ(mail_test::All(got, "subject"), std::vector<std::string>{"Café au lait? _ok_ 😀 " + wide + "  "});
  const std::string body = mail_test::All(got, "body").at(0);
  const std::string text = "Naïve line with = and tab\t.\r\n.starts with a dot\r\n" + wide + "\r\n\r\n";
  EXPECT_EQ(body.substr(0, text.size()), text);
  EXPECT_EQ(body.find_first_not_of("\r\n", text.size()), std::string::npos);
  EXPECT_EQ(mail_test::All(got, "att_name"), std::vector<std::string>{"qkli-名前-😀-58.bin"});
  EXPECT_EQ(mail_test::All(got, "att_bytes"), std::vector<std::string>{attachment});
}

TEST(SocketMail, BindsTheWholeExportSetByOrdinal) {
  TStarSocket socket;
  EXPECT_FALSE(socket.LoadWinsock("qkli-no-such-library.dll"));
  EXPECT_FALSE(socket.LoadWinsock("msimg32.dll"));  // a library, but not the sockets
  ASSERT_TRUE(socket.LoadWinsock());
  HMODULE library = GetModuleHandleA("wsock32.dll");
  for (const auto& [ordinal, name] : std::vector<std::pair<int, const char*>>{
           {1, "accept"}, {3, "closesocket"}, {4, "connect"}, {9, "htons"}, {12, "ioctlsocket"}, {16, "recv"},
           {19, "send"}, {23, "socket"}, {57, "gethostname"}, {101, "WSAAsyncSelect"},
           {103, "WSAAsyncGetHostByName"}, {111, "WSAGetLastError"}, {115, "WSAStartup"}, {116, "WSACleanup"}})
    EXPECT_EQ(socket.Entry(ordinal), GetProcAddress(library, name)) << name;
  EXPECT_TRUE(socket.StartWinsock());
  EXPECT_FALSE(socket.Description().empty());
}

}  // namespace
