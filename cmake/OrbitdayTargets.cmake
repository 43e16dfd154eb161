# Compiler settings shared by every target built from our own sources.
function(orbitday_strict target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Werror
    -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
    -Woverloaded-virtual -Wimplicit-fallthrough
    -Wno-missing-field-initializers -Wno-error=deprecated-declarations)
  if(ORBITDAY_FUZZ)
    # Warnings are errors in the GCC builds; clang's own set must not stop a fuzz run.
    target_compile_options(${target} PRIVATE -Wno-error)
  endif()
  target_compile_definitions(${target} PRIVATE
    QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_URL_CAST_FROM_STRING
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT QT_USE_QSTRINGBUILDER)
endfunction()

# The layers of the application, lowest first. A folder under src/ adds its
# files to exactly one of them with orbitday_sources().
#   orbitday_base            core, platform interfaces, model, store, logic (QtCore + ICU)
#   orbitday_fakes           in-memory stand-ins of the platform interfaces (tests only)
#   orbitday_qtimages        bitmaps to and from QImage
#   orbitday_imaging         image decoders and text recognition on their large
#                            libraries; the application loads them as a module
#   orbitday_platform_linux  the Linux implementations of the platform interfaces
#   orbitday_ui              widgets
function(orbitday_sources target)
  cmake_parse_arguments(ARG "" "" "SOURCES" ${ARGN})
  list(TRANSFORM ARG_SOURCES PREPEND "${CMAKE_CURRENT_SOURCE_DIR}/")
  target_sources(${target} PRIVATE ${ARG_SOURCES})
  if(target STREQUAL "orbitday_base" OR target STREQUAL "orbitday_fakes")
    set_property(GLOBAL APPEND PROPERTY ORBITDAY_QTCORE_ONLY_SOURCES ${ARG_SOURCES})
  endif()
endfunction()
