# libzint encodes the serial-number barcode. Debian ships no pkg-config file for it, so the header and the library
# are looked up directly (Debian's libzint-dev, Homebrew's zint).
find_path(ZINT_INCLUDE_DIR zint.h PATHS /opt/homebrew/include REQUIRED)
find_library(ZINT_LIBRARY NAMES zint PATHS /opt/homebrew/lib REQUIRED)
if(NOT TARGET Zint::Zint)
    add_library(Zint::Zint UNKNOWN IMPORTED)
    set_target_properties(Zint::Zint PROPERTIES IMPORTED_LOCATION ${ZINT_LIBRARY}
        INTERFACE_INCLUDE_DIRECTORIES ${ZINT_INCLUDE_DIR})
endif()
target_link_libraries(wrenlow_ui PRIVATE Zint::Zint)
