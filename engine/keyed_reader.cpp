#include "engine/keyed_reader.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

// Longest values each reader takes; longer ones are cut.
constexpr int kNumberValueLength = 31;
constexpr int kVectorValueLength = 63;
constexpr int kListValueLength = 255;

// The value after the first occurrence of key, up to the next CR, a 0 byte or the buffer's end.
std::string_view findValue(std::string_view buffer, const char* key) {
    if (!key || !key[0]) return {};
    size_t at = buffer.find(key);
    if (at == std::string_view::npos) return {};
    std::string_view rest = buffer.substr(at + std::strlen(key));
    size_t end = rest.find_first_of(std::string_view("\r\0", 2));
    return end == std::string_view::npos ? rest : rest.substr(0, end);
}

// Copies at most maxLength characters of a value into dest, 0-terminated.
void copyValue(std::string_view value, char* dest, int maxLength) {
    size_t n = value.size() < static_cast<size_t>(maxLength) ? value.size() : static_cast<size_t>(maxLength);
    if (n > 0) std::memcpy(dest, value.data(), n); // an empty value may have no storage at all
    dest[n] = 0;
}

// Leading blanks allowed; conversion stops at the first character that cannot continue a number.
double toNumber(std::string_view text) {
    char copy[kListValueLength + 1];
    copyValue(text, copy, kListValueLength);
    double number = std::strtod(copy, nullptr);
    // "inf" and "nan" are no numbers of ours; they would poison every use of the value.
    return std::isfinite(number) ? number : 0.0;
}

// A number as the float the readers return: one beyond the float's range is its largest, never infinite.
float toFloat(std::string_view text) {
    double number = toNumber(text);
    constexpr double kLargest = 3.4028234663852886e38;
    return static_cast<float>(number > kLargest ? kLargest : number < -kLargest ? -kLargest : number);
}

} // namespace

int readValueText(std::string_view buffer, const char* key, char* dest, int capacity) {
    if (!dest || capacity <= 0) return 0;
    std::string_view value = findValue(buffer, key);
    copyValue(value, dest, capacity - 1);
    return static_cast<int>(std::strlen(dest));
}

float readFloat(std::string_view buffer, const char* key) {
    std::string_view value = findValue(buffer, key);
    return toFloat(value.substr(0, kNumberValueLength));
}

int readInt(std::string_view buffer, const char* key) {
    std::string_view value = findValue(buffer, key);
    double number = std::trunc(toNumber(value.substr(0, kNumberValueLength)));
    // Out-of-range values would be undefined to convert; bound them.
    if (number < -2147483648.0) return -2147483647 - 1;
    if (number > 2147483647.0) return 2147483647;
    return static_cast<int>(number);
}

int readFloatList(std::string_view buffer, const char* key, float* dest, int capacity) {
    std::string_view value = findValue(buffer, key).substr(0, kListValueLength);
    if (value.find_first_of(")}") == std::string_view::npos) return 0;
    std::string_view rest = value.substr(1);
    int stored = 0;
    while (stored < capacity) {
        size_t separator = rest.find(',');
        if (separator == std::string_view::npos) separator = rest.find('}');
        if (separator == std::string_view::npos) separator = rest.find(')');
        if (separator == std::string_view::npos) break;
        dest[stored++] = toFloat(rest.substr(0, separator));
        rest = rest.substr(separator + 1);
    }
    return stored;
}

bool readVector3(std::string_view buffer, const char* key, float* dest) {
    std::string_view value = findValue(buffer, key).substr(0, kVectorValueLength);
    if (value.empty()) return false;
    std::string_view rest = value.substr(1);
    size_t first = rest.find(',');
    if (first == std::string_view::npos) return false;
    size_t second = rest.find(',', first + 1);
    if (second == std::string_view::npos) return false;
    size_t close = rest.find(')', second + 1);
    if (close == std::string_view::npos) return false;
    dest[0] = toFloat(rest.substr(0, first));
    dest[1] = toFloat(rest.substr(first + 1, second - first - 1));
    dest[2] = toFloat(rest.substr(second + 1, close - second - 1));
    return true;
}
