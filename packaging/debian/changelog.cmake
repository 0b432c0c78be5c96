# Makes the Debian changelog from the release notes and compresses it the way
# Debian wants (gzip -9n: no name, no time stamp, so equal builds give equal
# bytes).
#   cmake -DNOTES=release_notes.md -DOUTPUT=changelog.Debian.gz -DPACKAGE=name
#         -DVERSION=1.2.3 -DREVISION=1 "-DMAINTAINER=Name <mail>" -P changelog.cmake
file(STRINGS ${NOTES} lines ENCODING UTF-8)
set(text "")
set(entry_open FALSE)
set(first_version "")

# Closes the entry being written with its trailer line.
macro(close_entry)
    if(entry_open)
        string(APPEND text "\n -- ${MAINTAINER}  ${entry_date}\n\n")
    endif()
endmacro()

foreach(line IN LISTS lines)
    if(line MATCHES "^## ([^ ]+) \\(([0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9])\\)$")
        close_entry()
        set(version ${CMAKE_MATCH_1})
        if(first_version STREQUAL "")
            set(first_version ${version})
        endif()
        execute_process(COMMAND env LC_ALL=C TZ=UTC date -R -d "${CMAKE_MATCH_2} 12:00"
                        OUTPUT_VARIABLE entry_date OUTPUT_STRIP_TRAILING_WHITESPACE
                        RESULT_VARIABLE failed)
        if(failed)
            message(FATAL_ERROR "${NOTES}: no such date: ${CMAKE_MATCH_2}")
        endif()
        string(APPEND text "${PACKAGE} (${version}-${REVISION}) unstable; urgency=medium\n\n")
        set(entry_open TRUE)
    elseif(entry_open AND line MATCHES "^- (.*)$")
        string(APPEND text "  * ${CMAKE_MATCH_1}\n")
    elseif(entry_open AND line MATCHES "^  +(.*)$")
        string(APPEND text "    ${CMAKE_MATCH_1}\n")
    elseif(entry_open AND NOT line STREQUAL "")
        message(FATAL_ERROR "${NOTES}: a release note is a \"- \" item: ${line}")
    endif()
endforeach()
close_entry()

# A package whose newest changelog entry is another version would be refused.
if(NOT first_version STREQUAL VERSION)
    message(FATAL_ERROR "${NOTES}: the newest release is \"${first_version}\", not ${VERSION}")
endif()

string(REGEX REPLACE "\n+$" "\n" text "${text}")
string(REGEX REPLACE "\\.gz$" "" plain ${OUTPUT})
file(WRITE ${plain} "${text}")
execute_process(COMMAND gzip -9nc ${plain} OUTPUT_FILE ${OUTPUT} RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "gzip ${plain} failed")
endif()
