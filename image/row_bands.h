#pragma once

#include <cstddef>
#include <functional>

namespace gk {

// A pass over a whole large picture is bound by how many lines of memory one processor can have
// on the way at once, not by the memory itself: on two processors, two halves of a 64 MiB copy
// take little more than half the time of the whole.
//
// Calls work(begin, end) over parts of [0, count) that together cover it once, each part but one
// on a thread of its own, when the pass moves `bytes` enough to pay for the threads and the
// process may run on more than one processor; otherwise calls work(0, count). The streamed
// stores of every part are ended (EndStreaming) before it returns. work must not throw. A thread
// that cannot be started leaves its part to the calling thread.
void ForEachBand(int count, std::size_t bytes, const std::function<void(int begin, int end)>& work);

}  // namespace gk
