#pragma once
// The notes folder "cache" beside the program: one store file per open note.
#include <string>
#include <vector>

std::string NotesFolderOf(const std::string& programFolder);  // programFolder + "\cache"

// Makes the folder when it is missing and removes the temporary files an interrupted save left
// there (their targets, the previous store files, are intact). Run before anything writes.
void PrepareNotesFolder(const std::string& folder);

// The plain files named "*.kli" in `folder`, sorted by name without regard to case. Only names
// that really end in ".kli" count: the short-name match of Windows would also bring
// "a.klix" or a note kept aside as "x.kli.damaged".
std::vector<std::string> NoteFileNames(const std::string& folder);
