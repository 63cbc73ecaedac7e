#pragma once
// What the controller does to every note at once. Each visits the notes from index 0 up, in
// that order; with no notes they do nothing.
#include "app/note_list.h"

// Shows or hides every note; a Closed note is never shown again.
void SetAllVisible(TQuorLista& notes, bool visible);
void SetAllOnTop(TQuorLista& notes, bool on);
// Moves every note to its cascade position on a screen `screenWidth` wide.
void CascadeNotes(TQuorLista& notes, int screenWidth);
// Deletes every note; their store files go with them.
void CloseAllNotes(TQuorLista& notes);
// Hides every note, remembering its visibility, while a modal dialog is open...
void SuspendNotes(TQuorLista& notes);
// ...and gives each back what it had (a shown note gets the focus in its text box).
void ResumeNotes(TQuorLista& notes);
// Every open note whose text box shows switches to its display.
void EndNoteEditing(TQuorLista& notes);
