#include "mail/schannel_engine_win.h"

#define SECURITY_WIN32
#define SCHANNEL_USE_BLACKLISTS  // for SCH_CREDENTIALS
#include <windows.h>
#include <subauth.h>
#include <security.h>
#include <schannel.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "mail/server_certificate_win.h"

namespace {

constexpr DWORD kModernProtocols = SP_PROT_TLS1_2_CLIENT | SP_PROT_TLS1_3_CLIENT;
// The program checks the certificate itself, and offers none of its own.
constexpr DWORD kCredentialFlags = SCH_CRED_MANUAL_CRED_VALIDATION | SCH_CRED_NO_DEFAULT_CREDS;
constexpr DWORD kContextFlags = ISC_REQ_SEQUENCE_DETECT | ISC_REQ_REPLAY_DETECT | ISC_REQ_CONFIDENTIALITY |
                                ISC_REQ_ALLOCATE_MEMORY | ISC_REQ_STREAM | ISC_REQ_EXTENDED_ERROR |
                                ISC_REQ_MANUAL_CRED_VALIDATION;

using Status = TlsEngine::Status;

std::wstring Wide(const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                         static_cast<int>(wide.size()));
  wide.resize(static_cast<std::size_t>(std::max(length, 0)));
  return wide;
}

// The system's words for a security status, and its number, which is what a search finds.
std::string Reason(SECURITY_STATUS status, const char* call) {
  char text[512] = {};
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                      static_cast<DWORD>(status), 0, text, sizeof text, nullptr);
  std::string words(text, length);
  while (!words.empty() && (words.back() == '\n' || words.back() == '\r' || words.back() == ' ' || words.back() == '.'))
    words.pop_back();
  char number[48];
  std::snprintf(number, sizeof number, "%s0x%08lX from %s", words.empty() ? "" : " (",
                static_cast<unsigned long>(status), call);
  return words.empty() ? "error " + std::string(number) : words + number + ")";
}

// A token the system allocated, copied out and given back.
void TakeToken(SecBuffer& buffer, WipedBytes& into) {
  if (buffer.pvBuffer == nullptr) return;
  const char* bytes = static_cast<const char*>(buffer.pvBuffer);
  into.insert(into.end(), bytes, bytes + buffer.cbBuffer);
  FreeContextBuffer(buffer.pvBuffer);
  buffer.pvBuffer = nullptr;
}

TlsEngine::Result Failure(SECURITY_STATUS status, const char* call) {
  TlsEngine::Result result;
  result.State = Status::Failed;
  result.Reason = Reason(status, call);
  return result;
}

}  // namespace

struct SchannelEngine::Handles {
  CredHandle credentials{};
  CtxtHandle context{};
  bool haveCredentials = false, haveContext = false;
  SECURITY_STATUS credentialStatus = SEC_E_OK;
  SecPkgContext_StreamSizes sizes{};

  ~Handles() {
    if (haveContext) DeleteSecurityContext(&context);
    if (haveCredentials) FreeCredentialsHandle(&credentials);
  }

  SECURITY_STATUS Acquire(void* authData) {
    TimeStamp expiry{};
    return AcquireCredentialsHandleW(nullptr, const_cast<SEC_WCHAR*>(UNISP_NAME_W), SECPKG_CRED_OUTBOUND, nullptr,
                                     authData, nullptr, nullptr, &credentials, &expiry);
  }

  // SCH_CREDENTIALS where the system knows it (Windows 10 1809 on), which allows TLS 1.3 and
  // switches off everything older than 1.2; SCHANNEL_CRED with TLS 1.2 alone elsewhere.
  void AcquireCredentials() {
    TLS_PARAMETERS parameters{};
    parameters.grbitDisabledProtocols = static_cast<DWORD>(~kModernProtocols);
    SCH_CREDENTIALS modern{};
    modern.dwVersion = SCH_CREDENTIALS_VERSION;
    modern.dwFlags = kCredentialFlags;
    modern.cTlsParameters = 1;
    modern.pTlsParameters = &parameters;
    credentialStatus = Acquire(&modern);
    if (credentialStatus != SEC_E_OK) {
      SCHANNEL_CRED older{};
      older.dwVersion = SCHANNEL_CRED_VERSION;
      older.grbitEnabledProtocols = SP_PROT_TLS1_2_CLIENT;
      older.dwFlags = kCredentialFlags;
      credentialStatus = Acquire(&older);
    }
    haveCredentials = credentialStatus == SEC_E_OK;
  }
};

