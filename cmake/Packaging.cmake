# Installation and the Debian package.
#
# The program lives in one folder with its sound and network libraries, help pages and sounds,
# as it expects them next to itself: <prefix>/lib/tockwell/{tockwell, tockwell-reg,
# tockwell-sound.so, tockwell-network.so, tockwell-wayland.so, help/, sound/}. <prefix>/bin holds links to both programs; the menu entry and the icons go where the
# desktop looks for them.
include(GNUInstallDirs)

# One folder whatever the multiarch triplet of the libraries.
set(TOCKWELL_PROGRAM_DIR lib/tockwell)

install(TARGETS tockwell tockwell-reg RUNTIME DESTINATION ${TOCKWELL_PROGRAM_DIR})
# The sound and network libraries, which the program opens next to itself with the first sound
# and the first update check.
install(TARGETS tockwell-sound tockwell-network tockwell-wayland LIBRARY DESTINATION ${TOCKWELL_PROGRAM_DIR})
if(TARGET tockwell-input-guard)
    install(TARGETS tockwell-input-guard RUNTIME DESTINATION ${TOCKWELL_PROGRAM_DIR})
endif()
# The helper that sets the wake time, at the path its polkit action names.
install(TARGETS tockwell-wake RUNTIME DESTINATION ${TOCKWELL_PROGRAM_DIR})
install(FILES ${TOCKWELL_WAKE_POLICY} DESTINATION ${CMAKE_INSTALL_DATADIR}/polkit-1/actions)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/assets/help/ DESTINATION ${TOCKWELL_PROGRAM_DIR}/help
        FILES_MATCHING PATTERN "*.html")
install(DIRECTORY ${PROJECT_SOURCE_DIR}/assets/sound/ DESTINATION ${TOCKWELL_PROGRAM_DIR}/sound
        FILES_MATCHING PATTERN "*.mp3" PATTERN "*.wav")

file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/package-links)
foreach(program tockwell tockwell-reg)
    file(CREATE_LINK ../${TOCKWELL_PROGRAM_DIR}/${program}
         ${PROJECT_BINARY_DIR}/package-links/${program} SYMBOLIC)
    install(FILES ${PROJECT_BINARY_DIR}/package-links/${program} DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()

install(FILES ${PROJECT_SOURCE_DIR}/assets/desktop/tockwell.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 16 24 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/assets/desktop/icon-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME tockwell.png)
endforeach()

set(CPACK_PACKAGE_NAME tockwell)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Kestrolab")
set(CPACK_PACKAGE_CONTACT "Kestrolab <tockwell@kestrolab.pl>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Alarm clock and one-shot action scheduler for the tray")
set(CPACK_PACKAGE_DESCRIPTION
    "Tockwell sets off an alarm at a time of day or after a countdown and then shows its own\n"
    "alarm window, a message, plays a sound, opens a program, file, folder or web page, shuts\n"
    "the computer down or does one of fourteen further actions. Polish user interface.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the libraries do not tell dpkg-shlibdeps: SQLite (loaded while the settings are read or
# written), Qt's X11 platform plugin, Qt's own Polish texts, the sound decoders and their MIDI
# soundfont, the desktop's opening of documents (GIO, loaded at the first opening, and
# xdg-utils), the X extensions loaded at their first use (XTest for simulated input, DPMS for the
# monitor's power, XInput for suspending the input devices).
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libsqlite3-0, libglib2.0-0, qt6-qpa-plugins, qt6-translations-l10n, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, gstreamer1.0-plugins-bad, gstreamer1.0-plugins-ugly, timgm6mb-soundfont | fluid-soundfont-gm, xdg-utils, libxtst6, libxext6, libxi6")
# pkexec (with polkitd) starts the helper that wakes the computer for an alarm; without it the
# program only cannot wake the computer.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gstreamer1.0-pulseaudio | gstreamer1.0-alsa, pkexec | policykit-1")
include(CPack)
