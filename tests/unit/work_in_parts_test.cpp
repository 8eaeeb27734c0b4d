#include "platform/work_in_parts.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

namespace {

void CountVisits(void* context, size_t first, size_t end)
{
    auto& visits = *static_cast<std::vector<std::atomic<int>>*>(context);
    for (size_t i = first; i < end; ++i)
        ++visits[i];
}

TEST(WorkInPartsTest, EveryIndexOnceWhateverTheParts)
{
    const struct {
        size_t count;
        int parts;
    } cases[] = {{0, 4}, {1, 4}, {3, 4}, {62, 4}, {215, 4}, {215, 1}, {215, 0}, {215, 100}};
    for (const auto& c : cases) {
        std::vector<std::atomic<int>> visits(c.count);
        WorkInParts(CountVisits, &visits, c.count, c.parts);
        for (size_t i = 0; i < c.count; ++i)
            ASSERT_EQ(1, visits[i].load()) << "index " << i << " of " << c.count << ", parts " << c.parts;
    }
}

}  // namespace
