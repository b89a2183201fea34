#!/usr/bin/env bash
# make-voices.sh - regenerates the voice clips of the sample players.
#
# The clips are committed under data/players/<id>/ and data/player1/; the build
# only copies them. Run this again after changing a line or a voice below:
#
#     apt-get install -y --no-install-recommends espeak-ng sox
#     tools/make-voices.sh            # every player
#     tools/make-voices.sh mateo      # just one
#
# Each clip is spoken by espeak-ng, trimmed, given the character's gentle sox
# treatment, squeezed to at most MAX_SECONDS, levelled and written as mono
# 8-bit PCM WAV at 11025 Hz. Clips of a player that are no longer listed here
# are removed, and the script checks that the player's manifest lists exactly
# the clips it wrote. Output is repeatable (sox -R).
set -euo pipefail

readonly RATE=11025
readonly MAX_SECONDS=1.45

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
readonly root

for tool in espeak-ng sox soxi; do
    command -v "$tool" > /dev/null || {
        echo "make-voices.sh: $tool is missing (apt-get install espeak-ng sox)" >&2
        exit 1
    }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# --- the voices: espeak voice+variant, pitch (0-99), words per minute,
# amplitude, sox effects, and the level to normalise to (dBFS).

voice_of() {
    case "$1" in
        kenji)   echo "en-gb-x-rp+m3|36|140|120|lowpass 3800 reverb 12 50 30|-2" ;;
        amara)   echo "en-029+f4|56|178|150|compand 0.02,0.20 -60,-60,-30,-14,0,-6 -3 bass +3|-2" ;;
        mateo)   echo "en-us+m1|62|188|140|treble +3 chorus 0.7 0.8 45 0.3 0.25 2 -t|-2" ;;
        ingrid)  echo "en-gb-scotland+f2|48|135|90|lowpass 3200 reverb 20 50 40|-7" ;;
        oona)    echo "en-gb-x-gbclan+f5|80|172|130|pitch 120 treble +2|-2" ;;
        ravi)    echo "en-gb-x-gbcwmd+m2|64|162|130|highpass 140|-2" ;;
        player1) echo "en-us+f3|50|160|120|reverb 15 50 50|-2" ;;
        *) return 1 ;;
    esac
}

# --- the lines: clip name (event + variant) and text. Keep them short.

lines_of() {
    case "$1" in
    kenji) cat <<'EOF'
Sel1|Hello, I'm Kenji.
Comment1|Hmm. Patience.
Comment2|Slow and steady.
Comment3|Let me think.
Disc1|This one can go.
DrawP1|Ah. More cards.
DrawP2|I will manage.
DrawP3|Most unfortunate.
DrawL1|From the left, please.
DrawR1|From the right, please.
DrawA1|One from across.
PassL1|To my left.
PassR1|To my right.
PassA1|Across to you.
Rev1|The other way now.
wg1|A careful win.
lg1|Well played, all.
EOF
    ;;
    amara) cat <<'EOF'
Sel1|Amara. Let's go!
Comment1|Take that!
Comment2|Watch out now!
Comment3|Too slow!
Disc1|Out of my way.
DrawP1|Hey! No fair!
DrawP2|I'll get you back!
DrawP3|Fine. Fine!
DrawL1|Give me that!
DrawR1|Hand it over!
DrawA1|I'll take yours!
PassL1|Here, catch!
PassR1|Yours now!
PassA1|Over you go!
Rev1|Turn around!
wg1|Ha! Told you!
lg1|Rematch. Right now.
EOF
    ;;
    mateo) cat <<'EOF'
Sel1|Hola! Mateo here!
Sel2|A game? Count me in!
Sel3|Hi! Let's play!
Comment1|Ooh, nice move!
Comment2|I love this game!
Comment3|So, how's your day?
Disc1|Bye bye, card!
Disc2|Off you go.
Disc3|Don't need that one.
DrawP1|Aw, more cards!
DrawP2|Ha! Okay, okay.
DrawP3|Lucky me, I guess.
DrawL1|Thanks, neighbour!
DrawL2|Ooh, what's this?
DrawL3|I'll take that.
DrawR1|Gracias!
DrawR2|Don't mind if I do.
DrawR3|Ooh, a present!
DrawA1|Pass it over, friend!
DrawA2|Across the table!
DrawA3|What have you got?
PassL1|A gift for you!
PassL2|Left it goes!
PassL3|Enjoy!
PassR1|For you, amigo!
PassR2|To the right!
PassR3|Special delivery!
PassA1|Catch!
PassA2|Long pass!
PassA3|Here it comes!
Rev1|Other way round!
Rev2|Whee, reverse!
Rev3|Switch it up!
wg1|I won! What a game!
lg1|Aw! Good game!
EOF
    ;;
    ingrid) cat <<'EOF'
