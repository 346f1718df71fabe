#include "soundlib/cd/cd_drive_list.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>

#include <cdio/logging.h>

#include "soundlib/cd/cd_disc.h"

namespace soundlib {
namespace {

std::string trimmed(const char* text) {
    std::string s(text);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.pop_back();
    return s;
}

std::string describe(const CdDrive& drive) {
    const auto disc = CdDisc::openDrive(drive);
    cdio_hwinfo_t info{};
    if (!disc || !cdio_get_hwinfo(disc->handle(), &info)) {
        return drive.driver == DRIVER_DEVICE ? "CD drive" : "Disc image";
    }
    std::string text = trimmed(info.psz_vendor);
    const std::string model = trimmed(info.psz_model);
    if (!text.empty() && !model.empty()) text += ' ';
    return text + model;
}

std::vector<CdDrive> listDrives() {
    std::vector<CdDrive> drives;
    // libcdio names a device under several links (/dev/cdrom, /dev/sr0): each once.
    std::set<std::string> seen;
    std::unique_ptr<char*, void (*)(char**)> devices(cdio_get_devices(DRIVER_DEVICE),
                                                     &cdio_free_device_list);
    for (char** device = devices.get(); device && *device; ++device) {
        std::error_code error;
        const auto real = std::filesystem::canonical(*device, error);
        if (!seen.insert(error ? std::string(*device) : real.string()).second) continue;
        drives.push_back({*device, {}, DRIVER_DEVICE});
    }
    if (const char* images = std::getenv("ZORVAN_CD_IMAGES")) {
        const std::string list(images);
        std::size_t start = 0;
        while (start <= list.size()) {
            const std::size_t end = std::min(list.find(':', start), list.size());
            const std::string path = list.substr(start, end - start);
            if (!path.empty()) drives.push_back({path, {}, imageDriver(path)});
            start = end + 1;
        }
    }
    for (CdDrive& drive : drives) drive.description = describe(drive);
    return drives;
}

}  // namespace

const CdDrive* findCdDrive(std::uint32_t drive) {
    static const std::vector<CdDrive> drives = [] {
        // libcdio warns on stderr about what it guesses in a CUE sheet (pregaps, odd sizes);
        // its errors are ours to report.
        cdio_loglevel_default = CDIO_LOG_ERROR;
        return listDrives();
    }();
    return drive < drives.size() ? &drives[drive] : nullptr;
}

driver_id_t imageDriver(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".cue") return DRIVER_BINCUE;
    if (extension == ".toc") return DRIVER_CDRDAO;
    if (extension == ".nrg") return DRIVER_NRG;
    return DRIVER_UNKNOWN;
}

}  // namespace soundlib
