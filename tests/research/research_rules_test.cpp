#include "research/research_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

// Technology indexes of the built-in catalogue used below.
constexpr int32_t kFood = 0;
constexpr int32_t kWood = 1;
constexpr int32_t kStone = 2;
constexpr int32_t kFire = 3;
constexpr int32_t kClub = 4;
constexpr int32_t kDefense = 5;
constexpr int32_t kWarfare = 6;
constexpr int32_t kFarming = 11;
constexpr int32_t kWoodWorking = 55;
constexpr int32_t kSettlements = 57;

class Research : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(state.Create());
        state.Rebuild();
    }

    ResearchStatus StatusOf(int32_t tech) const { return state.Catalogue.Tech(tech).Status; }

    int AvailableRow(int32_t tech) const {
        auto at = std::find(state.AvailableList.begin(), state.AvailableList.end(), tech);
        return at == state.AvailableList.end() ? -1
                                               : static_cast<int>(at - state.AvailableList.begin());
    }

    // Queues a technology the way the screen does: pick its available row, add, rebuild.
    void Queue(int32_t tech) {
        int row = AvailableRow(tech);
        ASSERT_GE(row, 0) << "not available: " << tech;
        ASSERT_TRUE(state.Add(row));
        state.Rebuild();
    }

    int QueueRow(int32_t tech) const {
        auto at = std::find(state.ResearchQueue.begin(), state.ResearchQueue.end(), tech);
        return at == state.ResearchQueue.end() ? -1
                                               : static_cast<int>(at - state.ResearchQueue.begin());
    }

    ResearchState state;
};

TEST_F(Research, AtTheFirstShowingOnlyFoodIsResearched) {
    const std::set<int32_t> available = {kWood, kStone, kDefense, kFarming};
    for (int32_t i = 0; i < state.Catalogue.Count(); ++i) {
        ResearchStatus expected = i == kFood               ? ResearchStatus::Researched
                                  : available.count(i) > 0 ? ResearchStatus::AvailableForResearch
                                                           : ResearchStatus::NotYetAvailable;
        EXPECT_EQ(StatusOf(i), expected) << state.Catalogue.Tech(i).Name;
    }
    EXPECT_EQ(state.AvailableList, (std::vector<int32_t>{kWood, kStone, kDefense, kFarming}));
    EXPECT_TRUE(state.ResearchQueue.empty());
}

TEST_F(Research, QueuingWoodMakesFireAndWoodWorkingAvailable) {
    Queue(kWood);
    EXPECT_EQ(StatusOf(kWood), ResearchStatus::InResearchQueue);
    EXPECT_EQ(StatusOf(kFire), ResearchStatus::AvailableForResearch);
    EXPECT_EQ(StatusOf(kWoodWorking), ResearchStatus::AvailableForResearch);
    // Club also needs Warfare, which is not yet available.
    EXPECT_EQ(StatusOf(kClub), ResearchStatus::NotYetAvailable);
    EXPECT_EQ(state.AvailableList,
              (std::vector<int32_t>{kStone, kFire, kDefense, kFarming, kWoodWorking}));
}

TEST_F(Research, RemovingAPrerequisiteDropsItsQueuedDependants) {
    Queue(kWood);
    Queue(kFire);
    Queue(kSettlements);  // needs Fire, which needs Wood
    Queue(kStone);
    ASSERT_EQ(state.ResearchQueue, (std::vector<int32_t>{kWood, kFire, kSettlements, kStone}));

    ASSERT_TRUE(state.Remove(QueueRow(kWood)));
    DroppedEntries dropped = state.Rebuild();
    EXPECT_EQ(dropped, (std::vector<int32_t>{kFire, kSettlements}));
    EXPECT_EQ(state.ResearchQueue, (std::vector<int32_t>{kStone}));
    EXPECT_EQ(StatusOf(kWood), ResearchStatus::AvailableForResearch);
    EXPECT_EQ(StatusOf(kFire), ResearchStatus::NotYetAvailable);
    EXPECT_EQ(StatusOf(kSettlements), ResearchStatus::NotYetAvailable);
    EXPECT_EQ(StatusOf(kStone), ResearchStatus::InResearchQueue);
}

