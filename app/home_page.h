#pragma once
// The maker's home page: opened from the tray's help menu and named in every mailed note.
inline constexpr const char kHomePage[] = "https://example.org/qkli/";
