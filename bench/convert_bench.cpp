// What running the encoders side by side gains: `QV5 convert wav2ogg` on a
// folder of wav files, against a shell loop running the same encoder with the
// same options on each file one after the other (and deleting the wav, as the
// conversion does). Prints the ratio; on a machine of N free processors it
// tends to 1/N. For reference it also times `xargs -P N` running the same
// encoder on N files at once: what the machine gives to parallel encoders at
// that moment (on a busy machine, where the scheduler shares the processors
// between sessions, hardly more than to one).
#include <stdlib.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "chart_gen.h"
#include "config/config_file.h"
#include "config/tool_settings.h"
#include "platform/paths.h"
#include "platform/process.h"

namespace {

constexpr const char* kOptions = "-Q -q 6";

void Put(std::string& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// `seconds` of a chord with some noise, 16-bit mono at 44.1 kHz.
std::string Wav(double seconds, int seed) {
    std::mt19937 noise(static_cast<unsigned>(seed));
    const int frames = static_cast<int>(44100 * seconds);
    std::string data;
    for (int i = 0; i < frames; ++i) {
        const double t = i / 44100.0, f = 220.0 + seed % 24 * 10;
        const double v = 6000 * std::sin(2 * M_PI * f * t) +
                         3000 * std::sin(2 * M_PI * 1.5 * f * t) +
                         static_cast<int>(noise() % 2001) - 1000;
        Put(data, static_cast<std::uint16_t>(static_cast<std::int16_t>(v)), 2);
    }
    std::string out = "RIFF";
    Put(out, 36 + data.size(), 4);
    out += "WAVEfmt ";
    Put(out, 16, 4);
    Put(out, 1, 2);
    Put(out, 1, 2);
    Put(out, 44100, 4);
    Put(out, 88200, 4);
    Put(out, 2, 2);
    Put(out, 16, 2);
    out += "data";
    Put(out, data.size(), 4);
    return out + data;
}

long Count(const std::string& dir, const char* extension) {
    long n = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        n += e.path().extension() == extension;
    return n;
}

}  // namespace

int main(int argc, char** argv) {
    const int files = argc > 1 ? std::atoi(argv[1]) : 200;
    const double seconds = argc > 2 ? std::atof(argv[2]) : 2.0;
    char dir[] = "/tmp/qv5convertbenchXXXXXX";
    if (!mkdtemp(dir) || files <= 0) return 1;
    const std::string root = dir, loop = root + "/loop", convert = root + "/convert",
                      xargs = root + "/xargs";
    for (const std::string& d :
         {root + "/QV5files/Config", root + "/QV5files/Database/Score", loop, convert, xargs})
        std::filesystem::create_directories(d);
    for (int i = 0; i < files; ++i) {
        const std::string wav = Wav(seconds, i), name = "/" + std::to_string(i) + ".wav";
        for (const std::string& d : {loop, convert, xargs})
            std::ofstream(d + name, std::ios::binary) << wav;
    }
    qv5::SetProgramDirectory(root);
    qv5::ConfigRecord config;
    qv5::LoadConfig(config);
    qv5::ToolSettings tools;
    tools.oggenc_body = "oggenc";
    tools.oggenc_option = kOptions;
    qv5::StoreToolSettings(tools, config);
    if (qv5::SaveConfig(config) != 1) return 1;

    double start = qv5::bench::Now();
    const std::string shell =
        "cd '" + loop + "' && for f in *.wav; do oggenc " + kOptions + " \"$f\" && rm \"$f\"; done";
    if (std::system(shell.c_str()) != 0) return 1;
    const double shell_time = qv5::bench::Now() - start;

    const int processors = qv5::ProcessorCount();
    start = qv5::bench::Now();
    const std::string parallel = "cd '" + xargs + "' && ls | xargs -P " +
                                 std::to_string(processors) + " -n 1 oggenc " + kOptions;
    if (std::system(parallel.c_str()) != 0) return 1;
    const double xargs_time = qv5::bench::Now() - start;

    start = qv5::bench::Now();
    const std::string command = std::string("'") + QV5_EXE + "' --dir '" + root +
                                "' convert wav2ogg '" + convert + "' > /dev/null";
    if (std::system(command.c_str()) != 0) return 1;
    const double convert_time = qv5::bench::Now() - start;

    const bool same = Count(loop, ".ogg") == files && Count(convert, ".ogg") == files &&
                      Count(loop, ".wav") == 0 && Count(convert, ".wav") == 0;
    std::filesystem::remove_all(root);
    if (!same) return 1;
    std::printf(
        "files: %d of %.1f s, processors: %d, shell loop: %.2f s, xargs -P %d: %.2f s, "
        "convert wav2ogg: %.2f s\n",
        files, seconds, processors, shell_time, processors, xargs_time, convert_time);
    std::printf("ratio xargs/loop (what the machine allows): %.2f\n", xargs_time / shell_time);
    std::printf("ratio convert/loop: %.2f\n", convert_time / shell_time);
    return 0;
}
