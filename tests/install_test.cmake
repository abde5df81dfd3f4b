# Installs the build into temporary prefixes, directly and staged through DESTDIR, and checks that
# each installed tree is a working program folder with its desktop metadata and icons, and that
# nothing in it is writable by others.
# Run as: cmake -DVESK_BINARY_DIR=... -DDESKTOP_FILE_VALIDATE=... -DAPPSTREAMCLI=...
#         -P install_test.cmake

set(expected_tree
    bin/vesk
    bin/vesk-calc
    lib/vesk/vesk
    lib/vesk/vesk-calc
    lib/vesk/vesk-calc.ini
    lib/vesk/vesk.ini
    share/applications/vesk.desktop
    share/doc/vesk/copyright
    share/icons/hicolor/scalable/apps/vesk.svg
    share/metainfo/vesk.metainfo.xml
    share/mime/packages/vesk.xml)
foreach(size 16 22 24 32 48 64 128 256 512)
    list(APPEND expected_tree share/icons/hicolor/${size}x${size}/apps/vesk.png)
endforeach()

list(SORT expected_tree)

execute_process(COMMAND mktemp -d OUTPUT_VARIABLE scratch OUTPUT_STRIP_TRAILING_WHITESPACE)

macro(fail case text)
    file(REMOVE_RECURSE "${scratch}")
    message(FATAL_ERROR "${case}: ${text}")
endmacro()

# Installs with no umask at all, so that a mode left to the umask shows as writable by others.
function(install_into case destdir prefix)
    execute_process(COMMAND sh -c "umask 0 && exec \"$@\"" install
                            ${CMAKE_COMMAND} -E env DESTDIR=${destdir}
                            ${CMAKE_COMMAND} --install ${VESK_BINARY_DIR} --prefix ${prefix}
                    RESULT_VARIABLE code OUTPUT_QUIET ERROR_VARIABLE errors)
    if(NOT code EQUAL 0 OR errors)
        fail("${case}" "cmake --install failed (${code}): ${errors}")
    endif()
endfunction()

execute_process(COMMAND ${VESK_BINARY_DIR}/vesk-calc OUTPUT_VARIABLE built_report
                RESULT_VARIABLE code)
if(NOT code EQUAL 0 OR NOT built_report)
    fail("build" "build/vesk-calc gave no report")
endif()

# Each case: a name, DESTDIR (relative to the scratch folder, or "-" for none), the prefix
# (the scratch folder's path replaces "@"), and the Exec line the desktop entry must hold.
set(cases
    "direct|-|@/usr|Exec=\"@/usr/bin/vesk\" %f"
    "staged|stage|/opt/Vesk 100% \$campo|Exec=\"/opt/Vesk 100%% \\\\\$campo/bin/vesk\" %f")
foreach(row IN LISTS cases)
    string(REPLACE "|" ";" row "${row}")
    list(GET row 0 case)
    list(GET row 1 destdir)
    list(GET row 2 prefix)
    list(GET row 3 exec_line)
    string(REPLACE "@" "${scratch}" prefix "${prefix}")
    string(REPLACE "@" "${scratch}" exec_line "${exec_line}")
    if(destdir STREQUAL "-")
        set(destdir "")
        set(base "${prefix}")
    else()
        set(destdir "${scratch}/${destdir}")
        set(base "${destdir}${prefix}")
    endif()

    install_into("${case}" "${destdir}" "${prefix}")

    file(GLOB_RECURSE tree LIST_DIRECTORIES false RELATIVE "${base}" "${base}/*")
    list(SORT tree)
    if(NOT tree STREQUAL expected_tree)
        fail("${case}" "installed files are\n  ${tree}\nnot\n  ${expected_tree}")
    endif()
    execute_process(COMMAND find "${base}" -perm /022 ! -type l OUTPUT_VARIABLE writable)
    if(writable)
        fail("${case}" "writable by others:\n${writable}")
    endif()

    # Through the link in bin the program still finds its names file in the program folder.
    execute_process(COMMAND "${base}/bin/vesk-calc" OUTPUT_VARIABLE report RESULT_VARIABLE code
                    ERROR_VARIABLE errors)
    if(NOT code EQUAL 0 OR NOT report STREQUAL built_report)
        fail("${case}" "installed vesk-calc reports\n${report}${errors}\nnot\n${built_report}")
    endif()

    set(entry "${base}/share/applications/vesk.desktop")
    execute_process(COMMAND ${DESKTOP_FILE_VALIDATE} "${entry}" RESULT_VARIABLE code
                    OUTPUT_VARIABLE complaints ERROR_VARIABLE complaints)
    if(NOT code EQUAL 0 OR complaints)
        fail("${case}" "desktop-file-validate: ${complaints}")
    endif()
    # Any issue above the pedantic ones fails, infos included.
    execute_process(COMMAND ${APPSTREAMCLI} validate --no-net --strict
                            "${base}/share/metainfo/vesk.metainfo.xml"
                    RESULT_VARIABLE code OUTPUT_VARIABLE complaints ERROR_VARIABLE complaints)
    if(NOT code EQUAL 0)
        fail("${case}" "appstreamcli validate: ${complaints}")
    endif()
    file(STRINGS "${entry}" exec REGEX "^Exec=")
    if(NOT exec STREQUAL exec_line)
        fail("${case}" "desktop entry holds\n  ${exec}\nnot\n  ${exec_line}")
    endif()
endforeach()

file(REMOVE_RECURSE "${scratch}")
