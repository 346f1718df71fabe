#include "player/ui/transport_rules.h"

#include <algorithm>

#include "player/engine/play_state.h"

namespace TransportRules {

PlayPauseStep PlayPauseFor(int playState) {
    switch (playState) {
        case PlayState::Paused:
            return PlayPauseStep::Resume;
        case PlayState::Playing:
            return PlayPauseStep::Pause;
        case PlayState::Stopped:
        case PlayState::Seeking:
            return PlayPauseStep::Restart;
        default:
            return PlayPauseStep::Nothing;
    }
}

std::optional<int> PlayGlyphAfter(PlayPauseStep step) {
    switch (step) {
        case PlayPauseStep::Pause:
            return 0;
        case PlayPauseStep::Resume:
        case PlayPauseStep::Restart:
            return 2;
        case PlayPauseStep::Nothing:
            break;
    }
    return std::nullopt;
}

std::optional<int> PlayGlyphPressed(int playState) {
    if (playState == PlayState::Playing) return 3;
    if (playState == PlayState::Paused) return 1;
    return std::nullopt;
}

std::optional<QString> StatusText(int playState) {
    switch (playState) {
        case PlayState::Stopped:
            return QStringLiteral("Остановлено");
        case PlayState::Playing:
            return QStringLiteral("Воспроизведение");
        case PlayState::Paused:
            return QStringLiteral("Приостановлено");
        case PlayState::NotReady:
            return QStringLiteral("Не готов");
        case PlayState::Seeking:
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

}  // namespace TransportRules