TEST_F(Research, TheQueueNeverHoldsFifty) {
    // Queue technologies in available order until the queue is full.
    while (state.ResearchQueue.size() < kMaxResearchQueue) {
        ASSERT_FALSE(state.AvailableList.empty());
        ASSERT_TRUE(state.Add(0));
        state.Rebuild();
    }
    ASSERT_EQ(state.ResearchQueue.size(), 49u);
    ASSERT_FALSE(state.AvailableList.empty());
    const std::vector<int32_t> before = state.ResearchQueue;
    EXPECT_FALSE(state.Add(0));
    EXPECT_EQ(state.ResearchQueue, before);
    // Every entry follows its prerequisites.
    for (size_t j = 0; j < before.size(); ++j) {
        for (int32_t p : state.Catalogue.Tech(before[j]).Prerequisites) {
            if (p <= kFood)
                continue;
            auto at = std::find(before.begin(), before.end(), p);
            ASSERT_NE(at, before.end());
            EXPECT_LT(static_cast<size_t>(at - before.begin()), j);
        }
    }
}

TEST_F(Research, RemovingAMiddleEntryKeepsTheOrderAndRenumbersEta) {
    Queue(kWood);
    Queue(kStone);
    Queue(kFarming);
    Queue(kDefense);
    ASSERT_EQ(EtaTexts(state.ResearchQueue.size()), (std::vector<std::string>{"1", "2", "3", "4"}));
    ASSERT_TRUE(state.Remove(1));
    EXPECT_TRUE(state.Rebuild().empty());
    EXPECT_EQ(state.ResearchQueue, (std::vector<int32_t>{kWood, kFarming, kDefense}));
    EXPECT_EQ(EtaTexts(state.ResearchQueue.size()), (std::vector<std::string>{"1", "2", "3"}));
}

TEST(StatusDerivation, DropsEntriesThatAreNotTechnologies) {
    TechCatalogue catalogue;
    ASSERT_TRUE(catalogue.Load());
    std::vector<int32_t> queue = {kWood, 59, -1, kFire};
    DroppedEntries dropped = DeriveStatuses(catalogue, queue);
    EXPECT_EQ(dropped, (std::vector<int32_t>{59, -1}));
    EXPECT_EQ(queue, (std::vector<int32_t>{kWood, kFire}));
}

TEST(StatusDerivation, QueuedResearchedTechnologyStaysResearched) {
    TechCatalogue catalogue;
    ASSERT_TRUE(catalogue.Load());
    std::vector<int32_t> queue = {kFood};
    EXPECT_TRUE(DeriveStatuses(catalogue, queue).empty());
    EXPECT_EQ(catalogue.Tech(kFood).Status, ResearchStatus::Researched);
}

class TreeLayout : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(catalogue.Load()); }
    TechCatalogue catalogue;
};

TEST_F(TreeLayout, ListsRangesAndCellsOfEachTree) {
    struct Expected {
        int tree;
        size_t count;
        ScrollRanges ranges;
    };
    for (const Expected& e :
         {Expected{0, 11, {720, 405}}, Expected{1, 24, {1120, 545}}, Expected{2, 6, {520, 265}},
          Expected{3, 0, {120, 55}}, Expected{4, 6, {920, 335}}, Expected{5, 0, {120, 55}},
          Expected{6, 12, {1320, 335}}, Expected{7, 0, {120, 55}}}) {
        std::vector<int32_t> list = FormTreeList(catalogue, e.tree);
        EXPECT_EQ(list.size(), e.count) << e.tree;
        EXPECT_TRUE(std::is_sorted(list.begin(), list.end()));
        EXPECT_EQ(TreeScrollRanges(catalogue, list), e.ranges) << e.tree;
    }
    EXPECT_EQ(TechButtonCell(catalogue.Tech(kClub)), (ButtonCell{20, 230, 80, 25}));
    EXPECT_EQ(TechButtonCell(catalogue.Tech(kWood)), (ButtonCell{220, 300, 80, 25}));
}

