# Redraws the emblem and the icon with their script and fails unless each result is the committed
# file, byte for byte.
execute_process(COMMAND "${PYTHON}" "${SCRIPT}" "${REDRAWN}" "${REDRAWN_ICON}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "draw_emblem.py failed: ${status}")
endif()

function(expect_same committed redrawn)
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${committed}" "${redrawn}" RESULT_VARIABLE differs)
  if(NOT differs EQUAL 0)
    message(FATAL_ERROR "the script draws another picture than \"${committed}\"; run it again and commit the result")
  endif()
endfunction()
expect_same("${COMMITTED}" "${REDRAWN}")
expect_same("${COMMITTED_ICON}" "${REDRAWN_ICON}")
