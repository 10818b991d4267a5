#include "platform/folders.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string gDataFolder;

bool isDirectory(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string withSlash(std::string path) {
    if (path.empty() || path.back() != '/') path += '/';
    return path;
}

// The running program's own path: the kernel's link, else argv[0] (searched on $PATH when it names no
// folder), so that the data is found wherever the player starts the game from.
std::string executablePath(const char* argv0) {
    char buffer[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
    if (n > 0) return std::string(buffer, static_cast<size_t>(n));
    if (!argv0 || !argv0[0]) return {};
    std::string name = argv0;
    if (name.find('/') != std::string::npos) return name;
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "";
    for (size_t start = 0; start <= folders.size();) {
        size_t end = folders.find(':', start);
        if (end == std::string::npos) end = folders.size();
        std::string candidate = withSlash(end > start ? folders.substr(start, end - start) : ".") + name;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
        start = end + 1;
    }
    return {};
}

// $VAR if set and absolute, else $HOME/fallback.
std::string xdgFolder(const char* var, const char* fallback) {
    const char* value = std::getenv(var);
    if (value && value[0] == '/') return withSlash(value);
    const char* home = std::getenv("HOME");
    return withSlash(std::string(home && home[0] ? home : "/tmp") + "/" + fallback);
}

} // namespace

std::string findDataFolder(const std::string& executable) {
    size_t slash = executable.find_last_of('/');
    if (slash == std::string::npos) return {};
    std::string folder = executable.substr(0, slash + 1);
    // Beside the program in a build; share/pebblecraft/Data of the prefix when installed to games/ or bin/.
    const std::string candidates[] = {folder + "Data", folder + "../share/pebblecraft/Data"};
    for (const std::string& candidate : candidates) {
        if (!isDirectory(candidate)) continue;
        // Absolute and without "..": the game changes into this folder and still prefixes paths with it.
        char resolved[PATH_MAX];
        if (!realpath(candidate.c_str(), resolved)) continue;
        return withSlash(resolved);
    }
    return {};
}

bool locateDataFolder(const char* argv0) {
    std::string found = findDataFolder(executablePath(argv0));
    if (found.empty()) return false;
    gDataFolder = found;
    return true;
}

const std::string& dataFolder() {
    return gDataFolder;
}

void setDataFolder(const std::string& path) {
    gDataFolder = withSlash(path);
}

std::string configFolder() {
    return xdgFolder("XDG_CONFIG_HOME", ".config") + "pebblecraft/";
}

std::string settingsFolder() {
    return xdgFolder("XDG_DATA_HOME", ".local/share") + "pebblecraft/settings/";
}

bool makeFolders(const std::string& path) {
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '/') {
            std::string part = path.substr(0, i);
            if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
        }
    }
    return isDirectory(path);
}
