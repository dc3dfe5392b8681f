#include "mapdata/GatheredReader.h"

#include <algorithm>
#include <cstring>

#include "mapdata/MemoryPopulation.h"

namespace stonereach {

namespace {

// The announced ranges are put in file order by the bucket of the file they
// start in, not one by one: the order within a bucket does not matter, as
// each read takes in at least a whole bucket.
constexpr std::size_t BucketBytes = std::size_t{64} << 10;
// One read of the file: a bucket, and what follows it up to this size.
// Ranges too long to share a read with a bucket are read on their own.
constexpr std::size_t StagingBytes = std::size_t{256} << 10;
constexpr std::size_t LongestStaged = StagingBytes - BucketBytes;

// Marks a range that could not be read: no request asks for this offset.
constexpr std::uint64_t Unread = UINT64_MAX;

std::uint64_t bucketStart(std::uint64_t offset) { return offset - offset % BucketBytes; }

} // namespace

GatheredReader::GatheredReader(const File& file, GatherBudget& budget, bool gather)
    : file_(file), budget_(budget), window_(file), gather_(gather) {}

// The tables grow to a few megabytes for a large walk; their memory is set up
// a growth at a time rather than page by page as it is first touched, which
// costs more than the reads the tables serve.
void GatheredReader::growTables() {
    const std::size_t capacity = std::max<std::size_t>(4096, wants_.capacity() * 2);
    reservePopulated(wants_, capacity);
    reservePopulated(fileOrder_, capacity);
}

void GatheredReader::forget(std::size_t announcementsBefore) {
    for (std::size_t i = announcementsBefore; i < wants_.size(); ++i)
        budget_.giveBack(wants_[i].size + AnnouncementBytes);
    wants_.resize(std::min(announcementsBefore, wants_.size()));
    packedEnd_ = wants_.empty() ? 0 : wants_.back().packedAt + wants_.back().size;
    loadedCount_ = 0;
    next_ = 0;
}

void GatheredReader::load() {
    loadedCount_ = 0;
    next_ = 0;
    if (wants_.empty())
        return;
    if (packedEnd_ > capacity_) {
        memory_ = std::make_unique_for_overwrite<std::uint8_t[]>(packedEnd_);
        capacity_ = packedEnd_;
        // Every page is about to be filled; one call sets them all up.
        populateMemory(memory_.get(), capacity_);
    }
    if (!staging_)
        staging_ = std::make_unique_for_overwrite<std::uint8_t[]>(StagingBytes);
    sortIntoFileOrder();
    readInFileOrder();
    loadedCount_ = wants_.size();
}

// A counting sort by bucket: two passes over the announcements, where a
// comparison sort of a few hundred thousand of them would take longer than
// reading the file.
void GatheredReader::sortIntoFileOrder() {
    std::uint64_t lowest = UINT64_MAX;
    std::uint64_t highest = 0;
    for (const Want& w : wants_) {
        lowest = std::min(lowest, w.offset);
        highest = std::max(highest, w.offset);
    }
    const std::uint64_t first = lowest / BucketBytes;
    bucketCounts_.assign(static_cast<std::size_t>(highest / BucketBytes - first) + 2, 0);
    for (const Want& w : wants_)
        ++bucketCounts_[static_cast<std::size_t>(w.offset / BucketBytes - first) + 1];
    for (std::size_t b = 1; b < bucketCounts_.size(); ++b)
        bucketCounts_[b] += bucketCounts_[b - 1];
    fileOrder_.resize(wants_.size());
    for (std::size_t i = 0; i < wants_.size(); ++i)
        fileOrder_[bucketCounts_[static_cast<std::size_t>(wants_[i].offset / BucketBytes - first)]++] =
            static_cast<std::uint32_t>(i);
}

// Reads the file a bucket at a time, each read reaching as far as the ranges
// that start in it need (up to StagingBytes), and copies every range to its
// place in memory.
void GatheredReader::readInFileOrder() {
    std::uint64_t staged = 0;  // the staged bytes are [staged, stagedEnd) of the file
    std::uint64_t stagedEnd = 0;
    for (std::size_t i = 0; i < fileOrder_.size(); ++i) {
        Want& w = wants_[fileOrder_[i]];
        std::uint8_t* to = memory_.get() + w.packedAt;
        if (w.size > LongestStaged) {
            if (file_.readUpTo(w.offset, {to, w.size}) < w.size)
                w.offset = Unread;
            continue;
        }
        if (w.offset < staged || w.offset + w.size > stagedEnd) {
            staged = bucketStart(w.offset);
            // As far as the ranges that start within reach end, so that
            // scattered few ranges do not pull in whole reads.
            const std::uint64_t reach = staged + StagingBytes;
            std::uint64_t needed = w.offset + w.size;
            for (std::size_t j = i + 1; j < fileOrder_.size(); ++j) {
                const Want& next = wants_[fileOrder_[j]];
                if (bucketStart(next.offset) >= reach)
                    break;
                if (next.offset + next.size <= reach)
                    needed = std::max(needed, next.offset + next.size);
            }
            stagedEnd = staged + file_.readUpTo(staged, {staging_.get(), static_cast<std::size_t>(needed - staged)});
            // A file cut short since the walk looked at its index: the
            // range is left to the window, which reports it.
            if (w.offset + w.size > stagedEnd) {
                w.offset = Unread;
                continue;
            }
        }
        std::memcpy(to, staging_.get() + (w.offset - staged), w.size);
    }
}

} // namespace stonereach
