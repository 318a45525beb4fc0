#include "platform/gfx/batch_queue.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <random>
#include <vector>

namespace gfx {
namespace {

// Pixel memory of 4-byte pixels behind a view.
struct Buffer {
    std::vector<std::uint8_t> bytes;
    PixelView view;

    Buffer(int width, int height, std::uint32_t seed) {
        bytes.resize(static_cast<std::size_t>(width) * height * 4);
        std::mt19937 random(seed);
        for (std::uint8_t& byte : bytes) {
            // Few values, so that the colour key matches often.
            byte = static_cast<std::uint8_t>(random() % 3);
        }
        view = PixelView{bytes.data(), width, height, width * 4, 4};
    }
};

constexpr int kWidth = 700;
constexpr int kHeight = 40;

// Queues the same random work on a queue and, carried out at once piece by piece, on a
// second copy of the pixels: a copy from another buffer or within the surface (keeping its
// columns), keyed or not, a scaled copy out of the surface (each into a buffer of its own,
// as the queue requires), or an edit of two column ranges.
struct Workload {
    Buffer surface{kWidth, kHeight, 1};
    Buffer expected{kWidth, kHeight, 1};
    Buffer source{300, kHeight, 2};
    std::deque<Buffer> scaled;
    std::deque<Buffer> scaledExpected;
    BatchQueue queue;

