#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

#include "gfx_fixture.h"
#include "platform/gfx/surface.h"

using namespace gfx;

namespace {

constexpr std::uint32_t kKey = 0x00000000u;

// Noise in which about a third of the pixels are the key.
void FillNoise(Surface& surface, std::uint32_t seed) {
    std::mt19937 random(seed);
    const PixelView& view = surface.View();
    for (int y = 0; y < view.height; ++y) {
        for (int x = 0; x < view.width; ++x) {
            StorePixel(view.At(x, y), view.bytesPerPixel, random() % 3 == 0 ? kKey : random() | 1);
        }
    }
}

void FillWith(Surface& surface, std::uint32_t value) {
    FillPixels(surface.View(), Rect{0, 0, surface.Width(), surface.Height()}, value);
}

std::uint32_t PixelOf(const Surface& surface, int x, int y) {
    const PixelView& view = surface.View();
    return LoadPixel(view.At(x, y), view.bytesPerPixel);
}

std::size_t Pending(const DirectDraw& directDraw) {
    return directDraw.Display()->pendingCopies;
}

// One step of a random sequence: a BltFast onto the destination, or a Blt out of it.
struct Step {
    // 0 keyed art, 1 art without a key, 2 the destination itself: a BltFast from it onto the
    // destination. 3: a Blt of the destination into a target. 4: a BltFast from a target
    // onto the destination. 5: a Blt of the destination into the keyed art, which queued
    // copies read. 6: LockRows on the destination with an edit between two column ranges.
    int source;
    Rect rect;  // what is read
    int x;      // where a BltFast writes
    int y;
    Rect target;            // where a Blt writes
    int into;               // which target
    ColumnRange ranges[2];  // the columns an edit reaches
    bool keyed;
    bool look;  // read the destination's or the target's pixels afterwards
};

constexpr int kWidth = 2400;
constexpr int kHeight = 60;
constexpr int kArtWidth = 700;
constexpr int kArtHeight = 50;
constexpr int kTargetSizes[2][2] = {{90, 40}, {37, 23}};

std::vector<Step> RandomSteps(std::uint32_t seed) {
    std::mt19937 random(seed);
    const auto pick = [&random](int low, int high) {
        return low + static_cast<int>(random() % static_cast<std::uint32_t>(high - low + 1));
    };
    const auto rectIn = [&pick](int width, int height, int most) {
        Rect rect;
        rect.left = pick(0, width - 1);
        rect.top = pick(0, height - 1);
        rect.right = std::min(width, rect.left + pick(1, most));
        rect.bottom = std::min(height, rect.top + pick(1, 40));
        return rect;
    };
    std::vector<Step> steps;
    for (int i = 0; i < 400; ++i) {
        Step step{};
        const int kind = pick(0, 21);
        step.source = kind < 13   ? pick(0, 1)
                      : kind < 16 ? 2
                      : kind < 18 ? 3
                      : kind < 19 ? 4
                      : kind < 20 ? 5
                                  : 6;
        step.into = pick(0, 1);
        const int targetWidth = kTargetSizes[step.into][0];
        const int targetHeight = kTargetSizes[step.into][1];
        step.keyed = pick(0, 2) != 0;
        step.look = pick(0, 60) == 0;
        if (step.source == 6) {
            step.rect = rectIn(kWidth, kHeight, 1);
            const int a = pick(0, kWidth - 2);
            const int b = std::min(kWidth - 1, a + pick(1, 300));
            const int c = pick(b, kWidth - 1);
            step.ranges[0] = ColumnRange{a, b};
            step.ranges[1] = ColumnRange{c, std::min(kWidth, c + pick(1, 300))};
            steps.push_back(step);
            continue;
        }
        if (step.source == 3 || step.source == 5) {
            step.rect = rectIn(kWidth, kHeight, pick(0, 3) == 0 ? 500 : 120);
            step.target = step.source == 5  ? rectIn(kArtWidth, kArtHeight, 60)
                          : pick(0, 2) == 0 ? Rect{0, 0, targetWidth, targetHeight}
                                            : rectIn(targetWidth, targetHeight, 60);
            steps.push_back(step);
            continue;
        }
        const int sourceWidth = step.source == 2   ? kWidth
                                : step.source == 4 ? targetWidth
                                                   : kArtWidth;
        const int sourceHeight = step.source == 2   ? kHeight
                                 : step.source == 4 ? targetHeight
                                                    : kArtHeight;
        step.rect = rectIn(sourceWidth, sourceHeight, pick(0, 5) == 0 ? 500 : 70);
        // Now and then a rectangle that does not fit, which must fail in both runs.
        const int slack = pick(0, 30) == 0 ? 5 : 0;
        step.x = pick(0, kWidth - step.rect.Width() + slack);
        step.y = pick(0, kHeight - step.rect.Height());
        if (step.source == 2 && pick(0, 2) != 0) {
            // A move within the destination that keeps its columns.
            step.x = step.rect.left;
        }
        steps.push_back(step);
    }
    return steps;
}

struct Outcome {
    std::vector<Result> results;
    std::vector<std::uint8_t> pixels;
    std::size_t mostPending = 0;
    int queuedBlts = 0;
};

void AppendPixels(const Surface& surface, std::vector<std::uint8_t>& pixels) {
    const PixelView& view = surface.View();
    for (int y = 0; y < view.height; ++y) {
        pixels.insert(pixels.end(), view.Row(y), view.Row(y) + view.width * view.bytesPerPixel);
    }
}

// Plays the steps on a destination of their own display, batching (in column blocks of
// blockBytes) or not.
Outcome Play(const PixelFormat& format, const std::vector<Step>& steps, bool batch,
             int blockBytes = 0, std::size_t maxQueued = 0) {
    auto directDraw = MakeDirectDraw(format);
    if (blockBytes != 0) {
        directDraw->Display()->batchBlockBytes = blockBytes;
    }
    if (maxQueued != 0) {
        directDraw->Display()->maxQueuedWork = maxQueued;
    }
    auto destination = MakePlain(*directDraw, kWidth, kHeight);
    auto keyedArt = MakePlain(*directDraw, kArtWidth, kArtHeight);
    auto plainArt = MakePlain(*directDraw, kArtWidth, kArtHeight);
    std::shared_ptr<Surface> targets[2] = {
        MakePlain(*directDraw, kTargetSizes[0][0], kTargetSizes[0][1]),
        MakePlain(*directDraw, kTargetSizes[1][0], kTargetSizes[1][1])};
    FillNoise(*destination, 1);
    FillNoise(*keyedArt, 2);
    FillNoise(*plainArt, 3);
    FillNoise(*targets[0], 4);
    FillNoise(*targets[1], 5);
    const ColorKey key{kKey, kKey};
    EXPECT_EQ(keyedArt->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
    EXPECT_EQ(destination->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
    EXPECT_EQ(targets[1]->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
    if (batch) {
        EXPECT_EQ(destination->BeginBatch(), DD_OK);
    }
    Surface* sources[] = {keyedArt.get(), plainArt.get(), destination.get()};
    Outcome outcome;
    for (const Step& step : steps) {
        const std::size_t before = Pending(*directDraw);
        Surface* target = targets[step.into].get();
        const std::uint32_t fastFlags = step.keyed ? DDBLTFAST_SRCCOLORKEY : DDBLTFAST_NOCOLORKEY;
        const std::uint32_t bltFlags = step.keyed ? DDBLT_KEYSRC : DDBLT_WAIT;
        switch (step.source) {
            case 3:
                outcome.results.push_back(
                    target->Blt(&step.target, destination.get(), &step.rect, bltFlags));
                outcome.queuedBlts += Pending(*directDraw) > before ? 1 : 0;
                break;
            case 4:
                outcome.results.push_back(
                    destination->BltFast(step.x, step.y, target, &step.rect, fastFlags));
                break;
            case 5:
                outcome.results.push_back(
                    keyedArt->Blt(&step.target, destination.get(), &step.rect, bltFlags));
                break;
            case 6: {
                // Each edited row swaps pixels between the two ranges and brightens one.
                const int bpp = format.BytesPerPixel();
                const ColumnRange left = step.ranges[0];
                const ColumnRange right = step.ranges[1];
                RowEdit edit = [bpp, left, right](std::uint8_t* row) {
                    std::uint8_t* a = row + left.left * bpp;
                    std::uint8_t* b = row + (right.right - 1) * bpp;
                    for (int i = 0; i < bpp; ++i) {
                        std::swap(a[i], b[i]);
                    }
                    row[(left.right - 1) * bpp] ^= 0x5A;
                    row[right.left * bpp] ^= row[(left.right - 1) * bpp];
                };
                outcome.results.push_back(destination->LockRows(step.rect.top, step.rect.bottom,
                                                                step.ranges, std::move(edit)));
                outcome.results.push_back(destination->Unlock());
                break;
            }
            default:
                outcome.results.push_back(destination->BltFast(step.x, step.y, sources[step.source],
                                                               &step.rect, fastFlags));
                break;
        }
        outcome.mostPending = std::max(outcome.mostPending, Pending(*directDraw));
        if (step.look) {
            // A read in the middle runs the queue; later steps queue afresh.
            const Surface& looked = step.source == 3 ? *target : *destination;
            outcome.pixels.push_back(looked.View().Row(0)[0]);
        }
    }
    if (batch) {
        destination->EndBatch();
    }
    for (const Surface* surface :
         {destination.get(), targets[0].get(), targets[1].get(), keyedArt.get()}) {
        AppendPixels(*surface, outcome.pixels);
    }
    return outcome;
}

class BatchPixelSizeTest : public ::testing::TestWithParam<int> {
protected:
    PixelFormat Format() const { return PixelFormat::ForBitCount(GetParam()); }
};

// The sequence mixes keyed and plain copies, overlapping ones, copies across several column
// blocks, moves within the destination that keep their columns (queued) and ones that do not
// (run at once), and rectangles that fail; and scaled copies out of the destination, keyed
// or not, into targets (queued) that later copies read, and into art that queued copies
// read (run at once); and row edits that read and write two column ranges far apart.
TEST_P(BatchPixelSizeTest, QueuedCopiesGiveTheSamePixelsAsImmediateOnes) {
    for (std::uint32_t seed = 1; seed <= 6; ++seed) {
        const std::vector<Step> steps = RandomSteps(seed);
        const Outcome direct = Play(Format(), steps, false);
        // Blocks from the narrowest (16 columns) to the whole width.
        const int blockBytes[] = {1024, 16 * 1024, 64 * 1024, 0};
        const Outcome batched = Play(Format(), steps, true, blockBytes[seed % 4]);
        EXPECT_EQ(direct.mostPending, 0u);
        EXPECT_GT(batched.mostPending, 10u) << "seed " << seed;
        EXPECT_EQ(direct.queuedBlts, 0);
        EXPECT_GT(batched.queuedBlts, 3) << "seed " << seed;
        EXPECT_EQ(batched.results, direct.results) << "seed " << seed;
        ASSERT_EQ(batched.pixels.size(), direct.pixels.size());
        EXPECT_TRUE(batched.pixels == direct.pixels) << "seed " << seed;
        // A queue held to seven pieces of work runs whenever it is full, with the same
        // outcome.
        const Outcome bounded = Play(Format(), steps, true, blockBytes[seed % 4], 7);
        EXPECT_EQ(bounded.mostPending, 7u) << "seed " << seed;
        EXPECT_EQ(bounded.results, direct.results) << "seed " << seed;
        EXPECT_TRUE(bounded.pixels == direct.pixels) << "seed " << seed;
    }
}

INSTANTIATE_TEST_SUITE_P(Bytes, BatchPixelSizeTest, ::testing::Values(16, 24, 32));

// A batching destination with one queued copy of a grey source, for the access tests.
struct QueuedCopy : ::testing::Test {
    std::shared_ptr<DirectDraw> directDraw = MakeDirectDraw(PixelFormat::Xrgb8888());
    std::shared_ptr<Surface> destination = MakePlain(*directDraw, 3000, 20);
    std::shared_ptr<Surface> source = MakePlain(*directDraw, 40, 10);
    static constexpr std::uint32_t kGrey = 0x808080;
    static constexpr std::uint32_t kRed = 0xFF0000;

    void SetUp() override {
        FillWith(*source, kGrey);
        ASSERT_EQ(destination->BeginBatch(), DD_OK);
        ASSERT_EQ(destination->BltFast(2500, 5, source.get(), nullptr, DDBLTFAST_NOCOLORKEY),
                  DD_OK);
        ASSERT_EQ(Pending(*directDraw), 1u);
    }
};

TEST_F(QueuedCopy, LockingEitherSurfaceRunsTheQueue) {
    SurfaceDesc desc;
    ASSERT_EQ(destination->Lock(desc), DD_OK);
    EXPECT_EQ(Pending(*directDraw), 0u);
    EXPECT_EQ(LoadPixel(desc.bits + 8 * desc.pitch + 2510 * 4, 4), kGrey);
    ASSERT_EQ(destination->Unlock(), DD_OK);

    ASSERT_EQ(destination->BltFast(0, 0, source.get(), nullptr, DDBLTFAST_NOCOLORKEY), DD_OK);
    ASSERT_EQ(source->Lock(desc), DD_OK);
    EXPECT_EQ(Pending(*directDraw), 0u);
    // What is written into the locked source now no longer reaches the destination.
    FillPixels(PixelView{desc.bits, desc.width, desc.height, desc.pitch, 4}, Rect{0, 0, 40, 10},
               kRed);
    ASSERT_EQ(source->Unlock(), DD_OK);
    EXPECT_EQ(PixelOf(*destination, 3, 3), kGrey);
}

TEST_F(QueuedCopy, ChangingTheSourceKeepsWhatWasQueued) {
    auto red = MakePlain(*directDraw, 40, 10);
    FillWith(*red, kRed);
    // A copy onto the source, a scaled copy onto it and drawing on it each come after the
    // queued copy, which still takes the grey.
    ASSERT_EQ(source->BltFast(0, 0, red.get(), nullptr, DDBLTFAST_NOCOLORKEY), DD_OK);
    EXPECT_EQ(Pending(*directDraw), 0u);
    EXPECT_EQ(PixelOf(*destination, 2510, 8), kGrey);
    EXPECT_EQ(PixelOf(*source, 0, 0), kRed);

    FillWith(*source, kGrey);
    ASSERT_EQ(destination->BltFast(0, 0, source.get(), nullptr, DDBLTFAST_NOCOLORKEY), DD_OK);
    ASSERT_EQ(source->Blt(nullptr, red.get(), nullptr, DDBLT_WAIT), DD_OK);
    EXPECT_EQ(PixelOf(*destination, 5, 5), kGrey);

    FillWith(*source, kGrey);
    ASSERT_EQ(destination->BltFast(100, 0, source.get(), nullptr, DDBLTFAST_NOCOLORKEY), DD_OK);
    SurfaceDc* dc = nullptr;
    ASSERT_EQ(source->GetDC(dc), DD_OK);
    dc->SetPixel(1, 1, Rgb{255, 0, 0});
    ASSERT_EQ(source->ReleaseDC(dc), DD_OK);
    EXPECT_EQ(PixelOf(*destination, 101, 1), kGrey);
}

TEST_F(QueuedCopy, AKeyedCopyKeepsTheKeyItWasQueuedWith) {
    FillWith(*destination, kRed);  // runs the queue
    auto art = MakePlain(*directDraw, 2, 1);
    StorePixel(art->View().At(0, 0), 4, kGrey);
    StorePixel(art->View().At(1, 0), 4, 0x123456);
    const ColorKey grey{kGrey, kGrey};
    ASSERT_EQ(art->SetColorKey(DDCKEY_SRCBLT, &grey), DD_OK);
    ASSERT_EQ(destination->BltFast(0, 0, art.get(), nullptr, DDBLTFAST_SRCCOLORKEY), DD_OK);
    EXPECT_EQ(Pending(*directDraw), 1u);
    const ColorKey other{0x123456, 0x123456};
    ASSERT_EQ(art->SetColorKey(DDCKEY_SRCBLT, &other), DD_OK);
    EXPECT_EQ(PixelOf(*destination, 0, 0), kRed);
    EXPECT_EQ(PixelOf(*destination, 1, 0), 0x123456u);
}

TEST_F(QueuedCopy, CopiesOutOfTheBatchingSurfaceSeeTheQueuedPixels) {
    auto small = MakePlain(*directDraw, 10, 3);
    const Rect landed{2500, 5, 2510, 8};
    ASSERT_EQ(small->BltFast(0, 0, destination.get(), &landed, DDBLTFAST_NOCOLORKEY), DD_OK);
    EXPECT_EQ(PixelOf(*small, 9, 2), kGrey);

    ASSERT_EQ(destination->BltFast(0, 0, source.get(), nullptr, DDBLTFAST_NOCOLORKEY), DD_OK);
    auto scaled = MakePlain(*directDraw, 4, 4);
    const Rect corner{0, 0, 8, 8};
    ASSERT_EQ(scaled->Blt(nullptr, destination.get(), &corner, DDBLT_WAIT), DD_OK);
    EXPECT_EQ(PixelOf(*scaled, 3, 3), kGrey);
}

TEST_F(QueuedCopy, ViewEndBatchAndDestructionRunTheQueue) {
    EXPECT_EQ(PixelOf(*destination, 2539, 14), kGrey);  // View

    ASSERT_EQ(destination->BltFast(0, 0, source.get(), nullptr, DDBLTFAST_NOCOLORKEY), DD_OK);
    destination->EndBatch();
    EXPECT_FALSE(destination->IsBatching());
    EXPECT_EQ(Pending(*directDraw), 0u);
    EXPECT_EQ(PixelOf(*destination, 0, 0), kGrey);

    // Destroying the source of a queued copy first runs it: nothing reads freed pixels.
    ASSERT_EQ(destination->BeginBatch(), DD_OK);
    auto shortLived = MakePlain(*directDraw, 40, 10);
    FillWith(*shortLived, kRed);
    ASSERT_EQ(destination->BltFast(200, 0, shortLived.get(), nullptr, DDBLTFAST_NOCOLORKEY), DD_OK);
    shortLived.reset();
    EXPECT_EQ(Pending(*directDraw), 0u);
    EXPECT_EQ(PixelOf(*destination, 239, 9), kRed);

    // A batching surface destroyed with copies queued leaves nothing behind.
    ASSERT_EQ(destination->BltFast(300, 0, source.get(), nullptr, DDBLTFAST_NOCOLORKEY), DD_OK);
    destination.reset();
    EXPECT_EQ(Pending(*directDraw), 0u);
    EXPECT_TRUE(directDraw->Display()->batching.empty());
}

TEST_F(QueuedCopy, ASourceThatStartsBatchingHasItsReadersRunFirst) {
    ASSERT_EQ(source->BeginBatch(), DD_OK);
    EXPECT_EQ(Pending(*directDraw), 0u);
    // Two batching surfaces never read each other through their queues: this copy runs at
    // once, after the queues.
    auto red = MakePlain(*directDraw, 40, 10);
    FillWith(*red, kRed);
    ASSERT_EQ(source->BltFast(0, 0, red.get(), nullptr, DDBLTFAST_NOCOLORKEY), DD_OK);
    EXPECT_EQ(Pending(*directDraw), 1u);
    ASSERT_EQ(destination->BltFast(0, 0, source.get(), nullptr, DDBLTFAST_NOCOLORKEY), DD_OK);
    EXPECT_EQ(Pending(*directDraw), 0u);
    EXPECT_EQ(PixelOf(*destination, 2500, 5), kGrey);
    EXPECT_EQ(PixelOf(*destination, 0, 0), kRed);
}

TEST_F(QueuedCopy, MovesThatChangeColumnsAndForeignSourcesRunAtOnce) {
    const Rect left{2500, 5, 2520, 10};
    ASSERT_EQ(destination->BltFast(0, 0, destination.get(), &left, DDBLTFAST_NOCOLORKEY), DD_OK);
    EXPECT_EQ(Pending(*directDraw), 0u);
    EXPECT_EQ(PixelOf(*destination, 19, 4), kGrey);

    const Rect down{2500, 5, 2520, 10};
    ASSERT_EQ(destination->BltFast(2500, 12, destination.get(), &down, DDBLTFAST_NOCOLORKEY),
              DD_OK);
    EXPECT_EQ(Pending(*directDraw), 1u);
    EXPECT_EQ(PixelOf(*destination, 2519, 16), kGrey);

    auto elsewhere = MakeDirectDraw(PixelFormat::Xrgb8888());
    auto foreign = MakePlain(*elsewhere, 4, 4);
    FillWith(*foreign, kRed);
    ASSERT_EQ(destination->BltFast(0, 0, foreign.get(), nullptr, DDBLTFAST_NOCOLORKEY), DD_OK);
    EXPECT_EQ(Pending(*directDraw), 0u);
    EXPECT_EQ(PixelOf(*destination, 3, 3), kRed);
}

// A limit to some rows: the copies queued after it write exactly those rows as they would
// without it and leave the others as they were; those queued before it write every row.
TEST(SurfaceBatch, ALimitToRowsKeepsTheOtherRowsAsTheyWere) {
    std::mt19937 random(11);
    std::vector<std::uint8_t> rows(kHeight);
    for (std::uint8_t& row : rows) {
        row = random() % 3 == 0 ? 1 : 0;
    }
    // 0: no limit, 1: the limit, 2: only the copy before the limit.
    std::vector<std::uint8_t> pixels[3];
    for (int run = 0; run < 3; ++run) {
        auto directDraw = MakeDirectDraw(PixelFormat::Rgb565());
        auto destination = MakePlain(*directDraw, kWidth, kHeight);
        auto art = MakePlain(*directDraw, kArtWidth, kArtHeight);
        FillNoise(*destination, 1);
        FillNoise(*art, 2);
        const ColorKey key{kKey, kKey};
        ASSERT_EQ(art->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
        ASSERT_EQ(destination->BeginBatch(), DD_OK);
        ASSERT_EQ(destination->BltFast(0, 0, art.get(), nullptr, DDBLTFAST_NOCOLORKEY), DD_OK);
        int edited = 0;
        if (run == 1) {
            destination->LimitQueuedRows(rows);
            // Row edits keep to the limit too.
            const ColumnRange first{0, 1};
            ASSERT_EQ(destination->LockRows(0, kHeight, std::span(&first, 1),
                                            [&edited](std::uint8_t*) { ++edited; }),
                      DD_OK);
            ASSERT_EQ(destination->Unlock(), DD_OK);
            EXPECT_EQ(edited, 0);
        }
        if (run != 2) {
            for (const Step& step : RandomSteps(3)) {
                if (step.source < 2) {
                    destination->BltFast(step.x, step.y, art.get(), &step.rect,
                                         step.keyed ? DDBLTFAST_SRCCOLORKEY : DDBLTFAST_NOCOLORKEY);
                }
            }
            EXPECT_GT(Pending(*directDraw), 100u);
        }
        destination->EndBatch();
        if (run == 1) {
            EXPECT_EQ(edited, static_cast<int>(std::count(rows.begin(), rows.end(), 1)));
        }
        AppendPixels(*destination, pixels[run]);
        // EndBatch lifted the limit: a new batch writes every row.
        ASSERT_EQ(destination->BeginBatch(), DD_OK);
        FillWith(*art, 0x1234);
        ASSERT_EQ(destination->BltFast(0, 0, art.get(), nullptr, DDBLTFAST_NOCOLORKEY), DD_OK);
        for (int y = 0; y < kArtHeight; ++y) {
            ASSERT_EQ(PixelOf(*destination, 1, y), 0x1234u) << y;
        }
    }
    const std::size_t rowBytes = kWidth * 2;
    for (int y = 0; y < kHeight; ++y) {
        const std::size_t at = y * rowBytes;
        const bool kept = rows[static_cast<std::size_t>(y)] == 0;
        const std::vector<std::uint8_t>& expected = kept ? pixels[2] : pixels[0];
        EXPECT_TRUE(std::equal(pixels[1].begin() + at, pixels[1].begin() + at + rowBytes,
                               expected.begin() + at))
            << "row " << y << (kept ? " kept" : " written");
    }
}

TEST(SurfaceBatch, FailingCopiesReturnTheirCodeAtTheCallAndQueueNothing) {
    auto faults = std::make_shared<FaultPlan>();
    auto directDraw = MakeDirectDraw(PixelFormat::Xrgb8888(), faults);
    auto destination = MakePlain(*directDraw, 100, 20);
    auto source = MakePlain(*directDraw, 10, 10);
    FillWith(*source, 0x445566);
    ASSERT_EQ(destination->BeginBatch(), DD_OK);
    ASSERT_TRUE(faults->FailCall("BltFast", faults->Calls("BltFast") + 2, DDERR_SURFACELOST));
    EXPECT_EQ(destination->BltFast(0, 0, source.get(), nullptr, DDBLTFAST_NOCOLORKEY), DD_OK);
    EXPECT_EQ(destination->BltFast(20, 0, source.get(), nullptr, DDBLTFAST_NOCOLORKEY),
              DDERR_SURFACELOST);
    const Rect outside{5, 5, 11, 11};
    EXPECT_EQ(destination->BltFast(40, 0, source.get(), &outside, DDBLTFAST_NOCOLORKEY),
              DDERR_INVALIDRECT);
    EXPECT_EQ(destination->BltFast(95, 0, source.get(), nullptr, DDBLTFAST_NOCOLORKEY),
              DDERR_INVALIDRECT);
    SurfaceDesc desc;
    ASSERT_EQ(source->Lock(desc), DD_OK);
    EXPECT_EQ(destination->BltFast(60, 0, source.get(), nullptr, DDBLTFAST_NOCOLORKEY),
              DDERR_SURFACEBUSY);
    ASSERT_EQ(source->Unlock(), DD_OK);
    EXPECT_EQ(Pending(*directDraw), 0u);
    EXPECT_EQ(PixelOf(*destination, 9, 9), 0x445566u);
    for (int x : {20, 40, 60, 95}) {
        EXPECT_EQ(PixelOf(*destination, x, 0), 0u) << x;
    }
}

// New surfaces are black whichever way their pixels are first reached. Small surfaces, so
// that a memory checker's fill pattern would show through if the zeros were skipped.
TEST(NewSurface, IsBlackThroughEveryAccess) {
    auto directDraw = MakeDirectDraw(PixelFormat::Rgb888());
    const auto fresh = [&directDraw] { return MakePlain(*directDraw, 21, 9); };

    EXPECT_EQ(PixelOf(*fresh(), 20, 8), 0u);

    auto locked = fresh();
    SurfaceDesc desc;
    ASSERT_EQ(locked->Lock(desc), DD_OK);
    for (int i = 0; i < desc.pitch * desc.height; ++i) {
        ASSERT_EQ(desc.bits[i], 0) << i;
    }
    ASSERT_EQ(locked->Unlock(), DD_OK);

    auto drawn = fresh();
    SurfaceDc* dc = nullptr;
    ASSERT_EQ(drawn->GetDC(dc), DD_OK);
    EXPECT_EQ(dc->GetPixel(3, 3), Rgb{});
    ASSERT_EQ(drawn->ReleaseDC(dc), DD_OK);

    auto target = MakePlain(*directDraw, 21, 9);
    FillWith(*target, 0x112233);
    ASSERT_EQ(target->BltFast(0, 0, fresh().get(), nullptr, DDBLTFAST_NOCOLORKEY), DD_OK);
    EXPECT_EQ(PixelOf(*target, 20, 8), 0u);
    FillWith(*target, 0x112233);
    ASSERT_EQ(target->Blt(nullptr, fresh().get(), nullptr, DDBLT_WAIT), DD_OK);
    EXPECT_EQ(PixelOf(*target, 20, 8), 0u);
}

TEST(NewSurface, CopiesThatLeaveBytesUnwrittenKeepTheRestBlack) {
    auto directDraw = MakeDirectDraw(PixelFormat::Xrgb8888());
    auto art = MakePlain(*directDraw, 8, 8);
    FillWith(*art, 0x445566);
    const Rect half{0, 0, 4, 8};
    const ColorKey key{0x445566, 0x445566};

    auto part = MakePlain(*directDraw, 8, 8);
    ASSERT_EQ(part->Blt(&half, art.get(), nullptr, DDBLT_WAIT), DD_OK);
    EXPECT_EQ(PixelOf(*part, 7, 7), 0u);
    EXPECT_EQ(PixelOf(*part, 3, 7), 0x445566u);

    auto keyed = MakePlain(*directDraw, 8, 8);
    ASSERT_EQ(art->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
    ASSERT_EQ(keyed->Blt(nullptr, art.get(), nullptr, DDBLT_KEYSRC), DD_OK);
    EXPECT_EQ(PixelOf(*keyed, 0, 0), 0u);

    auto clipped = MakePlain(*directDraw, 8, 8);
    std::shared_ptr<Clipper> clipper;
    ASSERT_EQ(directDraw->CreateClipper(clipper), DD_OK);
    ASSERT_EQ(clipper->SetClipList(std::span<const Rect>(&half, 1)), DD_OK);
    ASSERT_EQ(clipped->SetClipper(clipper), DD_OK);
    ASSERT_EQ(clipped->Blt(nullptr, art.get(), nullptr, DDBLT_WAIT), DD_OK);
    EXPECT_EQ(PixelOf(*clipped, 7, 0), 0u);
    EXPECT_EQ(PixelOf(*clipped, 0, 0), 0x445566u);

    // Three-byte rows of odd width end in unused bytes, which stay zero after a whole copy.
    auto narrow = MakeDirectDraw(PixelFormat::Rgb888());
    auto source = MakePlain(*narrow, 5, 2);
    FillWith(*source, 0x445566);
    auto padded = MakePlain(*narrow, 5, 2);
    ASSERT_EQ(padded->Blt(nullptr, source.get(), nullptr, DDBLT_WAIT), DD_OK);
    SurfaceDesc desc;
    ASSERT_EQ(padded->Lock(desc), DD_OK);
    ASSERT_EQ(desc.pitch, 16);
    EXPECT_EQ(desc.bits[15], 0);
    EXPECT_EQ(desc.bits[31], 0);
    EXPECT_EQ(desc.bits[14], 0x44);
    ASSERT_EQ(padded->Unlock(), DD_OK);
}

}  // namespace