SchannelEngine::SchannelEngine(std::string serverName, CertificatePin trusted)
    : serverName_(std::move(serverName)),
      wideServerName_(Wide(serverName_)),
      trusted_(std::move(trusted)),
      handles_(std::make_unique<Handles>()) {
  handles_->AcquireCredentials();
}

SchannelEngine::~SchannelEngine() = default;

TlsEngine::Result SchannelEngine::Handshake(std::string_view input) {
  Handles& h = *handles_;
  if (!h.haveCredentials) return Failure(h.credentialStatus, "AcquireCredentialsHandle");
  Result result;
  for (int attempt = 0; attempt < 2; ++attempt) {
    SecBuffer in[2] = {{static_cast<unsigned long>(input.size()), SECBUFFER_TOKEN, const_cast<char*>(input.data())},
                       {0, SECBUFFER_EMPTY, nullptr}};
    SecBuffer out[1] = {{0, SECBUFFER_TOKEN, nullptr}};
    SecBufferDesc inDesc{SECBUFFER_VERSION, 2, in};
    SecBufferDesc outDesc{SECBUFFER_VERSION, 1, out};
    unsigned long attributes = 0;
    const SECURITY_STATUS status = InitializeSecurityContextW(
        &h.credentials, h.haveContext ? &h.context : nullptr, wideServerName_.data(), kContextFlags, 0, 0,
        h.haveContext ? &inDesc : nullptr, 0, &h.context, &outDesc, &attributes, nullptr);
    h.haveContext = h.haveContext || status == SEC_E_OK || status == SEC_I_CONTINUE_NEEDED;
    TakeToken(out[0], result.Output);
    const std::size_t extra = in[1].BufferType == SECBUFFER_EXTRA ? in[1].cbBuffer : 0;
    result.Consumed = input.size() - std::min<std::size_t>(extra, input.size());
    switch (status) {
      case SEC_E_OK: {
        if (QueryContextAttributesW(&h.context, SECPKG_ATTR_STREAM_SIZES, &h.sizes) != SEC_E_OK)
          return Failure(SEC_E_INTERNAL_ERROR, "QueryContextAttributes");
        SecPkgContext_ConnectionInfo info{};
        if (QueryContextAttributesW(&h.context, SECPKG_ATTR_CONNECTION_INFO, &info) == SEC_E_OK &&
            (info.dwProtocol & kModernProtocols) == 0) {
          result.State = Status::Failed;
          result.Reason = "the server speaks no TLS newer than 1.1";
          return result;
        }
        result.State = Status::Ok;
        return result;
      }
      case SEC_I_CONTINUE_NEEDED: result.State = Status::Continue; return result;
      case SEC_E_INCOMPLETE_MESSAGE: result.State = Status::Incomplete; result.Consumed = 0; return result;
      case SEC_I_INCOMPLETE_CREDENTIALS:
        // The server asks for a client certificate; there is none to give, so go on without.
        continue;
      default: {
        Result failed = Failure(status, "InitializeSecurityContext");
        failed.Output = std::move(result.Output);  // the alert, for the server
        return failed;
      }
    }
  }
  return Failure(SEC_E_INCOMPLETE_CREDENTIALS, "InitializeSecurityContext");
}

