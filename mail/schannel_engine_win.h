#pragma once
// TLS through the system's own layer, SChannel over SSPI, so the program stays one executable
// with no library beside it: TLS 1.2 or newer, the server's name sent for the right
// certificate, and no trust in SChannel's own check of that certificate (Wine's checks
// nothing): ServerCertificate() asks the certificate chain and the SSL policy calls, unless the
// certificate is the one the user pinned for the server (building a chain takes a tenth of a
// second and more under Wine, and changes nothing then).
#include <string>

#include "mail/mail_channel.h"

class SchannelEngine final : public TlsEngine {
 public:
  SchannelEngine(std::string serverName, CertificatePin trusted);
  ~SchannelEngine() override;
  SchannelEngine(const SchannelEngine&) = delete;
  SchannelEngine& operator=(const SchannelEngine&) = delete;

  Result Handshake(std::string_view input) override;
  Result Decrypt(char* input, std::size_t size) override;
  Result Encrypt(std::string_view plain) override;
  WipedBytes CloseNotify() override;
  CertificateCheck ServerCertificate() override;

 private:
  struct Handles;
  std::string serverName_;
  std::wstring wideServerName_;
  CertificatePin trusted_;
  std::unique_ptr<Handles> handles_;
};
