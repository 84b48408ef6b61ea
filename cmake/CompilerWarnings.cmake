# Warnings shared by every target of the project, treated as errors.
add_library(orbida_warnings INTERFACE)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(orbida_warnings INTERFACE
        -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
        -Wdouble-promotion -Wold-style-cast -Wnon-virtual-dtor -Woverloaded-virtual
        -Wformat=2 -Werror)
elseif(MSVC)
    target_compile_options(orbida_warnings INTERFACE /W4 /WX /permissive-)
endif()
