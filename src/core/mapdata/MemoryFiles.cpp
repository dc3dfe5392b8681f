#include "mapdata/MemoryFiles.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace stonereach {

namespace fs = std::filesystem;

namespace {

std::atomic<MemoryFiles*> installed{nullptr};

} // namespace

std::size_t MemoryFile::read(std::uint64_t offset, std::span<std::uint8_t> out) const {
    if (offset >= size_)
        return 0;
    const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), size_ - offset));
    for (std::size_t done = 0; done < n;) {
        const std::uint64_t at = offset + done;
        const std::size_t inPage = static_cast<std::size_t>(at % PageSize);
        const std::size_t count = std::min(n - done, PageSize - inPage);
        const auto page = pages_.find(at / PageSize);
        // Bytes past what the page holds are zeros.
        const std::size_t held =
            page == pages_.end() ? 0 : std::min(count, page->second.size() - std::min(page->second.size(), inPage));
        if (held > 0)
            std::memcpy(out.data() + done, page->second.data() + inPage, held);
        std::memset(out.data() + done + held, 0, count - held);
        done += count;
    }
    return n;
}

void MemoryFile::write(std::uint64_t offset, std::span<const std::uint8_t> data) {
    for (std::size_t done = 0; done < data.size();) {
        const std::uint64_t at = offset + done;
        const std::size_t inPage = static_cast<std::size_t>(at % PageSize);
        const std::size_t count = std::min(data.size() - done, PageSize - inPage);
        Page& page = pages_[at / PageSize];
        if (page.size() < inPage + count)
            page.resize(inPage + count);  // zeros up to the new bytes
        std::memcpy(page.data() + inPage, data.data() + done, count);
        done += count;
    }
    size_ = std::max(size_, offset + data.size());
}

void MemoryFile::resize(std::uint64_t size) {
    if (size < size_) {
        // Pages wholly past the end go; the last one is cut at the end, so
        // that lengthening the file again shows zeros there.
        std::erase_if(pages_, [&](const auto& page) { return page.first * PageSize >= size; });
        if (const auto last = pages_.find(size / PageSize); last != pages_.end() && last->second.size() > size % PageSize)
            last->second.resize(size % PageSize);
    }
    size_ = size;
}

MemoryFiles::MemoryFiles(fs::path folder) : folder_((folder / "").native()) {}

// Paths are taken as written, not normalised: every file operation asks
// holds(), and normalising a path costs more than the operation in memory.
const std::string& MemoryFiles::key(const fs::path& path) { return path.native(); }

bool MemoryFiles::holds(const fs::path& path) const {
    const std::string& name = key(path);
    return name.size() > folder_.size() && name.compare(0, folder_.size(), folder_) == 0;
}

MemoryFileBytes MemoryFiles::find(const fs::path& path) const {
    const auto it = files_.find(key(path));
    return it == files_.end() ? nullptr : it->second;
}

MemoryFileBytes MemoryFiles::create(const fs::path& path) {
    return files_[key(path)] = std::make_shared<MemoryFile>();
}

bool MemoryFiles::rename(const fs::path& from, const fs::path& to) {
    const auto it = files_.find(key(from));
    if (it == files_.end())
        return false;
    MemoryFileBytes bytes = it->second;
    files_.erase(it);
    files_[key(to)] = std::move(bytes);
    return true;
}

void MemoryFiles::remove(const fs::path& path) { files_.erase(key(path)); }

void MemoryFiles::removeAllBelow(const fs::path& folder) {
    const std::string prefix = (folder / "").native();
    for (auto it = files_.lower_bound(prefix); it != files_.end() && it->first.starts_with(prefix);)
        it = files_.erase(it);
}

std::vector<std::string> MemoryFiles::namesIn(const fs::path& folder) const {
    const std::string prefix = (folder / "").native();
    std::vector<std::string> names;
    for (auto it = files_.lower_bound(prefix); it != files_.end() && it->first.starts_with(prefix); ++it)
        if (it->first.find('/', prefix.size()) == std::string::npos)
            names.push_back(it->first.substr(prefix.size()));
    return names;
}

MemoryFiles* installedMemoryFiles() noexcept { return installed.load(std::memory_order_relaxed); }

ScopedMemoryFiles::ScopedMemoryFiles(MemoryFiles& files) : previous_(installed.exchange(&files)) {}

ScopedMemoryFiles::~ScopedMemoryFiles() { installed.store(previous_); }

} // namespace stonereach
