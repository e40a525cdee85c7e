# Run at install time: copies the platform plugin and the DLLs that the programs and the
# plugin import, found in the shipped folders, beside the programs, stripped of their
# symbols as the programs are. Windows' own DLLs (found in Wine's folder) and API sets are
# left out. CMake looks DLL names up in lower case, so the shipped folders are offered as
# links with lower-case names, and each link's target is installed under its own name.
function(install_stripped file destination)
    file(INSTALL ${file} DESTINATION ${destination})
    get_filename_component(name ${file} NAME)
    execute_process(COMMAND ${strip} --strip-unneeded ${destination}/${name} COMMAND_ERROR_IS_FATAL ANY)
endfunction()

file(REMOVE_RECURSE ${lower_case_dir})
file(MAKE_DIRECTORY ${lower_case_dir})
foreach(dir IN LISTS shipped_dirs)
    file(GLOB dlls ${dir}/*.dll)
    foreach(dll IN LISTS dlls)
        get_filename_component(name ${dll} NAME)
        string(TOLOWER ${name} name)
        if(NOT EXISTS ${lower_case_dir}/${name})
            file(CREATE_LINK ${dll} ${lower_case_dir}/${name} SYMBOLIC)
        endif()
    endforeach()
endforeach()

file(GET_RUNTIME_DEPENDENCIES
     EXECUTABLES ${programs}
     MODULES ${platform_plugins}
     DIRECTORIES ${lower_case_dir} ${system_dirs}
     PRE_EXCLUDE_REGEXES "^api-ms-" "^ext-ms-"
     POST_INCLUDE_REGEXES "^${lower_case_dir}/"
     POST_EXCLUDE_REGEXES ".*"
     RESOLVED_DEPENDENCIES_VAR dependencies)
foreach(dependency IN LISTS dependencies)
    file(REAL_PATH ${dependency} dll)
    install_stripped(${dll} ${CMAKE_INSTALL_PREFIX})
endforeach()
foreach(plugin IN LISTS platform_plugins)
    install_stripped(${plugin} ${CMAKE_INSTALL_PREFIX}/platforms)
endforeach()
