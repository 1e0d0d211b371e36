# cmake -DGROFF=… -DPAGE=zelvo.1 -DHTML=zelvo.html -P render_html.cmake: the manual page as HTML.
set(ENV{SOURCE_DATE_EPOCH} 0)
get_filename_component(folder ${HTML} DIRECTORY)
file(MAKE_DIRECTORY ${folder})
execute_process(COMMAND ${GROFF} -man -Thtml -Kutf8 ${PAGE} OUTPUT_FILE ${HTML} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    file(REMOVE ${HTML})
    message(FATAL_ERROR "groff could not render ${PAGE} as HTML")
endif()
