# The user manuals beside the executable, which Help opens: UserManual.pdf
# (English, docs/manual/UserManual.md with the pictures in docs/), and one per
# translated language, UserManual-<language id>.pdf from
# docs/manual/UserManual-<language id>.md with that language's pictures in
# docs/languages/<locale>/. Each is made into HTML by pandoc and printed by
# weasyprint, which embeds the fonts. A build without either tool skips them.
find_program(PELNO_PANDOC pandoc)
find_program(PELNO_WEASYPRINT weasyprint)
if(NOT PELNO_PANDOC OR NOT PELNO_WEASYPRINT)
  message(STATUS "pandoc or weasyprint not found: the user manuals are not built (tools/bootstrap installs both)")
  return()
endif()
file(GLOB PELNO_MANUAL_PICTURES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/*.png ${CMAKE_SOURCE_DIR}/docs/manual/*.png
  ${CMAKE_SOURCE_DIR}/docs/languages/*/*.png)
set(PELNO_MANUAL_PDFS)

# pelno_manual(<source name> <pdf name> <html lang> <contents title>)
function(pelno_manual source pdf lang contents)
  set(markdown ${CMAKE_SOURCE_DIR}/docs/manual/${source})
  set(html ${CMAKE_BINARY_DIR}/manual/${pdf}.html)
  add_custom_command(OUTPUT ${PELNO_BIN_DIR}/${pdf}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/manual
    COMMAND ${PELNO_PANDOC} ${markdown} --standalone --columns=1000 --toc --toc-depth=2 -t html5
      --metadata lang=${lang} "--metadata=toc-title:${contents}" "--metadata=date:Version ${PELNO_VERSION_TEXT}"
      --css ${CMAKE_SOURCE_DIR}/docs/manual/manual.css --resource-path=${CMAKE_SOURCE_DIR}/docs/manual
      --self-contained -o ${html}
    COMMAND ${PELNO_WEASYPRINT} --quiet ${html} ${PELNO_BIN_DIR}/${pdf}
    DEPENDS ${markdown} ${CMAKE_SOURCE_DIR}/docs/manual/manual.css ${PELNO_MANUAL_PICTURES}
    COMMENT "Printing ${pdf}"
    VERBATIM)
  set(PELNO_MANUAL_PDFS ${PELNO_MANUAL_PDFS} ${PELNO_BIN_DIR}/${pdf} PARENT_SCOPE)
endfunction()

pelno_manual(UserManual.md UserManual.pdf en Contents)
pelno_manual(UserManual-2052.md UserManual-2052.pdf zh-CN 目录)
pelno_manual(UserManual-1041.md UserManual-1041.pdf ja 目次)
set(PELNO_MANUAL_PDF ${PELNO_BIN_DIR}/UserManual.pdf)
add_custom_target(pelno_manual ALL DEPENDS ${PELNO_MANUAL_PDFS})
