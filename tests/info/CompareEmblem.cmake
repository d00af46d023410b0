# Redraws the emblem with its script and fails unless the result is the committed file, byte for
# byte.
execute_process(COMMAND "${PYTHON}" "${SCRIPT}" "${REDRAWN}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "draw_emblem.py failed: ${status}")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${COMMITTED}" "${REDRAWN}" RESULT_VARIABLE differs)
if(NOT differs EQUAL 0)
  message(FATAL_ERROR "the script draws another picture than \"${COMMITTED}\"; run it again and commit the result")
endif()
