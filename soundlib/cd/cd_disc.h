#pragma once
// A disc in a drive, opened through libcdio, with its table of contents.
#include <cdio/cdio.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "soundlib/cd/cd_drive_list.h"

namespace soundlib {

struct CdTrack {
    lsn_t first;            // first sector
    std::uint32_t sectors;  // up to the next track (the lead-out after the last)
    bool audio;
};

class CdDisc {
public:
    // The disc in the drive, or nullptr when there is none or its table of contents cannot
    // be read. Reads the table of contents, never audio sectors.
    static std::unique_ptr<CdDisc> open(const CdDrive& drive);
    // As open(), without requiring a table of contents (for the drive's own information).
    static std::unique_ptr<CdDisc> openDrive(const CdDrive& drive);
    // Whether the drive still holds its disc: the image file exists, or the device
    // reports a disc. Cheap enough to ask before every read.
    static bool present(const CdDrive& drive);

    CdIo_t* handle() const { return cdio_.get(); }
    const std::vector<CdTrack>& tracks() const { return tracks_; }

private:
    struct Close {
        void operator()(CdIo_t* cdio) const { cdio_destroy(cdio); }
    };
    explicit CdDisc(CdIo_t* cdio) : cdio_(cdio) {}

    std::unique_ptr<CdIo_t, Close> cdio_;
    std::vector<CdTrack> tracks_;
};

}  // namespace soundlib
