// A pause at a named point of the program, for the tests that run two
// processes beside each other and need one of them held at a chosen moment.
//
// With QV5_PAUSE="<point>:<host file>" in the environment, the first time
// the process reaches PauseAt("<point>") it creates "<host file>.here" and
// waits until "<host file>" exists. Without the variable, or at any other
// point, PauseAt does nothing.
#pragma once

namespace qv5 {

void PauseAt(const char* point);

}  // namespace qv5