Sel1|Hello.
Comment1|Hm.
Disc1|There.
DrawP1|Oh.
DrawL1|Thanks.
DrawR1|Thank you.
DrawA1|Mine, then.
PassL1|Here.
PassR1|For you.
PassA1|Across.
Rev1|Turn.
wg1|Oh. I won.
lg1|Good game.
EOF
    ;;
    oona) cat <<'EOF'
Sel1|Oona! Shall we play?
Comment1|Odd one out!
Comment2|Tidy hand, tidy mind.
Comment3|Ooh, a funny one.
Disc1|Stray card, gone!
DrawP1|Oopsie!
DrawP2|Extra cards, how fun.
DrawP3|Well, that's awkward.
DrawL1|Ooh, from the left!
DrawR1|From the right, lovely.
DrawA1|Slide it over!
PassL1|Whoosh, left!
PassR1|Whoosh, right!
PassA1|Straight across!
Rev1|Spin around!
wg1|Ta-da! I won!
lg1|Oh, bother!
EOF
    ;;
    ravi) cat <<'EOF'
Sel1|Hi! I'm Ravi.
Comment1|Does this one fit?
Comment2|Um... my go?
Comment3|Am I doing this right?
Disc1|Uh, this one?
DrawP1|Wait, what?
DrawP2|Oh! I see.
DrawP3|Is that a rule?
DrawL1|I get to take one?
DrawR1|From you? Okay!
DrawA1|From across, right?
PassL1|Um, here you go.
PassR1|This way, yes?
PassA1|Across? Okay.
Rev1|Backwards now?
wg1|I won? Wow!
lg1|I'm still learning!
EOF
    ;;
    player1) cat <<'EOF'
wg1|You win! Well done!
lg1|So close!
EOF
    ;;
    esac
}

folder_of() {
    if [ "$1" = player1 ]; then echo "$root/data/player1"; else echo "$root/data/players/$1"; fi
}

# speak ID CLIP TEXT: writes CLIP.wav into the player's folder.
speak() {
    local id=$1 clip=$2 text=$3
    local voice pitch speed amp fx level
    IFS='|' read -r voice pitch speed amp fx level <<< "$(voice_of "$id")"
    local raw=$work/raw.wav shaped=$work/shaped.wav out
    out="$(folder_of "$id")/$clip.wav"

    espeak-ng -v "$voice" -p "$pitch" -s "$speed" -a "$amp" -w "$raw" -- "$text"
    # Trim the silence at both ends, then the character's treatment.
    # shellcheck disable=SC2086  # fx is a list of sox effects
    # The gain leaves headroom for the effects; the level is set at the end.
    sox -R "$raw" "$shaped" silence 1 0.02 0.5% reverse silence 1 0.02 0.5% reverse gain -8 $fx
    local seconds factor
    seconds=$(soxi -D "$shaped")
    factor=$(awk -v s="$seconds" -v m="$MAX_SECONDS" 'BEGIN { if (s > m) printf "%.3f", s / m }')
    if [ -n "$factor" ]; then
        sox -R "$shaped" "$work/fast.wav" tempo -s "$factor"
        mv "$work/fast.wav" "$shaped"
    fi
    sox -R "$shaped" -r "$RATE" -c 1 -b 8 -e unsigned-integer "$out" \
        rate -v "$RATE" norm "$level" fade t 0.01 0 0.03 dither
}

make_player() {
    local id=$1 folder
    folder=$(folder_of "$id")
    mkdir -p "$folder"
    rm -f "$folder"/*.wav
    local clip text written=()
    while IFS='|' read -r clip text; do
        [ -n "$clip" ] || continue
        speak "$id" "$clip" "$text"
        written+=("$clip.wav")
    done < <(lines_of "$id")

    # The manifest must list exactly these clips (player1 has none).
    if [ -f "$folder/player.txt" ]; then
        local listed wanted
        listed=$(sed -n 's/^file = "\(.*\)"$/\1/p' "$folder/player.txt" | sort)
        wanted=$(printf '%s\n' "${written[@]}" | sort)
        if [ "$listed" != "$wanted" ]; then
            echo "make-voices.sh: $folder/player.txt does not list the clips written:" >&2
            diff <(echo "$listed") <(echo "$wanted") >&2 || true
            exit 1
        fi
    fi
    local bytes
    bytes=$(cat "$folder"/*.wav | wc -c)
    printf '%-8s %3d clips %7d bytes\n' "$id" "${#written[@]}" "$bytes"
}

players=("$@")
[ ${#players[@]} -gt 0 ] || players=(kenji amara mateo ingrid oona ravi player1)
for id in "${players[@]}"; do
    voice_of "$id" > /dev/null || { echo "make-voices.sh: no player \"$id\"" >&2; exit 1; }
    make_player "$id"
done
