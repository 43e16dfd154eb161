# Fails the build when a folder of src/ includes a header of a folder above it.
# The folders stand in one order, lowest first; each may include its own headers and
# those of the folders before it, never those after it. The platform stand-ins count
# as one folder. A new folder must be given its place here, or the check fails.
# Run as: cmake -DSOURCE_DIR=<src folder> -P CheckArrows.cmake
set(order
  core                    # dates, zones, formats, regex, colours, the clock
  platform                # the stand-ins for the system: interfaces, Linux code, fakes
  model                   # values the screens show: events, reminders, calendars
  design/values           # the kit without a window: colour tokens, weights, formats
  design/widgets          # the kit's drawn controls (they take values, not settings)
  store                   # the calendar store the screens read and change
  state                   # what every screen shares: app state, settings, routes, words
  quickadd                # the screens, each above those it shows or reads
  imageimport/extraction
  imageimport/flow
  imageimport/review
  editor
  alerts
  settings
  popover
  shell                   # the composition root: the tray item, the panel, main
  tools/gallery)          # tools built on all of it

# The listed folder a path (relative to src/) belongs to, or "" if none.
function(folder_of path out)
  set(found "")
  foreach(folder IN LISTS order)
    if(path MATCHES "^${folder}/")
      set(found "${folder}")
    endif()
  endforeach()
  set(${out} "${found}" PARENT_SCOPE)
endfunction()

set(bad "")
file(GLOB_RECURSE files RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
if(NOT files)
  message(FATAL_ERROR "No sources under ${SOURCE_DIR}: give SOURCE_DIR as an absolute path")
endif()
foreach(file IN LISTS files)
  folder_of("${file}" own)
  if(own STREQUAL "")
    string(APPEND bad "  ${file}: its folder has no place in the order (cmake/CheckArrows.cmake)\n")
    continue()
  endif()
  list(FIND order "${own}" own_rank)
  file(STRINGS "${SOURCE_DIR}/${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+/")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[^\"]*\"([^\"]+)\".*$" "\\1" included "${line}")
    folder_of("${included}" theirs)
    if(NOT theirs STREQUAL "")
      list(FIND order "${theirs}" their_rank)
      if(their_rank GREATER own_rank)
        string(APPEND bad "  ${file} (${own}) includes ${included} (${theirs}, above it)\n")
      endif()
    endif()
  endforeach()
endforeach()
if(bad)
  message(FATAL_ERROR "Includes must run down the folders of src/:\n${bad}")
endif()
