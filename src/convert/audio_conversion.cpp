// The wav and ogg passes. The encoder runs once per wav, the decoder once per
// folder; each run is waited for before the pass looks for what it wrote. A
// source goes only when its twin was written by that run and holds data: an
// output left from before, or an empty one, keeps the source.
#include <string_view>

#include "convert/conversion.h"
#include "convert/convert_walk.h"
#include "platform/files.h"
#include "platform/process.h"
#include "platform/text.h"

namespace qv5 {
namespace {

using convert::Pass;

struct Tool {
    const std::string& program;
    const std::string& options;
};

// A name the command line cannot carry as one argument: a quote ends the
// quoting, and a wildcard would be expanded into other files' names.
bool Unquotable(std::string_view path) {
    return path.find_first_of("\"*?") != std::string_view::npos;
}

// Without an application name the system splits an unquoted program path at
// its blanks until a file is found; quoting does the same in one step.
std::string ProgramToken(const std::string& program) {
    if (program.find_first_of(" \t") == std::string::npos || program.find('"') != std::string::npos)
        return program;
    return "\"" + program + "\"";
}

void EncodeOne(Pass& pass, const std::string& folder, const std::string& name, Tool tool) {
    const std::string path = folder + name;
    if (!pass.Begin(path)) return;
    const std::string output = convert::ReplaceLastThree(convert::LowerName(name), "ogg");
    if (Unquotable(path) || pass.Produced(folder, output)) {
        pass.Kept(path);
        return;
    }
    const convert::Snapshot before = convert::TakeSnapshot(folder, output);
    std::optional<std::string> written;
    if (convert::RunConverter(pass, EncoderCommandLine(tool.program, tool.options, path)))
        written = convert::WrittenSince(before, output);
    if (written) pass.MarkProduced(folder, *written);
    if (written && DeletePath(path))
        pass.Converted();
    else
        pass.Kept(path);
}

// Depth first in listing order; entries the system marks as its own are left.
void WavToOgg(Pass& pass, const std::string& folder_in, Tool tool) {
    const std::string folder = convert::WithSeparator(folder_in);
    for (const DirEntry& e : convert::ListEntries(folder)) {
        if (pass.stopped()) return;
        if (e.system) continue;
        if (e.directory)
            WavToOgg(pass, folder + e.name + "\\", tool);
        else if (convert::EndsWithIgnoringCase(e.name, ".wav"))
            EncodeOne(pass, folder, e.name, tool);
    }
}

// Every file of the folder with its stamp, taken before the decoder runs.
convert::Snapshot FolderSnapshot(const std::string& folder) {
    convert::Snapshot s{folder, {}};
    for (const DirEntry& e : convert::ListEntries(folder))
        if (!e.directory)
            if (auto stamp = ChangeStamp(folder + e.name)) s.files.emplace_back(e.name, *stamp);
    return s;
}

void OggToWav(Pass& pass, const std::string& folder_in, Tool tool) {
    const std::string folder = convert::WithSeparator(folder_in);
    if (!pass.Begin(folder)) return;
    const convert::Snapshot before = FolderSnapshot(folder);
    if (!Unquotable(folder))
        convert::RunConverter(pass, DecoderCommandLine(tool.program, tool.options, folder));
    for (const DirEntry& e : convert::ListEntries(folder)) {
        if (e.directory) {
            // Once stopped, the oggs decoded here are still settled.
            if (!pass.stopped()) OggToWav(pass, folder + e.name + "\\", tool);
        } else if (convert::EndsWithIgnoringCase(e.name, "ogg")) {
            const std::string path = folder + e.name;
            const std::string output = convert::ReplaceLastThree(convert::LowerName(e.name), "wav");
            if (convert::WrittenSince(before, output) && DeletePath(path))
                pass.Converted();
            else
                pass.Kept(path);
        }
    }
}

void WavAndBmp(Pass& pass, const std::string& folder_in, Tool tool) {
    const std::string folder = convert::WithSeparator(folder_in);
    for (const DirEntry& e : convert::ListEntries(folder)) {
        if (pass.stopped()) return;
        if (e.system) continue;
        if (e.directory) {
            WavAndBmp(pass, folder + e.name + "\\", tool);
        } else if (convert::EndsWithIgnoringCase(e.name, ".wav")) {
            EncodeOne(pass, folder, e.name, tool);
        } else if (convert::EndsWithIgnoringCase(e.name, ".bmp")) {
            // The name is written in lower case, as this pass always has.
            convert::ConvertOneImage(pass, folder, e.name,
                                     convert::ReplaceLastThree(convert::LowerName(e.name), "png"));
        }
    }
}

template <typename Walk>
ConversionReport RunPass(const std::string& folder, const std::string& program,
                         const std::string& options, Progress& progress, Walk walk) {
    ConversionReport missing;
    missing.program_missing = true;
    if (!ConverterExists(program)) return missing;
    Pass pass(progress);
    walk(pass, folder, Tool{program, options});
    return std::move(pass.report());
}

}  // namespace

std::string EncoderCommandLine(const std::string& program, const std::string& options,
                               const std::string& wav_path) {
    return ProgramToken(program) + " " + options + " \"" + wav_path + "\"";
}

std::string DecoderCommandLine(const std::string& program, const std::string& options,
                               const std::string& folder_with_separator) {
    return ProgramToken(program) + " " + options + " \"" + folder_with_separator + "*.ogg\"";
}

bool ConverterExists(const std::string& program) {
    if (program.empty()) return false;
    if (PathExists(program)) return true;
    // A bare name is what the process runner looks for on PATH.
    const bool bare = program.find_first_of("\\/:") == std::string::npos;
    return bare && !FindOnPath(Cp932ToUtf8(program)).empty();
}

ConversionReport ConvertWavToOgg(const std::string& folder, const std::string& encoder,
                                 const std::string& options, Progress& progress) {
    return RunPass(folder, encoder, options, progress, WavToOgg);
}

ConversionReport ConvertOggToWav(const std::string& folder, const std::string& decoder,
                                 const std::string& options, Progress& progress) {
    return RunPass(folder, decoder, options, progress, OggToWav);
}

ConversionReport ConvertWavAndBmp(const std::string& folder, const std::string& encoder,
                                  const std::string& options, Progress& progress) {
    return RunPass(folder, encoder, options, progress, WavAndBmp);
}

}  // namespace qv5
