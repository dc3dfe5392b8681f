#include "mapdata/BufferedFileIO.h"

#include <algorithm>
#include <cstring>

namespace stonereach {

ReadAheadReader::ReadAheadReader(const File& file, std::size_t windowSize) : file_(file), window_(windowSize) {}

void ReadAheadReader::read(std::uint64_t offset, std::span<std::uint8_t> out) {
    if (out.empty())
        return;
    const std::uint64_t end = offset + out.size();
    if (offset >= windowStart_ && end <= windowStart_ + windowFill_) {
        std::memcpy(out.data(), window_.data() + (offset - windowStart_), out.size());
        lastEnd_ = end;
        return;
    }
    // A request that starts where the last one ended, inside the window, or a
    // short skip ahead of the last one (a walk over a file that passes over
    // some of its records) fills a new window; anything else is read alone.
    const bool ahead = lastEnd_ != UINT64_MAX && offset >= lastEnd_ && offset - lastEnd_ <= window_.size() / 4;
    const bool sequential = ahead || (offset >= windowStart_ && offset <= windowStart_ + windowFill_);
    lastEnd_ = end;
    if (!sequential || out.size() >= window_.size()) {
        file_.readAt(offset, out);
        return;
    }
    windowStart_ = offset;
    windowFill_ = file_.readUpTo(offset, window_);
    if (windowFill_ < out.size()) {
        file_.readAt(offset, out);  // reports the short read with the file's own message
        return;
    }
    std::memcpy(out.data(), window_.data(), out.size());
}

AppendWriter::AppendWriter(File& file, std::uint64_t startOffset, std::size_t bufferSize)
    : file_(file), flushedEnd_(startOffset), capacity_(bufferSize) {
    buffer_.reserve(capacity_);
}

void AppendWriter::append(std::span<const std::uint8_t> data) {
    if (buffer_.size() + data.size() > capacity_)
        flush();
    if (data.size() >= capacity_) {
        file_.writeAt(flushedEnd_, data);
        flushedEnd_ += data.size();
        return;
    }
    buffer_.insert(buffer_.end(), data.begin(), data.end());
}

void AppendWriter::flush() {
    if (buffer_.empty())
        return;
    file_.writeAt(flushedEnd_, buffer_);
    flushedEnd_ += buffer_.size();
    buffer_.clear();
}

} // namespace stonereach