TlsEngine::Result SchannelEngine::Decrypt(char* input, std::size_t size) {
  Handles& h = *handles_;
  SecBuffer buffers[4] = {{static_cast<unsigned long>(size), SECBUFFER_DATA, input},
                          {0, SECBUFFER_EMPTY, nullptr},
                          {0, SECBUFFER_EMPTY, nullptr},
                          {0, SECBUFFER_EMPTY, nullptr}};
  SecBufferDesc desc{SECBUFFER_VERSION, 4, buffers};
  const SECURITY_STATUS status = DecryptMessage(&h.context, &desc, 0, nullptr);
  Result result;
  std::size_t extra = 0;
  for (const SecBuffer& buffer : buffers) {
    if (buffer.BufferType == SECBUFFER_DATA && buffer.cbBuffer > 0 && buffer.pvBuffer != nullptr) {
      const char* plain = static_cast<const char*>(buffer.pvBuffer);
      result.Output.assign(plain, plain + buffer.cbBuffer);
    }
    if (buffer.BufferType == SECBUFFER_EXTRA) extra = buffer.cbBuffer;
  }
  result.Consumed = size - std::min(extra, size);
  switch (status) {
    case SEC_E_OK: result.State = Status::Ok; break;
    case SEC_E_INCOMPLETE_MESSAGE: result.State = Status::Incomplete; result.Consumed = 0; break;
    case SEC_I_RENEGOTIATE: result.State = Status::Renegotiate; break;
    case SEC_I_CONTEXT_EXPIRED: result.State = Status::Closed; break;
    default: return Failure(status, "DecryptMessage");
  }
  return result;
}

TlsEngine::Result SchannelEngine::Encrypt(std::string_view plain) {
  Handles& h = *handles_;
  const SecPkgContext_StreamSizes& sizes = h.sizes;
  const std::size_t take = std::min<std::size_t>(plain.size(), sizes.cbMaximumMessage);
  Result result;
  result.Output.resize(sizes.cbHeader + take + sizes.cbTrailer);
  char* record = result.Output.data();
  std::memcpy(record + sizes.cbHeader, plain.data(), take);
  SecBuffer buffers[4] = {{sizes.cbHeader, SECBUFFER_STREAM_HEADER, record},
                          {static_cast<unsigned long>(take), SECBUFFER_DATA, record + sizes.cbHeader},
                          {sizes.cbTrailer, SECBUFFER_STREAM_TRAILER, record + sizes.cbHeader + take},
                          {0, SECBUFFER_EMPTY, nullptr}};
  SecBufferDesc desc{SECBUFFER_VERSION, 4, buffers};
  const SECURITY_STATUS status = EncryptMessage(&h.context, 0, &desc, 0);
  if (status != SEC_E_OK) return Failure(status, "EncryptMessage");
  result.Output.resize(buffers[0].cbBuffer + buffers[1].cbBuffer + buffers[2].cbBuffer);
  result.Consumed = take;
  result.State = Status::Ok;
  return result;
}

WipedBytes SchannelEngine::CloseNotify() {
  Handles& h = *handles_;
  WipedBytes notify;
  if (!h.haveContext) return notify;
  DWORD type = SCHANNEL_SHUTDOWN;
  SecBuffer control{sizeof type, SECBUFFER_TOKEN, &type};
  SecBufferDesc controlDesc{SECBUFFER_VERSION, 1, &control};
  if (ApplyControlToken(&h.context, &controlDesc) != SEC_E_OK) return notify;
  SecBuffer out[1] = {{0, SECBUFFER_TOKEN, nullptr}};
  SecBufferDesc outDesc{SECBUFFER_VERSION, 1, out};
  unsigned long attributes = 0;
  InitializeSecurityContextW(&h.credentials, &h.context, wideServerName_.data(), kContextFlags, 0, 0, nullptr, 0,
                             &h.context, &outDesc, &attributes, nullptr);
  TakeToken(out[0], notify);
  return notify;
}

CertificateCheck SchannelEngine::ServerCertificate() {
  PCCERT_CONTEXT certificate = nullptr;
  if (QueryContextAttributesW(&handles_->context, SECPKG_ATTR_REMOTE_CERT_CONTEXT, &certificate) != SEC_E_OK ||
      certificate == nullptr)
    return {"the server showed no certificate", ""};
  const std::string fingerprint = CertificateFingerprint(certificate);
  CertificateCheck check = trusted_.Matches(serverName_, fingerprint)
                               ? CertificateCheck{{}, fingerprint}
                               : CheckServerCertificate(certificate, wideServerName_);
  CertFreeCertificateContext(certificate);
  return check;
}
