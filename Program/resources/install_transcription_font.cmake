# vovedorirada.ttf: the transcription font, renamed at build time from Debian's Doulos SIL (a font
# made for the International Phonetic Alphabet, package fonts-sil-doulos). fontTools comes from
# Debian's python3-fonttools, so the system's Python runs the script.
set(PARLAVENT_FONT_SOURCE /usr/share/fonts/truetype/doulos/DoulosSIL-Regular.ttf CACHE FILEPATH
    "Phonetic TrueType font the transcription font is made from")
set(PARLAVENT_TRANSCRIPTION_FONT ${PARLAVENT_INSTALL_DIR}/vovedorirada.ttf)
find_program(PARLAVENT_SYSTEM_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH)
if(NOT PARLAVENT_SYSTEM_PYTHON)
  set(PARLAVENT_SYSTEM_PYTHON ${Python3_EXECUTABLE})
endif()
if(EXISTS ${PARLAVENT_FONT_SOURCE})
  add_custom_command(
    OUTPUT ${PARLAVENT_TRANSCRIPTION_FONT}
    COMMAND ${PARLAVENT_SYSTEM_PYTHON} ${CMAKE_CURRENT_LIST_DIR}/make_transcription_font.py
            ${PARLAVENT_FONT_SOURCE} ${PARLAVENT_TRANSCRIPTION_FONT}
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/make_transcription_font.py ${PARLAVENT_FONT_SOURCE}
    COMMENT "Making the transcription font")
  add_custom_target(parlavent_transcription_font DEPENDS ${PARLAVENT_TRANSCRIPTION_FONT})
  add_dependencies(parlavent_program_files parlavent_transcription_font)
else()
  message(WARNING "No ${PARLAVENT_FONT_SOURCE}: the installation has no transcription font "
                  "(scripts/install-deps.sh installs fonts-sil-doulos)")
endif()
