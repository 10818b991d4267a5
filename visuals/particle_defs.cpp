// Reading effect definitions from their keyed text files.
#include <cstdio>
#include <strings.h>

#include "engine/keyed_reader.h"
#include "visuals/particle_effects.h"

namespace {

bool hasKey(std::string_view text, const char* key) {
    return text.find(key) != std::string_view::npos;
}

// A plain number: kept at its default when the key is missing; present but empty reads as 0.
void readNumber(std::string_view text, const char* key, float& value) {
    if (hasKey(text, key)) value = readFloat(text, key);
}

void readNumber(std::string_view text, const char* key, int& value) {
    if (hasKey(text, key)) value = readInt(text, key);
}

template <int N> void readList(std::string_view text, const char* key, float (&values)[N]) {
    readFloatList(text, key, values, N); // stores as many values as are written, in order
}

void readVector(std::string_view text, const char* key, glm::vec3& value) {
    float v[3] = {value.x, value.y, value.z};
    if (readVector3(text, key, v)) value = glm::vec3(v[0], v[1], v[2]);
}

} // namespace

void readEffectDefinition(std::string_view text, EffectDefinition& def) {
    char key[32];
    for (int i = 0; i < kMaxExternEffects; ++i) {
        std::snprintf(key, sizeof key, "externeffect%d=", i + 1);
        readValueText(text, key, def.externEffects[i], sizeof def.externEffects[i]);
    }
    readNumber(text, "parfrequency=", def.parFrequency);
    readList(text, "color0=", def.color0);
    readList(text, "color0dev=", def.color0Dev);
    readList(text, "color1=", def.color1);
    readList(text, "color1dev=", def.color1Dev);
    readNumber(text, "radius0=", def.radius0);
    readNumber(text, "radius0dev=", def.radius0Dev);
    readNumber(text, "radius1=", def.radius1);
    readNumber(text, "radius1dev=", def.radius1Dev);
    readNumber(text, "partime=", def.parTimeMs);
    readNumber(text, "partimedev=", def.parTimeDevMs);
    readVector(text, "positiondev=", def.positionDev);
    readVector(text, "speed=", def.speed);
    readVector(text, "speeddev=", def.speedDev);
    readNumber(text, "gravity=", def.gravity);
    readNumber(text, "gravitydev=", def.gravityDev);
    readNumber(text, "blendtype=", def.blendType);
    readNumber(text, "numparticle=", def.frame);
    // "rot=" is also the end of "drot=": the first occurrence wins, so files list "rot=" first.
    readNumber(text, "rot=", def.rot);
    readNumber(text, "rotdev=", def.rotDev);
    readNumber(text, "drot=", def.dRot);
    readNumber(text, "drotdev=", def.dRotDev);
    readNumber(text, "effecttime=", def.effectTimeMs);
    readList(text, "polarpar=", def.polarPar);
    readList(text, "polarpardev=", def.polarParDev);
    readList(text, "lissparx=", def.lissParX);
    readList(text, "lisspary=", def.lissParY);
    readList(text, "polar=", def.polar);
    readList(text, "polardev=", def.polarDev);
    readList(text, "lissx=", def.lissX);
    readList(text, "lissy=", def.lissY);
    readNumber(text, "simetria=", def.simetria);
    readNumber(text, "simetriapar=", def.simetriaPar);
}

bool addEffectDefinition(const char* name, std::string_view text) {
    EffectDefinition* slot = particleSystem.defs.add();
    if (!slot) return false; // later files are ignored
    EffectDefinition& def = *slot;
    def = EffectDefinition{};
    std::snprintf(def.name, sizeof def.name, "%s", name);
    readEffectDefinition(text, def);
    return true;
}

const EffectDefinition* findEffect(const char* name) {
    if (!name || !name[0]) return nullptr;
    for (const EffectDefinition& def : particleSystem.defs) {
        if (strcasecmp(def.name, name) == 0) return &def;
    }
    return nullptr;
}
