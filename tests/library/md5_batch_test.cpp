#include "library/md5_batch.h"

#include <gtest/gtest.h>

#include <random>

#include "library/file_hash.h"

namespace qv5 {
namespace {

TEST(Md5Batch, KnownDigests) {
    std::string empty, abc, quick;
    Md5Batch batch;
    batch.Add("", &empty);
    batch.Add("abc", &abc);
    batch.Add("The quick brown fox jumps over the lazy dog", &quick);
    batch.Run();
    EXPECT_EQ(empty, "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(abc, "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(quick, "9e107d9d372bb6826bd81d3542a419d6");
    EXPECT_EQ(batch.size(), 0u);
}

// Every padding boundary (55, 56, 63, 64 bytes...) in batches smaller and
// larger than the lanes, with lengths mixed so lanes refill at different
// blocks; each digest must equal the one-by-one digest.
TEST(Md5Batch, SameAsOneByOne) {
    std::mt19937 rng(7);
    std::vector<std::string> messages;
    for (size_t n = 0; n <= 200; ++n) {
        std::string m(n, '\0');
        for (char& c : m) c = static_cast<char>(rng());
        messages.push_back(std::move(m));
    }
    for (size_t n : {1000u, 4095u, 4096u, 4097u, 100003u, 65536u * 3 + 55}) {
        std::string m(n, '\0');
        for (char& c : m) c = static_cast<char>(rng());
        messages.push_back(std::move(m));
    }
    std::shuffle(messages.begin(), messages.end(), rng);
    for (size_t batch_size : {1u, 2u, 7u, 8u, 9u, 33u, 500u}) {
        for (size_t first = 0; first < messages.size(); first += batch_size) {
            Md5Batch batch;
            const size_t end = std::min(messages.size(), first + batch_size);
            std::vector<std::string> out(end - first);
            for (size_t i = first; i < end; ++i) batch.Add(messages[i], &out[i - first]);
            batch.Run();
            for (size_t i = first; i < end; ++i)
                ASSERT_EQ(out[i - first], Md5Hex(messages[i]))
                    << "length " << messages[i].size() << " in a batch of " << batch_size;
        }
    }
}

}  // namespace
}  // namespace qv5
