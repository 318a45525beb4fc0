// The game that is being played: the four game objects of a loaded player file, and the
// "Load Game" sequence that creates them, fills them from the files and opens the main
// screen.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

class MainMap;
class MessageStore;
class WorldMap;

// Receives the loading notice's gauge position, 0 to 100.
using LoadProgressFn = std::function<void(int percent)>;

// What a loaded game needs of the 3D view engine. Every step shows its own message box and
// asks the application to end when a platform operation fails, then returns false.
class GameViews {
public:
    virtual ~GameViews() = default;

    // SetUpDirectDraw (which loads the main map's tile art), then SetUpDirect3D.
    virtual bool SetUpEngine(MainMap& map) = 0;
    // Builds the globe of the world and fills its texture from the tiles.
    virtual bool SetUpGlobe(WorldMap& world) = 0;
    // Builds the large map and its textures at the given resolution.
    virtual bool SetUpLargeMap(MainMap& map, const WorldMap& world, int textureResolution,
                               const LoadProgressFn& progress) = 0;
    // One render pass of both views, shown on the main screen.
    virtual void RenderViews() = 0;
    // Shows the last rendered large map again, without rendering.
    virtual void BlitMainMapToScreen() = 0;

    // Gives the globe frame a rotation that each render pass applies once, about an axis
    // fixed to the globe itself or to the globe's camera. Axis (0, 0, 0) and angle 0 stop it.
    enum class RotationFrame { Globe, GlobeCamera };
    virtual bool SetRotation(RotationFrame frame, float x, float y, float z, float angle) = 0;

    // Moves the globe frame (in its scene) or the large map frame (in its scene) along z by
    // the step, within the view's limits (ZoomedDistance).
    enum class ZoomView { Globe, Map };
    virtual bool StepZoom(ZoomView view, float step) = 0;

    // kWireFrameQuality (65) or kSolidQuality (129) of the view engine.
    virtual bool SetDeviceQuality(int quality) = 0;
};

// Zoom steps and limits: the globe from z 7.0 by 0.1 within (4.0, 10.0), the large map from
// z 3.3 by 0.02 within (3.1, 4.0).
inline constexpr float kGlobeZoomStep = 0.1f;
inline constexpr float kGlobeNearLimit = 4.0f;
inline constexpr float kGlobeFarLimit = 10.0f;
inline constexpr float kMapZoomStep = 0.02f;
inline constexpr float kMapNearLimit = 3.1f;
inline constexpr float kMapFarLimit = 4.0f;

// The frame's z after one zoom step: a negative step applies only while z > nearLimit, a
// positive one only while z < farLimit (tested before the step, so z may end up one step
// beyond the limit).
float ZoomedDistance(float z, float step, float nearLimit, float farLimit);

// Makes the view engine of a new game. Tests replace it with SetGameViewsFactory.
using GameViewsFactory = std::function<std::unique_ptr<GameViews>()>;
// Installs a factory; an empty one restores the program's own.
void SetGameViewsFactory(GameViewsFactory factory);

// The four game objects. They are created in the order ViewEngine, WorldMap, MainMap,
// MessageStore and destroyed in the order MessageStore, MainMap, WorldMap, ViewEngine;
// only one set exists at a time.
class GameSession {
public:
    GameSession();
    ~GameSession();
    GameSession(const GameSession&) = delete;
    GameSession& operator=(const GameSession&) = delete;

    // Destroys a set that still exists, then creates a fresh, empty one.
    void Create();
    // Destroys the objects that exist, in order; does nothing when none does.
    void Destroy();
    bool Loaded() const { return messages_ != nullptr; }

    GameViews* Views() const { return views_.get(); }
    WorldMap* World() const { return world_.get(); }
    MainMap* Map() const { return map_.get(); }
    MessageStore* Messages() const { return messages_.get(); }

    // The large map alone, for a rebuild at another texture resolution.
    void DestroyMainMap();
    void CreateMainMap();

    // Told "create <object>" / "destroy <object>" with the object's type name as each one
    // is created or destroyed.
    std::function<void(std::string_view event)> OnObjectEvent;

private:
    void Note(std::string_view event) const;

    std::unique_ptr<GameViews> views_;
    std::unique_ptr<WorldMap> world_;
    std::unique_ptr<MainMap> map_;
    std::unique_ptr<MessageStore> messages_;
};

// The game of this program run.
GameSession& Game();

// Loads the player's game from the player file at `path` and opens the main screen. Returns
// false when the game was not opened (the reason was shown). A player file that cannot be
// read or holds no world is refused with "Couldn't open player file" and the reason; the
// title screen and the values the files fill stay as they were. A damaged file that still
// holds a world is opened after a "File Error" box that says what is wrong with it.
bool LoadPlayerGame(const std::string& path);

// Whether a chosen file is a host file or a player file, by the exact-case texts ".hst"
// and ".p" anywhere in the file's own name (the folders it lies in do not count, so
// "league.hst.d/war.p01" is a player file and "my.plans/war.hst" a host file). A name with
// ".hst" is a host file only: it is never read as a player file.
bool IsHostFilePath(std::string_view path);
bool IsPlayerFilePath(std::string_view path);
