# Builds each library's two probes: the plain one must build, the qt one must
# fail because its qt/ header is not found (not for any other reason).
foreach(probe IN LISTS PROBES)
    string(REPLACE "|" ";" fields "${probe}")
    list(GET fields 0 library)
    list(GET fields 1 qt_header)
    execute_process(
        COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target keyloom_layer_probe_${library}_plain
        RESULT_VARIABLE plain_status OUTPUT_VARIABLE plain_output ERROR_VARIABLE plain_output)
    if(NOT plain_status EQUAL 0)
        message(FATAL_ERROR "the ${library} probe of a plain header did not build:\n${plain_output}")
    endif()
    execute_process(
        COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target keyloom_layer_probe_${library}_qt
        RESULT_VARIABLE qt_status OUTPUT_VARIABLE qt_output ERROR_VARIABLE qt_output)
    if(qt_status EQUAL 0)
        message(FATAL_ERROR "${qt_header} is reachable from keyloom_${library}'s include path")
    endif()
    # GCC and Clang word a missing include differently; either must name the
    # qt/ header itself, not a Qt header that it includes in turn.
    string(FIND "${qt_output}" "${qt_header}: No such file" gcc_missing)
    string(FIND "${qt_output}" "'${qt_header}' file not found" clang_missing)
    if(gcc_missing EQUAL -1 AND clang_missing EQUAL -1)
        message(FATAL_ERROR "the ${library} qt probe did not fail for want of ${qt_header}; it may be reachable:\n${qt_output}")
    endif()
    message(STATUS "${qt_header}: not reachable from keyloom_${library}")
endforeach()
