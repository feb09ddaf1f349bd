#include "platform/file_map.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <mutex>
#include <new>

#include "platform/paths.h"

namespace qv5 {
namespace {

constexpr size_t kPage = 4096;
constexpr size_t kMaxSlots = 64;

// Regions the signal handler may mend, as plain addresses: it never touches
// a FileMaps object, only these and the region's own header page.
constexpr int kMaxRegions = 64;
struct RegionEntry {
    std::atomic<std::uintptr_t> begin{0}, end{0};
};
RegionEntry g_regions[kMaxRegions];

struct sigaction g_previous;
std::once_flag g_installed;

// Replaces the rest of a slot's mapping with zero pages and marks the slot,
// when the faulting address lies in a slot; false otherwise.
bool MendSlot(std::uintptr_t address);

void OnBusError(int sig, siginfo_t* info, void* context) {
    const int saved_errno = errno;
    if (MendSlot(reinterpret_cast<std::uintptr_t>(info->si_addr))) {
        errno = saved_errno;
        return;  // the read runs again, on zeros
    }
    errno = saved_errno;
    // Not ours: whoever handled the signal before does, or the default
    // action ends the program as it would have without us.
    if ((g_previous.sa_flags & SA_SIGINFO) && g_previous.sa_sigaction) {
        g_previous.sa_sigaction(sig, info, context);
        return;
    }
    if (!(g_previous.sa_flags & SA_SIGINFO) && g_previous.sa_handler != SIG_DFL &&
        g_previous.sa_handler != SIG_IGN) {
        g_previous.sa_handler(sig);
        return;
    }
    signal(sig, SIG_DFL);
    if (info->si_code <= 0) raise(sig);  // sent, not a fault: it would not come again
}

void Install() {
    struct sigaction action {};
    action.sa_sigaction = OnBusError;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    sigaction(SIGBUS, &action, &g_previous);
}

// Lives in the region's first page, so the handler can reach it by address.
struct Header {
    std::atomic<unsigned char> cut[kMaxSlots];
};
static_assert(sizeof(Header) <= kPage);
static_assert(std::atomic<unsigned char>::is_always_lock_free);

Header* HeaderOf(std::byte* region) {
    return reinterpret_cast<Header*>(region);
}

bool MendSlot(std::uintptr_t address) {
    for (RegionEntry& r : g_regions) {
        const std::uintptr_t begin = r.begin.load(std::memory_order_acquire);
        if (begin == 0 || address < begin + kPage || address >= r.end.load()) continue;
        const size_t slot = (address - begin - kPage) / FileMaps::kSlotBytes;
        const std::uintptr_t slot_end = begin + kPage + (slot + 1) * FileMaps::kSlotBytes;
        const std::uintptr_t from = address & ~std::uintptr_t{kPage - 1};
        void* zeros = mmap(reinterpret_cast<void*>(from), slot_end - from, PROT_READ,
                           MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED | MAP_NORESERVE, -1, 0);
        if (zeros == MAP_FAILED) return false;
        reinterpret_cast<Header*>(begin)->cut[slot].store(1);
        return true;
    }
    return false;
}

}  // namespace

FileMaps::FileMaps(size_t slots) {
    if (slots == 0 || slots > kMaxSlots) return;
    std::call_once(g_installed, Install);
    const size_t bytes = kPage + slots * kSlotBytes;
    void* p = mmap(nullptr, bytes, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (p == MAP_FAILED) return;
    if (mprotect(p, kPage, PROT_READ | PROT_WRITE) != 0) {
        munmap(p, bytes);
        return;
    }
    const auto begin = reinterpret_cast<std::uintptr_t>(p);
    for (int i = 0; i < kMaxRegions; ++i) {
        std::uintptr_t expected = 0;
        if (!g_regions[i].begin.compare_exchange_strong(expected, begin)) continue;
        g_regions[i].end.store(begin + bytes);
        registry_index_ = i;
        break;
    }
    if (registry_index_ < 0) {  // too many at once: read instead
        munmap(p, bytes);
        return;
    }
    region_ = static_cast<std::byte*>(p);
    region_bytes_ = bytes;
    slots_ = slots;
    new (region_) Header{};
}

FileMaps::~FileMaps() {
    if (!region_) return;
    g_regions[registry_index_].end.store(0);
    g_regions[registry_index_].begin.store(0, std::memory_order_release);
    munmap(region_, region_bytes_);
}

std::byte* FileMaps::slot_address(size_t slot) const {
    return region_ + kPage + slot * kSlotBytes;
}

std::optional<std::string_view> FileMaps::Map(size_t slot, std::string_view path,
                                              FileTime* write_time) {
    if (!region_ || slot >= slots_) return std::nullopt;
    const auto host = ToHostPath(path);
    if (!host) return std::nullopt;
    // Non-blocking, and regular files only: a FIFO or device never hangs.
    const int fd = ::open(host->c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= 0 ||
        static_cast<std::uint64_t>(st.st_size) > kSlotBytes) {
        ::close(fd);
        return std::nullopt;
    }
    HeaderOf(region_)->cut[slot].store(0);
    void* p = mmap(slot_address(slot), static_cast<size_t>(st.st_size), PROT_READ,
                   MAP_PRIVATE | MAP_FIXED | MAP_POPULATE, fd, 0);
    ::close(fd);
    if (p == MAP_FAILED) {
        // A refused MAP_FIXED may have dropped the slot's old pages: keep
        // the address space reserved, as it was.
        mmap(slot_address(slot), kSlotBytes, PROT_NONE,
             MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED | MAP_NORESERVE, -1, 0);
        return std::nullopt;
    }
    if (write_time) *write_time = ToFileTime(st.st_mtime);
    return std::string_view(reinterpret_cast<const char*>(p), static_cast<size_t>(st.st_size));
}

bool FileMaps::intact(size_t slot) const {
    return region_ && slot < slots_ && HeaderOf(region_)->cut[slot].load() == 0;
}

void FileMaps::UnmapAll() {
    if (!region_) return;
    mmap(slot_address(0), slots_ * kSlotBytes, PROT_NONE,
         MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED | MAP_NORESERVE, -1, 0);
    for (size_t i = 0; i < slots_; ++i) HeaderOf(region_)->cut[i].store(0);
}

}  // namespace qv5
