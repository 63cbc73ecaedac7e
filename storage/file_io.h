#pragma once
// Whole-file reading and the safe write every file of the program goes through: the bytes go to
// a temporary file beside the target, are flushed to the disk, and one rename puts them in
// place, so a crash or a full disk never leaves a half-written file behind.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Appended to the target's name for the temporary file. Leftovers stay recognisable, and the
// name never matches "*.kli", not even through its 8.3 short name (its extension is "TMP").
inline constexpr std::string_view kTemporarySuffix = ".tmp~";

std::string TemporaryPathFor(const std::string& target);

// Throws EInOutError; the old file is then unchanged.
void WriteFileAtomically(const std::string& path, std::string_view bytes);

std::string ReadWholeFile(const std::string& path);  // throws EInOutError

bool FileExists(const std::string& path);  // a plain file, not a folder

// The name after the last folder or drive separator ("\\", "/" or ":"); the whole path when it
// has none.
std::string FileNamePart(std::string_view path);

// A-Z to a-z, every other byte as it is: names compared without regard to case the same way
// wherever the program compares them.
std::string AsciiLowerCase(std::string_view text);

// Throws the EInOutError that opening `path` for reading meets ("File not found", "File access
// denied", a sharing violation, ...). Something built on a file (a note on its store file) is
// checked first, so that a file that cannot be opened gets no empty stand-in.
void RequireReadableFile(const std::string& path);

// Deletes the temporaries that an interrupted write left in `folder` (their targets are the
// old, intact files) and returns how many went. Meant for start-up, before anything writes.
int RemoveLeftoverTemporaries(const std::string& folder);

// Makes `folder` and every folder above it that is missing ("\\" or "/" separate them).
void CreateFolderPath(const std::string& folder);

// The size of the plain file at `path`; nullopt when there is none.
std::optional<std::uint64_t> FileSize(const std::string& path);

// Moves `path` out of the way under `path` + `suffix`, or `path` + ".2" + `suffix`, ".3", ...:
// the first of these names no file holds. Returns where it went; empty when there was no file
// or it could not move.
std::string MoveAside(const std::string& path, std::string_view suffix);

// Deletes the file; true when no file is at `path` afterwards.
bool DeleteFileIfPresent(const std::string& path);
