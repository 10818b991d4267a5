#include "app/scene.h"

#include "app/typed_words.h"

void Scene::update() {
    feedTypedLetter(pendingKey);
    // Not yet: the animated scenery loads a background picture that waits to be loaded here.
    pendingKey = 0;
}
