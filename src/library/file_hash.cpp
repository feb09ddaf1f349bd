#include "library/file_hash.h"

#include <openssl/evp.h>

#include "platform/files.h"

namespace qv5 {

std::string Md5Hex(std::string_view bytes) {
    unsigned char md[EVP_MAX_MD_SIZE];
    unsigned int len = 0;
    EVP_Digest(bytes.data(), bytes.size(), md, &len, EVP_md5(), nullptr);
    static const char* hex = "0123456789abcdef";
    std::string out;
    out.reserve(32);
    for (unsigned i = 0; i < len; ++i) {
        out += hex[md[i] >> 4];
        out += hex[md[i] & 15];
    }
    return out;
}

std::optional<std::string> FileHash(std::string_view path) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) return std::nullopt;
    return Md5Hex(bytes);
}

}  // namespace qv5
