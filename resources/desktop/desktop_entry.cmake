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
configure_file("${VESK_DESKTOP_TEMPLATE}" "${VESK_DESKTOP_FILE}" @ONLY)
file(INSTALL "${VESK_DESKTOP_FILE}" DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications")
