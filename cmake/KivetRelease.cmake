# The release: `release` packs Kivet.exe with README.txt, the licence and the policy templates
# into Kivet-<version>-win64.zip, Kivet-<version>-win64.msi and Kivet-<version>-win64-machine.msi,
# with SHA256SUMS, in the build folder (packaging/build-release). The same commit gives the same
# Kivet.exe and zip, wherever it is built: no link time stamp, no symbols (both set where the
# exe is linked) and no build paths in the product's objects.

file(STRINGS ${CMAKE_SOURCE_DIR}/src/common/version.h kivet_version_line
    REGEX "^#define KIVET_VERSION_TEXT ")
if(NOT kivet_version_line STREQUAL "#define KIVET_VERSION_TEXT \"${PROJECT_VERSION}\"")
    message(FATAL_ERROR "CMake's project version ${PROJECT_VERSION} and src/common/version.h "
        "(${kivet_version_line}) disagree")
endif()

target_compile_options(kivet_product_flags INTERFACE
    -ffile-prefix-map=${CMAKE_SOURCE_DIR}/=
    -ffile-prefix-map=${CMAKE_BINARY_DIR}/=)

add_custom_target(release
    COMMAND ${CMAKE_SOURCE_DIR}/packaging/build-release ${CMAKE_BINARY_DIR} ${PROJECT_VERSION}
    COMMENT "Packing Kivet ${PROJECT_VERSION} for Windows"
    VERBATIM)
add_dependencies(release Kivet)
