# The program's version, from project() alone: the text the About box and the
# version resource show ("2.1.0.0008": the last part in four digits), the
# header the resource script includes, and the installer's defines.
string(LENGTH "${PROJECT_VERSION_TWEAK}" tweak_length)
set(PELNO_VERSION_TWEAK_TEXT "${PROJECT_VERSION_TWEAK}")
while(tweak_length LESS 4)
  string(PREPEND PELNO_VERSION_TWEAK_TEXT "0")
  math(EXPR tweak_length "${tweak_length} + 1")
endwhile()
set(PELNO_VERSION_TEXT
  "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.${PELNO_VERSION_TWEAK_TEXT}")
set(PELNO_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_SOURCE_DIR}/res/PelnoVersion.h.in ${PELNO_GENERATED_DIR}/PelnoVersion.h @ONLY)
add_compile_options($<$<COMPILE_LANGUAGE:RC>:-I${PELNO_GENERATED_DIR}>)
