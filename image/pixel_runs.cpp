#include "image/pixel_runs.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace gk {

namespace {

// Pixels in one 16-byte vector register: also the side of the square blocks turned in
// registers, one row a register.
template <typename Pixel>
constexpr int PerVector = static_cast<int>(16 / sizeof(Pixel));

#if defined(__SSE2__)

__m128i Load(const void* p) {
  return _mm_loadu_si128(static_cast<const __m128i*>(p));
}

// Pixels in a cache line of 64 bytes.
template <typename Pixel>
constexpr int LinePixels = static_cast<int>(64 / sizeof(Pixel));

// The processor's own prefetching stops at the end of each 4 KiB page, so a long run read
// straight through memory waits at every page; asking for the line 4 KiB ahead keeps the reads
// flowing. A prefetch never faults, even past the end of the run.
inline void PrefetchAhead(const void* p) {
  constexpr std::uintptr_t Ahead = 4096;
  _mm_prefetch(reinterpret_cast<const char*>(reinterpret_cast<std::uintptr_t>(p) + Ahead),
               _MM_HINT_T0);
}

// The first index from which `to + i` is 16-byte aligned (or count), for a streamed store.
template <typename Pixel>
int AlignedFrom(const Pixel* to, int count) {
  const auto misalignment = reinterpret_cast<std::uintptr_t>(to) % 16;
  const int head = misalignment == 0 ? 0 : static_cast<int>((16 - misalignment) / sizeof(Pixel));
  return std::min(head, count);
}

// The register's pixels in reverse order.
template <typename Pixel>
__m128i Reversed(__m128i v) {
  if constexpr (sizeof(Pixel) == 1) {
    v = _mm_or_si128(_mm_slli_epi16(v, 8), _mm_srli_epi16(v, 8));
  }
  if constexpr (sizeof(Pixel) <= 2) {
    v = _mm_shufflelo_epi16(v, _MM_SHUFFLE(0, 1, 2, 3));
    v = _mm_shufflehi_epi16(v, _MM_SHUFFLE(0, 1, 2, 3));
    return _mm_shuffle_epi32(v, _MM_SHUFFLE(1, 0, 3, 2));
  } else {
    return _mm_shuffle_epi32(v, _MM_SHUFFLE(0, 1, 2, 3));
  }
}

template <int UnitBytes>
__m128i InterleaveLow(__m128i a, __m128i b) {
  static_assert(UnitBytes == 1 || UnitBytes == 2 || UnitBytes == 4 || UnitBytes == 8);
  if constexpr (UnitBytes == 1) {
    return _mm_unpacklo_epi8(a, b);
  } else if constexpr (UnitBytes == 2) {
    return _mm_unpacklo_epi16(a, b);
  } else if constexpr (UnitBytes == 4) {
    return _mm_unpacklo_epi32(a, b);
  } else {
    return _mm_unpacklo_epi64(a, b);
  }
}

template <int UnitBytes>
__m128i InterleaveHigh(__m128i a, __m128i b) {
  static_assert(UnitBytes == 1 || UnitBytes == 2 || UnitBytes == 4 || UnitBytes == 8);
  if constexpr (UnitBytes == 1) {
    return _mm_unpackhi_epi8(a, b);
  } else if constexpr (UnitBytes == 2) {
    return _mm_unpackhi_epi16(a, b);
  } else if constexpr (UnitBytes == 4) {
    return _mm_unpackhi_epi32(a, b);
  } else {
    return _mm_unpackhi_epi64(a, b);
  }
}

// The transpose of K rows, one round a unit size: neighbouring rows interleaved, the low halves
// to the first half of the rows. After the round with units of 8 bytes, column c lies in row
// BitReversed(c).
template <int UnitBytes, int K>
[[gnu::always_inline]] inline void InterleaveRounds(__m128i (&rows)[K]) {
  __m128i next[K];
  for (int i = 0; i < K / 2; ++i) {
    next[i] = InterleaveLow<UnitBytes>(rows[2 * i], rows[2 * i + 1]);
    next[i + K / 2] = InterleaveHigh<UnitBytes>(rows[2 * i], rows[2 * i + 1]);
  }
  std::copy(next, next + K, rows);
  if constexpr (UnitBytes < 8) InterleaveRounds<UnitBytes * 2, K>(rows);
}

// i with its lowest `bits` bits in reverse order.
constexpr int BitReversed(int i, int bits) {
  int r = 0;
  for (int b = 0; b < bits; ++b) r |= ((i >> b) & 1) << (bits - 1 - b);
  return r;
}

// A K x K block, K = PerVector, turned in registers: row K - 1 - c of `out` is column c of `in`.
// Inlined whole, so that the rows stay in registers: a call would pass them through memory.
template <typename Pixel>
[[gnu::always_inline]] inline void TurnSquare(const Pixel* in, std::size_t inStride, Pixel* out,
                                              std::size_t outStride) {
  constexpr int K = PerVector<Pixel>;
  constexpr int Bits = std::countr_zero(static_cast<unsigned>(K));
  __m128i rows[K];
  for (int r = 0; r < K; ++r) rows[r] = Load(in + r * inStride);
  InterleaveRounds<sizeof(Pixel), K>(rows);
  for (int i = 0; i < K; ++i) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + (K - 1 - BitReversed(i, Bits)) * outStride),
                     rows[i]);
  }
}

#endif

