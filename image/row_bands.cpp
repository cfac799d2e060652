#include "image/row_bands.h"

#include <sched.h>

#include <algorithm>
#include <cstdint>
#include <system_error>
#include <thread>
#include <vector>

#include "image/pixel_runs.h"

namespace gk {

namespace {

// Below this a part's work is too short for a thread's start (tens of microseconds) to pay.
constexpr std::size_t MinBytesPerBand = std::size_t{4} << 20;
// Beyond this the memory itself is the limit.
constexpr int MaxBands = 4;

// The processors this process may run on.
int UsableProcessors() {
  cpu_set_t set;
  CPU_ZERO(&set);
  if (sched_getaffinity(0, sizeof set, &set) == 0) return std::max(CPU_COUNT(&set), 1);
  return static_cast<int>(std::max(std::thread::hardware_concurrency(), 1u));
}

}  // namespace

void ForEachBand(int count, std::size_t bytes, const std::function<void(int, int)>& work) {
  const auto bySize = static_cast<int>(std::min<std::size_t>(bytes / MinBytesPerBand, MaxBands));
  const int bands = std::min({bySize, UsableProcessors(), count});
  if (bands <= 1) {
    work(0, count);
    EndStreaming();
    return;
  }
  const auto edge = [&](int i) { return static_cast<int>(std::int64_t{count} * i / bands); };
  const auto part = [&](int i) {
    work(edge(i), edge(i + 1));
    EndStreaming();
  };
  std::vector<std::jthread> helpers;
  helpers.reserve(static_cast<std::size_t>(bands - 1));
  int started = 1;
  try {
    for (; started < bands; ++started) helpers.emplace_back(part, started);
  } catch (const std::system_error&) {
    // No thread to be had: the calling thread does the rest.
  }
  part(0);
  for (int i = started; i < bands; ++i) part(i);
  // The helpers are joined as they go.
}

}  // namespace gk
