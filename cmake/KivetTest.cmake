# kivet_add_test(NAME sources... LIBS libs... [RUN_SERIAL] [FOREGROUND])
# One GoogleTest program; under the windows preset it runs through scripts/wine-run.
# RUN_SERIAL: its cases change something the whole Wine session shares (the prefix's DPI, the
# X keyboard focus), so CTest runs them alone.
# FOREGROUND: its cases take or read the foreground, focus or activation of the one Wine
# desktop that the test programs share, so no two such programs run at once.
function(kivet_add_test name)
    cmake_parse_arguments(ARG "RUN_SERIAL;FOREGROUND" "" "LIBS" ${ARGN})
    add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} kivet_warnings GTest::gtest GTest::gtest_main)
    target_link_libraries(${name} PRIVATE kivet_interface)
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    if(KIVET_WINDOWS)
        # The emulator script takes the build folder first, so every run shares its prefix.
        set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR
            "${CMAKE_SOURCE_DIR}/scripts/wine-run;${CMAKE_BINARY_DIR}")
    endif()
    set(serial FALSE)
    if(ARG_RUN_SERIAL)
        set(serial TRUE)
    endif()
    set(lock "")
    if(ARG_FOREGROUND)
        set(lock RESOURCE_LOCK kivet_foreground)
    endif()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
        TEST_PREFIX "${name}." PROPERTIES TIMEOUT 300 RUN_SERIAL ${serial} ${lock})
endfunction()
