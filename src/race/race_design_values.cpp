#include "race/race_design_values.h"

void ChangeRaceClass(RaceDesignValues& values, int32_t newClass) {
    values.RaceClass = newClass;
    values.Adjustments = ClampAdjustments(newClass, values.Adjustments);
}

bool PressCategoryArrow(RaceDesignValues& values, int category, bool up) {
    if (category < 0 || category >= kDesignSlotCategories)
        return false;
    const auto index = static_cast<size_t>(category);
    const int32_t before = values.Adjustments[index];
    values.Adjustments[index] =
        AdjustmentAfterArrow(ClassBase(values.RaceClass)[index], before, up);
    return values.Adjustments[index] != before;
}

CategoryValues DesignSlotTotals(const RaceDesignValues& values) {
    return DesignSlotTotals(values.RaceClass, values.Adjustments);
}

int32_t RacePoints(const RaceDesignValues& values) {
    return RacePoints(values.RaceClass, values.Adjustments);
}

RaceNames NamesOf(const RaceDesignValues& values) {
    return {values.RaceNameSingular, values.RaceNamePlural, values.RaceLeaderName,
            values.RaceLeaderTitle};
}

bool RaceCanBeSaved(const RaceDesignValues& values) {
    return RaceCanBeSaved(RacePoints(values), NamesOf(values));
}

std::string RaceStory(const RaceDesignValues& values) {
    return RaceStory(NamesOf(values), values.Sex);
}

std::string RaceHeader(const RaceDesignValues& values) {
    return RaceHeader(values.RaceNamePlural);
}
