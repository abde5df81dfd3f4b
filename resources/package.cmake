# make package: the installed layout under /usr as a Debian package, build/vesk_<version>_amd64.deb.

# libxlsxwriter is opened at the first workbook save, not linked, so shlibdeps does not see it:
# its dependency comes from the shlibs entry of the library the build found, as shlibdeps would
# read it.
file(REAL_PATH ${XLSXWRITER_LIBRARY} xlsxwriter_file)
execute_process(COMMAND dpkg-query --search ${xlsxwriter_file} OUTPUT_VARIABLE xlsxwriter_owner
                RESULT_VARIABLE failed ERROR_QUIET)
if(failed OR NOT xlsxwriter_owner MATCHES "^([^:]+)")
    message(FATAL_ERROR "No Debian package holds ${xlsxwriter_file}")
endif()
set(xlsxwriter_package ${CMAKE_MATCH_1})
execute_process(COMMAND dpkg-query --control-show ${xlsxwriter_package} shlibs
                OUTPUT_VARIABLE xlsxwriter_shlibs ERROR_QUIET)
if(xlsxwriter_shlibs MATCHES "^[^ ]+ [^ ]+ ([^\n]+)")
    set(xlsxwriter_package ${CMAKE_MATCH_1})
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vesk)
set(CPACK_PACKAGE_VENDOR "The Vesk developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "dry-matter intake and nutrient limits for a dairy ration")
# Lines under 80 characters, as package managers show them.
set(CPACK_PACKAGE_DESCRIPTION "Vesk estimates the maximum dry-matter intake of one dairy animal
(lactating cow, dry cow or heifer) and, for the dry matter offered, the
minimum and maximum concentrations of crude protein, net energy of
lactation, neutral detergent fibre, calcium, phosphorus, magnesium and
potassium in its ration. Animals are kept as model files. The window and
the command line vesk-calc are in Spanish.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Vesk developers")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Besides the linked libraries: the library opened at run time, and the fonts the window's fixed
# layout is measured in.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${xlsxwriter_package}, fonts-liberation2")
# The spreadsheet export hands its workbook to xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
