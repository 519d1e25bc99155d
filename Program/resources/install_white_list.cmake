# DefaultWhiteList.inf: the per-application list a first start begins with.
set(default_white_list ${PARLAVENT_INSTALL_DIR}/DefaultWhiteList.inf)
add_custom_command(
  OUTPUT ${default_white_list}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PARLAVENT_INSTALL_DIR}
  COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/text_file.py ansi
          ${CMAKE_CURRENT_SOURCE_DIR}/DefaultWhiteList.in ${default_white_list}
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/text_file.py ${CMAKE_CURRENT_SOURCE_DIR}/DefaultWhiteList.in
  COMMENT "Writing DefaultWhiteList.inf")
add_custom_target(parlavent_default_white_list DEPENDS ${default_white_list})
add_dependencies(parlavent_program_files parlavent_default_white_list)
