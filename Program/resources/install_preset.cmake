# preset.ini: the alphabets of the dictionary languages and the capture's excluded window classes.
set(preset_ini ${PARLAVENT_INSTALL_DIR}/preset.ini)
add_custom_command(
  OUTPUT ${preset_ini}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PARLAVENT_INSTALL_DIR}
  COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/text_file.py utf16
          ${CMAKE_CURRENT_SOURCE_DIR}/preset.ini.in ${preset_ini}
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/text_file.py ${CMAKE_CURRENT_SOURCE_DIR}/preset.ini.in
  COMMENT "Writing preset.ini")
add_custom_target(parlavent_preset_ini DEPENDS ${preset_ini})
add_dependencies(parlavent_program_files parlavent_preset_ini)
