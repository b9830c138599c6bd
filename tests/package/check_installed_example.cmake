# Installs the built library into a fresh prefix, then configures, builds and runs one example
# against it with find_package(Vexel), as a game outside this repository would.
# Variables: BUILD_DIR, SOURCE_DIR, WORK_DIR, EXAMPLE, EXPECTED (a regular expression matched
# against the program's output) and HEADLESS (run a game head-less for a fixed number of frames).
file(REMOVE_RECURSE ${WORK_DIR})

function(run_step)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed (${result}):\n${output}")
  endif()
  set(step_output "${output}" PARENT_SCOPE)
endfunction()

# In sanitizer builds: the GL driver keeps what it allocates while loading until the process ends,
# in the games and in the media makers their builds run.
set(ENV{ASAN_OPTIONS} detect_leaks=0)
run_step(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${WORK_DIR}/prefix)
run_step(${CMAKE_COMMAND} -S ${SOURCE_DIR}/examples/${EXAMPLE} -B ${WORK_DIR}/build
         -DCMAKE_PREFIX_PATH=${WORK_DIR}/prefix -DCMAKE_BUILD_TYPE=Release)
run_step(${CMAKE_COMMAND} --build ${WORK_DIR}/build -j2)
if(HEADLESS)
  set(ENV{VEXEL_VIDEO} offscreen)
  set(ENV{VEXEL_AUDIO} null)
  set(ENV{VEXEL_MAX_FRAMES} 10)
  set(ENV{VEXEL_FIXED_FRAME_MS} 16)
  set(ENV{TMPDIR} ${WORK_DIR})
endif()
run_step(${WORK_DIR}/build/${EXAMPLE})
if(NOT step_output MATCHES "${EXPECTED}")
  message(FATAL_ERROR "unexpected output of ${EXAMPLE}:\n${step_output}")
endif()
if(HEADLESS)
  # A medium the game could not load, such as one its build failed to make, leaves a line between
  # the end of start-up and the shutdown.
  file(READ ${WORK_DIR}/ErrorLog.txt log)
  if(NOT log MATCHES "Init Finalized\nShutdown VXL\nvxl is shut down\n$")
    message(FATAL_ERROR "${EXAMPLE} logged a failure:\n${log}")
  endif()
endif()
file(REMOVE_RECURSE ${WORK_DIR})
