#pragma once
// The hand-over list: a second start of the program writes the paths it was given into
// "file.tmp" in its program folder, one per line, and the running instance opens them.
#include <string>
#include <vector>

// The list's path: the program folder followed by "\file.tmp".
std::string HandOverListPath(const std::string& programFolder);

// The list is 8-bit text of the ANSI code page, as other programs may write it; the paths here are
// UTF-8. A file whose name the code page does not hold passes by its short name, and comes back
// by its long one.

// Creates or empties the list and writes each path followed by CR LF; no path gives an empty file.
void WriteHandOverList(const std::string& path, const std::vector<std::string>& paths);

// The paths of the list in order. A line ends at CR LF, CR or LF; blank lines name no file and
// are left out. Throws EInOutError when the list cannot be read.
std::vector<std::string> ReadHandOverList(const std::string& path);
