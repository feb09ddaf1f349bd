// Media files made by the tests, and recording stand-ins for the external
// converters, in a temporary game folder.
#pragma once

#include <QImage>
#include <string>
#include <vector>

#include "config/tool_settings.h"
#include "support/temp_game.h"

namespace qv5::test {

// A short 16-bit mono PCM wav; `seed` varies the samples.
std::string WavBytes(int seed = 0);
// A real ogg made from WavBytes by the real encoder at `relative`.
void WriteOgg(const TempGame& game, const std::string& relative, int seed = 0);
// A 16-bit mono wav of `seconds` of noise at 44.1 kHz: its ogg is large.
std::string NoiseWav(int seconds, int seed = 0);

// A picture with every pixel distinct enough to notice a change.
QImage TestPicture(int width = 7, int height = 5, int seed = 0);
// An 8-bit indexed picture with a colour table of its own.
QImage IndexedPicture();
std::string Encode(const QImage& image, const char* format);
// The file at `relative` as a picture; null when it cannot be read.
QImage ReadPicture(const TempGame& game, const std::string& relative);
// Same size and the same colour at every pixel.
bool SamePixels(const QImage& a, const QImage& b);

// The real vorbis-tools programs as the tool settings name them.
std::string RealEncoder();  // internal path of oggenc, empty when missing
std::string RealDecoder();

// A shell script at `relative` (made executable) that appends one line per
// run to `relative`.log: its arguments separated by tabs; then runs `action`.
void WriteFakeProgram(const TempGame& game, const std::string& relative,
                      const std::string& action = "");
// The runs a fake program recorded, each its argument list.
std::vector<std::vector<std::string>> FakeRuns(const TempGame& game, const std::string& relative);

// Every file below `relative` (host names relative to it, "/"-separated), sorted.
std::vector<std::string> FilesBelow(const TempGame& game, const std::string& relative);

ToolSettings Tools(const std::string& encoder, const std::string& decoder = "",
                   const std::string& encoder_options = "-Q -q 6",
                   const std::string& decoder_options = "-Q");

}  // namespace qv5::test
