#include "player/write_check.h"

#include <string>
#include <unistd.h>
#include <vector>

#include "engine/file_registry.h"
#include "platform/folders.h"

namespace {

bool folderTakesAFile(const std::string& folder) {
    if (!makeFolders(folder)) {
        fileRegistry.failedWrites += 1;
        return false;
    }
    std::string probe = folder + ".write-check";
    std::vector<uint8_t> bytes(kWriteCheckBytes, 0);
    bool written = writeWholeFile(probe, bytes.data(), bytes.size());
    unlink(probe.c_str());
    return written;
}

} // namespace

bool checkPlayerFolders() {
    bool settingsOk = folderTakesAFile(configFolder());
    bool dataOk = folderTakesAFile(settingsFolder());
    return settingsOk && dataOk;
}

bool playerProgressUnsaved() {
    return fileRegistry.failedWrites > 0;
}
