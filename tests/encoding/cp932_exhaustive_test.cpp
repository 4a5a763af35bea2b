// Every single byte, every two-byte sequence and every UTF-16 code unit converted, and
// checked against the one table of digests made from the Linux build: a platform whose
// converter differs from it anywhere fails here, naming the block.

#include <gtest/gtest.h>

#include "cp932_digests.h"
#include "cp932_mapping.h"

namespace {

using qb::test::Digest;
using qb::test::kBlocks;

TEST(Cp932Exhaustive, EveryOneAndTwoByteSequenceDecodesAsTheTableSays) {
    for (int b = 0; b < kBlocks; ++b) {
        const std::string text = qb::test::DecodeBlockText(b);
        EXPECT_EQ(Digest(text), qb::test::kDecodeDigests[b]) << "first byte " << std::hex << b << ":\n" << text;
    }
}

TEST(Cp932Exhaustive, EveryCodeUnitEncodesAsTheTableSays) {
    for (int h = 0; h < kBlocks; ++h) {
        const std::string text = qb::test::EncodeBlockText(h);
        EXPECT_EQ(Digest(text), qb::test::kEncodeDigests[h]) << "code units " << std::hex << h << "00..:\n" << text;
    }
}

}  // namespace
