# Flows of the installed game: `cmake --install` into a temporary prefix, the game started from another
# folder finds its data from its own location and keeps the player's files in the per-user folders.

FLOWS+=(flow_installed_game)

install_into() { cmake --install "$BUILD" --prefix "$1" >"$WORK/install.log" 2>&1; }  # install_into PREFIX

program_pid() {  # program_pid PATH: the process running that program (GAME_PID is the shell that started it)
    local p
    for p in /proc/[0-9]*; do
        [ "$(readlink "$p/exe" 2>/dev/null)" = "$1" ] && { echo "${p#/proc/}"; return 0; }
    done
    return 1
}

flow_installed_game() {
    local prefix=$WORK/prefix elsewhere=$WORK/elsewhere
    check "cmake --install fills a prefix" install_into "$prefix"
    check "the program lies in games/, linked from bin/, with its data in share/pebblecraft/Data" \
        test -x "$prefix/games/pebblecraft" -a -L "$prefix/bin/pebblecraft" -a -s "$prefix/share/pebblecraft/Data/targa.dat"
    [ -x "$prefix/bin/pebblecraft" ] || return
    touch "$WORK/installed.mark"
    sleep 1  # file times of a later write differ from the mark's

    # Started through the link in bin/, from a folder that holds nothing of the game, as a shell finds it.
    mkdir -p "$elsewhere"
    fresh_home installed
    local GAME=$prefix/bin/pebblecraft
    pushd "$elsewhere" >/dev/null || return
    past_splash installed
    local reached=$?
    popd >/dev/null || return
    check "the installed game gets past its splash to the first page" test "$reached" -eq 0
    [ "$reached" -eq 0 ] || { stop_game; return; }
    check "it runs in the installed data folder" \
        equals "$(readlink "/proc/$(program_pid "$prefix/games/pebblecraft")/cwd")" "$(cd "$prefix/share/pebblecraft/Data" && pwd -P)"
    new_player Ada
    press Return  # "Classic"
    check "it reaches the level map" wait_state 10 scene=map page=mode1 ready=1
    window_shot installed-map
    close_window "$WIN"
    wait_exit "$GAME_PID" 10
    check "it closes with code 0" equals "$EXIT_CODE" 0
    GAME_PID=""
    check "the player's files are in the per-user folder" test -s "$(player_file profiles.dat)"
    check "nothing in the installation was written" \
        equals "$(find "$prefix" -newer "$WORK/installed.mark" | head -n 3)" ""
}
