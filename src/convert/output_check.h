// Whether a converter's output is whole: a program that was stopped, or that
// ran out of space, can leave a file that starts right and ends early.
#pragma once

#include <string>

namespace qv5::convert {

// An Ogg file read to its end: nothing but whole pages with sound checksums,
// every logical stream begun and ended (its end-of-stream page is there).
bool CompleteOgg(const std::string& path);

// A RIFF/WAVE file whose sizes match the file: the RIFF size covers it
// exactly, and its chunks, the format and the data among them, fill it.
bool CompleteWav(const std::string& path);

}  // namespace qv5::convert
