#pragma once
// The notes folder "cache" beside the program: one store file per open note.
#include <string>
#include <vector>

std::string NotesFolderOf(const std::string& programFolder);  // programFolder + "\cache"

// Makes the folder when it is missing and removes the temporary files an interrupted save left
// there (their targets, the previous store files, are intact). A note file whose name has
// characters outside the ANSI code page and that has no short name either (a volume that makes
// no 8.3 names) is renamed to the nearest name the code page holds, so that it is restored
// too. Run before anything writes.
void PrepareNotesFolder(const std::string& folder);

// The plain files named "*.kli" in `folder`, sorted by name without regard to case. Only names
// that really end in ".kli" count: the short-name match of Windows would also bring
// "a.klix" or a note kept aside as "x.kli.damaged".
// Each comes (in UTF-8) as a name that the ANSI code page holds, since a note file keeps its
// name as 8-bit text: its own name, or, when that has characters outside the code page
// ("uni-😀-名.kli"), its short 8.3 name. A file written under its short name through the safe
// write keeps its own name.
// Opening may still fail (a file held by another program, no access): check with
// RequireReadableFile before building a note on it, so that no empty note takes its place.
std::vector<std::string> NoteFileNames(const std::string& folder);

// Renames the note file `wideName` in `folder` to its name in the ANSI code page, with "_" for
// each character the code page lacks and "-2", "-3", ... before ".kli" when that name is
// taken. Returns the new name (UTF-8); throws std::runtime_error when the rename fails.
std::string GiveAnsiName(const std::string& folder, const std::wstring& wideName);
