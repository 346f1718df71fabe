#pragma once
// One audio track of a disc as decoded frames, read sector by sector through libcdio's
// paranoia reader. Meant to run under a PrefetchDecoder: the reader is set up on the first
// read, so that opening the stream reads nothing on the caller's thread.
#include <cdio/paranoia/cdda.h>
#include <cdio/paranoia/paranoia.h>

#include <array>
#include <cstdint>
#include <memory>

#include "soundlib/cd/cd_disc.h"
#include "soundlib/decoder.h"

namespace soundlib {

class CdTrackDecoder : public Decoder {
public:
    static constexpr std::int64_t kFramesPerSector = 588;  // 2352 bytes

    // `disc` must hold `track` as an audio track.
    CdTrackDecoder(const CdDrive& drive, std::uint32_t driveNumber, std::unique_ptr<CdDisc> disc,
                   std::uint32_t track);

    SourceFormat format() const override { return {44100, 2, false}; }
    std::int64_t lengthFrames() const override { return length_; }
    std::size_t read(std::int16_t* out, std::size_t frames) override;
    bool ended() const override { return failed_ || position_ >= length_; }
    // Only moves the cursor; the reader goes there on the next read.
    bool seek(std::int64_t frame) override;

    std::uint32_t driveNumber() const { return driveNumber_; }
    std::uint32_t track() const { return track_; }

private:
    struct CloseDrive {
        void operator()(cdrom_drive_t* drive) const { cdio_cddap_close_no_free_cdio(drive); }
    };
    struct FreeParanoia {
        void operator()(cdrom_paranoia_t* paranoia) const { cdio_paranoia_free(paranoia); }
    };
    bool openReader();

    const CdDrive& drive_;
    const std::uint32_t driveNumber_;
    const std::uint32_t track_;
    // Destroyed in reverse: the paranoia reader, then the audio reader, then the disc.
    std::unique_ptr<CdDisc> disc_;
    std::unique_ptr<cdrom_drive_t, CloseDrive> cdda_;
    std::unique_ptr<cdrom_paranoia_t, FreeParanoia> paranoia_;
    const lsn_t first_;
    const std::int64_t length_;
    std::int64_t position_ = 0;  // frame of the track read next
    // The last sector read (a read may stop inside it), and the one the reader gives next.
    std::array<std::int16_t, 2 * kFramesPerSector> sector_{};
    std::int64_t held_ = -1;
    std::int64_t next_ = -1;
    bool failed_ = false;
};

}  // namespace soundlib
