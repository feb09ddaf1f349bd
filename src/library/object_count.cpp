#include "library/object_count.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define QV5_OBJECT_VECTORS 1
#endif

namespace qv5 {
namespace {

struct Base36Table {
    unsigned char v[256]{};
    constexpr Base36Table() {
        for (int c = '0'; c <= '9'; ++c) v[c] = static_cast<unsigned char>(c - '0');
        for (int c = 'A'; c <= 'Z'; ++c) v[c] = static_cast<unsigned char>(c - 'A' + 10);
        for (int c = 'a'; c <= 'z'; ++c) v[c] = static_cast<unsigned char>(c - 'a' + 10);
    }
};
constexpr Base36Table kBase36;

std::int32_t CountScalar(const char* p, long pairs, int lnobj) {
    // Branch-free: objects and rests mix unpredictably.
    std::int32_t notes = 0;
    for (long i = 0; i < pairs; ++i, p += 2) {
        const int v = kBase36.v[static_cast<unsigned char>(p[0])] * 36 +
                      kBase36.v[static_cast<unsigned char>(p[1])];
        notes += static_cast<std::int32_t>((v != 0) & (v != lnobj));
    }
    return notes;
}

#ifdef QV5_OBJECT_VECTORS
#define QV5_AVX2 __attribute__((target("avx2,popcnt")))

// Bytes whose digit value is not 0.
QV5_AVX2 inline __m256i NonZero(__m256i c) {
    const __m256i lower = _mm256_or_si256(c, _mm256_set1_epi8(0x20));
    // Signed compares: bytes of 0x80 and above are negative and match nothing.
    const __m256i digit = _mm256_and_si256(_mm256_cmpgt_epi8(c, _mm256_set1_epi8('0')),
                                           _mm256_cmpgt_epi8(_mm256_set1_epi8('9' + 1), c));
    const __m256i letter = _mm256_and_si256(_mm256_cmpgt_epi8(lower, _mm256_set1_epi8('a' - 1)),
                                            _mm256_cmpgt_epi8(_mm256_set1_epi8('z' + 1), lower));
    return _mm256_or_si256(digit, letter);
}

// Bytes whose digit value is `d` (0 to 35).
QV5_AVX2 inline __m256i ValueIs(__m256i c, __m256i nonzero, int d) {
    if (d == 0) return _mm256_xor_si256(nonzero, _mm256_set1_epi8(-1));
    if (d < 10) return _mm256_cmpeq_epi8(c, _mm256_set1_epi8(static_cast<char>('0' + d)));
    const __m256i lower = _mm256_or_si256(c, _mm256_set1_epi8(0x20));
    return _mm256_cmpeq_epi8(lower, _mm256_set1_epi8(static_cast<char>('a' + d - 10)));
}

QV5_AVX2 std::int32_t CountVectors(const char* p, long pairs, int lnobj) {
    const bool has_lnobj = lnobj > 0 && lnobj < 36 * 36;
    const int first = has_lnobj ? lnobj / 36 : 0, second = has_lnobj ? lnobj % 36 : 0;
    constexpr std::uint32_t kEven = 0x55555555u;
    std::int32_t notes = 0;
    long i = 0;
    for (; i + 16 <= pairs; i += 16, p += 32) {
        const __m256i c = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
        const __m256i nz = NonZero(c);
        const std::uint32_t m = static_cast<std::uint32_t>(_mm256_movemask_epi8(nz));
        // A pair is an object when either of its digits is not 0.
        std::uint32_t objects = (m | (m >> 1)) & kEven;
        if (has_lnobj) {
            const std::uint32_t a =
                static_cast<std::uint32_t>(_mm256_movemask_epi8(ValueIs(c, nz, first)));
            const std::uint32_t b =
                static_cast<std::uint32_t>(_mm256_movemask_epi8(ValueIs(c, nz, second)));
            objects &= ~(a & (b >> 1));
        }
        notes += __builtin_popcount(objects);
    }
    return notes + CountScalar(p, pairs - i, lnobj);
}
#endif

}  // namespace

std::int32_t CountObjects(const char* p, long pairs, int lnobj) {
#ifdef QV5_OBJECT_VECTORS
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2 && pairs >= 16) return CountVectors(p, pairs, lnobj);
#endif
    return CountScalar(p, pairs, lnobj);
}

}  // namespace qv5
