#pragma once
// Moving and resizing a note with the mouse, and the clicks on its picture buttons. Positions
// are taken relative to the part of the window under the mouse (the caption label, a picture,
// or the bare window), as the skin's move area and the edge band are measured; the part that
// got the press keeps the moves. The arithmetic is NoteMouseState's (notes/note_geometry.h);
// this owns the capture and the cursor and moves the window. Win32.
#include <windows.h>

#include <optional>

#include "look/skin_options.h"
#include "notes/note_geometry.h"
#include "notes/note_surface.h"

// A window's place and size on the screen.
WindowBox BoundsOf(HWND window);

class NoteMouse {
 public:
  // What the note does after a mouse message; the mouse has done the rest.
  struct Outcome {
    LRESULT Result = 0;
    bool StartEditing = false;  // a press outside the picture buttons
    bool Relayout = false;      // a resize step changed the window's size
    std::optional<NotePart> Clicked{};      // released with the left button where it was pressed
    std::optional<NotePart> ContextMenu{};  // likewise with the right button
  };

  NoteMouse(HWND window, const NoteSurface& surface) : window_(window), surface_(surface) {}

  // The press, move, release, capture and cursor messages of the note window; nullopt for any
  // other message.
  std::optional<Outcome> Handle(UINT msg, WPARAM wp, LPARAM lp, const TSkinOptions& look);
  // A mouse move over the edit box, in its client coordinates: the edges follow the mouse, the
  // edit box keeps its own cursor.
  void TextBoxMove(int x, int y, const TSkinOptions& look);

 private:
  Outcome Press(NotePart part, int x, int y, const TSkinOptions& look);
  Outcome Move(int x, int y, const TSkinOptions& look);
  Outcome Release();
  Outcome Apply(const NoteMouseEffect& effect);
  void ShowCursorOf(ResizeCursor cursor);

  HWND window_;
  const NoteSurface& surface_;
  NoteMouseState state_;
  bool changingBox_ = false;  // the window is being moved or sized by a mouse step
  bool pressed_ = false;
  NotePart pressedPart_ = NotePart::Window;
  ResizeCursor cursor_ = ResizeCursor::Arrow;
};
