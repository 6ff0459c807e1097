# Turns a code page mapping in the published best-fit format (CODEPAGE,
# CPINFO, MBTABLE, WCTABLE sections of "0xNN 0xNNNN ;comment" records) into a
# C++ header of two tables: bytes to UTF-16 and UTF-16 units to bytes.
#   cmake -DINPUT=bestfit1252.txt -DOUTPUT=x.inc -DNAME=1252 -P generate_code_page.cmake
file(STRINGS "${INPUT}" lines)
set(section "")
set(byte_table "")
set(wide_table "")
set(byte_count 0)
set(wide_count 0)
set(default_byte "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE ";.*$" "" line "${line}")
  string(STRIP "${line}" line)
  if(line STREQUAL "")
    continue()
  endif()
  if(line MATCHES "^(MBTABLE|WCTABLE|DBCSRANGE|DBCSTABLE|ENDCODEPAGE)")
    set(section "${CMAKE_MATCH_1}")
  elseif(line MATCHES "^CPINFO[ \t]+([0-9]+)[ \t]+(0x[0-9A-Fa-f]+)")
    if(NOT CMAKE_MATCH_1 STREQUAL "1")
      message(FATAL_ERROR "${INPUT}: only single-byte code pages are supported")
    endif()
    set(default_byte "${CMAKE_MATCH_2}")
  elseif(line MATCHES "^(0x[0-9A-Fa-f]+)[ \t]+(0x[0-9A-Fa-f]+)$")
    if(section STREQUAL "MBTABLE")
      string(APPEND byte_table "    {${CMAKE_MATCH_1}, ${CMAKE_MATCH_2}},\n")
      math(EXPR byte_count "${byte_count} + 1")
    elseif(section STREQUAL "WCTABLE")
      string(APPEND wide_table "    {${CMAKE_MATCH_1}, ${CMAKE_MATCH_2}},\n")
      math(EXPR wide_count "${wide_count} + 1")
    endif()
  endif()
endforeach()
if(NOT byte_count EQUAL 256 OR wide_count EQUAL 0 OR default_byte STREQUAL "")
  message(FATAL_ERROR "${INPUT}: expected CPINFO, 256 MBTABLE records and a WCTABLE (found ${byte_count}, ${wide_count})")
endif()
file(WRITE "${OUTPUT}.tmp" "// Generated from ${INPUT} by generate_code_page.cmake; do not edit.
inline constexpr unsigned char kDefaultByte${NAME} = ${default_byte};
inline constexpr CodePageRecord kBytesToUnicode${NAME}[] = {
${byte_table}};
inline constexpr CodePageRecord kUnicodeToBytes${NAME}[] = {
${wide_table}};
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
