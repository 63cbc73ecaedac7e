// One message with a large attachment sent through the sending window to a local server, as
// "Mail K-lI" sends a note. Started by mail_send_bench.py, which runs the server, sends the
// same bytes with Python's smtplib for comparison and prints both figures.
//   mail_send_bench PORT ATTACHMENT [FINGERPRINT]
// With the server's certificate fingerprint the message goes through STARTTLS, that certificate
// trusted. Prints "sent_ms <milliseconds> accepted <0|1>".
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "mail/send_mail_dialog.h"

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: mail_send_bench PORT ATTACHMENT [FINGERPRINT]\n");
    return 2;
  }
  SendMailDialog dialog;
  dialog.Caption = "Send K-lI";
  dialog.SMTP_Server = "127.0.0.1";
  dialog.SMTP_Port = static_cast<std::uint16_t>(std::atoi(argv[1]));
  dialog.FROM_Name = "Bench";
  dialog.FROM_Address = "bench@example.org";
  dialog.TO_Address = "sink@example.org";
  dialog.Subject = "A large attachment";
  dialog.MailText = {"The note's text.", "----", "Message sended with Quor K-lI pro 5."};
  dialog.Attachments = {argv[2]};
  if (argc == 4) {
    dialog.Security = MailSecurity::StartTls;
    dialog.TrustedCertificate = {dialog.SMTP_Server, argv[3]};
  }
  const auto start = std::chrono::steady_clock::now();
  const bool accepted = dialog.Execute();
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::printf("sent_ms %.1f accepted %d\n", ms, accepted ? 1 : 0);
  return accepted ? 0 : 1;
}