    void Add(std::mt19937& random) {
        const auto pick = [&](int low, int high) {
            return std::uniform_int_distribution<int>(low, high)(random);
        };
        const std::uint32_t key = 0x01000201u;
        const std::uint32_t* keyed = pick(0, 2) == 0 ? &key : nullptr;
        switch (pick(0, 3)) {
            case 0: {
                const Rect src{pick(0, 200), pick(0, 20), 0, 0};
                const Rect rect{src.left, src.top, src.left + pick(1, 100), src.top + pick(1, 20)};
                const int x = pick(0, kWidth - rect.Width());
                const int y = pick(0, kHeight - rect.Height());
                queue.AddCopy(source.view, rect, x, y, keyed);
                if (keyed != nullptr) {
                    CopyPixelsKeyed(expected.view, x, y, source.view, rect, key);
                } else {
                    CopyPixels(expected.view, x, y, source.view, rect);
                }
                break;
            }
            case 1: {
                // Within the surface, in its own columns, one row band onto another.
                const int left = pick(0, kWidth - 50);
                const Rect rect{left, pick(0, 10), left + pick(1, 50), 0};
                const Rect src{rect.left, rect.top, rect.right, rect.top + pick(1, 10)};
                const int y = pick(0, kHeight - src.Height());
                queue.AddCopy(surface.view, src, src.left, y, keyed);
                if (keyed != nullptr) {
                    CopyPixelsKeyed(expected.view, src.left, y, expected.view, src, key);
                } else {
                    CopyPixels(expected.view, src.left, y, expected.view, src);
                }
                break;
            }
            case 2: {
                const int left = pick(0, kWidth - 300);
                const Rect src{left, 0, left + pick(1, 300), kHeight};
                const Rect target{pick(0, 20), pick(0, 10), pick(40, 120), pick(15, 30)};
                const auto seed = static_cast<std::uint32_t>(scaled.size());
                scaled.emplace_back(120, 30, seed);
                scaledExpected.emplace_back(120, 30, seed);
                queue.AddScale(scaled.back().view, target, src, keyed);
                ScalePixels(scaledExpected.back().view, target, expected.view, src, target, keyed);
                break;
            }
            default: {
                const int a = pick(0, kWidth - 2);
                const int b = pick(a + 1, kWidth - 1);
                const int c = pick(b, kWidth - 1);
                const ColumnRange ranges[] = {{a, b}, {c, std::min(kWidth, c + pick(1, 60))}};
                const int top = pick(0, kHeight - 1);
                const int bottom = pick(top + 1, kHeight);
                const std::uint8_t value = static_cast<std::uint8_t>(pick(0, 255));
                // Reads the pixels it changes, so that the order of the work shows.
                const RowEdit edit = [ranges, value](std::uint8_t* row) {
                    for (const ColumnRange& range : ranges) {
                        for (int x = range.left; x < range.right; ++x) {
                            row[4 * x] = static_cast<std::uint8_t>(row[4 * x] * 3 + value);
                        }
                    }
                };
                queue.AddEdit(top, bottom, ranges, edit);
                for (int y = top; y < bottom; ++y) {
                    edit(expected.view.Row(y));
                }
                break;
            }
        }
    }
};

// Short queues run on one thread, long ones (2048 pieces and more) on two; the block size
// decides how many column blocks the work is cut into.
TEST(BatchQueue, RunGivesThePixelsOfTheWorkDoneInOrder) {
    for (const int pieces : {1, 40, 3000}) {
        for (const int blockBytes : {1, 5000, 1 << 20}) {
            std::mt19937 random(static_cast<std::uint32_t>(pieces * 31 + blockBytes));
            Workload work;
            for (int i = 0; i < pieces; ++i) {
                work.Add(random);
            }
            EXPECT_EQ(work.queue.Size(), static_cast<std::size_t>(pieces));
            work.queue.Run(work.surface.view, blockBytes);
            EXPECT_TRUE(work.queue.Empty());
            ASSERT_EQ(work.surface.bytes, work.expected.bytes)
                << pieces << " pieces, blocks of " << blockBytes << " bytes";
            for (std::size_t i = 0; i < work.scaled.size(); ++i) {
                ASSERT_EQ(work.scaled[i].bytes, work.scaledExpected[i].bytes)
                    << pieces << " pieces, blocks of " << blockBytes << " bytes, scaled copy " << i;
            }
        }
    }
}

// Work keeps the row limit in force when it was queued; scaled copies write another surface
// and ignore it.
TEST(BatchQueue, WorkKeepsTheRowLimitItWasQueuedWith) {
    Buffer surface(64, 8, 4);
    Buffer source(64, 8, 5);
    Buffer scaled(64, 8, 6);
    const Buffer before = surface;
    const std::vector<std::uint8_t> sourceBytes = source.bytes;
    BatchQueue queue;
    const ColumnRange all[] = {{0, 64}};
    const RowEdit clear = [](std::uint8_t* row) { std::fill(row, row + 4 * 32, 9); };

    queue.AddEdit(0, 2, all, clear);  // before any limit: rows 0 and 1
    queue.LimitRows({0, 0, 1, 0, 1}, 8);
    queue.AddCopy(source.view, Rect{0, 0, 64, 8}, 0, 0, nullptr);  // rows 2 and 4 only
    queue.AddScale(scaled.view, Rect{0, 0, 64, 8}, Rect{0, 0, 64, 8}, nullptr);
    queue.LimitRows({}, 8);
    queue.AddEdit(7, 8, all, clear);  // the limit lifted again
    queue.Run(surface.view, 1 << 20);

    for (int y = 0; y < 8; ++y) {
        const std::uint8_t* row = surface.view.Row(y);
        const std::uint8_t* was = before.bytes.data() + y * 256;
        const std::uint8_t* copied = sourceBytes.data() + y * 256;
        if (y == 0 || y == 1 || y == 7) {
            EXPECT_EQ(row[0], 9) << y;
            EXPECT_EQ(row[4 * 32], was[4 * 32]) << y;
        } else if (y == 2 || y == 4) {
            EXPECT_TRUE(std::equal(row, row + 256, copied)) << y;
        } else {
            EXPECT_TRUE(std::equal(row, row + 256, was)) << y;
        }
        // Scaled 1:1 from the surface as the queue had left it at that point.
        const std::uint8_t* scaledRow = scaled.view.Row(y);
        EXPECT_EQ(scaledRow[4 * 40], (y == 2 || y == 4 ? copied : was)[4 * 40]) << y;
    }
}

}  // namespace
}  // namespace gfx
