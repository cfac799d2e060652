#include "image/bgr_rows.h"

#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace gk {

namespace {

void BgrToWordsScalar(const std::uint8_t* src, std::uint32_t* dst, int width) {
  for (int x = 0; x < width; ++x, src += 3) {
    dst[x] = 0xFF000000u | (std::uint32_t{src[2]} << 16) | (std::uint32_t{src[1]} << 8) | src[0];
  }
}

void WordsToBgrScalar(const std::uint32_t* src, std::uint8_t* dst, int width) {
  for (int x = 0; x < width; ++x, dst += 3) {
    const std::uint32_t v = src[x];
    dst[0] = static_cast<std::uint8_t>(v);
    dst[1] = static_cast<std::uint8_t>(v >> 8);
    dst[2] = static_cast<std::uint8_t>(v >> 16);
  }
}

#if defined(__x86_64__)

// Four pixels a step with one byte shuffle. A step reads (or writes) 16 bytes where its four
// pixels take 12, so the steps stop while 16 bytes still lie inside the row; the scalar code
// does the rest.
__attribute__((target("ssse3"))) void BgrToWordsSsse3(const std::uint8_t* src, std::uint32_t* dst,
                                                      int width) {
  const __m128i spread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
  const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  int x = 0;
  for (; x + 6 <= width; x += 4) {
    const __m128i in = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 3 * x));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + x),
                     _mm_or_si128(_mm_shuffle_epi8(in, spread), opaque));
  }
  BgrToWordsScalar(src + 3 * x, dst + x, width - x);
}

__attribute__((target("ssse3"))) void WordsToBgrSsse3(const std::uint32_t* src, std::uint8_t* dst,
                                                      int width) {
  const __m128i pack = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
  int x = 0;
  for (; x + 6 <= width; x += 4) {
    const __m128i in = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + x));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 3 * x), _mm_shuffle_epi8(in, pack));
  }
  WordsToBgrScalar(src + x, dst + 3 * x, width - x);
}

bool HasSsse3() {
  static const bool has = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("ssse3") != 0;
  }();
  return has;
}

#endif

}  // namespace

void BgrToWords(const std::uint8_t* src, std::uint32_t* dst, int width) {
#if defined(__x86_64__)
  if (HasSsse3()) {
    BgrToWordsSsse3(src, dst, width);
    return;
  }
#endif
  BgrToWordsScalar(src, dst, width);
}

void WordsToBgr(const std::uint32_t* src, std::uint8_t* dst, int width) {
#if defined(__x86_64__)
  if (HasSsse3()) {
    WordsToBgrSsse3(src, dst, width);
    return;
  }
#endif
  WordsToBgrScalar(src, dst, width);
}

}  // namespace gk
