// Texts of the tables used as formats for one number ("%i %%"). The tables are data: a text whose
// conversions are anything but at most one integer is shown as it stands instead of being formatted.
#pragma once

#include <cstddef>

bool isNumberFormat(const char* format);   // at most one %i or %d (flags and width allowed), %% any number
int numberConversions(const char* format); // how many %i or %d it takes; -1 when it has any other conversion
void formatNumberText(char* out, size_t capacity, const char* format, int value);
