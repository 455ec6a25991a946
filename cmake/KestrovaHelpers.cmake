# Shared build helpers.

# Strict warnings for the project's own code only (not for generated moc/uic files
# of third-party headers, which CMake compiles with the same flags anyway).
function(kestrova_strict_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# kestrova_add_test(NAME <name> COMMAND <cmd...> LABELS <labels...> [TIMEOUT s] [ENVIRONMENT ...])
# Registers a test with its labels: unit (no privileges), lab (root, namespaces,
# real iptables), e2e (real tunnel through the lab), gui (offscreen or Xvfb).
function(kestrova_add_test)
    cmake_parse_arguments(T "" "NAME;TIMEOUT;WORKING_DIRECTORY" "COMMAND;LABELS;ENVIRONMENT;FIXTURES_REQUIRED;FIXTURES_SETUP;FIXTURES_CLEANUP;RESOURCE_LOCK" ${ARGN})
    if(NOT T_WORKING_DIRECTORY)
        set(T_WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    endif()
    add_test(NAME ${T_NAME} COMMAND ${T_COMMAND} WORKING_DIRECTORY ${T_WORKING_DIRECTORY})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 120)
    endif()
    set_tests_properties(${T_NAME} PROPERTIES LABELS "${T_LABELS}" TIMEOUT ${T_TIMEOUT})
    if(T_ENVIRONMENT)
        set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT "${T_ENVIRONMENT}")
    endif()
    foreach(p FIXTURES_REQUIRED FIXTURES_SETUP FIXTURES_CLEANUP RESOURCE_LOCK)
        if(T_${p})
            set_tests_properties(${T_NAME} PROPERTIES ${p} "${T_${p}}")
        endif()
    endforeach()
endfunction()
