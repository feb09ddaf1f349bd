#include "media_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "platform/paths.h"
#include "platform/process.h"

namespace qv5::test {
namespace {

void Put(std::string& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::string ProgramPath(const char* name) {
    const std::string host = FindOnPath(name);
    if (host.empty()) return {};
    return FromHostPath(host).value_or("");
}

// A PCM wav of 16-bit mono samples.
std::string Wav(const std::string& data, std::uint32_t rate) {
    std::string out = "RIFF";
    Put(out, 36 + data.size(), 4);
    out += "WAVEfmt ";
    Put(out, 16, 4);
    Put(out, 1, 2);  // PCM
    Put(out, 1, 2);  // mono
    Put(out, rate, 4);
    Put(out, rate * 2, 4);
    Put(out, 2, 2);
    Put(out, 16, 2);
    out += "data";
    Put(out, data.size(), 4);
    return out + data;
}

}  // namespace

std::string WavBytes(int seed) {
    std::string data;
    for (int i = 0; i < 2000; ++i)
        Put(data, static_cast<std::uint16_t>(std::lround(9000 * std::sin(i / (4.0 + seed)))), 2);
    return Wav(data, 8000);
}

std::string NoiseWav(int seconds, int seed) {
    std::mt19937 noise(static_cast<unsigned>(seed));
    std::string data;
    for (int i = 0; i < 44100 * seconds; ++i) Put(data, noise() & 0xFFFF, 2);
    return Wav(data, 44100);
}

void WriteOgg(const TempGame& game, const std::string& relative, int seed) {
    const std::string wav = game.HostPath(relative + ".source.wav");
    game.WriteFile(relative + ".source.wav", WavBytes(seed));
    ProcessResult r =
        RunHostProgram({"oggenc", "-Q", "-o", game.HostPath(relative), wav}, Wait::Yes);
    ASSERT_TRUE(r.started && r.exit_code == 0) << "oggenc (vorbis-tools) is needed";
    std::filesystem::remove(wav);
}

QImage TestPicture(int width, int height, int seed) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(
                x, y,
                qRgb((x * 37 + seed) & 0xFF, (y * 53 + seed * 7) & 0xFF, (x * y * 11 + 90) & 0xFF));
    return image;
}

QImage IndexedPicture() {
    // More than 16 colours, so that the bitmap has 8 bits per pixel.
    QImage image(9, 5, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (int i = 0; i < 40; ++i) table.push_back(qRgb(255 - i * 6, i * 5, (i * 91) & 0xFF));
    image.setColorTable(table);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 9; ++x) image.setPixel(x, y, (x * 7 + y * 9) % 40);
    return image;
}

std::string Encode(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format));
    return bytes.toStdString();
}

QImage ReadPicture(const TempGame& game, const std::string& relative) {
    QImage image;
    const std::string bytes = game.ReadFile(relative);
    if (bytes.empty()) return image;
    image.loadFromData(QByteArray::fromStdString(bytes));
    return image;
}

bool SamePixels(const QImage& a, const QImage& b) {
    if (a.isNull() || b.isNull() || a.size() != b.size()) return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) return false;
    return true;
}

std::string RealEncoder() {
    return ProgramPath("oggenc");
}

std::string RealDecoder() {
    return ProgramPath("oggdec");
}

void WriteFakeProgram(const TempGame& game, const std::string& relative,
                      const std::string& action) {
    game.WriteFile(relative,
                   "#!/bin/sh\n"
                   "line=\"\"; sep=\"\"\n"
                   "for a in \"$@\"; do line=\"$line$sep$a\"; sep=\"$(printf '\\t')\"; done\n"
                   "printf '%s\\n' \"$line\" >> \"$0.log\"\n" +
                       action + "\n");
    chmod(game.HostPath(relative).c_str(), 0755);
}

std::vector<std::vector<std::string>> FakeRuns(const TempGame& game, const std::string& relative) {
    std::vector<std::vector<std::string>> runs;
    std::istringstream in(game.ReadFile(relative + ".log"));
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> args;
        std::istringstream fields(line);
        for (std::string a; std::getline(fields, a, '\t');) args.push_back(a);
        runs.push_back(args);
    }
    return runs;
}

std::vector<std::string> FilesBelow(const TempGame& game, const std::string& relative) {
    std::vector<std::string> names;
    const std::filesystem::path base = game.HostPath(relative);
    for (const auto& e : std::filesystem::recursive_directory_iterator(base))
        if (e.is_regular_file()) names.push_back(e.path().lexically_relative(base).string());
    std::sort(names.begin(), names.end());
    return names;
}

ToolSettings Tools(const std::string& encoder, const std::string& decoder,
                   const std::string& encoder_options, const std::string& decoder_options) {
    ToolSettings t;
    t.oggenc_body = encoder;
    t.oggenc_option = encoder_options;
    t.oggdec_body = decoder;
    t.oggdec_option = decoder_options;
    return t;
}

}  // namespace qv5::test
