# Writes the version and the source commit into OUTPUT, touching it only
# when they change, so that a build without a new commit relinks nothing.
#   cmake -DSOURCE_DIR=... -DOUTPUT=... -DVERSION=... -P version_stamp.cmake
execute_process(COMMAND git -C "${SOURCE_DIR}" rev-parse --short=12 HEAD
                OUTPUT_VARIABLE commit OUTPUT_STRIP_TRAILING_WHITESPACE
                RESULT_VARIABLE failed ERROR_QUIET)
if(failed OR commit STREQUAL "")
  set(commit "necunoscut")
else()
  # Changes not yet committed make it another program than the commit's.
  execute_process(COMMAND git -C "${SOURCE_DIR}" diff --quiet HEAD -- RESULT_VARIABLE dirty ERROR_QUIET)
  if(dirty)
    string(APPEND commit "+modificări")
  endif()
endif()
set(content "// Made at build time; not kept in the source tree.\n#include \"common/version.h\"\n\nnamespace game {\nconst char* const VERSION = \"${VERSION}\";\nconst char* const COMMIT = \"${commit}\";\n}  // namespace game\n")
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
endif()
if(NOT old STREQUAL content)
  file(WRITE "${OUTPUT}" "${content}")
endif()
