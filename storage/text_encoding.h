#pragma once
// The bytes of a plain text file. Files from other programs come in UTF-8 (with or without a
// byte-order mark), UTF-16 with its mark, or the ANSI code page of older programs; the program
// writes what older readers read (the ANSI code page) whenever that holds the text exactly,
// and UTF-8 with a byte-order mark otherwise, so no character is ever lost.
#include <string>
#include <string_view>

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// The text (UTF-8) of a file's bytes: UTF-16 little or big endian by its mark; UTF-8 when the
// bytes after an optional mark are valid UTF-8; the ANSI code page otherwise.
std::string TextOfFileBytes(std::string_view bytes);

// The bytes a text (UTF-8) is written as; TextOfFileBytes gives the same text back. Bytes that
// are not UTF-8 are written unchanged.
std::string FileBytesOfText(std::string_view text);
