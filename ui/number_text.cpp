#include "ui/number_text.h"

#include <cstdio>

int numberConversions(const char* format) {
    int conversions = 0;
    for (const char* p = format; *p; ++p) {
        if (*p != '%') continue;
        ++p;
        if (*p == '%') continue;
        while (*p == '-' || *p == '+' || *p == ' ' || *p == '0' || *p == '.' || (*p >= '1' && *p <= '9')) ++p;
        if (*p != 'i' && *p != 'd') return -1;
        ++conversions;
    }
    return conversions;
}

bool isNumberFormat(const char* format) {
    int conversions = numberConversions(format);
    return conversions >= 0 && conversions <= 1;
}

void formatNumberText(char* out, size_t capacity, const char* format, int value) {
    if (capacity == 0) return;
    if (!isNumberFormat(format)) {
        std::snprintf(out, capacity, "%s", format);
        return;
    }
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    std::snprintf(out, capacity, format, value);
#pragma GCC diagnostic pop
}
