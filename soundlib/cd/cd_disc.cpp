#include "soundlib/cd/cd_disc.h"

#include <fcntl.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <filesystem>

namespace soundlib {

std::unique_ptr<CdDisc> CdDisc::openDrive(const CdDrive& drive) {
    if (!present(drive)) return nullptr;
    CdIo_t* cdio = cdio_open(drive.path.c_str(), drive.driver);
    if (!cdio) return nullptr;
    return std::unique_ptr<CdDisc>(new CdDisc(cdio));
}

std::unique_ptr<CdDisc> CdDisc::open(const CdDrive& drive) {
    auto disc = openDrive(drive);
    if (!disc) return nullptr;
    CdIo_t* cdio = disc->handle();
    const track_t first = cdio_get_first_track_num(cdio);
    const track_t count = cdio_get_num_tracks(cdio);
    if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK || count == 0) return nullptr;
    for (track_t i = 0; i < count; ++i) {
        const auto number = static_cast<track_t>(first + i);
        const lsn_t start = cdio_get_track_lsn(cdio, number);
        if (start == CDIO_INVALID_LSN) return nullptr;
        disc->tracks_.push_back({start, cdio_get_track_sec_count(cdio, number),
                                 cdio_get_track_format(cdio, number) == TRACK_FORMAT_AUDIO});
    }
    return disc;
}

bool CdDisc::present(const CdDrive& drive) {
    if (drive.driver != DRIVER_DEVICE) {
        std::error_code error;
        return std::filesystem::is_regular_file(drive.path, error);
    }
    // Non-blocking, so that asking does not close an open tray or wait for the disc.
    const int fd = ::open(drive.path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    const int status = ::ioctl(fd, CDROM_DRIVE_STATUS, CDSL_CURRENT);
    ::close(fd);
    return status == CDS_DISC_OK;
}

}  // namespace soundlib
