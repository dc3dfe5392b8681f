#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace stonereach {

// A growing list of small records kept in chunks of `ChunkSize`: appending
// never copies the list (a list of millions of rows never holds a doubled
// copy of itself), and large chunks keep the allocator's own bookkeeping to
// a few bytes a chunk, so a record costs its size and nothing more. Shrinking
// gives whole chunks back.
template <class T, std::size_t ChunkSize = 8192>
class ChunkedVector {
public:
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

    T& operator[](std::size_t i) { return chunks_[i / ChunkSize][i % ChunkSize]; }
    const T& operator[](std::size_t i) const { return chunks_[i / ChunkSize][i % ChunkSize]; }
    T& back() { return (*this)[size_ - 1]; }
    const T& back() const { return (*this)[size_ - 1]; }

    void push_back(const T& value) {
        if (size_ == chunks_.size() * ChunkSize)
            chunks_.push_back(std::make_unique<T[]>(ChunkSize));
        (*this)[size_++] = value;
    }
    void pop_back() { truncate(size_ - 1); }

    // Keeps the first `count` records (all when there are fewer).
    void truncate(std::size_t count) {
        if (count >= size_)
            return;
        size_ = count;
        chunks_.resize((count + ChunkSize - 1) / ChunkSize);
    }
    void clear() {
        chunks_.clear();
        chunks_.shrink_to_fit();
        size_ = 0;
    }

private:
    std::vector<std::unique_ptr<T[]>> chunks_;
    std::size_t size_ = 0;
};

} // namespace stonereach
