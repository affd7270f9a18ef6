# SPDX-License-Identifier: GPL-3.0-or-later
# Reads NEWS.md into the two other forms of the release notes: the <release>
# elements of the AppStream metainfo and a Debian changelog. A release is a
# heading "## VERSION (YYYY-MM-DD)" followed by items "- text", which may go on
# over indented lines.
#
# rotavel_release_notes(NEWS_FILE MAINTAINER) sets, in the caller's scope:
#   ROTAVEL_NEWEST_RELEASE         the version of the first release
#   ROTAVEL_METAINFO_RELEASES      the <releases> element, indented for the metainfo
#   ROTAVEL_DEBIAN_CHANGELOG       the changelog text, each entry signed by MAINTAINER

# Day of the week of a date, as the changelog's RFC 5322 dates need it
# (Zeller's congruence).
function(rotavel_weekday year month day out)
    if(month LESS 3)
        math(EXPR month "${month} + 12")
        math(EXPR year "${year} - 1")
    endif()
    math(EXPR k "${year} % 100")
    math(EXPR j "${year} / 100")
    math(EXPR h "(${day} + (13 * (${month} + 1)) / 5 + ${k} + ${k} / 4 + ${j} / 4 + 5 * ${j}) % 7")
    # h = 0 is Saturday.
    set(names Sat Sun Mon Tue Wed Thu Fri)
    list(GET names ${h} name)
    set(${out} ${name} PARENT_SCOPE)
endfunction()

function(rotavel_release_notes news_file maintainer)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${news_file})
    # Semicolons separate CMake's list items: kept aside while the text is
    # taken apart, and put back in the output.
    file(READ ${news_file} content)
    string(ASCII 1 semicolon)
    string(REPLACE ";" "${semicolon}" content "${content}")
    string(REPLACE "\n" ";" lines "${content}")
    set(months "Jan;Feb;Mar;Apr;May;Jun;Jul;Aug;Sep;Oct;Nov;Dec")

    # First each release's version, date and list of items, by its index.
    set(count 0)
    set(heading "^## ([0-9][0-9.]*) \\(([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])\\)$")
    foreach(line IN LISTS lines)
        if(line MATCHES "${heading}")
            math(EXPR count "${count} + 1")
            set(release_${count}_version ${CMAKE_MATCH_1})
            set(release_${count}_year ${CMAKE_MATCH_2})
            set(release_${count}_month ${CMAKE_MATCH_3})
            set(release_${count}_day ${CMAKE_MATCH_4})
            set(release_${count}_items "")
        elseif(count GREATER 0 AND line MATCHES "^- (.*)$")
            list(APPEND release_${count}_items "${CMAKE_MATCH_1}")
        elseif(count GREATER 0 AND line MATCHES "^  +(.*)$")
            # Continuation of the last item.
            list(POP_BACK release_${count}_items last)
            list(APPEND release_${count}_items "${last} ${CMAKE_MATCH_1}")
        elseif(line MATCHES "^## ")
            message(FATAL_ERROR "${news_file}: not a release heading: ${line}")
        endif()
    endforeach()
    if(count EQUAL 0)
        message(FATAL_ERROR "${news_file} names no release")
    endif()

    set(metainfo "  <releases>\n")
    set(changelog "")
    foreach(i RANGE 1 ${count})
        set(version ${release_${i}_version})
        set(year ${release_${i}_year})
        set(month ${release_${i}_month})
        set(day ${release_${i}_day})

        string(APPEND metainfo
            "    <release version=\"${version}\" date=\"${year}-${month}-${day}\">\n"
            "      <description>\n        <ul>\n")
        foreach(item IN LISTS release_${i}_items)
            string(REPLACE "&" "&amp;" xml "${item}")
            string(REPLACE "<" "&lt;" xml "${xml}")
            string(REPLACE ">" "&gt;" xml "${xml}")
            string(REPLACE "`" "" xml "${xml}")
            string(APPEND metainfo "          <li>${xml}</li>\n")
        endforeach()
        string(APPEND metainfo "        </ul>\n      </description>\n    </release>\n")

        # Debian changelog: items wrapped below 80 columns.
        string(APPEND changelog "rotavel (${version}) unstable; urgency=medium\n\n")
        foreach(item IN LISTS release_${i}_items)
            string(REPLACE "`" "" item "${item}")
            string(REPLACE " " ";" words "${item}")
            set(text "  *")
            set(width 3)
            foreach(word IN LISTS words)
                string(LENGTH "${word}" length)
                math(EXPR next "${width} + 1 + ${length}")
                if(next GREATER 78)
                    string(APPEND text "\n   ")
                    set(width 3)
                    math(EXPR next "${width} + 1 + ${length}")
                endif()
                string(APPEND text " ${word}")
                set(width ${next})
            endforeach()
            string(APPEND changelog "${text}\n")
        endforeach()
        rotavel_weekday(${year} ${month} ${day} weekday)
        math(EXPR month_index "${month} - 1")
        list(GET months ${month_index} month_name)
        string(APPEND changelog "\n -- ${maintainer}  "
            "${weekday}, ${day} ${month_name} ${year} 00:00:00 +0000\n")
        if(i LESS count)
            string(APPEND changelog "\n")
        endif()
    endforeach()
    string(APPEND metainfo "  </releases>")
    string(REPLACE "${semicolon}" ";" metainfo "${metainfo}")
    string(REPLACE "${semicolon}" ";" changelog "${changelog}")

    set(ROTAVEL_NEWEST_RELEASE ${release_1_version} PARENT_SCOPE)
    set(ROTAVEL_METAINFO_RELEASES "${metainfo}" PARENT_SCOPE)
    set(ROTAVEL_DEBIAN_CHANGELOG "${changelog}" PARENT_SCOPE)
endfunction()
