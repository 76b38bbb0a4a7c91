# keyloom_library(NAME DIR DEPS...): a static library of every .cpp below DIR.
# Folders without sources yet give an interface library, so dependants link
# the same way before and after the folder fills.
function(keyloom_library name dir)
    set(target keyloom_${name})
    set(sources "")
    if(dir)
        file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${dir}/*.cpp)
    endif()
    if(sources)
        add_library(${target} STATIC ${sources})
        target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
        target_link_libraries(${target} PUBLIC ${ARGN} Threads::Threads)
    else()
        add_library(${target} INTERFACE)
        target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR}/src)
        target_link_libraries(${target} INTERFACE ${ARGN} Threads::Threads)
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
    gtest_discover_tests(${target} TEST_PREFIX "${name}." DISCOVERY_TIMEOUT 60
        PROPERTIES LABELS ${name})
endfunction()
