#include "soundlib/cd/cd_track_decoder.h"

#include <algorithm>
#include <cstdio>

namespace soundlib {
namespace {

// Retries of a sector before the reader gives up on it: enough for a scratch, few enough
// that a ruined sector stalls playback for seconds rather than minutes.
constexpr int kRetries = 10;

void ignoreProgress(long, paranoia_cb_mode_t) {}

}  // namespace

CdTrackDecoder::CdTrackDecoder(const CdDrive& drive, std::uint32_t driveNumber,
                               std::unique_ptr<CdDisc> disc, std::uint32_t track)
    : drive_(drive),
      driveNumber_(driveNumber),
      track_(track),
      disc_(std::move(disc)),
      first_(disc_->tracks().at(track).first),
      length_(static_cast<std::int64_t>(disc_->tracks().at(track).sectors) * kFramesPerSector) {}

bool CdTrackDecoder::openReader() {
    cdda_.reset(cdio_cddap_identify_cdio(disc_->handle(), CDDA_MESSAGE_FORGETIT, nullptr));
    if (!cdda_) return false;
    cdio_cddap_verbose_set(cdda_.get(), CDDA_MESSAGE_FORGETIT, CDDA_MESSAGE_FORGETIT);
    // Audio comes off a disc least significant byte first; saying so spares the reader
    // its guess, which reads sectors to vote on it.
    cdda_->bigendianp = 0;
    if (cdio_cddap_open(cdda_.get()) != 0) return false;
    paranoia_.reset(cdio_paranoia_init(cdda_.get()));
    if (!paranoia_) return false;
    cdio_paranoia_modeset(paranoia_.get(), PARANOIA_MODE_FULL ^ PARANOIA_MODE_NEVERSKIP);
    return true;
}

std::size_t CdTrackDecoder::read(std::int16_t* out, std::size_t frames) {
    if (ended()) return 0;
    // A disc taken out ends the track instead of leaving the reader retrying.
    if (!CdDisc::present(drive_) || (!paranoia_ && !openReader())) {
        failed_ = true;
        return 0;
    }
    std::size_t done = 0;
    while (done < frames && position_ < length_) {
        const std::int64_t sector = position_ / kFramesPerSector;
        if (sector != held_) {
            if (sector != next_) {
                cdio_paranoia_seek(paranoia_.get(), static_cast<int32_t>(first_ + sector),
                                   SEEK_SET);
            }
            const std::int16_t* samples =
                cdio_paranoia_read_limited(paranoia_.get(), &ignoreProgress, kRetries);
            if (!samples) {
                failed_ = true;
                break;
            }
            std::copy_n(samples, sector_.size(), sector_.begin());
            held_ = sector;
            next_ = sector + 1;
        }
        const std::int64_t skip = position_ % kFramesPerSector;
        const auto take = static_cast<std::size_t>(
            std::min<std::int64_t>({kFramesPerSector - skip, length_ - position_,
                                    static_cast<std::int64_t>(frames - done)}));
        std::copy_n(sector_.begin() + 2 * skip, 2 * take, out + 2 * done);
        done += take;
        position_ += static_cast<std::int64_t>(take);
    }
    return done;
}

bool CdTrackDecoder::seek(std::int64_t frame) {
    if (frame < 0 || frame > length_) return false;
    position_ = frame;
    failed_ = false;
    return true;
}

}  // namespace soundlib
