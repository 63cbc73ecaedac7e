#include "mail/server_certificate_win.h"

#include <wininet.h>  // the SECURITY_FLAG_IGNORE_* of the SSL policy

#include <array>
#include <cstdio>
#include <vector>

namespace {

constexpr DWORD kSha256Size = 32;

struct TrustProblem {
  DWORD Bits;
  const char* Name;
};
constexpr TrustProblem kChainProblems[] = {
    {CERT_TRUST_IS_UNTRUSTED_ROOT | CERT_TRUST_IS_PARTIAL_CHAIN, "untrusted root"},
    {CERT_TRUST_IS_NOT_TIME_VALID, "expired"},
    {CERT_TRUST_IS_REVOKED, "revoked"},
    {CERT_TRUST_IS_NOT_SIGNATURE_VALID, "bad signature"},
    {CERT_TRUST_IS_NOT_VALID_FOR_USAGE, "not meant for servers"},
};

struct PolicyProblem {
  HRESULT Error;
  const char* Name;
};
constexpr PolicyProblem kPolicyProblems[] = {
    {CERT_E_UNTRUSTEDROOT, "untrusted root"}, {CERT_E_CHAINING, "untrusted root"},
    {CERT_E_EXPIRED, "expired"},              {CERT_E_CN_NO_MATCH, "wrong host name"},
    {CERT_E_WRONG_USAGE, "not meant for servers"}, {CRYPT_E_REVOKED, "revoked"},
};

void Add(std::string& problems, const std::string& problem) {
  if (problems.find(problem) != std::string::npos) return;
  if (!problems.empty()) problems += ", ";
  problems += problem;
}

// The SSL policy's verdict; with `nameOnly` everything but the host name is let pass.
DWORD PolicyError(PCCERT_CHAIN_CONTEXT chain, const std::wstring& serverName, bool nameOnly) {
  SSL_EXTRA_CERT_CHAIN_POLICY_PARA ssl{};
  ssl.cbSize = sizeof ssl;
  ssl.dwAuthType = AUTHTYPE_SERVER;
  ssl.pwszServerName = const_cast<wchar_t*>(serverName.c_str());
  if (nameOnly)
    ssl.fdwChecks = SECURITY_FLAG_IGNORE_UNKNOWN_CA | SECURITY_FLAG_IGNORE_CERT_DATE_INVALID |
                    SECURITY_FLAG_IGNORE_WRONG_USAGE | SECURITY_FLAG_IGNORE_REVOCATION;
  CERT_CHAIN_POLICY_PARA policy{};
  policy.cbSize = sizeof policy;
  policy.pvExtraPolicyPara = &ssl;
  CERT_CHAIN_POLICY_STATUS status{};
  status.cbSize = sizeof status;
  if (!CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, chain, &policy, &status)) return GetLastError();
  return status.dwError;
}

void AddPolicyProblem(std::string& problems, DWORD error) {
  if (error == 0) return;
  for (const PolicyProblem& known : kPolicyProblems) {
    if (static_cast<DWORD>(known.Error) == error) return Add(problems, known.Name);
  }
  char text[48];
  std::snprintf(text, sizeof text, "not trusted (0x%08lX)", static_cast<unsigned long>(error));
  Add(problems, text);
}

}  // namespace

std::string CertificateFingerprint(PCCERT_CONTEXT certificate) {
  std::array<BYTE, kSha256Size> hash{};
  DWORD size = kSha256Size;
  if (!CertGetCertificateContextProperty(certificate, CERT_SHA256_HASH_PROP_ID, hash.data(), &size) &&
      !CryptHashCertificate2(L"SHA256", 0, nullptr, certificate->pbCertEncoded, certificate->cbCertEncoded,
                             hash.data(), &size))
    return {};
  std::string text;
  for (DWORD i = 0; i < size; ++i) {
    char digits[4];
    std::snprintf(digits, sizeof digits, i == 0 ? "%02X" : ":%02X", hash[i]);
    text += digits;
  }
  return text;
}

CertificateCheck CheckServerCertificate(PCCERT_CONTEXT certificate, const std::wstring& serverName) {
  CertificateCheck check{{}, CertificateFingerprint(certificate)};
  LPSTR serverUse[] = {const_cast<LPSTR>(szOID_PKIX_KP_SERVER_AUTH)};
  CERT_CHAIN_PARA request{};
  request.cbSize = sizeof request;
  request.RequestedUsage.dwType = USAGE_MATCH_TYPE_OR;
  request.RequestedUsage.Usage.cUsageIdentifier = 1;
  request.RequestedUsage.Usage.rgpszUsageIdentifier = serverUse;
  PCCERT_CHAIN_CONTEXT chain = nullptr;
  if (!CertGetCertificateChain(nullptr, certificate, nullptr, certificate->hCertStore, &request, 0, nullptr, &chain)) {
    AddPolicyProblem(check.Problems, GetLastError());
    if (check.Problems.empty()) check.Problems = "no certificate chain";
    return check;
  }
  // A chain that ends short of a root passes Wine's policy call: its trust status tells.
  for (const TrustProblem& problem : kChainProblems)
    if ((chain->TrustStatus.dwErrorStatus & problem.Bits) != 0) Add(check.Problems, problem.Name);
  AddPolicyProblem(check.Problems, PolicyError(chain, serverName, false));
  AddPolicyProblem(check.Problems, PolicyError(chain, serverName, true));
  CertFreeCertificateChain(chain);
  return check;
}
