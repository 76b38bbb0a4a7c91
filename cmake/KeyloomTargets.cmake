# keyloom_stage_headers(TARGET DIR SCOPE): makes the headers of src/DIR
# reachable as "DIR/Name.h" to TARGET and to whatever links it, and to nothing
# else. Each library gets a folder of its own in the build tree holding one
# link to its source folder, so a library that includes a header of one it
# does not depend on (a lower layer reaching up) fails to build.
function(keyloom_stage_headers target dir scope)
    set(stage ${PROJECT_BINARY_DIR}/include/${target})
    file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/${dir})
    get_filename_component(parent ${stage}/${relative} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    if(NOT EXISTS ${stage}/${relative})
        file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${dir} ${stage}/${relative} SYMBOLIC)
    endif()
    target_include_directories(${target} ${scope} ${stage})
endfunction()

# keyloom_library(NAME DIR DEPS...): a static library of every .cpp below DIR
# (except a "qt" subfolder, which holds the window-side library on top of it),
# which sees its own headers and those of DEPS. Folders without sources yet
# give an interface library, so dependants link the same way before and after
# the folder fills.
function(keyloom_library name dir)
    set(target keyloom_${name})
    set(sources "")
    if(dir)
        file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${dir}/*.cpp)
        list(FILTER sources EXCLUDE REGEX "/${dir}/qt/")
    endif()
    if(sources)
        add_library(${target} STATIC ${sources})
        target_link_libraries(${target} PUBLIC ${ARGN} Threads::Threads)
        keyloom_stage_headers(${target} ${dir} PUBLIC)
    else()
        add_library(${target} INTERFACE)
        target_link_libraries(${target} INTERFACE ${ARGN} Threads::Threads)
        if(dir AND EXISTS ${PROJECT_SOURCE_DIR}/${dir})
            keyloom_stage_headers(${target} ${dir} INTERFACE)
        endif()
    endif()
endfunction()

# keyloom_test_suite(NAME DIR LIBS...): one GoogleTest program per test folder.
function(keyloom_test_suite name dir)
    if(KEYLOOM_TEST_SUITES AND NOT name IN_LIST KEYLOOM_TEST_SUITES)
        return()
    endif()
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${dir}/*.cpp)
    if(NOT sources)
        return()
    endif()
    set(target keyloom_tests_${name})
    add_executable(${target} ${sources})
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/tests ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${target} PRIVATE ${ARGN} GTest::gmock GTest::gtest_main)
    target_compile_definitions(${target} PRIVATE
        KEYLOOM_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
        KEYLOOM_BUILD_DIR="${PROJECT_BINARY_DIR}")
    # Suites that drive a real X server press keys and take the keyboard:
    # they run one test at a time.
    set(serial "")
    if(name MATCHES "_x11$")
        set(serial RUN_SERIAL TRUE)
    endif()
    gtest_discover_tests(${target} TEST_PREFIX "${name}." DISCOVERY_TIMEOUT 60
        PROPERTIES LABELS ${name} ${serial})
endfunction()
