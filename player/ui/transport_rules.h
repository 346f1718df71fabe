#pragma once
// What the transport controls do in each playback state, and the read-outs the status
// timers show. Pure rules, so the main window's handlers stay thin.
#include <QLocale>
#include <QString>
#include <optional>

#include "player/engine/play_state.h"

namespace transport_rules {

// What the play/pause command does in a state.
enum class PlayPauseStep {
    Nothing,  // not ready: nothing has been started yet
    Resume,   // paused
    Pause,    // playing
    Restart,  // stopped or seeking: the source loaded last starts from its beginning
};
PlayPauseStep PlayPauseFor(TransportState playState);
// The play button's glyph after the step (image of the play glyph list); none for Nothing.
std::optional<PlayGlyph> PlayGlyphAfter(PlayPauseStep step);
// The play button's pressed glyph: pause pressed while playing, play pressed while paused.
std::optional<PlayGlyph> PlayGlyphPressed(TransportState playState);

// The status line for a state; none for a code that is not a state.
std::optional<QString> StatusText(TransportState playState);
// The sound library's processor load, fixed-point with one decimal in the locale's
// separator ("3,2" in a Russian locale).
QString CpuLoadText(double percent, const QLocale& locale = QLocale());

// The status timer moves to the next entry once the seek bar is within 40 ms of its end.
bool TrackEnded(int position, int maximum);
// A seek by `deltaMs` from `position`, kept within 0 .. length.
int SeekTarget(int position, int deltaMs, int length);
// The colour button's next step through the six window colours.
int NextColorIndex(int colorIndex);

}  // namespace transport_rules
