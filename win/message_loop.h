#pragma once
// The program's message loop, shared by the main loop, every modal form and the sending of
// mail (which keeps the windows alive between the pieces it hands to the socket). A message
// first goes to the window it is for (or the top-level window that holds that control): its
// accelerators, or a form's keyboard navigation; only then is it translated and dispatched.
// The loop is a wide one, so a typed or pasted character reaches a Unicode window (the note's
// edit box) whole; Windows converts the characters for the windows that are ANSI.
#include <windows.h>

#include <functional>

namespace win {

void ProcessMessage(MSG& msg);

// Until WM_QUIT; returns its exit code.
int RunMessageLoop();

// Until `done()` holds (checked after every message) or WM_QUIT arrives; a WM_QUIT is posted
// again so that the loop outside ends too. Returns false when it ended for WM_QUIT.
bool RunMessageLoopUntil(const std::function<bool()>& done);

// Handles the messages that are waiting now and returns; a WM_QUIT among them is posted again.
void ProcessWaitingMessages();

}  // namespace win
