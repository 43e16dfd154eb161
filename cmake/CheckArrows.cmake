# Fails the build when a lower folder of src/ includes a header of a folder above it:
# core knows only itself, the platform stand-ins know core, and the design kit knows
# neither the app nor any screen (it takes values, not settings objects).
# Run as: cmake -DSOURCE_DIR=<src folder> -P CheckArrows.cmake
set(screens "app|popover|quickadd|editor|imageimport|alerts|settings")
# <folder>=<the folders above it>
set(rules
  "core=(platform|model|store|design|${screens})"
  "platform=(model|store|design|${screens})"
  "design=(store|${screens})")
set(bad "")
foreach(rule IN LISTS rules)
  string(REGEX REPLACE "=.*$" "" folder "${rule}")
  string(REGEX REPLACE "^[^=]*=" "" above "${rule}")
  file(GLOB_RECURSE files "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
  foreach(file IN LISTS files)
    file(STRINGS "${file}" lines REGEX "#[ \t]*include[ \t]*\"${above}/")
    if(lines)
      string(APPEND bad "  ${file}: ${lines}\n")
    endif()
  endforeach()
endforeach()
if(bad)
  message(FATAL_ERROR "A lower layer includes a header of a layer above it:\n${bad}")
endif()
