#include "data/info_texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Expected texts are written out in full, one line per row, each row closed by '|' so
// that trailing spaces are visible and cannot be lost by an editor.
std::vector<std::string> Rows(const char* text) {
    std::vector<std::string> rows;
    std::string row;
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p == '\n') {
            if (!row.empty()) {
                EXPECT_EQ(row.back(), '|') << "row without its end marker: " << row;
                row.pop_back();
                rows.push_back(row);
            }
            row.clear();
        } else {
            row += *p;
        }
    }
    return rows;
}

void ExpectSameLines(const std::vector<std::string>& actual,
                     const std::vector<std::string>& expected) {
    for (size_t i = 0; i < std::min(actual.size(), expected.size()); ++i)
        EXPECT_EQ(actual[i], expected[i]) << "line " << i + 1;
    EXPECT_EQ(actual.size(), expected.size());
}

TEST(InfoTexts, KnownBugsLineByLine) {
    ExpectSameLines(KnownBugsLines(), Rows(R"(
Velmora Known Bugs, Version 0.3.6 (Pre-Alpha)|
|
GENERAL|
1)   Resolution does not change to 600x800 when the user is originally in a |
      resolution lower than that.|
2)   In some resolutions, users with Large Fonts selected will get improperly |
      sized screens.|
3)   Splash screen graphics not transparent.|
|
MAIN SCREEN|
1)   Main map and globe screen are drawn over the top of windows which|
      should appear above them.|
2)   Main map and globe screen drawn beyond window limits when the |
      application is "windowized".|
|
RESEARCH SCREEN|
1)   On occasion, when switching between research trees, prereq lines are not|
      updated correctly.|
2)   ETA column not synched properly with item column in queue panel.|
)"));
}

TEST(InfoTexts, VersionHistoryLineByLine) {
    ExpectSameLines(VersionHistoryLines(), Rows(R"(
Pre-Alpha Version 0.3.6 - final compile 20feb00 3:40pm|
     - Reduced memory footprint of main map graphics|
     - Various bug fixes related to main map|
     - New tile type (Glacier) added|
     - Polar caps added|
     - Race files now savable|
     - Race file password support added to Race Wizard|
     - Design slot sliders added to Race Wizard|
     - Spendable Race Design Points added to Race Wizard|
     - Game creation now supports loading of player Race Files|
     - Race files saved to Host file at game creation|
     - Individual messages sent to player files during game creation     |
|
Pre-Alpha Version 0.3.5 - final compile 13feb00 6:29pm|
    - Replaced main map engine|
    - Added scrolling and zooming fuctions to main map|
    - Linked rotation of globe and main map|
    - Added texture resolution picks|
    - Main screen menu items reorganzied|
    - Message text parameters replaced with real data|
    - Research queue panel reorganzied|
    - Player History file implemented|
    - Player Send file implemented|
    - Help file system added|
|
Pre-Alpha Version 0.3.1.9 - final compile 15aug99 5:40pm|
   - Added functional main map|
   - Fixed Research Queue overload bug|
|
Pre-Alpha Version #0.3.1 - final compile 29mar99 7:32pm|
   - Added viewport icon to texture maps and globe|
   - Fixed splash screen font|
   - Added Credits screen|
|
Pre-Alpha Version #0.3  - final compile 16mar99 12:10pm|
  - Added more message types to the message database|
  - Repaired the component resolution bug|
  - Repaired the component labeling bug|
  - Added "show existing units" functionality|
  - Added "show enemy units" functionality|
  - Added initial player units (temp)|
  - Added initial enemy units (temp)|
  - Added component filter|
  - Added more research technologies to database|
  - Color coded research button captions|
  - Added reserach costs labels|
  - Added tech description labels|
  - Added Prereq labels|
  - Added Benifit labels|
  - Added functional research queue|
  - Added City orders screen skeleton|
  - Repaired globe topology symmetry bug|
  - Added sea level adjuster to game creation|
  - Added "Percent Land" settting to game creation options|
  - Added game summary to game generation screen|
  - Added message pump to game generation routines|
  - Globe switched to polar rotations|
  - Added "save unit" functionality|
  - Added race design screens|
|
Pre-Alpha Version #0.2 - final compile 28jan99  10:20pm|
  - Added globe zoom in and out functions|
  - Added full version of unit design screen, except|
     - No functionality for "show existing units" and "show enemy units"|
       radiobuttons|
     - No unit portrait or combat icon selections|
     - No unit stat displays|
     - No functionality for "Save" button|
     - No template or component description fields|
  - Added Skeleton of research screen|
  - Added Known bugs screen|
  - Added Version history screen|
|
Pre-Alpha Version #0.1 |
  - Initial Public Version|
  - Added Splash screen|
  - Added Basic game creation routines (topology creation only)|
  - Added Skeleton of host screen|
  - Added Skeleton of main screen|
  - Added Globe drawing routines|
  - Added Globe rotation routines|
  - Added Message system (three test messages only)|
)"));
}

TEST(InfoTexts, CreditsHaveTwentySevenLinesAndNameTheGame) {
    const std::vector<std::string>& lines = CreditsLines();
    ASSERT_EQ(lines.size(), 27u);
    EXPECT_EQ(lines.front(), "Velmora - Orbalune");
    for (const std::string& line : lines)
        EXPECT_EQ(line.find('\n'), std::string::npos);
}

TEST(InfoTexts, JoinLinesKeepsEmptyAndTrailingSpaceLines) {
    EXPECT_EQ(JoinLines({}), "");
    EXPECT_EQ(JoinLines({"a "}), "a ");
    EXPECT_EQ(JoinLines({"a", "", " b "}), "a\n\n b ");
}

}  // namespace
