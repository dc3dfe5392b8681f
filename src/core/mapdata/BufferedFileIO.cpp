#include "mapdata/BufferedFileIO.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "mapdata/Errors.h"

namespace stonereach {

ReadAheadReader::ReadAheadReader(const ByteSource& file, std::size_t windowSize) : file_(file), windowSize_(windowSize) {}

// The window starts small and grows fourfold each time a read fills it (the
// file goes on), up to windowSize_; it always holds `size` bytes. Called only
// before the window is filled anew.
void ReadAheadReader::prepareWindow(std::size_t size) {
    std::size_t wanted = allocated_ == 0 ? FirstBufferBytes : allocated_;
    if (allocated_ > 0 && windowFill_ == allocated_)
        wanted = allocated_ * 4;
    wanted = std::min(std::max(wanted, size), windowSize_);
    if (wanted > allocated_) {
        window_ = makeIoBuffer(wanted + CopySlackBytes);
        allocated_ = wanted;
    }
}

// A request that starts where the last one ended, inside the window, or a
// short skip ahead of the last one (a walk over a file that passes over some
// of its records) is worth a new window; anything else is read alone.
bool ReadAheadReader::followsOn(std::uint64_t offset) const {
    const bool ahead = lastEnd_ != UINT64_MAX && offset >= lastEnd_ && offset - lastEnd_ <= windowSize_ / 4;
    return ahead || (offset >= windowStart_ && offset <= windowStart_ + windowFill_);
}

void ReadAheadReader::read(std::uint64_t offset, std::span<std::uint8_t> out) {
    if (out.empty())
        return;
    // A request of half a window or more gains nothing from the window: it
    // is read straight into place.
    if (!holds(offset, out.size()) && (!followsOn(offset) || out.size() >= windowSize_ / 2)) {
        lastEnd_ = offset + out.size();
        file_.readAt(offset, out);
        return;
    }
    const auto bytes = view(offset, out.size());
    std::memcpy(out.data(), bytes.data(), out.size());
}

std::span<const std::uint8_t> ReadAheadReader::viewRefilling(std::uint64_t offset, std::size_t size) {
    if (size == 0)
        return {};
    if (size > windowSize_)
        throw RangeError("A read of " + std::to_string(size) + " bytes does not fit a read-ahead window of " +
                         std::to_string(windowSize_));
    if (!holds(offset, size)) {
        const bool fill = followsOn(offset);
        prepareWindow(size);
        windowStart_ = offset;
        windowFill_ = 0;
        if (fill)
            windowFill_ = file_.readUpTo(offset, {window_.get(), allocated_});
        if (windowFill_ < size) {
            // Read alone, or the file ends too soon: then readAt reports the
            // short read with the file's own message.
            file_.readAt(offset, {window_.get(), size});
            windowFill_ = size;
        }
    }
    lastEnd_ = offset + size;
    return {window_.get() + (offset - windowStart_), size};
}

AppendWriter::AppendWriter(File& file, std::uint64_t startOffset, std::size_t bufferSize)
    : file_(file), flushedEnd_(startOffset), capacity_(bufferSize) {}

void AppendWriter::grow(std::size_t needed) {
    // appendFrom asks on every run it copies: a buffer that already holds
    // what is needed must not grow fourfold each time.
    if (needed <= allocated_)
        return;
    const std::size_t size = std::min(capacity_, std::max({needed, FirstBufferBytes, allocated_ * 4}));
    if (size <= allocated_)
        return;
    IoBuffer bigger = makeIoBuffer(size + CopySlackBytes);
    if (filled_ > 0)
        std::memcpy(bigger.get(), buffer_.get(), filled_);
    buffer_ = std::move(bigger);
    allocated_ = size;
}

void AppendWriter::appendOtherwise(std::span<const std::uint8_t> data) {
    if (data.empty())
        return;
    if (filled_ + data.size() > allocated_ && allocated_ < capacity_ && data.size() < capacity_ / 2)
        grow(filled_ + data.size());
    if (filled_ + data.size() > allocated_)
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
        // A run that fits the buffer goes in whole, so that a long one is
        // read in one piece, straight into place.
        if (filled_ + std::min<std::uint64_t>(length, capacity_) > capacity_)
            flush();
        grow(static_cast<std::size_t>(std::min<std::uint64_t>(filled_ + length, capacity_)));
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(length, allocated_ - filled_));
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
