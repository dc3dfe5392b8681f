#include "mapdata/TwoThreadPass.h"

#include <chrono>
#include <system_error>

namespace stonereach {

TwoThreadPass::TwoThreadPass(int chunks, std::function<Worker()> makeWorker)
    : chunks_(chunks), makeWorker_(std::move(makeWorker)) {
    // A pass of one chunk (small test grids) has no work to share.
    if (chunks_ <= 1)
        return;
    try {
        helper_ = std::async(std::launch::async, [this] { work({}); });
    } catch (const std::system_error&) {
        // No thread to be had: finish() does every chunk on the caller's.
    }
}

TwoThreadPass::~TwoThreadPass() { stop_ = true; }

void TwoThreadPass::work(const std::function<void()>& afterChunk) {
    try {
        const Worker worker = makeWorker_();
        for (int chunk = nextChunk_++; chunk < chunks_ && !stop_; chunk = nextChunk_++) {
            worker(chunk);
            ++chunksDone_;
            if (afterChunk)
                afterChunk();
        }
    } catch (...) {
        stop_ = true;
        throw;
    }
}

void TwoThreadPass::finish(std::string_view text, const ProgressCallback& progress, const Position& position) {
    report(progress, text, 0, 100);
    finish([&](int done) { report(progress, text, position(done), 100); });
    report(progress, text, 100, 100);
}

void TwoThreadPass::finish(const std::function<void(int chunksDone)>& chunksDone) {
    const auto reportChunks = [&] { chunksDone(chunksDone_.load()); };
    // Join in where the second thread has got to.
    work(reportChunks);
    if (helper_.valid()) {
        while (helper_.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready)
            reportChunks();
        helper_.get();
    }
}

} // namespace stonereach
