#include "view/engine_views.h"

#include "game/world_map.h"
#include "platform/gfx/rm/frame.h"
#include "view/main_map.h"
#include "view/view_engine.h"

namespace {

class EngineViews final : public GameViews {
public:
    EngineViews(ViewScreen& screen, GameSession& session, std::shared_ptr<gfx::FaultPlan> faults)
        : engine_(screen, std::move(faults)), session_(session) {}

    bool SetUpEngine(MainMap& map) override {
        return engine_.SetUpDirectDraw(map) && engine_.SetUpDirect3D();
    }

    bool SetUpGlobe(WorldMap& world) override { return engine_.SetUpGlobe(world); }

    bool SetUpLargeMap(MainMap& map, const WorldMap& world, int textureResolution,
                       const LoadProgressFn& progress) override {
        return engine_.SetUpLargeMap(map, world, textureResolution, progress);
    }

    void RenderViews() override {
        if (session_.World() == nullptr || session_.Map() == nullptr)
            return;
        engine_.RenderViews(*session_.World(), *session_.Map());
    }

    void BlitMainMapToScreen() override { engine_.BlitMainMapToScreen(); }

    bool SetRotation(RotationFrame frame, float x, float y, float z, float angle) override {
        GlobeScene* globe = session_.World() != nullptr ? GlobeOf(*session_.World()) : nullptr;
        if (globe == nullptr || !globe->GlobeFrame)
            return true;
        gfx::rm::Frame* reference =
            frame == RotationFrame::Globe ? globe->GlobeFrame.get() : globe->CameraFrame.get();
        const gfx::Result result = globe->GlobeFrame->SetRotation(reference, x, y, z, angle);
        if (result != gfx::DD_OK)
            return engine_.Fail(result, "Unable to rotate world frame");
        return true;
    }

    bool StepZoom(ZoomView view, float step) override {
        gfx::rm::Frame* frame = nullptr;
        gfx::rm::Frame* scene = nullptr;
        float nearLimit = 0;
        float farLimit = 0;
        const char* getCaption = nullptr;
        const char* setCaption = nullptr;
        if (view == ZoomView::Globe) {
            GlobeScene* globe = session_.World() != nullptr ? GlobeOf(*session_.World()) : nullptr;
            if (globe == nullptr)
                return true;
            frame = globe->GlobeFrame.get();
            scene = globe->SceneFrame.get();
            nearLimit = kGlobeNearLimit;
            farLimit = kGlobeFarLimit;
            getCaption = "Unable to get globe frame position";
            setCaption = "Unable to set globe frame position";
        } else {
            MainMap* map = session_.Map();
            if (map == nullptr)
                return true;
            frame = map->MapFrame.get();
            scene = map->SceneFrame.get();
            nearLimit = kMapNearLimit;
            farLimit = kMapFarLimit;
            getCaption = "Unable to get map frame position";
            setCaption = "Unable to set map frame position";
        }
        if (frame == nullptr)
            return true;
        gfx::rm::Vec3 position;
        gfx::Result result = frame->GetPosition(scene, position);
        if (result != gfx::DD_OK)
            return engine_.Fail(result, getCaption);
        const float z = ZoomedDistance(position.z, step, nearLimit, farLimit);
        result = frame->SetPosition(scene, 0.0f, 0.0f, z);
        if (result != gfx::DD_OK)
            return engine_.Fail(result, setCaption);
        return true;
    }

    bool SetDeviceQuality(int quality) override {
        return engine_.SetDeviceQuality(static_cast<gfx::rm::Quality>(quality));
    }

private:
    ViewEngine engine_;
    GameSession& session_;
};

}  // namespace

std::unique_ptr<GameViews> MakeEngineViews(ViewScreen& screen, GameSession& session,
                                           std::shared_ptr<gfx::FaultPlan> faults) {
    return std::make_unique<EngineViews>(screen, session, std::move(faults));
}
