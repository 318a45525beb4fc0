#include "data/info_texts.h"

#include <initializer_list>

namespace {

// An item line of the version history: the section's indentation, "- " and the text.
std::string Item(int indent, const char* text) {
    return std::string(static_cast<size_t>(indent), ' ') + "- " + text;
}

// A section of the version history: its header and its items, all indented alike.
void AddSection(std::vector<std::string>& lines, const char* header, int indent,
                std::initializer_list<const char*> items) {
    if (!lines.empty())
        lines.emplace_back();
    lines.emplace_back(header);
    for (const char* text : items)
        lines.push_back(Item(indent, text));
}

std::vector<std::string> MakeVersionHistory() {
    std::vector<std::string> lines;
    AddSection(lines, "Pre-Alpha Version 0.3.6 - final compile 20feb00 3:40pm", 5,
               {
                   "Reduced memory footprint of main map graphics",
                   "Various bug fixes related to main map",
                   "New tile type (Glacier) added",
                   "Polar caps added",
                   "Race files now savable",
                   "Race file password support added to Race Wizard",
                   "Design slot sliders added to Race Wizard",
                   "Spendable Race Design Points added to Race Wizard",
                   "Game creation now supports loading of player Race Files",
                   "Race files saved to Host file at game creation",
                   "Individual messages sent to player files during game creation     ",
               });
    AddSection(lines, "Pre-Alpha Version 0.3.5 - final compile 13feb00 6:29pm", 4,
               {
                   "Replaced main map engine",
                   "Added scrolling and zooming fuctions to main map",
                   "Linked rotation of globe and main map",
                   "Added texture resolution picks",
                   "Main screen menu items reorganzied",
                   "Message text parameters replaced with real data",
                   "Research queue panel reorganzied",
                   "Player History file implemented",
                   "Player Send file implemented",
                   "Help file system added",
               });
    AddSection(lines, "Pre-Alpha Version 0.3.1.9 - final compile 15aug99 5:40pm", 3,
               {
                   "Added functional main map",
                   "Fixed Research Queue overload bug",
               });
    AddSection(lines, "Pre-Alpha Version #0.3.1 - final compile 29mar99 7:32pm", 3,
               {
                   "Added viewport icon to texture maps and globe",
                   "Fixed splash screen font",
                   "Added Credits screen",
               });
    AddSection(lines, "Pre-Alpha Version #0.3  - final compile 16mar99 12:10pm", 2,
               {
                   "Added more message types to the message database",
                   "Repaired the component resolution bug",
                   "Repaired the component labeling bug",
                   "Added \"show existing units\" functionality",
                   "Added \"show enemy units\" functionality",
                   "Added initial player units (temp)",
                   "Added initial enemy units (temp)",
                   "Added component filter",
                   "Added more research technologies to database",
                   "Color coded research button captions",
                   "Added reserach costs labels",
                   "Added tech description labels",
                   "Added Prereq labels",
                   "Added Benifit labels",
                   "Added functional research queue",
                   "Added City orders screen skeleton",
                   "Repaired globe topology symmetry bug",
                   "Added sea level adjuster to game creation",
                   "Added \"Percent Land\" settting to game creation options",
                   "Added game summary to game generation screen",
                   "Added message pump to game generation routines",
                   "Globe switched to polar rotations",
                   "Added \"save unit\" functionality",
                   "Added race design screens",
               });
    AddSection(lines, "Pre-Alpha Version #0.2 - final compile 28jan99  10:20pm", 2,
               {
                   "Added globe zoom in and out functions",
                   "Added full version of unit design screen, except",
               });
    // The exceptions of the unit design screen, one level deeper; the first runs on.
    lines.push_back(
        Item(5, "No functionality for \"show existing units\" and \"show enemy units\""));
    lines.push_back("       radiobuttons");
    lines.push_back(Item(5, "No unit portrait or combat icon selections"));
    lines.push_back(Item(5, "No unit stat displays"));
    lines.push_back(Item(5, "No functionality for \"Save\" button"));
    lines.push_back(Item(5, "No template or component description fields"));
    lines.push_back(Item(2, "Added Skeleton of research screen"));
    lines.push_back(Item(2, "Added Known bugs screen"));
    lines.push_back(Item(2, "Added Version history screen"));
    AddSection(lines, "Pre-Alpha Version #0.1 ", 2,
               {
                   "Initial Public Version",
                   "Added Splash screen",
                   "Added Basic game creation routines (topology creation only)",
                   "Added Skeleton of host screen",
                   "Added Skeleton of main screen",
                   "Added Globe drawing routines",
                   "Added Globe rotation routines",
                   "Added Message system (three test messages only)",
               });
    return lines;
}

}  // namespace

const std::vector<std::string>& CreditsLines() {
    static const std::vector<std::string> lines = {
        "Velmora - Orbalune",
        "Pre-Alpha Credits",
        "",
        "Game Design and Rules",
        "    The Velmora Design Group",
        "",
        "Programming",
        "    Lead Developer, Velmora Engine Team",
        "    World Generation, Velmora Tools Team",
        "    Globe and Map View, Velmora Graphics Team",
        "",
        "Art",
        "    Tile Art and Title Artwork, Velmora Art Team",
        "",
        "Writing",
        "    Technologies, Messages and Help, Velmora Lore Writers",
        "",
        "Testing",
        "    The Velmora Pre-Alpha Testers",
        "",
        "Hosting and Play-by-File Support",
        "    The Velmora Host Volunteers",
        "",
        "Special Thanks",
        "    Everyone who sent turns, bug reports and ideas",
        "",
        "Thank you for playing Velmora!",
    };
    return lines;
}

const std::vector<std::string>& KnownBugsLines() {
    static const std::vector<std::string> lines = {
        "Velmora Known Bugs, Version 0.3.6 (Pre-Alpha)",
        "",
        "GENERAL",
        "1)   Resolution does not change to 600x800 when the user is originally in a ",
        "      resolution lower than that.",
        "2)   In some resolutions, users with Large Fonts selected will get improperly ",
        "      sized screens.",
        "3)   Splash screen graphics not transparent.",
        "",
        "MAIN SCREEN",
        "1)   Main map and globe screen are drawn over the top of windows which",
        "      should appear above them.",
        "2)   Main map and globe screen drawn beyond window limits when the ",
        "      application is \"windowized\".",
        "",
        "RESEARCH SCREEN",
        "1)   On occasion, when switching between research trees, prereq lines are not",
        "      updated correctly.",
        "2)   ETA column not synched properly with item column in queue panel.",
    };
    return lines;
}

const std::vector<std::string>& VersionHistoryLines() {
    static const std::vector<std::string> lines = MakeVersionHistory();
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += '\n';
        text += lines[i];
    }
    return text;
}
