#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>

#include "mapdata/File.h"
#include "mapdata/IoBuffer.h"

namespace stonereach {

// How much of a map a whole-file tool reads or writes at a time (ten block
// columns of a large map). Larger reads save system calls, and the buffers
// are populated in one call (see makeIoBuffer), so their size costs little:
// a quarter of this size took 5 to 15% longer to apply a patch or copy a
// whole map, and no less to make a patch.
inline constexpr std::size_t WholeFileChunkBytes = std::size_t{1} << 20;

// Writes that fill a new file: a new file's pages are set up as it is written,
// which goes faster in larger writes (a map's worth written in pieces of two
// block columns took a third longer than in pieces of a megabyte).
inline constexpr std::size_t NewFileWriteBytes = std::size_t{1} << 20;

// The read-ahead window and the collected writes for the smaller files a
// whole-file tool streams (statics, their indexes, patches): a few megabytes
// each, so a smaller buffer, for the same reason.
inline constexpr std::size_t StreamBufferBytes = std::size_t{128} << 10;

// Windows and collected writes start this small and grow as the data goes
// on: a small file then never pays for setting up a large buffer.
inline constexpr std::size_t FirstBufferBytes = std::size_t{16} << 10;

// Reads ranges of a file through a read-ahead window. Requests that follow one
// another in the file, or skip a little ahead, are served from one large read;
// a request elsewhere is read by itself, so scattered small reads never pull in
// whole windows.
class ReadAheadReader {
public:
    explicit ReadAheadReader(const ByteSource& file, std::size_t windowSize = StreamBufferBytes);

    // Reads exactly out.size() bytes at offset (IoError when the file ends
    // before that).
    void read(std::uint64_t offset, std::span<std::uint8_t> out);

    // The `size` bytes at offset as they lie in the window, with no copy:
    // valid until the reader is used again, and followed by CopySlackBytes
    // readable ones (see copyInSteps). A request elsewhere than the window
    // goes on from is read alone into the window. `size` may be at most the
    // window's size (else RangeError).
    std::span<const std::uint8_t> view(std::uint64_t offset, std::size_t size) {
        // Inline for the common case, as walks over statics ask for every
        // block's records.
        if (size == 0 || !holds(offset, size))
            return viewRefilling(offset, size);
        lastEnd_ = offset + size;
        return {window_.get() + (offset - windowStart_), size};
    }

private:
    std::span<const std::uint8_t> viewRefilling(std::uint64_t offset, std::size_t size);
    bool holds(std::uint64_t offset, std::size_t size) const {
        return offset >= windowStart_ && offset + size <= windowStart_ + windowFill_;
    }
    bool followsOn(std::uint64_t offset) const;
    void prepareWindow(std::size_t size);

    const ByteSource& file_;
    // Left uninitialised: only bytes read from the file are ever used. Set up
    // at the first read, and grown while reads fill it; it keeps
    // CopySlackBytes past allocated_.
    IoBuffer window_;
    std::size_t allocated_ = 0;
    std::size_t windowSize_;
    std::uint64_t windowStart_ = 0;
    std::size_t windowFill_ = 0;
    std::uint64_t lastEnd_ = UINT64_MAX;
};

// Appends to a file from a given offset on, collecting small appends into
// large writes. position() is where the next byte lands.
class AppendWriter {
public:
    AppendWriter(File& file, std::uint64_t startOffset, std::size_t bufferSize = StreamBufferBytes);
    AppendWriter(const AppendWriter&) = delete;
    AppendWriter& operator=(const AppendWriter&) = delete;

    void append(std::span<const std::uint8_t> data) {
        // Inline for the common case of a small append that fits.
        if (data.empty() || filled_ + data.size() > allocated_ || data.size() >= capacity_ / 2)
            return appendOtherwise(data);
        std::memcpy(buffer_.get() + filled_, data.data(), data.size());
        filled_ += data.size();
    }
    // The same for bytes followed by CopySlackBytes readable ones (in a
    // buffer that keeps them): short appends go in with copyInSteps.
    void appendPadded(std::span<const std::uint8_t> data) {
        if (filled_ + data.size() > allocated_ || data.size() > CopySlackBytes * 4)
            return appendOtherwise(data);
        copyInSteps(buffer_.get() + filled_, data.data(), data.size());
        filled_ += data.size();
    }
    // Appends `length` bytes read at `offset` through `source`, read straight
    // into the collected data with no copy in between.
    void appendFrom(ReadAheadReader& source, std::uint64_t offset, std::uint64_t length);
    std::uint64_t position() const { return flushedEnd_ + filled_; }
    // Goes on `bytes` further on, past bytes written there by other means
    // (several threads writing at known offsets, say). Flushes first.
    void skip(std::uint64_t bytes) {
        flush();
        flushedEnd_ += bytes;
    }
    // Writes out what is collected; call before reading the file back or
    // closing it (the destructor does not write, so a failed run leaves no
    // half-flushed surprise).
    void flush();

private:
    void appendOtherwise(std::span<const std::uint8_t> data);
    // Grows the buffer (up to capacity_) to hold `needed` bytes.
    void grow(std::size_t needed);

    File& file_;
    std::uint64_t flushedEnd_;
    std::size_t capacity_;
    std::size_t filled_ = 0;
    // Left uninitialised: only bytes appended are ever written out. It grows
    // from FirstBufferBytes to capacity_ as appends fill it, and keeps
    // CopySlackBytes past allocated_ for appendPadded.
    IoBuffer buffer_;
    std::size_t allocated_ = 0;
};

} // namespace stonereach
