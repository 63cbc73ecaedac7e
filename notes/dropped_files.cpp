#include "notes/dropped_files.h"

#include <iterator>
#include <utility>

DroppedFileRoute RouteDroppedFiles(std::vector<std::string> paths) {
  DroppedFileRoute route;
  if (paths.empty()) return route;
  route.IntoNote = std::move(paths.front());
  route.AsNewNotes.assign(std::make_move_iterator(paths.begin() + 1), std::make_move_iterator(paths.end()));
  return route;
}
