#include "mapdata/BufferedFileIO.h"

#include <algorithm>
#include <cstring>

namespace stonereach {

ReadAheadReader::ReadAheadReader(const File& file, std::size_t windowSize)
    : file_(file), window_(std::make_unique_for_overwrite<std::uint8_t[]>(windowSize)), windowSize_(windowSize) {}

void ReadAheadReader::read(std::uint64_t offset, std::span<std::uint8_t> out) {
    if (out.empty())
        return;
    const std::uint64_t end = offset + out.size();
    if (offset >= windowStart_ && end <= windowStart_ + windowFill_) {
        std::memcpy(out.data(), window_.get() + (offset - windowStart_), out.size());
        lastEnd_ = end;
        return;
    }
    // A request that starts where the last one ended, inside the window, or a
    // short skip ahead of the last one (a walk over a file that passes over
    // some of its records) fills a new window; anything else is read alone.
    const bool ahead = lastEnd_ != UINT64_MAX && offset >= lastEnd_ && offset - lastEnd_ <= windowSize_ / 4;
    const bool sequential = ahead || (offset >= windowStart_ && offset <= windowStart_ + windowFill_);
    lastEnd_ = end;
    if (!sequential || out.size() >= windowSize_) {
        file_.readAt(offset, out);
        return;
    }
    windowStart_ = offset;
    windowFill_ = file_.readUpTo(offset, {window_.get(), windowSize_});
    if (windowFill_ < out.size()) {
        file_.readAt(offset, out);  // reports the short read with the file's own message
        return;
    }
    std::memcpy(out.data(), window_.get(), out.size());
}

AppendWriter::AppendWriter(File& file, std::uint64_t startOffset, std::size_t bufferSize)
    : file_(file), flushedEnd_(startOffset), capacity_(bufferSize),
      buffer_(std::make_unique_for_overwrite<std::uint8_t[]>(bufferSize)) {}

void AppendWriter::append(std::span<const std::uint8_t> data) {
    if (filled_ + data.size() > capacity_)
        flush();
    // Data of half the buffer or more goes out as it is rather than being
    // copied in first.
    if (data.size() >= capacity_ / 2) {
        flush();
        file_.writeAt(flushedEnd_, data);
        flushedEnd_ += data.size();
        return;
    }
    std::memcpy(buffer_.get() + filled_, data.data(), data.size());
    filled_ += data.size();
}

void AppendWriter::appendFrom(ReadAheadReader& source, std::uint64_t offset, std::uint64_t length) {
    while (length > 0) {
        if (filled_ == capacity_)
            flush();
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(length, capacity_ - filled_));
        source.read(offset, {buffer_.get() + filled_, n});
        filled_ += n;
        offset += n;
        length -= n;
    }
}

void AppendWriter::flush() {
    if (filled_ == 0)
        return;
    file_.writeAt(flushedEnd_, {buffer_.get(), filled_});
    flushedEnd_ += filled_;
    filled_ = 0;
}

} // namespace stonereach
