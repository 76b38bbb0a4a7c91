# keyloom_stage_headers(TARGET DIR SCOPE): makes the headers of src/DIR
# reachable as "DIR/Name.h" to TARGET and to whatever links it, and to nothing
# else. Each library gets a folder of its own in the build tree holding a link
# to each header and subfolder of its source folder, so a library that
# includes a header of one it does not depend on (a lower layer reaching up)
# fails to build. A "qt" subfolder is left out: it is the window-side library
# on top, which stages it itself, and a Qt-free library must not reach it.
function(keyloom_stage_headers target dir scope)
    set(stage ${PROJECT_BINARY_DIR}/include/${target})
    set(source ${PROJECT_SOURCE_DIR}/${dir})
    file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR}/src ${source})
    set(folder ${stage}/${relative})
    # Build trees of older versions linked the whole source folder here.
    if(IS_SYMLINK ${folder})
        file(REMOVE ${folder})
    endif()
    file(MAKE_DIRECTORY ${folder})
    # CONFIGURE_DEPENDS: a header added or removed later re-runs the staging.
    file(GLOB entries CONFIGURE_DEPENDS LIST_DIRECTORIES true RELATIVE ${source} ${source}/*)
    set(wanted "")
    foreach(entry IN LISTS entries)
        if(entry MATCHES "\\.h$" OR (IS_DIRECTORY ${source}/${entry} AND NOT entry STREQUAL "qt"))
            list(APPEND wanted ${entry})
        endif()
    endforeach()
    # Links to headers that are gone, or to a qt folder, go.
    file(GLOB staged LIST_DIRECTORIES true RELATIVE ${folder} ${folder}/*)
    foreach(entry IN LISTS staged)
        if(IS_SYMLINK ${folder}/${entry} AND NOT entry IN_LIST wanted)
            file(REMOVE ${folder}/${entry})
        endif()
    endforeach()
    foreach(entry IN LISTS wanted)
        if(NOT IS_SYMLINK ${folder}/${entry})
            file(CREATE_LINK ${source}/${entry} ${folder}/${entry} SYMBOLIC)
        endif()
    endforeach()
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
