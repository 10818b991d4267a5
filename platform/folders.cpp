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

std::string executableFolder(const char* argv0) {
    char buffer[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
    std::string exe;
    if (n > 0) {
        exe.assign(buffer, static_cast<size_t>(n));
    } else if (argv0) {
        exe = argv0;
    }
    size_t slash = exe.find_last_of('/');
    return slash == std::string::npos ? std::string("./") : exe.substr(0, slash + 1);
}

// $VAR if set and absolute, else $HOME/fallback.
std::string xdgFolder(const char* var, const char* fallback) {
    const char* value = std::getenv(var);
    if (value && value[0] == '/') return withSlash(value);
    const char* home = std::getenv("HOME");
    return withSlash(std::string(home && home[0] ? home : "/tmp") + "/" + fallback);
}

} // namespace

bool locateDataFolder(const char* argv0) {
    std::string exeFolder = executableFolder(argv0);
    const std::string candidates[] = {exeFolder + "Data", exeFolder + "../share/pebblecraft/Data"};
    for (const std::string& candidate : candidates) {
        if (isDirectory(candidate)) {
            gDataFolder = withSlash(candidate);
            return true;
        }
    }
    return false;
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
