// The wav and ogg passes. The encoder runs once per wav, the decoder once per
// folder, as many side by side as there are processors; each run has ended
// before the pass looks at what it wrote. A source goes only when the
// converter exited 0 and wrote the source's own twin, whole: an output left
// from before keeps the source, and one that this run cut short or wrote for a
// failed run is removed while the source stays.
#include <algorithm>
#include <map>
#include <string_view>

#include "convert/conversion.h"
#include "convert/convert_walk.h"
#include "convert/output_check.h"
#include "platform/files.h"
#include "platform/process.h"
#include "platform/text.h"
#include "platform/win_path.h"

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

// After the encoder of `path` has ended: its ogg, written by this run, must
// be whole for the wav to go.
void SettleEncoded(Pass& pass, const std::string& folder, const std::string& path,
                   const std::optional<std::string>& written, bool exited_zero) {
    const bool complete = exited_zero && written && convert::CompleteOgg(folder + *written);
    if (written && !complete) DeletePath(folder + *written);
    if (complete && DeletePath(path))
        pass.Converted();
    else
        pass.Kept(path);
}

void EncodeOne(Pass& pass, const std::string& folder, const std::string& name, Tool tool) {
    const std::string path = folder + name;
    if (!pass.BeginSource(path)) return;
    const std::string output = convert::ReplaceLastThree(LowerAscii(name), "ogg");
    // A second source of that name (case ignored) would share the first one's ogg.
    if (Unquotable(path) || !pass.Claim(folder, output)) {
        pass.Kept(path);
        return;
    }
    const convert::Snapshot before = convert::TakeSnapshot(folder, output);
    pass.RunConverter(EncoderCommandLine(tool.program, tool.options, path),
                      [&pass, folder, path, output, before](bool exited_zero) {
                          SettleEncoded(pass, folder, path, convert::WrittenSince(before, output),
                                        exited_zero);
                      });
}

// Depth first in listing order; entries the system marks as its own are left.
// After a stop the walk goes on only to name the sources it keeps.
void WavToOgg(Pass& pass, const std::string& folder_in, Tool tool) {
    const std::string folder = WinPath(folder_in).AsFolder().text();
    for (const DirEntry& e : convert::ListEntries(folder)) {
        if (e.system) continue;
        if (e.directory)
            WavToOgg(pass, WinPath(folder).Join(e.name).AsFolder().text(), tool);
        else if (EndsWithIgnoringCase(e.name, ".wav"))
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

// The stem of a name: all but its last three letters.
std::string_view Stem(std::string_view name) {
    return name.substr(0, name.size() - 3);
}

// After the decoder of `folder` has ended. The oggs whose wav has the same
// name (case ignored) form a group; a lone ogg takes the wav of that name
// this run wrote, whatever its case, while twins (a.ogg, A.OGG) each need
// their own (a.wav, A.wav): when one of them has none, the decoder wrote two
// into one file and no twin can tell which it holds, so all stay. What this
// run wrote for an ogg that stays is removed.
void SettleDecoded(Pass& pass, const std::string& folder, const convert::Snapshot& before,
                   bool exited_zero) {
    std::map<std::string, std::vector<std::string>> groups;  // by lower-case wav name
    std::vector<std::string> written;
    for (const DirEntry& e : convert::ListEntries(folder)) {
        if (e.directory) continue;
        if (EndsWithIgnoringCase(e.name, "ogg"))
            groups[LowerAscii(convert::ReplaceLastThree(e.name, "wav"))].push_back(e.name);
        if (convert::WrittenSince(before, e)) written.push_back(e.name);
    }
    for (const auto& [wav, oggs] : groups) {
        std::vector<std::string> outputs;
        for (const std::string& w : written)
            if (LowerAscii(w) == wav) outputs.push_back(w);
        std::vector<std::string> own(oggs.size());
        bool each_own = true;
        for (size_t i = 0; i < oggs.size(); ++i) {
            for (const std::string& w : outputs)
                if ((oggs.size() == 1 && own[i].empty()) || Stem(w) == Stem(oggs[i])) own[i] = w;
            for (size_t j = 0; j < oggs.size(); ++j)
                if (j != i && Stem(oggs[j]) == Stem(oggs[i])) own[i].clear();
            each_own = each_own && !own[i].empty();
        }
        std::vector<std::string> kept_outputs;
        for (size_t i = 0; i < oggs.size(); ++i) {
            const bool complete = exited_zero && each_own && convert::CompleteWav(folder + own[i]);
            if (complete) kept_outputs.push_back(own[i]);
            if (complete && DeletePath(folder + oggs[i]))
                pass.Converted();
            else
                pass.Kept(folder + oggs[i]);
        }
        for (const std::string& w : outputs)
            if (std::find(kept_outputs.begin(), kept_outputs.end(), w) == kept_outputs.end())
                DeletePath(folder + w);
    }
}

// After a stop the walk goes on only to name the oggs it keeps.
void OggToWav(Pass& pass, const std::string& folder_in, Tool tool) {
    const std::string folder = WinPath(folder_in).AsFolder().text();
    const std::vector<DirEntry> entries = convert::ListEntries(folder);
    if (!pass.Begin(folder)) {
        for (const DirEntry& e : entries)
            if (!e.directory && EndsWithIgnoringCase(e.name, "ogg")) pass.Kept(folder + e.name);
    } else if (Unquotable(folder)) {
        SettleDecoded(pass, folder, FolderSnapshot(folder), false);
    } else {
        const convert::Snapshot before = FolderSnapshot(folder);
        pass.RunConverter(DecoderCommandLine(tool.program, tool.options, folder),
                          [&pass, folder, before](bool exited_zero) {
                              SettleDecoded(pass, folder, before, exited_zero);
                          });
    }
    for (const DirEntry& e : entries)
        if (e.directory) OggToWav(pass, WinPath(folder).Join(e.name).AsFolder().text(), tool);
}

void WavAndBmp(Pass& pass, const std::string& folder_in, Tool tool) {
    const std::string folder = WinPath(folder_in).AsFolder().text();
    for (const DirEntry& e : convert::ListEntries(folder)) {
        if (e.system) continue;
        if (e.directory) {
            WavAndBmp(pass, WinPath(folder).Join(e.name).AsFolder().text(), tool);
        } else if (EndsWithIgnoringCase(e.name, ".wav")) {
            EncodeOne(pass, folder, e.name, tool);
        } else if (EndsWithIgnoringCase(e.name, ".bmp")) {
            // The name is written in lower case, as this pass always has.
            convert::ConvertOneImage(pass, folder, e.name,
                                     convert::ReplaceLastThree(LowerAscii(e.name), "png"));
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
    pass.FinishConverters();
    // A stop during the last files still ended or cut the pass short.
    if (progress.StopRequested()) pass.report().stopped = true;
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
