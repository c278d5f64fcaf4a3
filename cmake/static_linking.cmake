# GAME_STATIC holds where this machine has the static libraries the shipped
# programs link: the C and C++ libraries, and libseccomp, which referee and
# match link. Elsewhere it is turned off, saying so. The sanitizers need
# their shared runtime: their build is never static.
if(GAME_STATIC AND GAME_SANITIZE)
  message(STATUS "GAME_STATIC: off, the sanitizers' runtime is a shared library")
  set(GAME_STATIC OFF)
elseif(GAME_STATIC)
  include(CheckCXXSourceCompiles)
  set(CMAKE_REQUIRED_LINK_OPTIONS -static)
  set(CMAKE_REQUIRED_LIBRARIES seccomp)
  set(CMAKE_REQUIRED_QUIET ON)
  check_cxx_source_compiles([[
#include <seccomp.h>
#include <string>
int main(int argc, char**) {
    scmp_filter_ctx filter = seccomp_init(SCMP_ACT_ALLOW);
    seccomp_release(filter);
    return static_cast<int>(std::to_string(argc).size());
}]] GAME_STATIC_LIBRARIES)
  unset(CMAKE_REQUIRED_LINK_OPTIONS)
  unset(CMAKE_REQUIRED_LIBRARIES)
  unset(CMAKE_REQUIRED_QUIET)
  if(GAME_STATIC_LIBRARIES)
    message(STATUS "GAME_STATIC: on, the shipped programs are linked statically")
  else()
    message(STATUS "GAME_STATIC: off, a static link with libseccomp fails here (libc.a, libstdc++.a, libseccomp.a?)")
    set(GAME_STATIC OFF)
  endif()
else()
  message(STATUS "GAME_STATIC: off")
endif()
