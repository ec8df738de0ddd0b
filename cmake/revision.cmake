# Writes the source revision into a header at every build, touching it only when it changed, so a
# new commit rebuilds one file and an unchanged tree rebuilds nothing.
execute_process(COMMAND git -C ${SOURCE_DIR} describe --always --dirty --abbrev=12
                OUTPUT_VARIABLE revision OUTPUT_STRIP_TRAILING_WHITESPACE
                ERROR_QUIET RESULT_VARIABLE failed)
if(failed OR revision STREQUAL "")
    set(revision "unknown")
endif()
set(text "#define MORVANE_REVISION \"${revision}\"\n")
if(EXISTS ${OUTPUT})
    file(READ ${OUTPUT} old)
endif()
if(NOT old STREQUAL text)
    file(WRITE ${OUTPUT} "${text}")
endif()
