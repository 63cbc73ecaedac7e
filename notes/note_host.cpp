#include "notes/note_host.h"

#include "win/error_box.h"

NoteSuspension::~NoteSuspension() {
  win::ShowingErrors([this] { host_.ResumeNotes(); });
}
