# Every include is written from the repository root ("platform/winapi/gdi/painter.h"), so a
# target whose include path is the root could include anything. Instead each layered target
# gets an include root of its own in the build tree, holding symbolic links to only its own
# folder (or files), and passes it on to the targets that link it. A target then sees its own
# headers and those of the targets it links, directly or through their arrows, and nothing
# else: an include across an arrow the layering lacks fails to compile ("No such file"). The
# arrows are written once, as target_link_libraries; scripts/check-layers compares them with
# the layering documented beside them.

# tintaro_include_root(<target> <path>...): <path>s are folders or headers, relative to the
# repository root, spelt as the includes spell them.
function(tintaro_include_root target)
    set(root ${PROJECT_BINARY_DIR}/include_roots/${target})
    # Made afresh at each configure, so a header moved away is not still seen through an old link.
    file(REMOVE_RECURSE ${root})
    foreach(path IN LISTS ARGN)
        get_filename_component(parent ${root}/${path} DIRECTORY)
        file(MAKE_DIRECTORY ${parent})
        file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${path} ${root}/${path} SYMBOLIC)
    endforeach()
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY")
        target_include_directories(${target} INTERFACE ${root})
    else()
        target_include_directories(${target} PUBLIC ${root})
    endif()
endfunction()
