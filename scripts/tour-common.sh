# Shared by the scripts that try the player on a virtual X server (source it).

# Exports what a tour needs: the built player, the output folder `$1`, and a new user's
# settings, data and runtime folders inside it, on the X11 platform.
tour_environment() {
    export ZORVAN=$(realpath "$BUILD/bin/zorvan") OUT=$1
    export XDG_CONFIG_HOME=$1/config XDG_DATA_HOME=$1/data XDG_RUNTIME_DIR=$1/runtime
    export QT_QPA_PLATFORM=xcb
    mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
}

# Waits up to ten seconds for the player's main window to show.
wait_for_player() {
    for _ in $(seq 50); do
        xdotool search --onlyvisible --name Tavrel >/dev/null 2>&1 && return
        sleep 0.2
    done
}
