#pragma once

#include <cstddef>

namespace gk {

// Runs of raw pixels moved for whole-image work, with vector instructions where the processor
// has them. Pixel is std::uint8_t, std::uint16_t or std::uint32_t. Source and target never
// overlap.
//
// A whole-image mapping writes the picture once and nothing reads it back soon: the Stream
// functions write past the caches, which also spares reading each target line in first. Call
// EndStreaming once a picture is done, before anything reads it.

// to[i] = from[i] for i < count.
template <typename Pixel>
void StreamRun(Pixel* to, const Pixel* from, int count);
// to[i] = from[count - 1 - i] for i < count.
template <typename Pixel>
void StreamRunReversed(Pixel* to, const Pixel* from, int count);
void EndStreaming();

// The side of the largest block StreamTurnedBlock takes: rows of up to 128 bytes, so that the
// few picture rows a block reads stay in the cache while it is turned.
template <typename Pixel>
constexpr int TurnTile = sizeof(Pixel) == 1 ? 64 : static_cast<int>(128 / sizeof(Pixel));

// A block of `rows` x `columns` pixels (each at most TurnTile) turned a quarter
// counter-clockwise, written with streaming stores:
// out[k * outStride + i] = in[i * inStride + columns - 1 - k] for i < rows, k < columns.
template <typename Pixel>
void StreamTurnedBlock(const Pixel* in, std::size_t inStride, int columns, int rows, Pixel* out,
                       std::size_t outStride);

}  // namespace gk
