#pragma once
// The mail password as the configuration file keeps it: encrypted for the user who runs the
// program (CryptProtectData), so that the file alone gives nobody the password. The plain text
// lives only as long as a sign-in needs it.
#include <cstdint>
#include <string_view>
#include <vector>

#include "mail/secret_text.h"

// Empty when the system cannot encrypt.
std::vector<std::uint8_t> ProtectPassword(std::string_view password);
// Empty when `stored` is empty or not readable for this user (a file from another account).
SecretText UnprotectPassword(const std::vector<std::uint8_t>& stored);
