#include "app/scene.h"

#include "app/typed_words.h"

void Scene::update() {
    feedTypedLetter(pendingKey);
    // A background picture the scenery waits for is loaded by the scenery's own update (updateScenery).
    pendingKey = 0;
}
