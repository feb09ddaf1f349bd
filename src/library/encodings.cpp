#include "library/encodings.h"

#include <array>
#include <cstdio>
#include <ctime>

namespace qv5 {
namespace {

std::array<std::uint32_t, 256> MakeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[i] = c;
    }
    return table;
}

// Days from 0000-03-01 style civil calendar (proleptic Gregorian).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe);
}

}  // namespace

std::string PathKey(std::string_view path) {
    static const auto table = MakeCrcTable();
    std::uint32_t crc = 0xFFFFFFFFu;
    auto feed = [&](signed char b) {
        // The byte is sign-extended before it is mixed in.
        std::uint32_t x = crc ^ static_cast<std::uint32_t>(static_cast<std::int32_t>(b));
        crc = table[x & 0xFF] ^ (x >> 8);
    };
    for (char c : path) feed(static_cast<signed char>(c));
    feed(0);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%x", ~crc);
    return buf;
}

std::int32_t LibraryTime(const FileTime& t) {
    const int year = t.year - 369;
    if (year < 1601 || t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31) return 0;
    int day = t.day;
    // The shifted year is never a leap year.
    if (t.month == 2 && day == 29) day = 28;
    const std::int64_t days =
        DaysFromCivil(year, unsigned(t.month), unsigned(day)) - DaysFromCivil(1601, 1, 1);
    // Whole seconds only: a calendar time carries no fraction, and neither
    // the file times nor "now" contribute one. The fraction would change
    // `low` (and so the value) by up to a unit, making a chart written within
    // the second of its registration look newer than its row.
    const std::int64_t seconds = days * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
    const std::uint64_t file_time = static_cast<std::uint64_t>(seconds) * 10000000ull;
    const std::uint32_t high = static_cast<std::uint32_t>(file_time >> 32);
    const std::uint32_t low = static_cast<std::uint32_t>(file_time);
    const std::int64_t value = static_cast<std::int64_t>(low / 10000000u) +
                               static_cast<std::int64_t>(static_cast<double>(high) * 429.4836225);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

std::int32_t LibraryTimeNow() {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return LibraryTime(
        FileTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec});
}

}  // namespace qv5
