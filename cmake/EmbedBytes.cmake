# Turns a binary file into a C++ source holding its bytes.
#   cmake -DINPUT=<file> -DOUTPUT=<file.cpp> -DNAME=<array name> -DACCESSOR=<function name>
#         -DHEADER=<header declaring the accessor> -P EmbedBytes.cmake
# The array is 4-byte aligned so that structures inside the image that the
# platform reads in place (dialog templates) start on their natural boundary.
foreach(var INPUT OUTPUT NAME ACCESSOR HEADER)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "EmbedBytes.cmake: ${var} is not set")
  endif()
endforeach()

file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")

if(size EQUAL 0)
  set(body "0")
else()
  # 16 bytes a line (CMake's regular expressions have no {n}).
  string(REPEAT "[0-9a-f]" 32 line)
  string(REGEX REPLACE "(${line})" "\\1\n  " lines "${hex}")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," body "${lines}")
endif()

file(WRITE "${OUTPUT}.tmp" "// Generated from ${INPUT} by EmbedBytes.cmake; do not edit.
#include \"${HEADER}\"

namespace {

alignas(4) const unsigned char ${NAME}[] = {
  ${body}
};

}  // namespace

std::span<const std::byte> ${ACCESSOR}() {
  return std::as_bytes(std::span<const unsigned char>(${NAME}, ${size}));
}
")
# Keep the old file when nothing changed, so dependants do not rebuild.
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
