#include "notes/note_host.h"

#include <stdexcept>

#include "win/error_box.h"

namespace {
NoteHost* attachedController = nullptr;
}  // namespace

NoteHost& Controller() {
  if (attachedController == nullptr) throw std::logic_error("No controller is attached to the notes");
  return *attachedController;
}

NoteHost* AttachedController() { return attachedController; }

void AttachController(NoteHost* host) { attachedController = host; }

NoteSuspension::~NoteSuspension() {
  win::ShowingErrors([] { Controller().ResumeNotes(); });
}
