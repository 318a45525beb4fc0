#pragma once

// The steps of rebuilding the large map at a new texture resolution. The main screen takes
// them; while a game is loaded the game options window holds them, and its "Okay" calls the
// steps in this order: ShowLoadingNotice, then pending events run,
// DestroyMainMap, then the title screen's TextureResolution takes the new value,
// CreateMainMap, CloseLoadingNotice.
class MainMapRebuild {
public:
    virtual ~MainMapRebuild() = default;

    // Sets the "Loading map" notice's gauge to 0 and shows the notice.
    virtual void ShowLoadingNotice() = 0;
    // Destroys the current main-map object.
    virtual void DestroyMainMap() = 0;
    // Creates, constructs and builds a main-map object at the title screen's
    // TextureResolution and makes it the current one.
    virtual void CreateMainMap() = 0;
    virtual void CloseLoadingNotice() = 0;
};
