# Each library shows its users only its own folders of src/: a folder of links in the build tree
# (include/<target>/<folder> -> src/<folder>) is its public include root, so "core/AppState.h"
# reads the same everywhere while a header of a folder the target does not link is not found.
set(LOBEX_SOURCE_ROOT ${CMAKE_CURRENT_LIST_DIR}/../src)
cmake_path(NORMAL_PATH LOBEX_SOURCE_ROOT)

function(lobex_public_headers target)
    set(root ${CMAKE_BINARY_DIR}/include/${target})
    file(MAKE_DIRECTORY ${root})
    foreach(folder IN LISTS ARGN)
        set(link ${root}/${folder})
        if(IS_SYMLINK ${link})
            file(REMOVE ${link})
        endif()
        file(CREATE_LINK ${LOBEX_SOURCE_ROOT}/${folder} ${link} SYMBOLIC RESULT failure)
        if(failure)
            # Without links (Windows without the right to make them) every target sees all of
            # src/; scripts/check_includes.sh still holds the layers apart.
            message(STATUS "No link for ${target}'s headers (${failure}); it exposes src/")
            set(root ${LOBEX_SOURCE_ROOT})
            break()
        endif()
    endforeach()
    target_include_directories(${target} PUBLIC ${root})
endfunction()
