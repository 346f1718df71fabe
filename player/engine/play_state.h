#pragma once
// The transport states shared by the audio object, the status display and the transport
// commands, with their stored codes (1004 and 1005 are not used), and the four images
// of the play button.

enum class TransportState {
    Stopped = 1001,
    Playing = 1002,
    Paused = 1003,
    NotReady = 1006,
    Seeking = 1007,
};

enum class PlayGlyph {
    Play = 0,
    PlayPressed = 1,
    Pause = 2,
    PausePressed = 3,
};
