# Runs at install time, when the prefix is known: writes the desktop entry with the installed
# program's path and installs it. The path is quoted as desktop entries quote an argument, so a
# prefix with blanks or quotes still starts the program.
set(program "${CMAKE_INSTALL_PREFIX}/bin/vesk")
if(program MATCHES "[\n\r]")
    message(FATAL_ERROR "A desktop entry cannot name a program whose path holds a line break: ${program}")
endif()
string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" argument "${program}")
string(REPLACE "\\" "\\\\" value "\"${argument}\"")
string(REPLACE "%" "%%" VESK_DESKTOP_EXEC "${value}")
# Each destination gets its entry written apart and removed once installed, so that installs
# running at the same time (a package being built while another prefix is installed) never meet
# in one file.
string(SHA1 destination "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(entry "${VESK_DESKTOP_DIR}/${destination}/vesk.desktop")
configure_file("${VESK_DESKTOP_TEMPLATE}" "${entry}" @ONLY)
file(INSTALL "${entry}" DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications")
file(REMOVE_RECURSE "${VESK_DESKTOP_DIR}/${destination}")