// FromMemory: the source is in memory rather than in the cache, and is asked for ahead.
template <typename Pixel, bool FromMemory>
[[gnu::always_inline]] inline void CopyRunStreamed(Pixel* to, const Pixel* from, int count) {
#if defined(__SSE2__)
  constexpr int K = PerVector<Pixel>;
  const int begin = AlignedFrom(to, count);
  const int end = begin + (count - begin) / K * K;
  // A load whose address matches that of a store shortly before in its lowest 12 bits waits
  // for the store, as if they overlapped. Walking forwards, the loads run just ahead of the
  // stores; when the target lies just above the source within a page, walk backwards.
  const auto ahead =
      (reinterpret_cast<std::uintptr_t>(to) - reinterpret_cast<std::uintptr_t>(from)) % 4096;
  if (ahead != 0 && ahead < 512) {
    std::copy(from + end, from + count, to + end);
    for (int i = end - K; i >= begin; i -= K) {
      _mm_stream_si128(reinterpret_cast<__m128i*>(to + i), Load(from + i));
    }
    std::copy(from, from + begin, to);
    return;
  }
  std::copy(from, from + begin, to);
  int i = begin;
  if constexpr (FromMemory) {
    for (; i + LinePixels<Pixel> <= end; i += LinePixels<Pixel>) {
      PrefetchAhead(from + i);
      for (int j = 0; j < LinePixels<Pixel>; j += K) {
        _mm_stream_si128(reinterpret_cast<__m128i*>(to + i + j), Load(from + i + j));
      }
    }
  }
  for (; i < end; i += K) {
    _mm_stream_si128(reinterpret_cast<__m128i*>(to + i), Load(from + i));
  }
  std::copy(from + end, from + count, to + end);
#else
  std::copy(from, from + count, to);
#endif
}

// out[k * outStride + i] = in[i * inStride + columns - 1 - k] for i < rows, k < columns.
template <typename Pixel>
void TurnBlock(const Pixel* in, std::size_t inStride, int columns, int rows, Pixel* out,
               std::size_t outStride) {
  int kSquares = 0;
  int iSquares = 0;
#if defined(__SSE2__)
  // Whole squares in registers; what is left pixel by pixel.
  constexpr int K = PerVector<Pixel>;
  kSquares = columns - columns % K;
  iSquares = rows - rows % K;
  // Along the picture's rows, K of them at a time and forwards: in the order of memory.
  for (int i = 0; i < iSquares; i += K) {
    for (int k = kSquares - K; k >= 0; k -= K) {
      TurnSquare(in + i * inStride + columns - K - k, inStride, out + k * outStride + i, outStride);
    }
  }
#endif
  for (int k = 0; k < columns; ++k) {
    for (int i = k < kSquares ? iSquares : 0; i < rows; ++i) {
      out[k * outStride + i] = in[i * inStride + columns - 1 - k];
    }
  }
}

}  // namespace

template <typename Pixel>
void StreamRun(Pixel* to, const Pixel* from, int count) {
  CopyRunStreamed<Pixel, true>(to, from, count);
}

template <typename Pixel>
void StreamRunReversed(Pixel* to, const Pixel* from, int count) {
#if defined(__SSE2__)
  constexpr int K = PerVector<Pixel>;
  const int begin = AlignedFrom(to, count);
  const int end = begin + (count - begin) / K * K;
  // From the end of the target, so that the source is read forwards.
  std::reverse_copy(from, from + count - end, to + end);
  int i = end - K;
  for (; i - (LinePixels<Pixel> - K) >= begin; i -= LinePixels<Pixel>) {
    PrefetchAhead(from + count - i - K);
    for (int j = 0; j < LinePixels<Pixel>; j += K) {
      _mm_stream_si128(reinterpret_cast<__m128i*>(to + i - j),
                       Reversed<Pixel>(Load(from + count - i + j - K)));
    }
  }
  for (; i >= begin; i -= K) {
    _mm_stream_si128(reinterpret_cast<__m128i*>(to + i),
                     Reversed<Pixel>(Load(from + count - i - K)));
  }
  std::reverse_copy(from + count - begin, from + count, to);
#else
  std::reverse_copy(from, from + count, to);
#endif
}

void EndStreaming() {
#if defined(__SSE2__)
  _mm_sfence();
#endif
}

template <typename Pixel>
void StreamTurnedBlock(const Pixel* in, std::size_t inStride, int columns, int rows, Pixel* out,
                       std::size_t outStride) {
  assert(columns <= TurnTile<Pixel> && rows <= TurnTile<Pixel>);
  constexpr int Tile = TurnTile<Pixel>;
  alignas(64) Pixel turned[Tile * Tile];
  TurnBlock(in, inStride, columns, rows, turned, std::size_t{Tile});
  for (int k = 0; k < columns; ++k)
    CopyRunStreamed<Pixel, false>(out + k * outStride, turned + k * Tile, rows);
}

template void StreamRun(std::uint8_t*, const std::uint8_t*, int);
template void StreamRun(std::uint16_t*, const std::uint16_t*, int);
template void StreamRun(std::uint32_t*, const std::uint32_t*, int);
template void StreamRunReversed(std::uint8_t*, const std::uint8_t*, int);
template void StreamRunReversed(std::uint16_t*, const std::uint16_t*, int);
template void StreamRunReversed(std::uint32_t*, const std::uint32_t*, int);
template void StreamTurnedBlock(const std::uint8_t*, std::size_t, int, int, std::uint8_t*,
                                std::size_t);
template void StreamTurnedBlock(const std::uint16_t*, std::size_t, int, int, std::uint16_t*,
                                std::size_t);
template void StreamTurnedBlock(const std::uint32_t*, std::size_t, int, int, std::uint32_t*,
                                std::size_t);

}  // namespace gk
