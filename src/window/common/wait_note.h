// The small modal note shown while the program waits for another program
// (the game body, an encoder, an editor) without a time limit.
#pragma once

class QWidget;

namespace qv5 {

// Makes the process runner show the note over `owner` while it waits, and
// keep the windows painted. It takes no other input until the program ends.
// Notices about a start (a missing Wine locale) come as a message box over
// `owner`.
void InstallWaitNote(QWidget* owner);

// The note's object name, for tests that look for it.
inline constexpr const char* kWaitNoteName = "WaitNote";

}  // namespace qv5
