#include "chart_gen.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace qv5::bench {

std::string MakeChart(std::uint32_t seed, size_t target_bytes) {
    std::uint32_t x = seed * 2654435761u + 1;
    auto rnd = [&x] {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        return x;
    };
    static const char* digits = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::string s;
    s.reserve(target_bytes + 4096);
    char buf[256];
    std::snprintf(buf, sizeof buf,
                  "*---------------------- HEADER FIELD\r\n\r\n#PLAYER 1\r\n#GENRE Bench %u\r\n"
                  "#TITLE Benchmark Song %u [HYPER]\r\n#ARTIST qv5 bench\r\n#BPM %u\r\n"
                  "#PLAYLEVEL %u\r\n#RANK 2\r\n#TOTAL 300\r\n#STAGEFILE stage.bmp\r\n\r\n",
                  seed % 97, seed, 100 + seed % 120, 1 + seed % 12);
    s += buf;
    for (int i = 1; i < 300; ++i) {
        std::snprintf(buf, sizeof buf, "#WAV%c%c sound_%03d.wav\r\n", digits[i / 36],
                      digits[i % 36], i);
        s += buf;
    }
    s += "#BMP01 bga.bmp\r\n\r\n*---------------------- MAIN DATA FIELD\r\n\r\n";
    static const int channels[] = {1, 3, 11, 12, 13, 14, 15, 16, 18, 19, 51, 4};
    for (int measure = 1; s.size() < target_bytes; ++measure) {
        for (int ch : channels) {
            if (s.size() >= target_bytes) break;
            const int pairs = 8 << (rnd() % 4);
            std::snprintf(buf, sizeof buf, "#%03d%02d:", measure % 1000, ch);
            s += buf;
            for (int p = 0; p < pairs; ++p) {
                if (rnd() % 3 == 0) {
                    s += digits[rnd() % 8];
                    s += digits[1 + rnd() % 35];
                } else {
                    s += "00";
                }
            }
            s += "\r\n";
        }
    }
    return s;
}

double Now() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

double TimeCommand(const std::string& command) {
    const double start = Now();
    if (std::system(command.c_str()) != 0) return -1;
    return Now() - start;
}

}  // namespace qv5::bench
