#include "mapdata/FaultInjection.h"

#include <atomic>

namespace stonereach {

namespace {

std::atomic<FaultInjector*> installed{nullptr};

} // namespace

const char* ioOperationName(IoOperation operation) {
    switch (operation) {
    case IoOperation::Open: return "open";
    case IoOperation::Read: return "read";
    case IoOperation::Write: return "write";
    case IoOperation::Size: return "size";
    case IoOperation::Resize: return "resize";
    case IoOperation::Sync: return "sync";
    case IoOperation::Close: return "close";
    case IoOperation::Rename: return "rename";
    }
    return "unknown";
}

FaultInjector* installedFaultInjector() noexcept { return installed.load(std::memory_order_relaxed); }

ScopedFaultInjector::ScopedFaultInjector(FaultInjector& injector)
    : previous_(installed.exchange(&injector)) {}

ScopedFaultInjector::~ScopedFaultInjector() { installed.store(previous_); }

} // namespace stonereach
