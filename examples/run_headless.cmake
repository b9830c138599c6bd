# Runs PROGRAM head-less for 30 frames with a fixed frame clock and checks that it ended through
# end_program: exit code 0, "exit" as its whole output, a complete start-up and shutdown log.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
set(ENV{VEXEL_VIDEO} offscreen)
set(ENV{VEXEL_AUDIO} null)
set(ENV{VEXEL_MAX_FRAMES} 30)
set(ENV{VEXEL_FIXED_FRAME_MS} 16)
set(ENV{TMPDIR} ${WORK_DIR})
# In sanitizer builds: the GL driver keeps what it allocates while loading until the process ends.
set(ENV{ASAN_OPTIONS} detect_leaks=0)
execute_process(COMMAND ${PROGRAM} RESULT_VARIABLE result OUTPUT_VARIABLE output
                ERROR_VARIABLE errors TIMEOUT 50)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} ended with '${result}'\n${output}\n${errors}")
endif()
if(NOT output STREQUAL "exit\n")
  message(FATAL_ERROR "unexpected output: '${output}'")
endif()
file(READ ${WORK_DIR}/ErrorLog.txt log)
if(NOT log MATCHES "^Start new log\\.\\.\\.\n" OR NOT log MATCHES "Init Finalized\nShutdown VXL\n"
   OR NOT log MATCHES "vxl is shut down\n$")
  message(FATAL_ERROR "incomplete error log:\n${log}")
endif()
