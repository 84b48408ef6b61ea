# Headers are included by their folder ("geodesy/distance.h"). Each library's include root is a
# folder of its own in the build tree that holds only a link named after the library's folder,
# so a target sees the headers of the libraries it links (and of what they link publicly) and no
# others: a layer that includes from one it does not use fails to build.
#
# orbida_library_headers(<target>) publishes the folder of the calling CMakeLists.txt. Where the
# file system refuses links the whole source tree is the include root instead, and only the link
# libraries keep the layers apart.
function(orbida_library_headers target)
    get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    set(root ${PROJECT_BINARY_DIR}/include/${folder})
    set(link ${root}/${folder})
    if(IS_SYMLINK ${link})
        file(READ_SYMLINK ${link} linked)
        if(NOT linked STREQUAL CMAKE_CURRENT_SOURCE_DIR)
            file(REMOVE ${link})  # a build folder reused for another checkout
        endif()
    endif()
    if(NOT IS_SYMLINK ${link})
        file(MAKE_DIRECTORY ${root})
        file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${link} RESULT failed SYMBOLIC)
        if(failed)
            set(root ${PROJECT_SOURCE_DIR})
        endif()
    endif()
    target_include_directories(${target} PUBLIC ${root})
endfunction()
