#include "library/md5_batch.h"

#include <cstdint>
#include <cstring>

#include "library/file_hash.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define QV5_MD5_LANES 1
#endif

namespace qv5 {

void Md5Batch::Add(std::string_view bytes, std::string* hex) {
    items_.push_back({bytes, hex});
}

#ifdef QV5_MD5_LANES
namespace {

constexpr std::uint32_t kK[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};
constexpr std::uint32_t kInit[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
constexpr int kLanes = 8;

// One message's way through a lane: its whole blocks in place, then the
// padded tail (one or two blocks) from a copy.
struct Lane {
    const unsigned char* data = nullptr;
    std::string* hex = nullptr;
    size_t full_blocks = 0, total_blocks = 0, next = 0;
    alignas(32) unsigned char tail[128];

    void Load(std::string_view bytes, std::string* out) {
        data = reinterpret_cast<const unsigned char*>(bytes.data());
        hex = out;
        full_blocks = bytes.size() / 64;
        const size_t rem = bytes.size() % 64;
        std::memset(tail, 0, sizeof tail);
        if (rem) std::memcpy(tail, data + full_blocks * 64, rem);
        tail[rem] = 0x80;
        const size_t tail_blocks = rem < 56 ? 1 : 2;
        const std::uint64_t bits = std::uint64_t{bytes.size()} * 8;
        for (int i = 0; i < 8; ++i)
            tail[tail_blocks * 64 - 8 + i] = static_cast<unsigned char>(bits >> (8 * i));
        total_blocks = full_blocks + tail_blocks;
        next = 0;
    }
    const unsigned char* Block() const {
        return next < full_blocks ? data + 64 * next : tail + 64 * (next - full_blocks);
    }
};

void WriteHex(const std::uint32_t state[4], std::string& out) {
    static const char* digits = "0123456789abcdef";
    out.resize(32);
    for (int w = 0; w < 4; ++w)
        for (int b = 0; b < 4; ++b) {
            const unsigned v = (state[w] >> (8 * b)) & 0xFF;
            out[size_t(w * 8 + b * 2)] = digits[v >> 4];
            out[size_t(w * 8 + b * 2 + 1)] = digits[v & 15];
        }
}

#define QV5_AVX2 __attribute__((target("avx2")))

template <int S>
QV5_AVX2 inline __m256i Rotl(__m256i x) {
    return _mm256_or_si256(_mm256_slli_epi32(x, S), _mm256_srli_epi32(x, 32 - S));
}

// Words 0..7 (or 8..15) of eight blocks, turned so that out[j] holds word j
// of every lane.
QV5_AVX2 inline void Transpose(const __m256i r[8], __m256i out[8]) {
    const __m256i t0 = _mm256_unpacklo_epi32(r[0], r[1]), t1 = _mm256_unpackhi_epi32(r[0], r[1]);
    const __m256i t2 = _mm256_unpacklo_epi32(r[2], r[3]), t3 = _mm256_unpackhi_epi32(r[2], r[3]);
    const __m256i t4 = _mm256_unpacklo_epi32(r[4], r[5]), t5 = _mm256_unpackhi_epi32(r[4], r[5]);
    const __m256i t6 = _mm256_unpacklo_epi32(r[6], r[7]), t7 = _mm256_unpackhi_epi32(r[6], r[7]);
    const __m256i u0 = _mm256_unpacklo_epi64(t0, t2), u1 = _mm256_unpackhi_epi64(t0, t2);
    const __m256i u2 = _mm256_unpacklo_epi64(t1, t3), u3 = _mm256_unpackhi_epi64(t1, t3);
    const __m256i u4 = _mm256_unpacklo_epi64(t4, t6), u5 = _mm256_unpackhi_epi64(t4, t6);
    const __m256i u6 = _mm256_unpacklo_epi64(t5, t7), u7 = _mm256_unpackhi_epi64(t5, t7);
    out[0] = _mm256_permute2x128_si256(u0, u4, 0x20);
    out[1] = _mm256_permute2x128_si256(u1, u5, 0x20);
    out[2] = _mm256_permute2x128_si256(u2, u6, 0x20);
    out[3] = _mm256_permute2x128_si256(u3, u7, 0x20);
    out[4] = _mm256_permute2x128_si256(u0, u4, 0x31);
    out[5] = _mm256_permute2x128_si256(u1, u5, 0x31);
    out[6] = _mm256_permute2x128_si256(u2, u6, 0x31);
    out[7] = _mm256_permute2x128_si256(u3, u7, 0x31);
}

QV5_AVX2 inline __m256i K(int i) {
    return _mm256_set1_epi32(static_cast<int>(kK[i]));
}

// The four rounds of MD5 over one block in each lane.
QV5_AVX2 void Compress(__m256i s[4], const unsigned char* const blocks[kLanes]) {
    __m256i m[16], r[8];
    for (int l = 0; l < kLanes; ++l)
        r[l] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(blocks[l]));
    Transpose(r, m);
    for (int l = 0; l < kLanes; ++l)
        r[l] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(blocks[l] + 32));
    Transpose(r, m + 8);
    const __m256i ones = _mm256_set1_epi32(-1);
    __m256i a = s[0], b = s[1], c = s[2], d = s[3];
#define QV5_F(x, y, z) _mm256_xor_si256(z, _mm256_and_si256(x, _mm256_xor_si256(y, z)))
#define QV5_G(x, y, z) _mm256_xor_si256(y, _mm256_and_si256(z, _mm256_xor_si256(x, y)))
#define QV5_H(x, y, z) _mm256_xor_si256(_mm256_xor_si256(x, y), z)
#define QV5_I(x, y, z) _mm256_xor_si256(y, _mm256_or_si256(x, _mm256_xor_si256(z, ones)))
#define QV5_STEP(f, w, x, y, z, i, g, sh)                                              \
    w = _mm256_add_epi32(x, Rotl<sh>(_mm256_add_epi32(_mm256_add_epi32(w, f(x, y, z)), \
                                                      _mm256_add_epi32(K(i), m[g]))))
#define QV5_ROUND(f, i0, g0, g1, g2, g3, s0, s1, s2, s3) \
    QV5_STEP(f, a, b, c, d, i0, g0, s0);                 \
    QV5_STEP(f, d, a, b, c, i0 + 1, g1, s1);             \
    QV5_STEP(f, c, d, a, b, i0 + 2, g2, s2);             \
    QV5_STEP(f, b, c, d, a, i0 + 3, g3, s3)
    QV5_ROUND(QV5_F, 0, 0, 1, 2, 3, 7, 12, 17, 22);
    QV5_ROUND(QV5_F, 4, 4, 5, 6, 7, 7, 12, 17, 22);
    QV5_ROUND(QV5_F, 8, 8, 9, 10, 11, 7, 12, 17, 22);
    QV5_ROUND(QV5_F, 12, 12, 13, 14, 15, 7, 12, 17, 22);
    QV5_ROUND(QV5_G, 16, 1, 6, 11, 0, 5, 9, 14, 20);
    QV5_ROUND(QV5_G, 20, 5, 10, 15, 4, 5, 9, 14, 20);
    QV5_ROUND(QV5_G, 24, 9, 14, 3, 8, 5, 9, 14, 20);
    QV5_ROUND(QV5_G, 28, 13, 2, 7, 12, 5, 9, 14, 20);
    QV5_ROUND(QV5_H, 32, 5, 8, 11, 14, 4, 11, 16, 23);
    QV5_ROUND(QV5_H, 36, 1, 4, 7, 10, 4, 11, 16, 23);
    QV5_ROUND(QV5_H, 40, 13, 0, 3, 6, 4, 11, 16, 23);
    QV5_ROUND(QV5_H, 44, 9, 12, 15, 2, 4, 11, 16, 23);
    QV5_ROUND(QV5_I, 48, 0, 7, 14, 5, 6, 10, 15, 21);
    QV5_ROUND(QV5_I, 52, 12, 3, 10, 1, 6, 10, 15, 21);
    QV5_ROUND(QV5_I, 56, 8, 15, 6, 13, 6, 10, 15, 21);
    QV5_ROUND(QV5_I, 60, 4, 11, 2, 9, 6, 10, 15, 21);
#undef QV5_ROUND
#undef QV5_STEP
#undef QV5_I
#undef QV5_H
#undef QV5_G
#undef QV5_F
    s[0] = _mm256_add_epi32(s[0], a);
    s[1] = _mm256_add_epi32(s[1], b);
    s[2] = _mm256_add_epi32(s[2], c);
    s[3] = _mm256_add_epi32(s[3], d);
}

// Each lane takes the next message as soon as its own is done, so lanes
// idle only at the very end of the batch.
QV5_AVX2 void RunLanes(const std::vector<std::string_view>& bytes,
                       const std::vector<std::string*>& out) {
    static const unsigned char idle_block[64] = {};
    Lane lanes[kLanes];
    bool active[kLanes] = {};
    alignas(32) std::uint32_t words[4][kLanes];
    size_t next_item = 0;
    for (int l = 0; l < kLanes; ++l) {
        for (int w = 0; w < 4; ++w) words[w][l] = kInit[w];
        if (next_item < bytes.size()) {
            lanes[l].Load(bytes[next_item], out[next_item]);
            ++next_item;
            active[l] = true;
        }
    }
    __m256i s[4];
    for (int w = 0; w < 4; ++w)
        s[w] = _mm256_load_si256(reinterpret_cast<const __m256i*>(words[w]));
    for (;;) {
        const unsigned char* blocks[kLanes];
        bool any = false;
        for (int l = 0; l < kLanes; ++l) {
            blocks[l] = active[l] ? lanes[l].Block() : idle_block;
            any |= active[l];
        }
        if (!any) break;
        Compress(s, blocks);
        bool finished = false;
        for (int l = 0; l < kLanes; ++l)
            if (active[l] && ++lanes[l].next == lanes[l].total_blocks) finished = true;
        if (!finished) continue;
        for (int w = 0; w < 4; ++w) _mm256_store_si256(reinterpret_cast<__m256i*>(words[w]), s[w]);
        for (int l = 0; l < kLanes; ++l) {
            if (!active[l] || lanes[l].next != lanes[l].total_blocks) continue;
            const std::uint32_t state[4] = {words[0][l], words[1][l], words[2][l], words[3][l]};
            WriteHex(state, *lanes[l].hex);
            for (int w = 0; w < 4; ++w) words[w][l] = kInit[w];
            if (next_item < bytes.size()) {
                lanes[l].Load(bytes[next_item], out[next_item]);
                ++next_item;
            } else {
                active[l] = false;
            }
        }
        for (int w = 0; w < 4; ++w)
            s[w] = _mm256_load_si256(reinterpret_cast<const __m256i*>(words[w]));
    }
}

}  // namespace

bool Md5BatchIsParallel() {
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2;
}

void Md5Batch::Run() {
    if (items_.size() >= 2 && Md5BatchIsParallel()) {
        std::vector<std::string_view> bytes;
        std::vector<std::string*> out;
        for (const Item& i : items_) {
            bytes.push_back(i.bytes);
            out.push_back(i.hex);
        }
        RunLanes(bytes, out);
    } else {
        for (const Item& i : items_) *i.hex = Md5Hex(i.bytes);
    }
    items_.clear();
}

#else

bool Md5BatchIsParallel() {
    return false;
}

void Md5Batch::Run() {
    for (const Item& i : items_) *i.hex = Md5Hex(i.bytes);
    items_.clear();
}

#endif

}  // namespace qv5