TEST_F(TreeLayout, LinksJoinButtonsOfOneTree) {
    TreePicture picture = LayOutTreePicture(catalogue, FormTreeList(catalogue, 0));
    // General: every prerequisite is in the tree, so one link per used slot and no marker.
    EXPECT_EQ(picture.Links.size(), 11u);
    EXPECT_TRUE(picture.Markers.empty());

    auto food = std::find_if(picture.Links.begin(), picture.Links.end(),
                             [](const TechLink& l) { return l.Tech == kWood; });
    ASSERT_NE(food, picture.Links.end());
    EXPECT_EQ(food->Prerequisite, kFood);
    EXPECT_EQ(food->Path, (std::array<PicturePoint, 5>{
                              {{105, 242}, {125, 242}, {190, 312}, {195, 312}, {215, 312}}}));
    EXPECT_EQ(food->Arrowhead[0], (PictureLine{{215, 308}, {215, 317}}));
    EXPECT_EQ(food->Arrowhead[3], (PictureLine{{218, 311}, {218, 314}}));
}

TEST_F(TreeLayout, MarkersNumberOnlyPrerequisitesFromOtherTrees) {
    std::vector<int32_t> queue = {kWood};
    DeriveStatuses(catalogue, queue);
    TreePicture picture = LayOutTreePicture(catalogue, FormTreeList(catalogue, 1));
    // Bronze Dagger (1, 1) needs Stone Knife (same tree), Warfare and Bronze: the two
    // foreign ones are markers 0 and 1.
    std::vector<CrossTreeMarker> dagger;
    for (const CrossTreeMarker& m : picture.Markers) {
        if (m.Tech == 24)
            dagger.push_back(m);
    }
    ASSERT_EQ(dagger.size(), 2u);
    EXPECT_EQ(dagger[0].Prerequisite, kWarfare);
    EXPECT_EQ(dagger[0].Code, "Ge");
    EXPECT_EQ(dagger[1].Code, "Re");
    EXPECT_EQ(dagger[0].Stem, (PictureLine{{434, 70}, {434, 85}}));
    EXPECT_EQ(dagger[1].Stem, (PictureLine{{454, 70}, {454, 85}}));
    EXPECT_EQ(dagger[1].Arrowhead[0], (PictureLine{{450, 85}, {459, 85}}));
    EXPECT_EQ(dagger[1].CodeAt, (PicturePoint{449, 55}));
    EXPECT_EQ(dagger[1].CodeStatus, ResearchStatus::NotYetAvailable);
    // A queued Wood turns Club's first code blue.
    EXPECT_EQ(picture.Markers[0].Tech, kClub);
    EXPECT_EQ(picture.Markers[0].CodeStatus, ResearchStatus::InResearchQueue);
}

TEST(LinePixels, LeavesOutTheEndPointAndStepsOnePixelAtATime) {
    EXPECT_TRUE(LinePixels({{5, 5}, {5, 5}}).empty());
    EXPECT_EQ(LinePixels({{3, 1}, {0, 1}}), (std::vector<PicturePoint>{{3, 1}, {2, 1}, {1, 1}}));
    // A steep slanted link part: one pixel per row, ending next to its end point.
    std::vector<PicturePoint> pixels = LinePixels({{125, 242}, {190, 312}});
    ASSERT_EQ(pixels.size(), 70u);
    EXPECT_EQ(pixels.front(), (PicturePoint{125, 242}));
    EXPECT_EQ(pixels.back(), (PicturePoint{189, 311}));
    for (size_t i = 1; i < pixels.size(); ++i) {
        EXPECT_EQ(pixels[i].Y, pixels[i - 1].Y + 1);
        EXPECT_LE(pixels[i].X - pixels[i - 1].X, 1);
    }
}

}  // namespace
