// The song hash: MD5 of all bytes of a chart file, 32 lower-case hex digits.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qv5 {

std::string Md5Hex(std::string_view bytes);
// nullopt when the file cannot be read. Reads in bounded pieces.
std::optional<std::string> FileHash(std::string_view path);

// MD5 over bytes given piece by piece.
class Md5Stream {
  public:
    Md5Stream();
    ~Md5Stream();
    Md5Stream(const Md5Stream&) = delete;
    Md5Stream& operator=(const Md5Stream&) = delete;
    void Update(std::string_view bytes);
    // The digest as in Md5Hex; the stream is used up.
    std::string Finish();

  private:
    struct Context;
    Context* ctx_;
};

}  // namespace qv5

namespace qv5 {

// Hashes one buffer on a helper thread while the caller works on the same
// bytes; Wait() returns the digest. One job at a time per object, started
// and waited for by one thread (checked in debug builds).
class BackgroundMd5 {
  public:
    BackgroundMd5();
    ~BackgroundMd5();
    BackgroundMd5(const BackgroundMd5&) = delete;
    BackgroundMd5& operator=(const BackgroundMd5&) = delete;
    // `bytes` must stay alive and unchanged until Wait() returns.
    void Start(std::string_view bytes);
    std::string Wait();

  private:
    struct State;
    State* state_;
};

}  // namespace qv5
