# What an install puts where: the programs in libexec/columns/, where match
# and the referee find the players beside them; the one command `columns` on
# the PATH; a manual page for it and for each program, made from their own
# help at build time so that the two cannot differ; bash's completion; and
# the Debian package of all that (`make deb`).
include(GNUInstallDirs)
set(GAME_LIBEXEC_DIR ${CMAKE_INSTALL_LIBEXECDIR}/${GAME_COMMAND})

install(TARGETS ${GAME_PROGRAMS} RUNTIME DESTINATION ${GAME_LIBEXEC_DIR})
install(TARGETS ${GAME_COMMAND} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Manual pages: help2man reads each program's --help; the page's name and
# what it does come from the list, in an include file (help2man would garble
# UTF-8 given on its command line). It runs in a UTF-8 locale, which keeps
# the help's letters as they are.
find_program(HELP2MAN help2man REQUIRED)
set(man_dir ${PROJECT_BINARY_DIR}/man)
set(man_pages)
set(see_also)
foreach(program IN LISTS GAME_PROGRAMS)
  list(APPEND see_also "${GAME_COMMAND}-${program}(1)")
endforeach()
list(JOIN see_also ", " see_also)
foreach(program IN LISTS GAME_COMMAND GAME_PROGRAMS)
  if(program STREQUAL GAME_COMMAND)
    set(page ${GAME_COMMAND})
    set(more "[SEE ALSO]\n${see_also}\n")
  else()
    set(page ${GAME_COMMAND}-${program})
    set(more "[SEE ALSO]\n${GAME_COMMAND}(1)\n")
  endif()
  file(CONFIGURE OUTPUT ${man_dir}/${page}.h2m CONTENT "[NAME]\n${page} \\- ${GAME_ABOUT_${program}}\n${more}")
  add_custom_command(
    OUTPUT ${man_dir}/${page}.1
    COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8
            ${HELP2MAN} --no-info --section=1 --locale=C.UTF-8 --include=${man_dir}/${page}.h2m
            --version-string=${page}\ ${PROJECT_VERSION} --output=${man_dir}/${page}.1 $<TARGET_FILE:${program}>
    DEPENDS ${program} ${man_dir}/${page}.h2m
    COMMENT "Manual page ${page}(1)"
    VERBATIM)
  list(APPEND man_pages ${man_dir}/${page}.1)
endforeach()
add_custom_target(man_pages ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# Completion for bash, where bash-completion looks for a command's script.
list(JOIN GAME_PROGRAMS " " GAME_PROGRAMS_WORDS)
configure_file(${PROJECT_SOURCE_DIR}/tools/columns/completion.bash.in ${PROJECT_BINARY_DIR}/completion/columns @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/completion/columns
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

# The Debian package: the programs are linked statically and need no other package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${GAME_COMMAND})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "Echipa columns <columns@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "jocul de cărți în coloane: jucători, arbitru, meciuri și unelte de analiză")
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Cinci jucători, arbitrul care îi judecă într-un sandbox, meciul care îi"
    "compară pe aceleași împărțiri lângă cel mai bun scor posibil, și trei unelte:"
    "căutarea celei mai bune așezări, recensământul mâinilor și vizualizarea"
    "înregistrărilor. Și play: o împărțire jucată de voi în terminal, apoi"
    "plafonul și jucătorii pe ea. Totul se rulează prin comanda columns.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "bash-completion")
set(CPACK_STRIP_FILES ON)
include(CPack)
