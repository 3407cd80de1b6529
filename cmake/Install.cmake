# The install layout (any prefix): programs in bin/, their read-only assets in share/tunvale/,
# and what a freedesktop.org desktop needs to show, start and associate the program.
set(TUNVALE_APP_ID org.tunvale.Tunvale)
set(TUNVALE_DESKTOP_DIR ${CMAKE_SOURCE_DIR}/src/res/desktop)

install(TARGETS tunvale tunvale-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/template.bin
    ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/demo.muf ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/music.chm
    DESTINATION ${CMAKE_INSTALL_DATADIR}/tunvale)

install(FILES ${TUNVALE_DESKTOP_DIR}/${TUNVALE_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${TUNVALE_DESKTOP_DIR}/${TUNVALE_APP_ID}.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
configure_file(${TUNVALE_DESKTOP_DIR}/${TUNVALE_APP_ID}.metainfo.xml.in
    ${CMAKE_BINARY_DIR}/generated/${TUNVALE_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/generated/${TUNVALE_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# One drawing per icon, rendered to PNG sizes by scripts/render-icons.sh.
set(TUNVALE_ICON_DIR ${TUNVALE_DESKTOP_DIR}/icons)
set(TUNVALE_HICOLOR ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${TUNVALE_ICON_DIR}/${TUNVALE_APP_ID}.svg DESTINATION ${TUNVALE_HICOLOR}/scalable/apps)
install(FILES ${TUNVALE_ICON_DIR}/application-x-tunvale-catalog.svg
    DESTINATION ${TUNVALE_HICOLOR}/scalable/mimetypes)
foreach(size 16 22 24 32 48 64 128 256)
    install(FILES ${TUNVALE_ICON_DIR}/${size}/${TUNVALE_APP_ID}.png
        DESTINATION ${TUNVALE_HICOLOR}/${size}x${size}/apps)
    install(FILES ${TUNVALE_ICON_DIR}/${size}/application-x-tunvale-catalog.png
        DESTINATION ${TUNVALE_HICOLOR}/${size}x${size}/mimetypes)
endforeach()

# Manual pages, generated from the programs' own --help and --version so they never drift from
# them. The settings path in the help names the home folder of whoever builds: HOME is a marker
# while they run, turned into "~" afterwards.
find_program(TUNVALE_HELP2MAN help2man)
if(TUNVALE_HELP2MAN)
    set(TUNVALE_MAN_DIR ${CMAKE_BINARY_DIR}/man)
    set(TUNVALE_MAN_PAGES)
    foreach(program_and_name
            "tunvale|desktop catalogue for a private music collection"
            "tunvale-cli|command-line companion of the Tunvale music catalogue")
        string(REPLACE "|" ";" program_and_name "${program_and_name}")
        list(GET program_and_name 0 program)
        list(GET program_and_name 1 name)
        set(page ${TUNVALE_MAN_DIR}/${program}.1.gz)
        add_custom_command(OUTPUT ${page}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${TUNVALE_MAN_DIR}
            COMMAND ${CMAKE_COMMAND} -E env --unset=XDG_CONFIG_HOME --unset=DISPLAY
                    --unset=WAYLAND_DISPLAY HOME=/@HOME@ ${TUNVALE_HELP2MAN} --no-info --section=1
                    --name=${name} --output=${TUNVALE_MAN_DIR}/${program}.1 $<TARGET_FILE:${program}>
            COMMAND sed -i "s|/@HOME@|~|g" ${TUNVALE_MAN_DIR}/${program}.1
            COMMAND gzip -9nf ${TUNVALE_MAN_DIR}/${program}.1
            DEPENDS ${program}
            COMMENT "Writing the manual page of ${program}"
            VERBATIM)
        list(APPEND TUNVALE_MAN_PAGES ${page})
    endforeach()
    add_custom_target(manpages ALL DEPENDS ${TUNVALE_MAN_PAGES})
    install(FILES ${TUNVALE_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
    message(WARNING "help2man not found: the manual pages are not built; install the Debian "
        "package help2man (scripts/setup.sh installs every package the build needs)")
endif()
