#pragma once
// The CD drives the library offers: the system's devices as libcdio lists them, then the
// disc images named in ZORVAN_CD_IMAGES. Taken once, on first use, and kept unchanged.
#include <cdio/cdio.h>

#include <cstdint>
#include <string>
#include <vector>

namespace soundlib {

struct CdDrive {
    std::string path;         // device node or image file
    std::string description;  // vendor and model
    driver_id_t driver;       // DRIVER_DEVICE, or the image reader for the file's format
};

// The drive numbered `drive`, or nullptr past the last one.
const CdDrive* findCdDrive(std::uint32_t drive);

// The image reader for a file of that name (by its extension: .cue, .toc, .nrg); libcdio
// guesses for any other.
driver_id_t imageDriver(const std::string& path);

}  // namespace soundlib
