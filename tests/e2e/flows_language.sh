# Flows of the player's language: a name typed with accented letters through the window's text input
# survives a restart, and the language chosen on the options page speaks from the next start on.

FLOWS+=(flow_language_accented_name flow_language_choice)

accent_keys() {  # accent_keys: the display's keyboard gets "ü" and "ë" on two spare keys, as a German or
    # Dutch keyboard has them (typing a letter the keymap lacks makes xdotool remap a key for a moment,
    # which a game reading the key a little later can miss)
    xkbcomp "$DISPLAY" "$WORK/keymap.xkb" 2>/dev/null || return 1
    sed -i '/^xkb_symbols/a\    key <I120> { [ udiaeresis, Udiaeresis ] };\n    key <I149> { [ ediaeresis, Ediaeresis ] };' \
        "$WORK/keymap.xkb"
    xkbcomp "$WORK/keymap.xkb" "$DISPLAY" 2>/dev/null
}

flow_language_accented_name() {
    use_screen 1024x768 || return # a keyboard of its own
    check "accents: a keymap with ü and ë" accent_keys
    # UTF-8 as a desktop types it; the game keeps "ü" and "ë" as its own letters, in capitals as every name.
    reach_level accents "Jürgen Zoë" 0 0 || { stop_game; main_screen; return; }
    check "accents: the name is greeted in capitals, with Ü and Ë" state_is player=JÜRGEN_ZOË
    make_move accents-move >/dev/null 2>&1
    window_shot accents-level
    close_window "$WIN" # the level in progress is kept
    wait_exit "$GAME_PID" 10
    GAME_PID=""
    check "accents: the profile file holds the name in the game's letters" \
        grep -qa "$(printf 'J\xdcRGEN ZO\xcb')" "$(player_file profiles.dat)"
    check "accents: the saved game's file name is the name in UTF-8" test -s "$(player_file "JÜRGEN ZOË_0.sav")"
    past_splash accents-again || { lost_way "accents: no first page after the restart"; main_screen; return; }
    check "accents: the next start greets the same player" wait_state 10 page=main ready=1 player=JÜRGEN_ZOË
    sleep 0.5
    window_shot accents-main-again
    close_window "$WIN"
    wait_exit "$GAME_PID" 10
    GAME_PID=""
    main_screen
}

flow_language_choice() {
    fresh_home choice
    GAME_LANG=C.UTF-8 past_splash choice || { lost_way "choice: no first page"; return; }
    check "choice: the C locale speaks English" state_is lang=en
    new_player Chooser || { lost_way "choice: no greeting"; stop_game; return; }
    choose_item options && press Return # (choose_item: flows_look.sh)
    check "choice: the options page" wait_state 10 page=options ready=1
    # The keyboard: Up from "apply" is the language's row, Right steps from Automatic to English.
    press Up Right
    sleep 0.3
    # The mouse: the right arrow steps on to Deutsch and Français, the left one back to Deutsch.
    click_menu 180 -178
    click_menu 180 -178
    click_menu -60 -178
    sleep 0.3
    screenshot choice-options
    press Escape # the way back keeps the options, as for the volumes
    check "choice: Escape leaves the options" wait_state 10 page=main ready=1
    check "choice: the language is kept beside the settings" \
        equals "$(cat "$HOME_DIR/config/pebblecraft/language")" de
    check "choice: the settings keep their 48 bytes" \
        equals "$(stat -c %s "$HOME_DIR/config/pebblecraft/settings")" 48
    close_window "$WIN"
    wait_exit "$GAME_PID" 10
    GAME_PID=""
    # The next start speaks German although the environment says French.
    GAME_LANG=fr_FR.UTF-8 past_splash choice-again || { lost_way "choice: no first page again"; return; }
    check "choice: the next start speaks the chosen language over the environment's" state_is lang=de page=main
    sleep 0.5
    window_shot choice-main-german
    choose_item options && press Return
    wait_state 10 page=options ready=1
    press Up Left Left Escape # Deutsch, English, Automatic, and back
    wait_state 10 page=main ready=1
    close_window "$WIN"
    wait_exit "$GAME_PID" 10
    GAME_PID=""
    GAME_LANG=fr_FR.UTF-8 past_splash choice-auto || { lost_way "choice: no first page at the end"; return; }
    check "choice: Automatic leaves it to the environment again" state_is lang=fr
    close_window "$WIN"
    wait_exit "$GAME_PID" 10
    GAME_PID=""
}
