// The CD calls: drives, tables of contents and CD streams.
#include <memory>

#include "soundlib/cd/cd_disc.h"
#include "soundlib/cd/cd_drive_list.h"
#include "soundlib/cd/cd_track_decoder.h"
#include "soundlib/device_session.h"
#include "soundlib/error.h"
#include "soundlib/prefetch_decoder.h"
#include "soundlib/soundlib_cd.h"

using namespace soundlib;

namespace {

constexpr std::int64_t kBytesPerSector = 4 * CdTrackDecoder::kFramesPerSector;
// Read ahead of playback: rides over a few seconds of retries on a scratched disc.
constexpr std::size_t kAheadFrames = 4 * 44100;

const CdDrive* drive(std::uint32_t number) {
    const CdDrive* found = findCdDrive(number);
    return found ? found : fail(SOUND_ERROR_DEVICE, found);
}

// The disc in the drive numbered `number`, or nullptr with the error code set.
std::unique_ptr<CdDisc> disc(std::uint32_t number) {
    const CdDrive* found = drive(number);
    if (!found) return nullptr;
    auto opened = CdDisc::open(*found);
    if (!opened) setError(SOUND_ERROR_NOCD);
    return opened;
}

// The audio track `track` of the disc, or nullptr with the error code set.
const CdTrack* audioTrack(const CdDisc& disc, std::uint32_t track) {
    if (track >= disc.tracks().size()) return fail(SOUND_ERROR_CDTRACK, nullptr);
    const CdTrack& found = disc.tracks()[track];
    return found.audio ? &found : fail(SOUND_ERROR_NOTAUDIO, nullptr);
}

}  // namespace

extern "C" {

const char* BASS_CD_GetDriveDescription(uint32_t number) {
    const CdDrive* found = drive(number);
    if (found) setError(SOUND_OK);
    return found ? found->description.c_str() : nullptr;
}

const char* BASS_CD_GetDriveLetter(uint32_t number) {
    const CdDrive* found = drive(number);
    if (found) setError(SOUND_OK);
    return found ? found->path.c_str() : nullptr;
}

int BASS_CD_IsReady(uint32_t number) {
    if (!disc(number)) return 0;
    setError(SOUND_OK);
    return 1;
}

int32_t BASS_CD_GetTracks(uint32_t number) {
    const auto opened = disc(number);
    if (!opened) return -1;
    setError(SOUND_OK);
    return static_cast<int32_t>(opened->tracks().size());
}

int32_t BASS_CD_GetTrackLength(uint32_t number, uint32_t track) {
    const auto opened = disc(number);
    const CdTrack* found = opened ? audioTrack(*opened, track) : nullptr;
    if (!found) return -1;
    setError(SOUND_OK);
    return static_cast<int32_t>(found->sectors * kBytesPerSector);
}

uint32_t BASS_CD_StreamCreate(uint32_t number, uint32_t track, uint32_t) {
    const auto session = DeviceSession::current();
    if (!session) return fail(SOUND_ERROR_INIT, 0u);
    auto opened = disc(number);
    if (!opened || !audioTrack(*opened, track)) return 0;
    auto reader =
        std::make_unique<CdTrackDecoder>(*findCdDrive(number), number, std::move(opened), track);
    setError(SOUND_OK);
    return session->add(SOUND_KIND_CD,
                        std::make_unique<PrefetchDecoder>(std::move(reader), kAheadFrames,
                                                          PrefetchDecoder::Seeking::Queued));
}

uint32_t BASS_CD_StreamGetTrack(uint32_t handle) {
    constexpr uint32_t kNone = 0xFFFFFFFFu;
    const auto session = DeviceSession::current();
    if (!session) return fail(SOUND_ERROR_INIT, kNone);
    const auto channel = session->find(handle);
    if (!channel) return fail(SOUND_ERROR_HANDLE, kNone);
    std::lock_guard lock(channel->mutex);
    const auto* prefetch = dynamic_cast<const PrefetchDecoder*>(&channel->decoder());
    const auto* reader =
        prefetch ? dynamic_cast<const CdTrackDecoder*>(&prefetch->inner()) : nullptr;
    if (!reader) return fail(SOUND_ERROR_KIND, kNone);
    setError(SOUND_OK);
    return reader->driveNumber() << 16 | reader->track();
}

}  // extern "C"
