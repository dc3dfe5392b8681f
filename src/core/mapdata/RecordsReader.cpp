#include "mapdata/RecordsReader.h"

#include <new>

#include "mapdata/MemoryPopulation.h"

namespace stonereach {

RecordsReader::RecordsReader(const File& file, bool wholeInMemory)
    : file_(file), window_(file), readsWhole_(wholeInMemory && file.size() <= MostHeldBytes) {}

std::span<const std::uint8_t> RecordsReader::viewOtherwise(std::uint64_t offset, std::size_t size) {
    if (readsWhole_ && !read_) {
        read_ = true;
        readWhole();
        if (offset <= loaded_ && size <= loaded_ - offset)
            return {memory_.get() + offset, size};
    }
    return window_.view(offset, size);
}

void RecordsReader::readWhole() {
    const std::uint64_t size = file_.size();
    if (size == 0)
        return;
    try {
        memory_ = makeIoBuffer(static_cast<std::size_t>(size) + CopySlackBytes);
    } catch (const std::bad_alloc&) {
        return;  // the window serves every record: slower, but the same bytes
    }
    loaded_ = file_.readUpTo(0, {memory_.get(), static_cast<std::size_t>(size)});
    if (loaded_ == 0)
        memory_.reset();
}

} // namespace stonereach
