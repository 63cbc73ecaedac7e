// Text in any language through every conversion below the note window: UTF-8 and UTF-16, the
// ANSI code page, plain text files and mail. One table of texts runs through each path.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "mail/mail_encoding.h"
#include "notes/note_file.h"
#include "scratch_folder.h"
#include "smtp_harness.h"
#include "storage/file_io.h"
#include "storage/text_encoding.h"
#include "win/unicode.h"

namespace {

struct Sample {
  const char* name;
  std::string text;
  bool inWesternCodePage;  // Windows-1252 holds it
};

std::string Long() {
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "日本語 ab😀\u05e9e\u0301";  // 10 characters
  return text;
}

const Sample kSamples[] = {
    {"ascii", "Plain text, 1+1=2 ~", true},
    {"western", "Grüße, café – “naïve” €½", true},
    {"cjk", "日本語のメモ 中文 한국어", false},
    {"emoji", "Party 🎉 😀 𝄞", false},
    {"rtl", "שלום עולם مرحبا", false},
    {"combining", "e\u0301 a\u0308 n\u0303", false},
    {"long", Long(), false},
};

// The code page of this run: 1252 natively and under Wine by default, 1251 in the Russian run.
const bool kWestern = win::Utf8FromAnsi("\xFC").text == "ü";

TEST(UnicodeText, Utf16RoundTripAndKnownUnits) {
  for (const Sample& s : kSamples) EXPECT_EQ(win::Utf8FromUtf16(win::Utf16FromUtf8(s.text)), s.text) << s.name;
  EXPECT_EQ(win::Utf16FromUtf8("a\u00e9😀"), (std::u16string{u'a', 0xE9, 0xD83D, 0xDE00}));
  // Broken input comes through as U+FFFD, one for each byte that starts no character.
  const std::pair<std::string, std::u16string> broken[] = {
      {"\xFF", u"\uFFFD"}, {"a\xC3", u"a\uFFFD"}, {"\xC0\xAF", u"\uFFFD\uFFFD"}, {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"}};
  for (const auto& [utf8, units] : broken) {
    EXPECT_EQ(win::Utf16FromUtf8(utf8), units);
    EXPECT_FALSE(win::IsValidUtf8(utf8));
  }
  EXPECT_EQ(win::Utf8FromUtf16(std::u16string{0xD800, u'a'}), "\uFFFDa");
}

TEST(UnicodeText, AnsiCodePageIsExactOnlyForWhatItHolds) {
  for (const Sample& s : kSamples) {
    const win::CodePageText ansi = win::AnsiFromUtf8(s.text);
    if (kWestern) { EXPECT_EQ(ansi.exact, s.inWesternCodePage) << s.name; }
    if (ansi.exact) { EXPECT_EQ(win::Utf8FromAnsi(ansi.text).text, s.text) << s.name; }
    if (!ansi.exact) { EXPECT_NE(ansi.text.find('?'), std::string::npos) << s.name; }  // no look-alike
  }
  if (kWestern) { EXPECT_EQ(win::AnsiFromUtf8("café €").text, "caf\xE9 \x80"); }
  EXPECT_EQ(win::AnsiFromUtf8("\xFF").exact, false);
  // The Russian run's code page holds Cyrillic: the 8-bit items are the user's own.
  const win::CodePageText cyrillic = win::AnsiFromUtf8("Привет");
  EXPECT_EQ(cyrillic.exact, !kWestern);
  if (!kWestern) { EXPECT_EQ(cyrillic.text, "\xCF\xF0\xE8\xE2\xE5\xF2"); }
}

TEST(UnicodeText, TextFilesReadBackWhatWasWrittenInTheOldBytesWhereTheyHoldIt) {
  ScratchFolder folder;
  for (const Sample& s : kSamples) {
    const std::string bytes = FileBytesOfText(s.text);
    EXPECT_EQ(TextOfFileBytes(bytes), s.text) << s.name;
    if (kWestern) { EXPECT_EQ(bytes == std::string(kUtf8ByteOrderMark) + s.text, !s.inWesternCodePage) << s.name; }
    SavePlainTextFile(folder.file("t.txt"), s.text + "\r\n");
    EXPECT_EQ(LoadPlainTextFile(folder.file("t.txt")), s.text + "\r\n") << s.name;
  }
  EXPECT_EQ(FileBytesOfText("ab"), "ab");
  // Text whose 8-bit form would read as UTF-8, or as a UTF-16 mark, goes as UTF-8.
  for (const std::string text : {"Ã©", "ÿþa"})
    if (kWestern) { EXPECT_EQ(FileBytesOfText(text), std::string(kUtf8ByteOrderMark) + text); }

  const auto utf16 = [](const std::string& text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : win::Utf16FromUtf8(text)) {
      const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
      bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
  };
  for (const Sample& s : kSamples) {
    EXPECT_EQ(TextOfFileBytes(utf16(s.text, false)), s.text) << s.name;
    EXPECT_EQ(TextOfFileBytes(utf16(s.text, true)), s.text) << s.name;
    EXPECT_EQ(TextOfFileBytes(std::string(kUtf8ByteOrderMark) + s.text), s.text) << s.name;
  }
  EXPECT_EQ(TextOfFileBytes(std::string("\xFF\xFE" "a\x00" "b", 5)), "a\uFFFD");  // half a character at the end
  WritePlainFile(folder.file("u.txt"), utf16("a\nb\rc", false));
  EXPECT_EQ(LoadPlainTextFile(folder.file("u.txt")), "a\r\nb\r\nc");
  if (kWestern) {
    EXPECT_EQ(TextOfFileBytes("caf\xE9"), "café");
    EXPECT_EQ(TextOfFileBytes("\xEF\xBB\xBF" "caf\xE9"), "ï»¿café");  // not UTF-8 after all
  }
}

// A header field's lines as one text ("\n" after each), RFC 2047 words and RFC 2231 pieces
// decoded.
std::string Unfolded(std::string data, const std::string& field) {
  data.insert(0, "\r\n");  // the first field, too, follows a line break
  std::string value;
  const std::size_t start = data.find("\r\n" + field) + 2 + field.size();
  for (std::size_t at = start; at == start || data[at] == ' '; at = data.find("\r\n", at) + 2)
    value += data.substr(at, data.find("\r\n", at) - at) + "\n";
  value = std::regex_replace(value, std::regex(";\n filename\\*[1-9][0-9]*\\*="), "");
  value = std::regex_replace(value, std::regex("\\?=\n =\\?UTF-8\\?Q\\?"), "");  // between words nothing counts
  std::string decoded;
  bool inWord = false;
  for (std::size_t at = 0; at < value.size();) {
    if (value.compare(at, 10, "=?UTF-8?Q?") == 0 || (inWord && value.compare(at, 2, "?=") == 0)) {
      at += inWord ? 2 : 10;
      inWord = !inWord;
    } else if (value[at] == '%' || (inWord && value[at] == '=')) {
      decoded += static_cast<char>(std::stoi(value.substr(at + 1, 2), nullptr, 16));
      at += 3;
    } else {
      decoded += inWord && value[at] == '_' ? ' ' : value[at];
      ++at;
    }
  }
  return decoded;
}

std::string QuotedPrintableDecoded(const std::string& body) {
  std::string text;
  for (std::size_t at = 0; at < body.size(); ++at) {
    if (body.compare(at, 3, "=\r\n") == 0) at += 2;
    else if (body[at] == '=') text += static_cast<char>(std::stoi(body.substr(at + 1, 2), nullptr, 16)), at += 2;
    else text += body[at];
  }
  return text;
}

TEST(UnicodeText, MailDeclaresUtf8AndDecodesBackToTheText) {
  ScratchFolder folder;
  for (const Sample& s : kSamples) {
    std::size_t end = 0;  // the first hundred characters name the file
    for (int i = 0; i < 100 && end < s.text.size(); ++i) win::NextCodePoint(s.text, end);
    const std::string name = s.text.substr(0, end);
    const std::string path = folder.path() + "/" + name + ".kli";  // no narrow std::filesystem path
    const bool ascii = std::string_view(s.name) == "ascii";
    WriteFileAtomically(path, "x");
    SmtpHarness h;
    h.session.FROM_Name = name;
    h.session.Subject = name;
    h.session.MailText = {s.text};
    h.session.Attachments = {path};
    const std::string data = h.DataOf();
    EXPECT_EQ(Unfolded(data, "From: "), name + " <me@example.com>\n") << s.name;
    EXPECT_EQ(Unfolded(data, "Subject: "), name + "  \n") << s.name;
    const std::string fileName = ascii ? "; filename=\"" + name + ".kli\"\n" : ";\n filename*0*=UTF-8''" + name + ".kli\n";
    EXPECT_EQ(Unfolded(data, "Content-Disposition: attachment"), fileName) << s.name;
    const std::string type = TextContentType(ascii) + "\r\n";
    const std::size_t body = data.find("\r\n\r\n", data.find(type)) + 4;
    const std::string sent = data.substr(body, data.find("\r\n--==", body) - body);
    EXPECT_EQ(ascii ? sent : QuotedPrintableDecoded(sent), s.text + "\r\n") << s.name;
  }
}

}  // namespace
