// The synthesised instruments of the music module, in the module's instrument order.
#pragma once

#include "xm_writer.h"

#include <vector>

namespace music {

// Instrument numbers as the patterns use them (1-based, as in the module).
enum InstrumentId : uint8_t {
    kPiano = 1, // electric piano: chords and melodies
    kPad,       // soft chorused pad, looped
    kBass,      // round plucked bass
    kBell,      // glassy bell for sparkle and counter-melodies
    kMarimba,   // wooden mallet for bouncy melodies and arpeggios
    kFlute,     // gentle looped lead with vibrato
    kLead,      // mellow chorused square lead
    kGuitar,    // plucked nylon string
    kKick,
    kSnare,
    kHat, // closed hi-hat
    kShaker,
    kClap,
    kInstrumentCount = kClap,
};

// Every instrument, index 0 being instrument 1.
std::vector<xm::Instrument> makeInstruments();

} // namespace music
