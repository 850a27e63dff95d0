# Delay loading: a DLL named here is loaded at the first call of one of its functions instead of
# when the program starts. telvane's first paint needs none of them, and under Wine each costs
# milliseconds before the window can show. The import library of each is made from the
# toolchain's own (every function it exports) by dlltool; the loader's helper is MinGW's
# libdelayimp. The descriptors are found by tools/check-imports like ordinary imports.
function(telvane_delay_load target)
    set(made)
    foreach(library IN LISTS ARGN)
        find_library(import_${library} NAMES lib${library}.a REQUIRED)
        set(definitions "${CMAKE_BINARY_DIR}/delayload/${library}.def")
        set(delayed "${CMAKE_BINARY_DIR}/delayload/lib${library}_delay.a")
        add_custom_command(OUTPUT "${delayed}"
            COMMAND "${CMAKE_COMMAND}" -E make_directory "${CMAKE_BINARY_DIR}/delayload"
            COMMAND sh -c "{ echo 'LIBRARY ${library}.dll'; echo EXPORTS; '${CMAKE_NM}' '${import_${library}}' | sed -n 's/^[0-9a-f]* I __imp_//p' | sort -u; } > '${definitions}'"
            COMMAND "${CMAKE_DLLTOOL}" --input-def "${definitions}" --dllname ${library}.dll --output-delaylib "${delayed}"
            DEPENDS "${import_${library}}" VERBATIM)
        list(APPEND made "${delayed}")
    endforeach()
    add_custom_target(${target}_delayload DEPENDS ${made})
    add_dependencies(${target} ${target}_delayload)
    # Named before the libraries' own import libraries on the link line, so they take the calls.
    target_link_libraries(${target} PRIVATE ${made} delayimp)
endfunction()
