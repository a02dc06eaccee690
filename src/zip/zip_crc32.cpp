#include "zip/zip_crc32.h"

#include <zlib.h>

#if defined(__x86_64__)
#include <immintrin.h>
#define KX9_ZIP_FOLDING 1
#endif

namespace zip {

std::uint32_t Crc32Tables(std::uint32_t crc, const void* data, std::size_t size) {
    return static_cast<std::uint32_t>(crc32_z(crc, static_cast<const Bytef*>(data), size));
}

#ifdef KX9_ZIP_FOLDING

namespace {

// Folding by carry-less multiplication (Intel, "Fast CRC Computation for Generic Polynomials
// Using PCLMULQDQ Instruction", 2009), in the bit-reflected form of the zip polynomial
// 0xEDB88320. The constants are x^k mod P for the fold distances: 4*128+32 and 4*128-32 bits
// (k1, k2), 128+32 and 128-32 (k3, k4), 64 (k5); then P and floor(x^64 / P) for the Barrett
// reduction to 32 bits.
constexpr std::uint64_t kK1 = 0x154442bd4, kK2 = 0x1c6e41596;
constexpr std::uint64_t kK3 = 0x1751997d0, kK4 = 0x0ccaa009e;
constexpr std::uint64_t kK5 = 0x163cd6124;
constexpr std::uint64_t kPolynomial = 0x1db710641, kMu = 0x1f7011641;

__attribute__((target("pclmul,sse4.1"))) __m128i FoldInto(__m128i value, __m128i next,
                                                          __m128i constants) {
    const __m128i low = _mm_clmulepi64_si128(value, constants, 0x00);
    const __m128i high = _mm_clmulepi64_si128(value, constants, 0x11);
    return _mm_xor_si128(_mm_xor_si128(low, high), next);
}

// `size` is a multiple of 16, at least 64; `crc` is in the raw form (not inverted).
__attribute__((target("pclmul,sse4.1"))) std::uint32_t Fold(std::uint32_t crc,
                                                            const unsigned char* p,
                                                            std::size_t size) {
    const auto load = [](const unsigned char* at) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    };
    __m128i x1 = _mm_xor_si128(load(p), _mm_cvtsi32_si128(static_cast<int>(crc)));
    __m128i x2 = load(p + 16);
    __m128i x3 = load(p + 32);
    __m128i x4 = load(p + 48);
    p += 64;
    size -= 64;
    const __m128i k1k2 = _mm_set_epi64x(static_cast<long long>(kK2), static_cast<long long>(kK1));
    for (; size >= 64; p += 64, size -= 64) {
        x1 = FoldInto(x1, load(p), k1k2);
        x2 = FoldInto(x2, load(p + 16), k1k2);
        x3 = FoldInto(x3, load(p + 32), k1k2);
        x4 = FoldInto(x4, load(p + 48), k1k2);
    }
    const __m128i k3k4 = _mm_set_epi64x(static_cast<long long>(kK4), static_cast<long long>(kK3));
    x1 = FoldInto(x1, x2, k3k4);
    x1 = FoldInto(x1, x3, k3k4);
    x1 = FoldInto(x1, x4, k3k4);
    for (; size >= 16; p += 16, size -= 16)
        x1 = FoldInto(x1, load(p), k3k4);

    // 128 bits to 64, then to 32 (the zeros a CRC appends), then Barrett's reduction.
    const __m128i mask32 = _mm_set_epi32(0, 0, 0, -1);
    x1 = _mm_xor_si128(_mm_clmulepi64_si128(k3k4, x1, 0x01), _mm_srli_si128(x1, 8));
    x1 = _mm_xor_si128(_mm_srli_si128(x1, 4),
                       _mm_clmulepi64_si128(_mm_and_si128(x1, mask32),
                                            _mm_cvtsi64_si128(static_cast<long long>(kK5)), 0x00));
    const __m128i barrett =
        _mm_set_epi64x(static_cast<long long>(kMu), static_cast<long long>(kPolynomial));
    __m128i t = _mm_clmulepi64_si128(_mm_and_si128(x1, mask32), barrett, 0x10);
    t = _mm_clmulepi64_si128(_mm_and_si128(t, mask32), barrett, 0x00);
    return static_cast<std::uint32_t>(_mm_extract_epi32(_mm_xor_si128(x1, t), 1));
}

bool CanFold() {
    static const bool can = __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");
    return can;
}

}  // namespace

std::uint32_t Crc32(std::uint32_t crc, const void* data, std::size_t size) {
    const auto* p = static_cast<const unsigned char*>(data);
    if (size < 64 || !CanFold())
        return Crc32Tables(crc, p, size);
    const std::size_t folded = size & ~std::size_t{15};
    crc = ~Fold(~crc, p, folded);
    return Crc32Tables(crc, p + folded, size - folded);
}

#else

std::uint32_t Crc32(std::uint32_t crc, const void* data, std::size_t size) {
    return Crc32Tables(crc, data, size);
}

#endif

}  // namespace zip
