# Help\<interface language>.chm: the help of each interface language, compiled from the HTML pages
# of help/<code>/ by chmcmd (Debian package fp-utils). The file names are the language names of
# lang.tsv's first row, as Appl.GetHelpFile builds them. Beside each file, Help\<language>\ holds
# the same pages as plain HTML for readers whose help viewer shows nothing. Help\todo.html is the
# quick-reference page of the menu item for interface language 1.
find_program(CHMCMD chmcmd REQUIRED)
set(help_files)
foreach(entry "en|English|0x409 English (United States)" "ru|Русский|0x419 Russian")
  string(REPLACE "|" ";" entry "${entry}")
  list(GET entry 0 code)
  list(GET entry 1 name)
  list(GET entry 2 lcid)
  set(chm ${PARLAVENT_INSTALL_DIR}/Help/${name}.chm)
  set(html ${PARLAVENT_INSTALL_DIR}/Help/${name})
  file(GLOB pages CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/help/${code}/*)
  add_custom_command(
    OUTPUT ${chm} ${html}/index.htm
    COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/help/make_help.py
            ${CMAKE_CURRENT_SOURCE_DIR}/help/${code} ${chm} "${lcid}" ${html}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/help/make_help.py ${CMAKE_CURRENT_SOURCE_DIR}/help/style.css ${pages}
    COMMENT "Compiling the ${code} help"
    VERBATIM)
  list(APPEND help_files ${chm} ${html}/index.htm)
endforeach()
set(todo ${PARLAVENT_INSTALL_DIR}/Help/todo.html)
add_custom_command(
  OUTPUT ${todo}
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/help/todo.html ${todo}
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/help/todo.html
  COMMENT "Copying the quick-reference page")
add_custom_target(parlavent_help DEPENDS ${help_files} ${todo})
add_dependencies(parlavent_program_files parlavent_help)
