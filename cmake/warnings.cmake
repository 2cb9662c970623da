# The compiler warnings every target of BELTRIX is built with: an interface target that each
# target links. The whole project includes this file, and so does the fuzz project, which can
# also stand alone.
if(TARGET beltrix_warnings)
    return()
endif()
option(BELTRIX_WERROR "Treat compiler warnings as errors" OFF)
add_library(beltrix_warnings INTERFACE)
target_compile_options(beltrix_warnings INTERFACE
    -Wall -Wextra -Wpedantic $<$<BOOL:${BELTRIX_WERROR}>:-Werror>)
