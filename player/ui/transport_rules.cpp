#include "player/ui/transport_rules.h"

#include <algorithm>

#include "player/engine/play_state.h"

namespace transport_rules {

PlayPauseStep PlayPauseFor(TransportState playState) {
    switch (playState) {
        case TransportState::Paused:
            return PlayPauseStep::Resume;
        case TransportState::Playing:
            return PlayPauseStep::Pause;
        case TransportState::Stopped:
        case TransportState::Seeking:
            return PlayPauseStep::Restart;
        default:
            return PlayPauseStep::Nothing;
    }
}

std::optional<PlayGlyph> PlayGlyphAfter(PlayPauseStep step) {
    switch (step) {
        case PlayPauseStep::Pause:
            return PlayGlyph::Play;
        case PlayPauseStep::Resume:
        case PlayPauseStep::Restart:
            return PlayGlyph::Pause;
        case PlayPauseStep::Nothing:
            break;
    }
    return std::nullopt;
}

std::optional<PlayGlyph> PlayGlyphPressed(TransportState playState) {
    if (playState == TransportState::Playing) return PlayGlyph::PausePressed;
    if (playState == TransportState::Paused) return PlayGlyph::PlayPressed;
    return std::nullopt;
}

std::optional<QString> StatusText(TransportState playState) {
    switch (playState) {
        case TransportState::Stopped:
            return QStringLiteral("Остановлено");
        case TransportState::Playing:
            return QStringLiteral("Воспроизведение");
        case TransportState::Paused:
            return QStringLiteral("Приостановлено");
        case TransportState::NotReady:
            return QStringLiteral("Не готов");
        case TransportState::Seeking:
            return QStringLiteral("Поиск");
        default:
            return std::nullopt;
    }
}

QString CpuLoadText(double percent, const QLocale& locale) {
    return locale.toString(percent, 'f', 1);
}

bool TrackEnded(int position, int maximum) {
    return position >= maximum - 40;
}

int SeekTarget(int position, int deltaMs, int length) {
    const long long target = static_cast<long long>(position) + deltaMs;
    return static_cast<int>(std::clamp<long long>(target, 0, std::max(length, 0)));
}

int NextColorIndex(int colorIndex) {
    return colorIndex == 5 ? 0 : colorIndex + 1;
}

}  // namespace transport_rules
