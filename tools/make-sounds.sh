#!/usr/bin/env bash
# Synthesises the alarm sounds shipped in assets/sound (sox and lame from Debian).
# The result is committed; run this again only to change the sounds.
set -euo pipefail
cd "$(dirname "$0")/.."
out=assets/sound
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

rate=22050

# note DURATION WAVE FREQ [EFFECTS...]: one tone with soft edges; prints the file it made.
note() {
    local duration=$1 wave=$2 freq=$3
    shift 3
    local file
    file=$(mktemp -p "$work" XXXXXX.wav)
    sox -q -r $rate -n -c 1 -b 16 "$file" synth "$duration" "$wave" "$freq" gain -4 \
        fade q 0.01 "$duration" 0.03 "$@"
    echo "$file"
}

# rest DURATION: silence.
rest() {
    local file
    file=$(mktemp -p "$work" XXXXXX.wav)
    sox -q -r $rate -n -c 1 -b 16 "$file" trim 0 "$1"
    echo "$file"
}

# join NAME PARTS...: concatenates parts into a normalised WAV in the work folder.
join() {
    local name=$1
    shift
    sox -q "$@" "$work/$name.wav" gain -n -3
}

# mp3 NAME TARGET: encodes a joined sound as a small mono MP3.
mp3() {
    lame --quiet -m m -b 48 "$work/$1.wav" "$out/$2"
}

# Budzik: a mechanical alarm clock, four quick beeps three times over.
parts=()
for _ in 1 2 3; do
    for _ in 1 2 3 4; do parts+=("$(note 0.08 square 1760 lowpass 3000)" "$(rest 0.06)"); done
    parts+=("$(rest 0.35)")
done
join budzik "${parts[@]}"
mp3 budzik "Budzik.mp3"

# Telefon: a telephone ringing twice, two tones trembling at 20 Hz.
parts=()
sox -q -r $rate -n -c 1 -b 16 "$work/ring.wav" synth 1.0 sine 440 synth 1.0 sine mix 480 \
    tremolo 20 90 fade q 0.02 1.0 0.05
for _ in 1 2; do
    parts+=("$work/ring.wav" "$(rest 0.8)")
done
join telefon "${parts[@]}"
sox -q "$work/telefon.wav" -r 16000 -b 16 "$out/Telefon.wav"

# Alarm: a bright two-tone alarm.
parts=()
for _ in 1 2 3 4 5 6; do
    parts+=("$(note 0.2 triangle 880)" "$(note 0.2 triangle 660)")
done
join alarm "${parts[@]}"
mp3 alarm "Alarm.mp3"

# Big ben: the four notes of a clock tower's quarter chime, then two strokes of the hour.
parts=()
for f in 330 262 294 196 196 294 330 262; do
    parts+=("$(note 0.7 sine $f synth 0.7 sine amod 2 fade q 0.005 0.7 0.5 reverb 40)")
done
for _ in 1 2; do parts+=("$(note 1.6 sine 131 fade q 0.005 1.6 1.4 reverb 50)"); done
join bigben "${parts[@]}"
mp3 bigben "Big ben.mp3"

# Coo-coo: a cuckoo clock calling three times.
parts=()
for _ in 1 2 3; do
    parts+=("$(note 0.22 sine 784 fade q 0.02 0.22 0.08)" "$(rest 0.05)"
            "$(note 0.35 sine 622 fade q 0.02 0.35 0.2)" "$(rest 0.45)")
done
join coocoo "${parts[@]}"
mp3 coocoo "Coo-coo.mp3"

# Flaga na maszt: a bugle call.
parts=()
for spec in "196 0.25" "262 0.25" "330 0.25" "392 0.5" "330 0.25" "392 0.25" "523 0.9"; do
    read -r frequency length <<<"$spec"
    set -- "$frequency" "$length"
    parts+=("$(note "$2" sawtooth "$1" lowpass 1800 overdrive 5)" "$(rest 0.03)")
done
join flaga "${parts[@]}" "$(rest 0.2)"
mp3 flaga "Flaga na maszt.mp3"

# Płacz tarzana: a jungle yodel leaping between low and high with a wide vibrato.
parts=()
for spec in "220 0.3" "440 0.3" "330 0.2" "523 0.5" "392 0.25" "660 0.8"; do
    read -r frequency length <<<"$spec"
    set -- "$frequency" "$length"
    parts+=("$(note "$2" sine "$1" synth "$2" sine fmod 6 tremolo 6 40)")
done
join tarzan "${parts[@]}" "$(rest 0.2)"
mp3 tarzan "Płacz tarzana.mp3"

# Syrena policyjna: a siren wailing up and down twice.
parts=()
for _ in 1 2; do
    parts+=("$(note 0.9 sine 650-1350)" "$(note 0.9 sine 1350-650)")
done
join syrena "${parts[@]}"
mp3 syrena "Syrena policyjna.mp3"

du -ch "$out"/* | tail -1
