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

struct Sample { const char* name; std::string text; bool inWesternCodePage; /* Windows-1252 holds it */ };

std::string Long(std::string text = "") {  // 200 000 characters
  while (text.size() < 20000 * 21) text += "日本語 ab😀\u05e9e\u0301";
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
  for (const auto& [utf8, units] : {std::pair<std::string, std::u16string>{"\xFF", u"\uFFFD"}, {"a\xC3", u"a\uFFFD"},
                                    {"\xC0\xAF", u"\uFFFD\uFFFD"}, {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"}})
    EXPECT_TRUE(win::Utf16FromUtf8(utf8) == units && !win::IsValidUtf8(utf8)) << utf8;
  EXPECT_EQ(win::Utf8FromUtf16(std::u16string{0xD800, u'a'}), "\uFFFDa");
}

TEST(UnicodeText, AnsiCodePageIsExactOnlyForWhatItHolds) {
  for (const Sample& s : kSamples) {
    const win::CodePageText ansi = win::AnsiFromUtf8(s.text);
    if (kWestern) { EXPECT_EQ(ansi.exact, s.inWesternCodePage) << s.name; }
    // Exact comes back whole; inexact has "?" for what is missing, never a look-alike.
    EXPECT_TRUE(ansi.exact ? win::Utf8FromAnsi(ansi.text).text == s.text : ansi.text.find('?') != std::string::npos);
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
  const auto utf16 = [](const std::string& text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : win::Utf16FromUtf8(text))
      bytes += bigEndian ? std::string{char(unit >> 8), char(unit)} : std::string{char(unit), char(unit >> 8)};
    return bytes;
  };
  for (const Sample& s : kSamples) {
    const std::string bytes = FileBytesOfText(s.text);
    EXPECT_EQ(TextOfFileBytes(bytes), s.text) << s.name;
    if (kWestern) { EXPECT_EQ(bytes == std::string(kUtf8ByteOrderMark) + s.text, !s.inWesternCodePage) << s.name; }
    for (const std::string& other : {utf16(s.text, false), utf16(s.text, true), std::string(kUtf8ByteOrderMark) + s.text})
      EXPECT_EQ(TextOfFileBytes(other), s.text) << s.name;
    SavePlainTextFile(folder.file("t.txt"), s.text + "\r\n");
    EXPECT_EQ(LoadPlainTextFile(folder.file("t.txt")), s.text + "\r\n") << s.name;
  }
  // Text whose 8-bit form would read as UTF-8, or as a UTF-16 mark, goes as UTF-8.
  for (const std::string text : {"Ã©", "ÿþa"})
    EXPECT_TRUE(!kWestern || FileBytesOfText(text) == std::string(kUtf8ByteOrderMark) + text) << text;
  WritePlainFile(folder.file("u.txt"), utf16("a\nb\rc", false));
  EXPECT_EQ(LoadPlainTextFile(folder.file("u.txt")), "a\r\nb\r\nc");
  EXPECT_TRUE(!kWestern || TextOfFileBytes("\xEF\xBB\xBF" "caf\xE9") == "ï»¿café");  // not UTF-8 after all
  EXPECT_EQ(FileBytesOfText("caf\xE9"), "caf\xE9");  // not converted: kept as it is
}

// A note of the text, or with `seen` as a reader of its 8-bit items sees it ("?" for what is missing).
NoteData NoteOf(const std::string& text, bool seen = false) {
  const auto as = [&](std::string t) { return seen ? win::Utf8FromAnsi(win::AnsiFromUtf8(t).text).text : t; };
  NoteData note;
  for (std::size_t at = 0, start = 0; at < text.size() && note.Lines.size() < 255; start = at) {
    for (int n = 0; n < 60 && at < text.size(); ++n) win::NextCodePoint(text, at);
    note.Lines.push_back(as(text.substr(start, at - start)));
  }
  const std::string name = as(text.substr(0, text.find(' ', 20)));
  std::tie(note.FileName, note.MailSubject, note.MailTo, note.Alarm.When) = std::tuple(name, name, name, 46362.5);
  return note;
}

TEST(UnicodeText, NoteFileKeepsEveryTextWhileOlderReadersReadTheCodePage) {
  ScratchFolder folder;
  const std::string path = folder.file("n.kli");
  LocalePictures greek;  // the date texts are 8-bit text too; older readers read what the code page holds
  std::tie(greek.shortDate, greek.monthNames[11]) = std::tuple("d MMMM yyyy", "Δεκεμβρίου");
  const auto load = [&](const std::string& bytes, NoteData note = {}) {
    int itemsRead = 0;
    WritePlainFile(path, bytes);
    return LoadNoteFile(path, note, itemsRead, greek), note;
  };
  for (const Sample& s : kSamples) {
    const NoteData note = NoteOf(s.text), seen = NoteOf(s.text, true);
    NoteData edited = seen;
    edited.Lines[0][0] ^= 1;
    std::string whole, older, other;
    for (const auto& [data, bytes] : {std::pair{&note, &whole}, {&seen, &older}, {&edited, &other}})
      SaveNoteFile(path, *data, greek), *bytes = ReadWholeFile(path);
    EXPECT_EQ(load(whole), note) << s.name;
    EXPECT_EQ(whole.substr(0, older.size()), older) << s.name;
    EXPECT_NE(older.find("6 " + win::AnsiFromUtf8("Δεκεμβρίου").text + " 2026"), std::string::npos);
    if (kWestern) { EXPECT_EQ(whole == older, s.inWesternCodePage) << s.name; }
    EXPECT_EQ(load(whole.substr(0, whole.size() - 3)), seen) << s.name;
    EXPECT_EQ(load(other + whole.substr(older.size())), edited) << s.name;
  }
}

// Quoted-printable and "=?UTF-8?Q?...?=" words (those of a folded header joined) decoded.
std::string Decoded(std::string text) {
  text = std::regex_replace(text, std::regex("\\?=\r\n =\\?UTF-8\\?Q\\?|=\r\n|=\\?UTF-8\\?Q\\?|\\?="), "");
  std::string out;
  for (std::size_t at = 0; at < text.size(); at += text[at] == '=' ? 3 : 1)
    out += text[at] == '=' ? static_cast<char>(std::stoi(text.substr(at + 1, 2), nullptr, 16)) : text[at];
  return out;
}

TEST(UnicodeText, MailDeclaresUtf8AndDecodesBackToTheText) {
  for (const Sample& s : kSamples) {
    SmtpHarness h;
    h.session.Subject = s.text.substr(0, 600);  // whole characters: the long text ends with "ab" there
    h.session.MailText = {s.text};
    const std::string data = h.DataOf();
    const bool ascii = std::string_view(s.name) == "ascii";
    const std::size_t subject = data.find("Subject: ") + 9, type = data.find(TextContentType(ascii));
    const std::string header = data.substr(subject, data.find("  \r\n", subject) - subject);
    EXPECT_EQ(ascii ? header : Decoded(std::regex_replace(header, std::regex("_"), " ")), h.session.Subject) << s.name;
    const std::size_t body = data.find("\r\n\r\n", type) + 4;
    const std::string sent = data.substr(body, data.size() - body - 5);  // up to the empty line and "."
    EXPECT_EQ(ascii ? sent : Decoded(sent), s.text + "\r\n") << s.name;
  }
}

}  // namespace
