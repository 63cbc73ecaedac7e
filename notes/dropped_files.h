#pragma once
// Where the files dropped on a note go: the first is read into the note, every other one opens
// as a note of its own, in the order of the drop. Portable.
#include <optional>
#include <string>
#include <vector>

struct DroppedFileRoute {
  std::optional<std::string> IntoNote;
  std::vector<std::string> AsNewNotes;
};

DroppedFileRoute RouteDroppedFiles(std::vector<std::string> paths);
