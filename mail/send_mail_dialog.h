#pragma once
// SendMailDialog: sends one message with a small modal progress window. The caller fills the
// message and calls Execute, which lays the window out from the appearance below, runs the
// send on a session of its own, shows status, progress and a cancel button, and returns
// whether the server accepted the message. After a failure, Status names the cause for the
// sending log (mail/send_report.h). The security settings (TLS, sign-in, a trusted
// certificate) go to the session with the message.
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "mail/send_mail_types.h"
#include "mail/send_window_layout.h"
#include "mail/smtp_security.h"

enum TFormBorderStyle : uint8_t { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum class TSendMailDialogPos : uint8_t { ScreenCenter, Custom };

struct TDialogFont {
  std::string Name = "MS Sans Serif";
  int Height = -11;  // character height in pixels, negative as CreateFont takes it
  COLORREF Color = 0x000000;
};

class SendMailDialog : public MailMessage, public SmtpSecurityOptions {
 public:
  static constexpr std::string_view Version = "SendMailDialog version 1.2";
  // The sending window's message to itself once it shows: start the send.
  static constexpr UINT UM_STARTSEND = WM_USER + 3;
  static constexpr UINT kInactivityMs = 60000;
  static constexpr int kTimeoutConnect = 30;  // seconds
  static constexpr int kTimeoutArp = 20;      // seconds

  SendMailDialog();

  std::string Caption;
  std::string SMTP_Server;
  std::uint16_t SMTP_Port = 25;
  TFormBorderStyle Border = bsDialog;
  int WindowTop = 0, WindowLeft = 0;  // with Position Custom
  COLORREF Color = 0xC0C0C0;
  TDialogFont Font;
  COLORREF StatusBarColor = 0xFF0000;
  COLORREF StatusBarBackground = 0xFFFFFF;
  TSendMailDialogOptions Options;
  int StatusBarHeight = 18;
  int StatusBarWidth = 200;
  TSendMailDialogPos Position = TSendMailDialogPos::ScreenCenter;
  std::vector<std::string> LanguageStrings;  // six texts; a shorter list is completed
  TSendMailInfoEvent OnSendMailInfo;        // every progress event of the session

  // The value set here is what Status reads after a success, or after a failure that names
  // none of the causes the log tells apart.
  void SetStatus(SendMailInfo status) { configuredStatus_ = status_ = status; }
  SendMailInfo Status() const { return status_; }

  // Runs one send in a modal window; true when the server accepted the message.
  bool Execute();
  // Why the last send failed (None after a success), and the text the session gave with it.
  SendMailError Failure() const { return failure_; }
  const std::string& FailureText() const { return failureText_; }
  // The recipients the server refused during the last send, each with the server's reply.
  const std::vector<std::string>& RefusedRecipients() const { return refused_; }
  // The server's certificate in the last send, once TLS came up.
  const CertificateCheck& ServerCertificate() const { return certificate_; }

 private:
  SendMailInfo configuredStatus_ = smServerConnected;
  SendMailInfo status_ = smServerConnected;
  SendMailError failure_ = SendMailError::None;
  std::string failureText_;
  std::vector<std::string> refused_;
  CertificateCheck certificate_;
};
