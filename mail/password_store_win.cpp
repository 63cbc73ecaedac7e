#include "mail/password_store_win.h"

#include <windows.h>
#include <wincrypt.h>

namespace {

// Ties the blob to this use: another program of the same user that unprotects it without
// these bytes gets nothing.
constexpr char kEntropy[] = "qkli mail password";

DATA_BLOB Entropy() {
  return {sizeof kEntropy - 1, reinterpret_cast<BYTE*>(const_cast<char*>(kEntropy))};
}

}  // namespace

std::vector<std::uint8_t> ProtectPassword(std::string_view password) {
  DATA_BLOB plain{static_cast<DWORD>(password.size()), reinterpret_cast<BYTE*>(const_cast<char*>(password.data()))};
  DATA_BLOB entropy = Entropy();
  DATA_BLOB sealed{};
  if (!CryptProtectData(&plain, L"qkli mail", &entropy, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &sealed)) return {};
  std::vector<std::uint8_t> stored(sealed.pbData, sealed.pbData + sealed.cbData);
  LocalFree(sealed.pbData);
  return stored;
}

SecretText UnprotectPassword(const std::vector<std::uint8_t>& stored) {
  if (stored.empty()) return {};
  DATA_BLOB sealed{static_cast<DWORD>(stored.size()), const_cast<BYTE*>(stored.data())};
  DATA_BLOB entropy = Entropy();
  DATA_BLOB plain{};
  if (!CryptUnprotectData(&sealed, nullptr, &entropy, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &plain)) return {};
  SecretText password(std::string_view(reinterpret_cast<const char*>(plain.pbData), plain.cbData));
  SecureZeroMemory(plain.pbData, plain.cbData);
  LocalFree(plain.pbData);
  return password;
}
