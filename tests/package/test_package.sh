#!/usr/bin/env bash
# The Debian package: built with CPack from the build tree, its name, its declared dependencies,
# its files, a valid menu entry, and the program it installs starting from the menu's command
# with its help pages and sounds beside it. Usage: test_package.sh BUILD_DIR
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/../e2e/lib.sh"
build=${1:?usage: $0 BUILD_DIR}
for tool in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate; do
    command -v "$tool" >/dev/null || { echo "package: $tool is not installed; skipped" >&2; exit 77; }
done

cpack -G DEB -B "$e2e_tmp/package" --config "$build/CPackConfig.cmake" >"$e2e_tmp/cpack.log" 2>&1 ||
    e2e_fail "cpack failed: $(cat "$e2e_tmp/cpack.log")"
deb=$e2e_tmp/package/tockwell_1.5.0.17_amd64.deb
[[ -f $deb ]] || e2e_fail "no $(basename "$deb"): $(ls "$e2e_tmp/package")"

depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libqt6dbus6 libsqlite3-0 libgstreamer1.0-0 qt6-qpa-plugins \
    qt6-translations-l10n gstreamer1.0-plugins-good gstreamer1.0-plugins-ugly timgm6mb-soundfont \
    xdg-utils libxtst6 libxext6 libxi6; do
    [[ $depends == *"$needed"* ]] || e2e_fail "Depends lacks $needed: $depends"
done

root=$e2e_tmp/root
dpkg-deb -x "$deb" "$root"
for file in usr/bin/tockwell usr/bin/tockwell-reg usr/lib/tockwell/tockwell \
    usr/lib/tockwell/tockwell-input-guard usr/lib/tockwell/tockwell-sound.so \
    usr/lib/tockwell/tockwell-network.so usr/lib/tockwell/tockwell-wayland.so \
    usr/lib/tockwell/help/tockwell.html usr/lib/tockwell/help/alarm.html \
    "usr/lib/tockwell/sound/Płacz tarzana.mp3" usr/share/applications/tockwell.desktop \
    usr/share/icons/hicolor/48x48/apps/tockwell.png usr/share/icons/hicolor/256x256/apps/tockwell.png \
    usr/lib/tockwell/tockwell-wake usr/share/polkit-1/actions/pl.kestrolab.tockwell.wake.policy; do
    [[ -e $root/$file ]] || e2e_fail "the package lacks $file"
done
# GStreamer, PulseAudio and ALSA come with the sound library at the first sound, Qt Network
# with the network library at the first update check, XTest, DPMS (libXext) and XInput at their
# first use, not with the program.
! ldd "$root/usr/lib/tockwell/tockwell" |
    grep -E 'libgstreamer|libpulse|libasound|libQt6Network|libXtst|libXext|libXi\.' ||
    e2e_fail "the program links sound, network or X extension libraries itself"
# Each ldd's whole output first: grep -q would stop reading at its match, and ldd, killed by
# SIGPIPE, would fail the pipeline now and then.
ldd "$root/usr/lib/tockwell/tockwell-sound.so" >"$e2e_tmp/sound-ldd.txt"
grep -q libgstreamer "$e2e_tmp/sound-ldd.txt" || e2e_fail "the sound library does not link GStreamer"
ldd "$root/usr/lib/tockwell/tockwell-network.so" >"$e2e_tmp/network-ldd.txt"
grep -q libQt6Network "$e2e_tmp/network-ldd.txt" ||
    e2e_fail "the network library does not link Qt Network"
# The wake helper: root-owned and executable, but no set-uid bit (pkexec runs it); its policy names
# it and lets the active session use it without a password.
[[ -x $root/usr/lib/tockwell/tockwell-wake && ! -u $root/usr/lib/tockwell/tockwell-wake ]] ||
    e2e_fail "tockwell-wake is not a plain executable"
[[ $(dpkg-deb -c "$deb" | awk '$NF == "./usr/lib/tockwell/tockwell-wake" {print $2}') == root/root ]] ||
    e2e_fail "tockwell-wake is not owned by root"
policy=$root/usr/share/polkit-1/actions/pl.kestrolab.tockwell.wake.policy
if ! grep -q '<annotate key="org.freedesktop.policykit.exec.path">/usr/lib/tockwell/tockwell-wake</annotate>' "$policy" ||
    ! grep -q '<allow_active>yes</allow_active>' "$policy"; then
    e2e_fail "the polkit policy does not allow the helper: $(cat "$policy")"
fi
if command -v xmllint >/dev/null; then
    xmllint --noout --nonet "$policy" || e2e_fail "the polkit policy is not well-formed XML"
fi
[[ $(dpkg-deb -f "$deb" Recommends) == *pkexec* ]] || e2e_fail "Recommends lacks pkexec"
desktop-file-validate "$root/usr/share/applications/tockwell.desktop" ||
    e2e_fail "the menu entry is not valid"

# Started as the menu starts it: its Exec command found on the PATH.
command=$(sed -n 's/^Exec=//p' "$root/usr/share/applications/tockwell.desktop")
e2e_start_desktop
PATH=$root/usr/bin:$PATH e2e_start_program "$(PATH=$root/usr/bin:$PATH command -v "$command")"
e2e_wait_window Tockwell >/dev/null
e2e_wait_tray_icon Tockwell >/dev/null
"$root/usr/bin/tockwell-reg" query 'HKCU\Software\Kestrolab\Tockwell\Sound_MRU' \
    >"$e2e_tmp/sounds.txt" || e2e_fail "tockwell-reg from the package failed"
grep -q '/usr/lib/tockwell/sound/Budzik.mp3' "$e2e_tmp/sounds.txt" ||
    e2e_fail "the shipped sounds were not seeded: $(cat "$e2e_tmp/sounds.txt")"
e2e_screenshot package-start
e2e_log "passed"
