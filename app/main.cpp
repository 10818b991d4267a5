#include "app/application.h"
#include "game/invariants.h"

int main(int argc, char** argv) {
#ifndef PEBBLECRAFT_STRICT_INVARIANTS
    rulesInvariants.strict = false; // a player's build repairs a broken invariant and plays on
#endif
    return runApplication(argc, argv);
}
