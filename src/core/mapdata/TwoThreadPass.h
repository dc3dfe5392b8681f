#pragma once

#include <atomic>
#include <functional>
#include <future>
#include <string_view>

#include "mapdata/Progress.h"

namespace stonereach {

// A pass over a file in numbered chunks, shared by two threads. A second
// thread starts taking chunks as soon as the object is made, so the pass runs
// while the caller does other work; finish() has the caller's thread take
// what is left, wait for the second and report the progress. Each thread
// makes its own worker (its buffers and readers) with `makeWorker`, so two
// chunks share nothing but the files they read and write; the chunks must
// not overlap.
class TwoThreadPass {
public:
    // Does one chunk; called on one thread only.
    using Worker = std::function<void(int chunk)>;
    // The progress position 0..100 once `chunksDone` chunks are done.
    using Position = std::function<int(int chunksDone)>;

    TwoThreadPass(int chunks, std::function<Worker()> makeWorker);
    TwoThreadPass(const TwoThreadPass&) = delete;
    TwoThreadPass& operator=(const TwoThreadPass&) = delete;
    // Stops the second thread at its next chunk (when the caller gave up
    // before finish(), say on an error of its own) and waits for it.
    ~TwoThreadPass();

    // Works on the pass with the caller's thread until every chunk is done,
    // reporting `position` under `text` (the callback is only ever called on
    // this thread). Throws the first error either thread met; after one, the
    // other thread stops at its next chunk.
    void finish(std::string_view text, const ProgressCallback& progress, const Position& position);
    // The same for callers whose progress is not a position per chunk:
    // `chunksDone` is told how many chunks are done after each chunk the
    // caller's thread does and while it waits for the second (on this thread
    // only); what is reported once all are done is the caller's to report.
    void finish(const std::function<void(int chunksDone)>& chunksDone);

private:
    void work(const std::function<void()>& afterChunk);

    int chunks_;
    std::function<Worker()> makeWorker_;
    std::atomic<int> nextChunk_{0};
    std::atomic<int> chunksDone_{0};
    std::atomic<bool> stop_{false};
    // Last, so that it is destroyed first: its destructor waits for the
    // thread, which uses the members above.
    std::future<void> helper_;
};

} // namespace stonereach
