#include "platform/os/memory_policy.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

long MinorFaults() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

// Makes and frees what a fine large map holds: many blocks of a texture's size.
void MakeAndFreeTextures() {
    std::vector<void*> blocks;
    for (int i = 0; i < 400; ++i) {
        void* block = std::malloc(160000);
        ASSERT_NE(block, nullptr);
        std::memset(block, 1, 160000);
        blocks.push_back(block);
    }
    for (void* block : blocks) {
        std::free(block);
    }
}

TEST(MemoryPolicy, FreedTextureMemoryIsTakenAgainWithoutPageFaults) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer brings its own allocator";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    GTEST_SKIP() << "the address sanitizer brings its own allocator";
#endif
#endif
#if !defined(__GLIBC__)
    GTEST_SKIP() << "the policy applies to the GNU C library's allocator";
#endif
    KeepFreedMemoryForReuse();
    MakeAndFreeTextures();
    const long before = MinorFaults();
    MakeAndFreeTextures();
    // 64 MB newly taken from the system would cost about 15,000 faults.
    EXPECT_LT(MinorFaults() - before, 1000);
}

}  // namespace
