# SPDX-License-Identifier: GPL-3.0-or-later
# The time the files of a release carry, so that two builds of one commit
# give the same bits (https://reproducible-builds.org/specs/source-date-epoch/):
# SOURCE_DATE_EPOCH where the builder sets it; else the last commit's time,
# from git in a clone, or from cmake/source-date-epoch, into which
# `git archive` writes it (.gitattributes, export-subst) for a tarball.
#
# rotavel_source_date_epoch(OUT) sets OUT to seconds since the epoch, or to
# an empty string where none of the three gives one.
function(rotavel_source_date_epoch out)
    set(epoch "$ENV{SOURCE_DATE_EPOCH}")
    if(NOT epoch MATCHES "^[0-9]+$")
        file(STRINGS ${PROJECT_SOURCE_DIR}/cmake/source-date-epoch epoch LIMIT_COUNT 1)
    endif()
    if(NOT epoch MATCHES "^[0-9]+$")
        find_program(ROTAVEL_GIT git)
        if(ROTAVEL_GIT)
            execute_process(COMMAND ${ROTAVEL_GIT} -C ${PROJECT_SOURCE_DIR} log -1 --format=%ct
                OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
        endif()
    endif()
    if(NOT epoch MATCHES "^[0-9]+$")
        message(STATUS "No SOURCE_DATE_EPOCH, git or cmake/source-date-epoch: "
            "the packages carry the build's times")
        set(epoch "")
    endif()
    set(${out} "${epoch}" PARENT_SCOPE)
endfunction()
