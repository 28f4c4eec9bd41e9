# The macOS build: the used Macs this runs on are of both architectures and often on older systems. Included
# before project(), whose compiler checks read the architectures.
#
# Universal (arm64 and x86_64): an x86_64-only build runs under Rosetta on Apple silicon, where `uname -m`
# reports x86_64 and the scan would name the wrong architecture.
if(CMAKE_HOST_APPLE)
    set(CMAKE_OSX_ARCHITECTURES "arm64;x86_64" CACHE STRING "Architectures of the macOS build")
endif()

# macOS remembers the technician's microphone answer per bundle identifier, so a company build names its own.
set(WRENLOW_BUNDLE_ID "example.wrenlow.zel-mac" CACHE STRING "Bundle identifier of the macOS application")

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

# Once Qt is found: the oldest macOS is the oldest the Qt found supports, unless CMAKE_OSX_DEPLOYMENT_TARGET
# names one. A Mac older than that then refuses to open the application instead of crashing it at launch, and
# the compiler refuses library calls that need a later system (floating-point std::to_chars needs 13.3).
function(wrenlow_mac_deployment_target)
    if(NOT APPLE)
        return()
    endif()
    set(target "${CMAKE_OSX_DEPLOYMENT_TARGET}")
    if(NOT target)
        if(NOT QT_SUPPORTED_MIN_MACOS_VERSION)
            message(FATAL_ERROR "Qt ${Qt6_VERSION} does not state its oldest macOS (QT_SUPPORTED_MIN_MACOS_VERSION); "
                "configure with -DCMAKE_OSX_DEPLOYMENT_TARGET=<version>.")
        endif()
        set(target "${QT_SUPPORTED_MIN_MACOS_VERSION}")
    elseif(QT_SUPPORTED_MIN_MACOS_VERSION AND target VERSION_LESS QT_SUPPORTED_MIN_MACOS_VERSION)
        message(WARNING "CMAKE_OSX_DEPLOYMENT_TARGET ${target} is older than the macOS ${QT_SUPPORTED_MIN_MACOS_VERSION} "
            "that Qt ${Qt6_VERSION} supports: the application may crash at launch there.")
    endif()
    if(NOT target MATCHES "\\.")
        string(APPEND target ".0") # LSMinimumSystemVersion's form
    endif()
    set(CMAKE_OSX_DEPLOYMENT_TARGET "${target}" PARENT_SCOPE)
    message(STATUS "Oldest macOS of the application: ${target}")
endfunction()

# The application, made with qt_add_executable(... MANUAL_FINALIZATION): on macOS an app bundle whose Info.plist
# carries the microphone usage text (without it macOS ends the process the moment it opens the microphone), the
# version the reports name and the oldest macOS; then Qt's finalization, which must come after the Info.plist
# is set, as it links the microphone permission plugin only when that Info.plist asks for the microphone.
function(wrenlow_finalize_application target)
    set(plugin Qt6::QDarwinMicrophonePermissionPlugin)
    if(APPLE)
        if(NOT TARGET ${plugin})
            message(FATAL_ERROR "Qt ${Qt6_VERSION} has no microphone permission plugin (${plugin}); without it "
                "Qt denies the microphone on every Mac. Build with Qt 6.5 or later, as Homebrew's qt is.")
        endif()
        set_target_properties(${target} PROPERTIES
            MACOSX_BUNDLE TRUE
            MACOSX_BUNDLE_INFO_PLIST ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/WrenlowInfo.plist.in
            MACOSX_BUNDLE_BUNDLE_NAME "Wrenlow Zel Mac"
            MACOSX_BUNDLE_GUI_IDENTIFIER "${WRENLOW_BUNDLE_ID}"
            MACOSX_BUNDLE_SHORT_VERSION_STRING "${PROJECT_VERSION}"
            MACOSX_BUNDLE_BUNDLE_VERSION "${PROJECT_VERSION}")
    endif()
    qt_finalize_target(${target})
    if(APPLE)
        get_target_property(plugins ${target} QT_PLUGINS)
        if(NOT "${plugin}" IN_LIST plugins)
            message(FATAL_ERROR "Qt's finalization did not link ${plugin} into ${target}: it found no "
                "NSMicrophoneUsageDescription in cmake/WrenlowInfo.plist.in.")
        endif()
    endif()
endfunction()
