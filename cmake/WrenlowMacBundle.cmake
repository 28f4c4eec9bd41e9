# The macOS build: the used Macs this runs on are of both architectures and often on older systems. Included
# before project(), whose compiler checks read the two settings.
#
# Universal (arm64 and x86_64): an x86_64-only build runs under Rosetta on Apple silicon, where `uname -m`
# reports x86_64 and the scan would name the wrong architecture. macOS 11: the compiler then refuses library
# calls that need a later system (floating-point std::to_chars needs 13.3); the application runs on the later
# of this and the oldest system the Qt it is built with supports.
if(CMAKE_HOST_APPLE)
    set(CMAKE_OSX_DEPLOYMENT_TARGET "11.0" CACHE STRING "Oldest macOS the application is built for")
    set(CMAKE_OSX_ARCHITECTURES "arm64;x86_64" CACHE STRING "Architectures of the macOS build")
endif()

# Every library must hold every architecture of the build, or linking fails late and obscurely. Homebrew's
# bottles hold one; say so before anything is built.
function(wrenlow_mac_check_architectures)
    if(NOT APPLE)
        return()
    endif()
    get_target_property(qt_core Qt6::Core LOCATION)
    execute_process(COMMAND lipo -archs "${qt_core}" OUTPUT_VARIABLE held OUTPUT_STRIP_TRAILING_WHITESPACE)
    string(REPLACE " " ";" held "${held}")
    foreach(architecture IN LISTS CMAKE_OSX_ARCHITECTURES)
        if(NOT architecture IN_LIST held)
            message(FATAL_ERROR "Qt (${qt_core}) holds ${held}, not ${architecture}. A universal build needs "
                "universal Qt, QCoro, libplist and zint; for Macs of one architecture, configure with "
                "-DCMAKE_OSX_ARCHITECTURES=<it> (Homebrew's libraries: -DCMAKE_OSX_ARCHITECTURES=$(uname -m)).")
        endif()
    endforeach()
endfunction()

# The application as an app bundle. Its Info.plist carries the microphone usage text, without which macOS ends
# the process the moment it opens the microphone, and the version the reports name.
function(wrenlow_mac_bundle target)
    if(NOT APPLE)
        return()
    endif()
    set_target_properties(${target} PROPERTIES
        MACOSX_BUNDLE TRUE
        MACOSX_BUNDLE_INFO_PLIST ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/WrenlowInfo.plist.in
        MACOSX_BUNDLE_BUNDLE_NAME "Wrenlow Zel Mac"
        MACOSX_BUNDLE_GUI_IDENTIFIER "example.wrenlow.zel-mac"
        MACOSX_BUNDLE_SHORT_VERSION_STRING "${PROJECT_VERSION}"
        MACOSX_BUNDLE_BUNDLE_VERSION "${PROJECT_VERSION}")
endfunction()
