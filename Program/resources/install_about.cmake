# about0.dat, about1.dat: the About text of each interface language (UTF-16LE, link markup), made
# from the readable about<N>.txt. Every line is kept: "#Ver#" and "#Dictionaries#" are placeholders
# that the About window fills.
set(about_files)
foreach(lang 0 1)
  set(about_dat ${PARLAVENT_INSTALL_DIR}/about${lang}.dat)
  add_custom_command(
    OUTPUT ${about_dat}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PARLAVENT_INSTALL_DIR}
    COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/text_file.py utf16-all
            ${CMAKE_CURRENT_SOURCE_DIR}/about${lang}.txt ${about_dat}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/text_file.py ${CMAKE_CURRENT_SOURCE_DIR}/about${lang}.txt
    COMMENT "Writing about${lang}.dat")
  list(APPEND about_files ${about_dat})
endforeach()
add_custom_target(parlavent_about_dat DEPENDS ${about_files})
add_dependencies(parlavent_program_files parlavent_about_dat)
