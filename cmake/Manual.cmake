# UserManual.pdf beside the executable, which Help opens: the Markdown source
# docs/manual/UserManual.md with its pictures (docs/*.png), made into HTML by
# pandoc and printed by weasyprint. A build without either tool skips it.
find_program(PELNO_PANDOC pandoc)
find_program(PELNO_WEASYPRINT weasyprint)
if(NOT PELNO_PANDOC OR NOT PELNO_WEASYPRINT)
  message(STATUS "pandoc or weasyprint not found: UserManual.pdf is not built (tools/bootstrap installs both)")
  return()
endif()
set(PELNO_MANUAL_SOURCE ${CMAKE_SOURCE_DIR}/docs/manual/UserManual.md)
set(PELNO_MANUAL_HTML ${CMAKE_BINARY_DIR}/manual/UserManual.html)
set(PELNO_MANUAL_PDF ${PELNO_BIN_DIR}/UserManual.pdf)
file(GLOB PELNO_MANUAL_PICTURES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/*.png ${CMAKE_SOURCE_DIR}/docs/manual/*.png)
add_custom_command(OUTPUT ${PELNO_MANUAL_PDF}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/manual
  COMMAND ${PELNO_PANDOC} ${PELNO_MANUAL_SOURCE} --standalone --columns=1000 --toc --toc-depth=2 -t html5
    --metadata toc-title=Contents "--metadata=date:Version ${PELNO_VERSION_TEXT}"
    --css ${CMAKE_SOURCE_DIR}/docs/manual/manual.css --resource-path=${CMAKE_SOURCE_DIR}/docs/manual
    --self-contained -o ${PELNO_MANUAL_HTML}
  COMMAND ${PELNO_WEASYPRINT} --quiet ${PELNO_MANUAL_HTML} ${PELNO_MANUAL_PDF}
  DEPENDS ${PELNO_MANUAL_SOURCE} ${CMAKE_SOURCE_DIR}/docs/manual/manual.css ${PELNO_MANUAL_PICTURES}
  COMMENT "Printing UserManual.pdf"
  VERBATIM)
add_custom_target(pelno_manual ALL DEPENDS ${PELNO_MANUAL_PDF})
