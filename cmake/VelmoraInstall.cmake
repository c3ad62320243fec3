# What `cmake --install` puts where: the four programs, the add-in's button faces, a man page made
# from each program's own --help, bash completion and the documentation, at GNUInstallDirs' places.
include(GNUInstallDirs)

set(VELMORA_PROGRAMS velmora-host velmora-store velmora-reg Tidewell)
install(TARGETS ${VELMORA_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# velmora-host's demo links the companion program from the same folder, so Tidewell needs no
# place of its own.

# The faces are found from the program's own folder, so an installed tree can move (a DESTDIR
# staging, a .deb at /usr, a --prefix in the home folder); an uninstalled build uses the sources.
file(RELATIVE_PATH data_from_program ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_FULL_DATADIR}/velmora)
target_compile_definitions(
  velmora_addin PRIVATE VELMORA_DATA_FROM_PROGRAM="${data_from_program}"
                        VELMORA_SOURCE_FACES="${CMAKE_SOURCE_DIR}/src/addin/resources")
install(DIRECTORY ${CMAKE_SOURCE_DIR}/src/addin/resources/
        DESTINATION ${CMAKE_INSTALL_DATADIR}/velmora/faces FILES_MATCHING PATTERN "*.xpm")

# Man pages: help2man runs each built program's --help and --version. A program that does not
# answer both with exit 0 stops the build here rather than leaving a wrong page.
option(VELMORA_MAN_PAGES "Make and install the programs' man pages (needs help2man)" ON)
if(VELMORA_MAN_PAGES)
  find_program(HELP2MAN help2man REQUIRED)
  set(man_velmora-host "the in-memory mail host with the Velmora add-in, run by script")
  set(man_velmora-store "create, query and inspect the Velmora link store")
  set(man_velmora-reg "read and write the Velmora per-user registry file")
  set(man_Tidewell "stand-in for the Velmora synchronisation program")
  set(pages)
  foreach(program ${VELMORA_PROGRAMS})
    set(page ${CMAKE_BINARY_DIR}/man/${program}.1)
    add_custom_command(
      OUTPUT ${page}
      COMMAND
        sh -c "for o in --help --version; do \"$1\" $o >/dev/null || { echo \"$1 $o must exit 0 for its man page\" >&2; exit 1; }; done; exec \"$2\" --no-info --section=1 --name=\"$3\" --output=\"$4\" \"$1\""
        man-page $<TARGET_FILE:${program}> ${HELP2MAN} "${man_${program}}" ${page}
      DEPENDS ${program}
      COMMENT "Man page of ${program}"
      VERBATIM)
    list(APPEND pages ${page})
  endforeach()
  add_custom_target(man-pages ALL DEPENDS ${pages})
  install(FILES ${pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# One completion script serves every program; bash-completion loads it by the program's name.
foreach(program ${VELMORA_PROGRAMS})
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/velmora.bash-completion
          DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME ${program})
endforeach()

# Desktop entries, packaging/*.desktop, go where desktops look for them.
file(GLOB desktop_entries CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/packaging/*.desktop)
if(desktop_entries)
  install(FILES ${desktop_entries} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
endif()

# The documentation keeps its folder, so the README's links to docs/ hold once installed.
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs
        FILES_MATCHING PATTERN "*.md")
