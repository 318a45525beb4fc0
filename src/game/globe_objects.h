#pragma once

// The globe's 3D objects held by a WorldMap. The view engine fills and releases them; the
// members are added with the view engine.
struct GlobeObjects {
    virtual ~GlobeObjects() = default;
};
