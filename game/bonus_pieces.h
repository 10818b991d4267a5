// Earned pieces (bombs and diamonds), the hammer and its charge.
#pragma once

struct Rules;

bool bonusPiecesUnlocked(
    Rules& r); // the level gives earned pieces (level > 1, a profile past level 1, or action)
void announceBonus(Rules& r, int kind); // an earned piece announced at the landing cell
void placePendingBonuses(Rules& r);     // places announced earned pieces on empty cells
void announceHammerReady(Rules& r);     // the charge has just reached 1: sound and tip or text
bool hammerIconHit(float x, float y);   // (x, y) inside the hammer icon, borders excluded
void toggleHammer(Rules& r);            // a click on the hammer icon: arms or disarms the hammer when charged
void hammerBlow(Rules& r, int x, int y); // a click on a cell while the hammer is armed
