# Turns the table of mesh-file normals (one unit vector "x y z" a line, '#' comment lines) into a
# C++ source. Usage: cmake -DINPUT=<table.txt> -DOUTPUT=<table.cpp> -P generate_normal_table.cmake

set(expected 162)
set(number "-?[0-9]+\\.[0-9]+")

file(STRINGS "${INPUT}" lines)
set(rows "")
set(count 0)
foreach(line IN LISTS lines)
  string(STRIP "${line}" line)
  if(line STREQUAL "" OR line MATCHES "^#")
    continue()
  endif()
  if(NOT line MATCHES "^(${number})[ \t]+(${number})[ \t]+(${number})$")
    message(FATAL_ERROR "${INPUT}: not three decimal numbers: ${line}")
  endif()
  string(APPEND rows "    {${CMAKE_MATCH_1}f, ${CMAKE_MATCH_2}f, ${CMAKE_MATCH_3}f},\n")
  math(EXPR count "${count} + 1")
endforeach()
if(NOT count EQUAL expected)
  message(FATAL_ERROR "${INPUT}: ${count} vectors, expected ${expected}")
endif()

set(body "// Generated from md2_normal_table.txt by generate_normal_table.cmake. Do not edit.\n")
string(APPEND body "#include \"mesh/normal_table.h\"\n\nnamespace vexel {\n\n")
string(APPEND body "const float kNormalTable[kNormalTableSize][3] = {\n${rows}};\n\n")
string(APPEND body "}  // namespace vexel\n")

file(WRITE "${OUTPUT}" "${body}")
