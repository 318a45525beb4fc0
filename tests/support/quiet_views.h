// Game views that succeed at every call and draw nothing. Tests derive from them and override
// only the calls they follow.
#pragma once

#include "view/game_session.h"

class QuietViews : public GameViews {
public:
    bool SetUpEngine(MainMap&) override { return true; }
    bool SetUpGlobe(WorldMap&) override { return true; }
    bool SetUpLargeMap(MainMap&, const WorldMap&, int, const LoadProgressFn&) override {
        return true;
    }
    void RenderViews() override {}
    void BlitMainMapToScreen() override {}
    bool SetRotation(RotationFrame, float, float, float, float) override { return true; }
    bool StepZoom(ZoomView, float) override { return true; }
    bool SetDeviceQuality(int) override { return true; }
};
