#include "view/game_session.h"

#include "game/message_store.h"
#include "game/world_map.h"
#include "view/main_map.h"

float ZoomedDistance(float z, float step, float nearLimit, float farLimit) {
    if (step < 0.0f && z > nearLimit)
        return z + step;
    if (step > 0.0f && z < farLimit)
        return z + step;
    return z;
}

GameSession::GameSession() = default;

GameSession::~GameSession() {
    Destroy();
}

void GameSession::Note(std::string_view event) const {
    if (OnObjectEvent)
        OnObjectEvent(event);
}

void GameSession::Create(std::unique_ptr<GameViews> views) {
    Destroy();
    views_ = std::move(views);
    Note("create ViewEngine");
    world_ = std::make_unique<WorldMap>();
    Note("create WorldMap");
    map_ = std::make_unique<MainMap>();
    Note("create MainMap");
    messages_ = std::make_unique<MessageStore>();
    Note("create MessageStore");
}

void GameSession::Destroy() {
    if (messages_) {
        messages_.reset();
        Note("destroy MessageStore");
    }
    if (map_) {
        map_.reset();
        Note("destroy MainMap");
    }
    if (world_) {
        world_.reset();
        Note("destroy WorldMap");
    }
    if (views_) {
        views_.reset();
        Note("destroy ViewEngine");
    }
}

void GameSession::DestroyMainMap() {
    if (!map_)
        return;
    map_.reset();
    Note("destroy MainMap");
}

void GameSession::CreateMainMap(int textureResolution, const LoadProgressFn& progress) {
    if (!views_ || !world_)
        return;
    map_ = std::make_unique<MainMap>();
    Note("create MainMap");
    views_->SetUpLargeMap(*map_, *world_, textureResolution, progress);
}

GameSession& Game() {
    static GameSession session;
    return session;
}
