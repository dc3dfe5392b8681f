#include "mapdata/GatheredReader.h"

#include <algorithm>
#include <cstring>

#include "mapdata/MemoryPopulation.h"

namespace stonereach {

namespace {

// One read of the file: a bucket, and what follows it up to this size.
// Ranges too long to share a read with a bucket are read on their own.
constexpr std::size_t StagingBytes = std::size_t{256} << 10;

std::uint64_t endOf(std::uint32_t offset, std::uint32_t size) { return std::uint64_t{offset} + size; }

} // namespace

GatheredReader::GatheredReader(const File& file, GatherBudget& budget, bool gather, std::size_t mostRanges)
    : file_(file), budget_(budget), window_(file), gather_(gather), mostRanges_(mostRanges) {
    if (!gather)
        return;
    fileEnd_ = std::min<std::uint64_t>(file.size(), LargestFile);
    bucketCounts_.assign(bucketOf(static_cast<std::uint32_t>(fileEnd_)) + 1, 0);
}

// The tables take a few megabytes for a large walk. Fresh memory is costly
// (setting up its pages, on virtual machines above all), so it is set up in
// one call for all the tables will hold, not page by page as they grow; and
// only once the first range is announced, as a walk may need none.
void GatheredReader::growTables() {
    const std::size_t capacity = std::max({std::size_t{64}, mostRanges_, wants_.capacity() * 2});
    reservePopulated(wants_, capacity);
    reservePopulated(placed_, capacity);
}

void GatheredReader::forget(std::size_t announcementsBefore) {
    for (std::size_t i = announcementsBefore; i < wants_.size(); ++i) {
        budget_.giveBack(wants_[i].size + AnnouncementBytes);
        --bucketCounts_[bucketOf(wants_[i].offset)];
        packedEnd_ -= wants_[i].size;
    }
    wants_.resize(std::min(announcementsBefore, wants_.size()));
}

void GatheredReader::clear() {
    for (const Want& w : wants_)
        budget_.giveBack(w.size + AnnouncementBytes);
    wants_.clear();
    packedEnd_ = 0;
    // Counts of the announcements, or what load() left of them.
    std::fill(bucketCounts_.begin(), bucketCounts_.end(), 0);
    loadedCount_ = 0;
    next_ = 0;
    nextAt_ = 0;
}

void GatheredReader::load() {
    loadedCount_ = 0;
    next_ = 0;
    nextAt_ = 0;
    if (wants_.empty())
        return;
    if (packedEnd_ > capacity_) {
        memory_ = std::make_unique_for_overwrite<std::uint8_t[]>(packedEnd_);
        capacity_ = packedEnd_;
        // Every page is about to be filled; one call sets them all up.
        populateMemory(memory_.get(), capacity_);
    }
    // No read is longer than the file.
    if (!staging_)
        staging_ = std::make_unique_for_overwrite<std::uint8_t[]>(std::min<std::uint64_t>(StagingBytes, fileEnd_));
    placeInFileOrder();
    // A range the file no longer holds (cut short since the walk looked at
    // its index) leaves the whole stretch to the window, which reports it
    // when the walk comes to it.
    if (readInFileOrder())
        loadedCount_ = wants_.size();
}

// A counting sort by bucket, whose counts were kept as the ranges were
// announced: one pass over them, where a comparison sort of a few hundred
// thousand would take longer than reading the file. Each range takes its
// place in memory, the walk's order, on the way.
void GatheredReader::placeInFileOrder() {
    std::uint32_t at = 0;
    for (std::uint32_t& count : bucketCounts_) {
        const std::uint32_t n = count;
        count = at;
        at += n;
    }
    placed_.resize(wants_.size());
    std::uint32_t packedAt = 0;
    for (const Want& w : wants_) {
        placed_[bucketCounts_[bucketOf(w.offset)]++] = Placed{w.offset, w.size, packedAt};
        packedAt += w.size;
    }
}

// Reads the file a bucket at a time, each read reaching as far as the ranges
// that start in it need (up to StagingBytes), and copies every range to its
// place in memory. False when the file ends before a range.
bool GatheredReader::readInFileOrder() {
    constexpr std::size_t LongestStaged = StagingBytes - BucketBytes;
    std::uint64_t staged = 0;  // the staged bytes are [staged, stagedEnd) of the file
    std::uint64_t stagedEnd = 0;
    for (std::size_t i = 0; i < placed_.size(); ++i) {
        const Placed& p = placed_[i];
        std::uint8_t* to = memory_.get() + p.packedAt;
        if (p.size > LongestStaged) {
            if (file_.readUpTo(p.offset, {to, p.size}) < p.size)
                return false;
            continue;
        }
        if (p.offset < staged || endOf(p.offset, p.size) > stagedEnd) {
            staged = p.offset - p.offset % BucketBytes;
            // As far as the ranges that start within reach end, so that a
            // few scattered ranges do not pull in whole reads.
            const std::uint64_t reach = staged + StagingBytes;
            std::uint64_t needed = endOf(p.offset, p.size);
            for (std::size_t j = i + 1; j < placed_.size() && placed_[j].offset - placed_[j].offset % BucketBytes < reach;
                 ++j)
                if (endOf(placed_[j].offset, placed_[j].size) <= reach)
                    needed = std::max(needed, endOf(placed_[j].offset, placed_[j].size));
            stagedEnd = staged + file_.readUpTo(staged, {staging_.get(), static_cast<std::size_t>(needed - staged)});
            if (endOf(p.offset, p.size) > stagedEnd)
                return false;
        }
        std::memcpy(to, staging_.get() + (p.offset - staged), p.size);
    }
    return true;
}

} // namespace stonereach
