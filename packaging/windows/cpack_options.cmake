# SPDX-License-Identifier: GPL-3.0-or-later
# Read by cpack once per package it makes: the zip keeps the plain name,
# the installer says what it is.
if(CPACK_GENERATOR STREQUAL "NSIS")
    set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_FILE_NAME}-setup")
endif()
