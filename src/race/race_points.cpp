#include "race/race_points.h"

#include <algorithm>
#include <cmath>

namespace {

// Rows in the order of the class choice; every row sums to 42.
constexpr std::array<CategoryValues, kRaceClassCount> kClassBase = {{
    {7, 5, 6, 8, 5, 4, 4, 3},  // Arachnidia
    {6, 6, 6, 3, 8, 4, 4, 5},  // Amphibia
    {7, 6, 5, 4, 4, 8, 3, 5},  // Aves
    {8, 5, 5, 5, 5, 6, 4, 4},  // Insecta
    {5, 5, 8, 6, 5, 5, 3, 5},  // Mammalia
    {5, 8, 5, 6, 5, 7, 3, 3},  // Reptillia
}};

int32_t ClampAdjustment(int32_t base, int32_t adjustment) {
    return std::clamp(adjustment, kMinDesignSlots - base, kMaxDesignSlots - base);
}

std::string_view OrBlank(std::string_view name) {
    return name.empty() ? "___" : name;
}

}  // namespace

bool IsRaceClass(int32_t raceClass) {
    return raceClass >= 0 && raceClass < kRaceClassCount;
}

bool IsRaceSex(int32_t sex) {
    return sex >= 0 && sex < kRaceSexCount;
}

const CategoryValues& ClassBase(int32_t raceClass) {
    return kClassBase[static_cast<size_t>(std::clamp(raceClass, 0, kRaceClassCount - 1))];
}

int32_t AdjustmentAfterArrow(int32_t base, int32_t adjustment, bool up) {
    const int64_t total = int64_t{base} + adjustment;
    if (up && total < kMaxDesignSlots)
        return adjustment + 1;
    if (!up && total > kMinDesignSlots)
        return adjustment - 1;
    return adjustment;
}

CategoryValues ClampAdjustments(int32_t newClass, CategoryValues adjustments) {
    const CategoryValues& base = ClassBase(newClass);
    for (size_t i = 0; i < adjustments.size(); ++i) {
        adjustments[i] = ClampAdjustment(base[i], adjustments[i]);
    }
    return adjustments;
}

CategoryValues DesignSlotTotals(int32_t raceClass, const CategoryValues& adjustments) {
    const CategoryValues& base = ClassBase(raceClass);
    CategoryValues totals{};
    for (size_t i = 0; i < totals.size(); ++i)
        totals[i] = base[i] + adjustments[i];
    return totals;
}

CategoryValues AdjustmentsFromTotals(int32_t raceClass, const CategoryValues& totals) {
    const CategoryValues& base = ClassBase(raceClass);
    CategoryValues adjustments{};
    for (size_t i = 0; i < adjustments.size(); ++i)
        adjustments[i] = totals[i] - base[i];
    return adjustments;
}

int32_t RacePoints(int32_t raceClass, const CategoryValues& adjustments) {
    const CategoryValues& base = ClassBase(raceClass);
    // The running value is truncated toward zero after every unit step; the halves of
    // c / 2 and b / 2 are exact in a double, and the clamped adjustments keep every
    // intermediate value small.
    double points = kStartingRacePoints;
    for (size_t i = 0; i < adjustments.size(); ++i) {
        const int32_t a = ClampAdjustment(base[i], adjustments[i]);
        if (a >= 0) {
            const double c = 10 - base[i];
            for (int32_t j = 0; j <= a; ++j)
                points = std::trunc(points - (c * j * j + (c / 2) * j));
        } else {
            const double b = base[i];
            for (int32_t j = -1; j >= a; --j)
                points = std::trunc(points + b * j * j + (b / 2) * j);
        }
    }
    return static_cast<int32_t>(points);
}

const char* AdjustmentSign(int32_t adjustment) {
    return adjustment >= 0 ? "+" : "-";
}

bool RaceCanBeSaved(int32_t racePoints, const RaceNames& names) {
    return racePoints >= 0 && !names.Singular.empty() && !names.Plural.empty() &&
           !names.Leader.empty() && !names.Title.empty();
}

std::string RaceStory(const RaceNames& names, int32_t sex) {
    const std::string_view singular = OrBlank(names.Singular);
    const std::string_view plural = OrBlank(names.Plural);
    const std::string_view leader = OrBlank(names.Leader);
    const std::string_view title = OrBlank(names.Title);
    const std::string_view pronoun = sex == 0 ? "he" : sex == 1 ? "she" : "it";
    const std::string_view possessive = sex == 0 ? "his" : sex == 1 ? "her" : "its";

    std::string story;
    for (std::string_view piece : {
             std::string_view("The "),
             singular,
             std::string_view(" race slowly claw their way from the primordial ooze to "
                              "sentience.  Much to their amazement, the "),
             plural,
             std::string_view(" discover one of them, "),
             leader,
             std::string_view(", is immortal.  In awe of this characteristic, "),
             pronoun,
             std::string_view(" is named "),
             leader,
             std::string_view(", "),
             title,
             std::string_view(" of the "),
             plural,
             std::string_view(".  On the day of "),
             possessive,
             std::string_view(" coronation, "),
             leader,
             std::string_view(" vows to lead "),
             possessive,
             std::string_view(" people to world domination."),
         }) {
        story += piece;
    }
    return story;
}

std::string RaceHeader(std::string_view plural) {
    return plural.empty() ? std::string("The ________") : "The " + std::string(plural);
}
