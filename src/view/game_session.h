// The game that is being played: the four game objects of a loaded player file and what the
// screens need of the 3D view engine that draws them.
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

// The four game objects. They are created in the order ViewEngine, WorldMap, MainMap,
// MessageStore and destroyed in the order MessageStore, MainMap, WorldMap, ViewEngine;
// only one set exists at a time.
class GameSession {
public:
    GameSession();
    ~GameSession();
    GameSession(const GameSession&) = delete;
    GameSession& operator=(const GameSession&) = delete;

    // Destroys a set that still exists, then creates a fresh, empty one drawn by `views`.
    void Create(std::unique_ptr<GameViews> views);
    // Destroys the objects that exist, in order; does nothing when none does.
    void Destroy();
    bool Loaded() const { return messages_ != nullptr; }

    GameViews* Views() const { return views_.get(); }
    WorldMap* World() const { return world_.get(); }
    MainMap* Map() const { return map_.get(); }
    MessageStore* Messages() const { return messages_.get(); }

    // The large map alone, for a rebuild at another texture resolution: a new main map built
    // at `textureResolution`, its progress told to `progress`.
    void DestroyMainMap();
    void CreateMainMap(int textureResolution, const LoadProgressFn& progress);

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
