# lang.dat: the interface texts, one line per entry and one column per language, made from the
# readable table lang.tsv.
set(PARLAVENT_LANG_DAT ${PARLAVENT_INSTALL_DIR}/lang.dat)
file(MAKE_DIRECTORY ${PARLAVENT_INSTALL_DIR})
add_custom_command(
  OUTPUT ${PARLAVENT_LANG_DAT}
  COMMAND Python3::Interpreter ${CMAKE_CURRENT_LIST_DIR}/make_lang_dat.py
          ${CMAKE_CURRENT_LIST_DIR}/lang.tsv ${PARLAVENT_LANG_DAT}
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/make_lang_dat.py ${CMAKE_CURRENT_LIST_DIR}/lang.tsv
  COMMENT "Making lang.dat")
add_custom_target(parlavent_lang_dat DEPENDS ${PARLAVENT_LANG_DAT})
add_dependencies(parlavent_program_files parlavent_lang_dat)
