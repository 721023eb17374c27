# Fails the build when the program imports the common dialogs or the shell
# at start: a function of theirs missing from the delay-load lists brings
# them back, and with them a slower start.
#   cmake -DOBJDUMP=... -DPROGRAM=... -P checkDelayedImports.cmake
execute_process(COMMAND ${OBJDUMP} -p ${PROGRAM} OUTPUT_VARIABLE headers RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot read the imports of ${PROGRAM}")
endif()
string(TOLOWER "${headers}" headers)
string(REGEX MATCHALL "dll name: [^\n]*" imports "${headers}")
foreach(import IN LISTS imports)
  if(import MATCHES "(comdlg32|shell32)")
    message(FATAL_ERROR "${PROGRAM} loads ${CMAKE_MATCH_1} at start; add the function to its delay-load list")
  endif()
endforeach()
