// Converting the media files of a folder tree: wav and ogg through the
// configured external encoder and decoder, bmp and png through QImage. A
// source file is deleted only once this run has written its own converted
// twin, whole (and the converter exited 0). Folder paths are internal paths,
// with or without a trailing "\".
#pragma once

#include <string>
#include <vector>

#include "platform/progress.h"

namespace qv5 {

// What a pass did. The window shows none of it; the command line prints it.
struct ConversionReport {
    bool program_missing = false;   // nothing was done
    bool stopped = false;           // ended early on a stop request
    long converted = 0;             // sources replaced by their converted twin
    long runs = 0;                  // external program runs
    long not_started = 0;           // runs that could not start
    std::vector<std::string> kept;  // sources left in place (internal paths)
};

// The command lines, exactly as the programs are given them.
std::string EncoderCommandLine(const std::string& program, const std::string& options,
                               const std::string& wav_path);
std::string DecoderCommandLine(const std::string& program, const std::string& options,
                               const std::string& folder_with_separator);

// Whether the configured program can be found: a path that exists, or a
// bare name found on PATH as the process runner would. Empty never exists.
bool ConverterExists(const std::string& program);

// Each pass first checks its program (encoder for wav to ogg and combined,
// decoder for ogg to wav) and does nothing when it is missing. Up to one
// converter per processor runs at once. When `progress` asks to stop, no
// more files start and the running converters finish (a hung one is ended,
// its source kept).
ConversionReport ConvertWavToOgg(const std::string& folder, const std::string& encoder,
                                 const std::string& options, Progress& progress);
ConversionReport ConvertOggToWav(const std::string& folder, const std::string& decoder,
                                 const std::string& options, Progress& progress);
// wav to ogg and bmp to png in one walk.
ConversionReport ConvertWavAndBmp(const std::string& folder, const std::string& encoder,
                                  const std::string& options, Progress& progress);

// Loads `source` (any format QImage reads), saves it as png or bmp after the
// last three letters of `destination`, replacing what is there, and deletes
// the source. Pixels, depth and colour table are kept. False when nothing
// was written; the source then stays.
bool ConvertImageFile(const std::string& source, const std::string& destination);

ConversionReport ConvertBmpToPng(const std::string& folder, Progress& progress);
ConversionReport ConvertPngToBmp(const std::string& folder, Progress& progress);

}  // namespace qv5
