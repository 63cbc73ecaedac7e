#pragma once
// Reading and writing a note: the note file (".kli", a fixed sequence of record-file values)
// and the plain text file (the edit box's text only).

#include <string>
#include <string_view>
#include <vector>

#include "notes/note_data.h"
#include "storage/date_time_text.h"

// True when ".kli" occurs anywhere in the lower-cased path (so "a.kli.txt" and
// "report.kli.bak" are note files too); otherwise the path is a plain text file.
bool IsNoteFilePath(std::string_view path);

// Writes the 31 values of a note file through a safe write (temporary file + rename), so a
// failure leaves the previous file as it was. Returns false when a string or list had to be
// clipped to the format's 255 limit (the file is still complete and readable); the caller then
// still holds the full text. Write errors throw EInOutError.
bool SaveNoteFile(const std::string& path, const NoteData& note,
                  const LocalePictures& pictures = UserLocalePictures());

// Reads items 1..21 into `note`, applying each item as soon as it is read; `itemsRead` counts
// the items applied. On a failure the exception (EQuorFileError, EInOutError, EConvertError)
// propagates: `note` then holds the items read before it and everything else unchanged (a list
// that fails half-way is not applied), and `itemsRead` tells the caller how far to apply.
// The reserved items 22..31 are not read, so a file cut after item 21 loads completely.
// The font size comes back positive; left and top come back signed.
// `StoreName` comes back as the file holds it: a note that opens some other note file (Open,
// a dropped file) must keep its own store name, or two open notes end up writing one store file.
void LoadNoteFile(const std::string& path, NoteData& note, int& itemsRead,
                  const LocalePictures& pictures = UserLocalePictures());

// The displayed lines of an edit box as the note file keeps them: an empty last line (text
// that ends with a line break, or no text at all) is not a line of its own.
std::vector<std::string> LinesToStore(std::vector<std::string> displayedLines);

// Plain text files hold the edit box's whole text with CR LF line ends.
std::string NormalizeLineBreaks(std::string_view text);   // lone CR and lone LF -> CR LF
std::string EditTextFromLines(const std::vector<std::string>& lines);  // lines joined by CR LF
// The paragraphs of an edit box's text (split at CR LF, not as the box wraps them); a text that
// ends with a line break has no empty last line.
std::vector<std::string> LinesOfEditText(std::string_view text);
std::string JoinEditLines(const std::vector<std::string>& lines);  // each line followed by CR LF (TextLabel)
// The text is UTF-8 either way; the file's bytes are those of storage/text_encoding.h.
std::string LoadPlainTextFile(const std::string& path);   // whole file, line breaks normalised
void SavePlainTextFile(const std::string& path, std::string_view text);   // safe write

// The date/time stamp line: short date, " , ", long time ("12/6/2026 , 2:26:00 PM").
std::string DateTimeStamp(QDateTime now, const LocalePictures& pictures);
