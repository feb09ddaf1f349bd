#include "library/file_hash.h"

#include <openssl/evp.h>

#include "platform/files.h"

namespace qv5 {

namespace {

std::string HexDigest(const unsigned char* md, unsigned int len) {
    static const char* hex = "0123456789abcdef";
    std::string out;
    out.reserve(32);
    for (unsigned i = 0; i < len; ++i) {
        out += hex[md[i] >> 4];
        out += hex[md[i] & 15];
    }
    return out;
}

}  // namespace

std::string Md5Hex(std::string_view bytes) {
    unsigned char md[EVP_MAX_MD_SIZE];
    unsigned int len = 0;
    EVP_Digest(bytes.data(), bytes.size(), md, &len, EVP_md5(), nullptr);
    return HexDigest(md, len);
}

struct Md5Stream::Context {
    EVP_MD_CTX* ctx = EVP_MD_CTX_new();
};

Md5Stream::Md5Stream() : ctx_(new Context) {
    EVP_DigestInit_ex(ctx_->ctx, EVP_md5(), nullptr);
}

Md5Stream::~Md5Stream() {
    EVP_MD_CTX_free(ctx_->ctx);
    delete ctx_;
}

void Md5Stream::Update(std::string_view bytes) {
    EVP_DigestUpdate(ctx_->ctx, bytes.data(), bytes.size());
}

std::string Md5Stream::Finish() {
    unsigned char md[EVP_MAX_MD_SIZE];
    unsigned int len = 0;
    EVP_DigestFinal_ex(ctx_->ctx, md, &len);
    return HexDigest(md, len);
}

std::optional<std::string> FileHash(std::string_view path) {
    FileReader file;
    if (!file.Open(path)) return std::nullopt;
    std::string buffer;
    Md5Stream md5;
    for (;;) {
        const auto piece = file.Next(buffer, 1 << 20);
        if (!piece) return std::nullopt;
        if (piece->empty()) break;
        md5.Update(*piece);
    }
    return md5.Finish();
}

}  // namespace qv5

#include <atomic>
#include <cassert>
#include <thread>

namespace qv5 {
namespace {

// Spins briefly before sleeping: the two sides hand over thousands of small
// jobs per second during a scan, and a sleeping wake-up costs more than a job.
void AwaitChange(const std::atomic<std::uint32_t>& value, std::uint32_t old) {
    for (int i = 0; i < 256; ++i) {
        if (value.load(std::memory_order_acquire) != old) return;
#if defined(__x86_64__) || defined(__i386__)
        __builtin_ia32_pause();
#endif
    }
    while (value.load(std::memory_order_acquire) == old) value.wait(old, std::memory_order_acquire);
}

}  // namespace

struct BackgroundMd5::State {
    std::atomic<std::uint32_t> started{0}, finished{0};
    std::atomic<bool> stop{false};
    std::string_view job;
    std::string result;
    std::thread worker;
#ifndef NDEBUG
    std::thread::id owner;  // the one thread that hands jobs over
#endif
};

BackgroundMd5::BackgroundMd5() : state_(new State) {
    State* s = state_;
    s->worker = std::thread([s] {
        std::uint32_t seen = 0;
        for (;;) {
            AwaitChange(s->started, seen);
            seen = s->started.load(std::memory_order_acquire);
            if (s->stop.load()) return;
            s->result = Md5Hex(s->job);
            s->finished.store(seen, std::memory_order_release);
            s->finished.notify_all();
        }
    });
}

BackgroundMd5::~BackgroundMd5() {
    state_->stop.store(true);
    state_->started.fetch_add(1, std::memory_order_acq_rel);
    state_->started.notify_all();
    state_->worker.join();
    delete state_;
}

void BackgroundMd5::Start(std::string_view bytes) {
#ifndef NDEBUG
    // One job at a time, handed over by one thread: `job` and `result` are
    // unguarded between Start and Wait.
    if (state_->owner == std::thread::id()) state_->owner = std::this_thread::get_id();
    assert(state_->owner == std::this_thread::get_id());
    assert(state_->finished.load() == state_->started.load());
#endif
    state_->job = bytes;
    state_->started.fetch_add(1, std::memory_order_release);
    state_->started.notify_all();
}

std::string BackgroundMd5::Wait() {
    assert(state_->owner == std::this_thread::get_id());
    const std::uint32_t target = state_->started.load(std::memory_order_acquire);
    for (;;) {
        const std::uint32_t now = state_->finished.load(std::memory_order_acquire);
        if (now == target) break;
        AwaitChange(state_->finished, now);
    }
    return std::move(state_->result);
}

}  // namespace qv5
