// The rules' invariants, checked after every step that changes the board. A broken one is a fault of the
// rules. Strict (the default, kept by the tests, the simulator and the sanitizer build): it stops the
// program at once with its line on standard error. Not strict (a player's build): what can be repaired is
// repaired, one line goes to standard error, and the game plays on rather than lose the level.
#pragma once

struct Rules;

struct RulesInvariants {
    bool strict = true; // abort on a broken invariant
    int repairs = 0;    // broken invariants repaired since launch (not strict)
    // Strict: called with the line written just before the program stops (the soak names its game).
    void (*beforeAbort)(const char* line) = nullptr;
};

extern RulesInvariants rulesInvariants;

// The free-cell count agrees with the board; where names the step that asks (for the line written).
void checkRulesInvariants(Rules& r, const char* where);
